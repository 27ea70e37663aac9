#include "wavefunction/wfn_prop.hpp"

namespace qv {

bool wfn_prop(WfnSettings&, RunOutput& out) {
  out.to_log("WFN job is not available in this build: its block is ignored");
  return false;
}

}  // namespace qv
