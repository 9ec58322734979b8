// The methods of TIntMatrix that know both forms: element access, size, filling, cloning,
// addition, transposition and the conversions between dense and sparse.
//
// The sparse form keeps its entries sorted by (column, row): a lookup is a binary search,
// an insertion moves the entries behind it. The logical capacity grows by AllocBy entries
// (std::vector amortises the real reallocations).
#include <algorithm>
#include <new>

#include "zeq/base/int32_wrap.h"
#include "zeq/matrix/matrix_twin.h"

namespace zeq {

using Twin = detail::TMatrixTwin;
using detail::WrapAdd;

namespace {

bool Before(const TSpMatElemInt& E, int32_t Nc, int32_t Nr) {
  return E.colidx < Nc || (E.colidx == Nc && E.rowidx < Nr);
}

}  // namespace

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
    if (Before(SpMat[Mid], Nc, Nr))
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
    if (Before(E, Nc, Nr)) ++Pos;
  }
  SparseAppend({Nc, Nr, Value});  // makes room (and widens the bounds), then moves into place
  std::rotate(SpMat.begin() + static_cast<ptrdiff_t>(Pos), SpMat.begin() + FSparseNumElem - 1,
              SpMat.begin() + FSparseNumElem);
  FNCol = FSparseHighCol;
  FNRow = FSparseHighRow;
  Changed();
}

bool TIntMatrix::Resize(int32_t Nc, int32_t Nr) {
  if (!FIsSparse) return Twin::Resize(*this, Nc, Nr);
  if (Nc == FNCol && Nr == FNRow) return true;
  Nc = std::max(Nc, 0);
  Nr = std::max(Nr, 0);
  FNCol = Nc;
  FNRow = Nr;
  FSparseHighCol = std::min(FSparseHighCol, Nc);
  FSparseHighRow = std::min(FSparseHighRow, Nr);
  FSparseLowCol = std::min(FSparseLowCol, FSparseHighCol);
  FSparseLowRow = std::min(FSparseLowRow, FSparseHighRow);
  const auto End =
      std::remove_if(SpMat.begin(), SpMat.begin() + FSparseNumElem,
                     [Nc, Nr](const TSpMatElemInt& E) { return E.colidx > Nc || E.rowidx > Nr; });
  FSparseNumElem = static_cast<int32_t>(End - SpMat.begin());
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

bool TIntMatrix::Add(const TIntMatrix* MatB) {
  if (MatB == nullptr || FIsSparse) return false;
  if (!MatB->FIsSparse) {
    if (MatB->FNCol != FNCol || MatB->FNRow != FNRow) return false;
    for (int32_t c = 1; c <= FNCol; ++c)
      for (int32_t r = 1; r <= FNRow; ++r) At(c, r) = WrapAdd(At(c, r), MatB->At(c, r));
  } else {
    if (MatB->FSparseHighCol > FNCol || MatB->FSparseHighRow > FNRow) return false;
    for (int32_t i = 0; i < MatB->FSparseNumElem; ++i) {
      const TSpMatElemInt& E = MatB->SpMat[static_cast<size_t>(i)];
      At(E.colidx, E.rowidx) = WrapAdd(At(E.colidx, E.rowidx), E.value);
    }
  }
  Changed();
  return true;
}

bool TIntMatrix::Transpose() {
  if (!FIsSparse) return Twin::Transpose(*this);
  for (int32_t i = 0; i < FSparseNumElem; ++i)
    std::swap(SpMat[static_cast<size_t>(i)].colidx, SpMat[static_cast<size_t>(i)].rowidx);
  std::swap(FSparseLowCol, FSparseLowRow);
  std::swap(FSparseHighCol, FSparseHighRow);
  std::swap(FNCol, FNRow);
  TSpMatElemInt* E = SpMat.data();
  detail::CombSortPasses(
      FSparseNumElem, FSparseNumElem,
      [&](int64_t Gap) {
        bool Exchanged = false;
        for (int64_t i = 0; i + Gap < FSparseNumElem; ++i)
          if (Before(E[i + Gap], E[i].colidx, E[i].rowidx)) {
            std::swap(E[i], E[i + Gap]);
            Exchanged = true;
          }
        return Exchanged;
      },
      [] {});
  Changed();
  return true;
}

void TIntMatrix::ArrayToSparse(int32_t AllocBy) {
  if (FIsSparse) return;
  std::vector<int32_t> Dense = std::move(Mat);
  const size_t Ld = FLd;
  try {
    ResetSparse(AllocBy);
    for (int32_t c = 1; c <= FNCol; ++c)
      for (int32_t r = 1; r <= FNRow; ++r) {
        const int32_t V = Dense[static_cast<size_t>(c - 1) * Ld + static_cast<size_t>(r - 1)];
        if (V != 0) SparseAppend({c, r, V});
      }
    Mat.assign(1, 0);  // the dense storage is released
  } catch (...) {
    Mat = std::move(Dense);  // a failed conversion leaves the dense form as it was
    SpMat.clear();
    throw;
  }
  FIsSparse = true;
}

void TIntMatrix::SparseToArray() {
  if (!FIsSparse) return;
  const int32_t Nc = FSparseNumElem == 0 ? 1 : FSparseHighCol,
                Nr = FSparseNumElem == 0 ? 1 : FSparseHighRow;
  std::vector<int32_t> Dense = Twin::NewStorage(*this, Nc, Nr);
  for (int32_t i = 0; i < FSparseNumElem; ++i) {
    const TSpMatElemInt& E = SpMat[static_cast<size_t>(i)];
    Dense[static_cast<size_t>(E.colidx - 1) * static_cast<size_t>(Nr) +
          static_cast<size_t>(E.rowidx - 1)] = E.value;
  }
  AdoptStorage(std::move(Dense), Nc, Nr);
  SpMat.clear();
  SpMat.shrink_to_fit();
  FNumAllocated = 0;
  FSparseNumElem = 0;
  FIsSparse = false;
}

}  // namespace zeq
