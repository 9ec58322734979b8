/// @file
/// Scalar functions: polynomials and table interpolation, primes and fractions, bit and
/// byte-order routines, logarithms and trigonometric functions, angles, bounds, rounding to
/// the 1-2-5 series and axis scaling, random variates.
///
/// Failures raise EZEQMath1Error (or EMathError for lg, ld, tg, cot) with the messages given
/// beside each routine.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "zeq/base/base.h"
#include "zeq/base/export.h"

namespace zeq {

// ---- polynomials and interpolation ----

/// Sum of Coeffs[i] * X^i for i = 0..Order (Horner's scheme in long double).
/// "Polynomial: invalid order of polynomial" when Order < 0 or Order > High.
ZEQ_API double Polynomial(std::span<const double> Coeffs, int32_t Order, double X);
/// Sum of Coeffs[i] * (X - Center)^i; same check and message.
ZEQ_API double CenteredPolynomial(std::span<const double> Coeffs, int32_t Order, double Center,
                                  double X);

/// Linear interpolation in Table[0] (ascending abscissae) / Table[1] (ordinates), linear
/// extrapolation through the end segments outside. Only abscissae that have an ordinate
/// count. Messages: "InterpolXYTable: pivot array must contain 2 columns" (empty table or
/// outer length other than 2), "InterpolXYTable: pivot array must contain at least 2 rows".
/// A NaN X gives NaN.
ZEQ_API double InterpolXYTable(double X, const TDouble2DArray& Table);

///@{
/// Interpolation in values at equally spaced abscissae, Table[0] at XFirst and the last at
/// XLast (XFirst may exceed XLast); linear extrapolation outside. Messages:
/// "InterpolTable: pivot array must contain at least 2 values",
/// "InterpolTable: specified range of pivot array is zero". A NaN X gives NaN.
ZEQ_API double InterpolTable(double X, double XFirst, double XLast, std::span<const double> Table);
ZEQ_API double InterpolTable(double X, double XFirst, double XLast, std::span<const int32_t> Table);
///@}

/// Bilinear interpolation: a = Z1 + (Z3 - Z1) FracX, b = Z2 + (Z4 - Z2) FracX,
/// result a + (b - a) FracY.
ZEQ_API double InterpolZofXYRect(double Z1, double Z2, double Z3, double Z4, double FracX,
                                 double FracY);

// ---- integers, primes, fractions ----

/// The Index-th prime (1 -> 2) for Index 1..4792 (the last is 46337); 0 otherwise.
ZEQ_API int32_t ListOfPrimes(int32_t Index);
/// True when |N| >= 2 has no divisor up to sqrt(|N|).
ZEQ_API bool IsPrime(int32_t N);
/// The prime factors of N >= 2 in ascending order with repetition; empty for N < 2.
ZEQ_API void FindPrimeFactors(int32_t N, TIntArray& Factors);
/// Divides numerator and denominator by their common divisors; signs stay where they are.
/// Nothing changes when either is 0.
ZEQ_API void CancelFraction(int32_t& Numerator, int32_t& Denominator);
/// N! for 0 <= N <= 1000. "Factorial: negative argument", "Factorial: argument too big".
ZEQ_API long double Factorial(int32_t N);

// ---- bits and bytes ----

/// (N - 1) and N = 0: true for powers of two and for 0.
ZEQ_API bool CheckPowerOfTwo(uint32_t N);
/// The eight bits of B in reverse order (1 -> 128, 3 -> 192).
ZEQ_API uint8_t BitReversal(uint8_t B);
/// 1 shl N for N in 0..7, else 0.
ZEQ_API uint8_t DecodeBit(int32_t N);
/// 1 shl N for N in 0..31, else 0.
ZEQ_API uint32_t DecodeLong(int32_t N);
/// Index of the lowest set bit of Mask; 31 when Mask is 0.
ZEQ_API int32_t EncodeLong(uint32_t Mask);
/// The number of set bits of B.
ZEQ_API int32_t CountBits(uint8_t B);
/// W xor (W shr 1).
ZEQ_API uint16_t GrayCode(uint16_t W);
///@{
/// The same bytes in reverse order.
ZEQ_API double ConvertEndian(double X);
ZEQ_API float ConvertEndian(float X);
ZEQ_API uint16_t ConvertEndian(uint16_t X);
ZEQ_API int32_t ConvertEndian(int32_t X);
///@}

/// Roman numeral of N in 1..29999 (thousands repeat "M"); empty otherwise.
ZEQ_API std::string Roman(int32_t N);

// ---- real functions ----

///@{
/// ln X / ln 10 and ln X / ln 2; EMathError "logarithm: invalid argument" for X <= 0.
/// NaN gives NaN.
ZEQ_API double lg(double X);
ZEQ_API double ld(double X);
///@}
///@{
/// (e - 1/e) / 2 and (e + 1/e) / 2 with e = exp(X) rounded to double.
ZEQ_API double sinh(double X);
ZEQ_API double cosh(double X);
///@}
/// 1 - 2 / (exp(2X) + 1).
ZEQ_API double tgh(double X);
/// sin X / cos X; EMathError "tangens overflow" when cos X is exactly 0.
ZEQ_API double tg(double X);
/// cos X / sin X; EMathError "cotangens overflow" when sin X is exactly 0.
ZEQ_API double cot(double X);
/// B if A > B, else A (a NaN in either argument gives A).
ZEQ_API double Min(double A, double B);
/// B if A < B, else A.
ZEQ_API double Max(double A, double B);
/// 1 for X >= 0 (zero included), -1 otherwise (NaN included).
ZEQ_API int32_t Signum(double X);
///@{
/// The smallest integer >= X and the largest integer <= X, saturated to the 32-bit range;
/// NaN gives 0.
ZEQ_API int32_t IntPos(double X);
ZEQ_API int32_t IntNeg(double X);
///@}

// ---- angles (radians unless stated) ----

/// Direction of (DX, DY) from the x axis in [0, 2 pi); 3 pi / 2 for the zero vector.
ZEQ_API double AngleToXAxis(double DX, double DY);
///@{
/// A mapped into [-pi, pi] / [-180, 180].
ZEQ_API double CanonicalAngleRadians(double A);
ZEQ_API double CanonicalAngleDegrees(double A);
///@}

// ---- bounds and rectangles ----

/// min(B1, B2) <= X <= max(B1, B2).
ZEQ_API bool WithinBounds(double X, double B1, double B2);
///@{
/// X clamped into [min(B1, B2), max(B1, B2)].
ZEQ_API double ConfineValue(double X, double B1, double B2);
ZEQ_API float ConfineValue(float X, float B1, float B2);
ZEQ_API int32_t ConfineValue(int32_t X, int32_t B1, int32_t B2);
///@}
/// P inside the normalised R (y axis up: Bottom <= Top), borders included.
ZEQ_API bool WithinRect(const TPointDouble& P, const TRectDouble& R);
/// Moves each coordinate of P outside the normalised R onto the nearest border; true when P
/// changed.
ZEQ_API bool ConfinePointToRect(TPointDouble& P, const TRectDouble& R);
/// Distance of P from the screen rectangle R (Top <= Bottom; R is normalised first): 0 inside
/// or on the border, the distance to the nearer edge beside an edge, otherwise the distance
/// to the nearest corner rounded to the nearest integer.
ZEQ_API int32_t DistFromRect(const TPoint& P, const TRect& R);
///@{
/// The distance between two points of the plane.
ZEQ_API double EuclideanDistance(const TPointDouble& P1, const TPointDouble& P2);
ZEQ_API double EuclideanDistance(double X1, double Y1, double X2, double Y2);
///@}

// ---- the 1-2-5 series and axis scales ----

///@{
/// X rounded to ... 0.5, 1, 2, 5, 10, 20 ... : to the nearest (thresholds 1.5, 3 and 8 of the
/// decade), towards +infinity, towards -infinity. 0 stays 0; NaN and infinities pass through.
ZEQ_API double Round125(double X);
ZEQ_API double RoundPos125(double X);
ZEQ_API double RoundNeg125(double X);
///@}

/// Axis ticks over ScaleLow..ScaleHigh: a tick distance of 1, 2 or 5 times a power of ten
/// giving at least NTicks intervals (negative NTicks count as |NTicks|; 0 means a distance
/// of 1), the first tick at or within a thousandth of a tick distance before ScaleLow, and
/// the number of minor intervals per tick (5 or 4). A descending range gets a negative
/// distance. Equal bounds give FirstTick = ScaleLow, TickDist = 0, NrMinorTicks = 1.
ZEQ_API void CalcScalePars(int32_t NTicks, long double ScaleLow, long double ScaleHigh,
                           long double& FirstTick, long double& TickDist, uint16_t& NrMinorTicks);

// ---- random variates ----

/// True when P >= 1, else true with probability P.
ZEQ_API bool BRandom(double P);
/// A Cauchy variate: Location + Scale tan(pi (u - 0.5)).
ZEQ_API double CRandom(double Location, double Scale);
/// A standard normal variate by the polar method; the second value of each pair is kept
/// for the next call (one cache per thread).
ZEQ_API double GRandom();
/// A combined multiplicative generator in [0, 1) with its own three seeds; Seed != 0
/// restarts it from Seed. The seeds start from three draws of the process-wide generator
/// when the library is loaded; calls from several threads are serialised.
ZEQ_API double LongRand(int32_t Seed);

}  // namespace zeq
