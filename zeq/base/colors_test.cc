#include "zeq/base/base.h"
#include "zeq/testing/test_util.h"

namespace zeq {
namespace {

TEST(Colors, GrayAndHSIOfPrimaries) {
  EXPECT_EQ(RGBtoGray(255, 255, 255), 255);
  EXPECT_EQ(RGBtoGray(255, 0, 0), 76);  // 0.299 * 255 = 76.2
  EXPECT_EQ(RGBtoGray(0, 0, 0), 0);
  double H, S, I;
  RGBtoHSI(255, 0, 0, H, S, I);
  EXPECT_DOUBLE_EQ(H, 0.0);
  EXPECT_DOUBLE_EQ(S, 1.0);
  EXPECT_DOUBLE_EQ(I, 1.0 / 3.0);
  RGBtoHSI(0, 255, 0, H, S, I);
  EXPECT_NEAR(H, 120.0, 1e-12);
  RGBtoHSI(0, 0, 255, H, S, I);
  EXPECT_NEAR(H, 240.0, 1e-12);
  RGBtoHSI(128, 128, 128, H, S, I);
  EXPECT_EQ(H, 0.0);
  EXPECT_EQ(S, 0.0);
  RGBtoHSI(0, 0, 0, H, S, I);
  EXPECT_EQ(S, 0.0);
  EXPECT_EQ(I, 0.0);
}

}  // namespace
}  // namespace zeq
