// TIntMatrix in the dense form: the integer twin of TMatrix. Shared algorithms come from
// matrix_twin.h; this file holds the integer differences (wrapping 32-bit arithmetic and
// products, the MinMax start values) and routes each method to the form it supports.
// Dense-only methods do nothing, or return 0 / false, in the sparse form.
#include <algorithm>
#include <cmath>
#include <new>

#include "zeq/base/int32_wrap.h"
#include "zeq/matrix/matrix_twin.h"

namespace zeq {

using Twin = detail::TMatrixTwin;

using detail::Wrap;
using detail::WrapAdd;
using detail::WrapMul;
using detail::WrapSub;

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

void TIntMatrix::AdoptStorage(std::vector<int32_t>&& Storage, int32_t Nc, int32_t Nr) {
  Twin::Adopt(*this, std::move(Storage), Nc, Nr);
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
  AdoptStorage(std::move(Storage), Src->FNCol, Src->FNRow);
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

// ---- statistics: dense rectangle or stored entries ----

namespace {

// The visitor over a rectangle of M in either form.
auto Elements(const TIntMatrix& M, int32_t LowCol, int32_t LowRow, int32_t HighCol,
              int32_t HighRow) {
  M.MakeValidColRange(LowCol, HighCol);
  M.MakeValidRowRange(LowRow, HighRow);
  return [&M, LowCol, LowRow, HighCol, HighRow](auto&& F) {
    if (M.IsSparse()) {
      for (int32_t i = 1; i <= M.SparseNumElem(); ++i) {
        const TSpMatElemInt E = M.SparseEntry(i);
        if (E.colidx >= LowCol && E.colidx <= HighCol && E.rowidx >= LowRow && E.rowidx <= HighRow)
          F(E.value);
      }
      return;
    }
    for (int32_t c = LowCol; c <= HighCol; ++c)
      for (int32_t r = LowRow; r <= HighRow; ++r) F(M.GetVal(c, r));
  };
}

}  // namespace

int32_t TIntMatrix::Sum(int32_t LoC, int32_t LoR, int32_t HiC, int32_t HiR) const {
  int32_t S = 0;
  Elements(*this, LoC, LoR, HiC, HiR)([&](int32_t X) { S = WrapAdd(S, X); });
  return S;
}

int32_t TIntMatrix::Trace() const {
  if (FNCol != FNRow) return 0;
  int32_t S = 0;
  for (int32_t i = 1; i <= FNCol; ++i) S = WrapAdd(S, GetVal(i, i));
  return S;
}

void TIntMatrix::MinMax(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                        int32_t& Minimum, int32_t& Maximum) const {
  Twin::MinMax(Elements(*this, LowCol, LowRow, HighCol, HighRow), INT32_MAX, -INT32_MAX, Minimum,
               Maximum);
}

void TIntMatrix::MeanVar(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                         double& Mean, double& Variance) const {
  Twin::MeanVar(Elements(*this, LowCol, LowRow, HighCol, HighRow), Mean, Variance);
}

void TIntMatrix::SkewKurt(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                          double& Skewness, double& Kurtosis) const {
  Twin::SkewKurt(Elements(*this, LowCol, LowRow, HighCol, HighRow), Skewness, Kurtosis);
}

void TIntMatrix::SkewKurtSample(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                                double& Skewness, double& Kurtosis) const {
  Twin::SkewKurtSample(Elements(*this, LowCol, LowRow, HighCol, HighRow), Skewness, Kurtosis);
}

double TIntMatrix::GeometricMean(int32_t LowCol, int32_t LowRow, int32_t HighCol,
                                 int32_t HighRow) const {
  return FIsSparse ? 0.0 : Twin::GeometricMean(*this, LowCol, LowRow, HighCol, HighRow);
}

double TIntMatrix::HarmonicMean(int32_t LowCol, int32_t LowRow, int32_t HighCol,
                                int32_t HighRow) const {
  return FIsSparse ? 0.0 : Twin::HarmonicMean(*this, LowCol, LowRow, HighCol, HighRow);
}

bool TIntMatrix::Quartiles(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                           double& Q1, double& Q2, double& Q3) const {
  if (FIsSparse) return Q1 = Q2 = Q3 = 0, false;
  return Twin::Quartiles(*this, LowCol, LowRow, HighCol, HighRow, Q1, Q2, Q3);
}

double TIntMatrix::Percentile(double prob, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                              int32_t HighRow) const {
  return FIsSparse ? 0.0 : Twin::Percentile(*this, prob, LowCol, LowRow, HighCol, HighRow);
}

double TIntMatrix::Percentile(double prob, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                              int32_t HighRow, int32_t SampleSize) const {
  return FIsSparse ? 0.0
                   : Twin::Percentile(*this, prob, LowCol, LowRow, HighCol, HighRow, SampleSize);
}

void TIntMatrix::MeanVec(TDims Dim, TVector* Means) const {
  if (!FIsSparse) Twin::MeanVec(*this, Dim, Means);
}

// ---- arithmetic ----

bool TIntMatrix::Subtract(const TIntMatrix* MatB) {
  if (FIsSparse || MatB == nullptr || MatB->FIsSparse || MatB->FNCol != FNCol ||
      MatB->FNRow != FNRow)
    return false;
  for (int32_t c = 1; c <= FNCol; ++c)
    for (int32_t r = 1; r <= FNRow; ++r) At(c, r) = WrapSub(At(c, r), MatB->At(c, r));
  Changed();
  return true;
}

void TIntMatrix::SMult(int32_t Scalar) {
  if (FIsSparse) return;
  for (int32_t c = 1; c <= FNCol; ++c)
    for (int32_t r = 1; r <= FNRow; ++r) At(c, r) = WrapMul(At(c, r), Scalar);
  Changed();
}

void TIntMatrix::SAdd(int32_t Scalar) {
  if (FIsSparse) return;
  for (int32_t c = 1; c <= FNCol; ++c)
    for (int32_t r = 1; r <= FNRow; ++r) At(c, r) = WrapAdd(At(c, r), Scalar);
  Changed();
}

namespace {

// C(i, j) = sum_k a(i, k) b(k, j) in wrapping 32-bit arithmetic, whose result does not depend
// on the order of the terms. a and b read op(A) and op(B) with 1-based (row, column).
template <class AFn, class BFn>
void IntProduct(int32_t Rows, int32_t Cols, int32_t K, AFn a, BFn b, int32_t* C, size_t Ldc) {
  for (int32_t j = 1; j <= Cols; ++j)
    for (int32_t i = 1; i <= Rows; ++i) {
      uint32_t S = 0;
      for (int32_t k = 1; k <= K; ++k)
        S += static_cast<uint32_t>(a(i, k)) * static_cast<uint32_t>(b(k, j));
      C[static_cast<size_t>(j - 1) * Ldc + static_cast<size_t>(i - 1)] = Wrap(S);
    }
}

}  // namespace

bool TIntMatrix::EMult(const TIntMatrix* MatB, TIntMatrix* MatRes) {
  if (FIsSparse || MatB == nullptr || MatRes == nullptr || MatB->FIsSparse || MatRes->FIsSparse ||
      FNCol != MatB->FNCol || FNRow != MatB->FNRow)
    return false;
  Twin::DeliverResult(*this, MatRes, MatB, FNCol, FNRow, [&](int32_t* C, size_t Ldc) {
    for (int32_t c = 1; c <= FNCol; ++c)
      for (int32_t r = 1; r <= FNRow; ++r)
        C[static_cast<size_t>(c - 1) * Ldc + static_cast<size_t>(r - 1)] =
            WrapMul(At(c, r), MatB->At(c, r));
  });
  Changed();
  return true;
}

bool TIntMatrix::Multiply(const TIntMatrix* MatB, TIntMatrix* MatRes) {
  if (FIsSparse || MatB == nullptr || MatRes == nullptr || MatB->FIsSparse || MatRes->FIsSparse ||
      FNCol != MatB->FNRow)
    return false;
  Twin::DeliverResult(*this, MatRes, MatB, MatB->FNCol, FNRow, [&](int32_t* C, size_t Ldc) {
    IntProduct(
        FNRow, MatB->FNCol, FNCol, [&](int32_t i, int32_t k) { return At(k, i); },
        [&](int32_t k, int32_t j) { return MatB->At(j, k); }, C, Ldc);
  });
  Changed();
  return true;
}

bool TIntMatrix::MultiplyTransposed(const TIntMatrix* MatB, TIntMatrix* MatRes) {
  if (FIsSparse || MatB == nullptr || MatRes == nullptr || MatB->FIsSparse || MatRes->FIsSparse ||
      FNCol != MatB->FNCol)
    return false;
  Twin::DeliverResult(*this, MatRes, MatB, MatB->FNRow, FNRow, [&](int32_t* C, size_t Ldc) {
    IntProduct(
        FNRow, MatB->FNRow, FNCol, [&](int32_t i, int32_t k) { return At(k, i); },
        [&](int32_t k, int32_t j) { return MatB->At(k, j); }, C, Ldc);
  });
  Changed();
  return true;
}

bool TIntMatrix::TransposeAndMultiply(const TIntMatrix* MatB, TIntMatrix* MatRes) {
  if (FIsSparse || MatB == nullptr || MatRes == nullptr || MatB->FIsSparse || MatRes->FIsSparse ||
      FNRow != MatB->FNRow)
    return false;
  Twin::DeliverResult(*this, MatRes, MatB, MatB->FNCol, FNCol, [&](int32_t* C, size_t Ldc) {
    IntProduct(
        FNCol, MatB->FNCol, FNRow, [&](int32_t i, int32_t k) { return At(i, k); },
        [&](int32_t k, int32_t j) { return MatB->At(j, k); }, C, Ldc);
  });
  Changed();
  return true;
}

bool TIntMatrix::Multiply(const TIntVector* VecB, TIntVector* VecRes) {
  if (FIsSparse || VecB == nullptr || VecRes == nullptr || FNCol != VecB->NrOfElem()) return false;
  std::vector<int32_t> Y(static_cast<size_t>(FNRow));
  IntProduct(
      FNRow, 1, FNCol, [&](int32_t i, int32_t k) { return At(k, i); },
      [&](int32_t k, int32_t) { return VecB->GetVal(k); }, Y.data(), Y.size());
  VecRes->SetIntVecSize(FNRow);
  for (int32_t i = 1; i <= FNRow; ++i) VecRes->SetVal(i, Y[static_cast<size_t>(i - 1)]);
  Changed();
  return true;
}

bool TIntMatrix::TransposeAndMultiply(const TIntVector* VecB, TIntVector* VecRes) {
  if (FIsSparse || VecB == nullptr || VecRes == nullptr || FNRow != VecB->NrOfElem()) return false;
  std::vector<int32_t> Y(static_cast<size_t>(FNCol));
  IntProduct(
      FNCol, 1, FNRow, [&](int32_t i, int32_t k) { return At(i, k); },
      [&](int32_t k, int32_t) { return VecB->GetVal(k); }, Y.data(), Y.size());
  VecRes->SetIntVecSize(FNCol);
  for (int32_t i = 1; i <= FNCol; ++i) VecRes->SetVal(i, Y[static_cast<size_t>(i - 1)]);
  Changed();
  return true;
}

// ---- reorganisation and search (dense form) ----

void TIntMatrix::SortRows(int32_t SortColIx, bool Ascending, int32_t LowCol, int32_t LowRow,
                          int32_t HighCol, int32_t HighRow) {
  if (!FIsSparse)
    Twin::SortLines(*this, true, SortColIx, Ascending, LowCol, LowRow, HighCol, HighRow);
}

void TIntMatrix::SortCols(int32_t SortRowIx, bool Ascending, int32_t LowCol, int32_t LowRow,
                          int32_t HighCol, int32_t HighRow) {
  if (!FIsSparse)
    Twin::SortLines(*this, false, SortRowIx, Ascending, LowCol, LowRow, HighCol, HighRow);
}

void TIntMatrix::MirrorColumns() {
  if (!FIsSparse) Twin::MirrorColumns(*this);
}
void TIntMatrix::MirrorRows() {
  if (!FIsSparse) Twin::MirrorRows(*this);
}
void TIntMatrix::ExchangeColumns(int32_t c1, int32_t c2) {
  if (!FIsSparse) Twin::ExchangeColumns(*this, c1, c2);
}
void TIntMatrix::ExchangeRows(int32_t r1, int32_t r2) {
  if (!FIsSparse) Twin::ExchangeRows(*this, r1, r2);
}

void TIntMatrix::EdgeVector(TOrientation Orient, TEdgeOp EdgeOp, TVector* DestVec) const {
  if (!FIsSparse) Twin::EdgeVector(*this, Orient, EdgeOp, DestVec);
}

void TIntMatrix::Find(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                      int32_t Value, int32_t& ColIx, int32_t& RowIx) const {
  ColIx = RowIx = 0;
  if (!FIsSparse) Twin::Find(*this, LowCol, HighCol, LowRow, HighRow, Value, ColIx, RowIx);
}

int32_t TIntMatrix::FindInSortedColumn(int32_t Col, bool ColIsAscending, int32_t Value) const {
  return FIsSparse ? 0 : Twin::FindInSortedColumn(*this, Col, ColIsAscending, Value);
}

}  // namespace zeq
