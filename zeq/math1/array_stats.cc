// Minimum/maximum and mean/variance of ranges of 1-D and 2-D arrays.
//
// Sums run in long double and are rounded to double when stored. Ranges are checked before
// anything is read, so no routine here touches memory outside the caller's arrays.
#include <algorithm>

#include "zeq/base/internal/moments.h"
#include "zeq/math1/math1.h"

namespace zeq {

namespace {

bool IndexIn(int32_t Ix, size_t Count) { return Ix >= 0 && static_cast<size_t>(Ix) < Count; }

// The 2-D range test: outer bounds against the row count, inner bounds against the first
// row, and (so that a ragged array is never over-read) every scanned row long enough.
bool ValidRectangle(const TDouble2DArray& Data, int32_t LowIx1, int32_t LowIx2, int32_t HighIx1,
                    int32_t HighIx2) {
  if (!IndexIn(LowIx1, Data.size()) || !IndexIn(HighIx1, Data.size())) return false;
  const size_t Inner = Data.front().size();
  if (!IndexIn(LowIx2, Inner) || !IndexIn(HighIx2, Inner)) return false;
  for (int32_t i = LowIx1; i <= HighIx1; ++i)
    if (static_cast<size_t>(HighIx2) >= Data[static_cast<size_t>(i)].size()) return false;
  return true;
}

// The scan of the range statistics, started at +-uc_MaxDouble.
template <class Index>
detail::TMinMaxScan<double, Index> NewScan() {
  const auto Max = static_cast<double>(uc_MaxDouble);
  return {Max, -Max};
}

}  // namespace

int32_t MinMaxOfArray(std::span<const double> Data, int32_t LowIx, int32_t HighIx, double& Minimum,
                      double& Maximum, int32_t& MinIx, int32_t& MaxIx) {
  auto Scan = NewScan<int32_t>();
  Minimum = Scan.Minimum;
  Maximum = Scan.Maximum;
  MinIx = MaxIx = 0;
  if (!IndexIn(LowIx, Data.size()) || !IndexIn(HighIx, Data.size())) return -1;
  for (int32_t i = LowIx; i <= HighIx; ++i) Scan.Take(Data[static_cast<size_t>(i)], i);
  Minimum = Scan.Minimum;
  Maximum = Scan.Maximum;
  MinIx = Scan.MinAt;
  MaxIx = Scan.MaxAt;
  return 0;
}

int32_t MinMaxOfArray(const TDouble2DArray& Data, int32_t LowIx1, int32_t LowIx2, int32_t HighIx1,
                      int32_t HighIx2, double& Minimum, double& Maximum, int32_t& MinIx1,
                      int32_t& MinIx2, int32_t& MaxIx1, int32_t& MaxIx2) {
  auto Scan = NewScan<std::pair<int32_t, int32_t>>();
  Minimum = Scan.Minimum;
  Maximum = Scan.Maximum;
  MinIx1 = MinIx2 = MaxIx1 = MaxIx2 = 0;
  if (!ValidRectangle(Data, LowIx1, LowIx2, HighIx1, HighIx2)) return -1;
  for (int32_t i = LowIx1; i <= HighIx1; ++i) {
    const std::vector<double>& Row = Data[static_cast<size_t>(i)];
    for (int32_t j = LowIx2; j <= HighIx2; ++j) Scan.Take(Row[static_cast<size_t>(j)], {i, j});
  }
  Minimum = Scan.Minimum;
  Maximum = Scan.Maximum;
  std::tie(MinIx1, MinIx2) = Scan.MinAt;
  std::tie(MaxIx1, MaxIx2) = Scan.MaxAt;
  return 0;
}

int32_t MeanVarOfArray(std::span<const double> Data, int32_t LowIx, int32_t HighIx, double& Mean,
                       double& Variance) {
  Mean = Variance = 0.0;
  if (!IndexIn(LowIx, Data.size()) || !IndexIn(HighIx, Data.size()) || LowIx > HighIx) return -1;
  detail::TMomentSums Sums;
  for (int32_t i = LowIx; i <= HighIx; ++i) Sums.Take(Data[static_cast<size_t>(i)]);
  Sums.Result(Mean, Variance);
  return 0;
}

int32_t MeanVarOfArray(const TDouble2DArray& Data, int32_t LowIx1, int32_t LowIx2, int32_t HighIx1,
                       int32_t HighIx2, double& Mean, double& Variance) {
  Mean = Variance = 0.0;
  if (!ValidRectangle(Data, LowIx1, LowIx2, HighIx1, HighIx2) || LowIx1 > HighIx1 ||
      LowIx2 > HighIx2)
    return -1;
  detail::TMomentSums Sums;
  for (int32_t i = LowIx1; i <= HighIx1; ++i) {
    const std::vector<double>& Row = Data[static_cast<size_t>(i)];
    for (int32_t j = LowIx2; j <= HighIx2; ++j) Sums.Take(Row[static_cast<size_t>(j)]);
  }
  Sums.Result(Mean, Variance);
  return 0;
}

}  // namespace zeq
