// Sequences of row and column insertions, removals and sorts on a data table, checked against
// a model in which every row and column keeps its companions: names, attributes, values and
// cell states move together, inserted ones are blank, and a sort only reorders whole rows.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "zeq/datatable/datatable.h"

namespace {

struct TModel {
  std::vector<std::string> ColNames, RowNames;
  std::vector<int32_t> RowAttribs;
  std::vector<std::vector<std::pair<double, int>>> Cells;  // [col][row]: value and state
  explicit TModel(const zeq::TDataTable& T) {
    for (int32_t c = 1; c <= T.NrOfColumns(); ++c) {
      ColNames.push_back(T.GetColName(c));
      Cells.emplace_back();
      for (int32_t r = 1; r <= T.NrOfRows(); ++r)
        Cells.back().emplace_back(T.GetElem(c, r), T.GetCellState(c, r));
    }
    for (int32_t r = 1; r <= T.NrOfRows(); ++r) {
      RowNames.push_back(T.GetRowName(r));
      RowAttribs.push_back(T.GetRowAttrib(r));
    }
  }
  // Row r (0-based) is found, with the same companions, among the rows of Other.
  bool HasRowIn(size_t r, const TModel& Other) const {
    const auto At = std::find(Other.RowNames.begin(), Other.RowNames.end(), RowNames[r]);
    if (At == Other.RowNames.end()) return false;
    const auto o = static_cast<size_t>(At - Other.RowNames.begin());
    bool Same = RowAttribs[r] == Other.RowAttribs[o];
    for (size_t c = 0; c < Cells.size(); ++c) Same = Same && Cells[c][r] == Other.Cells[c][o];
    return Same;
  }
  bool operator==(const TModel&) const = default;
};

// Fresh names, attributes, values and states that identify each row and cell.
void Label(zeq::TDataTable& T, zeq::fuzz::TFuzzInput& In, int32_t& Serial) {
  for (int32_t c = 1; c <= T.NrOfColumns(); ++c) T.SetColName(c, "c" + std::to_string(++Serial));
  for (int32_t r = 1; r <= T.NrOfRows(); ++r) {
    T.SetRowName(r, "r" + std::to_string(++Serial));
    T.SetRowAttrib(r, Serial);
    for (int32_t c = 1; c <= T.NrOfColumns(); ++c) {
      T.SetElem(c, r, In.TakeInRange(0, 3));
      T.SetCellState(c, r, In.Take<uint8_t>());
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  zeq::fuzz::TFuzzInput In(Data, Size);
  zeq::TDataTable T;
  T.Resize(In.TakeInRange(1, 6), In.TakeInRange(1, 8));
  int32_t Serial = 0;
  for (int Step = 0; Step < 32 && !In.Empty(); ++Step) {
    Label(T, In, Serial);
    TModel M(T);
    const int32_t Rows = T.NrOfRows(), Cols = T.NrOfColumns();
    switch (In.TakeInRange(0, 4)) {
      case 0: {  // a new blank row at r (r = Rows + 1 appends)
        const int32_t r = In.TakeInRange(1, Rows + 1);
        T.InsertRow(r);
        M.RowNames.insert(M.RowNames.begin() + r - 1, "");
        M.RowAttribs.insert(M.RowAttribs.begin() + r - 1, 0);
        for (auto& Col : M.Cells) Col.insert(Col.begin() + r - 1, {0, 0});
        break;
      }
      case 1: {  // the last row stays
        const int32_t r = In.TakeInRange(1, Rows);
        T.RemoveRow(r);
        if (Rows == 1) break;
        M.RowNames.erase(M.RowNames.begin() + r - 1);
        M.RowAttribs.erase(M.RowAttribs.begin() + r - 1);
        for (auto& Col : M.Cells) Col.erase(Col.begin() + r - 1);
        break;
      }
      case 2: {
        const int32_t c = In.TakeInRange(1, Cols + 1);
        T.InsertColumn(c);
        M.ColNames.insert(M.ColNames.begin() + c - 1, "");
        M.Cells.insert(M.Cells.begin() + c - 1,
                       std::vector<std::pair<double, int>>(M.RowNames.size()));
        break;
      }
      case 3: {  // the last column stays
        const int32_t c = In.TakeInRange(1, Cols);
        T.RemoveColumn(c);
        if (Cols == 1) break;
        M.ColNames.erase(M.ColNames.begin() + c - 1);
        M.Cells.erase(M.Cells.begin() + c - 1);
        break;
      }
      default: {  // whole rows move, in order of the key
        const int32_t Key = In.TakeInRange(1, Cols);
        T.SortRows(Key, true, 0, 0, 0, 0, true);
        const TModel Sorted(T);
        for (size_t r = 0; r < M.RowNames.size(); ++r) ZEQ_FUZZ_CHECK(M.HasRowIn(r, Sorted));
        for (int32_t r = 2; r <= T.NrOfRows(); ++r)
          ZEQ_FUZZ_CHECK(T.GetElem(Key, r - 1) <= T.GetElem(Key, r));
        continue;
      }
    }
    ZEQ_FUZZ_CHECK(TModel(T) == M);
  }
  return 0;
}
