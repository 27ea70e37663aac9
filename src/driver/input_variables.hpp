#pragma once
// The settings record: every value read from the input file, filled once by input_reading.
#include <array>
#include <string>

#include "analysis/rdg_settings.hpp"
#include "gridio/fixed_text.hpp"
#include "topond/top_settings.hpp"
#include "wavefunction/wfn_settings.hpp"

namespace qv {

struct input_variables {
  std::string nciout = blank_text(30);  // run log name
  std::array<int, 3> inp1_risp{};       // jobs WFN, TOP, RDG
  WfnSettings wfn;
  TopSettings top;
  RdgSettings rdg;
};

}  // namespace qv
