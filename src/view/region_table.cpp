#include "view/region_table.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "wavefunction/element_symbols.hpp"

namespace qv {

namespace {

constexpr std::size_t kColumns = 16;
constexpr const char* kColumnNames[kColumns] = {
    "region", "points", "volume", "rho_integral", "rdg_min", "rhosign_at_rdg_min",
    "rhosign_min", "rhosign_max", "x", "y", "z", "atom1", "atom2", "d1", "d2", "kind"};
// Columns whose entries are text, written flush left in the printed table.
constexpr bool kTextColumn[kColumns] = {false, false, false, false, false, false, false, false,
                                        false, false, false, true,  true,  false, false, true};

std::string exponent6(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.5E", v);
  return buf;
}

// Positions and distances in bohr. A coordinate that is zero but for the round-off of
// origin + index x step (far below any grid step) is written 0, not 1.77636e-15.
std::string length6(double v) {
  if (std::fabs(v) < 1e-10) v = 0;
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.6g", v);
  return buf;
}

// Ghost atoms and point charges (atomic number 0 or out of range) are "X", the dummy atom.
std::string_view atom_symbol(int atomic_number) {
  const std::string_view symbol = element_symbol(atomic_number);
  return symbol == "?" ? "X" : symbol;
}

std::string short_number(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%g", v);
  return buf;
}

}  // namespace

std::array<std::string, 16> region_fields(const NciRegion& r, std::size_t number,
                                          const std::vector<CubeAtom>& atoms) {
  std::array<std::string, 16> f;
  f[0] = std::to_string(number);
  f[1] = std::to_string(r.points);
  f[2] = exponent6(r.volume);
  f[3] = exponent6(r.rho_integral);
  f[4] = exponent6(r.rdg_min);
  f[5] = exponent6(r.rhosign_at_rdg_min);
  f[6] = exponent6(r.rhosign_min);
  f[7] = exponent6(r.rhosign_max);
  for (int c = 0; c < 3; ++c) f[8 + c] = length6(r.position[c]);
  for (std::size_t k = 0; k < 2; ++k) {
    if (k < r.nearest.size()) {
      const NearAtom& a = r.nearest[k];
      f[11 + k] = std::string(atom_symbol(atoms[a.index].atomic_number)) +
                  std::to_string(a.index + 1);
      f[13 + k] = length6(a.distance);
    } else {
      f[11 + k] = f[13 + k] = "-";
    }
  }
  f[15] = std::string(kind_name(r.kind)) + (r.touches_box ? "*" : "");
  return f;
}

void write_region_tsv(const std::vector<NciRegion>& regions, const std::vector<CubeAtom>& atoms,
                      TextOutput& out) {
  out.line(kRegionColumns);
  for (std::size_t i = 0; i < regions.size(); ++i) {
    const auto fields = region_fields(regions[i], i + 1, atoms);
    for (std::size_t c = 0; c < kColumns; ++c) {
      if (c > 0) out.put('\t');
      out.write(fields[c]);
    }
    out.put('\n');
  }
}

void print_region_table(const std::vector<NciRegion>& regions,
                        const std::vector<CubeAtom>& atoms, const RegionTableTitle& title,
                        TextOutput& out) {
  const NciCriteria& c = title.criteria;
  out.line("NCI regions of " + title.rdg_cube + " and " + title.rhosign_cube + ": RDG < " +
           short_number(c.isovalue) + ", |rho*sign(lambda2)| <= " + short_number(c.range) +
           ", at least " + std::to_string(c.min_points) + " points each");
  out.line("kind threshold " + short_number(c.kind_threshold) + " a.u.; grid " +
           std::to_string(title.points[0]) + " x " + std::to_string(title.points[1]) + " x " +
           std::to_string(title.points[2]) + " points, cell volume " +
           exponent6(title.cell_volume) + " bohr^3; * marks a region that touches the box");

  // Widths first, rows then rendered again one at a time: a table of millions of regions
  // needs no copy of itself in memory.
  std::size_t width[kColumns];
  for (std::size_t k = 0; k < kColumns; ++k) width[k] = std::string_view(kColumnNames[k]).size();
  for (std::size_t i = 0; i < regions.size(); ++i) {
    const auto row = region_fields(regions[i], i + 1, atoms);
    for (std::size_t k = 0; k < kColumns; ++k) width[k] = std::max(width[k], row[k].size());
  }
  auto print_row = [&](auto&& cell) {
    std::string line;
    for (std::size_t k = 0; k < kColumns; ++k) {
      const std::string_view text = cell(k);
      const std::string pad(width[k] - text.size(), ' ');
      if (k > 0) line += "  ";
      if (kTextColumn[k]) {
        line += text;
        if (k + 1 < kColumns) line += pad;  // no blanks at the end of a line
      } else {
        line += pad;
        line += text;
      }
    }
    out.line(line);
  };
  print_row([&](std::size_t k) { return std::string_view(kColumnNames[k]); });
  for (std::size_t i = 0; i < regions.size(); ++i) {
    const auto row = region_fields(regions[i], i + 1, atoms);
    print_row([&](std::size_t k) { return std::string_view(row[k]); });
  }
}

}  // namespace qv
