// Examples of straight lines and self-organizing maps.
#include <cmath>

#include "examples.h"
#include "zeq/kohonen/kohonen.h"
#include "zeq/sline/sline.h"

namespace examples {

void StraightLines() {
  //! [TSLine]
  zeq::TSLine Diagonal, Horizontal;
  Diagonal.LineFrom2Points(0, 0, 2, 2);  // y = x
  Horizontal.LineFromSlopeIcpt(0, 1);    // y = 1
  double x, y;
  bool Meet = Diagonal.InterSection(&Horizontal, x, y);  // (1, 1)
  double D = Diagonal.Distance(1, 0);                    // 1 / sqrt(2)
  try {
    zeq::TSLine Vertical;
    Vertical.LineFrom2Points(3, 0, 3, 5);
    Vertical.GetSlope();
  } catch (const zeq::EZEQSLineError&) {
    // "slope is infinite"
  }
  //! [TSLine]
  Expect(Meet && std::fabs(x - 1) < 1e-15 && std::fabs(y - 1) < 1e-15, "intersection");
  Expect(std::fabs(D - std::sqrt(0.5)) < 1e-15, "distance");
}

void KohonenMap() {
  //! [TKohonen]
  // Two well separated groups of 2-D objects mapped onto a 4 x 1 map.
  zeq::TMatrix Objects;
  Objects.Resize(2, 20);
  for (int32_t r = 1; r <= 20; ++r) {
    const double Base = r <= 10 ? 0.0 : 10.0;
    Objects.SetVal(1, r, Base + 0.1 * (r % 5));
    Objects.SetVal(2, r, Base - 0.1 * (r % 3));
  }
  zeq::SetRandSeed(7);  // reproducible start weights
  zeq::TKohonen Map;
  Map.SetSizeX(4);
  Map.SetSizeY(1);
  Map.SetDataMat(&Objects);  // the number of features follows the matrix
  Map.StandardizeData();
  Map.SetNrOfTrnSteps(50);
  Map.Trainit();

  zeq::TVector Probe;
  Probe.Resize(2);
  int32_t LowX, HighX, Iy;
  double Dist;
  Probe.SetVal(1, 0.2), Probe.SetVal(2, 0.0);
  Map.ApplyIt(&Probe, LowX, Iy, Dist);
  Probe.SetVal(1, 10.2), Probe.SetVal(2, 10.0);
  Map.ApplyIt(&Probe, HighX, Iy, Dist);  // a different neuron from LowX
  //! [TKohonen]
  Expect(LowX != HighX, "the two groups map to different neurons");
}

}  // namespace examples
