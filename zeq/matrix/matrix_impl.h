// Private access of the matrix unit's files to TMatrix storage. Not included by users.
#pragma once

#include <vector>

#include "zeq/matrix/matrix.h"
#include "zeq/matrix/matrix_gemm.h"
#include "zeq/matrix/matrix_twin.h"

namespace zeq::detail {

struct TMatrixAccess {
  static double* Data(TMatrix& M) { return M.Mat.data(); }
  static const double* Data(const TMatrix& M) { return M.Mat.data(); }
  static size_t Ld(const TMatrix& M) { return M.FLd; }
  static double& At(TMatrix& M, int32_t Nc, int32_t Nr) { return M.At(Nc, Nr); }
  static double At(const TMatrix& M, int32_t Nc, int32_t Nr) { return M.At(Nc, Nr); }
  static void Adopt(TMatrix& M, std::vector<double>&& Storage, int32_t Nc, int32_t Nr) {
    M.AdoptStorage(std::move(Storage), Nc, Nr);
  }
  [[noreturn]] static void OutOfMemory(const TMatrix& M) { M.OutOfMemory(); }

  static TOperand Operand(const TMatrix& M, bool Transposed) {
    return {M.Mat.data(), M.FLd, Transposed};
  }

  // A zero-filled column-major buffer of Rows x Cols (at least one slot each way).
  static std::vector<double> NewStorage(const TMatrix& Owner, int32_t Cols, int32_t Rows);
};

// The largest singular value of M (Golub-Reinsch); raises "near singular covariance matrix"
// when the iteration fails or is aborted.
double SpectralNorm(const TMatrix& M);

}  // namespace zeq::detail
