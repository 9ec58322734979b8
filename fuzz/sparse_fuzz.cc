// Sequences of operations on a sparse integer matrix, any 32-bit index included, checked
// against a map of the stored positions: order, lookups, sizes covering every entry, sums,
// bounded copies and the conversions to and from the dense form.
#include <map>
#include <memory>
#include <utility>

#include "fuzz/fuzz_input.h"
#include "zeq/matrix/matrix.h"

namespace {

using TModel = std::map<std::pair<int32_t, int32_t>, int32_t>;  // (column, row) -> value

int32_t AnyIndex(zeq::fuzz::TFuzzInput& In) {
  // Mostly small indices, sometimes any 32-bit value.
  return In.TakeBool() ? In.Take<int32_t>() : In.TakeInRange(-1, 12);
}

void CheckAgainst(const zeq::TIntMatrix& M, const TModel& Model) {
  ZEQ_FUZZ_CHECK(M.SparseNumElem() == static_cast<int32_t>(Model.size()));
  int32_t i = 0;
  for (const auto& [Pos, Value] : Model) {
    const zeq::TSpMatElemInt E = M.SparseEntry(++i);
    ZEQ_FUZZ_CHECK(E.colidx == Pos.first && E.rowidx == Pos.second && E.value == Value);
    ZEQ_FUZZ_CHECK(M.GetVal(Pos.first, Pos.second) == Value);
    ZEQ_FUZZ_CHECK(Pos.first <= M.NrOfColumns() && Pos.second <= M.NrOfRows());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  zeq::fuzz::TFuzzInput In(Data, Size);
  std::unique_ptr<zeq::TIntMatrix> M(zeq::TIntMatrix::CreateSparse(nullptr, In.TakeInRange(-2, 5)));
  TModel Model;
  for (int Step = 0; Step < 64 && !In.Empty(); ++Step) {
    const int32_t c = AnyIndex(In), r = AnyIndex(In);
    switch (In.Take<uint8_t>() % 8) {
      case 0: {
        const int32_t v = In.Take<int32_t>();
        M->SetVal(c, r, v);
        if (c >= 1 && r >= 1) Model[{c, r}] = v;
        break;
      }
      case 1:
        M->Resize(c, r);
        std::erase_if(Model, [&](const auto& E) {
          return E.first.first > std::max(c, 0) || E.first.second > std::max(r, 0);
        });
        break;
      case 2:
        ZEQ_FUZZ_CHECK(M->GetVal(c, r) == (Model.count({c, r}) ? Model[{c, r}] : 0));
        break;
      case 3: {
        M->Transpose();
        TModel T;
        for (const auto& [Pos, Value] : Model) T[{Pos.second, Pos.first}] = Value;
        Model = std::move(T);
        break;
      }
      case 4: {  // a bounded copy into a small dense matrix
        zeq::TIntMatrix D;
        D.Resize(3, 3);
        D.CopyFrom(M.get(), c, r, AnyIndex(In), AnyIndex(In), AnyIndex(In), AnyIndex(In));
        break;
      }
      case 5: {  // add into a dense matrix of the same size, when small enough
        if (int64_t{M->NrOfColumns()} * M->NrOfRows() > 4096 || M->NrOfColumns() < 1 ||
            M->NrOfRows() < 1)
          break;
        zeq::TIntMatrix D;
        D.Resize(M->NrOfColumns(), M->NrOfRows());
        D.Fill(0);
        ZEQ_FUZZ_CHECK(D.Add(M.get()));
        for (const auto& [Pos, Value] : Model)
          ZEQ_FUZZ_CHECK(D.GetVal(Pos.first, Pos.second) == Value);
        break;
      }
      case 6: {  // to the dense form and back, when small enough: the sizes survive
        if (int64_t{std::max(M->NrOfColumns(), 1)} * std::max(M->NrOfRows(), 1) > 4096) break;
        const int32_t Nc = M->NrOfColumns(), Nr = M->NrOfRows();
        M->SparseToArray();
        ZEQ_FUZZ_CHECK(M->NrOfColumns() == std::max(Nc, 1) && M->NrOfRows() == std::max(Nr, 1));
        M->ArrayToSparse(In.TakeInRange(1, 4));
        std::erase_if(Model, [](const auto& E) { return E.second == 0; });  // zeros not kept
        break;
      }
      default: {
        const int32_t v = In.Take<int32_t>();
        M->Fill(v);
        if (v == 0)
          Model.clear();
        else
          for (auto& E : Model) E.second = v;
      }
    }
    CheckAgainst(*M, Model);
  }
  return 0;
}
