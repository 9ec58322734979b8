// Every allocation of the operations that promise to leave their object unchanged on failure
// is failed in turn: after each failure the object must be as before, and the documented
// message must be raised (or, for loads, the documented false returned).
#include <exception>

#include "zeq/datatable/datatable.h"
#include "zeq/math2/curvefit.h"
#include "zeq/matrix/mat3d.h"
#include "zeq/matrix/mat4d.h"
#include "zeq/matrix/matrix.h"
#include "zeq/testing/alloc_failure.h"
#include "zeq/testing/test_util.h"
#include "zeq/vector/vector.h"

namespace zeq {
namespace {

using test::Cat;
using test::ForEachAllocationFailure;
using test::TFailingAllocation;

// The observable state of each kind of object: sizes and a checksum of the contents.
std::string State(const TVector& V) { return Cat(V.NrOfElem(), " ", V.CRCofData()); }
std::string State(const TIntVector& V) { return Cat(V.NrOfElem(), " ", V.CRCofData()); }
std::string State(const TMatrix& M) {
  return Cat(M.NrOfColumns(), "x", M.NrOfRows(), " ", M.CRCofData());
}
std::string State(const TIntMatrix& M) {
  std::string S = Cat(M.IsSparse(), " ", M.NrOfColumns(), "x", M.NrOfRows(), " ", M.SparseNumElem(),
                      " ", M.CRCofData());
  for (int32_t i = 1; i <= M.SparseNumElem(); ++i)
    S += Cat(" ", M.SparseEntry(i).colidx, ",", M.SparseEntry(i).rowidx);
  return S;
}
std::string State(const TMat3D& M) {
  return Cat(M.NrOfColumns(), "x", M.NrOfRows(), "x", M.NrOfLayers(), " ", M.CRCofData());
}
std::string State(const TMat4D& M) {
  return Cat(M.NrOfColumns(), "x", M.NrOfRows(), "x", M.NrOfLayers(), "x", M.NrOfTimeSlots(), " ",
             M.CRCofData());
}
std::string State(const TDataTable& T) {
  return Cat(T.NrOfColumns(), "x", T.NrOfRows(), " ", T.GetColName(1), " ", T.GetRowName(1));
}
std::string State(const TCurveFit& F) {
  std::string S = Cat(F.NumData());
  for (int32_t i = 1; i <= F.NumData(); ++i) S += Cat(" ", F.DataX(i), ",", F.DataY(i));
  return S;
}

// Runs Op on a fresh object from Make once for every allocation it makes, that allocation
// failing, and expects at least one. After a failure the object must be unchanged and the
// outcome the documented one: the exception Message, or (Message empty) a false result; a file
// load (FileLoad) may also report the failure as a false result, as for a file it cannot read.
template <class TObj>
void ExpectUnchangedOnFailure(const char* Label, const std::function<std::unique_ptr<TObj>()>& Make,
                              const std::function<bool(TObj&)>& Op, const std::string& Message,
                              bool FileLoad = false) {
  SCOPED_TRACE(Label);
  EXPECT_GT(ForEachAllocationFailure([&](int64_t N) {
              const auto X = Make();
              const std::string Before = State(*X);
              bool Result = false, Fired = false;
              std::string What;
              {
                TFailingAllocation Fail(N);
                try {
                  Result = Op(*X);
                } catch (const std::exception& E) {
                  What = E.what();
                }
                Fired = Fail.Fired();
              }
              if (!Fired) {
                EXPECT_EQ(What, "") << "no allocation failed";
                return false;
              }
              EXPECT_EQ(State(*X), Before) << "allocation " << N;
              if (Message.empty() || (FileLoad && What.empty()))
                EXPECT_TRUE(!Result && What.empty()) << "allocation " << N << ": " << What;
              else
                EXPECT_EQ(What, Message) << "allocation " << N;
              return true;
            }),
            0);
}

// A new object named "X" of the given size, each element set to its position's code.
template <class TObj, class... S>
std::unique_ptr<TObj> Sized(S... Sizes) {
  auto X = std::make_unique<TObj>();
  X->SetName("X");
  X->Resize(Sizes...);
  return X;
}

std::unique_ptr<TVector> Ramp(int32_t N) {
  auto V = Sized<TVector>(N);
  for (int32_t i = 1; i <= N; ++i) V->SetVal(i, i * 0.5);
  return V;
}

std::unique_ptr<TMatrix> Square(int32_t N, int32_t Rows = 0) {
  auto M = Sized<TMatrix>(N, N);
  for (int32_t c = 1; c <= N; ++c)
    for (int32_t r = 1; r <= N; ++r) M->SetVal(c, r, c == r ? 4.0 : 1.0 / (c + r));
  if (Rows > 0) M->Resize(N, Rows);
  return M;
}

std::string TempFile(const std::string& Tag) { return test::TempPath("alloc_" + Tag + ".dat"); }

const std::string Memory = "Component \"X\": not enough memory",
                  Heap = "Component \"X\": not enough memory on heap";

TEST(AllocationFailure, VectorsKeepSizeAndContents) {
  ExpectUnchangedOnFailure<TVector>(
      "TVector.Resize", [] { return Ramp(10); }, [](TVector& V) { return V.Resize(5000); }, Memory);
  const auto Threes = [] {
    auto V = Sized<TIntVector>(7);
    V->Fill(3);
    return V;
  };
  ExpectUnchangedOnFailure<TIntVector>(
      "TIntVector.Resize", Threes, [](TIntVector& V) { return V.Resize(3000); }, Memory);
}

TEST(AllocationFailure, VectorLoadsFailWithoutChange) {
  TMemoryStream* Stream = nullptr;
  Ramp(300)->SaveToStream(Stream, 1, 300);
  const std::unique_ptr<TMemoryStream> Owned(Stream);
  ExpectUnchangedOnFailure<TVector>(
      "TVector.LoadFromStream", [] { return Ramp(5); },
      [&](TVector& V) { return Stream->Seek(0, soBeginning), V.LoadFromStream(Stream, true); }, "");
  const std::string File = TempFile("vector");
  ASSERT_TRUE(Ramp(200)->StoreOnFile(1, 200, 6, File));
  ExpectUnchangedOnFailure<TVector>(
      "TVector.LoadFromFile", [] { return Ramp(5); },
      [&](TVector& V) { return V.LoadFromFile(File, true); }, "");
  std::remove(File.c_str());
}

TEST(AllocationFailure, MatricesKeepShapeAndContents) {
  ExpectUnchangedOnFailure<TMatrix>(
      "TMatrix.Resize", [] { return Square(5); }, [](TMatrix& M) { return M.Resize(40, 30); },
      Heap);
  ExpectUnchangedOnFailure<TMatrix>(
      "TMatrix.Invert", [] { return Square(6); }, [](TMatrix& M) { return M.Invert(); }, Heap);
  ExpectUnchangedOnFailure<TMatrix>(
      "TMatrix.Transpose", [] { return Square(4, 7); }, [](TMatrix& M) { return M.Transpose(); },
      Heap);
  const auto Cube = [] {
    auto M = Sized<TMat3D>(3, 2, 2);
    M->SetVal(2, 2, 2, 5);
    return M;
  };
  ExpectUnchangedOnFailure<TMat3D>(
      "TMat3D.Resize", Cube, [](TMat3D& M) { return M.Resize(20, 20, 5); }, Heap);
  const auto Hyper = [] {
    auto M = Sized<TMat4D>(3, 2, 2, 2);
    M->SetVal(3, 2, 1, 2, 5);
    return M;
  };
  ExpectUnchangedOnFailure<TMat4D>(
      "TMat4D.Resize", Hyper, [](TMat4D& M) { return M.Resize(9, 9, 3, 4); }, Heap);
}

TEST(AllocationFailure, IntegerMatricesInBothForms) {
  const auto Dense = [] {
    auto M = Sized<TIntMatrix>(4, 3);
    for (int32_t c = 1; c <= 4; ++c) M->SetVal(c, 1 + c % 3, c);
    return M;
  };
  ExpectUnchangedOnFailure<TIntMatrix>(
      "TIntMatrix.Resize", Dense, [](TIntMatrix& M) { return M.Resize(30, 30); }, Heap);
  ExpectUnchangedOnFailure<TIntMatrix>(
      "TIntMatrix.Transpose", Dense, [](TIntMatrix& M) { return M.Transpose(); }, Heap);
  ExpectUnchangedOnFailure<TIntMatrix>(
      "TIntMatrix.ArrayToSparse", Dense, [](TIntMatrix& M) { return M.ArrayToSparse(1), true; },
      Heap);
  const auto Sparse = [] {
    std::unique_ptr<TIntMatrix> M(TIntMatrix::CreateSparse(nullptr, 1));
    M->SetName("X");
    M->SetVal(3, 3, 1);
    M->SetVal(1, 5, 2);
    return M;
  };
  // Capacity 2 is full: the entries grow.
  ExpectUnchangedOnFailure<TIntMatrix>(
      "sparse TIntMatrix.SetVal", Sparse, [](TIntMatrix& M) { return M.SetVal(2, 2, 7), true; },
      Heap);
  ExpectUnchangedOnFailure<TIntMatrix>(
      "TIntMatrix.SparseToArray", Sparse, [](TIntMatrix& M) { return M.SparseToArray(), true; },
      Heap);
}

TEST(AllocationFailure, TablesAndCurveFitsKeepTheirData) {
  ExpectUnchangedOnFailure<TDataTable>(
      "TDataTable.Resize", [] { return Sized<TDataTable>(3, 4); },
      [](TDataTable& T) { return T.Resize(12, 9), true; }, Heap);
  const std::string File = TempFile("asc");
  {
    TCurveFit Source;
    for (int i = 1; i <= 50; ++i) Source.EnterStatValue(i, i * 2.0);
    ASSERT_EQ(Source.ExportAsASC(File, "points", 4), "");
  }
  const auto TwoPoints = [] {
    auto F = std::make_unique<TCurveFit>();
    F->SetName("X");
    F->EnterStatValue(1, 1);
    F->EnterStatValue(2, 3);
    return F;
  };
  ExpectUnchangedOnFailure<TCurveFit>(
      "TCurveFit.ImportASC", TwoPoints, [&](TCurveFit& F) { return F.ImportASC(File) == 0; }, Heap,
      true);
  std::remove(File.c_str());
}

}  // namespace
}  // namespace zeq
