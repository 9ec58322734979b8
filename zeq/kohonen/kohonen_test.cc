// TKohonen: the schedules of radius and rate, neighbourhoods on plain and cyclic maps, abort
// and resume, and a map that separates clearly separated clusters, reproducibly.
#include "zeq/kohonen/kohonen.h"
#include "zeq/testing/matrix_test_util.h"
#include "zeq/testing/test_util.h"
#include "zeq/testing/vector_test_util.h"

namespace zeq {
namespace {

// Weights of every neuron, x outer, feature inner.
std::vector<double> AllWeights(const TKohonen& K) {
  std::vector<double> W;
  for (int32_t x = 1; x <= K.SizeX(); ++x)
    for (int32_t y = 1; y <= K.SizeY(); ++y)
      for (int32_t k = 1; k <= K.NrOfInSens(); ++k) W.push_back(K.GetWeight(x, y, k));
  return W;
}

// The number of neurons whose weights differ between A and B.
int CountChangedNeurons(const std::vector<double>& A, const std::vector<double>& B, int32_t n) {
  int Changed = 0;
  for (size_t i = 0; i < A.size(); i += static_cast<size_t>(n))
    Changed += !std::equal(A.begin() + static_cast<ptrdiff_t>(i),
                           A.begin() + static_cast<ptrdiff_t>(i) + n,
                           B.begin() + static_cast<ptrdiff_t>(i));
  return Changed;
}

TEST(Kohonen, DefaultScheduleRunsPasses1To199) {
  TKohonen K;
  TMatrix Data;
  Data.Resize(2, 3);
  Data.FillRandomUniform(0, 1);
  K.SetDataMat(&Data);
  std::vector<std::tuple<int32_t, int32_t, double>> Passes;  // percent, radius, rate
  K.OnFeedback = [&](TObject*, int32_t P) {
    Passes.emplace_back(P, K.CurrentNeighbors(), K.CurrentAlpha());
  };
  K.Trainit();
  ASSERT_EQ(Passes.size(), 199u);
  EXPECT_EQ(Passes.front(), std::make_tuple(0, 2, (199.0 / 200) * (199.0 / 200)));  // 0.5 -> 0
  EXPECT_EQ(Passes.back(), std::make_tuple(100, 1, (1.0 / 200) * (1.0 / 200)));     // 99.5 -> 100
  // The radius is 2 while f^2 >= 0.5: f = (200 - step) / 200 >= 0.7071 up to step 58.
  EXPECT_EQ(std::pair(std::get<1>(Passes[57]), std::get<1>(Passes[58])), std::pair(2, 1));
  // A finished training still runs one pass, at rate 0: nothing moves.
  const std::vector<double> Before = AllWeights(K);
  K.ContinueTraining();
  EXPECT_EQ(std::pair(Passes.size(), std::get<2>(Passes.back())), std::pair(size_t{200}, 0.0));
  EXPECT_EQ(AllWeights(K), Before);
}

TEST(Kohonen, NeighbourhoodsOnPlainAndCyclicMaps) {
  TMatrix One;
  test::SetRows(One, {{5, -5}});
  TVector Object;
  test::FillWith(Object, {5, -5});
  // One pass with radius 5 at a rate of almost 1: the winner takes the object; which other
  // neurons move depends on the map.
  for (auto [Size, Cyclic] : {std::pair{3, true}, {4, true}, {3, false}, {7, false}}) {
    TKohonen K;
    K.SetSizeX(Size);
    K.SetSizeY(Size);
    K.SetDataMat(&One);
    K.SetCyclic(Cyclic);
    K.SetInitialNeighbors(5);
    K.SetNrOfTrnSteps(1000000);
    K.OnFeedback = [&K](TObject*, int32_t) { K.AbortTraining(); };
    SetRandSeed(9);
    K.SetWeigtsToRandom();
    const std::vector<double> Start = AllWeights(K);
    SetRandSeed(9);
    K.Trainit();
    EXPECT_EQ(K.CurrentStep(), 2);
    int32_t x = 0, y = 0;
    double D;
    K.ApplyIt(&Object, x, y, D);
    EXPECT_LT(D, 1e-9);
    // Cyclic: the radius is confined to Size div 2 - 1 and wraps; plain: clipped to the map.
    const auto Span = [&](int32_t w) {
      return Cyclic ? 2 * std::min(5, Size / 2 - 1) + 1
                    : std::min(w + 5, Size) - std::max(w - 5, 1) + 1;
    };
    EXPECT_EQ(CountChangedNeurons(Start, AllWeights(K), 2), Span(x) * Span(y))
        << Size << " " << Cyclic;
  }
}

TEST(Kohonen, TiesBadSizesAndRandomWeights) {
  TKohonen K;
  K.SetSizeX(4);
  K.SetSizeY(3);  // fresh zero weights: every neuron is equally near
  K.SetSizeX(0);
  EXPECT_EQ(K.SizeX(), 4);
  TVector In;
  test::FillWith(In, {2});
  int32_t x = 0, y = 0;
  double D;
  K.ApplyIt(&In, x, y, D);
  EXPECT_EQ(std::tie(x, y, D), std::make_tuple(1, 1, 4.0));
  K.ApplyIt(nullptr, x, y, D);
  EXPECT_EQ(D, static_cast<double>(uc_MaxDouble));
  K.SetNumInsens(4);
  K.SetWeigtsToRandom();  // every neuron and feature drawn from [-0.1, 0.1)
  for (double W : AllWeights(K)) EXPECT_TRUE(W != 0 && W >= -0.1 && W < 0.1) << W;
  EXPECT_EQ(AllWeights(K).size(), 4u * 3 * 4);
}

// Three clusters of 30 objects in 4 features, far apart.
void ThreeClusters(TMatrix& M) {
  const double Centres[3][4] = {{0, 0, 0, 0}, {10, 10, 10, 10}, {-10, 10, -10, 10}};
  M.Resize(4, 90);
  SetRandSeed(4);
  for (int32_t r = 1; r <= 90; ++r)
    for (int32_t k = 1; k <= 4; ++k)
      M.SetVal(k, r, Centres[(r - 1) / 30][k - 1] + (Random() - 0.5));
}

TEST(Kohonen, SeparatedClustersGetTheirOwnRegionsReproducibly) {
  TMatrix Data;
  ThreeClusters(Data);
  const auto Train = [&](TKohonen& K) {
    K.SetSizeX(6);
    K.SetSizeY(6);
    K.SetNrOfTrnSteps(40);
    K.SetDataMat(&Data);
    K.StandardizeData();
    SetRandSeed(21);
    K.Trainit();
  };
  TKohonen K, Again;
  Train(K);
  Train(Again);
  EXPECT_EQ(AllWeights(K), AllWeights(Again));
  std::set<std::pair<int32_t, int32_t>> Regions[3];
  TVector Object;
  Object.SetVecSize(4);
  for (int32_t r = 1; r <= 90; ++r) {
    for (int32_t k = 1; k <= 4; ++k) Object.SetVal(k, Data.GetVal(k, r));
    int32_t x, y;
    double D;
    K.ApplyIt(&Object, x, y, D);
    Regions[(r - 1) / 30].insert({x, y});
    // The winner's weights, in raw units, lie near the object's cluster centre.
    EXPECT_NEAR(K.GetWeight(x, y, 2), Data.GetVal(2, r), 2.0);
  }
  for (int a = 0; a < 3; ++a)
    for (int b = a + 1; b < 3; ++b)
      for (const auto& Neuron : Regions[a]) EXPECT_EQ(Regions[b].count(Neuron), 0u);
}

}  // namespace
}  // namespace zeq
