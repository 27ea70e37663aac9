#include "wavefunction/wfn_record.hpp"

namespace qv {

void sort_primitives(WfnRecord& rec, const std::vector<std::int32_t>& centre_file,
                     const std::vector<std::int32_t>& type_file,
                     const std::vector<double>& exponent_file,
                     const std::vector<double>& coef_file) {
  const std::size_t np = static_cast<std::size_t>(rec.nprims);
  const std::size_t nmo = static_cast<std::size_t>(rec.nmo);
  rec.ict.assign(np, 0);
  rec.type.assign(np, 0);
  rec.exx.assign(np, 0.0);
  rec.sum.assign(np, 0.0);
  rec.div.assign(np, 0.0);
  rec.coo.assign(np * nmo, 0.0);
  std::size_t i = 0;
  for (int t = 1; t <= 20; ++t) {
    for (std::size_t k = 0; k < np; ++k) {
      if (type_file[k] != t) continue;
      rec.exx[i] = exponent_file[k];
      rec.ict[i] = centre_file[k];
      rec.type[i] = t;
      rec.sum[i] = -(exponent_file[k] + exponent_file[k]);
      rec.div[i] = 1.0 / rec.sum[i];
      for (std::size_t m = 0; m < nmo; ++m) rec.coo[i + np * m] = coef_file[k + np * m];
      ++i;
    }
    rec.itp[t - 1] = static_cast<std::int32_t>(i);
  }
}

}  // namespace qv
