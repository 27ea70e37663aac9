// The RDG job on density cubes written by other programs: Gaussian cubegen cubes of 5, 6 and 7
// points per row and a critic2 cube with wide fields. The expected figures at a few points are
// worked out here from the file's own numbers (read token by token). Skipped when the folder of
// real files is absent.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/rdg_job_support.hpp"

namespace qv::e2e {
namespace {

using testing::read_file;
using testing::TempDir;

// A number as written, also without the "E" of a three-digit exponent ("1.00000-120").
double number(std::string t) {
  const std::size_t sign = t.find_first_of("+-", 1);
  if (sign != std::string::npos && t.find_first_of("EeDd") == std::string::npos)
    t.insert(sign, "E");
  return std::strtod(t.c_str(), nullptr);
}

// A cube file read by whitespace-separated tokens: counts, axes and values (third index
// fastest in the file, stored here with the first index fastest).
struct TokenCube {
  int n[3] = {};
  float axes[3][3] = {};
  std::vector<double> v;
  std::size_t at(int i, int j, int k) const {
    return static_cast<std::size_t>(i) + static_cast<std::size_t>(n[0]) * (j + n[1] * k);
  }
  float h(int a) const {
    return std::sqrt((axes[a][0] * axes[a][0] + axes[a][1] * axes[a][1]) + axes[a][2] * axes[a][2]);
  }
};

TokenCube token_cube(const std::string& path) {
  std::ifstream f(path);
  std::string line;
  std::getline(f, line);
  std::getline(f, line);
  TokenCube c;
  int natoms = 0;
  std::string t;
  f >> natoms >> t >> t >> t;
  for (int a = 0; a < 3; ++a) {
    f >> c.n[a];
    for (int q = 0; q < 3; ++q) f >> t, c.axes[a][q] = static_cast<float>(number(t));
  }
  for (int a = 0; a < std::abs(natoms) * 5; ++a) f >> t;
  c.v.assign(static_cast<std::size_t>(c.n[0]) * c.n[1] * c.n[2], 0.0);
  for (int i = 0; i < c.n[0]; ++i)
    for (int j = 0; j < c.n[1]; ++j)
      for (int k = 0; k < c.n[2]; ++k) f >> t, c.v[c.at(i, j, k)] = number(t);
  return c;
}

// Eigenvalues of a symmetric 3 x 3 matrix from its characteristic polynomial, ascending.
std::array<double, 3> eigenvalues(const double m[3][3]) {
  const double q = (m[0][0] + m[1][1] + m[2][2]) / 3.0;
  const double p1 = m[0][1] * m[0][1] + m[0][2] * m[0][2] + m[1][2] * m[1][2];
  const double p2 = (m[0][0] - q) * (m[0][0] - q) + (m[1][1] - q) * (m[1][1] - q) +
                    (m[2][2] - q) * (m[2][2] - q) + 2.0 * p1;
  const double p = std::sqrt(p2 / 6.0);
  if (p == 0.0) return {q, q, q};
  double b[3][3];
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) b[r][c] = (m[r][c] - (r == c ? q : 0.0)) / p;
  const double det = b[0][0] * (b[1][1] * b[2][2] - b[1][2] * b[2][1]) -
                     b[0][1] * (b[1][0] * b[2][2] - b[1][2] * b[2][0]) +
                     b[0][2] * (b[1][0] * b[2][1] - b[1][1] * b[2][0]);
  const double phi = std::acos(std::clamp(det / 2.0, -1.0, 1.0)) / 3.0;
  const double big = q + 2.0 * p * std::cos(phi);
  const double small = q + 2.0 * p * std::cos(phi + 2.0 * M_PI / 3.0);
  return {small, 3.0 * q - big - small, big};
}

struct PointFigures {
  double grad, lapl, lambda2;
};

PointFigures figures_at(const TokenCube& c, int i, int j, int k) {
  const std::ptrdiff_t s[3] = {1, c.n[0], static_cast<std::ptrdiff_t>(c.n[0]) * c.n[1]};
  const double* p = c.v.data() + c.at(i, j, k);
  double hess[3][3], g2 = 0.0;
  for (int a = 0; a < 3; ++a) {
    const double d = first_diff(p, s[a], c.h(a));
    g2 += d * d;
    hess[a][a] = second_diff(p, s[a], c.h(a));
  }
  for (int a = 0; a < 3; ++a)
    for (int b = a + 1; b < 3; ++b) {
      auto d_a = [&](int m) { return first_diff(p + m * s[b], s[a], c.h(a)); };
      auto d_b = [&](int m) { return first_diff(p + m * s[a], s[b], c.h(b)); };
      const double ab = (((8.0 * d_a(1) - d_a(2)) - 8.0 * d_a(-1)) + d_a(-2)) /
                        static_cast<double>(12.0f * c.h(b));
      const double ba = (((8.0 * d_b(1) - d_b(2)) - 8.0 * d_b(-1)) + d_b(-2)) /
                        static_cast<double>(12.0f * c.h(a));
      hess[a][b] = hess[b][a] = 0.5 * (ab + ba);
    }
  return {std::sqrt(g2), hess[0][0] + hess[1][1] + hess[2][2], eigenvalues(hess)[1]};
}

std::size_t rows_of(const std::string& table) {
  return static_cast<std::size_t>(std::count(table.begin(), table.end(), '\n')) - 1;
}

TEST(RdgJobSamples, RealDensityCubes) {
  const std::string folder = std::string(QV_SAMPLES) + "/cube/";
  if (!std::filesystem::exists(folder)) GTEST_SKIP() << "no sample folder";
  const char* files[] = {"cubegen_h2o_5points.cube", "cubegen_ch4_6points.cube",
                         "cubegen_nh3_7points.cube", "013_cube_simple_01.cube"};
  for (const char* file : files) {
    SCOPED_TRACE(file);
    TempDir dir;
    std::filesystem::copy_file(folder + file, "density.cube");
    const TokenCube in = token_cube("density.cube");
    ASSERT_EQ(run_job_binary(Choices{}), 0) << read_file("run.log");
    const TokenCube grad = token_cube("grad_numerical.cube"), lapl = token_cube("lapl_numerical.cube");
    const TokenCube rdg = token_cube("job_rdg.cube"), rhosign = token_cube("job_rhosign.cube");
    const TokenCube gabr = token_cube("job_energy_Gabr.cube");
    ASSERT_EQ(rdg.v.size(), in.v.size());
    // Every interior point, checked against the figures its neighbours imply (the files hold
    // six significant digits).
    std::size_t interior = 0, positive = 0;
    long below_one = 0, near_one = 0;
    for (int k = 2; k <= in.n[2] - 3; ++k)
      for (int j = 2; j <= in.n[1] - 3; ++j)
        for (int i = 2; i <= in.n[0] - 3; ++i) {
          ++interior;
          const std::size_t p = in.at(i, j, k);
          const double rho = in.v[p];
          const PointFigures f = figures_at(in, i, j, k);
          EXPECT_NEAR(grad.v[p], f.grad, 1e-5 * f.grad) << i << " " << j << " " << k;
          EXPECT_NEAR(lapl.v[p], f.lapl, 1e-5 * std::fabs(f.lapl));
          if (!(rho > 0.0)) {
            EXPECT_EQ(rdg.v[p], kNotComputed);
            continue;
          }
          ++positive;
          const double s = rdg_of(rho, f.grad);
          EXPECT_NEAR(rdg.v[p], s, 1e-5 * s);
          below_one += s < 0.99999;
          near_one += std::fabs(s - 1.0) < 1e-5;
          if (std::fabs(f.lambda2) > 1e-6 * std::fabs(f.lapl)) {
            EXPECT_NEAR(rhosign.v[p], f.lambda2 < 0.0 ? -rho : rho, 1e-5 * rho);
          }
          const double g = abramov_of(rho, f.grad, f.lapl).g;
          const double scale = std::fabs(f.lapl) / 6.0 + (g - f.lapl / 6.0);
          EXPECT_NEAR(gabr.v[p], g, 1e-5 * scale);
        }
    // Both tables hold one row per interior point of positive density; the rim is never there.
    EXPECT_EQ(rows_of(read_file("job_plot_rho.2D")), positive);
    EXPECT_EQ(rows_of(read_file("job_plot_rhosign.2D")), positive);
    // The last statistics row counts the interior points with RDG below 1.0.
    const std::string log = read_file("run.log");
    const std::size_t last = log.find("       1.0     |");
    ASSERT_NE(last, std::string::npos);
    if (near_one == 0) {
      EXPECT_EQ(std::stol(log.substr(last + 16, 15)), below_one);
    }
    EXPECT_EQ(positive, interior);  // real densities are positive
    EXPECT_GT(below_one, 0);
  }
}

}  // namespace
}  // namespace qv::e2e
