// In-place arithmetic, transposition, norms, balancing, the cross-product matrix, trace and
// differencing of TMatrix.
//
// Sums run in double, from 0.0, with the index rising; loops that are independent across
// rows are written so that the compiler can vectorise them without reordering any sum.
#include <algorithm>
#include <cmath>

#include "zeq/matrix/internal/matrix_twin.h"
#include "zeq/matrix/internal/spectral_norm.h"

namespace zeq {

using detail::TMatrixTwin;

namespace {

size_t Size(int32_t N) { return static_cast<size_t>(N); }

}  // namespace

bool TMatrix::Add(const TMatrix* MatB) {
  if (MatB == nullptr || MatB->FNCol != FNCol || MatB->FNRow != FNRow) return false;
  for (int32_t c = 1; c <= FNCol; ++c)
    for (int32_t r = 1; r <= FNRow; ++r) At(c, r) = At(c, r) + MatB->At(c, r);
  Changed();
  return true;
}

bool TMatrix::Subtract(const TMatrix* MatB) {
  if (MatB == nullptr || MatB->FNCol != FNCol || MatB->FNRow != FNRow) return false;
  for (int32_t c = 1; c <= FNCol; ++c)
    for (int32_t r = 1; r <= FNRow; ++r) At(c, r) = At(c, r) - MatB->At(c, r);
  Changed();
  return true;
}

void TMatrix::SMult(double Scalar) {
  for (int32_t c = 1; c <= FNCol; ++c)
    for (int32_t r = 1; r <= FNRow; ++r) At(c, r) = At(c, r) * Scalar;
  Changed();
}

void TMatrix::SAdd(double Scalar) {
  for (int32_t c = 1; c <= FNCol; ++c)
    for (int32_t r = 1; r <= FNRow; ++r) At(c, r) = At(c, r) + Scalar;
  Changed();
}

bool TMatrix::Transpose() { return detail::TMatrixTwin::Transpose(*this); }

double TMatrix::Norm(TNormType nt) const {
  double Result = 0.0;
  switch (nt) {
    case ntColwise:
      for (int32_t c = 1; c <= FNCol; ++c) {
        double S = 0.0;
        for (int32_t r = 1; r <= FNRow; ++r) S = S + std::fabs(At(c, r));
        if (S > Result) Result = S;
      }
      break;
    case ntRowwise: {
      std::vector<double> S(Size(FNRow), 0.0);  // one sum per row, columns added in order
      for (int32_t c = 1; c <= FNCol; ++c) {
        const double* Col = &At(c, 1);
        for (size_t r = 0; r < S.size(); ++r) S[r] = S[r] + std::fabs(Col[r]);
      }
      for (double X : S)
        if (X > Result) Result = X;
      break;
    }
    case ntSpectral:
      return detail::SpectralNorm(*this);
    case ntFrobenius: {
      double S = 0.0;
      for (int32_t c = 1; c <= FNCol; ++c)
        for (int32_t r = 1; r <= FNRow; ++r) S = S + At(c, r) * At(c, r);
      Result = std::sqrt(S);
      break;
    }
    default:
      break;
  }
  return Result;
}

bool TMatrix::Balance() {
  if (FNCol != FNRow) return false;
  const int32_t N = FNCol;
  constexpr int MaxSweeps =
      1000;  // balancing converges in a few sweeps; this only guards Inf/NaN input
  for (int Sweep = 0; Sweep < MaxSweeps; ++Sweep) {
    double FMax = 0.0;
    for (int32_t i = 1; i <= N; ++i) {
      double R = 0.0, C = 0.0;  // A(i, j) is At(j, i)
      for (int32_t j = 1; j <= N; ++j)
        if (j != i) {
          R = R + std::fabs(At(j, i));
          C = C + std::fabs(At(i, j));
        }
      if (C == 0 || R == 0) continue;  // a zero off-diagonal row or column cannot be scaled
      const double F = std::sqrt(R / C);
      if (!std::isfinite(F)) continue;
      if (F > FMax) FMax = F;
      for (int32_t j = 1; j <= N; ++j)
        if (j != i) {
          At(j, i) = At(j, i) / F;
          At(i, j) = At(i, j) * F;
        }
    }
    if (!(FMax >= 1.05)) break;
  }
  return true;
}

bool TMatrix::Square(TMatrix* MatRes, double Norm) const {
  if (MatRes == nullptr) return false;
  // A^T A needs every column of A; a result that is this matrix gets a scratch copy.
  TMatrix Copy;
  const TMatrix* A = this;
  if (MatRes == this) {
    Copy.Assign(const_cast<TMatrix*>(this));
    A = &Copy;
  }
  const int32_t N = A->FNCol, M = A->FNRow;
  MatRes->Resize(N, N);
  for (int32_t i = 1; i <= N; ++i) {
    if (AbortRequested()) return false;
    AdvanceProgress(1.0);
    const double* Ci = &A->At(i, 1);
    for (int32_t j = i; j <= N; ++j) {
      const double* Cj = &A->At(j, 1);
      double S = 0.0;
      for (int32_t k = 0; k < M; ++k) S = S + Ci[k] * Cj[k];
      TMatrixTwin::At(*MatRes, j, i) = S / Norm;
      TMatrixTwin::At(*MatRes, i, j) = S / Norm;
    }
  }
  return true;
}

double TMatrix::Trace() const {
  if (FNCol != FNRow) return 0.0;
  double S = 0.0;
  for (int32_t i = 1; i <= FNCol; ++i) S = S + At(i, i);
  return S;
}

void TMatrix::Diff(int32_t Order) {
  if (Order < 1 || Order > 10 || FNRow <= Order) return;
  for (int32_t Pass = 0; Pass < Order; ++Pass)
    for (int32_t c = 1; c <= FNCol; ++c)
      for (int32_t r = 1; r < FNRow; ++r) At(c, r) = At(c, r + 1) - At(c, r);
  Resize(FNCol, FNRow - Order);
}

}  // namespace zeq
