/// @file
/// The singular value decomposition and least-squares solver of the unit: CalcSVD,
/// SVDBackSubst and SVDLeastSquares. The curve fits, the pseudo-inverse and the nearest-
/// neighbour estimates rest on them.
///
/// The decomposition is the Golub-Reinsch method in double precision (Householder
/// bidiagonalisation, accumulation of the transformations, implicitly shifted QR sweeps); the
/// back substitution sums in extended precision. Each of the decomposition's four phases adds 1
/// to ProcStat per column, calls MathFeedBackProc and tests AbortMathProc.
#pragma once

#include <cstdint>

#include "zeq/base/export.h"
#include "zeq/math2/math2_error.h"
#include "zeq/matrix/matrix.h"
#include "zeq/vector/vector.h"

namespace zeq {

/// A = U diag(W) V' for the m x n matrix A (m rows, n columns). A is overwritten by U (m x n,
/// through SetVal), W receives the n singular values (not sorted, never negative) and V is
/// resized to n x n. A value whose 29 shifted QR sweeps do not converge keeps its current value,
/// without an error. With fewer rows than columns (m < n) the decomposition is that of A with
/// n - m zero rows appended, of which U holds the first m rows. False when aborted or when an
/// argument is null; A, W and V are then unchanged. A matrix without columns gives true and
/// changes nothing.
ZEQ_API bool CalcSVD(TMatrix* A, TVector* W, TMatrix* V);

/// The least-squares solution X = V diag(1 / w) U' B of a decomposition (U m x n, W n values, V
/// n x n), where singular values equal to 0 are left out (1 / 0 taken as 0). X is resized to n
/// elements; B's elements beyond its size read as 0. Nothing happens when an argument is null.
ZEQ_API void SVDBackSubst(const TMatrix* U, const TVector* W, const TMatrix* V, const TVector* B,
                          TVector* X);

/// Least squares for the design matrix A (n coefficients as columns, m observations as rows)
/// and the response B (m values): CalcSVD (A is overwritten by U), singular values below 1e-14
/// times the largest set to 0 (NearSingular then true; a value that is not a finite number is
/// treated alike), then SVDBackSubst into Coeffs (n elements). StdErrors (optional, n
/// elements) receives sqrt(sum over j of V(i, j)^2 / w(j)^2) over the non-zero w(j). False only
/// when the decomposition was aborted (or an argument other than StdErrors is null).
ZEQ_API bool SVDLeastSquares(TMatrix* A, const TVector* B, TVector* Coeffs, TVector* StdErrors,
                             bool& NearSingular);

}  // namespace zeq
