// TDataTable: statistics over ranges of number cells or marked cells, scaling of columns and
// rows, the covariance-type matrices, and the statistics of attributes and scales.
//
// Means and variances use the same long double sums as the vector statistics, and quartiles
// and percentiles are those of a TVector holding the same values, so a table range and a
// vector of its numbers agree exactly.
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "zeq/base/internal/moments.h"
#include "zeq/datatable/datatable.h"
#include "zeq/datatable/internal/datatable_access.h"

namespace zeq {

using Access = TDataTableAccess;

namespace {

constexpr uint8_t NotANumber = csNoNumber | csEmpty;

bool IsMetric(TMScaleType T) { return T == stInterval || T == stRatio; }

// Which cells of a range a statistic visits.
struct TSelection {
  bool MetricOnly;  // skip columns that are not interval or ratio
  uint8_t Mask;     // 0: every number cell; else number cells sharing a bit with Mask
};

constexpr TSelection NumCells{true, 0};
TSelection MarkedCells(uint8_t Mask) { return {true, static_cast<uint8_t>(Mask & 252)}; }

// Calls F(x) for the selected cells of the repaired range, column by column.
template <class F>
void VisitCells(const TDataTable& T, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                int32_t HighRow, TSelection Sel, F&& Take) {
  T.MakeValidColRange(LowCol, HighCol);
  T.MakeValidRowRange(LowRow, HighRow);
  const std::vector<uint8_t>& States = Access::States(T);
  const TMatrix& Values = *T.NumericData();
  for (int32_t c = LowCol; c <= HighCol; ++c) {
    if (Sel.MetricOnly && !IsMetric(T.GetMScaleType(c))) continue;
    for (int32_t r = LowRow; r <= HighRow; ++r) {
      const uint8_t S = States[Access::Cell(T, c, r)];
      if ((S & NotANumber) != 0 || (Sel.Mask != 0 && (S & Sel.Mask) == 0)) continue;
      Take(Values.GetVal(c, r));
    }
  }
}

template <class... A>
int32_t MeanVarOf(const TDataTable& T, TSelection Sel, double& Mean, double& Variance, A... Range) {
  detail::TMomentSums S;
  VisitCells(T, Range..., Sel, [&](double X) { S.Take(X); });
  Mean = 0, Variance = 1.0;
  if (S.Count > 0) S.Result(Mean, Variance);
  return static_cast<int32_t>(S.Count);
}

template <class... A>
double SumOf(const TDataTable& T, TSelection Sel, int32_t& Count, A... Range) {
  long double Sum = 0;
  Count = 0;
  VisitCells(T, Range..., Sel, [&](double X) { Sum += X, ++Count; });
  return static_cast<double>(Sum);
}

template <class... A>
int32_t MinMaxOf(const TDataTable& T, TSelection Sel, double& Min, double& Max, A... Range) {
  Min = static_cast<double>(uc_MaxReal), Max = -Min;
  int32_t Count = 0;
  VisitCells(T, Range..., Sel,
             [&](double X) { Min = std::min(Min, X), Max = std::max(Max, X), ++Count; });
  return Count;
}

// The selected values in a TVector (column by column).
template <class... A>
void CollectInto(const TDataTable& T, TSelection Sel, TVector& V, A... Range) {
  std::vector<double> X;
  try {
    VisitCells(T, Range..., Sel, [&](double Value) { X.push_back(Value); });
    V.SetVecSize(static_cast<int32_t>(X.size()));
  } catch (const std::bad_alloc&) {
    RaiseComponentError<EZEQDataTableError>(&T, "not enough memory on heap");
  } catch (const EZEQVectorError&) {
    RaiseComponentError<EZEQDataTableError>(&T, "not enough memory on heap");
  }
  for (size_t i = 0; i < X.size(); ++i) V.SetVal(static_cast<int32_t>(i + 1), X[i]);
}

template <class... A>
double PercentileOf(const TDataTable& T, TSelection Sel, double Percentile, A... Range) {
  TVector V;
  CollectInto(T, Sel, V, Range...);
  if (V.NrOfElem() == 0) return 0.0;
  return V.Percentile(Percentile, 1, V.NrOfElem());
}

}  // namespace

int32_t TDataTable::MeanVarOfNumCells(int32_t LowCol, int32_t LowRow, int32_t HighCol,
                                      int32_t HighRow, double& Mean, double& Variance) const {
  return MeanVarOf(*this, NumCells, Mean, Variance, LowCol, LowRow, HighCol, HighRow);
}

int32_t TDataTable::MeanVarOfMarkedCells(int32_t LowCol, int32_t LowRow, int32_t HighCol,
                                         int32_t HighRow, uint8_t Mask, double& Mean,
                                         double& Variance) const {
  return MeanVarOf(*this, MarkedCells(Mask), Mean, Variance, LowCol, LowRow, HighCol, HighRow);
}

double TDataTable::SumOfNumCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                                 int32_t& Count) const {
  return SumOf(*this, NumCells, Count, LowCol, LowRow, HighCol, HighRow);
}

double TDataTable::SumOfMarkedCells(int32_t LowCol, int32_t LowRow, int32_t HighCol,
                                    int32_t HighRow, uint8_t Mask, int32_t& Count) const {
  return SumOf(*this, MarkedCells(Mask), Count, LowCol, LowRow, HighCol, HighRow);
}

int32_t TDataTable::MinMaxOfNumCells(int32_t LowCol, int32_t LowRow, int32_t HighCol,
                                     int32_t HighRow, double& Min, double& Max) const {
  return MinMaxOf(*this, NumCells, Min, Max, LowCol, LowRow, HighCol, HighRow);
}

int32_t TDataTable::MinMaxOfMarkedCells(int32_t LowCol, int32_t LowRow, int32_t HighCol,
                                        int32_t HighRow, uint8_t Mask, double& Min,
                                        double& Max) const {
  return MinMaxOf(*this, MarkedCells(Mask), Min, Max, LowCol, LowRow, HighCol, HighRow);
}

int32_t TDataTable::MinMaxOfValidCells(int32_t LowCol, int32_t LowRow, int32_t HighCol,
                                       int32_t HighRow, double& Min, double& Max) const {
  return MinMaxOf(*this, TSelection{false, 0}, Min, Max, LowCol, LowRow, HighCol, HighRow);
}

double TDataTable::GeometricMeanOfNumCells(int32_t LowCol, int32_t LowRow, int32_t HighCol,
                                           int32_t HighRow, int32_t& Count) const {
  long double SumLn = 0;
  bool Zero = false;
  Count = 0;
  VisitCells(*this, LowCol, LowRow, HighCol, HighRow, NumCells, [&](double X) {
    if (X < 0)
      RaiseComponentError<EZEQMatrixError>(this, "negative argument passed to GeometricMean");
    if (X == 0) Zero = true;
    if (X > 0) SumLn += std::log(static_cast<long double>(X)), ++Count;
  });
  if (Zero || Count == 0) return 0.0;
  return static_cast<double>(std::exp(SumLn / Count));
}

double TDataTable::HarmonicMeanOfNumCells(int32_t LowCol, int32_t LowRow, int32_t HighCol,
                                          int32_t HighRow, int32_t& Count) const {
  long double SumInv = 0;
  Count = 0;
  VisitCells(*this, LowCol, LowRow, HighCol, HighRow, NumCells, [&](double X) {
    if (!(X > 0))
      RaiseComponentError<EZEQMatrixError>(this,
                                           "negative or zero argument passed to HarmonicMean");
    SumInv += 1 / static_cast<long double>(X), ++Count;
  });
  return Count == 0 ? 0.0 : static_cast<double>(Count / SumInv);
}

int32_t TDataTable::QuartilesOfNumCells(int32_t LowCol, int32_t LowRow, int32_t HighCol,
                                        int32_t HighRow, double& Q1, double& Q2, double& Q3) const {
  TVector V;
  CollectInto(*this, NumCells, V, LowCol, LowRow, HighCol, HighRow);
  Q1 = Q2 = Q3 = 0;
  if (V.NrOfElem() > 0) V.Quartiles(1, V.NrOfElem(), Q1, Q2, Q3);
  return V.NrOfElem();
}

double TDataTable::PercentileOfNumCells(int32_t LowCol, int32_t LowRow, int32_t HighCol,
                                        int32_t HighRow, double Percentile) const {
  return PercentileOf(*this, NumCells, Percentile, LowCol, LowRow, HighCol, HighRow);
}

double TDataTable::PercentileOfMarkedCells(int32_t LowCol, int32_t LowRow, int32_t HighCol,
                                           int32_t HighRow, uint8_t Mask, double Percentile) const {
  return PercentileOf(*this, MarkedCells(Mask), Percentile, LowCol, LowRow, HighCol, HighRow);
}

namespace {

// Cells of every column whose state satisfies Test.
template <class P>
int32_t CountStates(const TDataTable& T, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                    int32_t HighRow, P&& Test) {
  T.MakeValidColRange(LowCol, HighCol);
  T.MakeValidRowRange(LowRow, HighRow);
  int32_t Count = 0;
  for (int32_t c = LowCol; c <= HighCol; ++c)
    for (int32_t r = LowRow; r <= HighRow; ++r) Count += Test(T.GetCellState(c, r));
  return Count;
}

}  // namespace

int32_t TDataTable::CountNumCells(int32_t LowCol, int32_t LowRow, int32_t HighCol,
                                  int32_t HighRow) const {
  int32_t Count = 0;
  VisitCells(*this, LowCol, LowRow, HighCol, HighRow, NumCells, [&](double) { ++Count; });
  return Count;
}

int32_t TDataTable::CountValidCells(int32_t LowCol, int32_t LowRow, int32_t HighCol,
                                    int32_t HighRow) const {
  return CountStates(*this, LowCol, LowRow, HighCol, HighRow,
                     [](uint8_t S) { return (S & NotANumber) == 0; });
}

int32_t TDataTable::CountEmptyCells(int32_t LowCol, int32_t LowRow, int32_t HighCol,
                                    int32_t HighRow) const {
  return CountStates(*this, LowCol, LowRow, HighCol, HighRow,
                     [](uint8_t S) { return (S & csEmpty) != 0; });
}

int32_t TDataTable::CountImputedCells(int32_t LowCol, int32_t LowRow, int32_t HighCol,
                                      int32_t HighRow) const {
  return CountStates(*this, LowCol, LowRow, HighCol, HighRow,
                     [](uint8_t S) { return (S & csImputed) != 0; });
}

int32_t TDataTable::CopyCellsToVector(int32_t LowCol, int32_t LowRow, int32_t HighCol,
                                      int32_t HighRow, uint8_t Mask, TVector* Vector) const {
  if (Vector == nullptr) return 0;
  CollectInto(*this, TSelection{false, static_cast<uint8_t>(Mask == 255 ? 0 : Mask)}, *Vector,
              LowCol, LowRow, HighCol, HighRow);
  return Vector->NrOfElem();
}

// ---- scaling ----

namespace {

// Scales the number cells of column c (ByColumn) or row c over all lines of the other
// dimension: x := (x - Mean) / Scale; returns the mean and variance of those cells.
void ScaleLine(TDataTable& T, bool ByColumn, int32_t c, bool Standardize, double& Mean,
               double& Variance, bool& Scaled) {
  const int32_t Across = ByColumn ? T.NrOfRows() : T.NrOfColumns();
  const auto At = [&](int32_t i) { return ByColumn ? std::pair{c, i} : std::pair{i, c}; };
  detail::TMomentSums S;
  for (int32_t i = 1; i <= Across; ++i) {
    const auto [Col, Row] = At(i);
    if (T.GetIsNumber(Col, Row)) S.Take(T.NumericData()->GetVal(Col, Row));
  }
  Mean = 0, Variance = 1.0;
  if (S.Count > 0) S.Result(Mean, Variance);
  if (Standardize && !(Variance > 0)) return;
  const double Sd = Standardize ? std::sqrt(Variance) : 1.0;
  for (int32_t i = 1; i <= Across; ++i) {
    const auto [Col, Row] = At(i);
    if (!T.GetIsNumber(Col, Row)) continue;
    const double X = T.NumericData()->GetVal(Col, Row);
    T.NumericData()->SetVal(Col, Row, Standardize ? (X - Mean) / Sd : X - Mean);
  }
  Scaled = true;
}

void SetIfGiven(TVector* V, int32_t i, double X) {
  if (V != nullptr) V->SetVal(i, X);
}

void ScaleLines(TDataTable& T, bool ByColumn, bool Standardize, TVector* Means, TVector* StdDevs,
                const char* RowMessage) {
  if (!ByColumn) {
    TIntArray Categorial;
    T.ListOfCategorialVars(Categorial);
    if (!Categorial.empty()) throw EZEQDataTableError(RowMessage);
  }
  const int32_t Lines = ByColumn ? T.NrOfColumns() : T.NrOfRows();
  bool Scaled = false;
  {
    Access::TMatrixSilence Silence(T);
    for (int32_t l = 1; l <= Lines; ++l) {
      if (ByColumn && !IsMetric(T.GetMScaleType(l))) continue;
      double Mean, Variance;
      ScaleLine(T, ByColumn, l, Standardize, Mean, Variance, Scaled);
      SetIfGiven(Means, l, Mean);
      SetIfGiven(StdDevs, l, std::sqrt(Variance));
    }
  }
  if (Scaled) Access::Fire(T, T.OnChange);
}

}  // namespace

void TDataTable::StandardizeNumCellColumns(TVector* Means, TVector* StdDevs) {
  ScaleLines(*this, true, true, Means, StdDevs, nullptr);
}

void TDataTable::StandardizeNumCellRows(TVector* Means, TVector* StdDevs) {
  ScaleLines(*this, false, true, Means, StdDevs,
             "standardization of rows is not possible with nominal or ordinal variables");
}

void TDataTable::MeanCenterNumCellColumns(TVector* Means) {
  ScaleLines(*this, true, false, Means, nullptr, nullptr);
}

void TDataTable::MeanCenterNumCellRows(TVector* Means) {
  ScaleLines(*this, false, false, Means, nullptr,
             "mean centering of rows is not possible with nominal or ordinal variables");
}

// ---- covariance-type matrices ----

bool TDataTable::CalcCovar(TMatrix* OutMat, int32_t LowCol, int32_t HighCol, int32_t LowRow,
                           int32_t HighRow, int32_t Mode) {
  AbortMathProc = false;
  MakeValidColRange(LowCol, HighCol);
  MakeValidRowRange(LowRow, HighRow);
  const int32_t p = HighCol - LowCol + 1;
  if (OutMat == nullptr || OutMat->NrOfColumns() < p || OutMat->NrOfRows() < p) return false;
  std::vector<double> Means(static_cast<size_t>(p));
  for (int32_t i = 0; i < p; ++i) {
    double Var;
    MeanVarOfNumCells(LowCol + i, LowRow, LowCol + i, HighRow, Means[static_cast<size_t>(i)], Var);
  }
  for (int32_t i = 0; i < p; ++i) {
    if (AbortRequested()) return false;
    for (int32_t j = 0; j <= i; ++j) {
      const int32_t ci = LowCol + i, cj = LowCol + j;
      long double Sx = 0, Sy = 0, Sxx = 0, Syy = 0, Sxy = 0, Cross = 0;
      int64_t n = 0;
      for (int32_t r = LowRow; r <= HighRow; ++r) {
        if (!GetIsNumber(ci, r) || !GetIsNumber(cj, r)) continue;
        const long double x = GetElem(ci, r), y = GetElem(cj, r);
        const long double dx = x - Means[static_cast<size_t>(i)],
                          dy = y - Means[static_cast<size_t>(j)];
        Sx += x, Sy += y, Sxx += x * x, Syy += y * y, Sxy += x * y, ++n;
        Cross += Mode == 1 ? dx * dy : Mode == 4 ? (x - y) * (x - y) : x * y;
      }
      long double c = 0;
      if (Mode == 2 || Mode == 3) {
        const long double Qx = n >= 3 ? Sxx - Sx * Sx / n : 0, Qy = n >= 3 ? Syy - Sy * Sy / n : 0;
        if (Qx > 0 && Qy > 0) c = (Sxy - Sx * Sy / n) / std::sqrt(std::fabs(Qx * Qy));
        if (Mode == 3) c *= c;
        if (i == j) c = 1;
      } else if (n >= 2) {
        c = Cross / (n - 1);
      }
      OutMat->SetVal(j + 1, i + 1, static_cast<double>(c));
      OutMat->SetVal(i + 1, j + 1, static_cast<double>(c));
    }
    AdvanceProgress(1.0);
  }
  return !AbortRequested();
}

int32_t TDataTable::FillMarkedCells(double Value, uint8_t Mask) {
  int32_t Count = 0;
  {
    Access::TMatrixSilence Silence(*this);
    for (int32_t c = 1; c <= FNrOfCols; ++c)
      for (int32_t r = 1; r <= FNrOfRows; ++r)
        if ((FCState[Cell(c, r)] & Mask) != 0) FNumericData->SetVal(c, r, Value), ++Count;
  }
  if (Count > 0) Fire(OnChange);
  return Count;
}

// ---- attributes and scales ----

namespace {

int32_t Levels(const std::vector<int32_t>& Attributes) {
  std::array<bool, 256> Seen{};
  for (int32_t A : Attributes) Seen[static_cast<size_t>(A & 0xFF)] = true;
  return static_cast<int32_t>(std::count(Seen.begin(), Seen.end(), true));
}

// The extreme attribute of positions Low..High (1-based) that beats 0 (Better(a, best)), and
// its position; 0 and 0 when none does.
template <class B>
int32_t Extreme(const std::vector<int32_t>& A, int32_t Low, int32_t High, int32_t& Index,
                B Better) {
  int32_t Best = 0;
  Index = 0;
  for (int32_t i = Low; i <= High; ++i)
    if (Better(A[static_cast<size_t>(i - 1)], Best))
      Best = A[static_cast<size_t>(i - 1)], Index = i;
  return Best;
}

}  // namespace

int32_t TDataTable::RowAttribLevels() const { return Levels(FRowAtt); }
int32_t TDataTable::ColAttribLevels() const { return Levels(FColAtt); }

int32_t TDataTable::MaxRowAttrib(int32_t LowRow, int32_t HighRow, int32_t& Index) const {
  MakeValidRowRange(LowRow, HighRow);
  return Extreme(FRowAtt, LowRow, HighRow, Index, std::greater<>());
}
int32_t TDataTable::MinRowAttrib(int32_t LowRow, int32_t HighRow, int32_t& Index) const {
  MakeValidRowRange(LowRow, HighRow);
  return Extreme(FRowAtt, LowRow, HighRow, Index, std::less<>());
}
int32_t TDataTable::MaxColAttrib(int32_t LowCol, int32_t HighCol, int32_t& Index) const {
  MakeValidColRange(LowCol, HighCol);
  return Extreme(FColAtt, LowCol, HighCol, Index, std::greater<>());
}
int32_t TDataTable::MinColAttrib(int32_t LowCol, int32_t HighCol, int32_t& Index) const {
  MakeValidColRange(LowCol, HighCol);
  return Extreme(FColAtt, LowCol, HighCol, Index, std::less<>());
}

TMScaleType TDataTable::FindHighestMLevel(int32_t LowCol, int32_t HighCol) const {
  MakeValidColRange(LowCol, HighCol);
  TMScaleType Level = stNominal;
  for (int32_t c = LowCol; c <= HighCol; ++c) Level = std::max(Level, GetMScaleType(c));
  return Level;
}

TMScaleType TDataTable::FindLowestMLevel(int32_t LowCol, int32_t HighCol) const {
  MakeValidColRange(LowCol, HighCol);
  TMScaleType Level = stRatio;
  for (int32_t c = LowCol; c <= HighCol; ++c) Level = std::min(Level, GetMScaleType(c));
  return Level;
}

bool TDataTable::CheckDichotomousColumn(int32_t Col, double& Level1, double& Level2) const {
  Level1 = Level2 = 0;
  if (!ValidCol(Col) || FNrOfRows < 2) return false;
  Level1 = FNumericData->GetVal(Col, 1);
  int32_t r = 2;
  while (r <= FNrOfRows && FNumericData->GetVal(Col, r) == Level1) ++r;
  if (r > FNrOfRows) return false;
  Level2 = FNumericData->GetVal(Col, r);
  for (; r <= FNrOfRows; ++r) {
    const double X = FNumericData->GetVal(Col, r);
    if (X != Level1 && X != Level2) return false;
  }
  return true;
}

bool TDataTable::IsConstantColumn(int32_t Col) const {
  if (!ValidCol(Col)) return false;
  for (int32_t r = 2; r <= FNrOfRows; ++r)
    if (FNumericData->GetVal(Col, r) != FNumericData->GetVal(Col, 1)) return false;
  return true;
}

}  // namespace zeq
