// Student's t quantiles and the F distribution against 40-digit references.
#include "zeq/statis/statis.h"
#include "zeq/testing/test_util.h"

namespace zeq {
namespace {

TEST(StudentT, QuantilesAgainstFortyDigitReferences) {
  // zeq/statis/testdata/t_quantiles.txt: mpmath references over df 1..1e6 and p 1e-12..1 -
  // 1e-12, and near the median down to |p - 1/2| = 1e-15, where the relative accuracy holds too.
  for (const std::string& Line : test::DataLines("zeq/statis/testdata/t_quantiles.txt")) {
    std::istringstream In(Line);
    double Df, P;
    long double Ref;
    In >> Df >> P >> Ref;
    EXPECT_LT(static_cast<double>(std::fabs((tDistriQuantile(P, Df) - Ref) / Ref)), 1e-13)
        << "df " << Df << " p " << P;
  }
}

TEST(StudentT, IntegralInvertsTheQuantile) {
  for (double Df : {1.0, 2.5, 7.0, 40.0, 3000.0})
    for (double P : {1e-9, 0.003, 0.2, 0.5, 0.77, 0.999}) {
      const double T = tDistriQuantile(P, Df);
      EXPECT_NEAR(tDistriIntegral(T, Df), P, 1e-14 * std::max(P, 1e-3)) << Df << " " << P;
      EXPECT_NEAR(tDistriIntegral(-T, Df), 1 - P, 1e-14) << Df << " " << P;
    }
}

TEST(FDistribution, NeverBelowZeroForTinyDegreesOfFreedom) {
  EXPECT_GE(fDistriIntegral(1.03e-13, 1.04e-13, 2.0e-317), 0);
}

// The documented values, huge degrees of freedom and the F tails are rows of
// testdata/distribution_examples.txt.

}  // namespace
}  // namespace zeq
