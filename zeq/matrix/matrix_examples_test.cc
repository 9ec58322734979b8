// Calls of both matrix twins as rows of a data file: statistics, scaling, searches, sorts and
// distances on small matrices written by rows ("1 2; 3 4"; "Int" names the integer twin).
#include "zeq/matrix/matrix.h"
#include "zeq/testing/example_table.h"
#include "zeq/testing/matrix_test_util.h"
#include "zeq/testing/test_util.h"
#include "zeq/testing/vector_test_util.h"

namespace zeq {
namespace {

using namespace test::table;

// A matrix named "m" holding the rows of an argument ("1 2; 3 4"; "" for no element).
template <class M>
std::unique_ptr<M> Mat(const std::string& Rows) {
  auto P = std::make_unique<M>();
  P->SetName("m");
  const test::TRows R = ListRows(Rows);
  if (R.empty() || R[0].empty())
    P->Resize(0, 0);
  else
    test::SetRows(*P, R);
  return P;
}

// The rows of a matrix as "1 2; 3 4".
template <class M>
std::string ShowRows(const M& X) {
  std::string S;
  for (const auto& Row : test::RowsOf(X)) S += (S.empty() ? "" : "; ") + Show(Row);
  return S;
}

// A range of columns and rows "lc lr hc hr" from four arguments.
struct TRange {
  int32_t lc, lr, hc, hr;
  TRange(A a, size_t i) : lc(Int(a[i])), lr(Int(a[i + 1])), hc(Int(a[i + 2])), hr(Int(a[i + 3])) {}
};

// Calls over the whole matrix of a member with one result, or with two (such as MeanVar).
template <class M, class F>
test::TExample Whole(F Member) {
  return [Member](A a) { return Show((Mat<M>(a[0]).get()->*Member)(0, 0, 0, 0)); };
}
template <class M, class F>
test::TExample WholeTwo(F Member) {
  return [Member](A a) {
    double X, Y;
    (Mat<M>(a[0]).get()->*Member)(0, 0, 0, 0, X, Y);
    return Show(X, Y);
  };
}

// The calls both twins answer, registered as Prefix + name.
template <class M>
void AddTwinCalls(std::map<std::string, test::TExample>& T, const std::string& Prefix) {
  using E = typename M::TElem;
  const auto Sorted = [](bool Rows) {
    return [Rows](A a) {  // key up|down and a range
      const auto X = Mat<M>(a[0]);
      const TRange R(a, 3);
      (X.get()->*(Rows ? &M::SortRows : &M::SortCols))(Int(a[1]), a[2] == "up", R.lc, R.lr, R.hc,
                                                       R.hr);
      return ShowRows(*X);
    };
  };
  const std::map<std::string, test::TExample> Calls{
      {"Sum",
       [](A a) {
         const TRange R(a, 1);
         return Show(Mat<M>(a[0])->Sum(R.lc, R.lr, R.hc, R.hr));
       }},
      {"MinMax",
       [](A a) {
         const TRange R(a, 1);
         E Min, Max;
         Mat<M>(a[0])->MinMax(R.lc, R.lr, R.hc, R.hr, Min, Max);
         return Show(Min, Max);
       }},
      {"MeanVar", WholeTwo<M>(&M::MeanVar)},
      {"SkewKurt", WholeTwo<M>(&M::SkewKurt)},
      {"SkewKurtSample", WholeTwo<M>(&M::SkewKurtSample)},
      {"GeometricMean", Whole<M>(&M::GeometricMean)},
      {"HarmonicMean", Whole<M>(&M::HarmonicMean)},
      {"MeanVec",
       [](A a) {
         TVector Means;
         Mat<M>(a[0])->MeanVec(a[1] == "columns" ? dimColumns : dimRows, &Means);
         return Show(test::ValuesOf(Means));
       }},
      {"Quartiles",
       [](A a) {
         double Q1, Q2, Q3;
         return Mat<M>(a[0])->Quartiles(0, 0, 0, 0, Q1, Q2, Q3) ? Show(Q1, Q2, Q3) : "false";
       }},
      {"Percentile",
       [](A a) {
         const auto X = Mat<M>(a[0]);
         return Show(a.size() > 2 ? X->Percentile(Num(a[1]), 0, 0, 0, 0, Int(a[2]))
                                  : X->Percentile(Num(a[1]), 0, 0, 0, 0));
       }},
      {"EdgeVector",
       [](A a) {  // rows|columns min|max|sum|mean
         const std::map<std::string, TEdgeOp> Ops{
             {"min", eopMin}, {"max", eopMax}, {"sum", eopSum}, {"mean", eopMean}};
         TVector V;
         Mat<M>(a[0])->EdgeVector(a[1] == "rows" ? orHorizontal : orVertical, Ops.at(a[2]), &V);
         return Show(test::ValuesOf(V));
       }},
      {"Find",
       [](A a) {
         int32_t c, r;
         Mat<M>(a[0])->Find(0, 0, 0, 0, static_cast<E>(Num(a[1])), c, r);
         return Show(c, r);
       }},
      {"FindInSortedColumn",
       [](A a) {
         return Show(
             Mat<M>(a[0])->FindInSortedColumn(Int(a[1]), a[2] == "up", static_cast<E>(Num(a[3]))));
       }},
      {"SortRows", Sorted(true)},
      {"SortCols", Sorted(false)}};
  for (const auto& [Name, Call] : Calls) T[Prefix + Name] = Call;
}

TEST(MatrixExamples, TableOfCalls) {
  std::map<std::string, test::TExample> T;
  AddTwinCalls<TMatrix>(T, "");
  AddTwinCalls<TIntMatrix>(T, "Int");
  const std::map<std::string, TDistMode> Modes{{"jaccard", dmJaccard}, {"manhattan", dmManhattan},
                                               {"euclid", dmEuclid},   {"euclidsqr", dmEuclidSqr},
                                               {"dice", dmDice},       {"user", dmUserDef}};
  // The bins, then underflow, overflow and the largest count; "false" if refused.
  T["Histogram"] = [](A a) {
    TIntVector H;
    int32_t U, O, MaxCnt;
    if (!Mat<TMatrix>(a[0])->Histogram(0, 0, 0, 0, Num(a[1]), Num(a[2]), Num(a[3]), &H, U, O,
                                       MaxCnt))
      return std::string("false");
    std::vector<int32_t> R = test::ValuesOf(H);
    R.insert(R.end(), {U, O, MaxCnt});
    return Show(R);
  };
  // The means and deviations of the columns, then the matrix.
  T["StandardizeColumns"] = [](A a) {
    const auto X = Mat<TMatrix>(a[0]);
    TVector Means, SDs;
    Means.Resize(X->NrOfColumns());
    SDs.Resize(X->NrOfColumns());
    X->StandardizeColumns(&Means, &SDs);
    return Show(test::ValuesOf(Means)) + "; " + Show(test::ValuesOf(SDs)) + "; " + ShowRows(*X);
  };
  T["QNormalizeRows"] = [](A a) {
    const auto X = Mat<TMatrix>(a[0]);
    X->QNormalizeRows(Num(a[1]), nullptr, nullptr);
    return ShowRows(*X);
  };
  T["MeanCenterRows"] = [](A a) {
    const auto X = Mat<TMatrix>(a[0]);
    TVector Means;
    X->MeanCenterRows(&Means);
    return Show(test::ValuesOf(Means)) + "; " + ShowRows(*X);
  };
  T["Correlate"] = [](A a) {
    return Show(Mat<TMatrix>(a[0])->Correlate(Mat<TMatrix>(a[1]).get()));
  };
  T["DistanceOfObjects"] = [&](A a) {
    return Show(Mat<TMatrix>(a[0])->DistanceOfObjects(Modes.at(a[1]), Int(a[2]), Int(a[3])));
  };
  // The result code, then the distance matrix when it is 0.
  T["CalcDistMat"] = [&](A a) {
    TMatrix D;
    D.Resize(Int(a[2]), Int(a[3]));
    const int32_t Code = Mat<TMatrix>(a[0])->CalcDistMat(Modes.at(a[1]), &D);
    return Code == 0 ? Show(Code) + "; " + ShowRows(D) : Show(Code);
  };
  test::RunExamples("zeq/matrix/testdata/matrix_examples.txt", T);
}

}  // namespace
}  // namespace zeq
