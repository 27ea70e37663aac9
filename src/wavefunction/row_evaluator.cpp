#include "wavefunction/row_evaluator.hpp"

#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>
#include <tuple>

namespace qv {

namespace {

int round_up(int n, int block) { return (n + block - 1) / block * block; }

// x^p for p in 0..7 (h functions and their second derivatives); 0 for a negative power (its coefficient is always 0 then).
double pw(double x, int p) {
  double r = 1.0;
  if (p < 0) return 0.0;
  for (int q = 0; q < p; ++q) r *= x;
  return r;
}

// One-dimensional factor u^p exp(-a u^2) without the exponential: value, first and second
// derivative polynomials (s = -2a).
struct Poly1d {
  double v, d1, d2;
};
Poly1d poly1d(double u, int p, double s) {
  return {pw(u, p), p * pw(u, p - 1) + s * pw(u, p + 1),
          p * (p - 1) * pw(u, p - 2) + s * (2 * p + 1) * pw(u, p) + s * s * pw(u, p + 2)};
}

}  // namespace

RowEvaluator::RowEvaluator(const WfnRecord& rec, std::span<const double> xs, bool derivatives,
                           const orbital_kernels::Table& kernels)
    : rec_(rec), kernels_(kernels) {
  npx_ = static_cast<int>(xs.size());
  npad_ = round_up(npx_, orbital_kernels::kPointBlock);
  nmo_ = rec.orbital_count;
  ncore_ = rec.edf_count() > 0 ? 1 : 0;
  nvalues_ = nmo_ + ncore_;
  ncol_ = round_up(nvalues_, orbital_kernels::kColumnBlock);
  derivatives_ = derivatives;
  const std::size_t npad = static_cast<std::size_t>(npad_);

  centre_ = rec.primitive_centre;
  type_ = rec.type;
  alpha_ = rec.exponents;
  sum_ = rec.minus_two_exponents;
  for (std::int32_t e = 0; e < rec.edf_count(); ++e) {
    centre_.push_back(rec.edf_centre[e]);
    type_.push_back(rec.edf_type[e]);
    alpha_.push_back(rec.edf_exponent[e]);
    sum_.push_back(-(rec.edf_exponent[e] + rec.edf_exponent[e]));
  }
  nprims_ = static_cast<std::int32_t>(alpha_.size());
  const std::int32_t np = nprims_;

  // Group the primitives by their x factor and by their exponential.
  std::map<std::tuple<std::int32_t, double, int>, std::int32_t> groups;
  std::map<std::pair<std::int32_t, double>, std::int32_t> shells;
  std::vector<std::tuple<std::int32_t, double, int>> group_keys;
  group_of_.resize(static_cast<std::size_t>(np));
  shell_of_.resize(static_cast<std::size_t>(np));
  for (std::int32_t i = 0; i < np; ++i) {
    const int l = kTypePowers[static_cast<std::size_t>(type_[i] - 1)][0];
    auto key = std::make_tuple(centre_[i], alpha_[i], l);
    auto [it, added] = groups.emplace(key, static_cast<std::int32_t>(group_keys.size()));
    if (added) group_keys.push_back(key);
    group_of_[i] = it->second;
    auto [sit, sadded] = shells.emplace(std::make_pair(centre_[i], alpha_[i]),
                                        static_cast<std::int32_t>(shells.size()));
    shell_of_[i] = sit->second;
  }
  ngroups_ = static_cast<std::int32_t>(group_keys.size());
  nshells_ = static_cast<std::int32_t>(shells.size());

  const std::size_t ng = static_cast<std::size_t>(ngroups_);
  f0_.resize(ng * npad);
  max_f0_.assign(ng, 0.0);
  if (derivatives) {
    f1_.resize(ng * npad);
    f2_.resize(ng * npad);
    max_f1_.assign(ng, 0.0);
    max_f2_.assign(ng, 0.0);
  }
  for (std::size_t g = 0; g < ng; ++g) {
    const auto [centre, alpha, l] = group_keys[g];
    const double s = -(alpha + alpha);
    for (int j = 0; j < npx_; ++j) {
      const double x =
          xs[static_cast<std::size_t>(j)] - rec.centre_x[static_cast<std::size_t>(centre)];
      const double e = std::exp(-(alpha * (x * x)));
      if (e == 0.0) continue;  // far away: exactly 0 (and no overflow of the powers)
      const Poly1d p = poly1d(x, l, s);
      const std::size_t at = g * npad + static_cast<std::size_t>(j);
      f0_[at] = p.v * e;
      max_f0_[g] = std::max(max_f0_[g], std::fabs(f0_[at]));
      if (derivatives) {
        f1_[at] = p.d1 * e;
        f2_[at] = p.d2 * e;
        max_f1_[g] = std::max(max_f1_[g], std::fabs(f1_[at]));
        max_f2_[g] = std::max(max_f2_[g], std::fabs(f2_[at]));
      }
    }
  }

  max_coef_.assign(static_cast<std::size_t>(np), 0.0);
  coef_by_primitive_.assign(static_cast<std::size_t>(np) * static_cast<std::size_t>(nvalues_), 0.0);
  for (std::int32_t i = 0; i < np; ++i) {
    double* coef = coef_by_primitive_.data() + static_cast<std::size_t>(i) * nvalues_;
    if (i < rec.primitive_count)
      for (std::int32_t k = 0; k < nmo_; ++k) coef[k] = rec.coefficient(i, k);
    else
      coef[nmo_] = rec.edf_coefficient[static_cast<std::size_t>(i - rec.primitive_count)];
    for (std::int32_t k = 0; k < nvalues_; ++k)
      max_coef_[i] = std::max(max_coef_[i], std::fabs(coef[k]));
  }

  shell_exp_.assign(static_cast<std::size_t>(nshells_), 0.0);
  c0_.assign(static_cast<std::size_t>(np), 0.0);
  cy_ = cz_ = cl_ = chimax_ = c0_;
  active_.assign(static_cast<std::size_t>(np), 0);
  row_of_group_.assign(ng, -1);
  frows_.assign(3 * ng, nullptr);
  const std::size_t ldw = static_cast<std::size_t>(ncol_) * (derivatives ? 4 : 1);
  weights_.assign(ng * ldw, 0.0);

  const std::size_t block = static_cast<std::size_t>(ncol_) * npad;
  out_.resize(derivatives ? 4 * block : block);
  psi_ = out_.data();
  if (derivatives) {
    gy_ = psi_ + block;
    gz_ = psi_ + 2 * block;
    d2_ = psi_ + 3 * block;
    gx_.resize(block);
  }
}

void RowEvaluator::row_factors(double y, double z, bool derivatives) {
  const WfnRecord& r = rec_;
  const std::int32_t np = nprims_;
  for (std::int32_t i = 0; i < np; ++i) {  // one exponential per (centre, exponent)
    const std::size_t a = static_cast<std::size_t>(centre_[i]);
    const double dy = y - r.centre_y[a], dz = z - r.centre_z[a];
    shell_exp_[static_cast<std::size_t>(shell_of_[i])] = -(alpha_[i] * (dy * dy + dz * dz));
  }
  for (double& e : shell_exp_) e = std::exp(e);

  const std::size_t npad = static_cast<std::size_t>(npad_);
  for (std::int32_t i = 0; i < np; ++i) {
    const std::size_t a = static_cast<std::size_t>(centre_[i]);
    const double e = shell_exp_[static_cast<std::size_t>(shell_of_[i])];
    const std::size_t g = static_cast<std::size_t>(group_of_[i]);
    c0_[i] = cy_[i] = cz_[i] = cl_[i] = chimax_[i] = 0.0;
    if (e != 0.0) {
      const double dy = y - r.centre_y[a], dz = z - r.centre_z[a];
      const auto& pow3 = kTypePowers[static_cast<std::size_t>(type_[i] - 1)];
      const double s = sum_[i];
      const Poly1d py = poly1d(dy, pow3[1], s), pz = poly1d(dz, pow3[2], s);
      c0_[i] = py.v * pz.v * e;
      if (derivatives) {
        cy_[i] = py.d1 * pz.v * e;
        cz_[i] = py.v * pz.d1 * e;
        cl_[i] = (py.d2 * pz.v + py.v * pz.d2) * e;
      }
    }
    double measure = std::fabs(c0_[i]) * max_f0_[g];
    if (derivatives) {
      measure = std::max({measure, std::fabs(c0_[i]) * max_f1_[g],
                          std::fabs(cy_[i]) * max_f0_[g], std::fabs(cz_[i]) * max_f0_[g]});
      // The laplacian's largest magnitude needs a pass over the row, unless even a bound of
      // it leaves the primitive out of every orbital.
      const double bound = std::fabs(c0_[i]) * max_f2_[g] + std::fabs(cl_[i]) * max_f0_[g];
      if (bound > measure && bound * max_coef_[i] * (1 + 1e-12) > kScreeningThreshold)
        measure = std::max(measure, kernels_.max_abs_combination(c0_[i], f2_.data() + g * npad,
                                                                 cl_[i], f0_.data() + g * npad,
                                                                 npad_));
    }
    chimax_[i] = measure;
    active_[i] = measure * max_coef_[i] > kScreeningThreshold;
  }
}

void RowEvaluator::build_weights(bool derivatives) {
  const std::int32_t np = nprims_;
  const std::size_t ncol = static_cast<std::size_t>(ncol_);
  const std::size_t ldw = derivatives ? 4 * ncol : ncol;
  const std::size_t npad = static_cast<std::size_t>(npad_);
  const std::size_t ng = static_cast<std::size_t>(ngroups_);
  std::fill(row_of_group_.begin(), row_of_group_.end(), -1);
  nactive_ = 0;
  for (std::int32_t i = 0; i < np; ++i) {
    if (!active_[i]) continue;
    const std::size_t g = static_cast<std::size_t>(group_of_[i]);
    std::int32_t row = row_of_group_[g];
    if (row < 0) {
      row = row_of_group_[g] = nactive_++;
      std::fill_n(weights_.begin() + static_cast<std::ptrdiff_t>(row * ldw), ldw, 0.0);
      frows_[static_cast<std::size_t>(row)] = f0_.data() + g * npad;
      if (derivatives) {
        frows_[ng + static_cast<std::size_t>(row)] = f1_.data() + g * npad;
        frows_[2 * ng + static_cast<std::size_t>(row)] = f2_.data() + g * npad;
      }
    }
    double* w = weights_.data() + static_cast<std::size_t>(row) * ldw;
    const double measure = chimax_[i];
    const double* coef = coef_by_primitive_.data() + static_cast<std::size_t>(i) * nvalues_;
    for (std::int32_t k = 0; k < nvalues_; ++k) {
      const double c = coef[k];
      if (!(std::fabs(measure * c) > kScreeningThreshold)) continue;
      w[k] += c * c0_[i];
      if (derivatives) {
        w[ncol + k] += c * cy_[i];
        w[2 * ncol + k] += c * cz_[i];
        w[3 * ncol + k] += c * cl_[i];
      }
    }
  }
}

void RowEvaluator::evaluate_orbitals(double y, double z) {
  if (npad_ == 0) return;
  row_factors(y, z, false);
  build_weights(false);
  kernels_.gemm(frows_.data(), nactive_, weights_.data(), ncol_, ncol_, psi_, npad_, npad_, false);
}

void RowEvaluator::evaluate_orbitals_with_derivatives(double y, double z) {
  if (!derivatives_)
    throw std::logic_error(
        "evaluate_orbitals_with_derivatives on an evaluator without derivatives");
  if (npad_ == 0) return;
  row_factors(y, z, true);
  build_weights(true);
  const int ldw = 4 * ncol_;
  const std::size_t ng = static_cast<std::size_t>(ngroups_);
  kernels_.gemm(frows_.data(), nactive_, weights_.data(), ldw, ldw, psi_, npad_, npad_, false);
  kernels_.gemm(frows_.data() + ng, nactive_, weights_.data(), ldw, ncol_, gx_.data(), npad_,
                npad_, false);
  kernels_.gemm(frows_.data() + 2 * ng, nactive_, weights_.data(), ldw, ncol_, d2_, npad_, npad_,
                true);
}

}  // namespace qv
