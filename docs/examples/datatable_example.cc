// Examples of the data tables.
#include <cmath>

#include "examples.h"
#include "zeq/datatable/datatable.h"

namespace examples {

void DataTable() {
  //! [TDataTable]
  zeq::TDataTable Table;
  Table.Resize(2, 4);  // 2 columns, 4 rows
  Table.SetColName(1, "Height");
  Table.SetColName(2, "Colour");
  Table.SetMScaleType(2, zeq::stNominal);  // a category column

  const double Heights[] = {1.72, 1.65, 1.80, 1.58};
  const char* Colours[] = {"red", "blue", "red", "green"};
  for (int32_t r = 1; r <= 4; ++r) {
    Table.SetElem(1, r, Heights[r - 1]);
    Table.SetElemNominal(2, r, Colours[r - 1]);  // stored as slot numbers 1, 2, 1, 3
  }
  Table.SetIsEmpty(1, 4, true);  // a missing measurement

  double Mean, Variance;
  int32_t Used = Table.MeanVarOfNumCells(0, 0, 0, 0, Mean, Variance);  // 3 cells, mean 1.7233...
  int32_t Col = Table.FindColIndex(" colour ");                        // 2: trimmed, any case
  zeq::TNominalIDStr Third = Table.GetElemNominal(2, 3);               // "red"
  //! [TDataTable]
  Expect(Used == 3 && std::fabs(Mean - (1.72 + 1.65 + 1.80) / 3) < 1e-15, "table statistics");
  Expect(Col == 2 && Third == "red" && Table.GetElem(2, 4) == 3, "names and categories");
}

}  // namespace examples
