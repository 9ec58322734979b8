// TRandGen: the table, the densities of its shapes and the distribution of its draws.
#include "zeq/statis/internal/exact_densities.h"
#include "zeq/statis/statis.h"
#include "zeq/testing/test_util.h"

namespace zeq {
namespace {

TEST(RandGen, DensitiesAgainstFortyDigitReferences) {
  for (const std::string& Line : test::DataLines("zeq/statis/testdata/densities.txt")) {
    std::istringstream In(Line);
    std::string Kind;
    long double Df1, Df2, X, Ref;
    In >> Kind >> Df1 >> Df2 >> X >> Ref;
    const long double Got = Kind == "t"      ? detail::TDensityExact(X, Df1)
                            : Kind == "chi2" ? detail::Chi2DensityExact(X, Df1)
                                             : detail::FDensityExact(X, Df1, Df2);
    EXPECT_LT(static_cast<double>(std::fabs(Got / Ref - 1)), 1e-12) << Line;
  }
}

// A table of n points over [Low, High].
void Frame(TRandGen& G, int32_t n, double Low, double High) {
  G.SetResolution(n);
  G.SetLowBorder(Low);
  G.SetHighBorder(High);
}

TEST(RandGen, ShapesFillTheDensityAtEachPointAndIgnoreInvalidArguments) {
  TRandGen G;
  Frame(G, 20, -4, 6);
  G.tDistri(3);
  for (int32_t i : {1, 9, 20})
    EXPECT_EQ(G.GetProbability(i), static_cast<double>(detail::TDensityExact(G.GetLambda(i), 3)));
  G.WeibullDistri(1.5, 2);
  EXPECT_EQ(G.GetProbability(1), 0);  // negative lambda
  EXPECT_EQ(G.GetProbability(11), WeibullDensity(1, 1.5, 2));
  G.NormalDistri(1, 2);
  EXPECT_EQ(G.GetProbability(1), std::exp(-25.0 / 8));
  for (auto Invalid :
       {+[](TRandGen& R) { R.tDistri(0); }, +[](TRandGen& R) { R.Chi2Distri(-1); },
        +[](TRandGen& R) { R.FDistri(3, NAN); }, +[](TRandGen& R) { R.NormalDistri(0, 0); },
        +[](TRandGen& R) { R.WeibullDistri(INFINITY, 1); }}) {
    Invalid(G);
    EXPECT_EQ(G.GetProbability(11), 1.0);  // lambda_11 = 1, the mean of the normal shape
  }
  Frame(G, 10, 0, 5);  // infinite densities at 0 become the mean density of the first bin
  G.Chi2Distri(1);
  EXPECT_NEAR(G.GetProbability(1), std::erf(0.5) / 0.5, 1e-8);  // P(X <= 0.5) / 0.5
  G.FDistri(1, 4);
  EXPECT_NEAR(G.GetProbability(1), fDistriIntegral(0.5, 1, 4) / 0.5, 1e-15);
}

TEST(RandGen, TableAccessorsClampAndAnswerNeutrally) {
  TRandGen G;
  EXPECT_EQ(G.Resolution(), 500);
  for (auto [Asked, Kept] : {std::pair{5, 10}, {5000, 4000}, {40, 40}}) {
    G.SetResolution(Asked);
    EXPECT_EQ(G.Resolution(), Kept);
  }
  for (auto [i, p, Stored] : {std::tuple{3, 1.7, 1.0}, {3, -0.2, 0.0}, {4, NAN, 0.0}}) {
    G.SetProbability(i, p);
    EXPECT_EQ(G.GetProbability(i), Stored) << p;
  }
  G.SetProbability(41, 0.5);  // ignored
  EXPECT_EQ(G.GetProbability(41), 0.0);
  Frame(G, 40, 2, 6);
  EXPECT_EQ(G.GetProbability(3), 1.0);  // a new resolution restores the flat table
  EXPECT_EQ((std::tuple{G.GetLambda(0), G.GetLambda(41), G.GetLambda(11)}), (std::tuple{2, 6, 3}));
  for (auto [x, Index] : {std::pair{1.99, 0}, {2.0, 1}, {3.0, 11}, {5.99, 40}, {6.0, 41}, {NAN, 0}})
    EXPECT_EQ(G.IndexOfLambda(x), Index) << x;
  G.SetHighBorder(2);  // degenerate borders
  EXPECT_EQ(G.IndexOfLambda(2), 1);
}

TEST(RandGen, NormalizeAndStandardize) {
  TRandGen G;
  const auto Fill = [&](auto Value) {
    for (int32_t i = 1; i <= 10; ++i) G.SetProbability(i, Value(i));
  };
  G.SetResolution(10);
  Fill([](int32_t) { return 0.5; });
  G.Normalize();  // constant: unchanged
  EXPECT_EQ(G.GetProbability(7), 0.5);
  Fill([](int32_t i) { return 0.1 * i - 0.05; });
  G.Normalize();
  EXPECT_EQ((std::tuple{G.GetProbability(1), G.GetProbability(10)}), (std::tuple{0.0, 1.0}));
  EXPECT_NEAR(G.GetProbability(4), 1.0 / 3, 1e-15);
  Fill([](int32_t) { return 0.0; });
  EXPECT_FALSE(G.Standardize());
  Fill([](int32_t i) { return i / 20.0; });
  EXPECT_TRUE(G.Standardize());
  EXPECT_EQ(G.GetProbability(5), 0.5);
}

TEST(RandGen, ZeroTableReturnsTheLastOf100001Candidates) {
  TRandGen G;
  Frame(G, 10, -1, 3);
  for (int32_t i = 1; i <= 10; ++i) G.SetProbability(i, 0);
  SetRandSeed(77);
  const double x = G.GetRandNum();
  SetRandSeed(77);  // replay: each attempt draws k, u and the acceptance value
  int32_t k = 0;
  double u = 0;
  for (int Attempt = 0; Attempt < 100001; ++Attempt) {
    k = Random(10) + 1;
    u = Random();
    Random();
  }
  EXPECT_EQ(x, -1 + (k - 1 + u) * 4.0 / 10);
  G.SetLowBorder(0);
  G.SetHighBorder(0);
  G.UniformDistri();
  EXPECT_EQ(G.Random(), 0.0);
}

// The chi-square statistic of draws from Source binned by table point, against the
// piecewise-linear density of Model's table (falling to 0 in the last bin).
double ChiSquareOfDraws(const TRandGen& Model, const TRandGen& Source, int32_t Draws) {
  const int32_t n = Model.Resolution();
  std::vector<double> Mass(n), Count(n + 2);
  double Total = 0;
  for (int32_t k = 1; k <= n; ++k)
    Total += Mass[k - 1] =
        (Model.GetProbability(k) + (k < n ? Model.GetProbability(k + 1) : 0)) / 2;
  for (int32_t d = 0; d < Draws; ++d) ++Count[Model.IndexOfLambda(Source.GetRandNum())];
  EXPECT_EQ(Count[0] + Count[n + 1], 0);
  double Chi2 = 0;
  for (int32_t k = 1; k <= n; ++k) {
    const double Expected = Draws * Mass[k - 1] / Total;
    Chi2 += (Count[k] - Expected) * (Count[k] - Expected) / Expected;
  }
  return Chi2;
}

// scipy.stats.chi2.isf(1e-6, 39): a correct sampler exceeds it once in a million seeds.
constexpr double Chi2Threshold = 96.12556491301818;

TEST(RandGen, DrawsFollowEveryShape) {
  struct TCase {
    const char* Name;
    double Low, High;
    void (*Shape)(TRandGen&);
  };
  const TCase Cases[] = {
      {"uniform", 2, 6, [](TRandGen&) {}},
      {"normal", -5, 7, [](TRandGen& G) { G.NormalDistri(1, 2); }},
      {"t", -6, 6, [](TRandGen& G) { G.tDistri(3); }},
      {"chi2", 0, 16, [](TRandGen& G) { G.Chi2Distri(4); }},
      {"F", 0, 6, [](TRandGen& G) { G.FDistri(5, 10); }},
      {"Weibull", 0, 6, [](TRandGen& G) { G.WeibullDistri(1.5, 2); }},
  };
  for (const TCase& C : Cases) {
    TRandGen G;
    Frame(G, 40, C.Low, C.High);
    C.Shape(G);
    G.Standardize();
    SetRandSeed(20261206);
    EXPECT_LT(ChiSquareOfDraws(G, G, 100000), Chi2Threshold) << C.Name;
  }
}

}  // namespace
}  // namespace zeq
