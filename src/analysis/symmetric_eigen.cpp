#include "analysis/symmetric_eigen.hpp"

#include <cmath>
#include <utility>

namespace qv {

namespace {

constexpr double kZeroSquare = 1.0E-18;

// sqrt(x^2 + z^2) without needless overflow; the plain form is used whenever it is safe.
double norm2(double x, double z) {
  const double r = std::sqrt(x * x + z * z);
  return (r > 1.0e-150 && r < 1.0e150) ? r : std::hypot(x, z);
}

// Reduces a to tridiagonal form (diagonal into d, off-diagonal into e). The Householder vector
// of column k is kept in row k, columns k+1.., of a (all zero when the reflection is skipped).
void householder_reduce(int n, int ld, double* a, double* d, double* e) {
  auto at = [&](int r, int c) -> double& { return a[r * ld + c]; };
  for (int k = 0; k + 2 < n; ++k) {
    double below = 0.0;  // sum of squares below the subdiagonal element
    for (int r = k + 2; r < n; ++r) below += at(r, k) * at(r, k);
    const double x0 = at(k + 1, k);
    if (!(below > 0.0)) {
      e[k] = x0;
      for (int c = k + 1; c < n; ++c) at(k, c) = 0.0;
      continue;
    }
    const double alpha = -std::copysign(std::sqrt(x0 * x0 + below), x0);
    // v = x - alpha e1, kept in row k; the trailing block is B - v w^T - w v^T.
    at(k, k + 1) = x0 - alpha;
    for (int r = k + 2; r < n; ++r) at(k, r) = at(r, k);
    const double vtv = (x0 - alpha) * (x0 - alpha) + below;
    const double beta = 2.0 / vtv;
    double pv = 0.0;
    for (int r = k + 1; r < n; ++r) {
      double p = 0.0;
      for (int c = k + 1; c < n; ++c) p += at(r, c) * at(k, c);
      e[r] = beta * p;  // p_r, held in e above k until the block is updated
      pv += at(k, r) * e[r];
    }
    const double half = 0.5 * beta * pv;
    for (int r = k + 1; r < n; ++r) e[r] -= half * at(k, r);  // w = p - half v
    for (int r = k + 1; r < n; ++r)
      for (int c = k + 1; c < n; ++c) at(r, c) -= at(k, r) * e[c] + e[r] * at(k, c);
    e[k] = alpha;
  }
  for (int i = 0; i < n; ++i) d[i] = at(i, i);
  if (n >= 2) e[n - 2] = at(n - 1, n - 2);
}

// One QR step on the active block 0..m of the tridiagonal matrix, whose shift has already been
// taken off the diagonal: plane rotations from the top down to row m, chasing the bulge.
void qr_sweep(int n, int ld, int m, double* d, double* e, double* v) {
  double x = d[0];
  double z = e[0];
  for (int k = 0; k < m; ++k) {
    const double r = norm2(x, z);
    const double c = r == 0.0 ? 1.0 : x / r;
    const double s = r == 0.0 ? 0.0 : z / r;
    if (k > 0) e[k - 1] = r;
    const double dk = d[k], dk1 = d[k + 1], ek = e[k];
    d[k] = (c * c * dk + 2.0 * c * s * ek) + s * s * dk1;
    d[k + 1] = (s * s * dk - 2.0 * c * s * ek) + c * c * dk1;
    e[k] = c * s * (dk1 - dk) + (c * c - s * s) * ek;
    if (k + 1 < m) {
      z = s * e[k + 1];
      e[k + 1] = c * e[k + 1];
      x = e[k];
    }
    if (v) {
      for (int row = 0; row < n; ++row) {
        double& vk = v[row * ld + k];
        double& vk1 = v[row * ld + k + 1];
        const double old_k = vk;
        vk = c * old_k + s * vk1;
        vk1 = -s * old_k + c * vk1;
      }
    }
  }
}

// Eigenvalue of [a b; b c] closer to c; on a tie the one formed with the minus sign.
double wilkinson_shift(double a, double b, double c) {
  const double mean = 0.5 * (a + c);
  const double root = norm2(0.5 * (a - c), b);
  const double low = mean - root;
  const double high = mean + root;
  return std::fabs(high - c) < std::fabs(low - c) ? high : low;
}

}  // namespace

void symmetric_eigen(int n, int ld, double* a, double* v, double* d, double* work) {
  if (n <= 0) return;
  double* e = work;
  householder_reduce(n, ld, a, d, e);
  if (v) {
    for (int r = 0; r < n; ++r)
      for (int c = 0; c < n; ++c) v[r * ld + c] = r == c ? 1.0 : 0.0;
  }

  double shift = 0.0;
  for (int m = n - 1; m >= 1; --m) {
    for (int iteration = 0;
         e[m - 1] * e[m - 1] > kZeroSquare && iteration < kEigenIterationCap; ++iteration) {
      const double mu = wilkinson_shift(d[m - 1], e[m - 1], d[m]);
      shift += mu;
      for (int i = 0; i <= m; ++i) d[i] -= mu;
      qr_sweep(n, ld, m, d, e, v);
    }
    d[m] += shift;
  }
  d[0] += shift;

  // Stable ascending sort by adjacent exchanges, carrying the vector columns along.
  for (bool exchanged = true; exchanged;) {
    exchanged = false;
    for (int j = 0; j + 1 < n; ++j) {
      if (d[j] - d[j + 1] > 0.0) {
        std::swap(d[j], d[j + 1]);
        if (v)
          for (int row = 0; row < n; ++row) std::swap(v[row * ld + j], v[row * ld + j + 1]);
        exchanged = true;
      }
    }
  }

  if (!v) return;
  // Back to the vectors of the matrix as passed in: apply H_0 ... H_{n-3} from the last one.
  for (int k = n - 3; k >= 0; --k) {
    double vtv = 0.0;
    for (int r = k + 1; r < n; ++r) vtv += a[k * ld + r] * a[k * ld + r];
    if (!(vtv > 0.0)) continue;
    const double beta = 2.0 / vtv;
    for (int col = 0; col < n; ++col) {
      double dot = 0.0;
      for (int r = k + 1; r < n; ++r) dot += a[k * ld + r] * v[r * ld + col];
      const double f = beta * dot;
      for (int r = k + 1; r < n; ++r) v[r * ld + col] -= f * a[k * ld + r];
    }
  }
}

// The same operations as symmetric_eigen() for n = 3 without vectors, on values held in registers:
// the grid sweep calls it once per point. Every expression mirrors the general code term by term so
// that both give identical eigenvalues.
std::array<double, 3> eigenvalues3(const Matrix3& m) {
  double d0 = m[0][0], d1 = m[1][1], d2 = m[2][2];
  double e0, e1;
  {
    const double below = 0.0 + m[2][0] * m[2][0];
    const double x0 = m[1][0];
    if (!(below > 0.0)) {
      e0 = x0;
      e1 = m[2][1];
    } else {
      const double alpha = -std::copysign(std::sqrt(x0 * x0 + below), x0);
      const double v1 = x0 - alpha, v2 = m[2][0];
      const double vtv = (x0 - alpha) * (x0 - alpha) + below;
      const double beta = 2.0 / vtv;
      double w1 = beta * ((0.0 + m[1][1] * v1) + m[1][2] * v2);
      double w2 = beta * ((0.0 + m[2][1] * v1) + m[2][2] * v2);
      const double pv = (0.0 + v1 * w1) + v2 * w2;
      const double half = 0.5 * beta * pv;
      w1 -= half * v1;
      w2 -= half * v2;
      d1 = m[1][1] - (v1 * w1 + w1 * v1);
      e1 = m[2][1] - (v2 * w1 + w2 * v1);
      d2 = m[2][2] - (v2 * w2 + w2 * v2);
      e0 = alpha;
    }
  }
  // One plane rotation of the sweep on rows k, k+1 (diagonal dk, dk1, off-diagonal ek).
  auto rotate = [](double x, double z, double& dk, double& dk1, double& ek, double& c,
                   double& s) {
    const double r = norm2(x, z);
    c = r == 0.0 ? 1.0 : x / r;
    s = r == 0.0 ? 0.0 : z / r;
    const double a = dk, b = dk1, e = ek;
    dk = (c * c * a + 2.0 * c * s * e) + s * s * b;
    dk1 = (s * s * a - 2.0 * c * s * e) + c * c * b;
    ek = c * s * (b - a) + (c * c - s * s) * e;
    return r;
  };
  double shift = 0.0;
  for (int iteration = 0; e1 * e1 > kZeroSquare && iteration < kEigenIterationCap; ++iteration) {
    const double mu = wilkinson_shift(d1, e1, d2);
    shift += mu;
    d0 -= mu;
    d1 -= mu;
    d2 -= mu;
    double c, s;
    rotate(d0, e0, d0, d1, e0, c, s);
    const double z = s * e1;
    e1 = c * e1;
    e0 = rotate(e0, z, d1, d2, e1, c, s);
  }
  d2 += shift;
  for (int iteration = 0; e0 * e0 > kZeroSquare && iteration < kEigenIterationCap; ++iteration) {
    const double mu = wilkinson_shift(d0, e0, d1);
    shift += mu;
    d0 -= mu;
    d1 -= mu;
    double c, s;
    rotate(d0, e0, d0, d1, e0, c, s);
  }
  d1 += shift;
  d0 += shift;
  // Stable sort of three values by adjacent exchanges.
  std::array<double, 3> d = {d0, d1, d2};
  for (bool exchanged = true; exchanged;) {
    exchanged = false;
    for (int j = 0; j < 2; ++j) {
      if (d[j] - d[j + 1] > 0.0) {
        std::swap(d[j], d[j + 1]);
        exchanged = true;
      }
    }
  }
  return d;
}

}  // namespace qv
