// TMatrix statistics, scaling of columns and rows, correlation, reorganisation, search and
// distances between rows.
//
// Sums run in double in storage order (columns outer, rows inner). What TIntMatrix shares
// is in matrix_twin.h; this file adds what only the double matrix has.
#include <cmath>
#include <limits>
#include <vector>

#include "zeq/base/internal/histogram_bins.h"
#include "zeq/matrix/internal/matrix_twin.h"

namespace zeq {

using Twin = detail::TMatrixTwin;

double TMatrix::Sum(int32_t LoC, int32_t LoR, int32_t HiC, int32_t HiR) const {
  double S = 0.0;
  Twin::Dense(*this, LoC, LoR, HiC, HiR)([&](double X) { S = S + X; });
  return S;
}

void TMatrix::MeanVar(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                      double& Mean, double& Variance) const {
  Twin::MeanVar(Twin::Dense(*this, LowCol, LowRow, HighCol, HighRow), Mean, Variance);
}

void TMatrix::MinMax(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                     double& Minimum, double& Maximum) const {
  const auto Max = static_cast<double>(uc_MaxReal);
  Twin::MinMax(Twin::Dense(*this, LowCol, LowRow, HighCol, HighRow), Max, -Max, Minimum, Maximum);
}

double TMatrix::GeometricMean(int32_t LowCol, int32_t LowRow, int32_t HighCol,
                              int32_t HighRow) const {
  return Twin::GeometricMean(*this, LowCol, LowRow, HighCol, HighRow);
}

double TMatrix::HarmonicMean(int32_t LowCol, int32_t LowRow, int32_t HighCol,
                             int32_t HighRow) const {
  return Twin::HarmonicMean(*this, LowCol, LowRow, HighCol, HighRow);
}

void TMatrix::SkewKurt(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                       double& Skewness, double& Kurtosis) const {
  Twin::SkewKurt(Twin::Dense(*this, LowCol, LowRow, HighCol, HighRow), Skewness, Kurtosis);
}

void TMatrix::SkewKurtSample(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                             double& Skewness, double& Kurtosis) const {
  Twin::SkewKurtSample(Twin::Dense(*this, LowCol, LowRow, HighCol, HighRow), Skewness, Kurtosis);
}

bool TMatrix::Quartiles(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                        double& Q1, double& Q2, double& Q3) const {
  return Twin::Quartiles(*this, LowCol, LowRow, HighCol, HighRow, Q1, Q2, Q3);
}

double TMatrix::Percentile(double prob, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                           int32_t HighRow) const {
  return Twin::Percentile(*this, prob, LowCol, LowRow, HighCol, HighRow);
}

double TMatrix::Percentile(double prob, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                           int32_t HighRow, int32_t SampleSize) const {
  return Twin::Percentile(*this, prob, LowCol, LowRow, HighCol, HighRow, SampleSize);
}

void TMatrix::MeanVec(TDims Dim, TVector* Means) const { Twin::MeanVec(*this, Dim, Means); }

bool TMatrix::Histogram(int32_t LoX, int32_t LoY, int32_t HiX, int32_t HiY, double FirstBin,
                        double LastBin, double BinWidth, TIntVector* Histo, int32_t& Underflow,
                        int32_t& Overflow, int32_t& MaxCnt) const {
  detail::THistogramBins Bins;
  if (Histo == nullptr || !Bins.Make(FirstBin, LastBin, BinWidth)) return false;
  if (Bins.Count != Histo->NrOfElem()) Histo->Resize(Bins.Count);
  Histo->Clear();
  int64_t Under = 0, Over = 0;
  MaxCnt = 0;
  Twin::Dense(*this, LoX, LoY, HiX, HiY)([&](double X) {
    const int32_t B = Bins.BinOf(X);
    if (B == 0) {
      ++Under;
    } else if (B > Bins.Count) {
      ++Over;  // beyond the last bin: overflow, so that every element is counted once
    } else {
      const int32_t Count = Histo->GetVal(B) + 1;
      Histo->SetVal(B, Count);
      MaxCnt = std::max(MaxCnt, Count);
    }
  });
  Underflow = static_cast<int32_t>(std::min<int64_t>(Under, INT32_MAX));
  Overflow = static_cast<int32_t>(std::min<int64_t>(Over, INT32_MAX));
  return true;
}

// ---- scaling of columns and rows ----

namespace {

// Element k of line l: a column (Columns) or a row of M.
double& LineElem(TMatrix& M, bool Columns, int32_t l, int32_t k) {
  return Columns ? detail::TMatrixTwin::At(M, l, k) : detail::TMatrixTwin::At(M, k, l);
}

void SetIfGiven(TVector* V, int32_t Ix, double Value) {
  if (V != nullptr) V->SetVal(Ix, Value);
}

// Every element x of line l becomes (x - Centre) / Scale.
void ScaleLine(TMatrix& M, bool Columns, int32_t l, int32_t Across, double Centre, double Scale) {
  for (int32_t k = 1; k <= Across; ++k)
    LineElem(M, Columns, l, k) = (LineElem(M, Columns, l, k) - Centre) / Scale;
}

// MeanVar of the whole line l (a column when Columns, else a row) of length Across.
void LineMeanVar(const TMatrix& M, bool Columns, int32_t l, int32_t Across, double& Mean,
                 double& Variance) {
  if (Columns)
    M.MeanVar(l, 1, l, Across, Mean, Variance);
  else
    M.MeanVar(1, l, Across, l, Mean, Variance);
}

}  // namespace

// Standardises every column (or row) by its mean and standard deviation.
static void StandardizeLines(TMatrix& M, bool Columns, TVector* Means, TVector* StdDevs) {
  const int32_t Lines = Columns ? M.NrOfColumns() : M.NrOfRows(),
                Across = Columns ? M.NrOfRows() : M.NrOfColumns();
  for (int32_t l = 1; l <= Lines; ++l) {
    double Mean, Variance;
    LineMeanVar(M, Columns, l, Across, Mean, Variance);
    const double SD = std::sqrt(Variance);
    if (Variance > 0) ScaleLine(M, Columns, l, Across, Mean, SD);
    SetIfGiven(Means, l, Mean);
    SetIfGiven(StdDevs, l, SD);
  }
  M.Changed();
}

void TMatrix::StandardizeColumns(TVector* Means, TVector* StdDevs) {
  StandardizeLines(*this, true, Means, StdDevs);
}
void TMatrix::StandardizeRows(TVector* Means, TVector* StdDevs) {
  StandardizeLines(*this, false, Means, StdDevs);
}

static void QNormalizeLines(TMatrix& M, bool Columns, double RefQuant, TVector* Medians,
                            TVector* QuantDiffs) {
  const int32_t Lines = Columns ? M.NrOfColumns() : M.NrOfRows(),
                Across = Columns ? M.NrOfRows() : M.NrOfColumns();
  for (int32_t l = 1; l <= Lines; ++l) {
    const auto Pct = [&](double P) {
      return Columns ? M.Percentile(P, l, 1, l, Across) : M.Percentile(P, 1, l, Across, l);
    };
    const double Q = Pct(RefQuant), Med = Pct(50);
    const double D = std::fabs(Med - Q);
    if (D > 0) ScaleLine(M, Columns, l, Across, Med, D);
    SetIfGiven(Medians, l, Med);
    SetIfGiven(QuantDiffs, l, D);
  }
  M.Changed();
}

void TMatrix::QNormalizeColumns(double RefQuant, TVector* Medians, TVector* QuantDiffs) {
  QNormalizeLines(*this, true, RefQuant, Medians, QuantDiffs);
}
void TMatrix::QNormalizeRows(double RefQuant, TVector* Medians, TVector* QuantDiffs) {
  QNormalizeLines(*this, false, RefQuant, Medians, QuantDiffs);
}

static void MeanCenterLines(TMatrix& M, bool Columns, TVector* Means) {
  const int32_t Lines = Columns ? M.NrOfColumns() : M.NrOfRows(),
                Across = Columns ? M.NrOfRows() : M.NrOfColumns();
  if (Means != nullptr) Means->SetVecSize(Lines);
  for (int32_t l = 1; l <= Lines; ++l) {
    double Mean, Variance;
    LineMeanVar(M, Columns, l, Across, Mean, Variance);
    for (int32_t k = 1; k <= Across; ++k)
      LineElem(M, Columns, l, k) = LineElem(M, Columns, l, k) - Mean;
    SetIfGiven(Means, l, Mean);
  }
  M.Changed();
}

void TMatrix::MeanCenterColumns(TVector* Means) { MeanCenterLines(*this, true, Means); }
void TMatrix::MeanCenterRows(TVector* Means) { MeanCenterLines(*this, false, Means); }

double TMatrix::Correlate(const TMatrix* OtherMat) const {
  if (OtherMat == nullptr || OtherMat->FNCol != FNCol || OtherMat->FNRow != FNRow)
    RaiseComponentError<EZEQMatrixError>(this, "matrices do not match");
  double Sx = 0, Sy = 0, Sxx = 0, Syy = 0, Sxy = 0;
  for (int32_t c = 1; c <= FNCol; ++c)
    for (int32_t r = 1; r <= FNRow; ++r) {
      const double X = At(c, r), Y = OtherMat->At(c, r);
      Sx = Sx + X;
      Sy = Sy + Y;
      Sxx = Sxx + X * X;
      Syy = Syy + Y * Y;
      Sxy = Sxy + X * Y;
    }
  const double N = static_cast<double>(FNCol) * FNRow;
  if (N < 3 || !(Sxx > 0) || !(Syy > 0)) return 0.0;
  const double Qx = Sxx - Sx * Sx / N, Qy = Syy - Sy * Sy / N;
  if (Qx == 0 || Qy == 0) return 0.0;
  return (Sxy - Sx * Sy / N) / std::sqrt(std::fabs(Qx * Qy));
}

// ---- reorganisation and search ----

void TMatrix::SortRows(int32_t SortColIx, bool Ascending, int32_t LowCol, int32_t LowRow,
                       int32_t HighCol, int32_t HighRow) {
  Twin::SortLines(*this, true, SortColIx, Ascending, LowCol, LowRow, HighCol, HighRow);
}

void TMatrix::SortCols(int32_t SortRowIx, bool Ascending, int32_t LowCol, int32_t LowRow,
                       int32_t HighCol, int32_t HighRow) {
  Twin::SortLines(*this, false, SortRowIx, Ascending, LowCol, LowRow, HighCol, HighRow);
}

void TMatrix::MirrorColumns() { Twin::MirrorColumns(*this); }
void TMatrix::MirrorRows() { Twin::MirrorRows(*this); }
void TMatrix::ExchangeColumns(int32_t c1, int32_t c2) { Twin::ExchangeColumns(*this, c1, c2); }
void TMatrix::ExchangeRows(int32_t r1, int32_t r2) { Twin::ExchangeRows(*this, r1, r2); }

void TMatrix::EdgeVector(TOrientation Orient, TEdgeOp EdgeOp, TVector* DestVec) const {
  Twin::EdgeVector(*this, Orient, EdgeOp, DestVec);
}

void TMatrix::Find(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, double Value,
                   int32_t& ColIx, int32_t& RowIx) const {
  Twin::Find(*this, LowCol, HighCol, LowRow, HighRow, Value, ColIx, RowIx);
}

int32_t TMatrix::FindInSortedColumn(int32_t Col, bool ColIsAscending, double Value) const {
  return Twin::FindInSortedColumn(*this, Col, ColIsAscending, Value);
}

// ---- distances between rows ----

namespace {

// The distance of two rows X and Y of N features; the sums run over the features in order.
double RowDistance(TDistMode Mode, const double* X, const double* Y, int32_t N) {
  double Sxy = 0, Sxx = 0, Syy = 0, SAbs = 0, SSq = 0;
  for (int32_t c = 0; c < N; ++c) {
    const double D = X[c] - Y[c];
    Sxy = Sxy + X[c] * Y[c];
    Sxx = Sxx + X[c] * X[c];
    Syy = Syy + Y[c] * Y[c];
    SAbs = SAbs + std::fabs(D);
    SSq = SSq + D * D;
  }
  switch (Mode) {
    case dmJaccard:
      return Sxy / (Sxx + Syy - Sxy);
    case dmManhattan:
      return SAbs;
    case dmEuclid:
      return std::sqrt(SSq);
    case dmEuclidSqr:
      return SSq;
    case dmDice:
      return 2 * Sxy / (Sxx + Syy);
    default:
      return 0.0;
  }
}

}  // namespace

double TMatrix::DistanceOfObjects(TDistMode Mode, int32_t obj1, int32_t obj2) {
  if (Mode == dmUserDef) {
    double Distance = 0.0;
    if (OnCalcDistance) OnCalcDistance(this, obj1, obj2, Distance);
    return Distance;
  }
  std::vector<double> X(static_cast<size_t>(FNCol)),
      Y(static_cast<size_t>(FNCol));  // rows outside read 0
  for (int32_t c = 1; c <= FNCol; ++c)
    X[static_cast<size_t>(c - 1)] = GetVal(c, obj1),
                              Y[static_cast<size_t>(c - 1)] = GetVal(c, obj2);
  return RowDistance(Mode, X.data(), Y.data(), FNCol);
}

int32_t TMatrix::CalcDistMat(TDistMode Mode, TMatrix* DMat) {
  const int32_t M = FNRow;
  if (DMat == nullptr || DMat->NrOfColumns() != M) return -2;
  if (DMat->NrOfRows() != DMat->NrOfColumns()) return -1;
  if (DMat == this) {  // the rows are read while the result is written: work on a copy
    TMatrix Copy;
    Copy.Assign(this);
    Copy.OnChange = nullptr;
    return Copy.CalcDistMat(Mode, DMat);
  }
  // The rows as contiguous arrays, so that each distance reads its features in one sweep; the
  // sums are the same as DistanceOfObjects computes.
  std::vector<double> Rows;
  if (Mode != dmUserDef) {
    Rows = std::vector<double>(static_cast<size_t>(M) * static_cast<size_t>(FNCol));
    for (int32_t c = 1; c <= FNCol; ++c)
      for (int32_t r = 1; r <= M; ++r)
        Rows[static_cast<size_t>(r - 1) * static_cast<size_t>(FNCol) + static_cast<size_t>(c - 1)] =
            At(c, r);
  }
  const auto Row = [&](int32_t r) {
    return Rows.data() + static_cast<size_t>(r - 1) * static_cast<size_t>(FNCol);
  };
  for (int32_t i = 1; i < M; ++i) {
    DMat->SetVal(i, i, 0.0);
    for (int32_t j = i + 1; j <= M; ++j) {
      const double D = Mode == dmUserDef ? DistanceOfObjects(Mode, i, j)
                                         : RowDistance(Mode, Row(i), Row(j), FNCol);
      DMat->SetVal(i, j, D);
      DMat->SetVal(j, i, D);
    }
  }
  if (M >= 1) DMat->SetVal(M, M, 0.0);
  return 0;
}

}  // namespace zeq
