// Matrix and matrix-vector products and the element-wise product.
//
// Each result element is computed by the exact-order kernels of matrix_gemm.cc. The result
// is delivered as the documented events require: when the result matrix has an OnChange
// handler its elements are set one by one, row by row, after the computation; otherwise the
// product is written straight into its storage.
#include <algorithm>
#include <new>

#include "zeq/matrix/internal/matrix_gemv.h"
#include "zeq/matrix/internal/matrix_twin.h"
#include "zeq/vector/internal/vector_impl.h"

namespace zeq {

using detail::TMatrixTwin;
using detail::TOperand;

namespace {

size_t Size(int32_t N) { return static_cast<size_t>(N); }

// VecRes := A b, or A^T b when Transposed; b is read before VecRes changes, so that they may
// be one vector.
void MultiplyVector(const TMatrix& A, bool Transposed, const TVector& VecB, TVector& VecRes) {
  const size_t M = Size(A.NrOfRows()), N = Size(A.NrOfColumns());
  std::vector<double> Y(Transposed ? N : M);
  const double* B = detail::TVectorImpl::Data(VecB);
  const double* Data = TMatrixTwin::Data(A);
  if (Transposed)
    detail::ExactGemvTransposed(M, N, Data, TMatrixTwin::Ld(A), B, Y.data());
  else
    detail::ExactGemv(M, N, Data, TMatrixTwin::Ld(A), B, Y.data());
  const auto Count = static_cast<int32_t>(Y.size());
  VecRes.SetVecSize(Count);
  detail::TVectorImpl::SetVals(VecRes, Y.data(), Count);
}

}  // namespace

bool TMatrix::Multiply(const TMatrix* MatB, TMatrix* MatRes) {
  if (MatB == nullptr || MatRes == nullptr || FNCol != MatB->FNRow) return false;
  const TOperand A = TMatrixTwin::Operand(*this, false), B = TMatrixTwin::Operand(*MatB, false);
  detail::TMatrixTwin::DeliverResult(
      *this, MatRes, MatB, MatB->FNCol, FNRow, [&](double* C, size_t Ldc) {
        detail::ExactGemm(Size(FNRow), Size(MatB->FNCol), Size(FNCol), A, B, C, Ldc);
      });
  Changed();
  return true;
}

bool TMatrix::MultiplyTransposed(const TMatrix* MatB, TMatrix* MatRes) {
  if (MatB == nullptr || MatRes == nullptr || FNCol != MatB->FNCol) return false;
  const TOperand A = TMatrixTwin::Operand(*this, false), B = TMatrixTwin::Operand(*MatB, true);
  detail::TMatrixTwin::DeliverResult(
      *this, MatRes, MatB, MatB->FNRow, FNRow, [&](double* C, size_t Ldc) {
        detail::ExactGemm(Size(FNRow), Size(MatB->FNRow), Size(FNCol), A, B, C, Ldc);
      });
  Changed();
  return true;
}

bool TMatrix::TransposeAndMultiply(const TMatrix* MatB, TMatrix* MatRes) {
  if (MatB == nullptr || MatRes == nullptr || FNRow != MatB->FNRow) return false;
  const TOperand A = TMatrixTwin::Operand(*this, true), B = TMatrixTwin::Operand(*MatB, false);
  detail::TMatrixTwin::DeliverResult(
      *this, MatRes, MatB, MatB->FNCol, FNCol, [&](double* C, size_t Ldc) {
        detail::ExactGemm(Size(FNCol), Size(MatB->FNCol), Size(FNRow), A, B, C, Ldc);
      });
  Changed();
  return true;
}

bool TMatrix::EMult(const TMatrix* MatB, TMatrix* MatRes) {
  if (MatB == nullptr || MatRes == nullptr || FNCol != MatB->FNCol || FNRow != MatB->FNRow)
    return false;
  detail::TMatrixTwin::DeliverResult(*this, MatRes, MatB, FNCol, FNRow, [&](double* C, size_t Ldc) {
    for (int32_t c = 1; c <= FNCol; ++c)
      for (int32_t r = 1; r <= FNRow; ++r)
        C[static_cast<size_t>(c - 1) * Ldc + Size(r - 1)] = At(c, r) * MatB->At(c, r);
  });
  Changed();
  return true;
}

bool TMatrix::Multiply(const TVector* VecB, TVector* VecRes) {
  if (VecB == nullptr || VecRes == nullptr || FNCol != VecB->NrOfElem()) return false;
  MultiplyVector(*this, false, *VecB, *VecRes);
  Changed();
  return true;
}

bool TMatrix::TransposeAndMultiply(const TVector* VecB, TVector* VecRes) {
  if (VecB == nullptr || VecRes == nullptr || FNRow != VecB->NrOfElem()) return false;
  MultiplyVector(*this, true, *VecB, *VecRes);
  Changed();
  return true;
}

}  // namespace zeq
