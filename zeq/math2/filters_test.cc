#include "zeq/math2/filters.h"

#include <complex>

#include "zeq/testing/test_util.h"
#include "zeq/testing/vector_test_util.h"

namespace zeq {
namespace {

using test::FillWith;
using test::ValuesOf;

// |H(f)| of a kernel centred on its tap NumPoints div 2 + 1.
double Gain(const TDoubleArray& h, double f) {
  std::complex<double> S = 0;
  for (size_t i = 0; i < h.size(); ++i)
    S += h[i] * std::polar(1.0, -2 * std::numbers::pi * f * static_cast<double>(i));
  return std::abs(S);
}

double Sum(const TDoubleArray& h) {
  double S = 0;
  for (double V : h) S += V;
  return S;
}

TEST(SincKernels, LowPassSumsToOneIsSymmetricAndHalvesAtTheCutOff) {
  for (int32_t Window : {0, swHamming, swBlackman}) {
    TDoubleArray h;
    CalcSincLPKernel(101, 0.1, Window, h);
    ASSERT_EQ(h.size(), 101u);
    EXPECT_NEAR(Sum(h), 1.0, 1e-14);
    for (size_t i = 0; i < 101; ++i) EXPECT_NEAR(h[i], h[100 - i], 1e-16);
    EXPECT_NEAR(Gain(h, 0.1), 0.5, Window == 0 ? 0.02 : 0.005);   // -6 dB at the cut-off
    EXPECT_LT(Gain(h, 0.2), Window == swBlackman ? 1e-4 : 0.05);  // stop band
    TVector V;
    CalcSincLPKernel(101, 0.1, Window, &V);
    EXPECT_EQ(ValuesOf(V), h);  // both forms give the same taps
  }
}

TEST(SincKernels, CutOffIsClampedAndDerivedKernelsFollowFromTheLowPass) {
  TDoubleArray Zero, Half, Clamped, HP, BS1, BS2, BP;
  CalcSincLPKernel(31, -0.1, swHamming, Zero);
  EXPECT_EQ(Zero, TDoubleArray(31, 0.0));  // cut-off 0: all taps 0, no normalisation
  CalcSincLPKernel(31, 0.5, swHamming, Half);
  CalcSincLPKernel(31, 0.7, swHamming, Clamped);
  EXPECT_EQ(Half, Clamped);
  CalcSincHPKernel(31, 0.2, swBlackman, HP);
  EXPECT_NEAR(Gain(HP, 0.0), 0.0, 1e-14);
  EXPECT_NEAR(Gain(HP, 0.5), 1.0, 1e-3);
  CalcSincBSKernel(61, 0.1, 0.3, swHamming, BS1);
  CalcSincBSKernel(61, 0.3, 0.1, swHamming, BS2);
  EXPECT_EQ(BS1, BS2);
  EXPECT_NEAR(Gain(BS1, 0.0), 1.0, 1e-3);
  EXPECT_LT(Gain(BS1, 0.2), 0.01);
  CalcSincBPKernel(61, 0.1, 0.3, swHamming, BP);
  EXPECT_NEAR(Gain(BP, 0.2), 1.0, 0.01);
  EXPECT_LT(Gain(BP, 0.0), 1e-3);
  TVector V;
  V.Resize(4);
  CalcSincBPKernel(0, 0.1, 0.3, swHamming, &V);  // no taps: the vector keeps its size
  EXPECT_EQ(V.NrOfElem(), 4);
  CalcSincBPKernel(0, 0.1, 0.3, swHamming, BP);
  EXPECT_TRUE(BP.empty());
}

TEST(MovingKernelFilter, CorrelatesWithTheEndsRepeated) {
  TVector Src, Dst, Ker;
  FillWith(Src, {9, 1, 2, 4, 8, 16, 9});
  FillWith(Ker, {1, 10, 100});
  MovingKernelFilter(&Src, 2, 6, &Dst, &Ker);
  EXPECT_EQ(Dst.NrOfElem(), 7);  // resized to the source
  // x(p) for p = i - 1, i, i + 1 clamped into 2..6: 1, 1, 2 / 1, 2, 4 / ... / 8, 16, 16.
  EXPECT_EQ(ValuesOf(Dst), (std::vector<double>{211, 421, 842, 1684, 1768, 0, 0}));
  test::ExpectThrowMessage<EZEQMath2Error>(
      [&] { MovingKernelFilter(&Src, 1, 3, &Dst, &Ker); },
      "MovingKernelfilter: specified range for smoothing is smaller than the length of the "
      "kernel");
  test::ExpectThrowMessage<EZEQMath2Error>(
      [&] { MovingKernelFilter(&Src, 1, 7, &Dst, nullptr); },
      "MovingKernelfilter: SourceVec, DestVec and/or FilterKernel is undefined");
}

TEST(MovingKernelFilter, FastPathEqualsTheElementwiseDefinition) {
  std::vector<double> X(203);
  for (size_t i = 0; i < X.size(); ++i) X[i] = std::sin(0.37 * static_cast<double>(i * i));
  TVector Src, Dst, Ker;
  FillWith(Src, X);
  CalcSincLPKernel(21, 0.15, swHamming, &Ker);
  MovingKernelFilter(&Src, 3, 201, &Dst, &Ker);
  for (int32_t i = 3; i <= 201; ++i) {
    long double S = 0;
    for (int32_t k = 1; k <= 21; ++k)
      S += static_cast<long double>(Ker.GetVal(k)) * Src.GetVal(std::clamp(i - 10 + k - 1, 3, 201));
    ASSERT_EQ(Dst.GetVal(i - 2), static_cast<double>(S)) << i;
  }
}

TEST(Chebyshev, DesignMessagesInTheDocumentedOrder) {
  TMatrix C;
  double A0;
  for (const std::string& Line : test::DataLines("zeq/math2/testdata/chebyshev.txt")) {
    if (Line.rfind("refused ", 0) != 0) continue;
    std::istringstream In(Line.substr(8));
    int32_t NPoles;
    double CutOff, Ripple;
    std::string Message;
    In >> NPoles >> CutOff >> Ripple >> std::ws;
    std::getline(In, Message);
    test::ExpectThrowMessage<EZEQMath2Error>(
        [&] { CalcChebFilterCoeffs(NPoles, false, CutOff, Ripple, A0, &C); },
        "CalcChebFilterCoeffs: " + Message);
  }
  CalcChebFilterCoeffs(4, true, 0.5, 29, A0, &C);  // the limits themselves are accepted
  EXPECT_EQ((std::tuple{C.NrOfRows(), C.NrOfColumns()}), (std::tuple{4, 2}));
}

TEST(Chebyshev, CoefficientsMatchScipy) {
  const auto Lines = test::DataLines("zeq/math2/testdata/chebyshev.txt");
  int Cases = 0;
  for (size_t l = 0; l + 2 < Lines.size(); ++l) {
    if (Lines[l].rfind("coeffs ", 0) != 0) continue;
    const auto P = test::Numbers(Lines[l].substr(7));
    const auto A = test::Numbers(Lines[l + 1]), B = test::Numbers(Lines[l + 2]);
    const auto N = static_cast<int32_t>(P[0]);
    TMatrix C;
    double A0;
    CalcChebFilterCoeffs(N, P[1] != 0, P[2], P[3], A0, &C);
    double MaxA = 0, MaxB = 0;
    for (double V : A) MaxA = std::max(MaxA, std::fabs(V));
    for (double V : B) MaxB = std::max(MaxB, std::fabs(V));
    // The direct-form coefficients of 20 poles are ill-conditioned: 1e-9 of the largest.
    EXPECT_NEAR(A0, A[0], 1e-9 * MaxA) << Lines[l];
    for (int32_t i = 1; i <= N; ++i) {
      EXPECT_NEAR(C.GetVal(1, i), A[static_cast<size_t>(i)], 1e-9 * MaxA) << Lines[l] << " a" << i;
      EXPECT_NEAR(C.GetVal(2, i), B[static_cast<size_t>(i - 1)], 1e-12 * MaxB)
          << Lines[l] << " b" << i;
    }
    ++Cases;
  }
  EXPECT_EQ(Cases, 8);
}

TEST(Chebyshev, ForwardBackwardFilterMatchesLfilter) {
  const auto Lines = test::DataLines("zeq/math2/testdata/chebyshev.txt");
  const auto It = std::find_if(Lines.begin(), Lines.end(),
                               [](const std::string& L) { return L.rfind("filtered ", 0) == 0; });
  ASSERT_NE(It, Lines.end());
  const auto P = test::Numbers(It->substr(9));
  const auto Expected = test::Numbers(*(It + 1));
  const auto n = static_cast<int32_t>(P[4]), L = static_cast<int32_t>(P[5]),
             H = static_cast<int32_t>(P[6]);
  std::vector<double> X(static_cast<size_t>(n));
  for (int32_t i = 1; i <= n; ++i)
    X[static_cast<size_t>(i - 1)] =
        std::sin(0.13 * i) + 0.4 * std::sin(2.1 * i) + 0.1 * std::cos(0.7 * i * i);
  TVector Src, Dst;
  FillWith(Src, X);
  Dst.Resize(n);
  Dst.Fill(-7);
  TMatrix C;
  double A0;
  CalcChebFilterCoeffs(static_cast<int32_t>(P[0]), P[1] != 0, P[2], P[3], A0, &C);
  ChebychevFilter(&Src, L, H, &Dst, A0, &C);
  for (int32_t k = L; k <= H; ++k)
    EXPECT_NEAR(Dst.GetVal(k), Expected[static_cast<size_t>(k - L)], 1e-12) << k;
  EXPECT_EQ(Dst.GetVal(L - 1), -7);  // only LowElem..HighElem are written
  EXPECT_EQ(Dst.GetVal(H + 1), -7);
  // The forward pass starts at source position 1 whatever LowElem is.
  TVector Late;
  Late.Resize(n);
  ChebychevFilter(&Src, L + 30, H, &Late, A0, &C);
  for (int32_t k = L + 30; k <= H; ++k) EXPECT_EQ(Late.GetVal(k), Dst.GetVal(k));
}

}  // namespace
}  // namespace zeq
