#include "zeq/base/base.h"
#include "zeq/testing/test_util.h"

namespace zeq {
namespace {

TEST(BitFld, SizeBitsAndCounts) {
  TBitFld F;
  EXPECT_EQ(F.Size(), -1);
  F.SetSize(9);  // bits 0..9
  EXPECT_EQ(F.Size(), 9);
  F.SetBit(0, true);
  F.SetBit(9, true);
  F.SetBit(10, true);  // outside: ignored
  F.SetBit(-1, true);
  EXPECT_TRUE(F.GetBit(9));
  EXPECT_FALSE(F.GetBit(10));
  EXPECT_EQ(F.CountTrueBits(), 2);
  F.Invert();
  EXPECT_EQ(F.CountTrueBits(), 8);
  F.SetSize(4);  // shrinking keeps the low bits
  EXPECT_EQ(F.CountTrueBits(), 4);
  F.Clear();
  EXPECT_EQ(F.CountTrueBits(), 0);
}

TEST(BitFld, TheLargestFieldCountsWithoutOverflow) {
  TBitFld F;
  F.SetSize(INT32_MAX);  // 2^31 bits, 256 MiB
  EXPECT_EQ(F.Size(), INT32_MAX);
  F.SetBit(INT32_MAX, true);
  EXPECT_TRUE(F.GetBit(INT32_MAX));
  F.Invert();
  EXPECT_EQ(F.CountTrueBits(), INT32_MAX);  // 2^31 - 1 true bits: exact
  F.SetBit(INT32_MAX, true);
  EXPECT_EQ(F.CountTrueBits(), INT32_MAX);  // 2^31: saturated
}

TEST(BitFld, CombineWithEachOperation) {
  TBitFld A, B;
  A.SetSize(3);
  B.SetSize(2);                               // one bit shorter: bit 3 of A is left alone
  for (int i : {0, 1, 3}) A.SetBit(i, true);  // A = 1101 (bit 0 first)
  for (int i : {1, 2}) B.SetBit(i, true);     // B = 011
  const auto Bits = [](const TBitFld& F) {
    std::string S;
    for (int i = 0; i <= F.Size(); ++i) S += F.GetBit(i) ? '1' : '0';
    return S;
  };
  const std::pair<TLogicOp, const char*> Cases[] = {
      {loAnd, "0101"}, {loOr, "1111"}, {loXor, "1011"}, {loAndNot, "1001"}};
  for (auto [Op, Expected] : Cases) {
    TBitFld C;
    C.Clone(&A);
    C.CombineWith(&B, Op);
    EXPECT_EQ(Bits(C), Expected) << static_cast<int>(Op);
  }
  A.CombineWith(nullptr, loAnd);
  EXPECT_EQ(Bits(A), "1101");
}

}  // namespace
}  // namespace zeq
