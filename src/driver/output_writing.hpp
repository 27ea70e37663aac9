#pragma once
// The run summary written to the run log after each job.
#include "driver/input_variables.hpp"
#include "gridio/text_output.hpp"

namespace qv {

// section: 1 = WFN, 2 = TOP, 3 = RDG; any other value writes nothing.
void output_writing(int section, const input_variables& iv, TextOutput& log);

void write_wfn_summary(const WfnSettings& wfn, TextOutput& log);
void write_top_summary(const TopSettings& top, TextOutput& log);
void write_rdg_summary(const RdgSettings& rdg, TextOutput& log);

}  // namespace qv
