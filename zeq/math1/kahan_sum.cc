// Kahan's compensated summation. y and t are rounded to double before the compensation is
// taken; the build never contracts or reassociates floating-point expressions, so the
// compensation captures exactly the low-order part the addition lost.
#include "zeq/math1/math1.h"

namespace zeq {

TKahanSum::TKahanSum(TComponent* AOwner) : TComponent(AOwner) { Reset(); }

void TKahanSum::Reset() {
  cps = 0.0;
  Sum = 0.0;
}

void TKahanSum::Add(double ANumber) {
  const double y = ANumber - cps;
  const double t = Sum + y;
  cps = (t - Sum) - y;
  Sum = t;
}

}  // namespace zeq
