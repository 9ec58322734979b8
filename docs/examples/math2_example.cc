// Examples of the multivariate unit: curve fitting, smoothing, principal components, k-means and
// polygon geometry.
#include <cmath>
#include <vector>

#include "examples.h"
#include "zeq/math2/math2.h"

namespace examples {

void Math2CurveFit() {
  //! [TCurveFit]
  zeq::TCurveFit Fit;
  const double X[] = {0, 1, 2, 3, 4}, Y[] = {1.1, 2.9, 5.2, 6.8, 9.1};
  for (int i = 0; i < 5; ++i) Fit.EnterStatValue(X[i], Y[i]);

  double k, d, Quality;
  Fit.CalcLinFit(k, d, Quality);  // y = 1.99 x + 1.04
  double r = Fit.CorrCoeff();     // 0.99865...

  double Coeffs[3];
  bool NearSingular;
  Fit.CalcPolyFit(2, Coeffs, Quality, NearSingular);  // y = Coeffs[0] + Coeffs[1] x + Coeffs[2] x^2
  //! [TCurveFit]
  // numpy.polyfit(x, y, 1) and (x, y, 2), numpy.corrcoef
  Expect(std::fabs(k - 1.99) < 1e-12 && std::fabs(d - 1.04) < 1e-12 && r > 0.9986, "line fit");
  Expect(!NearSingular && std::fabs(Coeffs[2] - 0.02142857142857) < 1e-10, "parabola fit");
}

void Math2Multivariate() {
  //! [math2]
  // Smoothing: a moving average of 3 samples removes a lone spike's height to a third.
  zeq::TVector Signal, Smooth;
  Signal.Resize(7);
  Signal.SetVal(4, 3.0);
  Smooth.Resize(7);
  zeq::MovingAverageSmooth(&Signal, 1, 7, &Smooth, 3);  // Smooth(3..5) = 1

  // Principal components of two correlated variables (one object per row, two groups).
  zeq::TMatrix Objects;
  Objects.Resize(2, 6);
  const double A[] = {1, 2, 3, 10, 11, 12}, B[] = {1.1, 1.9, 3.2, 9.9, 11.1, 11.8};
  for (int32_t r = 1; r <= 6; ++r) Objects.SetVal(1, r, A[r - 1]), Objects.SetVal(2, r, B[r - 1]);
  zeq::CalcPrincComp(&Objects, 0, 0, 0, 0, 1);   // mode 1: covariances
  double Explained = zeq::GetEigenResult(1, 0);  // share of the first component: above 0.99

  // k-means of the same objects into two clusters.
  zeq::TMatrix Centers;
  zeq::TIntVector Members;
  zeq::kMeansClustering(&Objects, 0, 0, 2, &Centers, &Members);  // rows 1-3 and 4-6 apart

  // The area of a unit square given counter-clockwise.
  const std::vector<zeq::TPointDouble> Square{{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  double Area = zeq::PolygonArea(Square);  // 1
  //! [math2]
  Expect(std::fabs(Smooth.GetVal(4) - 1) < 1e-15 && Explained > 0.99 && Area == 1, "math2");
  Expect(Members.GetVal(1) == Members.GetVal(3) && Members.GetVal(1) != Members.GetVal(6),
         "k-means");
}

}  // namespace examples
