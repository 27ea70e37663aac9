#include "topond/atom_expansion.hpp"

#include <limits>

#include "gridio/stop.hpp"
#include "topond/integer_field.hpp"

namespace qv {

std::array<float, 3> apply_operation(const TopSettings& top, std::size_t s,
                                     const std::array<float, 3>& f) {
  const auto& op = top.symm_op[s];
  std::array<float, 3> out{};
  for (std::size_t j = 0; j < 3; ++j) {
    float sum = static_cast<float>(op[0][j]) * f[0];
    sum = sum + static_cast<float>(op[1][j]) * f[1];
    sum = sum + static_cast<float>(op[2][j]) * f[2];
    out[j] = static_cast<float>(static_cast<double>(sum) + top.transl[s][j]);
  }
  return out;
}

std::array<float, 3> to_cartesian_bohr(const std::array<std::array<float, 3>, 3>& lattice,
                                       const std::array<float, 3>& f,
                                       const std::array<double, 3>& shift_angstrom) {
  std::array<float, 3> out{};
  for (std::size_t c = 0; c < 3; ++c) {
    float sum = lattice[0][c] * f[0];
    sum = sum + lattice[1][c] * f[1];
    sum = sum + lattice[2][c] * f[2];
    out[c] = static_cast<float>((static_cast<double>(sum) + shift_angstrom[c]) / kBohrInAngstrom);
  }
  return out;
}

bool label_atomic_number(const std::string& label, std::int32_t& z) {
  return parse_integer_field(std::string_view(label).substr(6, 2), z);
}

ExpandedAtoms expand_atoms(const CrystalStructure& crystal, const TopSettings& top) {
  ExpandedAtoms out;
  const std::size_t n_irr = crystal.labels.size();
  const std::size_t n_ops = top.symm_op.size();
  const unsigned __int128 count = static_cast<unsigned __int128>(n_irr) * n_ops;
  const std::size_t per_atom = sizeof(std::int32_t) + sizeof(std::array<float, 4>);
  if (count > static_cast<unsigned __int128>(std::numeric_limits<std::int32_t>::max()) ||
      count * per_atom > available_memory_bytes())
    throw OutOfMemory("out of memory: " + std::to_string(n_irr) + " atoms times " +
                      std::to_string(n_ops) + " symmetry operations are too many atoms to hold");
  out.atomic_numbers.reserve(static_cast<std::size_t>(count));
  out.atoms.reserve(static_cast<std::size_t>(count));
  for (std::size_t s = 0; s < n_ops; ++s) {
    for (std::size_t i = 0; i < n_irr; ++i) {
      const std::array<float, 3> f = apply_operation(top, s, crystal.fractional[i]);
      std::int32_t z = 0;
      if (!label_atomic_number(crystal.labels[i], z)) {
        out.bad_label = crystal.labels[i];
        return out;
      }
      const std::array<float, 3> r =
          to_cartesian_bohr(crystal.lattice, f, crystal.cell.atom_shift);
      out.atomic_numbers.push_back(z);
      out.atoms.push_back({static_cast<float>(z), r[0], r[1], r[2]});
    }
  }
  return out;
}

}  // namespace qv
