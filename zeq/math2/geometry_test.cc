#include "zeq/math2/geometry.h"

#include "zeq/testing/example_table.h"
#include "zeq/testing/test_util.h"

namespace zeq {
namespace {

using TPoints = std::vector<TPointDouble>;
using namespace test::table;

// The points of a list argument "x y; x y; ...".
TPoints Points(const std::string& Rows) {
  TPoints P;
  for (const auto& R : ListRows(Rows)) P.push_back({R.at(0), R.at(1)});
  return P;
}

TEST(GeometryExamples, TableOfCalls) {
  test::RunExamples(
      "zeq/math2/testdata/geometry_examples.txt",
      ZEQ_CALLS(SphereGreatCircleDist, CheckParanthInExp),
      {{"PointIsInsidePolygon",
        [](A a) { return Show(PointIsInsidePolygon(Num(a[0]), Num(a[1]), Points(a[2]))); }},
       {"PolygonArea", [](A a) { return Show(PolygonArea(Points(a[0]))); }},
       {"OuterRectOfPolygon",
        [](A a) {
          double MinX, MinY, MaxX, MaxY;
          OuterRectOfPolygon(Points(a[0]), MinX, MinY, MaxX, MaxY);
          return Show(MinX, MinY, MaxX, MaxY);
        }},
       {"Convex2DHullSize", [](A a) { return Show(Convex2DHull(Points(a[0])).size()); }}});
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

TEST(ConvexHull, RandomSetsAgainstABruteForceHull) {
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
