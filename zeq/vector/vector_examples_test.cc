// Calls of both vector twins as rows of a data file: arithmetic, statistics, searches and
// histograms on small vectors written as lists ("Int" names the integer twin's calls).
#include "zeq/testing/example_table.h"
#include "zeq/testing/test_util.h"
#include "zeq/testing/vector_test_util.h"
#include "zeq/vector/vector.h"

namespace zeq {
namespace {

using namespace test::table;

// A vector named "v" holding the numbers of a list argument.
template <class V>
std::unique_ptr<V> Vec(const std::string& List) {
  auto P = std::make_unique<V>();
  P->SetName("v");
  const std::vector<double> D = test::List(List);
  test::FillWith(*P, std::vector<typename V::TElem>(D.begin(), D.end()));
  return P;
}

// The values of a list argument's vector after Change.
template <class V, class F>
std::string After(const std::string& List, F&& Change) {
  const auto X = Vec<V>(List);
  Change(*X);
  return Show(test::ValuesOf(*X));
}

// The calls both twins answer, registered as Prefix + name.
template <class V>
void AddTwinCalls(std::map<std::string, test::TExample>& T, const std::string& Prefix) {
  using E = typename V::TElem;
  const auto Other = [](const std::string& S) { return S == "-" ? nullptr : Vec<V>(S); };
  const std::map<std::string, test::TExample> Calls{
      {"Add", [=](A a) { return After<V>(a[0], [&](V& X) { X.Add(Other(a[1]).get()); }); }},
      {"Subtract",
       [=](A a) { return After<V>(a[0], [&](V& X) { X.Subtract(Other(a[1]).get()); }); }},
      {"SMult",
       [](A a) { return After<V>(a[0], [&](V& X) { X.SMult(static_cast<E>(Num(a[1]))); }); }},
      {"AbsVal", [](A a) { return After<V>(a[0], [](V& X) { X.AbsVal(); }); }},
      {"DotProduct", [=](A a) { return Show(Vec<V>(a[0])->DotProduct(Other(a[1]).get())); }},
      {"Correlate",
       [=](A a) { return Show(Vec<V>(a[0])->Correlate(Other(a[1]).get(), Int(a[2]))); }},
      {"EuclideanDistance",
       [=](A a) { return Show(Vec<V>(a[0])->EuclideanDistance(Other(a[1]).get())); }},
      {"Leng", [](A a) { return Show(Vec<V>(a[0])->Leng()); }},
      {"Sum", [](A a) { return Show(Vec<V>(a[0])->Sum(Int(a[1]), Int(a[2]))); }},
      {"MeanVar",
       [](A a) {
         double M, Var;
         Vec<V>(a[0])->MeanVar(Int(a[1]), Int(a[2]), M, Var);
         return Show(M, Var);
       }},
      {"Percentile", [](A a) { return Show(Vec<V>(a[0])->Percentile(Num(a[1]), 0, 0)); }},
      {"Quartiles",
       [](A a) {
         double Q1, Q2, Q3;
         return Vec<V>(a[0])->Quartiles(0, 0, Q1, Q2, Q3) ? Show(Q1, Q2, Q3) : "false";
       }},
      {"Mode", [](A a) { return Show(Vec<V>(a[0])->Mode(0, 0)); }},
      {"MinMax",
       [](A a) {
         E Min, Max;
         int32_t MinIx, MaxIx;
         Vec<V>(a[0])->MinMax(0, 0, Min, Max, MinIx, MaxIx);
         return Show(Min, MinIx, Max, MaxIx);
       }},
      {"Find",
       [](A a) {
         return Show(Vec<V>(a[0])->Find(Int(a[1]), Int(a[2]), static_cast<E>(Num(a[3]))));
       }},
      {"FindInSorted",
       [](A a) {
         return Show(Vec<V>(a[0])->FindInSortedVector(a[1] == "up", static_cast<E>(Num(a[2]))));
       }},
      // The bins followed by the underflow, overflow and largest counts; "false" if refused.
      {"Histogram",
       [](A a) {
         TIntVector H;
         int32_t Under, Over, MaxCnt;
         const auto P = [&](size_t i) { return static_cast<E>(Num(a[i])); };
         if (!Vec<V>(a[0])->Histogram(Int(a[1]), Int(a[2]), P(3), P(4), P(5), &H, Under, Over,
                                      MaxCnt))
           return std::string("false");
         std::vector<int32_t> R = test::ValuesOf(H);
         R.insert(R.end(), {Under, Over, MaxCnt});
         return a.size() > 6 ? Show(H.NrOfElem(), Under, Over, MaxCnt) : Show(R);
       }},
      {"GeometricMean", [](A a) { return Show(Vec<V>(a[0])->GeometricMean(0, 0)); }},
      {"HarmonicMean", [](A a) { return Show(Vec<V>(a[0])->HarmonicMean(0, 0)); }},
      {"SkewKurt",
       [](A a) {
         double S, K;
         Vec<V>(a[0])->SkewKurt(0, 0, S, K);
         return Show(S, K);
       }},
      {"SkewKurtSample",
       [](A a) {
         double S, K;
         Vec<V>(a[0])->SkewKurtSample(0, 0, S, K);
         return Show(S, K);
       }},
      {"Pearson", [=](A a) { return Show(Vec<V>(a[0])->PearsonCorrCoeff(Other(a[1]).get())); }}};
  for (const auto& [Name, Call] : Calls) T[Prefix + Name] = Call;
}

TEST(VectorExamples, TableOfCalls) {
  std::map<std::string, test::TExample> T;
  AddTwinCalls<TVector>(T, "");
  AddTwinCalls<TIntVector>(T, "Int");
  const std::map<std::string, TIntegMethod> Methods{
      {"simple", imSimple}, {"trapezoidal", imTrapezoidal}, {"simpson", imSimpson}};
  T["Integrate"] = [&](A a) {
    const auto M = Methods.find(a[3]);
    return Show(Vec<TVector>(a[0])->Integrate(
        Num(a[1]), Num(a[2]),
        M == Methods.end() ? static_cast<TIntegMethod>(Int(a[3])) : M->second));
  };
  T["MeanCenter"] = [](A a) {
    const auto X = Vec<TVector>(a[0]);
    const double Mean = X->MeanCenter();
    return Show(Mean) + " " + Show(test::ValuesOf(*X));
  };
  T["Standardize"] = [](A a) {
    const auto X = Vec<TVector>(a[0]);
    double Mean, SD;
    X->Standardize(Mean, SD);
    return Show(Mean, SD) + " " + Show(test::ValuesOf(*X));
  };
  T["QNormalize"] = [](A a) {
    const auto X = Vec<TVector>(a[0]);
    double Median, QDiff;
    X->QNormalize(Num(a[1]), Median, QDiff);
    return Show(Median, QDiff) + " " + Show(test::ValuesOf(*X));
  };
  test::RunExamples("zeq/vector/testdata/vector_examples.txt", T);
}

}  // namespace
}  // namespace zeq
