#include "driver/run.hpp"

#include "analysis/calc_stuff.hpp"
#include "driver/banner.hpp"
#include "driver/input_reading.hpp"
#include "driver/output_writing.hpp"
#include "gridio/fixed_text.hpp"
#include "gridio/stop.hpp"
#include "gridio/text_error.hpp"
#include "topond/topo_to_cube.hpp"
#include "wavefunction/wfn_prop.hpp"

namespace qv {

std::string input_file_name(const std::string& argument) {
  return trimmed(left_adjust(argument, 30));
}

namespace {

void run_jobs(input_variables& iv, RunOutput& out) {
  if (iv.inp1_risp[0] && wfn_prop(iv.wfn, out)) output_writing(1, iv, out.log());
  if (iv.inp1_risp[1]) {
    if (topo_to_cube(iv.top, out)) output_writing(2, iv, out.log());
    iv.top.symm_op.clear();
    iv.top.symm_op.shrink_to_fit();
    iv.top.transl.clear();
    iv.top.transl.shrink_to_fit();
  }
  if (iv.inp1_risp[2] && calc_stuff(iv.rdg, iv.wfn, out)) output_writing(3, iv, out.log());
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
    input_variables iv;
    input_reading(*in, name, out, iv);
    write_banner(out.log());
    run_jobs(iv, out);
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
