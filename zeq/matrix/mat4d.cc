// TMat4D core: storage, element access and addressing, sizing, filling, the copies to and from
// matrices, 3-D arrays and plain arrays, mirroring, cloning and assignment.
#include "zeq/matrix/mat4d.h"

#include <algorithm>

#include "zeq/base/internal/progress_steps.h"
#include "zeq/matrix/internal/mat4d_access.h"
#include "zeq/matrix/mat3d.h"
#include "zeq/matrix/matrix.h"

namespace zeq {

using Access = TMat4DAccess;
using Twin = detail::TMatrixTwin;

TMat4D::TMat4D(TComponent* AOwner) : TComponent(AOwner) {
  Mat = detail::NewNdStorage(*this, Access::ShapeOf(1, 1, 1, 1));
}

void TMat4D::Changed() {
  if (OnChange) OnChange(this);
}

void TMat4D::PercDone(TObject* /*Sender*/, int32_t Percent) {
  if (OnPercentDone) OnPercentDone(this, Percent);
}

void TMat4D::ReadElement(TObject* /*Sender*/, int32_t ix, int32_t iy, int32_t il, int32_t it,
                         double Value) {
  if (OnReadElement) OnReadElement(this, ix, iy, il, it, Value);
}

void TMat4D::Assign(TPersistent* Source) {
  const auto* Src = dynamic_cast<const TMat4D*>(Source);
  if (Src == nullptr) return TComponent::Assign(Source);
  if (Src == this) return;
  std::vector<double> Storage = Src->Mat;  // copy first: a failed allocation changes nothing
  Access::Adopt(*this, std::move(Storage), Access::Shape(*Src));
  FDataID = Src->FDataID;
  OnChange = Src->OnChange;
  OnPercentDone = Src->OnPercentDone;
  OnReadElement = Src->OnReadElement;
}

void TMat4D::AssignTo(TPersistent* Dest) {
  if (auto* D = dynamic_cast<TMat4D*>(Dest)) return D->Assign(this);
  TComponent::AssignTo(Dest);
}

void TMat4D::SetNrOfColumns(int32_t n) { Resize(std::max(n, 1), FNumY, FNumZ, FNumT); }
void TMat4D::SetNrOfRows(int32_t n) { Resize(FNumX, std::max(n, 1), FNumZ, FNumT); }
void TMat4D::SetNrOfLayers(int32_t n) { Resize(FNumX, FNumY, std::max(n, 1), FNumT); }
void TMat4D::SetNrOfTimeSlots(int32_t n) { Resize(FNumX, FNumY, FNumZ, std::max(n, 1)); }

double TMat4D::GetVal(int32_t Nx, int32_t Ny, int32_t Nz, int32_t Nt) const {
  const auto S = Access::Shape(*this);
  return S.Contains({Nt, Nz, Ny, Nx}) ? Mat[S.Offset({Nt, Nz, Ny, Nx})] : 0.0;
}

void TMat4D::SetVal(int32_t Nx, int32_t Ny, int32_t Nz, int32_t Nt, double Value) {
  const auto S = Access::Shape(*this);
  if (S.Contains({Nt, Nz, Ny, Nx})) Mat[S.Offset({Nt, Nz, Ny, Nx})] = Value;
}

int32_t TMat4D::Lin3DAddr(int32_t ix, int32_t iy, int32_t il) const {
  if (static_cast<double>(FNumX) * FNumY * FNumZ > 2147483646.0) return -2;
  if (ix < 1 || ix > FNumX || iy < 1 || iy > FNumY || il < 1 || il > FNumZ) return -1;
  return ((iy - 1) * FNumX + (ix - 1)) * FNumZ + (il - 1);
}

bool TMat4D::ConvertLinTo3DAddr(int32_t LinAddr, int32_t& ix, int32_t& iy, int32_t& il) const {
  if (LinAddr < 0 || int64_t{LinAddr} >= int64_t{FNumX} * FNumY * FNumZ) return false;
  il = LinAddr % FNumZ + 1;
  const int32_t q = LinAddr / FNumZ;
  ix = q % FNumX + 1;
  iy = q / FNumX + 1;
  return true;
}

double TMat4D::MemoryConsumed() const {
  return static_cast<double>(FNumX) / 1048576 * FNumY * FNumZ * FNumT * 8;
}

void TMat4D::MakeValidColRange(int32_t& Low, int32_t& High) const {
  Twin::RepairRange(Low, High, FNumX);
}
void TMat4D::MakeValidRowRange(int32_t& Low, int32_t& High) const {
  Twin::RepairRange(Low, High, FNumY);
}
void TMat4D::MakeValidLayerRange(int32_t& Low, int32_t& High) const {
  Twin::RepairRange(Low, High, FNumZ);
}
void TMat4D::MakeValidTSlotRange(int32_t& Low, int32_t& High) const {
  Twin::RepairRange(Low, High, FNumT);
}

bool TMat4D::Resize(int32_t Nc, int32_t Nr, int32_t Nl, int32_t Nt) {
  if (Nc <= 0 || Nr <= 0 || Nl <= 0 || Nt <= 0) return true;
  const auto To = Access::ShapeOf(Nc, Nr, Nl, Nt);
  if (To == Access::Shape(*this)) return true;
  Access::Adopt(*this, detail::ReshapedCopy(*this, Access::Shape(*this), Mat, To), To);
  Changed();
  return true;
}

bool TMat4D::ResizeAndClear(int32_t Nc, int32_t Nr, int32_t Nl, int32_t Nt) {
  if (!Resize(Nc, Nr, Nl, Nt)) return false;
  Fill(0);
  return true;
}

void TMat4D::Fill(double value) {
  if (value == 0)  // a fresh zeroed storage instead of a loop
    Mat = detail::NewNdStorage(*this, Access::Shape(*this));
  else
    std::fill(Mat.begin(), Mat.end(), value);
  Changed();
}

void TMat4D::FillDiag(double value) {
  for (int32_t i = 1; i <= std::min({FNumX, FNumY, FNumZ, FNumT}); ++i)
    Mat[Access::Offset(*this, i, i, i, i)] = value;
  Changed();
}

void TMat4D::FillLayer(int32_t Layer, double value) {
  if (Layer < 1 || Layer > FNumZ) return;
  const size_t Plane = static_cast<size_t>(FNumX) * FNumY;
  for (int32_t t = 1; t <= FNumT; ++t)
    std::fill_n(Mat.begin() + static_cast<ptrdiff_t>(Access::Offset(*this, 1, 1, Layer, t)), Plane,
                value);
}

void TMat4D::FillRandomUniform(double RangeLow, double RangeHigh) {
  for (double& X : Mat) X = Random() * (RangeHigh - RangeLow) + RangeLow;
  Changed();
}

void TMat4D::FillRandomGauss(double Mean, double StdDev) {
  for (double& X : Mat) X = GRandom() * StdDev + Mean;
  Changed();
}

// ---- copies ----

void TMat4D::CopyFrom(const TMat4D* MatSource, int32_t SrcLowCol, int32_t SrcHighCol,
                      int32_t SrcLowRow, int32_t SrcHighRow, int32_t SrcLowLayer,
                      int32_t SrcHighLayer, int32_t SrcLowTSlot, int32_t SrcHighTSlot,
                      int32_t DestCol, int32_t DestRow, int32_t DestLayer, int32_t DestTSlot) {
  if (MatSource == nullptr) return;
  const auto Box = Access::Box(*MatSource, SrcLowCol, SrcHighCol, SrcLowRow, SrcHighRow,
                               SrcLowLayer, SrcHighLayer, SrcLowTSlot, SrcHighTSlot);
  // From a copy of the source when it is this array, so that no element is read after it
  // has been overwritten.
  std::vector<double> Copy;
  if (MatSource == this) Copy = Mat;
  const double* Src = MatSource == this ? Copy.data() : MatSource->Mat.data();
  const detail::TNdIndex<4> Dest = {DestTSlot, DestLayer, DestRow, DestCol};
  const auto Shape = Access::Shape(*this);
  auto Progress = detail::HookSteps(Box.Count() / std::max(1, Box.High[3] - Box.Low[3] + 1));
  detail::ForEachInBox(
      Access::Shape(*MatSource), Src, Box,
      [&](double X, const detail::TNdIndex<4>& Ix) {
        detail::TNdIndex<4> To;
        for (size_t d = 0; d < 4; ++d) {
          const int64_t p = int64_t{Ix[d]} - Box.Low[d] + Dest[d];
          if (p < 1 || p > Shape.N[d]) return;
          To[d] = static_cast<int32_t>(p);
        }
        Mat[Shape.Offset(To)] = X;
      },
      [&] { Progress.Advance(); });
  Changed();
}

void TMat4D::CopyLayerToMatrix(TMatrix* DestMat, int32_t LowCol, int32_t HighCol, int32_t LowRow,
                               int32_t HighRow, int32_t Layer, int32_t TimeSlot) const {
  MakeValidColRange(LowCol, HighCol);
  MakeValidRowRange(LowRow, HighRow);
  Access::CheckLayer(*this, Layer);
  Access::CheckTimeSlot(*this, TimeSlot);
  if (DestMat == nullptr) return;
  DestMat->Resize(HighCol - LowCol + 1, HighRow - LowRow + 1);
  for (int32_t y = LowRow; y <= HighRow; ++y)
    for (int32_t x = LowCol; x <= HighCol; ++x)
      DestMat->SetVal(x - LowCol + 1, y - LowRow + 1,
                      Mat[Access::Offset(*this, x, y, Layer, TimeSlot)]);
}

void TMat4D::CopyMatrixToLayer(const TMatrix* SrcMat, int32_t SrcLowCol, int32_t SrcHighCol,
                               int32_t SrcLowRow, int32_t SrcHighRow, int32_t Layer,
                               int32_t TimeSlot, int32_t LayLowCol, int32_t LayLowRow) {
  Access::CheckLayer(*this, Layer);
  Access::CheckTimeSlot(*this, TimeSlot);
  if (SrcMat == nullptr) return;
  SrcMat->MakeValidColRange(SrcLowCol, SrcHighCol);
  SrcMat->MakeValidRowRange(SrcLowRow, SrcHighRow);
  for (int32_t r = SrcLowRow; r <= SrcHighRow; ++r)
    for (int32_t c = SrcLowCol; c <= SrcHighCol; ++c) {
      const int64_t x = int64_t{c} - SrcLowCol + LayLowCol, y = int64_t{r} - SrcLowRow + LayLowRow;
      if (x >= 1 && x <= FNumX && y >= 1 && y <= FNumY)
        Mat[Access::Offset(*this, static_cast<int32_t>(x), static_cast<int32_t>(y), Layer,
                           TimeSlot)] = SrcMat->GetVal(c, r);
    }
}

void TMat4D::CopyTimeSlotToMat3D(TMat3D* DestMat, int32_t LowCol, int32_t HighCol, int32_t LowRow,
                                 int32_t HighRow, int32_t LowLay, int32_t HighLay,
                                 int32_t TimeSlot) const {
  Access::CheckTimeSlot(*this, TimeSlot);
  if (DestMat == nullptr) return;
  MakeValidColRange(LowCol, HighCol);
  MakeValidRowRange(LowRow, HighRow);
  MakeValidLayerRange(LowLay, HighLay);
  DestMat->Resize(HighCol - LowCol + 1, HighRow - LowRow + 1, HighLay - LowLay + 1);
  for (int32_t z = LowLay; z <= HighLay; ++z)
    for (int32_t y = LowRow; y <= HighRow; ++y)
      for (int32_t x = LowCol; x <= HighCol; ++x)
        DestMat->SetVal(x - LowCol + 1, y - LowRow + 1, z - LowLay + 1,
                        Mat[Access::Offset(*this, x, y, z, TimeSlot)]);
}

void TMat4D::CopyMat3DToTimeSlot(const TMat3D* SrcMat, int32_t SrcLowCol, int32_t SrcHighCol,
                                 int32_t SrcLowRow, int32_t SrcHighRow, int32_t SrcLowLay,
                                 int32_t SrcHighLay, int32_t TimeSlot, int32_t DestCol,
                                 int32_t DestRow, int32_t DestLayer) {
  Access::CheckTimeSlot(*this, TimeSlot);
  if (SrcMat == nullptr) return;
  SrcMat->MakeValidColRange(SrcLowCol, SrcHighCol);
  SrcMat->MakeValidRowRange(SrcLowRow, SrcHighRow);
  SrcMat->MakeValidLayerRange(SrcLowLay, SrcHighLay);
  for (int32_t z = SrcLowLay; z <= SrcHighLay; ++z)
    for (int32_t y = SrcLowRow; y <= SrcHighRow; ++y)
      for (int32_t x = SrcLowCol; x <= SrcHighCol; ++x) {
        const int64_t Dx = int64_t{x} - SrcLowCol + DestCol, Dy = int64_t{y} - SrcLowRow + DestRow,
                      Dz = int64_t{z} - SrcLowLay + DestLayer;
        if (Dx >= 1 && Dx <= FNumX && Dy >= 1 && Dy <= FNumY && Dz >= 1 && Dz <= FNumZ)
          Mat[Access::Offset(*this, static_cast<int32_t>(Dx), static_cast<int32_t>(Dy),
                             static_cast<int32_t>(Dz), TimeSlot)] = SrcMat->GetVal(x, y, z);
      }
}

void TMat4D::Copy1DArrayToPixel(std::span<const double> Src, int32_t Col, int32_t Row,
                                int32_t FirstLayer, int32_t TimeSlot) {
  if (Col < 1 || Col > FNumX) Access::BeyondRange(*this, "column");
  if (Row < 1 || Row > FNumY) Access::BeyondRange(*this, "row");
  Access::CheckLayer(*this, FirstLayer);
  Access::CheckTimeSlot(*this, TimeSlot);
  const auto Count = static_cast<int32_t>(
      std::min<size_t>(Src.size(), static_cast<size_t>(FNumZ - FirstLayer + 1)));
  for (int32_t i = 0; i < Count; ++i)
    Mat[Access::Offset(*this, Col, Row, FirstLayer + i, TimeSlot)] = Src[static_cast<size_t>(i)];
}

// ---- mirroring and cloning ----

namespace {

// Reverses the order along storage dimension Dim (0 time slots .. 3 columns).
void MirrorAlong(TMat4D& M, size_t Dim) {
  const auto S = Access::Shape(M);
  std::vector<double>& Data = Access::Data(M);
  detail::TNdBox<4> Half{{1, 1, 1, 1}, S.N};
  Half.High[Dim] = S.N[Dim] / 2;
  detail::ForEachInBox(S, Data.data(), Half, [&](double& X, const detail::TNdIndex<4>& Ix) {
    detail::TNdIndex<4> Other = Ix;
    Other[Dim] = S.N[Dim] + 1 - Ix[Dim];
    std::swap(X, Data[S.Offset(Other)]);
  });
}

}  // namespace

void TMat4D::MirrorColumns() {
  MirrorAlong(*this, 3);
  Changed();
}
void TMat4D::MirrorRows() {
  MirrorAlong(*this, 2);
  Changed();
}
void TMat4D::MirrorLayers() {
  MirrorAlong(*this, 1);
  Changed();
}
void TMat4D::MirrorTimeSlots() {
  MirrorAlong(*this, 0);
  Changed();
}

void TMat4D::Clone(const TMat4D* MatSource) {
  if (MatSource == nullptr || MatSource == this) return;
  const auto S = Access::Shape(*MatSource);
  std::vector<double> Copy = detail::NewNdStorage(*this, S);
  const size_t Row = static_cast<size_t>(S.N[3]), Rows = Copy.size() / Row;
  auto Progress = detail::HookSteps(static_cast<int64_t>(Rows));
  for (size_t r = 0; r < Rows; ++r) {
    std::copy_n(MatSource->Mat.begin() + static_cast<ptrdiff_t>(r * Row), Row,
                Copy.begin() + static_cast<ptrdiff_t>(r * Row));
    Progress.Advance();
  }
  Access::Adopt(*this, std::move(Copy), S);
  Changed();
}

}  // namespace zeq
