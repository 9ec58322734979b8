// Matrix and matrix-vector products and the element-wise product.
//
// Each result element is computed by the exact-order kernels of matrix_gemm.cc. The result
// is delivered as the documented events require: when the result matrix has an OnChange
// handler its elements are set one by one, row by row, after the computation; otherwise the
// product is written straight into its storage.
#include <algorithm>
#include <new>

#include "zeq/matrix/internal/matrix_twin.h"

namespace zeq {

using detail::TMatrixTwin;
using detail::TOperand;

namespace {

size_t Size(int32_t N) { return static_cast<size_t>(N); }

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
  // y(i) = sum_k A(i, k) b(k): column by column, so that each y(i) adds its terms in k order.
  std::vector<double> Y(Size(FNRow), 0.0);
  for (int32_t k = 1; k <= FNCol; ++k) {
    const double Bk = VecB->GetVal(k);
    const double* Col = &At(k, 1);
    for (size_t i = 0; i < Y.size(); ++i) Y[i] = Y[i] + Col[i] * Bk;
  }
  VecRes->SetVecSize(FNRow);
  for (int32_t i = 1; i <= FNRow; ++i) VecRes->SetVal(i, Y[Size(i - 1)]);
  Changed();
  return true;
}

bool TMatrix::TransposeAndMultiply(const TVector* VecB, TVector* VecRes) {
  if (VecB == nullptr || VecRes == nullptr || FNRow != VecB->NrOfElem()) return false;
  std::vector<double> B(Size(FNRow));
  for (int32_t k = 1; k <= FNRow; ++k) B[Size(k - 1)] = VecB->GetVal(k);
  // y(i) = sum_k A(k, i) b(k): a dot product of column i with b, four columns at a time.
  std::vector<double> Y(Size(FNCol), 0.0);
  int32_t i = 1;
  for (; i + 3 <= FNCol; i += 4) {
    const double *C0 = &At(i, 1), *C1 = &At(i + 1, 1), *C2 = &At(i + 2, 1), *C3 = &At(i + 3, 1);
    double S0 = 0, S1 = 0, S2 = 0, S3 = 0;
    for (size_t k = 0; k < B.size(); ++k) {
      S0 = S0 + C0[k] * B[k];
      S1 = S1 + C1[k] * B[k];
      S2 = S2 + C2[k] * B[k];
      S3 = S3 + C3[k] * B[k];
    }
    Y[Size(i - 1)] = S0, Y[Size(i)] = S1, Y[Size(i + 1)] = S2, Y[Size(i + 2)] = S3;
  }
  for (; i <= FNCol; ++i) {
    const double* Col = &At(i, 1);
    double S = 0;
    for (size_t k = 0; k < B.size(); ++k) S = S + Col[k] * B[k];
    Y[Size(i - 1)] = S;
  }
  VecRes->SetVecSize(FNCol);
  for (int32_t j = 1; j <= FNCol; ++j) VecRes->SetVal(j, Y[Size(j - 1)]);
  Changed();
  return true;
}

}  // namespace zeq
