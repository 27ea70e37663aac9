// The run summary of the WFN job, byte for byte.
#include <gtest/gtest.h>

#include "driver/output_writing.hpp"

namespace qv {
namespace {

std::string summary(const input_variables& iv) {
  auto log = TextOutput::memory("log");
  output_writing(1, iv, *log);
  log->flush();
  return log->contents();
}

input_variables settings(std::array<int, 4> on) {
  input_variables iv;
  iv.wfn.wfn_inpname = left_adjust("water_dimer.wfn", 33);
  iv.wfn.wfn_outname = left_adjust("dimer", 33);
  iv.wfn.wfn_risp = on;
  iv.wfn.n_puntix = 40;
  iv.wfn.n_puntiy = 41;
  iv.wfn.n_puntiz = 1234567;
  iv.wfn.orient_matr[0][0] = 0.1f;
  iv.wfn.orient_matr[1][1] = 0.2f;
  iv.wfn.orient_matr[2][2] = 0.3f;
  return iv;
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
  input_variables iv = settings({0, 0, 1, 0});
  iv.wfn.wfn_outname = blank_text(33);
  EXPECT_EQ(summary(iv), kHead +
                             " - electron density laplacian\n"
                             "    output file:  _laplrho.cube\n" +
                             kTail);
}

}  // namespace
}  // namespace qv
