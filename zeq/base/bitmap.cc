// The in-memory bitmap of the image comparison.
#include "zeq/base/bitmap.h"

#include <algorithm>

namespace zeq {

TBitmap::TBitmap(int32_t Width, int32_t Height)
    : FWidth(std::max(Width, 0)),
      FHeight(std::max(Height, 0)),
      FPixels(static_cast<size_t>(FWidth) * static_cast<size_t>(FHeight), 0) {}

TColor TBitmap::Pixel(int32_t X, int32_t Y) const {
  return Inside(X, Y) ? FPixels[static_cast<size_t>(Y) * static_cast<size_t>(FWidth) +
                                static_cast<size_t>(X)]
                      : 0;
}

void TBitmap::SetPixel(int32_t X, int32_t Y, TColor Color) {
  if (Inside(X, Y))
    FPixels[static_cast<size_t>(Y) * static_cast<size_t>(FWidth) + static_cast<size_t>(X)] =
        Color & 0xFFFFFF;
}

}  // namespace zeq
