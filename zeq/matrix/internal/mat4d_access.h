// The one way the files of TMat4D reach its storage: shape and boxes in storage order
// (time slot, layer, row, column), element offsets and the exchange of the whole storage.
#pragma once

#include <utility>
#include <vector>

#include "zeq/matrix/internal/nd_array.h"
#include "zeq/matrix/mat4d.h"

namespace zeq {

struct TMat4DAccess {
  using TShape = detail::TNdShape<4>;
  using TBox = detail::TNdBox<4>;

  static TShape Shape(const TMat4D& M) { return {{M.FNumT, M.FNumZ, M.FNumY, M.FNumX}}; }
  static TShape ShapeOf(int32_t X, int32_t Y, int32_t Z, int32_t T) { return {{T, Z, Y, X}}; }
  static std::vector<double>& Data(TMat4D& M) { return M.Mat; }
  static const std::vector<double>& Data(const TMat4D& M) { return M.Mat; }
  static size_t Offset(const TMat4D& M, int32_t x, int32_t y, int32_t z, int32_t t) {
    return Shape(M).Offset({t, z, y, x});
  }
  // Replaces the storage and the sizes, without notification.
  static void Adopt(TMat4D& M, std::vector<double>&& Storage, const TShape& S) {
    M.Mat = std::move(Storage);
    M.FNumT = S.N[0], M.FNumZ = S.N[1], M.FNumY = S.N[2], M.FNumX = S.N[3];
  }
  // The repaired box, in storage order.
  static TBox Box(const TMat4D& M, int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                  int32_t LowLayer, int32_t HighLayer, int32_t LowTSlot, int32_t HighTSlot) {
    M.MakeValidColRange(LowCol, HighCol);
    M.MakeValidRowRange(LowRow, HighRow);
    M.MakeValidLayerRange(LowLayer, HighLayer);
    M.MakeValidTSlotRange(LowTSlot, HighTSlot);
    return {{LowTSlot, LowLayer, LowRow, LowCol}, {HighTSlot, HighLayer, HighRow, HighCol}};
  }
  [[noreturn]] static void BeyondRange(const TMat4D& M, const char* What) {
    RaiseComponentError<EZEQMatrixError>(&M,
                                         std::string("specified ") + What + " beyond data range");
  }
  static void CheckTimeSlot(const TMat4D& M, int32_t t) {
    if (t < 1 || t > M.FNumT) BeyondRange(M, "time slot");
  }
  static void CheckLayer(const TMat4D& M, int32_t z) {
    if (z < 1 || z > M.FNumZ) BeyondRange(M, "layer");
  }
};

}  // namespace zeq
