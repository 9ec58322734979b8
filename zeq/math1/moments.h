// Running sums for mean and variance, and running extremes, shared by the array, vector and
// matrix statistics.
//
// The sums run in long double; the variance is the one-pass (sum of squares - sum^2 / n) /
// (n - 1) for n >= 3, 1.0 for fewer values, and never negative.
#pragma once

#include <algorithm>
#include <cstdint>

namespace zeq::detail {

struct TMomentSums {
  long double Sum = 0.0L;
  long double SumSq = 0.0L;
  int64_t Count = 0;

  void Take(long double X) {
    Sum += X;
    SumSq += X * X;
    ++Count;
  }

  // Mean and variance of the values taken; Count must be at least 1.
  void Result(double& Mean, double& Variance) const {
    const auto N = static_cast<long double>(Count);
    Mean = static_cast<double>(Sum / N);
    long double Var = 1.0L;
    if (Count >= 3) Var = (SumSq - Sum * Sum / N) / (N - 1.0L);
    Variance = static_cast<double>(std::max(Var, 0.0L));
  }
};

// Running minimum and maximum with the positions where they were found: strict comparisons
// from the given start values, so the first occurrence wins on ties and NaN never wins.
template <class T, class Index>
struct TMinMaxScan {
  T Minimum, Maximum;
  Index MinAt{}, MaxAt{};

  TMinMaxScan(T StartMin, T StartMax) : Minimum(StartMin), Maximum(StartMax) {}

  void Take(T V, const Index& At) {
    if (V < Minimum) {
      Minimum = V;
      MinAt = At;
    }
    if (V > Maximum) {
      Maximum = V;
      MaxAt = At;
    }
  }
};

}  // namespace zeq::detail
