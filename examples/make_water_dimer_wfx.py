#!/usr/bin/env python3
"""Writes the water dimer of the bundled example as a .wfx file, with a g function and a core
density, for the .wfx example (run_wfx_example.sh).

The wavefunction is that of make_water_dimer_wfn.py (spherically averaged free atoms in minimal
STO-3G-like orbitals), with two changes that exercise what .wfx files of real calculations hold:

- each oxygen's 2s orbital takes a small admixture of r^4 exp(-a r^2), an s-like radial function
  that Cartesian g functions span: r^4 = XXXX + YYYY + ZZZZ + 2 XXYY + 2 XXZZ + 2 YYZZ (types 21,
  22, 23, 30, 31, 32); the orbital is normalised again;
- with --core-as-edf, each oxygen's 1s pair is written as a core density (the EDF section that
  calculations with effective core potentials write): 2 (sum_k d_k exp(-a_k r^2))^2 expands into
  Gaussians of exponents a_j + a_k, and the 1s orbital is left out of the orbital list.

Numbers are written with the digits of the .wfn layout, so the same wavefunction written as .wfn
(an output name ending in .wfn; without --core-as-edf, since .wfn files hold no core density)
gives the same cubes byte for byte.

Usage: make_water_dimer_wfx.py OUTPUT(.wfx|.wfn) [--core-as-edf]
"""
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_water_dimer_wfn as base  # noqa: E402

G_EXPONENT = 0.8        # of the r^4 exp(-a r^2) admixture, bohr^-2
G_WEIGHT = 0.05         # its weight before the orbital is normalised again
R4_TYPES = {21: 1.0, 22: 1.0, 23: 1.0, 30: 2.0, 31: 2.0, 32: 2.0}  # r^4 in Cartesian g types


def radial_overlap(n1, a, n2, b):
    """<r^(2 n1) e^(-a r^2) | r^(2 n2) e^(-b r^2)> over all space."""
    n = n1 + n2 + 1.5
    return 2 * math.pi * math.gamma(n) / (a + b) ** n


def add_g_admixture(prims, orbitals, atoms):
    """The oxygens' 2s orbitals (the second orbital of each oxygen) take the r^4 admixture."""
    norm_r4 = 1 / math.sqrt(radial_overlap(2, G_EXPONENT, 2, G_EXPONENT))
    k = 0
    for centre, (_, charge, _) in enumerate(atoms, start=1):
        count = 5 if charge == 8 else 1
        if charge == 8:
            occ, two_s = orbitals[k + 1]
            cross = sum(c * radial_overlap(0, prims[i][2], 2, G_EXPONENT) for i, c in two_s.items())
            scale = 1 / math.sqrt(1 + G_WEIGHT ** 2 + 2 * G_WEIGHT * norm_r4 * cross)
            mixed = {i: c * scale for i, c in two_s.items()}
            for ptype, multiplier in R4_TYPES.items():
                mixed[len(prims)] = G_WEIGHT * norm_r4 * multiplier * scale
                prims.append((centre, ptype, G_EXPONENT))
            orbitals[k + 1] = (occ, mixed)
        k += count


def core_as_edf(prims, orbitals, atoms):
    """Moves each oxygen's 1s pair into core-density primitives; returns them."""
    edf, kept, k = [], [], 0
    for centre, (_, charge, _) in enumerate(atoms, start=1):
        count = 5 if charge == 8 else 1
        group = orbitals[k:k + count]
        if charge == 8:
            occ, one_s = group[0]
            terms = sorted(one_s.items())
            for j, (pj, dj) in enumerate(terms):
                for pk, dk in terms[j:]:
                    weight = occ * dj * dk * (1 if pj == pk else 2)
                    edf.append((centre, 1, prims[pj][2] + prims[pk][2], weight))
            group = group[1:]
        kept += group
        k += count
    return edf, kept


def wfn_number(v, width, digits):
    """The value as the .wfn layout writes it, in E notation."""
    return base.fortran_e(v, width, digits, "E").strip()


def wfx_text(atoms, prims, orbitals, edf):
    out = []

    def section(tag, lines):
        out.append(f"<{tag}>")
        out.extend(" " + line for line in lines)
        out.append(f"</{tag}>")

    def rows(values, per_line=5):
        return [" ".join(values[k:k + per_line]) for k in range(0, len(values), per_line)]

    section("Title", ["water dimer: promolecular density, minimal STO-3G-like atomic orbitals"])
    section("Keywords", ["GTO"])
    section("Number of Nuclei", [str(len(atoms))])
    section("Number of Occupied Molecular Orbitals", [str(len(orbitals))])
    section("Number of Perturbations", ["0"])
    section("Net Charge", ["0"])
    electrons = sum(occ for occ, _ in orbitals) + sum(w * (math.pi / a) ** 1.5 for _, _, a, w in edf)
    section("Number of Electrons", [str(round(electrons))])
    section("Number of Core Electrons", [str(round(electrons - sum(occ for occ, _ in orbitals)))])
    section("Nuclear Names", [f"{label}{n}" for n, (label, _, _) in enumerate(atoms, start=1)])
    section("Atomic Numbers", [str(charge) for _, charge, _ in atoms])
    section("Nuclear Charges", [f"{float(charge):.1f}" for _, charge, _ in atoms])
    section("Nuclear Cartesian Coordinates",
            [" ".join(f"{c:.8f}" for c in xyz) for _, _, xyz in atoms])
    section("Number of Primitives", [str(len(prims))])
    section("Primitive Centers", rows([str(p[0]) for p in prims]))
    section("Primitive Types", rows([str(p[1]) for p in prims]))
    section("Primitive Exponents", rows([wfn_number(p[2], 14, 7) for p in prims]))
    if edf:
        out.append("<Additional Electron Density Function (EDF)>")
        section("Number of EDF Primitives", [str(len(edf))])
        section("EDF Primitive Centers", rows([str(e[0]) for e in edf]))
        section("EDF Primitive Types", rows([str(e[1]) for e in edf]))
        section("EDF Primitive Exponents", rows([f"{e[2]:.15e}" for e in edf], 4))
        section("EDF Primitive Coefficients", rows([f"{e[3]:.15e}" for e in edf], 4))
        out.append("</Additional Electron Density Function (EDF)>")
    section("Molecular Orbital Occupation Numbers", [f"{occ:.8f}" for occ, _ in orbitals])
    section("Molecular Orbital Energies", ["0.0"] * len(orbitals))
    section("Molecular Orbital Spin Types", ["Alpha and Beta"] * len(orbitals))
    out.append("<Molecular Orbital Primitive Coefficients>")
    for m, (_, coefs) in enumerate(orbitals, start=1):
        section("MO Number", [str(m)])
        values = [wfn_number(coefs.get(i, 0.0), 16, 8) for i in range(len(prims))]
        out.extend(" " + line for line in rows(values))
    out.append("</Molecular Orbital Primitive Coefficients>")
    # No energy was computed for a promolecule.
    section("Energy = T + Vne + Vee + Vnn", ["0.0"])
    section("Virial Ratio (-V/T)", ["0.0"])
    return "\n".join(out) + "\n"


def main():
    args = [a for a in sys.argv[1:] if not a.startswith("--")]
    with_edf = "--core-as-edf" in sys.argv[1:]
    if len(args) != 1 or not args[0].lower().endswith((".wfx", ".wfn")):
        sys.exit(__doc__)
    out = args[0]
    atoms, prims, orbitals = base.build()
    add_g_admixture(prims, orbitals, atoms)
    edf = []
    if with_edf:
        if out.lower().endswith(".wfn"):
            sys.exit("a .wfn file holds no core density: --core-as-edf needs a .wfx output")
        edf, orbitals = core_as_edf(prims, orbitals, atoms)
    text = wfx_text(atoms, prims, orbitals, edf) if out.lower().endswith(".wfx") else \
        base.wfn_text(atoms, prims, orbitals)
    with open(out, "w") as f:
        f.write(text)
    print(f"{out}: {len(atoms)} centres, {len(prims)} primitives ({sum(p[1] >= 21 for p in prims)} of "
          f"type g), {len(orbitals)} orbitals, {len(edf)} core-density primitives")


if __name__ == "__main__":
    main()
