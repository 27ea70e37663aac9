// Labelling the NCI regions of a 200^3 grid on one core: a field of many blobs of every size
// (about a third of the points in NCI), and the worst case of one region filling the grid.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "view/nci_regions.hpp"

namespace {

constexpr std::size_t kN = 200;

struct Field {
  qv::CubeGeometry geometry;
  std::vector<double> rdg, rhosign;

  explicit Field(bool everything_inside) {
    geometry.points = {kN, kN, kN};
    geometry.axes = {{{0.1, 0, 0}, {0, 0.1, 0}, {0, 0, 0.1}}};
    for (int a = 0; a < 12; ++a)
      geometry.atoms.push_back({1 + a % 8, 0.7 * a, 20.0 - 1.3 * a, 3.0 + 0.9 * a});
    rdg.resize(kN * kN * kN);
    rhosign.resize(kN * kN * kN);
    std::size_t p = 0;
    for (std::size_t k = 0; k < kN; ++k)
      for (std::size_t j = 0; j < kN; ++j)
        for (std::size_t i = 0; i < kN; ++i, ++p) {
          const double wave = std::sin(0.21 * i) * std::sin(0.17 * j + 0.5) * std::sin(0.13 * k + 1.0);
          rdg[p] = everything_inside ? 0.2 + 0.1 * wave : 0.62 + 0.5 * wave;
          rhosign[p] = 0.04 * std::cos(0.05 * i + 0.03 * j) * wave;
        }
  }
};

void label(benchmark::State& state, bool everything_inside) {
  static const Field blobs(false), full(true);
  const Field& f = everything_inside ? full : blobs;
  std::size_t regions = 0;
  for (auto _ : state) {
    const auto found = qv::find_nci_regions(f.geometry, f.rdg.data(), f.rhosign.data(), {});
    regions = found.size();
    benchmark::DoNotOptimize(found.data());
  }
  state.counters["regions"] = static_cast<double>(regions);
  state.SetItemsProcessed(state.iterations() * static_cast<long>(f.rdg.size()));
}

void BM_Label200CubedBlobs(benchmark::State& state) { label(state, false); }
void BM_Label200CubedOneRegion(benchmark::State& state) { label(state, true); }

BENCHMARK(BM_Label200CubedBlobs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Label200CubedOneRegion)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
