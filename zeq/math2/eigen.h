/// @file
/// Second-order multivariate analysis of a data matrix whose columns are variables and whose
/// rows are observations: covariance-type matrices, the cyclic Jacobi eigen-decomposition of a
/// symmetric matrix with its results kept per thread, principal components, the Moore-Penrose
/// pseudo-inverse and the Mahalanobis distance.
///
/// Long computations add to ProcStat, call MathFeedBackProc and poll AbortMathProc. The eigen
/// results (values and vectors of the last CalcEigVec on this thread) stay until the next
/// CalcEigVec or RemoveEigenMatrix on the same thread.
#pragma once

#include <cstdint>

#include "zeq/base/export.h"
#include "zeq/math2/math2_error.h"
#include "zeq/matrix/matrix.h"
#include "zeq/vector/vector.h"

namespace zeq {

/// Fills the p x p block OutMat[1..p, 1..p] with one value per pair of the variables (columns)
/// LoCol..HiCol over the observations (rows) LoRow..HiRow, divided by m - 1 (m observations):
/// Mode 0 the sum of cross products, 1 the covariance, 2 the correlation (a zero variance counts
/// as 1e-38; the diagonal is exactly 1), 3 the squared correlation, 4 the sum of squared
/// differences; other modes 0. The ranges follow the library's convention ((0, 0) is the whole
/// dimension, other bounds are clamped into the matrix and ordered). Clears AbortMathProc; with a
/// mode above 0, one progress step per observation for the means, then m steps per pair. False
/// (nothing written) when InMat or OutMat is null, OutMat has fewer than p columns or rows, or
/// there are fewer than two observations; false when aborted (the pairs done so far are written).
ZEQ_API bool CalcCovar(const TMatrix* InMat, TMatrix* OutMat, int32_t LoCol, int32_t HiCol,
                       int32_t LoRow, int32_t HiRow, int32_t Mode);

/// Eigenvalues and eigenvectors of the symmetric n x n matrix Mat (n = NrOfColumns) by cyclic
/// Jacobi rotations; only the diagonal and the elements Mat[i, j] with i < j (column i, row j)
/// are read, and those off-diagonal elements are driven to zero in place. Double precision
/// throughout; the thresholds, the 100-sweep limit and the order of the rotations are fixed, so
/// the results do not depend on the SIMD level. Progress: one step per sweep and per rotated
/// pair. False for n > 10000 (the eigen results untouched), when aborted or when 100 sweeps did
/// not converge (the current estimates are kept). EZEQMath2Error "CalcEigVec: not enough memory"
/// when the work arrays cannot be allocated.
ZEQ_API bool CalcEigVec(TMatrix* Mat);

/// Eigenvalue VecIx (ElemIx = 0) or component ElemIx of eigenvector VecIx; 0 outside VecIx 1..n,
/// ElemIx 0..n, or after RemoveEigenMatrix.
ZEQ_API double GetEigenResult(int32_t VecIx, int32_t ElemIx);
/// n of the last CalcEigVec on this thread (0 before the first); RemoveEigenMatrix keeps it.
ZEQ_API int32_t GetEigenSize();
/// Releases the eigen results of this thread.
ZEQ_API void RemoveEigenMatrix();

/// Principal components: CalcCovar into a scratch matrix, CalcEigVec on it, eigenvalues made
/// relative to the sum of their magnitudes when RelEigVals, then sorted in descending order
/// with their eigenvectors (values above 0 only; the others stay where they are). Read the
/// results with GetEigenResult. False when either step fails.
ZEQ_API bool CalcPrincComp(const TMatrix* InMat, int32_t LoCol, int32_t HiCol, int32_t LoRow,
                           int32_t HiRow, int32_t Mode, bool RelEigVals);
/// The same with relative eigenvalues.
ZEQ_API bool CalcPrincComp(const TMatrix* InMat, int32_t LoCol, int32_t HiCol, int32_t LoRow,
                           int32_t HiRow, int32_t Mode);

/// The Moore-Penrose pseudo-inverse of the m x n InMat into OutMat (n rows, m columns) through
/// CalcSVD: singular values not above Tolerance are dropped (Tolerance 0: max(m, n) * wmax *
/// 1.2e-16). False when the decomposition was aborted or an argument is null.
ZEQ_API bool PseudoInverse(const TMatrix* InMat, TMatrix* OutMat, double Tolerance);

/// sqrt((a - b)' S (a - b)) for a = Vec1, b = Vec2, S = InvCovMat, summed row by row. Raises
/// EZEQVectorError, checked in this order: "MahalanobisDistance: dimensions of vectors do not
/// match", "MahalanobisDistance: inverse covariance matrix is not quadratric",
/// "MahalanobisDistance: dimension of vectors and inverse covariance matrix do not match", and
/// "MahalanobisDistance: the inverse covariance matrix must be symmetric and positive definite"
/// for a negative square; a null argument raises "MahalanobisDistance: Vec1, Vec2 and/or
/// InvCovMat is undefined".
ZEQ_API double MahalanobisDistance(const TVector* Vec1, const TVector* Vec2,
                                   const TMatrix* InvCovMat);

}  // namespace zeq
