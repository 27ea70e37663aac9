#pragma once
// Which reader the WFN job's input file goes to: decided once, by the file's name and its
// first lines, in one place that a new format joins.
#include <string_view>

namespace qv {

enum class WavefunctionFormat { wfn, wfx };

// .wfx when the name ends in ".wfx" (any case), or when a <Title> tag line comes before the
// .wfn line of counts in `head` (the first lines of the file); .wfn otherwise.
WavefunctionFormat wavefunction_format(std::string_view name, std::string_view head);

// "wfn" or "wfx".
std::string_view format_name(WavefunctionFormat format);

}  // namespace qv
