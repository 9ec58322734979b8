// TMatrix core: storage, element access, sizing, filling, copying, cloning and assignment.
//
// The storage is one column-major buffer of max(columns, 1) x max(rows, 1) doubles; loops are
// bounded by the counts, never by the buffer. What TIntMatrix shares is in matrix_twin.h.
#include <algorithm>
#include <cmath>
#include <new>

#include "zeq/matrix/internal/matrix_twin.h"

namespace zeq {

using Twin = detail::TMatrixTwin;

const std::array<std::string, 6> DistModeId = {"Jaccard coefficient", "Manhattan",
                                               "Euclidean",           "squared Euclidean",
                                               "Dice coefficient",    "user defined"};

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
  std::vector<double> Storage = Src->Mat;  // copy first: a failed allocation changes nothing
  Twin::Adopt(*this, std::move(Storage), Src->FNCol, Src->FNRow);
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

bool TMatrix::Resize(int32_t Nc, int32_t Nr) { return Twin::Resize(*this, Nc, Nr); }

bool TMatrix::ResizeAndClear(int32_t Nc, int32_t Nr) {
  if (!Resize(Nc, Nr)) return false;
  Fill(0.0);
  return true;
}

void TMatrix::MakeValidColRange(int32_t& LowCol, int32_t& HighCol) const {
  Twin::RepairRange(LowCol, HighCol, FNCol);
}

void TMatrix::MakeValidRowRange(int32_t& LowRow, int32_t& HighRow) const {
  Twin::RepairRange(LowRow, HighRow, FNRow);
}

void TMatrix::Fill(double value) { Twin::Fill(*this, value); }

void TMatrix::FillDiag(double value) { Twin::FillDiag(*this, value); }

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
  Twin::CopyFrom(*this, MatSource, SourceColLo, SourceRowLo, SourceColHi, SourceRowHi, DestCol,
                 DestRow);
}

void TMatrix::CopyFrom(const TIntMatrix* MatSource, int32_t SourceColLo, int32_t SourceRowLo,
                       int32_t SourceColHi, int32_t SourceRowHi, int32_t DestCol, int32_t DestRow) {
  Twin::CopyFrom(*this, MatSource, SourceColLo, SourceRowLo, SourceColHi, SourceRowHi, DestCol,
                 DestRow);
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
  Twin::CopyLineToVec(*this, DestVec, true, Row, FirstCol, LastCol);
}

void TMatrix::CopyColToVec(TVector* DestVec, int32_t Col, int32_t FirstRow, int32_t LastRow) const {
  Twin::CopyLineToVec(*this, DestVec, false, Col, FirstRow, LastRow);
}

void TMatrix::Clone(const TMatrix* MatSource) { Twin::Clone(*this, MatSource); }

int32_t TMatrix::CountValues(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                             double RangeLow, double RangeHigh) const {
  int32_t Count = 0;
  Twin::Dense(*this, LowCol, LowRow, HighCol,
              HighRow)([&](double X) { Count += RangeLow <= X && X <= RangeHigh; });
  return Count;
}

std::string TMatrix::CRCofData() const {
  TCRCRegisters<8> Regs;
  Twin::Dense(*this, 0, 0, 0, 0)([&](double X) { Regs.AddElement(X); });
  return Regs.Str();
}

}  // namespace zeq
