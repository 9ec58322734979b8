// The tests on samples with any data (NaN, infinities and extreme values included): outlier,
// normality, variance, runs and percentile tests and the density estimate return, raise only
// their documented errors, and keep their results in range.
#include <cmath>

#include "fuzz/fuzz_input.h"
#include "zeq/statis/statis.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  zeq::fuzz::TFuzzInput In(Data, Size);
  const int32_t N = In.TakeInRange(1, 40);
  zeq::TVector V, Copy, Density;
  zeq::TIntVector Groups;
  V.Resize(N);
  Groups.Resize(N);
  for (int32_t i = 1; i <= N; ++i) {
    V.SetVal(i, In.TakeBool() ? In.Take<double>() : In.TakeInRange(-1000, 1000) / 8.0);
    Groups.SetVal(i, In.TakeInRange(0, 3));
  }
  double q, g, SSB, SSW, SST, F, p, r;
  int32_t DfB, DfW, DfT, Lo, Hi;
  try {
    zeq::DeanDixonTest(&V, static_cast<zeq::TSignifLevelEx>(In.TakeInRange(0, 8)), q);
  } catch (const zeq::EZEQStatisError&) {
  }
  try {
    zeq::GrubbsTest(&V, In.TakeInRange(1, 99) / 100.0, g);
  } catch (const zeq::EZEQStatisError&) {
  }
  p = zeq::Anova1F(&V, &Groups, SSB, SSW, SST, DfB, DfW, DfT, F);
  ZEQ_FUZZ_CHECK(p == -1 || p == -2 || p == -3 || std::isnan(p) || (p >= 0 && p <= 1));
  zeq::RunsTestSerial(&V, p);
  ZEQ_FUZZ_CHECK(std::isnan(p) || (p >= 0 && p <= 1));
  zeq::TDoubleArray Arr(static_cast<size_t>(N), 1.0);
  zeq::PercentileOfArray(Arr, In.TakeInRange(-100, 200), In.TakeInRange(-5, 45),
                         In.TakeInRange(-5, 45), r);
  Copy.Clone(&V);
  zeq::EstimateProbDensity(&Copy, &Density, -5, 5, In.TakeInRange(0, 2), 1, 10, Lo, Hi);
  Copy.Clone(&V);
  zeq::PerformLillieforsTest(&Copy, false);
  return 0;
}
