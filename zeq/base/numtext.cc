// Fixed and scientific conversions built on std::to_chars, which is exact and ignores the
// C locale (a desktop application may have set one with "," as the decimal separator).
#include "zeq/base/numtext.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <system_error>

namespace zeq {

namespace {

std::string PadLeft(std::string S, int Width) {
  const auto W = static_cast<size_t>(std::clamp(Width, 0, MaxFieldWidth));
  if (S.size() < W) S.insert(0, W - S.size(), ' ');
  return S;
}

std::string NonFiniteText(long double X) {
  if (std::isnan(X)) return "NAN";
  return X < 0 ? "-INF" : "INF";
}

// to_chars into a buffer that grows until the text fits (fixed notation of 1e4932 has
// almost 5000 digits).
std::string ToChars(long double X, std::chars_format Format, int Precision) {
  std::string Buf(128, '\0');
  for (;;) {
    auto [End, Err] = std::to_chars(Buf.data(), Buf.data() + Buf.size(), X, Format, Precision);
    if (Err == std::errc()) {
      Buf.resize(static_cast<size_t>(End - Buf.data()));
      return Buf;
    }
    Buf.resize(Buf.size() * 4);
  }
}

}  // namespace

std::string StrFixed(long double X, int Width, int Decimals) {
  if (!std::isfinite(X)) return PadLeft(NonFiniteText(X), Width);
  std::string S = ToChars(X, std::chars_format::fixed, std::clamp(Decimals, 0, MaxFixedDecimals));
  if (S.front() == '-' && S.find_first_not_of("-0.") == std::string::npos) S.erase(0, 1);
  return PadLeft(std::move(S), Width);
}

std::string StrScientific(long double X, int Width) {
  if (!std::isfinite(X)) return PadLeft(NonFiniteText(X), Width);
  const int Decimals = std::clamp(std::max(Width, 10) - 9, 1, 20);  // no overflow for any Width
  const std::string S = ToChars(X, std::chars_format::scientific, Decimals);
  // S is "[-]d.ddde[+-]xx[xx]"; rebuild the exponent with four digits and upper-case E.
  const size_t EPos = S.find('e');
  const bool Negative = S.front() == '-';
  std::string Result = Negative ? "-" : " ";
  Result.append(S, Negative ? 1 : 0, EPos - (Negative ? 1 : 0));
  const int Exponent = std::atoi(S.c_str() + EPos + 1);
  std::string Digits = std::to_string(std::abs(Exponent));
  Result += Exponent < 0 ? "E-" : "E+";
  Result.append(4 - std::min<size_t>(Digits.size(), 4), '0');
  Result += Digits;
  return PadLeft(std::move(Result), Width);
}

std::string strff(long double X, int Width, int Decimals) {
  return Decimals >= 0 ? StrFixed(X, Width, Decimals) : StrScientific(X, Width);
}

}  // namespace zeq
