// Angles in degree notation: formatting, conversion between the three notations and
// rounding of angle steps to a table of convenient values.
//
// Rounding to a number of decimals goes half away from zero (x.5 -> x+1, -x.5 -> -x-1).
#include <algorithm>
#include <array>
#include <cmath>

#include "zeq/math1/math1.h"

namespace zeq {

namespace {

const std::string DegreeSign = "\xC2\xB0";  // U+00B0 in UTF-8

long double Frac(long double X) { return X - std::trunc(X); }

// X rounded to Decimals decimal places, half away from zero.
long double RoundToDecimals(long double X, int32_t Decimals) {
  const long double Scale = std::pow(10.0L, Decimals);
  return std::round(X * Scale) / Scale;
}

// X replaced by the nearest integer when it lies within 3e-12 of it.
long double Snap(long double X) {
  const long double R = std::nearbyint(X);
  return std::fabs(X - R) < 3e-12L ? R : X;
}

// Whole degrees of t, keeping the sign of angles between -1 and 0.
std::string WholeDegrees(long double T) {
  const long double D = std::trunc(T);
  return (D == 0 && T < 0 ? std::string("-0") : StrFixed(D, 1, 0)) + DegreeSign + " ";
}

// t as an angle of Unit (60 or 3600) per degree, rounded to Decimals places of that unit.
long double RoundedIn(double Angle, long double Unit, int32_t Decimals) {
  return Snap(RoundToDecimals(Angle * Unit, Decimals) / Unit);
}

bool InMinuteRange(double V) { return V >= 0 && V <= 60; }

// The smallest step >= V (Up) or the largest step <= V (at least the first step); 60 (one
// unit more) when Up finds no step large enough.
template <size_t N>
int32_t StepOf(const std::array<int32_t, N>& Steps, double V, bool Up, int32_t Carry) {
  if (Up) {
    for (int32_t S : Steps)
      if (S >= V) return S;
    return Carry;
  }
  int32_t Best = Steps.front();
  for (int32_t S : Steps)
    if (S <= V) Best = S;
  return Best;
}

constexpr std::array<int32_t, 12> DegreeSteps{1, 2, 3, 5, 10, 15, 20, 30, 60, 90, 180, 360};
constexpr std::array<int32_t, 8> MinuteSteps{1, 2, 3, 5, 10, 15, 20, 30};

}  // namespace

std::string DegreeToStr(double Angle, TDegreeFormat Format, int32_t Decimals) {
  const int32_t Dec = std::clamp(Decimals, 0, 8);
  switch (Format) {
    case dfDecimal:
      return StrFixed(Angle, 1, Dec) + DegreeSign;
    case dfDegMin: {
      const long double T = RoundedIn(Angle, 60.0L, Dec);
      return WholeDegrees(T) + StrFixed(Frac(std::fabs(T)) * 60.0L, Dec + 3, Dec) + "'";
    }
    case dfDegMinSec: {
      const long double T = RoundedIn(Angle, 3600.0L, Dec);
      const long double M = Snap(Frac(std::fabs(T)) * 60.0L);
      return WholeDegrees(T) + StrFixed(std::trunc(M), 2, 0) + "' " +
             StrFixed(Frac(M) * 60.0L, Dec + 3, Dec) + "\"";
    }
    case dfPlain:
      return StrFixed(Angle, 1, Dec);
    default:
      return {};
  }
}

void ConvertDegrees(double& Deg, double& Min, double& Sec, TDegreeFormat InFormat,
                    TDegreeFormat OutFormat) {
  if (!InMinuteRange(Min)) throw EZEQMath1Error("ConvertDegrees: invalid range of minutes");
  if (!InMinuteRange(Sec)) throw EZEQMath1Error("ConvertDegrees: invalid range of seconds");
  if (InFormat > dfDegMinSec || OutFormat > dfDegMinSec) return;
  const auto FracAbs = [](double X) { return static_cast<double>(Frac(std::fabs(X))); };
  // As documented, a negative angle keeps its sign on the degrees only, and the way back adds
  // the (non-negative) minutes: -12.25 becomes -12 deg 15', which converts back to -11.75,
  // and -0.5 becomes -0 deg 30', which converts back to +0.5. Kept on purpose.
  if (OutFormat == dfDecimal) {
    if (InFormat == dfDegMin) Deg = std::trunc(Deg) + Min / 60.0;
    if (InFormat == dfDegMinSec) Deg = std::trunc(Deg) + std::trunc(Min) / 60.0 + Sec / 3600.0;
    Min = Sec = 0;
  } else if (OutFormat == dfDegMin) {
    if (InFormat == dfDecimal) {
      Min = FracAbs(Deg) * 60.0;
      Deg = std::trunc(Deg);
    }
    if (InFormat == dfDegMinSec) Min += Sec / 60.0;
    Sec = 0;
  } else if (InFormat == dfDecimal) {
    const double M = FracAbs(Deg) * 60.0;
    Deg = std::trunc(Deg);
    Min = std::trunc(M);
    Sec = FracAbs(M) * 60.0;
  } else if (InFormat == dfDegMin) {
    Sec = FracAbs(Min) * 60.0;
    Min = std::trunc(Min);
  }
}

void RoundDegrees(int32_t& Deg, int32_t& Min, int32_t& Sec, bool Up) {
  if (Deg < 0 || Min < 0 || Sec < 0) {
    Deg = Min = Sec = 0;
    return;
  }
  Min = std::min(Min, 59);
  Sec = std::min(Sec, 59);
  const double A = Deg + Min / 60.0 + Sec / 3600.0;
  if (Deg > 0) {
    Min = Sec = 0;
    Deg = StepOf(DegreeSteps, A, Up, 360);
  } else if (Min > 0) {
    Sec = 0;
    Min = StepOf(MinuteSteps, Min, Up, 60);
    if (Min == 60) {
      Deg = 1;
      Min = 0;
    }
  } else if (Sec > 0) {
    Sec = StepOf(MinuteSteps, Sec, Up, 60);
    if (Sec == 60) {
      Min = 1;
      Sec = 0;
    }
  }
}

}  // namespace zeq
