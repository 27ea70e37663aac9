// The promolecular grid sweep against a direct sum over every atom with every function kept.
#include "wavefunction/promolecular_sweep.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "gridio/cpu_features.hpp"
#include "wavefunction/atomic_density.hpp"
#include "wavefunction/promolecular_kernels.hpp"

namespace qv {
namespace {

WfnSettings box(std::array<float, 3> centre, int n, float step) {
  WfnSettings wfn;
  wfn.properties = {1, 1, 1, 0};
  wfn.centre = centre;
  wfn.points_x = n;
  wfn.points_y = n + 1;
  wfn.points_z = n + 2;
  wfn.axes[0][0] = step;
  wfn.axes[1][1] = step * 1.1f;
  wfn.axes[2][2] = step * 0.9f;
  return wfn;
}

TEST(PromolecularSweep, MatchesTheDirectSumOverAllAtoms) {
  // Far-apart atoms too: contributions from beyond the cut-off and from outside the box.
  const std::vector<GeometryAtom> atoms = {
      {8, 0.0, 0.0, 0.0},   {1, 1.8, 0.1, 0.0},  {1, -0.5, 1.7, 0.2}, {17, 3.0, -2.0, 1.0},
      {6, -3.0, 0.5, -1.5}, {16, 0.7, 0.7, 3.1}, {54, 24.0, 0.0, 0.0}, {1, -0.6, -1.1, -0.3},
      {7, 0.0, 0.0, 0.0}};  // two atoms on one spot are two atoms
  const WfnSettings wfn = box({0.3f, -0.2f, 0.1f}, 17, 0.45f);
  const WfnGridLayout layout = wfn_grid_layout(wfn);
  long long pairs = 0;
  const WfnGrids grids = promolecular_sweep(atoms, wfn, layout, "test grids", &pairs);
  ASSERT_EQ(grids.rho.size(), static_cast<std::size_t>(17 * 18 * 19));

  std::vector<AtomicDensity> models;
  for (const auto& a : atoms) models.emplace_back(a.atomic_number);
  double z = layout.origin[2];
  for (int iz = 0; iz < wfn.points_z; ++iz, z += double(wfn.axes[2][2])) {
    double y = layout.origin[1];
    for (int iy = 0; iy < wfn.points_y; ++iy, y += double(wfn.axes[1][1])) {
      for (int ix = 0; ix < wfn.points_x; ++ix) {
        const double x = layout.xs[static_cast<std::size_t>(ix)];
        double rho = 0, g[3] = {0, 0, 0}, lap = 0;
        for (std::size_t a = 0; a < atoms.size(); ++a) {
          const double d[3] = {x - atoms[a].x, y - atoms[a].y, z - atoms[a].z};
          const double r = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
          const auto [f, df, d2f] = models[a].at(r);
          rho += f;
          for (int k = 0; k < 3; ++k) g[k] += df * d[k] / r;
          lap += d2f + 2 * df / r;
        }
        const double grad = std::sqrt(g[0] * g[0] + g[1] * g[1] + g[2] * g[2]);
        const std::size_t p = static_cast<std::size_t>(ix + wfn.points_x * (iy + wfn.points_y * iz));
        const double scale = rho + grad + std::abs(lap);
        ASSERT_NEAR(grids.rho.values[p], rho, 1e-12 * scale + 1e-16) << ix << " " << iy << " " << iz;
        ASSERT_NEAR(grids.grad.values[p], grad, 1e-11 * scale + 1e-16) << ix << " " << iy << " " << iz;
        ASSERT_NEAR(grids.lapl.values[p], lap, 1e-11 * scale + 1e-16) << ix << " " << iy << " " << iz;
      }
    }
  }
  // The xenon far away reaches only part of the box.
  EXPECT_GT(pairs, static_cast<long long>(grids.rho.size() * (atoms.size() - 1)));
  EXPECT_LT(pairs, static_cast<long long>(grids.rho.size() * atoms.size()));
}

TEST(PromolecularSweep, AGridPointOnANucleusStaysFinite) {
  const std::vector<GeometryAtom> atoms = {{6, 0.0, 0.0, 0.0}, {1, 2.0, 0.0, 0.0}};
  WfnSettings wfn = box({0.0f, 0.0f, 0.0f}, 3, 0.5f);
  wfn.points_y = wfn.points_z = 3;  // odd counts: the centre, on the carbon, is a grid point
  const WfnGrids grids = promolecular_sweep(atoms, wfn, wfn_grid_layout(wfn), "test grids");
  const std::size_t centre = 1 + 3 * (1 + 3 * 1);
  EXPECT_TRUE(std::isfinite(grids.lapl.values[centre]));
  EXPECT_LT(grids.lapl.values[centre], -1e6);
  // Only the hydrogen pulls at the carbon's nucleus.
  EXPECT_NEAR(grids.grad.values[centre], 2.0 * std::exp(-4.0) / 3.14159265358979323846, 1e-12);
}

TEST(PromolecularSweep, NoAtomsGiveZeros) {
  const WfnSettings wfn = box({0.0f, 0.0f, 0.0f}, 4, 0.3f);
  const WfnGrids grids = promolecular_sweep({}, wfn, wfn_grid_layout(wfn), "test grids");
  for (const Grid* g : {&grids.rho, &grids.grad, &grids.lapl}) {
    ASSERT_EQ(g->size(), 4u * 5u * 6u);
    for (double v : g->values) EXPECT_EQ(v, 0.0);
  }
}

TEST(PromolecularSweep, OnlyTheRequestedGridsAreMade) {
  const std::vector<GeometryAtom> atoms = {{1, 0.0, 0.0, 0.0}};
  WfnSettings wfn = box({0.0f, 0.0f, 0.0f}, 4, 0.3f);
  wfn.properties = {0, 0, 1, 0};
  const WfnGrids grids = promolecular_sweep(atoms, wfn, wfn_grid_layout(wfn), "test grids");
  EXPECT_TRUE(grids.rho.empty());
  EXPECT_TRUE(grids.grad.empty());
  EXPECT_EQ(grids.lapl.size(), 4u * 5u * 6u);
}

}  // namespace
}  // namespace qv

namespace qv {
namespace {

// Every build of the row kernel the processor can run, against the scalar evaluator.
TEST(PromolecularKernels, EveryBuildMatchesTheScalarEvaluator) {
  namespace pk = promolecular_kernels;
  std::vector<const pk::Table*> tables = {&pk::generic_table()};
  if (cpu_has_avx2_fma()) tables.push_back(&pk::avx2_table());
  if (cpu_has_avx512f()) tables.push_back(&pk::avx512_table());
  constexpr int n = 61;  // not a multiple of the lane count
  std::vector<double> xs(n + pk::kLanes);
  for (int j = 0; j < n + pk::kLanes; ++j) xs[static_cast<std::size_t>(j)] = -24.0 + 0.8 * j;  // reaches past the cut-offs
  for (int z : {1, 6, 17, 26, 54}) {
    const AtomicDensity atom(z);
    const RadialTable radial(atom);
    const pk::RadialView view = pk::view_of(radial);
    for (const pk::Table* table : tables) {
      SCOPED_TRACE(std::string(table->name) + " Z " + std::to_string(z));
      std::vector<double> rho(n + pk::kLanes), gx(rho), gy(rho), gz(rho), lap(rho);
      const pk::RowSums sums{rho.data(), gx.data(), gy.data(), gz.data(), lap.data()};
      const double y = 0.3, zz = -0.2;  // the atom sits at (0.1, 0, 0)
      const long long points = table->add_atom(view, 0.1, 0.0, 0.0, {xs.data(), 3, n - 5, y, zz}, true, sums);
      long long expected_points = 0;
      for (int j = 0; j < n + pk::kLanes; ++j) {
        const double dx = xs[static_cast<std::size_t>(j)] - 0.1;
        const double r = std::sqrt(dx * dx + y * y + zz * zz);
        const bool counted = j >= 3 && j <= n - 5 && r < atom.cutoff_radius();
        expected_points += counted;
        const auto f = counted ? atom.at(r) : std::array<double, 3>{0, 0, 0};
        const double scale = f[0] + std::abs(f[1]) + std::abs(f[2]);
        const std::size_t p = static_cast<std::size_t>(j);
        ASSERT_NEAR(rho[p], f[0], 1e-12 * scale) << j;
        if (!counted) {
          ASSERT_EQ(rho[p], 0.0) << j;
        }
        ASSERT_NEAR(gx[p], f[1] * dx / r, 1e-12 * scale) << j;
        ASSERT_NEAR(gy[p], f[1] * y / r, 1e-12 * scale) << j;
        ASSERT_NEAR(lap[p], f[2] + 2 * f[1] / r, 1e-12 * (scale + 2 * std::abs(f[1]) / r)) << j;
      }
      EXPECT_EQ(points, expected_points);
    }
  }
}

}  // namespace
}  // namespace qv
