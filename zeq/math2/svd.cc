// CalcSVD, SVDBackSubst and SVDLeastSquares over the library's Golub-Reinsch decomposition
// (zeq/base/internal/golub_reinsch.h), which works on contiguous copies; the results go back
// into the caller's matrices and vectors through their setters.
#include "zeq/math2/svd.h"

#include <cmath>
#include <vector>

#include "zeq/base/internal/golub_reinsch.h"
#include "zeq/math2/internal/least_squares.h"

namespace zeq {

namespace {

std::vector<double> RowMajor(const TMatrix& A) {
  const auto M = static_cast<size_t>(A.NrOfRows()), N = static_cast<size_t>(A.NrOfColumns());
  std::vector<double> R(M * N);
  for (size_t c = 0; c < N; ++c)
    for (size_t r = 0; r < M; ++r)
      R[r * N + c] = A.GetVal(static_cast<int32_t>(c + 1), static_cast<int32_t>(r + 1));
  return R;
}

// Singular values that are not finite or below 1e-14 of the largest become 0; true when any did.
bool DropSmallSingularValues(std::vector<double>& W) {
  double WMax = 0.0;
  for (double V : W)
    if (std::isfinite(V) && V > WMax) WMax = V;
  bool Dropped = false;
  for (double& V : W)
    if (!std::isfinite(V) || V < 1e-14 * WMax) {
      Dropped = true;
      V = 0.0;
    }
  return Dropped;
}

// c = V diag(1 / w) U' b and the standard errors, over the w(j) != 0; U and V by columns.
template <class UColumn, class VColumn>
void BackSubstitute(size_t M, size_t N, const UColumn& U, const std::vector<double>& W,
                    const VColumn& V, const double* B, std::vector<double>& C,
                    std::vector<double>& E) {
  std::vector<long double> T(N, 0.0L);
  for (size_t j = 0; j < N; ++j) {
    if (W[j] == 0.0) continue;
    const double* Uj = U(j);
    long double S = 0.0L;
    for (size_t i = 0; i < M; ++i) S += static_cast<long double>(Uj[i]) * B[i];
    T[j] = S / W[j];
  }
  C.assign(N, 0.0);
  E.assign(N, 0.0);
  for (size_t i = 0; i < N; ++i) {
    long double S = 0.0L, Q = 0.0L;
    for (size_t j = 0; j < N; ++j) {
      if (W[j] == 0.0) continue;
      const long double Vij = V(j)[i];
      S += Vij * T[j];
      Q += Vij * Vij / (static_cast<long double>(W[j]) * W[j]);
    }
    C[i] = static_cast<double>(S);
    E[i] = static_cast<double>(std::sqrt(Q));
  }
}

void StoreVector(const std::vector<double>& Values, TVector* Dest) {
  if (Dest == nullptr || Values.empty()) return;
  Dest->Resize(static_cast<int32_t>(Values.size()));
  for (size_t i = 0; i < Values.size(); ++i) Dest->SetVal(static_cast<int32_t>(i + 1), Values[i]);
}

// U into A (same shape) and V into an n x n matrix.
void StoreFactors(const detail::TGolubReinsch& D, size_t M, size_t N, TMatrix& A, TMatrix& V) {
  for (size_t c = 0; c < N; ++c) {
    const double* Uc = D.UColumn(c);
    for (size_t r = 0; r < M; ++r)
      A.SetVal(static_cast<int32_t>(c + 1), static_cast<int32_t>(r + 1), Uc[r]);
  }
  V.Resize(static_cast<int32_t>(N), static_cast<int32_t>(N));
  for (size_t c = 0; c < N; ++c) {
    const double* Vc = D.VColumn(c);
    for (size_t r = 0; r < N; ++r)
      V.SetVal(static_cast<int32_t>(c + 1), static_cast<int32_t>(r + 1), Vc[r]);
  }
}

}  // namespace

bool CalcSVD(TMatrix* A, TVector* W, TMatrix* V) {
  if (A == nullptr || W == nullptr || V == nullptr) return false;
  const auto M = static_cast<size_t>(A->NrOfRows()), N = static_cast<size_t>(A->NrOfColumns());
  if (N == 0) return true;
  detail::TGolubReinsch D(M, N, RowMajor(*A), true);
  if (D.Run() == detail::TSvdStatus::Aborted) return false;
  StoreFactors(D, M, N, *A, *V);
  StoreVector(D.W(), W);
  return true;
}

void SVDBackSubst(const TMatrix* U, const TVector* W, const TMatrix* V, const TVector* B,
                  TVector* X) {
  if (U == nullptr || W == nullptr || V == nullptr || B == nullptr || X == nullptr) return;
  const auto M = static_cast<size_t>(U->NrOfRows()), N = static_cast<size_t>(U->NrOfColumns());
  if (N == 0) return;
  // Contiguous columns of U and V, the singular values and B.
  std::vector<double> Uc(M * N), Vc(N * N), Wv(N), Bv(M), C, E;
  for (size_t c = 0; c < N; ++c) {
    const auto Col = static_cast<int32_t>(c + 1);
    for (size_t r = 0; r < M; ++r) Uc[c * M + r] = U->GetVal(Col, static_cast<int32_t>(r + 1));
    for (size_t r = 0; r < N; ++r) Vc[c * N + r] = V->GetVal(Col, static_cast<int32_t>(r + 1));
    Wv[c] = W->GetVal(Col);
  }
  for (size_t r = 0; r < M; ++r) Bv[r] = B->GetVal(static_cast<int32_t>(r + 1));
  BackSubstitute(
      M, N, [&](size_t j) { return &Uc[j * M]; }, Wv, [&](size_t j) { return &Vc[j * N]; },
      Bv.data(), C, E);
  StoreVector(C, X);
}

bool SVDLeastSquares(TMatrix* A, const TVector* B, TVector* Coeffs, TVector* StdErrors,
                     bool& NearSingular) {
  NearSingular = false;
  if (A == nullptr || B == nullptr || Coeffs == nullptr) return false;
  const auto M = static_cast<size_t>(A->NrOfRows()), N = static_cast<size_t>(A->NrOfColumns());
  if (N == 0) return true;
  detail::TGolubReinsch D(M, N, RowMajor(*A), true);
  if (D.Run() == detail::TSvdStatus::Aborted) return false;
  TMatrix V;
  StoreFactors(D, M, N, *A, V);
  std::vector<double> W = D.W(), Bv(M), C, E;
  NearSingular = DropSmallSingularValues(W);
  for (size_t r = 0; r < M; ++r) Bv[r] = B->GetVal(static_cast<int32_t>(r + 1));
  BackSubstitute(
      M, N, [&](size_t j) { return D.UColumn(j); }, W, [&](size_t j) { return D.VColumn(j); },
      Bv.data(), C, E);
  StoreVector(C, Coeffs);
  StoreVector(E, StdErrors);
  return true;
}

namespace detail {

bool SolveLeastSquares(size_t M, size_t N, std::vector<double> A, const std::vector<double>& B,
                       TLeastSquares& Result) {
  TGolubReinsch D(M, N, std::move(A), true);
  if (D.Run() == TSvdStatus::Aborted) return false;
  std::vector<double> W = D.W();
  Result.NearSingular = DropSmallSingularValues(W);
  BackSubstitute(
      M, N, [&](size_t j) { return D.UColumn(j); }, W, [&](size_t j) { return D.VColumn(j); },
      B.data(), Result.Coeffs, Result.StdErrors);
  return true;
}

}  // namespace detail

}  // namespace zeq
