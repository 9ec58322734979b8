#include "zeq/complex/complex.h"
#include "zeq/testing/test_util.h"

namespace zeq {
namespace {

constexpr long double Pi = std::numbers::pi_v<long double>;

void ExpectCpx(const TComplex& Z, long double Re, long double Im) {
  EXPECT_EQ(Z.re, Re);
  EXPECT_EQ(Z.im, Im);
}

TEST(Complex, RecordsHoldTwoExtendedFields) {
  EXPECT_EQ(sizeof(TComplex), 32u);
  EXPECT_EQ(sizeof(TComplexPolar), 32u);
  EXPECT_EQ(CpxNearZero, 1e-15L);
}

TEST(Complex, Arithmetic) {
  const TComplex I = Cpx(0, 1);
  ExpectCpx(CpxMult(I, I), -1, 0);
  ExpectCpx(CpxDiv(Cpx(1, 0), I), 0, -1);
  ExpectCpx(CpxAdd(Cpx(1, 2), Cpx(3, -5)), 4, -3);
  ExpectCpx(CpxSub(Cpx(1, 2), Cpx(3, -5)), -2, 7);
  ExpectCpx(CpxConj(Cpx(1, 2)), 1, -2);
  ExpectCpx(CpxNeg(Cpx(1, -2)), -1, 2);
  ExpectCpx(CpxDiv(Cpx(11, 2), Cpx(3, 4)), 41.0L / 25, -38.0L / 25);  // (11+2i)(3-4i)/25
  EXPECT_EQ(CpxAbs(Cpx(3, 4)), 5);
  EXPECT_EQ(CpxAbsSqr(Cpx(3, 4)), 25);
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
  TComplexPolar P = ConvertRectToPolar(Cpx(-1, 0));
  EXPECT_EQ(P.r, 1);
  EXPECT_EQ(P.phi, Pi);
  P = ConvertRectToPolar(Cpx(-1, -0.0L));  // still pi, not -pi
  EXPECT_EQ(P.phi, Pi);
  P = ConvertRectToPolar(Cpx(0, 0));
  EXPECT_EQ(P.r, 0);
  EXPECT_EQ(P.phi, 0);
  const TComplex Z = ConvertPolarToRect({2, Pi / 2});
  EXPECT_NEAR(static_cast<double>(Z.re), 0, 1e-18);
  EXPECT_EQ(Z.im, 2);
  const TComplex Back = ConvertPolarToRect(ConvertRectToPolar(Cpx(-3, 4)));
  EXPECT_NEAR(static_cast<double>(Back.re), -3, 1e-17);
  EXPECT_NEAR(static_cast<double>(Back.im), 4, 1e-17);
}

}  // namespace
}  // namespace zeq
