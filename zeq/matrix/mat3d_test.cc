// TMat3D: sizing, notifications, the layer copies in both directions and its statistics
// against those of TMatrix on the same values.
#include "zeq/matrix/matrix.h"
#include "zeq/testing/test_util.h"

namespace zeq {
namespace {

// Element (x, y, z) = x + 10 y + 100 z: every value tells its position.
void FillPositions(TMat3D& M, int32_t X, int32_t Y, int32_t Z) {
  M.Resize(X, Y, Z);
  for (int32_t x = 1; x <= X; ++x)
    for (int32_t y = 1; y <= Y; ++y)
      for (int32_t z = 1; z <= Z; ++z) M.SetVal(x, y, z, x + 10 * y + 100 * z);
}

TEST(Mat3D, SizingAndNotifications) {
  TMat3D M;
  test::TChangeCounter Changes(M);
  EXPECT_EQ(M.GetVal(2, 1, 1), 0.0);
  EXPECT_FALSE(M.Resize(3, 3, 0));
  EXPECT_EQ(M.NrOfLayers(), 1);
  FillPositions(M, 2, 3, 4);
  EXPECT_EQ(Changes.Count, 1);  // the resize; SetVal is silent
  EXPECT_TRUE(M.Resize(3, 2, 4));
  EXPECT_EQ(M.GetVal(2, 2, 3), 322);  // kept
  EXPECT_EQ(M.GetVal(3, 2, 3), 0.0);  // new
  M.SetNrOfLayers(-5);
  EXPECT_EQ(M.NrOfLayers(), 1);
  M.Fill(2.5);
  EXPECT_EQ(Changes.Count, 4);
  test::ExpectThrowMessage<EZEQMatrixError>([&] { M.Resize(1 << 30, 1 << 30, 1 << 30); },
                                            "Component \"\": not enough memory on heap");
  EXPECT_EQ((std::tuple{M.NrOfColumns(), M.GetVal(3, 2, 1)}), (std::tuple{3, 2.5}));
}

TEST(Mat3D, LayerCopies) {
  TMat3D M;
  FillPositions(M, 4, 5, 3);
  TMatrix Layer;
  M.CopyLayerToMatrix(&Layer, 0, 0, 0, 0, 2);
  ASSERT_EQ(Layer.NrOfColumns(), 4);
  ASSERT_EQ(Layer.NrOfRows(), 5);
  EXPECT_EQ(Layer.GetVal(3, 4), 243);
  test::ExpectThrowMessage<EZEQMatrixError>([&] { M.CopyLayerToMatrix(&Layer, 0, 0, 0, 0, 0); },
                                            "Component \"\": specified layer beyond data range");
  // Into the last column only the rectangle's first column fits.
  TMat3D Target;
  Target.Resize(4, 5, 3);
  Target.CopyMatrixToLayer(&Layer, 2, 3, 1, 5, 1, 4, 1);
  EXPECT_EQ((std::tuple{Target.GetVal(4, 1, 1), Target.GetVal(3, 1, 1)}), (std::tuple{212, 0}));
  // An unrepaired rectangle reads zeros outside the matrix and costs nothing beyond the layer.
  Target.CopyMatrixToLayer(&Layer, INT32_MIN, INT32_MAX, 0, 0, 3, 1, 1);
  EXPECT_EQ(Target.GetVal(1, 1, 3), 0);
  TMatrix Back;
  Back.Resize(2, 2);
  Back.CopyFrom(&M, 2, 2, 3, 3, 99, 1, 1);  // the layer is clamped to 3
  EXPECT_EQ((std::tuple{Back.GetVal(1, 1), Back.GetVal(2, 2)}), (std::tuple{322, 333}));
}

TEST(Mat3D, StatisticsMatchTheMatrixOfTheSameValues) {
  TMat3D M;
  TMatrix Same;
  M.Resize(6, 7, 1);
  Same.Resize(6, 7);
  SetRandSeed(3);
  M.FillRandomGauss(0, 1);
  for (int32_t x = 1; x <= 6; ++x)
    for (int32_t y = 1; y <= 7; ++y) Same.SetVal(x, y, M.GetVal(x, y, 1));
  for (double P : {0.0, 12.5, 50.0, 99.0, 100.0})
    EXPECT_EQ(M.Percentile(P, 2, 5, 0, 0, 1, 1), Same.Percentile(P, 2, 1, 5, 7)) << P;
  double Lo3, Hi3, Lo2, Hi2;
  M.MinMax(0, 0, 0, 0, 0, 0, Lo3, Hi3);
  Same.MinMax(1, 1, 6, 7, Lo2, Hi2);
  EXPECT_EQ((std::tuple{Lo3, Hi3}), (std::tuple{Lo2, Hi2}));
  int32_t c, r, l, c2, r2;
  M.Find(0, 0, 0, 0, 0, 0, 0.3, c, r, l);
  Same.Find(0, 0, 0, 0, 0.3, c2, r2);
  EXPECT_EQ(std::tie(c, r, l), std::tie(c2, r2, l));
  // A sample larger than the box is the box itself.
  EXPECT_EQ(M.Percentile(30, 0, 0, 0, 0, 0, 0, 1000), M.Percentile(30, 0, 0, 0, 0, 0, 0));
  TMat3D Copy;
  Copy.Clone(&M);
  EXPECT_EQ(Copy.CRCofData(), M.CRCofData());
  Copy.SetVal(6, 7, 1, 0.5);
  EXPECT_NE(Copy.CRCofData(), M.CRCofData());
}

}  // namespace
}  // namespace zeq
