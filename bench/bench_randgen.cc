// Random numbers from tabulated distributions and cross-validation: TRandGen draws per second
// for each built-in shape (rejection sampling, so the rate follows the table's mean height),
// beside std::piecewise_linear_distribution on the same table (inversion of the distribution
// function); TCrossValidator over 10^4 objects with a model that predicts the training mean,
// and with a model that does nothing (the validator's own share: drawing and the lists).
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "zeq/statis/statis.h"

namespace {

enum TShape { Uniform, Normal, StudentT, ChiSquare, FRatio, Weibull };

void Shape(zeq::TRandGen& G, TShape S) {
  G.SetResolution(500);
  G.SetLowBorder(S == Normal || S == StudentT ? -6 : 0);
  G.SetHighBorder(S == ChiSquare ? 20 : 6);
  switch (S) {
    case Uniform:
      G.UniformDistri();
      break;
    case Normal:
      G.NormalDistri(0, 1);
      break;
    case StudentT:
      G.tDistri(3);
      break;
    case ChiSquare:
      G.Chi2Distri(4);
      break;
    case FRatio:
      G.FDistri(5, 10);
      break;
    case Weibull:
      G.WeibullDistri(1.5, 2);
      break;
  }
  G.Standardize();
}

void BM_TRandGen(benchmark::State& S) {
  zeq::TRandGen G;
  Shape(G, static_cast<TShape>(S.range(0)));
  zeq::SetRandSeed(1);
  for (auto _ : S) benchmark::DoNotOptimize(G.GetRandNum());
  S.SetItemsProcessed(S.iterations());
}
BENCHMARK(BM_TRandGen)->ArgName("shape")->DenseRange(Uniform, Weibull);

// The same table as a piecewise-linear density for the standard library (the last bin falling
// to 0 as in TRandGen).
void BM_StdPiecewiseLinear(benchmark::State& S) {
  zeq::TRandGen G;
  Shape(G, static_cast<TShape>(S.range(0)));
  std::vector<double> Knots, Weights;
  for (int32_t i = 1; i <= G.Resolution() + 1; ++i) {
    Knots.push_back(G.GetLambda(i));
    Weights.push_back(G.GetProbability(i));
  }
  std::piecewise_linear_distribution<double> D(Knots.begin(), Knots.end(), Weights.begin());
  std::mt19937_64 Engine(1);
  for (auto _ : S) benchmark::DoNotOptimize(D(Engine));
  S.SetItemsProcessed(S.iterations());
}
BENCHMARK(BM_StdPiecewiseLinear)->ArgName("shape")->DenseRange(Uniform, Weibull);

void BM_TCrossValidator(benchmark::State& S) {
  const int32_t m = 10000, TestSize = static_cast<int32_t>(S.range(0));
  const bool ModelReadsRows = S.range(1) != 0;  // 0: the validator's own cost alone
  zeq::TMatrix X, Y;
  X.Resize(5, m);
  Y.Resize(1, m);
  zeq::SetRandSeed(2);
  for (int32_t r = 1; r <= m; ++r) {
    for (int32_t c = 1; c <= 5; ++c) X.SetVal(c, r, zeq::Random());
    Y.SetVal(1, r, zeq::Random(2));
  }
  zeq::TCrossValidator CV;
  CV.SetXMat(&X);
  CV.SetYMat(&Y);
  double Mean = 0;
  CV.OnModelCreateRequest = [&](zeq::TObject*, int32_t, const zeq::TIntArray& Rows, bool& Ok) {
    double Sum = 0;
    if (ModelReadsRows)
      for (int32_t r : Rows) Sum += Y.GetVal(1, r);
    Mean = Sum / static_cast<double>(Rows.size());
    Ok = true;
  };
  CV.OnModelApplyRequest = [&](zeq::TObject*, int32_t, const zeq::TDoubleArray&,
                               zeq::TDoubleArray& Response) { Response[0] = Mean; };
  for (auto _ : S) {
    CV.SetTestSize(TestSize);
    benchmark::DoNotOptimize(CV.Execute());
  }
  S.SetItemsProcessed(S.iterations() * m);
}
BENCHMARK(BM_TCrossValidator)
    ->ArgNames({"test_size", "model"})
    ->ArgsProduct({{1, 10, 100}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
