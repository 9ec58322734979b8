// Integers as text: decimal with a fixed digit count, hexadecimal, octal, binary, Roman
// numerals, and the forgiving integer parser.
#include <algorithm>
#include <array>

#include "zeq/math1/math1.h"

namespace zeq {

std::string Decimal(int64_t Value, uint8_t Digits) {
  // The magnitude as unsigned, so that the most negative value has one too.
  uint64_t Magnitude = Value < 0 ? 0 - static_cast<uint64_t>(Value) : static_cast<uint64_t>(Value);
  std::string Result(std::max<size_t>(Digits, 1), '0');
  for (size_t i = Result.size(); i-- > 0 && Magnitude != 0; Magnitude /= 10)
    Result[i] = static_cast<char>('0' + Magnitude % 10);
  return Value < 0 ? "-" + Result : Result;
}

std::string Hex(uint32_t Value, uint8_t Digits) {
  return PatternDigits(Value, std::clamp<int>(Digits, 1, 8), 4);
}

std::string Octal(uint32_t Value, uint8_t Digits) {
  return PatternDigits(Value, std::clamp<int>(Digits, 1, 11), 3);
}

std::string Bin(uint32_t Value, uint8_t Digits) {
  return PatternDigits(Value, std::clamp<int>(Digits, 1, 32), 1);
}

int32_t StrToIntDefault(std::string_view S, int32_t Default) {
  int32_t Value = Default;
  return TryStrToInt(S, Value) ? Value : Default;
}

std::string Roman(int32_t N) {
  if (N < 1 || N >= 30000) return {};
  static constexpr std::array<std::pair<int32_t, const char*>, 13> Pairs{{{1000, "M"},
                                                                          {900, "CM"},
                                                                          {500, "D"},
                                                                          {400, "CD"},
                                                                          {100, "C"},
                                                                          {90, "XC"},
                                                                          {50, "L"},
                                                                          {40, "XL"},
                                                                          {10, "X"},
                                                                          {9, "IX"},
                                                                          {5, "V"},
                                                                          {4, "IV"},
                                                                          {1, "I"}}};
  std::string Result;
  for (auto [Value, Letters] : Pairs)
    for (; N >= Value; N -= Value) Result += Letters;
  return Result;
}

}  // namespace zeq
