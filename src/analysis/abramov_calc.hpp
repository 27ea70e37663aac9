#pragma once
// Abramov's approximate kinetic (G), potential (V) and total (H) energy densities from the
// density, its gradient magnitude and its laplacian.
#include "gridio/grid.hpp"

namespace qv {

inline constexpr double kThomasFermiFactor = 2.8712344140902517;  // (3/10)(3 pi^2)^(2/3)
inline constexpr double kAbramovExponent = 1.6666666269302368;    // 5/3 in single precision
inline constexpr double kGradientFactor = 0.013888888992369175;   // 1/72 in single precision
inline constexpr double kLaplacianFactorG = 0.1666666716337204;   // 1/6 in single precision
inline constexpr double kAbramovMaskThreshold = 1.0E9;

struct AbramovGrids {
  Grid habr, gabr, vabr;  // allocated in this order
};

// At every point, rim included, whose mask value is below 1.0E9:
//   t = 2.8712344140902517 rho^1.6666666269302368 + (g^2/rho) 0.013888888992369175,
//   G = 0.1666666716337204 L + t,  V = 0.25 L - (G + G),  H = G + V.
// 0.0 in all three where the mask is not below 1.0E9, where rho <= 0 (the formulas are not
// defined there) and where a value would not be finite. All grids share the density's shape.
AbramovGrids abramov_calc(const Grid& rho, const Grid& grad, const Grid& lapl, const Grid& mask);

}  // namespace qv
