#include "zeq/sline/sline.h"

#include "zeq/testing/test_util.h"

namespace zeq {
namespace {

using TValues = std::vector<double>;
constexpr double Pi = std::numbers::pi;

TValues Params(const TSLine& L) { return {L.ParA(), L.ParB(), L.ParC()}; }

TEST(SLine, ConstructionSettersAndMessages) {
  TSLine L, M;
  EXPECT_EQ(Params(L), (TValues{0, 1, 0}));
  EXPECT_EQ((TValues{L.CalcY(123), L.GetSlope(), L.GetDirect()}), (TValues{0, 0, 0}));
  L.SetParA(0);  // accepted: ParB is 1
  const std::string Both = "parameter A and B must not both be zero";
  test::ExpectThrowMessage<EZEQSLineError>([&] { L.SetParB(0); }, Both);
  EXPECT_EQ(Params(L), (TValues{0, 1, 0}));  // unchanged
  EXPECT_FALSE(L.LineFrom2Points(1, 1, 1, 1));
  EXPECT_TRUE(L.LineFrom2Points(0, 0, 1, 1));
  EXPECT_EQ(Params(L), (TValues{-1, 1, 0}));
  L.LineFromSlopeIcpt(2, 3);
  EXPECT_EQ((TValues{L.CalcY(1), L.CalcX(7), L.GetSlope(), L.GetIntercept()}),
            (TValues{5, 2, 2, 3}));
  M.NormalLine(1, 5, &L);  // through (1, 5), slope -1/2
  EXPECT_NEAR(M.CalcY(3), 4, 1e-15);
  M.ParallelLine(0, 0, &L);
  EXPECT_EQ(M.CalcY(4), 8);
  M.LineThroughPoint(1, 1, Pi / 4);
  EXPECT_NEAR(M.CalcY(3), 3, 1e-15);
  // A vertical line: the messages, and the substitute of infinity.
  L.SetParA(1);
  L.SetParB(0);
  L.SetParC(-2);  // x = 2
  double k, d;
  test::ExpectThrowMessage<EZEQSLineError>([&] { L.CalcKDForm(k, d); },
                                           "cannot convert to k-d-form if ParB is zero");
  test::ExpectThrowMessage<EZEQSLineError>([&] { L.GetSlope(); }, "slope is infinite");
  test::ExpectThrowMessage<EZEQSLineError>(
      [&] { L.GetIntercept(); }, "cannot calculate intercept (line is parallel to y axis)");
  test::ExpectThrowMessage<EZEQSLineError>([&] { L.CalcY(1); }, "cannot calculate y");
  test::ExpectThrowMessage<EZEQSLineError>(
      [&] { M.SetParA(0), M.SetParB(1), M.SetParC(1), M.CalcX(0); }, "cannot calculate x");
  L.SetSubstituteInf(true);
  EXPECT_NEAR(L.CalcY(3), -1e100, 1e86);
  EXPECT_EQ(L.CalcX(123), 2);
}

TEST(SLine, IntersectionsAnglesDistancesAndDirections) {
  TSLine A, B;
  A.LineFromSlopeIcpt(1, 0);
  B.LineFromSlopeIcpt(-1, 2);
  double x = 7, y = 7;
  ASSERT_TRUE(A.InterSection(&B, x, y));
  EXPECT_EQ((TValues{x, y}), (TValues{1, 1}));
  EXPECT_EQ(A.AngleBetweenLines(&B), 1.5707963267948966);
  B.LineFromSlopeIcpt(1, 5);
  EXPECT_FALSE(A.InterSection(&B, x, y));  // parallel: outputs untouched
  EXPECT_EQ((std::tuple{x, A.AngleBetweenLines(&B)}), (std::tuple{1, 0}));
  EXPECT_NEAR(A.Distance(0, 2), std::sqrt(2.0), 1e-15);
  // Directions of x = c written with ParA = 1 and -1, and of lines through the origin.
  A.SetParA(1), A.SetParB(0), A.SetParC(-3);
  EXPECT_EQ(A.GetDirect(), static_cast<double>(3 * std::numbers::pi_v<long double> / 2));
  A.SetParA(-1);
  EXPECT_EQ(A.GetDirect(), Pi / 2);
  for (double Phi : {0.3, 2.0, 3.5, 5.9}) {
    A.LineThroughPoint(0, 0, Phi);
    EXPECT_NEAR(A.GetDirect(), Phi, 1e-15) << Phi;
  }
}

TEST(SLine, ClipBoxKeepsThePartInsideTheBox) {
  TSLine L;
  L.LineFromSlopeIcpt(1, 0);
  double xa, ya, xb, yb;
  ASSERT_TRUE(L.ClipBox(-1, -2, 3, 1, xa, ya, xb, yb));
  EXPECT_EQ((TValues{xa, ya, xb, yb}), (TValues{-1, -1, 1, 1}));
  EXPECT_FALSE(L.SubstituteInf());  // restored
  EXPECT_FALSE(L.ClipBox(5, -2, 6, 1, xa, ya, xb, yb));
  // Lines along the four edges, found at the limits of the edges; a vertical line meets its
  // edge x = x1 or x2 at y = 0 (0 / 1e-100), then the edge y = y1 at its corner.
  for (auto [Line, Ends] : {std::pair{TValues{-1, -2, 3, -2}, TValues{-1, -2, 3, -2}},
                            {{-1, 1, 3, 1}, {-1, 1, 3, 1}},
                            {{-1, -2, -1, 1}, {-1, 0, -1, -2}},
                            {{3, -2, 3, 1}, {3, 0, 3, -2}}}) {
    ASSERT_TRUE(L.LineFrom2Points(Line[0], Line[1], Line[2], Line[3]));
    ASSERT_TRUE(L.ClipBox(-1, -2, 3, 1, xa, ya, xb, yb));
    EXPECT_EQ((TValues{xa, ya, xb, yb}), Ends);
  }
  // Random lines and boxes: both ends lie on the boundary, the segment between them inside, and
  // the line beyond them outside.
  std::mt19937_64 Gen(3);
  std::uniform_real_distribution<double> U(-10, 10);
  int Hits = 0;
  for (int t = 0; t < 500; ++t) {
    ASSERT_TRUE(L.LineFrom2Points(U(Gen), U(Gen), U(Gen), U(Gen)));
    const double x1 = -3, y1 = -2, x2 = 4, y2 = 5;
    if (!L.ClipBox(x1, y1, x2, y2, xa, ya, xb, yb)) {  // then all corners lie on one side
      const auto Side = [&](double x, double y) {
        return L.ParA() * x + L.ParB() * y + L.ParC() > 0;
      };
      EXPECT_TRUE(Side(x1, y1) == Side(x2, y1) && Side(x1, y1) == Side(x1, y2) &&
                  Side(x1, y1) == Side(x2, y2));
      continue;
    }
    ++Hits;
    const auto Inside = [&](double x, double y, double Tol) {
      return x >= x1 - Tol && x <= x2 + Tol && y >= y1 - Tol && y <= y2 + Tol;
    };
    EXPECT_LT(L.Distance(xa, ya), 1e-9);
    EXPECT_LT(L.Distance(xb, yb), 1e-9);
    for (double s = 0; s <= 1; s += 0.125)
      EXPECT_TRUE(Inside(xa + s * (xb - xa), ya + s * (yb - ya), 1e-9));
    if (xa != xb || ya != yb) {
      const double dx = (xb - xa) * 0.01, dy = (yb - ya) * 0.01;
      EXPECT_FALSE(Inside(xa - dx, ya - dy, -1e-9));
      EXPECT_FALSE(Inside(xb + dx, yb + dy, -1e-9));
    }
  }
  EXPECT_GT(Hits, 100);
}

}  // namespace
}  // namespace zeq
