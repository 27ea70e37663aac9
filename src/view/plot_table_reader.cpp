#include "view/plot_table_reader.hpp"

#include "gridio/fast_fields.hpp"
#include "gridio/text_error.hpp"

namespace qv {

namespace {

const char* skip_blanks(const char* p, const char* end) {
  while (p != end && (*p == ' ' || *p == '\t')) ++p;
  return p;
}

}  // namespace

void read_plot_table(LineReader& in, PlotHistogram& h) {
  std::string_view line;
  while (in.next(line)) {
    const char* p = line.data();
    const char* end = p + line.size();
    if (skip_blanks(p, end) == end) continue;
    double x, y;
    const bool first = scan_number(p, end, x);
    // The heading names the RDG column; any other text, even on line 1, is a malformed row.
    if (!first && in.line_number() == 1 && line.find("RDG") != std::string_view::npos) continue;
    if (!first || !scan_number(p, end, y) || skip_blanks(p, end) != end)
      throw TextError(in.name(), in.line_number(),
                      "a table row of two numbers: the first column, then RDG");
    h.add(x, y);
  }
}

}  // namespace qv
