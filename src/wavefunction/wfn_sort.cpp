#include <algorithm>
#include <numeric>

#include "wavefunction/wfn_record.hpp"

namespace qv {

void sort_primitives(WfnRecord& rec, const std::vector<std::int32_t>& centre_file,
                     const std::vector<std::int32_t>& type_file,
                     const std::vector<double>& exponent_file,
                     const std::vector<double>& coef_file) {
  const std::size_t np = static_cast<std::size_t>(rec.primitive_count);
  const std::size_t nmo = static_cast<std::size_t>(rec.orbital_count);
  std::vector<std::size_t> order(np);
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return type_file[a] < type_file[b]; });
  rec.primitive_centre.assign(np, 0);
  rec.type.assign(np, 0);
  rec.exponents.assign(np, 0.0);
  rec.minus_two_exponents.assign(np, 0.0);
  rec.inverse_minus_two_exponents.assign(np, 0.0);
  rec.coefficients.assign(np * nmo, 0.0);
  for (std::size_t i = 0; i < np; ++i) {
    const std::size_t k = order[i];
    rec.exponents[i] = exponent_file[k];
    rec.primitive_centre[i] = centre_file[k];
    rec.type[i] = type_file[k];
    rec.minus_two_exponents[i] = -(exponent_file[k] + exponent_file[k]);
    rec.inverse_minus_two_exponents[i] = 1.0 / rec.minus_two_exponents[i];
  }
  for (std::size_t m = 0; m < nmo; ++m)
    for (std::size_t i = 0; i < np; ++i)
      rec.coefficients[i + np * m] = coef_file[order[i] + np * m];
  std::size_t below = 0;
  for (int t = 1; t <= kMaxPrimitiveType; ++t) {
    while (below < np && rec.type[below] <= t) ++below;
    rec.primitives_up_to_type[static_cast<std::size_t>(t - 1)] = static_cast<std::int32_t>(below);
  }
}

}  // namespace qv
