// Writes the promolecular density of a water dimer (a sum of spherical Slater-type atomic
// densities) as a cube file: a realistic molecular density for timing the RDG job.
//   promolecule_cube N FILE     an N x N x N grid over a 12 x 10 x 9 bohr box around the dimer
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// One spherical shell: `electrons` spread as (zeta^3 / 8 pi) exp(-zeta r) per electron.
struct Shell {
  double electrons, zeta;
};

struct Atom {
  int z;
  double x, y, z_;
};

const double kPi = 3.14159265358979323846;

// Shells fitted to the 1s and valence radial densities of the free atoms.
std::vector<Shell> shells_of(int z) {
  if (z == 8) return {{2.0, 15.3}, {6.0, 4.5}};
  return {{1.0, 2.0}};  // hydrogen 1s: exp(-2r) / pi
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s N FILE\n", argv[0]);
    return 1;
  }
  const int n = std::atoi(argv[1]);
  if (n < 2) return 1;
  // Water dimer, hydrogen bond O-H...O along x (bohr).
  const Atom atoms[] = {{8, -2.75, 0.0, 0.0},  {1, -0.93, 0.12, 0.0}, {1, -3.30, 1.74, 0.0},
                        {8, 2.75, 0.0, 0.0},   {1, 3.43, -0.80, 1.45}, {1, 3.43, -0.80, -1.45}};
  const double low[3] = {-6.0, -5.0, -4.5};
  const double step[3] = {12.0 / (n - 1), 10.0 / (n - 1), 9.0 / (n - 1)};
  std::FILE* f = std::fopen(argv[2], "w");
  if (!f) return 1;
  std::fprintf(f, " water dimer promolecular density\n Electron density from spherical atoms\n");
  std::fprintf(f, "%5d%12.6f%12.6f%12.6f\n", 6, low[0], low[1], low[2]);
  for (int a = 0; a < 3; ++a)
    std::fprintf(f, "%5d%12.6f%12.6f%12.6f\n", n, a == 0 ? step[0] : 0.0, a == 1 ? step[1] : 0.0,
                 a == 2 ? step[2] : 0.0);
  for (const Atom& a : atoms)
    std::fprintf(f, "%5d%12.6f%12.6f%12.6f%12.6f\n", a.z, double(a.z), a.x, a.y, a.z_);
  std::vector<double> run(n);
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) {
      for (int k = 0; k < n; ++k) {
        const double p[3] = {low[0] + i * step[0], low[1] + j * step[1], low[2] + k * step[2]};
        double rho = 0.0;
        for (const Atom& a : atoms) {
          const double r = std::sqrt((p[0] - a.x) * (p[0] - a.x) + (p[1] - a.y) * (p[1] - a.y) +
                                     (p[2] - a.z_) * (p[2] - a.z_));
          for (const Shell& s : shells_of(a.z))
            rho += s.electrons * s.zeta * s.zeta * s.zeta / (8.0 * kPi) * std::exp(-s.zeta * r);
        }
        run[k] = rho;
      }
      // Third index fastest, six values to a line, every run on a new line.
      for (int k = 0; k < n; ++k)
        std::fprintf(f, "%13.5E%s", run[k], (k % 6 == 5 || k == n - 1) ? "\n" : "");
    }
  }
  return std::fclose(f) == 0 ? 0 : 1;
}
