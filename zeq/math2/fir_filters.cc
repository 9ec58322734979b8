// Windowed-sinc FIR kernels and the moving kernel filter.
//
// The kernels are computed into plain arrays, in extended precision with the window constants
// and 2 pi held in extended precision, and rounded when stored; the vector forms then write the
// same values through the vector's setter, so both forms give identical kernels.
#include <algorithm>
#include <cmath>
#include <vector>

#include "zeq/math2/filters.h"

namespace zeq {

namespace {

constexpr long double TwoPi = 6.283185307179586476925286766559005768L;

// 1-based centre tap.
int32_t CentreTap(int32_t NumPoints) { return NumPoints / 2 + 1; }

long double WindowFactor(int32_t WindowType, int32_t i, int32_t N) {
  const long double Phase = TwoPi * i / (static_cast<long double>(N) + 1);
  switch (WindowType) {
    case swHamming:
      return 0.54L - 0.46L * std::cos(Phase);
    case swBlackman:
      return 0.42L - 0.5L * std::cos(Phase) + 0.08L * std::cos(2 * Phase);
    default:
      return 1.0L;
  }
}

TDoubleArray LowPass(int32_t NumPoints, double CutOff, int32_t WindowType) {
  const int32_t N = std::max(NumPoints, 0);
  const long double Fc = !(CutOff >= 0) ? 0.0L : std::min<long double>(CutOff, 0.5L);
  const int32_t c = CentreTap(N);
  TDoubleArray h(static_cast<size_t>(N));
  for (int32_t i = 1; i <= N; ++i) {
    const int32_t d = i - c;
    const long double Sinc = d == 0 ? TwoPi * Fc : std::sin(TwoPi * Fc * d) / d;
    h[static_cast<size_t>(i - 1)] = static_cast<double>(Sinc * WindowFactor(WindowType, i, N));
  }
  long double Sum = 0;
  for (double V : h) Sum += V;
  if (Sum != 0)
    for (double& V : h) V = static_cast<double>(V / Sum);
  return h;
}

void InvertSpectrum(TDoubleArray& h) {
  if (h.empty()) return;
  for (double& V : h) V = -V;
  const size_t Centre = static_cast<size_t>(CentreTap(static_cast<int32_t>(h.size())) - 1);
  h[Centre] = h[Centre] + 1.0;
}

TDoubleArray HighPass(int32_t NumPoints, double CutOff, int32_t WindowType) {
  TDoubleArray h = LowPass(NumPoints, CutOff, WindowType);
  InvertSpectrum(h);
  return h;
}

TDoubleArray BandStop(int32_t NumPoints, double Low, double High, int32_t WindowType) {
  if (Low > High) std::swap(Low, High);
  TDoubleArray h = LowPass(NumPoints, Low, WindowType);
  const TDoubleArray Upper = HighPass(NumPoints, High, WindowType);
  for (size_t i = 0; i < h.size(); ++i) h[i] = h[i] + Upper[i];
  return h;
}

TDoubleArray BandPass(int32_t NumPoints, double Low, double High, int32_t WindowType) {
  TDoubleArray h = BandStop(NumPoints, Low, High, WindowType);
  InvertSpectrum(h);
  return h;
}

// The vector form: resized only for NumPoints >= 1, every tap written through SetVal.
void StoreKernel(const TDoubleArray& h, int32_t NumPoints, TVector* Kernel) {
  if (Kernel == nullptr) return;
  if (NumPoints >= 1) Kernel->Resize(NumPoints);
  for (size_t i = 0; i < h.size(); ++i) Kernel->SetVal(static_cast<int32_t>(i + 1), h[i]);
}

// One output of the kernel filter: the sum over the kernel of kernel(k) x(p(k)).
template <class KernelFn, class SourceFn>
double KernelSum(int32_t K, const KernelFn& Ker, const SourceFn& X, int32_t First) {
  long double S = 0;
  for (int32_t k = 1; k <= K; ++k) S += static_cast<long double>(Ker(k)) * X(First + k - 1);
  return static_cast<double>(S);
}

// The filter over a copy of the range padded with its end values, four outputs at a time so
// that the extended-precision additions of independent sums overlap.
void FilterCopy(const TVector& Source, int32_t L, int32_t H, TVector& Dest, const TVector& Kernel) {
  const int32_t K = Kernel.NrOfElem(), h = K / 2;
  std::vector<double> Ker(static_cast<size_t>(K));  // widened exactly when multiplied
  for (int32_t k = 1; k <= K; ++k) Ker[static_cast<size_t>(k - 1)] = Kernel.GetVal(k);
  // Padded[t] holds x(clamp(L - h + t, L, H)).
  const int32_t n = H - L + 1;
  std::vector<double> Padded(static_cast<size_t>(n + K));
  for (int32_t t = 0; t < n + K; ++t)
    Padded[static_cast<size_t>(t)] = Source.GetVal(std::clamp(L - h + t, L, H));
  std::vector<double> Out(static_cast<size_t>(n));
  const double* Kp = Ker.data();
  const double* X = Padded.data();
  int32_t i = 0;
  for (; i + 4 <= n; i += 4) {
    long double S0 = 0, S1 = 0, S2 = 0, S3 = 0;
    for (int32_t k = 0; k < K; ++k) {
      const auto Kk = static_cast<long double>(Kp[k]);
      S0 += Kk * X[i + k];
      S1 += Kk * X[i + 1 + k];
      S2 += Kk * X[i + 2 + k];
      S3 += Kk * X[i + 3 + k];
    }
    Out[static_cast<size_t>(i)] = static_cast<double>(S0);
    Out[static_cast<size_t>(i + 1)] = static_cast<double>(S1);
    Out[static_cast<size_t>(i + 2)] = static_cast<double>(S2);
    Out[static_cast<size_t>(i + 3)] = static_cast<double>(S3);
  }
  for (; i < n; ++i)
    Out[static_cast<size_t>(i)] = KernelSum(
        K, [Kp](int32_t k) { return Kp[k - 1]; }, [X](int32_t t) { return X[t]; }, i);
  for (int32_t j = 0; j < n; ++j) Dest.SetVal(j + 1, Out[static_cast<size_t>(j)]);
}

}  // namespace

void CalcSincLPKernel(int32_t NumPoints, double CutOff, int32_t WindowType, TVector* Kernel) {
  StoreKernel(LowPass(NumPoints, CutOff, WindowType), NumPoints, Kernel);
}
void CalcSincLPKernel(int32_t NumPoints, double CutOff, int32_t WindowType, TDoubleArray& Kernel) {
  Kernel = LowPass(NumPoints, CutOff, WindowType);
}
void CalcSincHPKernel(int32_t NumPoints, double CutOff, int32_t WindowType, TVector* Kernel) {
  StoreKernel(HighPass(NumPoints, CutOff, WindowType), NumPoints, Kernel);
}
void CalcSincHPKernel(int32_t NumPoints, double CutOff, int32_t WindowType, TDoubleArray& Kernel) {
  Kernel = HighPass(NumPoints, CutOff, WindowType);
}
void CalcSincBSKernel(int32_t NumPoints, double CutOffLow, double CutOffHigh, int32_t WindowType,
                      TDoubleArray& Kernel) {
  Kernel = BandStop(NumPoints, CutOffLow, CutOffHigh, WindowType);
}
void CalcSincBSKernel(int32_t NumPoints, double CutOffLow, double CutOffHigh, int32_t WindowType,
                      TVector* Kernel) {
  StoreKernel(BandStop(NumPoints, CutOffLow, CutOffHigh, WindowType), NumPoints, Kernel);
}
void CalcSincBPKernel(int32_t NumPoints, double CutOffLow, double CutOffHigh, int32_t WindowType,
                      TDoubleArray& Kernel) {
  Kernel = BandPass(NumPoints, CutOffLow, CutOffHigh, WindowType);
}
void CalcSincBPKernel(int32_t NumPoints, double CutOffLow, double CutOffHigh, int32_t WindowType,
                      TVector* Kernel) {
  StoreKernel(BandPass(NumPoints, CutOffLow, CutOffHigh, WindowType), NumPoints, Kernel);
}

void MovingKernelFilter(const TVector* SourceVec, int32_t LowElem, int32_t HighElem,
                        TVector* DestVec, const TVector* FilterKernel) {
  if (SourceVec == nullptr || DestVec == nullptr || FilterKernel == nullptr)
    throw EZEQMath2Error("MovingKernelfilter: SourceVec, DestVec and/or FilterKernel is undefined");
  const int32_t N = SourceVec->NrOfElem();
  int32_t L = std::clamp(LowElem, 1, N), H = std::clamp(HighElem, 1, N);
  if (L > H) std::swap(L, H);
  if (static_cast<int64_t>(H) - L < FilterKernel->NrOfElem())
    throw EZEQMath2Error(
        "MovingKernelfilter: specified range for smoothing is smaller than the length of the "
        "kernel");
  DestVec->Resize(N);
  if (DestVec == SourceVec || DestVec == FilterKernel) {
    // The destination is read while it is written: evaluate element by element, live.
    const int32_t K = FilterKernel->NrOfElem(), h = K / 2;
    for (int32_t i = L; i <= H; ++i)
      DestVec->SetVal(
          i - L + 1, KernelSum(
                         K, [&](int32_t k) { return FilterKernel->GetVal(k); },
                         [&](int32_t p) { return SourceVec->GetVal(std::clamp(p, L, H)); }, i - h));
  } else {
    FilterCopy(*SourceVec, L, H, *DestVec, *FilterKernel);
  }
  DestVec->Changed();
}

}  // namespace zeq
