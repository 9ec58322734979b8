// TDataTable: sizing, inserting and removing rows and columns, clearing, the copies between
// tables, adopting an outside matrix, mirroring and exchanging.
//
// Every resize builds the new per-row and per-column arrays before it changes anything, so
// that a failed allocation leaves the table as it was.
#include <algorithm>
#include <charconv>
#include <new>
#include <string>

#include "zeq/datatable/datatable.h"
#include "zeq/datatable/internal/datatable_access.h"

namespace zeq {

using Access = TDataTableAccess;

namespace {

// Names "<Prefix><n>" (a two-character prefix) for the positions From..To (1-based) of Names.
void DefaultNames(std::vector<TDTNameStr>& Names, const char* Prefix, size_t From, size_t To) {
  char Text[24] = {Prefix[0], Prefix[1]};
  for (size_t i = From; i <= To; ++i) {
    const char* End = std::to_chars(Text + 2, Text + sizeof Text, i).ptr;
    Names[i - 1].assign(Text, static_cast<size_t>(End - Text));
  }
}

// A per-line array resized to n entries, new ones Fill.
template <class T>
std::vector<T> Resized(const std::vector<T>& Old, int32_t n, const T& Fill) {
  std::vector<T> New(Old.begin(),
                     Old.begin() + std::min<ptrdiff_t>(static_cast<ptrdiff_t>(Old.size()), n));
  New.resize(static_cast<size_t>(n), Fill);
  return New;
}

}  // namespace

void TDataTable::Resize(int32_t Cols, int32_t Rows) {
  Cols = std::max(Cols, 0);
  Rows = std::max(Rows, 0);
  if (Cols == FNrOfCols && Rows == FNrOfRows) return;
  const int32_t OldCols = FNrOfCols, OldRows = FNrOfRows;
  try {
    std::vector<TDTNameStr> ColNames = Resized(FColName, Cols, TDTNameStr{});
    std::vector<TDTNameStr> RowNames = Resized(FRowName, Rows, TDTNameStr{});
    DefaultNames(ColNames, "C-", static_cast<size_t>(std::min(OldCols, Cols)) + 1,
                 static_cast<size_t>(Cols));
    DefaultNames(RowNames, "R-", static_cast<size_t>(std::min(OldRows, Rows)) + 1,
                 static_cast<size_t>(Rows));
    std::vector<int32_t> ColAtt = Resized(FColAtt, Cols, 0), RowAtt = Resized(FRowAtt, Rows, 0);
    std::vector<TVTypeSpec> Types = Resized(FVType, Cols, TVTypeSpec{});
    std::vector<uint8_t> States(static_cast<size_t>(Cols) * static_cast<size_t>(Rows), 0);
    for (int32_t c = 1; c <= std::min(OldCols, Cols); ++c)
      std::copy_n(FCState.begin() + static_cast<ptrdiff_t>(Cell(c, 1)), std::min(OldRows, Rows),
                  States.begin() + static_cast<ptrdiff_t>(static_cast<size_t>(c - 1) *
                                                          static_cast<size_t>(Rows)));
    if (FNumericData->NrOfColumns() != Cols || FNumericData->NrOfRows() != Rows) {
      Access::TMatrixSilence Silence(*this);
      FNumericData->Resize(Cols, Rows);
    }
    FColName = std::move(ColNames), FRowName = std::move(RowNames);
    FColAtt = std::move(ColAtt), FRowAtt = std::move(RowAtt);
    FVType = std::move(Types), FCState = std::move(States);
  } catch (const std::bad_alloc&) {
    RaiseComponentError<EZEQDataTableError>(this, "not enough memory on heap");
  } catch (const EZEQMatrixError&) {
    RaiseComponentError<EZEQDataTableError>(this, "not enough memory on heap");
  }
  FNrOfCols = Cols, FNrOfRows = Rows;
  FireResize(OldCols, OldRows);
}

void TDataTable::SetNrCols(int32_t Cols) { Resize(Cols, FNrOfRows); }
void TDataTable::SetNrRows(int32_t Rows) { Resize(FNrOfCols, Rows); }

// ---- inserting and removing ----

namespace {

// Row To of every column takes over row From (value through GetElem, state, name, attribute).
void MoveRow(TDataTable& T, int32_t From, int32_t To) {
  for (int32_t c = 1; c <= T.NrOfColumns(); ++c) {
    T.SetElem(c, To, T.GetElem(c, From));
    Access::States(T)[Access::Cell(T, c, To)] = Access::States(T)[Access::Cell(T, c, From)];
  }
  Access::RowNames(T)[static_cast<size_t>(To - 1)] =
      Access::RowNames(T)[static_cast<size_t>(From - 1)];
  Access::RowAtt(T)[static_cast<size_t>(To - 1)] = Access::RowAtt(T)[static_cast<size_t>(From - 1)];
}

// Column To takes over column From: values through GetElem, states, name, attribute, scale;
// the identifiers when the moved column is categorial, else cleared when ClearIDs.
void MoveColumn(TDataTable& T, int32_t From, int32_t To, bool ClearIDs) {
  for (int32_t r = 1; r <= T.NrOfRows(); ++r) {
    T.SetElem(To, r, T.GetElem(From, r));
    Access::States(T)[Access::Cell(T, To, r)] = Access::States(T)[Access::Cell(T, From, r)];
  }
  const auto f = static_cast<size_t>(From - 1), t = static_cast<size_t>(To - 1);
  Access::ColNames(T)[t] = Access::ColNames(T)[f];
  Access::ColAtt(T)[t] = Access::ColAtt(T)[f];
  TVTypeSpec& Dest = Access::Types(T)[t];
  const TVTypeSpec& Src = Access::Types(T)[f];
  Dest.MScaleType = Src.MScaleType;
  if (Access::IsCategorial(T, From))
    Dest.NominalIDs = Src.NominalIDs;
  else if (ClearIDs)
    Dest.NominalIDs.fill({});
}

}  // namespace

void TDataTable::InsertRow(int32_t Row) {
  if (Row < 1 || Row > FNrOfRows + 1) return;
  SetNrRows(FNrOfRows + 1);
  {
    Access::TMatrixSilence Silence(*this);
    for (int32_t r = FNrOfRows; r > Row; --r) MoveRow(*this, r - 1, r);
    for (int32_t c = 1; c <= FNrOfCols; ++c) {
      FNumericData->SetVal(c, Row, 0);
      FCState[Cell(c, Row)] = 0;
    }
  }
  FRowName[static_cast<size_t>(Row - 1)].clear();
  FRowAtt[static_cast<size_t>(Row - 1)] = 0;
  Fire(OnChangeSetup);
}

void TDataTable::InsertColumn(int32_t Col) {
  if (Col < 1 || Col > FNrOfCols + 1) return;
  SetNrCols(FNrOfCols + 1);
  {
    Access::TMatrixSilence Silence(*this);
    for (int32_t c = FNrOfCols; c > Col; --c) MoveColumn(*this, c - 1, c, true);
    for (int32_t r = 1; r <= FNrOfRows; ++r) {
      FNumericData->SetVal(Col, r, 0);
      FCState[Cell(Col, r)] = 0;
    }
  }
  FColName[static_cast<size_t>(Col - 1)].clear();
  FColAtt[static_cast<size_t>(Col - 1)] = 0;
  FVType[static_cast<size_t>(Col - 1)] = TVTypeSpec{};
  Fire(OnChangeSetup);
}

void TDataTable::RemoveRow(int32_t Row) {
  if (Row < 1 || Row > FNrOfRows || FNrOfRows < 2) return;
  {
    Access::TMatrixSilence Silence(*this);
    for (int32_t r = Row; r < FNrOfRows; ++r) MoveRow(*this, r + 1, r);
  }
  SetNrRows(FNrOfRows - 1);
  Fire(OnChangeSetup);
}

void TDataTable::RemoveColumn(int32_t Col) {
  if (Col < 1 || Col > FNrOfCols || FNrOfCols < 2) return;
  {
    Access::TMatrixSilence Silence(*this);
    for (int32_t c = Col; c < FNrOfCols; ++c) MoveColumn(*this, c + 1, c, false);
  }
  SetNrCols(FNrOfCols - 1);
  Fire(OnChangeSetup);
}

void TDataTable::Clear() {
  DefaultNames(FColName, "C-", 1, FColName.size());
  DefaultNames(FRowName, "R-", 1, FRowName.size());
  std::fill(FCState.begin(), FCState.end(), 0);
  std::fill(FColAtt.begin(), FColAtt.end(), 0);
  std::fill(FRowAtt.begin(), FRowAtt.end(), 0);
  std::fill(FVType.begin(), FVType.end(), TVTypeSpec{});
  FComment.clear();
  FNumericData->Fill(0);
  Fire(OnChangeNames);
  Fire(OnChangeAttrib);
  Fire(OnChangeCellState);
  Fire(OnChangeSetup);
}

// ---- copies ----

void TDataTable::CopyFrom(const TDataTable* Source, int32_t SrcColLo, int32_t SrcRowLo,
                          int32_t SrcColHi, int32_t SrcRowHi, int32_t DestCol, int32_t DestRow) {
  if (Source == nullptr) return;
  const auto Clamp = [](int32_t& Lo, int32_t& Hi, int32_t n) {
    Lo = std::clamp(Lo, 1, std::max(n, 1)), Hi = std::clamp(Hi, 1, std::max(n, 1));
    if (Lo > Hi) std::swap(Lo, Hi);
  };
  Clamp(SrcColLo, SrcColHi, Source->FNrOfCols);
  Clamp(SrcRowLo, SrcRowHi, Source->FNrOfRows);
  // From a snapshot of the rectangle, so that an overlapping copy within one table reads
  // every cell before it is overwritten.
  std::vector<std::pair<double, uint8_t>> Cells;
  for (int32_t c = SrcColLo; c <= SrcColHi; ++c)
    for (int32_t r = SrcRowLo; r <= SrcRowHi; ++r)
      Cells.emplace_back(Source->GetElem(c, r), Source->GetCellState(c, r));
  {
    Access::TSuspend Quiet(*this);
    size_t i = 0;
    for (int32_t c = SrcColLo; c <= SrcColHi; ++c)
      for (int32_t r = SrcRowLo; r <= SrcRowHi; ++r, ++i) {
        const int64_t Dc = int64_t{c} - SrcColLo + DestCol, Dr = int64_t{r} - SrcRowLo + DestRow;
        if (Dc < 1 || Dc > FNrOfCols || Dr < 1 || Dr > FNrOfRows) continue;
        SetElem(static_cast<int32_t>(Dc), static_cast<int32_t>(Dr), Cells[i].first);
        FCState[Cell(static_cast<int32_t>(Dc), static_cast<int32_t>(Dr))] = Cells[i].second;
      }
  }
  Fire(OnChange);
  Fire(OnChangeCellState);
}

void TDataTable::CopyContentsFrom(const TDataTable* Source) {
  if (Source == nullptr || Source == this) return;
  const int32_t OldCols = FNrOfCols, OldRows = FNrOfRows;
  {
    Access::TSuspend Quiet(*this);
    Resize(Source->FNrOfCols, Source->FNrOfRows);
    FComment = Source->FComment;
    FColName = Source->FColName, FColAtt = Source->FColAtt, FVType = Source->FVType;
    for (int32_t c = 1; c <= FNrOfCols; ++c)
      for (int32_t r = 1; r <= FNrOfRows; ++r)
        FNumericData->SetVal(c, r, Source->FNumericData->GetVal(c, r));
    FRowName = Source->FRowName, FRowAtt = Source->FRowAtt;
    FCState = Source->FCState;
  }
  Fire(OnChange);
  Fire(OnChangeCellState);
  Fire(OnChangeSetup);
  Fire(OnChangeNames);
  Fire(OnChangeAttrib);
  FireResize(OldCols, OldRows);
}

bool TDataTable::CopyCellStatesFrom(const TDataTable* Source) {
  if (Source == nullptr || Source->FNrOfCols != FNrOfCols || Source->FNrOfRows != FNrOfRows)
    return false;
  FCState = Source->FCState;
  Fire(OnChangeCellState);
  return true;
}

void TDataTable::AssignAnotherDataMatrix(TMatrix* Matrix) {
  if (Matrix == nullptr || Matrix == FNumericData) return;
  const int32_t OldCols = FNrOfCols, OldRows = FNrOfRows;
  {
    Access::TSuspend Quiet(*this);
    {
      // The table's arrays follow the matrix's size (with OnResize as Resize fires it); the
      // present matrix is not resized, it is about to be replaced.
      TMatrix* Present = FNumericData;
      FNumericData = Matrix;
      try {
        Resize(Matrix->NrOfColumns(), Matrix->NrOfRows());
      } catch (...) {
        FNumericData = Present;
        throw;
      }
      FNumericData = Present;
    }
    ReleaseMatrix();
    FNumericData = Matrix;
    FExtMatAssigned = true;
    FreeNotification(Matrix);
    AttachMatrix();
    for (TVTypeSpec& Spec : FVType) Spec.MScaleType = stInterval;
    FireResize(OldCols, OldRows);
  }
  Fire(OnChange);
  Fire(OnChangeSetup);
  Fire(OnChangeNames);
  Fire(OnChangeAttrib);
  Fire(OnChangeCellState);
}

// ---- mirroring and exchanging ----

void TDataTable::ExchangeColumns(int32_t c1, int32_t c2) {
  if (!ValidCol(c1) || !ValidCol(c2)) return;
  const auto a = static_cast<size_t>(c1 - 1), b = static_cast<size_t>(c2 - 1);
  std::swap(FColAtt[a], FColAtt[b]);
  std::swap(FColName[a], FColName[b]);
  std::swap(FVType[a], FVType[b]);
  std::swap_ranges(
      FCState.begin() + static_cast<ptrdiff_t>(Cell(c1, 1)),
      FCState.begin() + static_cast<ptrdiff_t>(Cell(c1, 1) + static_cast<size_t>(FNrOfRows)),
      FCState.begin() + static_cast<ptrdiff_t>(Cell(c2, 1)));
  FNumericData->ExchangeColumns(c1, c2);
}

void TDataTable::ExchangeRows(int32_t r1, int32_t r2) {
  if (!ValidRow(r1) || !ValidRow(r2)) return;
  const auto a = static_cast<size_t>(r1 - 1), b = static_cast<size_t>(r2 - 1);
  std::swap(FRowAtt[a], FRowAtt[b]);
  std::swap(FRowName[a], FRowName[b]);
  for (int32_t c = 1; c <= FNrOfCols; ++c) std::swap(FCState[Cell(c, r1)], FCState[Cell(c, r2)]);
  FNumericData->ExchangeRows(r1, r2);
}

namespace {

void FireMirrorEvents(TDataTable& T) {
  Access::Fire(T, T.OnChange);
  Access::Fire(T, T.OnChangeCellState);
  Access::Fire(T, T.OnChangeAttrib);
  Access::Fire(T, T.OnChangeNames);
  Access::Fire(T, T.OnChangeSetup);
}

}  // namespace

void TDataTable::MirrorColumns() {
  {
    Access::TMatrixSilence Silence(*this);
    for (int32_t c = 1; c <= FNrOfCols / 2; ++c) ExchangeColumns(c, FNrOfCols + 1 - c);
  }
  FireMirrorEvents(*this);
}

void TDataTable::MirrorRows() {
  {
    Access::TMatrixSilence Silence(*this);
    for (int32_t r = 1; r <= FNrOfRows / 2; ++r) ExchangeRows(r, FNrOfRows + 1 - r);
  }
  FireMirrorEvents(*this);
}

}  // namespace zeq
