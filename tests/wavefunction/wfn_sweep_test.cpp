// The WFN grid: its layout around the centre, the sweep, and the property rules against a
// direct point-by-point evaluation.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "wavefunction/wfn_sweep.hpp"
#include "wfn_test_support.hpp"

namespace qv {
namespace {

using testing::TestAtom;
using testing::TestPrimitive;

WfnSettings settings(WfnProperties on, std::array<float, 3> centre, std::int32_t n[3],
                     float step[3]) {
  WfnSettings s;
  s.properties = on;
  s.centre = centre;
  s.points_x = n[0], s.points_y = n[1], s.points_z = n[2];
  for (int a = 0; a < 3; ++a) s.axes[a][a] = step[a];
  return s;
}

struct Props {
  double rho, grad, lap, g;
};

// All properties at one point, straight from the definitions, without screening.
Props reference(const WfnRecord& rec, double x, double y, double z) {
  Props p{0, 0, 0, 0};
  double gr[3] = {0, 0, 0};
  for (int k = 0; k < rec.orbital_count; ++k) {
    double v = 0, d[3] = {0, 0, 0}, l = 0;
    for (int i = 0; i < rec.primitive_count; ++i) {
      const int a = rec.primitive_centre[i];
      const auto q = testing::direct_primitive(rec.type[i], rec.exponents[i], x - rec.centre_x[a],
                                               y - rec.centre_y[a], z - rec.centre_z[a]);
      const double c = rec.coefficient(i, k);
      v += c * q.v, d[0] += c * q.dx, d[1] += c * q.dy, d[2] += c * q.dz, l += c * q.lap;
    }
    const double n = rec.occupations[k];
    const double g2 = d[0] * d[0] + d[1] * d[1] + d[2] * d[2];
    p.rho += n * v * v;
    for (int c = 0; c < 3; ++c) gr[c] += 2 * n * v * d[c];
    p.lap += 2 * n * (v * l + g2);
    p.g += 0.5 * n * g2;
  }
  p.grad = std::sqrt(gr[0] * gr[0] + gr[1] * gr[1] + gr[2] * gr[2]);
  return p;
}

WfnRecord mixed_molecule() {
  std::vector<TestPrimitive> prims;
  const std::vector<TestAtom> atoms{{0, 0, 0, 8}, {1.4, 0.3, -0.8, 1}, {-1.1, 0.9, 0.5, 1}};
  for (int t = 20; t >= 1; --t)
    for (int a = 0; a < 3; ++a)
      prims.push_back({a, t, 0.4 + 0.5 * a + 0.03 * t,
                       {0.3 * std::sin(t + a), 0.2 * std::cos(3.0 * t - a), 0.02 * t - 0.1 * a}});
  return testing::make_record(atoms, prims, {2.0, 1.5, 0.5});
}

TEST(WfnSweep, GridsMatchDirectEvaluationOnBothEvaluators) {
  const WfnRecord rec = mixed_molecule();
  std::int32_t n[3] = {5, 4, 3};
  float step[3] = {0.37f, 0.29f, 0.41f};
  const std::array<float, 3> centre{0.1f, 0.2f, -0.15f};
  const WfnSettings all = settings({1, 1, 1, 1}, centre, n, step);
  const WfnSettings rho_only = settings({1, 0, 0, 0}, centre, n, step);
  const WfnGridLayout layout = wfn_grid_layout(all);
  const WfnGrids g = wfn_sweep(rec, all, layout, "test");
  const WfnGrids r = wfn_sweep(rec, rho_only, layout, "test");
  ASSERT_TRUE(r.grad.empty() && r.g.empty() && r.h.empty());
  double z = layout.origin[2];
  for (int iz = 0; iz < n[2]; ++iz, z += double(step[2])) {
    double y = layout.origin[1];
    for (int iy = 0; iy < n[1]; ++iy, y += double(step[1])) {
      for (int ix = 0; ix < n[0]; ++ix) {
        const Props p = reference(rec, layout.xs[ix], y, z);
        auto near = [](double a, double b) { EXPECT_NEAR(a, b, 1e-12 * (1 + std::fabs(b))); };
        near(g.rho.at(ix, iy, iz), p.rho);
        near(r.rho.at(ix, iy, iz), p.rho);
        near(g.grad.at(ix, iy, iz), p.grad);
        near(g.lapl.at(ix, iy, iz), p.lap);
        near(g.g.at(ix, iy, iz), p.g);
        // V + 2G = L/4 and H = G + V.
        near(g.v.at(ix, iy, iz) + 2 * g.g.at(ix, iy, iz), 0.25 * p.lap);
        near(g.h.at(ix, iy, iz), g.g.at(ix, iy, iz) + g.v.at(ix, iy, iz));
        EXPECT_GT(p.rho, 1e-6);
      }
    }
  }
}

TEST(WfnSweep, SingleSPrimitiveAtItsCentre) {
  const double alpha = 1.3, w = 0.7, occ = 2.0;
  const WfnRecord rec = testing::make_record({{1, 2, 3, 1}}, {{0, 1, alpha, {w}}}, {occ});
  std::int32_t n[3] = {1, 1, 1};
  float step[3] = {0.1f, 0.1f, 0.1f};
  const WfnSettings s = settings({1, 1, 1, 1}, {1.0f, 2.0f, 3.0f}, n, step);
  const WfnGridLayout layout = wfn_grid_layout(s);
  EXPECT_EQ(layout.origin, (std::array<float, 3>{1.0f, 2.0f, 3.0f}));
  const WfnGrids g = wfn_sweep(rec, s, layout, "test");
  EXPECT_DOUBLE_EQ(g.rho.values[0], occ * w * w);
  EXPECT_EQ(g.grad.values[0], 0.0);
  EXPECT_DOUBLE_EQ(g.lapl.values[0], -12 * occ * alpha * w * w);
  EXPECT_EQ(g.g.values[0], 0.0);
  EXPECT_DOUBLE_EQ(g.v.values[0], -3 * occ * alpha * w * w);
  EXPECT_DOUBLE_EQ(g.h.values[0], -3 * occ * alpha * w * w);
}

TEST(WfnSweep, ZeroFarAwayAndWithoutOccupation) {
  const WfnRecord near_rec = mixed_molecule();
  WfnRecord empty = near_rec;
  empty.occupations.assign(empty.occupations.size(), 0.0);
  std::int32_t n[3] = {3, 3, 3};
  float step[3] = {0.5f, 0.5f, 0.5f};
  struct Case {
    const WfnRecord* rec;
    std::array<float, 3> centre;
  };
  for (const Case c :
       {Case{&near_rec, {900.0f, -900.0f, 900.0f}}, Case{&empty, {0.1f, 0.2f, 0.3f}}}) {
    for (WfnProperties on :
         {WfnProperties{true, false, false, false}, WfnProperties{true, true, true, true}}) {
      const WfnSettings s = settings(on, c.centre, n, step);
      const WfnGrids g = wfn_sweep(*c.rec, s, wfn_grid_layout(s), "test");
      for (const Grid* grid : {&g.rho, &g.grad, &g.lapl, &g.g, &g.v, &g.h})
        for (double v : grid->values) EXPECT_EQ(v, 0.0);
    }
  }
}

TEST(WfnSweep, TwoPointsLieHalfAStepEitherSideOfTheCentre) {
  // An s primitive at the centre has the same density at all eight corners only if each
  // coordinate is centre -/+ h/2.
  const float h = 0.5f;
  const WfnRecord rec = testing::make_record({{0.25, -0.5, 1.0, 1}}, {{0, 1, 1.0, {1.0}}}, {1.0});
  std::int32_t n[3] = {2, 2, 2};
  float step[3] = {h, h, h};
  const WfnSettings s = settings({1, 0, 0, 0}, {0.25f, -0.5f, 1.0f}, n, step);
  const WfnGridLayout layout = wfn_grid_layout(s);
  EXPECT_EQ(layout.origin, (std::array<float, 3>{0.0f, -0.75f, 0.75f}));
  EXPECT_EQ(layout.xs, (std::vector<double>{0.0, 0.5}));
  const WfnGrids g = wfn_sweep(rec, s, layout, "test");
  for (double v : g.rho.values) EXPECT_DOUBLE_EQ(v, std::exp(-1.5 * h * h));  // psi squared
}

TEST(WfnSweep, XInSinglePrecisionYAndZAccumulated) {
  WfnSettings s;
  s.centre = {0.1f, 0.1f, 0.1f};
  s.points_x = 7;
  s.axes[0][0] = 0.1f;
  const WfnGridLayout layout = wfn_grid_layout(s);
  const float ox = 0.1f - 6.0f * 0.5f * 0.1f;
  EXPECT_EQ(layout.origin[0], ox);
  for (int j = 0; j < 7; ++j) EXPECT_EQ(layout.xs[j], double(float(j) * 0.1f + ox));
}

// Normalised Cartesian Gaussians: the density integrates to the sum of the occupations.
TEST(WfnSweep, DensityIntegratesToTheElectronCount) {
  auto norm = [](int type, double a) {
    const auto& p = kTypePowers[type - 1];
    auto dfact = [](int n) {  // (2n - 1)!!
      double r = 1;
      for (int k = 2 * n - 1; k > 1; k -= 2) r *= k;
      return r;
    };
    return std::sqrt(std::pow(2 * a / std::numbers::pi, 1.5) * std::pow(4 * a, p[0] + p[1] + p[2]) /
                     (dfact(p[0]) * dfact(p[1]) * dfact(p[2])));
  };
  // A contracted s orbital of two primitives on centre 1 (normalised through their overlap),
  // and one p, d and f orbital of a single primitive on the other centres.
  const double a1 = 1.1, a2 = 0.45, c1 = 0.6, c2 = 0.5;
  const double s12 = std::pow(2 * std::sqrt(a1 * a2) / (a1 + a2), 1.5);
  const double ns = 1 / std::sqrt(c1 * c1 + c2 * c2 + 2 * c1 * c2 * s12);
  const std::vector<TestAtom> atoms{{0, 0, 0, 2}, {1.5, 0, 0.3, 1}, {-0.5, 1.2, 0, 1}};
  const std::vector<TestPrimitive> prims{
      {0, 1, a1, {ns * c1 * norm(1, a1), 0, 0, 0}},
      {0, 1, a2, {ns * c2 * norm(1, a2), 0, 0, 0}},
      {1, 3, 0.9, {0, norm(3, 0.9), 0, 0}},
      {2, 8, 1.2, {0, 0, norm(8, 1.2), 0}},
      {1, 20, 1.6, {0, 0, 0, norm(20, 1.6)}},
  };
  const std::vector<double> occ{2.0, 1.0, 0.5, 0.25};
  const WfnRecord rec = testing::make_record(atoms, prims, occ);
  std::int32_t n[3] = {121, 121, 121};
  float step[3] = {0.125f, 0.125f, 0.125f};
  const WfnSettings s = settings({1, 0, 0, 0}, {0.5f, 0.5f, 0.125f}, n, step);
  const WfnGrids g = wfn_sweep(rec, s, wfn_grid_layout(s), "test");
  double total = 0;
  for (double v : g.rho.values) total += v;
  total *= 0.125 * 0.125 * 0.125;
  EXPECT_NEAR(total, 3.75, 1e-4);
}

}  // namespace
}  // namespace qv
