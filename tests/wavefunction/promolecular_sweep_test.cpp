// The promolecular grid sweep against a direct sum over every atom with every function kept.
#include "wavefunction/promolecular_sweep.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "wavefunction/atomic_density.hpp"

namespace qv {
namespace {

WfnSettings box(std::array<float, 3> centre, int n, float step) {
  WfnSettings wfn;
  wfn.wfn_risp = {1, 1, 1, 0};
  wfn.centre_wfn = centre;
  wfn.n_puntix = n;
  wfn.n_puntiy = n + 1;
  wfn.n_puntiz = n + 2;
  wfn.orient_matr[0][0] = step;
  wfn.orient_matr[1][1] = step * 1.1f;
  wfn.orient_matr[2][2] = step * 0.9f;
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
  for (int iz = 0; iz < wfn.n_puntiz; ++iz, z += double(wfn.orient_matr[2][2])) {
    double y = layout.origin[1];
    for (int iy = 0; iy < wfn.n_puntiy; ++iy, y += double(wfn.orient_matr[1][1])) {
      for (int ix = 0; ix < wfn.n_puntix; ++ix) {
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
        const std::size_t p = static_cast<std::size_t>(ix + wfn.n_puntix * (iy + wfn.n_puntiy * iz));
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
  wfn.n_puntiy = wfn.n_puntiz = 3;  // odd counts: the centre, on the carbon, is a grid point
  const WfnGrids grids = promolecular_sweep(atoms, wfn, wfn_grid_layout(wfn), "test grids");
  const std::size_t centre = 1 + 3 * (1 + 3 * 1);
  EXPECT_TRUE(std::isfinite(grids.lapl.values[centre]));
  EXPECT_LT(grids.lapl.values[centre], -1e6);
  // Only the hydrogen pulls at the carbon's nucleus.
  EXPECT_NEAR(grids.grad.values[centre], 2.0 * std::exp(-4.0) / 3.14159265358979323846, 1e-12);
}

TEST(PromolecularSweep, OnlyTheRequestedGridsAreMade) {
  const std::vector<GeometryAtom> atoms = {{1, 0.0, 0.0, 0.0}};
  WfnSettings wfn = box({0.0f, 0.0f, 0.0f}, 4, 0.3f);
  wfn.wfn_risp = {0, 0, 1, 0};
  const WfnGrids grids = promolecular_sweep(atoms, wfn, wfn_grid_layout(wfn), "test grids");
  EXPECT_TRUE(grids.rho.empty());
  EXPECT_TRUE(grids.grad.empty());
  EXPECT_EQ(grids.lapl.size(), 4u * 5u * 6u);
}

}  // namespace
}  // namespace qv
