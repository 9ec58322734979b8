#include "zeq/base/base.h"
#include "zeq/testing/test_util.h"

namespace zeq {
namespace {

TEST(Colors, GrayAndHSIOfPrimaries) {
  // 0.299 * 255 = 76.2 for pure red
  EXPECT_EQ(std::tuple(RGBtoGray(255, 255, 255), RGBtoGray(255, 0, 0), RGBtoGray(0, 0, 0)),
            std::tuple(255, 76, 0));
  const auto HSI = [](uint8_t R, uint8_t G, uint8_t B) {
    double H, S, I;
    RGBtoHSI(R, G, B, H, S, I);
    return std::vector<double>{H, S, I};
  };
  test::ExpectAllNear(HSI(255, 0, 0), {0, 1, 1.0 / 3}, 1e-15);
  EXPECT_NEAR(HSI(0, 255, 0)[0], 120.0, 1e-12);
  EXPECT_NEAR(HSI(0, 0, 255)[0], 240.0, 1e-12);
  const std::vector<double> Gray = HSI(128, 128, 128), Black = HSI(0, 0, 0);
  EXPECT_EQ(std::tuple(Gray[0], Gray[1], Black[1], Black[2]), std::tuple(0.0, 0.0, 0.0, 0.0));
}

}  // namespace
}  // namespace zeq
