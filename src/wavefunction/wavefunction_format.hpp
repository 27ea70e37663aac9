#pragma once
// Which reader the WFN job's input file goes to: decided once, by the file's name and its
// first lines, in one place that a new format joins.
#include <string_view>

namespace qv {

// Wavefunctions (.wfn, .wfx) or molecular geometries (.xyz, .pdb: promolecular densities).
enum class WavefunctionFormat { wfn, wfx, xyz, pdb };

inline bool is_geometry(WavefunctionFormat format) {
  return format == WavefunctionFormat::xyz || format == WavefunctionFormat::pdb;
}

// .xyz and .pdb by the name's ending (any case); .wfx when the name ends in ".wfx" (any case),
// or when a <Title> tag line comes before the .wfn line of counts in `head` (the first lines of
// the file); .wfn otherwise.
WavefunctionFormat wavefunction_format(std::string_view name, std::string_view head);

// "wfn", "wfx", "xyz" or "pdb".
std::string_view format_name(WavefunctionFormat format);

}  // namespace qv
