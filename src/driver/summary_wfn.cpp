#include "driver/output_writing.hpp"

namespace qv {

// Placeholder until the WFN job is built: nothing to summarise.
void write_wfn_summary(const WfnSettings&, TextOutput&) {}

}  // namespace qv
