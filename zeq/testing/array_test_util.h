// Helpers shared by the tests of the 3-D and 4-D arrays: arrays whose every element tells its
// position.
#pragma once

#include "zeq/matrix/matrix.h"

namespace zeq::test {

// x + 10 y + 100 z + 1000 t.
inline double Position(int32_t x, int32_t y, int32_t z, int32_t t) {
  return x + 10 * y + 100 * z + 1000 * t;
}

// M resized to X x Y x Z x T with element (x, y, z, t) = Position(x, y, z, t).
inline void FillPositions(TMat4D& M, int32_t X, int32_t Y, int32_t Z, int32_t T) {
  M.Resize(X, Y, Z, T);
  for (int32_t t = 1; t <= T; ++t)
    for (int32_t z = 1; z <= Z; ++z)
      for (int32_t y = 1; y <= Y; ++y)
        for (int32_t x = 1; x <= X; ++x) M.SetVal(x, y, z, t, Position(x, y, z, t));
}

}  // namespace zeq::test
