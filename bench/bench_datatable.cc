// Data tables: sorting a 10^5 x 10 table by one column with names, attributes and cell states
// moving along (the documented comb sort of the numeric matrix, every exchange followed by the
// table), beside std::sort of a row index by the same key (the cheapest way to get the order);
// range statistics over 10^6 cells; Serialize of a 1000 x 1000 table.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

#include "zeq/datatable/datatable.h"

namespace {

void Fill(zeq::TDataTable& T, int32_t Cols, int32_t Rows) {
  T.Resize(Cols, Rows);
  std::mt19937_64 Rng(5);
  std::uniform_real_distribution<double> U(0, 1);
  for (int32_t c = 1; c <= Cols; ++c)
    for (int32_t r = 1; r <= Rows; ++r) T.NumericData()->SetVal(c, r, U(Rng));
}

void BM_DataTable_SortRows(benchmark::State& S) {
  zeq::TDataTable T;
  for (auto _ : S) {
    S.PauseTiming();
    Fill(T, 10, 100000);
    S.ResumeTiming();
    T.SortRows(1, true, 0, 0, 0, 0, true);
  }
  S.SetItemsProcessed(S.iterations() * 100000);
}
BENCHMARK(BM_DataTable_SortRows)->Unit(benchmark::kMillisecond);

void BM_StdSortOfRowIndex(benchmark::State& S) {
  zeq::TDataTable T;
  Fill(T, 10, 100000);
  std::vector<double> Key(100000);
  for (int32_t r = 1; r <= 100000; ++r) Key[static_cast<size_t>(r - 1)] = T.GetElem(1, r);
  std::vector<int32_t> Index(100000);
  for (auto _ : S) {
    std::iota(Index.begin(), Index.end(), 0);
    std::sort(Index.begin(), Index.end(), [&](int32_t a, int32_t b) {
      return Key[static_cast<size_t>(a)] < Key[static_cast<size_t>(b)];
    });
    benchmark::DoNotOptimize(Index.data());
  }
  S.SetItemsProcessed(S.iterations() * 100000);
}
BENCHMARK(BM_StdSortOfRowIndex)->Unit(benchmark::kMillisecond);

void BM_DataTable_RangeStatistics(benchmark::State& S) {
  zeq::TDataTable T;
  Fill(T, 100, 10000);
  for (int32_t r = 1; r <= 10000; r += 7) T.SetCellState(3, r, zeq::csEmpty);
  double Mean, Var, Min, Max;
  for (auto _ : S) {
    benchmark::DoNotOptimize(T.MeanVarOfNumCells(0, 0, 0, 0, Mean, Var));
    benchmark::DoNotOptimize(T.MinMaxOfNumCells(0, 0, 0, 0, Min, Max));
  }
  S.SetItemsProcessed(S.iterations() * 2000000);
}
BENCHMARK(BM_DataTable_RangeStatistics)->Unit(benchmark::kMillisecond);

void BM_DataTable_Serialize(benchmark::State& S) {
  zeq::TDataTable T;
  for (auto _ : S) {
    S.PauseTiming();
    Fill(T, 1000, 1000);
    S.ResumeTiming();
    T.Serialize(true, true);
  }
  S.SetItemsProcessed(S.iterations() * 1000000);
}
BENCHMARK(BM_DataTable_Serialize)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
