// TIntMatrix statistics, reorganisation and search. The statistics visit the dense rectangle
// or, in the sparse form, the stored entries inside it, and reuse the double matrix's sums
// (matrix_twin.h); reorganisation and search work on the dense form only.
#include <algorithm>
#include <cmath>

#include "zeq/base/internal/int32_wrap.h"
#include "zeq/matrix/internal/matrix_twin.h"

namespace zeq {

using Twin = detail::TMatrixTwin;
using detail::WrapAdd;

// ---- statistics: dense rectangle or stored entries ----

namespace {

// The visitor over a rectangle of M in either form.
auto Elements(const TIntMatrix& M, int32_t LowCol, int32_t LowRow, int32_t HighCol,
              int32_t HighRow) {
  M.MakeValidColRange(LowCol, HighCol);
  M.MakeValidRowRange(LowRow, HighRow);
  return [&M, LowCol, LowRow, HighCol, HighRow](auto&& F) {
    if (M.IsSparse()) {
      for (int32_t i = 1; i <= M.SparseNumElem(); ++i) {
        const TSpMatElemInt E = M.SparseEntry(i);
        if (E.colidx >= LowCol && E.colidx <= HighCol && E.rowidx >= LowRow && E.rowidx <= HighRow)
          F(E.value);
      }
      return;
    }
    for (int32_t c = LowCol; c <= HighCol; ++c)
      for (int32_t r = LowRow; r <= HighRow; ++r) F(M.GetVal(c, r));
  };
}

}  // namespace

int32_t TIntMatrix::Sum(int32_t LoC, int32_t LoR, int32_t HiC, int32_t HiR) const {
  int32_t S = 0;
  Elements(*this, LoC, LoR, HiC, HiR)([&](int32_t X) { S = WrapAdd(S, X); });
  return S;
}

int32_t TIntMatrix::Trace() const {
  if (FNCol != FNRow) return 0;
  int32_t S = 0;
  for (int32_t i = 1; i <= FNCol; ++i) S = WrapAdd(S, GetVal(i, i));
  return S;
}

void TIntMatrix::MinMax(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                        int32_t& Minimum, int32_t& Maximum) const {
  Twin::MinMax(Elements(*this, LowCol, LowRow, HighCol, HighRow), INT32_MAX, -INT32_MAX, Minimum,
               Maximum);
}

void TIntMatrix::MeanVar(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                         double& Mean, double& Variance) const {
  Twin::MeanVar(Elements(*this, LowCol, LowRow, HighCol, HighRow), Mean, Variance);
}

void TIntMatrix::SkewKurt(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                          double& Skewness, double& Kurtosis) const {
  Twin::SkewKurt(Elements(*this, LowCol, LowRow, HighCol, HighRow), Skewness, Kurtosis);
}

void TIntMatrix::SkewKurtSample(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                                double& Skewness, double& Kurtosis) const {
  Twin::SkewKurtSample(Elements(*this, LowCol, LowRow, HighCol, HighRow), Skewness, Kurtosis);
}

double TIntMatrix::GeometricMean(int32_t LowCol, int32_t LowRow, int32_t HighCol,
                                 int32_t HighRow) const {
  return FIsSparse ? 0.0 : Twin::GeometricMean(*this, LowCol, LowRow, HighCol, HighRow);
}

double TIntMatrix::HarmonicMean(int32_t LowCol, int32_t LowRow, int32_t HighCol,
                                int32_t HighRow) const {
  return FIsSparse ? 0.0 : Twin::HarmonicMean(*this, LowCol, LowRow, HighCol, HighRow);
}

bool TIntMatrix::Quartiles(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                           double& Q1, double& Q2, double& Q3) const {
  if (FIsSparse) return Q1 = Q2 = Q3 = 0, false;
  return Twin::Quartiles(*this, LowCol, LowRow, HighCol, HighRow, Q1, Q2, Q3);
}

double TIntMatrix::Percentile(double prob, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                              int32_t HighRow) const {
  return FIsSparse ? 0.0 : Twin::Percentile(*this, prob, LowCol, LowRow, HighCol, HighRow);
}

double TIntMatrix::Percentile(double prob, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                              int32_t HighRow, int32_t SampleSize) const {
  return FIsSparse ? 0.0
                   : Twin::Percentile(*this, prob, LowCol, LowRow, HighCol, HighRow, SampleSize);
}

void TIntMatrix::MeanVec(TDims Dim, TVector* Means) const {
  if (!FIsSparse) Twin::MeanVec(*this, Dim, Means);
}

// ---- reorganisation and search (dense form) ----

void TIntMatrix::SortRows(int32_t SortColIx, bool Ascending, int32_t LowCol, int32_t LowRow,
                          int32_t HighCol, int32_t HighRow) {
  if (!FIsSparse)
    Twin::SortLines(*this, true, SortColIx, Ascending, LowCol, LowRow, HighCol, HighRow);
}

void TIntMatrix::SortCols(int32_t SortRowIx, bool Ascending, int32_t LowCol, int32_t LowRow,
                          int32_t HighCol, int32_t HighRow) {
  if (!FIsSparse)
    Twin::SortLines(*this, false, SortRowIx, Ascending, LowCol, LowRow, HighCol, HighRow);
}

void TIntMatrix::MirrorColumns() {
  if (!FIsSparse) Twin::MirrorColumns(*this);
}
void TIntMatrix::MirrorRows() {
  if (!FIsSparse) Twin::MirrorRows(*this);
}
void TIntMatrix::ExchangeColumns(int32_t c1, int32_t c2) {
  if (!FIsSparse) Twin::ExchangeColumns(*this, c1, c2);
}
void TIntMatrix::ExchangeRows(int32_t r1, int32_t r2) {
  if (!FIsSparse) Twin::ExchangeRows(*this, r1, r2);
}

void TIntMatrix::EdgeVector(TOrientation Orient, TEdgeOp EdgeOp, TVector* DestVec) const {
  if (!FIsSparse) Twin::EdgeVector(*this, Orient, EdgeOp, DestVec);
}

void TIntMatrix::Find(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                      int32_t Value, int32_t& ColIx, int32_t& RowIx) const {
  ColIx = RowIx = 0;
  if (!FIsSparse) Twin::Find(*this, LowCol, HighCol, LowRow, HighRow, Value, ColIx, RowIx);
}

int32_t TIntMatrix::FindInSortedColumn(int32_t Col, bool ColIsAscending, int32_t Value) const {
  return FIsSparse ? 0 : Twin::FindInSortedColumn(*this, Col, ColIsAscending, Value);
}

}  // namespace zeq
