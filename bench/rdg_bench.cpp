// Grid sweeps of the RDG job on a 200 x 200 x 200 grid of a molecule-like density (a sum of
// Slater-type atomic densities), reported as time per grid point.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "analysis/abramov_calc.hpp"
#include "analysis/numerical_derivatives.hpp"
#include "analysis/power_kernels.hpp"
#include "analysis/rdg_calc.hpp"
#include "analysis/rdg_statistics.hpp"
#include "analysis/rhosign_calc.hpp"
#include "gridio/cpu_features.hpp"

namespace qv {
namespace {

constexpr int kN = 200;

struct Fixture {
  GridHeader header;
  Grid rho, zero;
  Grid grad, lapl, rdg, rhosign;
  AbramovGrids abramov;

  Fixture() {
    header.n1 = header.n2 = header.n3 = kN;
    header.origin = {-10.0f, -10.0f, -10.0f};
    header.axes = {{{0.1f, 0, 0}, {0, 0.1f, 0}, {0, 0, 0.1f}}};
    // A small organic dimer: heavy atoms and hydrogens, positions in bohr.
    const float atoms[][4] = {{6, -3.0f, 0.2f, 0.1f},  {8, -1.2f, 1.1f, -0.3f},
                              {1, -3.6f, -1.6f, 0.4f}, {1, -4.1f, 1.2f, 1.3f},
                              {6, 3.1f, -0.4f, 0.2f},  {7, 1.4f, -1.3f, -0.2f},
                              {1, 0.3f, 0.1f, -0.1f},  {1, 4.2f, 1.4f, -0.9f}};
    for (const auto& a : atoms) {
      header.atoms.push_back({a[0], a[1], a[2], a[3]});
      header.atomic_numbers.push_back(static_cast<std::int32_t>(a[0]));
    }
    header.natoms = static_cast<std::int32_t>(header.atoms.size());
    rho = make_grid(kN, kN, kN, "bench density");
    for (int k = 0; k < kN; ++k)
      for (int j = 0; j < kN; ++j)
        for (int i = 0; i < kN; ++i) {
          const double x = -10.0 + 0.1 * i, y = -10.0 + 0.1 * j, z = -10.0 + 0.1 * k;
          double s = 0.0;
          for (const auto& a : header.atoms) {
            const double dx = x - a[1], dy = y - a[2], dz = z - a[3];
            const double r = std::sqrt(dx * dx + dy * dy + dz * dz);
            const double zeta = a[0] > 1 ? 1.6 : 1.0;
            // core and valence shells
            s += a[0] * (a[0] > 2 ? 2.0 * std::exp(-2.0 * a[0] * r) : 0.0) +
                 0.3 * a[0] * std::exp(-2.0 * zeta * r);
          }
          rho.at(i, j, k) = s;
        }
    zero = make_grid(kN, kN, kN, "bench zero");
    grad = *numerical_gradient(rho, header.axes);
    lapl = *numerical_laplacian(rho, header.axes);
    rdg = rdg_calc(rho, grad, zero, RdgChoice{}, header);
    rhosign = rhosign_calc(rho, zero, header.axes);
    abramov = abramov_calc(rho, grad, lapl, zero);
  }
};

Fixture& fixture() {
  static Fixture f;
  return f;
}

void per_point(benchmark::State& state) {
  state.counters["per_point"] =
      benchmark::Counter(static_cast<double>(kN) * kN * kN,
                         benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_NumericalGradient(benchmark::State& state) {
  Fixture& f = fixture();
  for (auto _ : state) benchmark::DoNotOptimize(numerical_gradient(f.rho, f.header.axes));
  per_point(state);
}
void BM_NumericalLaplacian(benchmark::State& state) {
  Fixture& f = fixture();
  for (auto _ : state) benchmark::DoNotOptimize(numerical_laplacian(f.rho, f.header.axes));
  per_point(state);
}
void BM_RhosignAllInterior(benchmark::State& state) {
  Fixture& f = fixture();
  for (auto _ : state) benchmark::DoNotOptimize(rhosign_calc(f.rho, f.zero, f.header.axes));
  per_point(state);
}
void BM_RdgAllPoints(benchmark::State& state) {
  Fixture& f = fixture();
  for (auto _ : state) benchmark::DoNotOptimize(rdg_calc(f.rho, f.grad, f.zero, RdgChoice{}, f.header));
  per_point(state);
}
void BM_RdgNearAtoms(benchmark::State& state) {
  Fixture& f = fixture();
  RdgChoice choice;
  choice.space = SpaceCutoff::near_atoms;
  choice.cutoff = 3.0f;
  for (auto _ : state) benchmark::DoNotOptimize(rdg_calc(f.rho, f.grad, f.zero, choice, f.header));
  per_point(state);
}
void BM_Abramov(benchmark::State& state) {
  Fixture& f = fixture();
  for (auto _ : state) benchmark::DoNotOptimize(abramov_calc(f.rho, f.grad, f.lapl, f.zero));
  per_point(state);
}
void BM_Statistics(benchmark::State& state) {
  Fixture& f = fixture();
  for (auto _ : state)
    benchmark::DoNotOptimize(rdg_statistics(&f.rdg, f.rho, &f.rhosign, &f.abramov, f.header.axes));
  per_point(state);
}
// rho^(4/3) over the density of the fixture, by chunks of 1024 values as the sweeps take them,
// with each build of the power function the processor can run (generic is std::pow).
void BM_PowArray(benchmark::State& state, const power_kernels::Table& table) {
  Fixture& f = fixture();
  std::vector<double> out(1024);
  const std::size_t n = f.rho.values.size();
  std::size_t redone = 0;
  for (auto _ : state) {
    redone = 0;
    for (std::size_t start = 0; start < n; start += 1024)
      redone += table.pow_array(f.rho.values.data() + start, kRdgExponent, out.data(),
                                std::min<std::size_t>(1024, n - start));
    benchmark::DoNotOptimize(out.data());
  }
  per_point(state);
  state.counters["handed_to_std_pow"] = static_cast<double>(redone) / static_cast<double>(n);
}
BENCHMARK_CAPTURE(BM_PowArray, generic, power_kernels::generic_table())
    ->Unit(benchmark::kMillisecond)->MinTime(1.0);
const bool kPowBuilds = [] {
  if (cpu_has_avx2_fma())
    benchmark::RegisterBenchmark("BM_PowArray/avx2", BM_PowArray, power_kernels::avx2_table())
        ->Unit(benchmark::kMillisecond)->MinTime(1.0);
  if (cpu_has_avx512f())
    benchmark::RegisterBenchmark("BM_PowArray/avx512", BM_PowArray, power_kernels::avx512_table())
        ->Unit(benchmark::kMillisecond)->MinTime(1.0);
  return true;
}();

BENCHMARK(BM_NumericalGradient)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_NumericalLaplacian)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_RhosignAllInterior)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_RdgAllPoints)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_RdgNearAtoms)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Abramov)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Statistics)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace
}  // namespace qv

BENCHMARK_MAIN();
