#include "analysis/calc_stuff.hpp"

namespace qv {

bool calc_stuff(RdgSettings&, const WfnSettings&, RunOutput& out) {
  out.to_log("RDG job is not available in this build: its block is ignored");
  return false;
}

}  // namespace qv
