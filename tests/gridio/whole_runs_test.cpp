// Grid files read on several threads: runs cut apart by their length give the values and the
// failures (message and line) of one thread, whatever the file holds where.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "gridio/cube_reading.hpp"
#include "gridio/cube_writing.hpp"
#include "gridio/grd_file.hpp"
#include "gridio/text_error.hpp"
#include "parallel/parallel_for.hpp"
#include "support/temp_dir.hpp"
#include "topond/topond_grid.hpp"

namespace qv {
namespace {

using testing::TempDir;
using testing::write_file;

// Counts of the model grid: over 1 MB of cube text (the reader reads on from the file), or
// over 4 MB (the file is mapped).
struct Counts {
  int n1, n2, n3;
};
Counts counts = {61, 47, 53};

double value_at(std::size_t p) { return std::sin(0.37 * static_cast<double>(p)) * 0.01 + 0.02; }

Grid model_grid() {
  Grid g = make_grid(counts.n1, counts.n2, counts.n3, "model");
  for (std::size_t p = 0; p < g.values.size(); ++p) g.values[p] = value_at(p);
  return g;
}

GridHeader model_header() {
  GridHeader h;
  h.n1 = counts.n1;
  h.n2 = counts.n2;
  h.n3 = counts.n3;
  h.axes = {{{0.2f, 0.0f, 0.0f}, {0.0f, 0.2f, 0.0f}, {0.0f, 0.0f, 0.2f}}};
  return h;
}

std::string cube_file() {
  auto out = TextOutput::memory();
  write_cube_file(model_header(), model_grid(), *out);
  out->flush();
  return out->contents();
}

// The grd layout: 12 header lines, then runs of N1 values six to a line (E18.10).
std::string grd_file() {
  std::string t;
  for (int i = 0; i < 12; ++i) t += "grd header line\n";
  char buf[32];
  const Grid g = model_grid();
  for (std::size_t p = 0; p < g.values.size(); ++p) {
    const double v = g.values[p];
    const int e = v == 0.0 ? 0 : static_cast<int>(std::floor(std::log10(std::fabs(v)))) + 1;
    std::snprintf(buf, sizeof buf, "%.10f", std::fabs(v) / std::pow(10.0, e));
    t += std::string(v < 0 ? " -" : "  ") + buf + (e < 0 ? "E-" : "E+") +
         (std::abs(e) < 10 ? "0" : "") + std::to_string(std::abs(e));
    if ((p + 1) % counts.n1 % 6 == 0 || (p + 1) % counts.n1 == 0) t += "\n";
  }
  return t;
}

// The TOPOND layout: counts, three origin lines, runs of N1 values eight to a line (E16.8).
std::string topond_file() {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%4d%4d%4d\n", counts.n1, counts.n2, counts.n3);
  std::string t = buf;
  for (int k = 0; k < 3; ++k) t += " 0.00000000E+00                  0.20000000E+00\n";
  const Grid g = model_grid();
  for (std::size_t p = 0; p < g.values.size(); ++p) {
    std::snprintf(buf, sizeof buf, "%16.8E", g.values[p]);
    t += buf;
    if ((p + 1) % counts.n1 % 8 == 0 || (p + 1) % counts.n1 == 0) t += "\n";
  }
  return t;
}

// What a reader made of a file: the values, or the message of its failure.
struct Outcome {
  std::vector<double> values;
  std::string error;
};

Outcome read_with(const std::function<void(Grid&)>& read) {
  Outcome o;
  try {
    Grid g;
    read(g);
    o.values.assign(g.values.begin(), g.values.end());
  } catch (const TextError& e) {
    o.error = e.what();
  }
  return o;
}

Outcome read_cube(const std::string& path) {
  return read_with([&](Grid& g) {
    auto in = LineReader::open(path);
    std::vector<std::string> unused;
    g = read_grid_file(*in, nullptr, CubeLayout::general, GridRole::density, unused).grid;
  });
}

Outcome read_grd(const std::string& path) {
  return read_with([&](Grid& g) {
    auto in = LineReader::open(path);
    std::vector<std::string> unused;
    g = make_grid(counts.n1, counts.n2, counts.n3, path);
    qv::read_grd(*in, 0, GridRole::gradient, g, unused);
  });
}

Outcome read_topond(const std::string& path) {
  return read_with([&](Grid& g) {
    auto in = LineReader::open(path);
    GridHeader h;
    read_topond_grid(*in, h, g);
  });
}

// Edits of a file in the middle of its values, where several threads read at once.
std::string at_line(std::string text, std::size_t line, const std::function<void(std::string&)>& edit) {
  std::size_t start = 0;
  for (std::size_t l = 0; l < line; ++l) start = text.find('\n', start) + 1;
  const std::size_t end = text.find('\n', start);
  std::string content = text.substr(start, end - start);
  edit(content);
  return text.substr(0, start) + content + text.substr(end);
}

std::size_t text_lines(const std::string& text) {
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

std::string with_crlf(const std::string& text) {
  std::string t;
  for (char c : text) {
    if (c == '\n') t += '\r';
    t += c;
  }
  return t;
}

struct FileKind {
  const char* name;
  std::function<std::string()> make;
  std::function<Outcome(const std::string&)> read;
  double scale;             // grd gradients are converted to atomic units as they are read
  std::size_t first_value;  // the line of the first values
};

class WholeRuns : public ::testing::TestWithParam<Counts> {};

TEST_P(WholeRuns, SameValuesAndFailuresAtAnyThreadCount) {
  TempDir dir;
  counts = GetParam();
  const FileKind kinds[] = {
      {"cube", cube_file, read_cube, 1.0, 6},
      {"grd", grd_file, read_grd, kBohr4, 12},
      {"topond", topond_file, read_topond, 1.0, 4},
  };
  const int old_threads = sweep_threads();
  for (const FileKind& kind : kinds) {
    const std::string text = kind.make();
    const std::size_t deep = 9000;  // a line far into the values
    enum Expect { model_values, failure, shifted_values };
    struct Variant {
      std::string label, text;
      Expect expect;
    };
    const Variant variants[] = {
        {"as written", text, model_values},
        {"CRLF line ends", with_crlf(text), model_values},
        // Blank-separated numbers read on; TOPOND fields are columns, so the values move.
        {"one line split in two",
         at_line(text, deep, [](std::string& l) { l.insert(l.size() / 2 + 1, "\n"); }),
         kind.name == std::string("topond") ? shifted_values : model_values},
        // The length of the runs cannot be learnt from the first.
        {"the first line of values split in two",
         at_line(text, kind.first_value, [](std::string& l) { l.insert(l.size() / 2 + 1, "\n"); }),
         kind.name == std::string("topond") ? shifted_values : model_values},
        // Runs read the general way, then whole runs again, twice in one file.
        {"lines split near the start and near the end",
         at_line(at_line(text, deep, [](std::string& l) { l.insert(l.size() / 2 + 1, "\n"); }),
                 text_lines(text) * 9 / 10,
                 [](std::string& l) { l.insert(l.size() / 2 + 1, "\n"); }),
         kind.name == std::string("topond") ? shifted_values : model_values},
        {"a malformed value", at_line(text, deep, [](std::string& l) { l[l.size() - 3] = 'x'; }),
         failure},
        {"a malformed value near the end",
         at_line(text, text_lines(text) * 9 / 10, [](std::string& l) { l[l.size() - 3] = 'x'; }),
         failure},
        {"cut short", text.substr(0, text.size() * 2 / 3), failure},
    };
    for (const Variant& v : variants) {
      write_file("file", v.text);
      set_sweep_threads(1);
      const Outcome one = kind.read("file");
      if (v.expect == model_values) {
        ASSERT_TRUE(one.error.empty()) << kind.name << ", " << v.label << ": " << one.error;
        const Grid model = model_grid();
        ASSERT_EQ(one.values.size(), model.values.size());
        for (std::size_t p = 0; p < one.values.size(); p += 997)
          ASSERT_NEAR(one.values[p], model.values[p] * kind.scale, 1e-6) << kind.name << " " << p;
      } else if (v.expect == failure) {
        EXPECT_FALSE(one.error.empty()) << kind.name << ", " << v.label;
      }
      for (int threads : {2, 3, 8}) {
        set_sweep_threads(threads);
        const Outcome many = kind.read("file");
        EXPECT_EQ(many.error, one.error) << kind.name << ", " << v.label << ", " << threads;
        EXPECT_TRUE(many.values == one.values) << kind.name << ", " << v.label << ", " << threads;
      }
    }
  }
  set_sweep_threads(old_threads);
}

INSTANTIATE_TEST_SUITE_P(ReadAndMapped, WholeRuns,
                         ::testing::Values(Counts{61, 47, 53}, Counts{97, 83, 71}));

}  // namespace
}  // namespace qv
