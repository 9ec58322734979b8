// TMat4D: cutting, resampling and transposing, each into a second array of the result's size.
//
// The documented progress of Cut and Transpose counts two copy phases, out to the working array
// and back. Here the working array becomes the storage instead of being copied back, and the
// second phase only reports its steps (Transpose still tests for an abort in it), so that a
// progress bar moves exactly as documented at half the memory traffic.
#include <algorithm>

#include "zeq/base/internal/progress_steps.h"
#include "zeq/matrix/internal/mat4d_access.h"

namespace zeq {

using Access = TMat4DAccess;
using detail::TNdIndex;

namespace {

auto PercentOf(TMat4D& M, int64_t Total) {
  return detail::PercentSteps(Total, [&M](int32_t Percent) { M.PercDone(&M, Percent); });
}

// The blocks of one dimension: D elements each, shifted by o = Offset mod D (sign of Offset).
struct TBlocks {
  int32_t Div, Shift, NewSize;
  TBlocks(int32_t Size, int32_t D, int32_t Offset)
      : Div(D), Shift(Offset % D), NewSize((Size - Shift - 1) / D + 1) {}
  // The first source position of new element i (may lie outside 1..Size).
  int64_t First(int32_t i) const { return int64_t{i - 1} * Div + Shift + 1; }
};

}  // namespace

void TMat4D::Cut(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, int32_t LowLayer,
                 int32_t HighLayer, int32_t LowTimeslot, int32_t HighTimeslot) {
  const auto Box = Access::Box(*this, LowCol, HighCol, LowRow, HighRow, LowLayer, HighLayer,
                               LowTimeslot, HighTimeslot);
  detail::TNdShape<4> To;
  for (size_t d = 0; d < 4; ++d) To.N[d] = Box.High[d] - Box.Low[d] + 1;
  std::vector<double> Work = detail::NewNdStorage(*this, To);
  const auto From = Access::Shape(*this);
  const int64_t Planes = int64_t{To.N[0]} * To.N[1];
  auto Progress = PercentOf(*this, 2 * Planes);
  const size_t Width = static_cast<size_t>(To.N[3]);
  for (int32_t t = 1; t <= To.N[0]; ++t)
    for (int32_t z = 1; z <= To.N[1]; ++z) {
      for (int32_t y = 1; y <= To.N[2]; ++y)
        std::copy_n(Mat.begin() +
                        static_cast<ptrdiff_t>(From.Offset({t + Box.Low[0] - 1, z + Box.Low[1] - 1,
                                                            y + Box.Low[2] - 1, Box.Low[3]})),
                    Width, Work.begin() + static_cast<ptrdiff_t>(To.Offset({t, z, y, 1})));
      Progress.Advance();
    }
  Access::Adopt(*this, std::move(Work), To);
  Progress.Advance(Planes);  // the copy back, done by taking the working array
  Changed();
}

void TMat4D::Resample(int32_t XDiv, int32_t XOffset, int32_t YDiv, int32_t YOffset, int32_t ZDiv,
                      int32_t ZOffset, int32_t TDiv, int32_t TOffset, bool Average) {
  if (XDiv < 1 || YDiv < 1 || ZDiv < 1 || TDiv < 1) return;
  const auto From = Access::Shape(*this);
  // Storage order: time slots, layers, rows, columns.
  const TBlocks B[4] = {{FNumT, TDiv, TOffset},
                        {FNumZ, ZDiv, ZOffset},
                        {FNumY, YDiv, YOffset},
                        {FNumX, XDiv, XOffset}};
  const detail::TNdShape<4> To{{B[0].NewSize, B[1].NewSize, B[2].NewSize, B[3].NewSize}};
  std::vector<double> Work = detail::NewNdStorage(*this, To);
  const double BlockSize = static_cast<double>(XDiv) * YDiv * ZDiv * TDiv;
  auto Progress = PercentOf(*this, int64_t{To.N[0]} * To.N[1]);
  detail::TNdBox<4> Whole{{1, 1, 1, 1}, To.N};
  detail::ForEachInBox(
      To, Work.data(), Whole,
      [&](double& Out, const TNdIndex<4>& Ix) {
        detail::TNdBox<4> Block;  // the covered source positions inside the array
        for (size_t d = 0; d < 4; ++d) {
          const int64_t First = B[d].First(Ix[d]);
          Block.Low[d] = static_cast<int32_t>(std::max<int64_t>(First, 1));
          Block.High[d] = static_cast<int32_t>(std::min<int64_t>(First + B[d].Div - 1, From.N[d]));
          if (!Average && Block.Low[d] != First) return;  // the first position lies outside
        }
        if (!Average) {
          if (Block.Count() > 0) Out = Mat[From.Offset(Block.Low)];
          return;
        }
        double Sum = 0;
        detail::ForEachInBox(From, Mat.data(), Block, [&](double X, auto&) { Sum = Sum + X; });
        Out = Sum / BlockSize;
      },
      [&, Row = 0]() mutable {
        if (++Row % To.N[2] == 0) Progress.Advance();  // a new (time slot, layer) is done
      });
  Access::Adopt(*this, std::move(Work), To);
  Changed();
}

namespace {

constexpr int32_t Tile = 32;

// Transposes the Cols x Rows plane Src (row by row) into Dst in tiles of Tile x Tile, whose
// short runs stay in cache.
void TransposePlane(const double* Src, double* Dst, int32_t Cols, int32_t Rows) {
  for (int32_t x0 = 0; x0 < Cols; x0 += Tile)
    for (int32_t y0 = 0; y0 < Rows; y0 += Tile)
      for (int32_t x = x0; x < std::min(x0 + Tile, Cols); ++x)
        for (int32_t y = y0; y < std::min(y0 + Tile, Rows); ++y)
          Dst[static_cast<size_t>(x) * Rows + y] = Src[static_cast<size_t>(y) * Cols + x];
}

// Transposes the N x N plane P in place, tile pair by tile pair.
void TransposeSquarePlane(double* P, int32_t N) {
  for (int32_t i0 = 0; i0 < N; i0 += Tile)
    for (int32_t j0 = i0; j0 < N; j0 += Tile)
      for (int32_t i = i0; i < std::min(i0 + Tile, N); ++i)
        for (int32_t j = std::max(j0, i + 1); j < std::min(j0 + Tile, N); ++j)
          std::swap(P[static_cast<size_t>(i) * N + j], P[static_cast<size_t>(j) * N + i]);
}

}  // namespace

// Plane by plane (time slot, layer). The documented steps are pixels; each finished plane
// advances the progress by its share of them, so the reports are those of a pixel-by-pixel
// pass. Square planes are transposed in place (an abort transposes the finished ones back);
// others into a working array that then becomes the storage.
bool TMat4D::Transpose() {
  const bool InPlace = FNumX == FNumY;
  const auto To = Access::ShapeOf(FNumY, FNumX, FNumZ, FNumT);
  std::vector<double> Work;
  if (!InPlace) Work = detail::NewNdStorage(*this, To);
  const int64_t Pairs = int64_t{FNumX} * FNumY, Planes = int64_t{FNumT} * FNumZ;
  const size_t PlaneSize = static_cast<size_t>(Pairs);
  auto Progress = PercentOf(*this, 2 * Pairs);
  const auto UndoInPlace = [&](int64_t Done) {
    for (int64_t p = 0; InPlace && p < Done; ++p)
      TransposeSquarePlane(&Mat[static_cast<size_t>(p) * PlaneSize], FNumX);
    return false;
  };
  for (int64_t p = 0; p < Planes; ++p) {
    if (AbortRequested()) return UndoInPlace(p);
    double* Plane = &Mat[static_cast<size_t>(p) * PlaneSize];
    if (InPlace)
      TransposeSquarePlane(Plane, FNumX);
    else
      TransposePlane(Plane, &Work[static_cast<size_t>(p) * PlaneSize], FNumX, FNumY);
    Progress.Advance(Pairs * (p + 1) / Planes - Pairs * p / Planes);
  }
  for (int64_t p = 0; p < Pairs; ++p) {  // the copy back: nothing to copy, only its steps
    if (AbortRequested()) return UndoInPlace(Planes);
    Progress.Advance();
  }
  if (!InPlace) Access::Adopt(*this, std::move(Work), To);
  Changed();
  return true;
}

}  // namespace zeq
