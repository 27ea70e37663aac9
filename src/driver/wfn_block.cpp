#include "driver/block_readers.hpp"

namespace qv {

// Placeholder until the WFN block reader is built: the block is not read.
void read_wfn_block(InputCursor&, RunOutput&, WfnSettings&) {}

}  // namespace qv
