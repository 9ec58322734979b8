#include "zeq/math2/smoothing.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <functional>
#include <limits>
#include <random>

#include "zeq/testing/test_util.h"
#include "zeq/testing/vector_test_util.h"

namespace zeq {
namespace {

using test::FillWith;
using test::ValuesOf;
using TSmoother = void (*)(const TVector*, int32_t, int32_t, TVector*, int32_t);

struct TSmootherCase {
  const char* Name;
  TSmoother Fn;
  int32_t MinLength, MaxLength;
  const char* RangeText;  // what the "specified range" message calls the window
};

const TSmootherCase Smoothers[] = {
    {"MovingAverageSmooth", MovingAverageSmooth, 3, 0,
     "for smoothing is smaller than the length of the smoothing windows"},
    {"WeightedAverageSmooth", WeightedAverageSmooth, 3, 0,
     "for smoothing is smaller than the length of the smoothing windows"},
    {"MovingMedianSmooth", MovingMedianSmooth, 3, 0,
     "for smoothing is smaller than the length of the smoothing windows"},
    {"PolynomialSmooth", PolynomialSmooth, 5, 25,
     "for smoothing is smaller than the length of the polynomial"},
    {"SecondDeriv", SecondDeriv, 5, 25,
     "for smoothing is smaller than the length of the polynomial"},
    {"FirstDeriv", FirstDeriv, 5, 25,
     "for calculation is smaller than the length of the polynomial"},
};

std::string LengthNoun(const TSmootherCase& C) {
  return C.MaxLength == 0 ? "length of smoothing window" : "length of polynomial";
}

TEST(Smoothing, MessagesInTheDocumentedOrder) {
  for (const auto& C : Smoothers) {
    SCOPED_TRACE(C.Name);
    const std::string N = C.Name;
    TVector Src, Dst;
    FillWith(Src, std::vector<double>(40, 1.0));
    test::ExpectThrowMessage<EZEQMath2Error>([&] { C.Fn(nullptr, 1, 40, &Dst, 5); },
                                             N + ": either SourceVec or DestVec is undefined");
    test::ExpectThrowMessage<EZEQMath2Error>([&] { C.Fn(&Src, 1, 40, nullptr, 5); },
                                             N + ": either SourceVec or DestVec is undefined");
    // A range of exactly the window's length is too short; the range is tested before the
    // length, so an even length over a short range reports the range.
    test::ExpectThrowMessage<EZEQMath2Error>([&] { C.Fn(&Src, 1, 5, &Dst, 5); },
                                             N + ": specified range " + C.RangeText);
    test::ExpectThrowMessage<EZEQMath2Error>([&] { C.Fn(&Src, 1, 4, &Dst, 6); },
                                             N + ": specified range " + C.RangeText);
    const int32_t TooLong = C.MaxLength == 0 ? 1 : 27;  // 1 is too short, 27 too long; both odd
    test::ExpectThrowMessage<EZEQMath2Error>([&] { C.Fn(&Src, 1, 40, &Dst, TooLong); },
                                             N + ": " + LengthNoun(C) + " is out of range");
    test::ExpectThrowMessage<EZEQMath2Error>([&] { C.Fn(&Src, 1, 40, &Dst, 6); },
                                             N + ": " + LengthNoun(C) + " must be odd");
    EXPECT_EQ(Dst.NrOfElem(), 1);  // nothing written before the checks passed
    EXPECT_EQ(Dst.GetVal(1), 0.0);
  }
}

TEST(Smoothing, DocumentedExamples) {
  TVector Src, Dst;
  FillWith(Src, {1, 2, 3, 4, 5});
  Dst.Resize(5);
  MovingAverageSmooth(&Src, 1, 5, &Dst, 3);
  EXPECT_EQ(ValuesOf(Dst), (std::vector<double>{2, 2, 3, 4, 4}));

  FillWith(Src, {0, 4, 0, 8, 0});
  WeightedAverageSmooth(&Src, 1, 5, &Dst, 3);  // weights 1 2 1, divided by 4
  EXPECT_EQ(ValuesOf(Dst), (std::vector<double>{2, 2, 3, 4, 4}));

  // A range of length + 1 elements: one computed value, copied to every other output.
  FillWith(Src, {1, 2, 3, 4, 9, 10});
  Dst.Resize(4);
  MovingAverageSmooth(&Src, 2, 5, &Dst, 3);
  EXPECT_EQ(ValuesOf(Dst), (std::vector<double>{3, 3, 16.0 / 3, 16.0 / 3}));
}

TEST(Smoothing, RangeBoundsAreClampedAndOrderedAndOutputIsRelativeToTheRange) {
  TVector Src, A, B, C, D;
  std::vector<double> X(100);
  for (size_t i = 0; i < X.size(); ++i) X[i] = std::sin(0.3 * static_cast<double>(i)) * 10;
  FillWith(Src, X);
  for (TVector* V : {&A, &B, &C, &D}) V->Resize(100);
  MovingAverageSmooth(&Src, 0, 1000000, &A, 5);
  MovingAverageSmooth(&Src, 1, 100, &B, 5);
  EXPECT_EQ(ValuesOf(A), ValuesOf(B));
  MovingMedianSmooth(&Src, 80, 20, &C, 5);
  MovingMedianSmooth(&Src, 20, 80, &D, 5);
  EXPECT_EQ(ValuesOf(C), ValuesOf(D));
  EXPECT_NE(C.GetVal(61), 0.0);
  EXPECT_EQ(C.GetVal(62), 0.0);  // beyond the 61 outputs of the range: untouched
}

TEST(Smoothing, ConstantSignalsPassEverySmootherUnchanged) {
  TVector Src, Dst;
  FillWith(Src, std::vector<double>(60, 3.25));
  Dst.Resize(60);
  for (const auto& C : Smoothers) {
    const bool Derivative = std::string(C.Name).find("Deriv") != std::string::npos;
    for (int32_t L = C.MinLength; L <= 25; L += 2) {
      C.Fn(&Src, 1, 60, &Dst, L);
      for (int32_t i = 1; i <= 60; ++i)
        ASSERT_NEAR(Dst.GetVal(i), Derivative ? 0.0 : 3.25, 1e-14) << C.Name << " " << L;
    }
  }
}

TEST(Smoothing, SavitzkyGolayIsExactForCubicsAndDifferentiatesThem) {
  // x(i) = c0 + c1 t + c2 t^2 + c3 t^3 with t = i: smoothing reproduces it in the interior, the
  // first derivative gives the slope of the fitted quadratic, which is exact up to degree 2.
  const auto Cubic = [](double t) { return 2 - 0.5 * t + 0.03 * t * t + 0.0007 * t * t * t; };
  const auto Quadratic = [](double t) { return 1 + 0.25 * t - 0.125 * t * t; };
  TVector Src, Dst;
  std::vector<double> X(80), Q(80);
  for (int i = 1; i <= 80; ++i) {
    X[static_cast<size_t>(i - 1)] = Cubic(i);
    Q[static_cast<size_t>(i - 1)] = Quadratic(i);
  }
  Dst.Resize(80);
  for (int32_t L = 5; L <= 25; L += 2) {
    const int32_t m = L / 2;
    FillWith(Src, X);
    PolynomialSmooth(&Src, 1, 80, &Dst, L);
    for (int32_t i = m + 1; i <= 80 - m; ++i) ASSERT_NEAR(Dst.GetVal(i), Cubic(i), 1e-11) << L;
    FillWith(Src, Q);
    FirstDeriv(&Src, 1, 80, &Dst, L);
    for (int32_t i = m + 1; i <= 80 - m; ++i) ASSERT_NEAR(Dst.GetVal(i), 0.25 - 0.25 * i, 1e-12);
    SecondDeriv(&Src, 1, 80, &Dst, L);
    for (int32_t i = 1; i <= 80; ++i) ASSERT_NEAR(Dst.GetVal(i), -0.25, 1e-12) << L;
  }
  // The documented examples: the slope of x(i) = i is 1, the curvature of i^2 / 2 is 1.
  for (int i = 1; i <= 80; ++i) X[static_cast<size_t>(i - 1)] = i;
  FillWith(Src, X);
  FirstDeriv(&Src, 1, 80, &Dst, 7);
  for (int32_t i = 1; i <= 80; ++i) EXPECT_DOUBLE_EQ(Dst.GetVal(i), 1.0);
}

TEST(Smoothing, GolayTablesMatchSavgolCoeffs) {
  // Each row divided by its norm is scipy's least-squares filter; the rows are reduced (no
  // common divisor), and the documented rows for the lengths 5 and 25 read as printed.
  for (const std::string& Line : test::DataLines("zeq/math2/testdata/savgol_coeffs.txt")) {
    const auto V = test::Numbers(Line);
    const auto Length = static_cast<int32_t>(V[0]), j = static_cast<int32_t>(V[1]);
    const auto& P = GolayPoly[static_cast<size_t>((Length - 5) / 2)];
    const auto& D = Golay2ndDeriv[static_cast<size_t>((Length - 5) / 2)];
    EXPECT_NEAR(static_cast<double>(P[static_cast<size_t>(j + 1)]) / P[0], V[2], 1e-14) << Line;
    EXPECT_NEAR(static_cast<double>(D[static_cast<size_t>(j + 1)]) / D[0], V[3], 1e-14) << Line;
  }
  for (const auto* T : {&GolayPoly, &Golay2ndDeriv})
    for (size_t r = 0; r < 11; ++r) {
      int32_t G = 0;
      for (size_t j = 1; j <= r + 3; ++j) G = std::gcd(G, (*T)[r][j]);
      EXPECT_EQ(G, 1) << r;
      for (size_t j = r + 4; j < 14; ++j) EXPECT_EQ((*T)[r][j], 0);
    }
  EXPECT_EQ(GolayPoly[0], (std::array<int32_t, 14>{35, 17, 12, -3}));
  EXPECT_EQ(Golay2ndDeriv[10], (std::array<int32_t, 14>{26910, -52, -51, -48, -43, -36, -27, -16,
                                                        -3, 12, 29, 48, 69, 92}));
}

// The documented median of a window: a scratch vector filled centre first, then the pairs
// x(i + k), x(i - k), and Q2 of TVector::Quartiles.
double DocumentedMedian(const std::vector<double>& X, int32_t i, int32_t m) {
  TVector W;
  std::vector<double> V{X[static_cast<size_t>(i - 1)]};
  for (int32_t k = 1; k <= m; ++k) {
    V.push_back(X[static_cast<size_t>(i + k - 1)]);
    V.push_back(X[static_cast<size_t>(i - k - 1)]);
  }
  FillWith(W, V);
  double Q1, Q2, Q3;
  W.Quartiles(1, W.NrOfElem(), Q1, Q2, Q3);
  return Q2;
}

TEST(Smoothing, SlidingMedianEqualsTheDocumentedWindowMedianBitForBit) {
  std::mt19937_64 Gen(11);
  const double Inf = std::numeric_limits<double>::infinity();
  const double Specials[] = {std::nan(""), Inf, -Inf, 0.0, -0.0, 2.0, 2.0};
  for (int32_t Length : {3, 5, 9, 25}) {
    for (int Trial = 0; Trial < 8; ++Trial) {
      std::vector<double> X(300);
      std::uniform_int_distribution<int> Small(-3, 3), Pick(0, 40);
      for (double& V : X) {
        const int P = Pick(Gen);
        V = P < 7 && Trial >= 2 ? Specials[P] : Small(Gen) * 0.5;  // many ties
      }
      TVector Src, Dst;
      FillWith(Src, X);
      Dst.Resize(300);
      MovingMedianSmooth(&Src, 1, 300, &Dst, Length);
      const int32_t m = Length / 2;
      for (int32_t i = m + 1; i <= 300 - m; ++i)
        ASSERT_EQ(std::bit_cast<uint64_t>(Dst.GetVal(i)),
                  std::bit_cast<uint64_t>(DocumentedMedian(X, i, m)))
            << "length " << Length << " trial " << Trial << " at " << i;
    }
  }
}

TEST(Smoothing, EventsAndShortDestinations) {
  TVector Src, Dst;
  FillWith(Src, {5, 1, 4, 2, 3, 9, 7, 8});
  Dst.Resize(8);
  int Changes = 0;
  Dst.OnChange = [&](TObject*) { ++Changes; };
  MovingMedianSmooth(&Src, 1, 8, &Dst, 3);
  EXPECT_EQ(Changes, 9);  // eight elements written, then Changed once
  EXPECT_EQ(ValuesOf(Dst), (std::vector<double>{4, 4, 2, 3, 3, 7, 8, 8}));
  TVector Short;
  Short.Resize(3);  // writes beyond the destination are dropped
  PolynomialSmooth(&Src, 1, 8, &Short, 5);
  EXPECT_EQ(Short.NrOfElem(), 3);
}

TEST(Smoothing, InPlaceSmoothingReadsTheValuesAlreadyWritten) {
  TVector V;
  FillWith(V, {3, 0, 0, 6, 0, 0});
  MovingAverageSmooth(&V, 1, 6, &V, 3);
  // Centre 2 gives (0 + (0 + 3)) / 3 = 1, stored in element 2 before centre 3 reads it.
  std::vector<double> E{3, 0, 0, 6, 0, 0};
  for (size_t i = 1; i <= 4; ++i) E[i] = (E[i] + (E[i + 1] + E[i - 1])) / 3;
  E[0] = E[1];
  E[5] = E[4];
  EXPECT_EQ(E[1], 1.0);
  EXPECT_EQ(ValuesOf(V), E);
}

}  // namespace
}  // namespace zeq
