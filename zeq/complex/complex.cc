// Complex arithmetic in long double.
#include "zeq/complex/complex.h"

#include <cmath>
#include <numbers>

namespace zeq {

static_assert(sizeof(TComplex) == 2 * sizeof(long double), "two long double fields, no more");

// Constant-initialised: the tolerance holds before any code runs.
constinit long double CpxNearZero = 1e-15L;

TComplex Cpx(long double re, long double im) { return {re, im}; }

long double CpxAbs(const TComplex& z) { return std::sqrt(z.re * z.re + z.im * z.im); }

long double CpxAbsSqr(const TComplex& z) { return z.re * z.re + z.im * z.im; }

TComplex CpxAdd(const TComplex& a, const TComplex& b) { return {a.re + b.re, a.im + b.im}; }

TComplex CpxSub(const TComplex& a, const TComplex& b) { return {a.re - b.re, a.im - b.im}; }

TComplex CpxConj(const TComplex& z) { return {z.re, -z.im}; }

TComplex CpxNeg(const TComplex& z) { return {-z.re, -z.im}; }

TComplex CpxMult(const TComplex& a, const TComplex& b) {
  return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
}

TComplex CpxDiv(const TComplex& a, const TComplex& b) {
  const long double q = b.re * b.re + b.im * b.im;
  const TComplex Result{(a.re * b.re + a.im * b.im) / q, (a.im * b.re - a.re * b.im) / q};
  // A zero q, or an overflow from finite operands, is where the floating unit would trap.
  const bool FiniteOperands =
      std::isfinite(a.re) && std::isfinite(a.im) && std::isfinite(b.re) && std::isfinite(b.im);
  const bool Overflow = FiniteOperands && (!std::isfinite(q) || !std::isfinite(Result.re) ||
                                           !std::isfinite(Result.im));
  if (q == 0 || Overflow) throw EZEQComplexError("CpxDiv: division by zero");
  return Result;
}

bool CpxIsEqual(const TComplex& a, const TComplex& b) { return a.re == b.re && a.im == b.im; }

bool CpxIsNearEqual(const TComplex& a, const TComplex& b) {
  return std::fabs(a.re - b.re) < CpxNearZero && std::fabs(a.im - b.im) < CpxNearZero;
}

bool CpxIsZero(const TComplex& z) {
  return std::fabs(z.re) < CpxNearZero && std::fabs(z.im) < CpxNearZero;
}

TComplexPolar ConvertRectToPolar(const TComplex& z) {
  long double Phi = std::atan2(z.im, z.re);
  // atan2 gives -pi for a negative real axis approached from -0; the argument stays in
  // (-pi, pi].
  if (Phi == -std::numbers::pi_v<long double>) Phi = std::numbers::pi_v<long double>;
  return {CpxAbs(z), Phi};
}

TComplex ConvertPolarToRect(const TComplexPolar& p) {
  return {p.r * std::cos(p.phi), p.r * std::sin(p.phi)};
}

}  // namespace zeq
