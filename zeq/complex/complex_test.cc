#include "zeq/complex/complex.h"
#include "zeq/testing/test_util.h"

namespace zeq {
namespace {

constexpr long double Pi = std::numbers::pi_v<long double>;

std::pair<long double, long double> Parts(const TComplex& Z) { return {Z.re, Z.im}; }

TEST(Complex, RecordsAndArithmetic) {
  EXPECT_EQ(std::tuple(sizeof(TComplex), sizeof(TComplexPolar), CpxNearZero),
            std::tuple(32u, 32u, 1e-15L));  // two extended fields each
  const TComplex I = Cpx(0, 1);
  for (auto [Got, Re, Im] : {std::tuple{CpxMult(I, I), -1.0L, 0.0L},
                             {CpxDiv(Cpx(1, 0), I), 0, -1},
                             {CpxAdd(Cpx(1, 2), Cpx(3, -5)), 4, -3},
                             {CpxSub(Cpx(1, 2), Cpx(3, -5)), -2, 7},
                             {CpxConj(Cpx(1, 2)), 1, -2},
                             {CpxNeg(Cpx(1, -2)), -1, 2},
                             {CpxDiv(Cpx(11, 2), Cpx(3, 4)), 41.0L / 25, -38.0L / 25}})
    EXPECT_EQ(Parts(Got), std::pair(Re, Im));  // (11+2i)(3-4i)/25 last
  EXPECT_EQ(std::pair(CpxAbs(Cpx(3, 4)), CpxAbsSqr(Cpx(3, 4))), std::pair(5.0L, 25.0L));
}

TEST(Complex, DivisionByZeroRaises) {
  test::ExpectThrowMessage<EZEQComplexError>([&] { CpxDiv(Cpx(1, 1), Cpx(0, 0)); },
                                             "CpxDiv: division by zero");
  EXPECT_THROW(CpxDiv(Cpx(1, 0), Cpx(1e-3000L, 0)), EZEQComplexError);        // |b|^2 underflows
  EXPECT_THROW(CpxDiv(Cpx(1e4000L, 0), Cpx(1e-4000L, 0)), EZEQComplexError);  // overflow
  EXPECT_NO_THROW(CpxDiv(Cpx(NAN, 0), Cpx(1, 0)));  // NaN propagates quietly
}

TEST(Complex, ComparisonsAreStrict) {
  EXPECT_TRUE(CpxIsZero(Cpx(1e-16L, -1e-16L)));
  EXPECT_FALSE(CpxIsZero(Cpx(1e-15L, 0)));
  EXPECT_TRUE(CpxIsNearEqual(Cpx(1, 1), Cpx(1 + 1e-16L, 1)));
  EXPECT_FALSE(CpxIsEqual(Cpx(1, 1), Cpx(1 + 1e-16L, 1)));
  EXPECT_TRUE(CpxIsEqual(Cpx(1, 1), Cpx(1, 1)));
  const long double Saved = CpxNearZero;
  CpxNearZero = 1e-3L;
  EXPECT_TRUE(CpxIsZero(Cpx(5e-4L, 0)));
  CpxNearZero = 0.5L;  // differences of exactly the tolerance are not near
  EXPECT_FALSE(CpxIsNearEqual(Cpx(1, 0), Cpx(1.5L, 0)));
  EXPECT_FALSE(CpxIsNearEqual(Cpx(0, 1), Cpx(0, 1.5L)));
  CpxNearZero = Saved;
}

TEST(Complex, PolarConversion) {
  const auto Polar = [](const TComplex& Z) {
    const TComplexPolar P = ConvertRectToPolar(Z);
    return std::pair(P.r, P.phi);
  };
  EXPECT_EQ(Polar(Cpx(-1, 0)), std::pair(1.0L, Pi));
  EXPECT_EQ(Polar(Cpx(-1, -0.0L)), std::pair(1.0L, Pi));  // still pi, not -pi
  EXPECT_EQ(Polar(Cpx(0, 0)), std::pair(0.0L, 0.0L));
  const TComplex Z = ConvertPolarToRect({2, Pi / 2});
  EXPECT_NEAR(static_cast<double>(Z.re), 0, 1e-18);
  EXPECT_EQ(Z.im, 2);
  const TComplex Back = ConvertPolarToRect(ConvertRectToPolar(Cpx(-3, 4)));
  EXPECT_NEAR(static_cast<double>(Back.re), -3, 1e-17);
  EXPECT_NEAR(static_cast<double>(Back.im), 4, 1e-17);
}

}  // namespace
}  // namespace zeq
