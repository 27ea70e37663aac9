#!/usr/bin/env python3
"""Writes src/analysis/power_tables.hpp: the tables of the vectorised power function, with every
logarithm and power of two worked out in 60-digit decimal arithmetic and rounded once to double.
Run from the repository root: python3 tools/make_power_tables.py"""
import struct
from decimal import Decimal, getcontext
from fractions import Fraction

getcontext().prec = 60
LN2 = Decimal(2).ln()
LOG_BITS = 7            # 128 subintervals of [OFF, 2 OFF) for the logarithm
EXP_BITS = 7            # 2^(j/128), j < 128, for the exponential
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


def main():
    rows = []
    for i in range(1 << LOG_BITS):
        lo = as_double(OFF + (i << (52 - LOG_BITS)))
        hi = as_double(OFF + ((i + 1) << (52 - LOG_BITS)))
        centre = (Fraction(lo) + Fraction(hi)) / 2
        invc = float(1 / centre)
        if lo <= 1.0 < hi:
            invc = 1.0  # log c = 0: the sums that follow stay exact near x = 1
        logc_hi, logc_lo = split(-Decimal(invc).ln())
        rows.append((invc, logc_hi, logc_lo))
    exps = []
    for j in range(1 << EXP_BITS):
        t_hi, t_lo = split((Decimal(j) / (1 << EXP_BITS) * LN2).exp())
        exps.append((t_hi, t_lo))

    ln2_hi = truncated(LN2, 42)  # k * ln2_hi is exact for |k| < 2^11
    ln2_lo = float(Fraction(LN2) - Fraction(ln2_hi))
    step = LN2 / (1 << EXP_BITS)
    step_hi = truncated(step, 36)  # n * step_hi is exact for |n| < 2^17
    step_lo = float(Fraction(step) - Fraction(step_hi))
    inv_step = float(Fraction(1 << EXP_BITS) / Fraction(LN2))

    out = []
    out.append("#pragma once")
    out.append("// Made by tools/make_power_tables.py; do not edit. Logarithms and powers of two in")
    out.append("// 60-digit arithmetic, each rounded once to double (hi) with the rest rounded again (lo).")
    out.append("#include <cstdint>")
    out.append("")
    out.append("namespace qv::power_tables {")
    out.append("")
    out.append(f"inline constexpr int kLogBits = {LOG_BITS};")
    out.append(f"inline constexpr int kExpBits = {EXP_BITS};")
    out.append(f"inline constexpr std::uint64_t kLogOffset = 0x{OFF:016x};  // 1.0 lies a third into its subinterval")
    out.append(f"inline constexpr double kLn2Hi = {hexf(ln2_hi)};  // 42 bits")
    out.append(f"inline constexpr double kLn2Lo = {hexf(ln2_lo)};")
    out.append(f"inline constexpr double kStepHi = {hexf(step_hi)};  // ln2/128, 36 bits")
    out.append(f"inline constexpr double kStepLo = {hexf(step_lo)};")
    out.append(f"inline constexpr double kInvStep = {hexf(inv_step)};  // 128/ln2")
    out.append("")
    out.append("// For z in subinterval i: 1/c rounded, and -log(that double) as hi + lo.")
    for name, col in (("kInvC", 0), ("kLogCHi", 1), ("kLogCLo", 2)):
        out.append(f"alignas(64) inline constexpr double {name}[{1 << LOG_BITS}] = {{")
        for r in rows:
            out.append(f"    {hexf(r[col])},")
        out.append("};")
    out.append("// 2^(j/128) as hi + lo.")
    for name, col in (("kExp2Hi", 0), ("kExp2Lo", 1)):
        out.append(f"alignas(64) inline constexpr double {name}[{1 << EXP_BITS}] = {{")
        for r in exps:
            out.append(f"    {hexf(r[col])},")
        out.append("};")
    out.append("")
    out.append("}  // namespace qv::power_tables")
    with open("src/analysis/power_tables.hpp", "w") as f:
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
