// The bins of the vector and matrix histograms: round(|LastBin - FirstBin| / BinWidth) bins of
// width BinWidth from FirstBin, and the bin of a value.
#pragma once

#include <cmath>
#include <cstdint>

namespace zeq::detail {

struct THistogramBins {
  int32_t Count = 0;
  long double First = 0, Width = 1, End = 0, Limit = 0;

  // False (the histogram is refused) unless the count is a number in 0..500.
  bool Make(double FirstBin, double LastBin, double BinWidth) {
    const double Bins = std::nearbyint(std::fabs(LastBin - FirstBin) / BinWidth);
    if (!(Bins >= 0 && Bins <= 500)) return false;  // NaN, negative widths and +-0 fail too
    Count = static_cast<int32_t>(Bins);
    First = FirstBin, Width = BinWidth;
    End = First + Count * Width;
    Limit = static_cast<long double>(LastBin) + Width;
    return true;
  }

  // 0 below the first bin, Count + 1 beyond the last (NaN too), else the bin 1..Count. A value
  // that rounding would put one past the last bin is counted in the last bin.
  int32_t BinOf(double X) const {
    if (X < First) return 0;
    if (!(X < Limit && X < End)) return Count + 1;
    const long double B = std::trunc((X - First) / Width) + 1;
    return B < 1 ? 1 : B > Count ? Count : static_cast<int32_t>(B);
  }
};

}  // namespace zeq::detail
