#include "zeq/math2/smoothing.h"

#include <numeric>

#include "zeq/testing/test_util.h"
#include "zeq/testing/vector_test_util.h"

namespace zeq {
namespace {

using test::FillWith;
using test::ValuesOf;
using TSmoother = void (*)(const TVector*, int32_t, int32_t, TVector*, int32_t);
using TValues = std::vector<double>;

// Fn over elements Low..High of X into a destination of DestSize elements (X's size for 0).
TValues Smooth(TSmoother Fn, const TValues& X, int32_t Low, int32_t High, int32_t Length,
               int32_t DestSize = 0) {
  TVector Src, Dst;
  FillWith(Src, X);
  Dst.Resize(DestSize > 0 ? DestSize : static_cast<int32_t>(X.size()));
  Fn(&Src, Low, High, &Dst, Length);
  return ValuesOf(Dst);
}

struct TSmootherCase {
  const char* Name;
  TSmoother Fn;
  bool Polynomial;  // lengths 5..25 and messages about "the polynomial"
};
const TSmootherCase Smoothers[] = {{"MovingAverageSmooth", MovingAverageSmooth, false},
                                   {"WeightedAverageSmooth", WeightedAverageSmooth, false},
                                   {"MovingMedianSmooth", MovingMedianSmooth, false},
                                   {"PolynomialSmooth", PolynomialSmooth, true},
                                   {"SecondDeriv", SecondDeriv, true},
                                   {"FirstDeriv", FirstDeriv, true}};

TEST(Smoothing, MessagesInTheDocumentedOrder) {
  for (const auto& C : Smoothers) {
    const std::string N = std::string(C.Name) + ": ";
    const std::string Range =
        N + "specified range for " + (N == "FirstDeriv: " ? "calculation" : "smoothing") +
        " is smaller than the length of the " + (C.Polynomial ? "polynomial" : "smoothing windows");
    const std::string Length =
        N + "length of " + (C.Polynomial ? "polynomial" : "smoothing window");
    TVector Src, Dst;
    FillWith(Src, TValues(40, 1.0));
    // Null vectors; a range of exactly the window (also with an even length: the range is
    // checked first); a length out of range (odd: 1 or 27); an even length.
    const std::pair<std::function<void()>, std::string> Cases[] = {
        {[&] { C.Fn(nullptr, 1, 40, &Dst, 5); }, N + "either SourceVec or DestVec is undefined"},
        {[&] { C.Fn(&Src, 1, 40, nullptr, 5); }, N + "either SourceVec or DestVec is undefined"},
        {[&] { C.Fn(&Src, 1, 5, &Dst, 5); }, Range},
        {[&] { C.Fn(&Src, 1, 4, &Dst, 6); }, Range},
        {[&] { C.Fn(&Src, 1, 40, &Dst, C.Polynomial ? 27 : 1); }, Length + " is out of range"},
        {[&] { C.Fn(&Src, 1, 40, &Dst, 6); }, Length + " must be odd"}};
    for (const auto& [Call, Message] : Cases)
      test::ExpectThrowMessage<EZEQMath2Error>(Call, Message);
    EXPECT_EQ(ValuesOf(Dst), TValues{0.0});  // nothing written before the checks passed
  }
}

TEST(Smoothing, DocumentedExamplesRangesAndEdges) {
  EXPECT_EQ(Smooth(MovingAverageSmooth, {1, 2, 3, 4, 5}, 1, 5, 3), (TValues{2, 2, 3, 4, 4}));
  // Weights 1 2 1, divided by 4.
  EXPECT_EQ(Smooth(WeightedAverageSmooth, {0, 4, 0, 8, 0}, 1, 5, 3), (TValues{2, 2, 3, 4, 4}));
  // A range of length + 1 elements: one computed value, copied to the other outputs, which are
  // relative to the range; the destination's other elements stay.
  EXPECT_EQ(Smooth(MovingAverageSmooth, {1, 2, 3, 4, 9, 10}, 2, 5, 3),
            (TValues{3, 3, 16.0 / 3, 16.0 / 3, 0, 0}));
  TValues X(100);
  for (size_t i = 0; i < X.size(); ++i) X[i] = std::sin(0.3 * static_cast<double>(i)) * 10;
  EXPECT_EQ(Smooth(MovingAverageSmooth, X, 0, 1000000, 5),
            Smooth(MovingAverageSmooth, X, 1, 100, 5));
  EXPECT_EQ(Smooth(MovingMedianSmooth, X, 80, 20, 5), Smooth(MovingMedianSmooth, X, 20, 80, 5));
  // Writes beyond a short destination are dropped.
  EXPECT_EQ(Smooth(PolynomialSmooth, X, 1, 100, 5, 3).size(), 3u);
}

TEST(Smoothing, ConstantSignalsPassEverySmootherUnchanged) {
  for (const auto& C : Smoothers)
    for (int32_t L = C.Polynomial ? 5 : 3; L <= 25; L += 2)
      for (double V : Smooth(C.Fn, TValues(60, 3.25), 1, 60, L))
        ASSERT_NEAR(V, std::string(C.Name).find("Deriv") != std::string::npos ? 0.0 : 3.25, 1e-14)
            << C.Name << " " << L;
}

// The smoothing's tables are checked below; the derivatives' scaling here: the first
// derivative of i is 1, the second of a quadratic its constant 2 c.
TEST(Smoothing, DerivativesOfALineAndAQuadratic) {
  TValues Line(40), Q(40);
  for (size_t i = 0; i < 40; ++i) Line[i] = i + 1.0, Q[i] = 1 + 0.25 * i - 0.125 * i * i;
  for (int32_t L = 5; L <= 25; L += 10) {
    const TValues D1 = Smooth(FirstDeriv, Line, 1, 40, L), D2 = Smooth(SecondDeriv, Q, 1, 40, L);
    for (int32_t i = L / 2; i < 40 - L / 2; ++i) {
      EXPECT_NEAR(D1[static_cast<size_t>(i)], 1, 1e-13) << L;
      EXPECT_NEAR(D2[static_cast<size_t>(i)], -0.25, 1e-13) << L;
    }
  }
}

TEST(Smoothing, PolynomialSmoothOfAnImpulseIsItsTableRow) {
  for (int32_t L = 5; L <= 25; L += 2) {
    TValues X(60, 0.0);
    X[29] = 1;
    const TValues S = Smooth(PolynomialSmooth, X, 1, 60, L);
    const auto& Row = GolayPoly[static_cast<size_t>((L - 5) / 2)];
    for (int32_t k = -L / 2; k <= L / 2; ++k)
      ASSERT_NEAR(S[static_cast<size_t>(29 + k)],
                  static_cast<double>(Row[1 + std::abs(k)]) / Row[0], 1e-15)
          << L << " " << k;
  }
}

TEST(Smoothing, GolayTablesMatchSavgolCoeffs) {
  // Each row divided by its norm is scipy's least-squares filter; the rows have no common
  // divisor; the documented rows for the lengths 5 and 25 read as printed.
  for (const std::string& Line : test::DataLines("zeq/math2/testdata/savgol_coeffs.txt")) {
    const auto V = test::Numbers(Line);
    const auto Row = static_cast<size_t>((V[0] - 5) / 2), j = static_cast<size_t>(V[1]) + 1;
    EXPECT_NEAR(static_cast<double>(GolayPoly[Row][j]) / GolayPoly[Row][0], V[2], 1e-14) << Line;
    EXPECT_NEAR(static_cast<double>(Golay2ndDeriv[Row][j]) / Golay2ndDeriv[Row][0], V[3], 1e-14);
  }
  for (const auto* T : {&GolayPoly, &Golay2ndDeriv})
    for (const auto& Row : *T)
      EXPECT_EQ(std::accumulate(Row.begin() + 1, Row.end(), 0, std::gcd<int, int>), 1);
  EXPECT_EQ(GolayPoly[0], (std::array<int32_t, 14>{35, 17, 12, -3}));
  EXPECT_EQ(Golay2ndDeriv[10], (std::array<int32_t, 14>{26910, -52, -51, -48, -43, -36, -27, -16,
                                                        -3, 12, 29, 48, 69, 92}));
}

// The documented median of a window: Q2 of TVector::Quartiles over a scratch vector filled
// centre first, then the pairs x(i + k), x(i - k).
double DocumentedMedian(const TValues& X, size_t i, size_t m) {
  TValues V{X[i]};
  for (size_t k = 1; k <= m; ++k) V.insert(V.end(), {X[i + k], X[i - k]});
  TVector W;
  FillWith(W, V);
  double Q1, Q2, Q3;
  W.Quartiles(1, W.NrOfElem(), Q1, Q2, Q3);
  return Q2;
}

TEST(Smoothing, SlidingMedianEqualsTheDocumentedWindowMedianBitForBit) {
  std::mt19937_64 Gen(11);
  const double Inf = std::numeric_limits<double>::infinity();
  const double Specials[] = {std::nan(""), Inf, -Inf, 0.0, -0.0, 2.0, 2.0};
  std::uniform_int_distribution<int> Small(-3, 3), Pick(0, 40);
  for (size_t Length : {3, 5, 9, 25})
    for (int Trial = 0; Trial < 8; ++Trial) {
      TValues X(300);  // many ties; from the third trial on, NaN, infinities and signed zeros
      for (double& V : X)
        V = Trial >= 2 && Pick(Gen) < 7 ? Specials[Pick(Gen) % 7] : Small(Gen) * 0.5;
      const TValues S = Smooth(MovingMedianSmooth, X, 1, 300, static_cast<int32_t>(Length));
      for (size_t i = Length / 2; i + Length / 2 < 300; ++i)
        ASSERT_EQ(std::bit_cast<uint64_t>(S[i]),
                  std::bit_cast<uint64_t>(DocumentedMedian(X, i, Length / 2)))
            << Length << " " << Trial << " " << i;
    }
}

TEST(Smoothing, EventsAndInPlaceSmoothing) {
  TVector Src, Dst;
  FillWith(Src, {5, 1, 4, 2, 3, 9, 7, 8});
  Dst.Resize(8);
  test::TChangeCounter Changes(Dst);
  MovingMedianSmooth(&Src, 1, 8, &Dst, 3);
  EXPECT_EQ(Changes.Count, 9);  // eight elements written, then Changed once
  EXPECT_EQ(ValuesOf(Dst), (TValues{4, 4, 2, 3, 3, 7, 8, 8}));
  // In place, centre 2 gives (0 + (0 + 3)) / 3 = 1, stored before centre 3 reads it.
  FillWith(Src, {3, 0, 0, 6, 0, 0});
  MovingAverageSmooth(&Src, 1, 6, &Src, 3);
  TValues E{3, 0, 0, 6, 0, 0};
  for (size_t i = 1; i <= 4; ++i) E[i] = (E[i] + (E[i + 1] + E[i - 1])) / 3;
  E[0] = E[1];
  E[5] = E[4];
  EXPECT_EQ(ValuesOf(Src), E);
}

}  // namespace
}  // namespace zeq
