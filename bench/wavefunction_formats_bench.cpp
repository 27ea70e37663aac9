// What the wavefunction formats and function types cost, on one thread:
// - the sweep of all four properties on 80 x 80 x 80 points of 0.15 bohr around the nuclei, for
//   BE.wfn (270 s, p and d primitives) and ThioformicAcid.wfn (531 primitives, 90 of them g):
//   the counter ns_per_point_primitive is the time per grid point and per primitive, which should
//   not grow with the angular momentum more than the polynomial work does;
// - reading the same calculation as .wfn and as .wfx (BE, and the 1.5 MB CaH110 pair).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "gridio/fixed_text.hpp"
#include "parallel/parallel_for.hpp"
#include "wavefunction/wavefunction_input.hpp"
#include "wavefunction/wfn_sweep.hpp"

namespace {

const std::string kSamples = QV_SAMPLES;

qv::WfnRecord load(const std::string& path) {
  auto screen = qv::TextOutput::memory();
  qv::RunOutput out(*screen);
  out.set_log(qv::TextOutput::memory());
  return qv::read_wavefunction_file(qv::left_adjust(path, 4096), out).record;
}

void sweep_all_four(benchmark::State& state, const std::string& file) {
  const std::string path = kSamples + "/" + file;
  if (!std::filesystem::exists(path)) return state.SkipWithError("sample not found");
  qv::set_sweep_threads(1);
  const qv::WfnRecord rec = load(path);
  qv::WfnSettings s;
  s.wfn_risp = {1, 1, 1, 1};
  double centre[3] = {0, 0, 0};
  for (int a = 0; a < rec.ncent; ++a) centre[0] += rec.xc[a], centre[1] += rec.yc[a], centre[2] += rec.zc[a];
  for (int k = 0; k < 3; ++k) s.centre_wfn[k] = static_cast<float>(centre[k] / rec.ncent);
  s.n_puntix = s.n_puntiy = s.n_puntiz = 80;
  for (int a = 0; a < 3; ++a) s.orient_matr[a][a] = 0.15f;
  const qv::WfnGridLayout layout = qv::wfn_grid_layout(s);
  for (auto _ : state) benchmark::DoNotOptimize(qv::wfn_sweep(rec, s, layout, "bench"));
  const double work = 80.0 * 80.0 * 80.0 * rec.nprims;
  state.counters["primitives"] = rec.nprims;
  state.counters["ns_per_point_primitive"] =
      benchmark::Counter(work * 1e-9, benchmark::Counter::kIsIterationInvariantRate |
                                          benchmark::Counter::kInvert);
}

void read_file(benchmark::State& state, const std::string& file) {
  const std::string path = kSamples + "/" + file;
  if (!std::filesystem::exists(path)) return state.SkipWithError("sample not found");
  for (auto _ : state) benchmark::DoNotOptimize(load(path));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(std::filesystem::file_size(path)));
}

BENCHMARK_CAPTURE(sweep_all_four, BE_spd, std::string("wfn/BE.wfn"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(sweep_all_four, ThioformicAcid_spdfg, std::string("wfn/ThioformicAcid.wfn"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(read_file, BE_wfn, std::string("wfn/BE.wfn"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(read_file, BE_wfx, std::string("wfx/BE.wfx"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(read_file, CaH110_wfn, std::string("wfn/cah110_hf_sto3g_g09.wfn"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(read_file, CaH110_wfx, std::string("wfx/cah110_hf_sto3g_g09.wfx"))
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
