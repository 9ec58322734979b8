// TMatrix sorting, percentiles and distance matrices, and the sparse TIntMatrix, with their
// baselines in the same run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <numeric>
#include <random>
#include <vector>

#include "zeq/matrix/matrix.h"

namespace {

void BM_SortRows_Zeq_100kx8(benchmark::State& State) {
  zeq::TMatrix M;
  M.Resize(8, 100'000);
  for (auto _ : State) {
    State.PauseTiming();
    zeq::SetRandSeed(1);
    M.FillRandomUniform(0, 1);
    State.ResumeTiming();
    M.SortRows(1, true, 0, 0, 0, 0);
  }
  State.SetItemsProcessed(State.iterations() * 100'000);
}

void BM_SortRows_StdSortOfRowIndices_100kx8(benchmark::State& State) {
  std::vector<double> Keys(100'000);
  std::vector<int> Order(Keys.size());
  for (auto _ : State) {
    State.PauseTiming();
    zeq::SetRandSeed(1);
    for (double& K : Keys) K = zeq::Random();
    std::iota(Order.begin(), Order.end(), 0);
    State.ResumeTiming();
    std::sort(Order.begin(), Order.end(), [&](int A, int B) { return Keys[A] < Keys[B]; });
    benchmark::DoNotOptimize(Order.data());
  }
  State.SetItemsProcessed(State.iterations() * 100'000);
}

void BM_Percentile_Zeq_10M(benchmark::State& State) {
  zeq::TMatrix M;
  M.Resize(1000, 10'000);
  zeq::SetRandSeed(2);
  M.FillRandomUniform(0, 1);
  for (auto _ : State) benchmark::DoNotOptimize(M.Percentile(50, 0, 0, 0, 0));
  State.SetItemsProcessed(State.iterations() * 10'000'000);
}

void BM_Percentile_SortedCopy_10M(benchmark::State& State) {
  std::vector<double> D(10'000'000);
  zeq::SetRandSeed(2);
  for (double& X : D) X = zeq::Random();
  for (auto _ : State) {
    auto Copy = D;
    std::sort(Copy.begin(), Copy.end());
    benchmark::DoNotOptimize(Copy[Copy.size() / 2]);
  }
  State.SetItemsProcessed(State.iterations() * 10'000'000);
}

void BM_CalcDistMat_Euclid_2000x16(benchmark::State& State) {
  zeq::TMatrix M, D;
  M.Resize(16, 2000);
  M.FillRandomGauss(0, 1);
  D.Resize(2000, 2000);
  for (auto _ : State) benchmark::DoNotOptimize(M.CalcDistMat(zeq::dmEuclid, &D));
  State.SetItemsProcessed(State.iterations() * 2000 * 1999 / 2);
}

std::vector<std::pair<int32_t, int32_t>> Positions(bool Sorted, size_t N) {
  std::mt19937_64 Gen(3);
  std::uniform_int_distribution<int32_t> Ix(1, 100'000);
  std::vector<std::pair<int32_t, int32_t>> P(N);
  for (auto& X : P) X = {Ix(Gen), Ix(Gen)};
  if (Sorted) std::sort(P.begin(), P.end());
  return P;
}

void SparseInsert(benchmark::State& State, bool Sorted) {
  const auto N = static_cast<size_t>(State.range(0));
  const auto P = Positions(Sorted, N);
  for (auto _ : State) {
    std::unique_ptr<zeq::TIntMatrix> M(zeq::TIntMatrix::CreateSparse(nullptr, 1024));
    for (const auto& [C, R] : P) M->SetVal(C, R, 1);
    benchmark::DoNotOptimize(M->SparseNumElem());
  }
  State.SetItemsProcessed(State.iterations() * static_cast<int64_t>(N));
}

void BM_SparseSetVal_Random(benchmark::State& State) { SparseInsert(State, false); }
void BM_SparseSetVal_Sorted(benchmark::State& State) { SparseInsert(State, true); }

void BM_SparseGetVal(benchmark::State& State) {
  const auto N = static_cast<size_t>(State.range(0));
  const auto P = Positions(false, N);
  std::unique_ptr<zeq::TIntMatrix> M(zeq::TIntMatrix::CreateSparse(nullptr, 1024));
  for (const auto& [C, R] : P) M->SetVal(C, R, 1);
  for (auto _ : State) {
    int64_t Sum = 0;
    for (const auto& [C, R] : P) Sum += M->GetVal(C, R);
    benchmark::DoNotOptimize(Sum);
  }
  State.SetItemsProcessed(State.iterations() * static_cast<int64_t>(N));
}

}  // namespace

BENCHMARK(BM_SortRows_Zeq_100kx8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortRows_StdSortOfRowIndices_100kx8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Percentile_Zeq_10M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Percentile_SortedCopy_10M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CalcDistMat_Euclid_2000x16)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SparseSetVal_Random)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SparseSetVal_Sorted)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SparseGetVal)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
