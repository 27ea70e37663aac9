#pragma once
// The Cartesian Gaussian primitive types of AIMPAC wavefunction files (.wfn and .wfx):
// type t is X^l Y^m Z^n exp(-alpha R^2) with (l, m, n) = kTypePowers[t - 1].
//
// The order inside a shell is a fact of the file format, not a rule: s, p and d go x before y
// before z; f ends with xyz; the g types start with the three pure powers and group the rest by
// pattern (XXXY, XXXZ, XYYY, ...); the h types run from ZZZZZ to XXXXX, the exponent of X rising
// slowest. The virtual orbitals of a helium atom in a basis with g and h functions are pure solid
// harmonics in exactly this order (their angular polynomials have a zero laplacian).
#include <array>

namespace qv {

inline constexpr int kMaxPrimitiveType = 56;

inline constexpr std::array<std::array<int, 3>, kMaxPrimitiveType> kTypePowers{{
    {0, 0, 0},                                                         // 1 s
    {1, 0, 0}, {0, 1, 0}, {0, 0, 1},                                   // 2-4 p
    {2, 0, 0}, {0, 2, 0}, {0, 0, 2}, {1, 1, 0}, {1, 0, 1}, {0, 1, 1},  // 5-10 d
    {3, 0, 0}, {0, 3, 0}, {0, 0, 3}, {2, 1, 0}, {2, 0, 1},             // 11-20 f
    {0, 2, 1}, {1, 2, 0}, {1, 0, 2}, {0, 1, 2}, {1, 1, 1},
    // 21-35 g: XXXX YYYY ZZZZ XXXY XXXZ XYYY YYYZ XZZZ YZZZ XXYY XXZZ YYZZ XXYZ XYYZ XYZZ
    {4, 0, 0}, {0, 4, 0}, {0, 0, 4}, {3, 1, 0}, {3, 0, 1},
    {1, 3, 0}, {0, 3, 1}, {1, 0, 3}, {0, 1, 3}, {2, 2, 0},
    {2, 0, 2}, {0, 2, 2}, {2, 1, 1}, {1, 2, 1}, {1, 1, 2},
    // 36-56 h: ZZZZZ YZZZZ YYZZZ YYYZZ YYYYZ YYYYY XZZZZ XYZZZ XYYZZ XYYYZ XYYYY XXZZZ XXYZZ
    //          XXYYZ XXYYY XXXZZ XXXYZ XXXYY XXXXZ XXXXY XXXXX
    {0, 0, 5}, {0, 1, 4}, {0, 2, 3}, {0, 3, 2}, {0, 4, 1}, {0, 5, 0},
    {1, 0, 4}, {1, 1, 3}, {1, 2, 2}, {1, 3, 1}, {1, 4, 0},
    {2, 0, 3}, {2, 1, 2}, {2, 2, 1}, {2, 3, 0},
    {3, 0, 2}, {3, 1, 1}, {3, 2, 0},
    {4, 0, 1}, {4, 1, 0},
    {5, 0, 0},
}};

}  // namespace qv
