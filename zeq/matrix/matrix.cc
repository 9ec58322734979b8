// TMatrix core: storage, element access, sizing, filling, copying, cloning and assignment.
//
// The storage is one column-major buffer of max(columns, 1) x max(rows, 1) doubles; loops are
// bounded by the counts, never by the buffer.
#include <algorithm>
#include <cmath>
#include <new>

#include "zeq/math1/math1.h"
#include "zeq/matrix/matrix.h"

namespace zeq {

namespace {

size_t Slots(int32_t Count) { return static_cast<size_t>(std::max(Count, 1)); }

// Clamps both bounds into 1..Count and orders them. With Count = 0 every range becomes the
// empty 1..0, so that no loop ever visits the storage slot kept for an empty dimension.
void RepairRange(int32_t& Low, int32_t& High, int32_t Count) {
  if (Count < 1) {
    Low = 1;
    High = 0;
    return;
  }
  Low = std::clamp(Low, 1, Count);
  High = std::clamp(High, 1, Count);
  if (Low > High) std::swap(Low, High);
}

}  // namespace

TMatrix::TMatrix(TComponent* AOwner) : TComponent(AOwner) {
  try {
    Mat.assign(1, 0.0);
  } catch (const std::bad_alloc&) {
    OutOfMemory();
  }
}

void TMatrix::OutOfMemory() const {
  RaiseComponentError<EZEQMatrixError>(this, "not enough memory on heap");
}

void TMatrix::AdoptStorage(std::vector<double>&& Storage, int32_t Nc, int32_t Nr) {
  Mat = std::move(Storage);
  FNCol = Nc;
  FNRow = Nr;
  FLd = Slots(Nr);
}

void TMatrix::SetNCols(int32_t n) { Resize(std::max(n, 0), FNRow); }
void TMatrix::SetNRows(int32_t n) { Resize(FNCol, std::max(n, 0)); }

int32_t TMatrix::GetFPrecis(int32_t ix) const { return FPrecis[ix <= 1 ? 0 : 1]; }

void TMatrix::SetFPrecis(int32_t ix, int32_t value) {
  FPrecis[ix <= 1 ? 0 : 1] = std::clamp(value, -1, 25);
}

void TMatrix::Assign(TPersistent* Source) {
  const auto* Src = dynamic_cast<const TMatrix*>(Source);
  if (Src == nullptr) return TComponent::Assign(Source);
  if (Src == this) return;
  std::vector<double> Storage;
  try {
    Storage.resize(Slots(Src->FNCol) * Slots(Src->FNRow));
  } catch (const std::bad_alloc&) {
    OutOfMemory();
  }
  for (int32_t c = 1; c <= Src->FNCol; ++c)
    for (int32_t r = 1; r <= Src->FNRow; ++r)
      Storage[static_cast<size_t>(c - 1) * Slots(Src->FNRow) + static_cast<size_t>(r - 1)] =
          Src->At(c, r);
  AdoptStorage(std::move(Storage), Src->FNCol, Src->FNRow);
  FDataID = Src->FDataID;
  FPrecis = Src->FPrecis;
  OnChange = Src->OnChange;
  OnSortExchange = Src->OnSortExchange;
  OnCalcDistance = Src->OnCalcDistance;
}

void TMatrix::AssignTo(TPersistent* Dest) {
  if (auto* D = dynamic_cast<TMatrix*>(Dest)) return D->Assign(this);
  TComponent::AssignTo(Dest);
}

void TMatrix::Changed() {
  if (OnChange) OnChange(this);
}

void TMatrix::SortExchange(uint8_t ExchgWhat, int32_t Index1, int32_t Index2, int32_t First,
                           int32_t Last) {
  if (OnSortExchange) OnSortExchange(this, ExchgWhat, Index1, Index2, First, Last);
}

double TMatrix::GetVal(int32_t Nc, int32_t Nr) const { return InMatrix(Nc, Nr) ? At(Nc, Nr) : 0.0; }

void TMatrix::SetVal(int32_t Nc, int32_t Nr, double Value) {
  if (!InMatrix(Nc, Nr)) return;
  At(Nc, Nr) = Value;
  Changed();
}

bool TMatrix::Resize(int32_t Nc, int32_t Nr) {
  if (Nc == FNCol && Nr == FNRow) return true;
  Nc = std::max(Nc, 0);
  Nr = std::max(Nr, 0);
  std::vector<double> Storage;
  try {
    Storage.resize(Slots(Nc) * Slots(Nr), 0.0);
  } catch (const std::bad_alloc&) {
    OutOfMemory();
  } catch (const std::length_error&) {
    OutOfMemory();
  }
  const int32_t KeepCols = std::min(FNCol, Nc), KeepRows = std::min(FNRow, Nr);
  for (int32_t c = 1; c <= KeepCols; ++c)
    std::copy_n(&At(c, 1), KeepRows,
                Storage.begin() + static_cast<ptrdiff_t>(static_cast<size_t>(c - 1) * Slots(Nr)));
  AdoptStorage(std::move(Storage), Nc, Nr);
  Changed();
  return true;
}

bool TMatrix::ResizeAndClear(int32_t Nc, int32_t Nr) {
  if (!Resize(Nc, Nr)) return false;
  Fill(0.0);
  return true;
}

void TMatrix::MakeValidColRange(int32_t& LowCol, int32_t& HighCol) const {
  if (LowCol == 0 && HighCol == 0) {
    LowCol = 1;
    HighCol = FNCol;
    return;
  }
  RepairRange(LowCol, HighCol, FNCol);
}

void TMatrix::MakeValidRowRange(int32_t& LowRow, int32_t& HighRow) const {
  if (LowRow == 0 && HighRow == 0) {
    LowRow = 1;
    HighRow = FNRow;
    return;
  }
  RepairRange(LowRow, HighRow, FNRow);
}

void TMatrix::Fill(double value) {
  for (int32_t c = 1; c <= FNCol; ++c) std::fill_n(&At(c, 1), FNRow, value);
  Changed();
}

void TMatrix::FillDiag(double value) {
  for (int32_t i = 1; i <= std::min(FNCol, FNRow); ++i) At(i, i) = value;
  Changed();
}

void TMatrix::FillRandomUniform(double RangeLow, double RangeHigh) {
  for (int32_t c = 1; c <= FNCol; ++c)
    for (int32_t r = 1; r <= FNRow; ++r) At(c, r) = Random() * (RangeHigh - RangeLow) + RangeLow;
  Changed();
}

void TMatrix::FillRandomGauss(double Mean, double StdDev) {
  for (int32_t c = 1; c <= FNCol; ++c)
    for (int32_t r = 1; r <= FNRow; ++r) At(c, r) = GRandom() * StdDev + Mean;
  Changed();
}

void TMatrix::CopyFrom(const TMatrix* MatSource, int32_t SourceColLo, int32_t SourceRowLo,
                       int32_t SourceColHi, int32_t SourceRowHi, int32_t DestCol, int32_t DestRow) {
  if (MatSource == nullptr) return;
  const auto Clamp = [](int32_t& V, int32_t Count) { V = std::min(std::max(V, 1), Count); };
  Clamp(SourceColLo, MatSource->FNCol);
  Clamp(SourceColHi, MatSource->FNCol);
  Clamp(SourceRowLo, MatSource->FNRow);
  Clamp(SourceRowHi, MatSource->FNRow);
  if (SourceRowLo > SourceRowHi) std::swap(SourceRowLo, SourceRowHi);
  if (SourceColLo > SourceColHi) std::swap(SourceColLo, SourceColHi);
  // 64-bit destination indices: a corner near the ends of the 32-bit range must not wrap.
  for (int64_t c = SourceColLo; c <= SourceColHi; ++c)
    for (int64_t r = SourceRowLo; r <= SourceRowHi; ++r) {
      const int64_t Dc = c - SourceColLo + DestCol, Dr = r - SourceRowLo + DestRow;
      if (Dc >= 1 && Dc <= FNCol && Dr >= 1 && Dr <= FNRow)
        SetVal(static_cast<int32_t>(Dc), static_cast<int32_t>(Dr),
               MatSource->GetVal(static_cast<int32_t>(c), static_cast<int32_t>(r)));
    }
  Changed();
}

void TMatrix::CopyFromVec(TDims Dim, const TVector* VecSource, int32_t Source1stElem,
                          int32_t SourceLastElem, int32_t DestCol, int32_t DestRow) {
  if (VecSource == nullptr) return;
  VecSource->MakeValidElemRange(Source1stElem, SourceLastElem);
  for (int64_t i = Source1stElem; i <= SourceLastElem; ++i) {
    const int64_t Offset = i - Source1stElem;
    const int64_t Dc = Dim == dimColumns ? Offset + DestCol : DestCol;
    const int64_t Dr = Dim == dimColumns ? DestRow : Offset + DestRow;
    if (Dc >= 1 && Dc <= FNCol && Dr >= 1 && Dr <= FNRow)
      SetVal(static_cast<int32_t>(Dc), static_cast<int32_t>(Dr),
             VecSource->GetVal(static_cast<int32_t>(i)));
  }
  Changed();
}

void TMatrix::CopyFromVec(const TVector* VecSource, int32_t Source1stElem, int32_t SourceLastElem,
                          int32_t DestCol, int32_t DestRow) {
  CopyFromVec(dimRows, VecSource, Source1stElem, SourceLastElem, DestCol, DestRow);
}

void TMatrix::CopyRowToVec(TVector* DestVec, int32_t Row, int32_t FirstCol, int32_t LastCol) const {
  if (DestVec == nullptr) return;
  MakeValidColRange(FirstCol, LastCol);
  Row = std::clamp(Row, 1, std::max(FNRow, 1));
  LastCol =
      static_cast<int32_t>(std::min<int64_t>(LastCol, int64_t{DestVec->NrOfElem()} + FirstCol - 1));
  DestVec->Fill(0.0);
  for (int32_t i = FirstCol; i <= LastCol; ++i) DestVec->SetVal(i - FirstCol + 1, GetVal(i, Row));
}

void TMatrix::CopyColToVec(TVector* DestVec, int32_t Col, int32_t FirstRow, int32_t LastRow) const {
  if (DestVec == nullptr) return;
  MakeValidRowRange(FirstRow, LastRow);
  Col = std::clamp(Col, 1, std::max(FNCol, 1));
  LastRow =
      static_cast<int32_t>(std::min<int64_t>(LastRow, int64_t{DestVec->NrOfElem()} + FirstRow - 1));
  DestVec->Fill(0.0);
  for (int32_t i = FirstRow; i <= LastRow; ++i) DestVec->SetVal(i - FirstRow + 1, GetVal(Col, i));
}

void TMatrix::Clone(const TMatrix* MatSource) {
  if (MatSource == nullptr) return;
  Resize(MatSource->FNCol, MatSource->FNRow);
  for (int32_t c = 1; c <= FNCol; ++c)
    for (int32_t r = 1; r <= FNRow; ++r) SetVal(c, r, MatSource->GetVal(c, r));
  Changed();
}

int32_t TMatrix::CountValues(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                             double RangeLow, double RangeHigh) const {
  MakeValidColRange(LowCol, HighCol);
  MakeValidRowRange(LowRow, HighRow);
  int32_t Count = 0;
  for (int32_t c = LowCol; c <= HighCol; ++c)
    for (int32_t r = LowRow; r <= HighRow; ++r) {
      const double X = At(c, r);
      if (RangeLow <= X && X <= RangeHigh) ++Count;
    }
  return Count;
}

std::string TMatrix::CRCofData() const {
  TCRCRegisters<8> Regs;
  for (int32_t c = 1; c <= FNCol; ++c)
    for (int32_t r = 1; r <= FNRow; ++r) Regs.AddElement(At(c, r));
  return Regs.Str();
}

}  // namespace zeq
