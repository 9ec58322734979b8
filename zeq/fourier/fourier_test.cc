#include "zeq/fourier/fourier.h"

#include <complex>

#include "zeq/testing/simd_levels.h"
#include "zeq/testing/test_util.h"

namespace zeq {
namespace {

using TValues = std::vector<double>;
constexpr double Pi = std::numbers::pi;

void FillRandom(TFastFourier& F, int32_t N, uint64_t Seed) {
  F.SetSpectrumSize(N);
  std::mt19937_64 Gen(Seed);
  std::normal_distribution<double> G(0, 1);
  for (int32_t i = 1; i <= N; ++i) F.SetRealSpec(i, G(Gen)), F.SetImagSpec(i, G(Gen));
}

TEST(FastFourier, SizesMessagesAndUserWeights) {
  TFastFourier F;
  F.SetName("Spectrum");
  F.SetRealSpec(3, 7);
  for (int32_t Bad : {0, 3, 1000, -8, 1 << 24})
    test::ExpectThrowMessage<EZEQFourierError>(
        [&] { F.SetSpectrumSize(Bad); }, "Component \"Spectrum\": data length must be power of 2");
  EXPECT_EQ(F.SpectrumSize(), 256);
  EXPECT_EQ(F.RealSpec(3), 7);  // the old data stay
  EXPECT_EQ((TValues{F.WgtFunction(1), F.WgtFunction(256), F.RealSpec(0), F.RealSpec(257)}),
            (TValues{1, 1, 0, 0}));
  F.SetSpectrumSize(1 << 23);
  F.SetSpectrumSize(1);
  F.SetRealSpec(1, 5);
  F.Transform();  // N = 1: the identity
  EXPECT_EQ(F.RealSpec(1), 5);
  F.SetSpectrumSize(8);
  EXPECT_EQ(F.WgtFunction(4), 0);  // user weights 0 after a size change
  F.SetRealSpec(2, 1);
  F.SetWeightingWindow(fwUserDef);
  F.Transform();
  EXPECT_EQ(F.MagniMax(), 0);
  F.SetWeightingWindow(fwRectangle);
  F.SetRealSpec(2, 1);
  F.Transform();
  EXPECT_GT(F.MagniMax(), 0);
  F.SetSpectrumSize(4);  // new, zeroed data: the maxima are computed anew
  EXPECT_EQ(F.MagniMax(), 0);
}

// The transform evaluated directly in extended precision, with the unit's sign convention.
std::vector<std::complex<long double>> Dft(const TFastFourier& F, int Sign) {
  const int32_t N = F.SpectrumSize();
  std::vector<std::complex<long double>> X(static_cast<size_t>(N));
  for (int32_t n = 0; n < N; ++n)
    for (int32_t k = 0; k < N; ++k) {
      const long double a =
          Sign * 2 * std::numbers::pi_v<long double> * ((static_cast<long long>(n) * k) % N) / N;
      X[static_cast<size_t>(n)] += std::complex<long double>(F.RealSpec(k + 1), F.ImagSpec(k + 1)) *
                                   std::complex<long double>(std::cos(a), std::sin(a));
    }
  return X;
}

ZEQ_TEST_EVERY_SIMD_LEVEL(FftLevels);

TEST_P(FftLevels, MatchesTheExtendedPrecisionDftInBothDirections) {
  for (int32_t N = 1; N <= 1024; N *= 2) {
    TFastFourier F;
    FillRandom(F, N, static_cast<uint64_t>(N));
    for (int Sign : {1, -1}) {
      const auto X = Dft(F, Sign);
      long double Max = 0;
      for (const auto& V : X) Max = std::max(Max, std::abs(V));
      Sign > 0 ? F.Transform() : F.InverseTransform();
      const long double Scale = Sign > 0 ? 1 : N;
      for (int32_t n = 0; n < N; ++n) {
        const std::complex<long double> Got(F.RealSpec(n + 1), F.ImagSpec(n + 1));
        ASSERT_LE(std::abs(Got * Scale - X[static_cast<size_t>(n)]) / Max, 2e-15L)
            << N << " " << Sign << " " << n;
      }
    }
  }
}

// Beyond the sizes compared with the direct transform: the cache-blocked passes.
TEST(FastFourier, RoundTripAndParsevalUpTo2To20) {
  for (int32_t N : {1 << 12, 1 << 20}) {
    TFastFourier F, G;
    FillRandom(F, N, 5);
    FillRandom(G, N, 5);
    long double Energy = 0, Max = 0;
    for (int32_t i = 1; i <= N; ++i) {
      Energy += std::norm(std::complex<long double>(F.RealSpec(i), F.ImagSpec(i)));
      Max = std::max<long double>(Max, std::fabs(F.RealSpec(i)));
    }
    F.Transform();
    long double Spectrum = 0;
    for (int32_t i = 1; i <= N; ++i)
      Spectrum += std::norm(std::complex<long double>(F.RealSpec(i), F.ImagSpec(i)));
    EXPECT_NEAR(static_cast<double>(Spectrum / N / Energy), 1, 1e-13);
    F.InverseTransform();
    for (int32_t i = 1; i <= N; ++i)
      ASSERT_NEAR(F.RealSpec(i), G.RealSpec(i), 1e-13 * static_cast<double>(Max));
  }
}

TEST(FastFourier, TonesConstantsAndSpectralProperties) {
  TFastFourier F;
  F.SetSpectrumSize(64);
  for (int32_t j = 0; j < 64; ++j) F.SetRealSpec(j + 1, 2.5);
  F.Transform();
  EXPECT_EQ((TValues{F.RealSpec(1), F.PowerSpec(0), F.Magnitude(0), F.FourSerCosCoeff(0)}),
            (TValues{160, 400, 2.5, 2.5}));
  EXPECT_NEAR(F.PowerMax(), 0, 1e-25);
  // 1.5 cos of 5 cycles, sin of 9 and (cos + sin) / 2 of 12 cycles: the series coefficients, a
  // phase and the line RMS.
  F.Clear();
  for (int32_t j = 0; j < 64; ++j)
    F.SetRealSpec(j + 1,
                  1.5 * std::cos(2 * Pi * 5 * j / 64) + std::sin(2 * Pi * 9 * j / 64) +
                      0.5 * (std::cos(2 * Pi * 12 * j / 64) + std::sin(2 * Pi * 12 * j / 64)));
  F.Transform();
  EXPECT_NEAR(F.FourSerCosCoeff(5), 1.5, 1e-14);
  EXPECT_NEAR(F.FourSerSinCoeff(5), 0, 1e-14);
  EXPECT_NEAR(F.FourSerSinCoeff(9), 1, 1e-14);  // + sign convention
  EXPECT_NEAR(F.Magnitude(9), 1, 1e-14);
  EXPECT_NEAR(F.Phase(12), Pi / 4, 1e-14);  // X(12) = N / 4 (1 + i)
  EXPECT_NEAR(F.PowerSpec(5), 2.25 * 64 / 2, 1e-12);
  EXPECT_NEAR(F.MagniMax(), 1.5, 1e-14);
  EXPECT_NEAR(F.RMS(5, 2), std::sqrt(2.25 * 64 * 64 / 2) / 64, 1e-14);
  EXPECT_EQ((std::tuple{F.RMS(5, 2), F.RMS(-3, 1000000)}), (std::tuple{F.RMS(2, 5), F.RMS(0, 32)}));
  EXPECT_EQ((TValues{F.FreqOfLine(0, 0.01), F.FreqOfLine(16, 0.01), F.FreqOfLine(33, 0.01)}),
            (TValues{0, 25, 0}));
  EXPECT_EQ((std::vector<int32_t>{F.LineOfFreq(25, 0.01), F.LineOfFreq(51, 0.01),
                                  F.LineOfFreq(1e300, 1)}),
            (std::vector<int32_t>{16, 0, 0}));
  EXPECT_EQ((TValues{F.PowerSpec(33), F.Phase(0), F.FourSerSinCoeff(0)}), (TValues{0, 0, 0}));
}

// Ones through Transform and InverseTransform leave the window itself.
TEST(FastFourier, WindowsFollowTheirClosedForms) {
  const std::vector<std::string> Lines = test::DataLines("zeq/fourier/testdata/windows.txt");
  ASSERT_EQ(Lines.size(), size_t{fwUserDef});
  for (int W = fwRectangle; W < fwUserDef; ++W) {
    const std::string& Line = Lines[static_cast<size_t>(W)];
    const TValues Expected = test::NamedNumbers(Line).second;
    TFastFourier F;
    F.SetSpectrumSize(32);
    for (int32_t i = 1; i <= 32; ++i) F.SetRealSpec(i, 1), F.SetImagSpec(i, -1);
    F.SetWeightingWindow(static_cast<TFastFourierWgtWin>(W));
    F.Transform();
    F.InverseTransform();
    for (int32_t i = 1; i <= 32; ++i) {
      const double E = Expected[static_cast<size_t>(i - 1)];
      EXPECT_NEAR(F.RealSpec(i), E, 1e-14) << Line.substr(0, 20) << " " << i;
      EXPECT_NEAR(F.ImagSpec(i), -E, 1e-14) << Line.substr(0, 20) << " " << i;
    }
  }
}

}  // namespace
}  // namespace zeq
