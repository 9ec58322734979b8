// TSLine: a straight line in general form.
#include "zeq/sline/sline.h"

#include <cmath>
#include <numbers>

namespace zeq {

namespace {

constexpr long double Pi = std::numbers::pi_v<long double>;
constexpr long double Substitute = 1e-100L;  // stands for a zero divisor under SubstituteInf

}  // namespace

TSLine::TSLine(TComponent* AOwner) : TComponent(AOwner) {}

void TSLine::SetParA(double Value) {
  if (Value == 0 && FParB == 0) throw EZEQSLineError("parameter A and B must not both be zero");
  FParA = Value;
}

void TSLine::SetParB(double Value) {
  if (Value == 0 && FParA == 0) throw EZEQSLineError("parameter A and B must not both be zero");
  FParB = Value;
}

void TSLine::SetParC(double Value) { FParC = Value; }

bool TSLine::LineFrom2Points(double x1, double y1, double x2, double y2) {
  if (x1 == x2 && y1 == y2) return false;
  FParA = y1 - y2;
  FParB = x2 - x1;
  FParC =
      static_cast<double>(static_cast<long double>(x1) * y2 - static_cast<long double>(y1) * x2);
  return true;
}

void TSLine::LineThroughPoint(double x, double y, double Phi) {
  FParA = static_cast<double>(-std::sin(static_cast<long double>(Phi)));
  FParB = static_cast<double>(std::cos(static_cast<long double>(Phi)));
  FParC = static_cast<double>(-static_cast<long double>(FParA) * x -
                              static_cast<long double>(FParB) * y);
}

void TSLine::LineFromSlopeIcpt(double k, double d) {
  FParA = k;
  FParB = -1.0;
  FParC = d;
}

void TSLine::NormalLine(double x, double y, const TSLine* L) {
  if (L == nullptr) return;
  const double A = -L->FParB, B = L->FParA;
  FParA = A;
  FParB = B;
  FParC = static_cast<double>(-static_cast<long double>(A) * x - static_cast<long double>(B) * y);
}

void TSLine::ParallelLine(double x, double y, const TSLine* L) {
  if (L == nullptr) return;
  const double A = L->FParA, B = L->FParB;
  FParA = A;
  FParB = B;
  FParC = static_cast<double>(-static_cast<long double>(A) * x - static_cast<long double>(B) * y);
}

bool TSLine::InterSection(const TSLine* L, double& x, double& y) const {
  if (L == nullptr) return false;
  const long double A = FParA, B = FParB, C = FParC;
  const long double D = A * L->FParB - L->FParA * B;
  if (D == 0) return false;
  x = static_cast<double>((B * L->FParC - L->FParB * C) / D);
  y = static_cast<double>((C * L->FParA - L->FParC * A) / D);
  return true;
}

double TSLine::AngleBetweenLines(const TSLine* L) const {
  if (L == nullptr) return 0.0;
  const long double A = FParA, B = FParB;
  const long double S = B * L->FParB + A * L->FParA;
  if (S == 0) return 1.5707963267948966;
  return static_cast<double>(std::fabs(std::atan((A * L->FParB - B * L->FParA) / S)));
}

double TSLine::Distance(double x, double y) const {
  const long double A = FParA, B = FParB;
  return static_cast<double>(std::fabs(A * x + B * y + FParC) / std::sqrt(A * A + B * B));
}

void TSLine::CalcKDForm(double& k, double& d) const {
  if (FParB == 0) throw EZEQSLineError("cannot convert to k-d-form if ParB is zero");
  k = static_cast<double>(-static_cast<long double>(FParA) / FParB);
  d = static_cast<double>(-static_cast<long double>(FParC) / FParB);
}

double TSLine::CalcX(double y) const {
  long double A = FParA;
  if (A == 0) {
    if (!FSubstInf) throw EZEQSLineError("cannot calculate x");
    A = Substitute;
  }
  return static_cast<double>((-static_cast<long double>(y) * FParB - FParC) / A);
}

double TSLine::CalcY(double x) const {
  long double B = FParB;
  if (B == 0) {
    if (!FSubstInf) throw EZEQSLineError("cannot calculate y");
    B = Substitute;
  }
  return static_cast<double>((-static_cast<long double>(x) * FParA - FParC) / B);
}

double TSLine::GetDirect() const {
  long double Angle;
  if (FParB == 0)
    Angle = FParA > 0 ? Pi / 2 : -Pi / 2;
  else
    Angle = std::atan(-static_cast<long double>(FParA) / FParB);
  if (FParB > 0 && FParA > 0) Angle += 2 * Pi;
  if (FParB <= 0) Angle += Pi;
  return static_cast<double>(Angle);
}

double TSLine::GetSlope() const {
  if (FParB == 0) throw EZEQSLineError("slope is infinite");
  return static_cast<double>(-static_cast<long double>(FParA) / FParB);
}

double TSLine::GetIntercept() const {
  if (FParB == 0) throw EZEQSLineError("cannot calculate intercept (line is parallel to y axis)");
  return static_cast<double>(-static_cast<long double>(FParC) / FParB);
}

bool TSLine::ClipBox(double x1, double y1, double x2, double y2, double& xa, double& ya, double& xb,
                     double& yb) {
  const bool Saved = FSubstInf;
  FSubstInf = true;
  // Each candidate lies on an edge; its other coordinate must lie within that edge.
  const double Candidates[4][2] = {
      {x1, CalcY(x1)}, {x2, CalcY(x2)}, {CalcX(y1), y1}, {CalcX(y2), y2}};
  FSubstInf = Saved;
  int Found = 0;
  xa = ya = xb = yb = 0.0;
  for (int i = 0; i < 4; ++i) {
    const double* P = Candidates[i];
    const bool OnEdge = i < 2 ? P[1] >= y1 && P[1] <= y2 : P[0] >= x1 && P[0] <= x2;
    if (!OnEdge) continue;
    if (Found == 0) {
      xa = P[0];
      ya = P[1];
      Found = 1;
    } else if (P[0] != xa || P[1] != ya) {
      xb = P[0];
      yb = P[1];
      Found = 2;
      break;
    }
  }
  if (Found == 1) {  // a single point: the line touches the box at a corner
    xb = xa;
    yb = ya;
  }
  return Found > 0;
}

}  // namespace zeq
