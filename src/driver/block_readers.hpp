#pragma once
// The three job blocks of the input file. Each continues the forward pass where the previous
// reading stopped, writes its warnings to the run log, and raises ProgramStop on a fatal error
// after writing its messages.
#include "analysis/rdg_settings.hpp"
#include "driver/input_cursor.hpp"
#include "gridio/run_output.hpp"
#include "topond/top_settings.hpp"
#include "wavefunction/wfn_settings.hpp"

namespace qv {

void read_wfn_block(InputCursor& cursor, RunOutput& out, WfnSettings& wfn);
void read_top_block(InputCursor& cursor, RunOutput& out, TopSettings& top);
void read_rdg_block(InputCursor& cursor, RunOutput& out, RdgSettings& rdg);

}  // namespace qv
