// Polynomials and linear interpolation in tables.
#include <algorithm>
#include <cmath>
#include <limits>

#include "zeq/math1/math1.h"

namespace zeq {

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

long double Horner(std::span<const double> Coeffs, int32_t Order, long double X) {
  if (Order < 0 || static_cast<size_t>(Order) >= Coeffs.size())
    throw EZEQMath1Error("Polynomial: invalid order of polynomial");
  long double Sum = 0.0L;
  for (int32_t i = Order; i >= 0; --i) Sum = Sum * X + Coeffs[static_cast<size_t>(i)];
  return Sum;
}

// Value at X of the line through (X0, Y0) and (X1, Y1).
double OnLine(double X, double X0, double Y0, double X1, double Y1) {
  return Y0 + (Y1 - Y0) * (X - X0) / (X1 - X0);
}

template <class T>
double InterpolEquidistant(double X, double XFirst, double XLast, std::span<const T> Table) {
  if (Table.size() < 2)
    throw EZEQMath1Error("InterpolTable: pivot array must contain at least 2 values");
  if (XFirst == XLast)
    throw EZEQMath1Error("InterpolTable: specified range of pivot array is zero");
  const auto Last = static_cast<double>(Table.size() - 1);
  const double P = Last * (X - XFirst) / (XLast - XFirst);
  if (std::isnan(P)) return NaN;
  if (P == Last) return static_cast<double>(Table.back());  // the end point is the end value
  // Inside the range the segment is the one P falls into; outside, the nearest end segment.
  const double K = std::clamp(std::trunc(P), 0.0, Last - 1.0);
  const auto k = static_cast<size_t>(K);
  const double Y0 = static_cast<double>(Table[k]);
  const double Y1 = static_cast<double>(Table[k + 1]);
  return Y0 + (Y1 - Y0) * (P - K);
}

}  // namespace

double Polynomial(std::span<const double> Coeffs, int32_t Order, double X) {
  return static_cast<double>(Horner(Coeffs, Order, X));
}

double CenteredPolynomial(std::span<const double> Coeffs, int32_t Order, double Center, double X) {
  return static_cast<double>(Horner(Coeffs, Order, static_cast<long double>(X) - Center));
}

double InterpolXYTable(double X, const TDouble2DArray& Table) {
  if (Table.empty()) throw EZEQMath1Error("InterpolXYTable: pivot array must contain 2 columns");
  const size_t N = Table.size() >= 2 ? std::min(Table[0].size(), Table[1].size()) : Table[0].size();
  if (N < 2) throw EZEQMath1Error("InterpolXYTable: pivot array must contain at least 2 rows");
  if (Table.size() != 2)
    throw EZEQMath1Error("InterpolXYTable: pivot array must contain 2 columns");
  const std::vector<double>& Xs = Table[0];
  const std::vector<double>& Ys = Table[1];
  if (X < Xs[0]) return OnLine(X, Xs[0], Ys[0], Xs[1], Ys[1]);
  if (X > Xs[N - 1]) return OnLine(X, Xs[N - 2], Ys[N - 2], Xs[N - 1], Ys[N - 1]);
  if (X == Xs[0]) return Ys[0];
  for (size_t i = 1; i < N; ++i)
    if (Xs[i] >= X) return OnLine(X, Xs[i - 1], Ys[i - 1], Xs[i], Ys[i]);
  return NaN;  // X is NaN, or the abscissae are not ascending
}

double InterpolTable(double X, double XFirst, double XLast, std::span<const double> Table) {
  return InterpolEquidistant(X, XFirst, XLast, Table);
}

double InterpolTable(double X, double XFirst, double XLast, std::span<const int32_t> Table) {
  return InterpolEquidistant(X, XFirst, XLast, Table);
}

double InterpolZofXYRect(double Z1, double Z2, double Z3, double Z4, double FracX, double FracY) {
  const double A = Z1 + (Z3 - Z1) * FracX;
  const double B = Z2 + (Z4 - Z2) * FracX;
  return A + (B - A) * FracY;
}

}  // namespace zeq
