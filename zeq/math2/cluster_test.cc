#include "zeq/math2/cluster.h"

#include "zeq/testing/matrix_test_util.h"
#include "zeq/testing/test_util.h"
#include "zeq/testing/vector_test_util.h"

namespace zeq {
namespace {

using TValues = std::vector<double>;
using test::ValuesOf;

void FillRandom(TMatrix& M, int32_t Rows, int32_t Cols, uint64_t Seed, bool Ties) {
  std::mt19937_64 Gen(Seed);
  std::uniform_int_distribution<int> Small(0, 3);
  std::normal_distribution<double> N(0, 1);
  M.Resize(Cols, Rows);
  for (int32_t r = 1; r <= Rows; ++r)
    for (int32_t c = 1; c <= Cols; ++c) M.SetVal(c, r, Ties ? Small(Gen) : N(Gen));
}

TEST(kMeans, FixedPointSizesSeedsAndMessages) {
  TMatrix X, Centers;
  TIntVector Class, Sizes;
  FillRandom(X, 200, 3, 1, false);
  const double Total = kMeansClustering(&X, 0, 0, 4, 7, &Centers, &Class, &Sizes);
  // Each object is nearest to its own centre, each centre is the mean of its members, the
  // total is the sum of the squared distances, and the sizes do not increase.
  long double Sum = 0;
  std::vector<std::vector<long double>> Means(4, std::vector<long double>(3, 0.0L));
  for (int32_t i = 1; i <= 200; ++i) {
    std::vector<long double> D(4, 0.0L);
    for (int32_t c = 0; c < 4; ++c)
      for (int32_t v = 1; v <= 3; ++v)
        D[static_cast<size_t>(c)] += std::pow(X.GetVal(v, i) - Centers.GetVal(v, c + 1), 2);
    const auto Own = static_cast<size_t>(Class.GetVal(i) - 1);
    EXPECT_EQ(std::min_element(D.begin(), D.end()) - D.begin(), static_cast<ptrdiff_t>(Own));
    Sum += D[Own];
    for (int32_t v = 1; v <= 3; ++v)
      Means[Own][static_cast<size_t>(v - 1)] +=
          X.GetVal(v, i) / Sizes.GetVal(static_cast<int32_t>(Own + 1));
  }
  EXPECT_NEAR(Total, static_cast<double>(Sum), 1e-12 * Total);
  for (int32_t c = 1; c <= 4; ++c) {
    EXPECT_NEAR(Centers.GetVal(1, c), static_cast<double>(Means[static_cast<size_t>(c - 1)][0]),
                1e-12);
    if (c > 1) {
      EXPECT_GE(Sizes.GetVal(c - 1), Sizes.GetVal(c));
    }
  }
  // The same seed gives the same result; as many clusters as objects give 0.
  TIntVector Again;
  EXPECT_EQ(kMeansClustering(&X, 0, 0, 4, 7, &Centers, &Again, &Sizes), Total);
  EXPECT_EQ(test::ValuesOf(Again), test::ValuesOf(Class));
  TMatrix Four;
  test::SetRows(Four, {{0, 0}, {5, 5}, {9, 1}, {2, 8}});
  EXPECT_EQ(kMeansClustering(&Four, 0, 0, 4, &Centers, &Class), 0.0);
  test::ExpectThrowMessage<EZEQMath2Error>(
      [&] { kMeansClustering(&Four, 0, 0, 5, &Centers, &Class); },
      "kMeansClustering: number of clusters is greater than number of objects");
  EXPECT_EQ(kMeansEstimatedSteps(10, 2, 2), 20);
  EXPECT_EQ(kMeansEstimatedSteps(100000, 10, 10), 194);  // 182.32 - 108 - 92.43 - 175.57 + 387.75
}

TEST(FindCenters, MergesTheClosestPairsIntoWeightedMeans) {
  TMatrix X, Centers;
  test::SetRows(X, {{0}, {1}, {10}, {11}, {50}});
  Centers.Resize(1, 2);
  double MeanDist;
  FindCenters(&X, 1, 4, 2, &Centers, MeanDist);  // (0, 1) first in scan order, then (11, 10)
  EXPECT_EQ((TValues{Centers.GetVal(1, 1), Centers.GetVal(1, 2), MeanDist}),
            (TValues{0.5, 10.5, 10}));
  EXPECT_EQ(X.GetVal(1, 2), 1);  // the data are not changed
}

TEST(AgglomClustering, DocumentedExampleNodePositionsAndAbort) {
  TMatrix X;
  test::SetRows(X, {{0}, {1}, {10}});
  TIntMatrix Dendrogram;
  TVector MergeDist, NodePos;
  std::vector<int32_t> Percent;
  const TClusterFeedBack FeedBack = [&](TObject*, double, int32_t P) { Percent.push_back(P); };
  AgglomClustering(nullptr, &X, dmEuclid, cmSingleLink, 0, &Dendrogram, &MergeDist, &NodePos,
                   FeedBack, nullptr);
  EXPECT_EQ((std::vector<int32_t>{Dendrogram.GetVal(1, 1), Dendrogram.GetVal(2, 1),
                                  Dendrogram.GetVal(3, 1), Dendrogram.GetVal(1, 2),
                                  Dendrogram.GetVal(2, 2), Dendrogram.GetVal(3, 2)}),
            (std::vector<int32_t>{1, 2, 4, 4, 3, 5}));
  EXPECT_EQ(ValuesOf(MergeDist), (TValues{1, 9}));
  EXPECT_EQ(ValuesOf(NodePos), (TValues{1, 2, 3, 1.5, 2.25}));
  EXPECT_EQ(Percent, (std::vector<int32_t>{0, 33, 66}));
  AbortMathProc = true;  // cleared at the start: an abort must come from the progress routine
  AgglomClustering(
      nullptr, &X, dmEuclid, cmWard, 0, &Dendrogram, &MergeDist, &NodePos,
      [](TObject*, double, int32_t P) {
        if (P > 0) AbortMathProc = true;
      },
      nullptr);
  AbortMathProc = false;
  EXPECT_EQ(ValuesOf(MergeDist), (TValues{0, 0}));
  EXPECT_EQ(ValuesOf(NodePos), (TValues{0, 0, 0, 0, 0}));
  EXPECT_EQ(Dendrogram.GetVal(3, 1), 0);
  test::SetRows(X, {{4}});  // one object: no merge; its node at 1, reported at 0 %
  AgglomClustering(nullptr, &X, dmEuclid, cmSingleLink, 0, &Dendrogram, &MergeDist, &NodePos,
                   FeedBack, nullptr);
  EXPECT_EQ(std::pair(ValuesOf(NodePos), Percent.back()), std::pair(TValues{1}, 0));
  EXPECT_EQ(Percent.size(), 4u);
}

// Merge by merge the full scan of tests/tools/plain_reference.py (every pair compared at each
// merge), for 60 random points with and without ties and Ward on squared distances.
TEST(AgglomClustering, FastMergesEqualTheFullScanForEveryRule) {
  for (bool Ties : {false, true})
    for (int Method = cmSingleLink; Method <= cmUpgma; ++Method) {
      test::TTestRandom Gen(100 + static_cast<uint64_t>(Method));
      std::vector<double> P(180);  // 60 points, three coordinates each
      for (double& V : P) V = Ties ? static_cast<double>(Gen.Next() % 4) : Gen.Uniform();
      const auto Distance = [&](TObject*, int32_t a, int32_t b, double& D) {
        D = 0;
        for (size_t v = 0; v < 3; ++v) {
          const double x =
              P[static_cast<size_t>(a - 1) * 3 + v] - P[static_cast<size_t>(b - 1) * 3 + v];
          D = D + x * x;
        }
        if (Method != cmWard) D = std::sqrt(D);
      };
      TMatrix X;
      X.Resize(3, 60);
      TIntMatrix Dendrogram;
      TVector MergeDist, NodePos;
      AgglomClustering(nullptr, &X, dmUserDef, static_cast<TClusterMethod>(Method), 0.3,
                       &Dendrogram, &MergeDist, &NodePos, nullptr, Distance);
      test::TBitsHash H;
      for (int32_t s = 1; s < 60; ++s)
        for (double V :
             {0.0 + Dendrogram.GetVal(1, s), 0.0 + Dendrogram.GetVal(2, s), MergeDist.GetVal(s)})
          H.Add(V);
      const std::string Key = test::Cat("agglom ", Method, " ", Ties);
      EXPECT_EQ(
          H.Value,
          test::HexWord(test::ReferenceLine("zeq/math2/testdata/agglom_reference.txt", Key), 0))
          << Key;
    }
}

TEST(NearestNeighbours, OrderTiesClampsAndEstimates) {
  TMatrix X, NN;
  test::SetRows(X, {{0, 0}, {3, 4}, {0, 5}, {1, 0}, {-3, -4}});
  TVector Query, Target;
  test::FillWith(Query, {0, 0});
  test::FillWith(Target, {10, 20, 30, 40, 50});
  NN.Resize(2, 4);
  FindNearestNeighbors(4, &X, 1, 5, &Query, &NN, nullptr);
  // Distances 0, 1, then 5, 5, 5 in object order.
  EXPECT_EQ((TValues{NN.GetVal(1, 1), NN.GetVal(1, 2), NN.GetVal(1, 3), NN.GetVal(1, 4)}),
            (TValues{1, 4, 2, 3}));
  EXPECT_EQ((TValues{NN.GetVal(2, 1), NN.GetVal(2, 2), NN.GetVal(2, 4)}), (TValues{0, 1, 5}));
  FindNearestNeighbors(2, &X, 1, 5, nullptr, &NN, [](int32_t Obj) { return 10.0 - Obj; });
  EXPECT_EQ((TValues{NN.GetVal(1, 1), NN.GetVal(1, 2)}), (TValues{5, 4}));
  double Estimate, MeanDist;
  EstimateByKNN(&X, &Target, 3, kwmAverage, 0, &Query, Estimate, MeanDist);
  EXPECT_EQ((TValues{Estimate, MeanDist}), (TValues{(10 + 40 + 20) / 3.0, 2}));
  EstimateByKNN(&X, &Target, 3, kwmMedian, 0, &Query, Estimate, MeanDist);
  EXPECT_EQ(Estimate, 20);
  EstimateByKNN(&X, &Target, 2, kwmLinear, 1, &Query, Estimate,
                MeanDist);  // w = 1, -1: only 1 counts
  EXPECT_EQ(Estimate, 10);
  EstimateByKNN(&X, &Target, 2, kwmGauss, 1, &Query, Estimate, MeanDist);  // w = 1, exp(-4)
  EXPECT_NEAR(Estimate, (10 + 40 * std::exp(-4.0)) / (1 + std::exp(-4.0)), 1e-14);
  // A quadratic target is reproduced by the quadratic model.
  TMatrix Grid;
  Grid.Resize(2, 25);
  TVector Y;
  Y.Resize(25);
  const auto F = [](double a, double b) { return 1 + 2 * a - b + 0.5 * a * a + a * b - 3 * b * b; };
  for (int32_t i = 0; i < 25; ++i) {
    Grid.SetVal(1, i + 1, i % 5 - 2.0);
    Grid.SetVal(2, i + 1, i / 5 - 2.0);
    Y.SetVal(i + 1, F(i % 5 - 2.0, i / 5 - 2.0));
  }
  test::FillWith(Query, {0.3, -0.4});
  EstimateByKNN(&Grid, &Y, 12, kwmBiQuad, 0, &Query, Estimate, MeanDist);
  EXPECT_NEAR(Estimate, F(0.3, -0.4), 1e-12);
}

TEST(NearestNeighbours, MeanDistancesAndGaussianKernels) {
  TMatrix X;
  test::SetRows(X, {{0}, {1}, {3}, {7}});
  TVector Mean;
  Mean.Resize(4);
  MeanDistanceKNN(&X, 1, 0, 0, &Mean);
  EXPECT_EQ(ValuesOf(Mean), (TValues{0, 0, 0, 0}));  // the object itself
  MeanDistanceKNN(&X, 2, 0, 0, &Mean);
  EXPECT_EQ(ValuesOf(Mean), (TValues{0.5, 0.5, 1, 2}));
  TVector A, B;
  test::FillWith(A, {1, 2});
  test::FillWith(B, {1, 2});
  EXPECT_EQ(CalcGaussKernel(&A, &B, 0.5), 1);
  test::FillWith(B, {4, 6});  // d^2 = 25
  EXPECT_NEAR(CalcGaussKernel(&A, &B, 5), std::exp(-1.0), 1e-16);
  EXPECT_EQ(CalcGaussKernel(&A, &B, 1), std::exp(-20.0));
  EXPECT_NEAR(CalcGaussKernelMat(&A, &X, 2, 2), std::exp(-0.0), 0);  // column 1 only: (1 - 1)^2
}

}  // namespace
}  // namespace zeq
