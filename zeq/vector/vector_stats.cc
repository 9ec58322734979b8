// Descriptive statistics and the numerical integral of TVector.
//
// Sums run in long double and are rounded to double once, when stored; only Sum rounds after
// every addition. The routines that need order sort a copy with the library's array sort.
#include <cmath>
#include <limits>

#include "zeq/base/internal/histogram_bins.h"
#include "zeq/vector/internal/vector_impl.h"

namespace zeq {

using Impl = detail::TVectorImpl;

double TVector::Sum(int32_t LowElem, int32_t HighElem) const {
  double Sum = 0.0;
  for (double X : Impl::Range(*this, LowElem, HighElem)) Sum += X;
  return Sum;
}

void TVector::MeanVar(int32_t LowElem, int32_t HighElem, double& Mean, double& Variance) const {
  Impl::MeanVar(*this, LowElem, HighElem, Mean, Variance);
}

double TVector::MeanCenter() {
  long double Sum = 0;
  for (double X : FVec) Sum += X;
  const auto Mean = static_cast<double>(Sum / FNElem);
  for (double& X : FVec) X = static_cast<double>(static_cast<long double>(X) - Mean);
  return Mean;
}

void TVector::Standardize(double& mean, double& stddev) {
  double Variance;
  MeanVar(1, FNElem, mean, Variance);
  stddev = std::sqrt(Variance);
  if (!(stddev > 0)) return;
  for (double& X : FVec) X = static_cast<double>((static_cast<long double>(X) - mean) / stddev);
}

void TVector::QNormalize(double RefQuant, double& Median, double& QuantDiff) {
  Median = Percentile(50, 1, FNElem);
  QuantDiff = std::fabs(Median - Percentile(RefQuant, 1, FNElem));
  if (!(QuantDiff > 0)) return;
  for (double& X : FVec)
    X = static_cast<double>((static_cast<long double>(X) - Median) / QuantDiff);
}

double TVector::Percentile(double prob, int32_t LowElem, int32_t HighElem) const {
  return Impl::Percentile(*this, prob, LowElem, HighElem);
}

bool TVector::Quartiles(int32_t LowElem, int32_t HighElem, double& Q1, double& Q2,
                        double& Q3) const {
  return Impl::Quartiles(*this, LowElem, HighElem, Q1, Q2, Q3);
}

double TVector::Mode(int32_t LowElem, int32_t HighElem) const {
  return Impl::Mode(*this, LowElem, HighElem);
}

bool TVector::Histogram(int32_t FirstElem, int32_t LastElem, double FirstBin, double LastBin,
                        double BinWidth, TIntVector* Histo, int32_t& Underflow, int32_t& Overflow,
                        int32_t& MaxCnt) const {
  detail::THistogramBins Bins;
  if (Histo == nullptr || !Bins.Make(FirstBin, LastBin, BinWidth)) return false;
  Impl::THistogramCounts Counts(Histo, Bins.Count);
  for (int64_t i = FirstElem; i <= LastElem; ++i) {
    const int32_t B = Bins.BinOf(GetVal(static_cast<int32_t>(i)));
    if (B == 0)
      ++Counts.Under;
    else if (B > Bins.Count)
      ++Counts.Over;  // beyond the last bin: overflow, so that every value is counted once
    else
      Counts.CountInBin(B);
  }
  Counts.Store(Underflow, Overflow, MaxCnt);
  return true;
}

double TVector::GeometricMean(int32_t LowElem, int32_t HighElem) const {
  return Impl::GeometricMean(*this, LowElem, HighElem);
}

double TVector::HarmonicMean(int32_t LowElem, int32_t HighElem) const {
  return Impl::HarmonicMean(*this, LowElem, HighElem);
}

void TVector::SkewKurt(int32_t LowElem, int32_t HighElem, double& Skewness,
                       double& Kurtosis) const {
  Impl::SkewKurtIntern(*this, LowElem, HighElem, Skewness, Kurtosis);
}

void TVector::SkewKurtSample(int32_t LowElem, int32_t HighElem, double& Skewness,
                             double& Kurtosis) const {
  Impl::SkewKurtSample(*this, LowElem, HighElem, Skewness, Kurtosis);
}

double TVector::PearsonCorrCoeff(const TVector* OtherVec) const {
  return Impl::Pearson(*this, OtherVec);
}

// ---- integration ----

namespace {

// The samples y(1..N) at unit spacing, read in long double.
class TSamples {
 public:
  explicit TSamples(const std::vector<double>& Y) : FY(Y) {}
  long double operator()(int64_t i) const { return FY[static_cast<size_t>(i - 1)]; }

 private:
  const std::vector<double>& FY;
};

long double SimpsonInterior(const TSamples& y, int64_t i1, int64_t i2) {
  const int64_t m = i2 - i1;
  switch (m) {
    case 0:
      return 0;
    case 1:
      return (y(i1) + y(i1 + 1)) / 2;
    case 2:
      return (y(i1) + 4 * y(i1 + 1) + y(i1 + 2)) / 3;
    case 3:
      return 3.0L / 8 * (y(i1) + 3 * y(i1 + 1) + 3 * y(i1 + 2) + y(i1 + 3));
    case 4:
      return 2.0L / 45 *
             (7 * y(i1) + 32 * y(i1 + 1) + 12 * y(i1 + 2) + 32 * y(i1 + 3) + 7 * y(i1 + 4));
    default: {
      long double S = 3.0L / 8 * y(i1) + 7.0L / 6 * y(i1 + 1) + 23.0L / 24 * y(i1 + 2);
      for (int64_t k = i1 + 3; k <= i2 - 3; ++k) S += y(k);
      return S + 23.0L / 24 * y(i2 - 2) + 7.0L / 6 * y(i2 - 1) + 3.0L / 8 * y(i2);
    }
  }
}

}  // namespace

double TVector::Integrate(double BoundLow, double BoundHigh, TIntegMethod Method) const {
  if (std::isnan(BoundLow) || std::isnan(BoundHigh))
    return std::numeric_limits<double>::quiet_NaN();
  if (Method > imSimpson) return 0.0;
  const TSamples y(FVec);
  const long double N = FNElem;
  const long double Lo = std::clamp<long double>(BoundLow, 1, N);
  const long double Hi = std::clamp<long double>(BoundHigh, 1, N);
  const long double a = std::min(Lo, Hi), b = std::max(Lo, Hi), w = b - a;
  const auto i1 = static_cast<int64_t>(std::ceil(a));
  const auto i2 = static_cast<int64_t>(std::floor(b));
  const int64_t m = i2 - i1;

  // End pieces by linear interpolation; a piece of length 0 reads nothing.
  long double Pieces = 0;
  if (i1 - a > 0) {
    const long double ya = y(i1 - 1) + (a - i1 + 1) * (y(i1) - y(i1 - 1));
    Pieces += (i1 - a) * (ya + y(i1)) / 2;
  }
  if (b - i2 > 0) {
    const long double yb = y(i2) + (b - i2) * (y(i2 + 1) - y(i2));
    Pieces += (b - i2) * (y(i2) + yb) / 2;
  }

  long double Result = 0;
  if (Method == imSimple) {
    if (m == -1) {
      Result = (y(i2) + y(i1)) / 2 * w;
    } else {
      long double Sum = 0;
      for (int64_t k = i1; k <= i2; ++k) Sum += y(k);
      Result = Sum / static_cast<long double>(m + 1) * w;
    }
  } else if (m == -1) {  // both bounds inside one unit interval [i2, i1]
    const long double ya = y(i2) + (a - i2) * (y(i1) - y(i2));
    const long double yb = y(i2) + (b - i2) * (y(i1) - y(i2));
    Result = (ya + yb) / 2 * w;
  } else if (Method == imTrapezoidal) {
    Result = Pieces;
    for (int64_t k = i1; k < i2; ++k) Result += (y(k) + y(k + 1)) / 2;
  } else {
    Result = Pieces + SimpsonInterior(y, i1, i2);
  }
  return static_cast<double>(Result);
}

}  // namespace zeq
