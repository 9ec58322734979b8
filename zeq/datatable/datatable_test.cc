// TDataTable core: defaults, sizing, categorial cells, names, the events of each change in
// order, neutral answers outside the table, row and column operations against a simple model,
// check strings and the ownership of an outside matrix.
#include "zeq/datatable/datatable.h"
#include "zeq/testing/test_util.h"

namespace zeq {
namespace {

// Every event of a table as a short text, in order.
struct TEventLog {
  std::vector<std::string> Events;
  explicit TEventLog(TDataTable& T) {
    const auto Note = [this](const char* What) {
      return [this, What](TObject*) { Events.push_back(What); };
    };
    T.OnChange = Note("Change");
    T.OnChangeSetup = Note("Setup");
    T.OnChangeNames = Note("Names");
    T.OnChangeCellState = Note("States");
    T.OnChangeAttrib = Note("Attrib");
    T.OnResize = [this](TObject*, int32_t C0, int32_t R0, int32_t C1, int32_t R1) {
      Events.push_back(test::Cat("Resize ", C0, "x", R0, "->", C1, "x", R1));
    };
  }
  std::vector<std::string> Take() { return std::exchange(Events, {}); }
};

using TEvents = std::vector<std::string>;

TEST(DataTable, NewTableAndResize) {
  TDataTable T;
  EXPECT_EQ(std::tuple(T.NrOfColumns(), T.GetColName(1), T.GetRowName(1), T.GetMScaleType(1),
                       T.GetElem(1, 1), T.GetIsNumber(1, 1)),
            std::tuple(1, "C-1", "R-1", stInterval, 0.0, true));
  TEventLog Log(T);
  T.Resize(3, 2);
  T.SetElem(1, 2, 7);
  T.SetColName(1, "weight");
  T.SetColAttrib(1, 5);
  T.Resize(1, 2);
  T.Resize(3, 2);
  EXPECT_EQ(std::tuple(T.GetElem(1, 2), T.GetColName(1), T.GetColAttrib(1), T.GetColName(3),
                       T.GetElem(3, 2)),
            std::tuple(7.0, "weight", 5, "C-3", 0.0));
  EXPECT_EQ(Log.Take(), (TEvents{"Resize 1x1->3x2", "Change", "Names", "Attrib", "Resize 3x2->1x2",
                                 "Resize 1x2->3x2"}));
  T.Resize(3, 2);  // the present size: nothing
  EXPECT_TRUE(Log.Take().empty());
  // A size beyond memory is refused and leaves the table as it was.
  test::ExpectThrowMessage<EZEQDataTableError>([&] { T.Resize(3, 2000000000); },
                                               "Component \"\": not enough memory on heap");
  EXPECT_EQ(std::pair(T.NrOfColumns(), T.GetElem(1, 2)), std::pair(3, 7.0));
}

TEST(DataTable, CategorialCellsAndIdentifiers) {
  TDataTable T;
  T.Resize(2, 3);
  T.SetMScaleType(1, stNominal);
  T.SetElem(1, 1, 2.5);
  T.SetNominalID(1, 2, "two");
  T.SetElem(1, 2, 151);
  // 2.5 is kept, read as 2 (ties to even); 151 has no identifier; column 2 is an interval one
  EXPECT_EQ(std::tuple(T.NumericData()->GetVal(1, 1), T.GetElem(1, 1), T.GetElemNominal(1, 1),
                       T.GetElemNominal(1, 2), T.GetElemNominal(1, 3), T.GetElemNominal(2, 1)),
            std::tuple(2.5, 2.0, "two", "151", "0", ""));
  T.SetElemNominal(1, 3, "abc");
  T.SetElemNominal(1, 2, "ABC");
  EXPECT_EQ(T.GetElem(1, 2), T.GetElem(1, 3));
  EXPECT_EQ(T.OrdinalOfNominalID(1, "ABC", false), 0);
  T.SetMScaleType(2, stOrdinal);
  EXPECT_EQ(T.AddNominalID(2, "low"), 1);
  EXPECT_EQ(std::pair(T.GetMScaleType(2), T.AddNominalID(2, "LOW")), std::pair(stNominal, 1));
  // Identifiers are cut to 10 characters, never inside a character.
  EXPECT_EQ(T.GetNominalID(2, T.AddNominalID(2, "ééééééééééé")), "éééééééééé");
  for (int32_t i = 3; i <= MaxNominalIDs; ++i) T.AddNominalID(2, test::Cat("id", i));
  test::ExpectThrowMessage<EZEQDataTableError>(
      [&] { T.SetElemNominal(2, 1, "one more"); },
      "Component \"\": number of available nominal values exceeded");
  TIntArray List;
  T.ListOfCategorialVars(List);
  EXPECT_EQ(List, (TIntArray{1, 2}));
  T.SetNominalID(1, 2, "");
  EXPECT_EQ(T.GetNominalID(1, 2), "");
}

TEST(DataTable, NamesCommentAndLookups) {
  TDataTable T;
  T.Resize(3, 2);
  const std::string Long = std::string(49, 'x') + "éé";
  T.SetColName(1, Long);
  T.SetComment("a\tb\nc");
  T.SetRowName(2, "   ");
  // 50 characters, 51 bytes; control characters dropped; names compared trimmed, in any case
  EXPECT_EQ(std::tuple(T.GetColName(1), T.MaxColNameLength(), T.Comment(), T.FindColIndex("  c-2 "),
                       T.FindColIndex("C-4"), T.FindRowIndex("")),
            std::tuple(std::string(49, 'x') + "é", 50, "abc", 2, 0, 2));
  // An inserted column is blank, of the default scale; the others move with their names
  // (random sequences of row and column operations: the datatable_rows fuzz target).
  T.SetMScaleType(1, stNominal);
  T.InsertColumn(1);
  T.RemoveColumn(2);
  EXPECT_EQ(std::tuple(T.NrOfColumns(), T.GetColName(1), T.GetColName(2), T.GetMScaleType(1)),
            std::tuple(3, "", "C-2", stInterval));
}

TEST(DataTable, OutsideIndicesAreNeutralAndSilent) {
  TDataTable T;
  T.Resize(2, 2);
  TEventLog Log(T);
  for (auto [c, r] : {std::pair{0, 1}, {3, 1}, {1, 0}, {1, 3}}) {
    T.SetElem(c, r, 1);
    T.SetCellState(c, r, 7);
    T.SetIsEmpty(c, r, true);
    T.SetElemNominal(c, r, "x");
    EXPECT_EQ(std::tuple(T.GetElem(c, r), T.GetCellState(c, r), T.GetIsNumber(c, r)),
              std::tuple(0.0, 0, true));
  }
  T.SetColName(3, "x");
  T.SetRowAttrib(0, 1);
  T.SetMScaleType(9, stRatio);
  T.SetNominalID(1, 151, "x");
  EXPECT_EQ(std::pair(T.GetMScaleType(9), T.GetColName(0)), std::pair(stUnknown, std::string()));
  T.SetCellState(1, 1, 0);  // the present state: no event
  EXPECT_TRUE(Log.Take().empty());
  T.InsertRow(4);
  T.RemoveColumn(0);
  EXPECT_TRUE(Log.Take().empty());
  T.RemoveRow(1);
  T.RemoveRow(1);  // the last row stays
  T.SetRowName(1, "last");
  T.InsertRow(2);  // appends
  EXPECT_EQ(std::pair(T.NrOfRows(), T.GetRowName(1)), std::pair(2, std::string("last")));
}

TEST(DataTable, EventsOfEachChangeInOrder) {
  TDataTable T, Other;
  Other.Resize(2, 4);
  TEventLog Log(T);
  T.SetIsImputed(1, 1, true);
  EXPECT_EQ(Log.Take(), (TEvents{"States", "Change"}));
  T.Clear();
  EXPECT_EQ(Log.Take(), (TEvents{"Change", "Names", "Attrib", "States", "Setup"}));
  T.InsertRow(1);
  EXPECT_EQ(Log.Take(), (TEvents{"Resize 1x1->1x2", "Setup"}));
  T.CopyContentsFrom(&Other);
  EXPECT_EQ(Log.Take(), (TEvents{"Resize 1x2->2x4", "Change", "States", "Setup", "Names", "Attrib",
                                 "Resize 1x2->2x4"}));
  T.CopyFrom(&Other, 1, 1, 1, 2, 2, 3);
  EXPECT_EQ(Log.Take(), (TEvents{"Change", "States"}));
  T.MirrorColumns();
  EXPECT_EQ(Log.Take(), (TEvents{"Change", "States", "Attrib", "Names", "Setup"}));
  TMatrix Outside;
  Outside.Resize(3, 4);
  T.AssignAnotherDataMatrix(&Outside);
  EXPECT_EQ(Log.Take(), (TEvents{"Resize 2x4->3x4", "Resize 2x4->3x4", "Change", "Setup", "Names",
                                 "Attrib", "States"}));
  Outside.SetVal(1, 1, 2);  // the outside matrix reports through the table
  EXPECT_EQ(Log.Take(), (TEvents{"Change"}));
  EXPECT_FALSE(T.CopyCellStatesFrom(&Other));
  EXPECT_TRUE(Log.Take().empty());
}

TEST(DataTable, CopyFromPlacesTheRectangleAndClipsIt) {
  TDataTable Src, T;
  Src.Resize(3, 3);
  for (int32_t c = 1; c <= 3; ++c)
    for (int32_t r = 1; r <= 3; ++r) Src.SetElem(c, r, 10 * c + r), Src.SetCellState(c, r, 64);
  T.Resize(3, 3);
  T.CopyFrom(&Src, 2, 1, 3, 2, 2, 2);  // columns 2..3, rows 1..2 to (2, 2); row 3 holds one
  for (int32_t c = 1; c <= 3; ++c)
    for (int32_t r = 1; r <= 3; ++r) {
      const bool Copied = c >= 2 && r >= 2;
      EXPECT_EQ(std::tuple(T.GetElem(c, r), T.GetCellState(c, r)),
                std::tuple(Copied ? 10.0 * c + r - 1 : 0, Copied ? 64 : 0))
          << c << " " << r;
    }
}

TEST(DataTable, CheckStringsFollowTheirContentOnly) {
  TDataTable T;
  T.Resize(3, 3);
  const std::string Names = T.CRCofNamesAndAttributes(), States = T.CRCofCellStates();
  T.SetElem(2, 2, 5);
  EXPECT_EQ(T.CRCofNamesAndAttributes(), Names);
  EXPECT_EQ(T.CRCofCellStates(), States);
  for (auto Change :
       {+[](TDataTable& D) { D.SetComment("x"); }, +[](TDataTable& D) { D.SetColName(2, "C-2 "); },
        +[](TDataTable& D) { D.SetRowAttrib(3, 7); }, +[](TDataTable& D) { D.SetColAttrib(1, 7); },
        +[](TDataTable& D) { D.SetMScaleType(1, stRatio); }}) {
    TDataTable Copy;
    Copy.CopyContentsFrom(&T);
    EXPECT_EQ(Copy.CRCofNamesAndAttributes(), Names);
    Change(Copy);
    EXPECT_NE(Copy.CRCofNamesAndAttributes(), Names);
  }
  T.SetCellState(3, 3, 64);
  EXPECT_NE(T.CRCofCellStates(), States);
  T.SetCellState(3, 3, 0);
  EXPECT_EQ(T.CRCofCellStates(), States);
}

TEST(DataTable, AnOutsideMatrixIsNeverFreedAndNeverDangles) {
  auto Outside = std::make_unique<TMatrix>();
  Outside->Resize(2, 3);
  Outside->SetVal(2, 3, 4.5);
  {
    TDataTable T;
    T.AssignAnotherDataMatrix(Outside.get());
    EXPECT_EQ(std::pair(T.NrOfRows(), T.GetElem(2, 3)), std::pair(3, 4.5));
  }
  EXPECT_FALSE(Outside->OnChange);  // the table is gone; the matrix lives, unhooked
  EXPECT_EQ(Outside->GetVal(2, 3), 4.5);
  TDataTable T;
  T.AssignAnotherDataMatrix(Outside.get());
  Outside.reset();  // deleted first: the table takes a fresh matrix of its size
  T.SetElem(2, 3, 1);
  EXPECT_EQ(std::pair(T.NumericData()->NrOfColumns(), T.GetElem(2, 3)), std::pair(2, 1.0));
}

}  // namespace
}  // namespace zeq
