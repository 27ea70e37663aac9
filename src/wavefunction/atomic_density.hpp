#pragma once
// One free atom's spherical Hartree-Fock density f(r) and its radial derivatives f'(r), f''(r),
// analytic, from the Slater-type orbitals of the atomic data table:
//   f = (1/4 pi) sum_k occ_k R_k(r)^2,  f' = (1/4 pi) sum_k occ_k 2 R_k R_k',
//   f'' = (1/4 pi) sum_k occ_k 2 (R_k'^2 + R_k R_k'').
#include <array>
#include <memory>
#include <vector>

namespace qv {

// Beyond its cut-off radius an atom's f, |f'| and |f''| + 2|f'|/r all stay below this (au): a
// hundredth of the last printed digit (five significant digits) of a density of 1e-10, so that
// even the sum over the many atoms cut off around a point of a dense system (about 40 times
// the value at the cut-off) stays below half a digit there.
inline constexpr double kAtomicCutoffValue = 1.0e-17;

// The evaluator's form of one element, as flat arrays (what the vector kernels read).
struct RadialModel {
  std::vector<double> zetas;          // distinct exponents, ascending
  std::vector<int> n;                 // per function: r^(n-1) exp(-zeta r), ascending exponent
  std::vector<int> zeta_index;        // per function: into zetas
  // Orbital k's terms are term_function/term_coefficient[orbital_first_term[k] ..
  // orbital_first_term[k+1]), by ascending function; a coefficient holds the published one,
  // the function's normalisation and sqrt(occupation / 4 pi).
  std::vector<int> orbital_first_term;
  std::vector<int> term_function;
  std::vector<double> term_coefficient;
  // Beyond this radius f, |f'| and |f''| + 2|f'|/r all stay below kAtomicCutoffValue.
  double cutoff = 0.0;

  int function_count() const { return static_cast<int>(n.size()); }
  int orbital_count() const { return static_cast<int>(orbital_first_term.size()) - 1; }
};

class AtomicDensity {
 public:
  // The element with this atomic number, 1 (H) to 54 (Xe); std::out_of_range otherwise.
  explicit AtomicDensity(int atomic_number);

  int atomic_number() const { return atomic_number_; }
  const RadialModel& model() const { return model_; }
  double cutoff_radius() const { return model_.cutoff; }
  int function_count() const { return model_.function_count(); }

  // f, f', f'' at one radius, with std::exp.
  std::array<double, 3> at(double r) const;

 private:
  void find_cutoff();

  int atomic_number_;
  RadialModel model_;
};

// The atom models of the elements of a geometry, by atomic number; built once before a sweep.
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
