#pragma once
// Outputs that may replace only files made by the same tool: a file that already exists is
// overwritten only when its opening bytes carry our mark.
#include <memory>
#include <string>
#include <string_view>

#include "gridio/text_output.hpp"

namespace qv {

// True when nothing is at `path`, or a regular file whose first 512 bytes contain `mark`.
bool free_or_ours(const std::string& path, std::string_view mark);

// Creates (or replaces our own) `path`; nullptr when another file stands there. Raises
// TextError when the file cannot be created.
std::unique_ptr<TextOutput> create_own_output(const std::string& path, std::string_view mark);

}  // namespace qv
