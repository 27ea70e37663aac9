#include "view/svg_picture.hpp"

#include <array>
#include <cmath>
#include <cstdio>

namespace qv {

namespace {

// Plot area and colour bar, in pixels.
constexpr int kLeft = 90, kTop = 70, kWidth = 500, kHeight = 400;
constexpr int kBarLeft = 630, kBarWidth = 22;

struct Rgb {
  double r, g, b;
};

// A perceptually ordered dark-purple to yellow scale: few counts dark, many counts bright.
constexpr std::array<Rgb, 5> kScale{{{68, 1, 84}, {59, 82, 139}, {33, 145, 140}, {94, 201, 98},
                                     {253, 231, 37}}};

// "#rrggbb" for t in [0, 1].
std::string colour(double t) {
  t = std::fmin(1.0, std::fmax(0.0, t)) * (kScale.size() - 1);
  std::size_t i = static_cast<std::size_t>(t);
  if (i >= kScale.size() - 1) i = kScale.size() - 2;
  const double f = t - i;
  const Rgb& a = kScale[i];
  const Rgb& b = kScale[i + 1];
  char buf[8];
  std::snprintf(buf, sizeof buf, "#%02x%02x%02x", static_cast<int>(a.r + f * (b.r - a.r) + 0.5),
                static_cast<int>(a.g + f * (b.g - a.g) + 0.5),
                static_cast<int>(a.b + f * (b.b - a.b) + 0.5));
  return buf;
}

// Shortest plain rendering of a pixel coordinate (at most two decimals).
std::string px(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.2f", v);
  std::string s = buf;
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  if (s == "-0") s = "0";
  return s;
}

std::string escaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      default:
        // Control characters are not allowed in XML text, and bytes above ASCII may not be
        // valid UTF-8: both show as '?'.
        out += (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7e)
                   ? '?'
                   : c;
    }
  }
  return out;
}

std::string text_at(double x, double y, std::string_view anchor, std::string_view body,
                    std::string_view extra = "") {
  std::string s = "<text x=\"" + px(x) + "\" y=\"" + px(y) + "\" text-anchor=\"" +
                  std::string(anchor) + "\"";
  if (!extra.empty()) s += " " + std::string(extra);
  return s + ">" + escaped(body) + "</text>";
}

std::string line(double x1, double y1, double x2, double y2) {
  return "<line x1=\"" + px(x1) + "\" y1=\"" + px(y1) + "\" x2=\"" + px(x2) + "\" y2=\"" +
         px(y2) + "\"/>";
}

// Tick label of a value such as -0.03 or 0.2 (no "-0").
std::string tick_label(double v, int decimals) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, std::fabs(v) < 1e-12 ? 0.0 : v);
  return buf;
}

void write_axes(const PlotView& v, const SvgTexts& texts, TextOutput& out) {
  out.line("<g id=\"axes\" stroke=\"#000\" stroke-width=\"1\" fill=\"none\">");
  out.line("<rect x=\"" + px(kLeft) + "\" y=\"" + px(kTop) + "\" width=\"" + px(kWidth) +
           "\" height=\"" + px(kHeight) + "\"/>");
  const int x_ticks = static_cast<int>(std::lround((v.x_hi - v.x_lo) / 0.01));
  for (int i = 0; i <= x_ticks; ++i) {
    const double x = kLeft + kWidth * static_cast<double>(i) / x_ticks;
    out.line(line(x, kTop + kHeight, x, kTop + kHeight + 6));
  }
  for (int i = 0; i <= 5; ++i) {
    const double y = kTop + kHeight - kHeight * i / 5.0;
    out.line(line(kLeft - 6, y, kLeft, y));
  }
  out.line("</g>");
  out.line("<g id=\"labels\" font-family=\"sans-serif\" font-size=\"13\" fill=\"#000\">");
  for (int i = 0; i <= x_ticks; ++i) {
    const double x = kLeft + kWidth * static_cast<double>(i) / x_ticks;
    out.line(text_at(x, kTop + kHeight + 21, "middle",
                     tick_label(v.x_lo + (v.x_hi - v.x_lo) * i / x_ticks, 2)));
  }
  for (int i = 0; i <= 5; ++i) {
    const double y = kTop + kHeight - kHeight * i / 5.0;
    out.line(text_at(kLeft - 10, y + 4.5, "end",
                     tick_label(v.y_lo + (v.y_hi - v.y_lo) * i / 5.0, 1)));
  }
  out.line(text_at(kLeft + kWidth / 2.0, kTop + kHeight + 45, "middle", texts.x_label,
                   "id=\"x-label\" font-size=\"15\""));
  const double yc = kTop + kHeight / 2.0;
  out.line(text_at(kLeft - 50, yc, "middle", texts.y_label,
                   "id=\"y-label\" font-size=\"15\" transform=\"rotate(-90 " + px(kLeft - 50) +
                       " " + px(yc) + ")\""));
  out.line(text_at(kSvgWidth / 2.0, 28, "middle", texts.title, "id=\"title\" font-size=\"17\""));
  out.line(text_at(kSvgWidth / 2.0, 50, "middle", texts.subtitle, "font-size=\"12\""));
  out.line("</g>");
}

// The bins: one rect each, brighter for more points (logarithmic in the count).
void write_cells(const PlotHistogram& h, TextOutput& out) {
  const PlotView& v = h.view();
  const double cw = static_cast<double>(kWidth) / v.nx;
  const double ch = static_cast<double>(kHeight) / v.ny;
  const std::uint64_t top = h.max_count();
  const double log_top = top > 1 ? std::log(static_cast<double>(top)) : 1.0;
  const std::string w = px(cw), hh = px(ch);
  out.line("<g id=\"cells\" shape-rendering=\"crispEdges\">");
  for (int iy = 0; iy < v.ny; ++iy) {
    const std::string y = px(kTop + kHeight - (iy + 1) * ch);
    for (int ix = 0; ix < v.nx; ++ix) {
      const std::uint64_t c = h.count(ix, iy);
      if (c == 0) continue;
      const double t = top > 1 ? std::log(static_cast<double>(c)) / log_top : 1.0;
      out.line("<rect x=\"" + px(kLeft + ix * cw) + "\" y=\"" + y + "\" width=\"" + w +
               "\" height=\"" + hh + "\" fill=\"" + colour(t) + "\"/>");
    }
  }
  out.line("</g>");
}

// Colour bar from 1 point (bottom) to the fullest bin (top), labelled at powers of ten.
void write_colour_bar(const PlotHistogram& h, TextOutput& out) {
  out.line("<defs><linearGradient id=\"scale\" x1=\"0\" y1=\"1\" x2=\"0\" y2=\"0\">");
  for (int i = 0; i <= 8; ++i)
    out.line("<stop offset=\"" + px(i / 8.0) + "\" stop-color=\"" + colour(i / 8.0) + "\"/>");
  out.line("</linearGradient></defs>");
  out.line("<g id=\"colour-bar\" font-family=\"sans-serif\" font-size=\"12\">");
  out.line("<rect x=\"" + px(kBarLeft) + "\" y=\"" + px(kTop) + "\" width=\"" + px(kBarWidth) +
           "\" height=\"" + px(kHeight) + "\" fill=\"url(#scale)\" stroke=\"#000\"/>");
  const std::uint64_t top = h.max_count() > 1 ? h.max_count() : 1;
  const double log_top = std::log10(static_cast<double>(top));
  auto mark = [&](double value, double frac) {
    const double y = kTop + kHeight - kHeight * frac;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.0f", value);
    out.line("<line x1=\"" + px(kBarLeft + kBarWidth) + "\" y1=\"" + px(y) + "\" x2=\"" +
             px(kBarLeft + kBarWidth + 5) + "\" y2=\"" + px(y) + "\" stroke=\"#000\"/>");
    out.line(text_at(kBarLeft + kBarWidth + 8, y + 4, "start", buf));
  };
  mark(1, 0);
  if (top > 1) {
    for (double p = 10; p < top; p *= 10) {
      const double frac = std::log10(p) / log_top;
      if (frac < 0.94) mark(p, frac);  // keep clear of the top label
    }
    mark(static_cast<double>(top), 1);
  }
  out.line(text_at(kBarLeft + kBarWidth / 2.0, kTop - 10, "middle", "points per bin"));
  out.line("</g>");
}

void write_note(const PlotHistogram& h, TextOutput& out) {
  char buf[200];
  std::snprintf(buf, sizeof buf,
                "%llu points in the table; %llu outside the view, not drawn; bins of %s by %s",
                static_cast<unsigned long long>(h.total()),
                static_cast<unsigned long long>(h.outside()),
                tick_label((h.view().x_hi - h.view().x_lo) / h.view().nx, 3).c_str(),
                tick_label((h.view().y_hi - h.view().y_lo) / h.view().ny, 2).c_str());
  out.line(text_at(kLeft, kSvgHeight - 18, "start", buf,
                   "id=\"note\" font-family=\"sans-serif\" font-size=\"12\""));
}

}  // namespace

SvgTexts plot_texts(PlotQuantity q, const std::string& table_name, const std::string& input_name) {
  SvgTexts t;
  const bool sign = q == PlotQuantity::RhoSign;
  t.title = sign ? "RDG against rho*sign(lambda2)" : "RDG against rho";
  t.subtitle = "table " + table_name + " of input " + input_name;
  t.x_label = sign ? "rho*sign(lambda2) (a.u.)" : "rho (a.u.)";
  t.y_label = "RDG";
  return t;
}

void write_svg_picture(const PlotHistogram& h, const SvgTexts& texts, TextOutput& out) {
  out.line("<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
  out.line(kSvgMark);
  const std::string w = std::to_string(kSvgWidth), hh = std::to_string(kSvgHeight);
  out.line("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w + "\" height=\"" + hh +
           "\" viewBox=\"0 0 " + w + " " + hh + "\">");
  out.line("<title>" + escaped(texts.title + ": " + texts.subtitle) + "</title>");
  out.line("<rect width=\"100%\" height=\"100%\" fill=\"#fff\"/>");
  write_cells(h, out);
  write_axes(h.view(), texts, out);
  write_colour_bar(h, out);
  write_note(h, out);
  out.line("</svg>");
}

}  // namespace qv
