#include "zeq/math1/math1.h"
#include "zeq/testing/simd_levels.h"
#include "zeq/testing/test_util.h"

namespace zeq {
namespace {

// Repeats (shape 0), sorted (1) or reversed (2); floating-point values with NaN and signed
// zeros: as tests/tools/plain_reference.py draws them.
template <class T>
std::vector<T> Awkward(size_t N, test::TTestRandom& Gen, int Shape) {
  std::vector<T> D(N);
  for (size_t i = 0; i < N; ++i) {
    const auto Small = [&] { return static_cast<int64_t>(Gen.Next() % 41) - 20; };
    D[i] = static_cast<T>(Shape == 0 ? Small() : static_cast<int64_t>(Shape == 1 ? i : N - i));
    if constexpr (std::is_floating_point_v<T>) {
      if (i % 7 == 3) D[i] = std::numeric_limits<T>::quiet_NaN();
      if (i % 11 == 5) D[i] = i % 2 ? T(-0.0) : T(0.0);
    }
  }
  return D;
}

ZEQ_TEST_EVERY_SIMD_LEVEL(CombSortLevels);

// The vectorised passes make exactly the exchanges (the same bits, NaN and signed zeros
// included) and the passes of the plain comb sort of the reference script.
TEST_P(CombSortLevels, SameExchangesAndPassesAsThePlainLoop) {
  test::TTestRandom Gen(31);
  const auto Check = [&](auto Tag, const char* Kind) {
    using T = decltype(Tag);
    for (const size_t N : {0, 1, 2, 15, 16, 17, 100, 1000, 40001})
      for (int Shape = 0; Shape < 3; ++Shape)
        for (const bool Ascending : {true, false}) {
          std::vector<T> D = Awkward<T>(N, Gen, Shape);
          ProcStat = 0;
          SortArray(std::span<T>(D), Ascending);
          test::TBitsHash H;
          for (T X : D) H.Add(static_cast<double>(X));
          const std::string Ref =
              test::ReferenceLine("zeq/math1/testdata/sort_reference.txt",
                                  test::Cat("sort ", Kind, " ", N, " ", Shape, " ", Ascending));
          ASSERT_EQ(std::pair(ProcStat, H.Value), std::pair(std::stod(Ref), test::HexWord(Ref, 1)))
              << N << " " << Shape << " " << Ascending;
        }
  };
  Check(double{}, "double");
  Check(float{}, "float");
  Check(int32_t{}, "int32");
}

TEST(SortArray, UntypedFormDispatchesOnTheKind) {
  std::vector<double> D{2, 1};
  std::vector<int32_t> I{2, 1, 3};
  std::vector<float> F{2, 1};
  SortArray(D.data(), 2, vkReal, true);
  SortArray(I.data(), 3, vkLongint, false);
  SortArray(F.data(), 2, vkSingle, true);
  EXPECT_EQ(std::tuple(D, I, F),
            std::tuple(std::vector<double>{1, 2}, std::vector<int32_t>{3, 2, 1},
                       std::vector<float>{1, 2}));
  SortArray(I.data(), 3, vkByte, true);     // other kinds: nothing happens
  SortArray(I.data(), 2, vkInteger, true);  // only the first NumElems elements
  EXPECT_EQ(I, (std::vector<int32_t>{2, 3, 1}));
}

TEST(QuickSelect, AgreesWithNthElementAndPartitions) {
  std::mt19937_64 Gen(2);
  std::uniform_int_distribution<int> U(0, 50);  // many duplicates
  for (int Trial = 0; Trial < 200; ++Trial) {
    const int N = 1 + Trial % 37;
    std::vector<double> D(N + 4);
    for (double& X : D) X = U(Gen);
    const int Lo = 2, Hi = N + 1;
    const int K = Lo + Trial % N;
    std::vector<double> Expected = D;
    std::sort(Expected.begin() + Lo, Expected.begin() + Hi + 1);
    EXPECT_EQ(QuickSelect(D, K, Lo, Hi), Expected[K]);
    std::sort(D.begin() + Lo, D.begin() + Hi + 1);
    EXPECT_EQ(D, Expected);  // a permutation of the range, the rest untouched
  }
}

TEST(QuickSelect, RepeatedValuesStayLinear) {
  // Two distinct values over 2^21 elements: a two-way partition needs a pass per element here
  // (hours); the three-way partition finishes in two passes.
  std::vector<double> D(size_t{1} << 21);
  for (size_t i = 0; i < D.size(); ++i) D[i] = static_cast<double>(i % 3 == 0);
  const auto N = static_cast<int32_t>(D.size());
  EXPECT_EQ(QuickSelect(D, N / 2, 0, N - 1), 0.0);
  EXPECT_EQ(QuickSelect(D, N - N / 4, 0, N - 1), 1.0);
}

TEST(QuickSelect, OutOfContractArgumentsAreSafe) {
  std::vector<double> D{3, 1, 2};
  EXPECT_EQ(QuickSelect(D, -5, 0, 2), 1);  // K clamped to the range
  EXPECT_EQ(QuickSelect(D, 9, 0, 2), 3);
  EXPECT_EQ(QuickSelect(D, 0, 2, 1), 0);  // an empty range
  const std::vector<double> Before = D;
  EXPECT_TRUE(std::isnan(QuickSelect(D, 1, 0, 3)));  // range beyond the array
  EXPECT_TRUE(std::isnan(QuickSelect(D, 0, -1, 2)));
  EXPECT_EQ(D, Before);
  std::vector<double> WithNaN{NAN, 2, NAN, 1, 3};
  for (int K = 0; K < 5; ++K) EXPECT_NO_THROW(QuickSelect(WithNaN, K, 0, 4));  // terminates
}

TEST(SortIntoArray, KeepsTheBestValuesSeen) {
  using D = std::vector<double>;
  // (Value, AllowDuplicates) into {1, 2, 3, 4}: position and contents
  for (auto [Value, Dup, Pos, After] : {std::tuple{2.5, false, 2, D{1, 2, 2.5, 3}},
                                        {5, false, -1, D{1, 2, 3, 4}},
                                        {2, false, -1, D{1, 2, 3, 4}},
                                        {2, true, 1, D{1, 2, 2, 3}}}) {
    D Data{1, 2, 3, 4};
    EXPECT_EQ(SortIntoArray(Data, Value, true, Dup), Pos) << Value;
    EXPECT_EQ(Data, After) << Value;
  }
  EXPECT_EQ(SortIntoArray(std::span<double>(), 1.0, true, true), -1);
  std::vector<int32_t> I{9, 7, 5};
  std::vector<float> F{1, 3};
  // 8 fits at 1, 7 is there then, 1 is below the last element; 0.5 fits at 0
  EXPECT_EQ((std::vector<int32_t>{
                SortIntoArray(I, 8, false, false), SortIntoArray(I, 7, false, false),
                SortIntoArray(I, 1, false, false), SortIntoArray(F, 0.5f, true, false)}),
            (std::vector<int32_t>{1, -1, -1, 0}));
  EXPECT_EQ(std::pair(I, F), std::pair(std::vector<int32_t>{9, 8, 7}, std::vector<float>{0.5f, 1}));
}

TEST(SortIntoArray, UntypedFormCountsFromOne) {
  std::vector<double> D{1, 2, 3, 4};
  const double V = 2.5, Big = 9;
  EXPECT_EQ(SortIntoArray(D.data(), 4, vkDouble, &V, true, false), 3);
  EXPECT_EQ(D, (std::vector<double>{1, 2, 2.5, 3}));
  EXPECT_EQ(SortIntoArray(D.data(), 4, vkDouble, &Big, true, false), 0);
  const int32_t IV = 0;
  std::vector<int32_t> I{1, 2};
  EXPECT_EQ(SortIntoArray(I.data(), 2, vkInteger, &IV, true, false), 1);
  EXPECT_EQ(SortIntoArray(I.data(), 2, vkString, &IV, true, false), 0);
}

TEST(InsertIntoArray, ShiftsUpAndDropsTheLast) {
  std::vector<double> D{1, 2, 3};
  InsertIntoArray(D, 9.0, 0);
  InsertIntoArray(D, 7.0, 2);
  InsertIntoArray(D, 5.0, 3);   // beyond High
  InsertIntoArray(D, 5.0, -1);  // before the start
  EXPECT_EQ(D, (std::vector<double>{9, 1, 7}));
  std::vector<int32_t> I{1, 2, 3};
  const int32_t V = 8;
  InsertIntoArray(I.data(), 3, vkInteger, &V, 2);  // 1-based position 2
  InsertIntoArray(I.data(), 3, vkInteger, &V, 4);
  InsertIntoArray(I.data(), 3, vkInteger, &V, 0);
  EXPECT_EQ(I, (std::vector<int32_t>{1, 8, 2}));
}

TEST(ExChange, TypedAndMemoryBlocks) {
  std::string A = "left", B = "right";
  long double X = 1.5L, Y = -2.0L;
  ExChange(A, B);
  ExChange(X, Y);
  EXPECT_EQ(std::tuple(A, B, X, Y), std::tuple("right", "left", -2.0L, 1.5L));
  char P[] = "abcd", Q[] = "wxyz";
  ExChange(P, Q, uint16_t{2});
  EXPECT_STREQ(P, "wxcd");
  EXPECT_STREQ(Q, "abyz");
}

}  // namespace
}  // namespace zeq
