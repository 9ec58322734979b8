// Matrix-vector products with a fixed summation order, fast: every result element is
// sum_{k rising} a(i,k) * x(k) started at 0.0, each product rounded and then added, as in
// matrix_gemm.h. Private to the matrix unit.
#pragma once

#include <cstddef>

namespace zeq::detail {

// Y (M values) := A x for the column-major M x N matrix A (leading dimension Ld) and the N
// values X.
void ExactGemv(size_t M, size_t N, const double* A, size_t Ld, const double* X, double* Y);

// Y (N values) := A^T x for the same A and the M values X: Y(j) is column j's sum.
void ExactGemvTransposed(size_t M, size_t N, const double* A, size_t Ld, const double* X,
                         double* Y);

}  // namespace zeq::detail
