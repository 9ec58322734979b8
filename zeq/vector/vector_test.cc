#include "zeq/vector/vector.h"
#include "zeq/testing/test_util.h"
#include "zeq/testing/vector_test_util.h"

namespace zeq {
namespace {

using test::FillWith;
using test::TChangeCounter;

void Fill(TVector& V, const std::vector<double>& Values) { FillWith(V, Values); }
std::vector<double> Values(const TVector& V) { return test::ValuesOf(V); }

TEST(VectorCore, NewVectorHasOneZeroElement) {
  TVector V;
  EXPECT_TRUE(V.IsEmpty());
  V.SetVal(1, 3);
  EXPECT_EQ(std::tuple(V.NrOfElem(), V.Elem(1), V.Elem(0), V.Elem(2), V.GetVal(INT32_MIN),
                       V.GetVal(INT32_MAX)),
            std::tuple(1, 3.0, 0.0, 0.0, 0.0, 0.0));
  V.SetVal(1, 0);
  V.SetVal(INT32_MAX, 5);  // dropped
  V.SetVal(0, 5);
  EXPECT_EQ(V.CRCofData(), TVector().CRCofData());
  V.Clear();
  TChangeCounter C(V);
  V.FillRandomGauss(10, 0);  // a random fill clears the empty flag and notifies once
  EXPECT_EQ(std::tuple(V.IsEmpty(), V.Elem(1), C.Count), std::tuple(false, 10.0, 1));
}

TEST(VectorCore, ResizeKeepsTheFrontAndCountsChanges) {
  TVector V;
  TChangeCounter C(V);
  Fill(V, {1, 2, 3});
  C.Count = 0;
  V.SetVecSize(0);
  V.SetVecSize(-5);
  EXPECT_EQ(V.NrOfElem(), 3);
  EXPECT_FALSE(V.Resize(0));
  EXPECT_TRUE(V.Resize(3));
  EXPECT_EQ(C.Count, 0);  // nothing to do: no OnChange
  V.Resize(5);
  EXPECT_EQ(Values(V), (std::vector<double>{1, 2, 3, 0, 0}));
  V.SetVecSize(2);
  EXPECT_EQ(Values(V), (std::vector<double>{1, 2}));
  EXPECT_EQ(C.Count, 2);
}

TEST(VectorCore, CopyFromDropsWhatFallsOutside) {
  TVector Src, Dest;
  Fill(Src, {1, 2, 3, 4});
  Dest.Resize(3);
  TChangeCounter C(Dest);
  Dest.CopyFrom(&Src, 4, 2, 2);  // source range 2..4 to positions 2..4: 4 is dropped
  EXPECT_EQ(Values(Dest), (std::vector<double>{0, 2, 3}));
  EXPECT_EQ(C.Count, 3);
  C.Count = 0;
  Dest.CopyFrom(&Src, 1, 4, 9);  // beyond the end: nothing copied, still one OnChange
  EXPECT_EQ(C.Count, 1);
  Dest.CopyFrom(&Src, 1, 4, INT32_MAX);
  Dest.CopyFrom(&Src, 1, 4, INT32_MIN);
  EXPECT_EQ(Values(Dest), (std::vector<double>{0, 2, 3}));
}

TEST(VectorCore, AssignCopiesDataFlagsAndHandlers) {
  TVector Src, Dest;
  Fill(Src, {4, 5});
  test::TChangeCounter SourceHandlerCalls(Src);
  Dest.Assign(&Src);
  EXPECT_EQ(SourceHandlerCalls.Count, 0);  // Assign itself does not notify
  EXPECT_EQ(Values(Dest), (std::vector<double>{4, 5}));
  EXPECT_FALSE(Dest.IsEmpty());
  Dest.Assign(&Dest);  // itself: nothing
  EXPECT_EQ(Values(Dest), (std::vector<double>{4, 5}));
  Dest.SetVal(1, 0);
  EXPECT_EQ(SourceHandlerCalls.Count, 1);  // the handler travelled with the data
  TVector Back;
  Src.AssignTo(&Back);
  EXPECT_EQ(Values(Back), Values(Src));
  TComponent Other;
  EXPECT_THROW(Dest.Assign(&Other), EConvertError);
}

// Arithmetic, searches and statistics are rows of testdata/vector_examples.txt.
TEST(VectorArithmetic, FailedChecksChangeNothingAndLengthIsWritable) {
  TVector A, Short, V;
  Fill(A, {2, 4, 6});
  EXPECT_THROW(A.Add(&Short), EZEQVectorError);
  EXPECT_EQ(Values(A), (std::vector<double>{2, 4, 6}));
  Fill(V, {3, 4});
  V.SetVecLeng(-10);
  EXPECT_EQ(Values(V), (std::vector<double>{-6, -8}));
  V.Clear();
  test::ExpectThrowMessage<EZEQVectorError>([&] { V.SetVecLeng(1); }, "vector has zero length");
}

TEST(VectorOrder, SortReportsEveryExchange) {
  TVector V;
  Fill(V, {3, 1, 2});
  std::vector<std::tuple<int, int, int, int, int>> Exchanges;
  V.OnSortExchange = [&](TObject* Sender, uint8_t What, int32_t I1, int32_t I2, int32_t F,
                         int32_t L) {
    EXPECT_EQ(Sender, &V);
    Exchanges.emplace_back(What, I1, I2, F, L);
  };
  TChangeCounter C(V);
  V.SortElems(true, 0, 0);
  EXPECT_EQ(Values(V), (std::vector<double>{1, 2, 3}));
  // gap trunc(2 / 1.3) = 1: (1, 2) exchanges 3 and 1, (2, 3) exchanges 3 and 2; a final pass.
  const std::vector<std::tuple<int, int, int, int, int>> Expected{{0, 1, 2, 0, 0}, {0, 2, 3, 0, 0}};
  EXPECT_EQ((std::tuple{Exchanges, C.Count}), (std::tuple{Expected, 1}));
  C.Count = 0;
  V.SortElems(false, 2, 2);  // one element: nothing, no OnChange
  EXPECT_EQ(C.Count, 0);
  V.SortElems(false, 3, 2);  // range given backwards
  EXPECT_EQ(Values(V), (std::vector<double>{1, 3, 2}));
}

TEST(VectorOrder, MirrorAndShuffle) {
  TVector V;
  Fill(V, {1, 2, 3, 4});
  TChangeCounter C(V);
  V.Mirror();
  EXPECT_EQ(Values(V), (std::vector<double>{4, 3, 2, 1}));
  EXPECT_EQ(C.Count, 1);
  V.ShuffleElems();
  EXPECT_EQ(C.Count, 1);  // no notification
  auto S = Values(V);
  std::sort(S.begin(), S.end());
  EXPECT_EQ(S, (std::vector<double>{1, 2, 3, 4}));
}

TEST(VectorCheckString, OneRegisterPerByteOfAnElementInBothTwins) {
  TVector A;
  A.SetName("a");
  Fill(A, {1.0, 2.0, -3.5});
  // Python: zlib.crc32 of byte k of each little-endian double, k = 0..7 (int32: k = 0..3)
  EXPECT_EQ(A.CRCofData(), "FF41D912FF41D912FF41D912FF41D912FF41D912FF41D9124333E6E9BB6BF60A");
  TIntVector I;
  test::FillWith(I, {1, -2, 300000});
  EXPECT_EQ(I.CRCofData(), "D4B69D6E0563E69E6B08E0796C652460");
}

}  // namespace
}  // namespace zeq
