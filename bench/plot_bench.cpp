// quelvarin-plot throughput: a 20-million-row rho*sign(lambda2) table (about 760 MB, written
// once into a temporary folder) turned into its SVG picture, as the command does it.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "view/plot_command.hpp"
#include "gridio/fixed_text.hpp"

namespace {

constexpr long kRows = 20'000'000;

// The table in the run's layout, with values spread like a real scatter (a curve and spikes).
void write_table(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  std::fputs("  rho*sign(lambda2)           RDG       \n", f);
  unsigned long long s = 12345;
  for (long k = 0; k < kRows; ++k) {
    s = s * 6364136223846793005ULL + 1442695040888963407ULL;
    const double u = static_cast<double>(s >> 11) / 9007199254740992.0;
    const double v = static_cast<double>((s >> 3) & 0xffff) / 65536.0;
    const double rho = std::pow(10.0, -4.0 + 3.5 * u);
    const double x = (k % 3 == 0 ? 1 : -1) * rho;
    const double rdg = (k % 10 == 0) ? 1.2 * v : 0.15 / std::cbrt(rho) * (0.9 + 0.2 * v);
    std::fprintf(f, "     %11.3E          %11.3E\n", x, rdg);
  }
  std::fclose(f);
}

struct Folder {
  std::filesystem::path path;
  Folder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qvplotbenchXXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    path = pattern;
    write_table((path / "big_rhosign.2D").string());
  }
  ~Folder() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
};

void BM_TableToPicture(benchmark::State& state) {
  static Folder folder;
  qv::RdgSettings rdg;
  rdg.computations = {false, false, false, true};
  rdg.plot_tables = {false, true};
  rdg.plot_stem = qv::left_adjust((folder.path / "big").string(), 30);
  if (folder.path.string().size() + 4 > 30) {
    // Names are 30 characters wide: work from inside the folder instead.
    std::filesystem::current_path(folder.path);
    rdg.plot_stem = qv::left_adjust("big", 30);
  }
  auto screen = qv::TextOutput::memory();
  auto errors = qv::TextOutput::memory();
  for (auto _ : state) {
    if (qv::draw_results(rdg, "bench.inp", *screen, *errors) != 0) {
      errors->flush();
      state.SkipWithError(errors->contents().c_str());
      break;
    }
  }
  state.counters["rows_per_s"] = benchmark::Counter(static_cast<double>(kRows) * state.iterations(),
                                                    benchmark::Counter::kIsRate);
}
BENCHMARK(BM_TableToPicture)->Unit(benchmark::kSecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
