#pragma once
// Reader of .wfx files (the extended AIM wavefunction layout written by Gaussian, ORCA, Psi4,
// Multiwfn and others): sections between <Tag> and </Tag> lines, in any order.
#include "gridio/line_reader.hpp"
#include "gridio/run_output.hpp"
#include "wavefunction/wfn_record.hpp"

namespace qv {

// Reads the sections that define the density: nuclear names, charges and coordinates; the
// primitives' centres, types and exponents; the orbitals' occupations (energies when given) and
// coefficients; the optional core density (EDF). Other sections are passed over. Lines whose
// first non-blank character is '#' are comments, and text before the first tag is a preamble.
// A missing required section, a count that disagrees with its section, an unclosed tag, a bad
// or non-finite number, or content that cannot be evaluated (types above 56, centres out of
// range, exponents of zero or less) is reported in the run log with the file, the tag and the
// line, and the run stops (ProgramStop).
WfnRecord read_wfx(LineReader& in, RunOutput& out);

}  // namespace qv
