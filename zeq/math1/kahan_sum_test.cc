#include "zeq/math1/math1.h"
#include "zeq/testing/test_util.h"

namespace zeq {
namespace {

TEST(KahanSum, KeepsTheLowOrderPartsThatPlainSummationLosesUntilReset) {
  TComponent Owner;
  auto* K = new TKahanSum(&Owner);  // owned: freed with Owner
  double Plain = 1.0;
  K->Add(1.0);
  for (int i = 0; i < 10'000'000; ++i) {
    K->Add(1e-16);
    Plain += 1e-16;
  }
  EXPECT_EQ(Plain, 1.0);
  EXPECT_NEAR(K->Sum, 1.000000001, 4.5e-16);  // within the last digit
  K->Reset();
  EXPECT_EQ(K->Sum, 0.0);
  K->Add(5.0);
  EXPECT_EQ(std::pair(K->Sum, Owner.ComponentCount()), std::pair(5.0, 1));
}

}  // namespace
}  // namespace zeq
