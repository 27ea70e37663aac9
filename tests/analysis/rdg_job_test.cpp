// The RDG job end to end through the binary: input formats, point selections, space cut-offs,
// plot tables, the files written and the run log's summary, byte for byte against the analytic
// density of rdg_job_model.hpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/rdg_job_support.hpp"

namespace qv::e2e {
namespace {

using testing::read_file;
using testing::TempDir;
using testing::write_file;

// Gradient and laplacian cubes in the GAUSSIAN layout: each run of N3 values is followed by
// ceil(N3/2) lines of three more values per point (gradient) and, in the laplacian cube, by
// ceil(N3/6) lines more.
std::string gaussian_cube(const Model& m, const std::vector<double>& values, bool laplacian) {
  const std::string plain = cube_text(m, values);
  std::size_t pos = 0;
  for (int line = 0; line < 6 + static_cast<int>(m.atoms.size()); ++line)
    pos = plain.find('\n', pos) + 1;
  std::string t = plain.substr(0, pos);
  const int run_lines = (m.n3 + 5) / 6;
  const std::string filler = "  1.00000E+00  2.00000E+00 -3.00000E+00  4.00000E-01  5.00000E-01  6.00000E-01\n";
  for (int run = 0; run < m.n1 * m.n2; ++run) {
    for (int l = 0; l < run_lines; ++l) {
      const std::size_t end = plain.find('\n', pos) + 1;
      t += plain.substr(pos, end - pos);
      pos = end;
    }
    for (int l = 0; l < (m.n3 + 1) / 2; ++l) t += filler;
    if (laplacian)
      for (int l = 0; l < run_lines; ++l) t += filler;
  }
  return t;
}

TEST(RdgJobModel, FiniteDifferencesMatchTheAnalyticDerivatives) {
  const Model m;
  const Derived d = derive(m, m.density());
  int negative = 0, positive = 0;
  for (int k = 2; k <= m.n3 - 3; ++k)
    for (int j = 2; j <= m.n2 - 3; ++j)
      for (int i = 2; i <= m.n1 - 3; ++i) {
        const double u = i - 4, v = j - 3, w = k - 3;
        const double dx = (600 * u - 180 * u * u + 400) / m.h(0) / 1e5;
        const double dy = (-500 * v + 700) / m.h(1) / 1e5;
        const double dz = (300 * w + 120 * w * w - 500) / m.h(2) / 1e5;
        const double xx = (600 - 360 * u) / (m.h(0) * m.h(0)) / 1e5;
        const double yy = -500 / (m.h(1) * m.h(1)) / 1e5;
        const double zz = (300 + 240 * w) / (m.h(2) * m.h(2)) / 1e5;
        const std::size_t p = m.at(i, j, k);
        // Exact stencils; only the single-precision denominators differ (relative 1e-7).
        const double g = std::sqrt(dx * dx + dy * dy + dz * dz);
        EXPECT_NEAR(d.grad[p], g, 1e-7 * g);
        EXPECT_NEAR(d.lapl[p], xx + yy + zz, 1e-7 * (std::fabs(xx) + std::fabs(yy) + std::fabs(zz)));
        const double sorted_mid = std::max(std::min(xx, yy), std::min(std::max(xx, yy), zz));
        EXPECT_NEAR(d.lambda2[p], sorted_mid, 1e-7 * std::fabs(sorted_mid));
        EXPECT_GT(std::fabs(sorted_mid), 1e-3);  // signs far from a tie
        (d.lambda2[p] < 0 ? negative : positive) += 1;
      }
  EXPECT_GT(negative, 0);
  EXPECT_GT(positive, 0);
}

// Everything on, general cube, both derivatives derived.
TEST(RdgJob, GeneralCubeEveryComputationAndBothTables) {
  TempDir dir;
  const Model m;
  const Derived d = derive(m, m.density());
  write_file("density.cube", cube_text(m, m.density()));
  const Choices c;
  ASSERT_EQ(run_job_binary(c), 0) << read_file("run.log");
  const Results r = expected_results(m, d, c);
  EXPECT_EQ(files_here(),
            (std::set<std::string>{"job.inp", "density.cube", "run.log", "stdout.txt",
                                   "stderr.txt", "grad_numerical.cube", "lapl_numerical.cube",
                                   "job_rdg.cube", "job_rhosign.cube", "job_energy_Gabr.cube",
                                   "job_energy_Vabr.cube", "job_energy_Habr.cube",
                                   "job_plot_rho.2D", "job_plot_rhosign.2D"}));
  EXPECT_EQ(read_file("grad_numerical.cube"), cube_text(m, d.grad));
  EXPECT_EQ(read_file("lapl_numerical.cube"), cube_text(m, d.lapl));
  EXPECT_EQ(read_file("job_rdg.cube"), cube_text(m, *r.rdg_file));
  EXPECT_EQ(read_file("job_rhosign.cube"), cube_text(m, *r.rhosign_file));
  EXPECT_EQ(read_file("job_energy_Gabr.cube"), cube_text(m, r.gabr));
  EXPECT_EQ(read_file("job_energy_Vabr.cube"), cube_text(m, r.vabr));
  EXPECT_EQ(read_file("job_energy_Habr.cube"), cube_text(m, r.habr));
  EXPECT_EQ(read_file("job_plot_rho.2D"), *r.table_rho);
  EXPECT_EQ(read_file("job_plot_rhosign.2D"), *r.table_rhosign);
  EXPECT_EQ(summary_of(read_file("run.log")), summary_text(c, r.stats));
  EXPECT_EQ(read_file("stdout.txt"), "");
  // The model spreads the points over the bins: the table is not trivially full or empty.
  EXPECT_GT(r.stats.n[1], 0);
  EXPECT_LT(r.stats.n[1], r.stats.n[9]);
}

// GAUSSIAN layout, gradient and laplacian read from their cubes (the extra lines of each run
// passed over). Marked both read and calc, the derived grids replace the read ones.
TEST(RdgJob, GaussianCubesWithGradientAndLaplacianRead) {
  const Model m;
  const Derived derived = derive(m, m.density());
  for (const bool also_calc : {false, true}) {
    SCOPED_TRACE(also_calc ? "read and calc" : "read");
    TempDir dir;
    // Read grids differ from the derived ones when both are asked for, so the test sees which
    // one the job used.
    std::vector<double> grad = derived.grad, lapl = derived.lapl;
    if (also_calc)
      for (std::size_t p = 0; p < grad.size(); ++p) grad[p] *= 2.0, lapl[p] = -lapl[p] + 1.0;
    write_file("density.cube", cube_text(m, m.density()));
    write_file("gradient.cube", gaussian_cube(m, grad, false));
    write_file("laplacian.cube", gaussian_cube(m, lapl, true));
    Choices c;
    c.format = "GAU";
    c.grad = also_calc ? "*read *calc" : "*read";
    c.lapl = also_calc ? "*calc *read" : "*read";
    ASSERT_EQ(run_job_binary(c), 0) << read_file("run.log");
    Derived used = derived;
    if (!also_calc) used.grad = as_read(grad), used.lapl = as_read(lapl);
    const Results r = expected_results(m, used, c);
    EXPECT_EQ(std::filesystem::exists("grad_numerical.cube"), also_calc);
    EXPECT_EQ(std::filesystem::exists("lapl_numerical.cube"), also_calc);
    if (also_calc) {
      EXPECT_EQ(read_file("grad_numerical.cube"), cube_text(m, derived.grad));
    }
    EXPECT_EQ(read_file("job_rdg.cube"), cube_text(m, *r.rdg_file));
    EXPECT_EQ(read_file("job_energy_Gabr.cube"), cube_text(m, r.gabr));
    EXPECT_EQ(read_file("job_energy_Habr.cube"), cube_text(m, r.habr));
    EXPECT_EQ(read_file("job_plot_rho.2D"), *r.table_rho);
    EXPECT_EQ(summary_of(read_file("run.log")), summary_text(c, r.stats));
  }
}

// The numbers of a written grid file after its `skip` header lines, in file order.
std::vector<double> numbers_after(const std::string& path, std::size_t skip) {
  std::istringstream in(read_file(path));
  std::string line;
  for (std::size_t n = 0; n < skip; ++n) std::getline(in, line);
  std::vector<double> v;
  for (double x; in >> x;) v.push_back(x);
  return v;
}

// A derived gradient has no value on the two outer layers: RDG is not reported there (the
// marker 1.0E10, in the cube and the grd file) and the Abramov grid masked by RDG holds 0.0.
// A gradient read from a file is defined everywhere: its rim values are computed.
TEST(RdgJob, RimHoldsTheMarkerOnlyForADerivedGradient) {
  struct Case {
    const char* name;
    std::string format, grad;
    bool rim_marked;
  };
  const Case cases[] = {{"derived, cube", "CUB", "*calc", true},
                        {"derived, XD2006", "XD2", "*calc", true},
                        {"read, GAUSSIAN cube", "GAU", "*read", false},
                        {"read, XD2006 grd", "XD2", "*read", false}};
  const Model m;
  const Derived d = derive(m, m.density());
  std::vector<double> grad = d.grad;
  for (double& g : grad) g += 0.01;  // nonzero on the rim too
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    TempDir dir;
    write_file("density.cube", cube_text(m, m.density()));
    write_file("density.grd", grd_file(m, std::vector<double>(m.size(), 0.5)));
    write_file("gradient.cube", k.format == "GAU" ? gaussian_cube(m, grad, false)
                                                  : cube_text(m, grad));
    write_file("gradient.grd", grd_file(m, grad));
    Choices c;
    c.format = k.format;
    c.grad = k.grad;
    c.e_points = true;
    ASSERT_EQ(run_job_binary(c), 0) << read_file("run.log");
    const std::size_t header = 6 + m.atoms.size();
    const std::vector<double> cube = numbers_after("job_rdg.cube", header);
    const std::vector<double> kinetic = numbers_after("job_energy_Gabr.cube", header);
    ASSERT_EQ(cube.size(), m.size());
    std::vector<double> grd;
    if (k.format == "XD2") {
      grd = numbers_after("job_rdg.grd", m.atoms.size() + 12);
      ASSERT_EQ(grd.size(), m.size());
    }
    int rim = 0, interior = 0;
    for (int i = 0; i < m.n1; ++i)
      for (int j = 0; j < m.n2; ++j)
        for (int kk = 0; kk < m.n3; ++kk) {
          const std::size_t in_cube = kk + static_cast<std::size_t>(m.n3) * (j + m.n2 * i);
          const bool marked = cube[in_cube] == kNotComputed;
          if (!m.interior(i, j, kk)) {
            ++rim;
            EXPECT_EQ(marked, k.rim_marked) << i << " " << j << " " << kk;
            EXPECT_EQ(kinetic[in_cube] == 0.0, k.rim_marked) << i << " " << j << " " << kk;
          } else {
            ++interior;
            EXPECT_FALSE(marked) << i << " " << j << " " << kk;
          }
          if (!grd.empty()) {
            EXPECT_EQ(grd[m.at(i, j, kk)] == kNotComputed, marked) << i << " " << j << " " << kk;
          }
        }
    EXPECT_GT(rim, interior);
  }
}

// Missing input files: one run-log line naming the file at its field width, exit 1, nothing
// written by the job.
TEST(RdgJob, MissingInputFileStopsTheRun) {
  struct Case {
    const char* name;
    std::string format, grad, lapl;
    std::vector<const char*> present;
    std::string message;
  };
  const std::string tail = " file cannot be opened, program stop\n";
  const std::vector<Case> cases = {
      {"density cube", "CUB", "*calc", "*calc", {}, " density.cube" + std::string(23, ' ') + tail},
      {"density grd", "XD2", "*calc", "*calc", {"density.cube"},
       " density.grd" + std::string(16, ' ') + tail},
      {"gradient cube", "GAU", "*read", "*calc", {"density.cube"},
       " gradient.cube" + std::string(21, ' ') + tail},
      {"gradient grd", "XD2", "*read", "*calc", {"density.cube", "density.grd", "gradient.cube"},
       " gradient.grd" + std::string(14, ' ') + tail},
      {"laplacian cube", "CUB", "*calc", "*read", {"density.cube"},
       " laplacian.cube" + std::string(20, ' ') + tail},
      {"laplacian grd", "XD2", "*calc", "*read",
       {"density.cube", "density.grd", "laplacian.cube"},
       " laplacian.grd" + std::string(13, ' ') + tail},
  };
  const Model m;
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    TempDir dir;
    for (const char* f : k.present) {
      const std::string name = f;
      if (name.ends_with(".grd"))
        write_file(name, grd_file(m, m.density()));
      else
        write_file(name, cube_text(m, m.density()));
    }
    Choices c;
    c.format = k.format;
    c.grad = k.grad;
    c.lapl = k.lapl;
    EXPECT_EQ(run_job_binary(c), 1);
    const std::string log = read_file("run.log");
    ASSERT_GE(log.size(), k.message.size());
    EXPECT_EQ(log.substr(log.size() - k.message.size()), k.message);
    EXPECT_EQ(log.find("!!!!!!!!!!RDG,RHO"), std::string::npos) << "no summary after a stop";
    for (const auto& f : files_here())
      EXPECT_TRUE(f == "grad_numerical.cube" || f == "job.inp" || f == "run.log" ||
                  f.ends_with(".txt") || std::find(k.present.begin(), k.present.end(), f) !=
                                             k.present.end())
          << f;
  }
}

// RDG asked for with no point selection or no space cut-off: one line naming the missing
// choice, exit 1, no output file.
TEST(RdgJob, MissingRdgChoiceStopsBeforeAnyOutput) {
  struct Case {
    Points points;
    Space space;
    const char* line;
  };
  const Case cases[] = {
      {Points::none, Space::none,
       " RDG SECTION: no point selection chosen on the RDG_CALCULATION line, PROGRAM STOP\n"},
      {Points::all, Space::unset,
       " RDG SECTION: no space cutoff chosen on the SPACE_CUTOFF line, PROGRAM STOP\n"},
  };
  const Model m;
  for (const Case& k : cases) {
    TempDir dir;
    write_file("density.cube", cube_text(m, m.density()));
    Choices c;
    c.points = k.points;
    c.space = k.space;
    EXPECT_EQ(run_job_binary(c), 1);
    const std::string log = read_file("run.log");
    EXPECT_TRUE(log.ends_with(k.line)) << log;
    EXPECT_EQ(files_here(), (std::set<std::string>{"job.inp", "density.cube", "run.log",
                                                   "stdout.txt", "stderr.txt"}));
  }
}

}  // namespace
}  // namespace qv::e2e
