// The accuracy of TFastFourier's transform: the largest error of a forward transform of random
// data, relative to the largest magnitude, for N = 2^4 .. 2^20, beside the documented radix-2
// kernel (twiddles by a trigonometric recurrence). The reference is the same transform in
// extended precision with exact twiddles, itself checked against the direct DFT in extended
// precision for N up to 2^12.
#include <cmath>
#include <complex>
#include <cstdio>
#include <numbers>
#include <random>
#include <vector>

#include "zeq/fourier/fourier.h"

namespace {

using TComplexL = std::complex<long double>;
constexpr long double Pi = std::numbers::pi_v<long double>;

// Radix-2 decimation in time in extended precision, twiddles evaluated directly; sign +1.
std::vector<TComplexL> ReferenceFft(std::vector<TComplexL> X) {
  const size_t N = X.size();
  for (size_t i = 1, j = 0; i < N; ++i) {
    size_t Bit = N >> 1;
    for (; j & Bit; Bit >>= 1) j ^= Bit;
    j |= Bit;
    if (i < j) std::swap(X[i], X[j]);
  }
  for (size_t Len = 2; Len <= N; Len *= 2)
    for (size_t k = 0; k < N; k += Len)
      for (size_t j = 0; j < Len / 2; ++j) {
        const TComplexL w =
            std::polar(1.0L, 2 * Pi * static_cast<long double>(j) / static_cast<long double>(Len));
        const TComplexL t = w * X[k + j + Len / 2];
        X[k + j + Len / 2] = X[k + j] - t;
        X[k + j] += t;
      }
  return X;
}

std::vector<TComplexL> DirectDft(const std::vector<TComplexL>& X) {
  const size_t N = X.size();
  std::vector<TComplexL> Y(N);
  for (size_t n = 0; n < N; ++n)
    for (size_t k = 0; k < N; ++k)
      Y[n] += X[k] * std::polar(1.0L, 2 * Pi * static_cast<long double>((n * k) % N) / N);
  return Y;
}

// The documented kernel on 1-based interleaved data d(1..2N), sign +1, as written.
void DocumentedKernel(std::vector<double>& Data) {
  double* d = Data.data() - 1;
  const size_t n = Data.size();
  for (size_t i = 1, j = 1; i < n; i += 2) {
    if (j > i) {
      std::swap(d[j], d[i]);
      std::swap(d[j + 1], d[i + 1]);
    }
    size_t m = n / 2;
    while (m >= 2 && j > m) {
      j -= m;
      m /= 2;
    }
    j += m;
  }
  for (size_t mmax = 2; n > mmax;) {
    const size_t istep = 2 * mmax;
    const double theta = 2 * std::numbers::pi / static_cast<double>(mmax);
    double wtemp = std::sin(0.5 * theta);
    const double wpr = -2.0 * wtemp * wtemp, wpi = std::sin(theta);
    double wr = 1.0, wi = 0.0;
    for (size_t m = 1; m < mmax; m += 2) {
      for (size_t i = m; i <= n; i += istep) {
        const size_t j = i + mmax;
        const double tr = wr * d[j] - wi * d[j + 1], ti = wr * d[j + 1] + wi * d[j];
        d[j] = d[i] - tr;
        d[j + 1] = d[i + 1] - ti;
        d[i] += tr;
        d[i + 1] += ti;
      }
      wtemp = wr;
      wr = wtemp * wpr - wi * wpi + wr;
      wi = wi * wpr + wtemp * wpi + wi;
    }
    mmax = istep;
  }
}

double RelativeError(const std::vector<double>& Got, const std::vector<TComplexL>& Ref) {
  long double Max = 0, Err = 0;
  for (size_t k = 0; k < Ref.size(); ++k) {
    Max = std::max(Max, std::abs(Ref[k]));
    Err = std::max(Err, std::abs(TComplexL(Got[2 * k], Got[2 * k + 1]) - Ref[k]));
  }
  return static_cast<double>(Err / Max);
}

}  // namespace

int main() {
  std::printf("  log2 N   TFastFourier   documented radix-2   (max |error| / max |X|)\n");
  std::mt19937_64 Gen(1);
  std::normal_distribution<double> G(0, 1);
  for (int Log = 4; Log <= 20; ++Log) {
    const size_t N = size_t{1} << Log;
    std::vector<double> Data(2 * N);
    for (double& V : Data) V = G(Gen);
    std::vector<TComplexL> X(N);
    for (size_t k = 0; k < N; ++k) X[k] = TComplexL(Data[2 * k], Data[2 * k + 1]);
    const std::vector<TComplexL> Ref = ReferenceFft(X);
    if (Log <= 12) {  // the reference against the direct sum
      const auto Direct = DirectDft(X);
      long double Worst = 0;
      for (size_t k = 0; k < N; ++k) Worst = std::max(Worst, std::abs(Direct[k] - Ref[k]));
      if (Worst > 1e-14L) std::printf("reference check failed at N = %zu\n", N);
    }
    zeq::TFastFourier F;
    F.SetSpectrumSize(static_cast<int32_t>(N));
    for (size_t k = 0; k < N; ++k) {
      F.SetRealSpec(static_cast<int32_t>(k + 1), Data[2 * k]);
      F.SetImagSpec(static_cast<int32_t>(k + 1), Data[2 * k + 1]);
    }
    F.Transform();
    std::vector<double> Got(2 * N);
    for (size_t k = 0; k < N; ++k) {
      Got[2 * k] = F.RealSpec(static_cast<int32_t>(k + 1));
      Got[2 * k + 1] = F.ImagSpec(static_cast<int32_t>(k + 1));
    }
    DocumentedKernel(Data);
    std::printf("  %6d   %12.2e   %18.2e\n", Log, RelativeError(Got, Ref),
                RelativeError(Data, Ref));
  }
}
