#include "zeq/math1/math1.h"
#include "zeq/testing/example_table.h"
#include "zeq/testing/test_util.h"

namespace zeq {
namespace {

using namespace test::table;

TEST(FormatExamples, TableOfCalls) {
  test::RunExamples("zeq/math1/testdata/format_examples.txt",
                    ZEQ_CALLS(Decimal, Hex, Bin, Octal, StrToIntDefault, strf, MakeEFormat, EEngStr,
                              HexToDouble, HexToExtended, HexToSingle, DegreeToStr),
                    {{"FPNumToHex", Call<std::string, double>(FPNumToHex)},
                     {"FPNumToHexExtended", Call<std::string, long double>(FPNumToHex)},
                     {"FPNumToHexSingle", Call<std::string, float>(FPNumToHex)},
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
