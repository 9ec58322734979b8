// Normality statistics, one-way analysis of variance, percentiles of array ranges, the
// runs tests and the adaptive kernel density estimate.
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "zeq/math1/math1.h"
#include "zeq/statis/statis.h"

namespace zeq {

namespace {

double KSStatistic(const TVector& data) {
  const int32_t n = data.NrOfElem();
  double D = 0;
  for (int32_t i = 1; i <= n; ++i) {
    const double Phi = nDistriIntegral(data.GetVal(i));
    D = std::max({D, std::fabs(static_cast<double>(i) / n - Phi),
                  std::fabs(static_cast<double>(i - 1) / n - Phi)});
  }
  return D;
}

}  // namespace

double PerformKSNormalityTest(TVector* data, bool sorted) {
  if (data == nullptr) return 0;
  if (!sorted) data->SortElems(true, 0, 0);
  return KSStatistic(*data);
}

double PerformLillieforsTest(TVector* data, bool sorted) {
  if (data == nullptr) return 0;
  if (!sorted) data->SortElems(true, 0, 0);
  double Mean, SD;
  data->Standardize(Mean, SD);
  return KSStatistic(*data);
}

double Anova1F(const TVector* data, const TIntVector* classes, double& ssBetween, double& ssWithin,
               double& ssTotal, int32_t& dfBetween, int32_t& dfWithin, int32_t& dfTotal,
               double& f) {
  if (data == nullptr || classes == nullptr || data->NrOfElem() != classes->NrOfElem()) return -4;
  const int32_t N = data->NrOfElem();
  // Groups in order of discovery: label, sum, count (the work matrix's columns 2..4).
  struct TGroup {
    double Label;
    long double Sum;
    int64_t Count;
  };
  std::vector<TGroup> Groups;
  long double T = 0, Q = 0;
  for (int32_t i = 1; i <= N; ++i) {
    const double c = classes->GetVal(i);
    const long double x = data->GetVal(i);
    auto G = std::find_if(Groups.begin(), Groups.end(),
                          [c](const TGroup& Gr) { return std::fabs(Gr.Label - c) < 1e-8; });
    if (G == Groups.end()) G = Groups.insert(Groups.end(), {c, 0, 0});
    G->Sum += x;
    ++G->Count;
    T += x;
    Q += x * x;
  }
  const auto k = static_cast<int32_t>(Groups.size());
  if (k <= 1) return -1;
  if (k >= N) return -2;
  long double Between = 0;
  for (const TGroup& G : Groups) Between += G.Sum * G.Sum / G.Count;
  ssBetween = static_cast<double>(Between - T * T / N);
  ssWithin = static_cast<double>(Q - Between);
  ssTotal = static_cast<double>(Q - T * T / N);
  dfBetween = k - 1;
  dfWithin = N - k;
  dfTotal = N - 1;
  const double MSb = ssBetween / dfBetween, MSw = ssWithin / dfWithin;
  if (MSw != 0) {
    f = MSb / MSw;
    return fDistriUpperTail(f, dfBetween, dfWithin);
  }
  if (MSb != 0) {
    f = static_cast<double>(uc_MaxReal);
    return 0;
  }
  f = 0;
  return -3;
}

int32_t PercentileOfArray(TDoubleArray& values, double percentile, int32_t first, int32_t last,
                          double& result) {
  result = 0;
  const auto High = static_cast<int32_t>(values.size()) - 1;
  int32_t Status = 0;
  if (first < 0 || first > High || last < 0 || last > High) Status = -1;
  if (last < first) Status = -3;
  if (!(percentile >= 0 && percentile <= 100)) Status = -2;
  if (Status != 0) return Status;
  const auto Rank = first + static_cast<int32_t>(std::nearbyint(percentile / 100 * (last - first)));
  result = QuickSelect(values, Rank, first, last);
  return 0;
}

namespace {

// C(n, k) in extended precision: exact while it stays below 2^64 (every count of samples up to
// 25 + 25 items), and accurate to the last bits of a long double beyond. 0 outside 0 <= k <= n.
long double ExactBinom(int64_t n, int64_t k) {
  if (k < 0 || k > n) return 0.0L;
  k = std::min(k, n - k);
  long double C = 1.0L;
  // Once the product overflows it stays infinite: stop there instead of running k times.
  for (int64_t i = 1; i <= k && C <= std::numeric_limits<long double>::max(); ++i)
    C = C * static_cast<long double>(n - k + i) / static_cast<long double>(i);
  return C;
}

// Large samples: only the runs within 40 standard deviations of the mean count (every term
// beyond is below e^-800 of the total), so the time is bounded by the spread of R rather than
// by r or the sample sizes. With E(j) = C(nA - 1, j - 1) C(nB - 1, j - 1) (non-zero for
// 1 <= j <= nA) the counts are 2 E(j) for u = 2j runs and E(j) (nA + nB - 2j) / j for
// u = 2j + 1, and E(j + 1) / E(j) = (nA - j) (nB - j) / j^2. E starts at 1 at the window's low
// end (the peak is at most e^800 above it, well inside long double), and the window's sum
// stands for the total, so no huge binomial coefficient is ever formed.
double RunsProbabilityForLargeSamples(int64_t nA, int64_t nB, int64_t r) {
  const long double N = nA + nB, P = 2.0L * nA * nB;
  const long double Mean = 1 + P / N, Sd = std::sqrt(P * (P - N) / (N * N * (N - 1)));
  const auto Lo = std::max<int64_t>(2, static_cast<int64_t>(Mean - 40 * Sd) - 10);
  const auto Hi = std::min<int64_t>(2 * nA + 1, static_cast<int64_t>(Mean + 40 * Sd) + 10);
  if (r < Lo) return 0;
  long double E = 1, Below = 0, Total = 0;
  for (int64_t j = Lo / 2; j <= nA && 2 * j <= Hi; ++j) {
    const auto J = static_cast<long double>(j);
    const long double Even = 2 * j >= Lo ? 2 * E : 0;
    const long double Odd = 2 * j + 1 <= Hi ? E * static_cast<long double>(nA + nB - 2 * j) / J : 0;
    Total += Even + Odd;
    Below += (2 * j <= r ? Even : 0) + (2 * j + 1 <= r ? Odd : 0);
    E *= static_cast<long double>(nA - j) * static_cast<long double>(nB - j) / (J * J);
  }
  return static_cast<double>(Below / Total);
}

}  // namespace

double ExactRunsTest(int32_t nA, int32_t nB, int32_t r) {
  if (nA > nB) std::swap(nA, nB);
  if (r < 2 || nA < 0) return 0;
  // The counts are exact (C(50, 25) = 1.26e14 fits the 64-bit mantissa) instead of 32-bit
  // products, which vanish beyond 2^31 and would make the probability 0 for larger samples.
  // Beyond 1000 items of the smaller kind, or when the total overflows, see above.
  const long double Total = ExactBinom(static_cast<int64_t>(nA) + nB, nA);
  if (nA > 1000 || std::isinf(Total)) return RunsProbabilityForLargeSamples(nA, nB, r);
  if (Total == 0) return 0;
  const auto C = ExactBinom;
  // No arrangement has more than 2 nA + 1 runs: the terms beyond are 0.
  const int64_t Last = std::min<int64_t>(r, 2 * static_cast<int64_t>(nA) + 1);
  long double Sum = 0.0L;
  for (int64_t u = 2; u <= Last; ++u) {
    if (u % 2 == 1) {
      const int64_t k = (u + 1) / 2;
      Sum += C(nA - 1, k - 1) * C(nB - 1, k - 2) + C(nA - 1, k - 2) * C(nB - 1, k - 1);
    } else {
      const int64_t k = u / 2;
      Sum += 2 * C(nA - 1, k - 1) * C(nB - 1, k - 1);
    }
  }
  return static_cast<double>(Sum / Total);
}

bool RunsTest(const TBitFld* bits, double& p) {
  p = 1;
  if (bits == nullptr || bits->Size() < 0) return false;
  int32_t Runs = 1, nA = 0;
  for (int32_t i = 0; i <= bits->Size(); ++i) {
    nA += bits->GetBit(i);
    if (i > 0 && bits->GetBit(i) != bits->GetBit(i - 1)) ++Runs;
  }
  const int32_t nB = bits->Size() + 1 - nA;
  if (nA <= 25 && nB <= 25) {
    p = ExactRunsTest(nA, nB, Runs);
    return p < 0.05;
  }
  const long double A = nA, B = nB, AB = 2 * A * B;
  const long double Sigma = std::sqrt(AB * (AB - A - B) / ((A + B) * (A + B) * (A + B - 1)));
  if (Sigma == 0) {
    p = 0;
    return true;
  }
  const double z = static_cast<double>((Runs - AB / (A + B) - 1) / Sigma);
  p = nDistriIntegral(z);
  if (z > 0) p = 1 - p;
  return p < 0.05;
}

bool RunsTestSerial(const TVector* data, double& p) {
  p = -1;
  if (data == nullptr) return false;
  double Q1, Median, Q3;
  if (!data->Quartiles(0, 0, Q1, Median, Q3)) return false;
  TBitFld Bits;
  Bits.SetSize(data->NrOfElem() - 1);
  for (int32_t i = 1; i <= data->NrOfElem(); ++i) Bits.SetBit(i - 1, data->GetVal(i) > Median);
  return RunsTest(&Bits, p);
}

void EstimateProbDensity(TVector* data, TVector* density, double low, double high,
                         double bandFactor, double window, int32_t numSteps, int32_t& minIndex,
                         int32_t& maxIndex, const TDensityFeedback& feedback) {
  minIndex = maxIndex = 0;
  if (data == nullptr || density == nullptr) return;
  const int32_t m = std::clamp(numSteps, 10, 10000);
  if (bandFactor <= 0) bandFactor = 1;
  data->SortElems(true, 0, 0);
  const int32_t n = data->NrOfElem();
  const auto x = [data](int32_t i) { return data->GetVal(i); };
  const auto Report = [&](double Count) {
    if (feedback) feedback(nullptr, Count, Count / (n + m) * 100);
  };
  std::vector<double> L(static_cast<size_t>(n) + 1, window);
  for (int32_t i = 1; i <= n; ++i) {
    double Sum = 0;
    int32_t Count = 0;
    for (int32_t j = std::min(i + 1, n); j >= 2 && std::fabs(x(j) - x(i)) < window; --j) {
      Sum += std::fabs(x(j) - x(j - 1));
      ++Count;
    }
    for (int32_t j = std::max(i - 1, 1); j <= n - 1 && std::fabs(x(j) - x(i)) < window; ++j) {
      Sum += std::fabs(x(j) - x(j + 1));
      ++Count;
    }
    if (Count > 0) L[static_cast<size_t>(i)] = Sum == 0 ? window / Count : Sum / Count;
    Report(i);
  }
  density->Resize(m + 1);
  double Max = 0, Min = static_cast<double>(uc_MaxDouble);
  for (int32_t j = 0; j <= m; ++j) {
    const double u = low + (high - low) * j / m;
    long double S = 0;
    for (int32_t i = 1; i <= n; ++i) {
      // A bandwidth is a width: a window <= 0 (which leaves every local bandwidth at the window)
      // must not turn the kernels negative.
      double h = std::fabs(L[static_cast<size_t>(i)] * bandFactor);
      if (!(h > 0)) h = bandFactor;
      const long double Z = (u - x(i)) / h;
      S += std::exp(-0.5L * Z * Z) / h;
    }
    const double Value = static_cast<double>(S * uc_sqrt2pitom1 / n);
    density->SetVal(j + 1, Value);
    if (Value > Max) {
      Max = Value;
      maxIndex = j + 1;
    }
    if (Value < Min) {
      Min = Value;
      minIndex = j + 1;
    }
    Report(n + j + 1);
  }
}

}  // namespace zeq
