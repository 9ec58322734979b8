// Selection of the k-th smallest value by repeated partitioning around the middle element.
//
// The partition is three-way (below, equal to, above the pivot), so that repeated values cannot
// make the selection quadratic: the documented two-way partition needs n passes over an array of
// two distinct values. The value returned is the same; the order the caller's range is left in
// differs from the two-way partition's where values repeat.
#include <algorithm>
#include <limits>

#include "zeq/math1/math1.h"

namespace zeq {

namespace {

// Partitions D[Lo..Hi] around the value of D[(Lo + Hi) / 2]: afterwards D[Lo..Eq-1] are below
// it, D[Eq..Gt-1] equal to it (or unordered with it) and D[Gt..Hi] above it.
void Partition(std::span<double> D, int32_t Lo, int32_t Hi, int32_t& Eq, int32_t& Gt) {
  const auto At = [&D](int32_t Ix) -> double& { return D[static_cast<size_t>(Ix)]; };
  const double Pivot = At(Lo + (Hi - Lo) / 2);
  Eq = Lo, Gt = Hi + 1;
  for (int32_t i = Lo; i < Gt;) {
    if (At(i) < Pivot)
      std::swap(At(i++), At(Eq++));
    else if (At(i) > Pivot)
      std::swap(At(i), At(--Gt));
    else
      ++i;
  }
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
  while (Lo < Hi) {
    int32_t Eq, Gt;
    Partition(Data, Lo, Hi, Eq, Gt);
    if (K < Eq)
      Hi = Eq - 1;
    else if (K >= Gt)
      Lo = Gt;
    else
      return Data[static_cast<size_t>(K)];
  }
  return Data[static_cast<size_t>(K)];
}

}  // namespace zeq
