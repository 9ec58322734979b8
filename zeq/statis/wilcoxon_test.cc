// Critical values of the Wilcoxon signed-rank statistic against the exact distribution (Python
// integers), R's qsignrank and an independent evaluation of the fit and the approximation.
#include "zeq/statis/internal/signed_rank_table.h"
#include "zeq/statis/statis.h"
#include "zeq/testing/test_util.h"

namespace zeq {
namespace {

// Rows "T n c1..c5 q1..q5": exact critical values and R's qsignrank(alpha / 2, n); rows
// "Q n v1..v10": WilcoxonSRQuantile(n, alpha, true) at the levels of the file's header, by
// numpy.polyfit / scipy.stats.norm.ppf (see the file).
struct TReference {
  std::vector<std::vector<double>> Table, Quantiles;
};

const TReference& Reference() {
  static const TReference R = [] {
    TReference Ref;
    for (const std::string& Line : test::DataLines("zeq/statis/testdata/signed_rank.txt"))
      (Line[0] == 'T' ? Ref.Table : Ref.Quantiles).push_back(test::Numbers(Line.substr(2)));
    return Ref;
  }();
  return R;
}

TEST(WilcoxonTable, EqualsTheExactDistributionAndQsignrank) {
  ASSERT_EQ(Reference().Table.size(), 95u);
  for (const std::vector<double>& Row : Reference().Table) {
    const auto n = static_cast<int32_t>(Row[0]);
    for (int32_t Level = 0; Level < 5; ++Level) {
      const int32_t t = detail::SignedRankCriticalValue(n, Level);
      EXPECT_EQ(t, Row[1 + Level]) << "n " << n << " level " << Level;
      // P(T <= t) = alpha / 2 never holds exactly (5 divides no power of two), so the table
      // value lies one below R's quantile, or is 0.
      EXPECT_EQ(t, std::max(Row[6 + Level] - 1, 0.0)) << "n " << n << " level " << Level;
    }
  }
  EXPECT_EQ(detail::SignedRankCriticalValue(5, 0), -1);
  EXPECT_EQ(detail::SignedRankCriticalValue(101, 0), -1);
  EXPECT_EQ(detail::SignedRankCriticalValue(50, 5), -1);
}

TEST(WilcoxonSRQuantile, FitAndNormalApproximationAgreeWithIndependentEvaluation) {
  const double Levels[] = {0.0005, 0.001, 0.005, 0.01, 0.02, 0.03, 0.05, 0.1, 0.15, 0.2};
  for (const std::vector<double>& Row : Reference().Quantiles) {
    const auto n = static_cast<int32_t>(Row[0]);
    // Above 1000 observations the 1e-8 tolerance of the normal quantile moves the unrounded
    // value by up to 0.3, so the rounded one may differ by 1.
    const double Tolerance = n > 1000 ? 1 : 0;
    for (int j = 0; j < 10; ++j)
      EXPECT_NEAR(WilcoxonSRQuantile(n, Levels[j], true), Row[1 + j], Tolerance)
          << "n " << n << " alpha " << Levels[j];
  }
}

TEST(WilcoxonSRQuantile, OneSidedIsTwoSidedAtTwiceTheLevel) {
  for (int32_t n = 8; n <= 100; ++n)
    for (double Alpha : {0.0005, 0.004, 0.025, 0.05, 0.1})
      EXPECT_EQ(WilcoxonSRQuantile(n, Alpha, false), WilcoxonSRQuantile(n, 2 * Alpha, true))
          << n << " " << Alpha;
  // Above 100 both use the normal quantile of the same tail.
  EXPECT_EQ(WilcoxonSRQuantile(500, 0.025, false), WilcoxonSRQuantile(500, 0.05, true));
}

// The ranges and limits of WilcoxonSRQuantile are rows of testdata/distribution_examples.txt.

}  // namespace
}  // namespace zeq
