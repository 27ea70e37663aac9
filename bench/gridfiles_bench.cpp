// Time to write and read a 200 x 200 x 200 grid as a cube file and as a grd file.
//   gridfiles_bench                     Google Benchmark runs of the four operations
//   gridfiles_bench --one OP DIR [N]    one operation in this process (OP: write_cube, read_cube,
//                                       write_grd, read_grd; files DIR/bench.cube, DIR/bench.grd;
//                                       read_grd takes its header from DIR/bench.cube), printing
//                                       its wall and CPU seconds and the peak resident memory
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "gridio/cube_reading.hpp"
#include "gridio/cube_writing.hpp"
#include "gridio/grd_file.hpp"
#include "parallel/parallel_for.hpp"
#include "parallel/thread_count.hpp"

namespace {

using namespace qv;

constexpr int kSide = 200;

// Values of many magnitudes and both signs, like real densities and derived grids.
Grid sample_grid(int n) {
  Grid g = make_grid(n, n, n, "benchmark grid");
  for (int i3 = 0; i3 < n; ++i3)
    for (int i2 = 0; i2 < n; ++i2)
      for (int i1 = 0; i1 < n; ++i1)
        g.at(i1, i2, i3) = std::sin(0.1 * i1) * std::cos(0.07 * i2) * std::exp(-0.01 * i3) *
                           std::pow(10.0, (i1 + i2 + i3) % 20 - 10);
  return g;
}

GridHeader sample_header(int n) {
  GridHeader h;
  h.natoms = 3;
  h.origin = {-10.0f, -10.0f, -10.0f};
  h.n1 = h.n2 = h.n3 = n;
  h.axes = {{{0.1f, 0.0f, 0.0f}, {0.0f, 0.1f, 0.0f}, {0.0f, 0.0f, 0.1f}}};
  h.atomic_numbers = {8, 1, 1};
  h.atoms = {{8.0f, 0.0f, 0.0f, 0.0f}, {1.0f, 0.0f, 1.43f, 1.1f}, {1.0f, 0.0f, -1.43f, 1.1f}};
  return h;
}

std::vector<std::string> grd_header(int natoms) {
  std::vector<std::string> lines(static_cast<std::size_t>(natoms) + 12, std::string(80, ' '));
  lines[0].replace(0, 8, "3DGRDFIL");
  return lines;
}

void write_cube_file(const std::string& path, const GridHeader& h, const Grid& g) {
  auto out = TextOutput::create(path);
  cube_writing(h, g, *out);
  out->close();
}

void write_grd_file(const std::string& path, const Grid& g, std::vector<std::string>& header) {
  auto out = TextOutput::create(path);
  grd_writing(g, 3, header, GrdOutput::rhosign, *out);
  out->close();
}

GridFile read_files(const std::string& cube, const std::string& grd, CubeLayout layout) {
  auto c = LineReader::open(cube);
  auto g = layout == CubeLayout::xd2006 ? LineReader::open(grd) : nullptr;
  std::vector<std::string> stored;
  return cube_in_array(*c, g.get(), layout, GridRole::density, stored);
}

std::string bench_dir() {
  const auto dir = std::filesystem::temp_directory_path() / "qv_gridfiles_bench";
  std::filesystem::create_directories(dir);
  return dir.string();
}

void BM_WriteCube(benchmark::State& state) {
  const Grid g = sample_grid(kSide);
  const GridHeader h = sample_header(kSide);
  const std::string path = bench_dir() + "/bench.cube";
  for (auto _ : state) write_cube_file(path, h, g);
  state.SetBytesProcessed(state.iterations() * std::filesystem::file_size(path));
}

void BM_ReadCube(benchmark::State& state) {
  const std::string path = bench_dir() + "/bench.cube";
  write_cube_file(path, sample_header(kSide), sample_grid(kSide));
  for (auto _ : state) benchmark::DoNotOptimize(read_files(path, "", CubeLayout::general));
  state.SetBytesProcessed(state.iterations() * std::filesystem::file_size(path));
}

void BM_WriteGrd(benchmark::State& state) {
  const Grid g = sample_grid(kSide);
  auto header = grd_header(3);
  const std::string path = bench_dir() + "/bench.grd";
  for (auto _ : state) write_grd_file(path, g, header);
  state.SetBytesProcessed(state.iterations() * std::filesystem::file_size(path));
}

void BM_ReadGrd(benchmark::State& state) {
  const std::string dir = bench_dir();
  const Grid g = sample_grid(kSide);
  auto header = grd_header(3);
  write_cube_file(dir + "/bench.cube", sample_header(kSide), g);  // the companion header
  write_grd_file(dir + "/bench.grd", g, header);
  for (auto _ : state)
    benchmark::DoNotOptimize(read_files(dir + "/bench.cube", dir + "/bench.grd", CubeLayout::xd2006));
  state.SetBytesProcessed(state.iterations() * std::filesystem::file_size(dir + "/bench.grd"));
}

BENCHMARK(BM_WriteCube)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadCube)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WriteGrd)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadGrd)->Unit(benchmark::kMillisecond)->Iterations(3);

// User and system time of this process; on a shared machine it is steadier than the wall clock.
double cpu_seconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         1e-6 * static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec);
}

// One operation in this process, so that its peak memory can be told apart.
int run_one(const std::string& op, const std::string& dir, int n) {
  const std::string cube = dir + "/bench.cube", grd = dir + "/bench.grd";
  using clock = std::chrono::steady_clock;
  double seconds = 0.0, cpu = 0.0;
  std::size_t points = 0;
  if (op == "write_cube" || op == "write_grd") {
    const Grid g = sample_grid(n);
    auto header = grd_header(3);
    const auto t0 = clock::now();
    const double c0 = cpu_seconds();
    if (op == "write_cube") {
      write_cube_file(cube, sample_header(n), g);
    } else {
      write_grd_file(grd, g, header);
    }
    seconds = std::chrono::duration<double>(clock::now() - t0).count();
    cpu = cpu_seconds() - c0;
    points = g.size();
  } else if (op == "read_cube" || op == "read_grd") {
    const auto t0 = clock::now();
    const double c0 = cpu_seconds();
    const GridFile f = op == "read_cube" ? read_files(cube, "", CubeLayout::general)
                                         : read_files(cube, grd, CubeLayout::xd2006);
    seconds = std::chrono::duration<double>(clock::now() - t0).count();
    cpu = cpu_seconds() - c0;
    points = f.grid.size();
  } else {
    std::fprintf(stderr, "unknown operation %s\n", op.c_str());
    return 1;
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("%s points=%zu seconds=%.3f cpu=%.3f peak_rss_mb=%.1f\n", op.c_str(), points,
              seconds, cpu, static_cast<double>(usage.ru_maxrss) / 1024.0);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // One operation honours QUELVARIN_THREADS, as the commands do.
  const qv::ThreadChoice threads = qv::choose_threads(std::nullopt, std::getenv("QUELVARIN_THREADS"));
  if (!threads.error.empty()) {
    std::fprintf(stderr, "%s\n", threads.error.c_str());
    return 2;
  }
  qv::set_sweep_threads(threads.threads);
  if (argc >= 4 && std::strcmp(argv[1], "--one") == 0)
    return run_one(argv[2], argv[3], argc >= 5 ? std::atoi(argv[4]) : kSide);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
