/// @file
/// zeq Fourier analysis (unit Zeq_fourier): TFastFourier, one complex data set of a power-of-two
/// length, weighted by a window and transformed in place, with spectra read from the result.
///
/// Sign convention: the forward transform computes X(n) = sum over k of x(k) e^(+2 pi i n k / N)
/// without scaling; the inverse uses e^(-2 pi i n k / N) and divides by N. Points are numbered
/// 1..N; spectral lines 0..N/2, line n being point n + 1 (and line N - n point N - n + 1).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "zeq/base/base.h"
#include "zeq/base/export.h"

namespace zeq {

namespace detail {
class TFftPlan;
}

/// Fourier errors.
class ZEQ_API EZEQFourierError : public EZEQError {
 public:
  using EZEQError::EZEQError;
};

/// Weighting windows of TFastFourier::Transform.
enum TFastFourierWgtWin : uint8_t {
  fwRectangle,
  fwTriangle,
  fwCos2,
  fwGauss,
  fwHamming,
  fwBlackman,
  fwBlkmHarris,
  fwBlkmNuttall,
  fwUserDef
};

/// The fast Fourier transform of N = 2^k complex points in place, with weighting windows and
/// the power, magnitude and phase spectra of the result.
class ZEQ_API TFastFourier : public TComponent {
 public:
  /// 256 points of 0, the rectangular window, user weights 1.
  explicit TFastFourier(TComponent* AOwner = nullptr);
  ~TFastFourier() override;
  std::string ClassName() const override { return "TFastFourier"; }

  /// The number of points N.
  int32_t SpectrumSize() const { return FNumData; }
  /// A power of two from 1 to 2^23; the data become zeros and the user weights 0.
  /// "Component \"Name\": data length must be power of 2" otherwise (nothing changes); "...: not
  /// enough memory on heap" when the arrays cannot be allocated.
  void SetSpectrumSize(int32_t N);
  ///@{
  /// The window Transform applies first.
  TFastFourierWgtWin WeightingWindow() const { return FWgtWin; }
  void SetWeightingWindow(TFastFourierWgtWin Value) { FWgtWin = Value; }
  ///@}

  ///@{
  /// Points ix = 1..N; reads outside give 0, writes outside are ignored.
  double RealSpec(int32_t ix) const;
  double ImagSpec(int32_t ix) const;
  void SetRealSpec(int32_t ix, double Value);
  void SetImagSpec(int32_t ix, double Value);
  ///@}
  ///@{
  /// The weights of fwUserDef.
  double WgtFunction(int32_t ix) const;
  void SetWgtFunction(int32_t ix, double Value);
  ///@}

  ///@{
  /// Lines n = 0..N/2 (0 outside): the power (|X(0)|^2 / N, (|X(n)|^2 + |X(N - n)|^2) / N), the
  /// magnitude, the coefficients of the real Fourier series and the phase (line 1..N/2).
  double PowerSpec(int32_t n) const;
  double Magnitude(int32_t n) const;
  double FourSerSinCoeff(int32_t n) const;
  double FourSerCosCoeff(int32_t n) const;
  double Phase(int32_t n) const;
  ///@}
  ///@{
  /// Extrema over the points (real and imaginary parts) and over the lines 1..N/2 (power up to
  /// N/2 - 1), computed on the first read after a change.
  double RealMax();
  double ImagMax();
  double RealMin();
  double ImagMin();
  double PowerMax();
  double MagniMax();
  ///@}

  ///@{
  /// Every point 0 (both parts), the real parts only, the imaginary parts only.
  void Clear();
  void ClearReal();
  void ClearImag();
  ///@}
  /// Multiplies the data by the window, then transforms them forward, in place.
  void Transform();
  /// The inverse transform, without window.
  void InverseTransform();
  /// ix / SampleTime / N for 1 <= ix <= N/2, else 0.
  double FreqOfLine(int32_t ix, double SampleTime) const;
  /// The line of f (N SampleTime f rounded, halves to even) when in 1..N/2, else 0.
  int32_t LineOfFreq(double f, double SampleTime) const;
  /// sqrt(sum of |X(0)|^2 (line 0) and |X(n)|^2 + |X(N - n)|^2 over the lines) / N, the limits
  /// clamped into 0..N/2 and ordered.
  double RMS(int32_t FirstIx, int32_t LastIx) const;

 private:
  void ApplyWindow();
  void UpdateExtrema();
  double Re(int32_t Point) const { return FData[2 * static_cast<size_t>(Point - 1)]; }
  double Im(int32_t Point) const { return FData[2 * static_cast<size_t>(Point - 1) + 1]; }
  /// |X(n)|^2 + |X(N - n)|^2 (|X(0)|^2 for n = 0), in extended precision.
  long double LinePower(int32_t n) const;
  long double LineMagnitude(int32_t n) const;

  int32_t FNumData = 0;
  TFastFourierWgtWin FWgtWin = fwRectangle;
  bool MaxValuesValid = false;
  double FMaxReal = 0, FMaxImag = 0, FMinReal = 0, FMinImag = 0, FMaxPower = 0, FMaxMagni = 0;
  std::vector<double> FUserWgt;
  std::vector<double> FData;
  std::unique_ptr<detail::TFftPlan> FPlan;  // twiddles and work arrays of the current size
};

}  // namespace zeq
