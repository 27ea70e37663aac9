#include "driver/block_readers.hpp"

namespace qv {

// Placeholder until the RDG block reader is built: the block is not read.
void read_rdg_block(InputCursor&, RunOutput&, RdgSettings&) {}

}  // namespace qv
