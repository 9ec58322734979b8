#include "zeq/math2/geometry.h"

#include "zeq/testing/test_util.h"

namespace zeq {
namespace {

using TPoints = std::vector<TPointDouble>;
const TPoints Square{{0, 0}, {1, 0}, {1, 1}, {0, 1}};

TEST(Geometry, GreatCircleDistanceAgreesWithHaversine) {
  EXPECT_EQ(SphereGreatCircleDist(6371, 47.07, 15.44, 47.07, 15.44), 0.0);  // c clamped to 1
  // The haversine formula in mpmath at 40 digits, R = 6371.
  for (auto [a, b, c, d, Km] : {std::tuple{47.07, 15.44, 48.21, 16.37, 144.64704532497156},
                                {-33.9, 151.2, 51.5, -0.13, 16996.530740035064},
                                {10.0, -179.0, -10.0, 179.0, 2234.8777849976875},
                                {0.0, 0.0, 0.0, 180.0, 20015.086796020573}})
    EXPECT_NEAR(SphereGreatCircleDist(6371, a, b, c, d), Km, 1e-9) << a;
}

TEST(Geometry, PolygonsAndParentheses) {
  EXPECT_TRUE(PointIsInsidePolygon(0.5, 0.5, Square));
  EXPECT_FALSE(PointIsInsidePolygon(1, 0.5, Square));  // on the edge
  EXPECT_FALSE(PointIsInsidePolygon(2, 0.5, Square));
  EXPECT_FALSE(PointIsInsidePolygon(0, 0, {}));
  const TPoints L{{0, 0}, {2, 0}, {2, 1}, {1, 1}, {1, 2}, {0, 2}};  // an L of area 3
  for (const TPoints& Poly : {L, TPoints(L.rbegin(), L.rend())}) {  // either orientation
    EXPECT_TRUE(PointIsInsidePolygon(0.5, 1.5, Poly));
    EXPECT_TRUE(PointIsInsidePolygon(1.5, 0.5, Poly));
    EXPECT_FALSE(PointIsInsidePolygon(1.5, 1.5, Poly));  // in the notch
  }
  EXPECT_EQ(PolygonArea(L), 3);
  EXPECT_EQ(PolygonArea(Square), 1);
  EXPECT_EQ(PolygonArea(TPoints(Square.rbegin(), Square.rend())), -1);
  double MinX, MinY, MaxX, MaxY;
  OuterRectOfPolygon(TPoints{{0, 0}, {2, 1}, {1, 3}, {-1, 2}}, MinX, MinY, MaxX, MaxY);
  EXPECT_EQ((std::vector<double>{MinX, MinY, MaxX, MaxY}), (std::vector<double>{-1, 0, 2, 3}));
  EXPECT_EQ(CheckParanthInExp("(a+b)*(c"), 1);
  EXPECT_EQ(CheckParanthInExp("a)+(b"), -2);
  EXPECT_EQ(CheckParanthInExp("((x))"), 0);
}

// The strictly convex hull by Andrew's monotone chain (collinear points left out).
std::set<std::pair<double, double>> BruteHull(TPoints P) {
  std::sort(P.begin(), P.end(),
            [](auto a, auto b) { return a.X < b.X || (a.X == b.X && a.Y < b.Y); });
  const auto Cross = [](TPointDouble o, TPointDouble a, TPointDouble b) {
    return (a.X - o.X) * (b.Y - o.Y) - (a.Y - o.Y) * (b.X - o.X);
  };
  TPoints H(2 * P.size());
  size_t k = 0;
  for (size_t i = 0; i < P.size(); ++i) {
    while (k >= 2 && Cross(H[k - 2], H[k - 1], P[i]) <= 0) --k;
    H[k++] = P[i];
  }
  for (size_t i = P.size() - 1, t = k + 1; i-- > 0;) {
    while (k >= t && Cross(H[k - 2], H[k - 1], P[i]) <= 0) --k;
    H[k++] = P[i];
  }
  std::set<std::pair<double, double>> S;
  for (size_t i = 0; i + 1 < k; ++i) S.insert({H[i].X, H[i].Y});
  return S;
}

TEST(ConvexHull, DocumentedCasesAndRandomSetsAgainstABruteForceHull) {
  TPoints WithCentre = Square;
  WithCentre.push_back({0.5, 0.5});
  const TPoints Hull = Convex2DHull(WithCentre);
  EXPECT_EQ(Hull.size(), 4u);
  EXPECT_EQ(Convex2DHull(TPoints{{0, 0}, {5, 1}, {2, 2}}).size(), 3u);  // fewer than 4: as they are
  // A diamond: a vertical chord between two corners with the others within 1 of it.
  const TPoints Diamond{{0, 0}, {0.5, 0.5}, {0, 1}, {-0.5, 0.5}};
  EXPECT_EQ(Convex2DHull(Diamond).size(), 4u);
  std::mt19937_64 Gen(2);
  std::uniform_int_distribution<int> Grid(-20,
                                          20);  // integer points: collinear triples, duplicates
  std::uniform_real_distribution<double> U(-1, 1);
  for (int Trial = 0; Trial < 60; ++Trial) {
    TPoints P(static_cast<size_t>(10 + Trial * 3));
    for (auto& Q : P)
      Q = Trial % 2 ? TPointDouble{static_cast<double>(Grid(Gen)), static_cast<double>(Grid(Gen))}
                    : TPointDouble{U(Gen), U(Gen)};
    const TPoints H = Convex2DHull(P);
    std::set<std::pair<double, double>> Got;
    for (auto Q : H) Got.insert({Q.X, Q.Y});
    ASSERT_EQ(Got, BruteHull(P)) << Trial;
    ASSERT_GT(PolygonArea(H), 0);  // counter-clockwise
    // Inside the hull exactly where inside the polygon the hull forms.
    for (int q = 0; q < 50; ++q) {
      const double x = Grid(Gen) * 0.9, y = Grid(Gen) * 0.9;
      ASSERT_EQ(PointIsInsideConvexHull(x, y, H), PointIsInsidePolygon(x, y, H)) << x << " " << y;
    }
  }
}

TEST(ImageCorrelation, SelfNegativeSizesAndOutsidePixels) {
  TBitmap A(16, 12), B(16, 12);
  std::mt19937_64 Gen(4);
  std::uniform_int_distribution<int> Byte(0, 255);
  for (int32_t y = 0; y < 12; ++y)
    for (int32_t x = 0; x < 16; ++x) {
      const auto R = static_cast<uint8_t>(Byte(Gen)), G = static_cast<uint8_t>(Byte(Gen)),
                 Bl = static_cast<uint8_t>(Byte(Gen));
      A.SetPixel(x, y, RGB(R, G, Bl));
      B.SetPixel(x, y,
                 RGB(static_cast<uint8_t>(255 - R), static_cast<uint8_t>(255 - G),
                     static_cast<uint8_t>(255 - Bl)));
    }
  const TRect All{0, 0, 15, 11};
  for (auto Mode : {icmRed, icmBlue, icmGreen, icmHue, icmLightness, icmSaturation, icmGrayValues})
    EXPECT_NEAR(CalcImgCorrelation(&A, &A, All, All, Mode), 1, 1e-14) << int(Mode);
  for (auto Mode : {icmRed, icmBlue, icmGreen, icmLightness})
    EXPECT_NEAR(CalcImgCorrelation(&A, &B, All, All, Mode), -1, 1e-14) << int(Mode);
  test::ExpectThrowMessage<EZEQMath2Error>(
      [&] {
        CalcImgCorrelation(&A, &B, All, TRect{0, 0, 14, 11}, icmRed);
      },
      "image ranges to compare are not of equal size");
  // Area 2 lies partly outside B: those pixels read as black, the result stays a correlation.
  const double r = CalcImgCorrelation(&A, &B, TRect{0, 0, 7, 5}, TRect{10, 8, 17, 13}, icmRed);
  EXPECT_TRUE(r >= -1 && r <= 1);
  EXPECT_EQ(CalcImgCorrelation(&A, &B, TRect{0, 0, 0, 1}, TRect{0, 0, 0, 1}, icmRed),
            0);  // 2 pixels
  EXPECT_EQ(CalcImgCorrelation(nullptr, &B, All, All, icmRed), 0);
}

}  // namespace
}  // namespace zeq
