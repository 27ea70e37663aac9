#include "driver/block_readers.hpp"

namespace qv {

// Placeholder until the TOP block reader is built: the block is not read.
void read_top_block(InputCursor&, RunOutput&, TopSettings&) {}

}  // namespace qv
