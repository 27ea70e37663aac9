#include "wavefunction/atomic_density.hpp"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

#include "wavefunction/atomic_density_data.hpp"

namespace qv {

namespace {

constexpr double kPi = 3.14159265358979323846;

double factorial(int n) {
  double f = 1.0;
  for (int i = 2; i <= n; ++i) f *= i;
  return f;
}

// S, S', S'' of r^(n-1) exp(-zeta r); terms with a zero integer factor are absent, so nothing
// is raised to a negative power at r = 0.
std::array<double, 3> slater_function(int n, double zeta, double r) {
  const double e = std::exp(-zeta * r);
  const double p1 = n >= 2 ? std::pow(r, n - 2) : 0.0;  // r^(n-2)
  const double p0 = n >= 2 ? p1 * r : 1.0;               // r^(n-1)
  const double p2 = n >= 3 ? std::pow(r, n - 3) : 0.0;  // r^(n-3)
  return {e * p0, e * ((n - 1) * p1 - zeta * p0),
          e * ((n - 1) * (n - 2) * p2 - 2.0 * zeta * (n - 1) * p1 + zeta * zeta * p0)};
}

}  // namespace

AtomicDensity::AtomicDensity(int atomic_number) : atomic_number_(atomic_number) {
  if (atomic_number < 1 || atomic_number > atomic_data::kElementsWithData)
    throw std::out_of_range("no atomic density data for atomic number " + std::to_string(atomic_number));
  const atomic_data::ElementRecord& el = atomic_data::kElements[atomic_number - 1];
  auto basis = [&](int i) { return atomic_data::kBasisFunctions[el.first_basis + i]; };

  // Functions by ascending exponent (stable), so that functions of one exponent are neighbours
  // and share its entry in zetas.
  std::vector<int> order(static_cast<std::size_t>(el.basis_count));
  for (int i = 0; i < el.basis_count; ++i) order[static_cast<std::size_t>(i)] = i;
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return basis(a).zeta < basis(b).zeta; });
  std::vector<int> position(order.size());
  for (std::size_t p = 0; p < order.size(); ++p) {
    const auto fn = basis(order[p]);
    if (model_.zetas.empty() || model_.zetas.back() != fn.zeta) model_.zetas.push_back(fn.zeta);
    model_.n.push_back(fn.n);
    model_.zeta_index.push_back(static_cast<int>(model_.zetas.size()) - 1);
    position[static_cast<std::size_t>(order[p])] = static_cast<int>(p);
  }

  for (int k = 0; k < el.orbital_count; ++k) {
    const atomic_data::AtomicOrbital& orb = atomic_data::kOrbitals[el.first_orbital + k];
    const double weight = std::sqrt(orb.occupation / (4.0 * kPi));
    std::vector<std::pair<int, double>> terms;
    for (int i = 0; i < orb.basis_count; ++i) {
      const auto fn = basis(orb.first_basis + i);
      const double norm = std::pow(2.0 * fn.zeta, fn.n + 0.5) / std::sqrt(factorial(2 * fn.n));
      terms.emplace_back(position[static_cast<std::size_t>(orb.first_basis + i)],
                         atomic_data::kCoefficients[orb.first_coefficient + i] * norm * weight);
    }
    std::sort(terms.begin(), terms.end());
    model_.orbital_first_term.push_back(static_cast<int>(model_.term_function.size()));
    for (const auto& [function, coefficient] : terms) {
      model_.term_function.push_back(function);
      model_.term_coefficient.push_back(coefficient);
    }
  }
  model_.orbital_first_term.push_back(static_cast<int>(model_.term_function.size()));
  find_cutoff();
}

std::array<double, 3> AtomicDensity::at(double r) const {
  const RadialModel& m = model_;
  std::array<double, 3> f{0.0, 0.0, 0.0};
  for (int k = 0; k < m.orbital_count(); ++k) {
    double v = 0.0, v1 = 0.0, v2 = 0.0;
    for (int t = m.orbital_first_term[static_cast<std::size_t>(k)];
         t < m.orbital_first_term[static_cast<std::size_t>(k) + 1]; ++t) {
      const int i = m.term_function[static_cast<std::size_t>(t)];
      const auto s = slater_function(m.n[static_cast<std::size_t>(i)],
                                     m.zetas[static_cast<std::size_t>(m.zeta_index[static_cast<std::size_t>(i)])], r);
      const double c = m.term_coefficient[static_cast<std::size_t>(t)];
      v += c * s[0];
      v1 += c * s[1];
      v2 += c * s[2];
    }
    f[0] += v * v;
    f[1] += 2.0 * v * v1;
    f[2] += 2.0 * (v1 * v1 + v * v2);
  }
  return f;
}

// The cut-off comes from a scan of f, f' and f'' on a fine radial grid: the last grid radius
// where the atom still matters, plus a margin of two steps (the values fall by less than a
// factor 2 per step).
void AtomicDensity::find_cutoff() {
  constexpr double kStep = 0.01;  // bohr
  constexpr double kLast = 45.0;  // beyond every cut-off (rubidium's, the largest, is about 40 bohr)
  double last_significant = 0.0;
  for (int step = 1; step * kStep <= kLast; ++step) {
    const double r = step * kStep;
    const auto [f, df, d2f] = at(r);
    if (f >= kAtomicCutoffValue || std::abs(df) >= kAtomicCutoffValue ||
        std::abs(d2f) + 2.0 * std::abs(df) / r >= kAtomicCutoffValue)
      last_significant = r;
  }
  model_.cutoff = last_significant + 2 * kStep;
}

const AtomicDensity& AtomicDensitySet::of(int atomic_number) {
  auto& slot = models_[static_cast<std::size_t>(atomic_number)];
  if (!slot) slot = std::make_unique<AtomicDensity>(atomic_number);
  return *slot;
}

}  // namespace qv
