// Every wavefunction file of the shared samples (real files from several programs), when they
// are at hand: each is read with the counts its source gives, or refused as the README says; the
// core densities integrate to the core electrons; .wfx and .wfn of one calculation agree.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <numbers>

#include "gridio/stop.hpp"
#include "wavefunction/row_evaluator.hpp"
#include "wavefunction/wavefunction_input.hpp"

namespace qv {
namespace {

namespace fs = std::filesystem;
const fs::path kSamples(QV_SAMPLES);

struct Expected {
  WavefunctionFormat format;
  int orbital_count, primitive_count, centre_count, nedf;
  double core_electrons;  // what the EDF integrates to
};

const std::map<std::string, Expected> kFiles = {
    {"wfn/BE.wfn", {WavefunctionFormat::wfn, 29, 270, 18, 0, 0}},
    {"wfn/PhenolDimer.wfn", {WavefunctionFormat::wfn, 50, 440, 26, 0, 0}},
    {"wfn/Pt_NH3_2Cl2.wfn", {WavefunctionFormat::wfn, 26, 147, 11, 0, 0}},
    {"wfn/ThioformicAcid.wfn", {WavefunctionFormat::wfn, 16, 531, 5, 0, 0}},
    {"wfn/benzene.wfn", {WavefunctionFormat::wfn, 21, 192, 12, 0, 0}},
    {"wfn/c2h4_rcct_cfour.wfn", {WavefunctionFormat::wfn, 116, 206, 6, 0, 0}},
    {"wfn/cah110_hf_sto3g_g09.wfn", {WavefunctionFormat::wfn, 246, 369, 111, 0, 0}},
    {"wfn/ethene.wfn", {WavefunctionFormat::wfn, 8, 78, 6, 0, 0}},
    {"wfn/h2_ccpvqz.wfn", {WavefunctionFormat::wfn, 70, 74, 2, 0, 0}},
    {"wfn/h2o_dimer_pbe_sto3g.wfn", {WavefunctionFormat::wfn, 10, 42, 6, 0, 0}},
    {"wfn/h2o_sto3g.wfn", {WavefunctionFormat::wfn, 5, 21, 3, 0, 0}},
    {"wfn/he_s_orbital.wfn", {WavefunctionFormat::wfn, 1, 4, 1, 0, 0}},
    {"wfn/he_spdf_orbital.wfn", {WavefunctionFormat::wfn, 1, 20, 1, 0, 0}},
    {"wfn/he_spdfgh_orbital.wfn", {WavefunctionFormat::wfn, 1, 56, 1, 0, 0}},
    {"wfn/he_spdfgh_virtual.wfn", {WavefunctionFormat::wfn, 56, 56, 1, 0, 0}},
    {"wfn/lif_fci.wfn", {WavefunctionFormat::wfn, 18, 44, 2, 0, 0}},
    {"wfn/lih_cation_cisd.wfn", {WavefunctionFormat::wfn, 22, 26, 2, 0, 0}},
    {"wfn/lih_cation_rohf.wfn", {WavefunctionFormat::wfn, 2, 26, 2, 0, 0}},
    {"wfn/o2_uhf.wfn", {WavefunctionFormat::wfn, 16, 72, 2, 0, 0}},
    {"wfn/water--water_1.wfn", {WavefunctionFormat::wfn, 5, 39, 3, 0, 0}},
    {"wfn/water--water_2.wfn", {WavefunctionFormat::wfn, 5, 39, 3, 0, 0}},
    {"wfn/water_gamess-us.wfn", {WavefunctionFormat::wfn, 5, 53, 3, 0, 0}},  // its .wfn part
    {"wfx/BE.wfx", {WavefunctionFormat::wfx, 29, 270, 18, 0, 0}},
    {"wfx/Cl_lanl2.wfx", {WavefunctionFormat::wfx, 7, 12, 1, 24, 10}},
    {"wfx/Pt_lanl2.wfx", {WavefunctionFormat::wfx, 18, 43, 1, 26, 60}},
    {"wfx/XeF2.wfx", {WavefunctionFormat::wfx, 147, 301, 3, 26, 28}},
    {"wfx/ar_benzene_ecp_molden2aim.wfx", {WavefunctionFormat::wfx, 19, 130, 13, 110, 22}},
    {"wfx/cah110_hf_sto3g_g09.wfx", {WavefunctionFormat::wfx, 246, 369, 111, 0, 0}},
    {"wfx/cyclopropane.wfx", {WavefunctionFormat::wfx, 12, 264, 9, 0, 0}},
    {"wfx/h2_ub3lyp_ccpvtz.wfx", {WavefunctionFormat::wfx, 56, 34, 2, 0, 0}},
    {"wfx/h2_ub3lyp_comments.wfx", {WavefunctionFormat::wfx, 56, 34, 2, 0, 0}},
    {"wfx/h2o_orca.wfx", {WavefunctionFormat::wfx, 5, 27, 3, 0, 0}},
    {"wfx/h2oh2o.wfx", {WavefunctionFormat::wfx, 10, 116, 6, 0, 0}},
    {"wfx/lih_cation_cisd.wfx", {WavefunctionFormat::wfx, 22, 26, 2, 0, 0}},
    {"wfx/lih_cation_rohf.wfx", {WavefunctionFormat::wfx, 2, 26, 2, 0, 0}},
    {"wfx/lih_cation_uhf.wfx", {WavefunctionFormat::wfx, 3, 26, 2, 0, 0}},
    {"wfx/maprotiline.wfx", {WavefunctionFormat::wfx, 75, 854, 44, 0, 0}},
    {"wfx/water_sto3g_hf.wfx", {WavefunctionFormat::wfx, 5, 21, 3, 0, 0}},
};

struct Loaded {
  WavefunctionFile file;
  std::string log;
};

Loaded load(const fs::path& path) {
  auto screen = TextOutput::memory("screen");
  RunOutput out(*screen);
  out.set_log(TextOutput::memory("log"));
  Loaded l;
  try {
    l.file = read_wavefunction_file(path.string(), out);
  } catch (const ProgramStop&) {
    l.file.record.primitive_count = -1;
  }
  out.flush();
  l.log = out.log().contents();
  return l;
}

TEST(SampleFiles, EveryFileIsReadWithItsCounts) {
  if (!fs::exists(kSamples / "wfx")) GTEST_SKIP() << "no sample folder";
  for (const char* kind : {"wfn", "wfx"})
    for (const auto& entry : fs::directory_iterator(kSamples / kind)) {
      const std::string ext = entry.path().extension().string();
      if (ext != ".wfn" && ext != ".wfx") continue;
      const std::string key = std::string(kind) + "/" + entry.path().filename().string();
      SCOPED_TRACE(key);
      const auto it = kFiles.find(key);
      ASSERT_NE(it, kFiles.end()) << "a sample file this test does not know";
      const Expected& e = it->second;
      const Loaded l = load(entry.path());
      const WfnRecord& rec = l.file.record;
      ASSERT_EQ(rec.primitive_count, e.primitive_count) << l.log;
      EXPECT_EQ(l.file.format, e.format);
      EXPECT_EQ(rec.orbital_count, e.orbital_count);
      EXPECT_EQ(rec.centre_count, e.centre_count);
      EXPECT_EQ(rec.edf_count(), e.nedf);
      if (key == "wfn/water_gamess-us.wfn")
        EXPECT_EQ(l.log, " " + entry.path().string() +
                             ": a GAMESS output; its .wfn part from line 256 is read\n");
      else
        EXPECT_EQ(l.log, "");
      // Core densities are spherical Gaussians that hold the core electrons.
      double core = 0;
      for (int k = 0; k < rec.edf_count(); ++k) {
        ASSERT_EQ(rec.edf_type[k], 1);
        core += rec.edf_coefficient[k] * std::pow(std::numbers::pi / rec.edf_exponent[k], 1.5);
      }
      EXPECT_NEAR(core, e.core_electrons, 1e-5);
      // The density at the nuclei is finite, never negative, and somewhere positive (CaH110+129
      // has one electron, far from most of its nuclei).
      double largest = 0;
      for (int a = 0; a < rec.centre_count; ++a) {
        const std::vector<double> xs{rec.centre_x[a]};
        RowEvaluator ev(rec, xs, true);
        ev.evaluate_orbitals_with_derivatives(rec.centre_y[a], rec.centre_z[a]);
        const auto& k = ev.kernels();
        double rho[orbital_kernels::kPointBlock];
        k.density(ev.psi(0), ev.stride(), rec.occupations.data(), rec.orbital_count,
                  ev.core_columns(), ev.padded_points(), rho);
        EXPECT_TRUE(std::isfinite(rho[0]) && rho[0] >= 0.0) << "centre " << a << ": " << rho[0];
        largest = std::max(largest, rho[0]);
      }
      EXPECT_GT(largest, 1e-3);
    }
}

// The same calculation written both ways: the .wfn rounds its numbers to fewer digits.
TEST(SampleFiles, WfxAndWfnOfOneCalculationAgree) {
  if (!fs::exists(kSamples / "wfx")) GTEST_SKIP() << "no sample folder";
  for (const char* name : {"BE", "lih_cation_rohf", "lih_cation_cisd", "cah110_hf_sto3g_g09"}) {
    SCOPED_TRACE(name);
    const Loaded a = load(kSamples / "wfn" / (std::string(name) + ".wfn"));
    const Loaded b = load(kSamples / "wfx" / (std::string(name) + ".wfx"));
    const WfnRecord &x = a.file.record, &y = b.file.record;
    ASSERT_EQ(x.primitive_count, y.primitive_count);
    ASSERT_EQ(x.orbital_count, y.orbital_count);
    EXPECT_EQ(x.type, y.type);
    EXPECT_EQ(x.primitive_centre, y.primitive_centre);
    EXPECT_EQ(x.nuclear_charges, y.nuclear_charges);
    for (int c = 0; c < x.centre_count; ++c) EXPECT_NEAR(x.centre_x[c], y.centre_x[c], 1e-7);
    for (int i = 0; i < x.primitive_count; ++i)
      EXPECT_NEAR(x.exponents[i], y.exponents[i], 1e-6 * x.exponents[i]);
    for (std::size_t k = 0; k < x.coefficients.size(); ++k)
      EXPECT_NEAR(x.coefficients[k], y.coefficients[k], 1e-7 * (1 + std::fabs(x.coefficients[k])));
    for (int m = 0; m < x.orbital_count; ++m) EXPECT_NEAR(x.occupations[m], y.occupations[m], 1e-7);
  }
}

}  // namespace
}  // namespace qv
