#include "topond/symmetry_text.hpp"

#include <algorithm>
#include <cstdint>
#include <span>

#include "gridio/list_directed.hpp"
#include "gridio/text_error.hpp"

namespace qv {

namespace {

constexpr std::size_t kTextWidth = 40;

bool is_digit(char c) { return c >= '0' && c <= '9'; }

int axis_of(char c) {
  switch (c) {
    case 'X': case 'x': return 0;
    case 'Y': case 'y': return 1;
    case 'Z': case 'z': return 2;
    default: return -1;
  }
}

// The text as 1-based positions 1..40, blank beyond its end.
class Text {
 public:
  explicit Text(std::string_view t) : t_(t.substr(0, kTextWidth)) {}
  char at(int pos) const {
    return pos >= 1 && pos <= static_cast<int>(t_.size()) ? t_[pos - 1] : ' ';
  }
  // Positions first..last as a piece (never beyond the text).
  std::string_view piece(int first, int last) const {
    const int end = std::min(last, static_cast<int>(t_.size()));
    if (first < 1 || end < first) return {};
    return t_.substr(first - 1, end - first + 1);
  }
  int last_non_blank() const {
    for (int p = static_cast<int>(t_.size()); p >= 1; --p)
      if (t_[p - 1] != ' ') return p;
    return 0;
  }

 private:
  std::string_view t_;
};

class ComponentReader {
 public:
  ComponentReader(const Text& text, int last, const std::string& file, long line)
      : text_(text), last_(last), file_(file), line_(line) {}

  // Reads the number whose first digit is at k, within a component ending at e; stores it in
  // `value` when one is found. Returns false on a zero denominator.
  bool read_number(int k, int e, int j, double& value) const {
    bool stored = false;
    for (int m = k; m <= e && !stored; ++m) {
      const char c = text_.at(m);
      if (is_digit(c)) {
        if (m == e) value = real(k, e), stored = true;
      } else if (c == '+' || c == '-' || c == ',') {
        value = real(k, m - 1), stored = true;
      } else if (c == '.') {
        for (int q = m + 1; q <= e; ++q) {
          if (!is_digit(text_.at(q))) {
            value = real(k, q - 1), stored = true;
            break;
          }
          if (q == last_) {
            value = real(k, e), stored = true;
            break;
          }
        }
        break;  // a decimal number ends the reading, stored or not
      } else if (c == '/') {
        if (m + 1 > e) break;
        const std::int32_t numerator = integer(k, m - 1);
        int q = m + 1;
        bool found = false;
        std::int32_t denominator = 0;
        for (; q <= e; ++q) {
          if (!is_digit(text_.at(q))) {
            denominator = integer(m + 1, q - 1), found = true;
            break;
          }
          if (q == last_) {
            denominator = integer(m + 1, e), found = true;
            break;
          }
        }
        if (!found) break;
        if (denominator == 0) return false;
        // The quotient is formed in single precision, then widened.
        value =
            static_cast<double>(static_cast<float>(numerator) / static_cast<float>(denominator));
        stored = true;
        break;
      } else if (j == 3 && m == last_) {
        // A whole number that ends the text, followed by some separator character.
        value = real(k, m), stored = true;
      }
    }
    if (stored && text_.at(k - 1) == '-') value = -value;
    return true;
  }

 private:
  double real(int first, int last) const {
    double v = 0.0;
    read(first, last, std::span<double>(&v, 1), "a number");
    return v;
  }
  std::int32_t integer(int first, int last) const {
    std::int32_t v = 0;
    read(first, last, std::span<std::int32_t>(&v, 1), "a whole number");
    return v;
  }
  template <typename T>
  void read(int first, int last, std::span<T> out, const char* what) const {
    // Control characters (a stray carriage return) separate like blanks.
    std::string piece(text_.piece(first, last));
    for (char& c : piece)
      if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    if (list_read(piece, out) != ListStatus::Ok)
      throw TextError(file_, line_,
                      std::string(what) + " in the symmetry operation, found \"" + piece + "\"");
  }

  const Text& text_;
  int last_;
  const std::string& file_;
  long line_;
};

}  // namespace

SymmetryParse parse_symmetry_text(std::string_view raw, const std::string& file, long line,
                                  SymmetryOperation& out) {
  out = SymmetryOperation{};
  const Text text(raw);
  const int last = text.last_non_blank();
  const ComponentReader reader(text, last, file, line);
  int s = 1;
  for (int j = 1; j <= 3; ++j) {
    if (s > last) continue;  // empty component
    int e;
    if (s == last || text.at(s) == ',') {
      e = s;
    } else {
      e = last;  // a comma in the last position separates nothing
      for (int p = s + 1; p <= last - 1; ++p)
        if (text.at(p) == ',') {
          e = p;
          break;
        }
    }
    bool translation_taken = false;
    for (int k = s; k <= e; ++k) {
      const char c = text.at(k);
      const int axis = axis_of(c);
      if (axis >= 0) {
        const char before = text.at(k - 1);
        if (k == s || before == '+' || before == ' ')
          out.rotation[axis][j - 1] = 1;
        else if (before == '-')
          out.rotation[axis][j - 1] = -1;
      } else if (is_digit(c) && !translation_taken) {
        if (!reader.read_number(k, e, j, out.translation[j - 1]))
          return SymmetryParse::ZeroDenominator;
        translation_taken = true;
      }
    }
    s = e + 1;
  }
  return SymmetryParse::Ok;
}

}  // namespace qv
