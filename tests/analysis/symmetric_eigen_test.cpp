// Symmetric eigenproblem: eigenvalues against the roots of the characteristic polynomial (closed
// trigonometric form for 3 x 3), eigenvectors against A v = d v, order and stability of the sort.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "analysis/symmetric_eigen.hpp"

namespace qv {
namespace {

// Roots of det(A - x I) for a symmetric 3 x 3 matrix, ascending, by the trigonometric formula.
std::array<double, 3> characteristic_roots(const Matrix3& a) {
  const double p1 = a[0][1] * a[0][1] + a[0][2] * a[0][2] + a[1][2] * a[1][2];
  const double q = (a[0][0] + a[1][1] + a[2][2]) / 3.0;
  const double p2 = (a[0][0] - q) * (a[0][0] - q) + (a[1][1] - q) * (a[1][1] - q) +
                    (a[2][2] - q) * (a[2][2] - q) + 2.0 * p1;
  const double p = std::sqrt(p2 / 6.0);
  if (p == 0.0) return {q, q, q};
  Matrix3 b{};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) b[r][c] = (a[r][c] - (r == c ? q : 0.0)) / p;
  const double det = b[0][0] * (b[1][1] * b[2][2] - b[1][2] * b[2][1]) -
                     b[0][1] * (b[1][0] * b[2][2] - b[1][2] * b[2][0]) +
                     b[0][2] * (b[1][0] * b[2][1] - b[1][1] * b[2][0]);
  const double r = std::clamp(det / 2.0, -1.0, 1.0);
  const double phi = std::acos(r) / 3.0;
  const double pi = std::acos(-1.0);
  std::array<double, 3> x = {q + 2 * p * std::cos(phi), q + 2 * p * std::cos(phi + 2 * pi / 3),
                             0};
  x[2] = 3 * q - x[0] - x[1];
  std::sort(x.begin(), x.end());
  return x;
}

struct Decomposition {
  std::vector<double> d, v;
};

Decomposition decompose(int n, const std::vector<double>& a) {
  std::vector<double> work_a = a, work(n);
  Decomposition out{std::vector<double>(n), std::vector<double>(n * n)};
  symmetric_eigen(n, n, work_a.data(), out.v.data(), out.d.data(), work.data());
  return out;
}

// A v = d v for every column, V orthonormal, d ascending.
void expect_eigenpairs(int n, const std::vector<double>& a, const Decomposition& e, double tol) {
  for (int m = 0; m + 1 < n; ++m) EXPECT_LE(e.d[m], e.d[m + 1]);
  for (int m = 0; m < n; ++m) {
    for (int r = 0; r < n; ++r) {
      double av = 0.0;
      for (int c = 0; c < n; ++c) av += a[r * n + c] * e.v[c * n + m];
      EXPECT_NEAR(av, e.d[m] * e.v[r * n + m], tol) << "column " << m << " row " << r;
    }
    for (int m2 = 0; m2 < n; ++m2) {
      double dot = 0.0;
      for (int r = 0; r < n; ++r) dot += e.v[r * n + m] * e.v[r * n + m2];
      EXPECT_NEAR(dot, m == m2 ? 1.0 : 0.0, 1e-12);
    }
  }
}

std::vector<double> flat(const Matrix3& m) {
  return {m[0][0], m[0][1], m[0][2], m[1][0], m[1][1], m[1][2], m[2][0], m[2][1], m[2][2]};
}

TEST(SymmetricEigen, DiagonalMatricesAreSortedWithPermutedIdentity) {
  struct Case {
    std::array<double, 3> diag;
    std::array<int, 3> order;  // column m of V is unit vector order[m]
  } cases[] = {{{3, 1, 2}, {1, 2, 0}}, {{1, 2, 3}, {0, 1, 2}}, {{-1, -5, 4}, {1, 0, 2}},
               {{2, 2, 1}, {2, 0, 1}}};
  for (const Case& c : cases) {
    Matrix3 a{};
    for (int i = 0; i < 3; ++i) a[i][i] = c.diag[i];
    const Decomposition e = decompose(3, flat(a));
    for (int m = 0; m < 3; ++m) {
      EXPECT_EQ(e.d[m], c.diag[c.order[m]]);
      for (int r = 0; r < 3; ++r) EXPECT_EQ(e.v[r * 3 + m], r == c.order[m] ? 1.0 : 0.0);
    }
  }
  EXPECT_EQ(eigenvalues3(Matrix3{{{3, 0, 0}, {0, 1, 0}, {0, 0, 2}}})[1], 2.0);
}

TEST(SymmetricEigen, MatricesAgainstCharacteristicRoots) {
  std::vector<Matrix3> cases = {
      // permuted diagonal: P diag(4, -2, 1) P^T with rows and columns swapped
      {{{1, 0, 0}, {0, 4, 0}, {0, 0, -2}}},
      {{{2, 1, 0}, {1, 2, 0}, {0, 0, 5}}},               // permuted blocks
      {{{2, 1, 1}, {1, 2, 1}, {1, 1, 2}}},               // degenerate: 1, 1, 4
      {{{0, 1, 1}, {1, 0, 1}, {1, 1, 0}}},               // degenerate: -1, -1, 2
      {{{1e-6, 3e-7, 0}, {3e-7, -2e-6, 1e-7}, {0, 1e-7, 5e-7}}},  // small scale
      {{{4e3, -1e3, 2e2}, {-1e3, 1e3, 3e2}, {2e2, 3e2, -7e3}}},   // large scale
      {{{5, 0, 1e-12}, {0, 5, 0}, {1e-12, 0, 5}}},       // nearly triple
  };
  std::mt19937 gen(12345);
  std::uniform_real_distribution<double> u(-3.0, 3.0);
  for (int n = 0; n < 200; ++n) {
    Matrix3 m{};
    for (int r = 0; r < 3; ++r)
      for (int c = r; c < 3; ++c) m[r][c] = m[c][r] = u(gen);
    cases.push_back(m);
  }
  for (const Matrix3& a : cases) {
    const auto expected = characteristic_roots(a);
    const Decomposition e = decompose(3, flat(a));
    double scale = 0;
    for (const auto& row : a)
      for (double x : row) scale = std::max(scale, std::fabs(x));
    // An off-diagonal element counts as zero once |e| <= 1.0E-9, whatever the matrix scale.
    for (int m = 0; m < 3; ++m) EXPECT_NEAR(e.d[m], expected[m], 1e-7 * scale + 1e-11);
    expect_eigenpairs(3, flat(a), e, 1e-9 * scale + 2e-9);
    const auto values = eigenvalues3(a);
    for (int m = 0; m < 3; ++m) EXPECT_EQ(values[m], e.d[m]);
  }
}

TEST(SymmetricEigen, LargerOrdersSatisfyTheEigenEquation) {
  std::mt19937 gen(777);
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  for (int n : {1, 2, 4, 6}) {
    std::vector<double> a(n * n);
    for (int r = 0; r < n; ++r)
      for (int c = r; c < n; ++c) a[r * n + c] = a[c * n + r] = u(gen);
    const Decomposition e = decompose(n, a);
    expect_eigenpairs(n, a, e, 1e-10);
    double trace = 0, sum = 0;
    for (int i = 0; i < n; ++i) trace += a[i * n + i], sum += e.d[i];
    EXPECT_NEAR(trace, sum, 1e-12);
  }
}

TEST(SymmetricEigen, OrderZeroReturnsAtOnce) {
  double a = 7, v = 7, d = 7, w = 7;
  symmetric_eigen(0, 1, &a, &v, &d, &w);
  EXPECT_EQ(d, 7);
  EXPECT_EQ(v, 7);
}

TEST(SymmetricEigen, HugeAndNonFiniteEntriesEnd) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Matrix3 cases[] = {
      {{{1e200, 3e199, 1e199}, {3e199, -2e200, 5e199}, {1e199, 5e199, 7e199}}},
      {{{1e12, 3e11, 1e11}, {3e11, -2e12, 5e11}, {1e11, 5e11, 7e11}}},
      {{{1, inf, 0}, {inf, 1, 0}, {0, 0, 1}}},
      {{{nan, 1, 0}, {1, 1, 1}, {0, 1, 1}}},
      {{{1, 1, nan}, {1, 1, 1}, {nan, 1, 1}}},
  };
  for (const Matrix3& a : cases) {
    const Decomposition e = decompose(3, flat(a));  // must return
    EXPECT_EQ(e.d.size(), 3u);
  }
  // Finite huge matrices still give their eigenvalues (to their relative accuracy).
  const Matrix3 big = cases[1];
  const auto expected = characteristic_roots(big);
  const Decomposition e = decompose(3, flat(big));
  for (int m = 0; m < 3; ++m) EXPECT_NEAR(e.d[m], expected[m], 1e-9 * 2e12);
}

}  // namespace
}  // namespace qv
