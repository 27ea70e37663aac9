#pragma once
// The wavefunction as read from a .wfn file: centres, Gaussian primitives sorted by angular type,
// and the molecular orbitals. Indices count from 0 here; centre numbers in `ict` too.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qv {

// Powers (l, m, n) of X, Y, Z in the angular factor of each primitive type 1..20 (index t - 1).
inline constexpr std::array<std::array<int, 3>, 20> kTypePowers{{
    {0, 0, 0},                                                  // s
    {1, 0, 0}, {0, 1, 0}, {0, 0, 1},                            // p
    {2, 0, 0}, {0, 2, 0}, {0, 0, 2}, {1, 1, 0}, {1, 0, 1}, {0, 1, 1},  // d
    {3, 0, 0}, {0, 3, 0}, {0, 0, 3}, {2, 1, 0}, {2, 0, 1},      // f
    {0, 2, 1}, {1, 2, 0}, {1, 0, 2}, {0, 1, 2}, {1, 1, 1},
}};

struct WfnRecord {
  std::int32_t nmo = 0, nprims = 0, ncent = 0;
  std::vector<std::string> atnam;           // centre labels (8 characters), in file order
  std::vector<double> xc, yc, zc, charg;    // per centre, at the centre's own number
  // Per primitive, sorted by type (stable):
  std::vector<std::int32_t> ict;            // centre index (0-based)
  std::vector<std::int32_t> type;           // type code 1..20
  std::vector<double> exx;                  // exponent alpha
  std::vector<double> sum;                  // -2 alpha
  std::vector<double> div;                  // 1 / (-2 alpha)
  std::array<std::int32_t, 20> itp{};       // itp[t-1]: primitives of type t or lower
  std::vector<double> po, eorb;             // per orbital: occupation, energy
  std::vector<double> coo;                  // coo[i + nprims * m]: primitive i in orbital m

  double coefficient(std::int32_t i, std::int32_t m) const {
    return coo[static_cast<std::size_t>(i) + static_cast<std::size_t>(nprims) * m];
  }
};

// Fills ict/type/exx/sum/div/itp/coo of `rec` from file-order lists, sorting the primitives by
// type and keeping file order within a type. `coef_file` holds nprims coefficients per orbital
// (file order). Types must already lie in 1..20.
void sort_primitives(WfnRecord& rec, const std::vector<std::int32_t>& centre_file,
                     const std::vector<std::int32_t>& type_file,
                     const std::vector<double>& exponent_file,
                     const std::vector<double>& coef_file);

}  // namespace qv
