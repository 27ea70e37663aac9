#include <array>
#include <string>

#include "driver/run_summary.hpp"
#include "gridio/fixed_text.hpp"
#include "gridio/format.hpp"
#include "gridio/list_directed.hpp"

namespace qv {

namespace {

void list_line(TextOutput& log, std::string_view text) { ListLine().text(text).write_to(log); }
void empty_lines(TextOutput& log, int n) {
  for (int i = 0; i < n; ++i) ListLine().write_to(log);
}

// One symmetry operation as "+x+0.50,+y,+z,": pieces without line end, so the line is ended by
// the next operation's first write or by the empty write after the last one.
void write_operation(const TopSettings& top, std::size_t i, TextOutput& log) {
  static const Format kOneChar("(A1)");
  static const Format kLetters[3] = {Format("(A2)"), Format("(A4)"), Format("(A6)")};
  static const Format kTranslation("(A1,F4.2)");
  kOneChar.write(log, std::array<OutItem, 1>{std::string_view()});
  for (std::size_t j = 0; j < 3; ++j) {
    std::string letters;
    for (std::size_t a = 0; a < 3; ++a) {
      const int c = top.rotations[i][a][j];
      if (c == 0) continue;
      letters += c > 0 ? '+' : '-';
      letters += "xyz"[a];
    }
    if (letters.empty())
      list_line(log, "TOPOND SECTION, SYMMETRY OPERATION:problem in the reading process....");
    else
      kLetters[letters.size() / 2 - 1].write(log, std::array<OutItem, 1>{std::string_view(letters)},
                                             false);
    const double t = top.translations[i][j];
    if (t > 0)
      kTranslation.write(log, std::array<OutItem, 2>{std::string_view("+"), t}, false);
    else if (t < 0)
      kTranslation.write(log, std::array<OutItem, 2>{std::string_view("-"), -t}, false);
    kOneChar.write(log, std::array<OutItem, 1>{std::string_view(",")}, false);
  }
}

}  // namespace

void write_top_summary(const TopSettings& top, TextOutput& log) {
  const std::string bangs(61, '!');
  empty_lines(log, 4);
  list_line(log, bangs);
  list_line(log, "!!!!!!!!!!!!!!!TOPOND TO CUBE CONVERSION!!!!!!!!!!!!!!!!!!!!!");
  list_line(log, bangs);
  empty_lines(log, 2);
  ListLine()
      .i4(top.grid_count)
      .text(" file(s) will converted from topond format to cube format.")
      .write_to(log);
  empty_lines(log, 1);

  for (int g = 0; g < 3; ++g) {
    if (top.grid_count >= g + 1) {
      ListLine().text(top.topond_grids[g]).text("  grid file read as input").write_to(log);
      ListLine()
          .text("name of the written cube file:   ")
          .text(trimmed(top.cube_stems[g]))
          .text(".cube")
          .write_to(log);
    }
    if (g < 2) empty_lines(log, 1);  // after the first two slots, whatever grid_count is
  }

  empty_lines(log, 1);
  list_line(log, "ATOMS WRITTEN IN THE CUBE FILE(S):");
  empty_lines(log, 1);
  ListLine()
      .text(top.crystal_output)
      .text("    file read from crystal(atomic coordinates)")
      .write_to(log);
  empty_lines(log, 1);
  list_line(log, "atomic coordinates in the output cube file generated ");
  list_line(log, "by applying the following symmetry operation(s):");
  for (std::size_t i = 0; i < top.rotations.size(); ++i) write_operation(top, i, log);
  empty_lines(log, 1);
}

}  // namespace qv
