// zeq complex numbers (unit Zeq_complex): rectangular and polar records of two long double
// values and free functions for arithmetic, comparison and conversion.
//
// Nothing allocates and only CpxDiv raises. CpxNearZero is the tolerance of the "near"
// comparisons; it starts at 1e-15 and the application may change it.
#pragma once

#include "zeq/base/base.h"

namespace zeq {

// Complex division by zero.
class EZEQComplexError : public EZEQError {
 public:
  using EZEQError::EZEQError;
};

struct TComplex {
  long double re;
  long double im;
};

// Modulus r and argument phi (radians).
struct TComplexPolar {
  long double r;
  long double phi;
};

// Tolerance of CpxIsNearEqual and CpxIsZero.
extern long double CpxNearZero;

TComplex Cpx(long double re, long double im);
// sqrt(re^2 + im^2), computed directly (no scaling against overflow).
long double CpxAbs(const TComplex& z);
long double CpxAbsSqr(const TComplex& z);
TComplex CpxAdd(const TComplex& a, const TComplex& b);
TComplex CpxSub(const TComplex& a, const TComplex& b);
TComplex CpxConj(const TComplex& z);
TComplex CpxNeg(const TComplex& z);
TComplex CpxMult(const TComplex& a, const TComplex& b);
// a / b; EZEQComplexError "CpxDiv: division by zero" when |b|^2 is 0, or when finite
// operands give a result the long double range cannot hold.
TComplex CpxDiv(const TComplex& a, const TComplex& b);
// Both parts exactly equal.
bool CpxIsEqual(const TComplex& a, const TComplex& b);
// Both parts differ by less than CpxNearZero.
bool CpxIsNearEqual(const TComplex& a, const TComplex& b);
// Both parts below CpxNearZero in magnitude.
bool CpxIsZero(const TComplex& z);
// r = CpxAbs(z), phi = atan2(im, re) in (-pi, pi].
TComplexPolar ConvertRectToPolar(const TComplex& z);
TComplex ConvertPolarToRect(const TComplexPolar& p);

}  // namespace zeq
