// Conversion of numbers to text in fixed and scientific notation with a field width.
//
// The conversions are locale-independent ("." is always the decimal point) and round
// correctly (to nearest, ties to even, on the exact binary value).
#pragma once

#include <string>

namespace zeq {

// Longest field any conversion pads to; wider requests are served at this width.
inline constexpr int MaxFieldWidth = 4096;
// Most decimals of the fixed conversion; more are served with this many.
inline constexpr int MaxFixedDecimals = 64;

// X with Decimals digits after the point (0..64, no point for 0), right-aligned in Width
// characters (wider when needed). A result whose digits are all zero carries no sign, so
// -0.0 and -0.001 with two decimals both give "0.00". NaN and infinities give "NAN", "INF"
// and "-INF".
std::string StrFixed(long double X, int Width, int Decimals);

// X in the form " d.dddE+dddd": a sign position (space or "-"), one digit, the point,
// Width - 9 further digits (at least 1, at most 20) and a four-digit exponent, padded on the
// left to Width characters. Str(X:26) thus shows 17 digits after the point.
std::string StrScientific(long double X, int Width);

// Fixed notation for Decimals >= 0, scientific notation in Width characters otherwise.
std::string strff(long double X, int Width, int Decimals);

}  // namespace zeq
