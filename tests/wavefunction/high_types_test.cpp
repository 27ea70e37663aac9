// The g and h primitives (types 21-56): each one's value, gradient and laplacian along a row
// against closed forms written here from the format's names of the types, at points on and off
// the axes; and the order of the types against real files, whose helium virtual orbitals must
// come out as pure solid harmonics.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "wavefunction/wfn_reader.hpp"
#include "wavefunction/row_evaluator.hpp"
#include "wfn_test_support.hpp"

namespace qv {
namespace {

// The format documents the types by the letters of their powers, in this order.
const char* const kTypeNames[36] = {
    "XXXX",  "YYYY",  "ZZZZ",  "XXXY",  "XXXZ",  "XYYY",  "YYYZ",  "XZZZ",  "YZZZ",
    "XXYY",  "XXZZ",  "YYZZ",  "XXYZ",  "XYYZ",  "XYZZ",  "ZZZZZ", "YZZZZ", "YYZZZ",
    "YYYZZ", "YYYYZ", "YYYYY", "XZZZZ", "XYZZZ", "XYYZZ", "XYYYZ", "XYYYY", "XXZZZ",
    "XXYZZ", "XXYYZ", "XXYYY", "XXXZZ", "XXXYZ", "XXXYY", "XXXXZ", "XXXXY", "XXXXX"};

std::array<int, 3> powers_of(const std::string& name) {
  std::array<int, 3> p{0, 0, 0};
  for (char c : name) ++p[static_cast<std::size_t>(c - 'X')];
  return p;
}

// u^n, with u^n = 0 for negative n (the term it multiplies has a zero factor then).
double power(double u, int n) { return n < 0 ? 0.0 : std::pow(u, n); }

// Closed forms of X^l Y^m Z^n exp(-a r^2): d/dX = (l X^(l-1) - 2a X^(l+1)) Y^m Z^n e, and
// d2/dX2 = (l(l-1) X^(l-2) - 2a(2l+1) X^l + 4a^2 X^(l+2)) Y^m Z^n e.
testing::PrimitiveValues closed_form(const std::array<int, 3>& p, double a, double X, double Y,
                                     double Z) {
  const double e = std::exp(-a * (X * X + Y * Y + Z * Z));
  const double u[3] = {X, Y, Z};
  double f[3], d1[3], d2[3];
  for (int k = 0; k < 3; ++k) {
    const int n = p[static_cast<std::size_t>(k)];
    f[k] = power(u[k], n);
    d1[k] = n * power(u[k], n - 1) - 2 * a * power(u[k], n + 1);
    d2[k] = n * (n - 1) * power(u[k], n - 2) - 2 * a * (2 * n + 1) * power(u[k], n) +
            4 * a * a * power(u[k], n + 2);
  }
  return {f[0] * f[1] * f[2] * e, d1[0] * f[1] * f[2] * e, f[0] * d1[1] * f[2] * e,
          f[0] * f[1] * d1[2] * e,
          (d2[0] * f[1] * f[2] + f[0] * d2[1] * f[2] + f[0] * f[1] * d2[2]) * e};
}

TEST(HighTypes, EveryGAndHTypeMatchesItsClosedForm) {
  const testing::TestAtom atom{0.3, -0.2, 0.1, 6.0};
  const double alpha = 0.45;
  // Points off every axis, on the atom's x axis (Y = Z = 0), in a plane (Z = 0), at the atom.
  const std::vector<double> xs{-1.1, -0.2, 0.3, 0.75, 1.9};
  const double rows[][2] = {{0.55, -0.65}, {-0.2, 0.1}, {0.9, 0.1}, {-0.2, 1.3}};
  for (int type = 21; type <= 56; ++type) {
    const std::string name = kTypeNames[type - 21];
    SCOPED_TRACE("type " + std::to_string(type) + " " + name);
    const WfnRecord rec = testing::make_record({atom}, {{0, type, alpha, {1.0}}}, {1.0});
    RowEvaluator ev(rec, xs, true);
    RowEvaluator values_only(rec, xs, false);
    for (const auto& row : rows) {
      ev.evaluate_orbitals_with_derivatives(row[0], row[1]);
      values_only.evaluate_orbitals(row[0], row[1]);
      for (std::size_t j = 0; j < xs.size(); ++j) {
        const auto c = closed_form(powers_of(name), alpha, xs[j] - atom.x, row[0] - atom.y,
                                   row[1] - atom.z);
        const double scale = 1e-13 * (1 + std::fabs(c.lap));
        EXPECT_NEAR(ev.psi(0)[j], c.v, scale);
        EXPECT_NEAR(values_only.psi(0)[j], c.v, scale);
        EXPECT_NEAR(ev.gx(0)[j], c.dx, scale);
        EXPECT_NEAR(ev.gy(0)[j], c.dy, scale);
        EXPECT_NEAR(ev.gz(0)[j], c.dz, scale);
        EXPECT_NEAR(ev.d2(0)[j], c.lap, scale);
      }
    }
  }
}

// Laplacian of the angular polynomial sum_t c_t X^l Y^m Z^n of the given types, relative to the
// largest coefficient: 0 for a solid harmonic.
double relative_polynomial_laplacian(const WfnRecord& rec, int orbital, int first, int last) {
  double terms[8][8][8] = {};
  double largest = 0;
  for (std::int32_t i = 0; i < rec.primitive_count; ++i) {
    if (rec.type[i] < first || rec.type[i] > last) continue;
    const double c = rec.coefficient(i, orbital);
    largest = std::max(largest, std::fabs(c));
    const auto& p = kTypePowers[static_cast<std::size_t>(rec.type[i] - 1)];
    for (int axis = 0; axis < 3; ++axis) {
      std::array<int, 3> q = p;
      const int n = q[static_cast<std::size_t>(axis)];
      if (n < 2) continue;
      q[static_cast<std::size_t>(axis)] -= 2;
      terms[q[0]][q[1]][q[2]] += n * (n - 1) * c;
    }
  }
  if (largest < 1e-6) return -1;  // no such functions in this orbital
  double worst = 0;
  for (auto& plane : terms)
    for (auto& line : plane)
      for (double t : line) worst = std::max(worst, std::fabs(t));
  return worst / largest;
}

TEST(HighTypes, HeliumVirtualsAreSolidHarmonicsInTheFileOrder) {
  const std::filesystem::path file =
      std::filesystem::path(QV_SAMPLES) / "wfn" / "he_spdfgh_virtual.wfn";
  if (!std::filesystem::exists(file)) GTEST_SKIP() << "no sample folder";
  auto screen = TextOutput::memory("screen");
  RunOutput out(*screen);
  out.set_log(TextOutput::memory("log"));
  const WfnRecord rec = read_wfn_file(file.string(), out);
  // A Cartesian g set spans the 9 g harmonics plus r^2 d and r^4 s; an h set the 11 h
  // harmonics plus r^2 f and r^4 p: exactly 9 and 11 of the virtuals are pure g and pure h.
  int pure_g = 0, pure_h = 0;
  for (int k = 0; k < rec.orbital_count; ++k) {
    const double g = relative_polynomial_laplacian(rec, k, 21, 35);
    const double h = relative_polynomial_laplacian(rec, k, 36, 56);
    if (g >= 0 && g < 1e-6) ++pure_g;
    if (h >= 0 && h < 1e-6) ++pure_h;
  }
  EXPECT_EQ(pure_g, 9);
  EXPECT_EQ(pure_h, 11);
}

}  // namespace
}  // namespace qv
