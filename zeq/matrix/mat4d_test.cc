// TMat4D: addressing, sizing, cutting, resampling, transposition, the copies, the per-pixel
// reductions and the box statistics, with their progress reports.
#include <array>

#include "zeq/matrix/matrix.h"
#include "zeq/testing/array_test_util.h"
#include "zeq/testing/test_util.h"

namespace zeq {
namespace {

using test::FillPositions;
using test::Position;

// The OnPercentDone reports of M.
std::vector<int32_t>& RecordPercents(TMat4D& M, std::vector<int32_t>& Out) {
  M.OnPercentDone = [&Out](TObject*, int32_t P) { Out.push_back(P); };
  return Out;
}

TEST(Mat4D, AddressingAndSizing) {
  TMat4D M;
  EXPECT_EQ(M.Lin3DAddr(1, 1, 1), 0);
  FillPositions(M, 4, 3, 2, 1);
  EXPECT_EQ((std::tuple{M.Lin3DAddr(2, 3, 2), M.Lin3DAddr(5, 1, 1)}), (std::tuple{19, -1}));
  int32_t x = 0, y = 0, z = 0;
  EXPECT_TRUE(M.ConvertLinTo3DAddr(19, x, y, z));
  EXPECT_EQ(std::tie(x, y, z), std::make_tuple(2, 3, 2));
  EXPECT_FALSE(M.ConvertLinTo3DAddr(24, x, y, z));
  EXPECT_EQ(M.MemoryConsumed(), 4.0 / 1048576 * 3 * 2 * 8);
  test::TChangeCounter Changes(M);
  EXPECT_TRUE(M.Resize(0, 5, 5, 5));
  EXPECT_EQ(M.NrOfColumns(), 4);
  M.FillLayer(0, 9);
  M.FillLayer(2, 9);
  EXPECT_EQ((std::tuple{Changes.Count, M.GetVal(4, 3, 2, 1)}), (std::tuple{0, 9}));
  // An element count beyond the address space, and one beyond memory, are refused.
  for (int32_t n : {1 << 30, 1 << 17})
    test::ExpectThrowMessage<EZEQMatrixError>([&] { M.Resize(n, n, n, 2); },
                                              "Component \"\": not enough memory on heap");
  EXPECT_EQ(M.NrOfTimeSlots(), 1);
  EXPECT_EQ(M.GetVal(3, 2, 1, 1), Position(3, 2, 1, 1));
  EXPECT_EQ(Changes.Count, 0);
}

TEST(Mat4D, CutKeepsTheBoxWithTwoPhasesOfProgress) {
  TMat4D M;
  FillPositions(M, 5, 2, 3, 2);
  std::vector<int32_t> Percents;
  RecordPercents(M, Percents);
  M.Cut(2, 3, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ((std::tuple{M.NrOfColumns(), M.NrOfLayers()}), (std::tuple{2, 3}));
  EXPECT_EQ(M.GetVal(1, 2, 3, 2), Position(2, 2, 3, 2));
  // 2 nT nZ = 12 steps, one report each.
  EXPECT_EQ(Percents.size(), 12u);
  EXPECT_EQ(Percents.front(), 8);  // round(100 / 12)
  EXPECT_EQ(Percents.back(), 100);
}

TEST(Mat4D, ResampleTakesFirstElementsOrBlockAverages) {
  TMat4D M;
  FillPositions(M, 10, 2, 1, 1);
  TMat4D A;
  A.Assign(&M);
  M.Resample(3, 0, 1, 0, 1, 0, 1, 0, false);
  ASSERT_EQ(M.NrOfColumns(), 4);  // blocks 1-3, 4-6, 7-9, 10
  for (int32_t x = 1; x <= 4; ++x) EXPECT_EQ(M.GetVal(x, 2, 1, 1), Position(3 * x - 2, 2, 1, 1));
  A.Resample(3, 0, 1, 0, 1, 0, 1, 0, true);
  EXPECT_EQ(A.GetVal(4, 1, 1, 1), Position(10, 1, 1, 1) / 3);
  EXPECT_EQ(A.GetVal(1, 1, 1, 1), (Position(1, 1, 1, 1) + Position(2, 1, 1, 1) + 1113) / 3);
  // A negative offset shifts the blocks left: the first covers positions 0..2.
  FillPositions(M, 10, 1, 1, 1);
  M.Resample(3, -1, 1, 0, 1, 0, 1, 0, false);
  EXPECT_EQ(M.NrOfColumns(), 4);
  EXPECT_EQ(M.GetVal(1, 1, 1, 1), 0.0);  // position 0 lies outside
  EXPECT_EQ(M.GetVal(2, 1, 1, 1), Position(3, 1, 1, 1));
  M.Resample(0, 0, 1, 0, 1, 0, 1, 0, false);  // divisors must be positive: nothing happens
  EXPECT_EQ(M.NrOfColumns(), 4);
}

TEST(Mat4D, TransposeExchangesColumnsAndRowsOrLeavesAnAbortedArrayAlone) {
  // Larger than one tile in both directions; square planes are transposed in place.
  for (auto [X, Y] : {std::pair{37, 70}, {40, 40}}) {
    TMat4D M;
    FillPositions(M, X, Y, 2, 3);
    TMat4D Before;
    Before.Assign(&M);
    std::vector<int32_t> Percents;
    RecordPercents(M, Percents);
    ASSERT_TRUE(M.Transpose());
    EXPECT_EQ((std::tuple{M.NrOfColumns(), M.NrOfRows()}), (std::tuple{Y, X}));
    for (auto [x, y, z, t] : {std::array{1, 1, 1, 1}, {Y, X, 2, 3}, {33, 5, 1, 2}})
      EXPECT_EQ(M.GetVal(x, y, z, t), Position(y, x, z, t));
    // 2 X Y steps reported at the multiples of (2 X Y) div 100.
    const int32_t Total = 2 * X * Y, Step = Total / 100;
    EXPECT_EQ(Percents.size(), static_cast<size_t>(Total / Step));
    EXPECT_EQ(Percents.back(),
              static_cast<int32_t>(std::nearbyint(Total / Step * Step * 100.0 / Total)));
    for (int Phase : {1, 2}) {  // an abort in either phase leaves the array as it was
      int Calls = 0;
      M.OnPercentDone = [&](TObject*, int32_t) {
        if (++Calls == (Phase == 1 ? 1 : 60)) AbortMathProc = true;
      };
      EXPECT_FALSE(M.Transpose());
      AbortMathProc = false;
      EXPECT_EQ(M.NrOfColumns(), Y);
      EXPECT_EQ(M.GetVal(33, 5, 1, 2), Position(5, 33, 1, 2));
    }
    M.OnPercentDone = nullptr;
    ASSERT_TRUE(M.Transpose());
    EXPECT_EQ(M.CRCofData(), Before.CRCofData());
  }
}

TEST(Mat4D, CopiesCheckTheirIndicesInOrder) {
  TMat4D M;
  FillPositions(M, 3, 4, 6, 2);
  const std::vector<double> Five = {1, 2, 3, 4, 5};
  M.Copy1DArrayToPixel(Five, 2, 3, 3, 2);
  for (int32_t z = 3; z <= 6; ++z) EXPECT_EQ(M.GetVal(2, 3, z, 2), z - 2);
  EXPECT_EQ(M.GetVal(2, 3, 2, 2), Position(2, 3, 2, 2));
  const auto Throws = [&](auto Call, const char* What) {
    test::ExpectThrowMessage<EZEQMatrixError>(
        Call, std::string("Component \"\": specified ") + What + " beyond data range");
  };
  TMatrix Layer;
  Throws([&] { M.CopyLayerToMatrix(&Layer, 0, 0, 0, 0, 0, 9); }, "layer");
  Throws([&] { M.CopyLayerToMatrix(&Layer, 0, 0, 0, 0, 1, 9); }, "time slot");
  Throws([&] { M.Copy1DArrayToPixel(Five, 4, 9, 9, 9); }, "column");
  Throws([&] { M.Copy1DArrayToPixel(Five, 3, 9, 9, 9); }, "row");
  M.CopyLayerToMatrix(&Layer, 2, 3, 0, 0, 4, 1);
  EXPECT_EQ(Layer.NrOfColumns(), 2);
  EXPECT_EQ(Layer.GetVal(2, 4), Position(3, 4, 4, 1));
  M.CopyMatrixToLayer(&Layer, 0, 0, 0, 0, 1, 2, 3, 1);  // the whole matrix from column 3 on
  EXPECT_EQ(M.GetVal(3, 4, 1, 2), Position(2, 4, 4, 1));
  TMat4D Corner;  // placed at (1, 1): the first column and row of the layer are written too
  Corner.Resize(2, 4, 1, 1);
  Corner.CopyMatrixToLayer(&Layer, 0, 0, 0, 0, 1, 1, 1, 1);
  EXPECT_EQ(std::pair(Corner.GetVal(1, 1, 1, 1), Corner.GetVal(2, 4, 1, 1)),
            std::pair(Position(2, 1, 4, 1), Position(3, 4, 4, 1)));
  TMat3D Slot;
  M.CopyTimeSlotToMat3D(&Slot, 0, 0, 2, 3, 5, 6, 1);
  EXPECT_EQ(Slot.NrOfLayers(), 2);
  EXPECT_EQ(Slot.GetVal(3, 2, 2), Position(3, 3, 6, 1));
  TMat4D Target;
  Target.Resize(3, 4, 6, 2);
  Target.CopyMat3DToTimeSlot(&Slot, 0, 0, 0, 0, 0, 0, 2, 1, 1, 5);
  EXPECT_EQ(Target.GetVal(3, 2, 6, 2), Position(3, 3, 6, 1));
  test::TChangeCounter Changes(Target);
  Target.CopyFrom(&M, 2, 3, 0, 0, 1, 1, 2, 2, 1, 1, 1, 1);
  EXPECT_EQ(Changes.Count, 1);
  EXPECT_EQ(Target.GetVal(1, 1, 1, 1), Position(2, 1, 1, 2));
  EXPECT_EQ(Target.GetVal(2, 1, 1, 1), Position(2, 1, 4, 1));    // written by CopyMatrixToLayer
  Target.CopyFrom(&Target, 0, 0, 0, 0, 0, 0, 0, 0, 2, 1, 1, 1);  // overlapping self-copy
  EXPECT_EQ(Target.GetVal(3, 1, 1, 1), Position(2, 1, 4, 1));
}

TEST(Mat4D, PerPixelReductions) {
  TMat4D M;
  FillPositions(M, 2, 2, 3, 2);
  for (int32_t z = 1; z <= 3; ++z)
    for (int32_t t = 1; t <= 2; ++t) M.SetVal(2, 2, z, t, 0.1);  // one constant pixel
  TMatrix R;
  M.StdDevOfLayersToMatrix(&R, 0, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(R.GetVal(2, 2), 0.0);
  // Pixel (1, 1): 111 + 100 (z - 1) + 1000 (t - 1) over z = 1..3, t = 1..2.
  EXPECT_NEAR(R.GetVal(1, 1), std::sqrt(20000.0 / 3 + 250000), 1e-9);
  M.MeanOfLayersToMatrix(&R, 1, 1, 1, 1, 2, 3, 0, 0);
  EXPECT_EQ(R.NrOfColumns(), 1);
  EXPECT_EQ(R.GetVal(1, 1), (1211 + 1311 + 2211 + 2311) / 4.0);
  M.MaximumOfLayersToMatrix(&R, 0, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(R.GetVal(1, 2), Position(1, 2, 3, 2));
  M.MinimumOfLayersToMatrix(&R, 0, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(R.GetVal(2, 1), Position(2, 1, 1, 1));
}

TEST(Mat4D, BoxStatisticsMirrorsAndClones) {
  // The box x 3..7, t 2..3 (given in either order) of positions x + 10 y + 100 z + 1000 t:
  // 150 values from 2113 to 3357, sum 410250 and sum of squares 1160564050 (by Python).
  TMat4D M;
  FillPositions(M, 7, 5, 3, 4);
  EXPECT_EQ(M.Sum(3, 7, 0, 0, 0, 0, 2, 3), 410250);
  EXPECT_EQ(M.SquaredSum(7, 3, 0, 0, 0, 0, 3, 2), 1160564050);
  double Mean, Var, Min, Max;
  M.MeanVar(3, 7, 0, 0, 0, 0, 2, 3, Mean, Var);
  M.MinMax(3, 7, 0, 0, 0, 0, 2, 3, Min, Max);
  EXPECT_EQ(std::tuple(Mean, Min, Max), std::tuple(2735.0, 2113.0, 3357.0));
  EXPECT_NEAR(Var, 258592.61744966442, 1e-9);
  EXPECT_EQ(M.CountValues(3, 7, 0, 0, 0, 0, 2, 3, 2113, 2113), 1);
  int32_t x, y, z, t;
  M.Find(0, 0, 0, 0, 0, 0, 0, 0, 3357, x, y, z, t);
  EXPECT_EQ(std::tuple(x, y, z, t), std::tuple(7, 5, 3, 3));
  EXPECT_EQ(M.Percentile(100, 3, 7, 0, 0, 0, 0, 2, 3), 3357);
  EXPECT_EQ(M.Percentile(0, 3, 7, 0, 0, 0, 0, 2, 3, 10000), 2113);  // sample >= box: exact
  TMat4D C;
  C.Clone(&M);
  for (auto Mirror : {&TMat4D::MirrorColumns, &TMat4D::MirrorRows, &TMat4D::MirrorLayers,
                      &TMat4D::MirrorTimeSlots}) {
    (C.*Mirror)();
    EXPECT_NE(C.CRCofData(), M.CRCofData());
    (C.*Mirror)();
    EXPECT_EQ(C.CRCofData(), M.CRCofData());
  }
  C.MirrorTimeSlots();
  EXPECT_EQ(C.GetVal(2, 3, 1, 1), M.GetVal(2, 3, 1, 4));
  C.FillRandomUniform(2, 3);
  C.MinMax(0, 0, 0, 0, 0, 0, 0, 0, Min, Max);
  EXPECT_TRUE(Min >= 2 && Max < 3 && Min < Max);
}

}  // namespace
}  // namespace zeq
