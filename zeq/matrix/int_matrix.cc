// TIntMatrix core: the integer twin of TMatrix in its two forms (construction, the frame,
// element access, size, conversions between the forms, filling, copying, check strings).
//
// The sparse form keeps its entries sorted by (column, row): a lookup is a binary search,
// an insertion moves the entries behind it. The logical capacity grows by AllocBy entries
// (std::vector amortises the real reallocations). Methods without a sparse variant do
// nothing, or return 0 / false, in the sparse form.
#include <algorithm>
#include <new>

#include "zeq/matrix/internal/matrix_twin.h"

namespace zeq {

using Twin = detail::TMatrixTwin;

TIntMatrix::TIntMatrix(TComponent* AOwner) : TComponent(AOwner) {
  try {
    Mat.assign(1, 0);
  } catch (const std::bad_alloc&) {
    OutOfMemory();
  }
}

void TIntMatrix::OutOfMemory() const {
  RaiseComponentError<EZEQMatrixError>(this, "not enough memory on heap");
}

void TIntMatrix::SetNCols(int32_t n) { Resize(std::max(n, 0), FNRow); }
void TIntMatrix::SetNRows(int32_t n) { Resize(FNCol, std::max(n, 0)); }

void TIntMatrix::Changed() {
  if (OnChange) OnChange(this);
}

void TIntMatrix::PercDone(TObject* /*Sender*/, int32_t Percent) {
  if (OnPercentDone) OnPercentDone(this, Percent);
}

void TIntMatrix::SortExchange(uint8_t ExchgWhat, int32_t Index1, int32_t Index2, int32_t First,
                              int32_t Last) {
  if (OnSortExchange) OnSortExchange(this, ExchgWhat, Index1, Index2, First, Last);
}

void TIntMatrix::Assign(TPersistent* Source) {
  const auto* Src = dynamic_cast<const TIntMatrix*>(Source);
  if (Src == nullptr) return TComponent::Assign(Source);
  if (Src == this) return;
  std::vector<int32_t> Storage = Src->Mat;  // copies first: a failed allocation changes nothing
  CopySparseState(*Src);
  Twin::Adopt(*this, std::move(Storage), Src->FNCol, Src->FNRow);
  FIsSparse = Src->FIsSparse;
  FDataID = Src->FDataID;
  OnChange = Src->OnChange;
  OnSortExchange = Src->OnSortExchange;
  OnPercentDone = Src->OnPercentDone;
}

void TIntMatrix::AssignTo(TPersistent* Dest) {
  if (auto* D = dynamic_cast<TIntMatrix*>(Dest)) return D->Assign(this);
  TComponent::AssignTo(Dest);
}

void TIntMatrix::MakeValidColRange(int32_t& LowCol, int32_t& HighCol) const {
  Twin::RepairRange(LowCol, HighCol, FNCol);
}
void TIntMatrix::MakeValidRowRange(int32_t& LowRow, int32_t& HighRow) const {
  Twin::RepairRange(LowRow, HighRow, FNRow);
}

bool TIntMatrix::ResizeAndClear(int32_t Nc, int32_t Nr) {
  if (!Resize(Nc, Nr)) return false;
  Fill(0);
  return true;
}

void TIntMatrix::FillDiag(int32_t value) {
  if (!FIsSparse) Twin::FillDiag(*this, value);
}

void TIntMatrix::CopyFrom(const TIntMatrix* MatSource, int32_t SourceColLo, int32_t SourceRowLo,
                          int32_t SourceColHi, int32_t SourceRowHi, int32_t DestCol,
                          int32_t DestRow) {
  Twin::CopyFrom(*this, MatSource, SourceColLo, SourceRowLo, SourceColHi, SourceRowHi, DestCol,
                 DestRow);
}

void TIntMatrix::CopyRowToVec(TIntVector* DestVec, int32_t Row, int32_t FirstCol,
                              int32_t LastCol) const {
  Twin::CopyLineToVec(*this, DestVec, true, Row, FirstCol, LastCol);
}

void TIntMatrix::CopyColToVec(TIntVector* DestVec, int32_t Col, int32_t FirstRow,
                              int32_t LastRow) const {
  Twin::CopyLineToVec(*this, DestVec, false, Col, FirstRow, LastRow);
}

int32_t TIntMatrix::CountValues(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                                int32_t RangeLow, int32_t RangeHigh) const {
  if (FIsSparse) return 0;
  int32_t Count = 0;
  Twin::Dense(*this, LowCol, LowRow, HighCol,
              HighRow)([&](int32_t X) { Count += RangeLow <= X && X <= RangeHigh; });
  return Count;
}

int32_t TIntMatrix::CountMaskedZeros(int32_t LowCol, int32_t HighCol, int32_t LowRow,
                                     int32_t HighRow, uint32_t Bitmask) const {
  if (FIsSparse) return 0;
  int32_t Count = 0;
  Twin::Dense(*this, LowCol, LowRow, HighCol,
              HighRow)([&](int32_t X) { Count += (static_cast<uint32_t>(X) & Bitmask) == 0; });
  return Count;
}

std::string TIntMatrix::CRCofData() const {
  TCRCRegisters<4> Regs;
  if (FIsSparse)  // the stored values in entry order: the positions not stored are not walked
    for (int32_t i = 0; i < FSparseNumElem; ++i)
      Regs.AddElement(SpMat[static_cast<size_t>(i)].value);
  else
    Twin::Dense(*this, 0, 0, 0, 0)([&](int32_t X) { Regs.AddElement(X); });
  return Regs.Str();
}

// ---- the sparse form and the methods that know both forms ----

TIntMatrix* TIntMatrix::CreateSparse(TComponent* AOwner, int32_t AllocBy) {
  auto* M = new TIntMatrix(AOwner);
  try {
    M->ResetSparse(AllocBy);
  } catch (...) {
    delete M;
    throw;
  }
  M->FIsSparse = true;
  M->FNCol = M->FNRow = 0;
  return M;
}

void TIntMatrix::ResetSparse(int32_t AllocBy) {
  std::vector<TSpMatElemInt> Entries;
  try {
    Entries.resize(static_cast<size_t>(std::max(AllocBy, 1)));
  } catch (const std::bad_alloc&) {
    OutOfMemory();
  }
  FAllocBy = std::max(AllocBy, 1);
  SpMat = std::move(Entries);
  FNumAllocated = FAllocBy;
  FSparseNumElem = 0;
  FSparseLowCol = FSparseLowRow = INT32_MAX;
  FSparseHighCol = FSparseHighRow = 1;
}

void TIntMatrix::CopySparseState(const TIntMatrix& Src) {
  SpMat = Src.SpMat;  // first: a failed allocation changes nothing
  FNumAllocated = Src.FNumAllocated;
  FAllocBy = Src.FAllocBy;
  FSparseNumElem = Src.FSparseNumElem;
  FSparseLowCol = Src.FSparseLowCol, FSparseHighCol = Src.FSparseHighCol;
  FSparseLowRow = Src.FSparseLowRow, FSparseHighRow = Src.FSparseHighRow;
}

TSpMatElemInt TIntMatrix::SparseEntry(int32_t i) const {
  if (!FIsSparse || i < 1 || i > FSparseNumElem) return {0, 0, 0};
  return SpMat[static_cast<size_t>(i - 1)];
}

// The first entry (0-based) whose position is not before (Nc, Nr), or the last entry.
size_t TIntMatrix::SparseSearch(int32_t Nc, int32_t Nr) const {
  size_t Lo = 0, Hi = static_cast<size_t>(FSparseNumElem) - 1;
  while (Lo < Hi) {
    const size_t Mid = (Lo + Hi) / 2;
    if (Twin::SparseBefore(SpMat[Mid], Nc, Nr))
      Lo = Mid + 1;
    else
      Hi = Mid;
  }
  return Lo;
}

void TIntMatrix::WidenBounds(int32_t Nc, int32_t Nr) {
  FSparseLowCol = std::min(FSparseLowCol, Nc);
  FSparseHighCol = std::max(FSparseHighCol, Nc);
  FSparseLowRow = std::min(FSparseLowRow, Nr);
  FSparseHighRow = std::max(FSparseHighRow, Nr);
}

// Appends an entry behind all others, growing the capacity by AllocBy when needed.
void TIntMatrix::SparseAppend(TSpMatElemInt Entry) {
  if (FSparseNumElem + 1 > FNumAllocated) {
    try {
      SpMat.resize(static_cast<size_t>(FNumAllocated) + static_cast<size_t>(FAllocBy));
    } catch (const std::bad_alloc&) {
      OutOfMemory();
    }
    FNumAllocated += FAllocBy;
  }
  SpMat[static_cast<size_t>(FSparseNumElem++)] = Entry;
  WidenBounds(Entry.colidx, Entry.rowidx);
}

int32_t TIntMatrix::GetVal(int32_t Nc, int32_t Nr) const {
  if (!FIsSparse) return InMatrix(Nc, Nr) ? At(Nc, Nr) : 0;
  if (FSparseNumElem == 0 || Nc < FSparseLowCol || Nc > FSparseHighCol || Nr < FSparseLowRow ||
      Nr > FSparseHighRow)
    return 0;
  const TSpMatElemInt& E = SpMat[SparseSearch(Nc, Nr)];
  return E.colidx == Nc && E.rowidx == Nr ? E.value : 0;
}

void TIntMatrix::SetVal(int32_t Nc, int32_t Nr, int32_t Value) {
  if (!FIsSparse) {
    if (!InMatrix(Nc, Nr)) return;
    At(Nc, Nr) = Value;
    Changed();
    return;
  }
  if (Nc < 1 || Nr < 1) return;
  size_t Pos = 0;
  if (FSparseNumElem > 0) {
    Pos = SparseSearch(Nc, Nr);
    TSpMatElemInt& E = SpMat[Pos];
    if (E.colidx == Nc && E.rowidx == Nr) {
      E.value = Value;
      Changed();
      return;
    }
    if (Twin::SparseBefore(E, Nc, Nr)) ++Pos;
  }
  SparseAppend({Nc, Nr, Value});  // makes room (and widens the bounds), then moves into place
  std::rotate(SpMat.begin() + static_cast<ptrdiff_t>(Pos), SpMat.begin() + FSparseNumElem - 1,
              SpMat.begin() + FSparseNumElem);
  // The matrix grows to cover the new position but never shrinks here: a size set by Resize
  // (or kept from the dense form) stays, so that a later SparseToArray gives it back.
  FNCol = std::max(FNCol, FSparseHighCol);
  FNRow = std::max(FNRow, FSparseHighRow);
  Changed();
}

bool TIntMatrix::Resize(int32_t Nc, int32_t Nr) {
  if (!FIsSparse) return Twin::Resize(*this, Nc, Nr);
  if (Nc == FNCol && Nr == FNRow) return true;
  Nc = std::max(Nc, 0);
  Nr = std::max(Nr, 0);
  FNCol = Nc;
  FNRow = Nr;
  const auto End =
      std::remove_if(SpMat.begin(), SpMat.begin() + FSparseNumElem,
                     [Nc, Nr](const TSpMatElemInt& E) { return E.colidx > Nc || E.rowidx > Nr; });
  FSparseNumElem = static_cast<int32_t>(End - SpMat.begin());
  // The bounds are taken again from the entries that remain. Merely lowering the high bounds
  // to the new sizes would leave them above the largest stored position after a removal, and
  // Add would then refuse a matrix whose every entry fits.
  FSparseLowCol = FSparseLowRow = INT32_MAX;
  FSparseHighCol = FSparseHighRow = 1;
  for (int32_t i = 0; i < FSparseNumElem; ++i)
    WidenBounds(SpMat[static_cast<size_t>(i)].colidx, SpMat[static_cast<size_t>(i)].rowidx);
  Changed();
  return true;
}

void TIntMatrix::Fill(int32_t value) {
  if (!FIsSparse) return Twin::Fill(*this, value);
  if (value == 0)
    ResetSparse(FAllocBy);
  else
    for (int32_t i = 0; i < FSparseNumElem; ++i) SpMat[static_cast<size_t>(i)].value = value;
  Changed();
}

void TIntMatrix::Clone(const TIntMatrix* MatSource) {
  if (MatSource == nullptr || MatSource->FIsSparse != FIsSparse) return;
  if (!FIsSparse) return Twin::Clone(*this, MatSource);
  if (MatSource == this) return;
  CopySparseState(*MatSource);
  FNCol = MatSource->FNCol;  // the sizes travel too, so that every entry stays inside
  FNRow = MatSource->FNRow;
  Changed();
}

void TIntMatrix::ArrayToSparse(int32_t AllocBy) {
  if (FIsSparse) return;
  // Everything is allocated before anything changes, so that a failure leaves the dense
  // form as it was. The capacity is the one the appends would reach: AllocBy steps.
  const int32_t Step = std::max(AllocBy, 1);
  int64_t Count = 0;
  Twin::Dense(*this, 0, 0, 0, 0)([&](int32_t X) { Count += X != 0; });
  const int64_t Capacity = std::max<int64_t>((Count + Step - 1) / Step, 1) * Step;
  std::vector<TSpMatElemInt> Entries;
  std::vector<int32_t> Released;
  try {
    Entries.reserve(static_cast<size_t>(Capacity));
    Released.assign(1, 0);
  } catch (const std::bad_alloc&) {
    OutOfMemory();
  }
  FSparseLowCol = FSparseLowRow = INT32_MAX;
  FSparseHighCol = FSparseHighRow = 1;
  for (int32_t c = 1; c <= FNCol; ++c)
    for (int32_t r = 1; r <= FNRow; ++r)
      if (const int32_t V = At(c, r); V != 0) {
        Entries.push_back({c, r, V});
        WidenBounds(c, r);
      }
  Entries.resize(static_cast<size_t>(Capacity));  // within the reserved capacity: no throw
  SpMat = std::move(Entries);
  FAllocBy = Step;
  FNumAllocated = static_cast<int32_t>(Capacity);
  FSparseNumElem = static_cast<int32_t>(Count);
  Mat = std::move(Released);  // the dense storage is released
  FIsSparse = true;
}

void TIntMatrix::SparseToArray() {
  if (!FIsSparse) return;
  // The dense form keeps the sparse sizes, which cover every stored position (SetVal grows
  // them, Resize removes the entries outside): a dense -> sparse -> dense round trip gives the
  // matrix back as it was. An empty 0 x 0 sparse matrix becomes the 1 x 1 zero matrix.
  const int32_t Nc = std::max(FNCol, 1), Nr = std::max(FNRow, 1);
  std::vector<int32_t> Dense = Twin::NewStorage(*this, Nc, Nr);
  for (int32_t i = 0; i < FSparseNumElem; ++i) {
    const TSpMatElemInt& E = SpMat[static_cast<size_t>(i)];
    Dense[static_cast<size_t>(E.colidx - 1) * static_cast<size_t>(Nr) +
          static_cast<size_t>(E.rowidx - 1)] = E.value;
  }
  Twin::Adopt(*this, std::move(Dense), Nc, Nr);
  SpMat.clear();
  SpMat.shrink_to_fit();
  FNumAllocated = 0;
  FSparseNumElem = 0;
  FIsSparse = false;
}

}  // namespace zeq
