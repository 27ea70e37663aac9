// Core densities (the .wfx EDF): their primitives add their weighted sum to rho, their
// derivatives to the gradient and the laplacian, and nothing to G.
#include <gtest/gtest.h>

#include <cmath>

#include "wavefunction/wfn_sweep.hpp"
#include "wfn_test_support.hpp"

namespace qv {
namespace {

const std::vector<testing::TestAtom> kAtoms{{0, 0, 0, 8}, {1.4, 0.3, -0.8, 1}};
// A core written as the .wfx files of pseudopotential runs write it (tight s functions with
// coefficients of both signs), plus other types, which the layout allows too.
const std::vector<testing::TestEdf> kCore{{0, 1, 2200.0, 310.0}, {0, 1, 95.0, -4.5},
                                          {0, 1, 7.5, 2.25},     {1, 1, 1.2, 0.4},
                                          {1, 5, 0.9, 0.3},      {0, 23, 0.7, 0.05}};

WfnRecord with_core(WfnRecord rec) {
  for (const auto& e : kCore) {
    rec.edf_centre.push_back(e.centre);
    rec.edf_type.push_back(e.type);
    rec.edf_exponent.push_back(e.alpha);
    rec.edf_coefficient.push_back(e.coef);
  }
  return rec;
}

struct CoreValues {
  double v = 0, d[3] = {0, 0, 0}, lap = 0;
};
CoreValues direct_core(double x, double y, double z) {
  CoreValues c;
  for (const auto& e : kCore) {
    const auto& a = kAtoms[static_cast<std::size_t>(e.centre)];
    const auto q = testing::direct_primitive(e.type, e.alpha, x - a.x, y - a.y, z - a.z);
    c.v += e.coef * q.v;
    c.d[0] += e.coef * q.dx, c.d[1] += e.coef * q.dy, c.d[2] += e.coef * q.dz;
    c.lap += e.coef * q.lap;
  }
  return c;
}

WfnSettings box(std::array<int, 4> on) {
  WfnSettings s;
  s.wfn_risp = on;
  s.centre_wfn = {0.3f, 0.1f, -0.2f};
  s.n_puntix = 7, s.n_puntiy = 5, s.n_puntiz = 4;
  s.orient_matr[0][0] = 0.31f, s.orient_matr[1][1] = 0.27f, s.orient_matr[2][2] = 0.35f;
  return s;
}

// Calls `check(ix, iy, iz, x, y, z)` at every point of the box.
template <class F>
void each_point(const WfnSettings& s, const WfnGridLayout& layout, F check) {
  double z = layout.origin[2];
  for (int iz = 0; iz < s.n_puntiz; ++iz, z += double(s.orient_matr[2][2])) {
    double y = layout.origin[1];
    for (int iy = 0; iy < s.n_puntiy; ++iy, y += double(s.orient_matr[1][1]))
      for (int ix = 0; ix < s.n_puntix; ++ix) check(ix, iy, iz, layout.xs[ix], y, z);
  }
}

TEST(CoreDensity, AloneGivesItsOwnValueGradientAndLaplacian) {
  const WfnRecord rec = with_core(testing::make_record(kAtoms, {}, {}));
  const WfnSettings all = box({1, 1, 1, 1}), rho_only = box({1, 0, 0, 0});
  const WfnGridLayout layout = wfn_grid_layout(all);
  const WfnGrids g = wfn_sweep(rec, all, layout, "test");
  const WfnGrids r = wfn_sweep(rec, rho_only, layout, "test");
  each_point(all, layout, [&](int ix, int iy, int iz, double x, double y, double z) {
    const CoreValues c = direct_core(x, y, z);
    const double tol = 1e-12 * (1 + std::fabs(c.lap));
    EXPECT_NEAR(g.rho.at(ix, iy, iz), c.v, tol);
    // The density-only sweep screens by values alone: a core primitive whose contribution
    // stays below the 1e-10 cut-off along the row is left out, as orbital primitives are.
    EXPECT_NEAR(r.rho.at(ix, iy, iz), c.v, 1e-10 * static_cast<double>(kCore.size()));
    EXPECT_NEAR(g.grad.at(ix, iy, iz), std::hypot(c.d[0], c.d[1], c.d[2]), tol);
    EXPECT_NEAR(g.lapl.at(ix, iy, iz), c.lap, tol);
    EXPECT_EQ(g.g.at(ix, iy, iz), 0.0);
    EXPECT_EQ(g.v.at(ix, iy, iz), 0.25 * g.lapl.at(ix, iy, iz));
    EXPECT_GT(std::fabs(c.v), 1e-8);  // the box sees the core
  });
}

TEST(CoreDensity, AddsToTheOrbitalsButLeavesGAlone) {
  std::vector<testing::TestPrimitive> prims;
  for (int t : {1, 2, 4, 5, 10, 13, 21, 36})
    for (int a = 0; a < 2; ++a) prims.push_back({a, t, 0.6 + 0.2 * a, {0.3 - 0.02 * t, 0.1 * a + 0.05}});
  const WfnRecord valence = testing::make_record(kAtoms, prims, {2.0, 1.0});
  const WfnRecord full = with_core(valence);
  const WfnSettings all = box({1, 1, 1, 1});
  const WfnGridLayout layout = wfn_grid_layout(all);
  const WfnGrids without = wfn_sweep(valence, all, layout, "test");
  const WfnGrids with = wfn_sweep(full, all, layout, "test");
  each_point(all, layout, [&](int ix, int iy, int iz, double x, double y, double z) {
    const CoreValues c = direct_core(x, y, z);
    const double tol = 1e-12 * (1 + std::fabs(c.lap));
    EXPECT_NEAR(with.rho.at(ix, iy, iz) - without.rho.at(ix, iy, iz), c.v, tol);
    EXPECT_NEAR(with.lapl.at(ix, iy, iz) - without.lapl.at(ix, iy, iz), c.lap, tol);
    EXPECT_EQ(with.g.at(ix, iy, iz), without.g.at(ix, iy, iz));
    // V and H take the full laplacian.
    EXPECT_NEAR(with.v.at(ix, iy, iz) + 2 * with.g.at(ix, iy, iz), 0.25 * with.lapl.at(ix, iy, iz), tol);
    EXPECT_NEAR(with.h.at(ix, iy, iz), with.g.at(ix, iy, iz) + with.v.at(ix, iy, iz), tol);
  });
}

}  // namespace
}  // namespace qv
