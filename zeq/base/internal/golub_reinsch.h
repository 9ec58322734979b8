// The Golub-Reinsch singular value decomposition A = U diag(w) V', shared by the spectral norm
// of the matrices and the least-squares solver of the curve fits.
//
// Householder reduction to bidiagonal form, accumulation of the right-hand and then the
// left-hand transformations, and diagonalisation by implicitly shifted QR sweeps. A value x of
// the bidiagonal counts as negligible when |x| + anorm = anorm; each singular value gets at most
// 30 convergence tests (29 shifted sweeps). Each of the four phases starts every round of its
// outer loop with one progress step and an abort test.
//
// The arithmetic is double precision in a fixed order; the fast loops compute many independent
// sums at once (one per column) and never reorder one sum, so the results do not depend on
// the SIMD level. Without accumulation the transformations are skipped, which does not change
// the singular values: U and V never feed back into them.
#pragma once

#include <cstddef>
#include <vector>

namespace zeq::detail {

enum class TSvdStatus { Done, NotConverged, Aborted };

class TGolubReinsch {
 public:
  // A is M x N, row-major (A[r * N + c]); Accumulate asks for U (M x N) and V (N x N).
  TGolubReinsch(size_t M, size_t N, std::vector<double> A, bool Accumulate);

  // NotConverged when a singular value used up its iterations (the others are computed all the
  // same); Aborted at the first abort test that finds AbortMathProc set.
  TSvdStatus Run();

  // The singular values, unsorted, all >= 0 after Done or NotConverged.
  const std::vector<double>& W() const { return FW; }
  // Column j of U (M values) and of V (N values), contiguous; only with Accumulate.
  const double* UColumn(size_t j) const { return FUt.data() + j * FM; }
  const double* VColumn(size_t j) const { return FVt.data() + j * FN; }

 private:
  double& a(size_t r, size_t c) { return FA[r * FN + c]; }
  double& v(size_t r, size_t c) { return FV[r * FN + c]; }
  bool Negligible(double X) const;

  bool Bidiagonalise();
  bool AccumulateRight();
  bool AccumulateLeft();
  void Transpose();
  TSvdStatus Diagonalise();
  void CancelE(size_t L, size_t K);
  void ShiftedSweep(size_t L, size_t K);

  size_t FM, FN;
  bool FAccumulate;
  std::vector<double> FA, FW, FE;
  std::vector<double> FV;        // V row-major while the right-hand transformations accumulate
  std::vector<double> FUt, FVt;  // U' and V' row-major during the sweeps: rotations of columns
                                 // of U and V become operations on contiguous rows
  std::vector<double> FScratch;  // one value per column
  double FNorm = 0.0;
};

}  // namespace zeq::detail
