#pragma once
// Helpers shared by the writing and the reading halves of the format engine.
#include <cstddef>
#include <vector>

#include "gridio/format.hpp"

namespace qv::detail {

// Index of the last top-level group, where a format starts again when items remain at its end
// (0, the very beginning, when it has no inner group).
inline std::size_t reversion_point(const std::vector<Format::Node>& nodes) {
  for (std::size_t i = nodes.size(); i-- > 0;)
    if (nodes[i].kind == Format::Node::Kind::Group) return i;
  return 0;
}

}  // namespace qv::detail
