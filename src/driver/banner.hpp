#pragma once
// The start-up banner of the run log: 21 list-directed lines.
#include <array>
#include <string>

#include "gridio/text_output.hpp"

namespace qv {

// The 21 lines without their leading blank: the first is empty, the others 95 characters.
std::array<std::string, 21> banner_lines();
void write_banner(TextOutput& log);

}  // namespace qv
