#include "driver/run_summary.hpp"

namespace qv {

void write_run_summary(Job job, const RunSettings& settings, TextOutput& log) {
  switch (job) {
    case Job::wfn: write_wfn_summary(settings.wfn, log); break;
    case Job::top: write_top_summary(settings.top, log); break;
    case Job::rdg: write_rdg_summary(settings.rdg, log); break;
  }
}

}  // namespace qv
