// The repair of an index range that every container of the library applies to the ranges it
// is given.
#pragma once

#include <algorithm>
#include <cstdint>
#include <utility>

namespace zeq::detail {

// Clamps both bounds into 1..Count and orders them; (0, 0) is the whole range. With Count = 0
// every range becomes the empty 1..0, so that no loop visits anything.
inline void RepairRange(int32_t& Low, int32_t& High, int32_t Count) {
  if (Count < 1) {
    Low = 1;
    High = 0;
    return;
  }
  if (Low == 0 && High == 0) {
    Low = 1;
    High = Count;
    return;
  }
  Low = std::clamp(Low, 1, Count);
  High = std::clamp(High, 1, Count);
  if (Low > High) std::swap(Low, High);
}

}  // namespace zeq::detail
