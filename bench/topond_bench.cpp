// Time to convert a 200 x 200 x 200 TOPOND grid into a cube file with the TOP job (CRYSTAL
// output read, atoms expanded, grid read, cube written).
//   topond_bench                   Google Benchmark runs (files in a temporary folder)
//   topond_bench --make DIR [N]    writes DIR/gf_topond.dat (N x N x N, default 200), the same
//                                  grid as the gfortran baseline's "make"
//   topond_bench --one DIR         converts DIR/gf_topond.dat into DIR/q_topond.cube once and
//                                  prints its wall-clock and processor seconds (compare:
//                                  topond_baseline convert DIR, or bench/topond_compare.sh)
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>

#include "gridio/fast_fields.hpp"
#include "gridio/fixed_text.hpp"
#include "gridio/run_output.hpp"
#include "gridio/text_output.hpp"
#include "topond/top_job.hpp"
#include "parallel/parallel_for.hpp"
#include "parallel/thread_count.hpp"

namespace {

using namespace qv;
namespace fs = std::filesystem;

constexpr int kSide = 200;

void write_topond(const std::string& path, int n) {
  auto out = TextOutput::create(path);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%4d%4d%4d", n, n, n);
  out->line(buf);
  for (int k = 0; k < 3; ++k) out->line("-0.50000000E+01                  0.10000000E+00");
  for (int i3 = 1; i3 <= n; ++i3)
    for (int i2 = 1; i2 <= n; ++i2)
      for (int i1 = 1; i1 <= n; ++i1) {
        const double v = std::exp(-0.002 * ((i1 - 100) * (i1 - 100) + (i2 - 90) * (i2 - 90) +
                                            (i3 - 110) * (i3 - 110))) *
                         std::pow(10.0, (i1 + i2 + i3) % 7 - 3);
        char* p = out->reserve(16);
        put_e16_8(p, v);
        out->commit(16);
        if (i1 % 8 == 0 || i1 == n) out->put('\n');
      }
  out->close();
}

void write_crystal(const std::string& path) {
  auto out = TextOutput::create(path);
  out->line(" NUMBER OF IRREDUCIBLE ATOMS IN THE CONVENTIONAL CELL:    2");
  out->line("");
  out->line(" INPUT COORDINATES");
  out->line("");
  out->line(" ATOM AT. N.              COORDINATES");
  out->line("   1  11     0.000000000000E+00  0.000000000000E+00  0.000000000000E+00");
  out->line("   2  17     5.000000000000E-01  5.000000000000E-01  5.000000000000E-01");
  out->line(" DIRECT LATTICE VECTORS CARTESIAN COMPONENTS (ANGSTROM)");
  out->line("          X                    Y                    Z");
  out->line("   0.560000000000E+01   0.000000000000E+00   0.000000000000E+00");
  out->line("   0.000000000000E+00   0.560000000000E+01   0.000000000000E+00");
  out->line("   0.000000000000E+00   0.000000000000E+00   0.560000000000E+01");
  out->close();
}

// Names are fixed 30-character fields: the conversion runs inside the folder.
TopSettings settings() {
  TopSettings top;
  top.grid_count = 1;
  top.topond_grids[0] = left_adjust("gf_topond.dat", 30);
  top.cube_stems[0] = left_adjust("q_topond", 30);
  top.crystal_output = left_adjust("crystal.out", 30);
  top.symmetry_count = 1;
  top.rotations = {{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}};
  top.translations = {{0.0, 0.0, 0.0}};
  return top;
}

struct Seconds {
  double wall, cpu;
};

Seconds convert_once(const fs::path& dir) {
  fs::current_path(dir);
  write_crystal("crystal.out");
  const TopSettings top = settings();
  auto screen = TextOutput::memory("screen");
  RunOutput out(*screen);
  out.set_log(TextOutput::memory("log"));
  const auto t0 = std::chrono::steady_clock::now();
  const std::clock_t c0 = std::clock();
  run_top_job(top, out);
  const std::clock_t c1 = std::clock();
  return {std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count(),
          static_cast<double>(c1 - c0) / CLOCKS_PER_SEC};
}

void BM_TopondConversion(benchmark::State& state) {
  const fs::path dir = fs::temp_directory_path() / "qv_topond_bench";
  fs::create_directories(dir);
  write_topond((dir / "gf_topond.dat").string(), kSide);
  const fs::path home = fs::current_path();
  for (auto _ : state) state.SetIterationTime(convert_once(dir).cpu);
  state.counters["points"] = static_cast<double>(kSide) * kSide * kSide;
  fs::current_path(home);
  fs::remove_all(dir);
}
BENCHMARK(BM_TopondConversion)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  // One operation honours QUELVARIN_THREADS, as the commands do.
  const qv::ThreadChoice threads = qv::choose_threads(std::nullopt, std::getenv("QUELVARIN_THREADS"));
  if (!threads.error.empty()) {
    std::fprintf(stderr, "%s\n", threads.error.c_str());
    return 2;
  }
  qv::set_sweep_threads(threads.threads);
  if (argc >= 3 && std::strcmp(argv[1], "--make") == 0) {
    const int n = argc >= 4 ? std::atoi(argv[3]) : kSide;
    write_topond((fs::path(argv[2]) / "gf_topond.dat").string(), n);
    return 0;
  }
  if (argc >= 3 && std::strcmp(argv[1], "--one") == 0) {
    const Seconds s = convert_once(argv[2]);
    std::printf("convert seconds=%8.3f cpu=%8.3f\n", s.wall, s.cpu);
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
