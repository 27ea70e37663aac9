#!/usr/bin/env python3
"""Writes an antiparallel beta sheet of poly-alanine strands with a benzene molecule lying on it,
as .xyz and .pdb files (angstrom): a geometry of a few hundred atoms for promolecular NCI runs.

    make_beta_sheet.py STRANDS RESIDUES STEM [LAYERS]

writes STEM.xyz and STEM.pdb. Strands run along x, alternately forwards and backwards, 4.3
angstrom apart along y, so that every other residue's N-H and C=O bind to the next strand
(H...O about 2.06 angstrom); the alanine side chains point up and down (z) in turn, and the
benzene lies 5.8 angstrom above the middle of the (top) sheet's backbone, on its methyl groups. With LAYERS (default 1) sheets
are stacked 10 angstrom apart along z, for large, dense systems. The geometry is idealised (bond lengths
within about 0.2 angstrom), which is all a promolecular density needs.
"""
import math
import sys

RISE = 3.8       # along the strand per residue
SPACING = 4.3    # between strands


def along(origin, direction, length):
    return tuple(o + length * d for o, d in zip(origin, direction))


def residue(x, sign_y, sign_z, direction):
    """Atoms of one alanine whose N lies at x; NH and CO point to sign_y, CA and the side chain
    to sign_z; direction is +1 or -1 along x."""
    d = direction
    n = (x, 0.0, 0.0)
    ca = (x + 1.15 * d, 0.0, 0.85 * sign_z)
    c = (x + 2.30 * d, 0.0, 0.0)
    # CA's other two bonds leave the N-CA-C plane (xz): the side chain straight out of the
    # sheet, HA away from the hydrogen-bond side.
    to_cb = (0.0, 0.0, sign_z)
    cb = along(ca, to_cb, 1.53)
    # The methyl hydrogens at 109.5 degrees from the CB-CA bond, 120 degrees apart around it.
    side = (0.0, 1.0, 0.0)  # perpendicular to to_cb and to x
    methyl = []
    for k, phi in enumerate((0.5236, 2.618, 4.7124)):  # 30, 150, 270 degrees from x
        cos_phi, sin_phi = math.cos(phi), math.sin(phi)
        h = tuple(0.334 * a + 0.943 * (cos_phi * px + sin_phi * q)
                  for a, px, q in zip(to_cb, (1.0, 0.0, 0.0), side))
        methyl.append(("H", f"HB{k + 1}", along(cb, h, 1.09)))
    return [
        ("N", "N", n),
        ("H", "H", (x, 1.01 * sign_y, 0.0)),
        ("C", "CA", ca),
        ("H", "HA", along(ca, (0.0, -0.94 * sign_y, -0.33 * sign_z), 1.09)),
        ("C", "CB", cb),
        *methyl,
        ("C", "C", c),
        ("O", "O", (c[0], 1.20 * sign_y, -0.25 * sign_z)),  # tilted away from CA
    ]


def sheet(strands, residues, z0=0.0, first_chain=0):
    atoms = []  # (element, name, residue number, chain, (x, y, z))
    for s in range(strands):
        y0 = s * SPACING
        forward = s % 2 == 0
        for i in range(residues):
            if forward:
                x = i * RISE
                sign_y = 1.0 if i % 2 == 0 else -1.0
                d = 1.0
            else:
                # Reversed strand: residue i faces residue i of the strand before it.
                x = i * RISE + 2.30
                sign_y = -1.0 if i % 2 == 0 else 1.0
                d = -1.0
            sign_z = 1.0 if i % 2 == 0 else -1.0
            for el, name, (ax, ay, az) in residue(x, sign_y, sign_z, d):
                chain = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"[(first_chain + s) % 62]
                atoms.append((el, name, i + 1, chain, (ax, ay + y0, az + z0)))
    return atoms


def benzene(centre):
    atoms = []
    for k in range(6):
        a = math.pi / 3 * k
        for el, r in (("C", 1.39), ("H", 2.47)):
            atoms.append((el, el + str(k + 1), 1, "L",
                          (centre[0] + r * math.cos(a), centre[1] + r * math.sin(a), centre[2])))
    return atoms


def main():
    strands, residues, stem = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
    layers = int(sys.argv[4]) if len(sys.argv) > 4 else 1
    atoms = []
    for layer in range(layers):
        atoms += sheet(strands, residues, -10.0 * layer, layer * strands)
    middle = ((residues - 1) * RISE / 2 + 1.15, (strands - 1) * SPACING / 2, 5.8)
    ligand = benzene(middle)
    with open(stem + ".xyz", "w") as f:
        f.write(f"{len(atoms) + len(ligand)}\nbeta sheet of {strands} poly-alanine strands "
                f"({residues} residues each) in {layers} layer(s) with benzene on top, angstrom\n")
        for el, _, _, _, (x, y, z) in atoms + ligand:
            f.write(f"{el:2s} {x:10.3f} {y:10.3f} {z:10.3f}\n")
    with open(stem + ".pdb", "w") as f:
        f.write("REMARK   made by examples/make_beta_sheet.py\n")
        serial = 1  # serials past 99999 wrap, as PDB writers do
        for el, name, resno, chain, (x, y, z) in atoms:
            f.write(f"ATOM  {serial % 100000:5d} {name if len(name) == 4 else ' ' + name:<4s} ALA {chain}"
                    f"{resno:4d}    {x:8.3f}{y:8.3f}{z:8.3f}  1.00  0.00          {el:>2s}\n")
            serial += 1
        for el, name, resno, chain, (x, y, z) in ligand:
            f.write(f"HETATM{serial % 100000:5d} {' ' + name:<4s} BNZ {chain}{resno:4d}    "
                    f"{x:8.3f}{y:8.3f}{z:8.3f}  1.00  0.00          {el:>2s}\n")
            serial += 1
        f.write("END\n")
    print(f"{stem}.xyz, {stem}.pdb: {len(atoms) + len(ligand)} atoms")


if __name__ == "__main__":
    main()
