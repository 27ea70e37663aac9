#include "driver/input_cursor.hpp"

#include <algorithm>

#include "gridio/list_directed.hpp"
#include "gridio/text_error.hpp"

namespace qv {

std::string input_record(std::string_view line, std::size_t keep) {
  std::string record;
  record.reserve(50);
  for (char c : line) {
    if (record.size() >= keep) break;
    if (c == '\t') {
      record.resize(std::min<std::size_t>((record.size() / 8 + 1) * 8, keep), ' ');
    } else {
      record += c;
    }
  }
  record.resize(50, ' ');
  return record;
}

std::optional<std::string> InputCursor::find(std::string_view keyword, std::size_t keep) {
  std::string_view line;
  while (in_.next(line)) {
    if (keyword.size() > keep) continue;
    std::string record = input_record(line, keep);
    if (std::string_view(record).substr(0, keyword.size()) == keyword) return record;
  }
  return std::nullopt;
}

std::string InputCursor::find_or_fail(std::string_view keyword, std::size_t keep) {
  auto record = find(keyword, keep);
  if (!record)
    throw TextError(in_.name(), in_.line_number() + 1,
                    "end of file; expected a line beginning with \"" + std::string(keyword) + "\"");
  return *record;
}

std::string_view columns(const std::string& record, int first, int last) {
  if (first < 1) first = 1;
  if (last > static_cast<int>(record.size())) last = static_cast<int>(record.size());
  if (last < first) return {};
  return std::string_view(record).substr(first - 1, last - first + 1);
}

bool has_marker(const std::string& record, int first_k, int last_k, std::string_view word) {
  for (int k = first_k; k <= last_k && k <= static_cast<int>(record.size()); ++k) {
    if (record[k - 1] != '*') continue;
    if (std::string_view(record).substr(k, word.size()) == word) return true;
  }
  return false;
}

namespace {
template <typename T>
void read_or_fail(const InputCursor& cursor, const std::string& record, int first, int last,
                  std::span<T> out) {
  if (list_read(columns(record, first, last), out) != ListStatus::Ok)
    throw TextError(cursor.file_name(), cursor.line_number(),
                    "a bad or missing number in columns " + std::to_string(first) + " to " +
                        std::to_string(last));
}
}  // namespace

void read_numbers_or_fail(const InputCursor& cursor, const std::string& record, int first,
                          int last, std::span<float> out) {
  read_or_fail(cursor, record, first, last, out);
}
void read_numbers_or_fail(const InputCursor& cursor, const std::string& record, int first,
                          int last, std::span<std::int32_t> out) {
  read_or_fail(cursor, record, first, last, out);
}

}  // namespace qv
