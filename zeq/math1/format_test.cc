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
       {"DegreeToStr",
        [](A a) {
          return DegreeToStr(Num(a[0]), static_cast<TDegreeFormat>(Int(a[1])), Int(a[2]));
        }},
       {"ConvertDegrees",
        [](A a) {
          double D = Num(a[0]), M = Num(a[1]), S = Num(a[2]);
          const auto F = [&](int i) { return static_cast<TDegreeFormat>(Int(a[i])); };
          ConvertDegrees(D, M, S, F(3), F(4));
          return Show(D, M, S);
        }},
       {"RoundDegrees", [](A a) {
          int32_t D = Int(a[0]), M = Int(a[1]), S = Int(a[2]);
          RoundDegrees(D, M, S, a[3] == "true");
          return Show(D, M, S);
        }}});
}

// The rest of the conversions are rows of the table.
TEST(DegreeText, ConvertKeepsTheSignOfZeroAndChangesNothingOnError) {
  double D = -0.5, M = 0, S = 0;
  ConvertDegrees(D, M, S, dfDecimal, dfDegMin);
  EXPECT_TRUE(D == 0 && std::signbit(D) && M == 30);
  D = 1, M = 61;
  EXPECT_THROW(ConvertDegrees(D, M, S, dfDegMin, dfDecimal), EZEQMath1Error);
  EXPECT_EQ(M, 61);
  M = 0, S = NAN;
  EXPECT_THROW(ConvertDegrees(D, M, S, dfDegMin, dfDecimal), EZEQMath1Error);
}

}  // namespace
}  // namespace zeq
