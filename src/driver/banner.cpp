#include "driver/banner.hpp"

#include "gridio/list_directed.hpp"

namespace qv {

namespace {

constexpr int kWidth = 95;

// Seven rows of each letter of the name; '#' is drawn with the letter itself.
struct Glyph {
  char letter;
  const char* rows[7];
};
constexpr Glyph kGlyphs[] = {
    {'Q', {" #### ", "#    #", "#    #", "#    #", "#  # #", "#   # ", " ### #"}},
    {'U', {"#    #", "#    #", "#    #", "#    #", "#    #", "#    #", " #### "}},
    {'E', {"######", "#     ", "#     ", "##### ", "#     ", "#     ", "######"}},
    {'L', {"#     ", "#     ", "#     ", "#     ", "#     ", "#     ", "######"}},
    {'V', {"#    #", "#    #", "#    #", "#    #", " #  # ", " #  # ", "  ##  "}},
    {'A', {"  ##  ", " #  # ", "#    #", "######", "#    #", "#    #", "#    #"}},
    {'R', {"##### ", "#    #", "#    #", "##### ", "#  #  ", "#   # ", "#    #"}},
    {'I', {"######", "  ##  ", "  ##  ", "  ##  ", "  ##  ", "  ##  ", "######"}},
    {'N', {"#    #", "##   #", "# #  #", "#  # #", "#   ##", "#    #", "#    #"}},
};

std::string framed_drawing_row(int row) {
  std::string drawing;
  for (const Glyph& g : kGlyphs) {
    if (!drawing.empty()) drawing += "  ";
    for (const char* c = g.rows[row]; *c; ++c) drawing += (*c == '#') ? g.letter : ' ';
  }
  std::string line = std::string(9, '+') + "  " + drawing;
  line.resize(kWidth - 9, ' ');
  return line + std::string(9, '+');
}

std::string credits_line(const std::string& text) {
  const int inner = kWidth - 2;
  const int left = (inner - static_cast<int>(text.size())) / 2;
  std::string mid(left, ' ');
  mid += text;
  mid.resize(inner, ' ');
  return "+" + mid + "+";
}

}  // namespace

std::array<std::string, 21> banner_lines() {
  const std::string full(kWidth, '+');
  const std::string frame = std::string(9, '+') + std::string(77, ' ') + std::string(9, '+');
  std::array<std::string, 21> lines;
  lines[0] = "";
  lines[1] = lines[2] = lines[3] = full;
  lines[4] = frame;
  for (int r = 0; r < 7; ++r) lines[5 + r] = framed_drawing_row(r);
  lines[12] = frame;
  lines[13] = full;
  lines[14] = credits_line("QUELVARIN: NON-COVALENT INTERACTIONS FROM ELECTRON DENSITIES");
  lines[15] = credits_line("written and maintained by the Quelvarin developers");
  lines[16] = lines[17] = full;
  lines[18] = lines[19] = lines[20] = std::string(kWidth, ' ');
  return lines;
}

void write_banner(TextOutput& log) {
  for (const std::string& line : banner_lines()) ListLine().text(line).write_to(log);
}

}  // namespace qv
