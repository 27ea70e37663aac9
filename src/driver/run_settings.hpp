#pragma once
// The settings record: every value read from the input file, filled once by read_input_file.
#include <string>

#include "analysis/rdg_settings.hpp"
#include "gridio/fixed_text.hpp"
#include "topond/top_settings.hpp"
#include "wavefunction/wfn_settings.hpp"

namespace qv {

// The jobs marked on the SECTIONS line; they always run in this order.
struct JobSwitches {
  bool wfn = false;  // properties from a wavefunction
  bool top = false;  // TOPOND grids to cubes
  bool rdg = false;  // the non-covalent-interaction analysis
};

struct RunSettings {
  std::string run_log_name = blank_text(30);
  JobSwitches jobs;
  WfnSettings wfn;
  TopSettings top;
  RdgSettings rdg;
};

}  // namespace qv
