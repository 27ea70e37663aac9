#include "driver/output_writing.hpp"

namespace qv {

// Placeholder until the RDG job is built: nothing to summarise.
void write_rdg_summary(const RdgSettings&, TextOutput&) {}

}  // namespace qv
