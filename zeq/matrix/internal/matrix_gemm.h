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

// C (M x N, column-major, leading dimension Ldc) := op(A) (M x K) * op(B) (K x N). With
// Continue, C holds partial sums that every element's sum continues, k rising, instead of
// starting at 0.0: the bits are those of one longer sum whose first terms made C.
void ExactGemm(size_t M, size_t N, size_t K, const TOperand& A, const TOperand& B, double* C,
               size_t Ldc, bool Continue = false);

// Makes sure the calling thread holds the packing space of any product up to M x N x K run on
// this thread, so that such products allocate nothing (raises std::bad_alloc otherwise). For
// work in place that must not fail half way; products split over the pool's threads pack in
// those threads' own space.
void ReserveGemmSpace(size_t M, size_t N, size_t K);

}  // namespace zeq::detail
