// The demo: the library at work on built-in data (`zeq demo`, or the demo program of the
// Makefile consumer).
//
// Each section shows one unit; the progress routine installed in MathFeedBackProc prints
// what the long steps report.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "demo_common.h"
#include "zeq/zeq.h"

namespace {

using demo::Fixed;
using demo::Heading;

// Monthly rainfall (mm) at a weather station over two years: the built-in sample.
const std::vector<double> Rainfall = {78.2, 61.5, 55.0, 48.9, 63.1, 72.4, 91.8, 88.0,
                                      70.3, 66.7, 84.5, 95.2, 81.0, 58.3, 49.7, 52.2,
                                      67.9, 70.1, 99.4, 85.6, 64.8, 71.3, 79.9, 102.6};

int ProgressCalls = 0;

void PrintProgress(double Progress) {
  ++ProgressCalls;
  std::printf("    progress: pass %.0f\n", Progress);
}

void SummariseSample() {
  Heading("Summary of the built-in sample (24 monthly rainfall totals, mm)");
  zeq::TKahanSum Total;
  for (double X : Rainfall) Total.Add(X);
  std::printf("  compensated sum      %s\n", Fixed(Total.Sum).c_str());

  double Min, Max;
  int32_t MinIx, MaxIx;
  const int32_t Last = static_cast<int32_t>(Rainfall.size()) - 1;
  zeq::MinMaxOfArray(Rainfall, 0, Last, Min, Max, MinIx, MaxIx);
  std::printf("  minimum              %s (month %d)\n", Fixed(Min).c_str(), MinIx + 1);
  std::printf("  maximum              %s (month %d)\n", Fixed(Max).c_str(), MaxIx + 1);

  double Mean, Variance;
  zeq::MeanVarOfArray(Rainfall, 0, Last, Mean, Variance);
  std::printf("  mean / variance      %s / %s\n", Fixed(Mean).c_str(), Fixed(Variance).c_str());

  std::vector<double> Work = Rainfall;
  const double Median = zeq::QuickSelect(Work, Last / 2, 0, Last);
  std::printf("  12th smallest value  %s\n", Fixed(Median).c_str());
}

void SortSample() {
  Heading("Sorting the sample, with progress reported per pass");
  zeq::ProcStat = 0;
  zeq::MathFeedBackProc = PrintProgress;
  std::vector<double> Sorted = Rainfall;
  zeq::SortArray(Sorted, true);
  zeq::MathFeedBackProc = nullptr;
  std::printf("  %d passes; ascending:\n  ", ProgressCalls);
  for (size_t i = 0; i < Sorted.size(); ++i)
    std::printf("%s%s", Fixed(Sorted[i], 1).c_str(), (i + 1) % 12 == 0 ? "\n  " : " ");

  std::vector<double> Wettest(3, -1.0);
  for (double X : Rainfall) zeq::SortIntoArray(Wettest, X, false, true);
  std::printf("three wettest months: %s, %s, %s\n", Fixed(Wettest[0], 1).c_str(),
              Fixed(Wettest[1], 1).c_str(), Fixed(Wettest[2], 1).c_str());
}

void CheckString() {
  Heading("Check string of the sample (CRC-32, eight registers)");
  std::printf("  %s\n", zeq::CheckStringOf(Rainfall).c_str());
}

void VectorTour() {
  Heading("The sample as a TVector: statistics, quartiles, histogram, integral");
  zeq::TVector V;
  V.SetName("Rainfall");
  V.Resize(static_cast<int32_t>(Rainfall.size()));
  for (size_t i = 0; i < Rainfall.size(); ++i) V.SetVal(static_cast<int32_t>(i + 1), Rainfall[i]);
  double Mean, Variance, Skew, Kurt, Q1, Q2, Q3;
  V.MeanVar(0, 0, Mean, Variance);
  V.SkewKurt(0, 0, Skew, Kurt);
  V.Quartiles(0, 0, Q1, Q2, Q3);
  std::printf("  mean %s, standard deviation %s, skewness %s, excess kurtosis %s\n",
              Fixed(Mean).c_str(), Fixed(std::sqrt(Variance)).c_str(), Fixed(Skew, 3).c_str(),
              Fixed(Kurt, 3).c_str());
  std::printf("  quartiles %s / %s / %s, 90th percentile %s, geometric mean %s\n",
              Fixed(Q1).c_str(), Fixed(Q2).c_str(), Fixed(Q3).c_str(),
              Fixed(V.Percentile(90, 0, 0)).c_str(), Fixed(V.GeometricMean(0, 0)).c_str());

  zeq::TIntVector Histo;
  int32_t Under, Over, MaxCnt;
  V.Histogram(1, V.NrOfElem(), 40, 100, 10, &Histo, Under, Over,
              MaxCnt);  // this range is not repaired
  std::printf("  histogram, bins of 10 mm from 40 mm:\n");
  for (int32_t b = 1; b <= Histo.NrOfElem(); ++b)
    std::printf("    %3d-%3d mm %s\n", 30 + 10 * b, 40 + 10 * b,
                std::string(static_cast<size_t>(Histo.GetVal(b)), '#').c_str());
  std::printf("    above: %d\n", Over);
  std::printf("  rain over the first year (months 1..12, Simpson): %s mm\n",
              Fixed(V.Integrate(1, 12, zeq::imSimpson), 1).c_str());
}

void MatrixTour() {
  Heading("A linear system: three mixtures of fertiliser (kg of N, P, K per bag)");
  // Rows of A: nitrogen, phosphorus, potassium per bag of mixtures 1..3; b: what a field needs.
  const double Rows[3][3] = {{10, 5, 20}, {10, 10, 5}, {5, 20, 10}};
  const double Need[3] = {275, 200, 250};
  zeq::TMatrix A, Inverse;
  A.Resize(3, 3);
  for (int32_t i = 1; i <= 3; ++i)
    for (int32_t j = 1; j <= 3; ++j) A.SetVal(j, i, Rows[i - 1][j - 1]);  // Elem is (column, row)
  zeq::TVector B, X;
  B.Resize(3);
  for (int32_t i = 1; i <= 3; ++i) B.SetVal(i, Need[i - 1]);
  Inverse.Assign(&A);
  if (!Inverse.Invert()) {
    std::printf("  the system is singular\n");
    return;
  }
  Inverse.Multiply(&B, &X);
  std::printf("  bags of mixtures 1, 2, 3: %s, %s, %s\n", Fixed(X.GetVal(1), 3).c_str(),
              Fixed(X.GetVal(2), 3).c_str(), Fixed(X.GetVal(3), 3).c_str());
  std::printf(
      "  determinant %s; condition estimate |A| |inv(A)|: %s (spectral), %s (column sums)\n",
      Fixed(A.Determinant(), 1).c_str(),
      Fixed(A.Norm(zeq::ntSpectral) * Inverse.Norm(zeq::ntSpectral), 3).c_str(),
      Fixed(A.Norm(zeq::ntColwise) * Inverse.Norm(zeq::ntColwise), 3).c_str());
}

void TableTour() {
  Heading("Five cities sorted by population, and their distances (km, flat map)");
  // Rows: cities; columns: population (millions), x and y position (km).
  const char* Names[5] = {"Alder", "Birch", "Cedar", "Dogwood", "Elm"};
  const double Data[5][3] = {
      {1.9, 0, 0}, {0.4, 120, 50}, {3.1, 40, 160}, {0.9, 200, 210}, {2.2, 90, 90}};
  zeq::TMatrix M;
  M.Resize(3, 5);
  for (int32_t r = 1; r <= 5; ++r)
    for (int32_t c = 1; c <= 3; ++c) M.SetVal(c, r, Data[r - 1][c - 1]);
  // The exchange report keeps the names aligned with the sorted rows.
  std::vector<const char*> Label(Names, Names + 5);
  M.OnSortExchange = [&Label](zeq::TObject*, uint8_t, int32_t I1, int32_t I2, int32_t, int32_t) {
    std::swap(Label[static_cast<size_t>(I1 - 1)], Label[static_cast<size_t>(I2 - 1)]);
  };
  M.SortRows(1, false, 0, 0, 0, 0);
  for (int32_t r = 1; r <= 5; ++r)
    std::printf("  %-8s %4s million  at (%3s, %3s)\n", Label[static_cast<size_t>(r - 1)],
                Fixed(M.GetVal(1, r), 1).c_str(), Fixed(M.GetVal(2, r), 0).c_str(),
                Fixed(M.GetVal(3, r), 0).c_str());
  zeq::TMatrix Pos, D;
  Pos.Resize(2, 5);
  Pos.CopyFrom(&M, 2, 1, 3, 5, 1, 1);
  D.Resize(5, 5);
  Pos.CalcDistMat(zeq::dmEuclid, &D);
  std::printf("  %-8s", "");
  for (int32_t c = 1; c <= 5; ++c) std::printf("%8s", Label[static_cast<size_t>(c - 1)]);
  std::printf("\n");
  for (int32_t r = 1; r <= 5; ++r) {
    std::printf("  %-8s", Label[static_cast<size_t>(r - 1)]);
    for (int32_t c = 1; c <= 5; ++c) std::printf("%8s", Fixed(D.GetVal(c, r), 0).c_str());
    std::printf("\n");
  }
}

void StatisticsTour() {
  Heading("Tests: outliers, normality and a one-way analysis of variance");
  // Ten repeated measurements of a resistor (ohm); the eighth was misread.
  const std::vector<double> Ohm = {99.8,  100.1, 100.3, 99.9,  100.0,
                                   100.2, 99.7,  104.6, 100.1, 99.9};
  zeq::TVector M;
  M.Resize(static_cast<int32_t>(Ohm.size()));
  for (size_t i = 0; i < Ohm.size(); ++i) M.SetVal(static_cast<int32_t>(i + 1), Ohm[i]);
  double G, Q;
  const int32_t GrubbsIx = zeq::GrubbsTest(&M, 0.05, G);
  const int32_t DixonIx = zeq::DeanDixonTest(&M, zeq::Dot050, Q);
  std::printf("  Grubbs: G = %s (critical %s at 5%%), outlier at measurement %d\n",
              Fixed(G, 3).c_str(), Fixed(zeq::GrubbsCriticalValues(10, 0.05, true), 3).c_str(),
              GrubbsIx);
  std::printf("  Dean-Dixon: r11 = %s (critical %s), outlier at measurement %d\n",
              Fixed(Q, 3).c_str(), Fixed(zeq::DeanDixonCriticalValues(10, zeq::Dot050), 3).c_str(),
              DixonIx);

  zeq::TVector Rain;
  Rain.Resize(static_cast<int32_t>(Rainfall.size()));
  for (size_t i = 0; i < Rainfall.size(); ++i)
    Rain.SetVal(static_cast<int32_t>(i + 1), Rainfall[i]);
  zeq::TVector Work;
  Work.Clone(&Rain);
  const double D = zeq::PerformLillieforsTest(&Work, false);
  std::printf("  Lilliefors normality of the rainfall: D = %s, p = %s\n", Fixed(D, 4).c_str(),
              Fixed(zeq::LillieforsPValue(Rain.NrOfElem(), D), 3).c_str());

  zeq::TIntVector Season;  // 1 winter, 2 spring, 3 summer, 4 autumn, month by month
  Season.Resize(Rain.NrOfElem());
  for (int32_t i = 1; i <= Rain.NrOfElem(); ++i) Season.SetVal(i, ((i - 1) % 12 + 1) % 12 / 3 + 1);
  double SSb, SSw, SSt, F;
  int32_t DfB, DfW, DfT;
  const double P = zeq::Anova1F(&Rain, &Season, SSb, SSw, SSt, DfB, DfW, DfT, F);
  std::printf("  rainfall by season: F(%d, %d) = %s, p = %s\n", DfB, DfW, Fixed(F, 3).c_str(),
              Fixed(P, 4).c_str());
}

void ScalarTour() {
  Heading("Axis ticks in the 1-2-5 series for the rainfall range");
  long double First, Dist;
  uint16_t Minor;
  zeq::CalcScalePars(5, 48.9L, 102.6L, First, Dist, Minor);
  std::printf(
      "  at least 5 intervals over 48.9..102.6: first tick %s, every %s, %u minor intervals\n  "
      "ticks:",
      zeq::strff(First, 1, 0).c_str(), zeq::strff(Dist, 1, 0).c_str(), Minor);
  for (long double T = First; T <= 102.6L; T += Dist)
    std::printf(" %s", zeq::strff(T, 1, 0).c_str());
  std::printf("\n");

  Heading("One number, several notations");
  const double Resistance = 4700.0;
  std::printf("  %s ohm: engineering %s, compact %s, bit pattern %s\n",
              Fixed(Resistance, 0).c_str(), zeq::EEngStr(Resistance, 2).c_str(),
              zeq::EEngStr(Resistance, -2).c_str(), zeq::FPNumToHex(Resistance).c_str());
  const double Latitude = 47.0708;
  std::printf("  latitude %s = %s = %s\n", zeq::DegreeToStr(Latitude, zeq::dfDecimal, 4).c_str(),
              zeq::DegreeToStr(Latitude, zeq::dfDegMin, 2).c_str(),
              zeq::DegreeToStr(Latitude, zeq::dfDegMinSec, 1).c_str());
  std::printf("  1994 in Roman numerals: %s; 360 = 2*2*2*3*3*5:", zeq::Roman(1994).c_str());
  zeq::TIntArray Factors;
  zeq::FindPrimeFactors(360, Factors);
  for (int32_t F : Factors) std::printf(" %d", F);
  std::printf("\n");
}

void ComplexTour() {
  Heading("Complex division");
  const zeq::TComplex A = zeq::Cpx(11, 2), B = zeq::Cpx(3, 4);
  const zeq::TComplex Q = zeq::CpxDiv(A, B);
  const zeq::TComplexPolar P = zeq::ConvertRectToPolar(Q);
  std::printf("  (11 + 2i) / (3 + 4i) = %s %s %si  =  %s at %s rad\n",
              zeq::strff(Q.re, 1, 4).c_str(), Q.im < 0 ? "-" : "+",
              zeq::strff(std::fabs(Q.im), 1, 4).c_str(), zeq::strff(P.r, 1, 4).c_str(),
              zeq::strff(P.phi, 1, 4).c_str());
}

}  // namespace

int demo::RunDemo() {
  std::printf("zeq demo: the library's routines on built-in data\n");
  SummariseSample();
  SortSample();
  CheckString();
  VectorTour();
  MatrixTour();
  TableTour();
  demo::DataTableTour();
  StatisticsTour();
  demo::SamplingTour();
  ScalarTour();
  ComplexTour();
  demo::SmoothingTour();
  demo::CurveFitTour();
  demo::PrincipalComponentsTour();
  demo::ClusteringTour();
  demo::ArraysAndMapsTour();
  demo::GeometryTour();
  demo::TransformsTour();
  return 0;
}
