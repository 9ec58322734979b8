// TWavelet1D: Daubechies wavelet steps with the three signal extensions.
#include "zeq/wavelet/wavelet.h"

#include <algorithm>
#include <new>

namespace zeq {

namespace {

// Low-pass (scaling) coefficients of the orders 1, 2 and 3; each set sums to sqrt(2).
const long double Daubechies1[] = {0.7071067811865476L, 0.7071067811865476L};
const long double Daubechies2[] = {0.48296291314453416L, 0.8365163037378079L, 0.2241438680420134L,
                                   -0.12940952255126037L};
const long double Daubechies3[] = {0.33267055295008263L,  0.8068915093110925L,
                                   0.45987750211849154L,  -0.13501102001025458L,
                                   -0.08544127388202666L, 0.03522629188570953L};

}  // namespace

TWavelet1D::TWavelet1D(TComponent* AOwner) : TComponent(AOwner) {
  SetSize(256);
  SetOrder(2);
}

void TWavelet1D::SetSize(int32_t N) {
  if (N < 1 || N > (1 << 23) || (N & (N - 1)) != 0)
    RaiseComponentError<EZEQWaveletError>(this, "data length must be power of 2");
  try {
    FData.assign(static_cast<size_t>(N), 0.0L);
  } catch (const std::bad_alloc&) {
    RaiseComponentError<EZEQWaveletError>(this, "not enough memory on heap");
  }
  FNumData = N;
}

void TWavelet1D::SetOrder(int32_t Value) {
  const long double* H;
  switch (Value) {
    case 1:
      H = Daubechies1;
      break;
    case 2:
      H = Daubechies2;
      break;
    case 3:
      H = Daubechies3;
      break;
    default:
      RaiseComponentError<EZEQWaveletError>(this, "invalid order of Daubechies wavelet family");
  }
  const auto Taps = static_cast<size_t>(2 * Value);
  FCoeffsLP.assign(H, H + Taps);
  FCoeffsHP.resize(Taps);
  for (size_t k = 1; k <= Taps; ++k)  // g(2p + 1 - k) = (-1)^k h(k)
    FCoeffsHP[Taps - k] = (k % 2 == 0 ? 1 : -1) * FCoeffsLP[k - 1];
  FOrder = Value;
}

long double TWavelet1D::Data(int32_t ix) const {
  return ix >= 1 && ix <= FNumData ? FData[static_cast<size_t>(ix - 1)] : 0.0L;
}

void TWavelet1D::SetData(int32_t ix, long double Value) {
  if (ix >= 1 && ix <= FNumData) FData[static_cast<size_t>(ix - 1)] = Value;
}

void TWavelet1D::Clear() { std::fill(FData.begin(), FData.end(), 0.0L); }

void TWavelet1D::PartialWLT(int32_t n, int32_t Offset, bool Inverse) {
  if (n < 2) return;
  const int32_t Half = n / 2, p = FOrder, Mask = n - 1;
  long double* x = &FData[static_cast<size_t>(Offset)];
  std::vector<long double> r(static_cast<size_t>(n), 0.0L);
  for (int32_t i = 1; i <= Half; ++i)
    for (int32_t k = 1; k <= 2 * p; ++k) {
      int32_t q = 2 * (i - p) + k - 1;
      if (q < 0) {
        if (FWLSigExtMode == wseZeroPad) continue;
        q = FWLSigExtMode == wseWrap ? n + q : -q - 1;
      }
      q &= Mask;  // matters only for segments shorter than the filter
      const long double h = FCoeffsLP[static_cast<size_t>(k - 1)],
                        g = FCoeffsHP[static_cast<size_t>(k - 1)];
      if (Inverse) {
        r[static_cast<size_t>(q)] += h * x[i - 1] + g * x[Half + i - 1];
      } else {
        r[static_cast<size_t>(i - 1)] += h * x[q];
        r[static_cast<size_t>(Half + i - 1)] += g * x[q];
      }
    }
  std::copy(r.begin(), r.end(), x);
}

void TWavelet1D::Transform(int32_t Level) {
  int32_t Steps = std::max(Level, 1);
  for (int32_t n = FNumData; n >= 2 && Steps > 0; n /= 2, --Steps) PartialWLT(n, 0, false);
}

void TWavelet1D::InverseTransform(int32_t Level) {
  int32_t Steps = std::max(Level, 1);
  for (int32_t n = 2; n <= FNumData && Steps > 0; n *= 2, --Steps) PartialWLT(n, 0, true);
}

void TWavelet1D::SingleStep(bool Inverse) { PartialWLT(FNumData, 0, Inverse); }

}  // namespace zeq
