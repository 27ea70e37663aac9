#pragma once
// One free atom's spherical Hartree-Fock density f(r) and its radial derivatives f'(r), f''(r),
// analytic, from the Slater-type orbitals of the atomic data table:
//   f = (1/4 pi) sum_k occ_k R_k(r)^2,  f' = (1/4 pi) sum_k occ_k 2 R_k R_k',
//   f'' = (1/4 pi) sum_k occ_k 2 (R_k'^2 + R_k R_k'').
#include <array>
#include <memory>
#include <vector>

namespace qv {

// Beyond its cut-off radius an atom's f, |f'| and |f''| + 2|f'|/r all stay below this (au):
// a thousandth of the last printed digit (five significant digits) of a density of 1e-10, so
// that even the sum over thousands of cut atoms cannot change a printed digit there.
inline constexpr double kAtomicCutoffValue = 1.0e-17;

// Functions whose dropped part changes f, f' or f'' by less than this fraction of
// f + |f'| + |f''| are left out at a given radius.
inline constexpr double kDroppedFunctionTolerance = 1.0e-12;

class AtomicDensity {
 public:
  static constexpr int kLanes = 8;  // radii evaluated per call of evaluate()

  // The element with this atomic number, 1 (H) to 54 (Xe).
  explicit AtomicDensity(int atomic_number);

  int atomic_number() const { return atomic_number_; }
  double cutoff_radius() const { return cutoff_radius_; }

  // How many functions (smallest exponents first) must be kept for radii of at least r.
  int functions_needed(double r) const {
    int m = 0;
    while (r < keep_radius_[static_cast<std::size_t>(m)]) ++m;
    return m;
  }
  int function_count() const { return static_cast<int>(functions_.size()); }

  // f, f' and f'' at kLanes radii r[0..kLanes), keeping the first `kept` functions.
  void evaluate(const double* r, int kept, double* f, double* df, double* d2f) const;

  // The same at one radius with every function kept (tests, set-up).
  std::array<double, 3> at(double r) const;

 private:
  struct Function {
    int n;           // r^(n-1) exp(-zeta r)
    int zeta_index;  // into zetas_
  };
  struct Term {
    int function;  // index into functions_
    double coefficient;  // published coefficient * normalisation * sqrt(occupation / 4 pi)
  };
  void find_radii();

  int atomic_number_;
  std::vector<double> zetas_;          // distinct exponents, ascending
  std::vector<Function> functions_;    // ascending exponent
  std::vector<std::vector<Term>> orbitals_;  // terms by ascending function index
  // keep_radius_[m]: at radii below it more than m functions are needed; keep_radius_[all] = 0.
  std::vector<double> keep_radius_;
  double cutoff_radius_ = 0.0;
};

// The atom models of every element in a geometry, by atomic number; built once before a sweep.
class AtomicDensitySet {
 public:
  const AtomicDensity& of(int atomic_number);  // builds on first use
  // An element already built by of().
  const AtomicDensity& get(int atomic_number) const {
    return *models_[static_cast<std::size_t>(atomic_number)];
  }

 private:
  std::array<std::unique_ptr<AtomicDensity>, 55> models_{};
};

}  // namespace qv
