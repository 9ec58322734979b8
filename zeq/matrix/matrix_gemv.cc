// The matrix-vector products of matrix_gemv.h, compiled for every SIMD level.
//
// A x: each y(i) is its own sum, so the lanes run over rows; eight columns are added per pass
// over y, in k order, so that y is loaded and stored once per eight terms.
//
// A^T x: each y(j) is a sum down column j, which one vector cannot split without reordering
// it. The lanes therefore run over eight columns: eight loads of eight consecutive k from
// eight columns are transposed in registers into eight vectors, one per k, each holding that
// k's value of the eight columns, and added in k order.
#include "zeq/matrix/internal/matrix_gemv.h"

#include <algorithm>

#include "zeq/base/internal/simd.h"
#include "zeq/base/internal/simd_lanes.h"

namespace zeq::detail {

namespace {

// Y[i] := Y[i] + A(i, c) X[c] for c = 0 .. Count - 1 in turn (Count at most eight), every
// row i of M.
ZEQ_SIMD_BODY void AddColumnsBody(double* Y, const double* A, size_t Ld, const double* X,
                                  size_t Count, size_t M) {
  TLanes Xc[LaneCount];  // in registers: the stores to Y could otherwise alias X
  for (size_t c = 0; c < Count; ++c) Xc[c] = TLanes{} + X[c];
  size_t i = 0;
  for (; i + LaneCount <= M; i += LaneCount) {
    TLanes S = ZEQ_LANES(Y + i);
    for (size_t c = 0; c < Count; ++c) S = S + ZEQ_LANES(A + c * Ld + i) * Xc[c];
    ZEQ_LANES_OUT(Y + i) = S;
  }
  for (; i < M; ++i) {
    double S = Y[i];
    for (size_t c = 0; c < Count; ++c) S = S + A[c * Ld + i] * X[c];
    Y[i] = S;
  }
}
ZEQ_SIMD_FUNCTION(AddColumns,
                  (double* Y, const double* A, size_t Ld, const double* X, size_t Count, size_t M),
                  (Y, A, Ld, X, Count, M))

// The same for eight columns: a count known to the compiler keeps the loop unrolled.
ZEQ_SIMD_BODY void AddEightColumnsBody(double* Y, const double* A, size_t Ld, const double* X,
                                       size_t M) {
  AddColumnsBody(Y, A, Ld, X, LaneCount, M);
}
ZEQ_SIMD_FUNCTION(AddEightColumns,
                  (double* Y, const double* A, size_t Ld, const double* X, size_t M),
                  (Y, A, Ld, X, M))

// R[t] := lane t of every R[c] (an 8 x 8 transpose): R[t][c] becomes the old R[c][t].
ZEQ_SIMD_BODY void Transpose8(TLanes (&R)[LaneCount]) {
  TLanes T[LaneCount], U[LaneCount];
  for (size_t p = 0; p < LaneCount; p += 2) {  // pairs of rows, element by element
    T[p] = __builtin_shufflevector(R[p], R[p + 1], 0, 8, 2, 10, 4, 12, 6, 14);
    T[p + 1] = __builtin_shufflevector(R[p], R[p + 1], 1, 9, 3, 11, 5, 13, 7, 15);
  }
  for (size_t q = 0; q < LaneCount; q += 4)  // quadruples of rows, pairs of elements
    for (size_t h = 0; h < 2; ++h) {
      U[q + h] = __builtin_shufflevector(T[q + h], T[q + h + 2], 0, 1, 8, 9, 4, 5, 12, 13);
      U[q + h + 2] = __builtin_shufflevector(T[q + h], T[q + h + 2], 2, 3, 10, 11, 6, 7, 14, 15);
    }
  for (size_t e = 0; e < 4; ++e) {  // all eight rows, halves
    R[e] = __builtin_shufflevector(U[e], U[e + 4], 0, 1, 2, 3, 8, 9, 10, 11);
    R[e + 4] = __builtin_shufflevector(U[e], U[e + 4], 4, 5, 6, 7, 12, 13, 14, 15);
  }
}

// Y[c] := sum over k rising of A(k, c) X[k], for the eight columns c = 0 .. 7.
ZEQ_SIMD_BODY void EightColumnSumsBody(const double* A, size_t Ld, const double* X, size_t M,
                                       double* Y) {
  TLanes S = {};
  size_t k = 0;
  for (; k + LaneCount <= M; k += LaneCount) {
    TLanes R[LaneCount];
    for (size_t c = 0; c < LaneCount; ++c) R[c] = ZEQ_LANES(A + c * Ld + k);
    Transpose8(R);
    for (size_t t = 0; t < LaneCount; ++t) S = S + R[t] * X[k + t];
  }
  for (; k < M; ++k) {
    TLanes R;
    for (size_t c = 0; c < LaneCount; ++c) R[c] = A[c * Ld + k];
    S = S + R * X[k];
  }
  ZEQ_LANES_OUT(Y) = S;
}
ZEQ_SIMD_FUNCTION(EightColumnSums,
                  (const double* A, size_t Ld, const double* X, size_t M, double* Y),
                  (A, Ld, X, M, Y))

}  // namespace

void ExactGemv(size_t M, size_t N, const double* A, size_t Ld, const double* X, double* Y) {
  std::fill_n(Y, M, 0.0);
  size_t k = 0;
  for (; k + LaneCount <= N; k += LaneCount) AddEightColumns(Y, A + k * Ld, Ld, X + k, M);
  if (k < N) AddColumns(Y, A + k * Ld, Ld, X + k, N - k, M);
}

void ExactGemvTransposed(size_t M, size_t N, const double* A, size_t Ld, const double* X,
                         double* Y) {
  if (N < LaneCount) {
    for (size_t j = 0; j < N; ++j) {
      double S = 0.0;
      for (size_t k = 0; k < M; ++k) S = S + A[k + j * Ld] * X[k];
      Y[j] = S;
    }
    return;
  }
  // The last block ends at the last column, overlapping the one before: its columns are
  // summed again, in the same order, to the same bits.
  for (size_t j = 0; j < N; j += LaneCount) {
    const size_t J = std::min(j, N - LaneCount);
    EightColumnSums(A + J * Ld, Ld, X, M, Y + J);
  }
}

}  // namespace zeq::detail
