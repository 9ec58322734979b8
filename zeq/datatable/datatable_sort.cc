// TDataTable: sorting by values (through the numeric matrix, whose exchanges the table
// follows), by attributes and by names, and unfolding the table into one column.
#include <algorithm>
#include <memory>
#include <string>

#include "zeq/base/internal/comb_sort.h"
#include "zeq/base/internal/utf8.h"
#include "zeq/datatable/datatable.h"
#include "zeq/datatable/internal/datatable_access.h"

namespace zeq {

using Access = TDataTableAccess;

void TDataTable::SortCols(int32_t KeyRow, bool Ascending, int32_t LowCol, int32_t LowRow,
                          int32_t HighCol, int32_t HighRow, bool ExchangeNames) {
  FSortIncludeHd = ExchangeNames;
  FNumericData->SortCols(KeyRow, Ascending, LowCol, LowRow, HighCol, HighRow);
  if (ExchangeNames) {
    Fire(OnChangeNames);
    Fire(OnChangeAttrib);
  }
}

void TDataTable::SortRows(int32_t KeyCol, bool Ascending, int32_t LowCol, int32_t LowRow,
                          int32_t HighCol, int32_t HighRow, bool ExchangeNames) {
  FSortIncludeHd = ExchangeNames;
  FNumericData->SortRows(KeyCol, Ascending, LowCol, LowRow, HighCol, HighRow);
  if (ExchangeNames) {
    Fire(OnChangeNames);
    Fire(OnChangeAttrib);
  }
}

void TDataTable::ExchangeDuringSort(TObject* /*Sender*/, uint8_t ExchgWhat, int32_t Index1,
                                    int32_t Index2, int32_t First, int32_t Last) {
  const bool Columns = ExchgWhat == 1;
  if (Columns ? ValidCol(Index1) && ValidCol(Index2) : ValidRow(Index1) && ValidRow(Index2)) {
    const auto a = static_cast<size_t>(Index1 - 1), b = static_cast<size_t>(Index2 - 1);
    if (FSortIncludeHd) {
      std::vector<int32_t>& Att = Columns ? FColAtt : FRowAtt;
      std::vector<TDTNameStr>& Names = Columns ? FColName : FRowName;
      std::swap(Att[a], Att[b]);
      std::swap(Names[a], Names[b]);
    }
    for (int32_t k = std::max(First, 1); k <= std::min(Last, Columns ? FNrOfRows : FNrOfCols); ++k)
      std::swap(FCState[Columns ? Cell(Index1, k) : Cell(k, Index1)],
                FCState[Columns ? Cell(Index2, k) : Cell(k, Index2)]);
  }
  if (OnSortExchange) OnSortExchange(this, ExchgWhat, Index1, Index2, First, Last);
}

namespace {

// The comb sort of the lines Low..High (rows, or columns when Columns) by Key(line): attributes,
// names and the values across the other range OtherLow..OtherHigh move along; every exchange
// is reported as (Columns ? 1 : 2, i, j, OtherLow, OtherHigh).
template <class K>
void SortLinesBy(TDataTable& T, bool Columns, bool Ascending, int32_t Low, int32_t High,
                 int32_t OtherLow, int32_t OtherHigh, K Key) {
  std::vector<int32_t>& Att = Columns ? Access::ColAtt(T) : Access::RowAtt(T);
  std::vector<TDTNameStr>& Names = Columns ? Access::ColNames(T) : Access::RowNames(T);
  TMatrix& Values = *T.NumericData();
  {
    Access::TMatrixSilence Silence(T);
    detail::CombSortPasses(
        int64_t{High} - Low + 1, int64_t{High} - Low,
        [&](int64_t Gap) {
          bool Exchanged = false;
          for (int32_t i = Low; i + Gap <= High; ++i) {
            const auto j = static_cast<int32_t>(i + Gap);
            const auto A = Key(i), B = Key(j);
            if (!(Ascending ? B < A : A < B)) continue;
            std::swap(Att[static_cast<size_t>(i - 1)], Att[static_cast<size_t>(j - 1)]);
            std::swap(Names[static_cast<size_t>(i - 1)], Names[static_cast<size_t>(j - 1)]);
            for (int32_t k = OtherLow; k <= OtherHigh; ++k) {
              const int32_t ci = Columns ? i : k, ri = Columns ? k : i;
              const int32_t cj = Columns ? j : k, rj = Columns ? k : j;
              const double X = Values.GetVal(ci, ri);
              Values.SetVal(ci, ri, Values.GetVal(cj, rj));
              Values.SetVal(cj, rj, X);
            }
            if (T.OnSortExchange) T.OnSortExchange(&T, Columns ? 1 : 2, i, j, OtherLow, OtherHigh);
            Exchanged = true;
          }
          return Exchanged;
        },
        [] {});
  }
  Access::Fire(T, T.OnChange);
  Access::Fire(T, T.OnChangeAttrib);
}

}  // namespace

void TDataTable::SortRowAttributes(bool Ascending, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                                   int32_t HighRow) {
  MakeValidColRange(LowCol, HighCol);
  MakeValidRowRange(LowRow, HighRow);
  SortLinesBy(*this, false, Ascending, LowRow, HighRow, LowCol, HighCol,
              [this](int32_t r) { return FRowAtt[static_cast<size_t>(r - 1)]; });
}

void TDataTable::SortColAttributes(bool Ascending, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                                   int32_t HighRow) {
  MakeValidColRange(LowCol, HighCol);
  MakeValidRowRange(LowRow, HighRow);
  SortLinesBy(*this, true, Ascending, LowCol, HighCol, LowRow, HighRow,
              [this](int32_t c) { return FColAtt[static_cast<size_t>(c - 1)]; });
}

void TDataTable::SortRowNames(bool Ascending, bool IgnoreCase, int32_t LowCol, int32_t LowRow,
                              int32_t HighCol, int32_t HighRow) {
  MakeValidColRange(LowCol, HighCol);
  MakeValidRowRange(LowRow, HighRow);
  SortLinesBy(*this, false, Ascending, LowRow, HighRow, LowCol, HighCol, [&](int32_t r) {
    const TDTNameStr& N = FRowName[static_cast<size_t>(r - 1)];
    return IgnoreCase ? Access::Lower(N) : N;
  });
}

void TDataTable::SortRowNames(bool Ascending, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                              int32_t HighRow) {
  SortRowNames(Ascending, false, LowCol, LowRow, HighCol, HighRow);
}

void TDataTable::SortColNames(bool Ascending, bool IgnoreCase, int32_t LowCol, int32_t LowRow,
                              int32_t HighCol, int32_t HighRow) {
  MakeValidColRange(LowCol, HighCol);
  MakeValidRowRange(LowRow, HighRow);
  SortLinesBy(*this, true, Ascending, LowCol, HighCol, LowRow, HighRow, [&](int32_t c) {
    const TDTNameStr& N = FColName[static_cast<size_t>(c - 1)];
    return IgnoreCase ? Access::Lower(N) : N;
  });
}

void TDataTable::SortColNames(bool Ascending, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                              int32_t HighRow) {
  SortColNames(Ascending, false, LowCol, LowRow, HighCol, HighRow);
}

// ---- serialization ----

void TDataTable::Serialize(bool AddColumnIDs, bool AddIndices) {
  const int32_t Cols = FNrOfCols, Rows = FNrOfRows;
  const int32_t Results = 1 + (AddColumnIDs ? 1 : 0) + (AddIndices ? 2 : 0);
  const TMScaleType DataLevel = FindHighestMLevel(1, Cols);
  auto Source = std::make_unique<TDataTable>();
  Source->CopyContentsFrom(this);
  const int64_t Length = int64_t{Cols} * Rows;
  if (Length > INT32_MAX)
    RaiseComponentError<EZEQDataTableError>(this, "not enough memory on heap");
  Resize(Results, static_cast<int32_t>(Length));
  {
    Access::TSuspend Quiet(*this);
    Access::TMatrixSilence Silence(*this);
    for (int32_t c = 1; c <= Results; ++c) FVType[static_cast<size_t>(c - 1)] = TVTypeSpec{};
    std::fill(FCState.begin(), FCState.end(), 0);
    std::fill(FColAtt.begin(), FColAtt.end(), 0);
    const int32_t DataCol = Results, RowIndexCol = Results - 1, ColIndexCol = Results - 2;
    if (AddColumnIDs) {
      // At most 150 identifiers fit a column: later source columns keep their numbers only.
      for (int32_t c = 1; c <= std::min(Cols, MaxNominalIDs); ++c)
        AddNominalID(1, detail::CutToChars(std::to_string(c) + ":" + Source->GetColName(c),
                                           NominalIDLength));
      FColName[0] = "(column)";
    }
    if (AddIndices) {
      FColName[static_cast<size_t>(ColIndexCol - 1)] = "(col. index)";
      FColName[static_cast<size_t>(RowIndexCol - 1)] = "(row index)";
    }
    FColName[static_cast<size_t>(DataCol - 1)] = "(data)";
    FVType[static_cast<size_t>(DataCol - 1)].MScaleType = DataLevel;
    int32_t k = 0;
    for (int32_t c = 1; c <= Cols; ++c)
      for (int32_t r = 1; r <= Rows; ++r) {
        ++k;
        if (AddColumnIDs) FNumericData->SetVal(1, k, c);
        if (AddIndices) {
          FNumericData->SetVal(ColIndexCol, k, c);
          FNumericData->SetVal(RowIndexCol, k, r);
        }
        FNumericData->SetVal(DataCol, k, Source->GetElem(c, r));
        FCState[Cell(DataCol, k)] = Source->GetCellState(c, r);
        FRowName[static_cast<size_t>(k - 1)] = Source->FRowName[static_cast<size_t>(r - 1)];
        FRowAtt[static_cast<size_t>(k - 1)] = Source->FRowAtt[static_cast<size_t>(r - 1)];
      }
  }
  Fire(OnChange);
}

}  // namespace zeq
