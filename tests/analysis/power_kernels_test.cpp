// Every build of the array power function against std::pow, bit for bit.
#include "analysis/power_kernels.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "analysis/abramov_calc.hpp"
#include "analysis/rdg_calc.hpp"
#include "gridio/cpu_features.hpp"

namespace qv {
namespace {

std::vector<const power_kernels::Table*> builds() {
  std::vector<const power_kernels::Table*> b{&power_kernels::generic_table()};
  if (cpu_has_avx2_fma()) b.push_back(&power_kernels::avx2_table());
  if (cpu_has_avx512f()) b.push_back(&power_kernels::avx512_table());
  return b;
}

// Positive doubles spread evenly over the binades from 2^lo to 2^hi, with random mantissas.
std::vector<double> log_uniform(std::size_t n, int lo, int hi, std::uint64_t seed) {
  std::mt19937_64 gen(seed);
  std::uniform_real_distribution<double> expo(lo, hi);
  std::vector<double> v(n);
  for (auto& x : v) x = std::exp2(expo(gen));
  return v;
}

std::size_t mismatches(const power_kernels::Table& t, const std::vector<double>& x, double y,
                       std::size_t* redone = nullptr) {
  std::vector<double> got(x.size());
  const std::size_t r = t.pow_array(x.data(), y, got.data(), x.size());
  if (redone) *redone = r;
  std::size_t bad = 0;
  for (std::size_t i = 0; i < x.size(); ++i) {
    const double want = std::pow(x[i], y);
    if (std::bit_cast<std::uint64_t>(want) != std::bit_cast<std::uint64_t>(got[i])) {
      if (bad < 5)
        ADD_FAILURE() << t.name << ": pow(" << std::hexfloat << x[i] << ", " << y << ") = " << got[i]
                      << ", std::pow gives " << want;
      ++bad;
    }
  }
  return bad;
}

TEST(PowerKernels, AgreeWithStdPowBitForBit) {
  // The exponents of the analysis, then others of either sign and size.
  const double exponents[] = {kRdgExponent, kAbramovExponent, 0.5, -1.5, 2.0, 3.7, -0.3,
                              1e-9, 1.0, 0.0, 40.0, -77.25};
  const auto x = log_uniform(200000, -1000, 1000, 7);
  const auto moderate = log_uniform(200000, -40, 12, 11);  // densities of real grids
  for (const auto* t : builds())
    for (double y : exponents) {
      SCOPED_TRACE(y);
      EXPECT_EQ(mismatches(*t, x, y), 0u) << t->name;
      EXPECT_EQ(mismatches(*t, moderate, y), 0u) << t->name;
    }
}

TEST(PowerKernels, SpecialArguments) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double min = std::numeric_limits<double>::min(), max = std::numeric_limits<double>::max();
  const std::vector<double> x = {0.0,  -0.0,      -1.0,        -2.5,     inf,      -inf,
                                 nan,  min,       min / 3,     4.9e-324, max,      1.0,
                                 2.0,  0.5,       1.0 + 0x1p-52, 1.0 - 0x1p-53, 1e-300, 1e300,
                                 8.0,  0.125,     std::nextafter(min, 0.0), 3.0, 7.0, 1e-30};
  for (const auto* t : builds())
    for (double y : {kRdgExponent, kAbramovExponent, 0.0, -0.0, 1.0, -1.0, 2.0, 0.5, 1e3, -1e3,
                     inf, -inf, nan, 1024.0, -1075.0})
      EXPECT_EQ(mismatches(*t, x, y), 0u) << t->name << " y=" << y;
}

TEST(PowerKernels, EveryLengthAndOffset) {
  const auto x = log_uniform(64, -30, 5, 3);
  for (const auto* t : builds())
    for (std::size_t offset = 0; offset < 3; ++offset)
      for (std::size_t n = 0; n <= 19; ++n) {
        std::vector<double> in(x.begin() + offset, x.begin() + offset + n);
        std::vector<double> out(n + 1, -7.0);
        t->pow_array(in.data(), kRdgExponent, out.data(), n);
        for (std::size_t i = 0; i < n; ++i)
          EXPECT_EQ(std::bit_cast<std::uint64_t>(out[i]),
                    std::bit_cast<std::uint64_t>(std::pow(in[i], kRdgExponent)))
              << t->name << " n=" << n << " i=" << i;
        EXPECT_EQ(out[n], -7.0) << t->name << ": wrote past the end, n=" << n;
      }
}

TEST(PowerKernels, VectorBuildsRarelyFallBack) {
  // The guard zone is 1/16 of the values (1/32 ulp on either side of a midpoint): a vector build
  // that hands over much more than that is not doing the work itself.
  const auto x = log_uniform(100000, -40, 12, 5);
  for (const auto* t : builds()) {
    if (t == &power_kernels::generic_table()) continue;
    std::size_t redone = 0;
    EXPECT_EQ(mismatches(*t, x, kAbramovExponent, &redone), 0u);
    EXPECT_LT(redone, x.size() / 10) << t->name;
    EXPECT_GT(redone, x.size() / 40) << t->name << ": the guard zone seems not to be checked";
  }
}

}  // namespace
}  // namespace qv
