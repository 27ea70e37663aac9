#include "topond/topo_to_cube.hpp"

namespace qv {

bool topo_to_cube(const TopSettings&, RunOutput& out) {
  out.to_log("TOP job is not available in this build: its block is ignored");
  return false;
}

}  // namespace qv
