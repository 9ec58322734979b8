// Logarithms, hyperbolic and trigonometric functions, rounding to integers, angles.
#include <cmath>
#include <limits>
#include <numbers>

#include "zeq/math1/math1.h"

namespace zeq {

namespace {

constexpr double TwoPi = 2.0 * std::numbers::pi;

// X (already a whole number) as a 32-bit integer, saturated at the ends; NaN gives 0.
int32_t SaturatedInt(double X) {
  if (std::isnan(X)) return 0;
  if (X >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (X <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(X);
}

double Logarithm(double X, long double LnBase) {
  if (X <= 0) throw EMathError("logarithm: invalid argument");
  return static_cast<double>(std::log(static_cast<long double>(X)) / LnBase);
}

}  // namespace

double lg(double X) { return Logarithm(X, std::numbers::ln10_v<long double>); }
double ld(double X) { return Logarithm(X, std::numbers::ln2_v<long double>); }

double sinh(double X) {
  const double E = std::exp(X);
  return (E - 1.0 / E) / 2.0;
}

double cosh(double X) {
  const double E = std::exp(X);
  return (E + 1.0 / E) / 2.0;
}

double tgh(double X) { return 1.0 - 2.0 / (std::exp(2.0 * X) + 1.0); }

double tg(double X) {
  const double C = std::cos(X);
  if (C == 0) throw EMathError("tangens overflow");
  return std::sin(X) / C;
}

double cot(double X) {
  const double S = std::sin(X);
  if (S == 0) throw EMathError("cotangens overflow");
  return std::cos(X) / S;
}

double Min(double A, double B) { return A > B ? B : A; }
double Max(double A, double B) { return A < B ? B : A; }

int32_t Signum(double X) { return X >= 0 ? 1 : -1; }

int32_t IntPos(double X) { return SaturatedInt(std::ceil(X)); }
int32_t IntNeg(double X) { return SaturatedInt(std::floor(X)); }

double AngleToXAxis(double DX, double DY) {
  if (DX == 0) return DY > 0 ? std::numbers::pi / 2.0 : 3.0 * std::numbers::pi / 2.0;
  double A = std::atan(DY / DX);
  if (DX < 0) A += std::numbers::pi;
  if (A < 0) A += TwoPi;
  return A;
}

// Maps A into [-Half, Half] where Full = 2 Half is one turn.
static double CanonicalAngle(double A, double Full) {
  const double Half = Full / 2.0;
  if (A > Full) {
    const double Turns = A / Full;
    A = (Turns - std::trunc(Turns)) * Full;
  } else if (A < -Full) {
    const double Turns = -A / Full;
    A = -(Turns - std::trunc(Turns)) * Full;
  }
  if (A > Half) A -= Full;
  if (A < -Half) A += Full;
  return A;
}

double CanonicalAngleRadians(double A) { return CanonicalAngle(A, TwoPi); }
double CanonicalAngleDegrees(double A) { return CanonicalAngle(A, 360.0); }

}  // namespace zeq
