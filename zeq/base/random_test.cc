#include "zeq/base/base.h"
#include "zeq/testing/test_util.h"

namespace zeq {
namespace {

TEST(Random, SeededSequencesRepeatAndStayInRange) {
  SetRandSeed(42);
  std::vector<double> First;
  for (int i = 0; i < 100; ++i) First.push_back(Random());
  SetRandSeed(42);
  for (double X : First) EXPECT_EQ(Random(), X);
  int Hits[5] = {};
  for (int i = 0; i < 50000; ++i) {
    const double U = Random();
    ASSERT_TRUE(U >= 0.0 && U < 1.0);
    const int32_t K = Random(5);
    ASSERT_TRUE(K >= 0 && K < 5);
    ++Hits[K];
  }
  for (int H : Hits) EXPECT_NEAR(H, 10000, 500);  // about 5 standard deviations
  EXPECT_EQ((std::tuple{Random(0), Random(-3)}), (std::tuple{0, 0}));
}

}  // namespace
}  // namespace zeq
