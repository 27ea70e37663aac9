#!/usr/bin/env python3
"""Writes src/analysis/power_tables.hpp: the tables of the vectorised power function, with every
logarithm and power of two worked out in 60-digit decimal arithmetic and rounded once to double.
Run from the repository root: python3 tools/make_power_tables.py"""
import struct
from decimal import Decimal, getcontext
from fractions import Fraction

getcontext().prec = 60
LN2 = Decimal(2).ln()
OFF = 0x3FE6955500000000  # about 0.7058: z runs over [OFF, 2 OFF), around 1


def as_double(bits):
    return struct.unpack("<d", struct.pack("<Q", bits))[0]


def bits_of(x):
    return struct.unpack("<Q", struct.pack("<d", x))[0]


def split(value):
    """value (Decimal) as hi + lo: hi the nearest double, lo the nearest double to the rest."""
    exact = Fraction(value)
    hi = float(exact)
    lo = float(exact - Fraction(hi))
    return hi, lo


def truncated(value, bits):
    """value (Decimal, positive) cut to its leading `bits` significant bits."""
    exact = Fraction(value)
    e = 0
    while exact >= 2:
        exact /= 2
        e += 1
    while exact < 1:
        exact *= 2
        e -= 1
    mant = int(exact * 2 ** (bits - 1))
    return float(Fraction(mant, 2 ** (bits - 1)) * Fraction(2) ** e)


def hexf(x):
    return "0.0" if x == 0 else float.hex(x)


def table_set(name, log_bits, exp_bits, note):
    """One set of tables: 2^log_bits subintervals for the logarithm, 2^exp_bits powers of two."""
    rows = []
    for i in range(1 << log_bits):
        lo = as_double(OFF + (i << (52 - log_bits)))
        hi = as_double(OFF + ((i + 1) << (52 - log_bits)))
        centre = (Fraction(lo) + Fraction(hi)) / 2
        invc = float(1 / centre)
        if lo <= 1.0 < hi:
            invc = 1.0  # log c = 0: the sums that follow stay exact near x = 1
        logc_hi, logc_lo = split(-Decimal(invc).ln())
        rows.append((invc, logc_hi, logc_lo))
    exps = []
    for j in range(1 << exp_bits):
        exps.append(split((Decimal(j) / (1 << exp_bits) * LN2).exp()))

    # n * step_hi must be exact for |n| up to 700 * 2^exp_bits / ln2.
    n_bits = (int(700 * (1 << exp_bits) / 0.6931) + 1).bit_length()
    step = LN2 / (1 << exp_bits)
    step_hi = truncated(step, 53 - n_bits)
    step_lo = float(Fraction(step) - Fraction(step_hi))
    inv_step = float(Fraction(1 << exp_bits) / Fraction(LN2))

    out = [f"// {note}", f"namespace {name} {{", ""]
    out.append(f"inline constexpr int kLogBits = {log_bits};")
    out.append(f"inline constexpr int kExpBits = {exp_bits};")
    out.append(f"inline constexpr double kStepHi = {hexf(step_hi)};  // ln2/{1 << exp_bits}, {53 - n_bits} bits")
    out.append(f"inline constexpr double kStepLo = {hexf(step_lo)};")
    out.append(f"inline constexpr double kInvStep = {hexf(inv_step)};  // {1 << exp_bits}/ln2")
    out.append("")
    out.append("// For z in subinterval i: 1/c rounded, and -log(that double) as hi + lo.")
    for tname, col in (("kInvC", 0), ("kLogCHi", 1), ("kLogCLo", 2)):
        out.append(f"alignas(64) inline constexpr double {tname}[{1 << log_bits}] = {{")
        out.extend(f"    {hexf(r[col])}," for r in rows)
        out.append("};")
    out.append(f"// 2^(j/{1 << exp_bits}) as hi + lo.")
    for tname, col in (("kExp2Hi", 0), ("kExp2Lo", 1)):
        out.append(f"alignas(64) inline constexpr double {tname}[{1 << exp_bits}] = {{")
        out.extend(f"    {hexf(r[col])}," for r in exps)
        out.append("};")
    out.append("")
    out.append(f"}}  // namespace {name}")
    out.append("")
    return out


def main():
    ln2_hi = truncated(LN2, 42)  # k * ln2_hi is exact for |k| < 2^11
    ln2_lo = float(Fraction(LN2) - Fraction(ln2_hi))
    out = []
    out.append("#pragma once")
    out.append("// Made by tools/make_power_tables.py; do not edit. Logarithms and powers of two in")
    out.append("// 60-digit arithmetic, each rounded once to double (hi) with the rest rounded again (lo).")
    out.append("#include <cstdint>")
    out.append("")
    out.append("namespace qv::power_tables {")
    out.append("")
    out.append(f"inline constexpr std::uint64_t kLogOffset = 0x{OFF:016x};  // z runs over [OFF, 2 OFF)")
    out.append(f"inline constexpr double kLn2Hi = {hexf(ln2_hi)};  // 42 bits")
    out.append(f"inline constexpr double kLn2Lo = {hexf(ln2_lo)};")
    out.append("")
    out += table_set("t128", 7, 7, "Tables looked up by gathers.")
    out += table_set("t32", 5, 5, "Tables small enough to be held in vector registers (4 x 8 values).")
    out.append("}  // namespace qv::power_tables")
    with open("src/analysis/power_tables.hpp", "w") as f:
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
