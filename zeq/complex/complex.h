/// @file
/// zeq complex numbers (unit Zeq_complex): rectangular and polar records of two long double
/// values and free functions for arithmetic, comparison and conversion.
///
/// Nothing allocates and only CpxDiv raises. CpxNearZero is the tolerance of the "near"
/// comparisons; it starts at 1e-15 and the application may change it.
#pragma once

#include "zeq/base/base.h"
#include "zeq/base/export.h"

namespace zeq {

/// Complex division by zero.
class ZEQ_API EZEQComplexError : public EZEQError {
 public:
  using EZEQError::EZEQError;
};

/// A complex number in rectangular form, parts in long double.
struct ZEQ_API TComplex {
  ///@{
  /// The real and the imaginary part.
  long double re;
  long double im;
  ///@}
};

/// Modulus r and argument phi (radians).
struct ZEQ_API TComplexPolar {
  ///@{
  /// The modulus and the argument.
  long double r;
  long double phi;
  ///@}
};

/// Tolerance of CpxIsNearEqual and CpxIsZero.
extern ZEQ_API long double CpxNearZero;

/// The complex number re + i im.
ZEQ_API TComplex Cpx(long double re, long double im);
/// sqrt(re^2 + im^2), computed directly (no scaling against overflow).
ZEQ_API long double CpxAbs(const TComplex& z);
/// re^2 + im^2.
ZEQ_API long double CpxAbsSqr(const TComplex& z);
///@{
/// a + b, a - b.
ZEQ_API TComplex CpxAdd(const TComplex& a, const TComplex& b);
ZEQ_API TComplex CpxSub(const TComplex& a, const TComplex& b);
///@}
///@{
/// The conjugate (re, -im) and the negative (-re, -im).
ZEQ_API TComplex CpxConj(const TComplex& z);
ZEQ_API TComplex CpxNeg(const TComplex& z);
///@}
/// a b, as (a.re b.re - a.im b.im, a.re b.im + a.im b.re).
ZEQ_API TComplex CpxMult(const TComplex& a, const TComplex& b);
/// a / b; EZEQComplexError "CpxDiv: division by zero" when |b|^2 is 0, or when finite
/// operands give a result the long double range cannot hold.
ZEQ_API TComplex CpxDiv(const TComplex& a, const TComplex& b);
/// Both parts exactly equal.
ZEQ_API bool CpxIsEqual(const TComplex& a, const TComplex& b);
/// Both parts differ by less than CpxNearZero.
ZEQ_API bool CpxIsNearEqual(const TComplex& a, const TComplex& b);
/// Both parts below CpxNearZero in magnitude.
ZEQ_API bool CpxIsZero(const TComplex& z);
///@{
/// r = CpxAbs(z), phi = atan2(im, re) in (-pi, pi].
ZEQ_API TComplexPolar ConvertRectToPolar(const TComplex& z);
ZEQ_API TComplex ConvertPolarToRect(const TComplexPolar& p);
///@}

}  // namespace zeq
