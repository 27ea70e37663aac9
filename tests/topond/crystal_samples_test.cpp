// Real CRYSTAL outputs: the atoms the TOP job places, expanded with the identity and the
// centring translations of the space group, are atoms of CRYSTAL's own Cartesian table of the
// primitive cell, up to a primitive lattice translation.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "gridio/text_error.hpp"
#include "topond/atom_expansion.hpp"
#include "topond/crystal_output.hpp"
#include "topond/symmetry_text.hpp"

namespace qv {
namespace {

namespace fs = std::filesystem;
using Vector = std::array<double, 3>;

// What the check needs from the file beside what the job reads: the centring letter of the
// space group, the printed (primitive) vectors and the Cartesian table after them.
struct PrimitiveCell {
  char centring = 'P';
  std::array<Vector, 3> vectors{};
  std::vector<Vector> atoms;  // angstrom
};

PrimitiveCell read_primitive_cell(const fs::path& file) {
  std::ifstream in(file);
  PrimitiveCell cell;
  std::string line;
  bool have_group = false, have_vectors = false;
  while (std::getline(in, line)) {
    if (!have_group && line.starts_with(" SPACE GROUP") && line.find(':') != std::string::npos) {
      std::istringstream(line.substr(line.find(':') + 1)) >> cell.centring;
      have_group = true;
    } else if (!have_vectors &&
               line.starts_with(" DIRECT LATTICE VECTORS CARTESIAN COMPONENTS (ANGSTROM)")) {
      std::getline(in, line);
      for (Vector& v : cell.vectors) {
        std::getline(in, line);
        std::istringstream(line) >> v[0] >> v[1] >> v[2];
      }
      have_vectors = true;
    } else if (have_vectors && line.starts_with(" CARTESIAN COORDINATES - PRIMITIVE CELL")) {
      for (int skip = 0; skip < 3; ++skip) std::getline(in, line);
      while (std::getline(in, line) && line.find_first_not_of(' ') != std::string::npos) {
        std::istringstream row(line);
        std::string number, z, symbol;
        Vector r{};
        row >> number >> z >> symbol >> r[0] >> r[1] >> r[2];
        cell.atoms.push_back(r);
      }
      break;
    }
  }
  return cell;
}

std::vector<const char*> centring_operations(char letter) {
  switch (letter) {
    case 'F': return {"x,y,z", "x,y+1/2,z+1/2", "x+1/2,y,z+1/2", "x+1/2,y+1/2,z"};
    case 'I': return {"x,y,z", "x+1/2,y+1/2,z+1/2"};
    case 'C': return {"x,y,z", "x+1/2,y+1/2,z"};
    case 'A': return {"x,y,z", "x,y+1/2,z+1/2"};
    case 'B': return {"x,y,z", "x+1/2,y,z+1/2"};
    case 'R': return {"x,y,z", "x+2/3,y+1/3,z+1/3", "x+1/3,y+2/3,z+2/3"};
    default: return {"x,y,z"};
  }
}

double determinant(const std::array<Vector, 3>& m) {
  return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
         m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
         m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

// Distance from r to the nearest image of `atom` under the lattice of the vectors a.
double distance_to_images(const Vector& r, const Vector& atom, const std::array<Vector, 3>& a) {
  const Vector d = {r[0] - atom[0], r[1] - atom[1], r[2] - atom[2]};
  Vector f{};  // d = sum of f[k] a[k], by Cramer's rule; whole cells taken away
  for (int k = 0; k < 3; ++k) {
    std::array<Vector, 3> m = a;
    m[k] = d;
    f[k] = determinant(m) / determinant(a);
    f[k] -= std::round(f[k]);
  }
  double s = 0.0;
  for (int c = 0; c < 3; ++c) {
    const double x = f[0] * a[0][c] + f[1] * a[1][c] + f[2] * a[2][c];
    s += x * x;
  }
  return std::sqrt(s);
}

TEST(CrystalSamples, ExpandedAtomsAreCrystalsOwnAtoms) {
  const fs::path dir = fs::path(QV_SAMPLES) / "crystal_out";
  if (!fs::exists(dir)) GTEST_SKIP() << "no sample files";
  int checked = 0;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.path().extension() != ".out") continue;
    const std::string name = entry.path().filename().string();
    auto in = LineReader::open(entry.path().string());
    ASSERT_TRUE(in) << name;
    CrystalStructure crystal;
    CrystalRead outcome{};
    try {
      outcome = read_crystal_output(*in, crystal);
    } catch (const TextError& e) {
      // A molecule has no lattice block: refused, as every output without one.
      EXPECT_EQ(name, "conv_toluene.out") << e.what();
      continue;
    }
    ASSERT_EQ(outcome, CrystalRead::Ok) << name;
    const PrimitiveCell cell = read_primitive_cell(entry.path());
    ASSERT_FALSE(cell.atoms.empty()) << name;

    TopSettings top;
    for (const char* text : centring_operations(cell.centring)) {
      SymmetryOperation op;
      parse_symmetry_text(text, "ops", 1, op);
      top.symm_op.push_back(op.op);
      top.transl.push_back(op.transl);
    }
    const ExpandedAtoms expanded = expand_atoms(crystal, top);
    ASSERT_EQ(expanded.atoms.size(), crystal.labels.size() * top.symm_op.size()) << name;
    for (std::size_t k = 0; k < expanded.atoms.size(); ++k) {
      const Vector r = {expanded.atoms[k][1] * kBohrInAngstrom,
                        expanded.atoms[k][2] * kBohrInAngstrom,
                        expanded.atoms[k][3] * kBohrInAngstrom};
      double nearest = 1e30;
      for (const Vector& atom : cell.atoms)
        nearest = std::min(nearest, distance_to_images(r, atom, cell.vectors));
      EXPECT_LT(nearest, 1e-4) << name << " atom " << k + 1 << " at " << r[0] << " " << r[1]
                               << " " << r[2] << " angstrom";
    }
    ++checked;
  }
  EXPECT_GE(checked, 8);
}

}  // namespace
}  // namespace qv
