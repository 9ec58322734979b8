/// @file
/// Number formatting and conversion: integers in several bases, floating values in fixed,
/// scientific, normalised-exponent and engineering notation, bit patterns of floating values
/// as hexadecimal text, and angles in degrees, minutes and seconds.
///
/// Every routine returns a fresh string and never raises for any number, NaN and infinities
/// included; only the hexadecimal parsers and ConvertDegrees raise, as documented.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "zeq/base/base.h"
#include "zeq/base/export.h"

namespace zeq {

// ---- integers ----

/// Exactly max(Digits, 1) decimal digits of |Value| with leading zeros (only the lowest
/// digits when Value has more), with "-" in front of a negative value.
ZEQ_API std::string Decimal(int64_t Value, uint8_t Digits);
///@{
/// The lowest Digits digits of Value's 32-bit pattern: hexadecimal (Digits clamped to 1..8),
/// octal (1..11), binary (1..32).
ZEQ_API std::string Hex(uint32_t Value, uint8_t Digits);
ZEQ_API std::string Octal(uint32_t Value, uint8_t Digits);
ZEQ_API std::string Bin(uint32_t Value, uint8_t Digits);
///@}
/// The integer in S (see TryStrToInt: optional blanks and sign, decimal or "$"/"0x"
/// hexadecimal, 32-bit range), or Default when S is empty or not such an integer.
ZEQ_API int32_t StrToIntDefault(std::string_view S, int32_t Default);

// ---- floating values ----

/// Decimals >= 0: fixed notation right-aligned in Width. Negative Decimals other than -2:
/// scientific notation in Width characters. Decimals = -2: scientific notation with a
/// two-digit exponent in Width characters; a value whose exponent needs more digits comes
/// out as a row of "*" of the same length. NaN and infinities give "NAN", "INF", "-INF".
ZEQ_API std::string strf(double X, int32_t Width, int32_t Decimals);

/// Normalised scientific notation " 0.dddd E+ee" with the mantissa in [0.1, 1):
/// Digits (2..15) significant digits, padded on the left to Width (8..40). Only the last two
/// digits of the exponent are shown. NaN and infinities give their names, padded.
ZEQ_API std::string MakeEFormat(double X, int32_t Width, int32_t Digits);

/// Engineering notation with a prefix letter (a f p n u m k M G T): 4700 with Precision 2 is
/// "4.7k", with -2 "4k7". Precision (-9..9) sets the significant digits; a negative one puts
/// the letter in place of the decimal point.
ZEQ_API std::string EEngStr(double X, int32_t Precision);

///@{
/// The IEEE bit pattern, most significant byte first: 16, 20 or 8 upper-case hex digits.
ZEQ_API std::string FPNumToHex(double X);
ZEQ_API std::string FPNumToHex(long double X);
ZEQ_API std::string FPNumToHex(float X);
///@}
///@{
/// The inverse of FPNumToHex: S must hold exactly 16, 20 or 8 hexadecimal digits of either
/// case (no blanks); otherwise EZEQError "HexToDouble: invalid hex string \"S\"" (and
/// likewise for the others).
ZEQ_API double HexToDouble(std::string_view S);
ZEQ_API long double HexToExtended(std::string_view S);
ZEQ_API float HexToSingle(std::string_view S);
///@}

// ---- angles ----

/// Angle in one of the degree notations (Decimals clamped to 0..8): dfDecimal "12.50°",
/// dfDegMin "12°  30'", dfDegMinSec "12° 30'  0\"", dfPlain "12.50"; another format gives "".
ZEQ_API std::string DegreeToStr(double Angle, TDegreeFormat Format, int32_t Decimals);

/// Converts the angle held in Deg, Min, Sec from InFormat to OutFormat (formats 0..2; other
/// formats change nothing). Min and Sec must lie in 0..60, else EZEQMath1Error
/// "ConvertDegrees: invalid range of minutes" / "... of seconds" and nothing changes.
/// A negative angle keeps its sign on Deg only.
ZEQ_API void ConvertDegrees(double& Deg, double& Min, double& Sec, TDegreeFormat InFormat,
                            TDegreeFormat OutFormat);

/// Rounds an angle step to the step table (degrees 1 2 3 5 10 15 20 30 60 90 180 360; minutes
/// and seconds 1 2 3 5 10 15 20 30), up or down; a negative part zeroes all three.
ZEQ_API void RoundDegrees(int32_t& Deg, int32_t& Min, int32_t& Sec, bool Up);

}  // namespace zeq
