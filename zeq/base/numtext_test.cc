#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "zeq/base/base.h"

namespace zeq {
namespace {

TEST(StrFixed, RoundsToNearestWithTiesToEven) {
  EXPECT_EQ(StrFixed(1.5, 1, 3), "1.500");
  EXPECT_EQ(StrFixed(2.5, 1, 0), "2");       // exact tie
  EXPECT_EQ(StrFixed(0.125, 1, 2), "0.12");  // exact tie
  EXPECT_EQ(StrFixed(-1.25, 8, 1), "    -1.2");
  EXPECT_EQ(StrFixed(2.675, 1, 2), "2.67");  // 2.675 is stored below the tie
}

TEST(StrFixed, PadsToTheWidthAndNeverTruncates) {
  EXPECT_EQ(StrFixed(3.14159, 8, 2), "    3.14");
  EXPECT_EQ(StrFixed(12345.678, 3, 1), "12345.7");
  EXPECT_EQ(StrFixed(1e300, 1, 0).size(), 301u);
  EXPECT_EQ(StrFixed(std::numeric_limits<long double>::max(), 1, 2).size(), 4933u + 3u);
  EXPECT_EQ(StrFixed(1.0, 1000000000, 0).size(), static_cast<size_t>(MaxFieldWidth));
  EXPECT_EQ(StrFixed(1.0, 1, 1000).size(), 2u + MaxFixedDecimals);
  EXPECT_EQ(StrFixed(1.0, -5, -3), "1");
}

TEST(StrFixed, ZeroCarriesNoSign) {
  EXPECT_EQ(StrFixed(-0.0, 1, 0), "0");
  EXPECT_EQ(StrFixed(-0.001, 6, 2), "  0.00");
  EXPECT_EQ(StrFixed(-0.006, 1, 2), "-0.01");
}

TEST(NumberText, NonFiniteValuesHaveNames) {
  const double Inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(StrFixed(std::nan(""), 5, 2), "  NAN");
  EXPECT_EQ(StrFixed(-Inf, 1, 2), "-INF");
  EXPECT_EQ(StrScientific(Inf, 1), "INF");
}

TEST(StrScientific, HasASignPositionAndAFourDigitExponent) {
  EXPECT_EQ(StrScientific(1234, 13), " 1.2340E+0003");
  EXPECT_EQ(StrScientific(-1234, 13), "-1.2340E+0003");
  EXPECT_EQ(StrScientific(0, 10), " 0.0E+0000");
  EXPECT_EQ(StrScientific(1.5, 20), " 1.50000000000E+0000");
  // Python '%.17e' % 1e-300
  EXPECT_EQ(StrScientific(1e-300, 26), " 1.00000000000000003E-0300");
  EXPECT_EQ(StrScientific(9.99996, 12), " 1.000E+0001");  // the rounding carries into the exponent
  EXPECT_EQ(StrScientific(2.5, INT32_MIN), StrScientific(2.5, 0));  // no overflow in the width
}

TEST(StrScientific, NarrowFieldsKeepOneDecimalAndWideFieldsArePadded) {
  EXPECT_EQ(StrScientific(2.0, 0), " 2.0E+0000");
  EXPECT_EQ(StrScientific(2.0, 40), std::string(11, ' ') + " 2.00000000000000000000E+0000");
  EXPECT_EQ(StrScientific(1e4000L, 10), " 1.0E+4000");
  EXPECT_EQ(StrScientific(-3e-4930L, 10), "-3.0E-4930");
}

TEST(Strff, ChoosesTheNotationByTheSignOfDecimals) {
  EXPECT_EQ(strff(0.5, 1, 2), "0.50");
  EXPECT_EQ(strff(0.5, 13, -1), " 5.0000E-0001");
}

}  // namespace
}  // namespace zeq

namespace zeq {
namespace {

TEST(TextToNumber, IntegersInDecimalAndHex) {
  int32_t V = 5;
  EXPECT_TRUE(TryStrToInt("  -17", V));
  EXPECT_EQ(V, -17);
  EXPECT_TRUE(TryStrToInt("0X1f", V));
  EXPECT_EQ(V, 31);
  EXPECT_FALSE(TryStrToInt("0x", V));
  EXPECT_FALSE(TryStrToInt("1e3", V));
  EXPECT_TRUE(TryStrToInt("-$10", V));  // a signed hex value is its negation
  EXPECT_EQ(V, -16);
}

TEST(TextToNumber, FloatingValues) {
  double V = 5;
  EXPECT_TRUE(TryStrToFloat(" 1.5e3", V));
  EXPECT_EQ(V, 1500);
  EXPECT_TRUE(TryStrToFloat("+.25", V));
  EXPECT_EQ(V, 0.25);
  EXPECT_TRUE(TryStrToFloat("-INF", V));
  EXPECT_EQ(V, -HUGE_VAL);
  V = 5;
  for (const char* Bad : {"", "+", "+-1", "1,5", "1.5 ", "1e400", "x"})
    EXPECT_FALSE(TryStrToFloat(Bad, V)) << Bad;
  EXPECT_EQ(V, 5);
}

}  // namespace
}  // namespace zeq
