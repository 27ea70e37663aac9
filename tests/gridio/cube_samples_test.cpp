// Cube files written by other programs, read as their writers meant them. Skipped when the
// folder of real files is absent.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "gridio/cube_reading.hpp"

namespace qv {
namespace {

struct Sample {
  const char* file;
  std::int32_t natoms, n1, n2, n3;
  float origin_z;
  std::array<float, 4> first_atom;  // charge, x, y, z
  double first, last, sum;          // first and last values, sum of all values
};

// Expected figures taken from the files with an independent token reader.
const Sample kSamples[] = {
    {"cubegen_h2o_5points.cube", 3, 5, 5, 5, -4.976424f, {8.0f, 0.010866f, 0.008050f, -0.005688f},
     1.11902e-10, 6.56256e-09, 297.72031944189115},
    {"cubegen_ch4_6points.cube", 5, 6, 6, 6, -6.51275f, {6.0f, -0.000041f, 0.000035f, 0.000003f},
     2.66011e-09, 3.65721e-08, 0.56696619580173024},
    {"cubegen_nh3_7points.cube", 4, 7, 7, 7, -5.470806f, {7.0f, 0.010820f, 0.001539f, 0.012424f},
     5.13939e-08, 1.61658e-07, 196.27407868539771},
    {"grid20.cube", 16, 20, 20, 20, -12.555472f, {29.0f, 2.317035f, 3.509540f, -0.795570f},
     2.19227e-19, 7.36329e-22, 0.40882979114873985},
    {"grid20mo6-8.cube", 7, 20, 20, 20, -5.203872f, {6.0f, -5.520036f, -0.133037f, 3.206199f},
     0.0, 0.0, 1.061061038693291},
    {"h2o_dimer_pbe_sto3g-dens.cube", 6, 14, 12, 14, -0.661404f,
     {0.0f, -0.001013f, 2.870667f, 0.0f}, 1.4021, -4.8415, -8081.8183999999865},
    {"h2o_dimer_pbe_sto3g-grad.cube", 6, 14, 12, 14, -0.661404f,
     {0.0f, -0.001013f, 2.870667f, 0.0f}, 1.3856, 1.0977, 47422.551612000047},
    {"013_cube_simple_01.cube", 16, 10, 10, 10, 1.7702954412880f,
     {0.0f, 0.49866053383518E-015f, 0.52581629647550E+001f, 0.28855815692994E+001f},
     0.0059556218775196, 0.22167194325551, 20.880346901449531},
    {"mgo_density_dat.DENS_CUBE", 2, 5, 5, 5, 0.0f, {12.0f, 0.0f, 0.0f, 0.0f}, 1062.0, 1062.0,
     8795.2626081999879},
};

std::string sample_path(const char* file) { return std::string(QV_SAMPLES) + "/cube/" + file; }

TEST(CubeSamples, ReadAsTheirWritersMeantThem) {
  if (!std::filesystem::exists(sample_path(""))) GTEST_SKIP() << "no sample folder";
  for (const Sample& s : kSamples) {
    SCOPED_TRACE(s.file);
    auto in = LineReader::open(sample_path(s.file));
    ASSERT_TRUE(in);
    std::vector<std::string> stored;
    const GridFile f = read_grid_file(*in, nullptr, CubeLayout::general, GridRole::density, stored);
    EXPECT_EQ(f.header.natoms, s.natoms);
    EXPECT_EQ(f.header.n1, s.n1);
    EXPECT_EQ(f.header.n2, s.n2);
    EXPECT_EQ(f.header.n3, s.n3);
    EXPECT_EQ(f.header.origin[2], s.origin_z);
    ASSERT_EQ(f.header.atoms.size(), static_cast<std::size_t>(s.natoms));
    EXPECT_EQ(f.header.atoms[0], s.first_atom);
    ASSERT_EQ(f.grid.values.size(), static_cast<std::size_t>(s.n1 * s.n2 * s.n3));
    EXPECT_EQ(f.grid.at(0, 0, 0), s.first);
    EXPECT_EQ(f.grid.at(s.n1 - 1, s.n2 - 1, s.n3 - 1), s.last);
    double sum = 0.0;
    for (int i1 = 0; i1 < s.n1; ++i1)  // in the file's order, as the figure was summed
      for (int i2 = 0; i2 < s.n2; ++i2)
        for (int i3 = 0; i3 < s.n3; ++i3) sum += f.grid.at(i1, i2, i3);
    EXPECT_NEAR(sum, s.sum, 1e-12 * std::fabs(s.sum));
    EXPECT_TRUE(stored.empty());
  }
}

TEST(CubeSamples, SpotValues) {
  if (!std::filesystem::exists(sample_path(""))) GTEST_SKIP() << "no sample folder";
  struct Spot {
    const char* file;
    int i1, i2, i3;
    double value;
  };
  const Spot spots[] = {
      {"cubegen_nh3_7points.cube", 0, 0, 6, 2.09306e-08},  // the one-value line of a run
      {"cubegen_nh3_7points.cube", 0, 1, 0, 4.23711e-07},
      {"cubegen_h2o_5points.cube", 1, 0, 0, 1.63949e-08},
      {"grid20mo6-8.cube", 10, 10, 10, 0.09862107},  // first of three orbitals per point
      {"013_cube_simple_01.cube", 0, 0, 9, 0.098867094823852},
      {"013_cube_simple_01.cube", 1, 0, 0, 0.010074178907831},
      {"mgo_density_dat.DENS_CUBE", 0, 1, 0, 0.050969},
  };
  for (const Spot& s : spots) {
    SCOPED_TRACE(s.file);
    auto in = LineReader::open(sample_path(s.file));
    ASSERT_TRUE(in);
    std::vector<std::string> stored;
    const GridFile f = read_grid_file(*in, nullptr, CubeLayout::general, GridRole::density, stored);
    EXPECT_EQ(f.grid.at(s.i1, s.i2, s.i3), s.value);
  }
}

// A negative first count is a unit flag of some programs; as a count of zero or less it gives
// an empty grid after the header.
TEST(CubeSamples, NegativeFirstCountGivesAnEmptyGrid) {
  if (!std::filesystem::exists(sample_path(""))) GTEST_SKIP() << "no sample folder";
  auto in = LineReader::open(sample_path("grid20ang.cube"));
  ASSERT_TRUE(in);
  std::vector<std::string> stored;
  const GridFile f = read_grid_file(*in, nullptr, CubeLayout::general, GridRole::density, stored);
  EXPECT_EQ(f.header.n1, -20);
  EXPECT_EQ(f.header.natoms, 16);
  EXPECT_TRUE(f.grid.values.empty());
}

}  // namespace
}  // namespace qv
