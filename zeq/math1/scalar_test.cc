#include "zeq/math1/math1.h"
#include "zeq/testing/example_table.h"
#include "zeq/testing/test_util.h"

namespace zeq {
namespace {

using namespace test::table;

// The first Count arguments as numbers.
std::vector<double> Nums(A Args, size_t Count) {
  std::vector<double> V;
  for (size_t i = 0; i < Count; ++i) V.push_back(Num(Args[i]));
  return V;
}

TEST(ScalarExamples, TableOfCalls) {
  const std::vector<double> Table{0, 10, 20, 30, 40};
  test::RunExamples(
      "zeq/math1/testdata/scalar_examples.txt",
      ZEQ_CALLS(ListOfPrimes, IsPrime, Factorial, CheckPowerOfTwo, BitReversal, DecodeBit,
                DecodeLong, EncodeLong, CountBits, GrayCode, Roman, lg, ld, tgh, sinh, cosh, tg,
                cot, Signum, IntPos, IntNeg, Min, Max, AngleToXAxis, CanonicalAngleDegrees,
                CanonicalAngleRadians, WithinBounds, Round125, RoundPos125, RoundNeg125,
                InterpolZofXYRect),
      {{"LnFactorial", [](A a) { return Show(std::log(Factorial(Int(a[0])))); }},
       {"ConvertEndianInt", Call<int32_t, int32_t>(ConvertEndian)},
       {"ConvertEndianWord", Call<uint16_t, uint16_t>(ConvertEndian)},
       {"ConvertEndianTwiceDouble",
        [](A a) { return Show(ConvertEndian(ConvertEndian(Num(a[0])))); }},
       {"ConvertEndianTwiceFloat",
        [](A a) { return Show(ConvertEndian(ConvertEndian(static_cast<float>(Num(a[0]))))); }},
       {"ConfineValue", Call<double, double, double, double>(ConfineValue)},
       {"ConfineValueInt", Call<int32_t, int32_t, int32_t, int32_t>(ConfineValue)},
       {"ConfineValueFloat", Call<float, float, float, float>(ConfineValue)},
       {"DistFromRect",
        [](A a) {
          return Show(
              DistFromRect({Int(a[0]), Int(a[1])}, {Int(a[2]), Int(a[3]), Int(a[4]), Int(a[5])}));
        }},
       {"EuclideanDistance",
        [](A a) {
          return Show(EuclideanDistance({Num(a[0]), Num(a[1])}, {Num(a[2]), Num(a[3])}));
        }},
       {"Polynomial", [](A a) { return Show(Polynomial(Nums(a, 3), Int(a[3]), Num(a[4]))); }},
       {"CenteredPolynomial",
        [](A a) { return Show(CenteredPolynomial(Nums(a, 3), Int(a[3]), Num(a[4]), Num(a[5]))); }},
       {"InterpolTable",
        [&](A a) { return Show(InterpolTable(Num(a[0]), Num(a[1]), Num(a[2]), Table)); }},
       {"InterpolXYTable", [](A a) { return Show(InterpolXYTable(Num(a[0]), ListRows(a[1]))); }},
       {"FindPrimeFactors",
        [](A a) {
          TIntArray F{99};
          FindPrimeFactors(Int(a[0]), F);
          return Show(F);
        }},
       {"CancelFraction",
        [](A a) {
          int32_t n = Int(a[0]), d = Int(a[1]);
          CancelFraction(n, d);
          return Show(n, d);
        }},
       {"ConfinePointToRect",  // x y left top right bottom -> "changed x y within"
        [](A a) {
          const std::vector<double> V = Nums(a, 6);
          TPointDouble P{V[0], V[1]};
          const TRectDouble R{V[2], V[3], V[4], V[5]};
          const bool Within = WithinRect(P, R), Changed = ConfinePointToRect(P, R);
          return Show(Changed, P.X, P.Y, Within);
        }},
       {"CalcScalePars", [](A a) {
          long double First, Dist;
          uint16_t Minor;
          CalcScalePars(Int(a[0]), Num(a[1]), Num(a[2]), First, Dist, Minor);
          return Show(First, Dist, Minor);
        }}});
}

TEST(Interpolation, OtherTables) {
  const std::vector<int32_t> I{0, 100};
  EXPECT_EQ(InterpolTable(0.25, 0, 1, I), 25);
  test::ExpectThrowMessage<EZEQMath1Error>(
      [] { InterpolTable(1, 0, 4, std::vector<double>{1}); },
      "InterpolTable: pivot array must contain at least 2 values");
}

TEST(Primes, SieveAgreesWithTheTableAndFactors) {
  // Every tabled prime passes IsPrime and nothing between neighbours does.
  for (int32_t i = 1; i < 4792; ++i) {
    ASSERT_TRUE(IsPrime(ListOfPrimes(i)));
    for (int32_t n = ListOfPrimes(i) + 1; n < ListOfPrimes(i + 1); ++n)
      ASSERT_FALSE(IsPrime(n)) << n;
  }
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

// Draws land within five standard errors of their distribution's moments and quartiles.
TEST(RandomVariates, GaussianBernoulliAndCauchy) {
  SetRandSeed(2024);
  const int N = 1'000'000;
  long double Sum = 0, SumSq = 0;
  int Hits = 0, Below = 0, BelowUpperQuartile = 0;
  for (int i = 0; i < N; ++i) {
    const double G = GRandom(), C = CRandom(3, 2);
    Sum += G, SumSq += static_cast<long double>(G) * G;
    Hits += BRandom(0.3);
    Below += C < 3;               // the median is Location...
    BelowUpperQuartile += C < 5;  // ...and the upper quartile Location + Scale
  }
  EXPECT_NEAR(static_cast<double>(Sum / N), 0, 5 / std::sqrt(N));
  EXPECT_NEAR(static_cast<double>(SumSq / N - (Sum / N) * (Sum / N)), 1, 5 * std::sqrt(2.0 / N));
  EXPECT_NEAR(Hits, 0.3 * N, 5 * std::sqrt(N * 0.3 * 0.7));
  EXPECT_NEAR(Below, N / 2, 5 * std::sqrt(N * 0.25));
  EXPECT_NEAR(BelowUpperQuartile, 0.75 * N, 5 * std::sqrt(N * 0.75 * 0.25));
  EXPECT_TRUE(BRandom(1.0) && !BRandom(0.0));
}

TEST(RandomVariates, LongRandFollowsItsRecurrence) {
  // Python model of the recurrence (32-bit wrapping shifts), see the comments in the source.
  const std::pair<int32_t, double> Draws[] = {{12345, 0.9918772283555497},
                                              {0, 0.7858948414495446},
                                              {0, 0.2971496983237336},
                                              {-7, 0.05906895934284684}};
  for (auto [Seed, R] : Draws) EXPECT_NEAR(LongRand(Seed), R, 1e-15) << Seed;
  for (int i = 0; i < 10000; ++i) {
    const double R = LongRand(0);
    ASSERT_TRUE(R >= 0 && R < 1);
  }
}

}  // namespace
}  // namespace zeq
