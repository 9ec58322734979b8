// Random strings and random doubles, NaN and infinities included, through every parser and
// formatter: nothing may crash, hang or read outside its buffers (the sanitizer build runs
// this too), and the parsers either succeed or raise their documented class.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "zeq/math1/math1.h"

namespace zeq {
namespace {

std::string RandomText(std::mt19937_64& Gen) {
  static const std::string Alphabet = "0123456789abcdefABCDEFxX$+- .eE\t";
  std::uniform_int_distribution<int> Len(0, 24), Pick(0, 9), Byte(0, 255);
  std::string S;
  for (int n = Len(Gen); n > 0; --n) {
    const int P = Pick(Gen);
    if (P < 7)
      S += Alphabet[static_cast<size_t>(Byte(Gen)) % Alphabet.size()];
    else
      S += static_cast<char>(Byte(Gen));  // NUL and non-ASCII bytes too
  }
  return S;
}

double RandomDouble(std::mt19937_64& Gen) {
  switch (Gen() % 8) {
    case 0:
      return std::numeric_limits<double>::quiet_NaN();
    case 1:
      return (Gen() & 1) ? HUGE_VAL : -HUGE_VAL;
    case 2:
      return std::numeric_limits<double>::denorm_min() * static_cast<double>(Gen() % 1000);
    case 3:
      return (Gen() & 1) ? std::numeric_limits<double>::max() : -std::numeric_limits<double>::max();
    default:
      return std::bit_cast<double>(Gen());
  }
}

TEST(FormatFuzz, ParsersAcceptOrRaiseTheirClass) {
  std::mt19937_64 Gen(77);
  for (int i = 0; i < 20000; ++i) {
    const std::string S = RandomText(Gen);
    const int32_t V = StrToIntDefault(S, -99);
    if (V != -99) {
      int32_t Again = 0;
      ASSERT_TRUE(TryStrToInt(S, Again));
      ASSERT_EQ(Again, V);
    }
    for (auto Parse :
         {+[](std::string_view T) { return static_cast<long double>(HexToDouble(T)); },
          +[](std::string_view T) { return HexToExtended(T); },
          +[](std::string_view T) { return static_cast<long double>(HexToSingle(T)); }}) {
      try {
        Parse(S);
      } catch (const EZEQError&) {
      }
    }
  }
}

TEST(FormatFuzz, FormattersHandleEveryDouble) {
  std::mt19937_64 Gen(78);
  std::uniform_int_distribution<int32_t> Small(-12, 30);
  for (int i = 0; i < 20000; ++i) {
    const double X = RandomDouble(Gen);
    const int32_t W = Small(Gen), D = Small(Gen);
    const std::string F = strf(X, W, D);
    ASSERT_GE(F.size(), static_cast<size_t>(std::max(W, 0)));
    ASSERT_FALSE(MakeEFormat(X, W, D).empty());
    ASSERT_FALSE(EEngStr(X, D).empty());
    DegreeToStr(X, static_cast<TDegreeFormat>(Gen() % 5), D);
    ASSERT_EQ(std::bit_cast<uint64_t>(HexToDouble(FPNumToHex(X))), std::bit_cast<uint64_t>(X));
    Decimal(static_cast<int64_t>(Gen()), static_cast<uint8_t>(Gen()));
  }
  for (int32_t W : {INT32_MIN, -1, 0, INT32_MAX})
    for (int32_t D : {INT32_MIN, -2, -1, 0, INT32_MAX}) {
      strf(1.5, W, D);
      MakeEFormat(1.5, W, D);
      EEngStr(1.5, D);
    }
}

}  // namespace
}  // namespace zeq
