#include "view/plot_command.hpp"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <vector>

#include "view/cube_glance.hpp"
#include "view/own_output.hpp"
#include "view/plot_histogram.hpp"
#include "view/plot_table_reader.hpp"
#include "view/svg_picture.hpp"
#include "view/vmd_script.hpp"
#include "driver/command_line.hpp"
#include "driver/input_file.hpp"
#include "driver/run.hpp"
#include "driver/thread_option.hpp"
#include "gridio/fixed_text.hpp"
#include "gridio/stop.hpp"
#include "gridio/text_error.hpp"
#include "view/nci_region_report.hpp"
#include "view/png_mark.hpp"
#include "view/pymol_render.hpp"
#include "view/pymol_script.hpp"
#include "view/xyz_atoms.hpp"
#include "wavefunction/wavefunction_format.hpp"

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

// The names of the viewer files, all beside the RDG cube.
struct ViewerFiles {
  std::string rdg_cube, sign_cube, vmd_script, atoms_xyz, pymol_script, picture, regions;
};

ViewerFiles viewer_files(const RdgSettings& rdg) {
  const std::string stem = trimmed(rdg.rdg_stem);
  return {stem + ".cube", trimmed(rdg.rhosign_stem) + ".cube", stem + ".vmd",
          stem + "_atoms.xyz", stem + ".pml", stem + "_nci.png", stem + "_regions.tsv"};
}

// The table of NCI regions, by the isovalue and range of the pictures; returns the comment
// lines that number its regions in the scripts (none when no table was written).
std::vector<std::string> list_regions(const ViewerFiles& f, const PictureOptions& options,
                                      Outcome& o) {
  NciCriteria criteria;
  criteria.isovalue = options.isovalue;
  criteria.range = options.colour_range;
  criteria.kind_threshold = options.kind_threshold;
  criteria.min_points = static_cast<std::size_t>(options.min_region_points);
  const RegionReport report =
      report_nci_regions({f.rdg_cube, f.sign_cube, f.regions}, criteria, o.screen);
  if (!report.problem.empty()) {
    o.fail(1, report.problem);
    return {};
  }
  const std::size_t n = report.regions.size();
  o.say("wrote " + f.regions + " (" + std::to_string(n) +
        (n == 1 ? " NCI region)" : " NCI regions)"));
  return region_comment_lines(report, f.regions);
}

void write_vmd(const ViewerFiles& f, const PictureOptions& options,
               const std::vector<std::string>& comments, Outcome& o) {
  VmdScene scene;
  scene.comments = comments;
  scene.rdg_cube = path_from_script(f.vmd_script, f.rdg_cube);
  scene.rhosign_cube = path_from_script(f.vmd_script, f.sign_cube);
  scene.isovalue = options.isovalue;
  scene.colour_low = -options.colour_range;
  scene.colour_high = options.colour_range;
  if (!vmd_safe_name(scene.rdg_cube) || !vmd_safe_name(scene.rhosign_cube))
    return o.fail(1, "a cube name holds a brace or a backslash, which a VMD script cannot "
                     "name: no VMD script written");
  auto out = create_own_output(f.vmd_script, kVmdMark);
  if (!out) return o.fail(1, refusal(f.vmd_script));
  write_vmd_script(scene, *out);
  out->close();
  o.say("wrote " + f.vmd_script + " (open it with: vmd -e " + f.vmd_script + ")");
}

// The atoms file and the PyMOL script; false when either could not be written.
bool write_pymol_files(const ViewerFiles& f, const CubeGlance& rdg_header,
                       const PictureOptions& options, const std::vector<std::string>& comments,
                       Outcome& o) {
  auto atoms = create_own_output(f.atoms_xyz, kXyzMark);
  if (!atoms) {
    o.fail(1, refusal(f.atoms_xyz) + ": no PyMOL script written");
    return false;
  }
  write_xyz_atoms(rdg_header.atom_list, f.rdg_cube, *atoms);
  atoms->close();
  PymolScene scene;
  scene.atoms_xyz = path_from_script(f.pymol_script, f.atoms_xyz);
  scene.rdg_cube = path_from_script(f.pymol_script, f.rdg_cube);
  scene.rhosign_cube = path_from_script(f.pymol_script, f.sign_cube);
  scene.isovalue = options.isovalue;
  scene.colour_range = options.colour_range;
  scene.comments = comments;
  auto script = create_own_output(f.pymol_script, kPymolMark);
  if (!script) {
    o.fail(1, refusal(f.pymol_script));
    return false;
  }
  write_pymol_script(scene, *script);
  script->close();
  o.say("wrote " + f.atoms_xyz + " and " + f.pymol_script + " (open it with: pymol " +
        f.pymol_script + ")");
  return true;
}

// The PyMOL scene ray-traced to a PNG, when PyMOL is installed.
void render_picture(const ViewerFiles& f, Outcome& o) {
  // QUELVARIN_PYMOL_PYTHON names the one interpreter to use (a conda Python with PyMOL, say).
  const char* chosen = std::getenv("QUELVARIN_PYMOL_PYTHON");
  const char* path = std::getenv("PATH");
  const auto python = find_pymol_python(chosen && *chosen ? std::vector<std::string>{chosen}
                                                          : python_candidates(path ? path : ""));
  if (!python)
    return o.say("no PNG picture: PyMOL was not found (install it, e.g. the Debian package "
                 "pymol, and run quelvarin-plot again)");
  if (!free_or_ours(f.picture, kPngMark)) return o.fail(1, refusal(f.picture));
  const PymolPicture picture =
      render_pymol_script(*python, f.pymol_script, kPictureWidth, kPictureHeight);
  if (!picture.made)
    return o.fail(1, "no PNG picture of " + f.pymol_script + ": " + picture.reason);
  auto out = create_own_output(f.picture, kPngMark);
  if (!out) return o.fail(1, refusal(f.picture));
  out->write(with_text_chunk(picture.png, kPngMark));
  out->close();
  o.say("wrote " + f.picture + " (" + std::to_string(kPictureWidth) + " x " +
        std::to_string(kPictureHeight) + ", ray-traced by PyMOL through " + *python + ")");
}

void write_viewer_files(const ViewerFiles& f, const PictureOptions& options,
                        const std::vector<std::string>& comments, Outcome& o) {
  const CubeGlance a = glance_at_cube(f.rdg_cube);
  const CubeGlance b = glance_at_cube(f.sign_cube);
  if (a.points != b.points)
    return o.fail(1, "the RDG cube " + f.rdg_cube + " (" + points_text(a) +
                         ") and the rho*sign(lambda2) cube " + f.sign_cube + " (" +
                         points_text(b) + ") hold different grids: no VMD or PyMOL script written");
  write_vmd(f, options, comments, o);
  if (write_pymol_files(f, a, options, comments, o) && options.render) render_picture(f, o);
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
                 TextOutput& errors, const PictureOptions& options) {
  Outcome o{screen, errors};
  bool anything = false;
  const std::string stem = trimmed(rdg.plot_stem);
  if (rdg.computations.plots) {
    if (rdg.plot_tables.rdg_vs_density) {
      anything = true;
      attempt(o, [&] { draw_table(PlotQuantity::Density, stem + "_rho.2D", stem + "_rho.svg", input_name, o); });
    }
    if (rdg.plot_tables.rdg_vs_rhosign) {
      anything = true;
      attempt(o, [&] {
        draw_table(PlotQuantity::RhoSign, stem + "_rhosign.2D", stem + "_rhosign.svg", input_name, o);
      });
    }
  }
  if (rdg.computations.rdg && rdg.computations.rhosign) {
    anything = true;
    const ViewerFiles f = viewer_files(rdg);
    std::vector<std::string> comments;
    attempt(o, [&] { comments = list_regions(f, options, o); });
    attempt(o, [&] { write_viewer_files(f, options, comments, o); });
  } else if (rdg.computations.rdg || rdg.computations.rhosign) {
    o.say("no VMD or PyMOL script: the input asks for only one of the RDG and "
          "rho*sign(lambda2) cubes");
  }
  if (!anything)
    o.fail(1, "the input file " + input_name +
                  " asks for no 2D plot table and not for both the RDG and the "
                  "rho*sign(lambda2) cubes: nothing to draw");
  return o.status;
}

namespace {

constexpr std::string_view kPlotSummary =
    "Draws the results of the run that the input file INPUT describes, next to its outputs:\n"
    "a picture (SVG) of each 2D plot table, and for the RDG and rho*sign(lambda2) cubes a VMD\n"
    "script, a PyMOL script with the atoms as an XYZ file, the NCI isosurface ray-traced\n"
    "to a PNG when PyMOL is installed, and the table of NCI regions (RDG below the isovalue,\n"
    "|rho*sign(lambda2)| within the range), one row per interaction, as a .tsv file and on\n"
    "the screen. The run's own files are only read.\n";

CommandDescription plot_description(PictureOptions& options) {
  return {"quelvarin-plot",
          "INPUT",
          kPlotSummary,
          {{"--iso", "VALUE", "RDG isovalue of the surface (default 0.5; 0.3 for promolecular densities)",
            [&options, take = real_above(options.isovalue, 0.0)](std::string_view value) {
              std::string refusal = take(value);
              options.isovalue_given = refusal.empty();
              return refusal;
            }},
           {"--range", "VALUE", "colour scale from -VALUE to +VALUE a.u. of rho*sign(lambda2) (default 0.05)",
            real_above(options.colour_range, 0.0)},
           {"--no-render", "", "write the scripts but no PNG picture", switch_off(options.render)},
           {"--min-points", "N", "smallest NCI region listed in the table, in grid points (default 5)",
            whole_at_least(options.min_region_points, 1)},
           {"--kind-threshold", "VALUE",
            "rho*sign(lambda2) beyond +-VALUE a.u. makes a region repulsive or attractive (default 0.01)",
            real_at_least(options.kind_threshold, 0.0)},
           thread_option_row()}};
}

// The RDG job's density is promolecular when the same input makes it: its WFN job reads a
// geometry (.xyz, .pdb) and writes the density cube that its RDG job reads.
bool density_is_promolecular(const RunSettings& settings) {
  if (!settings.jobs.wfn ||
      !is_geometry(wavefunction_format(trimmed(settings.wfn.wavefunction_file), {})))
    return false;
  return trimmed(settings.rdg.density_cube) == trimmed(settings.wfn.output_stem) + "_rho.cube";
}

// The field's conventional isovalue for the run's kind of density, unless the user chose one.
void choose_default_isovalue(const RunSettings& settings, PictureOptions& options,
                             TextOutput& screen) {
  if (options.isovalue_given ||
      !(settings.rdg.computations.rdg && settings.rdg.computations.rhosign))
    return;
  const bool promolecular = density_is_promolecular(settings);
  options.isovalue = promolecular ? 0.3 : 0.5;
  screen.line(std::string(kPrefix) + "RDG isosurface at " + (promolecular ? "0.3" : "0.5") +
              ", the default for " +
              (promolecular ? "a promolecular density" : "a density from a wavefunction or a grid") +
              " (--iso VALUE chooses another)");
}

}  // namespace

int plot_command(std::span<const std::string> arguments, TextOutput& screen, TextOutput& errors) {
  PictureOptions options;
  const CommandDescription command = plot_description(options);
  const ParsedCommand parsed = parse_command_line(command, arguments);
  if (const auto status = answer_instead_of_running(command, parsed, screen, errors)) return *status;
  if (parsed.operands.empty()) {
    errors.line("usage: quelvarin-plot [OPTIONS] INPUT   (the input file of the run to draw; "
                "quelvarin-plot --help tells more)");
    errors.flush();
    return 1;
  }
  const std::string& argument = parsed.operands.front();
  const std::string name = input_file_name(argument);
  RunOutput out(screen);
  RunSettings settings;
  int status = 0;
  try {
    auto in = LineReader::open(name);
    if (!in) throw TextError(name, 0, "the input file cannot be opened");
    read_input_file(*in, name, out, settings, RunLogMode::Leave);
    choose_default_isovalue(settings, options, screen);
    status = draw_results(settings.rdg, name, screen, errors, options);
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
