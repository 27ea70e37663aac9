#include "wavefunction/atomic_density.hpp"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <stdexcept>

#include "wavefunction/atomic_density_data.hpp"

namespace qv {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kMaxFunctions = 48;  // xenon has 38

// exp(x) for x <= 0, written so that loops over lanes vectorise: x = k ln2 + t with |t| <= ln2/2,
// exp(t) by its Taylor series to degree 13 (truncation below 1e-17), 2^k through the exponent
// bits. Relative error about 1e-16; results below 2^-1021 are not needed and are clamped there.
inline double exp_of_nonpositive(double x) {
  constexpr double kShift = 0x1.8p52;
  constexpr double kLog2e = 1.4426950408889634;
  constexpr double kLn2High = 6.93147180369123816490e-01;  // 32 significant bits
  constexpr double kLn2Low = 1.90821492927058770002e-10;
  x = x < -707.0 ? -707.0 : x;
  const double shifted = x * kLog2e + kShift;
  const double k = shifted - kShift;
  const std::int64_t ki = std::bit_cast<std::int64_t>(shifted) - std::bit_cast<std::int64_t>(kShift);
  const double t = (x - k * kLn2High) - k * kLn2Low;
  double p = 1.0 / 6227020800.0;  // 1/13!
  p = p * t + 1.0 / 479001600.0;
  p = p * t + 1.0 / 39916800.0;
  p = p * t + 1.0 / 3628800.0;
  p = p * t + 1.0 / 362880.0;
  p = p * t + 1.0 / 40320.0;
  p = p * t + 1.0 / 5040.0;
  p = p * t + 1.0 / 720.0;
  p = p * t + 1.0 / 120.0;
  p = p * t + 1.0 / 24.0;
  p = p * t + 1.0 / 6.0;
  p = p * t + 0.5;
  p = p * t + 1.0;
  p = p * t + 1.0;
  const double scale = std::bit_cast<double>((ki + 1023) << 52);
  return p * scale;
}

double factorial(int n) {
  double f = 1.0;
  for (int i = 2; i <= n; ++i) f *= i;
  return f;
}

}  // namespace

AtomicDensity::AtomicDensity(int atomic_number) : atomic_number_(atomic_number) {
  if (atomic_number < 1 || atomic_number > atomic_data::kElementsWithData)
    throw std::out_of_range("no atomic density data for atomic number " + std::to_string(atomic_number));
  const atomic_data::ElementRecord& el = atomic_data::kElements[atomic_number - 1];

  // Functions in ascending exponent (stable), so that the ones that matter at large r come first.
  std::vector<int> order(static_cast<std::size_t>(el.basis_count));
  for (int i = 0; i < el.basis_count; ++i) order[static_cast<std::size_t>(i)] = i;
  auto basis = [&](int i) { return atomic_data::kBasisFunctions[el.first_basis + i]; };
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return basis(a).zeta < basis(b).zeta; });
  std::vector<int> position(order.size());
  for (std::size_t p = 0; p < order.size(); ++p) {
    const auto fn = basis(order[p]);
    if (zetas_.empty() || zetas_.back() != fn.zeta) zetas_.push_back(fn.zeta);
    functions_.push_back({fn.n, static_cast<int>(zetas_.size()) - 1});
    position[static_cast<std::size_t>(order[p])] = static_cast<int>(p);
  }

  for (int k = 0; k < el.orbital_count; ++k) {
    const atomic_data::AtomicOrbital& orb = atomic_data::kOrbitals[el.first_orbital + k];
    const double weight = std::sqrt(orb.occupation / (4.0 * kPi));
    std::vector<Term> terms;
    for (int i = 0; i < orb.basis_count; ++i) {
      const auto fn = basis(orb.first_basis + i);
      const double norm = std::pow(2.0 * fn.zeta, fn.n + 0.5) / std::sqrt(factorial(2 * fn.n));
      terms.push_back({position[static_cast<std::size_t>(orb.first_basis + i)],
                       atomic_data::kCoefficients[orb.first_coefficient + i] * norm * weight});
    }
    std::sort(terms.begin(), terms.end(),
              [](const Term& a, const Term& b) { return a.function < b.function; });
    orbitals_.push_back(std::move(terms));
  }
  find_radii();
}

void AtomicDensity::evaluate(const double* r, int kept, double* f, double* df, double* d2f) const {
  constexpr int L = kLanes;
  alignas(64) double e[kMaxFunctions][L];
  alignas(64) double s0[kMaxFunctions][L], s1[kMaxFunctions][L], s2[kMaxFunctions][L];
  const int zeta_count = kept > 0 ? functions_[static_cast<std::size_t>(kept - 1)].zeta_index + 1 : 0;
  for (int u = 0; u < zeta_count; ++u) {
    const double zeta = zetas_[static_cast<std::size_t>(u)];
    for (int j = 0; j < L; ++j) e[u][j] = exp_of_nonpositive(-zeta * r[j]);
  }
  // Terms with a zero integer factor are absent, so nothing is raised to a negative power at r = 0.
  for (int i = 0; i < kept; ++i) {
    const Function fn = functions_[static_cast<std::size_t>(i)];
    const double z = zetas_[static_cast<std::size_t>(fn.zeta_index)];
    const double* ei = e[fn.zeta_index];
    switch (fn.n) {
      case 1:
        for (int j = 0; j < L; ++j) {
          s0[i][j] = ei[j];
          s1[i][j] = -z * ei[j];
          s2[i][j] = z * z * ei[j];
        }
        break;
      case 2:
        for (int j = 0; j < L; ++j) {
          s0[i][j] = ei[j] * r[j];
          s1[i][j] = ei[j] * (1.0 - z * r[j]);
          s2[i][j] = ei[j] * (z * z * r[j] - 2.0 * z);
        }
        break;
      case 3:
        for (int j = 0; j < L; ++j) {
          const double r2 = r[j] * r[j];
          s0[i][j] = ei[j] * r2;
          s1[i][j] = ei[j] * (2.0 * r[j] - z * r2);
          s2[i][j] = ei[j] * (2.0 - 4.0 * z * r[j] + z * z * r2);
        }
        break;
      default: {  // n = 4 (the table holds no higher n)
        for (int j = 0; j < L; ++j) {
          const double r2 = r[j] * r[j];
          s0[i][j] = ei[j] * r2 * r[j];
          s1[i][j] = ei[j] * (3.0 * r2 - z * r2 * r[j]);
          s2[i][j] = ei[j] * (6.0 * r[j] - 6.0 * z * r2 + z * z * r2 * r[j]);
        }
      }
    }
  }
  for (int j = 0; j < L; ++j) f[j] = df[j] = d2f[j] = 0.0;
  for (const std::vector<Term>& orbital : orbitals_) {
    alignas(64) double v[L] = {}, v1[L] = {}, v2[L] = {};
    bool any = false;
    for (const Term& t : orbital) {
      if (t.function >= kept) break;
      any = true;
      for (int j = 0; j < L; ++j) {
        v[j] += t.coefficient * s0[t.function][j];
        v1[j] += t.coefficient * s1[t.function][j];
        v2[j] += t.coefficient * s2[t.function][j];
      }
    }
    if (!any) continue;
    for (int j = 0; j < L; ++j) {
      f[j] += v[j] * v[j];
      df[j] += 2.0 * v[j] * v1[j];
      d2f[j] += 2.0 * (v1[j] * v1[j] + v[j] * v2[j]);
    }
  }
}

std::array<double, 3> AtomicDensity::at(double r) const {
  double radii[kLanes], f[kLanes], df[kLanes], d2f[kLanes];
  std::fill(radii, radii + kLanes, r);
  evaluate(radii, function_count(), f, df, d2f);
  return {f[0], df[0], d2f[0]};
}

// The radii come from a scan of f, f' and f'' on a fine radial grid: the cut-off is the last
// grid radius where the atom still matters, plus a margin of two steps (the values fall by less
// than a factor 2 per step); the same for the radius from which each set of the smallest-exponent
// functions suffices.
void AtomicDensity::find_radii() {
  constexpr double kStep = 0.01;  // bohr
  constexpr double kLast = 45.0;  // far beyond any cut-off (hydrogen's is about 21 bohr)
  const int nf = function_count();
  keep_radius_.assign(static_cast<std::size_t>(nf) + 1, 0.0);
  double last_significant = 0.0;
  // partial[m]: f, f', f'' from the first m functions, for every m, at one radius.
  std::vector<std::array<double, 3>> partial(static_cast<std::size_t>(nf) + 1);
  std::vector<std::array<double, 3>> values(static_cast<std::size_t>(nf));  // S, S', S''
  for (int step = 1; step * kStep <= kLast; ++step) {
    const double r = step * kStep;
    for (int i = 0; i < nf; ++i) {
      const Function fn = functions_[static_cast<std::size_t>(i)];
      const double z = zetas_[static_cast<std::size_t>(fn.zeta_index)];
      const double e = std::exp(-z * r);
      const int n = fn.n;
      const double pw = std::pow(r, n - 1);
      values[static_cast<std::size_t>(i)] = {
          e * pw, e * ((n - 1) * std::pow(r, n - 2) - z * pw),
          e * ((n - 1) * (n - 2) * std::pow(r, n - 3) - 2.0 * z * (n - 1) * std::pow(r, n - 2) +
               z * z * pw)};
    }
    for (auto& p : partial) p = {0.0, 0.0, 0.0};
    for (const std::vector<Term>& orbital : orbitals_) {
      double v = 0.0, v1 = 0.0, v2 = 0.0;
      std::size_t t = 0;
      for (int m = 0; m <= nf; ++m) {
        // The orbital's terms of functions below m, then its contribution with m functions.
        for (; t < orbital.size() && orbital[t].function < m; ++t) {
          const auto& s = values[static_cast<std::size_t>(orbital[t].function)];
          v += orbital[t].coefficient * s[0];
          v1 += orbital[t].coefficient * s[1];
          v2 += orbital[t].coefficient * s[2];
        }
        auto& p = partial[static_cast<std::size_t>(m)];
        p[0] += v * v;
        p[1] += 2.0 * v * v1;
        p[2] += 2.0 * (v1 * v1 + v * v2);
      }
    }
    const auto& full = partial[static_cast<std::size_t>(nf)];
    if (full[0] >= kAtomicCutoffValue || std::abs(full[1]) >= kAtomicCutoffValue ||
        std::abs(full[2]) + 2.0 * std::abs(full[1]) / r >= kAtomicCutoffValue)
      last_significant = r;
    const double scale = full[0] + std::abs(full[1]) + std::abs(full[2]);
    for (int m = 0; m < nf; ++m) {
      const auto& p = partial[static_cast<std::size_t>(m)];
      if (std::abs(p[0] - full[0]) > kDroppedFunctionTolerance * scale ||
          std::abs(p[1] - full[1]) > kDroppedFunctionTolerance * scale ||
          std::abs(p[2] - full[2]) > kDroppedFunctionTolerance * scale)
        keep_radius_[static_cast<std::size_t>(m)] = r + 2 * kStep;
    }
  }
  cutoff_radius_ = last_significant + 2 * kStep;
  // Fewer functions never suffice closer in than more functions do; beyond the cut-off the atom
  // is left out altogether.
  for (int m = nf - 1; m >= 0; --m)
    keep_radius_[static_cast<std::size_t>(m)] =
        std::max(keep_radius_[static_cast<std::size_t>(m)], keep_radius_[static_cast<std::size_t>(m) + 1]);
  for (double& r : keep_radius_) r = std::min(r, cutoff_radius_);
  keep_radius_[0] = cutoff_radius_;
}

const AtomicDensity& AtomicDensitySet::of(int atomic_number) {
  auto& slot = models_[static_cast<std::size_t>(atomic_number)];
  if (!slot) slot = std::make_unique<AtomicDensity>(atomic_number);
  return *slot;
}

}  // namespace qv
