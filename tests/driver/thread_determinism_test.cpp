// Both commands write the same bytes at any thread count: every job (WFN, TOP, RDG with cube and
// with XD2006 input) and the pictures are run at 1, 2, 3 and 8 threads, in folders of their
// own, and every file they leave is compared byte for byte with the one-thread run.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "analysis/rdg_job_support.hpp"
#include "support/temp_dir.hpp"
#include "topond/topond_text.hpp"
#include "wavefunction/wfn_test_support.hpp"

namespace qv {
namespace {

namespace fs = std::filesystem;
using testing::read_file;
using testing::TempDir;
using testing::write_file;

const int kThreadCounts[] = {1, 2, 3, 8};

int shell(const std::string& command) {
  const int rc = std::system(command.c_str());
  return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

std::map<std::string, std::string> files_in(const fs::path& dir) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::directory_iterator(dir))
    if (e.is_regular_file()) files[e.path().filename().string()] = read_file(e.path());
  return files;
}

// Runs `commands` (each given the thread option) in one folder per thread count, each folder
// first filled with `inputs`; expects every folder to end with the same files and bytes.
void expect_same_bytes(const std::map<std::string, std::string>& inputs,
                       const std::vector<std::string>& commands, std::size_t minimum_outputs) {
  std::map<std::string, std::string> reference;
  for (int threads : kThreadCounts) {
    const fs::path dir = "threads" + std::to_string(threads);
    fs::create_directory(dir);
    for (const auto& [name, text] : inputs) write_file(dir / name, text);
    for (const std::string& command : commands) {
      const std::string line = "cd " + dir.string() + " && env -u QUELVARIN_THREADS " + command +
                               " --threads " + std::to_string(threads) +
                               " >>screen.txt 2>>errors.txt";
      ASSERT_EQ(shell(line), 0) << line << "\n" << read_file(dir / "errors.txt");
    }
    std::map<std::string, std::string> files = files_in(dir);
    if (threads == 1) {
      ASSERT_GE(files.size(), inputs.size() + minimum_outputs);
      reference = std::move(files);
      continue;
    }
    ASSERT_EQ(files.size(), reference.size()) << threads << " threads";
    for (const auto& [name, text] : reference) {
      ASSERT_TRUE(files.count(name)) << name << " missing at " << threads << " threads";
      EXPECT_TRUE(files[name] == text) << name << " differs at " << threads << " threads";
    }
  }
}

// A molecule of three centres with s, p and d primitives in two orbitals.
std::string molecule_wfn() {
  using testing::TestPrimitive;
  std::vector<TestPrimitive> prims;
  const double exponents[] = {5.0, 1.2, 0.3};
  for (int centre = 0; centre < 3; ++centre) {
    for (double alpha : exponents) prims.push_back({centre, 1, alpha, {0.6, -0.2 * centre}});
    for (int type = 2; type <= 4; ++type) prims.push_back({centre, type, 0.8, {0.1 * type, 0.3}});
    for (int type = 5; type <= 10; ++type) prims.push_back({centre, type, 0.6, {0.05, -0.04 * type}});
  }
  return testing::wfn_text({{0.0, 0.0, 0.0, 8}, {1.8, 0.2, -0.3, 1}, {-0.5, 1.7, 0.4, 1}}, prims,
                           {2.0, 2.0});
}

// WFN, TOP and RDG in one run: the RDG job reads the density cube the WFN job wrote and derives
// its gradient and laplacian; both tables, rho*sign(lambda2) and the energy densities on.
const char* kAllJobsInput =
    "every job\n"
    "OUTPUT_FILE_NAME run.log\n"
    "SECTIONS *WFN *TOP *RDG\n"
    "PROPERTIES FROM WAVEFUNCTION\n"
    "INPUT  mol.wfn\n"
    "OUTPUT  mol\n"
    "CALCULATING *rho *gra *lap *ene\n"
    "CENTER  0.4 0.6 0.05\n"
    "N_POINTS_X 37\n"
    "STEPSIZE_X 0.17\n"
    "N_POINTS_Y 29\n"
    "STEPSIZE_Y 0.19\n"
    "N_POINTS_Z 41\n"
    "STEPSIZE_Z 0.15\n"
    "TOPOND TO CUBE CONVERSION\n"
    "N_OF_GRIDS 2\n"
    "GRID_FILE_NAME grid1.dat\n"
    "CUBE_NAME(OUTPUT) top1\n"
    "GRID_FILE_NAME grid2.dat\n"
    "CUBE_NAME(OUTPUT) top2\n"
    "CRYSTAL_OUTPUT_NAME crystal.out\n"
    "N_OF_SYMM_OPERATIONS 2\n"
    "SYMM x,y,z\n"
    "SYMM -x+1/2,y,-z\n"
    "RDG,RHO*(signL2) AND ABRAMOV ENERGY CALCULATION\n"
    "INPUT  *CUB\n"
    "CALCULATING *RDG *rho *Abr *plo\n"
    "RHO_INPUT_CUBE   mol_rho.cube\n"
    "GRAD= *calc\n"
    "LAPL= *calc\n"
    "RDG_CALCULATION *all_p\n"
    "RDG_OUTPUT  mol_rdg\n"
    "SPACE_CUTOFF *none\n"
    "RHO_SIGN_CALCULATION\n"
    "RHO_SIGN_OUTPUT mol_rhosign\n"
    "ENERGY_CALCULATION\n"
    "ENERGY_OUTPUT mol\n"
    "2DPLOT *rho *rhos\n"
    "PLOT_NAME   mol\n";

TEST(ThreadDeterminism, EveryJobAndThePicturesAtAnyThreadCount) {
  TempDir dir;
  const double lattice[3][3] = {{4.0, 0.0, 0.0}, {0.0, 4.5, 0.0}, {0.0, 0.0, 5.0}};
  const std::map<std::string, std::string> inputs = {
      {"all.inp", kAllJobsInput},
      {"mol.wfn", molecule_wfn()},
      {"grid1.dat", testing::topond_text(45, 23, 31)},
      {"grid2.dat", testing::topond_text(7, 90, 11, 0.5)},
      {"crystal.out", testing::crystal_text({{11, {0.0, 0.0, 0.0}}, {17, {0.5, 0.5, 0.5}}},
                                            lattice)},
  };
  // The run log, 6 WFN cubes, 2 TOP cubes, 7 RDG cubes, 2 tables; 2 pictures, the VMD and
  // PyMOL scripts and the atoms. PyMOL's own ray-traced picture is left out: its bytes are
  // PyMOL's business, not the thread count's.
  expect_same_bytes(inputs,
                    {std::string(QV_BINARY) + " all.inp",
                     std::string(QV_PLOT_BINARY) + " --no-render all.inp"},
                    18 + 5);
}

// A density of two Gaussian atoms on a model grid.
std::vector<double> gaussian_density(const e2e::Model& m) {
  std::vector<double> rho(m.size());
  for (int k = 0; k < m.n3; ++k)
    for (int j = 0; j < m.n2; ++j)
      for (int i = 0; i < m.n1; ++i) {
        const std::array<float, 3> p = e2e::position(m, i, j, k);
        double sum = 0.0;
        for (const e2e::Atom& a : m.atoms) {
          const double dx = p[0] - a.x, dy = p[1] - a.y, dz = p[2] - a.z;
          sum += a.charge * std::exp(-1.3 * (dx * dx + dy * dy + dz * dz));
        }
        rho[m.at(i, j, k)] = sum / 10.0;
      }
  return rho;
}

TEST(ThreadDeterminism, XdInputWithReadDerivativesAtAnyThreadCount) {
  TempDir dir;
  e2e::Model m;
  m.n1 = 43;
  m.n2 = 38;
  m.n3 = 35;
  m.origin = {-3.0f, -2.9f, -2.5f};
  m.step = {0.15f, 0.16f, 0.17f};
  m.atoms = {{8, 8.0f, 0.0f, 0.0f, 0.0f}, {1, 1.0f, 1.4f, 1.1f, 0.6f}};
  const std::vector<double> rho = gaussian_density(m);
  const e2e::Derived d = e2e::derive(m, rho);
  e2e::Choices c;
  c.format = "XD2";
  c.grad = "*read";
  c.lapl = "*read";
  c.points = e2e::Points::rhosign;
  c.lower = -0.3f;
  c.upper = 0.3f;
  c.space = e2e::Space::atom;
  c.tolerance = 2.5f;
  const std::map<std::string, std::string> inputs = {
      {"job.inp", e2e::input_text(c)},
      {"density.cube", e2e::cube_text(m, rho)},
      {"density.grd", e2e::grd_file(m, rho)},
      {"gradient.cube", e2e::cube_text(m, d.grad)},
      {"gradient.grd", e2e::grd_file(m, d.grad)},
      {"laplacian.cube", e2e::cube_text(m, d.lapl)},
      {"laplacian.grd", e2e::grd_file(m, d.lapl)},
  };
  // The run log, 5 cubes and 5 grd files, 2 tables.
  expect_same_bytes(inputs, {std::string(QV_BINARY) + " job.inp"}, 13);
}

}  // namespace
}  // namespace qv
