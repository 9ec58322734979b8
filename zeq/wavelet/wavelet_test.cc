#include "zeq/wavelet/wavelet.h"

#include "zeq/testing/test_util.h"

namespace zeq {
namespace {

// The Daubechies low-pass filters from their closed forms.
std::vector<long double> ClosedForm(int32_t Order) {
  const long double r2 = std::sqrt(2.0L), r3 = std::sqrt(3.0L), a = std::sqrt(10.0L),
                    b = std::sqrt(5 + 2 * a);
  if (Order == 1) return {1 / r2, 1 / r2};
  if (Order == 2)
    return {(1 + r3) / (4 * r2), (3 + r3) / (4 * r2), (3 - r3) / (4 * r2), (1 - r3) / (4 * r2)};
  return {r2 * (1 + a + b) / 32,          r2 * (5 + a + 3 * b) / 32, r2 * (10 - 2 * a + 2 * b) / 32,
          r2 * (10 - 2 * a - 2 * b) / 32, r2 * (5 + a - 3 * b) / 32, r2 * (1 + a - b) / 32};
}

TEST(Wavelet, MessagesAndTheHaarStep) {
  TWavelet1D W;
  W.SetName("W");
  for (int32_t Bad : {0, 6, 1000, 1 << 24})
    test::ExpectThrowMessage<EZEQWaveletError>([&] { W.SetSize(Bad); },
                                               "Component \"W\": data length must be power of 2");
  for (int32_t Bad : {0, 4})
    test::ExpectThrowMessage<EZEQWaveletError>(
        [&] { W.SetOrder(Bad); }, "Component \"W\": invalid order of Daubechies wavelet family");
  EXPECT_EQ((std::tuple{W.Size(), W.Order()}), (std::tuple{256, 2}));
  W.SetSize(1);
  W.SetData(1, 4);
  W.Transform(3);  // nothing happens for N = 1
  EXPECT_EQ(W.Data(1), 4);
  W.SetSize(2);
  W.SetOrder(1);
  W.SetData(1, 1);
  W.SetData(2, 3);
  W.Transform(0);  // as Level 1
  EXPECT_NEAR(static_cast<double>(W.Data(1)), 4 / std::sqrt(2.0), 1e-15);
  EXPECT_NEAR(static_cast<double>(W.Data(2)), -2 / std::sqrt(2.0), 1e-15);
  EXPECT_EQ(W.Data(3), 0);
}

TEST(Wavelet, CoefficientsMatchTheClosedForms) {
  // An impulse at position q (0-based) reaches output p through tap q + 1: approximation p is
  // h(q + 1), detail p is g(q + 1) = (-1)^(2p - q) h(2p - q).
  for (int32_t Order = 1; Order <= 3; ++Order) {
    const auto h = ClosedForm(Order);
    for (int32_t q = 0; q < 2 * Order; ++q) {
      TWavelet1D W;
      W.SetSize(16);
      W.SetOrder(Order);
      W.SetData(q + 1, 1);
      W.SingleStep(false);
      EXPECT_NEAR(static_cast<double>(W.Data(Order)),
                  static_cast<double>(h[static_cast<size_t>(q)]), 1e-16);
      const long double g =
          ((2 * Order - q) % 2 == 0 ? 1 : -1) * h[static_cast<size_t>(2 * Order - q - 1)];
      EXPECT_NEAR(static_cast<double>(W.Data(8 + Order)), static_cast<double>(g), 1e-16);
    }
  }
}

TEST(Wavelet, WrapReconstructsAndPreservesEnergy) {
  std::mt19937_64 Gen(6);
  std::normal_distribution<double> G(0, 1);
  for (int32_t Order = 1; Order <= 3; ++Order)
    for (int32_t N : {2, 8, 64, 1024}) {
      TWavelet1D W;
      W.SetSize(N);
      W.SetOrder(Order);
      std::vector<long double> X(static_cast<size_t>(N));
      long double Energy = 0;
      for (int32_t i = 1; i <= N; ++i)
        W.SetData(i, X[static_cast<size_t>(i - 1)] = G(Gen)),
            Energy += X[static_cast<size_t>(i - 1)] * X[static_cast<size_t>(i - 1)];
      W.SingleStep(false);
      long double After = 0;
      for (int32_t i = 1; i <= N; ++i) After += W.Data(i) * W.Data(i);
      EXPECT_NEAR(static_cast<double>(After / Energy), 1, 1e-14);
      W.SingleStep(true);
      const int32_t Levels = static_cast<int32_t>(std::log2(N));
      W.Transform(Levels);
      W.InverseTransform(Levels);
      for (int32_t i = 1; i <= N; ++i)
        ASSERT_NEAR(static_cast<double>(W.Data(i)),
                    static_cast<double>(X[static_cast<size_t>(i - 1)]), 1e-14)
            << Order << " " << N << " " << i;
    }
}

TEST(Wavelet, ExtensionModesAtTheLeftEdge) {
  // Order 2 on four values: the first approximation reads the taps q = -2, -1, 0, 1.
  const auto h = ClosedForm(2);
  const long double x[] = {1, 2, 3, 4};
  const std::pair<TWLSigExtMode, long double> Cases[] = {
      {wseWrap, h[0] * x[2] + h[1] * x[3] + h[2] * x[0] + h[3] * x[1]},
      {wseZeroPad, h[2] * x[0] + h[3] * x[1]},
      {wseSymmetric, h[0] * x[1] + h[1] * x[0] + h[2] * x[0] + h[3] * x[1]}};
  for (const auto& [Mode, Expected] : Cases) {
    TWavelet1D W;
    W.SetSize(4);
    W.SetSignalExtMode(Mode);
    for (int32_t i = 1; i <= 4; ++i) W.SetData(i, x[i - 1]);
    W.Transform(1);
    EXPECT_NEAR(static_cast<double>(W.Data(1)), static_cast<double>(Expected), 1e-15) << int(Mode);
    W.SetOrder(3);  // a new order keeps the transformed data
    EXPECT_NEAR(static_cast<double>(W.Data(1)), static_cast<double>(Expected), 1e-15);
  }
}

}  // namespace
}  // namespace zeq
