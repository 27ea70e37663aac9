// The files that viewers read: the atoms as XYZ (symbols, angstrom) and the PyMOL script's
// names of its files, as Python reads them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "view/pymol_script.hpp"
#include "view/xyz_atoms.hpp"

namespace qv {
namespace {

TEST(XyzAtoms, ElementSymbols) {
  const std::pair<int, const char*> cases[] = {{1, "H"},   {2, "He"},  {6, "C"},  {8, "O"},
                                               {17, "Cl"}, {26, "Fe"}, {54, "Xe"}, {79, "Au"},
                                               {92, "U"},  {118, "Og"}, {0, "X"},  {-3, "X"},
                                               {119, "X"}, {1000000, "X"}};
  for (const auto& [number, symbol] : cases) EXPECT_EQ(xyz_symbol(number), symbol) << number;
}

TEST(XyzAtoms, AngstromWithSixDecimals) {
  const std::vector<CubeAtom> atoms = {{8, 0.0, 0.0, 0.0}, {1, 1.0, -2.0, 0.5}, {0, 100.0, 0, 0}};
  auto out = TextOutput::memory();
  write_xyz_atoms(atoms, "out/mol_rdg.cube", *out);
  out->flush();
  EXPECT_EQ(out->contents(),
            "3\n"
            "atoms of out/mol_rdg.cube in angstrom, written by quelvarin-plot\n"
            "O        0.000000       0.000000       0.000000\n"
            "H        0.529177      -1.058354       0.264589\n"
            "X       52.917713       0.000000       0.000000\n");
}

TEST(PymolScript, NamesAsPythonStrings) {
  const std::pair<const char*, const char*> cases[] = {
      {"mol_rdg.cube", "\"mol_rdg.cube\""},
      {"my files/mol rdg.cube", "\"my files/mol rdg.cube\""},
      {"it's \"odd\".cube", "\"it's \\\"odd\\\".cube\""},
      {"back\\slash.cube", "\"back\\\\slash.cube\""},
      {"two\nlines", "\"two\\nlines\""},
  };
  for (const auto& [name, literal] : cases) EXPECT_EQ(python_string(name), literal);
}

TEST(PymolScript, LoadsItsFilesFromItsOwnFolderAndDrawsTheChosenSurface) {
  PymolScene scene;
  scene.atoms_xyz = "mol_rdg_atoms.xyz";
  scene.rdg_cube = "mol_rdg.cube";
  scene.rhosign_cube = "../sign/mol_sign.cube";
  scene.isovalue = 0.3;
  scene.colour_range = 0.025;
  auto out = TextOutput::memory();
  write_pymol_script(scene, *out);
  out->flush();
  const std::string s = out->contents();
  EXPECT_TRUE(s.starts_with(std::string(kPymolMark) + "\n"));
  for (const char* expected :
       {"cmd.load(os.path.join(qv_here, \"mol_rdg_atoms.xyz\"), \"molecule\", format=\"xyz\")",
        "cmd.load(os.path.join(qv_here, \"../sign/mol_sign.cube\"), \"rhosign\", format=\"cube\")",
        "cmd.load(os.path.join(qv_here, \"mol_rdg.cube\"), \"rdg\", format=\"cube\")",
        "\nisosurface nci, rdg, 0.3\n",
        "\nramp_new nci_colours, rhosign, [-0.025, 0, 0.025], [blue, green, red]\n",
        "\nset surface_color, nci_colours, nci\n", "\nset two_sided_lighting, on\n",
        "\nbg_color white\n", "\norient molecule\n"})
    EXPECT_NE(s.find(expected), std::string::npos) << expected;
  // The script sets the scene only: a picture is made by whoever runs it.
  EXPECT_EQ(s.find("\npng "), std::string::npos);
  EXPECT_EQ(s.find("\nray"), std::string::npos);
}

}  // namespace
}  // namespace qv
