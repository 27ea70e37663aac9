#pragma once
// An analytic density for the end-to-end tests of the RDG job, and what the job must make of
// it, worked out here from the defining formulas (never through the tool's own functions).
//
// The density is a separable polynomial of degree three in the grid offsets,
//   rho(i, j, k) = (6000 + A(i) + B(j) + C(k)) / 1e5,
// so every value has at most six significant digits: the cube file holds it exactly and reading
// it back gives the nearest double, the value used here. The five-point stencils are exact for
// such a polynomial, so the finite differences below also equal the analytic derivatives (the
// model checks itself against them). The Hessian is diagonal (mixed terms vanish), so lambda2 is
// the middle one of the three second derivatives.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace qv::e2e {

constexpr double kNotComputed = 1.0E10;
constexpr double kBohr3 = 0.14818464289233146;  // grd density unit, (bohr in angstrom)^3
constexpr double kBohr4 = 0.07841592392746348;
constexpr double kBohr5 = 0.04149591351288367;

struct Atom {
  int number;
  float charge, x, y, z;
};

struct Model {
  int n1 = 9, n2 = 7, n3 = 8;
  std::array<float, 3> origin = {-0.8f, -0.75f, -0.9f};
  std::array<float, 3> step = {0.2f, 0.25f, 0.3f};  // axes along x, y, z
  std::vector<Atom> atoms = {{8, 8.0f, 0.0f, 0.0f, 0.0f}, {1, 1.0f, 0.4f, 0.5f, 0.3f}};
  int offset = 6000;

  std::size_t size() const { return static_cast<std::size_t>(n1) * n2 * n3; }
  std::size_t at(int i, int j, int k) const {
    return static_cast<std::size_t>(i) + static_cast<std::size_t>(n1) * (j + n2 * k);
  }
  bool interior(int i, int j, int k) const {
    return i >= 2 && i <= n1 - 3 && j >= 2 && j <= n2 - 3 && k >= 2 && k <= n3 - 3;
  }
  // The integer numerator of the density (a value of at most six digits).
  long numerator(int i, int j, int k) const {
    const long u = i - 4, v = j - 3, w = k - 3;
    return offset + (300 * u * u - 60 * u * u * u + 400 * u) + (-250 * v * v + 700 * v) +
           (150 * w * w + 40 * w * w * w - 500 * w);
  }
  std::vector<double> density() const {
    std::vector<double> rho(size());
    for (int k = 0; k < n3; ++k)
      for (int j = 0; j < n2; ++j)
        for (int i = 0; i < n1; ++i) rho[at(i, j, k)] = numerator(i, j, k) / 1e5;
    return rho;
  }
  double h(int axis) const { return static_cast<double>(step[axis]); }
  std::array<std::ptrdiff_t, 3> strides() const {
    return {1, n1, static_cast<std::ptrdiff_t>(n1) * n2};
  }
};

// Five-point first difference along a stride: (8 f(+1) - f(+2) - 8 f(-1) + f(-2)) / (12 h),
// the denominator formed in single precision.
inline double first_diff(const double* p, std::ptrdiff_t s, float h) {
  return (((8.0 * p[s] - p[2 * s]) - 8.0 * p[-s]) + p[-2 * s]) / static_cast<double>(12.0f * h);
}
// (16 f(+1) - f(+2) - 30 f(0) + 16 f(-1) - f(-2)) / (12 h^2), the denominator as (h*h)*12 in
// single precision.
inline double second_diff(const double* p, std::ptrdiff_t s, float h) {
  return ((((16.0 * p[s] - p[2 * s]) - 30.0 * p[0]) + 16.0 * p[-s]) - p[-2 * s]) /
         static_cast<double>((h * h) * 12.0f);
}

// The grids the job derives, over the whole grid (rim 0.0).
struct Derived {
  std::vector<double> rho, grad, lapl, lambda2;
};

inline Derived derive(const Model& m, const std::vector<double>& rho) {
  Derived d;
  d.rho = rho;
  d.grad.assign(m.size(), 0.0);
  d.lapl.assign(m.size(), 0.0);
  d.lambda2.assign(m.size(), 0.0);
  const auto s = m.strides();
  for (int k = 0; k < m.n3; ++k)
    for (int j = 0; j < m.n2; ++j)
      for (int i = 0; i < m.n1; ++i) {
        if (!m.interior(i, j, k)) continue;
        const double* p = rho.data() + m.at(i, j, k);
        double g2 = 0.0, lap = 0.0;
        std::array<double, 3> second{};
        for (int a = 0; a < 3; ++a) {
          const double g = first_diff(p, s[a], m.step[a]);
          g2 += g * g;
          second[a] = second_diff(p, s[a], m.step[a]);
          lap += second[a];
        }
        d.grad[m.at(i, j, k)] = std::sqrt(g2);
        d.lapl[m.at(i, j, k)] = lap;
        std::sort(second.begin(), second.end());
        d.lambda2[m.at(i, j, k)] = second[1];
      }
  return d;
}

inline double rdg_of(double rho, double grad) {
  return 0.1616204512359269 * std::fabs(grad) / std::pow(rho, 1.3333333730697632);
}

struct Abramov {
  double g, v, h;
};
inline Abramov abramov_of(double rho, double grad, double lapl) {
  const double t = 2.8712344140902517 * std::pow(rho, 1.6666666269302368) +
                   ((grad * grad) / rho) * 0.013888888992369175;
  const double g = 0.1666666716337204 * lapl + t;
  const double v = 0.25 * lapl - (g + g);
  return {g, v, g + v};
}

// Position of a grid point in single precision (axes along x, y, z).
inline std::array<float, 3> position(const Model& m, int i, int j, int k) {
  return {m.origin[0] + static_cast<float>(i) * m.step[0],
          m.origin[1] + static_cast<float>(j) * m.step[1],
          m.origin[2] + static_cast<float>(k) * m.step[2]};
}

// ---- Independent renderings of the fixed fields (C library formatting) ----

// ESw.d for exponents below 100 in magnitude: exactly printf's %w.dE.
inline std::string es(double v, int w, int d) {
  char b[64];
  std::snprintf(b, sizeof b, "%*.*E", w, d, v);
  std::string s = b;
  return s.size() > static_cast<std::size_t>(w) ? std::string(w, '*') : s;
}

// Ew.d: "0." and d significant digits, exponent one higher than the ES form's.
inline std::string e_form(double v, int w, int d) {
  if (v == 0.0) {
    std::string s = "0." + std::string(d, '0') + "E+00";
    return std::string(w - s.size(), ' ') + s;
  }
  char b[64];
  std::snprintf(b, sizeof b, "%.*E", d - 1, std::fabs(v));  // d.ddddE+xx
  std::string t = b;
  const std::size_t e = t.find('E');
  std::string digits = t.substr(0, 1) + t.substr(2, e - 2);
  const int exponent = std::stoi(t.substr(e + 1)) + 1;
  char x[16];
  std::snprintf(x, sizeof x, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
  std::string s = std::string(v < 0 ? "-" : "") + "0." + digits + x;
  return std::string(w - s.size(), ' ') + s;
}

inline std::string fixed(double v, int w, int d) {
  char b[64];
  std::snprintf(b, sizeof b, "%*.*f", w, d, v);
  return b;
}

inline std::string int_field(long v, int w) {
  char b[32];
  std::snprintf(b, sizeof b, "%*ld", w, v);
  return b;
}

// A whole cube file in the tool's layout: two blank titles, header, atoms, values with the third
// index fastest, six to a line.
inline std::string cube_text(const Model& m, const std::vector<double>& values) {
  std::string t = std::string(60, ' ') + "\n" + std::string(60, ' ') + "\n";
  t += int_field(static_cast<long>(m.atoms.size()), 5) + fixed(m.origin[0], 12, 6) +
       fixed(m.origin[1], 12, 6) + fixed(m.origin[2], 12, 6) + "\n";
  const int counts[3] = {m.n1, m.n2, m.n3};
  for (int a = 0; a < 3; ++a) {
    t += int_field(counts[a], 5);
    for (int c = 0; c < 3; ++c) t += fixed(c == a ? m.step[a] : 0.0f, 12, 6);
    t += "\n";
  }
  for (const Atom& at : m.atoms)
    t += int_field(at.number, 5) + fixed(at.charge, 12, 6) + fixed(at.x, 12, 6) +
         fixed(at.y, 12, 6) + fixed(at.z, 12, 6) + "\n";
  for (int i = 0; i < m.n1; ++i)
    for (int j = 0; j < m.n2; ++j)
      for (int k = 0; k < m.n3; ++k)
        t += es(values[m.at(i, j, k)], 13, 5) + ((k % 6 == 5 || k == m.n3 - 1) ? "\n" : "");
  return t;
}

// The values of a grd file: first index fastest, six E18.10 fields to a line.
inline std::string grd_values(const Model& m, const std::vector<double>& values) {
  std::string t;
  for (int k = 0; k < m.n3; ++k)
    for (int j = 0; j < m.n2; ++j)
      for (int i = 0; i < m.n1; ++i)
        t += e_form(values[m.at(i, j, k)], 18, 10) + ((i % 6 == 5 || i == m.n1 - 1) ? "\n" : "");
  return t;
}

// The 2D table rows for every interior point whose RDG was computed.
inline std::string table_text(const Model& m, const char* heading, const std::vector<double>& x,
                              const std::vector<double>& rdg) {
  std::string t = std::string("  ") + heading + "    " + "       RDG       " + "\n";
  for (int k = 2; k <= m.n3 - 3; ++k)
    for (int j = 2; j <= m.n2 - 3; ++j)
      for (int i = 2; i <= m.n1 - 3; ++i) {
        const std::size_t p = m.at(i, j, k);
        if (rdg[p] == kNotComputed) continue;
        t += "     " + e_form(x[p], 11, 3) + std::string(10, ' ') + e_form(rdg[p], 11, 3) + "\n";
      }
  return t;
}

}  // namespace qv::e2e
