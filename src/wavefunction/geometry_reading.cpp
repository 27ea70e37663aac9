#include "wavefunction/geometry_reading.hpp"

#include <charconv>
#include <cmath>

#include "wavefunction/atomic_density_data.hpp"
#include "wavefunction/element_symbols.hpp"

namespace qv {

namespace {

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// Blank- or tab-separated words of a line.
std::vector<std::string_view> words_of(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

bool parse_number(std::string_view text, double& value) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

// Columns first..last (1-based) of a line; a short line reads as blank-padded.
std::string_view columns(std::string_view line, std::size_t first, std::size_t last) {
  if (first > line.size()) return {};
  return line.substr(first - 1, last - first + 1);
}

constexpr double kLargestCoordinate = 1.0e5;  // angstrom: no molecule reaches this far

class GeometryParser {
 public:
  explicit GeometryParser(LineReader& in) : in_(in) {}

  [[noreturn]] void fail(const std::string& problem, long line = -1) const {
    throw GeometryError(in_.name(), line < 0 ? in_.line_number() : line, problem);
  }

  // The atomic number of an element symbol that has free-atom data.
  int element(std::string_view symbol) const {
    const int z = atomic_number_of(symbol);
    if (z == 0) fail("\"" + std::string(symbol) + "\" is not an element symbol");
    if (z > atomic_data::kElementsWithData)
      fail("element " + std::string(element_symbol(z)) + " (atomic number " + std::to_string(z) +
           ") has no free-atom density; the data cover H to Xe");
    return z;
  }

  GeometryAtom atom(int z, std::string_view x, std::string_view y, std::string_view z_text,
                    const char* where) const {
    double p[3];
    const std::string_view text[3] = {x, y, z_text};
    for (int a = 0; a < 3; ++a) {
      if (!parse_number(trim(text[a]), p[a]))
        fail(std::string("\"") + std::string(trim(text[a])) + "\" is not a coordinate" + where);
      if (std::abs(p[a]) > kLargestCoordinate)
        fail("coordinate " + std::string(trim(text[a])) + " is beyond 100000 angstrom" + where);
    }
    return {z, p[0] / kBohrInAngstrom, p[1] / kBohrInAngstrom, p[2] / kBohrInAngstrom};
  }

  LineReader& in_;
};

}  // namespace

std::vector<GeometryAtom> read_xyz(LineReader& in) {
  GeometryParser p(in);
  std::string_view line;
  if (!in.next(line)) p.fail("the file is empty; an .xyz file starts with the atom count", 1);
  const auto count_words = words_of(line);
  long long count = -1;
  if (!count_words.empty()) {
    const std::string_view w = count_words[0];
    const auto [end, ec] = std::from_chars(w.data(), w.data() + w.size(), count);
    if (ec != std::errc() || end != w.data() + w.size()) count = -1;
  }
  if (count < 0 || count_words.size() != 1)
    p.fail("the first line must hold the number of atoms, and nothing else");
  if (count == 0) p.fail("the atom count is 0: no atoms");
  if (!in.next(line)) p.fail("end of file where the comment line should be", 2);

  std::vector<GeometryAtom> atoms;
  while (static_cast<long long>(atoms.size()) < count) {
    if (!in.next(line))
      p.fail("end of file after " + std::to_string(atoms.size()) + " atom lines; line 1 gives " +
                 std::to_string(count) + " atoms",
             in.line_number() + 1);
    const auto w = words_of(line);
    if (w.size() < 4)
      p.fail("an atom line needs an element symbol and x, y, z in angstrom" +
             std::string(w.empty() ? " (the line is blank)" : ""));
    atoms.push_back(p.atom(p.element(w[0]), w[1], w[2], w[3], " (x, y, z in angstrom)"));
  }
  while (in.next(line))
    if (!trim(line).empty())
      p.fail("more atom lines than the " + std::to_string(count) + " atoms that line 1 gives");
  return atoms;
}

std::vector<GeometryAtom> read_pdb(LineReader& in) {
  GeometryParser p(in);
  std::vector<GeometryAtom> atoms;
  std::string_view line;
  while (in.next(line)) {
    const std::string_view record = columns(line, 1, 6);
    if (record.starts_with("ENDMDL")) break;  // the first model only
    if (record != "ATOM  " && record != "HETATM")
      continue;
    const std::string_view alternate = columns(line, 17, 17);
    if (!alternate.empty() && alternate != " " && alternate != "A") continue;
    if (line.size() < 54) p.fail("an ATOM or HETATM record ends before its z coordinate (columns 47-54)");
    std::string_view symbol = trim(columns(line, 77, 78));
    if (symbol.empty()) {
      // From the atom name as PDB writes it: a one-letter element in column 14 (column 13
      // blank or a digit), a two-letter element in columns 13-14.
      const char c13 = line[12];
      symbol = (c13 == ' ' || (c13 >= '0' && c13 <= '9')) ? columns(line, 14, 14) : columns(line, 13, 14);
      symbol = trim(symbol);
      if (symbol.empty()) p.fail("no element in columns 77-78 and none in the atom name (columns 13-14)");
    }
    atoms.push_back(p.atom(p.element(symbol), columns(line, 31, 38), columns(line, 39, 46),
                           columns(line, 47, 54), " (columns 31-38, 39-46, 47-54)"));
  }
  if (atoms.empty()) p.fail("no ATOM or HETATM records", 0);
  return atoms;
}

}  // namespace qv
