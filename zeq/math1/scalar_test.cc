#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "zeq/math1/math1.h"
#include "zeq/testing/test_util.h"

namespace zeq {
namespace {

constexpr double Pi = std::numbers::pi;

TEST(Polynomials, EvaluateAndCheckTheOrder) {
  const std::vector<double> C{1, -3, 2};  // 1 - 3x + 2x^2
  EXPECT_EQ(Polynomial(C, 2, 3.0), 10);
  EXPECT_EQ(Polynomial(C, 1, 3.0), -8);
  EXPECT_EQ(CenteredPolynomial(C, 2, 1.0, 4.0), 10);
  test::ExpectThrowMessage<EZEQMath1Error>([&] { Polynomial(C, 3, 1.0); },
                                           "Polynomial: invalid order of polynomial");
  test::ExpectThrowMessage<EZEQMath1Error>([&] { CenteredPolynomial(C, -1, 0, 1.0); },
                                           "Polynomial: invalid order of polynomial");
}

TEST(Interpolation, EquallySpacedTable) {
  const std::vector<double> T{0, 10, 20, 30, 40};
  EXPECT_EQ(InterpolTable(2.5, 0, 4, T), 25);
  EXPECT_EQ(InterpolTable(5, 0, 4, T), 50);  // extrapolated
  EXPECT_EQ(InterpolTable(-1, 0, 4, T), -10);
  EXPECT_EQ(InterpolTable(4, 0, 4, T), 40);  // the end point
  EXPECT_EQ(InterpolTable(1, 4, 0, T), 30);  // descending abscissae
  const std::vector<int32_t> I{0, 100};
  EXPECT_EQ(InterpolTable(0.25, 0, 1, I), 25);
  EXPECT_TRUE(std::isnan(InterpolTable(NAN, 0, 4, T)));
  test::ExpectThrowMessage<EZEQMath1Error>(
      [] { InterpolTable(1, 0, 4, std::vector<double>{1}); },
      "InterpolTable: pivot array must contain at least 2 values");
  test::ExpectThrowMessage<EZEQMath1Error>([&] { InterpolTable(1, 2, 2, T); },
                                           "InterpolTable: specified range of pivot array is zero");
}

TEST(Interpolation, XYTable) {
  const TDouble2DArray T{{0, 1, 3}, {0, 10, 30}};
  EXPECT_EQ(InterpolXYTable(0, T), 0);
  EXPECT_EQ(InterpolXYTable(2, T), 20);
  EXPECT_EQ(InterpolXYTable(-1, T), -10);
  EXPECT_EQ(InterpolXYTable(4, T), 40);
  EXPECT_TRUE(std::isnan(InterpolXYTable(NAN, T)));
  test::ExpectThrowMessage<EZEQMath1Error>([] { InterpolXYTable(0, TDouble2DArray{}); },
                                           "InterpolXYTable: pivot array must contain 2 columns");
  test::ExpectThrowMessage<EZEQMath1Error>(
      [] {
        InterpolXYTable(0, TDouble2DArray{{1}, {2}});
      },
      "InterpolXYTable: pivot array must contain at least 2 rows");
  test::ExpectThrowMessage<EZEQMath1Error>(
      [] {
        InterpolXYTable(0, TDouble2DArray{{1, 2}, {2, 3}, {4, 5}});
      },
      "InterpolXYTable: pivot array must contain 2 columns");
  test::ExpectThrowMessage<EZEQMath1Error>(
      [] {
        InterpolXYTable(0, TDouble2DArray{{1, 2, 3}, {2}});
      },
      "InterpolXYTable: pivot array must contain at least 2 rows");
  EXPECT_EQ(InterpolZofXYRect(0, 10, 20, 30, 0.5, 0.5), 15);
}

TEST(Primes, TableSieveAndFactors) {
  EXPECT_EQ(ListOfPrimes(1), 2);
  EXPECT_EQ(ListOfPrimes(4792), 46337);
  EXPECT_EQ(ListOfPrimes(4793), 0);
  EXPECT_EQ(ListOfPrimes(0), 0);
  // Every tabled prime passes IsPrime and nothing between neighbours does.
  for (int32_t i = 1; i < 4792; ++i) {
    ASSERT_TRUE(IsPrime(ListOfPrimes(i)));
    for (int32_t n = ListOfPrimes(i) + 1; n < ListOfPrimes(i + 1); ++n)
      ASSERT_FALSE(IsPrime(n)) << n;
  }
  EXPECT_FALSE(IsPrime(1));
  EXPECT_FALSE(IsPrime(0));
  EXPECT_TRUE(IsPrime(-7));
  EXPECT_TRUE(IsPrime(2147483647));
  EXPECT_FALSE(IsPrime(INT32_MIN));
  TIntArray F{99};
  FindPrimeFactors(360, F);
  EXPECT_EQ(F, (TIntArray{2, 2, 2, 3, 3, 5}));
  FindPrimeFactors(1, F);
  EXPECT_TRUE(F.empty());
  FindPrimeFactors(2147483646, F);  // 2 * 3^2 * 7 * 11 * 31 * 151 * 331
  EXPECT_EQ(F, (TIntArray{2, 3, 3, 7, 11, 31, 151, 331}));
  FindPrimeFactors(2147483647, F);
  EXPECT_EQ(F, (TIntArray{2147483647}));
}

TEST(Fractions, CancelAndFactorial) {
  int32_t N = 12, D = -18;
  CancelFraction(N, D);
  EXPECT_EQ(N, 2);
  EXPECT_EQ(D, -3);
  N = 0, D = 6;
  CancelFraction(N, D);
  EXPECT_EQ(D, 6);
  N = INT32_MIN, D = INT32_MIN;  // the signs stay: -1/-1
  CancelFraction(N, D);
  EXPECT_EQ(N, -1);
  EXPECT_EQ(D, -1);
  EXPECT_EQ(Factorial(0), 1);
  EXPECT_EQ(Factorial(20), 2432902008176640000.0L);
  // Python: math.lgamma(1001)
  EXPECT_NEAR(static_cast<double>(std::log(Factorial(1000))), 5912.128178488163, 1e-11);
  test::ExpectThrowMessage<EZEQMath1Error>([] { Factorial(-1); }, "Factorial: negative argument");
  test::ExpectThrowMessage<EZEQMath1Error>([] { Factorial(1001); }, "Factorial: argument too big");
}

TEST(Bits, RoutinesOnBitsAndBytes) {
  EXPECT_TRUE(CheckPowerOfTwo(0));
  EXPECT_TRUE(CheckPowerOfTwo(1u << 31));
  EXPECT_FALSE(CheckPowerOfTwo(12));
  EXPECT_EQ(BitReversal(1), 128);
  EXPECT_EQ(BitReversal(3), 192);
  EXPECT_EQ(DecodeBit(7), 128);
  EXPECT_EQ(DecodeBit(8), 0);
  EXPECT_EQ(DecodeLong(31), 0x80000000u);
  EXPECT_EQ(DecodeLong(-1), 0u);
  EXPECT_EQ(EncodeLong(0), 31);
  EXPECT_EQ(EncodeLong(0x50), 4);
  EXPECT_EQ(CountBits(0xB5), 5);
  EXPECT_EQ(GrayCode(7), 4);
  EXPECT_EQ(ConvertEndian(int32_t{0x01020304}), 0x04030201);
  EXPECT_EQ(ConvertEndian(uint16_t{0xABCD}), 0xCDAB);
  EXPECT_EQ(ConvertEndian(ConvertEndian(1.25)), 1.25);
  EXPECT_EQ(ConvertEndian(ConvertEndian(-2.5f)), -2.5f);
  EXPECT_EQ(Roman(1994), "MCMXCIV");
  EXPECT_EQ(Roman(29999), "MMMMMMMMMMMMMMMMMMMMMMMMMMMMMCMXCIX");
  EXPECT_EQ(Roman(0), "");
  EXPECT_EQ(Roman(30000), "");
}

TEST(RealFunctions, LogarithmsAndTheirErrors) {
  EXPECT_EQ(lg(1000), 3);
  EXPECT_EQ(ld(1024), 10);
  test::ExpectThrowMessage<EMathError>([] { lg(0); }, "logarithm: invalid argument");
  test::ExpectThrowMessage<EMathError>([] { ld(-1); }, "logarithm: invalid argument");
  EXPECT_TRUE(std::isnan(lg(NAN)));
}

TEST(RealFunctions, HyperbolicAndTrigonometric) {
  for (double X : {-3.0, -0.5, 0.25, 2.0, 10.0}) {
    EXPECT_NEAR(sinh(X), std::sinh(X), 4e-16 * std::cosh(X));  // cancellation near 0 costs digits
    EXPECT_NEAR(cosh(X), std::cosh(X), 4e-16 * std::cosh(X));
    EXPECT_NEAR(tgh(X), std::tanh(X), 4e-16);
  }
  EXPECT_EQ(tgh(1000), 1);
  EXPECT_NEAR(tg(Pi / 4), 1, 1e-15);
  EXPECT_NEAR(cot(Pi / 4), 1, 1e-15);
  test::ExpectThrowMessage<EMathError>([] { cot(0); }, "cotangens overflow");
  EXPECT_NO_THROW(tg(Pi / 2));  // cos(pi/2) in double is 6e-17, not 0
}

TEST(RealFunctions, RoundingToIntegers) {
  EXPECT_EQ(Signum(0), 1);
  EXPECT_EQ(Signum(-0.1), -1);
  EXPECT_EQ(IntPos(1.2), 2);
  EXPECT_EQ(IntPos(-1.2), -1);
  EXPECT_EQ(IntNeg(-1.2), -2);
  EXPECT_EQ(IntNeg(3), 3);
  EXPECT_EQ(IntNeg(1e300), INT32_MAX);
  EXPECT_EQ(IntPos(-1e300), INT32_MIN);
  EXPECT_EQ(IntNeg(NAN), 0);
  EXPECT_EQ(Min(1, 2), 1);
  EXPECT_EQ(Max(1, 2), 2);
}

TEST(Angles, DirectionAndCanonicalForms) {
  EXPECT_EQ(AngleToXAxis(-1, 0), Pi);
  EXPECT_EQ(AngleToXAxis(0, 0), 3 * Pi / 2);
  EXPECT_EQ(AngleToXAxis(0, 2), Pi / 2);
  EXPECT_NEAR(AngleToXAxis(1, -1), 7 * Pi / 4, 1e-15);
  EXPECT_NEAR(CanonicalAngleDegrees(370), 10, 1e-12);
  EXPECT_NEAR(CanonicalAngleDegrees(-190), 170, 1e-12);
  EXPECT_NEAR(CanonicalAngleDegrees(-730), -10, 1e-12);
  EXPECT_EQ(CanonicalAngleDegrees(180), 180);
  EXPECT_NEAR(CanonicalAngleRadians(3 * Pi), Pi, 1e-12);
}

TEST(Bounds, ValuesPointsAndRectangles) {
  EXPECT_TRUE(WithinBounds(2, 3, 1));
  EXPECT_FALSE(WithinBounds(4, 3, 1));
  EXPECT_EQ(ConfineValue(5, 3, 1), 3);
  EXPECT_EQ(ConfineValue(-5.0, 3.0, 1.0), 1.0);
  EXPECT_EQ(ConfineValue(2.5f, 1.0f, 3.0f), 2.5f);
  const TRectDouble R{4, 0, 0, 2};  // not normalised
  EXPECT_TRUE(WithinRect({4, 2}, R));
  EXPECT_FALSE(WithinRect({4.1, 2}, R));
  TPointDouble P{5, -1};
  EXPECT_TRUE(ConfinePointToRect(P, R));
  EXPECT_EQ(P.X, 4);
  EXPECT_EQ(P.Y, 0);
  EXPECT_FALSE(ConfinePointToRect(P, R));
  const TRect Screen{0, 0, 10, 10};
  EXPECT_EQ(DistFromRect({13, 14}, Screen), 5);
  EXPECT_EQ(DistFromRect({5, -3}, Screen), 3);
  EXPECT_EQ(DistFromRect({12, 5}, Screen), 2);
  EXPECT_EQ(DistFromRect({10, 10}, Screen), 0);
  EXPECT_EQ(DistFromRect({INT32_MIN, 5}, {0, 0, INT32_MAX, 10}), INT32_MAX);  // saturated
  EXPECT_EQ(EuclideanDistance(TPointDouble{0, 0}, TPointDouble{3, 4}), 5);
}

TEST(Series125, RoundingExamples) {
  EXPECT_EQ(Round125(0.7), 0.5);
  EXPECT_EQ(Round125(2.9), 2);
  EXPECT_EQ(Round125(3), 5);
  EXPECT_EQ(Round125(-80), -100);
  EXPECT_EQ(RoundPos125(1.2), 2);
  EXPECT_EQ(RoundPos125(-1.2), -1);
  EXPECT_EQ(RoundNeg125(1.2), 1);
  EXPECT_EQ(RoundNeg125(-1.2), -2);
  EXPECT_EQ(RoundPos125(100), 100);
  EXPECT_EQ(RoundPos125(200), 200);  // a series value stays itself
  EXPECT_EQ(RoundNeg125(0.02), 0.02);
  EXPECT_EQ(RoundPos125(5e-7), 5e-7);
  EXPECT_EQ(RoundPos125(1000 * (1 + 2e-14)), 1000);  // documented snap: "up" lands just below
  EXPECT_EQ(RoundPos125(1000 * (1 + 1e-12)), 2000);
  EXPECT_EQ(Round125(0), 0);
  EXPECT_TRUE(std::isnan(Round125(NAN)));
}

struct TScale {
  long double First, Dist;
  uint16_t Minor;
};

TScale Scale(int32_t NTicks, long double Low, long double High) {
  TScale S{};
  CalcScalePars(NTicks, Low, High, S.First, S.Dist, S.Minor);
  return S;
}

TEST(AxisScale, Examples) {
  struct TCase {
    int32_t NTicks;
    long double Low, High, First, Dist;
    uint16_t Minor;
  };
  const TCase Cases[] = {
      {4, 0, 10, 0, 2, 4},
      {5, 0, 10, 0, 1, 5},  // a raw distance of exactly 2 falls to the lower series value
      {4, 0, 1, 0, 0.2L, 4},
      {4, 10, 0, 10, -2, 4},  // descending: negative distance
      {3, 7, 7, 7, 0, 1},     // empty range
      {0, 2.5, 9, 3, 1, 5},   // no tick count: a distance of 1
  };
  for (const TCase& C : Cases) {
    const TScale S = Scale(C.NTicks, C.Low, C.High);
    EXPECT_EQ(S.First, C.First) << C.NTicks << " " << static_cast<double>(C.Low);
    EXPECT_EQ(S.Dist, C.Dist) << C.NTicks << " " << static_cast<double>(C.Low);
    EXPECT_EQ(S.Minor, C.Minor) << C.NTicks << " " << static_cast<double>(C.Low);
  }
  for (long double Bad : {static_cast<long double>(NAN), static_cast<long double>(INFINITY)}) {
    EXPECT_EQ(Scale(4, 0, Bad).Dist, 0);  // no ticks, and no undefined conversion of NaN
    EXPECT_EQ(Scale(4, Bad, 1).Minor, 1);
  }
}

TEST(AxisScale, RandomRangesGiveSeriesDistancesAndCloseFirstTicks) {
  std::mt19937_64 Gen(5);
  std::uniform_real_distribution<double> Exponent(-8, 8), Unit(-1, 1);
  std::uniform_int_distribution<int32_t> Ticks(1, 20);
  for (int i = 0; i < 20000; ++i) {
    const double Span = std::pow(10.0, Exponent(Gen));
    const long double Low = Unit(Gen) * Span * 5;
    const long double High = Low + Span * (Unit(Gen) < 0 ? -1 : 1);
    const int32_t N = Ticks(Gen);
    const TScale S = Scale(N, Low, High);
    const long double D = std::fabs(S.Dist);
    // 1, 2 or 5 times a power of ten
    const long double M = D / std::pow(10.0L, std::floor(std::log10(D) + 1e-12L));
    ASSERT_TRUE(std::fabs(M - 1) < 1e-12L || std::fabs(M - 2) < 1e-12L || std::fabs(M - 5) < 1e-12L)
        << static_cast<double>(D);
    ASSERT_GE(std::fabs(High - Low) / D, N * (1 - 1e-9L));  // at least NTicks intervals
    const long double Before = (High > Low ? Low - S.First : S.First - Low) / D;
    ASSERT_LE(Before, 0.001L + 1e-9L);          // not before the low end...
    ASSERT_GT(Before, -1.0L + 0.001L - 1e-9L);  // ...and the first such tick
  }
}

TEST(RandomVariates, GaussianMomentsAndReproducibility) {
  SetRandSeed(2024);
  const int N = 1'000'000;
  long double Sum = 0, SumSq = 0;
  for (int i = 0; i < N; ++i) {
    const double G = GRandom();
    Sum += G;
    SumSq += static_cast<long double>(G) * G;
  }
  const double Mean = static_cast<double>(Sum / N);
  const double Var = static_cast<double>(SumSq / N - (Sum / N) * (Sum / N));
  EXPECT_NEAR(Mean, 0, 5 * 1 / std::sqrt(N));   // standard error 1/sqrt(N)
  EXPECT_NEAR(Var, 1, 5 * std::sqrt(2.0 / N));  // standard error sqrt(2/N)
}

TEST(RandomVariates, BernoulliAndCauchy) {
  SetRandSeed(1);
  int Hits = 0;
  for (int i = 0; i < 100000; ++i) Hits += BRandom(0.3);
  EXPECT_NEAR(Hits, 30000, 5 * std::sqrt(100000 * 0.3 * 0.7));
  EXPECT_TRUE(BRandom(1.0));
  EXPECT_FALSE(BRandom(0.0));
  int Below = 0;
  for (int i = 0; i < 100000; ++i) Below += CRandom(3, 2) < 3;  // the median is Location
  EXPECT_NEAR(Below, 50000, 5 * std::sqrt(25000.0));
}

TEST(RandomVariates, LongRandFollowsItsRecurrence) {
  // Python model of the recurrence (32-bit wrapping shifts), see the comments in the source.
  EXPECT_NEAR(LongRand(12345), 0.9918772283555497, 1e-15);
  EXPECT_NEAR(LongRand(0), 0.7858948414495446, 1e-15);
  EXPECT_NEAR(LongRand(0), 0.2971496983237336, 1e-15);
  EXPECT_NEAR(LongRand(-7), 0.05906895934284684, 1e-15);
  for (int i = 0; i < 10000; ++i) {
    const double R = LongRand(0);
    ASSERT_TRUE(R >= 0 && R < 1);
  }
}

}  // namespace
}  // namespace zeq
