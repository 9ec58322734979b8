// Text to number and digit patterns, built on std::from_chars so that no locale and no
// exception can interfere.
#include <charconv>
#include <limits>

#include "zeq/base/numtext.h"

namespace zeq {

namespace {

std::string_view SkipLeadingBlanks(std::string_view S) {
  while (!S.empty() && (S.front() == ' ' || S.front() == '\t')) S.remove_prefix(1);
  return S;
}

// Parses all of Digits in Base into an unsigned 64-bit value; false on any other character
// or when the value exceeds Limit.
bool ParseUnsigned(std::string_view Digits, int Base, uint64_t Limit, uint64_t& Value) {
  if (Digits.empty()) return false;
  const char* End = Digits.data() + Digits.size();
  auto [Ptr, Err] = std::from_chars(Digits.data(), End, Value, Base);
  return Err == std::errc() && Ptr == End && Value <= Limit;
}

}  // namespace

std::string PatternDigits(uint64_t Value, int Count, int BitsPerDigit) {
  static constexpr char Digits[] = "0123456789ABCDEF";
  const uint64_t Mask = (uint64_t{1} << BitsPerDigit) - 1;
  std::string Result(static_cast<size_t>(Count < 0 ? 0 : Count), '0');
  for (size_t i = Result.size(); i-- > 0;) {
    Result[i] = Digits[Value & Mask];
    Value = BitsPerDigit >= 64 ? 0 : Value >> BitsPerDigit;
  }
  return Result;
}

bool TryStrToInt(std::string_view Text, int32_t& Value) {
  std::string_view S = SkipLeadingBlanks(Text);
  bool Negative = false;
  if (!S.empty() && (S.front() == '+' || S.front() == '-')) {
    Negative = S.front() == '-';
    S.remove_prefix(1);
  }
  uint64_t Magnitude = 0;
  int64_t Result = 0;
  if (!S.empty() && S.front() == '$') {
    if (!ParseUnsigned(S.substr(1), 16, 0xFFFFFFFFull, Magnitude)) return false;
    Result = static_cast<int32_t>(static_cast<uint32_t>(Magnitude));
  } else if (S.size() > 1 && S[0] == '0' && (S[1] == 'x' || S[1] == 'X')) {
    if (!ParseUnsigned(S.substr(2), 16, 0xFFFFFFFFull, Magnitude)) return false;
    Result = static_cast<int32_t>(static_cast<uint32_t>(Magnitude));
  } else {
    if (!ParseUnsigned(S, 10, uint64_t{1} << 31, Magnitude)) return false;
    Result = static_cast<int64_t>(Magnitude);
    if (!Negative && Result > std::numeric_limits<int32_t>::max()) return false;
  }
  Value = static_cast<int32_t>(Negative ? -Result : Result);
  return true;
}

bool TryStrToFloat(std::string_view Text, double& Value) {
  std::string_view S = SkipLeadingBlanks(Text);
  if (S.size() > 1 && S.front() == '+' && S[1] != '-') S.remove_prefix(1);
  if (S.empty()) return false;
  double Result = 0;
  const char* End = S.data() + S.size();
  auto [Ptr, Err] = std::from_chars(S.data(), End, Result);
  if (Ptr != End || Err != std::errc()) return false;
  Value = Result;
  return true;
}

}  // namespace zeq
