#include "driver/input_reading.hpp"

#include "driver/block_readers.hpp"
#include "driver/input_cursor.hpp"
#include "gridio/file_identity.hpp"
#include "gridio/fixed_text.hpp"
#include "gridio/stop.hpp"

namespace qv {

namespace {

void open_run_log(const std::string& input_path, RunOutput& out, const std::string& nciout,
                  RunLogMode mode) {
  const std::string name = trimmed(nciout);
  if (mode == RunLogMode::Leave) {
    out.set_log(TextOutput::memory(name));
    return;
  }
  if (same_existing_file(name, input_path)) {
    out.to_screen("OUTPUT FILE NAME IS THE INPUT FILE ITSELF, PROGRAM STOP");
    program_stop(1);
  }
  out.set_log(TextOutput::create(name));
}

}  // namespace

void input_reading(LineReader& in, const std::string& input_path, RunOutput& out,
                   input_variables& iv, RunLogMode mode) {
  InputCursor cursor(in);
  iv.wfn.orient_matr = {};

  auto header = cursor.find("OUTPUT_FILE_NAME");
  if (!header) {
    out.to_screen("NO STRING FOR OUTPUT FILE NAME!!!PROGRAM STOP");
    program_stop(1);
  }
  iv.nciout = left_adjust(columns(*header, 18, 47), 30);
  if (is_blank(iv.nciout)) {
    out.to_screen("NAME FOR OUTPUT FILE WAS NOT GIVEN, PROGRAM STOP");
    program_stop(1);
  }
  open_run_log(input_path, out, iv.nciout, mode);

  iv.inp1_risp = {};
  iv.wfn.wfn_risp = {};
  const std::string sections = cursor.find_or_fail("SECTIONS");
  iv.inp1_risp[0] = has_marker(sections, 1, 47, "WFN");
  iv.inp1_risp[1] = has_marker(sections, 1, 47, "TOP");
  iv.inp1_risp[2] = has_marker(sections, 1, 47, "RDG");
  if (!iv.inp1_risp[0] && !iv.inp1_risp[1] && !iv.inp1_risp[2]) {
    out.to_log("NO JOB HAS BEEN ASSIGNED TO THE PROGRAM!!");
    return;
  }
  if (iv.inp1_risp[0]) read_wfn_block(cursor, out, iv.wfn);
  if (iv.inp1_risp[1]) read_top_block(cursor, out, iv.top);
  if (iv.inp1_risp[2]) read_rdg_block(cursor, out, iv.rdg);
}

}  // namespace qv
