/// @file
/// Conversion of numbers to text in fixed and scientific notation with a field width.
///
/// The conversions are locale-independent ("." is always the decimal point) and round
/// correctly (to nearest, ties to even, on the exact binary value).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "zeq/base/export.h"

namespace zeq {

/// Longest field any conversion pads to; wider requests are served at this width.
inline constexpr int MaxFieldWidth = 4096;
/// Most decimals of the fixed conversion; more are served with this many.
inline constexpr int MaxFixedDecimals = 64;

/// X with Decimals digits after the point (0..64, no point for 0), right-aligned in Width
/// characters (wider when needed). A result whose digits are all zero carries no sign, so
/// -0.0 and -0.001 with two decimals both give "0.00". NaN and infinities give "NAN", "INF"
/// and "-INF".
ZEQ_API std::string StrFixed(long double X, int Width, int Decimals);

/// X in the form " d.dddE+dddd": a sign position (space or "-"), one digit, the point,
/// Width - 9 further digits (at least 1, at most 20) and a four-digit exponent, padded on the
/// left to Width characters. Str(X:26) thus shows 17 digits after the point.
ZEQ_API std::string StrScientific(long double X, int Width);

/// Fixed notation for Decimals >= 0, scientific notation in Width characters otherwise.
ZEQ_API std::string strff(long double X, int Width, int Decimals);

/// The lowest Count digits of Value in base 2^BitsPerDigit (1 binary, 3 octal, 4 hex),
/// most significant first, upper case.
ZEQ_API std::string PatternDigits(uint64_t Value, int Count, int BitsPerDigit);

/// Text to number, locale-independent, never raising; false (Value unchanged) when Text is
/// not entirely a number.
/// Integers: optional leading blanks, an optional sign, then decimal digits, or hexadecimal
/// digits after "$" or "0x"; the value must fit 32 bits (hexadecimal: any 32-bit pattern, so
/// "$FFFFFFFF" is -1).
ZEQ_API bool TryStrToInt(std::string_view Text, int32_t& Value);
/// Floating values: optional leading blanks, an optional sign, decimal or scientific
/// notation, "inf" and "nan" in any case. Values beyond the range of double (1e400, 1e-400)
/// are rejected.
ZEQ_API bool TryStrToFloat(std::string_view Text, double& Value);

}  // namespace zeq
