#include <cstdint>

#include "driver/block_readers.hpp"
#include "gridio/list_directed.hpp"
#include "gridio/stop.hpp"
#include "topond/symmetry_text.hpp"

namespace qv {

namespace {

[[noreturn]] void stop_on_missing_line(RunOutput& out, const char* code) {
  out.to_screen(code);
  for (const char* text : {"TOPOND FILE CONVERSION SECTION: PROBLEM IN READING THE INPUT!!!!",
                           "THE TEMPLATE MIGHT HAVE BEEN MODIFIED, PROGRAM STOP"}) {
    out.to_log(text);
    out.to_screen(text);
  }
  program_stop(1);
}

// The keyword line, or the block's stop with `code` when the file ends first.
std::string find_or_stop(InputCursor& cursor, RunOutput& out, std::string_view keyword,
                         const char* code) {
  auto record = cursor.find(keyword);
  if (!record) stop_on_missing_line(out, code);
  return *record;
}

// The operations are grown one line at a time; a count that could never fit in memory is refused
// before any line is read.
void check_operation_count(std::int32_t symmetry_count) {
  const std::size_t per_operation =
      sizeof(std::array<std::array<int, 3>, 3>) + sizeof(std::array<double, 3>);
  if (symmetry_count > 0 &&
      static_cast<std::size_t>(symmetry_count) * per_operation > available_memory_bytes())
    throw OutOfMemory("out of memory: " + std::to_string(symmetry_count) +
                      " symmetry operations need more memory than is available");
}

}  // namespace

void read_top_block(InputCursor& cursor, RunOutput& out, TopSettings& top) {
  find_or_stop(cursor, out, "TOPOND TO CUBE CONVERSION", "err topo0");

  const std::string grids = find_or_stop(cursor, out, "N_OF_GRIDS", "err topo1");
  std::int32_t grid_count = top.grid_count;
  if (list_read(columns(grids, 12, 50), std::span<std::int32_t>(&grid_count, 1)) == ListStatus::Ok)
    top.grid_count = grid_count;
  else
    out.to_log(
        "TOPOND FILE CONVERSION SECTION: problem in reading the number of input grid files");
  if (top.grid_count > 3)
    out.to_log(ListLine()
                   .text("TOPOND FILE CONVERSION SECTION: number of grid files greater than 3.")
                   .text(" Only first three files will be converted"));

  static const char* const kGridCodes[3][2] = {
      {"err topo2_1a", "err topo2_1b"}, {"err topo2_2a", "err topo2_2b"},
      {"err topo2_3a", "err topo2_3b"}};
  for (int g = 0; g < 3 && g < top.grid_count; ++g) {
    const std::string name = find_or_stop(cursor, out, "GRID_FILE_NAME", kGridCodes[g][0]);
    top.topond_grids[g] = left_adjust(columns(name, 16, 45), 30);
    const std::string cube = find_or_stop(cursor, out, "CUBE_NAME(OUTPUT)", kGridCodes[g][1]);
    // The first two output names take 22 columns, the third 30.
    top.cube_stems[g] = left_adjust(columns(cube, 19, g < 2 ? 40 : 48), 30);
  }

  const std::string crystal = find_or_stop(cursor, out, "CRYSTAL_OUTPUT_NAME", "err topo3");
  top.crystal_output = left_adjust(columns(crystal, 21, 50), 30);

  const std::string symm = find_or_stop(cursor, out, "N_OF_SYMM_OPERATIONS", "err topo4");
  read_numbers_or_fail(cursor, symm, 22, 50, std::span<std::int32_t>(&top.symmetry_count, 1));

  check_operation_count(top.symmetry_count);
  top.rotations.clear();
  top.translations.clear();
  for (std::int32_t i = 0; i < top.symmetry_count; ++i) {
    const std::string line = cursor.find_or_fail("SYMM");
    const std::string_view text = columns(line, 5, 44);
    SymmetryOperation op;
    if (parse_symmetry_text(text, cursor.file_name(), cursor.line_number(), op) ==
        SymmetryParse::ZeroDenominator) {
      const std::string message =
          "TOPOND FILE CONVERSION SECTION: symmetry operation \"" +
          trimmed(left_adjust(text, 40)) + "\" (" + cursor.file_name() + ", line " +
          std::to_string(cursor.line_number()) +
          ") holds a fraction with a zero denominator, PROGRAM STOP";
      out.to_log(message);
      out.to_screen(message);
      program_stop(1);
    }
    top.rotations.push_back(op.rotation);
    top.translations.push_back(op.translation);
  }
}

}  // namespace qv
