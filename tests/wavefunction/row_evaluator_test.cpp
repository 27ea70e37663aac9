// Orbital values, gradients and laplacians along a row: every primitive type against its
// definition and against finite differences of its own values; the screening rules; the two
// instruction-set builds of the kernels.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "wavefunction/row_evaluator.hpp"
#include "wfn_test_support.hpp"

namespace qv {
namespace {

using testing::direct_primitive;
using testing::make_record;

const testing::TestAtom kAtom{0.3, -0.2, 0.1, 6.0};
const double kAlpha = 0.8;
const std::vector<double> kXs{-0.7, -0.1, 0.45, 1.2};
const double kY = 0.35, kZ = -0.55;

WfnRecord one_primitive(int type, double alpha = kAlpha, double coef = 1.0,
                        testing::TestAtom atom = kAtom) {
  return make_record({atom}, {{0, type, alpha, {coef}}}, {1.0});
}

TEST(RowEvaluator, EveryTypeMatchesItsDefinition) {
  for (int type = 1; type <= 20; ++type) {
    SCOPED_TRACE("type " + std::to_string(type));
    const WfnRecord rec = one_primitive(type);
    RowEvaluator ev(rec, kXs, true);
    ev.evaluate_orbitals_with_derivatives(kY, kZ);
    RowEvaluator values_only(rec, kXs, false);
    values_only.evaluate_orbitals(kY, kZ);
    for (std::size_t j = 0; j < kXs.size(); ++j) {
      const auto d = direct_primitive(type, kAlpha, kXs[j] - kAtom.x, kY - kAtom.y, kZ - kAtom.z);
      const double tol = 1e-13;
      EXPECT_NEAR(ev.psi(0)[j], d.v, tol);
      EXPECT_NEAR(values_only.psi(0)[j], d.v, tol);
      EXPECT_NEAR(ev.gx(0)[j], d.dx, tol);
      EXPECT_NEAR(ev.gy(0)[j], d.dy, tol);
      EXPECT_NEAR(ev.gz(0)[j], d.dz, tol);
      EXPECT_NEAR(ev.d2(0)[j], d.lap, tol);
      EXPECT_NE(d.v, 0.0);  // the points are off every nodal plane
    }
  }
}

// Fourth-order central differences of the evaluated values.
TEST(RowEvaluator, EveryTypeMatchesFiniteDifferencesOfItsValues) {
  const double h = 5e-3;
  const double w[5] = {1.0 / 12, -8.0 / 12, 0.0, 8.0 / 12, -1.0 / 12};       // first derivative
  const double w2[5] = {-1.0 / 12, 16.0 / 12, -30.0 / 12, 16.0 / 12, -1.0 / 12};  // second
  for (int type = 1; type <= 20; ++type) {
    SCOPED_TRACE("type " + std::to_string(type));
    const WfnRecord rec = one_primitive(type);
    RowEvaluator ev(rec, kXs, true);
    ev.evaluate_orbitals_with_derivatives(kY, kZ);
    // values[axis][shift][point]
    std::vector<double> values[3][5];
    for (int q = 0; q < 5; ++q) {
      const double d = (q - 2) * h;
      std::vector<double> xs = kXs;
      for (double& x : xs) x += d;
      RowEvaluator shifted(rec, xs, false);
      shifted.evaluate_orbitals(kY, kZ);
      values[0][q].assign(shifted.psi(0), shifted.psi(0) + xs.size());
      RowEvaluator plain(rec, kXs, false);
      plain.evaluate_orbitals(kY + d, kZ);
      values[1][q].assign(plain.psi(0), plain.psi(0) + xs.size());
      plain.evaluate_orbitals(kY, kZ + d);
      values[2][q].assign(plain.psi(0), plain.psi(0) + xs.size());
    }
    for (std::size_t j = 0; j < kXs.size(); ++j) {
      double grad[3] = {0, 0, 0}, lap = 0;
      for (int a = 0; a < 3; ++a)
        for (int q = 0; q < 5; ++q) {
          grad[a] += w[q] * values[a][q][j] / h;
          lap += w2[q] * values[a][q][j] / (h * h);
        }
      EXPECT_NEAR(ev.gx(0)[j], grad[0], 1e-8);
      EXPECT_NEAR(ev.gy(0)[j], grad[1], 1e-8);
      EXPECT_NEAR(ev.gz(0)[j], grad[2], 1e-8);
      EXPECT_NEAR(ev.d2(0)[j], lap, 1e-6);
    }
  }
}

TEST(RowEvaluator, ProductOfExactlyTheThresholdIsSkipped) {
  // An s primitive at its centre has value 1 there; with exponent 1/8 its laplacian is -0.75 and
  // its gradient 0, so both measures are exactly 1.
  const testing::TestAtom origin{0, 0, 0, 1};
  const std::vector<double> xs{0.0};
  struct Case {
    double coef;
    bool used;
  };
  for (const Case c : {Case{1.0e-10, false}, Case{std::nextafter(1.0e-10, 1.0), true},
                       Case{-1.0e-10, false}, Case{0.0, false}}) {
    const WfnRecord rec = one_primitive(1, 0.125, c.coef, origin);
    RowEvaluator value(rec, xs, false), deriv(rec, xs, true);
    value.evaluate_orbitals(0, 0);
    deriv.evaluate_orbitals_with_derivatives(0, 0);
    EXPECT_EQ(value.chimax(0), 1.0);
    EXPECT_EQ(deriv.chimax(0), 1.0);
    EXPECT_EQ(value.psi(0)[0], c.used ? c.coef : 0.0) << c.coef;
    EXPECT_EQ(deriv.psi(0)[0], c.used ? c.coef : 0.0) << c.coef;
    EXPECT_EQ(deriv.d2(0)[0], c.used ? -0.75 * c.coef : 0.0) << c.coef;
  }
}

TEST(RowEvaluator, DerivativeMeasureKeepsTightPrimitives) {
  // A tight s primitive 0.2 bohr away: value exp(-2), x-derivative 20 exp(-2), laplacian
  // 100 exp(-2). Its coefficient makes only the value product fall below the threshold.
  const testing::TestAtom origin{0, 0, 0, 1};
  const std::vector<double> xs{0.2};
  const double coef = 1.0e-10;
  const WfnRecord rec = one_primitive(1, 50.0, coef, origin);
  RowEvaluator value(rec, xs, false), deriv(rec, xs, true);
  value.evaluate_orbitals(0, 0);
  deriv.evaluate_orbitals_with_derivatives(0, 0);
  const auto d = direct_primitive(1, 50.0, 0.2, 0, 0);
  EXPECT_NEAR(value.chimax(0), std::fabs(d.v), 1e-15);
  EXPECT_NEAR(deriv.chimax(0), std::fabs(d.lap), 1e-13);
  EXPECT_GT(std::fabs(d.lap), std::fabs(d.dx));
  EXPECT_EQ(value.psi(0)[0], 0.0);
  EXPECT_NEAR(deriv.psi(0)[0], coef * d.v, 1e-25);
  EXPECT_NEAR(deriv.gx(0)[0], coef * d.dx, 1e-24);

  // A px primitive on the row's axis where its value vanishes: only the derivative measure sees it.
  const WfnRecord p = one_primitive(3, 1.0, 1.0, origin);  // py, evaluated at y = 0
  RowEvaluator pv(p, xs, false), pd(p, xs, true);
  pv.evaluate_orbitals(0, 0);
  pd.evaluate_orbitals_with_derivatives(0, 0);
  EXPECT_EQ(pv.chimax(0), 0.0);
  EXPECT_NEAR(pd.chimax(0), std::exp(-0.04), 1e-15);
  EXPECT_NEAR(pd.gy(0)[0], std::exp(-0.04), 1e-15);
}

TEST(RowEvaluator, FarFromEveryCentreEverythingIsExactlyZero) {
  const WfnRecord rec = make_record({kAtom}, {{0, 1, 0.5, {1.0}}, {0, 13, 0.05, {2.0}}}, {2.0});
  const std::vector<double> xs{-4000.0, 0.0, 4000.0};
  RowEvaluator ev(rec, xs, true);
  ev.evaluate_orbitals_with_derivatives(5000.0, -5000.0);
  for (int j = 0; j < 3; ++j)
    for (const double* v : {ev.psi(0), ev.gx(0), ev.gy(0), ev.gz(0), ev.d2(0)})
      EXPECT_EQ(v[j], 0.0);
}

TEST(RowEvaluator, EveryInstructionSetBuildAgreesWithTheGenericOne) {
  std::vector<testing::TestPrimitive> prims;
  const std::vector<testing::TestAtom> atoms{
      {0, 0, 0, 8}, {1.4, 0.3, -0.8, 1}, {-1.1, 0.9, 0.5, 1}};
  for (int t = 1; t <= 20; ++t)
    for (int a = 0; a < 3; ++a)
      prims.push_back({a, t, 0.3 + 0.7 * a + 0.05 * t,
                       {std::sin(t + a), std::cos(3.0 * t - a), 0.1 * t - a, 1.0 / (t + a)}});
  const WfnRecord rec = make_record(atoms, prims, {2.0, 2.0, 1.0, 0.5});
  std::vector<double> xs;
  for (int j = 0; j < 21; ++j) xs.push_back(-2.0 + 0.21 * j);
  RowEvaluator a(rec, xs, true, orbital_kernels::generic_table());
  a.evaluate_orbitals_with_derivatives(0.2, -0.4);
  std::vector<const orbital_kernels::Table*> builds;
  if (orbital_kernels::avx2_supported()) builds.push_back(&orbital_kernels::avx2_table());
  if (orbital_kernels::avx512_supported()) builds.push_back(&orbital_kernels::avx512_table());
  if (builds.empty()) GTEST_SKIP() << "no AVX2/FMA on this processor";
  for (const auto* build : builds) {
    SCOPED_TRACE(build->name);
    RowEvaluator b(rec, xs, true, *build);
    b.evaluate_orbitals_with_derivatives(0.2, -0.4);
    for (int k = 0; k < 4; ++k)
      for (std::size_t j = 0; j < xs.size(); ++j) {
        EXPECT_NEAR(a.psi(k)[j], b.psi(k)[j], 1e-13 * (1 + std::fabs(a.psi(k)[j])));
        EXPECT_NEAR(a.gx(k)[j], b.gx(k)[j], 1e-13 * (1 + std::fabs(a.gx(k)[j])));
        EXPECT_NEAR(a.gy(k)[j], b.gy(k)[j], 1e-13 * (1 + std::fabs(a.gy(k)[j])));
        EXPECT_NEAR(a.gz(k)[j], b.gz(k)[j], 1e-13 * (1 + std::fabs(a.gz(k)[j])));
        EXPECT_NEAR(a.d2(k)[j], b.d2(k)[j], 1e-12 * (1 + std::fabs(a.d2(k)[j])));
      }
  }
}

}  // namespace
}  // namespace qv
