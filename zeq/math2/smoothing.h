/// @file
/// Smoothing and differentiation of equidistant signals held in vectors: moving average,
/// weighted (triangular) average, moving median, and Savitzky-Golay polynomial smoothing and
/// derivatives with the exported coefficient tables GolayPoly and Golay2ndDeriv.
///
/// The six range routines share one contract. LowElem and HighElem are each clamped into
/// 1..SourceVec.NrOfElem() and exchanged when inverted; the range must then hold at least
/// length + 1 elements (HighElem - LowElem >= length). With m = length div 2 and
/// n = HighElem - LowElem + 1, the value of the window centred at element i (LowElem + m ..
/// HighElem - m) is written to element i - LowElem + 1 of DestVec, so the output is relative to
/// the range; elements 1..m receive the first computed value and n - m + 1..n the last one (no
/// edge is computed from a shortened window). DestVec is not resized: writes beyond its size are
/// dropped. Every element written fires DestVec's OnChange, and DestVec.Changed() runs once at
/// the end. Failures raise EZEQMath2Error before anything is written, checks in this order:
/// "<name>: either SourceVec or DestVec is undefined"; "<name>: specified range for smoothing is
/// smaller than the length of the smoothing windows" (the polynomial routines: "... of the
/// polynomial"; FirstDeriv: "range for calculation"); "<name>: length of smoothing window is out
/// of range" (polynomial routines: "length of polynomial"); "<name>: length of smoothing window
/// must be odd" ("length of polynomial").
///
/// Window sums run in double precision, their products in extended precision. SourceVec and
/// DestVec may be the same vector: the windows then read the values already written, exactly as
/// an element-by-element evaluation does.
#pragma once

#include <array>
#include <cstdint>

#include "zeq/base/export.h"
#include "zeq/math2/math2_error.h"
#include "zeq/vector/vector.h"

namespace zeq {

/// Savitzky-Golay coefficient tables for the window lengths 5, 7, ..., 25, one row per length
/// (row (length - 5) / 2, so row 0 is length 5): {norm, c(0), c(1), ..., c(12)}, with c(j) = 0
/// beyond the half-width m = (length - 1) / 2. Each row is reduced by the greatest common divisor
/// of its coefficients.
using TGolayTable = std::array<std::array<int32_t, 14>, 11>;
/// Quadratic/cubic smoothing: c(j) = 3m^2 + 3m - 1 - 5j^2, norm c(0) + 2 (c(1) + ... + c(m)).
extern ZEQ_API const TGolayTable GolayPoly;
/// Second derivative: c(j) = 3j^2 - m(m + 1), norm sum over j = 1..m of c(j) j^2.
extern ZEQ_API const TGolayTable Golay2ndDeriv;

/// Mean of the 2m + 1 values of each window. WindowLength odd, at least 3.
ZEQ_API void MovingAverageSmooth(const TVector* SourceVec, int32_t LowElem, int32_t HighElem,
                                 TVector* DestVec, int32_t WindowLength);
/// Triangular weights m + 1 at the centre and m + 1 - k at distance k, divided by their sum
/// (m + 1)^2. WindowLength odd, at least 3.
ZEQ_API void WeightedAverageSmooth(const TVector* SourceVec, int32_t LowElem, int32_t HighElem,
                                   TVector* DestVec, int32_t WindowLength);
/// Median of each window: the middle value of the sorted window, taken by the (n + 1) p rule
/// of TVector::Quartiles (so a zero median is +0.0, and a window whose middle value or the one
/// above it is infinite gives NaN). WindowLength odd, at least 3.
///
/// A sliding median keeps the window sorted, so the cost grows slowly with the window; windows
/// holding NaN are evaluated literally (a comb sort of the window in the documented order,
/// centre first, then the pairs x(i + k), x(i - k)), so every result equals the element-by-
/// element definition. The per-window sorts of that definition are internal here: this routine
/// does not advance ProcStat.
ZEQ_API void MovingMedianSmooth(const TVector* SourceVec, int32_t LowElem, int32_t HighElem,
                                TVector* DestVec, int32_t WindowLength);
/// Savitzky-Golay smoothing (quadratic/cubic) with the GolayPoly row of PolyLength (odd,
/// 5..25).
ZEQ_API void PolynomialSmooth(const TVector* SourceVec, int32_t LowElem, int32_t HighElem,
                              TVector* DestVec, int32_t PolyLength);
/// The first derivative per unit sample spacing: sum of j x(i + j) over j = -m..m, divided by
/// m(m + 1)(2m + 1) / 3. PolyLength odd, 5..25.
ZEQ_API void FirstDeriv(const TVector* SourceVec, int32_t LowElem, int32_t HighElem,
                        TVector* DestVec, int32_t PolyLength);
/// The second derivative per unit sample spacing with the Golay2ndDeriv row of PolyLength (odd,
/// 5..25).
ZEQ_API void SecondDeriv(const TVector* SourceVec, int32_t LowElem, int32_t HighElem,
                         TVector* DestVec, int32_t PolyLength);

}  // namespace zeq
