/// @file
/// zeq wavelets (unit Zeq_wavelet): TWavelet1D, one real signal of a power-of-two length
/// transformed in place by an orthonormal Daubechies wavelet of order 1, 2 or 3 (2, 4 or 6
/// coefficients), over one or several levels, with three extensions of the signal beyond its left
/// end. Values and arithmetic are extended precision.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "zeq/base/base.h"
#include "zeq/base/export.h"

namespace zeq {

/// Wavelet errors.
class ZEQ_API EZEQWaveletError : public EZEQError {
 public:
  using EZEQError::EZEQError;
};

/// Extension of the signal beyond its left end: periodic, zeros, or mirrored at the half sample.
enum TWLSigExtMode : uint8_t { wseWrap, wseZeroPad, wseSymmetric };
/// The wavelet families: Daubechies of order 1..3.
enum TWaveletFamily : uint8_t { wlfDaubechies };

/// The discrete wavelet transform of a signal of 2^k values, in place, forward and inverse.
class ZEQ_API TWavelet1D : public TComponent {
 public:
  /// 256 zeros, order 2, wseWrap.
  explicit TWavelet1D(TComponent* AOwner = nullptr);
  std::string ClassName() const override { return "TWavelet1D"; }

  /// The number of values N.
  int32_t Size() const { return FNumData; }
  /// A power of two from 1 to 2^23; the data become zeros. "Component \"Name\": data length must
  /// be power of 2" otherwise, "...: not enough memory on heap" when the array cannot be
  /// allocated; either leaves the previous state.
  void SetSize(int32_t N);
  /// The order of the Daubechies wavelet.
  int32_t Order() const { return FOrder; }
  /// 1, 2 or 3; "Component \"Name\": invalid order of Daubechies wavelet family" otherwise. The
  /// data are kept.
  void SetOrder(int32_t Value);
  ///@{
  /// How the signal is extended beyond its left end.
  TWLSigExtMode SignalExtMode() const { return FWLSigExtMode; }
  void SetSignalExtMode(TWLSigExtMode Value) { FWLSigExtMode = Value; }
  ///@}
  ///@{
  /// The wavelet family.
  TWaveletFamily WaveletFamily() const { return FWaveletFam; }
  void SetWaveletFamily(TWaveletFamily Value) { FWaveletFam = Value; }
  ///@}

  ///@{
  /// Element ix = 1..N; reads outside give 0, writes outside are ignored.
  long double Data(int32_t ix) const;
  void SetData(int32_t ix, long double Value);
  ///@}

  /// Every value 0; size and settings stay.
  void Clear();
  /// Forward steps on the lengths N, N/2, ... (at most max(Level, 1) of them, while at least 2):
  /// the data become [approximations, details of each level].
  void Transform(int32_t Level);
  /// Inverse steps on the lengths 2, 4, ... up to N (at most max(Level, 1) of them): undoes a
  /// forward transform with the same Level when it covered log2 N levels. With wseWrap the steps
  /// are exact inverses; the other extensions reconstruct only approximately near the left edge.
  void InverseTransform(int32_t Level);
  /// One step over the whole signal.
  void SingleStep(bool Inverse);

 private:
  /// One step on the n values after Offset.
  void PartialWLT(int32_t n, int32_t Offset, bool Inverse);

  int32_t FNumData = 0;
  std::vector<long double> FData;
  int32_t FOrder = 0;
  std::vector<long double> FCoeffsLP, FCoeffsHP;
  TWLSigExtMode FWLSigExtMode = wseWrap;
  TWaveletFamily FWaveletFam = wlfDaubechies;
};

}  // namespace zeq
