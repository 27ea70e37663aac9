// The promolecular sweep (density, gradient norm and laplacian) on the geometries that
// bench/promolecular_job.sh makes with examples/make_beta_sheet.py in the current folder:
//   pocket.xyz  282 atoms (three strands and a benzene), 125 x 142 x 128 points at 0.189 bohr
//               over the benzene and its pocket, one thread;
//   block.xyz   5012 atoms (five stacked sheets), 120^3 points at 0.2 bohr, one thread and all.
// Counters: point-atom pairs within the cut-off, and their rate.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "gridio/line_reader.hpp"
#include "parallel/parallel_for.hpp"
#include "parallel/thread_count.hpp"
#include "wavefunction/promolecular_sweep.hpp"

namespace {

struct Case {
  const char* file;
  std::array<float, 3> centre;
  int nx, ny, nz;
  float step;
};

const Case kPocket = {"pocket.xyz", {29.4f, 8.1f, 5.5f}, 125, 142, 128, 0.189f};
const Case kBlock = {"block.xyz", {32.8f, 36.6f, -37.8f}, 120, 120, 120, 0.2f};

void sweep(benchmark::State& state, const Case& c, int threads) {
  if (!std::filesystem::exists(c.file))
    return state.SkipWithError("run bench/promolecular_job.sh, which makes the geometries");
  auto in = qv::LineReader::open(c.file);
  const std::vector<qv::GeometryAtom> atoms = qv::read_xyz(*in);
  qv::WfnSettings s;
  s.wfn_risp = {1, 1, 1, 0};
  s.centre_wfn = c.centre;
  s.n_puntix = c.nx;
  s.n_puntiy = c.ny;
  s.n_puntiz = c.nz;
  for (int a = 0; a < 3; ++a) s.orient_matr[a][a] = c.step;
  const qv::WfnGridLayout layout = qv::wfn_grid_layout(s);
  qv::set_sweep_threads(threads);
  long long pairs = 0;
  for (auto _ : state) benchmark::DoNotOptimize(qv::promolecular_sweep(atoms, s, layout, "bench", &pairs));
  state.counters["atoms"] = static_cast<double>(atoms.size());
  state.counters["pairs"] = static_cast<double>(pairs);
  state.counters["pairs/s"] = benchmark::Counter(static_cast<double>(pairs), benchmark::Counter::kIsIterationInvariantRate);
  state.counters["threads"] = threads;
}

void BM_PocketOneThread(benchmark::State& state) { sweep(state, kPocket, 1); }
void BM_BlockOneThread(benchmark::State& state) { sweep(state, kBlock, 1); }
void BM_BlockAllThreads(benchmark::State& state) { sweep(state, kBlock, qv::available_cores()); }

BENCHMARK(BM_PocketOneThread)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_BlockOneThread)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_BlockAllThreads)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
