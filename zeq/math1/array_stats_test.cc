#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <vector>

#include "zeq/math1/math1.h"

namespace zeq {
namespace {

struct TMinMax {
  int32_t Status;
  double Min, Max;
  int32_t MinIx, MaxIx;
};

TMinMax MinMax1(const std::vector<double>& D, int32_t Lo, int32_t Hi) {
  TMinMax R;
  R.Status = MinMaxOfArray(D, Lo, Hi, R.Min, R.Max, R.MinIx, R.MaxIx);
  return R;
}

TEST(MinMaxOfArray, FirstOccurrenceWins) {
  const std::vector<double> D{3, 1, 4, 1, 5};
  const TMinMax R = MinMax1(D, 0, 4);
  EXPECT_EQ(R.Status, 0);
  EXPECT_EQ(R.Min, 1);
  EXPECT_EQ(R.MinIx, 1);
  EXPECT_EQ(R.Max, 5);
  EXPECT_EQ(R.MaxIx, 4);
}

TEST(MinMaxOfArray, InvalidAndEmptyRangesKeepTheStartValues) {
  const std::vector<double> D{3, 1, 4, 1, 5};
  for (auto [Lo, Hi, Status] : {std::tuple{0, 5, -1}, {-1, 2, -1}, {3, 1, 0}}) {
    const TMinMax R = MinMax1(D, Lo, Hi);
    EXPECT_EQ(R.Status, Status);
    EXPECT_EQ(R.Min, DBL_MAX);
    EXPECT_EQ(R.Max, -DBL_MAX);
    EXPECT_EQ(R.MinIx, 0);
    EXPECT_EQ(R.MaxIx, 0);
  }
  EXPECT_EQ(MinMax1({}, 0, 0).Status, -1);
}

TEST(MinMaxOfArray, NaNIsNeverTaken) {
  const TMinMax R = MinMax1({NAN, 2, NAN, -7}, 0, 3);
  EXPECT_EQ(R.Min, -7);
  EXPECT_EQ(R.MinIx, 3);
  EXPECT_EQ(R.Max, 2);
  EXPECT_EQ(R.MaxIx, 1);
}

TEST(MinMaxOfArray, TwoDimensionalRectangle) {
  const TDouble2DArray D{{1, 9, 2}, {8, 0, 7}, {6, 9, -1}};
  double Min, Max;
  int32_t MinI, MinJ, MaxI, MaxJ;
  EXPECT_EQ(MinMaxOfArray(D, 0, 1, 1, 2, Min, Max, MinI, MinJ, MaxI, MaxJ), 0);
  EXPECT_EQ(Min, 0);
  EXPECT_EQ(MinI, 1);
  EXPECT_EQ(MinJ, 1);
  EXPECT_EQ(Max, 9);  // (0, 1) comes before (2, 1) in the outer loop
  EXPECT_EQ(MaxI, 0);
  EXPECT_EQ(MaxJ, 1);
  EXPECT_EQ(MinMaxOfArray(D, 0, 0, 3, 2, Min, Max, MinI, MinJ, MaxI, MaxJ), -1);
  EXPECT_EQ(MinMaxOfArray(D, 0, 0, 2, 3, Min, Max, MinI, MinJ, MaxI, MaxJ), -1);
  const TDouble2DArray Ragged{{1, 2, 3}, {4}};
  EXPECT_EQ(MinMaxOfArray(Ragged, 0, 0, 1, 2, Min, Max, MinI, MinJ, MaxI, MaxJ), -1);
  EXPECT_EQ(MinMaxOfArray(TDouble2DArray{}, 0, 0, 0, 0, Min, Max, MinI, MinJ, MaxI, MaxJ), -1);
}

TEST(MeanVarOfArray, UsesTheOnePassFormulaAndOneForFewValues) {
  double Mean, Var;
  EXPECT_EQ(MeanVarOfArray(std::vector<double>{2, 4}, 0, 1, Mean, Var), 0);
  EXPECT_EQ(Mean, 3);
  EXPECT_EQ(Var, 1);  // fewer than three values
  EXPECT_EQ(MeanVarOfArray(std::vector<double>{9, 2, 4, 6}, 1, 3, Mean, Var), 0);
  EXPECT_EQ(Mean, 4);
  EXPECT_EQ(Var, 4);  // (4 + 0 + 4) / 2
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

TEST(MeanVarOfArray, InvalidRangesGiveMinusOneAndZeros) {
  double Mean = 5, Var = 5;
  const std::vector<double> D{1, 2, 3};
  EXPECT_EQ(MeanVarOfArray(D, 2, 1, Mean, Var), -1);  // an empty range divides by nothing
  EXPECT_EQ(Mean, 0);
  EXPECT_EQ(Var, 0);
  EXPECT_EQ(MeanVarOfArray(D, 0, 3, Mean, Var), -1);
}

TEST(MeanVarOfArray, TwoDimensionalRectangle) {
  const TDouble2DArray D{{1, 2, 3}, {4, 5, 6}};
  double Mean, Var;
  EXPECT_EQ(MeanVarOfArray(D, 0, 1, 1, 2, Mean, Var), 0);
  EXPECT_EQ(Mean, 4);
  EXPECT_DOUBLE_EQ(Var, 10.0 / 3.0);  // 2, 3, 5, 6
  EXPECT_EQ(MeanVarOfArray(D, 1, 0, 0, 2, Mean, Var), -1);
}

}  // namespace
}  // namespace zeq
