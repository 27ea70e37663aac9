#pragma once
// Eigenvalues and eigenvectors of a real symmetric matrix.
#include <array>

#include "analysis/hessian.hpp"

namespace qv {

// Eigen-decomposition of the symmetric n x n matrix `a` (element (r, c) at a[r * ld + c];
// both triangles must be filled). On return d[0..n-1] holds the eigenvalues in ascending order
// and, when `v` is given, column m of v (v[r * ld + m]) the unit eigenvector of d[m]; `a` is
// destroyed. `work` needs n elements. n = 0 returns at once.
//
// Householder reduction to tridiagonal form, QR iteration with Wilkinson shifts deflating from
// the bottom (an off-diagonal element is zero once its square is at most 1.0E-18), a stable
// ascending sort and the back-transformation of the vectors. Each deflation is given at most
// kEigenIterationCap iterations, so huge or non-finite entries cannot make it spin forever;
// ordinary matrices converge in a handful.
void symmetric_eigen(int n, int ld, double* a, double* v, double* d, double* work);

inline constexpr int kEigenIterationCap = 100;

// Ascending eigenvalues of a 3 x 3 symmetric matrix (the vectors are not formed).
std::array<double, 3> eigenvalues3(const Matrix3& m);

}  // namespace qv
