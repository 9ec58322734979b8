// Array algorithms against their standard-library baselines on the same data.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

#include "zeq/math1/math1.h"

namespace {

std::vector<double> RandomData(size_t N) {
  std::mt19937_64 Gen(12345);
  std::uniform_real_distribution<double> U(-1e6, 1e6);
  std::vector<double> D(N);
  for (double& X : D) X = U(Gen);
  return D;
}

void BM_SortArray_Zeq(benchmark::State& State) {
  const auto Data = RandomData(static_cast<size_t>(State.range(0)));
  for (auto _ : State) {
    State.PauseTiming();
    std::vector<double> Work = Data;
    State.ResumeTiming();
    zeq::SortArray(Work, true);
    benchmark::DoNotOptimize(Work.data());
  }
  State.SetItemsProcessed(State.iterations() * State.range(0));
}

void BM_SortArray_StdSort(benchmark::State& State) {
  const auto Data = RandomData(static_cast<size_t>(State.range(0)));
  for (auto _ : State) {
    State.PauseTiming();
    std::vector<double> Work = Data;
    State.ResumeTiming();
    std::sort(Work.begin(), Work.end());
    benchmark::DoNotOptimize(Work.data());
  }
  State.SetItemsProcessed(State.iterations() * State.range(0));
}

void BM_QuickSelectMedian_Zeq(benchmark::State& State) {
  const auto Data = RandomData(static_cast<size_t>(State.range(0)));
  const auto High = static_cast<int32_t>(Data.size()) - 1;
  for (auto _ : State) {
    State.PauseTiming();
    std::vector<double> Work = Data;
    State.ResumeTiming();
    benchmark::DoNotOptimize(zeq::QuickSelect(Work, High / 2, 0, High));
  }
  State.SetItemsProcessed(State.iterations() * State.range(0));
}

void BM_QuickSelectMedian_StdNthElement(benchmark::State& State) {
  const auto Data = RandomData(static_cast<size_t>(State.range(0)));
  for (auto _ : State) {
    State.PauseTiming();
    std::vector<double> Work = Data;
    State.ResumeTiming();
    auto Mid = Work.begin() + static_cast<std::ptrdiff_t>((Work.size() - 1) / 2);
    std::nth_element(Work.begin(), Mid, Work.end());
    benchmark::DoNotOptimize(*Mid);
  }
  State.SetItemsProcessed(State.iterations() * State.range(0));
}

void BM_KahanSumAdd_Zeq(benchmark::State& State) {
  const auto Data = RandomData(static_cast<size_t>(State.range(0)));
  for (auto _ : State) {
    zeq::TKahanSum K;
    for (double X : Data) K.Add(X);
    benchmark::DoNotOptimize(K.Sum);
  }
  State.SetItemsProcessed(State.iterations() * State.range(0));
}

void BM_KahanSumAdd_PlainLoop(benchmark::State& State) {
  const auto Data = RandomData(static_cast<size_t>(State.range(0)));
  for (auto _ : State) {
    double Sum = 0.0;
    for (double X : Data) Sum += X;
    benchmark::DoNotOptimize(Sum);
  }
  State.SetItemsProcessed(State.iterations() * State.range(0));
}

}  // namespace

BENCHMARK(BM_SortArray_Zeq)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortArray_StdSort)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuickSelectMedian_Zeq)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuickSelectMedian_StdNthElement)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KahanSumAdd_Zeq)->Arg(10'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KahanSumAdd_PlainLoop)->Arg(10'000'000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
