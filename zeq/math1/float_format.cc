// Floating values as text: strf, the normalised exponent form, engineering notation and the
// bit patterns as hexadecimal text with their inverse.
//
// All notation goes through the base layer's StrFixed/StrScientific (strff), so the digits
// are correctly rounded and locale-independent everywhere in the library.
#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <string>

#include "zeq/math1/math1.h"

namespace zeq {

namespace {

// Length of the exponent digits that StrScientific writes ("E+dddd").
constexpr size_t ExponentDigits = 4;

// Parses exactly Digits.size() hexadecimal digits; false on anything else.
bool ParseHex(std::string_view Digits, uint64_t& Value) {
  if (Digits.empty() || Digits.front() == '+' || Digits.front() == '-') return false;
  const char* End = Digits.data() + Digits.size();
  auto [Ptr, Err] = std::from_chars(Digits.data(), End, Value, 16);
  return Err == std::errc() && Ptr == End;
}

[[noreturn]] void InvalidHex(std::string_view Routine, std::string_view S) {
  throw EZEQError(std::string(Routine) + ": invalid hex string \"" + std::string(S) + "\"");
}

uint64_t HexPattern(std::string_view Routine, std::string_view S, size_t Length) {
  uint64_t Bits = 0;
  if (S.size() != Length || !ParseHex(S, Bits)) InvalidHex(Routine, S);
  return Bits;
}

// Power of 1000 used by the engineering notation: X / 1000^G with exact powers.
long double DivideByThousands(long double X, int32_t G) {
  long double P = 1.0L;
  for (int32_t i = 0; i < std::abs(G); ++i) P *= 1000.0L;
  return G >= 0 ? X / P : X * P;
}

}  // namespace

std::string strf(double X, int32_t Width, int32_t Decimals) {
  Width = std::clamp(Width, 0, MaxFieldWidth);
  if (Decimals >= 0) return StrFixed(X, Width, Decimals);
  if (Decimals != -2 || !std::isfinite(X)) return StrScientific(X, Width);
  std::string S = StrScientific(X, Width + 2);
  const size_t High = S.size() - ExponentDigits;  // first of the four exponent digits
  const bool Fits = S[High] == '0' && S[High + 1] == '0';
  S.erase(High, 2);
  if (!Fits) S.assign(S.size(), '*');
  return S;
}

std::string MakeEFormat(double X, int32_t Width, int32_t Digits) {
  const int P = std::clamp(Digits, 2, 15);
  const int W = std::clamp(Width, 8, 40);
  if (!std::isfinite(X)) return StrScientific(X, W);
  // S = sign position, one digit, ".", P - 1 digits, "E", exponent sign, four digits.
  const std::string S = StrScientific(X, P + 8);
  std::string Result = S.substr(0, 1) + "0." + S[1] + S.substr(3, static_cast<size_t>(P - 1)) + "E";
  const size_t ExpSign = S.size() - ExponentDigits - 1;
  int Exponent = std::stoi(S.substr(S.size() - 2));  // only the last two digits are shown
  if (S[ExpSign] == '-') Exponent = -Exponent;
  if (X != 0) Exponent += 1;  // the mantissa moved one place to the right
  Result += Exponent < 0 ? '-' : '+';
  Result += Decimal(std::abs(Exponent) % 100, 2);
  if (Result.size() < static_cast<size_t>(W))
    Result.insert(0, static_cast<size_t>(W) - Result.size(), ' ');
  return Result;
}

std::string EEngStr(double X, int32_t Precision) {
  static constexpr char Prefix[] = "afpnum kMGT";  // powers of 1000 from -6 to 4
  const int32_t N = std::clamp(Precision, -9, 9);
  const int32_t D = N >= 2 ? N - 1 : N >= -1 ? 0 : N + 1;  // signed digits after the first
  const int32_t Digits = std::abs(D);
  if (X == 0 || !std::isfinite(X)) return strff(X, 1, Digits);

  const double A = std::fabs(X);
  const double E = lg(A);
  // The prefixes run from atto to tera only, as documented: beyond them the number grows
  // ("3000T" for 3e15) or shrinks ("0.0010a" for 1e-21). Kept on purpose.
  const int32_t G = std::clamp(IntNeg(E / 3.0), -6, 4);
  const int32_t K = IntNeg(E) - 3 * G;
  std::string S = strff(DivideByThousands(A, G), 1, std::max(Digits - K, 0));
  if (G != 0) {
    const char Letter = Prefix[G + 6];
    const size_t Point = S.find('.');
    if (D < 0 && Point != std::string::npos)
      S[Point] = Letter;
    else
      S += Letter;
  }
  return X < 0 ? "-" + S : S;
}

std::string FPNumToHex(double X) { return PatternDigits(std::bit_cast<uint64_t>(X), 16, 4); }

std::string FPNumToHex(float X) { return PatternDigits(std::bit_cast<uint32_t>(X), 8, 4); }

std::string FPNumToHex(long double X) {
  const TExtendedBytes B = ExtendedToBytes(X);
  std::string Result;
  for (size_t i = B.size(); i-- > 0;) Result += PatternDigits(B[i], 2, 4);
  return Result;
}

double HexToDouble(std::string_view S) {
  return std::bit_cast<double>(HexPattern("HexToDouble", S, 16));
}

float HexToSingle(std::string_view S) {
  return std::bit_cast<float>(static_cast<uint32_t>(HexPattern("HexToSingle", S, 8)));
}

long double HexToExtended(std::string_view S) {
  uint64_t High = 0, Low = 0;
  if (S.size() != 20 || !ParseHex(S.substr(0, 4), High) || !ParseHex(S.substr(4), Low))
    InvalidHex("HexToExtended", S);
  TExtendedBytes B{};
  for (size_t i = 0; i < 8; ++i) B[i] = static_cast<uint8_t>(Low >> (8 * i));
  B[8] = static_cast<uint8_t>(High);
  B[9] = static_cast<uint8_t>(High >> 8);
  return BytesToExtended(B);
}

}  // namespace zeq
