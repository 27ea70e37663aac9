#pragma once
// Helpers of the wavefunction tests: records built in memory, a direct point-by-point evaluator
// of one primitive, and writers of the .wfn and .wfx layouts.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "wavefunction/wfn_record.hpp"

namespace qv::testing {

struct TestPrimitive {
  int centre;  // 0-based
  int type;    // 1..20
  double alpha;
  std::vector<double> coefs;  // one per orbital
};

struct TestAtom {
  double x, y, z, charge;
};

// A record as the reader would make it (primitives sorted stably by type).
inline WfnRecord make_record(const std::vector<TestAtom>& atoms,
                             const std::vector<TestPrimitive>& prims,
                             const std::vector<double>& occupations) {
  WfnRecord rec;
  rec.centre_count = static_cast<std::int32_t>(atoms.size());
  rec.primitive_count = static_cast<std::int32_t>(prims.size());
  rec.orbital_count = static_cast<std::int32_t>(occupations.size());
  for (const auto& a : atoms) {
    rec.centre_labels.push_back("X       ");
    rec.centre_x.push_back(a.x);
    rec.centre_y.push_back(a.y);
    rec.centre_z.push_back(a.z);
    rec.nuclear_charges.push_back(a.charge);
  }
  std::vector<std::int32_t> centres, types;
  std::vector<double> exps, coefs(prims.size() * occupations.size());
  for (std::size_t k = 0; k < prims.size(); ++k) {
    centres.push_back(prims[k].centre);
    types.push_back(prims[k].type);
    exps.push_back(prims[k].alpha);
    for (std::size_t m = 0; m < occupations.size(); ++m)
      coefs[k + prims.size() * m] = prims[k].coefs[m];
  }
  rec.occupations = occupations;
  rec.orbital_energies.assign(occupations.size(), 0.0);
  sort_primitives(rec, centres, types, exps, coefs);
  return rec;
}

// Value, gradient and laplacian of one primitive at a point, straight from its definition
// X^l Y^m Z^n exp(-alpha R).
struct PrimitiveValues {
  double v, dx, dy, dz, lap;
};
inline PrimitiveValues direct_primitive(int type, double alpha, double X, double Y, double Z) {
  const auto& p = kTypePowers[type - 1];
  auto pw = [](double u, int n) { return n < 0 ? 0.0 : std::pow(u, n); };
  const double e = std::exp(-alpha * (X * X + Y * Y + Z * Z));
  const double s = -2 * alpha;
  const double u[3] = {X, Y, Z};
  double f[3], d1[3], d2[3];
  for (int a = 0; a < 3; ++a) {
    const int n = p[a];
    f[a] = pw(u[a], n);
    d1[a] = n * pw(u[a], n - 1) + s * pw(u[a], n + 1);
    d2[a] = n * (n - 1) * pw(u[a], n - 2) + s * (2 * n + 1) * pw(u[a], n) + s * s * pw(u[a], n + 2);
  }
  return {f[0] * f[1] * f[2] * e, d1[0] * f[1] * f[2] * e, f[0] * d1[1] * f[2] * e,
          f[0] * f[1] * d1[2] * e,
          (d2[0] * f[1] * f[2] + f[0] * d2[1] * f[2] + f[0] * f[1] * d2[2]) * e};
}

// The .wfn layout as GAUSSIAN writes it (D exponents when `d_exponents`), primitives in the
// given order.
inline std::string wfn_text(const std::vector<TestAtom>& atoms,
                            const std::vector<TestPrimitive>& prims,
                            const std::vector<double>& occupations, bool d_exponents = true,
                            const std::vector<int>& centre_numbers = {}) {
  char buf[200];
  std::string t = " test molecule\n";
  std::snprintf(buf, sizeof buf, "GAUSSIAN %14d MOL ORBITALS %6d PRIMITIVES %8d NUCLEI\n",
                static_cast<int>(occupations.size()), static_cast<int>(prims.size()),
                static_cast<int>(atoms.size()));
  t += buf;
  for (std::size_t a = 0; a < atoms.size(); ++a) {
    const int n = centre_numbers.empty() ? static_cast<int>(a) + 1 : centre_numbers[a];
    std::snprintf(buf, sizeof buf, "  X %4d    (CENTRE%3d) %12.8f%12.8f%12.8f  CHARGE = %4.1f\n",
                  static_cast<int>(a) + 1, n, atoms[a].x, atoms[a].y, atoms[a].z,
                  atoms[a].charge);
    t += buf;
  }
  auto int_lines = [&](const char* head, auto get) {
    for (std::size_t k = 0; k < prims.size(); k += 20) {
      std::snprintf(buf, sizeof buf, "%-20s", head);
      t += buf;
      for (std::size_t q = k; q < prims.size() && q < k + 20; ++q) {
        std::snprintf(buf, sizeof buf, "%3d", get(prims[q]));
        t += buf;
      }
      t += '\n';
    }
  };
  int_lines("CENTRE ASSIGNMENTS", [](const TestPrimitive& p) { return p.centre + 1; });
  int_lines("TYPE ASSIGNMENTS", [](const TestPrimitive& p) { return p.type; });
  auto e_field = [&](double v, int w, int d, char letter) {
    // 0.ddddE+xx layout, as the writers of these files use.
    if (v == 0.0)
      return std::string(static_cast<std::size_t>(w - d - 6), ' ') + "0." + std::string(d, '0') +
             letter + "+00";
    int ex = static_cast<int>(std::floor(std::log10(std::fabs(v)))) + 1;
    double m = v / std::pow(10.0, ex);
    if (std::fabs(m) >= 1.0) m /= 10, ++ex;
    std::snprintf(buf, sizeof buf, "%.*f", d, std::fabs(m));
    std::string digits(buf);
    if (digits[0] == '1') {  // rounding reached 1.0
      m /= 10, ++ex;
      std::snprintf(buf, sizeof buf, "%.*f", d, std::fabs(m));
      digits = buf;
    }
    std::snprintf(buf, sizeof buf, "%s%s%c%c%02d", v < 0 ? "-" : "", digits.c_str(), letter,
                  ex < 0 ? '-' : '+', std::abs(ex));
    std::string s(buf);
    return std::string(static_cast<std::size_t>(w) - s.size(), ' ') + s;
  };
  for (std::size_t k = 0; k < prims.size(); k += 5) {
    t += "EXPONENTS ";
    for (std::size_t q = k; q < prims.size() && q < k + 5; ++q)
      t += e_field(prims[q].alpha, 14, 7, d_exponents ? 'D' : 'E');
    t += '\n';
  }
  for (std::size_t m = 0; m < occupations.size(); ++m) {
    std::snprintf(buf, sizeof buf,
                  "MO%5d     MO 0.0        OCC NO = %12.8f  ORB. ENERGY = %12.6f\n",
                  static_cast<int>(m) + 1, occupations[m], -1.0);
    t += buf;
    for (std::size_t k = 0; k < prims.size(); k += 5) {
      for (std::size_t q = k; q < prims.size() && q < k + 5; ++q)
        t += e_field(prims[q].coefs[m], 16, 8, 'D');
      t += '\n';
    }
  }
  t += "END DATA\n";
  t += " TOTAL ENERGY =      -76.023551568532 THE VIRIAL(-V/T)=   2.00000000\n";
  return t;
}

struct TestEdf {
  int centre;  // 0-based
  int type;
  double alpha, coef;
};

// The .wfx layout as Gaussian writes it (all sections this program reads, and a few it passes
// over), primitives in the given order; with `edf` non-empty, a core-density section.
inline std::string wfx_text(const std::vector<TestAtom>& atoms,
                            const std::vector<TestPrimitive>& prims,
                            const std::vector<double>& occupations,
                            const std::vector<TestEdf>& edf = {}) {
  char buf[100];
  std::string t;
  auto section = [&t](const std::string& tag, const std::string& body) {
    t += "<" + tag + ">\n" + body + "</" + tag + ">\n";
  };
  auto real = [&buf](double v) {
    std::snprintf(buf, sizeof buf, " %20.12e", v);
    return std::string(buf);
  };
  auto integers = [](const std::vector<int>& v) {
    std::string body;
    for (std::size_t k = 0; k < v.size(); ++k)
      body += std::string(k % 5 ? "" : " ") + std::to_string(v[k]) + (k % 5 == 4 || k + 1 == v.size() ? "\n" : " ");
    return body;
  };
  auto reals = [&real](const std::vector<double>& v) {
    std::string body;
    for (std::size_t k = 0; k < v.size(); ++k)
      body += real(v[k]) + (k % 4 == 3 || k + 1 == v.size() ? "\n" : "");
    return body;
  };
  section("Title", " test molecule\n");
  section("Keywords", " GTO\n");
  section("Number of Nuclei", " " + std::to_string(atoms.size()) + "\n");
  section("Number of Occupied Molecular Orbitals", " " + std::to_string(occupations.size()) + "\n");
  section("Number of Perturbations", " 0\n");
  section("Net Charge", " 0\n");
  std::string names;
  std::vector<double> charges, coords;
  for (std::size_t a = 0; a < atoms.size(); ++a) {
    names += " X" + std::to_string(a + 1) + "\n";
    charges.push_back(atoms[a].charge);
    coords.insert(coords.end(), {atoms[a].x, atoms[a].y, atoms[a].z});
  }
  section("Nuclear Names", names);
  section("Atomic Numbers", " 1\n");
  section("Nuclear Charges", reals(charges));
  section("Nuclear Cartesian Coordinates", reals(coords));
  section("Number of Primitives", " " + std::to_string(prims.size()) + "\n");
  std::vector<int> centres, types;
  std::vector<double> exps;
  for (const auto& p : prims) {
    centres.push_back(p.centre + 1);
    types.push_back(p.type);
    exps.push_back(p.alpha);
  }
  section("Primitive Centers", integers(centres));
  section("Primitive Types", integers(types));
  section("Primitive Exponents", reals(exps));
  if (!edf.empty()) {
    t += "<Additional Electron Density Function (EDF)>\n";
    std::vector<int> ec, et;
    std::vector<double> ea, eco;
    for (const auto& e : edf) {
      ec.push_back(e.centre + 1);
      et.push_back(e.type);
      ea.push_back(e.alpha);
      eco.push_back(e.coef);
    }
    section("Number of EDF Primitives", " " + std::to_string(edf.size()) + "\n");
    section("EDF Primitive Centers", integers(ec));
    section("EDF Primitive Types", integers(et));
    section("EDF Primitive Exponents", reals(ea));
    section("EDF Primitive Coefficients", reals(eco));
    t += "</Additional Electron Density Function (EDF)>\n";
  }
  section("Molecular Orbital Occupation Numbers", reals(occupations));
  section("Molecular Orbital Energies", reals(std::vector<double>(occupations.size(), -1.0)));
  std::string spins;
  for (std::size_t m = 0; m < occupations.size(); ++m) spins += " Alpha and Beta\n";
  section("Molecular Orbital Spin Types", spins);
  t += "<Molecular Orbital Primitive Coefficients>\n";
  for (std::size_t m = 0; m < occupations.size(); ++m) {
    section("MO Number", " " + std::to_string(m + 1) + "\n");
    std::vector<double> c;
    for (const auto& p : prims) c.push_back(p.coefs[m]);
    t += reals(c);
  }
  t += "</Molecular Orbital Primitive Coefficients>\n";
  section("Energy = T + Vne + Vee + Vnn", " -1.0\n");
  section("Virial Ratio (-V/T)", " 2.0\n");
  return t;
}

}  // namespace qv::testing
