#include "view/nci_region_report.hpp"

#include "view/own_output.hpp"
#include "view/loaded_cube.hpp"
#include "view/region_table.hpp"

namespace qv {

RegionReport report_nci_regions(const RegionReportFiles& files, const NciCriteria& criteria,
                                TextOutput& screen) {
  RegionReport report;
  RegionTableTitle title;
  {
    // The grids live only while the regions are found.
    const LoadedCube rdg = load_cube(files.rdg_cube);
    const LoadedCube rhosign = load_cube(files.rhosign_cube);
    if (!same_grid(rdg.geometry, rhosign.geometry)) {
      report.problem = "the RDG cube " + files.rdg_cube + " and the rho*sign(lambda2) cube " +
                       files.rhosign_cube + " hold different grids: no table of NCI regions";
      return report;
    }
    report.regions = find_nci_regions(rdg.geometry, rdg.grid.values.data(),
                                      rhosign.grid.values.data(), criteria);
    report.atoms = rdg.geometry.atoms;
    title.points = rdg.geometry.points;
    title.cell_volume = rdg.geometry.cell_volume();
  }
  auto out = create_own_output(files.table, kRegionColumns);
  if (!out) {
    report.problem = files.table + " exists and was not made by quelvarin-plot: it is left as it is";
    return report;
  }
  write_region_tsv(report.regions, report.atoms, *out);
  out->close();

  title.rdg_cube = files.rdg_cube;
  title.rhosign_cube = files.rhosign_cube;
  title.criteria = criteria;
  print_region_table(report.regions, report.atoms, title, screen);
  return report;
}

std::vector<std::string> region_comment_lines(const RegionReport& report,
                                              const std::string& table_name) {
  std::vector<std::string> lines;
  const std::size_t n = report.regions.size();
  lines.push_back("# NCI regions as numbered in " + table_name + " (" + std::to_string(n) +
                  (n == 1 ? " region):" : " regions):"));
  for (std::size_t i = 0; i < report.regions.size(); ++i) {
    const auto f = region_fields(report.regions[i], i + 1, report.atoms);
    const std::string atoms = f[12] != "-"   ? "between " + f[11] + " and " + f[12]
                              : f[11] != "-" ? "near " + f[11]
                                             : "with no atom in the cube";
    lines.push_back("#   region " + f[0] + ": " + f[15] + ", " + f[1] + " points, " + atoms +
                    ", lowest RDG at " + f[8] + " " + f[9] + " " + f[10] + " bohr");
  }
  return lines;
}

}  // namespace qv
