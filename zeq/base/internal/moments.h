// Sums for means, variances and the third and fourth central moments, and running extremes,
// shared by the array, vector and matrix statistics.
//
// TMomentSums runs in long double; its variance is the one-pass (sum of squares - sum^2 / n) /
// (n - 1) for n >= 3, 1.0 for fewer values, and never negative. TCentralMoments takes its
// accumulator type as a parameter, because the vector statistics sum in long double and the
// matrix statistics in double.
#pragma once

#include <algorithm>
#include <cmath>
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

// Two passes over the values that Visit(F) feeds to F: first the count and the mean, then
// the sums of d, d^2, d^3 and d^4 with d = x - mean, every operation rounded to Acc.
template <class Acc>
struct TCentralMoments {
  int64_t Count = 0;
  Acc Mean = 0, S1 = 0, S2 = 0, S3 = 0, S4 = 0;

  template <class VisitFn>
  explicit TCentralMoments(VisitFn&& Visit) {
    Acc Sum = 0;
    Visit([&](auto X) {
      Sum += static_cast<Acc>(X);
      ++Count;
    });
    if (Count == 0) return;
    Mean = Sum / static_cast<Acc>(Count);
    Visit([&](auto X) {
      const Acc D = static_cast<Acc>(X) - Mean;
      const Acc D2 = D * D;
      S1 += D;
      S2 += D2;
      S3 += D2 * D;
      S4 += D2 * D2;
    });
  }

  // The sample standard deviation sqrt((S2 - S1^2 / n) / (n - 1)); Count must be at least 2.
  Acc StdDev() const {
    const auto N = static_cast<Acc>(Count);
    return std::sqrt((S2 - S1 * S1 / N) / (N - 1));
  }

  // Population skewness S3 / n / s^3 and excess kurtosis S4 / n / s^4 - 3 for s = StdDev().
  void SkewKurt(Acc S, Acc& Skewness, Acc& Kurtosis) const {
    const auto N = static_cast<Acc>(Count);
    Skewness = S3 / N / (S * S * S);
    Kurtosis = S4 / N / (S * S * S * S) - 3;
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
