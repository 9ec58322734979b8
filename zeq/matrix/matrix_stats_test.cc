#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <tuple>
#include <type_traits>
#include <vector>

#include "zeq/matrix/matrix.h"
#include "zeq/testing/matrix_test_util.h"
#include "zeq/testing/test_util.h"
#include "zeq/testing/vector_test_util.h"

namespace zeq {
namespace {

using test::A_;
using test::RowsOf;
using test::SetColumn;
using test::SetRows;
using test::ValuesOf;
using V = std::vector<double>;

TEST(MatrixStats, MeanVarSumsAndMeans) {
  TMatrix M;
  double Mean, Var, Min, Max;
  for (auto [Values, EMean, EVar] :
       {std::tuple{V{1, 3}, 2.0, 1.0}, {V{1, 2, 3}, 2.0, 1.0}, {V{2, 4, 6, 8}, 5.0, 20 / 3.0}}) {
    SetColumn(M, Values);
    M.MeanVar(0, 0, 0, 0, Mean, Var);
    test::ExpectAllNear({Mean, Var}, {EMean, EVar}, 1e-15);
  }
  M.MinMax(1, 2, 1, 3, Min, Max);
  EXPECT_EQ(std::tuple(M.Sum(0, 0, 0, 0), Min, Max), std::tuple(20.0, 4.0, 6.0));
  TVector Means, RowMeans;
  SetRows(M, {{1, 2}, {3, 4}});
  M.MeanVec(dimColumns, &Means);
  M.MeanVec(dimRows, &RowMeans);
  EXPECT_EQ(std::pair(ValuesOf(Means), ValuesOf(RowMeans)), std::pair(V{2, 3}, V{1.5, 3.5}));
}

TEST(MatrixStats, GeometricAndHarmonicMeans) {
  TMatrix M;
  M.SetName("g");
  SetColumn(M, {1, 0, 4});
  EXPECT_EQ(M.GeometricMean(0, 0, 0, 0), 0);
  SetColumn(M, {2, 8});
  test::ExpectAllNear({M.GeometricMean(0, 0, 0, 0), M.HarmonicMean(0, 0, 0, 0)}, {4, 3.2}, 1e-15);
  SetColumn(M, {1, -1});
  test::ExpectThrowMessage<EZEQMatrixError>(
      [&] { M.GeometricMean(0, 0, 0, 0); },
      "Component \"g\": negative argument passed to GeometricMean");
  EXPECT_THROW(M.HarmonicMean(0, 0, 0, 0), EZEQMatrixError);
}

TEST(MatrixStats, QuartilesAndPercentiles) {
  TMatrix M;
  double Q1, Q2, Q3;
  for (const auto& [Values, Q] : {std::pair{V{1, 2, 3}, V{1, 2, 3}},
                                  {V{1, 2}, V{1, 1.5, 2}},
                                  {V{1, 2, 3, 4}, V{1.25, 2.5, 3.75}},
                                  {V{7}, V{7, 7, 7}}}) {
    SetColumn(M, Values);
    ASSERT_TRUE(M.Quartiles(0, 0, 0, 0, Q1, Q2, Q3));
    EXPECT_EQ((V{Q1, Q2, Q3}), Q);
  }
  SetColumn(M, {4, 1, 3, 2});
  // rank round(N prob / 100), at most N - 1; prob clamped, NaN counting as 0
  for (auto [Prob, Expected] : {std::pair{50.0, 3.0}, {100, 4}, {-5, 1}, {NAN, 1}})
    EXPECT_EQ(M.Percentile(Prob, 0, 0, 0, 0), Expected) << Prob;
  EXPECT_EQ(A_(M, 1, 1), 4);                        // the matrix keeps its order
  EXPECT_EQ(M.Percentile(50, 0, 0, 0, 0, 100), 3);  // small rectangle: exact
  M.Resize(0, 0);
  EXPECT_FALSE(M.Quartiles(0, 0, 0, 0, Q1, Q2, Q3));
  EXPECT_EQ(M.Percentile(50, 0, 0, 0, 0), 0);
}

TEST(MatrixStats, SampledPercentileOfALargeMatrix) {
  TMatrix M;
  M.Resize(200, 200);
  SetRandSeed(4);
  M.FillRandomUniform(0, 100);
  EXPECT_NEAR(M.Percentile(50, 0, 0, 0, 0, 4000), 50, 3);  // a sample of 4000 from 40000
  M.Fill(0);
  M.SetVal(1, 1, -1);
  EXPECT_EQ(M.Percentile(50, 0, 0, 0, 0, 1000), 0);  // the median falls among the zeros
}

TEST(MatrixStats, SkewnessAndKurtosis) {
  TMatrix M;
  SetColumn(M, {2, 8, 0, 4, 1, 9, 9, 0});
  double S, K;
  M.SkewKurt(0, 0, 0, 0, S, K);  // as for vectors: double sums give the same values here
  test::ExpectAllNear({S, K}, {0.21694455589273343, -1.9786570732641984}, 1e-14);
  M.SkewKurtSample(0, 0, 0, 0, S, K);  // scipy.stats.skew / kurtosis with bias=False
  test::ExpectAllNear({S, K}, {0.3305821804079746, -2.098602258096087}, 1e-14);
  SetColumn(M, {5});
  M.SkewKurtSample(0, 0, 0, 0, S, K);
  EXPECT_EQ(S + K, 0);
}

TEST(MatrixStats, HistogramBinsAndLimits) {
  TMatrix M;
  SetColumn(M, {-0.5, 11, 3.7, 3.2, 10.5});
  TIntVector H;
  int32_t U, O, MaxCnt;
  ASSERT_TRUE(M.Histogram(0, 0, 0, 0, 0, 10, 1, &H, U, O, MaxCnt));
  EXPECT_EQ(test::ValuesOf(H), (std::vector<int32_t>{0, 0, 0, 2, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(std::tuple(U, O, MaxCnt), std::tuple(1, 2, 2));  // 11, and 10.5 beyond bin ten
  EXPECT_FALSE(M.Histogram(0, 0, 0, 0, 0, 501, 1, &H, U, O, MaxCnt));
  EXPECT_FALSE(M.Histogram(0, 0, 0, 0, 0, 10, 0, &H, U, O, MaxCnt));
  EXPECT_EQ(H.NrOfElem(), 10);
}

TEST(MatrixScaling, StandardizeNormalizeAndCenter) {
  TMatrix M;
  SetRows(M, {{1, 10}, {2, 10}, {3, 10}, {6, 10}});
  TVector Means, SDs;
  Means.Resize(2);
  SDs.Resize(2);
  int Changes = 0;
  M.OnChange = [&](TObject*) { ++Changes; };
  M.StandardizeColumns(&Means, &SDs);
  // a constant column keeps its values (variance 0)
  EXPECT_EQ(std::tuple(Changes, ValuesOf(Means), ValuesOf(SDs), A_(M, 1, 2)),
            std::tuple(1, V{3, 10}, V{std::sqrt(14.0 / 3.0), 0}, 10.0));
  SetRows(M, {{1, 2, 3, 4, 5}});
  M.QNormalizeRows(75, nullptr, nullptr);  // median 3 (rank 2), 75th percentile 5 (rank 4)
  EXPECT_EQ(RowsOf(M), (test::TRows{{-1, -0.5, 0, 0.5, 1}}));
  SetRows(M, {{1, 3}, {3, 5}});
  M.MeanCenterRows(&Means);
  EXPECT_EQ(std::pair(ValuesOf(Means), RowsOf(M)),
            std::pair(V{2, 4}, test::TRows{{-1, 1}, {-1, 1}}));
}

TEST(MatrixScaling, CorrelateMatrices) {
  TMatrix A, B;
  A.SetName("a");
  SetRows(A, {{1, 2}, {3, 4}});
  SetRows(B, {{2, 4}, {6, 8}});
  EXPECT_DOUBLE_EQ(A.Correlate(&B), 1);
  SetRows(B, {{2, 1}, {6, 8}});  // numpy.corrcoef([1, 2, 3, 4], [2, 1, 6, 8])[0, 1]
  EXPECT_NEAR(A.Correlate(&B), 0.898684364939248, 1e-15);
  B.Resize(3, 2);
  test::ExpectThrowMessage<EZEQMatrixError>([&] { A.Correlate(&B); },
                                            "Component \"a\": matrices do not match");
}

TEST(MatrixReorganisation, SortsReportEachExchangeAndMoveTheKey) {
  TMatrix M;
  SetRows(M, {{3, 30}, {1, 10}, {2, 20}});
  std::vector<std::tuple<int, int, int, int, int>> Reports;
  M.OnSortExchange = [&](TObject*, uint8_t W, int32_t I1, int32_t I2, int32_t F, int32_t L) {
    Reports.emplace_back(W, I1, I2, F, L);
  };
  M.SortRows(1, true, 0, 0, 0, 0);
  EXPECT_EQ(RowsOf(M), (test::TRows{{1, 10}, {2, 20}, {3, 30}}));
  EXPECT_EQ(Reports, (decltype(Reports){{2, 1, 2, 1, 2}, {2, 2, 3, 1, 2}}));
  SetRows(M, {{2, 20, 200}, {1, 10, 100}});
  M.SortRows(1, true, 2, 0, 2, 0);  // key column 1 moves with the rows; column 3 stays
  EXPECT_EQ(RowsOf(M), (test::TRows{{1, 10, 200}, {2, 20, 100}}));
  SetRows(M, {{3, 1, 2}});
  M.SortCols(1, false, 0, 0, 0, 0);
  EXPECT_EQ(RowsOf(M), (test::TRows{{3, 2, 1}}));
}

// Without an exchange handler SortRows runs vectorised stretches; with one, the plain loop
// that reports each exchange. Both must leave the same bits, for both twins.
template <class M>
void ExpectSameRowSorts(int32_t Key, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                        int32_t HighRow, bool Ascending) {
  M Fast, Plain;
  Fast.Resize(5, 3001);
  std::mt19937_64 Gen(Key * 7 + LowRow);
  std::uniform_int_distribution<int> Small(-30, 30);
  for (int32_t c = 1; c <= 5; ++c)
    for (int32_t r = 1; r <= 3001; ++r) {
      double V = Small(Gen) / 4.0;
      if constexpr (std::is_same_v<M, TMatrix>) {
        if (r % 13 == 4) V = std::nan("");
        if (r % 17 == 6) V = r % 2 ? -0.0 : 0.0;
      }
      Fast.SetVal(c, r, static_cast<typename M::TElem>(V * 4));
    }
  Plain.Assign(&Fast);
  Plain.OnSortExchange = [](TObject*, uint8_t, int32_t, int32_t, int32_t, int32_t) {};
  Fast.SortRows(Key, Ascending, LowCol, LowRow, HighCol, HighRow);
  Plain.SortRows(Key, Ascending, LowCol, LowRow, HighCol, HighRow);
  for (int32_t c = 1; c <= 5; ++c)
    for (int32_t r = 1; r <= 3001; ++r) {
      const auto A = Fast.GetVal(c, r), B = Plain.GetVal(c, r);
      ASSERT_EQ(std::memcmp(&A, &B, sizeof A), 0) << c << " " << r;
    }
}

TEST(MatrixReorganisation, RowSortsWithoutHandlerMakeTheSameExchanges) {
  for (const bool Ascending : {true, false}) {
    ExpectSameRowSorts<TMatrix>(2, 0, 0, 0, 0, Ascending);
    ExpectSameRowSorts<TMatrix>(1, 2, 7, 4, 2990, Ascending);  // key outside the columns
    ExpectSameRowSorts<TIntMatrix>(3, 0, 0, 0, 0, Ascending);
    ExpectSameRowSorts<TIntMatrix>(5, 1, 100, 3, 3001, Ascending);
  }
}

TEST(MatrixReorganisation, MirrorExchangeAndEdges) {
  TMatrix M;
  SetRows(M, {{1, 2}, {3, 4}, {5, 6}, {7, 8}});
  TVector E, F;
  M.EdgeVector(orVertical, eopMean, &E);  // per column: sums divided by 4
  M.EdgeVector(orHorizontal, eopMax, &F);
  EXPECT_EQ(std::pair(ValuesOf(E), ValuesOf(F)), std::pair(V{4, 5}, V{2, 4, 6, 8}));
  M.MirrorRows();
  M.MirrorColumns();
  M.ExchangeRows(1, 4);
  EXPECT_EQ(RowsOf(M), (test::TRows{{2, 1}, {6, 5}, {4, 3}, {8, 7}}));
  int Changes = 0;
  M.OnChange = [&](TObject*) { ++Changes; };
  M.ExchangeColumns(1, 9);  // outside: nothing at all
  EXPECT_EQ(Changes, 0);
  M.ExchangeColumns(1, 2);
  EXPECT_EQ(std::pair(A_(M, 1, 1), Changes), std::pair(1.0, 1));
}

TEST(MatrixSearch, FindAndBinarySearch) {
  TMatrix M;
  SetRows(M, {{1, 5}, {3, 5}, {5, 0}, {7, 0}});
  int32_t C, R;
  M.Find(0, 0, 0, 0, 4.9, C, R);
  EXPECT_EQ(std::pair(C, R), std::pair(1, 3));  // (1, 3) holds 5 and comes first in storage order
  // 3 and 5 equally near 4: the higher row; outside the matrix: 0
  for (auto [Col, Value, Row] : {std::tuple{1, 5.0, 3}, {1, 4, 3}, {1, 100, 4}, {9, 1, 0}})
    EXPECT_EQ(M.FindInSortedColumn(Col, true, Value), Row) << Value;
}

TEST(MatrixDistances, ModesAndDistanceMatrix) {
  TMatrix M;
  SetRows(M, {{0, 0}, {3, 4}, {1, 1}});
  for (auto [Mode, R1, R2, D] : {std::tuple{dmEuclid, 1, 2, 5.0},
                                 {dmEuclidSqr, 1, 2, 25},
                                 {dmManhattan, 2, 3, 5},
                                 {dmDice, 2, 3, 2.0 * 7 / (25 + 2)},
                                 {dmJaccard, 2, 3, 7.0 / (25 + 2 - 7)},
                                 {dmUserDef, 1, 2, 0},
                                 {dmEuclid, 2, 9, 5}})  // row 9 reads as zeros
    EXPECT_DOUBLE_EQ(M.DistanceOfObjects(Mode, R1, R2), D) << Mode;
  EXPECT_TRUE(std::isnan(M.DistanceOfObjects(dmJaccard, 1, 1)));  // two all-zero rows
  M.OnCalcDistance = [](TObject*, int32_t R1, int32_t R2, double& D) { D = R1 * 10 + R2; };
  EXPECT_EQ(M.DistanceOfObjects(dmUserDef, 1, 2), 12);
  TMatrix D, E;
  D.Resize(2, 3);
  E.Resize(3, 2);
  EXPECT_EQ(std::pair(M.CalcDistMat(dmEuclid, &D), M.CalcDistMat(dmEuclid, &E)), std::pair(-2, -1));
  EXPECT_EQ(E.GetVal(1, 1), 0);
  D.Resize(3, 3);
  D.Fill(7);
  ASSERT_EQ(M.CalcDistMat(dmEuclid, &D), 0);
  EXPECT_EQ(RowsOf(D), (test::TRows{{0, 5, std::sqrt(2.0)},
                                    {5, 0, std::sqrt(13.0)},
                                    {std::sqrt(2.0), std::sqrt(13.0), 0}}));
  EXPECT_EQ(DistModeId[dmEuclidSqr], "squared Euclidean");
  // The matrix of all pairs gives exactly the single distances, in every mode.
  TMatrix R, DM;
  R.Resize(5, 7);
  SetRandSeed(8);
  R.FillRandomGauss(0, 1);
  DM.Resize(7, 7);
  for (TDistMode Mode : {dmJaccard, dmManhattan, dmEuclid, dmEuclidSqr, dmDice}) {
    ASSERT_EQ(R.CalcDistMat(Mode, &DM), 0);
    for (int32_t i = 1; i <= 7; ++i)
      for (int32_t j = 1; j <= 7; ++j)
        EXPECT_EQ(A_(DM, i, j), i == j ? 0 : R.DistanceOfObjects(Mode, i, j)) << i << " " << j;
  }
}

}  // namespace
}  // namespace zeq
