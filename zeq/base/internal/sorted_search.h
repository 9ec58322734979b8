// The library's binary search for the nearest value in sorted data (vectors, matrix columns).
#pragma once

#include <cmath>
#include <cstdint>

namespace zeq::detail {

// At(i) for i in 1..N holds data sorted ascending (or descending). Returns the index of an
// exact match met on the way, else the nearer of the two bracketing neighbours, the upper
// one on a tie; outside the data's range the nearer end. N must be at least 1.
template <class AtFn>
int32_t NearestInSorted(int32_t N, AtFn At, bool Ascending, long double Value) {
  int32_t Lo = 1, Hi = N;
  while (Hi - Lo >= 2) {
    const int32_t Mid = Lo + (Hi - Lo) / 2;
    const long double X = At(Mid);
    if (X == Value) return Mid;
    if (Ascending ? Value > X : Value < X)
      Lo = Mid;
    else
      Hi = Mid;
  }
  return std::fabs(At(Hi) - Value) <= std::fabs(At(Lo) - Value) ? Hi : Lo;
}

}  // namespace zeq::detail
