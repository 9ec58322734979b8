#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "zeq/math1/math1.h"
#include "zeq/testing/test_util.h"

namespace zeq {
namespace {

const std::string Deg = "\xC2\xB0";

TEST(IntegerText, FixedDigitCounts) {
  EXPECT_EQ(Decimal(42, 5), "00042");
  EXPECT_EQ(Decimal(-42, 3), "-042");
  EXPECT_EQ(Decimal(12345, 3), "345");
  EXPECT_EQ(Decimal(7, 0), "7");
  EXPECT_EQ(Decimal(INT64_MIN, 19), "-9223372036854775808");
  EXPECT_EQ(Hex(255, 4), "00FF");
  EXPECT_EQ(Hex(4660, 2), "34");
  EXPECT_EQ(Hex(0xABC, 0), "C");
  EXPECT_EQ(Hex(static_cast<uint32_t>(-1), 200), "FFFFFFFF");
  EXPECT_EQ(Bin(5, 4), "0101");
  EXPECT_EQ(Octal(8, 3), "010");
  EXPECT_EQ(Octal(0xFFFFFFFF, 11), "37777777777");
}

TEST(IntegerText, StrToIntDefaultNeverRaises) {
  EXPECT_EQ(StrToIntDefault("12x", 7), 7);
  EXPECT_EQ(StrToIntDefault("", 7), 7);
  EXPECT_EQ(StrToIntDefault("  -42", 7), -42);
  EXPECT_EQ(StrToIntDefault("+17", 7), 17);
  EXPECT_EQ(StrToIntDefault("$FF", 7), 255);
  EXPECT_EQ(StrToIntDefault("0x7fffffff", 7), INT32_MAX);
  EXPECT_EQ(StrToIntDefault("$FFFFFFFF", 7), -1);
  EXPECT_EQ(StrToIntDefault("-2147483648", 7), INT32_MIN);
  EXPECT_EQ(StrToIntDefault("2147483648", 7), 7);
  EXPECT_EQ(StrToIntDefault("99999999999999999999999", 7), 7);
  EXPECT_EQ(StrToIntDefault("1 ", 7), 7);
  EXPECT_EQ(StrToIntDefault(std::string("1\0"
                                        "2",
                                        3),
                            7),
            7);
  EXPECT_EQ(StrToIntDefault("-", 7), 7);
  EXPECT_EQ(StrToIntDefault("$", 7), 7);
}

TEST(FloatText, StrfDecimalsChooseTheNotation) {
  EXPECT_EQ(strf(1.5, 6, 2), "  1.50");
  EXPECT_EQ(strf(1234.5, 10, -1), " 1.2E+0003");
  EXPECT_EQ(strf(1234.5, 12, -2), " 1.23450E+03");
  EXPECT_EQ(strf(-1234.5, 12, -2), "-1.23450E+03");
  EXPECT_EQ(strf(1e100, 12, -2), "************");  // needs a three-digit exponent
  EXPECT_EQ(strf(1e-5, 12, -2), " 1.00000E-05");
}

TEST(FloatText, NormalisedExponentForm) {
  EXPECT_EQ(MakeEFormat(1234, 12, 4), "  0.1234E+04");
  EXPECT_EQ(MakeEFormat(0.5, 0, 4), " 0.5000E+00");
  EXPECT_EQ(MakeEFormat(-0.00123, 12, 3), "  -0.123E-02");
  EXPECT_EQ(MakeEFormat(0, 8, 1), " 0.00E+00");         // at least two digits
  EXPECT_EQ(MakeEFormat(9.9999, 10, 2), "  0.10E+02");  // the rounding carries into the exponent
}

TEST(FloatText, EngineeringNotation) {
  EXPECT_EQ(EEngStr(4700, 2), "4.7k");
  EXPECT_EQ(EEngStr(4700, -2), "4k7");
  EXPECT_EQ(EEngStr(0.0047, 3), "4.70m");
  EXPECT_EQ(EEngStr(47, 2), "47");
  EXPECT_EQ(EEngStr(-2.2e-9, 2), "-2.2n");
  EXPECT_EQ(EEngStr(1000, 2), "1.0k");
  EXPECT_EQ(EEngStr(5e6, 1), "5M");
  EXPECT_EQ(EEngStr(0, 3), "0.00");
  EXPECT_EQ(EEngStr(3e15, 1), "3000T");     // beyond tera the prefix stays T (documented)
  EXPECT_EQ(EEngStr(1e-21, 2), "0.0010a");  // below atto the number shrinks (documented)
}

TEST(FloatText, BitPatternsAsHex) {
  EXPECT_EQ(FPNumToHex(1.0), "3FF0000000000000");
  EXPECT_EQ(FPNumToHex(1.0L), "3FFF8000000000000000");
  EXPECT_EQ(FPNumToHex(-2.0f), "C0000000");
  EXPECT_EQ(HexToDouble("3FF0000000000000"), 1.0);
  EXPECT_EQ(HexToDouble("3ff0000000000000"), 1.0);
  EXPECT_EQ(HexToExtended("3FFF8000000000000000"), 1.0L);
  EXPECT_EQ(HexToSingle("c0000000"), -2.0f);
  // 15 characters
  test::ExpectThrowMessage<EZEQError>([&] { HexToDouble("3FF000000000000"); },
                                      "HexToDouble: invalid hex string \"3FF000000000000\"");
  EXPECT_THROW(HexToDouble(" 3F0000000000000"), EZEQError);
  EXPECT_THROW(HexToSingle("+1234567"), EZEQError);
  EXPECT_THROW(HexToExtended("3FFF80000000000000G0"), EZEQError);
  EXPECT_THROW(HexToExtended("-FFF8000000000000000"), EZEQError);
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

TEST(DegreeText, Notations) {
  EXPECT_EQ(DegreeToStr(12.5, dfDecimal, 2), "12.50" + Deg);
  EXPECT_EQ(DegreeToStr(-0.5, dfDegMin, 0), "-0" + Deg + "  30'");
  EXPECT_EQ(DegreeToStr(10.5125, dfDegMinSec, 1), "10" + Deg + " 30' 45.0\"");
  EXPECT_EQ(DegreeToStr(-10.25, dfDegMin, 1), "-10" + Deg + " 15.0'");
  EXPECT_EQ(DegreeToStr(1.9999999, dfDegMin, 2), "2" + Deg + "  0.00'");  // rounds up a degree
  EXPECT_EQ(DegreeToStr(12.5, dfPlain, 1), "12.5");
  EXPECT_EQ(DegreeToStr(12.5, static_cast<TDegreeFormat>(9), 1), "");
  EXPECT_EQ(DegreeToStr(1, dfDecimal, 99), "1.00000000" + Deg);  // decimals clamped to 8
}

TEST(DegreeText, ConvertBetweenNotations) {
  double D = 10.5, M = 0, S = 0;
  ConvertDegrees(D, M, S, dfDecimal, dfDegMinSec);
  EXPECT_EQ(D, 10);
  EXPECT_EQ(M, 30);
  EXPECT_EQ(S, 0);
  D = 10, M = 30.5, S = 0;
  ConvertDegrees(D, M, S, dfDegMin, dfDegMinSec);
  EXPECT_EQ(D, 10);
  EXPECT_EQ(M, 30);
  EXPECT_EQ(S, 30);
  ConvertDegrees(D, M, S, dfDegMinSec, dfDecimal);
  EXPECT_DOUBLE_EQ(D, 10 + 30 / 60.0 + 30 / 3600.0);
  EXPECT_EQ(M, 0);
  D = -12.25, M = 0, S = 0;
  ConvertDegrees(D, M, S, dfDecimal, dfDegMin);  // the sign stays on the degrees
  EXPECT_EQ(D, -12);
  EXPECT_EQ(M, 15);
  ConvertDegrees(D, M, S, dfDegMin, dfDecimal);  // documented: the minutes add to -12
  EXPECT_EQ(D, -11.75);
  D = -0.5, M = 0, S = 0;
  ConvertDegrees(D, M, S, dfDecimal, dfDegMin);
  EXPECT_TRUE(D == 0 && std::signbit(D));
  EXPECT_EQ(M, 30);
  ConvertDegrees(D, M, S, dfDegMin, dfDecimal);  // documented: the sign does not come back
  EXPECT_EQ(D, 0.5);
  D = 1, M = 61, S = 0;
  test::ExpectThrowMessage<EZEQMath1Error>([&] { ConvertDegrees(D, M, S, dfDegMin, dfDecimal); },
                                           "ConvertDegrees: invalid range of minutes");
  EXPECT_EQ(M, 61);  // nothing changed
  M = 0, S = NAN;
  EXPECT_THROW(ConvertDegrees(D, M, S, dfDegMin, dfDecimal), EZEQMath1Error);
}

TEST(DegreeText, RoundDegreeSteps) {
  int32_t D = 7, M = 0, S = 0;
  RoundDegrees(D, M, S, false);
  EXPECT_EQ(D, 5);
  D = 7;
  RoundDegrees(D, M, S, true);
  EXPECT_EQ(D, 10);
  D = 0, M = 45, S = 0;
  RoundDegrees(D, M, S, true);
  EXPECT_EQ(D, 1);
  EXPECT_EQ(M, 0);
  D = 0, M = 0, S = 4;
  RoundDegrees(D, M, S, false);
  EXPECT_EQ(S, 3);
  D = 500, M = 10, S = 0;
  RoundDegrees(D, M, S, true);
  EXPECT_EQ(D, 360);
  D = 2, M = -1, S = 5;
  RoundDegrees(D, M, S, true);
  EXPECT_EQ(D + M + S, 0);
}

}  // namespace
}  // namespace zeq
