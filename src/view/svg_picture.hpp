#pragma once
// A self-contained SVG picture of a plot histogram: framed axes with ticks and labels, a title,
// one rectangle per non-empty bin coloured by its count on a logarithmic scale, a colour bar and
// a note on the points outside the view.
#include <string>
#include <string_view>

#include "view/plot_histogram.hpp"
#include "gridio/text_output.hpp"

namespace qv {

// The comment every picture carries near its start; it tells our pictures from other files.
inline constexpr std::string_view kSvgMark = "<!-- picture made by quelvarin-plot -->";

struct SvgTexts {
  std::string title;     // first title line
  std::string subtitle;  // second title line (which table of which input)
  std::string x_label;
  std::string y_label;
};

// Axis and title texts of the table of `q`, naming the table and the input file.
SvgTexts plot_texts(PlotQuantity q, const std::string& table_name, const std::string& input_name);

// Writes the whole picture; the bins go in the group with id "cells", one rect each.
void write_svg_picture(const PlotHistogram& h, const SvgTexts& texts, TextOutput& out);

// Picture size in pixels.
inline constexpr int kSvgWidth = 760;
inline constexpr int kSvgHeight = 560;

}  // namespace qv
