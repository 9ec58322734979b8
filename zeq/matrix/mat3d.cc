// TMat3D: storage, element access, filling, search, statistics and the layer copies; and the
// TMatrix::CopyFrom overload that reads a layer.
#include "zeq/matrix/mat3d.h"

#include <algorithm>

#include "zeq/matrix/internal/nd_array.h"
#include "zeq/matrix/matrix.h"

namespace zeq {

namespace {

using Twin = detail::TMatrixTwin;
using TShape3 = detail::TNdShape<3>;
using TBox3 = detail::TNdBox<3>;

// One layer of a TMat3D read as a matrix (for TMatrix::CopyFrom).
struct TLayerView {
  const TMat3D* Src;
  int32_t Layer;
  int32_t NrOfColumns() const { return Src->NrOfColumns(); }
  int32_t NrOfRows() const { return Src->NrOfRows(); }
  double GetVal(int32_t Nc, int32_t Nr) const { return Src->GetVal(Nc, Nr, Layer); }
};

// The part Lo..Hi of a source range whose images Lo + Dest - Lo .. fall inside 1..Count.
void ClipToDestination(int64_t& Lo, int64_t& Hi, int64_t Dest, int32_t Count) {
  const int64_t SrcLo = Lo;
  Lo = std::max(Lo, SrcLo + 1 - Dest);
  Hi = std::min(Hi, SrcLo + Count - Dest);
}

}  // namespace

TMat3D::TMat3D(TComponent* AOwner) : TComponent(AOwner) {
  Mat = detail::NewNdStorage(*this, TShape3{{1, 1, 1}});
}

void TMat3D::Changed() {
  if (OnChange) OnChange(this);
}

void TMat3D::SetNrOfColumns(int32_t n) { Resize(std::max(n, 1), FNumY, FNumZ); }
void TMat3D::SetNrOfRows(int32_t n) { Resize(FNumX, std::max(n, 1), FNumZ); }
void TMat3D::SetNrOfLayers(int32_t n) { Resize(FNumX, FNumY, std::max(n, 1)); }

double TMat3D::GetVal(int32_t Nx, int32_t Ny, int32_t Nz) const {
  return Inside(Nx, Ny, Nz) ? Mat[Offset(Nx, Ny, Nz)] : 0.0;
}

void TMat3D::SetVal(int32_t Nx, int32_t Ny, int32_t Nz, double Value) {
  if (Inside(Nx, Ny, Nz)) Mat[Offset(Nx, Ny, Nz)] = Value;
}

bool TMat3D::Resize(int32_t Nc, int32_t Nr, int32_t Nl) {
  if (Nc < 1 || Nr < 1 || Nl < 1) return false;
  if (Nc == FNumX && Nr == FNumY && Nl == FNumZ) return true;
  Mat = detail::ReshapedCopy(*this, TShape3{{FNumX, FNumY, FNumZ}}, Mat, TShape3{{Nc, Nr, Nl}});
  FNumX = Nc, FNumY = Nr, FNumZ = Nl;
  Changed();
  return true;
}

bool TMat3D::ResizeAndClear(int32_t Nc, int32_t Nr, int32_t Nl) {
  if (!Resize(Nc, Nr, Nl)) return false;
  Fill(0);
  return true;
}

void TMat3D::MakeValidColRange(int32_t& Low, int32_t& High) const {
  Twin::RepairRange(Low, High, FNumX);
}
void TMat3D::MakeValidRowRange(int32_t& Low, int32_t& High) const {
  Twin::RepairRange(Low, High, FNumY);
}
void TMat3D::MakeValidLayerRange(int32_t& Low, int32_t& High) const {
  Twin::RepairRange(Low, High, FNumZ);
}

void TMat3D::Fill(double value) {
  std::fill(Mat.begin(), Mat.end(), value);
  Changed();
}

void TMat3D::FillDiag(double value) {
  for (int32_t i = 1; i <= std::min({FNumX, FNumY, FNumZ}); ++i) Mat[Offset(i, i, i)] = value;
  Changed();
}

void TMat3D::FillRandomUniform(double RangeLow, double RangeHigh) {
  for (double& X : Mat) X = Random() * (RangeHigh - RangeLow) + RangeLow;
  Changed();
}

void TMat3D::FillRandomGauss(double Mean, double StdDev) {
  for (double& X : Mat) X = GRandom() * StdDev + Mean;
  Changed();
}

namespace {

// The repaired box of a TMat3D (storage order x, y, z is also the argument order).
TBox3 RepairedBox(const TMat3D& M, int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                  int32_t LowLayer, int32_t HighLayer) {
  M.MakeValidColRange(LowCol, HighCol);
  M.MakeValidRowRange(LowRow, HighRow);
  M.MakeValidLayerRange(LowLayer, HighLayer);
  return {{LowCol, LowRow, LowLayer}, {HighCol, HighRow, HighLayer}};
}

}  // namespace

void TMat3D::Find(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                  int32_t LowLayer, int32_t HighLayer, double Value, int32_t& ColIx, int32_t& RowIx,
                  int32_t& LayerIx) const {
  const auto Ix = detail::NearestInBox(
      TShape3{{FNumX, FNumY, FNumZ}}, Mat.data(),
      RepairedBox(*this, LowCol, HighCol, LowRow, HighRow, LowLayer, HighLayer), Value);
  ColIx = Ix[0], RowIx = Ix[1], LayerIx = Ix[2];
}

void TMat3D::MinMax(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                    int32_t LowLayer, int32_t HighLayer, double& Minimum, double& Maximum) const {
  detail::MinMaxOfBox(TShape3{{FNumX, FNumY, FNumZ}}, Mat.data(),
                      RepairedBox(*this, LowCol, HighCol, LowRow, HighRow, LowLayer, HighLayer),
                      Minimum, Maximum);
}

double TMat3D::Percentile(double prob, int32_t LowCol, int32_t HighCol, int32_t LowRow,
                          int32_t HighRow, int32_t LowLayer, int32_t HighLayer) const {
  return detail::PercentileOfBox(
      *this, TShape3{{FNumX, FNumY, FNumZ}}, Mat.data(),
      RepairedBox(*this, LowCol, HighCol, LowRow, HighRow, LowLayer, HighLayer), prob);
}

double TMat3D::Percentile(double prob, int32_t LowCol, int32_t HighCol, int32_t LowRow,
                          int32_t HighRow, int32_t LowLayer, int32_t HighLayer,
                          int32_t SampleSize) const {
  return detail::PercentileOfBox(
      *this, TShape3{{FNumX, FNumY, FNumZ}}, Mat.data(),
      RepairedBox(*this, LowCol, HighCol, LowRow, HighRow, LowLayer, HighLayer), prob, SampleSize,
      {0, 1, 2});
}

std::string TMat3D::CRCofData() const { return CheckStringOf(Mat); }

void TMat3D::Clone(const TMat3D* MatSource) {
  if (MatSource == nullptr || MatSource == this) return;
  std::vector<double> Copy = MatSource->Mat;
  Mat = std::move(Copy);
  FNumX = MatSource->FNumX, FNumY = MatSource->FNumY, FNumZ = MatSource->FNumZ;
  Changed();
}

void TMat3D::CheckLayer(int32_t Layer) const {
  if (Layer < 1 || Layer > FNumZ)
    RaiseComponentError<EZEQMatrixError>(this, "specified layer beyond data range");
}

void TMat3D::CopyLayerToMatrix(TMatrix* DestMat, int32_t LowCol, int32_t HighCol, int32_t LowRow,
                               int32_t HighRow, int32_t Layer) const {
  MakeValidColRange(LowCol, HighCol);
  MakeValidRowRange(LowRow, HighRow);
  CheckLayer(Layer);
  if (DestMat == nullptr) return;
  DestMat->Resize(HighCol - LowCol + 1, HighRow - LowRow + 1);
  for (int32_t x = LowCol; x <= HighCol; ++x)
    for (int32_t y = LowRow; y <= HighRow; ++y)
      DestMat->SetVal(x - LowCol + 1, y - LowRow + 1, Mat[Offset(x, y, Layer)]);
}

void TMat3D::CopyMatrixToLayer(const TMatrix* SrcMat, int32_t SrcLowCol, int32_t SrcHighCol,
                               int32_t SrcLowRow, int32_t SrcHighRow, int32_t Layer,
                               int32_t LayLowCol, int32_t LayLowRow) {
  CheckLayer(Layer);
  if (SrcMat == nullptr) return;
  // Only the source positions whose images fall inside the layer are visited, so that a huge
  // unrepaired rectangle costs nothing.
  int64_t C0 = SrcLowCol, C1 = SrcHighCol, R0 = SrcLowRow, R1 = SrcHighRow;
  ClipToDestination(C0, C1, LayLowCol, FNumX);
  ClipToDestination(R0, R1, LayLowRow, FNumY);
  for (int64_t c = C0; c <= C1; ++c)
    for (int64_t r = R0; r <= R1; ++r)
      Mat[Offset(static_cast<int32_t>(c - SrcLowCol + LayLowCol),
                 static_cast<int32_t>(r - SrcLowRow + LayLowRow), Layer)] =
          SrcMat->GetVal(static_cast<int32_t>(c), static_cast<int32_t>(r));
}

void TMatrix::CopyFrom(const TMat3D* MatSource, int32_t SourceColLo, int32_t SourceRowLo,
                       int32_t SourceColHi, int32_t SourceRowHi, int32_t SourceLayer,
                       int32_t DestCol, int32_t DestRow) {
  if (MatSource == nullptr) return;
  const TLayerView View{MatSource, std::clamp(SourceLayer, 1, MatSource->NrOfLayers())};
  Twin::CopyFrom(*this, &View, SourceColLo, SourceRowLo, SourceColHi, SourceRowHi, DestCol,
                 DestRow);
}

}  // namespace zeq
