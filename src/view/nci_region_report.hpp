#pragma once
// The table of NCI regions of a run: read the RDG and rho*sign(lambda2) cubes, find the
// regions, write them as a tab-separated file and print them, aligned, on the screen.
#include <string>
#include <vector>

#include "gridio/text_output.hpp"
#include "view/nci_regions.hpp"

namespace qv {

struct RegionReportFiles {
  std::string rdg_cube, rhosign_cube;  // read
  std::string table;                   // the tab-separated file written
};

struct RegionReport {
  std::vector<NciRegion> regions;
  std::vector<CubeAtom> atoms;  // of the RDG cube's header, which the regions' atoms index
  std::string problem;          // why no table was written (empty when it was)
};

// Grids that differ, or a file not made by quelvarin-plot standing where the table goes, are
// reported in `problem` and nothing is written or printed. Raises TextError for a missing or
// malformed cube or a table that cannot be written, OutOfMemory or std::bad_alloc when the
// grids cannot be held.
RegionReport report_nci_regions(const RegionReportFiles& files, const NciCriteria& criteria,
                                TextOutput& screen);

// Comment lines for viewer scripts, one per region: its number, kind, nearest atoms and the
// position of its lowest RDG, so that a surface seen in the viewer can be found in the table.
// Each line starts with "# ".
std::vector<std::string> region_comment_lines(const RegionReport& report,
                                              const std::string& table_name);

}  // namespace qv
