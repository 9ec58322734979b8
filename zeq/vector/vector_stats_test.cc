#include "zeq/testing/nist.h"
#include "zeq/testing/test_util.h"
#include "zeq/testing/vector_test_util.h"
#include "zeq/vector/vector.h"

namespace zeq {
namespace {

// TVector cannot be copied; this builds one in place.
void FillVec(TVector& V, const std::vector<double>& Values) { test::FillWith(V, Values); }

#define VEC(name, ...) \
  TVector name;        \
  FillVec(name, {__VA_ARGS__})

// The examples of the statistics are rows of testdata/vector_examples.txt; these are the
// properties a row cannot show.
TEST(VectorStats, LongDoubleSumsProgressEventsAndTheOrderKept) {
  VEC(V, 1.0, 1e-16, 1e-16, 1e-16, 1e-16);
  double M, Var;
  V.MeanVar(0, 0, M, Var);
  EXPECT_GT(M * 5, 1.0);  // the 1e-16 are kept by the long double sum (Sum loses them)
  VEC(Three, 3, 1, 2);
  test::TChangeCounter Changes(Three);
  ProcStat = 0;
  EXPECT_EQ(Three.Percentile(50, 0, 0), 2);
  EXPECT_EQ(ProcStat, 3);         // the array sort's three comb-sort passes of (3, 1, 2)
  EXPECT_EQ(Three.GetVal(1), 3);  // the vector keeps its order
  double Mean, SD, Median, QDiff;
  Three.MeanCenter();
  Three.Standardize(Mean, SD);
  Three.QNormalize(75, Median, QDiff);
  EXPECT_EQ(Changes.Count, 0);  // centring and scaling do not notify
}

TEST(VectorIntegrate, SimpsonRulesAreExactForCubics) {
  // y = x^3 at x = 1..N: Simpson (m = 2), 3/8 (m = 3) and Boole (m = 4) integrate cubics
  // exactly; the extended rule (m >= 5) too, since its end corrections are third order.
  for (int N : {3, 4, 5, 6, 9, 12}) {
    TVector V;
    V.Resize(N);
    for (int i = 1; i <= N; ++i) V.SetVal(i, std::pow(i, 3));
    const double Exact = (std::pow(N, 4) - 1) / 4;
    EXPECT_NEAR(V.Integrate(1, N, imSimpson), Exact, 1e-9 * Exact) << N;
  }
}

// NIST StRD univariate sets: the mean and the standard deviation to the digits of
// testdata/nist/sd_floors.txt.
TEST(VectorNist, MeanAndStandardDeviationAccuracy) {
  for (const std::string& Line : test::DataLines("zeq/vector/testdata/nist/sd_floors.txt")) {
    const auto [Name, SDFloor] = test::NamedNumbers(Line);
    const test::TNistSet S = test::ReadNist("vector", Name);
    TVector V;
    FillVec(V, S.Column(0));
    double M, Var;
    V.MeanVar(0, 0, M, Var);
    EXPECT_GE(test::LRE(M, S.Line("Sample Mean")[0]), 14) << Name;
    EXPECT_GE(test::LRE(std::sqrt(Var), S.Line("Sample Standard Deviation")[0]), SDFloor[0])
        << Name;
  }
}

}  // namespace
}  // namespace zeq
