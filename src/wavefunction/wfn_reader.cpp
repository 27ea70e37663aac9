#include "wavefunction/wfn_reader.hpp"

#include <cmath>
#include <cstdio>
#include <limits>

#include "gridio/fast_fields.hpp"
#include "gridio/fixed_text.hpp"
#include "gridio/stop.hpp"
#include "gridio/text_error.hpp"

namespace qv {

namespace {

// Columns first..first+width-1 (1-based) of a line; a short line reads as blank-padded.
std::string_view field(std::string_view line, int first, int width) {
  const std::size_t start = static_cast<std::size_t>(first - 1);
  if (start >= line.size()) return {};
  return line.substr(start, static_cast<std::size_t>(width));
}

class WfnParser {
 public:
  WfnParser(LineReader& in, RunOutput& out) : in_(in), out_(out) {}

  std::string_view next_line(const char* expected) { return in_.require(expected); }

  // Integer field: blanks ignored, all blank is zero, optional sign then digits.
  std::int64_t integer(std::string_view f, const char* what) {
    std::int64_t value = 0;
    bool negative = false, sign_allowed = true, digits = false;
    for (char c : f) {
      if (c == ' ') continue;
      if ((c == '+' || c == '-') && sign_allowed) {
        negative = c == '-';
        sign_allowed = false;
      } else if (c >= '0' && c <= '9') {
        sign_allowed = false;
        digits = true;
        if (value > 100000000000LL) fail(what);
        value = value * 10 + (c - '0');
      } else {
        fail(what);
      }
    }
    if (!digits && !sign_allowed) fail(what);  // a lone sign
    return negative ? -value : value;
  }

  double real(std::string_view f, int d, const char* what) {
    double v = 0.0;
    if (!parse_real_field(f, d, v)) fail(what);
    return v;
  }

  // The next line, which must start with `head` (the word every line of its kind starts with).
  std::string_view headed_line(std::string_view head, const char* what) {
    const std::string_view line = next_line(what);
    if (!line.starts_with(head))
      stop("expected " + std::string(what) + ", a line starting with \"" + std::string(head) +
           "\"; this is not the .wfn layout");
    return line;
  }

  // `count` integers in I3 fields from column 21, 20 per line, each line starting with `head`.
  std::vector<std::int32_t> integer_list(std::int64_t count, std::string_view head,
                                         const char* what) {
    std::vector<std::int32_t> values;
    while (static_cast<std::int64_t>(values.size()) < count) {
      std::string_view line = headed_line(head, what);
      for (int q = 0; q < 20 && static_cast<std::int64_t>(values.size()) < count; ++q)
        values.push_back(static_cast<std::int32_t>(integer(field(line, 21 + 3 * q, 3), what)));
    }
    return values;
  }

  // `count` reals in fields of `width` columns from column `first`, `per_line` per line; each
  // line starts with `head` unless it is empty.
  void real_list(std::int64_t count, int first, int width, int d, int per_line,
                 std::string_view head, const char* what, std::vector<double>& values) {
    std::int64_t done = 0;
    while (done < count) {
      std::string_view line = head.empty() ? next_line(what) : headed_line(head, what);
      for (int q = 0; q < per_line && done < count; ++q, ++done) {
        const double v = real(field(line, first + width * q, width), d, what);
        if (!std::isfinite(v)) bad_value(what, v);
        values.push_back(v);
      }
    }
  }

  [[noreturn]] void fail(const char* what) {
    throw TextError(in_.name(), in_.line_number(), what);
  }

  // Content that reads well but cannot be evaluated: a run-log line, then the run stops.
  [[noreturn]] void stop(const std::string& message) { stop_at(in_.line_number(), message); }
  [[noreturn]] void stop_at(long line, const std::string& message) {
    out_.to_log(in_.name() + " line " + std::to_string(line) + ": " + message + ", program stop");
    program_stop(1);
  }

  [[noreturn]] void bad_value(const char* what, double v) {
    stop(std::string(what) + " " + number(v) + " is not a finite number");
  }

  static std::string number(double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.8G", v);
    return buf;
  }

  LineReader& in_;
  RunOutput& out_;
};

bool is_counts_line(std::string_view line) {
  return line.find("MOL ORBITALS") != std::string_view::npos &&
         line.find("PRIMITIVES") != std::string_view::npos &&
         line.find("NUCLEI") != std::string_view::npos;
}

// GAMESS punch files hold a .wfn between these marker lines, after the rest of the run.
constexpr std::string_view kGamessAimpacMarker = "TOP OF INPUT FILE FOR BADER'S AIMPAC PROGRAM";

// Returns the counts line. A file whose second line is not one is refused, unless a GAMESS
// marker line, a title and a counts line follow later on: that part is then read.
std::string find_counts_line(LineReader& in, WfnParser& p) {
  p.next_line("a title line");
  std::string before_previous, previous;
  std::string line(p.next_line("the line of orbital, primitive and centre counts"));
  if (is_counts_line(line)) return line;
  const long second_line = in.line_number();
  std::string_view next;
  while (in.next(next)) {
    before_previous = std::move(previous);
    previous = std::move(line);
    line = std::string(next);
    if (!is_counts_line(line)) continue;
    if (before_previous.find(kGamessAimpacMarker) != std::string::npos) {
      p.out_.to_log(in.name() + ": a GAMESS output; its .wfn part from line " +
                    std::to_string(in.line_number() - 1) + " is read");
      return line;
    }
    p.stop_at(second_line,
              "not the .wfn line of orbital, primitive and centre counts; a .wfn part seems to "
              "start at line " + std::to_string(in.line_number() - 1) + ": cut the file there");
  }
  p.stop_at(second_line,
            "not the .wfn line of orbital, primitive and centre counts (\"MOL ORBITALS\", "
            "\"PRIMITIVES\", \"NUCLEI\"): this is not a .wfn file");
}

}  // namespace

WfnRecord read_wfn(LineReader& in, RunOutput& out) {
  WfnParser p(in, out);
  WfnRecord rec;
  // The counts stand right-aligned in wide fields; writers differ in how wide.
  const std::string counts_line = find_counts_line(in, p);
  const std::string_view counts = counts_line;
  const std::int64_t nmo = p.integer(field(counts, 9, 15), "the number of orbitals (columns 9-23)");
  const std::int64_t nprims =
      p.integer(field(counts, 37, 7), "the number of primitives (columns 37-43)");
  const std::int64_t ncent =
      p.integer(field(counts, 55, 9), "the number of centres (columns 55-63)");
  if (nmo < 0 || nprims < 0 || ncent < 0)
    p.stop("negative count of orbitals, primitives or centres");
  if (nmo > std::numeric_limits<std::int32_t>::max() ||
      nprims > std::numeric_limits<std::int32_t>::max() ||
      ncent > std::numeric_limits<std::int32_t>::max())
    p.stop("count of orbitals, primitives or centres too large");
  rec.orbital_count = static_cast<std::int32_t>(nmo);
  rec.primitive_count = static_cast<std::int32_t>(nprims);
  rec.centre_count = static_cast<std::int32_t>(ncent);

  // Atom lines: the label in line order, the position and charge at the centre's own number.
  // The arrays grow only as lines are read, so a huge count in a short file ends at its end.
  std::vector<char> seen;  // per centre number: given by an earlier atom line
  for (std::int64_t a = 0; a < ncent; ++a) {
    const std::string_view line = p.next_line("an atom line");
    if (field(line, 13, 7) != "(CENTRE" || field(line, 63, 6) != "CHARGE")
      p.stop("expected an atom line, with \"(CENTRE\" in columns 13-19 and \"CHARGE\" in columns "
             "63-68; this is not the .wfn layout");
    std::string label(field(line, 1, 8));
    label.resize(8, ' ');
    rec.centre_labels.push_back(label);
    const std::int64_t na = p.integer(field(line, 20, 3), "a centre number (columns 20-22)");
    if (na < 1 || na > ncent)
      p.stop("centre number " + std::to_string(na) + " is outside 1 to " + std::to_string(ncent));
    const std::size_t c = static_cast<std::size_t>(na - 1);
    if (rec.centre_x.size() <= c) {
      rec.centre_x.resize(c + 1, 0.0);
      rec.centre_y.resize(c + 1, 0.0);
      rec.centre_z.resize(c + 1, 0.0);
      rec.nuclear_charges.resize(c + 1, 0.0);
      seen.resize(c + 1, 0);
    }
    if (seen[c]) p.stop("centre number " + std::to_string(na) + " is given twice");
    seen[c] = 1;
    const double x = p.real(field(line, 25, 12), 8, "an x coordinate (columns 25-36)");
    const double y = p.real(field(line, 37, 12), 8, "a y coordinate (columns 37-48)");
    const double z = p.real(field(line, 49, 12), 8, "a z coordinate (columns 49-60)");
    const double q = p.real(field(line, 71, 5), 1, "a nuclear charge (columns 71-75)");
    for (double v : {x, y, z, q})
      if (!std::isfinite(v)) p.bad_value("atom value", v);
    rec.centre_x[c] = x;
    rec.centre_y[c] = y;
    rec.centre_z[c] = z;
    rec.nuclear_charges[c] = q;
  }
  rec.centre_x.resize(static_cast<std::size_t>(ncent), 0.0);
  rec.centre_y.resize(static_cast<std::size_t>(ncent), 0.0);
  rec.centre_z.resize(static_cast<std::size_t>(ncent), 0.0);
  rec.nuclear_charges.resize(static_cast<std::size_t>(ncent), 0.0);

  std::vector<std::int32_t> centres = p.integer_list(nprims, "CENTRE ASSIGNMENTS", "centre assignments (I3 fields)");
  for (std::size_t k = 0; k < centres.size(); ++k) {
    if (centres[k] < 1 || centres[k] > ncent)
      p.stop("primitive " + std::to_string(k + 1) + " has centre number " +
             std::to_string(centres[k]) + ", outside 1 to " + std::to_string(ncent));
    centres[k] -= 1;
  }
  const std::vector<std::int32_t> types =
      p.integer_list(nprims, "TYPE ASSIGNMENTS", "type assignments (I3 fields)");
  for (std::size_t k = 0; k < types.size(); ++k)
    if (types[k] < 1 || types[k] > kMaxPrimitiveType)
      p.stop("primitive " + std::to_string(k + 1) + " has type " + std::to_string(types[k]) +
             "; only types 1 to 56 (s, p, d, f, g and h functions) are supported");
  std::vector<double> exponents;
  p.real_list(nprims, 11, 14, 7, 5, "EXPONENTS", "exponents (E14.7 fields)", exponents);
  for (std::size_t k = 0; k < exponents.size(); ++k)
    if (!(exponents[k] > 0.0))
      p.stop("primitive " + std::to_string(k + 1) + " has exponent " +
             WfnParser::number(exponents[k]) + "; exponents must be greater than zero");

  std::vector<double> coefs;
  for (std::int64_t m = 0; m < nmo; ++m) {
    const std::string_view head = p.headed_line("MO", "an orbital header line");
    if (head.find("OCC NO") == std::string_view::npos)
      p.stop("expected an orbital header line, holding \"OCC NO\"; this is not the .wfn layout");
    const double occ = p.real(field(head, 36, 12), 8, "an occupation number (columns 36-47)");
    const double energy = p.real(field(head, 63, 12), 8, "an orbital energy (columns 63-74)");
    if (!std::isfinite(occ)) p.bad_value("occupation number", occ);
    rec.occupations.push_back(occ);
    rec.orbital_energies.push_back(energy);
    p.real_list(nprims, 1, 16, 8, 5, "", "orbital coefficients (E16.8 fields)", coefs);
  }
  p.headed_line("END DATA", "the line after the last orbital");
  // The energy line's wording differs between programs and its values are not used: it is
  // passed over as text, and may be missing.
  std::string_view energy_line;
  in.next(energy_line);

  sort_primitives(rec, centres, types, exponents, coefs);
  return rec;
}

WfnRecord read_wfn_file(const std::string& wavefunction_file, RunOutput& out) {
  auto in = LineReader::open(trimmed(wavefunction_file));
  if (!in) {
    out.to_log(ListLine()
                   .text(left_adjust(wavefunction_file, 33))
                   .text(" file cannot be opened, program stop"));
    program_stop(1);
  }
  return read_wfn(*in, out);
}

}  // namespace qv
