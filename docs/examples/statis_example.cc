// Examples of the statistics unit: distributions and tests, the tabulated random generator,
// cross-validation of a model supplied through events.
#include <cmath>

#include "examples.h"
#include "zeq/matrix/matrix.h"
#include "zeq/statis/crossvalidator.h"
#include "zeq/statis/randgen.h"
#include "zeq/statis/statis.h"
#include "zeq/vector/vector.h"

namespace examples {

void StatisDistributions() {
  //! [statis]
  double P = zeq::tDistriIntegral(2.0, 10);  // P(T <= 2) with 10 df: 0.963306...
  double Z = zeq::nDistriQuantile(0.975);    // 1.959964...

  // One-way analysis of variance of three groups.
  zeq::TVector Data;
  zeq::TIntVector Group;
  const double Values[] = {4.1, 3.9, 4.3, 5.2, 5.0, 5.4, 4.0, 4.2, 3.8};
  Data.Resize(9);
  Group.Resize(9);
  for (int32_t i = 1; i <= 9; ++i) {
    Data.SetVal(i, Values[i - 1]);
    Group.SetVal(i, (i - 1) / 3 + 1);  // 1 1 1 2 2 2 3 3 3
  }
  double SSB, SSW, SST, F;
  int32_t DFB, DFW, DFT;
  double PValue = zeq::Anova1F(&Data, &Group, SSB, SSW, SST, DFB, DFW, DFT, F);  // F = 33.25
  //! [statis]
  Expect(std::fabs(P - 0.9633059826146297) < 1e-12, "t distribution");  // scipy t.cdf(2, 10)
  Expect(std::fabs(Z - 1.959963984540054) < 1e-7, "normal quantile");   // scipy norm.ppf
  // scipy.stats.f_oneway: F 33.25, p 0.000567
  Expect(DFB == 2 && DFW == 6 && std::fabs(F - 33.25) < 1e-9 && PValue < 0.001, "anova");
}

void StatisRandGen() {
  //! [TRandGen]
  // Random numbers from a normal density tabulated over [-4, 4].
  zeq::TRandGen Gen;
  Gen.SetLowBorder(-4);
  Gen.SetHighBorder(4);
  Gen.SetResolution(400);
  Gen.NormalDistri(0, 1);

  zeq::TVector Sample;
  Sample.Resize(2000);
  for (int32_t i = 1; i <= 2000; ++i) Sample.SetVal(i, Gen.Random());
  double Mean, Variance;
  Sample.MeanVar(0, 0, Mean, Variance);  // near 0 and 1
  //! [TRandGen]
  Expect(std::fabs(Mean) < 0.15 && std::fabs(Variance - 1) < 0.2, "tabulated normal");
}

void StatisCrossValidator() {
  //! [TCrossValidator]
  // Leave-two-out validation of the simplest model: predict the mean of the training responses.
  zeq::TMatrix X, Y;
  X.Resize(1, 10);
  Y.Resize(1, 10);
  for (int32_t r = 1; r <= 10; ++r) {
    X.SetVal(1, r, r);
    Y.SetVal(1, r, r % 2 == 0 ? 1.0 : 3.0);
  }
  zeq::TCrossValidator CV;
  CV.SetXMat(&X);
  CV.SetYMat(&Y);
  CV.SetTestSize(2);
  double Model = 0;
  CV.OnModelCreateRequest = [&](zeq::TObject*, int32_t, const zeq::TIntArray& Rows, bool& Ok) {
    double Sum = 0;
    for (int32_t r : Rows) Sum += Y.GetVal(1, r);
    Model = Sum / static_cast<double>(Rows.size());
    Ok = true;
  };
  CV.OnModelApplyRequest = [&](zeq::TObject*, int32_t, const zeq::TDoubleArray&,
                               zeq::TDoubleArray& Response) { Response.assign(1, Model); };
  bool Done = CV.Execute();       // every object predicted once
  double Error = CV.GetRMSEP(1);  // about 1: the model cannot tell the two kinds apart
  //! [TCrossValidator]
  Expect(Done && Error > 0.9 && Error < 1.3, "cross-validation");
}

}  // namespace examples
