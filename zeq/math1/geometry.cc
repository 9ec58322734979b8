// Bounds, rectangles and distances in the plane.
#include <algorithm>
#include <cmath>

#include "zeq/math1/math1.h"

namespace zeq {

namespace {

template <class T>
T Confine(T X, T B1, T B2) {
  const T Lo = std::min(B1, B2);
  const T Hi = std::max(B1, B2);
  return X < Lo ? Lo : X > Hi ? Hi : X;
}

// R with Left <= Right and Bottom <= Top (the y axis points up).
TRectDouble Normalised(const TRectDouble& R) {
  return {std::min(R.Left, R.Right), std::max(R.Top, R.Bottom), std::max(R.Left, R.Right),
          std::min(R.Top, R.Bottom)};
}

int32_t Saturated(int64_t D) { return static_cast<int32_t>(std::min<int64_t>(D, INT32_MAX)); }

}  // namespace

bool WithinBounds(double X, double B1, double B2) {
  return std::min(B1, B2) <= X && X <= std::max(B1, B2);
}

double ConfineValue(double X, double B1, double B2) { return Confine(X, B1, B2); }
float ConfineValue(float X, float B1, float B2) { return Confine(X, B1, B2); }
int32_t ConfineValue(int32_t X, int32_t B1, int32_t B2) { return Confine(X, B1, B2); }

bool WithinRect(const TPointDouble& P, const TRectDouble& R) {
  const TRectDouble N = Normalised(R);
  return N.Left <= P.X && P.X <= N.Right && N.Bottom <= P.Y && P.Y <= N.Top;
}

bool ConfinePointToRect(TPointDouble& P, const TRectDouble& R) {
  const TRectDouble N = Normalised(R);
  const TPointDouble Old = P;
  P.X = Confine(P.X, N.Left, N.Right);
  P.Y = Confine(P.Y, N.Bottom, N.Top);
  return P.X != Old.X || P.Y != Old.Y;
}

int32_t DistFromRect(const TPoint& P, const TRect& R) {
  // 64-bit differences: coordinates at the ends of the 32-bit range must not overflow.
  const int64_t L = std::min(R.Left, R.Right), Rt = std::max(R.Left, R.Right);
  const int64_t T = std::min(R.Top, R.Bottom), B = std::max(R.Top, R.Bottom);
  const int64_t X = P.X, Y = P.Y;
  const bool InX = L <= X && X <= Rt;
  const bool InY = T <= Y && Y <= B;
  if (InX && InY) return 0;
  if (L < X && X < Rt) return Saturated(std::min(std::llabs(Y - T), std::llabs(Y - B)));
  if (T < Y && Y < B) return Saturated(std::min(std::llabs(X - L), std::llabs(X - Rt)));
  double Best = HUGE_VAL;
  for (int64_t CX : {L, Rt})
    for (int64_t CY : {T, B})
      Best = std::min(Best, std::hypot(static_cast<double>(X - CX), static_cast<double>(Y - CY)));
  return static_cast<int32_t>(std::min(std::nearbyint(Best), 2147483647.0));
}

double EuclideanDistance(const TPointDouble& P1, const TPointDouble& P2) {
  return EuclideanDistance(P1.X, P1.Y, P2.X, P2.Y);
}

double EuclideanDistance(double X1, double Y1, double X2, double Y2) {
  const double DX = X1 - X2;
  const double DY = Y1 - Y2;
  return std::sqrt(DX * DX + DY * DY);
}

}  // namespace zeq
