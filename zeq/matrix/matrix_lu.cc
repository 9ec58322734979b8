// Inversion, LU decomposition, determinant and Cholesky decomposition of TMatrix.
//
// The Crout elimination keeps the documented order of every sum (from 0.0, k rising) but
// runs left-looking in panels of columns: the bulk of each panel's sums comes from the exact
// products of matrix_gemm.cc, which continue partial sums without reordering them, and the
// rest grows column by column as an axpy over contiguous columns. The solves for the identity
// columns run several right-hand sides at once. The loops are compiled for every SIMD level
// and chosen at run time (zeq/base/internal/simd.h).
#include <algorithm>
#include <cmath>
#include <new>
#include <numeric>
#include <optional>
#include <utility>

#include "zeq/base/internal/simd.h"
#include "zeq/base/internal/simd_lanes.h"
#include "zeq/matrix/internal/matrix_gemm.h"
#include "zeq/matrix/internal/matrix_twin.h"

namespace zeq {

using detail::TMatrixTwin;

namespace {

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

// Columns per panel. A panel's sums over the columns before it come from two exact products
// (the rows above it: a triangular solve in blocks of SolveRows; the rows from its first
// column down: one product), then its columns continue them one by one as before.
constexpr size_t PanelWidth = 48;
constexpr size_t SolveRows = 64;

// Crout LU with implicit partial pivoting on the n x n column-major A (leading dimension
// Ld), in place. Index receives the pivot rows (0-based). Progress and abort per column when
// asked; Sign is negated for every row exchange.
//
// Every element's sum runs from 0.0 over k rising as the plain algorithm has it: the panel's
// products continue partial sums (ExactGemm's Continue) and never reorder one. The panel
// works on a copy of its columns, written back column by column, so an abort leaves the
// columns not yet reached as the plain algorithm does: only their rows exchanged.
class TCroutLU {
 public:
  TCroutLU(double* A, size_t N, size_t Ld, bool WithProgress)
      : FA(A),
        FN(N),
        FLd(Ld),
        FProgress(WithProgress),
        FScale(N),
        FPanel(N * std::min(N, PanelWidth)),
        FSum(N * std::min(N, PanelWidth)),
        FIndex(N) {
    FPending.reserve(std::min(N, PanelWidth));
    detail::ReserveGemmSpace(N, std::min(N, PanelWidth), N);  // nothing to allocate half way
  }

  TCrout Run(int32_t& Sign) {
    if (!ComputeScales()) return FAborted ? TCrout::Aborted : TCrout::ZeroRow;
    bool PivotTooSmall = false;
    for (size_t j = 0; j < FN; ++j) {
      if (FProgress) {
        AdvanceProgress(1.0);
        if (AbortRequested()) {
          FlushSwaps();
          return TCrout::Aborted;
        }
      }
      if (j % PanelWidth == 0) StartPanel(j);
      Eliminate(j);
      const size_t IMax = PivotRow(j);
      if (IMax != j) {
        SwapRows(IMax, j);
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
    FlushSwaps();
    return PivotTooSmall ? TCrout::TinyPivot : TCrout::Done;
  }

  const std::vector<size_t>& Index() const { return FIndex; }

 private:
  double& A(size_t Row, size_t Col) { return FA[Row + Col * FLd]; }
  // Column c of the panel (its copy) and of its partial sums.
  double* PanelColumn(size_t c) { return FPanel.data() + c * FN; }
  double* SumColumn(size_t c) { return FSum.data() + c * FN; }

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

  // Copies the columns [J, J + width) and runs their sums over k < J: the rows above J are
  // finished (they are U's), the rows from J down keep partial sums for Eliminate.
  void StartPanel(size_t J) {
    FlushSwaps();
    FJ = J;
    FWidth = std::min(PanelWidth, FN - J);
    for (size_t c = 0; c < FWidth; ++c) std::copy_n(FA + (J + c) * FLd, FN, PanelColumn(c));
    std::fill(FSum.begin(), FSum.end(), 0.0);
    const detail::TOperand U{FPanel.data(), FN, false};
    for (size_t R = 0; R < J; R += SolveRows) {
      const size_t Rows = std::min(SolveRows, J - R);
      detail::ExactGemm(Rows, FWidth, R, {FA + R, FLd, false}, U, FSum.data() + R, FN, true);
      FinishRows(R, R + Rows);
    }
    detail::ExactGemm(FN - J, FWidth, J, {FA + J, FLd, false}, U, FSum.data() + J, FN, true);
  }

  // Rows [R0, R1) of the panel, whose sums hold every term k < R0: the terms within the
  // block, row after row, then the rows are final.
  void FinishRows(size_t R0, size_t R1) {
    for (size_t k = R0; k < R1; ++k)
      for (size_t c = 0; c < FWidth; ++c) {
        double* Col = PanelColumn(c);
        Col[k] = Col[k] - SumColumn(c)[k];
        AddTerm(SumColumn(c), FA + k * FLd, Col[k], k + 1, R1);
      }
  }

  // Steps 3.2 and 3.3 for column j: A(i, j) -= sum_k A(i, k) A(k, j), k < min(i, j); the
  // terms k < FJ are in the panel's sums already.
  void Eliminate(size_t j) {
    double* Colj = PanelColumn(j - FJ);
    double* Sum = SumColumn(j - FJ);
    for (size_t k = FJ; k < j; ++k) {
      Colj[k] = Colj[k] - Sum[k];  // row k of this column is final now
      AddTerm(Sum, FA + k * FLd, Colj[k], k + 1, FN);
    }
    for (size_t i = j; i < FN; ++i) Colj[i] = Colj[i] - Sum[i];
    std::copy_n(Colj, FN, FA + j * FLd);
  }

  // Rows exchange: at once in the panel (A's columns, the copy and the sums), which the
  // elimination reads; for the other columns recorded and applied by FlushSwaps, a column at
  // a time, before anything reads them.
  void SwapRows(size_t R1, size_t R2) {
    for (size_t c = FJ; c < FJ + FWidth; ++c) std::swap(A(R1, c), A(R2, c));
    for (size_t c = 0; c < FWidth; ++c) {
      std::swap(PanelColumn(c)[R1], PanelColumn(c)[R2]);
      std::swap(SumColumn(c)[R1], SumColumn(c)[R2]);
    }
    FPending.emplace_back(R1, R2);
  }

  // The recorded exchanges, in order, in every column outside the panel.
  void FlushSwaps() {
    for (size_t c = 0; c < FN; ++c) {
      if (c == FJ) c += FWidth;
      if (c >= FN) break;
      double* Col = FA + c * FLd;
      for (const auto& [R1, R2] : FPending) std::swap(Col[R1], Col[R2]);
    }
    FPending.clear();
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
  size_t FJ = 0, FWidth = 0;  // the panel's first column and width
  std::vector<double> FScale, FPanel, FSum;
  std::vector<size_t> FIndex;
  std::vector<std::pair<size_t, size_t>> FPending;  // row exchanges not yet outside the panel
};

// Step 5 for a block of W identity columns: forward substitution with the skip of leading
// zeros, then back substitution. LU is the factored matrix row-major (LU[i * Ld + k] =
// A(i, k)), X holds SolveWidth right-hand sides per row (X[i * SolveWidth + w]). The sums
// of the SolveWidth columns are independent, so they run as four vectors of eight lanes;
// each lane adds its terms in k order.
//
// The forward substitution's exchanges only move the right-hand side's values ahead of the
// row being solved, so an identity column arrives with its one at a fixed row, its first
// non-zero ii. Order (see IdentityOrder) lists the columns by that row; a block takes W
// consecutive ones, Columns = Order + J0, whose ones sit at rows J0 .. J0 + W - 1.
//
// The skip of leading zeros: a column's forward sum starts at its first non-zero row ii.
// Before ii the column holds +0.0, so a term A(i, k) * x(k) with k < ii is a zero and adding
// it to the still-zero sum leaves +0.0: starting every lane at the block's first row J0
// gives the same bits, as long as no A(i, k) is infinite or NaN (0 * Inf is NaN). Callers
// with such factors use SolveIdentityColumnsExactly instead.
using detail::LaneCount;
using detail::TLanes;
constexpr size_t SolveWidth = 4 * LaneCount;

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

void SolveIdentityColumns(const double* LU, size_t Ld, const size_t* /*Index*/, size_t N, size_t J0,
                          size_t W, const size_t* /*Columns*/, double* X,
                          double* /*Scratch: used by the exact variant only*/) {
  std::fill(X, X + N * SolveWidth, 0.0);
  for (size_t w = 0; w < W; ++w) X[(J0 + w) * SolveWidth + w] = 1.0;
  double Sum[SolveWidth];
  for (size_t i = J0 + 1; i < N; ++i) {  // rows before J0 stay zero, row J0 keeps its ones
    RowTimesColumns(LU + i * Ld, X, J0, i, Sum);
    for (size_t w = 0; w < SolveWidth; ++w) X[i * SolveWidth + w] = X[i * SolveWidth + w] - Sum[w];
  }
  for (size_t i = N; i-- > 0;) {
    RowTimesColumns(LU + i * Ld, X, i + 1, N, Sum);
    const double D = LU[i * Ld + i];
    for (size_t w = 0; w < SolveWidth; ++w)
      X[i * SolveWidth + w] = (X[i * SolveWidth + w] - Sum[w]) / D;
  }
}

// The same, one column at a time and literally as documented: for factors holding infinities
// or NaNs, where a skipped zero term would not be zero.
void SolveIdentityColumnsExactly(const double* LU, size_t Ld, const size_t* Index, size_t N,
                                 size_t /*J0*/, size_t W, const size_t* Columns, double* X,
                                 double* x) {
  std::fill(X, X + N * SolveWidth, 0.0);
  for (size_t w = 0; w < W; ++w) {
    std::fill(x, x + N, 0.0);
    x[Columns[w]] = 1.0;
    size_t First = 0;
    for (size_t i = 0; i < N; ++i) {
      const size_t P = Index[i];
      double S = x[P];
      x[P] = x[i];
      if (First != 0) {
        double Sum = 0.0;
        for (size_t k = First - 1; k < i; ++k) Sum = Sum + LU[i * Ld + k] * x[k];
        S = S - Sum;
      } else if (S != 0) {
        First = i + 1;
      }
      x[i] = S;
    }
    for (size_t i = N; i-- > 0;) {
      double Sum = 0.0;
      for (size_t k = i + 1; k < N; ++k) Sum = Sum + LU[i * Ld + k] * x[k];
      x[i] = (x[i] - Sum) / LU[i * Ld + i];
    }
    for (size_t i = 0; i < N; ++i) X[i * SolveWidth + w] = x[i];
  }
}

// The identity columns ordered by the row that their one reaches through the forward
// substitution's exchanges (row r for Order[r]): the exchanges applied to the column numbers.
void IdentityOrder(const std::vector<size_t>& Index, std::vector<size_t>& Order) {
  std::iota(Order.begin(), Order.end(), size_t{0});
  for (size_t i = 0; i < Index.size(); ++i) std::swap(Order[i], Order[Index[i]]);
}

// The top-left N x N block of the column-major A (leading dimension Ld) transposed in place:
// afterwards A[i * Ld + k] holds what A[i + k * Ld] held. True when every element is finite.
bool TransposeSquare(double* A, size_t N, size_t Ld) {
  bool Finite = true;
  for (size_t k = 0; k < N; ++k) {
    Finite = Finite && std::isfinite(A[k + k * Ld]);
    for (size_t i = k + 1; i < N; ++i) {
      std::swap(A[i + k * Ld], A[k + i * Ld]);
      Finite = Finite && std::isfinite(A[i + k * Ld]) && std::isfinite(A[k + i * Ld]);
    }
  }
  return Finite;
}

// Step 5: the inverse's columns into Inverse (column-major, leading dimension Ld), from the
// factors transposed in place (LU[i * Ld + k] = A(i, k)), a block of identity columns at a
// time in Order, with one progress step and abort test per column. False on abort.
bool SolveInverse(const double* LU, size_t Ld, const std::vector<size_t>& Index,
                  const std::vector<size_t>& Order, bool Finite, std::vector<double>& Inverse,
                  std::vector<double>& X, std::vector<double>& Scratch) {
  const size_t N = Index.size();
  const auto Solve = Finite ? SolveIdentityColumns : SolveIdentityColumnsExactly;
  for (size_t J0 = 0; J0 < N; J0 += SolveWidth) {
    const size_t W = std::min(SolveWidth, N - J0);
    for (size_t w = 0; w < W; ++w) {
      AdvanceProgress(1.0);
      if (AbortRequested()) return false;
    }
    const size_t* Columns = Order.data() + J0;
    Solve(LU, Ld, Index.data(), N, J0, W, Columns, X.data(), Scratch.data());
    for (size_t w = 0; w < W; ++w)
      for (size_t i = 0; i < N; ++i) Inverse[i + Columns[w] * Ld] = X[i * SolveWidth + w];
  }
  return true;
}

}  // namespace

bool TMatrix::Invert() {
  if (FNCol != FNRow || FNCol == 0) return false;
  const size_t N = static_cast<size_t>(FNCol);
  bool Result = false;
  {
    // Working storage first: a failed allocation raises before anything changes. Then the
    // factors are computed in place (their products' packing space is reserved with them) and
    // transposed in place for the solves, which write into the new storage: besides the
    // result no n x n array is needed, and no fresh pages are touched beyond the result's.
    // One exception, chosen over a full copy: with SetMaxThreads above 1, a large matrix's
    // panel products may run on the pool's threads, which pack in their own space and may
    // have to allocate it then; running out of memory there raises with the matrix partly
    // factored, as an abort leaves it.
    std::vector<double> Inverse = detail::TMatrixTwin::NewStorage(*this, FNCol, FNRow);
    std::vector<double> X, Scratch;
    std::vector<size_t> Order;
    std::optional<TCroutLU> Factors;
    TCrout Outcome = TCrout::Aborted;
    int32_t Sign = 1;
    try {
      X.resize(N * SolveWidth);
      Scratch.resize(N);
      Order.resize(N);
      Factors.emplace(Mat.data(), N, FLd, true);
      Outcome = Factors->Run(Sign);
    } catch (const std::bad_alloc&) {
      OutOfMemory();
    }
    if (Outcome == TCrout::Done) {
      const bool Finite = TransposeSquare(Mat.data(), N, FLd);
      IdentityOrder(Factors->Index(), Order);
      Result = SolveInverse(Mat.data(), FLd, Factors->Index(), Order, Finite, Inverse, X, Scratch);
      if (Result)
        Mat.swap(Inverse);
      else
        TransposeSquare(Mat.data(), N, FLd);  // aborted while solving: the factors stay
    }
  }
  Changed();
  return Result;
}

bool TMatrix::LUdecomposition(TMatrix* MatL, TMatrix* MatU) const {
  if (FNCol != FNRow || MatL == nullptr || MatU == nullptr) return false;
  if (MatL == MatU || MatL == this || MatU == this) return false;  // results must be distinct
  const int32_t N = FNCol;
  MatL->Resize(N, N);
  MatL->Fill(0.0);
  MatU->Clone(this);
  int32_t Sign = 1;
  TCrout Outcome = TCrout::Aborted;
  try {
    TCroutLU Factors(TMatrixTwin::Data(*MatU), static_cast<size_t>(N), TMatrixTwin::Ld(*MatU),
                     false);
    Outcome = Factors.Run(Sign);
  } catch (const std::bad_alloc&) {
    OutOfMemory();
  }
  if (Outcome != TCrout::Done) return false;
  if (!MatL->OnChange && !MatU->OnChange) {
    // No handler sees the element setters' events: the factors move a column at a time.
    double *L = TMatrixTwin::Data(*MatL), *U = TMatrixTwin::Data(*MatU);
    const size_t LdL = TMatrixTwin::Ld(*MatL), LdU = TMatrixTwin::Ld(*MatU);
    for (size_t c = 0; c < static_cast<size_t>(N); ++c) {
      L[c + c * LdL] = 1.0;
      for (size_t r = c + 1; r < static_cast<size_t>(N); ++r) {
        L[r + c * LdL] = U[r + c * LdU];
        U[r + c * LdU] = 0.0;
      }
    }
    return true;
  }
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
  if (FNCol != FNRow) return 0.0;
  // The factors of LUdecomposition, computed on a copy without splitting them into L and U.
  const auto N = static_cast<size_t>(FNCol);
  std::vector<double> Work;
  int32_t Sign = 1;
  TCrout Outcome = TCrout::Aborted;
  try {
    Work = Mat;
    Outcome = TCroutLU(Work.data(), N, FLd, false).Run(Sign);
  } catch (const std::bad_alloc&) {
    OutOfMemory();
  }
  if (Outcome != TCrout::Done) return 0.0;
  double Product = 1.0;
  for (size_t i = 0; i < N; ++i) Product = Product * Work[i + i * FLd];
  return Sign * Product;
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
