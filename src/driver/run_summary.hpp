#pragma once
// The run summary written to the run log after each job.
#include "driver/run_settings.hpp"
#include "gridio/text_output.hpp"

namespace qv {

// The three jobs, in the order they run.
enum class Job { wfn, top, rdg };

// The run summary of one job.
void write_run_summary(Job job, const RunSettings& settings, TextOutput& log);

void write_wfn_summary(const WfnSettings& wfn, TextOutput& log);
void write_top_summary(const TopSettings& top, TextOutput& log);
void write_rdg_summary(const RdgSettings& rdg, TextOutput& log);

}  // namespace qv
