// The run summary of the WFN job, byte for byte.
#include <gtest/gtest.h>

#include "driver/run_summary.hpp"

namespace qv {
namespace {

std::string summary(const RunSettings& run) {
  auto log = TextOutput::memory("log");
  write_run_summary(Job::wfn, run, *log);
  log->flush();
  return log->contents();
}

RunSettings settings(WfnProperties on) {
  RunSettings run;
  run.wfn.wavefunction_file = left_adjust("water_dimer.wfn", 33);
  run.wfn.output_stem = left_adjust("dimer", 33);
  run.wfn.properties = on;
  run.wfn.points_x = 40;
  run.wfn.points_y = 41;
  run.wfn.points_z = 1234567;
  run.wfn.axes[0][0] = 0.1f;
  run.wfn.axes[1][1] = 0.2f;
  run.wfn.axes[2][2] = 0.3f;
  return run;
}

const std::string kHead =
    " !!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!\n"
    " !!!!!!!!!!PROPERTIES FROM WAVEFUNCTION!!!!!!!!!!!\n"
    " !!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!\n"
    " \n"
    " \n"
    " input wavefunction:   water_dimer.wfn                  \n"
    " properties to be evaluated:\n";
const std::string kTail =
    " \n"
    " number of points in the 3 directions(x,y,z respectively):\n"
    "          40          41     1234567\n"
    " \n"
    " stepsize (au) in x,y,z direction, respectively:\n"
    "  0.10000000      0.20000000      0.30000001    \n";

TEST(WfnSummary, EveryProperty) {
  EXPECT_EQ(summary(settings({1, 1, 1, 1})),
            kHead +
                " - electron density\n"
                "    output file:  dimer_rho.cube\n"
                " - electron density gradient\n"
                "    output file:  dimer_gradrho.cube\n"
                " - electron density laplacian\n"
                "    output file:  dimer_laplrho.cube\n"
                " - energy density\n"
                "    output files:  \n"
                " kinetic energy density:dimer_G.cube\n"
                " potential energy density:dimer_V.cube\n"
                " total energy density:dimer_H.cube\n" +
                kTail);
}

TEST(WfnSummary, OnlyTheLaplacianAndABlankStem) {
  RunSettings run = settings({0, 0, 1, 0});
  run.wfn.output_stem = blank_text(33);
  EXPECT_EQ(summary(run), kHead +
                             " - electron density laplacian\n"
                             "    output file:  _laplrho.cube\n" +
                             kTail);
}

}  // namespace
}  // namespace qv
