#!/usr/bin/env python3
"""Writes the TOP example's input data: a CRYSTAL-like output file and a TOPOND-layout density
grid for rock salt (NaCl, face-centred cubic, conventional cell edge a = 5.64 angstrom).

The density is a model, not a quantum-chemical one: a sum of spherical Gaussians on the ions
(periodic images included), normalised to the ions' electron counts. It only has to look like
a crystal density in a viewer. Run from any folder; files are written next to this script.
"""
import math
import os

BOHR = 0.5291771292686462  # one bohr in angstrom
A = 5.64                   # cell edge, angstrom
N = 20                     # points per axis
HERE = os.path.dirname(os.path.abspath(__file__))

# Irreducible ions: label columns 7-8 hold the atomic number, as CRYSTAL prints it.
IONS = [("NA", 11, (0.0, 0.0, 0.0)), ("CL", 17, (0.5, 0.0, 0.0))]
# Face-centring translations: the same four operations as the example input file.
CENTRING = [(0, 0, 0), (0, 0.5, 0.5), (0.5, 0, 0.5), (0.5, 0.5, 0)]
ELECTRONS = {11: 10.0, 17: 18.0}  # Na+ and Cl-
WIDTH = {11: 0.55, 17: 0.95}      # Gaussian widths, bohr


def fortran_e(x, w, d):
    """Ew.d as Fortran writes it: 0.ddddddddE+xx right-justified in w columns."""
    if x == 0.0:
        s = "0." + "0" * d + "E+00"
    else:
        digits, exp = ("%.*E" % (d - 1, abs(x))).split("E")
        s = ("-" if x < 0 else "") + "0." + digits.replace(".", "") + "E%+03d" % (int(exp) + 1)
    return s.rjust(w)


def density(p, sites):
    rho = 0.0
    for z, (x, y, zz) in sites:
        for i in (-1, 0, 1):
            for j in (-1, 0, 1):
                for k in (-1, 0, 1):
                    c = ((x + i) * A / BOHR, (y + j) * A / BOHR, (zz + k) * A / BOHR)
                    r2 = sum((p[m] - c[m]) ** 2 for m in range(3))
                    w = WIDTH[z]
                    rho += ELECTRONS[z] / (math.pi ** 1.5 * w ** 3) * math.exp(-r2 / w ** 2)
    return rho


def write_crystal_output():
    """The lines CRYSTAL prints for a face-centred cell: the input coordinates are fractions of
    the conventional cubic cell, the direct lattice vectors are the primitive ones, and the
    transformation matrix before them makes the conventional vectors from the primitive ones."""
    half = A / 2
    primitive = [(0.0, half, half), (half, 0.0, half), (half, half, 0.0)]
    matrix = [-1, 1, 1, 1, -1, 1, 1, 1, -1]  # row k: conventional vector k in primitive ones
    # The ions in fractions of the primitive vectors: the inverse of the matrix above.
    prim_fractions = [(-x + y + z, x - y + z, x + y - z) for _, _, (x, y, z) in IONS]
    volume = A ** 3 / 4
    lines = [
        "",
        " CRYSTAL-LIKE OUTPUT WRITTEN BY make_top_example.py (NOT A CRYSTAL RUN)",
        " ROCK SALT NACL, FACE-CENTRED CUBIC CELL",
        "",
        " SPACE GROUP (CENTROSYMMETRIC)        :  F M 3 M         ",
        "",
        " LATTICE PARAMETERS  (ANGSTROMS AND DEGREES) - CONVENTIONAL CELL",
        "        A           B           C        ALPHA        BETA       GAMMA",
        "%12.5f%12.5f%12.5f%12.5f%12.5f%12.5f" % (A, A, A, 90, 90, 90),
        "",
        "",
        " NUMBER OF IRREDUCIBLE ATOMS IN THE CONVENTIONAL CELL:%5d" % len(IONS),
        "",
        " INPUT COORDINATES",
        "",
        " ATOM AT. N.              COORDINATES",
    ]
    for i, (_, z, f) in enumerate(IONS, 1):
        lines.append("%4d%4d   " % (i, z) + "".join("%20.12E" % v for v in f))
    lines += ["", " " + "*" * 79,
              " PRIMITIVE CELL - CENTRING CODE 5/0 VOLUME=%13.6f - DENSITY %6.3f g/cm^3"
              % (volume, 4 * 58.44 / 0.602214076 / A ** 3),
              "         A              B              C           ALPHA      BETA       GAMMA ",
              "%15.8f%15.8f%15.8f%13.6f%11.6f%11.6f" % ((A / math.sqrt(2),) * 3 + (60.0,) * 3),
              " " + "*" * 79,
              " ATOMS IN THE ASYMMETRIC UNIT%5d - ATOMS IN THE UNIT CELL:%5d" % (len(IONS), len(IONS)),
              "     ATOM              X/A                 Y/B                 Z/C    ",
              " " + "*" * 79]
    for i, ((name, z, _), f) in enumerate(zip(IONS, prim_fractions), 1):
        lines.append("%4d T%4d %-4s" % (i, z, name) + "".join("%20.12E" % v for v in f))
    lines += ["", " TRANSFORMATION MATRIX PRIMITIVE-CRYSTALLOGRAPHIC CELL",
              "".join("%8.4f" % m for m in matrix), "",
              " DIRECT LATTICE VECTORS CARTESIAN COMPONENTS (ANGSTROM)",
              "          X                    Y                    Z"]
    for vector in primitive:
        lines.append("".join(fortran_e(x, 21, 12) for x in vector))
    lines += ["", "", " CARTESIAN COORDINATES - PRIMITIVE CELL", " " + "*" * 79,
              " *      ATOM          X(ANGSTROM)         Y(ANGSTROM)         Z(ANGSTROM)",
              " " + "*" * 79]
    for i, (name, z, f) in enumerate(IONS, 1):
        lines.append("%5d%6d %-4s" % (i, z, name) + "".join("%20.12E" % (v * A) for v in f))
    lines.append("")
    with open(os.path.join(HERE, "top_example_crystal.out"), "w") as f:
        f.write("\n".join(lines) + "\n")


def write_grid():
    sites = [(z, tuple(f[m] + t[m] for m in range(3))) for _, z, f in IONS for t in CENTRING]
    step = A / BOHR / N
    out = ["%4d%4d%4d" % (N, N, N)]
    for k in range(3):
        out.append(fortran_e(0.0, 15, 8) + " " * 17 + fortran_e(step, 15, 8))
    for i3 in range(N):          # first index fastest, eight values per line,
        for i2 in range(N):      # every run of N1 values on new lines
            run = [fortran_e(density((i1 * step, i2 * step, i3 * step), sites), 16, 8)
                   for i1 in range(N)]
            for s in range(0, N, 8):
                out.append("".join(run[s:s + 8]))
    with open(os.path.join(HERE, "top_example_rho.dat"), "w") as f:
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    write_crystal_output()
    write_grid()
