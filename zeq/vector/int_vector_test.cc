#include <gtest/gtest.h>

#include <vector>

#include "zeq/testing/test_util.h"
#include "zeq/testing/vector_test_util.h"
#include "zeq/vector/vector.h"

namespace zeq {
namespace {

void FillInt(TIntVector& V, const std::vector<int32_t>& Values) { test::FillWith(V, Values); }
std::vector<int32_t> Values(const TIntVector& V) { return test::ValuesOf(V); }

TEST(IntVector, ArithmeticWrapsInThirtyTwoBits) {
  TIntVector A, B;
  FillInt(A, {INT32_MAX, INT32_MIN, -5});
  FillInt(B, {1, -1, 3});
  A.Add(&B);
  EXPECT_EQ(Values(A), (std::vector<int32_t>{INT32_MIN, INT32_MAX, -2}));
  A.Subtract(&B);
  EXPECT_EQ(Values(A), (std::vector<int32_t>{INT32_MAX, INT32_MIN, -5}));
  A.AbsVal();
  EXPECT_EQ(Values(A), (std::vector<int32_t>{INT32_MAX, INT32_MIN, 5}));  // -2^31 stays
  A.SMult(2);
  EXPECT_EQ(Values(A), (std::vector<int32_t>{-2, 0, 10}));
  FillInt(A, {65536, 65536});
  FillInt(B, {65536, 65536});
  B.Resize(2);
  EXPECT_EQ(A.DotProduct(&B), 0);  // 2 * 2^32 wraps to 0
  EXPECT_EQ(A.Sum(0, 0), 131072);
  FillInt(A, {INT32_MAX, 1});
  EXPECT_EQ(A.Sum(0, 0), INT32_MIN);
  EXPECT_EQ(A.Correlate(&B, 0),
            static_cast<int32_t>((int64_t{INT32_MAX} * 65536 + 65536) & 0xFFFFFFFF));
}

TEST(IntVector, MinMaxStartValues) {
  TIntVector V;
  FillInt(V, {INT32_MIN, INT32_MIN});
  int32_t Min, Max, MinIx, MaxIx;
  V.MinMax(0, 0, Min, Max, MinIx, MaxIx);
  EXPECT_EQ(Min, INT32_MIN);
  EXPECT_EQ(MinIx, 1);
  EXPECT_EQ(Max, -2147483647);
  EXPECT_EQ(MaxIx, 0);
}

TEST(IntVector, HistogramRules) {
  TIntVector V, H;
  V.SetName("iv");
  FillInt(V, {1, 2, 2, 9});
  int32_t Under, Over, MaxCnt;
  ASSERT_TRUE(V.Histogram(1, 4, 1, 3, 1, &H, Under, Over, MaxCnt));
  EXPECT_EQ(Values(H), (std::vector<int32_t>{1, 2, 0}));
  EXPECT_EQ(Over, 1);
  EXPECT_EQ(Under, 0);
  EXPECT_EQ(MaxCnt, 2);
  test::ExpectThrowMessage<EZEQVectorError>(
      [&] { V.Histogram(1, 4, 1, 1000, 1, &H, Under, Over, MaxCnt); },
      "Component \"iv.Histogram\": invalid number of bins");
  EXPECT_EQ(Values(H), (std::vector<int32_t>{1, 2, 0}));  // unchanged
  // Width 2 over 1..5: bins [1,2], [3,4]; 5 is a remainder counted nowhere.
  FillInt(V, {1, 2, 3, 5, 7});
  ASSERT_TRUE(V.Histogram(1, 5, 1, 5, 2, &H, Under, Over, MaxCnt));
  EXPECT_EQ(Values(H), (std::vector<int32_t>{2, 1}));
  EXPECT_EQ(Over, 1);
  ASSERT_TRUE(V.Histogram(1, 5, 1, 5, -4, &H, Under, Over, MaxCnt));  // width below 1 is 1
  EXPECT_EQ(H.NrOfElem(), 5);
}

TEST(IntVector, LengthDistanceAndCheckString) {
  TIntVector A, B;
  FillInt(A, {3, 4});
  EXPECT_EQ(A.Leng(), 5);
  FillInt(B, {0, 0});
  EXPECT_EQ(A.EuclideanDistance(&B), 5);
  EXPECT_EQ(A.CRCofData().size(), 32u);
  FillInt(A, {1, -2, 300000});
  // Python: zlib.crc32 of byte k of each little-endian int32, k = 0..3
  EXPECT_EQ(A.CRCofData(), "D4B69D6E0563E69E6B08E0796C652460");
}

TEST(IntVector, StatisticsShareTheDoubleRules) {
  TIntVector V;
  FillInt(V, {2, 1});
  double Q1, Q2, Q3;
  V.Quartiles(0, 0, Q1, Q2, Q3);
  EXPECT_EQ(Q1, 1);
  EXPECT_EQ(Q2, 1.5);
  EXPECT_EQ(Q3, 2);
  FillInt(V, {5, 1, 5, 2, 2});
  EXPECT_EQ(V.Mode(0, 0), 2);
  EXPECT_EQ(V.Percentile(50, 0, 0), 2);
  double M, Var;
  V.MeanVar(0, 0, M, Var);
  EXPECT_EQ(M, 3);
  EXPECT_EQ(Var, 3.5);
  EXPECT_EQ(V.Find(0, 0, 4), 1);
  V.SortElems(false, 0, 0);
  EXPECT_EQ(Values(V), (std::vector<int32_t>{5, 5, 2, 2, 1}));
  EXPECT_EQ(V.FindInSortedVector(false, 3), 3);
}

TEST(IntVector, AssignAcrossTheTwinsIsRefused) {
  TVector D;
  TIntVector I;
  test::ExpectThrowMessage<EConvertError>([&] { D.Assign(&I); },
                                          "Cannot assign a TIntVector to a TVector");
  TIntVector J;
  FillInt(I, {7, 8});
  J.Assign(&I);
  EXPECT_EQ(Values(J), (std::vector<int32_t>{7, 8}));
}

}  // namespace
}  // namespace zeq
