// TDataTable core: construction, the numeric matrix and its handlers, cells and their states,
// names, attributes, scales and identifiers, lookups and check strings.
#include "zeq/datatable/datatable.h"

#include <algorithm>
#include <cmath>

#include "zeq/base/internal/range_repair.h"
#include "zeq/base/internal/utf8.h"
#include "zeq/base/strings.h"
#include "zeq/datatable/internal/datatable_access.h"

namespace zeq {

using Access = TDataTableAccess;

const std::array<std::string, 5> MScaleTypeNames = {"Unknown", "Nominal", "Ordinal", "Interval",
                                                    "Ratio"};

// ---- text helpers ----

std::string TDataTableAccess::Lower(std::string_view S) {
  std::string R(S);
  for (char& C : R)
    if (C >= 'A' && C <= 'Z') C = static_cast<char>(C - 'A' + 'a');
  return R;
}

std::string TDataTableAccess::Upper(std::string_view S) {
  std::string R(S);
  for (char& C : R)
    if (C >= 'a' && C <= 'z') C = static_cast<char>(C - 'a' + 'A');
  return R;
}

// ---- frame ----

TDataTable::TDataTable(TComponent* AOwner) : TComponent(AOwner) {
  try {
    FNumericData = new TMatrix;
    FRowAtt.assign(1, 0);
    FColAtt.assign(1, 0);
    FVType.assign(1, TVTypeSpec{});
    FCState.assign(1, 0);
    FColName.assign(1, "C-1");
    FRowName.assign(1, "R-1");
  } catch (const std::bad_alloc&) {
    delete FNumericData;
    RaiseComponentError<EZEQDataTableError>(this, "failed to initialize (out of memory)");
  }
  AttachMatrix();
}

TDataTable::~TDataTable() { ReleaseMatrix(); }

void TDataTable::ReleaseMatrix() {
  if (FExtMatAssigned) {
    FNumericData->OnChange = nullptr;
    FNumericData->OnSortExchange = nullptr;
    RemoveFreeNotification(FNumericData);
  } else {
    delete FNumericData;
  }
  FNumericData = nullptr;
}

void TDataTable::AttachMatrix() {
  FNumericData->OnChange = [this](TObject*) { Fire(OnChange); };
  FNumericData->OnSortExchange = [this](TObject* Sender, uint8_t What, int32_t I1, int32_t I2,
                                        int32_t First, int32_t Last) {
    ExchangeDuringSort(Sender, What, I1, I2, First, Last);
  };
}

void TDataTable::Notification(TComponent* AComponent) {
  if (!FExtMatAssigned || AComponent != FNumericData) return;
  // The outside matrix is being deleted: carry on with an own matrix of zeros.
  FExtMatAssigned = false;
  auto* Own = new TMatrix;
  Own->Resize(FNrOfCols, FNrOfRows);
  FNumericData = Own;
  AttachMatrix();
}

void TDataTable::Fire(const TNotifyEvent& Event) {
  if (FSuspended == 0 && Event) Event(this);
}

void TDataTable::FireResize(int32_t OldCols, int32_t OldRows) {
  if (OnResize) OnResize(this, OldCols, OldRows, FNrOfCols, FNrOfRows);
}

void TDataTable::PercDone(TObject* /*Sender*/, int32_t Percent) {
  if (OnPercentDone) OnPercentDone(this, Percent);
}

void TDataTable::SetComment(const std::string& Value) {
  FComment = RemoveControlChars(Value);
  Fire(OnChangeSetup);
}

bool TDataTable::IsCategorial(int32_t Col) const {
  const TMScaleType T = FVType[static_cast<size_t>(Col - 1)].MScaleType;
  return T == stNominal || T == stOrdinal;
}

// ---- cells ----

double TDataTable::GetElem(int32_t Col, int32_t Row) const {
  if (!ValidCol(Col) || !ValidRow(Row)) return 0.0;
  const double V = FNumericData->GetVal(Col, Row);
  return IsCategorial(Col) ? std::nearbyint(V) : V;
}

void TDataTable::SetElem(int32_t Col, int32_t Row, double Value) {
  if (ValidCol(Col) && ValidRow(Row)) FNumericData->SetVal(Col, Row, Value);
}

TNominalIDStr TDataTable::GetElemNominal(int32_t Col, int32_t Row) const {
  if (!ValidCol(Col) || !ValidRow(Row) || !IsCategorial(Col)) return {};
  const double V = std::nearbyint(FNumericData->GetVal(Col, Row));
  if (V >= 1 && V <= MaxNominalIDs)
    return FVType[static_cast<size_t>(Col - 1)].NominalIDs[static_cast<size_t>(V) - 1];
  return detail::CutToChars(StrFixed(V, 1, 0), NominalIDLength);
}

namespace {

// The first empty slot of a column (1..150), or 0.
int32_t FirstEmptySlot(const TVTypeSpec& Spec) {
  for (int32_t s = 1; s <= MaxNominalIDs; ++s)
    if (Spec.NominalIDs[static_cast<size_t>(s - 1)].empty()) return s;
  return 0;
}

}  // namespace

void TDataTable::SetElemNominal(int32_t Col, int32_t Row, const TNominalIDStr& Id) {
  if (!ValidCol(Col) || !ValidRow(Row)) return;
  int32_t Slot = OrdinalOfNominalID(Col, Id, true);
  if (Slot == 0) {
    TVTypeSpec& Spec = FVType[static_cast<size_t>(Col - 1)];
    Slot = FirstEmptySlot(Spec);
    if (Slot == 0)
      RaiseComponentError<EZEQDataTableError>(this, "number of available nominal values exceeded");
    Spec.NominalIDs[static_cast<size_t>(Slot - 1)] = detail::CutToChars(Id, NominalIDLength);
  }
  FNumericData->SetVal(Col, Row, Slot);
}

uint8_t TDataTable::GetCellState(int32_t Col, int32_t Row) const {
  return ValidCol(Col) && ValidRow(Row) ? FCState[Cell(Col, Row)] : 0;
}

void TDataTable::SetCellState(int32_t Col, int32_t Row, uint8_t State) {
  if (!ValidCol(Col) || !ValidRow(Row) || FCState[Cell(Col, Row)] == State) return;
  FCState[Cell(Col, Row)] = State;
  Fire(OnChangeCellState);
}

bool TDataTable::GetIsNumber(int32_t Col, int32_t Row) const {
  return (GetCellState(Col, Row) & (csNoNumber | csEmpty)) == 0;
}

bool TDataTable::GetIsEmpty(int32_t Col, int32_t Row) const {
  return (GetCellState(Col, Row) & csEmpty) != 0;
}

bool TDataTable::GetIsImputed(int32_t Col, int32_t Row) const {
  return (GetCellState(Col, Row) & csImputed) != 0;
}

namespace {

uint8_t WithBit(uint8_t State, uint8_t Bit, bool On) {
  return static_cast<uint8_t>(On ? State | Bit : State & ~Bit);
}

}  // namespace

void TDataTable::SetIsEmpty(int32_t Col, int32_t Row, bool Value) {
  if (!ValidCol(Col) || !ValidRow(Row)) return;
  SetCellState(Col, Row, WithBit(GetCellState(Col, Row), csEmpty, Value));
  Fire(OnChange);
}

void TDataTable::SetIsImputed(int32_t Col, int32_t Row, bool Value) {
  if (!ValidCol(Col) || !ValidRow(Row)) return;
  SetCellState(Col, Row, WithBit(GetCellState(Col, Row), csImputed, Value));
  Fire(OnChange);
}

// ---- names and attributes ----

TDTNameStr TDataTable::GetColName(int32_t Col) const {
  return ValidCol(Col) ? FColName[static_cast<size_t>(Col - 1)] : TDTNameStr{};
}

TDTNameStr TDataTable::GetRowName(int32_t Row) const {
  return ValidRow(Row) ? FRowName[static_cast<size_t>(Row - 1)] : TDTNameStr{};
}

void TDataTable::SetColName(int32_t Col, const TDTNameStr& Name) {
  if (!ValidCol(Col)) return;
  FColName[static_cast<size_t>(Col - 1)] = detail::CutToChars(Name, DTNameLength);
  Fire(OnChangeNames);
}

void TDataTable::SetRowName(int32_t Row, const TDTNameStr& Name) {
  if (!ValidRow(Row)) return;
  FRowName[static_cast<size_t>(Row - 1)] = detail::CutToChars(Name, DTNameLength);
  Fire(OnChangeNames);
}

int32_t TDataTable::GetColAttrib(int32_t Col) const {
  return ValidCol(Col) ? FColAtt[static_cast<size_t>(Col - 1)] : 0;
}

int32_t TDataTable::GetRowAttrib(int32_t Row) const {
  return ValidRow(Row) ? FRowAtt[static_cast<size_t>(Row - 1)] : 0;
}

void TDataTable::SetColAttrib(int32_t Col, int32_t Value) {
  if (!ValidCol(Col)) return;
  FColAtt[static_cast<size_t>(Col - 1)] = Value;
  Fire(OnChangeAttrib);
}

void TDataTable::SetRowAttrib(int32_t Row, int32_t Value) {
  if (!ValidRow(Row)) return;
  FRowAtt[static_cast<size_t>(Row - 1)] = Value;
  Fire(OnChangeAttrib);
}

void TDataTable::SetRowAttributes(int32_t Value) { SetRowAttributes(Value, -1); }
void TDataTable::SetColAttributes(int32_t Value) { SetColAttributes(Value, -1); }

void TDataTable::SetRowAttributes(int32_t Value, int32_t Mask) {
  for (int32_t& A : FRowAtt) A = (A & ~Mask) | (Value & Mask);
  Fire(OnChangeAttrib);
}

void TDataTable::SetColAttributes(int32_t Value, int32_t Mask) {
  for (int32_t& A : FColAtt) A = (A & ~Mask) | (Value & Mask);
  Fire(OnChangeAttrib);
}

namespace {

int32_t LongestName(const std::vector<TDTNameStr>& Names) {
  int32_t Longest = 0;
  for (const TDTNameStr& N : Names) Longest = std::max(Longest, detail::CharCount(N));
  return Longest;
}

}  // namespace

int32_t TDataTable::MaxRowNameLength() const { return LongestName(FRowName); }
int32_t TDataTable::MaxColNameLength() const { return LongestName(FColName); }

// ---- scales and identifiers ----

TMScaleType TDataTable::GetMScaleType(int32_t Col) const {
  return ValidCol(Col) ? FVType[static_cast<size_t>(Col - 1)].MScaleType : stUnknown;
}

void TDataTable::SetMScaleType(int32_t Col, TMScaleType Value) {
  if (!ValidCol(Col)) return;
  FVType[static_cast<size_t>(Col - 1)].MScaleType = Value;
  Fire(OnChangeSetup);
}

TNominalIDStr TDataTable::GetNominalID(int32_t Col, int32_t Ordinal) const {
  if (!ValidCol(Col) || Ordinal < 1 || Ordinal > MaxNominalIDs || !IsCategorial(Col)) return {};
  return FVType[static_cast<size_t>(Col - 1)].NominalIDs[static_cast<size_t>(Ordinal - 1)];
}

void TDataTable::SetNominalID(int32_t Col, int32_t Ordinal, const TNominalIDStr& Id) {
  if (!ValidCol(Col) || Ordinal < 1 || Ordinal > MaxNominalIDs) return;
  TNominalIDStr& Slot =
      FVType[static_cast<size_t>(Col - 1)].NominalIDs[static_cast<size_t>(Ordinal - 1)];
  if (Id.empty())
    Slot.clear();
  else if (IsCategorial(Col))
    Slot = detail::CutToChars(Id, NominalIDLength);
  Fire(OnChangeSetup);
}

int32_t TDataTable::OrdinalOfNominalID(int32_t Col, const TNominalIDStr& Id,
                                       bool IgnoreCase) const {
  if (!ValidCol(Col) || Id.empty() || !IsCategorial(Col)) return 0;
  const std::string Wanted =
      detail::CutToChars(IgnoreCase ? Access::Lower(Id) : Id, NominalIDLength);
  const TVTypeSpec& Spec = FVType[static_cast<size_t>(Col - 1)];
  for (int32_t s = 1; s <= MaxNominalIDs; ++s) {
    const TNominalIDStr& Slot = Spec.NominalIDs[static_cast<size_t>(s - 1)];
    if ((IgnoreCase ? Access::Lower(Slot) : Slot) == Wanted) return s;
  }
  return 0;
}

int32_t TDataTable::AddNominalID(int32_t Col, const TNominalIDStr& Id) {
  if (!ValidCol(Col)) return 0;
  TVTypeSpec& Spec = FVType[static_cast<size_t>(Col - 1)];
  if (IsCategorial(Col))
    if (const int32_t Found = OrdinalOfNominalID(Col, Id, true)) return Found;
  const int32_t Slot = FirstEmptySlot(Spec);
  if (Slot == 0)
    RaiseComponentError<EZEQDataTableError>(this, "number of available nominal values exceeded");
  Spec.NominalIDs[static_cast<size_t>(Slot - 1)] = detail::CutToChars(Id, NominalIDLength);
  Spec.MScaleType = stNominal;
  Fire(OnChangeSetup);
  return Slot;
}

void TDataTable::ClearNominalIDs(int32_t Col) {
  if (!ValidCol(Col)) return;
  for (TNominalIDStr& Id : FVType[static_cast<size_t>(Col - 1)].NominalIDs) Id.clear();
  Fire(OnChangeSetup);
}

void TDataTable::ListOfCategorialVars(TIntArray& List) const {
  List.clear();
  for (int32_t c = 1; c <= FNrOfCols; ++c)
    if (IsCategorial(c)) List.push_back(c);
}

// ---- cell states in bulk ----

bool TDataTable::IfRowHasCellState(int32_t Row, uint8_t Mask) const {
  return CountMarkedCellsInRow(Row, Mask) > 0;
}

bool TDataTable::IfColHasCellState(int32_t Col, uint8_t Mask) const {
  return CountMarkedCellsInColumn(Col, Mask) > 0;
}

int32_t TDataTable::CountMarkedCellsInRow(int32_t Row, uint8_t Mask) const {
  if (!ValidRow(Row)) return 0;
  int32_t Count = 0;
  for (int32_t c = 1; c <= FNrOfCols; ++c) Count += (FCState[Cell(c, Row)] & Mask) != 0;
  return Count;
}

int32_t TDataTable::CountMarkedCellsInColumn(int32_t Col, uint8_t Mask) const {
  if (!ValidCol(Col)) return 0;
  int32_t Count = 0;
  for (int32_t r = 1; r <= FNrOfRows; ++r) Count += (FCState[Cell(Col, r)] & Mask) != 0;
  return Count;
}

void TDataTable::SetAllCellStates(uint8_t State) {
  std::fill(FCState.begin(), FCState.end(), State);
  Fire(OnChangeCellState);
}

void TDataTable::UnmarkAllCells() {
  for (uint8_t& S : FCState) S = static_cast<uint8_t>(S & ~(csMarkA | csMarkB));
  Fire(OnChangeCellState);
}

void TDataTable::InvertCellStates(uint8_t Mask) {
  for (uint8_t& S : FCState) S = static_cast<uint8_t>(S ^ Mask);
  Fire(OnChangeCellState);
}

void TDataTable::ExchangeMarkings() {
  for (uint8_t& S : FCState) {
    const uint8_t A = S & csMarkA, B = S & csMarkB;
    S = static_cast<uint8_t>((S & ~(csMarkA | csMarkB)) | (A << 1) | (B >> 1));
  }
  Fire(OnChangeCellState);
}

// ---- lookups and check strings ----

namespace {

std::string TrimmedUpper(std::string_view S) {
  const size_t First = S.find_first_not_of(' ');
  if (First == std::string_view::npos) return {};
  const size_t Last = S.find_last_not_of(' ');
  return TDataTableAccess::Upper(S.substr(First, Last - First + 1));
}

int32_t FindName(const std::vector<TDTNameStr>& Names, const std::string& Name) {
  const std::string Wanted = TrimmedUpper(Name);
  for (size_t i = 0; i < Names.size(); ++i)
    if (TrimmedUpper(Names[i]) == Wanted) return static_cast<int32_t>(i + 1);
  return 0;
}

// Feeds a text to the registers: the low byte of character p (from 1) to register p mod 8.
void AddText(TCRCRegisters<8>& R, std::string_view S) {
  int32_t p = 0;
  for (size_t i = 0; i < S.size();) {
    const detail::TUtf8Char C = detail::DecodeUtf8(S, i);
    R.AddByte(static_cast<size_t>(++p % 8), static_cast<uint8_t>(C.Code & 0xFF));
    i += C.Length;
  }
}

}  // namespace

int32_t TDataTable::FindColIndex(const std::string& Name) const { return FindName(FColName, Name); }
int32_t TDataTable::FindRowIndex(const std::string& Name) const { return FindName(FRowName, Name); }

void TDataTable::MakeValidColRange(int32_t& Low, int32_t& High) const {
  detail::RepairRange(Low, High, FNrOfCols);
}

void TDataTable::MakeValidRowRange(int32_t& Low, int32_t& High) const {
  detail::RepairRange(Low, High, FNrOfRows);
}

std::string TDataTable::CRCofNamesAndAttributes() const {
  TCRCRegisters<8> R;
  const auto AddByteAt = [&R](int32_t p, int32_t Value) {
    R.AddByte(static_cast<size_t>(p % 8), static_cast<uint8_t>(Value & 0xFF));
  };
  AddText(R, FComment);
  for (const TDTNameStr& N : FColName) AddText(R, N);
  for (int32_t c = 1; c <= FNrOfCols; ++c) AddByteAt(c, FColAtt[static_cast<size_t>(c - 1)]);
  for (const TDTNameStr& N : FRowName) AddText(R, N);
  for (int32_t r = 1; r <= FNrOfRows; ++r) AddByteAt(r, FRowAtt[static_cast<size_t>(r - 1)]);
  for (int32_t c = 1; c <= FNrOfCols; ++c)
    AddByteAt(c, FVType[static_cast<size_t>(c - 1)].MScaleType);
  for (const TVTypeSpec& Spec : FVType)
    for (const TNominalIDStr& Id : Spec.NominalIDs) AddText(R, Id);
  return R.Str();
}

std::string TDataTable::CRCofCellStates() const {
  TCRCRegisters<8> R;
  for (int32_t c = 1; c <= FNrOfCols; ++c)
    for (int32_t r = 1; r <= FNrOfRows; ++r)
      R.AddByte(static_cast<size_t>(r % 8), FCState[Cell(c, r)]);
  return R.Str();
}

}  // namespace zeq
