#include <optional>
#include <string>
#include <string_view>

#include "driver/block_readers.hpp"
#include "gridio/fixed_text.hpp"
#include "gridio/stop.hpp"
#include "gridio/text_error.hpp"

namespace qv {

namespace {

// Every search of this block ends the run the same way when the template runs out.
std::string find_rdg_line(InputCursor& cursor, RunOutput& out, std::string_view keyword,
                          std::size_t keep = 50) {
  if (auto record = cursor.find(keyword, keep)) return *record;
  const char* lines[] = {
      "RDG, RHO*SIGN(L2) AND ABRAMOV ENERGY CALCULATION SECTION: PROBLEM IN READING THE INPUT!!!!",
      "THE TEMPLATE MIGHT HAVE BEEN MODIFIED, PROGRAM STOP"};
  for (const char* line : lines) out.to_log(line);
  for (const char* line : lines) out.to_screen(line);
  program_stop(1);
}

[[noreturn]] void stop_with(RunOutput& out, std::string_view message) {
  out.to_log(message);
  program_stop(1);
}

// Sets switches[w] for every option word words[w] that follows an asterisk in columns
// first_k..last_k; returns the number of asterisks followed by none of the words.
template <std::size_t N, typename Switches>
int scan_options(const std::string& record, int first_k, int last_k,
                 const std::string_view (&words)[N], Switches& switches) {
  int unknown = 0;
  for (int k = first_k; k <= last_k && k <= static_cast<int>(record.size()); ++k) {
    if (record[k - 1] != '*') continue;
    bool known = false;
    for (std::size_t w = 0; w < N; ++w) {
      if (std::string_view(record).substr(k, words[w].size()) == words[w]) {
        switches[w] = true;
        known = true;
      }
    }
    if (!known) ++unknown;
  }
  return unknown;
}

template <typename Switches>
int count_set(const Switches& switches) {
  int n = 0;
  for (bool s : switches) n += s;
  return n;
}

// The option of `options` whose word was marked (at most one is), or `unmarked`.
template <std::size_t N, typename Option>
Option marked_option(const bool (&marked)[N], const Option (&options)[N], Option unmarked) {
  for (std::size_t w = 0; w < N; ++w)
    if (marked[w]) return options[w];
  return unmarked;
}

float read_real(const InputCursor& cursor, const std::string& record, int first, int last) {
  float value = 0.0f;
  read_numbers_or_fail(cursor, record, first, last, std::span<float>(&value, 1));
  return value;
}

// One free-format text item from a column range: quoted, or ending at the first blank, comma or
// slash. A range with no item at all is an end of file for the free-format read.
std::string read_text_item(const InputCursor& cursor, std::string_view piece,
                           const std::string& unchanged) {
  std::size_t p = piece.find_first_not_of(' ');
  if (p == std::string_view::npos)
    throw TextError(cursor.file_name(), cursor.line_number(),
                    "end of record; expected a plot name in columns 11 to 40");
  // A repeat count "r*" in front of the value.
  std::size_t q = p;
  while (q < piece.size() && piece[q] >= '0' && piece[q] <= '9') ++q;
  if (q > p && q < piece.size() && piece[q] == '*') p = q + 1;
  if (p >= piece.size() || piece[p] == ',' || piece[p] == '/' || piece[p] == ' ')
    return unchanged;  // a null value leaves the name as it was
  const char quote = piece[p];
  std::string item;
  if (quote == '\'' || quote == '"') {
    for (std::size_t i = p + 1; i < piece.size(); ++i) {
      if (piece[i] == quote) {
        if (i + 1 < piece.size() && piece[i + 1] == quote) {
          item += quote;
          ++i;
          continue;
        }
        return item;
      }
      item += piece[i];
    }
    throw TextError(cursor.file_name(), cursor.line_number(),
                    "end of record inside a quoted plot name in columns 11 to 40");
  }
  const std::size_t stop = piece.find_first_of(" ,/", p);
  return std::string(piece.substr(p, stop == std::string_view::npos ? stop : stop - p));
}

void cross_checks(RunOutput& out, RdgSettings& rdg) {
  const bool gradient = rdg.derive_gradient || rdg.read_gradient;
  const bool laplacian = rdg.derive_laplacian || rdg.read_laplacian;
  if (rdg.computations.rdg && !gradient) {
    out.to_log("RDG CALCULATION REQUIRED WITHOUT READING/CALCULATING GRADIENT GRID FILES!!!!");
    out.to_log("RDG WILL NOT BE CALCULATED");
    rdg.computations.rdg = false;
  }
  if (rdg.computations.plots && !gradient) {
    out.to_log(
        "rho VS RDG PLOT CALCULATION REQUIRED WITHOUT READING/CALCULATING GRADIENT GRID "
        "FILES!!!!");
    out.to_log("rho VS RDG PLOT WILL NOT BE CALCULATED");
    rdg.computations.plots = false;
  }
  if (rdg.computations.abramov && !gradient) {
    out.to_log(
        "ABRAMOV ENERGY CALCULATION REQUIRED WITHOUT READING/CALCULATING GRADIENT GRID "
        "FILES!!!!");
    out.to_log("ABRAMOV ENERGY WILL NOT BE CALCULATED");
    rdg.computations.abramov = false;
  } else if (rdg.computations.abramov && !laplacian) {
    out.to_log(
        "ABRAMOV ENERGY CALCULATION REQUIRED WITHOUT READING/CALCULATING LAPLACIAN GRID "
        "FILES!!!!");
    out.to_log("ABRAMOV ENERGY WILL NOT BE CALCULATED");
    rdg.computations.abramov = false;
  }
}

}  // namespace

void read_rdg_block(InputCursor& cursor, RunOutput& out, RdgSettings& rdg) {
  // The block header is searched over the first 45 columns of each line only.
  find_rdg_line(cursor, out, "RDG,RHO*(signL2) AND ABRAMOV", 45);

  std::string line = find_rdg_line(cursor, out, "INPUT");
  static constexpr std::string_view kFormats[] = {"XD2", "GAU", "CUB"};
  static constexpr std::optional<CubeLayout> kLayouts[] = {CubeLayout::xd2006,
                                                           CubeLayout::gaussian,
                                                           CubeLayout::general};
  bool formats[3] = {};
  const int unknown_formats = scan_options(line, 7, 47, kFormats, formats);
  for (int n = 0; n < unknown_formats; ++n)
    out.to_log("RDG CALCULATION SECTION: no input file format has been chosen!!!");
  if (count_set(formats) > 1)
    stop_with(out,
              "RDG CALCULATION SECTION: more than one input format has been chosen.PROGRAM "
              "STOP!!!!");
  rdg.input_format = marked_option(formats, kLayouts, std::optional<CubeLayout>());
  const bool grd_files = grd_input(rdg);

  line = find_rdg_line(cursor, out, "CALCULATING");
  static constexpr std::string_view kComputations[] = {"RDG", "rho", "Abr", "plo"};
  bool computations[4] = {};
  scan_options(line, 13, 47, kComputations, computations);
  rdg.computations = {computations[0], computations[1], computations[2], computations[3]};

  line = find_rdg_line(cursor, out, "RHO_INPUT_CUBE");
  rdg.density_cube = left_adjust(columns(line, 16, 50), 35);
  if (grd_files) {
    line = find_rdg_line(cursor, out, "RHO_INPUT_GRD(XD only)");
    rdg.density_grd = left_adjust(columns(line, 24, 50), 27);
  }

  static constexpr std::string_view kSources[] = {"calc", "read"};
  bool source[2] = {};
  line = find_rdg_line(cursor, out, "GRAD=");
  scan_options(line, 6, 46, kSources, source);
  rdg.derive_gradient = source[0];
  rdg.read_gradient = source[1];
  if (rdg.read_gradient) {
    line = find_rdg_line(cursor, out, "GRAD_INPUT_CUBE");
    rdg.gradient_cube = left_adjust(columns(line, 17, 50), 34);
    if (grd_files) {
      line = find_rdg_line(cursor, out, "GRAD_INPUT_GRD(XD only)");
      rdg.gradient_grd = left_adjust(columns(line, 25, 50), 26);
    }
  }

  source[0] = source[1] = false;
  line = find_rdg_line(cursor, out, "LAPL=");
  scan_options(line, 6, 46, kSources, source);
  rdg.derive_laplacian = source[0];
  rdg.read_laplacian = source[1];
  // The laplacian files are named whenever the laplacian is not derived, even if "read" is
  // not marked either.
  if (!rdg.derive_laplacian) {
    line = find_rdg_line(cursor, out, "LAPL_INPUT_CUBE");
    rdg.laplacian_cube = left_adjust(columns(line, 17, 50), 34);
    if (grd_files) {
      line = find_rdg_line(cursor, out, "LAPL_INPUT_GRD(XD only)");
      rdg.laplacian_grd = left_adjust(columns(line, 25, 50), 26);
    }
  }

  if (rdg.computations.rdg) {
    line = find_rdg_line(cursor, out, "RDG_CALCULATION");
    static constexpr std::string_view kPoints[] = {"all_p", "rho_c", "rhosi"};
    static constexpr PointSelection kSelections[] = {PointSelection::all_points,
                                                     PointSelection::density_window,
                                                     PointSelection::rhosign_window};
    bool points[3] = {};
    const int unknown_points = scan_options(line, 17, 45, kPoints, points);
    for (int n = 0; n < unknown_points; ++n)
      out.to_log("RDG CALCULATION:no option for points to calculate RDG has been chosen!!!");
    if (count_set(points) > 1)
      stop_with(out,
                "!!!ERROR IN CHOSING WHICH POINTS WILL BE CONSIDERED IN RDG CALCULATION. PROGRAM "
                "STOP");
    rdg.point_selection = marked_option(points, kSelections, PointSelection::not_chosen);
    if (rdg.point_selection == PointSelection::density_window ||
        rdg.point_selection == PointSelection::rhosign_window) {
      line = find_rdg_line(cursor, out, "LOWER_VALUE");
      rdg.window_lower = read_real(cursor, line, 13, 50);
      line = find_rdg_line(cursor, out, "UPPER_VALUE");
      rdg.window_upper = read_real(cursor, line, 13, 50);
    }
    line = find_rdg_line(cursor, out, "RDG_OUTPUT");
    rdg.rdg_stem = left_adjust(columns(line, 12, 41), 30);

    line = find_rdg_line(cursor, out, "SPACE_CUTOFF");
    static constexpr std::string_view kSpace[] = {"none", "atom", "exte"};
    static constexpr SpaceCutoff kCutoffs[] = {SpaceCutoff::none, SpaceCutoff::near_atoms,
                                               SpaceCutoff::atom_box};
    bool space[3] = {};
    scan_options(line, 13, 45, kSpace, space);
    if (count_set(space) > 1)
      stop_with(out,
                "!!!ERROR IN CHOSING THE SPACE CUTOFF FOR RDG CALCULATION(more than one choice). "
                "PROGRAM STOP");
    rdg.space_cutoff = marked_option(space, kCutoffs, SpaceCutoff::not_chosen);
    if (rdg.space_cutoff == SpaceCutoff::near_atoms || rdg.space_cutoff == SpaceCutoff::atom_box) {
      line = find_rdg_line(cursor, out, "TOLERANCE");
      rdg.cutoff_distance = read_real(cursor, line, 11, 50);
    }
  }

  static constexpr std::string_view kOnRdgPoints[] = {"RDG_p"};
  rdg.rhosign_on_rdg_points = false;
  if (rdg.computations.rhosign) {
    line = find_rdg_line(cursor, out, "RHO_SIGN_CALCULATION");
    bool on_rdg_points[1] = {};
    scan_options(line, 22, 45, kOnRdgPoints, on_rdg_points);
    rdg.rhosign_on_rdg_points = on_rdg_points[0];
    line = find_rdg_line(cursor, out, "RHO_SIGN_OUTPUT");
    rdg.rhosign_stem = left_adjust(columns(line, 17, 46), 30);
  }

  rdg.abramov_on_rdg_points = false;
  if (rdg.computations.abramov) {
    line = find_rdg_line(cursor, out, "ENERGY_CALCULATION");
    bool on_rdg_points[1] = {};
    scan_options(line, 20, 45, kOnRdgPoints, on_rdg_points);
    rdg.abramov_on_rdg_points = on_rdg_points[0];
    line = find_rdg_line(cursor, out, "ENERGY_OUTPUT");
    rdg.abramov_stem = left_adjust(columns(line, 15, 44), 30);
  }

  rdg.plot_tables = {};
  if (rdg.computations.plots) {
    line = find_rdg_line(cursor, out, "2DPLOT");
    // The fourth character matters: "rho " and "rho*" ask for the density table, "rhos" for
    // the rho*sign(lambda2) table.
    static constexpr std::string_view kTables[] = {"rho ", "rho*", "rhos"};
    bool tables[3] = {};
    scan_options(line, 8, 45, kTables, tables);
    rdg.plot_tables.rdg_vs_density = tables[0] || tables[1];
    rdg.plot_tables.rdg_vs_rhosign = tables[2];
    line = find_rdg_line(cursor, out, "PLOT_NAME");
    rdg.plot_stem =
        left_adjust(read_text_item(cursor, columns(line, 11, 40), rdg.plot_stem), 30);
  }

  cross_checks(out, rdg);
}

}  // namespace qv
