// Clustering and nearest neighbours: AgglomClustering (Ward) of 1000, 3000 and 5000 objects of
// 8 variables beside the documented full scan of every merge (bench/agglom_reference.h,
// run at 1000 and 2000 objects only: it is O(n^3)); nearest-neighbour search and estimation
// over 10^6 objects. scipy's linkage on the same sizes: bench/peers/cluster_peers.py.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "bench_util.h"
#include "zeq/math2/math2.h"
#include "agglom_reference.h"

namespace {

void BM_AgglomClustering_Ward(benchmark::State& S) {
  const auto N = static_cast<int32_t>(S.range(0));
  zeq::TMatrix X;
  bench::Load(X, bench::RandomColumnMajor(N, 8), N, 8);
  zeq::TIntMatrix Dendrogram;
  zeq::TVector MergeDist, NodePos;
  for (auto _ : S)
    zeq::AgglomClustering(nullptr, &X, zeq::dmEuclidSqr, zeq::cmWard, 0, &Dendrogram, &MergeDist,
                          &NodePos, nullptr, nullptr);
}
BENCHMARK(BM_AgglomClustering_Ward)->Arg(1000)->Arg(3000)->Arg(5000)->Unit(benchmark::kMillisecond);

void BM_AgglomClustering_FullScanReference(benchmark::State& S) {
  const auto N = static_cast<int32_t>(S.range(0));
  zeq::TMatrix X, D;
  bench::Load(X, bench::RandomColumnMajor(N, 8), N, 8);
  D.Resize(N, N);
  X.CalcDistMat(zeq::dmEuclidSqr, &D);
  std::vector<double> Full;
  for (int32_t c = 1; c <= N; ++c)
    for (int32_t r = 1; r <= N; ++r) Full.push_back(D.GetVal(c, r));
  for (auto _ : S)
    benchmark::DoNotOptimize(
        zeq::test::ReferenceAgglomeration(Full, static_cast<size_t>(N), zeq::cmWard, 0));
}
BENCHMARK(BM_AgglomClustering_FullScanReference)
    ->Arg(1000)
    ->Arg(2000)
    ->Unit(benchmark::kMillisecond);

constexpr int32_t Million = 1000000;

const zeq::TMatrix& MillionObjects() {
  static zeq::TMatrix* X = [] {
    auto* M = new zeq::TMatrix;
    bench::Load(*M, bench::RandomColumnMajor(Million, 8), Million, 8);
    return M;
  }();
  return *X;
}

void BM_FindNearestNeighbors_1e6x8(benchmark::State& S) {
  zeq::TVector Query;
  Query.Resize(8);
  Query.Fill(0.1);
  zeq::TMatrix NN;
  NN.Resize(2, 10);
  MillionObjects();  // built outside the timing
  for (auto _ : S)
    zeq::FindNearestNeighbors(10, &MillionObjects(), 1, Million, &Query, &NN, nullptr);
  S.SetItemsProcessed(S.iterations() * Million);
}
void BM_EstimateByKNN_Gauss_1e6x8(benchmark::State& S) {
  zeq::TVector Query, Target;
  Query.Resize(8);
  Query.Fill(0.1);
  Target.Resize(Million);
  Target.Fill(1.5);
  double Estimate, MeanDist;
  for (auto _ : S)
    zeq::EstimateByKNN(&MillionObjects(), &Target, 10, zeq::kwmGauss, 1, &Query, Estimate,
                       MeanDist);
  S.SetItemsProcessed(S.iterations() * Million);
}
BENCHMARK(BM_FindNearestNeighbors_1e6x8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EstimateByKNN_Gauss_1e6x8)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
