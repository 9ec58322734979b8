#include "zeq/math2/curvefit.h"

#include "zeq/testing/nist.h"
#include "zeq/testing/test_util.h"

namespace zeq {
namespace {

void Enter(TCurveFit& F, const std::vector<std::pair<double, double>>& Points) {
  for (auto [x, y] : Points) F.EnterStatValue(x, y);
}

using TValues = std::vector<double>;

TEST(CurveFit, FreshObjectGrowthAndRemoval) {
  TCurveFit F;
  EXPECT_EQ((TValues{F.MinX(), F.MaxX(), F.MeanX(), F.StdDevX()}),
            (TValues{DBL_MAX, -DBL_MAX, 0, 0}));
  Enter(F, {{1, 2}, {3, 7}});  // means, but no deviations or correlation below three points
  EXPECT_EQ((TValues{F.MeanX(), F.StdDevX(), F.CorrCoeff()}), (TValues{2, 0, 0}));
  F.Init();
  for (int i = 1; i <= 1001; ++i) F.EnterStatValue(i, -i);
  EXPECT_EQ((TValues{F.DataX(1001), F.DataX(0), F.DataX(1002)}), (TValues{1001, 0, 0}));
  F.RemoveStatValue(1001);  // the largest x: MaxX keeps it
  F.RemoveStatValue(300);   // the later points move up
  EXPECT_EQ((TValues{F.MaxX(), F.DataX(300), F.DataY(999)}), (TValues{1001, 301, -1000}));
  EXPECT_EQ(F.NumData(), 999);
  EXPECT_DOUBLE_EQ(F.MeanX(), (1000.0 * 1001 / 2 - 300) / 999);
}

TEST(CurveFit, StatisticsAgreeWithDirectFormulasAndSurviveFlipXY) {
  TCurveFit F;
  const std::vector<std::pair<double, double>> P{{1, 2.5}, {2, 2.9}, {4, 5.1}, {5, 4.4}, {7, 9.0}};
  Enter(F, P);
  // numpy: y.std(ddof=1), corrcoef(x, y)[0, 1], (x - y).mean(); scipy.stats.skew(y, bias=False)
  test::ExpectAllNear({F.StdDevY(), F.CorrCoeff(), F.MeanDiff(), F.SkewnessY()},
                      {2.5878562556679996, 0.9258027180532337, -0.98, 1.3615470802505918}, 1e-13);
  int32_t N;
  double MeanX, MeanY, SX, SY, MD, SD, r;
  F.CalcStatistics(N, MeanX, MeanY, SX, SY, MD, SD, r);
  EXPECT_EQ((TValues{static_cast<double>(N), r, SY}), (TValues{5, F.CorrCoeff(), F.StdDevY()}));
  const TValues Before{F.SkewnessY(), F.KurtosisY(), F.CorrCoeff(), F.MinX(), F.MaxY()};
  F.FlipXY();
  EXPECT_EQ(F.SkewnessX(), Before[0]);
  EXPECT_NEAR(F.MeanDiff(), 0.98, 1e-15);
  F.FlipXY();
  EXPECT_EQ((TValues{F.SkewnessY(), F.KurtosisY(), F.CorrCoeff(), F.MinX(), F.MaxY()}), Before);
  TCurveFit Flat;  // a constant y: r is undefined, hence 0
  Enter(Flat, {{1, 3}, {2, 3}, {3, 3}, {4, 3}});
  EXPECT_EQ(Flat.CorrCoeff(), 0);
}

TEST(CurveFit, DocumentedFitExamples) {
  TCurveFit F;
  double k, d, q, r, dx, dy, k0, k1, k2;
  test::ExpectThrowMessage<EZEQMath2Error>([&] { F.CalcLinFit(k, d, q); },
                                           "CalcLinFit: not enough data points");
  Enter(F, {{0, 1}, {1, 3}, {2, 5}});
  F.CalcLinFit(k, d, q);
  EXPECT_EQ((TValues{k, d, q}), (TValues{2, 1, 1}));
  F.Init();
  Enter(F, {{1, 1}, {1, 3}, {1, 5}});  // all x equal: zeros
  F.CalcLinFit(k, d, q);
  EXPECT_EQ((TValues{k, d}), (TValues{0, 0}));
  F.Init();  // the unit circle around (2, -1)
  for (int i = 0; i < 12; ++i) F.EnterStatValue(2 + std::cos(i * 0.5), -1 + std::sin(i * 0.5));
  F.CalcCircleFit(r, dx, dy);
  test::ExpectAllNear({r, dx, dy}, {1, 2, -1}, 1e-12);
  F.Init();
  Enter(F, {{0, 0}, {1, 1}, {2, 2}});
  test::ExpectThrowMessage<EZEQMath2Error>([&] { F.CalcCircleFit(r, dx, dy); },
                                           "CalcCircleFit: radius is infinite");
  F.RemoveStatValue(3);
  test::ExpectThrowMessage<EZEQMath2Error>([&] { F.CalcCircleFit(r, dx, dy); },
                                           "CalcCircleFit: not enough data points");
  test::ExpectThrowMessage<EZEQMath2Error>([&] { F.CalcParabolFit(k0, k1, k2, q); },
                                           "CalcParabolFit: not enough data points");
  F.Init();  // a perfect estimate: SSE = 0 and F = 1e10
  Enter(F, {{1, 1}, {2, 2}, {4, 4}, {8, 8}});
  int32_t dfreg, dfres, dftot;
  double SSE, SSR, SST, MSE, MSR, Fv;
  F.CalcAnovaReg(1, true, dfreg, dfres, dftot, SSE, SSR, SST, MSE, MSR, Fv);
  EXPECT_EQ((TValues{SSE, Fv, SSR - SST}), (TValues{0, 1e10, 0}));
  EXPECT_EQ((std::vector<int32_t>{dfreg, dfres, dftot}), (std::vector<int32_t>{1, 2, 3}));
}

TEST(CurveFit, RankStatisticsAgreeWithScipy) {
  TCurveFit F;
  const double X[] = {1, 2, 2, 3, 4, 5, 5, 5, 6, 7, 8, 9, 9, 10};
  const double Y[] = {2, 1, 3, 3, 5, 4, 6, 6, 8, 7, 9, 9, 12, 11};
  for (int i = 0; i < 14; ++i) F.EnterStatValue(X[i], Y[i]);
  double p;
  EXPECT_NEAR(F.KendallsTau(p), 0.8736209307562354, 1e-15);      // scipy.stats.kendalltau (tau-b)
  EXPECT_NEAR(F.SpearmanRankCorr(), 0.9633793691054536, 1e-15);  // scipy.stats.spearmanr
  EXPECT_NEAR(F.KruskalGamma(), (80.0 - 4.0) / 84.0, 1e-15);     // 80 concordant, 4 discordant
  // p from the normal approximation of tau with variance (4n + 10) / (9n (n - 1)).
  const double z = 0.8736209307562354 / std::sqrt((4 * 14.0 + 10) / (9 * 14.0 * 13));
  EXPECT_NEAR(p, std::erfc(z / std::sqrt(2.0)), 1e-6);
  F.Init();
  Enter(F, {{1, 1}, {2, 2}});
  EXPECT_EQ(std::pair(F.KendallsTau(p), p), std::pair(0.0, 0.0));
  for (int i = 3; i <= 9; ++i) F.EnterStatValue(i, i * i);  // the cache follows the change
  EXPECT_EQ(std::pair(F.KendallsTau(p), F.SpearmanRankCorr()), std::pair(1.0, 1.0));
}

TEST(CurveFit, MeanAnglesAndQuartiles) {
  const double Cases[][3] = {{90, 180, 135}, {300, 330, 315}, {150, 240, 195}};
  for (const auto& C : Cases) {
    TCurveFit F;
    Enter(F, {{C[0], 0}, {C[1], 0}});
    EXPECT_NEAR(F.MeanAngleX(), C[2], 1e-12);
  }
  TCurveFit F;
  double q1, q2, q3;
  EXPECT_FALSE(F.QuartilesY(q1, q2, q3));
  for (int i = 1; i <= 7; ++i) F.EnterStatValue(0, 8 - i);
  EXPECT_TRUE(F.QuartilesY(q1, q2, q3));
  EXPECT_EQ((TValues{q1, q2, q3}), (TValues{2, 4, 6}));
}

// Coefficients of sum kArray[j] (x - XShift)^j as powers of x, expanded in long double.
std::vector<double> RawPowers(const std::vector<double>& k, double XShift) {
  std::vector<long double> Raw(k.size(), 0.0L);
  for (size_t j = 0; j < k.size(); ++j) {
    long double Binom = 1;
    for (size_t i = 0; i <= j; ++i) {
      if (i > 0) Binom = Binom * static_cast<long double>(j - i + 1) / static_cast<long double>(i);
      Raw[j - i] +=
          k[j] * Binom * std::pow(-static_cast<long double>(XShift), static_cast<long double>(i));
    }
  }
  return {Raw.begin(), Raw.end()};
}

// The floors of each fit on each set: testdata/nist/poly_floors.txt.
TEST(CurveFit, NistPolynomialRegressionAccuracy) {
  for (const std::string& Line : test::DataLines("zeq/math2/testdata/nist/poly_floors.txt")) {
    const auto [Name, Floor] = test::NamedNumbers(Line);
    const auto Order = static_cast<uint8_t>(Floor[0]);
    SCOPED_TRACE(Name);
    const auto S = test::ReadNist("math2", Name);
    const std::vector<double> B = S.B();
    TCurveFit F;
    for (const auto& Row : S.Rows) F.EnterStatValue(Row[1], Row[0]);
    std::vector<double> k(Order + 1u);
    double Q, XShift = 0;
    bool NearSingular;
    const auto MinLRE = [&](const std::vector<double>& Coeffs) {
      double M = 15;
      for (size_t j = 0; j < Coeffs.size(); ++j) M = std::min(M, test::LRE(Coeffs[j], B[j]));
      return M;
    };
    ASSERT_TRUE(F.CalcPolyFit(Order, k, Q, NearSingular));
    EXPECT_GE(MinLRE(k), Floor[1]);
    ASSERT_TRUE(F.CalcCenteredPolyFit(Order, k, XShift, Q, NearSingular));
    EXPECT_FALSE(NearSingular);
    EXPECT_GE(MinLRE(RawPowers(k, XShift)), Floor[2]);
    EXPECT_NEAR(XShift, F.MeanX(), 1e-12 * std::fabs(F.MeanX()));
    if (Floor[3] > 0) {  // the closed forms: intercept and slope, or k0, k1 and k2
      std::vector<double> c(3);
      Order == 1 ? F.CalcLinFit(c[1], c[0], Q) : F.CalcParabolFit(c[0], c[1], c[2], Q);
      c.resize(Order + 1u);
      EXPECT_GE(MinLRE(c), Floor[3]);
    }
  }
}

TEST(CurveFit, PolynomialFitArgumentsAndAbort) {
  TCurveFit F;
  for (int i = 0; i < 10; ++i) F.EnterStatValue(i, 1 + 2 * i - 0.5 * i * i);
  std::vector<double> k(2);
  double Q;
  bool NearSingular;
  test::ExpectThrowMessage<EZEQMath2Error>([&] { F.CalcPolyFit(2, k, Q, NearSingular); },
                                           "CalcPolyFit: kArray must hold nOrder + 1 values");
  k.resize(3);
  ASSERT_TRUE(F.CalcPolyFit(2, k, Q, NearSingular));
  test::ExpectAllNear({k[0], k[1], k[2], Q}, {1, 2, -0.5, 1}, 1e-12);
  MathFeedBackProc = [](double) { AbortMathProc = true; };  // abort at the first progress step
  EXPECT_FALSE(F.CalcPolyFit(2, k, Q, NearSingular));
  MathFeedBackProc = nullptr;
  AbortMathProc = false;
  // NaN points terminate.
  F.EnterStatValue(std::nan(""), 3);
  EXPECT_TRUE(F.CalcPolyFit(2, k, Q, NearSingular));
}

std::string AscPath(const std::string& Name) { return test::TempPath("asc_" + Name); }
std::string WriteAsc(const std::string& Name, const std::string& Text) {
  test::WriteFile(AscPath(Name), Text);
  return AscPath(Name);
}

TEST(CurveFitAsc, ExportThenImportReproducesThePoints) {
  TCurveFit F, G;
  Enter(F, {{1.25, -3.5}, {2.125, 4}, {1e-3, 7.75}});
  const std::string P = AscPath("roundtrip");
  EXPECT_EQ(F.ExportAsASC(P, "two\nlines", 4), "");
  EXPECT_EQ(test::ReadFile(P).substr(0, 10), "two lines\n");
  EXPECT_EQ(G.ImportASC(P), 0);
  EXPECT_EQ((TValues{double(G.NumData()), G.DataX(2), G.DataY(1), G.DataX(3), G.MaxY(), G.MeanX()}),
            (TValues{3, 2.125, -3.5, 0.001, 7.75, double((1.25L + 2.125L + 0.001L) / 3)}));
  EXPECT_NE(F.ExportAsASC("/nonexistent-dir/x.asc", "", 2), "");
}

TEST(CurveFitAsc, BadFilesGiveCodesAndKeepThePoints) {
  TCurveFit F;
  Enter(F, {{5, 6}, {7, 8}});
  const std::string Dir = std::string(ZEQ_SOURCE_DIR) + "/zeq/math2/testdata/bad_asc/";
  for (const std::string& Line : test::DataLines("zeq/math2/testdata/bad_asc/codes.txt")) {
    const auto [Name, Code] = test::NamedNumbers(Line);
    EXPECT_EQ(std::tuple(F.ImportASC(Dir + Name), F.NumData(), F.DataY(2)),
              std::tuple(static_cast<int32_t>(Code[0]), 2, 8.0))
        << Name;
  }
  EXPECT_EQ(F.ImportASC(AscPath("does_not_exist")), -1);
  test::ExpectThrowMessage<EZEQMath2Error>(
      [&] { F.ImportASC(WriteAsc("three", "c\n3\n1\nFALSE FALSE FALSE\n1 2 3\n")); },
      "TCurveFit.ImportASC: number of columns must be 2 (is actually 3).");
  // Names, attributes and non-finite values are read; the sums describe the new points only.
  EXPECT_EQ(F.ImportASC(WriteAsc("full",
                                 "c\n2\n2\nTRUE TRUE TRUE\n\"x\" \"y\"\n1 \"a b\" inf 2\n"
                                 "2 \"c\" 3 nan\n")),
            0);
  EXPECT_EQ((TValues{double(F.NumData()), F.DataX(1), F.MinX()}), (TValues{2, INFINITY, 3}));
  EXPECT_TRUE(std::isnan(F.DataY(2)));
}

}  // namespace
}  // namespace zeq
