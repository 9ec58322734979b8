#include "zeq/testing/test_util.h"
#include "zeq/testing/vector_test_util.h"
#include "zeq/vector/vector.h"

namespace zeq {
namespace {

using test::ReadFile;
using test::WriteFile;

void FillVec(TVector& V, const std::vector<double>& Values) { test::FillWith(V, Values); }
std::vector<double> Values(const TVector& V) { return test::ValuesOf(V); }
std::string TempFile(const std::string& Name) { return test::TempPath("vector_io_" + Name); }

TEST(VectorStream, BlockLayoutAndReloadAtTheSamePositions) {
  TVector V;
  FillVec(V, {1, 2, 3.5, 4, -5});
  TMemoryStream* S = nullptr;
  V.SaveToStream(S, 3, 5);
  std::unique_ptr<TMemoryStream> Owned(S);  // the caller owns the new stream
  ASSERT_EQ(S->Size(), 50);                 // lo, hi, three values: 80-bit each
  for (auto [Offset, X] : {std::pair{0, 3.0L}, {10, 5.0L}, {40, -5.0L}})
    EXPECT_EQ(std::memcmp(S->Memory() + Offset, ExtendedToBytes(X).data(), 10), 0) << Offset;
  S->SetPosition(0);
  TVector W;
  test::TChangeCounter Changes(W);
  EXPECT_TRUE(W.LoadFromStream(S, true));
  EXPECT_EQ(Values(W), (std::vector<double>{0, 0, 3.5, 4, -5}));
  EXPECT_EQ(Changes.Count, 1 + 3 + 1);  // resize, three SetVal, the final Changed
  TIntVector I, J;                      // the integer twin: 32-bit bounds and values
  test::FillWith(I, {7, INT32_MIN, 9});
  TMemoryStream* T = nullptr;
  I.SaveToStream(T, 2, 3);
  const std::unique_ptr<TMemoryStream> OwnedT(T);
  const int32_t Layout[] = {2, 3, INT32_MIN, 9};
  ASSERT_EQ(T->Size(), 16);
  EXPECT_EQ(std::memcmp(T->Memory(), Layout, 16), 0);
  T->SetPosition(0);
  EXPECT_TRUE(J.LoadFromStream(T, true));
  EXPECT_EQ(test::ValuesOf(J), (std::vector<int32_t>{0, INT32_MIN, 9}));
}

TEST(VectorStream, BadHeadersChangeNothing) {
  TVector V;
  FillVec(V, {1, 2});
  test::TChangeCounter Changes(V);
  TMemoryStream Empty;
  EXPECT_FALSE(V.LoadFromStream(&Empty, true));
  EXPECT_FALSE(V.LoadFromStream(nullptr, true));
  // A NaN header; 2^31 - 1 elements claimed in a 30-byte stream; whole headers only; one
  // value placed near 2^31 cannot grow the vector to 8 GB, nor can an integer block of one
  // value at 0x74747474.
  for (auto [Lo, Hi] : {std::pair{static_cast<long double>(NAN), 1.0L},
                        {1.0L, 2147483647.0L},
                        {1.5L, 1.5L},
                        {2000000000.0L, 2000000000.0L}}) {
    TMemoryStream S;
    for (long double X : {Lo, Hi, 9.0L}) WriteExtendedToStream(&S, X);
    S.SetPosition(0);
    EXPECT_FALSE(V.LoadFromStream(&S, true)) << static_cast<double>(Lo);
  }
  TIntVector I;
  TMemoryStream Forged;
  for (int32_t X : {0x74747474, 0x74747474, 7}) WriteLongintToStream(&Forged, X);
  Forged.SetPosition(0);
  EXPECT_FALSE(I.LoadFromStream(&Forged, true));
  EXPECT_EQ(I.NrOfElem(), 1);
  EXPECT_EQ(Values(V), (std::vector<double>{1, 2}));
  EXPECT_EQ(Changes.Count, 0);
  TMemoryStream Huge;
  for (long double X : {1.0L, 2147483647.0L, 9.0L}) WriteExtendedToStream(&Huge, X);
  Huge.SetPosition(0);
  EXPECT_FALSE(V.LoadFromStream(&Huge, false));  // too large for the vector: no reading
  EXPECT_EQ(Changes.Count, 1);
}

TEST(VectorText, StoreFormatsAndPrecisions) {
  const std::string Path = TempFile("store.txt");
  TVector V;
  FillVec(V, {1.5, -0.25, 3});
  // (First, Last, Precision): -3 becomes 2 decimals; a reversed range is ordered
  for (auto [First, Last, Precision, Text] : {std::tuple{1, 2, 3, "1 2\n1.500\n-0.250\n"},
                                              {3, 2, -3, "2 3\n-0.25\n3.00\n"},
                                              {0, 1, -1, "1 1\n 1.5000E+0000\n"},
                                              {1, 1, -2, "1 1\n 1.50000000000000000E+0000\n"}}) {
    ASSERT_TRUE(V.StoreOnFile(First, Last, Precision, Path));
    EXPECT_EQ(ReadFile(Path), Text) << Precision;
  }
  EXPECT_FALSE(V.StoreOnFile(1, 1, 2, "/nonexistent-dir/x.txt"));
  std::remove(Path.c_str());
}

TEST(VectorText, LoadWithHeader) {
  const std::string Path = TempFile("load.txt");
  WriteFile(Path, "2 3\r\n7.5\r\n-1e3\r\n");
  TVector V;
  EXPECT_TRUE(V.LoadFromFile(Path, true));
  EXPECT_EQ(Values(V), (std::vector<double>{0, 7.5, -1000}));
  WriteFile(Path, "1 3\n1\n2\n3\n");  // exactly the values the header announces: growth
  TVector Grown;
  EXPECT_TRUE(Grown.LoadFromFile(Path, true));
  EXPECT_EQ(Values(Grown), (std::vector<double>{1, 2, 3}));
  WriteFile(Path, "1 3\n4\nbad\n6\n");  // an unreadable value stops the reading: a failure
  TVector W;
  W.Resize(3);
  EXPECT_FALSE(W.LoadFromFile(Path, false));
  EXPECT_EQ(Values(W), (std::vector<double>{4, 0, 0}));
  // a block that does not fit; more values than the file can hold; blanks are not values; a
  // header that is not two numbers
  std::string Blanks = "1 5\n4";
  Blanks.resize(105, ' ');
  for (auto [Text, Adjust] : {std::pair{std::string("1 9\n4\n"), false},
                              {"1 2000000000\n4\n", true},
                              {Blanks + '\n', true},
                              {"x 2\n4\n", true}}) {
    WriteFile(Path, Text);
    EXPECT_FALSE(W.LoadFromFile(Path, Adjust)) << Text;
    EXPECT_EQ(W.NrOfElem(), 3);
  }
  EXPECT_FALSE(W.LoadFromFile(TempFile("missing.txt"), true));
  std::remove(Path.c_str());
}

TEST(VectorText, AutoDetectCountsLinesWithDigits) {
  const std::string Path = TempFile("auto.txt");
  WriteFile(Path, "1.5\n\nx\n2\n");
  TVector V;
  EXPECT_FALSE(V.LoadFromFile(Path, true, true));
  EXPECT_EQ(Values(V), (std::vector<double>{1.5, 0}));  // two lines with digits; stops at "x"
  WriteFile(Path, "1\n2\n3\n");
  EXPECT_TRUE(V.LoadFromFile(Path, false, true));
  EXPECT_EQ(Values(V), (std::vector<double>{1, 2}));  // NrOfElem values only
  std::remove(Path.c_str());
}

TEST(VectorText, RoundTripsForBothTwins) {
  const std::string Path = TempFile("roundtrip.txt");
  TVector V;
  SetRandSeed(5);
  V.Resize(300);
  V.FillRandomGauss(0, 1e10);
  ASSERT_TRUE(V.StoreOnFile(0, 300, -2, Path));  // 18 significant digits: exact for doubles
  TVector W;
  ASSERT_TRUE(W.LoadFromFile(Path, true));
  EXPECT_EQ(W.CRCofData(), V.CRCofData());
  // Four decimals round the largest doubles beyond the range: they read back as the largest.
  V.SetVal(1, DBL_MAX);
  V.SetVal(300, -DBL_MAX);
  ASSERT_TRUE(V.StoreOnFile(0, 300, -1, Path));
  ASSERT_TRUE(W.LoadFromFile(Path, true));
  EXPECT_EQ(std::pair(W.GetVal(1), W.GetVal(300)), std::pair(DBL_MAX, -DBL_MAX));
  TIntVector I, J;
  test::FillWith(I, {-500000003, -1000000006, -1500000009, -2000000012});  // within 32 bits
  ASSERT_TRUE(I.StoreOnFile(4, 1, Path));
  EXPECT_TRUE(J.LoadFromFile(Path, true));
  EXPECT_EQ(J.CRCofData(), I.CRCofData());
  WriteFile(Path, "1 2\n+1.8e308\n-1.8e308\n");  // beyond the range, with either sign
  ASSERT_TRUE(W.LoadFromFile(Path, true));
  EXPECT_EQ(std::pair(W.GetVal(1), W.GetVal(2)), std::pair(DBL_MAX, -DBL_MAX));
  WriteFile(Path, "1 2\n2.5\n3.5\n");  // rounded to even
  ASSERT_TRUE(J.LoadFromFile(Path, true));
  EXPECT_EQ(test::ValuesOf(J), (std::vector<int32_t>{2, 4, -1500000009, -2000000012}));
  std::remove(Path.c_str());
}

}  // namespace
}  // namespace zeq
