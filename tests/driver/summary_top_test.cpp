// The TOP job's run summary, byte for byte.
#include <gtest/gtest.h>

#include <string>

#include "driver/run_summary.hpp"
#include "topond/symmetry_text.hpp"

namespace qv {
namespace {

TopSettings settings(int grid_count, std::initializer_list<const char*> operations) {
  TopSettings top;
  top.grid_count = grid_count;
  const char* grids[3] = {"rho.dat", "grad.dat", "lapl.dat"};
  const char* cubes[3] = {"rho_out", "grad_out", "lapl_out"};
  for (int g = 0; g < 3 && g < grid_count; ++g) {
    top.topond_grids[g] = left_adjust(grids[g], 30);
    top.cube_stems[g] = left_adjust(cubes[g], 30);
  }
  top.crystal_output = left_adjust("crystal.out", 30);
  for (const char* text : operations) {
    SymmetryOperation op;
    parse_symmetry_text(text, "in.inp", 1, op);
    top.rotations.push_back(op.rotation);
    top.translations.push_back(op.translation);
  }
  top.symmetry_count = static_cast<std::int32_t>(top.rotations.size());
  return top;
}

std::string summary(const TopSettings& top) {
  auto log = TextOutput::memory();
  RunSettings run;
  run.top = top;
  write_run_summary(Job::top, run, *log);
  log->flush();
  return log->contents();
}

const std::string kBangs = " " + std::string(61, '!') + "\n";
const std::string kOpening = " \n \n \n \n" + kBangs +
                             " !!!!!!!!!!!!!!!TOPOND TO CUBE CONVERSION!!!!!!!!!!!!!!!!!!!!!\n" +
                             kBangs + " \n \n";
const std::string kAtoms =
    " ATOMS WRITTEN IN THE CUBE FILE(S):\n \n"
    " crystal.out                       file read from crystal(atomic coordinates)\n \n"
    " atomic coordinates in the output cube file generated \n"
    " by applying the following symmetry operation(s):\n";

std::string grid_lines(const char* grid, const char* cube) {
  return " " + left_adjust(grid, 30) + "  grid file read as input\n" +
         " name of the written cube file:   " + cube + ".cube\n";
}

TEST(TopSummary, OneGridIdentity) {
  EXPECT_EQ(summary(settings(1, {"x,y,z"})),
            kOpening + "           1  file(s) will converted from topond format to cube format.\n" +
                " \n" + grid_lines("rho.dat", "rho_out") + " \n \n \n" + kAtoms + " \n" +
                "+x,+y,+z, \n");
}

TEST(TopSummary, ThreeGridsAndTranslations) {
  EXPECT_EQ(summary(settings(3, {"-x-1/2,y+1/3,-z+0.25", "y,-x,z", "-x+y,x,z+1"})),
            kOpening + "           3  file(s) will converted from topond format to cube format.\n" +
                " \n" + grid_lines("rho.dat", "rho_out") + " \n" +
                grid_lines("grad.dat", "grad_out") + " \n" + grid_lines("lapl.dat", "lapl_out") +
                " \n" + kAtoms + " \n" + "-x-0.50,+y+0.33,-z+0.25, \n" + "+y,-x,+z, \n" +
                "-x+y,+x,+z+1.00, \n");
}

TEST(TopSummary, NoOperationsNoGrids) {
  EXPECT_EQ(summary(settings(0, {})),
            kOpening + "           0  file(s) will converted from topond format to cube format.\n" +
                " \n \n \n \n" + kAtoms + " \n");
}

TEST(TopSummary, FiveGridsListThree) {
  const std::string s = summary(settings(5, {"x,y,z"}));
  EXPECT_NE(s.find("           5  file(s) will"), std::string::npos);
  EXPECT_NE(s.find(grid_lines("lapl.dat", "lapl_out") + " \n ATOMS"), std::string::npos);
}

TEST(TopSummary, ComponentWithoutLetterWarnsAndGoesOn) {
  // The warning ends the line that the operation has begun; the rest follows on a new line.
  EXPECT_EQ(summary(settings(0, {"x,1/2,z"})),
            kOpening + "           0  file(s) will converted from topond format to cube format.\n" +
                " \n \n \n \n" + kAtoms + " \n" +
                "+x, TOPOND SECTION, SYMMETRY OPERATION:problem in the reading process....\n"
                "+0.50,+z, \n");
}

TEST(TopSummary, TranslationTooWideForItsFieldIsAsterisks) {
  const std::string s = summary(settings(0, {"x+12,y,z"}));
  EXPECT_NE(s.find("\n+x+****,+y,+z, \n"), std::string::npos);
}

TEST(TopSummary, OtherJobsWriteNoTopLines) {
  RunSettings run;
  run.top = settings(1, {"x,y,z"});
  for (Job job : {Job::wfn, Job::rdg}) {
    auto log = TextOutput::memory();
    write_run_summary(job, run, *log);
    log->flush();
    EXPECT_EQ(log->contents().find("TOPOND"), std::string::npos);
  }
}

}  // namespace
}  // namespace qv
