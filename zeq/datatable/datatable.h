/// @file
/// zeq data tables (unit Zeq_datatable): TDataTable, a table of numeric cells addressed by
/// 1-based (column, row), with a state byte per cell, names and integer attributes per column
/// and row, a measurement scale per column with up to 150 category identifiers, and a comment.
///
/// The numbers live in a TMatrix, NumericData (the table's own, or an outside one given to
/// AssignAnotherDataMatrix); everything else belongs to the table. Each kind of change has its
/// own event. Indices outside the table read neutral values and make writes do nothing. Names
/// and identifiers are UTF-8 and are cut to their limits on a character boundary.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "zeq/base/base.h"
#include "zeq/base/export.h"
#include "zeq/matrix/matrix.h"
#include "zeq/vector/vector.h"

namespace zeq {

/// Data table errors.
class ZEQ_API EZEQDataTableError : public EZEQError {
 public:
  using EZEQError::EZEQError;
};

/// The measurement scale of a column. Nominal and ordinal columns hold category slots
/// (1..150) whose identifiers the column keeps; interval and ratio columns ("metric") hold
/// numbers, and only they enter the statistics.
enum TMScaleType : uint8_t { stUnknown, stNominal, stOrdinal, stInterval, stRatio };
/// "Unknown", "Nominal", "Ordinal", "Interval", "Ratio".
extern ZEQ_API const std::array<std::string, 5> MScaleTypeNames;

/// A category identifier: at most 10 characters.
using TNominalIDStr = std::string;
/// A column or row name: at most 50 characters.
using TDTNameStr = std::string;
/// Category slots per column.
inline constexpr int32_t MaxNominalIDs = 150;
/// The length of an identifier, in characters.
inline constexpr int32_t NominalIDLength = 10;
/// The length of a column or row name, in characters.
inline constexpr int32_t DTNameLength = 50;

/// The scale of a column and its identifiers (slot i at NominalIDs[i - 1]).
struct ZEQ_API TVTypeSpec {
  /// The scale of the column.
  TMScaleType MScaleType = stInterval;
  /// The identifiers of the slots; empty for an unused slot.
  std::array<TNominalIDStr, MaxNominalIDs> NominalIDs;
};

/// Told of a change of the table's size, with the old and the new one.
using TDataTableResizeEvent = std::function<void(
    TObject* Sender, int32_t OldColumns, int32_t OldRows, int32_t NewColumns, int32_t NewRows)>;

/// Bits of a cell state.
/// Bits of a cell state.
inline constexpr uint8_t csNoNumber = 1;  ///< the cell holds no number
inline constexpr uint8_t csEmpty = 2;     ///< the cell is empty
inline constexpr uint8_t csImputed = 32;  ///< the value was imputed
inline constexpr uint8_t csMarkA = 64;    ///< mark A
inline constexpr uint8_t csMarkB = 128;   ///< mark B

/// A table of numeric cells with a state per cell, names and attributes per column and row, a
/// measurement scale per column and change events.
class ZEQ_API TDataTable : public TComponent {
 public:
  /// 1 x 1: value 0, state 0, column "C-1", row "R-1", stInterval.
  explicit TDataTable(TComponent* AOwner = nullptr);
  /// An outside matrix is left alive with its OnChange and OnSortExchange cleared.
  ~TDataTable() override;
  std::string ClassName() const override { return "TDataTable"; }

  /// Values or the states csEmpty / csImputed through their setters changed.
  TNotifyEvent OnChange;
  /// The comment, a scale, identifiers, or the layout (rows or columns inserted or removed)
  /// changed.
  TNotifyEvent OnChangeSetup;
  /// A column or row name changed.
  TNotifyEvent OnChangeNames;
  /// Cell states changed.
  TNotifyEvent OnChangeCellState;
  /// Column or row attributes changed.
  TNotifyEvent OnChangeAttrib;
  /// Progress of NumericData's long operations (sorting), forwarded by PercDone.
  TOnPercentDoneEvent OnPercentDone;
  /// The size changed.
  TDataTableResizeEvent OnResize;
  /// Told of each exchange of the sorts, after the table has moved its states, names and
  /// attributes.
  TSortExchgEvent OnSortExchange;

  /// The values, NrOfColumns x NrOfRows.
  TMatrix* NumericData() const { return FNumericData; }
  ///@{
  /// The size of the table.
  int32_t NrOfColumns() const { return FNrOfCols; }
  int32_t NrOfRows() const { return FNrOfRows; }
  ///@}
  /// A one-line comment kept with the table.
  const std::string& Comment() const { return FComment; }
  /// Control characters are removed; OnChangeSetup.
  void SetComment(const std::string& Value);

  // ---- cells ----
  ///@{
  /// Nominal and ordinal columns read their value rounded (ties to even).
  double GetElem(int32_t Col, int32_t Row) const;
  double Elem(int32_t Col, int32_t Row) const { return GetElem(Col, Row); }
  ///@}
  /// Stores Value in NumericData (its OnChange fires); writes outside the table do nothing.
  void SetElem(int32_t Col, int32_t Row, double Value);
  /// The identifier of the stored slot number of a nominal or ordinal cell (the number itself
  /// as text outside 1..150); empty for other columns.
  TNominalIDStr GetElemNominal(int32_t Col, int32_t Row) const;
  /// Stores the slot of Id (found ignoring case, or taken from the first empty slot); raises
  /// "...: number of available nominal values exceeded" when none is free.
  void SetElemNominal(int32_t Col, int32_t Row, const TNominalIDStr& Id);
  /// The state byte of the cell; 0 outside the table.
  uint8_t GetCellState(int32_t Col, int32_t Row) const;
  /// OnChangeCellState only when the byte changes.
  void SetCellState(int32_t Col, int32_t Row, uint8_t State);
  /// Neither csNoNumber nor csEmpty; true outside the table.
  bool GetIsNumber(int32_t Col, int32_t Row) const;
  ///@{
  /// The csEmpty bit of the cell; the setter fires OnChangeCellState (when it changes) and
  /// OnChange.
  bool GetIsEmpty(int32_t Col, int32_t Row) const;
  void SetIsEmpty(int32_t Col, int32_t Row, bool Value);
  ///@}
  ///@{
  /// The csImputed bit of the cell, as GetIsEmpty / SetIsEmpty.
  bool GetIsImputed(int32_t Col, int32_t Row) const;
  void SetIsImputed(int32_t Col, int32_t Row, bool Value);
  ///@}

  // ---- names and attributes ----
  ///@{
  /// Column and row names; empty outside the table. The setters cut a name to 50 characters and
  /// fire OnChangeNames.
  TDTNameStr GetColName(int32_t Col) const;
  TDTNameStr GetRowName(int32_t Row) const;
  void SetColName(int32_t Col, const TDTNameStr& Name);
  void SetRowName(int32_t Row, const TDTNameStr& Name);
  ///@}
  ///@{
  /// Column and row attributes, free integers for the application; 0 outside the table. The
  /// setters fire OnChangeAttrib.
  int32_t GetColAttrib(int32_t Col) const;
  int32_t GetRowAttrib(int32_t Row) const;
  void SetColAttrib(int32_t Col, int32_t Value);
  void SetRowAttrib(int32_t Row, int32_t Value);
  ///@}
  ///@{
  /// Every attribute := Value, or (attribute and not Mask) or (Value and Mask); one event.
  void SetRowAttributes(int32_t Value);
  void SetRowAttributes(int32_t Value, int32_t Mask);
  void SetColAttributes(int32_t Value);
  void SetColAttributes(int32_t Value, int32_t Mask);
  ///@}
  ///@{
  /// The length of the longest row name and column name.
  /// In characters.
  int32_t MaxRowNameLength() const;
  int32_t MaxColNameLength() const;
  ///@}

  // ---- scales and identifiers ----
  ///@{
  /// The scale of column Col (stUnknown outside the table); the setter fires OnChangeSetup.
  TMScaleType GetMScaleType(int32_t Col) const;
  void SetMScaleType(int32_t Col, TMScaleType Value);
  ///@}
  /// Empty unless the column is nominal or ordinal.
  TNominalIDStr GetNominalID(int32_t Col, int32_t Ordinal) const;
  /// Sets the identifier of slot Ordinal (cut to 10 characters) in a nominal or ordinal column;
  /// an empty Id clears the slot in any column. OnChangeSetup.
  void SetNominalID(int32_t Col, int32_t Ordinal, const TNominalIDStr& Id);
  /// The slot of Id, adding it (and making the column nominal) when new; 0 for an invalid
  /// column. All 150 slots taken raises "...: number of available nominal values exceeded".
  int32_t AddNominalID(int32_t Col, const TNominalIDStr& Id);
  /// The slot holding Id (compared ignoring ASCII case when IgnoreCase); 0 when none does or the
  /// column is not nominal or ordinal.
  int32_t OrdinalOfNominalID(int32_t Col, const TNominalIDStr& Id, bool IgnoreCase) const;
  /// Empties every slot of column Col; OnChangeSetup.
  void ClearNominalIDs(int32_t Col);
  /// The nominal and ordinal columns, ascending.
  void ListOfCategorialVars(TIntArray& List) const;

  // ---- cell states in bulk ----
  ///@{
  /// Whether any cell of the row (column) has a state sharing a bit with Mask.
  bool IfRowHasCellState(int32_t Row, uint8_t Mask) const;
  bool IfColHasCellState(int32_t Col, uint8_t Mask) const;
  ///@}
  ///@{
  /// The number of cells of the row (column) whose state shares a bit with Mask.
  int32_t CountMarkedCellsInRow(int32_t Row, uint8_t Mask) const;
  int32_t CountMarkedCellsInColumn(int32_t Col, uint8_t Mask) const;
  ///@}
  /// Every state := State; OnChangeCellState.
  void SetAllCellStates(uint8_t State);
  /// Clears csMarkA and csMarkB in every cell; OnChangeCellState.
  void UnmarkAllCells();
  /// Flips the bits of Mask in every cell; OnChangeCellState.
  void InvertCellStates(uint8_t Mask);
  /// Swaps csMarkA and csMarkB in every cell; OnChangeCellState.
  void ExchangeMarkings();

  // ---- size ----
  ///@{
  /// Overlapping values, states, names and attributes stay; new columns are "C-<n>", new rows
  /// "R-<n>", everything else 0 / stInterval; OnResize. A failed allocation raises "...: not
  /// enough memory on heap" and leaves the table as it was.
  void Resize(int32_t Cols, int32_t Rows);
  void SetNrCols(int32_t Cols);
  void SetNrRows(int32_t Rows);
  ///@}
  ///@{
  /// Before Row (1..NrOfRows + 1; NrOfRows + 1 appends), an empty row; OnChangeSetup.
  void InsertRow(int32_t Row);
  void InsertColumn(int32_t Col);
  ///@}
  ///@{
  /// Nothing for the last remaining row or column.
  void RemoveRow(int32_t Row);
  void RemoveColumn(int32_t Col);
  ///@}
  /// Defaults everywhere, the size kept.
  void Clear();

  // ---- copies ----
  /// Values (rounded in categorial columns) and states of a rectangle of Source.
  void CopyFrom(const TDataTable* Source, int32_t SrcColLo, int32_t SrcRowLo, int32_t SrcColHi,
                int32_t SrcRowHi, int32_t DestCol, int32_t DestRow);
  /// Size, comment, names, attributes, scales, identifiers, values and states.
  void CopyContentsFrom(const TDataTable* Source);
  /// False (nothing changes) unless Source has the same size.
  bool CopyCellStatesFrom(const TDataTable* Source);
  /// Makes Matrix the table's NumericData (the table is resized to it and every column becomes
  /// stInterval). The table never deletes an outside matrix; if that matrix is deleted first,
  /// the table takes a fresh matrix of zeros of its size, so NumericData never dangles.
  void AssignAnotherDataMatrix(TMatrix* Matrix);

  // ---- lookups and check strings ----
  ///@{
  /// The first column (row) whose name equals Name, both trimmed of spaces and upper-cased; 0
  /// if none.
  int32_t FindColIndex(const std::string& Name) const;
  int32_t FindRowIndex(const std::string& Name) const;
  ///@}
  ///@{
  /// Repairs a range against the columns (rows): (0, 0) means all, bounds are clamped and ordered.
  void MakeValidColRange(int32_t& Low, int32_t& High) const;
  void MakeValidRowRange(int32_t& Low, int32_t& High) const;
  ///@}
  ///@{
  /// 64 hexadecimal digits over the comment, names, attributes, scales and identifiers, and over
  /// the cell states.
  std::string CRCofNamesAndAttributes() const;
  std::string CRCofCellStates() const;
  ///@}

  // ---- statistics over ranges (LowCol, LowRow, HighCol, HighRow; metric columns only) ----
  ///@{
  /// Mean and variance (long double sums; the variance 1.0 below three values) of the number
  /// cells of the metric columns of the range, or of those whose state shares a bit with Mask
  /// (bits 0 and 1 of Mask are ignored); returns the number of cells used (0: Mean 0).
  int32_t MeanVarOfNumCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                            double& Mean, double& Variance) const;
  int32_t MeanVarOfMarkedCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                               uint8_t Mask, double& Mean, double& Variance) const;
  ///@}
  ///@{
  /// The sum of the same cells, their number in Count.
  double SumOfNumCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                       int32_t& Count) const;
  double SumOfMarkedCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                          uint8_t Mask, int32_t& Count) const;
  ///@}
  ///@{
  /// The extrema of the same cells (uc_MaxReal and -uc_MaxReal when there is none); returns their
  /// number.
  int32_t MinMaxOfNumCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                           double& Min, double& Max) const;
  int32_t MinMaxOfMarkedCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                              uint8_t Mask, double& Min, double& Max) const;
  ///@}
  ///@{
  /// The geometric (harmonic) mean of the number cells of the metric columns, their number in
  /// Count; 0 with Count 0 when there is no usable cell.
  double GeometricMeanOfNumCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                                 int32_t& Count) const;
  double HarmonicMeanOfNumCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                                int32_t& Count) const;
  ///@}
  /// TVector::Quartiles of the number cells of the metric columns (zeros when there is none);
  /// returns their number.
  int32_t QuartilesOfNumCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                              double& Q1, double& Q2, double& Q3) const;
  ///@{
  /// TVector::Percentile of the number cells of the metric columns, or of those sharing a bit
  /// with Mask; 0 when there is none.
  double PercentileOfNumCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                              double Percentile) const;
  double PercentileOfMarkedCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                                 uint8_t Mask, double Percentile) const;
  ///@}
  /// The number of number cells of the metric columns in the range.
  int32_t CountNumCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow) const;
  // ---- ranges over every column ----
  ///@{
  /// Over every column of the range: the cells holding a number, the empty cells, the imputed
  /// cells.
  int32_t CountValidCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow) const;
  int32_t CountEmptyCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow) const;
  int32_t CountImputedCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow) const;
  ///@}
  /// The extrema of the number cells of every column of the range; returns their number.
  int32_t MinMaxOfValidCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                             double& Min, double& Max) const;
  /// Number cells sharing a bit with Mask (every number cell for 255), column by column, into
  /// Vector (resized to their number); returns the number.
  int32_t CopyCellsToVector(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                            uint8_t Mask, TVector* Vector) const;

  // ---- scaling ----
  ///@{
  /// Each metric column (each row) made mean 0 and standard deviation 1 over its number cells;
  /// the means and standard deviations go to element l of Means and StdDevs when given. The row
  /// forms raise EZEQDataTableError when a column is nominal or ordinal. OnChange once.
  void StandardizeNumCellColumns(TVector* Means, TVector* StdDevs);
  void StandardizeNumCellRows(TVector* Means, TVector* StdDevs);
  ///@}
  ///@{
  /// The same, subtracting the means only.
  void MeanCenterNumCellColumns(TVector* Means);
  void MeanCenterNumCellRows(TVector* Means);
  ///@}
  /// Pairwise-complete cross products (0), covariances (1), correlations (2), squared
  /// correlations (3) or mean squared differences (4) of the columns LowCol..HighCol over the
  /// rows LowRow..HighRow; false when OutMat is too small or on abort. A pair with fewer than two
  /// complete rows gets 0 in modes 0, 1 and 4.
  bool CalcCovar(TMatrix* OutMat, int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                 int32_t Mode);
  /// Every cell whose state shares a bit with Mask := Value; the number set.
  int32_t FillMarkedCells(double Value, uint8_t Mask);

  // ---- attributes and scales over ranges ----
  ///@{
  /// Distinct attribute values (those outside 0..255 are counted by their low byte).
  int32_t RowAttribLevels() const;
  int32_t ColAttribLevels() const;
  ///@}
  ///@{
  /// The extreme row (column) attribute of the range that is above (below) 0, with its first
  /// position in Index; 0 and Index 0 when none is.
  int32_t MaxRowAttrib(int32_t LowRow, int32_t HighRow, int32_t& Index) const;
  int32_t MinRowAttrib(int32_t LowRow, int32_t HighRow, int32_t& Index) const;
  int32_t MaxColAttrib(int32_t LowCol, int32_t HighCol, int32_t& Index) const;
  int32_t MinColAttrib(int32_t LowCol, int32_t HighCol, int32_t& Index) const;
  ///@}
  ///@{
  /// The highest (lowest) scale of the columns of the range, at least stNominal (at most stRatio).
  TMScaleType FindHighestMLevel(int32_t LowCol, int32_t HighCol) const;
  TMScaleType FindLowestMLevel(int32_t LowCol, int32_t HighCol) const;
  ///@}
  /// True when column Col holds exactly two distinct values (Level1 the first row's, Level2 the
  /// other); otherwise false.
  bool CheckDichotomousColumn(int32_t Col, double& Level1, double& Level2) const;
  /// True when every row of column Col holds the same value (false for an invalid column).
  bool IsConstantColumn(int32_t Col) const;

  // ---- sorting and reorganisation ----
  ///@{
  /// TMatrix::SortCols / SortRows of NumericData; states (and, with ExchangeNames, names and
  /// attributes) move with the values.
  void SortCols(int32_t KeyRow, bool Ascending, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                int32_t HighRow, bool ExchangeNames);
  void SortRows(int32_t KeyCol, bool Ascending, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                int32_t HighRow, bool ExchangeNames);
  ///@}
  ///@{
  /// Sorts the rows (columns) of the range by their attributes, values, states, names and
  /// attributes moving together.
  void SortRowAttributes(bool Ascending, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                         int32_t HighRow);
  void SortColAttributes(bool Ascending, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                         int32_t HighRow);
  ///@}
  ///@{
  /// Sorts the rows (columns) of the range by their names (ASCII case ignored with IgnoreCase;
  /// case counts in the short forms), everything moving together.
  void SortRowNames(bool Ascending, bool IgnoreCase, int32_t LowCol, int32_t LowRow,
                    int32_t HighCol, int32_t HighRow);
  void SortRowNames(bool Ascending, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                    int32_t HighRow);
  void SortColNames(bool Ascending, bool IgnoreCase, int32_t LowCol, int32_t LowRow,
                    int32_t HighCol, int32_t HighRow);
  void SortColNames(bool Ascending, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                    int32_t HighRow);
  ///@}
  /// The handler installed as NumericData's OnSortExchange.
  void ExchangeDuringSort(TObject* Sender, uint8_t ExchgWhat, int32_t Index1, int32_t Index2,
                          int32_t First, int32_t Last);
  /// Forwards NumericData's progress to OnPercentDone.
  void PercDone(TObject* Sender, int32_t Percent);
  ///@{
  /// Reverses the order of the columns (rows) with their names, attributes, scales and states.
  void MirrorColumns();
  void MirrorRows();
  ///@}
  ///@{
  /// Exchanges two columns (rows) with everything that belongs to them; invalid indices do
  /// nothing.
  void ExchangeColumns(int32_t c1, int32_t c2);
  void ExchangeRows(int32_t r1, int32_t r2);
  ///@}
  /// Unfolds the table into one data column (with a column-ID column and index columns).
  void Serialize(bool AddColumnIDs, bool AddIndices);

 protected:
  void Notification(TComponent* AComponent) override;

 private:
  friend struct TDataTableAccess;

  size_t Cell(int32_t Col, int32_t Row) const {
    return static_cast<size_t>(Col - 1) * static_cast<size_t>(FNrOfRows) +
           static_cast<size_t>(Row - 1);
  }
  bool ValidCol(int32_t Col) const { return Col >= 1 && Col <= FNrOfCols; }
  bool ValidRow(int32_t Row) const { return Row >= 1 && Row <= FNrOfRows; }
  bool IsCategorial(int32_t Col) const;
  void AttachMatrix();
  /// Lets go of the present matrix: an outside one is unhooked, the table's own one deleted.
  void ReleaseMatrix();
  void Fire(const TNotifyEvent& Event);
  void FireResize(int32_t OldCols, int32_t OldRows);

  std::string FComment;
  std::vector<int32_t> FRowAtt, FColAtt;
  std::vector<TVTypeSpec> FVType;
  std::vector<uint8_t> FCState;  // column by column
  std::vector<TDTNameStr> FColName, FRowName;
  int32_t FNrOfCols = 1, FNrOfRows = 1;
  bool FSortIncludeHd = false;
  bool FExtMatAssigned = false;
  int32_t FSuspended = 0;  // while positive, the five change events stay silent
  TMatrix* FNumericData = nullptr;
};

}  // namespace zeq
