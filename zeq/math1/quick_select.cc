// Selection of the k-th smallest value by repeated partitioning around the middle element.
//
// The partition keeps the pivot's first place among the values not below it, and the upper
// bound moves to the pivot position itself; both are part of the routine's documented
// reordering of the caller's array.
#include <algorithm>
#include <limits>

#include "zeq/math1/math1.h"

namespace zeq {

namespace {

// Partitions D[Lo..Hi] around D[(Lo + Hi) / 2] and returns the pivot's final position P:
// every value before P is below the pivot, no value after it is.
int32_t Partition(std::span<double> D, int32_t Lo, int32_t Hi) {
  const auto At = [&D](int32_t Ix) -> double& { return D[static_cast<size_t>(Ix)]; };
  const int32_t Mid = Lo + (Hi - Lo) / 2;
  std::swap(At(Lo), At(Mid));
  const double Pivot = At(Lo);
  int32_t i = Lo + 1;
  while (i <= Hi && At(i) < Pivot) ++i;
  for (int32_t j = i + 1; j <= Hi; ++j) {
    if (At(j) < Pivot) {
      std::swap(At(i), At(j));
      ++i;
    }
  }
  std::swap(At(Lo), At(i - 1));
  return i - 1;
}

}  // namespace

double QuickSelect(std::span<double> Data, int32_t K, int32_t LowIx, int32_t HighIx) {
  if (HighIx < LowIx) return 0.0;
  if (LowIx < 0 || static_cast<size_t>(HighIx) >= Data.size())
    return std::numeric_limits<double>::quiet_NaN();
  K = std::clamp(K, LowIx, HighIx);

  const double First = Data[static_cast<size_t>(LowIx)];
  const auto Begin = Data.begin() + LowIx;
  const auto End = Data.begin() + HighIx + 1;
  if (std::all_of(Begin, End, [First](double V) { return V == First; })) return First;

  int32_t Lo = LowIx;
  int32_t Hi = HighIx;
  for (;;) {
    const int32_t P = Partition(Data, Lo, Hi);
    if (P == K) return Data[static_cast<size_t>(K)];
    if (P > K) {
      Hi = P;
    } else {
      Lo = P + 1;
      if (Hi < Lo) return First;  // unreachable while K lies in the range; kept as a guard
    }
  }
}

}  // namespace zeq
