// The spectral norm: the largest singular value by the library's Golub-Reinsch decomposition
// (zeq/base/internal/golub_reinsch.h), without accumulating U and V. Their phases still report
// progress and test the abort flag, and the singular values come out bit for bit as with the
// accumulation, which never feeds back into them.
#include <vector>

#include "zeq/base/internal/golub_reinsch.h"
#include "zeq/matrix/internal/matrix_twin.h"
#include "zeq/matrix/internal/spectral_norm.h"

namespace zeq::detail {

double SpectralNorm(const TMatrix& M) {
  const auto Rows = static_cast<size_t>(M.NrOfRows()), Cols = static_cast<size_t>(M.NrOfColumns());
  std::vector<double> A(Rows * Cols);  // row-major copy
  for (size_t r = 0; r < Rows; ++r)
    for (size_t c = 0; c < Cols; ++c)
      A[r * Cols + c] =
          TMatrixTwin::At(M, static_cast<int32_t>(c + 1), static_cast<int32_t>(r + 1));
  TGolubReinsch SV(Rows, Cols, std::move(A), false);
  if (SV.Run() != TSvdStatus::Done) throw EZEQMatrixError("near singular covariance matrix");
  double Max = 0.0;
  for (double W : SV.W())
    if (W > Max) Max = W;
  return Max;
}

}  // namespace zeq::detail
