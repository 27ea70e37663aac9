#include "wavefunction/radial_table.hpp"

#include <cmath>

namespace qv {

namespace {

using Extended = long double;

// Derivatives 0..kDegree of f = sum_k (sum_t c_t r^(n_t - 1) exp(-zeta_t r))^2 at r, by
// Leibniz's rule: first each orbital's derivatives, then those of its square.
std::array<Extended, RadialTable::kCoefficients> density_derivatives(const RadialModel& m, Extended r) {
  constexpr int D = RadialTable::kDegree;
  Extended binomial[D + 1][D + 1] = {};
  for (int a = 0; a <= D; ++a) {
    binomial[a][0] = 1;
    for (int b = 1; b <= a; ++b) binomial[a][b] = binomial[a - 1][b - 1] + (b < a ? binomial[a - 1][b] : 0);
  }
  std::array<Extended, D + 1> f{};
  for (int k = 0; k < m.orbital_count(); ++k) {
    std::array<Extended, D + 1> v{};
    for (int t = m.orbital_first_term[static_cast<std::size_t>(k)];
         t < m.orbital_first_term[static_cast<std::size_t>(k) + 1]; ++t) {
      const std::size_t i = static_cast<std::size_t>(m.term_function[static_cast<std::size_t>(t)]);
      const int p = m.n[i] - 1;  // the power of r, 0 to 3
      const Extended zeta = m.zetas[static_cast<std::size_t>(m.zeta_index[i])];
      const Extended c = m.term_coefficient[static_cast<std::size_t>(t)] * std::exp(-zeta * r);
      // a-th derivative of r^p: p!/(p-a)! r^(p-a); j-th of exp(-zeta r): (-zeta)^j exp(-zeta r).
      Extended power_derivative[4] = {};
      Extended falling = 1;
      for (int a = 0; a <= p; ++a) {
        power_derivative[a] = falling * std::pow(r, static_cast<Extended>(p - a));
        falling *= static_cast<Extended>(p - a);
      }
      Extended minus_zeta_power[D + 1];
      minus_zeta_power[0] = 1;
      for (int j = 1; j <= D; ++j) minus_zeta_power[j] = minus_zeta_power[j - 1] * -zeta;
      for (int j = 0; j <= D; ++j) {
        Extended s = 0;
        for (int a = 0; a <= j && a <= p; ++a) s += binomial[j][a] * power_derivative[a] * minus_zeta_power[j - a];
        v[static_cast<std::size_t>(j)] += c * s;
      }
    }
    for (int q = 0; q <= D; ++q)
      for (int j = 0; j <= q; ++j)
        f[static_cast<std::size_t>(q)] += binomial[q][j] * v[static_cast<std::size_t>(j)] * v[static_cast<std::size_t>(q - j)];
  }
  return f;
}

// The interval [low, high) of index i.
void interval_bounds(int i, Extended& low, Extended& high) {
  if (i == 0) {
    low = 0;
    high = std::ldexp(Extended{1}, RadialTable::kFirstOctave);
    return;
  }
  constexpr int per_octave = 1 << RadialTable::kIntervalsPerOctaveLog2;
  const int octave = RadialTable::kFirstOctave + (i - 1) / per_octave, part = (i - 1) % per_octave;
  low = std::ldexp(1 + static_cast<Extended>(part) / per_octave, octave);
  high = std::ldexp(1 + static_cast<Extended>(part + 1) / per_octave, octave);
}

}  // namespace

RadialTable::RadialTable(const AtomicDensity& atom) : cutoff_(atom.cutoff_radius()) {
  const RadialModel& m = atom.model();
  if (m.orbital_count() == 1 && m.function_count() == 1 && m.n[0] == 1) {
    single_exponent_ = 2.0 * m.zetas[0];
    single_amplitude_ = m.term_coefficient[0] * m.term_coefficient[0];
  }
  // Up to the interval that holds the cut-off itself, which a rounded distance may reach.
  const int intervals = static_cast<int>(place(cutoff_).interval) + 1;
  coefficients_.resize(static_cast<std::size_t>(intervals) * kCoefficients);
  for (int i = 0; i < intervals; ++i) {
    Extended low, high;
    interval_bounds(i, low, high);
    const Extended half = (high - low) / 2;
    const auto d = density_derivatives(atom.model(), low + half);
    Extended factorial = 1, half_power = 1;
    for (int q = 0; q < kCoefficients; ++q) {
      if (q > 0) {
        factorial *= q;
        half_power *= half;
      }
      coefficients_[static_cast<std::size_t>(i) * kCoefficients + static_cast<std::size_t>(q)] =
          static_cast<double>(d[static_cast<std::size_t>(q)] * half_power / factorial);
    }
  }
}

std::array<double, 3> RadialTable::at(double r) const {
  const Place where = place(r);
  const double* c = coefficients_.data() + where.interval * kCoefficients;
  double p = c[kDegree], p1 = 0.0, half_p2 = 0.0;
  for (int q = kDegree - 1; q >= 0; --q) {
    half_p2 = half_p2 * where.x + p1;
    p1 = p1 * where.x + p;
    p = p * where.x + c[q];
  }
  return {p, p1 * where.dx_dr, half_p2 * (2.0 * where.dx_dr * where.dx_dr)};
}

}  // namespace qv
