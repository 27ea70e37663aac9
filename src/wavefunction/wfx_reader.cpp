#include "wavefunction/wfx_reader.hpp"

#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "gridio/fast_fields.hpp"
#include "gridio/stop.hpp"

namespace qv {

namespace {

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

bool is_comment_or_blank(std::string_view trimmed_line) {
  return trimmed_line.empty() || trimmed_line.front() == '#';
}

// A tag line holds "<Name>" or "</Name>" and nothing else. Writers differ in the blanks inside
// a name (Gaussian closes "<Energy = T + Vne + Vee + Vnn>" with "</Energy  = T + ...>"), so
// runs of blanks count as one.
struct Tag {
  bool closing = false;
  std::string name;
};

bool parse_tag(std::string_view trimmed_line, Tag& tag) {
  if (trimmed_line.size() < 3 || trimmed_line.front() != '<' || trimmed_line.back() != '>')
    return false;
  std::string_view inner = trimmed_line.substr(1, trimmed_line.size() - 2);
  tag.closing = !inner.empty() && inner.front() == '/';
  if (tag.closing) inner.remove_prefix(1);
  inner = trim(inner);
  tag.name.clear();
  for (char c : inner) {
    if (c == '<' || c == '>') return false;
    if (c == ' ' || c == '\t') {
      if (tag.name.back() != ' ') tag.name += ' ';
    } else {
      tag.name += c;
    }
  }
  return !tag.name.empty();
}

// The numbers of one section, with the line each stands on (for messages).
struct NumberList {
  long tag_line = 0;  // 0: the section was not in the file
  std::vector<double> values;
  std::vector<long> lines;  // per value
};

struct Orbital {
  long line;  // of its <MO Number> tag
  std::size_t first, count;  // its coefficients in the shared list
};

class WfxParser {
 public:
  WfxParser(LineReader& in, RunOutput& out) : in_(in), out_(out) {}

  WfnRecord read();

 private:
  // Sections read as numbers; the names are the tags of the format.
  std::map<std::string, NumberList, std::less<>> numbers_;
  std::vector<std::string> nuclear_names_;
  long names_line_ = 0;
  long coefficients_line_ = 0;
  std::vector<double> coefficients_;
  std::vector<Orbital> orbitals_;
  long edf_line_ = 0;

  [[noreturn]] void stop(long line, std::string_view tag, const std::string& message) {
    std::string text = in_.name();
    if (line > 0) text += " line " + std::to_string(line);
    if (!tag.empty()) text += (line > 0 ? ", <" : " <") + std::string(tag) + ">";
    out_.to_log(text + ": " + message + ", program stop");
    program_stop(1);
  }

  // The next line of a section; its end is an unclosed tag.
  std::string_view section_line(std::string_view tag, long tag_line) {
    std::string_view line;
    if (!in_.next(line))
      stop(tag_line, tag, "the tag is not closed: the file ends before </" + std::string(tag) + ">");
    return line;
  }

  bool is_number_section(std::string_view name) const;
  bool next_in_section(const std::string& name, long tag_line, std::string_view& line, Tag& tag);
  void first_time(long& seen_at, const std::string& name, long tag_line);
  void read_numbers(const std::string& name, long tag_line);
  void read_names(const std::string& name, long tag_line);
  void read_coefficients(const std::string& name, long tag_line);
  void read_container(const std::string& name, long tag_line);
  void skip_section(const std::string& name, long tag_line);
  void read_section(const std::string& name, long tag_line);

  // Appends the numbers of one content line; a token that is not a number, or one that is
  // not finite, stops the run.
  void scan_line(std::string_view line, std::string_view tag, std::vector<double>& values,
                 std::vector<long>* lines) {
    const char* p = line.data();
    const char* end = p + line.size();
    double v;
    while (true) {
      if (!scan_e_number(p, end, v)) {
        while (p < end && (*p == ' ' || *p == '\t' || *p == '\r')) ++p;
        if (p == end) return;
        const char* q = p;
        while (q < end && *q != ' ' && *q != '\t' && *q != '\r') ++q;
        stop(in_.line_number(), tag, "\"" + std::string(p, q) + "\" is not a number");
      }
      if (!std::isfinite(v)) stop(in_.line_number(), tag, number(v) + " is not a finite number");
      values.push_back(v);
      if (lines) lines->push_back(in_.line_number());
    }
  }

  static std::string number(double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.8G", v);
    return buf;
  }

  const NumberList& required(std::string_view tag) {
    const auto it = numbers_.find(tag);
    if (it == numbers_.end() || it->second.tag_line == 0)
      stop(0, tag, "this required section is missing");
    return it->second;
  }
  const NumberList* optional(std::string_view tag) const {
    const auto it = numbers_.find(tag);
    return it == numbers_.end() ? nullptr : &it->second;
  }

  // A count section: one whole number, zero or more.
  std::int64_t count(std::string_view tag) {
    const NumberList& list = required(tag);
    if (list.values.size() != 1)
      stop(list.tag_line, tag, "expected one number, found " + std::to_string(list.values.size()));
    return whole_number(list, 0, tag, 0, std::numeric_limits<std::int32_t>::max());
  }

  std::int32_t whole_number(const NumberList& list, std::size_t k, std::string_view tag,
                            std::int64_t low, std::int64_t high) {
    const double v = list.values[k];
    if (v != std::floor(v) || v < static_cast<double>(low) || v > static_cast<double>(high))
      stop(list.lines[k], tag,
           number(v) + " is not a whole number from " + std::to_string(low) + " to " +
               std::to_string(high));
    return static_cast<std::int32_t>(v);
  }

  // A primitive type: a whole number the evaluators know.
  std::int32_t primitive_type(const NumberList& list, std::size_t k, std::string_view tag) {
    const double v = list.values[k];
    if (v != std::floor(v) || v < 1 || v > kMaxPrimitiveType)
      stop(list.lines[k], tag,
           "primitive " + std::to_string(k + 1) + " has type " + number(v) +
               "; only types 1 to 56 (s, p, d, f, g and h functions) are supported");
    return static_cast<std::int32_t>(v);
  }

  // A required section of `expected` numbers (`what` names what they count, for the message).
  const NumberList& sized(std::string_view tag, std::int64_t expected, const std::string& what) {
    const NumberList& list = required(tag);
    if (static_cast<std::int64_t>(list.values.size()) != expected)
      stop(list.tag_line, tag,
           "holds " + std::to_string(list.values.size()) + " numbers where " + what + " make " +
               std::to_string(expected));
    return list;
  }

  // Centres (0-based) and types of primitives from their sections (tags `prefix` + "Primitive
  // Centers", ... ), every exponent checked; `label` names one primitive in messages.
  void check_primitives(const std::string& prefix, std::int64_t count, std::int64_t ncent,
                        std::vector<std::int32_t>& centre_list, std::vector<std::int32_t>& type_list,
                        const std::string& label) {
    const std::string what = "the " + label + "s";
    const NumberList& centres = sized(prefix + "Primitive Centers", count, what);
    const NumberList& types = sized(prefix + "Primitive Types", count, what);
    const NumberList& exponents = sized(prefix + "Primitive Exponents", count, what);
    for (std::size_t k = 0; k < centres.values.size(); ++k) {
      if (ncent == 0) stop(centres.lines[k], prefix + "Primitive Centers", "primitives but no nuclei");
      centre_list.push_back(whole_number(centres, k, prefix + "Primitive Centers", 1, ncent) - 1);
      type_list.push_back(primitive_type(types, k, prefix + "Primitive Types"));
      if (!(exponents.values[k] > 0.0))
        stop(exponents.lines[k], prefix + "Primitive Exponents",
             label + " " + std::to_string(k + 1) + " has exponent " + number(exponents.values[k]) +
                 "; exponents must be greater than zero");
    }
  }

  LineReader& in_;
  RunOutput& out_;
};

constexpr std::string_view kNumberSections[] = {
    "Number of Nuclei", "Number of Occupied Molecular Orbitals", "Number of Primitives",
    "Nuclear Charges", "Nuclear Cartesian Coordinates", "Primitive Centers", "Primitive Types",
    "Primitive Exponents", "Molecular Orbital Occupation Numbers", "Molecular Orbital Energies",
    "Number of EDF Primitives", "EDF Primitive Centers", "EDF Primitive Types",
    "EDF Primitive Exponents", "EDF Primitive Coefficients"};

constexpr std::string_view kEdfSection = "Additional Electron Density Function (EDF)";
constexpr std::string_view kCoefficientSection = "Molecular Orbital Primitive Coefficients";

bool WfxParser::is_number_section(std::string_view name) const {
  for (std::string_view s : kNumberSections)
    if (s == name) return true;
  return false;
}

// The next content line of section `name`, without its comments and blank lines: false at the
// section's closing tag. A tag line comes back with `tag` filled, other lines with an empty
// tag name.
bool WfxParser::next_in_section(const std::string& name, long tag_line, std::string_view& line,
                                Tag& tag) {
  while (true) {
    line = section_line(name, tag_line);
    const std::string_view t = trim(line);
    if (is_comment_or_blank(t)) continue;
    tag.name.clear();
    if (t.front() == '<' && parse_tag(t, tag)) {
      if (tag.closing && tag.name == name) return false;
    } else {
      tag.name.clear();
    }
    return true;
  }
}

void WfxParser::first_time(long& seen_at, const std::string& name, long tag_line) {
  if (seen_at != 0)
    stop(tag_line, name, "the section is given twice (first at line " + std::to_string(seen_at) + ")");
  seen_at = tag_line;
}

void WfxParser::read_numbers(const std::string& name, long tag_line) {
  NumberList& list = numbers_[name];
  first_time(list.tag_line, name, tag_line);
  std::string_view line;
  Tag tag;
  while (next_in_section(name, tag_line, line, tag)) {
    if (!tag.name.empty())
      stop(in_.line_number(), name,
           "the tag is not closed: <" + std::string(tag.closing ? "/" : "") + tag.name +
               "> comes before </" + name + ">");
    scan_line(line, name, list.values, &list.lines);
  }
}

void WfxParser::read_names(const std::string& name, long tag_line) {
  first_time(names_line_, name, tag_line);
  std::string_view line;
  Tag tag;
  while (next_in_section(name, tag_line, line, tag)) {
    if (!tag.name.empty()) stop(in_.line_number(), name, "the tag is not closed before <" + tag.name + ">");
    nuclear_names_.emplace_back(trim(line));
  }
}

// Per orbital a <MO Number> sub-section, then its coefficients up to the next tag.
void WfxParser::read_coefficients(const std::string& name, long tag_line) {
  first_time(coefficients_line_, name, tag_line);
  std::string_view line;
  Tag tag;
  while (next_in_section(name, tag_line, line, tag)) {
    if (tag.name.empty()) {
      if (orbitals_.empty()) stop(in_.line_number(), name, "coefficients before the first <MO Number>");
      scan_line(line, name, coefficients_, nullptr);
      orbitals_.back().count = coefficients_.size() - orbitals_.back().first;
      continue;
    }
    if (tag.closing) stop(in_.line_number(), name, "</" + tag.name + "> without its opening tag");
    if (tag.name != "MO Number") {
      skip_section(tag.name, in_.line_number());
      continue;
    }
    const long mo_line = in_.line_number();
    numbers_.erase("MO Number");
    read_numbers("MO Number", mo_line);
    const NumberList& mo = numbers_["MO Number"];
    if (mo.values.size() != 1)
      stop(mo_line, "MO Number", "expected one number, found " + std::to_string(mo.values.size()));
    whole_number(mo, 0, "MO Number", 1, std::numeric_limits<std::int32_t>::max());
    orbitals_.push_back({mo_line, coefficients_.size(), 0});
  }
}

// A section made of sub-sections (the EDF): each read by its own rules.
void WfxParser::read_container(const std::string& name, long tag_line) {
  first_time(edf_line_, name, tag_line);
  std::string_view line;
  Tag tag;
  while (next_in_section(name, tag_line, line, tag)) {
    if (tag.name.empty())
      stop(in_.line_number(), name, "text outside its sub-sections: \"" + std::string(trim(line)) + "\"");
    if (tag.closing) stop(in_.line_number(), name, "</" + tag.name + "> without its opening tag");
    read_section(tag.name, in_.line_number());
  }
}

// A section this program does not use: passed over up to its closing tag.
void WfxParser::skip_section(const std::string& name, long tag_line) {
  Tag tag;
  while (true) {
    const std::string_view t = trim(section_line(name, tag_line));
    if (!t.empty() && t.front() == '<' && parse_tag(t, tag) && tag.closing && tag.name == name)
      return;
  }
}

void WfxParser::read_section(const std::string& name, long tag_line) {
  if (is_number_section(name))
    read_numbers(name, tag_line);
  else if (name == "Nuclear Names")
    read_names(name, tag_line);
  else if (name == kCoefficientSection)
    read_coefficients(name, tag_line);
  else if (name == kEdfSection)
    read_container(name, tag_line);
  else
    skip_section(name, tag_line);
}

WfnRecord WfxParser::read() {
  std::string_view line;
  bool tags_seen = false;
  Tag tag;
  while (in_.next(line)) {
    const std::string_view t = trim(line);
    if (is_comment_or_blank(t)) continue;
    if (!(t.front() == '<' && parse_tag(t, tag))) {
      if (!tags_seen) continue;  // a preamble before the first tag (ORCA writes a warning there)
      stop(in_.line_number(), "", "\"" + std::string(t) + "\" stands outside every section");
    }
    tags_seen = true;
    if (tag.closing) stop(in_.line_number(), tag.name, "a closing tag without its opening tag");
    const std::string name = tag.name;
    read_section(name, in_.line_number());
  }
  if (!tags_seen) stop(0, "", "no .wfx section in the file");

  // Counts, then every section against them.
  const std::int64_t ncent = count("Number of Nuclei");
  const std::int64_t nmo = count("Number of Occupied Molecular Orbitals");
  const std::int64_t nprims = count("Number of Primitives");
  if (names_line_ == 0) stop(0, "Nuclear Names", "this required section is missing");
  if (static_cast<std::int64_t>(nuclear_names_.size()) != ncent)
    stop(names_line_, "Nuclear Names",
         "holds " + std::to_string(nuclear_names_.size()) + " names where <Number of Nuclei> is " +
             std::to_string(ncent));
  const NumberList& charges = sized("Nuclear Charges", ncent, "the nuclei");
  const NumberList& coords = sized("Nuclear Cartesian Coordinates", 3 * ncent, "three per nucleus");
  std::vector<std::int32_t> centre_list, type_list;
  check_primitives("", nprims, ncent, centre_list, type_list, "primitive");
  const NumberList& occupations = sized("Molecular Orbital Occupation Numbers", nmo, "the orbitals");
  const NumberList* energies = optional("Molecular Orbital Energies");
  if (energies) sized("Molecular Orbital Energies", nmo, "the orbitals");
  if (coefficients_line_ == 0) stop(0, kCoefficientSection, "this required section is missing");
  if (static_cast<std::int64_t>(orbitals_.size()) != nmo)
    stop(coefficients_line_, kCoefficientSection,
         "holds " + std::to_string(orbitals_.size()) +
             " orbitals where <Number of Occupied Molecular Orbitals> is " + std::to_string(nmo));
  for (const Orbital& mo : orbitals_)
    if (static_cast<std::int64_t>(mo.count) != nprims)
      stop(mo.line, "MO Number",
           "the orbital has " + std::to_string(mo.count) +
               " coefficients where <Number of Primitives> is " + std::to_string(nprims));

  WfnRecord rec;
  rec.centre_count = static_cast<std::int32_t>(ncent);
  rec.orbital_count = static_cast<std::int32_t>(nmo);
  rec.primitive_count = static_cast<std::int32_t>(nprims);
  for (std::int64_t a = 0; a < ncent; ++a) {
    std::string label = nuclear_names_[static_cast<std::size_t>(a)].substr(0, 8);
    label.resize(8, ' ');
    rec.centre_labels.push_back(label);
    rec.centre_x.push_back(coords.values[static_cast<std::size_t>(3 * a)]);
    rec.centre_y.push_back(coords.values[static_cast<std::size_t>(3 * a + 1)]);
    rec.centre_z.push_back(coords.values[static_cast<std::size_t>(3 * a + 2)]);
    rec.nuclear_charges.push_back(charges.values[static_cast<std::size_t>(a)]);
  }

  rec.occupations = occupations.values;
  rec.orbital_energies =
      energies ? energies->values : std::vector<double>(static_cast<std::size_t>(nmo), 0.0);
  sort_primitives(rec, centre_list, type_list, required("Primitive Exponents").values,
                  coefficients_);

  if (edf_line_ != 0) {
    const std::int64_t nedf = count("Number of EDF Primitives");
    check_primitives("EDF ", nedf, ncent, rec.edf_centre, rec.edf_type, "EDF primitive");
    rec.edf_exponent = required("EDF Primitive Exponents").values;
    rec.edf_coefficient = sized("EDF Primitive Coefficients", nedf, "the EDF primitives").values;
  }
  return rec;
}

}  // namespace

WfnRecord read_wfx(LineReader& in, RunOutput& out) { return WfxParser(in, out).read(); }

}  // namespace qv
