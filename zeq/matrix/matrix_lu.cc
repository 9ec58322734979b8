// Inversion, LU decomposition, determinant and Cholesky decomposition of TMatrix.
//
// The Crout elimination keeps the documented order of every sum (from 0.0, k rising) but
// runs column-oriented: while column j is processed, the sums of all rows grow together, one
// k at a time, as an axpy over a contiguous column. The solves for the identity columns run
// several right-hand sides at once. Both loops are compiled for every SIMD level and chosen
// at run time (zeq/base/internal/simd.h).
#include <algorithm>
#include <cmath>
#include <new>
#include <numeric>
#include <optional>

#include "zeq/base/internal/simd.h"
#include "zeq/matrix/internal/matrix_twin.h"

namespace zeq {

using detail::TMatrixTwin;

namespace {

// The permutation sign of the last LUdecomposition on this thread.
thread_local int32_t LUSign = 1;

// The pivot floor is absolute, as documented, not relative to the matrix's scale: a matrix
// whose pivots all lie below 1e-100 (1e-101 times the identity, say) counts as singular
// however well conditioned it is. Kept on purpose; scale such a matrix before inverting.
constexpr long double PivotFloor = 1.0e-100L;  // compared in long double, stored as a double

// S[i] := S[i] + Col[i] * F for i in [Begin, End): one term of each row's sum.
ZEQ_SIMD_BODY void AddTermBody(double* S, const double* Col, double F, size_t Begin, size_t End) {
  for (size_t i = Begin; i < End; ++i) S[i] = S[i] + Col[i] * F;
}
ZEQ_SIMD_FUNCTION(AddTerm, (double* S, const double* Col, double F, size_t Begin, size_t End),
                  (S, Col, F, Begin, End))

enum class TCrout { Done, ZeroRow, TinyPivot, Aborted };

// Crout LU with implicit partial pivoting on the n x n column-major A (leading dimension
// Ld), in place. Index receives the pivot rows (0-based). Progress and abort per column when
// asked; Sign is negated for every row exchange.

class TCroutLU {
 public:
  TCroutLU(double* A, size_t N, size_t Ld, bool WithProgress)
      : FA(A), FN(N), FLd(Ld), FProgress(WithProgress), FScale(N), FSum(N), FIndex(N) {}

  TCrout Run(int32_t& Sign) {
    if (!ComputeScales()) return FAborted ? TCrout::Aborted : TCrout::ZeroRow;
    bool PivotTooSmall = false;
    for (size_t j = 0; j < FN; ++j) {
      if (FProgress) {
        AdvanceProgress(1.0);
        if (AbortRequested()) return TCrout::Aborted;
      }
      Eliminate(j);
      const size_t IMax = PivotRow(j);
      if (IMax != j) {
        for (size_t c = 0; c < FN; ++c) std::swap(A(IMax, c), A(j, c));
        FScale[IMax] = FScale[j];
        Sign = -Sign;
      }
      FIndex[j] = IMax;
      if (!(std::fabs(A(j, j)) >= PivotFloor)) {  // NaN pivots fail too
        A(j, j) = 1.0e-100;
        PivotTooSmall = true;
      }
      const double Pivot = A(j, j);
      for (size_t i = j + 1; i < FN; ++i) A(i, j) = A(i, j) / Pivot;
    }
    return PivotTooSmall ? TCrout::TinyPivot : TCrout::Done;
  }

  const std::vector<size_t>& Index() const { return FIndex; }

 private:
  double& A(size_t Row, size_t Col) { return FA[Row + Col * FLd]; }

  // Step 1: 1 / (largest |A(i, j)|) per row; false for a zero row (or an abort).
  bool ComputeScales() {
    bool Ok = true;
    for (size_t i = 0; i < FN; ++i) {
      if (FProgress && AbortRequested()) {
        FAborted = true;
        return false;
      }
      double Big = 0.0;
      for (size_t j = 0; j < FN; ++j) Big = std::max(Big, std::fabs(A(i, j)));
      if (Big == 0.0)
        Ok = false;
      else
        FScale[i] = 1.0 / Big;
    }
    return Ok;
  }

  // Steps 3.2 and 3.3 for column j: A(i, j) -= sum_k A(i, k) A(k, j), k < min(i, j).
  void Eliminate(size_t j) {
    double* Colj = FA + j * FLd;
    std::fill(FSum.begin(), FSum.end(), 0.0);
    for (size_t k = 0; k < j; ++k) {
      Colj[k] = Colj[k] - FSum[k];  // row k of this column is final now
      AddTerm(FSum.data(), FA + k * FLd, Colj[k], k + 1, FN);
    }
    for (size_t i = j; i < FN; ++i) Colj[i] = Colj[i] - FSum[i];
  }

  // Step 3.3's pivot search: the largest scaled |A(i, j)|, i >= j; the later row on ties.
  size_t PivotRow(size_t j) {
    double Big = 0.0;
    size_t IMax = j;  // stays j when every candidate is NaN; the pivot test then fails
    for (size_t i = j; i < FN; ++i) {
      const double D = FScale[i] * std::fabs(A(i, j));
      if (D >= Big) {
        Big = D;
        IMax = i;
      }
    }
    return IMax;
  }

  double* FA;
  size_t FN, FLd;
  bool FProgress;
  bool FAborted = false;
  std::vector<double> FScale, FSum;
  std::vector<size_t> FIndex;
};

// Step 5 for the identity columns [J0, J0 + W): forward substitution with the skip of leading
// zeros, then back substitution. LU is the factored matrix row-major (LU[i * N + k] =
// A(i, k)), X holds SolveWidth right-hand sides per row (X[i * SolveWidth + w]). The sums
// of the SolveWidth columns are independent, so they run as four vectors of eight lanes;
// each lane adds its terms in k order.
//
// The skip of leading zeros: a column's forward sum starts at its first non-zero row ii.
// Before ii the column holds +0.0, so a term A(i, k) * x(k) with k < ii is a zero and adding
// it to the still-zero sum leaves +0.0: starting every lane at the smallest ii of the block
// gives the same bits, as long as no A(i, k) is infinite or NaN (0 * Inf is NaN). Callers
// with such factors use SolveIdentityColumnsExactly instead.
typedef double TLanes __attribute__((vector_size(64)));
// The same lanes at any 8-byte aligned address of a double array.
typedef double TLanesAt __attribute__((vector_size(64), aligned(8), may_alias));
constexpr size_t LaneCount = 8;
constexpr size_t SolveWidth = 4 * LaneCount;

#define ZEQ_LANES(P) (*reinterpret_cast<const TLanesAt*>(P))
#define ZEQ_LANES_OUT(P) (*reinterpret_cast<TLanesAt*>(P))

// Sum(w) = sum over k in [K0, K1) of Row[k] * X[k][w], k rising, for the SolveWidth lanes.
ZEQ_SIMD_BODY void RowTimesColumnsBody(const double* Row, const double* X, size_t K0, size_t K1,
                                       double* Sum) {
  TLanes Sum0 = {}, Sum1 = {}, Sum2 = {}, Sum3 = {};
  for (size_t k = K0; k < K1; ++k) {
    const double* Xk = X + k * SolveWidth;
    const double R = Row[k];
    Sum0 = Sum0 + ZEQ_LANES(Xk) * R;
    Sum1 = Sum1 + ZEQ_LANES(Xk + 8) * R;
    Sum2 = Sum2 + ZEQ_LANES(Xk + 16) * R;
    Sum3 = Sum3 + ZEQ_LANES(Xk + 24) * R;
  }
  ZEQ_LANES_OUT(Sum) = Sum0;
  ZEQ_LANES_OUT(Sum + 8) = Sum1;
  ZEQ_LANES_OUT(Sum + 16) = Sum2;
  ZEQ_LANES_OUT(Sum + 24) = Sum3;
}
ZEQ_SIMD_FUNCTION(RowTimesColumns,
                  (const double* Row, const double* X, size_t K0, size_t K1, double* Sum),
                  (Row, X, K0, K1, Sum))

void SolveIdentityColumns(const double* LU, const size_t* Index, size_t N, size_t J0, size_t W,
                          double* X, double* /*Scratch: used by the exact variant only*/) {
  std::fill(X, X + N * SolveWidth, 0.0);
  for (size_t w = 0; w < W; ++w) X[(J0 + w) * SolveWidth + w] = 1.0;
  size_t First[SolveWidth] = {};  // ii + 1 of each column; 0 while its leading zeros last
  double Sum[SolveWidth];
  for (size_t i = 0; i < N; ++i) {
    const size_t P = Index[i];
    size_t KMin = i;
    for (size_t w = 0; w < SolveWidth; ++w)
      if (First[w] != 0) KMin = std::min(KMin, First[w] - 1);
    RowTimesColumns(LU + i * N, X, KMin, i, Sum);
    for (size_t w = 0; w < SolveWidth; ++w) {
      double S = X[P * SolveWidth + w];
      X[P * SolveWidth + w] = X[i * SolveWidth + w];
      if (First[w] != 0)
        S = S - Sum[w];
      else if (S != 0)
        First[w] = i + 1;
      X[i * SolveWidth + w] = S;
    }
  }
  for (size_t i = N; i-- > 0;) {
    RowTimesColumns(LU + i * N, X, i + 1, N, Sum);
    const double D = LU[i * N + i];
    for (size_t w = 0; w < SolveWidth; ++w)
      X[i * SolveWidth + w] = (X[i * SolveWidth + w] - Sum[w]) / D;
  }
}

// The same, one column at a time and literally as documented: for factors holding infinities
// or NaNs, where a skipped zero term would not be zero.
void SolveIdentityColumnsExactly(const double* LU, const size_t* Index, size_t N, size_t J0,
                                 size_t W, double* X, double* x) {
  std::fill(X, X + N * SolveWidth, 0.0);
  for (size_t w = 0; w < W; ++w) {
    std::fill(x, x + N, 0.0);
    x[J0 + w] = 1.0;
    size_t First = 0;
    for (size_t i = 0; i < N; ++i) {
      const size_t P = Index[i];
      double S = x[P];
      x[P] = x[i];
      if (First != 0) {
        double Sum = 0.0;
        for (size_t k = First - 1; k < i; ++k) Sum = Sum + LU[i * N + k] * x[k];
        S = S - Sum;
      } else if (S != 0) {
        First = i + 1;
      }
      x[i] = S;
    }
    for (size_t i = N; i-- > 0;) {
      double Sum = 0.0;
      for (size_t k = i + 1; k < N; ++k) Sum = Sum + LU[i * N + k] * x[k];
      x[i] = (x[i] - Sum) / LU[i * N + i];
    }
    for (size_t i = 0; i < N; ++i) X[i * SolveWidth + w] = x[i];
  }
}

#undef ZEQ_LANES
#undef ZEQ_LANES_OUT

}  // namespace

bool TMatrix::Invert() {
  if (FNCol != FNRow || FNCol == 0) return false;
  const size_t N = static_cast<size_t>(FNCol);
  bool Result = false;
  {
    // Working storage first: a failed allocation raises before anything changes.
    std::vector<double> Inverse = detail::TMatrixTwin::NewStorage(*this, FNCol, FNRow);
    std::vector<double> Work, RowMajor, X, Scratch;
    std::optional<TCroutLU> Factors;
    try {
      Work = Mat;  // the factorisation runs on a copy until it cannot fail
      RowMajor.resize(N * N);
      X.resize(N * SolveWidth);
      Scratch.resize(N);
      Factors.emplace(Work.data(), N, FLd, true);
    } catch (const std::bad_alloc&) {
      OutOfMemory();
    }
    TCroutLU& LU = *Factors;
    int32_t Sign = 1;
    const TCrout Outcome = LU.Run(Sign);
    if (Outcome == TCrout::TinyPivot || Outcome == TCrout::Aborted) Mat.swap(Work);  // factors stay
    if (Outcome == TCrout::Done) {
      bool Finite = true;
      for (size_t i = 0; i < N; ++i)
        for (size_t k = 0; k < N; ++k) {
          RowMajor[i * N + k] = Work[i + k * FLd];
          Finite = Finite && std::isfinite(RowMajor[i * N + k]);
        }
      const auto Solve = Finite ? SolveIdentityColumns : SolveIdentityColumnsExactly;
      Result = true;
      for (size_t J0 = 0; J0 < N && Result; J0 += SolveWidth) {
        const size_t W = std::min(SolveWidth, N - J0);
        for (size_t w = 0; w < W; ++w) {
          AdvanceProgress(1.0);
          if (AbortRequested()) {
            Result = false;
            break;
          }
        }
        if (!Result) break;
        Solve(RowMajor.data(), LU.Index().data(), N, J0, W, X.data(), Scratch.data());
        for (size_t w = 0; w < W; ++w)
          for (size_t i = 0; i < N; ++i) Inverse[i + (J0 + w) * FLd] = X[i * SolveWidth + w];
      }
      Mat.swap(Result ? Inverse : Work);  // aborted while solving: the factors stay
    }
  }
  Changed();
  return Result;
}

bool TMatrix::LUdecomposition(TMatrix* MatL, TMatrix* MatU) const {
  LUSign = 1;
  if (FNCol != FNRow || MatL == nullptr || MatU == nullptr) return false;
  if (MatL == MatU || MatL == this || MatU == this) return false;  // results must be distinct
  const int32_t N = FNCol;
  MatL->Resize(N, N);
  MatL->Fill(0.0);
  MatU->Clone(this);
  std::optional<TCroutLU> Factors;
  try {
    Factors.emplace(TMatrixTwin::Data(*MatU), static_cast<size_t>(N), TMatrixTwin::Ld(*MatU),
                    false);
  } catch (const std::bad_alloc&) {
    OutOfMemory();
  }
  TCroutLU& LU = *Factors;
  int32_t Sign = 1;
  const TCrout Outcome = LU.Run(Sign);
  LUSign = Sign;
  if (Outcome != TCrout::Done) return false;
  for (int32_t i = 1; i < N; ++i) {
    MatL->SetVal(i, i, 1.0);
    for (int32_t k = i + 1; k <= N; ++k) {
      MatL->SetVal(i, k, MatU->GetVal(i, k));
      MatU->SetVal(i, k, 0.0);
    }
  }
  if (N >= 1) MatL->SetVal(N, N, 1.0);
  return true;
}

double TMatrix::Determinant() const {
  TMatrix L, U;
  if (!LUdecomposition(&L, &U)) return 0.0;
  double Product = 1.0;
  for (int32_t i = 1; i <= FNCol; ++i) Product = Product * U.GetVal(i, i);
  return LUSign * Product;
}

bool TMatrix::CholeskyDecomp(TMatrix* MatL) {
  if (FNCol != FNRow || MatL == nullptr || MatL == this) return false;
  const int32_t N = FNCol;
  std::vector<double> P(static_cast<size_t>(N), 0.0);
  bool Failed = false;
  // A(r, c) is At(c, r): the factor goes transposed into the strict upper triangle.
  for (int32_t i = 1; i <= N; ++i)
    for (int32_t j = i; j <= N; ++j) {
      double Sum = 0.0;
      for (int32_t k = i - 1; k >= 1; --k) Sum = Sum + At(i, k) * At(j, k);
      const double S = At(i, j) - Sum;
      if (i == j) {
        if (S > 0)
          P[static_cast<size_t>(i - 1)] = std::sqrt(S);
        else
          Failed = true;
      } else {
        At(j, i) = S / P[static_cast<size_t>(i - 1)];
      }
    }
  MatL->Resize(N, N);
  for (int32_t i = 1; i <= N; ++i) {
    MatL->SetVal(i, i, P[static_cast<size_t>(i - 1)]);
    for (int32_t j = i + 1; j <= N; ++j) MatL->SetVal(i, j, At(j, i));
  }
  return !Failed;
}

}  // namespace zeq
