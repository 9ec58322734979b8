// Student's t quantiles and the F distribution against 40-digit references.
#include "zeq/statis/statis.h"
#include "zeq/testing/test_util.h"

namespace zeq {
namespace {

TEST(StudentT, QuantilesAgainstFortyDigitReferences) {
  // zeq/statis/testdata/t_quantiles.txt: mpmath references over df 1..1e6 and p 1e-12..1 -
  // 1e-12, and near the median down to |p - 1/2| = 1e-15, where the relative accuracy holds too.
  double Worst = 0;
  for (const std::string& Line : test::DataLines("zeq/statis/testdata/t_quantiles.txt")) {
    std::istringstream In(Line);
    double Df, P;
    long double Ref;
    In >> Df >> P >> Ref;
    const double Rel = static_cast<double>(std::fabs((tDistriQuantile(P, Df) - Ref) / Ref));
    Worst = std::max(Worst, Rel);
    EXPECT_LT(Rel, 1e-13) << "df " << Df << " p " << P;
  }
  RecordProperty("worst_relative_error", std::to_string(Worst));
  EXPECT_EQ(tDistriQuantile(0.5, 7), 0);
  EXPECT_EQ(tDistriQuantile(0, 7), -HUGE_VAL);
  EXPECT_TRUE(std::isnan(tDistriQuantile(0.3, 0)));
  EXPECT_TRUE(std::isnan(tDistriQuantile(1.5, 3)));
}

TEST(StudentT, IntegralInvertsTheQuantile) {
  for (double Df : {1.0, 2.5, 7.0, 40.0, 3000.0})
    for (double P : {1e-9, 0.003, 0.2, 0.5, 0.77, 0.999}) {
      const double T = tDistriQuantile(P, Df);
      EXPECT_NEAR(tDistriIntegral(T, Df), P, 1e-14 * std::max(P, 1e-3)) << Df << " " << P;
      EXPECT_NEAR(tDistriIntegral(-T, Df), 1 - P, 1e-14) << Df << " " << P;
    }
}

TEST(StudentT, HugeDegreesOfFreedomFollowTheNormal) {
  // mpmath (50 digits) from the regularized incomplete beta; the normal from scipy.stats.norm.
  EXPECT_NEAR(tDistriQuantile(0.975, 1e9), 1.9599639869123254686, 1e-15);
  EXPECT_NEAR(tDistriQuantile(0.975, 1e12), 1.9599639845424265068, 1e-15);
  EXPECT_NEAR(tDistriIntegral(2, 1e9), 0.97724986791684337645, 1e-16);
  for (double Df : {1e100, 1e308, static_cast<double>(INFINITY)}) {
    EXPECT_NEAR(tDistriQuantile(0.975, Df), 1.959963984540054, 1e-15) << Df;
    EXPECT_NEAR(tDistriQuantile(1e-10, Df), -6.361340902404056, 1e-14) << Df;
    EXPECT_NEAR(tDistriIntegral(2, Df), 0.9772498680518208, 1e-16) << Df;
  }
}

TEST(FDistribution, TailsAgainstScipy) {
  // scipy.stats.f.sf(f, d1, d2)
  EXPECT_NEAR(fDistriUpperTail(3.0, 2, 10), 0.095367431640625,
              1e-16);  // (1 + 2 * 3 / 10)^-5 exactly
  EXPECT_NEAR(fDistriUpperTail(1.5, 5, 7), 0.3014864545528842, 1e-15);
  EXPECT_NEAR(fDistriUpperTail(50.0, 3, 100) / 7.944424679087594e-20, 1, 1e-12);
  EXPECT_NEAR(fDistriUpperTail(21.0, 8, 180) / 2.583264337268987e-22, 1, 1e-12);
  EXPECT_NEAR(fDistriIntegral(1.5, 5, 7) + fDistriUpperTail(1.5, 5, 7), 1, 1e-15);
  EXPECT_EQ(fDistriUpperTail(0, 2, 3), 1);
  EXPECT_EQ(fDistriIntegral(-1, 2, 3), 0);
  EXPECT_GE(fDistriIntegral(1.03e-13, 1.04e-13, 2.0e-317), 0);  // never below 0 for tiny df
  EXPECT_TRUE(std::isnan(fDistriIntegral(1, -2, 3)));
}

}  // namespace
}  // namespace zeq
