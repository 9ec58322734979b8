#include "zeq/math1/math1.h"
#include "zeq/testing/example_table.h"
#include "zeq/testing/test_util.h"

namespace zeq {
namespace {

using namespace test::table;

TEST(FormatExamples, TableOfCalls) {
  const auto U8 = [](const std::string& S) { return static_cast<uint8_t>(Int(S)); };
  const auto U32 = [](const std::string& S) { return static_cast<uint32_t>(Num(S)); };
  test::RunExamples(
      "zeq/math1/testdata/format_examples.txt",
      {{"Decimal", [&](A a) { return Decimal(std::stoll(a[0]), U8(a[1])); }},
       {"Hex", [&](A a) { return Hex(U32(a[0]), U8(a[1])); }},
       {"Bin", [&](A a) { return Bin(U32(a[0]), U8(a[1])); }},
       {"Octal", [&](A a) { return Octal(U32(a[0]), U8(a[1])); }},
       {"StrToIntDefault", [](A a) { return Show(StrToIntDefault(a[0], Int(a[1]))); }},
       {"strf", [](A a) { return strf(Num(a[0]), Int(a[1]), Int(a[2])); }},
       {"MakeEFormat", [](A a) { return MakeEFormat(Num(a[0]), Int(a[1]), Int(a[2])); }},
       {"EEngStr", [](A a) { return EEngStr(Num(a[0]), Int(a[1])); }},
       {"FPNumToHex", [](A a) { return FPNumToHex(Num(a[0])); }},
       {"FPNumToHexExtended", [](A a) { return FPNumToHex(static_cast<long double>(Num(a[0]))); }},
       {"FPNumToHexSingle", [](A a) { return FPNumToHex(static_cast<float>(Num(a[0]))); }},
       {"HexToDouble", [](A a) { return Show(HexToDouble(a[0])); }},
       {"HexToExtended", [](A a) { return Show(HexToExtended(a[0])); }},
       {"HexToSingle", [](A a) { return Show(HexToSingle(a[0])); }},
       {"DegreeToStr", [](A a) {
          return DegreeToStr(Num(a[0]), static_cast<TDegreeFormat>(Int(a[1])), Int(a[2]));
        }}});
}

TEST(FloatText, HexRoundTripsRandomBitPatterns) {
  std::mt19937_64 Gen(9);
  for (int i = 0; i < 5000; ++i) {
    const uint64_t Bits = Gen();
    const double D = std::bit_cast<double>(Bits);
    EXPECT_EQ(std::bit_cast<uint64_t>(HexToDouble(FPNumToHex(D))), Bits);
    const auto F = std::bit_cast<float>(static_cast<uint32_t>(Bits));
    EXPECT_EQ(std::bit_cast<uint32_t>(HexToSingle(FPNumToHex(F))), static_cast<uint32_t>(Bits));
    TExtendedBytes B;
    const uint64_t More = Gen();
    for (int k = 0; k < 8; ++k) B[k] = static_cast<uint8_t>(Bits >> (8 * k));
    B[8] = static_cast<uint8_t>(More);
    B[9] = static_cast<uint8_t>(More >> 8);
    const long double X = BytesToExtended(B);
    EXPECT_EQ(ExtendedToBytes(HexToExtended(FPNumToHex(X))), B);
  }
}

// ConvertDegrees from one notation to another, as a (degrees, minutes, seconds) triple.
std::tuple<double, double, double> Converted(double D, double M, double S, TDegreeFormat From,
                                             TDegreeFormat To) {
  ConvertDegrees(D, M, S, From, To);
  return {D, M, S};
}

TEST(DegreeText, ConvertBetweenNotations) {
  using T = std::tuple<double, double, double>;
  EXPECT_EQ(Converted(10.5, 0, 0, dfDecimal, dfDegMinSec), T(10, 30, 0));
  EXPECT_EQ(Converted(10, 30.5, 0, dfDegMin, dfDegMinSec), T(10, 30, 30));
  EXPECT_EQ(Converted(10, 30, 30, dfDegMinSec, dfDecimal), T(10 + 30 / 60.0 + 30 / 3600.0, 0, 0));
  EXPECT_EQ(Converted(-12.25, 0, 0, dfDecimal, dfDegMin), T(-12, 15, 0));  // sign on the degrees
  EXPECT_EQ(Converted(-12, 15, 0, dfDegMin, dfDecimal), T(-11.75, 0, 0));  // documented
  const T NegativeZero = Converted(-0.5, 0, 0, dfDecimal, dfDegMin);
  EXPECT_TRUE(std::get<0>(NegativeZero) == 0 && std::signbit(std::get<0>(NegativeZero)));
  EXPECT_EQ(Converted(-0.0, 30, 0, dfDegMin, dfDecimal), T(0.5, 0, 0));  // the sign is lost
  double D = 1, M = 61, S = 0;
  test::ExpectThrowMessage<EZEQMath1Error>([&] { ConvertDegrees(D, M, S, dfDegMin, dfDecimal); },
                                           "ConvertDegrees: invalid range of minutes");
  EXPECT_EQ(M, 61);  // nothing changed
  M = 0, S = NAN;
  EXPECT_THROW(ConvertDegrees(D, M, S, dfDegMin, dfDecimal), EZEQMath1Error);
}

TEST(DegreeText, RoundDegreeSteps) {
  using T = std::tuple<int32_t, int32_t, int32_t>;
  const std::tuple<T, bool, T> Cases[] = {
      {{7, 0, 0}, false, {5, 0, 0}},     {{1, 0, 0}, false, {1, 0, 0}},
      {{7, 0, 0}, true, {10, 0, 0}},     {{0, 45, 0}, true, {1, 0, 0}},
      {{0, 0, 4}, false, {0, 0, 3}},     {{500, 10, 0}, true, {360, 0, 0}},
      {{2, -1, 5}, true, {0, 0, 0}},     {{0, 45, 0}, false, {0, 30, 0}},
      {{0, 21, 0}, false, {0, 20, 0}},   {{0, 17, 0}, false, {0, 15, 0}},
      {{0, 12, 0}, false, {0, 10, 0}},   {{0, 16, 0}, true, {0, 20, 0}},
      {{0, 0, 11}, true, {0, 0, 15}},    {{0, 0, 21}, true, {0, 0, 30}},
      {{100, 0, 0}, false, {90, 0, 0}},  {{45, 0, 0}, true, {60, 0, 0}},
      {{200, 0, 0}, false, {180, 0, 0}}, {{25, 0, 0}, true, {30, 0, 0}},
      {{12, 0, 0}, false, {10, 0, 0}},   {{17, 0, 0}, true, {20, 0, 0}},
      {{0, 1, 0}, false, {0, 1, 0}},     {{0, 2, 0}, false, {0, 2, 0}},
      {{0, 0, 3}, true, {0, 0, 3}}};
  for (auto [In, Up, Out] : Cases) {
    auto [D, M, S] = In;
    RoundDegrees(D, M, S, Up);
    EXPECT_EQ(T(D, M, S), Out) << std::get<0>(In) << " " << std::get<1>(In) << " " << Up;
  }
}

}  // namespace
}  // namespace zeq
