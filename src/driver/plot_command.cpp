#include "driver/plot_command.hpp"

#include <algorithm>
#include <new>
#include <vector>

#include "analysis/cube_glance.hpp"
#include "analysis/own_output.hpp"
#include "analysis/plot_histogram.hpp"
#include "analysis/plot_table_reader.hpp"
#include "analysis/svg_picture.hpp"
#include "analysis/vmd_script.hpp"
#include "driver/input_reading.hpp"
#include "driver/run.hpp"
#include "gridio/fixed_text.hpp"
#include "gridio/stop.hpp"
#include "gridio/text_error.hpp"
#include "view/nci_region_report.hpp"

namespace qv {

namespace {

constexpr const char* kPrefix = "quelvarin-plot: ";

// Collects the failures of one command; the worst status wins.
struct Outcome {
  TextOutput& screen;
  TextOutput& errors;
  int status = 0;

  std::vector<std::string> reported{};  // a cube read by two outputs fails them with one message

  void fail(int s, const std::string& message) {
    if (std::find(reported.begin(), reported.end(), message) == reported.end()) {
      errors.line(kPrefix + message);
      reported.push_back(message);
    }
    status = std::max(status, s);
  }
  void say(const std::string& message) { screen.line(kPrefix + message); }
};

std::string refusal(const std::string& path) {
  return path + " exists and was not made by quelvarin-plot: it is left as it is";
}

void draw_table(PlotQuantity q, const std::string& table, const std::string& picture,
                const std::string& input_name, Outcome& o) {
  auto in = LineReader::open(table);
  if (!in) throw TextError(table, 0, "the 2D plot table cannot be opened");
  PlotHistogram h(conventional_view(q));
  read_plot_table(*in, h);
  auto out = create_own_output(picture, kSvgMark);
  if (!out) return o.fail(1, refusal(picture));
  write_svg_picture(h, plot_texts(q, table, input_name), *out);
  out->close();
  o.say("wrote " + picture + " from " + table + " (" + std::to_string(h.total()) + " points, " +
        std::to_string(h.outside()) + " outside the view)");
}

std::string points_text(const CubeGlance& g) {
  return std::to_string(g.points[0]) + " x " + std::to_string(g.points[1]) + " x " +
         std::to_string(g.points[2]) + " points";
}

// The table of NCI regions beside the scripts; its rows are numbered in the scripts' comments.
RegionReport list_regions(const RdgSettings& rdg, const NciCriteria& criteria, Outcome& o) {
  RegionReportFiles files;
  files.rdg_cube = trimmed(rdg.rdg_outname) + ".cube";
  files.rhosign_cube = trimmed(rdg.rhosign_outname) + ".cube";
  files.table = trimmed(rdg.rdg_outname) + "_regions.tsv";
  RegionReport report = report_nci_regions(files, criteria, o.screen);
  if (!report.problem.empty()) {
    o.fail(1, report.problem);
  } else {
    const std::size_t n = report.regions.size();
    o.say("wrote " + files.table + " (" + std::to_string(n) +
          (n == 1 ? " NCI region)" : " NCI regions)"));
  }
  return report;
}

void write_script(const RdgSettings& rdg, const std::vector<std::string>& comments, Outcome& o) {
  const std::string rdg_cube = trimmed(rdg.rdg_outname) + ".cube";
  const std::string sign_cube = trimmed(rdg.rhosign_outname) + ".cube";
  const std::string script = trimmed(rdg.rdg_outname) + ".vmd";
  const CubeGlance a = glance_at_cube(rdg_cube);
  const CubeGlance b = glance_at_cube(sign_cube);
  if (a.points != b.points)
    return o.fail(1, "the RDG cube " + rdg_cube + " (" + points_text(a) +
                         ") and the rho*sign(lambda2) cube " + sign_cube + " (" + points_text(b) +
                         ") hold different grids: no VMD script written");
  VmdScene scene;
  scene.comments = comments;
  scene.rdg_cube = path_from_script(script, rdg_cube);
  scene.rhosign_cube = path_from_script(script, sign_cube);
  if (!vmd_safe_name(scene.rdg_cube) || !vmd_safe_name(scene.rhosign_cube))
    return o.fail(1, "a cube name holds a brace or a backslash, which a VMD script cannot "
                     "name: no VMD script written");
  auto out = create_own_output(script, kVmdMark);
  if (!out) return o.fail(1, refusal(script));
  write_vmd_script(scene, *out);
  out->close();
  o.say("wrote " + script + " (open it with: vmd -e " + script + ")");
}

// Runs one piece of work, turning its failures into messages and statuses.
template <typename Work>
void attempt(Outcome& o, Work&& work) {
  try {
    work();
  } catch (const TextError& e) {
    o.fail(kTextErrorStatus, e.what());
  } catch (const OutOfMemory& e) {
    o.fail(kOutOfMemoryStatus, e.what());
  } catch (const std::bad_alloc&) {
    o.fail(kOutOfMemoryStatus, "out of memory");
  }
}

}  // namespace

int draw_results(const RdgSettings& rdg, const std::string& input_name, TextOutput& screen,
                 TextOutput& errors, const NciCriteria& criteria) {
  Outcome o{screen, errors};
  bool anything = false;
  const std::string stem = trimmed(rdg.plot_name);
  if (rdg.calc_risp[3]) {
    if (rdg.duedplot[0]) {
      anything = true;
      attempt(o, [&] { draw_table(PlotQuantity::Density, stem + "_rho.2D", stem + "_rho.svg", input_name, o); });
    }
    if (rdg.duedplot[1]) {
      anything = true;
      attempt(o, [&] {
        draw_table(PlotQuantity::RhoSign, stem + "_rhosign.2D", stem + "_rhosign.svg", input_name, o);
      });
    }
  }
  if (rdg.calc_risp[0] && rdg.calc_risp[1]) {
    anything = true;
    std::vector<std::string> comments;
    attempt(o, [&] {
      const RegionReport regions = list_regions(rdg, criteria, o);
      if (regions.problem.empty())
        comments = region_comment_lines(regions, trimmed(rdg.rdg_outname) + "_regions.tsv");
    });
    attempt(o, [&] { write_script(rdg, comments, o); });
  } else if (rdg.calc_risp[0] || rdg.calc_risp[1]) {
    o.say("no VMD script: the input asks for only one of the RDG and rho*sign(lambda2) cubes");
  }
  if (!anything)
    o.fail(1, "the input file " + input_name +
                  " asks for no 2D plot table and not for both the RDG and the "
                  "rho*sign(lambda2) cubes: nothing to draw");
  return o.status;
}

int plot_command(const std::string& argument, TextOutput& screen, TextOutput& errors) {
  if (argument.empty()) {
    errors.line("usage: quelvarin-plot INPUT   (the input file of the run to draw)");
    errors.flush();
    return 1;
  }
  const std::string name = input_file_name(argument);
  RunOutput out(screen);
  input_variables iv;
  int status = 0;
  try {
    auto in = LineReader::open(name);
    if (!in) throw TextError(name, 0, "the input file cannot be opened");
    input_reading(*in, name, out, iv, RunLogMode::Leave);
    status = draw_results(iv.rdg, name, screen, errors);
  } catch (const ProgramStop& stop) {
    // The lines meant for the run log are the reason: show them.
    if (out.has_log()) {
      out.log().flush();
      errors.write(out.log().contents());
    }
    errors.line(std::string(kPrefix) + "the input file " + name +
                " stops while being read: nothing drawn");
    status = stop.status;
  } catch (const TextError& e) {
    errors.line(kPrefix + std::string(e.what()));
    status = kTextErrorStatus;
  } catch (const std::bad_alloc&) {
    errors.line(std::string(kPrefix) + "out of memory");
    status = kOutOfMemoryStatus;
  }
  try {
    screen.flush();
    errors.flush();
  } catch (const TextError&) {
    if (status == 0) status = kTextErrorStatus;
  }
  return status;
}

}  // namespace qv
