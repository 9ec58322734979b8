#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "zeq/testing/test_util.h"
#include "zeq/testing/vector_test_util.h"
#include "zeq/vector/vector.h"

namespace zeq {
namespace {

// TVector cannot be copied; this builds one in place.
void FillVec(TVector& V, const std::vector<double>& Values) { test::FillWith(V, Values); }

#define VEC(name, ...) \
  TVector name;        \
  FillVec(name, {__VA_ARGS__})

// Mean and variance of a vector's range.
std::pair<double, double> MeanVar(const TVector& V, int32_t Lo, int32_t Hi) {
  double M, Var;
  V.MeanVar(Lo, Hi, M, Var);
  return {M, Var};
}

TEST(VectorStats, MeanVarUsesOneForFewValuesAndSumRoundsEachAddition) {
  VEC(A, 4);
  VEC(B, 1, 3);
  VEC(C, 1, 2, 3, 4);
  EXPECT_EQ(MeanVar(A, 0, 0), std::pair(4.0, 1.0));
  EXPECT_EQ(MeanVar(B, 0, 0), std::pair(2.0, 1.0));
  EXPECT_EQ(MeanVar(C, 1, 3), std::pair(2.0, 1.0));
  EXPECT_EQ(MeanVar(C, 0, 0), std::pair(2.5, 5.0 / 3.0));
  EXPECT_EQ(std::pair(C.Sum(0, 0), C.Sum(4, 3)), std::pair(10.0, 7.0));
  VEC(V, 1.0, 1e-16, 1e-16, 1e-16, 1e-16);
  EXPECT_EQ(V.Sum(0, 0), 1.0);                 // each 1e-16 is lost against 1.0...
  EXPECT_GT(MeanVar(V, 0, 0).first * 5, 1.0);  // ...and kept by the long double sum
}

TEST(VectorStats, PercentilesAndQuartiles) {
  VEC(V, 4, 1, 3, 2);
  for (auto [Prob, P] : {std::pair{50.0, 2.5}, {-5, 1}, {100, 4}, {NAN, 1}})
    EXPECT_EQ(V.Percentile(Prob, 0, 0), P) << Prob;
  EXPECT_EQ(V.GetVal(1), 4);  // the vector keeps its order
  ProcStat = 0;
  VEC(Three, 3, 1, 2);
  Three.Percentile(50, 0, 0);
  EXPECT_EQ(ProcStat, 3);  // the array sort's three comb-sort passes of (3, 1, 2)
  double Q1, Q2, Q3;
  for (const auto& [Values, Q] :
       {std::pair{std::vector<double>{7, 1, 2, 6, 3, 5, 4}, std::vector<double>{2, 4, 6}},
        {{2, 1}, {1, 1.5, 2}},
        {{9}, {9, 9, 9}}}) {
    TVector X;
    FillVec(X, Values);
    EXPECT_TRUE(X.Quartiles(0, 0, Q1, Q2, Q3));
    EXPECT_EQ((std::vector<double>{Q1, Q2, Q3}), Q);
  }
}

TEST(VectorStats, NaNElementsTerminateEverywhere) {
  VEC(V, 3, NAN, 1, 2);
  V.SortElems(true, 0, 0);
  EXPECT_TRUE(std::isnan(V.GetVal(2)));  // never exchanged: 1, NaN, 2, 3
  EXPECT_EQ(V.Percentile(100, 0, 0), 3);
  EXPECT_TRUE(std::isnan(V.Percentile(0, 0, 0)));  // 1 + (NaN - 1) * 0
  double Q1, Q2, Q3;
  EXPECT_TRUE(V.Quartiles(0, 0, Q1, Q2, Q3));
  EXPECT_FALSE(std::isnan(V.Mode(0, 0)));
}

TEST(VectorStats, ModeTakesTheFirstLongestRun) {
  VEC(A, 5, 1, 5, 2, 2);
  VEC(B, 3, 1, 2);
  VEC(C, 7, 7, 7, 1, 1);
  EXPECT_EQ((std::vector<double>{A.Mode(0, 0), B.Mode(0, 0), C.Mode(0, 0)}),
            (std::vector<double>{2, 1, 7}));
}

TEST(VectorStats, HistogramBinsAndLimits) {
  VEC(V, 3.7, 11, -0.1, 0, 9.99, 10, 10.5);
  TIntVector H;
  int32_t Under, Over, MaxCnt;
  ASSERT_TRUE(V.Histogram(1, 7, 0, 10, 1, &H, Under, Over, MaxCnt));
  EXPECT_EQ(test::ValuesOf(H), (std::vector<int32_t>{1, 0, 0, 1, 0, 0, 0, 0, 0, 1}));
  // -0.1 under; 11, and 10 and 10.5 beyond the tenth bin, over
  EXPECT_EQ(std::tuple(Under, Over, MaxCnt), std::tuple(1, 3, 1));
  EXPECT_FALSE(V.Histogram(1, 7, 0, 600, 1, &H, Under, Over, MaxCnt));
  EXPECT_EQ(H.NrOfElem(), 10);  // unchanged
  EXPECT_TRUE(V.Histogram(1, 7, 0, 500, 1, &H, Under, Over, MaxCnt));
  EXPECT_FALSE(V.Histogram(1, 7, 0, 0, 0, &H, Under, Over, MaxCnt));   // 0 / 0 bins
  EXPECT_FALSE(V.Histogram(1, 7, 0, 10, 0, &H, Under, Over, MaxCnt));  // infinitely many
  EXPECT_FALSE(V.Histogram(1, 7, 0, 10, 1, nullptr, Under, Over, MaxCnt));
  EXPECT_FALSE(V.Histogram(1, 7, 0, 10, -1, &H, Under, Over, MaxCnt));  // negative widths
  EXPECT_FALSE(V.Histogram(1, 7, 0, 10, -0.0, &H, Under, Over, MaxCnt));
  // A NaN is overflow; a value that rounding would put past the last bin lands in the last.
  VEC(W, NAN, 1 - 1e-17, 0.3);
  ASSERT_TRUE(W.Histogram(1, 3, 0, 1, 0.1, &H, Under, Over, MaxCnt));
  EXPECT_EQ(Over, 1);
  EXPECT_EQ(H.GetVal(10) + H.GetVal(3) + H.GetVal(4), 2);
  ASSERT_TRUE(V.Histogram(-2, 0, 0, 10, 1, &H, Under, Over, MaxCnt));  // outside: 0.0
  EXPECT_EQ(std::pair(H.GetVal(1), MaxCnt), std::pair(3, 3));
}

TEST(VectorStats, GeometricAndHarmonicMeans) {
  VEC(A, 0, 4);
  EXPECT_EQ(A.GeometricMean(0, 0), 0);
  VEC(B, 2, 8);
  EXPECT_DOUBLE_EQ(B.GeometricMean(0, 0), 4);
  EXPECT_DOUBLE_EQ(B.HarmonicMean(0, 0), 3.2);
  VEC(C, -1, 4);
  C.SetName("c");
  test::ExpectThrowMessage<EZEQVectorError>(
      [&] { C.GeometricMean(0, 0); }, "Component \"c\": negative argument passed to GeometricMean");
  test::ExpectThrowMessage<EZEQVectorError>(
      [&] { A.HarmonicMean(0, 0); },
      "Component \"\": negative or zero argument passed to HarmonicMean");
}

TEST(VectorStats, SkewnessAndKurtosis) {
  double S, K;
  VEC(Three, 1, 2, 10);
  Three.SkewKurt(0, 0, S, K);
  EXPECT_EQ(std::pair(S, K), std::pair(0.0, 0.0));
  VEC(V, 2, 8, 0, 4, 1, 9, 9, 0);
  // Population values with s of denominator n - 1 (exact sums in Python fractions), and the
  // sample values: scipy.stats.skew(x, bias=False), scipy.stats.kurtosis(x, bias=False).
  V.SkewKurt(0, 0, S, K);
  EXPECT_NEAR(S, 0.21694455589273343, 1e-15);
  EXPECT_NEAR(K, -1.9786570732641984, 1e-15);
  V.SkewKurtSample(0, 0, S, K);
  EXPECT_NEAR(S, 0.3305821804079746, 1e-15);
  EXPECT_NEAR(K, -2.098602258096087, 1e-15);
  VEC(Flat, 5, 5, 5, 5, 5);
  Flat.SkewKurt(0, 0, S, K);
  EXPECT_EQ(S + K, 0);
}

TEST(VectorStats, PearsonCorrelation) {
  VEC(X, 1, 2, 3, 4);
  VEC(Y, 2, 4, 6, 8);
  VEC(Z, 8, 6, 4, 2);
  VEC(Flat, 3, 3, 3, 3);
  VEC(Short, 1, 2);
  for (auto [Other, R] : {std::pair{&Y, 1.0}, {&Z, -1}, {&Flat, 0}, {&Short, 0}, {nullptr, 0}})
    EXPECT_DOUBLE_EQ(X.PearsonCorrCoeff(Other), R);
}

TEST(VectorStats, CenteringAndNormalisationDoNotNotify) {
  VEC(V, 1, 2, 3, 6);
  int Changes = 0;
  V.OnChange = [&](TObject*) { ++Changes; };
  EXPECT_EQ(V.MeanCenter(), 3);
  EXPECT_EQ(test::ValuesOf(V), (std::vector<double>{-2, -1, 0, 3}));
  double Mean, SD, Median, QDiff;
  V.Standardize(Mean, SD);
  EXPECT_NEAR(Mean, 0, 1e-15);
  EXPECT_DOUBLE_EQ(SD, std::sqrt(14.0 / 3.0));
  VEC(Q, 1, 2, 3, 4, 5);
  Q.QNormalize(75, Median, QDiff);
  EXPECT_EQ(std::pair(Median, QDiff), std::pair(3.0, 1.0));
  EXPECT_EQ(test::ValuesOf(Q), (std::vector<double>{-2, -1, 0, 1, 2}));
  EXPECT_EQ(Changes, 0);
  VEC(Two, 1, 3);  // the one-or-two-value variance of 1 only centres
  Two.Standardize(Mean, SD);
  EXPECT_EQ(test::ValuesOf(Two), (std::vector<double>{-1, 1}));
}

TEST(VectorIntegrate, RulesOnSimpleData) {
  VEC(Ones, 1, 1, 1, 1);
  for (TIntegMethod M : {imSimple, imTrapezoidal, imSimpson}) EXPECT_EQ(Ones.Integrate(1, 4, M), 3);
  VEC(Ramp, 0, 1, 2);
  EXPECT_EQ(Ramp.Integrate(1.5, 2.5, imTrapezoidal), 1);
  EXPECT_EQ(Ramp.Integrate(2.5, 1.5, imTrapezoidal), 1);                  // bounds in either order
  EXPECT_DOUBLE_EQ(Ramp.Integrate(1.2, 1.7, imTrapezoidal), 0.5 * 0.45);  // inside one interval
  EXPECT_EQ(Ramp.Integrate(-5, 9, imSimpson), 2);                         // clamped to 1..3
  EXPECT_EQ(Ramp.Integrate(1, 3, static_cast<TIntegMethod>(7)), 0);
  EXPECT_TRUE(std::isnan(Ramp.Integrate(NAN, 2, imSimple)));
}

TEST(VectorIntegrate, SimpsonRulesAreExactForCubics) {
  // y = x^3 at x = 1..N: Simpson (m = 2), 3/8 (m = 3) and Boole (m = 4) integrate cubics
  // exactly; the extended rule (m >= 5) too, since its end corrections are third order.
  for (int N : {3, 4, 5, 6, 9, 12}) {
    TVector V;
    V.Resize(N);
    for (int i = 1; i <= N; ++i) V.SetVal(i, std::pow(i, 3));
    const double Exact = (std::pow(N, 4) - 1) / 4;
    EXPECT_NEAR(V.Integrate(1, N, imSimpson), Exact, 1e-9 * Exact) << N;
  }
}

// ---- NIST StRD univariate sets ----

struct TNistSet {
  std::string Name;
  // What the one-pass formula (sum of squares - sum^2 / n) achieves with long double sums,
  // floored: it keeps every digit of the means, but the standard deviation of data with a
  // large offset (NumAcc3: 1e6 + 0.1 steps, NumAcc4: 1e7 + 0.1 steps) loses to cancellation.
  double MinMeanLRE, MinSDLRE;
};

// The number after Key on the certified-values line that contains Label.
double CertifiedValue(const std::string& Text, const std::string& Label, const std::string& Key) {
  const size_t At = Text.find(Key, Text.find(Label));
  return std::stod(Text.substr(At + Key.size()));
}

TEST(VectorNist, MeanAndStandardDeviationAccuracy) {
  const TNistSet Sets[] = {{"PiDigits", 14, 14}, {"Lottery", 14, 14},  {"Lew", 14, 14},
                           {"Mavro", 14, 13},    {"Michelso", 14, 12}, {"NumAcc1", 14, 14},
                           {"NumAcc2", 14, 14},  {"NumAcc3", 14, 3.5}, {"NumAcc4", 14, 1.5}};
  for (const TNistSet& Set : Sets) {
    std::ifstream In(std::string(ZEQ_SOURCE_DIR) + "/zeq/vector/testdata/nist/" + Set.Name +
                     ".dat");
    ASSERT_TRUE(In) << Set.Name;
    std::stringstream Buffer;
    Buffer << In.rdbuf();
    const std::string Text = Buffer.str();
    const double Mean = CertifiedValue(Text, "Sample Mean", "ybar:");
    const double SD = CertifiedValue(Text, "Sample Standard Deviation", "s:");
    std::istringstream Lines(Text);
    std::string Line;
    for (int i = 0; i < 60; ++i) std::getline(Lines, Line);
    std::vector<double> Data;
    for (double X; Lines >> X;) Data.push_back(X);
    TVector V;
    FillVec(V, Data);
    double M, Var;
    V.MeanVar(0, 0, M, Var);
    const double MeanLRE = test::LRE(M, Mean), SDLRE = test::LRE(std::sqrt(Var), SD);
    RecordProperty(Set.Name + "_mean_LRE", std::to_string(MeanLRE));
    RecordProperty(Set.Name + "_sd_LRE", std::to_string(SDLRE));
    std::printf("  %-9s n=%-5zu mean LRE %5.1f  sd LRE %5.1f\n", Set.Name.c_str(), Data.size(),
                MeanLRE, SDLRE);
    EXPECT_GE(MeanLRE, Set.MinMeanLRE) << Set.Name;
    EXPECT_GE(SDLRE, Set.MinSDLRE) << Set.Name;
  }
}

}  // namespace
}  // namespace zeq
