#include <span>

#include "driver/block_readers.hpp"
#include "gridio/fixed_text.hpp"
#include "gridio/stop.hpp"

namespace qv {

namespace {

// A keyword line that must be there: at end of file the block's two-line message goes to the
// run log and the screen, and the run stops.
std::string require(InputCursor& cursor, RunOutput& out, std::string_view keyword) {
  auto record = cursor.find(keyword);
  if (record) return *record;
  for (const char* line : {"WFN SECTION: PROBLEM IN READING THE INPUT!!!!",
                           "THE TEMPLATE MIGHT HAVE BEEN MODIFIED, PROGRAM STOP"})
    out.to_log(line);
  out.to_screen("WFN SECTION: PROBLEM IN READING THE INPUT!!!!");
  out.to_screen("THE TEMPLATE MIGHT HAVE BEEN MODIFIED, PROGRAM STOP");
  program_stop(1);
}

}  // namespace

void read_wfn_block(InputCursor& cursor, RunOutput& out, WfnSettings& wfn) {
  require(cursor, out, "PROPERTIES FROM WAVEFUNCTION");
  wfn.wavefunction_file = left_adjust(columns(require(cursor, out, "INPUT"), 7, 39), 33);

  // The OUTPUT and N_POINTS_X searches have no end-of-file check of their own: the file layer
  // reports a missing line.
  wfn.output_stem = left_adjust(columns(cursor.find_or_fail("OUTPUT"), 8, 40), 33);
  if (is_blank(wfn.output_stem)) out.to_log("WFN SECTION: output name for grid files not given!!!");

  const std::string calc = require(cursor, out, "CALCULATING");
  wfn.properties.density = has_marker(calc, 1, 47, "rho");
  wfn.properties.gradient = has_marker(calc, 1, 47, "gra");
  wfn.properties.laplacian = has_marker(calc, 1, 47, "lap");
  wfn.properties.energy_densities = has_marker(calc, 1, 47, "ene");

  const std::string centre = require(cursor, out, "CENTER");
  if (list_read(columns(centre, 8, 50), std::span<float>(wfn.centre)) != ListStatus::Ok)
    out.to_log("WFN SECTION: bad value for cube center!!");

  const std::string nx = cursor.find_or_fail("N_POINTS_X");
  read_numbers_or_fail(cursor, nx, 12, 40, std::span<std::int32_t>(&wfn.points_x, 1));
  const std::string sx = require(cursor, out, "STEPSIZE_X");
  read_numbers_or_fail(cursor, sx, 12, 40, std::span<float>(&wfn.axes[0][0], 1));
  const std::string ny = require(cursor, out, "N_POINTS_Y");
  read_numbers_or_fail(cursor, ny, 12, 40, std::span<std::int32_t>(&wfn.points_y, 1));
  const std::string sy = require(cursor, out, "STEPSIZE_Y");
  read_numbers_or_fail(cursor, sy, 12, 40, std::span<float>(&wfn.axes[1][1], 1));
  const std::string nz = require(cursor, out, "N_POINTS_Z");
  read_numbers_or_fail(cursor, nz, 12, 40, std::span<std::int32_t>(&wfn.points_z, 1));
  const std::string sz = require(cursor, out, "STEPSIZE_Z");
  read_numbers_or_fail(cursor, sz, 12, 40, std::span<float>(&wfn.axes[2][2], 1));
}

}  // namespace qv
