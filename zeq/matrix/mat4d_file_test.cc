// TMat4D's binary file: the record layout byte for byte, round trips across record boundaries,
// appending and partial reads. Files whose headers lie: the mat4d_file fuzz target.

#include "zeq/matrix/matrix.h"
#include "zeq/testing/array_test_util.h"
#include "zeq/testing/test_util.h"

namespace zeq {
namespace {

using test::FillPositions;

// A file in the test's temporary directory, removed afterwards.
struct TTempFile {
  std::string Name;
  explicit TTempFile(const std::string& Tag) : Name(test::TempPath("mat4d_" + Tag)) {}
  ~TTempFile() { std::filesystem::remove(Name); }
  std::vector<uint8_t> Bytes() const {
    std::ifstream In(Name, std::ios::binary);
    return {std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
  }
};

double DoubleAt(const std::vector<uint8_t>& B, size_t Record, size_t Slot) {
  double V;
  std::memcpy(&V, &B[Record * 4096 + Slot * 8], 8);  // the test machine is little-endian
  return V;
}

int32_t IntAt(const std::vector<uint8_t>& B, size_t Offset) {
  int32_t V;
  std::memcpy(&V, &B[Offset], 4);
  return V;
}

const std::string SlotMessage = "Component \"\": specified time slot beyond data range";

TEST(Mat4DFile, RecordLayout) {
  TTempFile F("layout");
  TMat4D M;
  FillPositions(M, 2, 2, 1, 1);
  M.SetDataID("scan #12");
  M.SaveBinary(F.Name, 0, 0);
  std::vector<uint8_t> B = F.Bytes();
  ASSERT_EQ(B.size(), 8192u);
  EXPECT_EQ((std::tuple{IntAt(B, 0), IntAt(B, 12), B[16]}), (std::tuple{2, 1, 8}));
  EXPECT_EQ(std::string(&B[17], &B[25]), "scan #12");
  const double Expected[] = {1011 + 100, 1012 + 100, 1021 + 100, 1022 + 100};
  for (size_t k = 0; k < 4; ++k) EXPECT_EQ(DoubleAt(B, 1, k), Expected[k]);
  // 513 elements take three records; the third starts with element 512.
  FillPositions(M, 513, 1, 1, 1);
  M.SaveBinary(F.Name, 0, 0);
  B = F.Bytes();
  ASSERT_EQ(B.size(), 3 * 4096u);
  EXPECT_EQ(DoubleAt(B, 2, 0), 513 + 10 + 100 + 1000);
  for (size_t k = 1; k < 512; ++k) ASSERT_EQ(DoubleAt(B, 2, k), 0.0) << k;  // unused slots: 0
}

TEST(Mat4DFile, TimeSlotSelectionAndDataID) {
  TTempFile F("select");
  TMat4D M, L;
  FillPositions(M, 3, 2, 2, 3);
  M.SetDataID(std::string(300, 'a') + "é");
  M.SaveBinary(F.Name, 2, 99);
  int32_t X, Y, Z, T;
  std::string ID;
  EXPECT_TRUE(L.ReadBinaryHeader(F.Name, X, Y, Z, T, ID));
  EXPECT_EQ(std::tie(X, Y, Z, T), std::make_tuple(3, 2, 2, 2));
  EXPECT_EQ(ID, std::string(255, 'a'));
  L.LoadBinary(F.Name, 0, 0);
  EXPECT_EQ(L.NrOfTimeSlots(), 2);
  EXPECT_EQ(L.GetVal(3, 2, 2, 1), 3 + 20 + 200 + 2000);
  test::ExpectThrowMessage<EZEQMatrixError>([&] { M.SaveBinary(F.Name, 4, 4); }, SlotMessage);
  test::ExpectThrowMessage<EZEQMatrixError>([&] { L.LoadBinary(F.Name, 3, 3); }, SlotMessage);
  M.SetDataID("Müller \xE2\x82\xAC");  // Latin-1 survives, the euro sign does not
  M.SaveBinary(F.Name, 1, 1);
  L.ReadBinaryHeader(F.Name, X, Y, Z, T, ID);
  EXPECT_EQ(ID, "Müller ?");
}

TEST(Mat4DFile, RoundTripsAcrossRecordBoundaries) {
  TTempFile F("trip");
  for (auto [X, Y, Z, T] :
       {std::array{511, 1, 1, 1}, {512, 1, 1, 2}, {3, 19, 9, 1}, {1025, 1, 1, 1}, {7, 5, 3, 4}}) {
    TMat4D M, L;
    M.Resize(X, Y, Z, T);
    M.FillRandomGauss(0, 1);
    M.SaveBinary(F.Name, 0, 0);
    EXPECT_EQ(F.Bytes().size(), 4096u * (1 + (X * Y * Z * T + 511) / 512));
    L.LoadBinary(F.Name, 0, 0);
    EXPECT_EQ(L.CRCofData(), M.CRCofData()) << X << " " << Y << " " << Z << " " << T;
    // One layer read alone equals that layer of the full load.
    TDouble2DArray Layer;
    L.ReadLayer(F.Name, Z, T, Layer);
    ASSERT_EQ(Layer.size(), static_cast<size_t>(X));
    EXPECT_EQ(Layer[X - 1][Y - 1], M.GetVal(X, Y, Z, T));
    TMat4D Into;
    Into.Resize(X, Y, Z, T);
    Into.ReadLayer(F.Name, Z, T);
    EXPECT_EQ(Into.GetVal(1, Y, Z, T), M.GetVal(1, Y, Z, T));
    EXPECT_EQ(Into.GetVal(1, Y, 1, 1), Z * T > 1 ? 0.0 : M.GetVal(1, Y, 1, 1));
  }
}

TEST(Mat4DFile, AppendContinuesInTheLastRecord) {
  TTempFile F("append");
  TMat4D M, L;
  FillPositions(M, 10, 10, 3, 1);  // 300 elements: record 1 holds slots 0..299
  M.SaveBinary(F.Name, 0, 0);
  FillPositions(M, 10, 10, 3, 2);
  M.AppendToBinaryFile(F.Name, 2, 2);
  const std::vector<uint8_t> B = F.Bytes();
  EXPECT_EQ(IntAt(B, 12), 2);
  EXPECT_EQ(DoubleAt(B, 1, 299), 10 + 100 + 300 + 1000);
  EXPECT_EQ(DoubleAt(B, 1, 300), 1 + 10 + 100 + 2000);
  L.LoadBinary(F.Name, 0, 0);
  EXPECT_EQ(L.CRCofData(), M.CRCofData());
  std::vector<int32_t> Slots;
  L.OnReadElement = [&](TObject*, int32_t ix, int32_t iy, int32_t iz, int32_t it, double V) {
    Slots.push_back(it);
    EXPECT_EQ(V, test::Position(ix, iy, iz, 2));  // the element of its place in slot 2
  };
  L.ReadBinary(F.Name, 2, 2);
  EXPECT_EQ(Slots, std::vector<int32_t>(300, 1));
  test::ExpectThrowMessage<EZEQMatrixError>(
      [&] {
        TMat4D Other;
        Other.Resize(10, 10, 4, 1);
        Other.AppendToBinaryFile(F.Name, 0, 0);
      },
      "Component \"\": X,Y,Z of matrices do not match");
  test::ExpectThrowMessage<EZEQMatrixError>([&] { L.ReadLayer(F.Name, 4, 1); },
                                            "Component \"\": specified layer beyond data range");
  test::WriteFile(F.Name, "abc");  // shorter than a header; missing files
  int32_t X, Y, Z, T;
  std::string ID;
  EXPECT_THROW(L.ReadBinaryHeader(F.Name, X, Y, Z, T, ID), EInOutError);
  EXPECT_THROW(L.LoadBinary(F.Name + ".missing", 0, 0), EInOutError);
  EXPECT_THROW(M.AppendToBinaryFile(F.Name + ".missing", 0, 0), EInOutError);
}

}  // namespace
}  // namespace zeq
