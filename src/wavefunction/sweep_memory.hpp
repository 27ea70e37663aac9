#pragma once
// The memory a WFN sweep will ask for, checked before any of it is touched: the point counts
// come from the input file and the primitive and orbital counts from the wavefunction, so an
// absurd value must be refused at once rather than by the system after minutes of paging.
#include <string>

#include "wavefunction/wfn_record.hpp"
#include "wavefunction/wfn_settings.hpp"

namespace qv {

// Raises OutOfMemory (naming `what`) when the requested grids, the row coordinates and the
// row evaluator's tables of `evaluators` rows in flight need more than the available memory.
void check_sweep_memory(const WfnRecord& rec, const WfnSettings& wfn, const std::string& what,
                        int evaluators = 1);

}  // namespace qv
