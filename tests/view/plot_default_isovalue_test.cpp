// quelvarin-plot's default isovalue: 0.3 when the run's density is promolecular (made from a
// geometry by the same input), 0.5 otherwise, said on the screen; --iso overrides both.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/temp_dir.hpp"

namespace qv {
namespace {

using testing::read_file;
using testing::run_binary;
using testing::TempDir;
using testing::write_file;

// quelvarin-plot with `args`, its output in out.txt and err.txt.
int run_plot(const std::string& args) {
  return testing::run_shell(std::string(QV_PLOT_BINARY) + " " + args);
}

// A water dimer from its geometry (WFN job), then the RDG job on the density cube `density`.
std::string run_input(const std::string& density) {
  return "OUTPUT_FILE_NAME run.log\nSECTIONS *WFN *RDG\nPROPERTIES FROM WAVEFUNCTION\n"
         "INPUT dimer.xyz\nOUTPUT mol\nCALCULATING *rho\nCENTER 0.7 0.15 0.0\n"
         "N_POINTS_X 12\nSTEPSIZE_X 0.2\nN_POINTS_Y 10\nSTEPSIZE_Y 0.2\nN_POINTS_Z 10\nSTEPSIZE_Z 0.2\n"
         "RDG,RHO*(signL2) AND ABRAMOV ENERGY CALCULATION\nINPUT *CUB\nCALCULATING *RDG *rho\n"
         "RHO_INPUT_CUBE " + density + "\nGRAD= *calc\nLAPL= *calc\nLAPL_INPUT_CUBE\n"
         "RDG_CALCULATION *all_p\nRDG_OUTPUT rdg\nSPACE_CUTOFF *none\nRHO_SIGN_CALCULATION\n"
         "RHO_SIGN_OUTPUT sign\n";
}

TEST(PlotDefaultIsovalue, FollowsTheKindOfDensityUnlessChosen) {
  struct Case {
    std::string density, options, said, script;
  };
  for (const Case& c : {
           Case{"mol_rho.cube", "", "RDG isosurface at 0.3, the default for a promolecular density",
                "Isosurface 0.300000"},
           Case{"copy.cube", "", "RDG isosurface at 0.5, the default for a density from a wavefunction",
                "Isosurface 0.500000"},
           Case{"mol_rho.cube", "--iso 0.42 ", "", "Isosurface 0.420000"},
       }) {
    SCOPED_TRACE(c.density + " " + c.options);
    TempDir dir;
    write_file("dimer.xyz",
               "6\nwater dimer\nO -1.551 -0.115 0.0\nH -1.934 0.763 0.0\nH -0.600 0.041 0.0\n"
               "O 1.351 0.111 0.0\nH 1.680 -0.374 -0.759\nH 1.680 -0.374 0.759\n");
    // The copy is made by a first run: the second reads it as a cube of unknown origin.
    write_file("first.inp", run_input("mol_rho.cube"));
    ASSERT_EQ(run_binary("first.inp"), 0) << read_file("stderr.txt");
    std::filesystem::copy_file("mol_rho.cube", "copy.cube");
    write_file("run.inp", run_input(c.density));
    ASSERT_EQ(run_binary("run.inp"), 0) << read_file("stderr.txt");
    ASSERT_EQ(run_plot("--no-render " + c.options + "run.inp"), 0) << read_file("err.txt");
    const std::string said = read_file("out.txt");
    if (c.said.empty())
      EXPECT_EQ(said.find("RDG isosurface at"), std::string::npos) << said;
    else
      EXPECT_NE(said.find(c.said), std::string::npos) << said;
    EXPECT_NE(read_file("rdg.vmd").find(c.script), std::string::npos) << read_file("rdg.vmd");
  }
}

}  // namespace
}  // namespace qv
