#include "driver/run.hpp"

#include "analysis/rdg_job.hpp"
#include "driver/banner.hpp"
#include "driver/input_file.hpp"
#include "driver/run_summary.hpp"
#include "gridio/fixed_text.hpp"
#include "gridio/stop.hpp"
#include "gridio/text_error.hpp"
#include "topond/top_job.hpp"
#include "wavefunction/wfn_job.hpp"

namespace qv {

std::string input_file_name(const std::string& argument) {
  return trimmed(left_adjust(argument, 30));
}

namespace {

void run_jobs(RunSettings& settings, RunOutput& out) {
  if (settings.jobs.wfn && run_wfn_job(settings.wfn, out))
    write_run_summary(Job::wfn, settings, out.log());
  if (settings.jobs.top) {
    if (run_top_job(settings.top, out)) write_run_summary(Job::top, settings, out.log());
    settings.top.rotations.clear();
    settings.top.rotations.shrink_to_fit();
    settings.top.translations.clear();
    settings.top.translations.shrink_to_fit();
  }
  const WfnCounts wfn_counts{settings.wfn.points_x, settings.wfn.points_y, settings.wfn.points_z};
  if (settings.jobs.rdg && run_rdg_job(settings.rdg, wfn_counts, out))
    write_run_summary(Job::rdg, settings, out.log());
}

void report(TextOutput& errors, const std::string& message) {
  try {
    errors.line("quelvarin: " + message);
    errors.flush();
  } catch (...) {
  }
}

}  // namespace

int run(const std::string& argument, TextOutput& screen, TextOutput& errors) {
  const std::string name = input_file_name(argument);
  RunOutput out(screen);
  int status = 0;
  try {
    auto in = LineReader::open(name);
    if (!in) throw TextError(name, 0, "the input file cannot be opened");
    RunSettings settings;
    read_input_file(*in, name, out, settings);
    write_banner(out.log());
    run_jobs(settings, out);
  } catch (const ProgramStop& stop) {
    status = stop.status;
  } catch (const TextError& e) {
    report(errors, e.what());
    status = kTextErrorStatus;
  } catch (const OutOfMemory& e) {
    report(errors, e.what());
    status = kOutOfMemoryStatus;
  } catch (const std::bad_alloc&) {
    report(errors, "out of memory");
    status = kOutOfMemoryStatus;
  }
  // Everything written so far reaches its file, whatever ended the run.
  try {
    out.flush();
    if (auto log = out.take_log()) log->close();
  } catch (const TextError& e) {
    report(errors, e.what());
    if (status == 0) status = kTextErrorStatus;
  }
  return status;
}

}  // namespace qv
