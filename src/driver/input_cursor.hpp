#pragma once
// Forward-only keyword search over the input file, and the column helpers shared by the block
// readers. Every line is taken as a record of 50 columns (cut or blank-padded); columns are
// counted from 1 as users see them.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "gridio/line_reader.hpp"

namespace qv {

class InputCursor {
 public:
  explicit InputCursor(LineReader& in) : in_(in) {}

  // Reads lines until one whose first columns equal `keyword` (exact, case-sensitive); returns
  // that line as a 50-column record, or nothing at end of file. `keep` columns of each line are
  // kept (45 for the RDG block header), the rest of the 50 are blanks.
  std::optional<std::string> find(std::string_view keyword, std::size_t keep = 50);
  // As find(), but end of file is a failure of the file layer (TextError, exit status 2).
  std::string find_or_fail(std::string_view keyword, std::size_t keep = 50);

  LineReader& reader() { return in_; }
  const std::string& file_name() const { return in_.name(); }
  long line_number() const { return in_.line_number(); }  // of the last line read

 private:
  LineReader& in_;
};

// A line of the input file as a 50-column record: its first `keep` columns, blank-padded to 50.
// A tab advances to the next multiple of 8 columns, as text editors show it.
std::string input_record(std::string_view line, std::size_t keep = 50);

// Columns first..last (1-based, inclusive) of a 50-column record.
std::string_view columns(const std::string& record, int first, int last);

// True when some column k in [first_k, last_k] holds '*' and the columns after it spell `word`.
bool has_marker(const std::string& record, int first_k, int last_k, std::string_view word);

// Free-format numbers from columns first..last of the line just found; a failed read is a
// failure of the file layer naming the input file, the line and the columns.
void read_numbers_or_fail(const InputCursor& cursor, const std::string& record, int first,
                          int last, std::span<float> out);
void read_numbers_or_fail(const InputCursor& cursor, const std::string& record, int first,
                          int last, std::span<std::int32_t> out);

}  // namespace qv
