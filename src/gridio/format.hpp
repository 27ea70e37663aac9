#pragma once
// Format strings such as "(I5,4F12.6)": parsed once, then used to write and read line sets.
// Descriptors: Iw, Fw.d, Ew.d, ESw.d, Aw, A, nX, "/", repeat counts and nested groups, with
// reversion to the last top-level group when items remain at the closing parenthesis.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace qv {

class LineReader;
class TextOutput;

// One item written by a format: an integer, a real (4-byte reals are widened exactly), or text.
using OutItem = std::variant<std::int64_t, double, std::string_view>;

// Fixed-length text target of an A read: receives `width` characters (blank-padded).
struct TextTarget {
  std::string* text;
  std::size_t width;
};
// One item read by a format.
using InItem = std::variant<std::int32_t*, float*, double*, TextTarget>;

class Format {
 public:
  // Parses a format string; raises std::invalid_argument when it is malformed (a programming
  // error: formats are constants of the program or built from a digit).
  explicit Format(std::string_view text);

  const std::string& text() const { return text_; }

  // Writes the items; returns the text of the line set without the final line feed (an
  // advancing write adds it, a write with no line end does not). Lines inside are '\n'-separated.
  std::string write(std::span<const OutItem> items) const;
  // Appends the line set to `out`; `advance` ends the last line with a line feed.
  void write(TextOutput& out, std::span<const OutItem> items, bool advance = true) const;

  // Reads the items starting at the next line of `in`; the rest of the last line is passed over.
  // Raises TextError (file, line, what was expected) on a malformed field or end of file.
  void read(LineReader& in, std::span<const InItem> items) const;
  // Reads from one given line, as an internal file of one record; `file` and `line` name it
  // in errors. A "/" or reversion that needs a further line raises TextError.
  void read_line(std::string_view line, std::span<const InItem> items, const std::string& file,
                 long line_no) const;

  struct Node;  // parsed descriptor tree (internal)
  // The parsed top-level items.
  const std::vector<Node>& nodes() const { return nodes_; }

 private:
  std::string text_;
  std::vector<Node> nodes_;  // top-level items
};

// One parsed item: a descriptor with its repeat count, or a group of items.
struct Format::Node {
  enum class Kind : unsigned char { I, F, E, ES, A, X, Slash, Group };
  Kind kind = Kind::X;
  int repeat = 1;
  int w = 0;  // field width; -1 for A without width; column count for X
  int d = 0;  // digits after the point (F, E, ES)
  std::vector<Node> children;  // Group only
};

}  // namespace qv
