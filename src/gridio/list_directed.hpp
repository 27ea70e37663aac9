#pragma once
// Free-form (list-directed) lines. Written lines begin with one blank; items are separated by
// one blank except that two text items in a row are joined. A 4-byte integer takes 11 columns;
// a 4-byte real takes 15 (fixed point with 8 significant digits in 11 columns plus 4 blanks
// when 0.1 <= |x| < 1e8 after rounding, or zero; otherwise d.dddddddddE+xx in 15 columns).
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace qv {

class TextOutput;

class ListLine {
 public:
  ListLine& text(std::string_view s);
  ListLine& i4(std::int32_t v);
  ListLine& r4(float v);
  // The line without its line feed (it starts with the one blank).
  const std::string& str() const { return line_; }
  // Writes the line and a line feed.
  void write_to(TextOutput& out) const;

 private:
  enum class Last { None, Text, Number };
  std::string line_ = " ";
  Last last_ = Last::None;
};

// Renders one 4-byte real as the 15 list-directed columns.
std::string list_real4(float v);
// Renders one 4-byte integer as the 11 list-directed columns.
std::string list_int4(std::int32_t v);

// Outcome of a list-directed read of a text piece taken as one whole record.
enum class ListStatus {
  Ok,     // every target received a value (or was left unchanged by a "/" or null value)
  End,    // the record ended before every target was filled; the ones read keep their values
  Error,  // an item is not a valid value of its target's type; the ones before it keep theirs
};

ListStatus list_read(std::string_view piece, std::span<float> out);
ListStatus list_read(std::string_view piece, std::span<double> out);
ListStatus list_read(std::string_view piece, std::span<std::int32_t> out);

}  // namespace qv
