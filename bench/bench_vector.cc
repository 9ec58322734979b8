// TVector statistics, sorting and file formats against plain-loop, standard-library and
// (when installed) GSL baselines on the same data.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <vector>

#include "zeq/vector/vector.h"

#ifdef ZEQ_HAVE_GSL
#include <gsl/gsl_statistics_double.h>
#endif

namespace {

std::vector<double> RandomData(size_t N) {
  std::mt19937_64 Gen(2026);
  std::normal_distribution<double> G(100.0, 15.0);
  std::vector<double> D(N);
  for (double& X : D) X = G(Gen);
  return D;
}

// A vector holding RandomData(N), built once per size.
zeq::TVector& SharedVector(size_t N) {
  static std::unique_ptr<zeq::TVector> V;
  if (!V || static_cast<size_t>(V->NrOfElem()) != N) {
    V = std::make_unique<zeq::TVector>();
    V->Resize(static_cast<int32_t>(N));
    const auto D = RandomData(N);
    for (size_t i = 0; i < N; ++i) V->SetVal(static_cast<int32_t>(i + 1), D[i]);
  }
  return *V;
}

constexpr int64_t StatsN = 10'000'000;

void BM_MeanVar_Zeq(benchmark::State& State) {
  auto& V = SharedVector(StatsN);
  for (auto _ : State) {
    double M, Var;
    V.MeanVar(0, 0, M, Var);
    benchmark::DoNotOptimize(M + Var);
  }
  State.SetItemsProcessed(State.iterations() * StatsN);
}

void BM_MeanVar_PlainDoubleLoop(benchmark::State& State) {
  const auto D = RandomData(StatsN);
  for (auto _ : State) {
    double S = 0, SS = 0;
    for (double X : D) {
      S += X;
      SS += X * X;
    }
    const double M = S / StatsN;
    benchmark::DoNotOptimize(M + (SS - S * S / StatsN) / (StatsN - 1));
  }
  State.SetItemsProcessed(State.iterations() * StatsN);
}

void BM_Sum_Zeq(benchmark::State& State) {
  auto& V = SharedVector(StatsN);
  for (auto _ : State) benchmark::DoNotOptimize(V.Sum(0, 0));
  State.SetItemsProcessed(State.iterations() * StatsN);
}

void BM_Sum_PlainDoubleLoop(benchmark::State& State) {
  const auto D = RandomData(StatsN);
  for (auto _ : State) {
    double S = 0;
    for (double X : D) S += X;
    benchmark::DoNotOptimize(S);
  }
  State.SetItemsProcessed(State.iterations() * StatsN);
}

void BM_SkewKurt_Zeq(benchmark::State& State) {
  auto& V = SharedVector(StatsN);
  for (auto _ : State) {
    double S, K;
    V.SkewKurt(0, 0, S, K);
    benchmark::DoNotOptimize(S + K);
  }
  State.SetItemsProcessed(State.iterations() * StatsN);
}

void BM_SkewKurt_PlainDoubleLoop(benchmark::State& State) {
  const auto D = RandomData(StatsN);
  for (auto _ : State) {
    double Sum = 0;
    for (double X : D) Sum += X;
    const double Mean = Sum / StatsN;
    double S2 = 0, S3 = 0, S4 = 0;
    for (double X : D) {
      const double Dev = X - Mean, D2 = Dev * Dev;
      S2 += D2;
      S3 += D2 * Dev;
      S4 += D2 * D2;
    }
    benchmark::DoNotOptimize(S2 + S3 + S4);
  }
  State.SetItemsProcessed(State.iterations() * StatsN);
}

#ifdef ZEQ_HAVE_GSL
void BM_MeanVar_GSL(benchmark::State& State) {
  const auto D = RandomData(StatsN);
  for (auto _ : State) {
    const double M = gsl_stats_mean(D.data(), 1, D.size());
    benchmark::DoNotOptimize(M + gsl_stats_variance_m(D.data(), 1, D.size(), M));
  }
  State.SetItemsProcessed(State.iterations() * StatsN);
}
BENCHMARK(BM_MeanVar_GSL)->Unit(benchmark::kMillisecond);
#endif

constexpr int32_t SortN = 1'000'000;

void SortVector(benchmark::State& State, bool WithHandler) {
  const auto D = RandomData(SortN);
  zeq::TVector V;
  V.Resize(SortN);
  int64_t Exchanges = 0;
  if (WithHandler)
    V.OnSortExchange = [&](zeq::TObject*, uint8_t, int32_t, int32_t, int32_t, int32_t) {
      ++Exchanges;
    };
  for (auto _ : State) {
    State.PauseTiming();
    for (int32_t i = 0; i < SortN; ++i) V.SetVal(i + 1, D[static_cast<size_t>(i)]);
    State.ResumeTiming();
    V.SortElems(true, 0, 0);
  }
  benchmark::DoNotOptimize(Exchanges);
  State.SetItemsProcessed(State.iterations() * SortN);
}

void BM_SortElems_Zeq(benchmark::State& State) { SortVector(State, false); }
void BM_SortElems_ZeqWithExchangeHandler(benchmark::State& State) { SortVector(State, true); }

void BM_SortElems_StdSort(benchmark::State& State) {
  const auto D = RandomData(SortN);
  for (auto _ : State) {
    State.PauseTiming();
    auto W = D;
    State.ResumeTiming();
    std::sort(W.begin(), W.end());
    benchmark::DoNotOptimize(W.data());
  }
  State.SetItemsProcessed(State.iterations() * SortN);
}

constexpr int32_t IoN = 1'000'000;

void BM_StreamRoundTrip_Zeq(benchmark::State& State) {
  auto& V = SharedVector(IoN);
  zeq::TVector W;
  for (auto _ : State) {
    zeq::TMemoryStream* S = nullptr;
    V.SaveToStream(S, 0, 0);
    std::unique_ptr<zeq::TMemoryStream> Owned(S);
    S->SetPosition(0);
    W.LoadFromStream(S, true);
  }
  State.SetBytesProcessed(State.iterations() * (20 + 10 * int64_t{IoN}));
}

void BM_TextFileWrite_Zeq(benchmark::State& State) {
  auto& V = SharedVector(IoN);
  const auto Path = (std::filesystem::temp_directory_path() / "zeq_bench_vector.txt").string();
  for (auto _ : State) V.StoreOnFile(0, IoN, -2, Path);
  State.SetBytesProcessed(State.iterations() *
                          static_cast<int64_t>(std::filesystem::file_size(Path)));
}

void BM_TextFileRead_Zeq(benchmark::State& State) {
  auto& V = SharedVector(IoN);
  const auto Path = (std::filesystem::temp_directory_path() / "zeq_bench_vector.txt").string();
  V.StoreOnFile(0, IoN, -2, Path);
  zeq::TVector W;
  for (auto _ : State) W.LoadFromFile(Path, true);
  State.SetBytesProcessed(State.iterations() *
                          static_cast<int64_t>(std::filesystem::file_size(Path)));
  std::remove(Path.c_str());
}

}  // namespace

BENCHMARK(BM_MeanVar_Zeq)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MeanVar_PlainDoubleLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sum_Zeq)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sum_PlainDoubleLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SkewKurt_Zeq)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SkewKurt_PlainDoubleLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortElems_Zeq)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortElems_ZeqWithExchangeHandler)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortElems_StdSort)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StreamRoundTrip_Zeq)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextFileWrite_Zeq)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextFileRead_Zeq)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
