// TFastFourier: data, windows, the transforms and the spectra read from them.
//
// Windows and spectral values are computed in extended precision with the window constants
// held in extended precision, and rounded when stored or returned.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <new>
#include <numbers>

#include "zeq/fourier/fourier.h"
#include "zeq/fourier/internal/fft_plan.h"

namespace zeq {

namespace {

constexpr long double Pi = std::numbers::pi_v<long double>;

// The weight of point i (1..N) for the cosine windows; t = i - N/2.
long double CosineWindow(TFastFourierWgtWin W, int32_t i, int32_t N) {
  const long double a = 2 * Pi * (i - N / 2.0L) / N;  // 2 pi t / N
  switch (W) {
    case fwCos2: {
      const long double c = std::cos(a / 2);
      return c * c;
    }
    case fwGauss: {
      const long double z = 6 * (i - N / 2.0L) / N;
      return std::exp(-0.5L * z * z);
    }
    case fwHamming:
      return 0.543478261L + 0.456521739L * std::cos(a);
    case fwBlackman:
      return 0.42659L + 0.49656L * std::cos(a) + 0.076848L * std::cos(2 * a);
    case fwBlkmHarris:
      return 0.35875L + 0.48829L * std::cos(a) + 0.14128L * std::cos(2 * a) +
             0.01168L * std::cos(3 * a);
    case fwBlkmNuttall:
      return 0.3635819L + 0.4891775L * std::cos(a) + 0.1365995L * std::cos(2 * a) +
             0.0106411L * std::cos(3 * a);
    default:
      return 1.0L;
  }
}

}  // namespace

TFastFourier::TFastFourier(TComponent* AOwner) : TComponent(AOwner) {
  SetSpectrumSize(256);
  FUserWgt.assign(256, 1.0);
}

TFastFourier::~TFastFourier() = default;

void TFastFourier::SetSpectrumSize(int32_t N) {
  // A power of two from 1 to 2^23 (a single one-bit among the low 24 bits, no other bits).
  if (N < 1 || N > (1 << 23) || (N & (N - 1)) != 0)
    RaiseComponentError<EZEQFourierError>(this, "data length must be power of 2");
  try {
    std::vector<double> Data(2 * static_cast<size_t>(N), 0.0), Weights(static_cast<size_t>(N), 0.0);
    auto Plan = std::make_unique<detail::TFftPlan>(static_cast<size_t>(N));
    FData = std::move(Data);
    FUserWgt = std::move(Weights);
    FPlan = std::move(Plan);
  } catch (const std::bad_alloc&) {
    RaiseComponentError<EZEQFourierError>(this, "not enough memory on heap");
  }
  FNumData = N;
  MaxValuesValid = false;
}

double TFastFourier::RealSpec(int32_t ix) const { return ix >= 1 && ix <= FNumData ? Re(ix) : 0.0; }
double TFastFourier::ImagSpec(int32_t ix) const { return ix >= 1 && ix <= FNumData ? Im(ix) : 0.0; }

void TFastFourier::SetRealSpec(int32_t ix, double Value) {
  if (ix < 1 || ix > FNumData) return;
  FData[2 * static_cast<size_t>(ix - 1)] = Value;
  MaxValuesValid = false;
}

void TFastFourier::SetImagSpec(int32_t ix, double Value) {
  if (ix < 1 || ix > FNumData) return;
  FData[2 * static_cast<size_t>(ix - 1) + 1] = Value;
  MaxValuesValid = false;
}

double TFastFourier::WgtFunction(int32_t ix) const {
  return ix >= 1 && ix <= FNumData ? FUserWgt[static_cast<size_t>(ix - 1)] : 0.0;
}

void TFastFourier::SetWgtFunction(int32_t ix, double Value) {
  if (ix >= 1 && ix <= FNumData) FUserWgt[static_cast<size_t>(ix - 1)] = Value;
}

long double TFastFourier::LinePower(int32_t n) const {
  const auto Sq = [this](int32_t P) {
    const long double r = Re(P), i = Im(P);
    return r * r + i * i;
  };
  return n == 0 ? Sq(1) : Sq(n + 1) + Sq(FNumData - n + 1);
}

long double TFastFourier::LineMagnitude(int32_t n) const {
  if (n == 0) return std::sqrt(LinePower(0));
  const long double r = static_cast<long double>(Re(n + 1)) + Re(FNumData - n + 1);
  const long double i = static_cast<long double>(Im(n + 1)) - Im(FNumData - n + 1);
  return std::sqrt(r * r + i * i);
}

double TFastFourier::PowerSpec(int32_t n) const {
  if (n < 0 || n > FNumData / 2) return 0.0;
  return static_cast<double>(LinePower(n) / FNumData);
}

double TFastFourier::Magnitude(int32_t n) const {
  if (n < 0 || n > FNumData / 2) return 0.0;
  return static_cast<double>(LineMagnitude(n) / FNumData);
}

double TFastFourier::FourSerSinCoeff(int32_t n) const {
  if (n < 1 || n > FNumData / 2) return 0.0;
  return static_cast<double>((static_cast<long double>(Im(n + 1)) - Im(FNumData - n + 1)) /
                             FNumData);
}

double TFastFourier::FourSerCosCoeff(int32_t n) const {
  if (n < 0 || n > FNumData / 2) return 0.0;
  if (n == 0) return static_cast<double>(static_cast<long double>(Re(1)) / FNumData);
  return static_cast<double>((static_cast<long double>(Re(n + 1)) + Re(FNumData - n + 1)) /
                             FNumData);
}

double TFastFourier::Phase(int32_t n) const {
  if (n < 1 || n > FNumData / 2) return 0.0;
  const double r = Re(n + 1), i = Im(n + 1);
  if (r == 0) return i < 0 ? -std::numbers::pi / 2 : std::numbers::pi / 2;
  return static_cast<double>(std::atan(static_cast<long double>(i) / r));
}

void TFastFourier::UpdateExtrema() {
  if (MaxValuesValid) return;
  FMaxReal = FMaxImag = -DBL_MAX;
  FMinReal = FMinImag = DBL_MAX;
  for (int32_t p = 1; p <= FNumData; ++p) {
    if (Re(p) > FMaxReal) FMaxReal = Re(p);
    if (Re(p) < FMinReal) FMinReal = Re(p);
    if (Im(p) > FMaxImag) FMaxImag = Im(p);
    if (Im(p) < FMinImag) FMinImag = Im(p);
  }
  long double MaxPower = 0, MaxMagni = 0;
  for (int32_t n = 1; n <= FNumData / 2; ++n) {
    if (n < FNumData / 2) MaxPower = std::max(MaxPower, LinePower(n));
    MaxMagni = std::max(MaxMagni, LineMagnitude(n));
  }
  FMaxPower = static_cast<double>(MaxPower / FNumData);
  FMaxMagni = static_cast<double>(MaxMagni / FNumData);
  MaxValuesValid = true;
}

double TFastFourier::RealMax() { return UpdateExtrema(), FMaxReal; }
double TFastFourier::ImagMax() { return UpdateExtrema(), FMaxImag; }
double TFastFourier::RealMin() { return UpdateExtrema(), FMinReal; }
double TFastFourier::ImagMin() { return UpdateExtrema(), FMinImag; }
double TFastFourier::PowerMax() { return UpdateExtrema(), FMaxPower; }
double TFastFourier::MagniMax() { return UpdateExtrema(), FMaxMagni; }

void TFastFourier::Clear() {
  std::fill(FData.begin(), FData.end(), 0.0);
  MaxValuesValid = false;
}

void TFastFourier::ClearReal() {
  for (size_t k = 0; k < FData.size(); k += 2) FData[k] = 0.0;
  MaxValuesValid = false;
}

void TFastFourier::ClearImag() {
  for (size_t k = 1; k < FData.size(); k += 2) FData[k] = 0.0;
  MaxValuesValid = false;
}

void TFastFourier::ApplyWindow() {
  const int32_t N = FNumData;
  const auto Scale = [this](int32_t i, long double w) {
    double* P = &FData[2 * static_cast<size_t>(i - 1)];
    P[0] = static_cast<double>(P[0] * w);
    P[1] = static_cast<double>(P[1] * w);
  };
  switch (FWgtWin) {
    case fwRectangle:
      return;
    case fwTriangle:
      for (int32_t i = 1; i <= N / 2; ++i) {
        const long double w = 2.0L * i / N;
        Scale(i, w);
        Scale(N + 1 - i, w);
      }
      return;
    case fwUserDef:
      for (int32_t i = 1; i <= N; ++i) Scale(i, FUserWgt[static_cast<size_t>(i - 1)]);
      return;
    default:
      for (int32_t i = 1; i <= N; ++i) Scale(i, CosineWindow(FWgtWin, i, N));
  }
}

void TFastFourier::Transform() {
  ApplyWindow();
  FPlan->Execute(FData.data(), +1);
  MaxValuesValid = false;
}

void TFastFourier::InverseTransform() {
  FPlan->Execute(FData.data(), -1);
  MaxValuesValid = false;
}

double TFastFourier::FreqOfLine(int32_t ix, double SampleTime) const {
  if (ix < 1 || ix > FNumData / 2) return 0.0;
  return ix / SampleTime / FNumData;
}

int32_t TFastFourier::LineOfFreq(double f, double SampleTime) const {
  const double ix = std::nearbyint(static_cast<double>(FNumData) * SampleTime * f);
  return ix >= 1 && ix <= FNumData / 2 ? static_cast<int32_t>(ix) : 0;
}

double TFastFourier::RMS(int32_t FirstIx, int32_t LastIx) const {
  FirstIx = std::clamp(FirstIx, 0, FNumData / 2);
  LastIx = std::clamp(LastIx, 0, FNumData / 2);
  if (FirstIx > LastIx) std::swap(FirstIx, LastIx);
  long double Sum = 0;
  for (int32_t n = FirstIx; n <= LastIx; ++n) Sum += LinePower(n);
  return static_cast<double>(std::sqrt(Sum) / FNumData);
}

}  // namespace zeq
