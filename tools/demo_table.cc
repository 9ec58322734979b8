// zeq-demo section of the data table: a table with a nominal and two metric columns, one value
// missing, its per-column statistics and a view sorted by weight with the names moving along.
#include <cmath>
#include <string>

#include "demo_common.h"

namespace demo {

void DataTableTour() {
  Heading("A data table: fruit by kind, weight and sugar");
  struct TFruit {
    const char* Name;
    const char* Kind;
    double Weight, Sugar;  // g, %; NaN: not measured
  };
  const TFruit Fruit[] = {{"Anna", "apple", 182, 10.4}, {"Bosc", "pear", 209, 9.8},
                          {"Czar", "plum", 41, 11.2},   {"Elstar", "apple", 165, NAN},
                          {"Opal", "plum", 38, 12.5},   {"Rocha", "pear", 190, 10.1},
                          {"Gala", "apple", 151, 11.6}};
  zeq::TDataTable T;
  T.Resize(3, 7);
  T.SetColName(1, "kind");
  T.SetColName(2, "weight");
  T.SetColName(3, "sugar");
  T.SetMScaleType(1, zeq::stNominal);
  T.SetMScaleType(2, zeq::stRatio);
  for (int32_t r = 1; r <= 7; ++r) {
    const TFruit& F = Fruit[r - 1];
    T.SetRowName(r, F.Name);
    T.SetElemNominal(1, r, F.Kind);
    T.SetElem(2, r, F.Weight);
    if (std::isnan(F.Sugar))
      T.SetIsEmpty(3, r, true);
    else
      T.SetElem(3, r, F.Sugar);
  }
  for (int32_t c = 2; c <= 3; ++c) {
    double Mean, Var, Min, Max;
    const int32_t n = T.MeanVarOfNumCells(c, 0, c, 0, Mean, Var);
    T.MinMaxOfNumCells(c, 0, c, 0, Min, Max);
    std::printf("  %-7s %-8s n = %d, mean %s, sd %s, range %s .. %s\n", T.GetColName(c).c_str(),
                zeq::MScaleTypeNames[T.GetMScaleType(c)].c_str(), n, Fixed(Mean, 1).c_str(),
                Fixed(std::sqrt(Var), 1).c_str(), Fixed(Min, 1).c_str(), Fixed(Max, 1).c_str());
  }
  std::printf("  %-7s %-8s", T.GetColName(1).c_str(), "Nominal");
  for (int32_t Slot = 1; !T.GetNominalID(1, Slot).empty(); ++Slot) {
    int32_t n = 0;
    for (int32_t r = 1; r <= 7; ++r) n += T.GetElem(1, r) == Slot;
    std::printf(" %s: %d", T.GetNominalID(1, Slot).c_str(), n);
  }
  std::printf("\n  sorted by weight:\n");
  T.SortRows(2, false, 0, 0, 0, 0, true);
  for (int32_t r = 1; r <= 7; ++r)
    std::printf("    %-7s %-6s %4s g  %s\n", T.GetRowName(r).c_str(),
                T.GetElemNominal(1, r).c_str(), Fixed(T.GetElem(2, r), 0).c_str(),
                T.GetIsEmpty(3, r) ? "  -" : (Fixed(T.GetElem(3, r), 1) + " %").c_str());
}

}  // namespace demo
