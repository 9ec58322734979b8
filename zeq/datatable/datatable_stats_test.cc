// TDataTable statistics, scaling, covariances, attribute statistics, sorts and serialization.
#include "zeq/datatable/datatable.h"
#include "zeq/testing/test_util.h"

namespace zeq {
namespace {

// A column of values (nullopt-like NaN marks a cell that is not a number).
void SetColumn(TDataTable& T, int32_t Col, const std::vector<double>& Values) {
  if (T.NrOfRows() < static_cast<int32_t>(Values.size()))
    T.Resize(T.NrOfColumns(), static_cast<int32_t>(Values.size()));
  for (size_t r = 0; r < Values.size(); ++r) {
    const auto Row = static_cast<int32_t>(r + 1);
    T.SetElem(Col, Row, std::isnan(Values[r]) ? 0 : Values[r]);
    T.SetCellState(Col, Row, std::isnan(Values[r]) ? csEmpty : 0);
  }
}

TEST(DataTableStats, NumberCellsAgreeWithTheVectorOfTheSameValues) {
  TDataTable T;
  T.Resize(5, 40);
  std::mt19937 Rng(3);
  std::normal_distribution<double> Gauss(10, 3);
  TVector Same;
  std::vector<double> Used;
  for (int32_t c = 1; c <= 5; ++c)
    for (int32_t r = 1; r <= 40; ++r) {
      T.SetElem(c, r, Gauss(Rng));
      T.SetCellState(c, r,
                     static_cast<uint8_t>(Rng() % 4 == 0 ? csNoNumber : (Rng() % 2) * csMarkA));
      if (c != 3 && T.GetIsNumber(c, r)) Used.push_back(T.GetElem(c, r));
    }
  T.SetMScaleType(3, stNominal);  // skipped by every metric statistic
  Same.SetVecSize(static_cast<int32_t>(Used.size()));
  for (size_t i = 0; i < Used.size(); ++i) Same.SetVal(static_cast<int32_t>(i + 1), Used[i]);
  double Mean, Var, VMean, VVar;
  EXPECT_EQ(T.MeanVarOfNumCells(0, 0, 0, 0, Mean, Var), Same.NrOfElem());
  Same.MeanVar(1, Same.NrOfElem(), VMean, VVar);
  EXPECT_EQ((std::tuple{Mean, Var}), (std::tuple{VMean, VVar}));
  double Q[3], VQ[3];
  T.QuartilesOfNumCells(0, 0, 0, 0, Q[0], Q[1], Q[2]);
  Same.Quartiles(1, Same.NrOfElem(), VQ[0], VQ[1], VQ[2]);
  EXPECT_EQ(std::vector<double>(Q, Q + 3), std::vector<double>(VQ, VQ + 3));
  EXPECT_EQ(T.PercentileOfNumCells(0, 0, 0, 0, 37), Same.Percentile(37, 1, Same.NrOfElem()));
  EXPECT_EQ(T.CountNumCells(0, 0, 0, 0), Same.NrOfElem());
  EXPECT_GT(T.CountValidCells(0, 0, 0, 0), Same.NrOfElem());  // column 3 counts here
  int32_t Count;
  T.SumOfMarkedCells(0, 0, 0, 0, csMarkA | csNoNumber, Count);  // bit 1 is not a marking
  EXPECT_EQ(Count, T.MeanVarOfMarkedCells(0, 0, 0, 0, csMarkA, Mean, Var));
  TVector Copy;
  EXPECT_EQ(T.CopyCellsToVector(0, 0, 0, 0, 255, &Copy), T.CountValidCells(0, 0, 0, 0));
  EXPECT_EQ(T.CopyCellsToVector(0, 0, 0, 0, 255, nullptr), 0);
}

TEST(DataTableStats, SmallRangesAndTheirRules) {
  TDataTable T;
  SetColumn(T, 1, {1, 2, 3, NAN, 0, -1});
  double Mean, Var, Q1, Q2, Q3;
  EXPECT_EQ((std::tuple{T.MeanVarOfNumCells(1, 1, 1, 2, Mean, Var), Var}), (std::tuple{2, 1.0}));
  T.MeanVarOfNumCells(1, 1, 1, 3, Mean, Var);
  EXPECT_EQ(Var, 1.0);  // (1, 2, 3): the sample variance, also 1
  T.MeanVarOfNumCells(1, 2, 1, 5, Mean, Var);
  EXPECT_NEAR(Var, 7.0 / 3, 1e-15);  // (2, 3, 0): the empty cell is left out
  T.QuartilesOfNumCells(1, 1, 1, 2, Q1, Q2, Q3);
  EXPECT_EQ(std::tie(Q1, Q2, Q3), std::make_tuple(1.0, 1.5, 2.0));
  T.QuartilesOfNumCells(1, 1, 1, 3, Q1, Q2, Q3);
  EXPECT_EQ(std::tie(Q1, Q2, Q3), std::make_tuple(1.0, 2.0, 3.0));
  int32_t Count;
  EXPECT_EQ(T.GeometricMeanOfNumCells(1, 1, 1, 5, Count), 0.0);  // a zero among positives
  EXPECT_NEAR(T.GeometricMeanOfNumCells(1, 1, 1, 3, Count), std::cbrt(6.0), 1e-15);
  T.SetName("t");
  test::ExpectThrowMessage<EZEQMatrixError>(
      [&] { T.GeometricMeanOfNumCells(0, 0, 0, 0, Count); },
      "Component \"t\": negative argument passed to GeometricMean");
  test::ExpectThrowMessage<EZEQMatrixError>(
      [&] { T.HarmonicMeanOfNumCells(1, 1, 1, 5, Count); },
      "Component \"t\": negative or zero argument passed to HarmonicMean");
  EXPECT_EQ(T.HarmonicMeanOfNumCells(1, 4, 1, 4, Count), 0.0);  // no usable cell
  EXPECT_EQ(Count, 0);
  double Min, Max;
  EXPECT_EQ(T.MinMaxOfNumCells(1, 4, 1, 4, Min, Max), 0);
  EXPECT_EQ(T.MinMaxOfNumCells(0, 0, 0, 0, Min, Max), 5);
  EXPECT_EQ(std::tie(Min, Max), std::make_tuple(-1.0, 3.0));
}

TEST(DataTableStats, ScalingSkipsCategorialColumnsAndRefusesRows) {
  TDataTable T;
  T.Resize(2, 3);
  SetColumn(T, 1, {1, 2, 6});
  SetColumn(T, 2, {4, NAN, 4});
  TVector Means, Sds;
  Means.SetVecSize(2);
  Sds.SetVecSize(2);
  T.StandardizeNumCellColumns(&Means, &Sds);
  EXPECT_EQ(Means.GetVal(1), 3.0);
  EXPECT_NEAR(T.GetElem(1, 3), 3 / std::sqrt(7.0), 1e-15);
  EXPECT_EQ(Sds.GetVal(2), std::sqrt(1.0));  // two cells: variance 1 by the rule
  EXPECT_EQ(T.GetElem(2, 1), 0.0);
  T.SetMScaleType(2, stNominal);
  SetColumn(T, 2, {5, 5, 5});
  T.MeanCenterNumCellColumns(&Means);
  EXPECT_EQ(T.GetElem(2, 1), 5.0);
  test::ExpectThrowMessage<EZEQDataTableError>(
      [&] { T.StandardizeNumCellRows(nullptr, nullptr); },
      "standardization of rows is not possible with nominal or ordinal variables");
  test::ExpectThrowMessage<EZEQDataTableError>(
      [&] { T.MeanCenterNumCellRows(nullptr); },
      "mean centering of rows is not possible with nominal or ordinal variables");
}

TEST(DataTableStats, CovariancesOverPairwiseCompleteRows) {
  TDataTable T;
  T.Resize(2, 5);
  SetColumn(T, 1, {1, 2, 3, 4, 10});
  SetColumn(T, 2, {2, 4, 7, 8, NAN});
  TMatrix C;
  C.Resize(2, 2);
  ASSERT_TRUE(T.CalcCovar(&C, 0, 0, 0, 0, 1));
  // Means from all number cells of each column: 4 and 5.25; complete rows 1..4:
  // ((-3)(-3.25) + (-2)(-1.25) + (-1)(1.75) + 0) / 3.
  EXPECT_NEAR(C.GetVal(1, 2), (9.75 + 2.5 - 1.75) / 3, 1e-15);
  EXPECT_EQ(C.GetVal(1, 2), C.GetVal(2, 1));
  ASSERT_TRUE(T.CalcCovar(&C, 1, 2, 1, 4, 2));
  EXPECT_NEAR(C.GetVal(2, 1), 0.9844951849708404, 1e-15);  // numpy.corrcoef([1,2,3,4],[2,4,7,8])
  EXPECT_EQ(C.GetVal(1, 1), 1.0);
  ASSERT_TRUE(T.CalcCovar(&C, 0, 0, 0, 0, 4));
  EXPECT_NEAR(C.GetVal(1, 2), (1 + 4 + 16 + 16) / 3.0, 1e-15);
  TMatrix Small;
  EXPECT_FALSE(T.CalcCovar(&Small, 0, 0, 0, 0, 1));  // 1 x 1 is too small, and stays so
  EXPECT_EQ(Small.NrOfColumns(), 1);
}

TEST(DataTableStats, AttributesScalesAndColumnsOfTwoLevels) {
  TDataTable T;
  T.Resize(3, 5);
  SetColumn(T, 1, {5, 5, 7, 5, 7});
  SetColumn(T, 2, {5, 5, 5, 5, 5});
  double L1, L2;
  EXPECT_TRUE(T.CheckDichotomousColumn(1, L1, L2));
  EXPECT_EQ(std::tie(L1, L2), std::make_tuple(5.0, 7.0));
  EXPECT_FALSE(T.CheckDichotomousColumn(2, L1, L2));
  L1 = L2 = 7;
  EXPECT_FALSE(T.CheckDichotomousColumn(9, L1, L2));  // outside the table: outputs cleared
  EXPECT_EQ(std::tie(L1, L2), std::make_tuple(0.0, 0.0));
  EXPECT_TRUE(T.IsConstantColumn(2));
  EXPECT_FALSE(T.IsConstantColumn(4));
  for (int32_t r = 1; r <= 5; ++r) T.SetRowAttrib(r, r % 3 - 1);  // 0, 1, -1, 0, 1
  EXPECT_EQ(T.RowAttribLevels(), 3);
  int32_t Index;
  EXPECT_EQ((std::tuple{T.MaxRowAttrib(0, 0, Index), Index}), (std::tuple{1, 2}));
  EXPECT_EQ((std::tuple{T.MinRowAttrib(3, 5, Index), Index}), (std::tuple{-1, 3}));
  T.SetMScaleType(2, stOrdinal);
  T.SetMScaleType(3, stRatio);
  EXPECT_EQ(T.FindHighestMLevel(1, 2), stInterval);
  EXPECT_EQ(T.FindLowestMLevel(0, 0), stOrdinal);
  T.SetCellState(1, 2, csMarkB);
  T.SetCellState(3, 4, csMarkB | csEmpty);
  EXPECT_EQ((std::tuple{T.FillMarkedCells(-9, csMarkB), T.GetElem(3, 4)}), (std::tuple{2, -9}));
}

TEST(DataTableStats, SortsMoveExactlyTheirCompanions) {
  TDataTable T;
  T.Resize(2, 3);
  const int32_t Attribs[] = {3, 1, 2};
  for (int32_t r = 1; r <= 3; ++r) {
    T.SetRowAttrib(r, Attribs[r - 1]);
    T.SetRowName(r, test::Cat("n", Attribs[r - 1]));
    T.SetElem(1, r, 10 * Attribs[r - 1]);
    T.SetCellState(1, r, static_cast<uint8_t>(4 * r));
  }
  std::vector<std::string> Exchanges;
  T.OnSortExchange = [&](TObject*, uint8_t What, int32_t i, int32_t j, int32_t, int32_t) {
    Exchanges.push_back(test::Cat(int{What}, ":", i, ",", j));
  };
  T.SortRowAttributes(true, 0, 0, 0, 0);
  for (int32_t r = 1; r <= 3; ++r) {
    EXPECT_EQ((std::tuple{T.GetRowAttrib(r), T.GetRowName(r)}), (std::tuple{r, test::Cat("n", r)}));
    EXPECT_EQ(T.GetElem(1, r), 10 * r);
    EXPECT_EQ(T.GetCellState(1, r), 4 * r);  // states do not move in attribute sorts
  }
  EXPECT_FALSE(Exchanges.empty());
  // A value sort moves states, and names and attributes only when asked.
  Exchanges.clear();
  T.SortRows(1, false, 0, 0, 0, 0, false);
  EXPECT_EQ((std::tuple{T.GetElem(1, 1), T.GetCellState(1, 1)}), (std::tuple{30, 12}));
  EXPECT_EQ(T.GetRowName(1), "n1");
  // Gap 1 from the start (trunc(2 / 1.3)): 10 20 30 -> 20 10 30 -> 20 30 10 -> 30 20 10.
  EXPECT_EQ(Exchanges, (std::vector<std::string>{"2:1,2", "2:2,3", "2:1,2"}));
  T.SortRowNames(true, 0, 0, 0, 0);
  EXPECT_EQ(T.GetElem(1, 1), 30);  // names n1, n2, n3 were in order already
}

TEST(DataTableStats, SerializeUnfoldsColumnByColumn) {
  TDataTable T;
  T.Resize(2, 3);
  for (int32_t c = 1; c <= 2; ++c)
    for (int32_t r = 1; r <= 3; ++r) T.SetElem(c, r, 10 * c + r);
  T.SetCellState(2, 3, csImputed);
  T.SetRowName(2, "second");
  T.SetRowAttrib(2, 42);
  T.SetColName(2, "height");
  T.Serialize(true, true);
  ASSERT_EQ(T.NrOfColumns(), 4);
  ASSERT_EQ(T.NrOfRows(), 6);
  const double Data[] = {11, 12, 13, 21, 22, 23};
  for (int32_t k = 1; k <= 6; ++k) {
    EXPECT_EQ(T.GetElem(4, k), Data[k - 1]);
    EXPECT_EQ(T.GetElem(2, k), (k - 1) / 3 + 1);  // column index
    EXPECT_EQ(T.GetElem(3, k), (k - 1) % 3 + 1);  // row index
  }
  EXPECT_EQ((std::tuple{T.GetCellState(4, 6), T.GetRowName(5)}), (std::tuple{csImputed, "second"}));
  for (int32_t k = 1; k <= 6; ++k) EXPECT_EQ(T.GetRowAttrib(k), k % 3 == 2 ? 42 : 0) << k;
  EXPECT_EQ((std::tuple{T.GetColName(1), T.GetColName(4)}), (std::tuple{"(column)", "(data)"}));
  EXPECT_EQ(T.GetElemNominal(1, 4), "2:height");
}

}  // namespace
}  // namespace zeq
