#!/usr/bin/env python3
"""Writes the bad-input corpus: one folder per case with the run's input file (input.inp), the
files it names, and `expect` (exit status; the stream that carries the message: stdout, stderr or
log; the message's first line). Run once; the folders are committed. Cases whose `expect` exists
are left alone, so reviewed expectations are never overwritten."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def cube(n=(6, 6, 6), natoms=1, values=None, counts_line=None, truncate_lines=None):
    lines = [" " * 60, " " * 60, "%5d%12.6f%12.6f%12.6f" % (natoms, -0.5, -0.5, -0.5)]
    for k in range(3):
        v = [0.0, 0.0, 0.0]
        v[k] = 0.2
        lines.append("%5d%12.6f%12.6f%12.6f" % (n[k], *v))
    if counts_line is not None:
        lines[3] = counts_line
    for _ in range(max(natoms, 0)):
        lines.append("%5d%12.6f%12.6f%12.6f%12.6f" % (8, 8.0, 0.0, 0.0, 0.0))
    count = 0
    if truncate_lines:
        # only the first lines are kept: stop generating values once they are reached
        n = (min(n[0], 2), min(n[1], 2), min(n[2], 60)) if n[0] > 1000 else n
    for i in range(max(n[0], 0)):
        for j in range(max(n[1], 0)):
            run = []
            for k in range(max(n[2], 0)):
                count += 1
                run.append(values(count) if values else "%13.5E" % (0.3 / (1 + 0.1 * (i + j + k))))
            for c in range(0, len(run), 6):
                lines.append("".join(run[c:c + 6]))
    if truncate_lines:
        lines = lines[:truncate_lines]
    return "\n".join(lines) + "\n"


RDG_INPUT = """OUTPUT_FILE_NAME run.log
SECTIONS *RDG
RDG,RHO*(signL2) AND ABRAMOV
INPUT *{fmt}
CALCULATING *RDG *rho
RHO_INPUT_CUBE {cube}
RHO_INPUT_GRD(XD only) {grd}
GRAD= *calc
LAPL= *calc
LAPL_INPUT_CUBE
RDG_CALCULATION *all_p
RDG_OUTPUT {rdg}
SPACE_CUTOFF *none
RHO_SIGN_CALCULATION
RHO_SIGN_OUTPUT rhosign
"""


def rdg_input(cube_name="dens.cube", fmt="CUB", grd="dens.grd", rdg="rdg"):
    return RDG_INPUT.format(cube=cube_name, fmt=fmt, grd=grd, rdg=rdg)


WFN_INPUT = """OUTPUT_FILE_NAME run.log
SECTIONS *WFN
PROPERTIES FROM WAVEFUNCTION
INPUT  mol.wfn
OUTPUT  mol
CALCULATING *rho
CENTER  0.0 0.0 0.0
N_POINTS_X 5
STEPSIZE_X 0.2
N_POINTS_Y 5
STEPSIZE_Y 0.2
N_POINTS_Z 5
STEPSIZE_Z 0.2
"""


def wfn(nprim_field=None, exponent="0.10000000D+01", energy_line=" TOTAL ENERGY =      -0.5000000000 THE VIRIAL(-V/T)=   2.00000000",
        cut=None):
    counts = "GAUSSIAN              1 MOL ORBITALS      1 PRIMITIVES        1 NUCLEI"
    if nprim_field:
        counts = nprim_field
    lines = [
        " hydrogen atom, one s primitive",
        counts,
        "  H    1    (CENTRE  1)   0.00000000  0.00000000  0.00000000  CHARGE =  1.0",
        "CENTRE ASSIGNMENTS    1",
        "TYPE ASSIGNMENTS      1",
        "EXPONENTS  " + exponent,
        "MO    1     MO 0.0        OCC NO =    1.0000000  ORB. ENERGY =   -0.500000",
        "  0.71270547D+00",
        "END DATA",
        energy_line,
    ]
    if cut:
        lines = lines[:cut]
    return "\n".join(lines) + "\n"


TOP_INPUT = """OUTPUT_FILE_NAME run.log
SECTIONS *TOP
TOPOND TO CUBE CONVERSION
N_OF_GRIDS 1
GRID_FILE_NAME grid.dat
CUBE_NAME(OUTPUT) out
CRYSTAL_OUTPUT_NAME crystal.out
N_OF_SYMM_OPERATIONS 1
SYMM x,y,z
"""

CRYSTAL = """ NUMBER OF IRREDUCIBLE ATOMS IN THE CONVENTIONAL CELL:    1

 INPUT COORDINATES

 ATOM AT. N.              COORDINATES
   1  11     0.000000000000E+00  0.000000000000E+00  0.000000000000E+00

 DIRECT LATTICE VECTORS CARTESIAN COMPONENTS (ANGSTROM)
          X                    Y                    Z
   0.564000000000E+01   0.000000000000E+00   0.000000000000E+00
   0.000000000000E+00   0.564000000000E+01   0.000000000000E+00
   0.000000000000E+00   0.000000000000E+00   0.564000000000E+01
"""


def topond(n=(3, 3, 3), values=None, cut=None):
    lines = ["%4d%4d%4d" % n,
             " 0.00000000E+00                  0.50000000E+00",
             " 0.00000000E+00                  0.50000000E+00",
             " 0.00000000E+00                  0.50000000E+00"]
    total = max(n[0], 0) * max(n[1], 0) * max(n[2], 0)
    if cut:
        total = min(total, 8 * cut)
    vals = [values(i) if values else "%16.8E" % (0.1 * (i % 7)) for i in range(total)]
    run = max(n[0], 1)
    for r in range(0, len(vals), run):
        for c in range(r, min(r + run, len(vals)), 8):
            lines.append("".join(vals[c:min(c + 8, r + run)]))
    if cut:
        lines = lines[:cut]
    return "\n".join(lines) + "\n"


CASES = {
    # the input file itself
    "input_missing": {"args": "missing.inp"},
    "input_binary_garbage": {"input.inp": bytes(range(256)) * 4},
    "input_no_output_name": {"input.inp": "SECTIONS *RDG\n"},
    "input_crlf_line_ends": {"input.inp": rdg_input().replace("\n", "\r\n"), "dens.cube": cube()},
    "input_tabs": {"input.inp": rdg_input().replace("RHO_INPUT_CUBE dens.cube", "RHO_INPUT_CUBE\tdens.cube"),
                   "dens.cube": cube()},
    "input_no_newline_at_end": {"input.inp": rdg_input().rstrip("\n"), "dens.cube": cube()},
    "input_non_ascii_names": {"input.inp": rdg_input(cube_name="dénsité.cube", rdg="rdg_é"),
                              "dénsité.cube": cube()},
    "input_truncated_rdg_block": {"input.inp": "\n".join(rdg_input().splitlines()[:7]) + "\n"},
    "run_log_unwritable_directory": {"input.inp": rdg_input().replace("run.log", "nodir/run.log")},
    "run_log_full_disk": {"input.inp": "OUTPUT_FILE_NAME /dev/full\nSECTIONS\n"},
    "output_over_input": {"input.inp": rdg_input(rdg="dens"), "dens.cube": cube()},
    "output_unwritable_directory": {"input.inp": rdg_input(rdg="nodir/rdg"), "dens.cube": cube()},
    # cube files
    "cube_missing": {"input.inp": rdg_input(cube_name="absent.cube")},
    "cube_truncated_values": {"input.inp": rdg_input(), "dens.cube": cube(truncate_lines=20)},
    "cube_truncated_header": {"input.inp": rdg_input(), "dens.cube": cube(truncate_lines=4)},
    "cube_binary_garbage": {"input.inp": rdg_input(), "dens.cube": bytes(range(256)) * 8},
    "cube_huge_counts": {"input.inp": rdg_input(), "dens.cube": cube(n=(100000, 100000, 100000), truncate_lines=8)},
    "cube_overflowing_counts": {"input.inp": rdg_input(),
                                "dens.cube": cube(n=(2147483647, 2147483647, 2147483647), truncate_lines=8)},
    "cube_negative_counts": {"input.inp": rdg_input(), "dens.cube": cube(n=(-6, 6, 6))},
    "cube_nan_values": {"input.inp": rdg_input(), "dens.cube": cube(values=lambda c: "          NaN")},
    "cube_inf_values": {"input.inp": rdg_input(), "dens.cube": cube(values=lambda c: "     Infinity" if c == 50 else "  1.00000E-01")},
    "cube_malformed_value": {"input.inp": rdg_input(), "dens.cube": cube(values=lambda c: "  1.0000xE-01" if c == 77 else "  1.00000E-01")},
    "cube_crlf_line_ends": {"input.inp": rdg_input(), "dens.cube": cube().replace("\n", "\r\n")},
    "cube_tabs_between_values": {"input.inp": rdg_input(), "dens.cube": cube(values=lambda c: "\t1.00000E-01")},
    "cube_no_newline_at_end": {"input.inp": rdg_input(), "dens.cube": cube().rstrip("\n")},
    # grd files
    "grd_truncated": {"input.inp": rdg_input(fmt="XD2"), "dens.cube": cube(),
                      "dens.grd": "\n".join(["header"] * 13) + "\n  0.1000000000E+01\n"},
    "grd_missing": {"input.inp": rdg_input(fmt="XD2"), "dens.cube": cube()},
    # wavefunction files
    "wfn_missing": {"input.inp": WFN_INPUT},
    "wfn_truncated": {"input.inp": WFN_INPUT, "mol.wfn": wfn(cut=5)},
    "wfn_binary_garbage": {"input.inp": WFN_INPUT, "mol.wfn": bytes(range(256)) * 4},
    "wfn_huge_counts": {"input.inp": WFN_INPUT,
                        "mol.wfn": wfn(nprim_field="GAUSSIAN      999999999 MOL ORBITALS 999999 PRIMITIVES  9999999 NUCLEI")},
    "wfn_negative_counts": {"input.inp": WFN_INPUT,
                            "mol.wfn": wfn(nprim_field="GAUSSIAN             -1 MOL ORBITALS     -1 PRIMITIVES       -1 NUCLEI")},
    "wfn_zero_exponent": {"input.inp": WFN_INPUT, "mol.wfn": wfn(exponent="0.00000000D+00")},
    "wfn_nan_exponent": {"input.inp": WFN_INPUT, "mol.wfn": wfn(exponent="NaN")},
    "wfn_no_energy_line": {"input.inp": WFN_INPUT, "mol.wfn": wfn(cut=9).rstrip("\n")},
    "wfn_crlf_line_ends": {"input.inp": WFN_INPUT, "mol.wfn": wfn().replace("\n", "\r\n")},
    "wfn_huge_grid": {"input.inp": WFN_INPUT.replace("N_POINTS_X 5", "N_POINTS_X 999999999")
                      .replace("N_POINTS_Y 5", "N_POINTS_Y 4").replace("N_POINTS_Z 5", "N_POINTS_Z 6"),
                      "mol.wfn": wfn()},
    "wfn_far_grid": {"input.inp": WFN_INPUT.replace("CENTER  0.0 0.0 0.0", "CENTER  500.0 0.0 0.0"),
                     "mol.wfn": wfn()},
    # TOPOND grids and CRYSTAL outputs
    "topond_truncated": {"input.inp": TOP_INPUT, "crystal.out": CRYSTAL, "grid.dat": topond(cut=5)},
    "topond_huge_counts": {"input.inp": TOP_INPUT, "crystal.out": CRYSTAL, "grid.dat": topond(n=(9999, 9999, 9999), cut=4)},
    "topond_nan_values": {"input.inp": TOP_INPUT, "crystal.out": CRYSTAL, "grid.dat": topond(values=lambda i: "             NaN")},
    "topond_missing": {"input.inp": TOP_INPUT, "crystal.out": CRYSTAL},
    "crystal_missing_atoms": {"input.inp": TOP_INPUT, "grid.dat": topond(),
                              "crystal.out": CRYSTAL.replace(" NUMBER OF IRREDUCIBLE ATOMS IN THE CONVENTIONAL CELL:    1\n", "")},
    "crystal_truncated": {"input.inp": TOP_INPUT, "grid.dat": topond(), "crystal.out": CRYSTAL[:300]},
    "crystal_centred_no_matrix": {"input.inp": TOP_INPUT, "grid.dat": topond(),
                                  "crystal.out": CRYSTAL.replace(" DIRECT LATTICE", " PRIMITIVE CELL - CENTRING CODE 5/0 VOLUME=    44.851536\n\n DIRECT LATTICE")},
    "crystal_bad_matrix": {"input.inp": TOP_INPUT, "grid.dat": topond(),
                           "crystal.out": CRYSTAL.replace(" DIRECT LATTICE", " TRANSFORMATION MATRIX PRIMITIVE-CRYSTALLOGRAPHIC CELL\n"
                                                          " -1.0000  1.0000  1.0000  1.0000 -1.0000  1.0000  1.0000  1.0000\n\n DIRECT LATTICE")},
    "symm_zero_denominator": {"input.inp": TOP_INPUT.replace("SYMM x,y,z", "SYMM x+1/0,y,z"),
                              "grid.dat": topond(), "crystal.out": CRYSTAL},
}


def main():
    for name, files in CASES.items():
        folder = os.path.join(HERE, name)
        os.makedirs(folder, exist_ok=True)
        for fname, content in files.items():
            path = os.path.join(folder, fname)
            data = content.encode("utf-8") if isinstance(content, str) else content
            with open(path, "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main()
