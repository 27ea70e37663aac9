// The RDG job end to end: point selections and space cut-offs, XD2006 grd input, the plot
// tables' own RDG and rho*sign(lambda2) grids, small grids and steps whose grid was never made.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "analysis/rdg_job_support.hpp"

namespace qv::e2e {
namespace {

using testing::read_file;
using testing::TempDir;
using testing::write_file;

// List-directed renderings of the single-precision settings below, worked out by hand.
const std::string kRhoRange =
    " RDG calculated for the points of the grid files having ED in the range:   5.00000007E-02 - "
    " 0.20000000    \n";
const std::string kRhosignRange =
    " RDG calculated for the points of the grid files having ED*sign(lambda2) in the range "
    "-5.99999987E-02 -  0.15000001    \n";
const std::string kAtomLine =
    " space cutoff: points having a distance greater than   0.55000001     a.u. from every atoms "
    "are not considered\n";
const std::string kExtentLine =
    " space cutoff: points lying outside the most external atomic coordinates more than  "
    "0.34999999     a.u. are not considered\n";

std::size_t computed(const std::vector<double>& rdg) {
  std::size_t n = 0;
  for (double v : rdg) n += v != kNotComputed;
  return n;
}

TEST(RdgJobCases, EveryPointSelectionWithEverySpaceCutoff) {
  const Model m;
  const Derived d = derive(m, m.density());
  for (const Points points : {Points::all, Points::density, Points::rhosign}) {
    for (const Space space : {Space::none, Space::atom, Space::extent}) {
      Choices c;
      c.plots = false;  // the statistics then use the RDG grid of the file
      c.points = points;
      c.space = space;
      if (points == Points::density) c.lower = 0.05f, c.upper = 0.2f;
      if (points == Points::rhosign) c.lower = -0.06f, c.upper = 0.15f;
      c.tolerance = space == Space::atom ? 0.55f : space == Space::extent ? 0.35f : 0.0f;
      c.abramov_on_rdg_points = points != Points::all;  // Abramov only where RDG was computed
      SCOPED_TRACE(input_text(c));
      TempDir dir;
      write_file("density.cube", cube_text(m, m.density()));
      ASSERT_EQ(run_job_binary(c), 0) << read_file("run.log");
      const Results r = expected_results(m, d, c);
      // Each selection really selects: some points are left out unless nothing restricts.
      const std::size_t n = computed(*r.rdg_file);
      EXPECT_GT(n, 0u);
      if (points != Points::all || space != Space::none) {
        EXPECT_LT(n, m.size());
      }
      EXPECT_EQ(read_file("job_rdg.cube"), cube_text(m, *r.rdg_file));
      EXPECT_EQ(read_file("job_rhosign.cube"), cube_text(m, *r.rhosign_file));
      EXPECT_EQ(read_file("job_energy_Vabr.cube"), cube_text(m, r.vabr));
      const std::string range = points == Points::density   ? kRhoRange
                                : points == Points::rhosign ? kRhosignRange
                                                            : "";
      const std::string cut = space == Space::atom     ? kAtomLine
                              : space == Space::extent ? kExtentLine
                                                       : "";
      EXPECT_EQ(summary_of(read_file("run.log")), summary_text(c, r.stats, range, cut));
    }
  }
}

// A density range for the RDG file with the density table: the file holds the range-limited
// values, the table and the statistics the all-points values.
TEST(RdgJobCases, RangeLimitedRdgFileWhileTableAndStatisticsUseAllPoints) {
  TempDir dir;
  const Model m;
  const Derived d = derive(m, m.density());
  write_file("density.cube", cube_text(m, m.density()));
  Choices c;
  c.points = Points::density;
  c.lower = 0.05f, c.upper = 0.2f;
  c.table_rhosign = false;
  ASSERT_EQ(run_job_binary(c), 0) << read_file("run.log");
  const Results r = expected_results(m, d, c);
  EXPECT_LT(computed(*r.rdg_file), m.size());
  EXPECT_EQ(read_file("job_rdg.cube"), cube_text(m, *r.rdg_file));
  const std::vector<double> zero(m.size(), 0.0);
  const std::vector<double> all = rdg_grid(m, d, zero, -1000.0f, 1000.0f, Space::none, 1000.0f);
  EXPECT_EQ(read_file("job_plot_rho.2D"), table_text(m, "     rho         ", d.rho, all));
  EXPECT_FALSE(std::filesystem::exists("job_plot_rhosign.2D"));
  EXPECT_EQ(r.stats.n[9], 60);  // every interior point of the model is below 1.0
  EXPECT_EQ(summary_of(read_file("run.log")), summary_text(c, r.stats, kRhoRange));
}

// RDG over a rho*sign(lambda2) range, rho*sign(lambda2) only where RDG was computed, and the
// second table: the table's first column is that restricted grid, 0.0 elsewhere.
TEST(RdgJobCases, RestrictedRhosignFeedsTheSecondTable) {
  TempDir dir;
  const Model m;
  const Derived d = derive(m, m.density());
  write_file("density.cube", cube_text(m, m.density()));
  Choices c;
  c.points = Points::rhosign;
  c.lower = -0.06f, c.upper = 0.15f;
  c.rhosign_on_rdg_points = true;
  c.table_rho = false;
  ASSERT_EQ(run_job_binary(c), 0) << read_file("run.log");
  const Results r = expected_results(m, d, c);
  const std::string table = read_file("job_plot_rhosign.2D");
  EXPECT_EQ(table, *r.table_rhosign);
  EXPECT_NE(table.find("     0.000E+00"), std::string::npos) << "restricted points hold 0.0";
  EXPECT_EQ(read_file("job_rhosign.cube"), cube_text(m, *r.rhosign_file));
  EXPECT_EQ(summary_of(read_file("run.log")), summary_text(c, r.stats, kRhosignRange));
}

// XD2006 input: the header from the companion cube, the values from the grd files in their
// units; every result as a cube and a grd file, the derived gradient and laplacian as cubes only.
TEST(RdgJobCases, Xd2006GrdWithItsCompanionCube) {
  const Model m;
  std::vector<double> grd_density(m.size()), rho(m.size());
  for (int k = 0; k < m.n3; ++k)
    for (int j = 0; j < m.n2; ++j)
      for (int i = 0; i < m.n1; ++i) grd_density[m.at(i, j, k)] = m.numerator(i, j, k) / 1e5;
  for (std::size_t p = 0; p < m.size(); ++p) rho[p] = grd_density[p] * kBohr3;
  const Derived derived = derive(m, rho);
  for (const bool read : {false, true}) {
    SCOPED_TRACE(read ? "gradient and laplacian read" : "gradient and laplacian derived");
    TempDir dir;
    // The companion cube's own values are not used.
    write_file("density.cube", cube_text(m, std::vector<double>(m.size(), 0.5)));
    write_file("density.grd", grd_file(m, grd_density));
    Derived used = derived;
    Choices c;
    c.format = "XD2";
    if (read) {
      // e/A^4 for the gradient norm, -e/A^5 for the laplacian.
      std::vector<double> g(m.size()), l(m.size());
      for (std::size_t p = 0; p < m.size(); ++p) {
        g[p] = std::strtod(e_form(derived.grad[p] / kBohr4, 18, 10).c_str(), nullptr);
        l[p] = std::strtod(e_form(-derived.lapl[p] / kBohr5, 18, 10).c_str(), nullptr);
        used.grad[p] = g[p] * kBohr4;
        used.lapl[p] = -(l[p] * kBohr5);
      }
      write_file("gradient.cube", cube_text(m, std::vector<double>(m.size(), 0.5)));
      write_file("laplacian.cube", cube_text(m, std::vector<double>(m.size(), 0.5)));
      write_file("gradient.grd", grd_file(m, g));
      write_file("laplacian.grd", grd_file(m, l));
      c.grad = c.lapl = "*read";
    }
    ASSERT_EQ(run_job_binary(c), 0) << read_file("run.log");
    const Results r = expected_results(m, used, c);
    std::set<std::string> expected = {
        "job.inp", "run.log", "stdout.txt", "stderr.txt", "density.cube", "density.grd",
        "job_rdg.cube", "job_rdg.grd", "job_rhosign.cube", "job_rhosign.grd",
        "job_energy_Gabr.cube", "job_energy_Vabr.cube", "job_energy_Habr.cube",
        "job_energy_Gabr.grd", "job_energy_Vabr.grd", "job_energy_Habr.grd", "job_plot_rho.2D",
        "job_plot_rhosign.2D"};
    if (read)
      expected.insert({"gradient.cube", "gradient.grd", "laplacian.cube", "laplacian.grd"});
    else
      expected.insert({"grad_numerical.cube", "lapl_numerical.cube"});
    EXPECT_EQ(files_here(), expected);
    if (!read) {
      EXPECT_EQ(read_file("grad_numerical.cube"), cube_text(m, derived.grad));
      EXPECT_EQ(read_file("lapl_numerical.cube"), cube_text(m, derived.lapl));
    }
    EXPECT_EQ(read_file("job_rdg.cube"), cube_text(m, *r.rdg_file));
    EXPECT_EQ(read_file("job_rdg.grd"), grd_output(m, *r.rdg_file));
    std::vector<double> rhosign_grd = *r.rhosign_file;
    for (double& v : rhosign_grd) v /= kBohr3;  // written back in e/A^3
    EXPECT_EQ(read_file("job_rhosign.cube"), cube_text(m, *r.rhosign_file));
    EXPECT_EQ(read_file("job_rhosign.grd"), grd_output(m, rhosign_grd));
    EXPECT_EQ(read_file("job_energy_Gabr.grd"), grd_output(m, r.gabr));
    EXPECT_EQ(read_file("job_energy_Vabr.grd"), grd_output(m, r.vabr));
    EXPECT_EQ(read_file("job_energy_Habr.grd"), grd_output(m, r.habr));
    EXPECT_EQ(read_file("job_energy_Habr.cube"), cube_text(m, r.habr));
    EXPECT_EQ(read_file("job_plot_rhosign.2D"), *r.table_rhosign);
    EXPECT_EQ(summary_of(read_file("run.log")), summary_text(c, r.stats));
  }
}

// Fewer than 5 points along an axis: nothing is derived, the steps that need the derived
// gradient are skipped with a line each, no rho*sign(lambda2) file, a table of zeros.
TEST(RdgJobCases, FewerThanFivePointsWithDerivedGradient) {
  TempDir dir;
  Model m;
  m.n1 = 4;
  write_file("density.cube", cube_text(m, m.density()));
  const Choices c;
  ASSERT_EQ(run_job_binary(c), 0) << read_file("run.log");
  EXPECT_EQ(files_here(), (std::set<std::string>{"job.inp", "density.cube", "run.log",
                                                 "stdout.txt", "stderr.txt"}));
  const std::string log = read_file("run.log");
  EXPECT_EQ(job_lines(log),
            " RDG SECTION: RDG not computed: no gradient grid (fewer than 5 points along an "
            "axis)\n"
            " RDG SECTION: Abramov energy densities not computed: no gradient or laplacian grid "
            "(fewer than 5 points along an axis)\n"
            " RDG SECTION: table of RDG against the density not written: no gradient grid (fewer "
            "than 5 points along an axis)\n"
            " RDG SECTION: table of RDG against rho*sign(lambda2) not written: no gradient grid "
            "(fewer than 5 points along an axis)\n");
  EXPECT_EQ(summary_of(log), summary_text(c, Statistics{}));
}

// Fewer than 5 points with the gradient and laplacian read: RDG and the Abramov densities at
// every point, no rho*sign(lambda2), tables with their heading only, a table of zeros.
TEST(RdgJobCases, FewerThanFivePointsWithGradientRead) {
  TempDir dir;
  Model m;
  m.n3 = 3;
  const std::vector<double> rho = m.density();
  std::vector<double> grad(m.size()), lapl(m.size());
  for (std::size_t p = 0; p < m.size(); ++p) grad[p] = 0.5 * rho[p], lapl[p] = -2.0 * rho[p];
  write_file("density.cube", cube_text(m, rho));
  write_file("gradient.cube", cube_text(m, grad));
  write_file("laplacian.cube", cube_text(m, lapl));
  Choices c;
  c.grad = c.lapl = "*read";
  ASSERT_EQ(run_job_binary(c), 0) << read_file("run.log");
  std::vector<double> rdg(m.size()), g(m.size()), h(m.size());
  const std::vector<double> gr = as_read(grad), lr = as_read(lapl);
  for (std::size_t p = 0; p < m.size(); ++p) {
    rdg[p] = rdg_of(rho[p], gr[p]);
    const Abramov a = abramov_of(rho[p], gr[p], lr[p]);
    g[p] = a.g, h[p] = a.h;
  }
  EXPECT_EQ(read_file("job_rdg.cube"), cube_text(m, rdg));
  EXPECT_EQ(read_file("job_energy_Gabr.cube"), cube_text(m, g));
  EXPECT_EQ(read_file("job_energy_Habr.cube"), cube_text(m, h));
  EXPECT_FALSE(std::filesystem::exists("job_rhosign.cube"));
  EXPECT_EQ(read_file("job_plot_rho.2D"), "       rho                    RDG       \n");
  EXPECT_EQ(read_file("job_plot_rhosign.2D"), "  rho*sign(lambda2)           RDG       \n");
  EXPECT_EQ(job_lines(read_file("run.log")), "");
  EXPECT_EQ(summary_of(read_file("run.log")), summary_text(c, Statistics{}));
}

// rho*sign(lambda2) or the Abramov densities asked for only where RDG was computed, with RDG
// off: that step is skipped with one line, the rest of the job runs.
TEST(RdgJobCases, StepWithoutItsRdgMaskIsSkipped) {
  const Model m;
  const Derived d = derive(m, m.density());
  struct Case {
    bool rhosign_on_rdg_points, abramov_on_rdg_points;
    const char* line;
    const char* missing;
  };
  const Case cases[] = {
      {true, false,
       " RDG SECTION: rho*sign(lambda2) not computed: it is asked for where RDG was computed, "
       "and RDG was not computed\n",
       "job_rhosign.cube"},
      {false, true,
       " RDG SECTION: Abramov energy densities not computed: they are asked for where RDG was "
       "computed, and RDG was not computed\n",
       "job_energy_Gabr.cube"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.line);
    TempDir dir;
    write_file("density.cube", cube_text(m, m.density()));
    Choices c;
    c.rdg = false;
    c.rhosign_on_rdg_points = k.rhosign_on_rdg_points;
    c.abramov_on_rdg_points = k.abramov_on_rdg_points;
    ASSERT_EQ(run_job_binary(c), 0) << read_file("run.log");
    EXPECT_EQ(job_lines(read_file("run.log")), k.line);
    EXPECT_FALSE(std::filesystem::exists(k.missing));
    // The other results are still made: the tables over all points.
    const std::vector<double> zero(m.size(), 0.0);
    const std::vector<double> all = rdg_grid(m, d, zero, -1000.0f, 1000.0f, Space::none, 1000.0f);
    EXPECT_EQ(read_file("job_plot_rho.2D"), table_text(m, "     rho         ", d.rho, all));
    EXPECT_EQ(summary_of(read_file("run.log")), summary_text(c, Statistics{}));
  }
}

// A gradient cube that does not describe the density's points stops the run after its message
// (screen and run log); different atoms only warn and the job goes on.
TEST(RdgJobCases, GradientCubeCheckedAgainstTheDensityHeader) {
  const Model m;
  const Derived d = derive(m, m.density());
  struct Case {
    const char* name;
    Model gradient_model;
    int status;
    std::string line;
  };
  Model fewer = m, moved = m, other_atoms = m;
  fewer.n3 = 7;
  moved.origin[1] = -0.7f;
  other_atoms.atoms[1].x = 0.45f;
  const std::vector<Case> cases = {
      {"point counts", fewer, 1,
       " WARNING!the number of grid points in gradient  cube file is different from' the number "
       "of points in the cube file of electrond density,PROGRAM STOP\n"},
      {"origin", moved, 1,
       " WARNING!the origin in gradient  cube file is different from the origin in the 'cube "
       "file of electron density,PROGRAM STOP\n"},
      {"atoms", other_atoms, 0,
       " WARNING!atoms type/coordinate in gradient  cube file is different from atoms "
       "type/coordinate'in the cube file of electron density\n"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    TempDir dir;
    write_file("density.cube", cube_text(m, m.density()));
    const Model& g = k.gradient_model;
    write_file("gradient.cube", cube_text(g, std::vector<double>(g.size(), 0.25)));
    Choices c;
    c.grad = "*read";
    EXPECT_EQ(run_job_binary(c), k.status);
    const std::string log = read_file("run.log"), screen = read_file("stdout.txt");
    EXPECT_EQ(screen.substr(0, k.line.size()), k.line);
    if (k.status != 0) {
      EXPECT_TRUE(log.ends_with(k.line)) << log;
      EXPECT_FALSE(std::filesystem::exists("job_rdg.cube"));
    } else {
      EXPECT_EQ(job_lines(log), k.line);
      std::vector<double> rdg(m.size());
      for (std::size_t p = 0; p < m.size(); ++p) rdg[p] = rdg_of(d.rho[p], 0.25);
      EXPECT_EQ(read_file("job_rdg.cube"), cube_text(m, rdg));
    }
  }
}

}  // namespace
}  // namespace qv::e2e
