// Student's t quantiles against 40-digit references.
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

// The documented values, huge degrees of freedom and the F tails are rows of
// testdata/distribution_examples.txt.

}  // namespace
}  // namespace zeq
