// Matrix products with a fixed summation order, fast.
//
// Every result element is sum_{k rising} a(i,k) * b(k,j), started at 0.0, each product
// rounded and then added (no fused multiply-add), each addition rounded. The kernels compute
// many independent elements at once (register tiles, SIMD across rows, cache blocking and
// packing) but never split or reorder one element's sum: a k-block continues from the partial
// sum stored in C, which is the same sequence of roundings. Private to the matrix unit.
#pragma once

#include <cstddef>

namespace zeq::detail {

// op(X) of a column-major matrix X (element (r, c) at Data[r + c * Ld]): X itself, or its
// transpose when Transposed.
struct TOperand {
  const double* Data;
  size_t Ld;
  bool Transposed;

  double operator()(size_t i, size_t k) const {
    return Transposed ? Data[k + i * Ld] : Data[i + k * Ld];
  }
};

// C (M x N, column-major, leading dimension Ldc) := op(A) (M x K) * op(B) (K x N).
void ExactGemm(size_t M, size_t N, size_t K, const TOperand& A, const TOperand& B, double* C,
               size_t Ldc);

}  // namespace zeq::detail
