// The WFN job on the ethene-benzene sample (18 centres, 270 primitives, 29 orbitals), on an
// 80 x 80 x 80 grid of step 0.15 bohr: the sweep alone, and the whole job with its cube files.
// Run on one thread; the figures to watch are the whole-job times.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "gridio/stop.hpp"
#include "wavefunction/wfn_reader.hpp"
#include "wavefunction/wfn_job.hpp"
#include "wavefunction/wfn_sweep.hpp"

namespace {

const std::string kSample = std::string(QV_SAMPLES) + "/wfn/BE.wfn";

qv::WfnSettings be_settings(qv::WfnProperties on) {
  qv::WfnSettings s;
  s.wavefunction_file = qv::left_adjust(std::filesystem::absolute(kSample).string(), 4096);
  s.output_stem = qv::left_adjust("be_bench", 33);
  s.properties = on;
  s.centre = {-0.075f, -0.075f, 3.325f};
  s.points_x = s.points_y = s.points_z = 80;
  for (int a = 0; a < 3; ++a) s.axes[a][a] = 0.15f;
  return s;
}

void sweep(benchmark::State& state, qv::WfnProperties on,
           const qv::orbital_kernels::Table& kernels) {
  if (!std::filesystem::exists(kSample)) return state.SkipWithError("BE.wfn sample not found");
  auto screen = qv::TextOutput::memory();
  qv::RunOutput out(*screen);
  out.set_log(qv::TextOutput::memory());
  const qv::WfnSettings s = be_settings(on);
  const qv::WfnRecord rec = qv::read_wfn_file(s.wavefunction_file, out);
  const qv::WfnGridLayout layout = qv::wfn_grid_layout(s);
  for (auto _ : state) benchmark::DoNotOptimize(qv::wfn_sweep(rec, s, layout, "bench", kernels));
  state.SetLabel(kernels.name);
}

// The whole job as the program runs it: read, sweep, write the cube files.
void whole_job(benchmark::State& state, qv::WfnProperties on) {
  if (!std::filesystem::exists(kSample)) return state.SkipWithError("BE.wfn sample not found");
  const auto dir = std::filesystem::temp_directory_path() / "qv_wfn_bench";
  std::filesystem::create_directories(dir);
  const auto old = std::filesystem::current_path();
  std::filesystem::current_path(dir);
  for (auto _ : state) {
    auto screen = qv::TextOutput::memory();
    qv::RunOutput out(*screen);
    out.set_log(qv::TextOutput::memory());
    qv::WfnSettings s = be_settings(on);
    qv::run_wfn_job(s, out);
  }
  std::filesystem::current_path(old);
  std::filesystem::remove_all(dir);
}

using qv::orbital_kernels::best_table;
using qv::orbital_kernels::generic_table;

BENCHMARK_CAPTURE(sweep, density, qv::WfnProperties{true, false, false, false}, best_table())
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(sweep, all_four, qv::WfnProperties{true, true, true, true}, best_table())
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(sweep, density_generic, qv::WfnProperties{true, false, false, false}, generic_table())
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(sweep, all_four_generic, qv::WfnProperties{true, true, true, true}, generic_table())
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(whole_job, density, qv::WfnProperties{true, false, false, false})
    ->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(whole_job, all_four, qv::WfnProperties{true, true, true, true})
    ->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
