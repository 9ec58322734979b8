// Examples of the elementary routines and of complex numbers.
#include <vector>

#include "examples.h"
#include "zeq/complex/complex.h"
#include "zeq/math1/math1.h"

namespace examples {

void Math1Routines() {
  //! [math1]
  // Compensated summation keeps what plain addition drops.
  zeq::TKahanSum Total;
  double Plain = 0;
  for (int i = 0; i < 10; ++i) {
    Total.Add(0.1);
    Plain += 0.1;
  }
  // Total.Sum == 1.0, Plain == 0.9999999999999999

  std::vector<double> Data{3.5, -1.0, 2.25, 0.0};
  zeq::SortArray(Data, true);  // -1, 0, 2.25, 3.5 (comb sort, in place)

  // Axis ticks for a plot from 0 to 7.3 with at least 5 intervals.
  long double FirstTick, TickDist;
  uint16_t Minor;
  zeq::CalcScalePars(5, 0.0L, 7.3L, FirstTick, TickDist, Minor);  // 0, 1, 5 minor intervals

  std::string Text = zeq::strf(3.14159, 8, 3);  // "   3.142"
  //! [math1]
  Expect(Total.Sum == 1.0 && Plain != 1.0, "Kahan sum");
  Expect(Data.front() == -1.0 && Data.back() == 3.5, "sort");
  Expect(FirstTick == 0 && TickDist == 1 && Minor == 5, "scale");
  Expect(Text == "   3.142", "strf");
}

void ComplexNumbers() {
  //! [complex]
  const zeq::TComplex A = zeq::Cpx(3, 4), B = zeq::Cpx(1, -2);
  zeq::TComplex P = zeq::CpxMult(A, B);                                // (3 + 4i)(1 - 2i) = 11 - 2i
  zeq::TComplex Q = zeq::CpxDiv(P, B);                                 // back to 3 + 4i
  long double R = zeq::CpxAbs(A);                                      // 5
  zeq::TComplexPolar Polar = zeq::ConvertRectToPolar(zeq::Cpx(0, 2));  // r 2, phi pi/2
  try {
    zeq::CpxDiv(A, zeq::Cpx(0, 0));
  } catch (const zeq::EZEQComplexError&) {
    // "CpxDiv: division by zero"
  }
  //! [complex]
  Expect(P.re == 11 && P.im == -2 && zeq::CpxIsNearEqual(Q, A) && R == 5, "complex arithmetic");
  Expect(Polar.r == 2, "polar form");
}

}  // namespace examples
