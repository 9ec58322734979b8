// Covariance-type matrices of the columns of a data matrix, and the Mahalanobis distance.
//
// The selected block is copied once, variable by variable into contiguous arrays; every pair's
// sum then runs over contiguous memory, in extended precision, observation by observation.
#include <algorithm>
#include <cmath>
#include <vector>

#include "zeq/math2/eigen.h"

namespace zeq {

namespace {

// Sums over k of Term(x(k), y_q(k)) for one variable x and Count (1..4) variables y_q of M
// observations: four independent extended-precision sums run together, so that their
// additions overlap.
template <class TermFn>
void PairSums(const double* X, const double* const* Y, size_t Count, size_t M, TermFn Term,
              long double* Sum) {
  long double S[4] = {0.0L, 0.0L, 0.0L, 0.0L};
  const double* Y0 = Y[0];
  const double* Y1 = Y[Count > 1 ? 1 : 0];
  const double* Y2 = Y[Count > 2 ? 2 : 0];
  const double* Y3 = Y[Count > 3 ? 3 : 0];
  for (size_t k = 0; k < M; ++k) {
    const long double x = X[k];
    S[0] += Term(x, Y0[k], 0);
    S[1] += Term(x, Y1[k], 1);
    S[2] += Term(x, Y2[k], 2);
    S[3] += Term(x, Y3[k], 3);
  }
  for (size_t q = 0; q < Count; ++q) Sum[q] = S[q];
}

}  // namespace

bool CalcCovar(const TMatrix* InMat, TMatrix* OutMat, int32_t LoCol, int32_t HiCol, int32_t LoRow,
               int32_t HiRow, int32_t Mode) {
  AbortMathProc = false;
  if (InMat == nullptr || OutMat == nullptr) return false;
  InMat->MakeValidColRange(LoCol, HiCol);
  InMat->MakeValidRowRange(LoRow, HiRow);
  const int32_t p = HiCol - LoCol + 1, m = HiRow - LoRow + 1;
  if (p < 1 || m < 2 || OutMat->NrOfColumns() < p || OutMat->NrOfRows() < p) return false;
  const auto M = static_cast<size_t>(m);
  std::vector<double> X(static_cast<size_t>(p) * M);  // variable i at X[i * M]
  for (int32_t i = 0; i < p; ++i)
    for (int32_t k = 0; k < m; ++k)
      X[static_cast<size_t>(i) * M + static_cast<size_t>(k)] = InMat->GetVal(LoCol + i, LoRow + k);
  const auto Var = [&](int32_t i) { return &X[static_cast<size_t>(i) * M]; };

  std::vector<long double> Mean(static_cast<size_t>(p), 0.0L),
      Variance(static_cast<size_t>(p), 0.0L);
  if (Mode > 0) {
    std::vector<long double> S(static_cast<size_t>(p), 0.0L), Q(static_cast<size_t>(p), 0.0L);
    for (size_t k = 0; k < M; ++k) {
      AdvanceProgress(1.0);
      for (size_t i = 0; i < static_cast<size_t>(p); ++i) {
        const long double V = Var(static_cast<int32_t>(i))[k];
        S[i] += V;
        Q[i] += V * V;
      }
    }
    for (size_t i = 0; i < static_cast<size_t>(p); ++i) {
      Variance[i] = (Q[i] - S[i] * S[i] / m) / (m - 1);
      Mean[i] = S[i] / m;
    }
  }
  for (int32_t i = 0; i < p && !AbortRequested(); ++i)
    for (int32_t j0 = 0; j0 <= i; j0 += 4) {
      const auto Count = static_cast<size_t>(std::min(4, i + 1 - j0));
      const double* Y[4];
      long double Mj[4], c[4];
      for (size_t q = 0; q < Count; ++q) {
        Y[q] = Var(j0 + static_cast<int32_t>(q));
        Mj[q] = Mean[static_cast<size_t>(j0) + q];
      }
      const long double Mi = Mean[static_cast<size_t>(i)];
      switch (Mode) {
        case 0:
          PairSums(
              Var(i), Y, Count, M, [](long double x, long double y, size_t) { return x * y; }, c);
          break;
        case 1:
        case 2:
        case 3:
          PairSums(
              Var(i), Y, Count, M,
              [Mi, &Mj](long double x, long double y, size_t q) { return (x - Mi) * (y - Mj[q]); },
              c);
          break;
        case 4:
          PairSums(
              Var(i), Y, Count, M,
              [](long double x, long double y, size_t) { return (x - y) * (x - y); }, c);
          break;
        default:
          std::fill(c, c + Count, 0.0L);
          break;
      }
      for (size_t q = 0; q < Count; ++q) {
        const int32_t j = j0 + static_cast<int32_t>(q);
        AdvanceProgress(m);
        if (Mode == 2 || Mode == 3) {
          long double s =
              std::sqrt(Variance[static_cast<size_t>(i)] * Variance[static_cast<size_t>(j)]);
          if (s == 0) s = 1e-38L;
          c[q] /= s;
        }
        c[q] /= m - 1;
        if (Mode == 3) c[q] *= c[q];
        const double Value = i == j && Mode == 2 ? 1.0 : static_cast<double>(c[q]);
        OutMat->SetVal(j + 1, i + 1, Value);
        if (i != j) OutMat->SetVal(i + 1, j + 1, Value);
      }
    }
  return !AbortRequested();
}

double MahalanobisDistance(const TVector* Vec1, const TVector* Vec2, const TMatrix* InvCovMat) {
  if (Vec1 == nullptr || Vec2 == nullptr || InvCovMat == nullptr)
    throw EZEQVectorError("MahalanobisDistance: Vec1, Vec2 and/or InvCovMat is undefined");
  if (Vec1->NrOfElem() != Vec2->NrOfElem())
    throw EZEQVectorError("MahalanobisDistance: dimensions of vectors do not match");
  if (InvCovMat->NrOfColumns() != InvCovMat->NrOfRows())
    throw EZEQVectorError("MahalanobisDistance: inverse covariance matrix is not quadratric");
  const int32_t n = Vec1->NrOfElem();
  if (n != InvCovMat->NrOfColumns())
    throw EZEQVectorError(
        "MahalanobisDistance: dimension of vectors and inverse covariance matrix do not match");
  std::vector<double> D(static_cast<size_t>(n));
  for (int32_t i = 1; i <= n; ++i)
    D[static_cast<size_t>(i - 1)] = Vec1->GetVal(i) - Vec2->GetVal(i);
  double D2 = 0.0;
  for (int32_t i = 1; i <= n; ++i) {  // row i of S times d, then d(i) times that
    double Row = 0.0;
    for (int32_t j = 1; j <= n; ++j)
      Row = Row + InvCovMat->GetVal(j, i) * D[static_cast<size_t>(j - 1)];
    D2 = D2 + D[static_cast<size_t>(i - 1)] * Row;
  }
  if (D2 < 0)
    throw EZEQVectorError(
        "MahalanobisDistance: the inverse covariance matrix must be symmetric and positive "
        "definite");
  return std::sqrt(D2);
}

}  // namespace zeq
