#include "driver/output_writing.hpp"

namespace qv {

// Placeholder until the TOP job is built: nothing to summarise.
void write_top_summary(const TopSettings&, TextOutput&) {}

}  // namespace qv
