/// @file
/// A small in-memory bitmap of 24-bit colours, the pixel source of the image comparison. A
/// colour holds red in bits 0..7, green in 8..15 and blue in 16..23.
#pragma once

#include <cstdint>
#include <vector>

#include "zeq/base/export.h"

namespace zeq {

/// A colour: red in bits 0..7, green in 8..15, blue in 16..23.
using TColor = uint32_t;

///@{
/// The red, green and blue parts of C.
inline constexpr uint8_t RedOf(TColor C) { return static_cast<uint8_t>(C & 0xFF); }
inline constexpr uint8_t GreenOf(TColor C) { return static_cast<uint8_t>((C >> 8) & 0xFF); }
inline constexpr uint8_t BlueOf(TColor C) { return static_cast<uint8_t>((C >> 16) & 0xFF); }
///@}
/// The colour of the parts R, G and B.
inline constexpr TColor RGB(uint8_t R, uint8_t G, uint8_t B) {
  return static_cast<TColor>(R) | static_cast<TColor>(G) << 8 | static_cast<TColor>(B) << 16;
}

/// A Width x Height raster of colours.
class ZEQ_API TBitmap {
 public:
  /// Width x Height pixels (negative sizes count as 0), all black.
  TBitmap(int32_t Width = 0, int32_t Height = 0);
  ///@{
  /// The size in pixels.
  int32_t Width() const { return FWidth; }
  int32_t Height() const { return FHeight; }
  ///@}
  ///@{
  /// Pixels are addressed from (0, 0) at the top left. Outside the bitmap a read gives black (0)
  /// and a write does nothing.
  TColor Pixel(int32_t X, int32_t Y) const;
  void SetPixel(int32_t X, int32_t Y, TColor Color);
  ///@}

 private:
  bool Inside(int32_t X, int32_t Y) const { return X >= 0 && X < FWidth && Y >= 0 && Y < FHeight; }

  int32_t FWidth, FHeight;
  std::vector<TColor> FPixels;  // row by row
};

}  // namespace zeq
