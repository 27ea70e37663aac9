#include "driver/input_file.hpp"

#include "driver/block_readers.hpp"
#include "driver/input_cursor.hpp"
#include "gridio/file_identity.hpp"
#include "gridio/fixed_text.hpp"
#include "gridio/stop.hpp"

namespace qv {

namespace {

void open_run_log(const std::string& input_path, RunOutput& out, const std::string& run_log_name,
                  RunLogMode mode) {
  const std::string name = trimmed(run_log_name);
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

void read_input_file(LineReader& in, const std::string& input_path, RunOutput& out,
                   RunSettings& settings, RunLogMode mode) {
  InputCursor cursor(in);
  settings.wfn.axes = {};

  auto header = cursor.find("OUTPUT_FILE_NAME");
  if (!header) {
    out.to_screen("NO STRING FOR OUTPUT FILE NAME!!!PROGRAM STOP");
    program_stop(1);
  }
  settings.run_log_name = left_adjust(columns(*header, 18, 47), 30);
  if (is_blank(settings.run_log_name)) {
    out.to_screen("NAME FOR OUTPUT FILE WAS NOT GIVEN, PROGRAM STOP");
    program_stop(1);
  }
  open_run_log(input_path, out, settings.run_log_name, mode);

  settings.jobs = {};
  settings.wfn.properties = {};
  const std::string sections = cursor.find_or_fail("SECTIONS");
  settings.jobs.wfn = has_marker(sections, 1, 47, "WFN");
  settings.jobs.top = has_marker(sections, 1, 47, "TOP");
  settings.jobs.rdg = has_marker(sections, 1, 47, "RDG");
  if (!settings.jobs.wfn && !settings.jobs.top && !settings.jobs.rdg) {
    out.to_log("NO JOB HAS BEEN ASSIGNED TO THE PROGRAM!!");
    return;
  }
  if (settings.jobs.wfn) read_wfn_block(cursor, out, settings.wfn);
  if (settings.jobs.top) read_top_block(cursor, out, settings.top);
  if (settings.jobs.rdg) read_rdg_block(cursor, out, settings.rdg);
}

}  // namespace qv
