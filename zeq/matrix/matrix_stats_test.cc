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
  M.MirrorRows();
  M.MirrorColumns();
  M.ExchangeRows(1, 4);
  EXPECT_EQ(RowsOf(M), (test::TRows{{2, 1}, {6, 5}, {4, 3}, {8, 7}}));
  test::TChangeCounter Changes(M);
  M.ExchangeColumns(1, 9);  // outside: nothing at all
  EXPECT_EQ(Changes.Count, 0);
  M.ExchangeColumns(1, 2);
  EXPECT_EQ(std::pair(A_(M, 1, 1), Changes.Count), std::pair(1.0, 1));
}

TEST(MatrixDistances, ModesAndDistanceMatrix) {
  TMatrix M;
  SetRows(M, {{0, 0}, {3, 4}, {1, 1}});
  M.OnCalcDistance = [](TObject*, int32_t R1, int32_t R2, double& D) { D = R1 * 10 + R2; };
  EXPECT_EQ(M.DistanceOfObjects(dmUserDef, 1, 2), 12);
  TMatrix E;
  E.Resize(3, 2);
  E.Fill(7);
  EXPECT_EQ(M.CalcDistMat(dmEuclid, &E), -1);
  EXPECT_EQ(E.GetVal(1, 1), 7);  // refused: nothing written
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
