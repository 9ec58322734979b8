/// @file
/// Digital filters for equidistant signals: windowed-sinc FIR kernels (low-pass, high-pass,
/// band-pass, band-stop), their application by a moving kernel, and the Chebyshev recursive
/// (IIR) filter with its design and a zero-phase forward-backward application.
///
/// Frequencies are fractions of the sampling rate (0..0.5). Sums and products run in extended
/// precision and are rounded when stored.
#pragma once

#include <cstdint>

#include "zeq/base/base.h"
#include "zeq/base/export.h"
#include "zeq/math2/math2_error.h"
#include "zeq/matrix/matrix.h"
#include "zeq/vector/vector.h"

namespace zeq {

///@{
/// Window types of the sinc kernels; any other value means no window (rectangular).
inline constexpr int32_t swHamming = 1;
inline constexpr int32_t swBlackman = 2;
///@}

///@{
/// Low-pass windowed-sinc kernel of NumPoints taps with its centre at tap NumPoints div 2 + 1
/// (1-based): h(i) = sin(2 pi CutOff (i - c)) / (i - c), 2 pi CutOff at the centre, times the
/// window, divided by the sum of the taps when that is not 0. CutOff is clamped into 0..0.5
/// (NaN counts as 0, which gives a kernel of zeros). The vector form resizes Kernel only when
/// NumPoints >= 1 and writes every tap through SetVal; the array form sets the length
/// (0 for NumPoints <= 0). A null Kernel does nothing.
ZEQ_API void CalcSincLPKernel(int32_t NumPoints, double CutOff, int32_t WindowType,
                              TVector* Kernel);
ZEQ_API void CalcSincLPKernel(int32_t NumPoints, double CutOff, int32_t WindowType,
                              TDoubleArray& Kernel);
///@}
///@{
/// High-pass: the low-pass kernel, then spectral inversion (every tap negated, 1 added to the
/// centre tap).
ZEQ_API void CalcSincHPKernel(int32_t NumPoints, double CutOff, int32_t WindowType,
                              TVector* Kernel);
ZEQ_API void CalcSincHPKernel(int32_t NumPoints, double CutOff, int32_t WindowType,
                              TDoubleArray& Kernel);
///@}
///@{
/// Band-stop: low-pass at the lower cut-off plus high-pass at the higher one, tap by tap (the
/// cut-offs are exchanged when given in the wrong order).
ZEQ_API void CalcSincBSKernel(int32_t NumPoints, double CutOffLow, double CutOffHigh,
                              int32_t WindowType, TDoubleArray& Kernel);
ZEQ_API void CalcSincBSKernel(int32_t NumPoints, double CutOffLow, double CutOffHigh,
                              int32_t WindowType, TVector* Kernel);
///@}
///@{
/// Band-pass: the band-stop kernel, then spectral inversion.
ZEQ_API void CalcSincBPKernel(int32_t NumPoints, double CutOffLow, double CutOffHigh,
                              int32_t WindowType, TDoubleArray& Kernel);
ZEQ_API void CalcSincBPKernel(int32_t NumPoints, double CutOffLow, double CutOffHigh,
                              int32_t WindowType, TVector* Kernel);
///@}

/// Correlates elements LowElem..HighElem (each clamped into the source, then ordered) with the
/// kernel (K taps, not reversed, centred on tap K div 2 + 1): element i - LowElem + 1 of DestVec
/// is the sum over k of kernel(k) x(p), p = i - K div 2 + k - 1 clamped into LowElem..HighElem
/// (the range's ends are repeated). DestVec is resized to the source's size first; each element
/// written fires its OnChange, and Changed() runs once at the end.
/// EZEQMath2Error: "MovingKernelfilter: SourceVec, DestVec and/or FilterKernel is undefined";
/// "MovingKernelfilter: specified range for smoothing is smaller than the length of the kernel"
/// when HighElem - LowElem < K.
ZEQ_API void MovingKernelFilter(const TVector* SourceVec, int32_t LowElem, int32_t HighElem,
                                TVector* DestVec, const TVector* FilterKernel);

/// Designs a Chebyshev low-pass or high-pass filter of NPoles poles (even, 2..20) with the
/// pass-band Ripple in percent (0..29; 0 gives a Butterworth response) and the cut-off
/// CutOffFreq (0..0.5). A0 receives the coefficient a(0); ChebCoeffs is resized to 2 columns x
/// NPoles rows holding a(i) in column 1 and b(i) in column 2 of row i, for the recursion
/// y(n) = a(0) x(n) + sum over i of a(i) x(n - i) + b(i) y(n - i). The gain in the pass band is
/// normalised to 1.
/// EZEQMath2Error, checked in this order: "CalcChebFilterCoeffs: NPoles must be even",
/// "CalcChebFilterCoeffs: NPoles must be between 2 and 20" (the design's work arrays hold 20
/// poles), "CalcChebFilterCoeffs: invalid Ripple value", "CalcChebFilterCoeffs: invalid cutoff
/// frequency", "CalcChebFilterCoeffs: ChebCoeffs is undefined".
ZEQ_API void CalcChebFilterCoeffs(int32_t NPoles, bool HighPass, double CutOffFreq, double Ripple,
                                  double& A0, TMatrix* ChebCoeffs);

/// Applies the filter forwards, then backwards (zero phase). With P the rows of ChebCoeffs and
/// M = P + 1, the forward pass runs from rest at source position 1 over positions 1..HighElem +
/// 2M (source reads outside the vector are 0), the backward pass from rest at the end; element k
/// of DestVec (absolute positions, LowElem and HighElem not clamped) receives the result at
/// k + M. DestVec is not resized and its other elements are untouched. EZEQMath2Error
/// "ChebychevFilter: SourceVec, DestVec and/or ChebCoeffs is undefined" for a null argument,
/// "ChebychevFilter: not enough memory" when the passes' scratch (HighElem + 2M values each)
/// cannot be allocated.
ZEQ_API void ChebychevFilter(const TVector* SourceVec, int32_t LowElem, int32_t HighElem,
                             TVector* DestVec, double A0, const TMatrix* ChebCoeffs);

}  // namespace zeq
