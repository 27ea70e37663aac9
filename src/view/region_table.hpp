#pragma once
// The NCI regions as a tab-separated file and as an aligned table for the screen, one row per
// region with the same 16 columns and the same figures.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "gridio/text_output.hpp"
#include "view/nci_regions.hpp"

namespace qv {

// The column line of the tab-separated file; it also marks the file as ours.
inline constexpr std::string_view kRegionColumns =
    "region\tpoints\tvolume\trho_integral\trdg_min\trhosign_at_rdg_min\trhosign_min\t"
    "rhosign_max\tx\ty\tz\tatom1\tatom2\td1\td2\tkind";

// The 16 fields of one region, numbered `number`, as both outputs write them: reals with 6
// significant digits (exponent form for the densities, RDG, volume and integral), atoms as
// element symbol and 1-based header index ("-" where the header has too few atoms), the kind
// followed by "*" when the region touches the outermost layer of the grid.
std::array<std::string, 16> region_fields(const NciRegion& region, std::size_t number,
                                          const std::vector<CubeAtom>& atoms);

void write_region_tsv(const std::vector<NciRegion>& regions, const std::vector<CubeAtom>& atoms,
                      TextOutput& out);

// What the printed table says above its columns.
struct RegionTableTitle {
  std::string rdg_cube, rhosign_cube;
  NciCriteria criteria;
  std::array<std::size_t, 3> points{};
  double cell_volume = 0;
};

// The title lines, the column line and one row per region, in columns padded to their widest
// entry (names and atoms to the left, numbers to the right).
void print_region_table(const std::vector<NciRegion>& regions,
                        const std::vector<CubeAtom>& atoms, const RegionTableTitle& title,
                        TextOutput& out);

}  // namespace qv
