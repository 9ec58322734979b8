#include "zeq/math1/math1.h"
#include "zeq/testing/test_util.h"

namespace zeq {
namespace {

using TMinMax = std::tuple<int32_t, double, double, int32_t, int32_t>;  // status, min, max, indices

TMinMax MinMax1(const std::vector<double>& D, int32_t Lo, int32_t Hi) {
  double Min, Max;
  int32_t MinIx, MaxIx;
  const int32_t Status = MinMaxOfArray(D, Lo, Hi, Min, Max, MinIx, MaxIx);
  return {Status, Min, Max, MinIx, MaxIx};
}

TEST(MinMaxOfArray, FirstOccurrenceWinsAndNaNIsNeverTaken) {
  EXPECT_EQ(MinMax1({3, 1, 4, 1, 5}, 0, 4), TMinMax(0, 1, 5, 1, 4));
  EXPECT_EQ(MinMax1({NAN, 2, NAN, -7}, 0, 3), TMinMax(0, -7, 2, 3, 1));
}

TEST(MinMaxOfArray, InvalidAndEmptyRangesKeepTheStartValues) {
  for (auto [Lo, Hi, Status] : {std::tuple{0, 5, -1}, {-1, 2, -1}, {3, 1, 0}})
    EXPECT_EQ(MinMax1({3, 1, 4, 1, 5}, Lo, Hi), TMinMax(Status, DBL_MAX, -DBL_MAX, 0, 0)) << Lo;
  EXPECT_EQ(std::get<0>(MinMax1({}, 0, 0)), -1);
}

TEST(MinMaxOfArray, TwoDimensionalRectangle) {
  const TDouble2DArray D{{1, 9, 2}, {8, 0, 7}, {6, 9, -1}};
  double Min, Max;
  int32_t I0, J0, I1, J1;
  const auto Status = [&](const TDouble2DArray& A, int32_t L1, int32_t L2, int32_t H1, int32_t H2) {
    return MinMaxOfArray(A, L1, L2, H1, H2, Min, Max, I0, J0, I1, J1);
  };
  EXPECT_EQ(Status(D, 0, 1, 1, 2), 0);
  // (0, 1) holds 9 and comes before (2, 1) in the outer loop
  EXPECT_EQ(std::tuple(Min, I0, J0, Max, I1, J1), std::tuple(0.0, 1, 1, 9.0, 0, 1));
  EXPECT_EQ(Status(D, 0, 0, 3, 2), -1);
  EXPECT_EQ(Status(D, 0, 0, 2, 3), -1);
  EXPECT_EQ(Status({{1, 2, 3}, {4}}, 0, 0, 1, 2), -1);  // ragged
  EXPECT_EQ(Status({}, 0, 0, 0, 0), -1);
}

TEST(MeanVarOfArray, OnePassFormulaOneForFewValuesAndInvalidRanges) {
  double Mean = 5, Var = 5;
  const auto MV = [&](const std::vector<double>& D, int32_t Lo, int32_t Hi) {
    const int32_t Status = MeanVarOfArray(D, Lo, Hi, Mean, Var);
    return std::tuple(Status, Mean, Var);
  };
  EXPECT_EQ(MV({2, 4}, 0, 1), std::tuple(0, 3.0, 1.0));        // fewer than three values
  EXPECT_EQ(MV({9, 2, 4, 6}, 1, 3), std::tuple(0, 4.0, 4.0));  // (4 + 0 + 4) / 2
  EXPECT_EQ(MV({1, 2, 3}, 2, 1), std::tuple(-1, 0.0, 0.0));    // an empty range divides by nothing
  EXPECT_EQ(std::get<0>(MV({1, 2, 3}, 0, 3)), -1);
  const TDouble2DArray D{{1, 2, 3}, {4, 5, 6}};
  EXPECT_EQ(MeanVarOfArray(D, 0, 1, 1, 2, Mean, Var), 0);
  EXPECT_EQ(std::pair(Mean, Var), std::pair(4.0, 10.0 / 3.0));  // 2, 3, 5, 6
  EXPECT_EQ(MeanVarOfArray(D, 1, 0, 0, 2, Mean, Var), -1);
}

TEST(MeanVarOfArray, ExtendedSumsSurviveALargeOffset) {
  // 1e5 plus deviations of 0.1 and 0.3: the sum of squares is near 1e13, where a double
  // keeps steps of 0.002 and the one-pass formula would lose the third digit of the
  // variance; long double steps are 1e-6, so about seven digits survive.
  std::vector<double> D;
  for (int i = 0; i < 1001; ++i) D.push_back(1e5 + (i % 2 == 0 ? 0.1 : 0.3));
  double Mean, Var;
  MeanVarOfArray(D, 0, 1000, Mean, Var);
  EXPECT_NEAR(Mean, 1e5 + 0.1 + 0.2 * 500.0 / 1001.0, 1e-10);
  EXPECT_NEAR(Var, 10.02 / 1001.0, 1e-8);  // 500 * 501 * 0.2^2 / 1001 / 1000
}

}  // namespace
}  // namespace zeq
