#!/usr/bin/env python3
"""Writes water_dimer.wfn: the promolecular density of a hydrogen-bonded water dimer in the .wfn
layout, for the bundled example.

Each atom carries its own minimal-basis orbitals built from STO-3G-like contractions (three
Gaussians per Slater function): O 1s (2 electrons), O 2s orthogonalised to 1s (2), O 2px, 2py,
2pz (4/3 each, the spherical average of 2p4), and H 1s (1). The density is the sum of the
spherically averaged free-atom densities, the reference density of non-covalent-interaction
analyses of promolecules. Every coefficient (primitive normalisation, contraction
normalisation, Schmidt orthogonalisation) is computed here; only the standard library is used.

Usage: make_water_dimer_wfn.py [output file]   (default: water_dimer.wfn)
"""
import math
import sys

# Three-Gaussian expansions of Slater functions of exponent 1 (exponent, coefficient over
# normalised primitives); an exponent zeta scales the Gaussian exponents by zeta^2.
STO3G_1S = [(2.227660584, 0.154328967), (0.405771156, 0.535328142), (0.109818, 0.444634542)]
STO3G_2S = [(0.994202729, -0.0999672), (0.231031, 0.399512826), (0.0751386, 0.700115469)]
STO3G_2P = [(0.994202729, 0.155916275), (0.231031, 0.607683719), (0.0751386, 0.391957393)]
ZETA_O_1S, ZETA_O_2SP, ZETA_H = 7.66, 2.25, 1.24

BOHR_OH = 1.809          # O-H bond, bohr
HOH = math.radians(104.5)
R_OO = 5.50              # O...O distance of the hydrogen bond, bohr


def norm_s(a):
    return (2 * a / math.pi) ** 0.75


def norm_p(a):
    return norm_s(a) * 2 * math.sqrt(a)


def overlap(a, b, l):
    """Overlap of two normalised same-centre primitives of angular momentum l (0 or 1)."""
    return (2 * math.sqrt(a * b) / (a + b)) ** (1.5 + l)


def contraction(expansion, zeta, l):
    """(exponents, coefficients over normalised primitives) of a normalised contracted function."""
    exps = [a * zeta * zeta for a, _ in expansion]
    coefs = [d for _, d in expansion]
    n2 = sum(ci * cj * overlap(ai, aj, l) for ai, ci in zip(exps, coefs) for aj, cj in zip(exps, coefs))
    return exps, [c / math.sqrt(n2) for c in coefs]


def cross_overlap(f, g):
    return sum(ci * cj * overlap(ai, aj, 0) for ai, ci in zip(*f) for aj, cj in zip(*g))


def geometry():
    """Donor water in the xy plane, its hydrogen pointing along +x at the acceptor oxygen."""
    o1 = (0.0, 0.0, 0.0)
    h1 = (BOHR_OH, 0.0, 0.0)
    h2 = (BOHR_OH * math.cos(HOH), BOHR_OH * math.sin(HOH), 0.0)
    o2 = (R_OO, 0.0, 0.0)
    # Acceptor: its bisector tilted 57 degrees from the O...O axis, hydrogens above and below
    # the donor's plane.
    tilt = math.radians(57.0)
    b = (math.cos(tilt), -math.sin(tilt), 0.0)
    half = HOH / 2
    h3 = tuple(o2[i] + BOHR_OH * (math.cos(half) * b[i] + math.sin(half) * (1.0 if i == 2 else 0.0)) for i in range(3))
    h4 = tuple(o2[i] + BOHR_OH * (math.cos(half) * b[i] - math.sin(half) * (1.0 if i == 2 else 0.0)) for i in range(3))
    return [("O", 8, o1), ("H", 1, h1), ("H", 1, h2), ("O", 8, o2), ("H", 1, h3), ("H", 1, h4)]


def build():
    atoms = geometry()
    prims = []     # (centre number, type, exponent)
    orbitals = []  # (occupation, {primitive index: coefficient})
    s1o, s2o = contraction(STO3G_1S, ZETA_O_1S, 0), contraction(STO3G_2S, ZETA_O_2SP, 0)
    p2o = contraction(STO3G_2P, ZETA_O_2SP, 1)
    s1h = contraction(STO3G_1S, ZETA_H, 0)
    s = cross_overlap(s1o, s2o)
    for centre, (_, charge, _) in enumerate(atoms, start=1):
        def add(fn, ptype, norm):
            first = len(prims)
            for a in fn[0]:
                prims.append((centre, ptype, a))
            return {first + k: c * norm(a) for k, (a, c) in enumerate(zip(*fn))}
        if charge == 8:
            one = add(s1o, 1, norm_s)
            two = add(s2o, 1, norm_s)
            # 2s' = (2s - S 1s) / sqrt(1 - S^2): orthogonal to 1s and normalised.
            scale = 1 / math.sqrt(1 - s * s)
            two_orth = {k: c * scale for k, c in two.items()}
            for k, c in one.items():
                two_orth[k] = -s * c * scale
            orbitals += [(2.0, one), (2.0, two_orth)]
            for ptype in (2, 3, 4):
                orbitals.append((4.0 / 3.0, add(p2o, ptype, norm_p)))
        else:
            orbitals.append((1.0, add(s1h, 1, norm_s)))
    return atoms, prims, orbitals


def fortran_e(v, w, d, letter="D"):
    """Ew.d with a 0.ddd significand, as the writers of .wfn files lay out their numbers."""
    if v == 0.0:
        text = "0." + "0" * d + letter + "+00"
    else:
        e = math.floor(math.log10(abs(v))) + 1
        m = round(abs(v) / 10.0 ** e, d)
        if m >= 1.0:
            m, e = m / 10, e + 1
        text = ("-" if v < 0 else "") + f"{m:.{d}f}" + letter + f"{'-' if e < 0 else '+'}{abs(e):02d}"
    return text.rjust(w)


def wfn_text(atoms, prims, orbitals):
    lines = [" water dimer: promolecular density, minimal STO-3G-like atomic orbitals"]
    lines.append(f"GAUSSIAN {len(orbitals):14d} MOL ORBITALS {len(prims):6d} PRIMITIVES {len(atoms):8d} NUCLEI")
    for n, (label, charge, (x, y, z)) in enumerate(atoms, start=1):
        lines.append(f"  {label:<2}{n:4d}    (CENTRE{n:3d}) {x:12.8f}{y:12.8f}{z:12.8f}  CHARGE = {charge:4.1f}")
    for head, key in (("CENTRE ASSIGNMENTS", 0), ("TYPE ASSIGNMENTS", 1)):
        for k in range(0, len(prims), 20):
            lines.append(f"{head:<20}" + "".join(f"{p[key]:3d}" for p in prims[k:k + 20]))
    for k in range(0, len(prims), 5):
        lines.append("EXPONENTS " + "".join(fortran_e(p[2], 14, 7) for p in prims[k:k + 5]))
    for m, (occ, coefs) in enumerate(orbitals, start=1):
        head = f"MO{m:5d}     MO 0.0        OCC NO = {occ:12.8f}  ORB. ENERGY = {0.0:12.6f}"
        assert head[35:47].strip() and head[34] == " "  # occupation in columns 36-47
        lines.append(head)
        values = [coefs.get(i, 0.0) for i in range(len(prims))]
        for k in range(0, len(values), 5):
            lines.append("".join(fortran_e(v, 16, 8) for v in values[k:k + 5]))
    lines.append("END DATA")
    # No energy was computed for a promolecule: the values of this line are zero.
    lines.append(f" TOTAL ENERGY = {0.0:20.12f} THE VIRIAL(-V/T)= {0.0:12.8f}")
    return "\n".join(lines) + "\n"


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "water_dimer.wfn"
    atoms, prims, orbitals = build()
    with open(out, "w") as f:
        f.write(wfn_text(atoms, prims, orbitals))
    electrons = sum(occ for occ, _ in orbitals)
    print(f"{out}: {len(atoms)} centres, {len(prims)} primitives, {len(orbitals)} orbitals, "
          f"{electrons:g} electrons")


if __name__ == "__main__":
    main()
