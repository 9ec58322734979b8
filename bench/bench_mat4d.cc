// The 4-D array and the self-organizing map: SaveBinary / LoadBinary of a 256 x 256 x 16 x 8
// array (64 MiB) beside a plain sequential write and read of the same bytes in one call (the
// aim: within 2x), Resample and Transpose of that array, and one training pass of a 20 x 20
// map on 10^4 objects of 16 features.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "zeq/kohonen/kohonen.h"
#include "zeq/matrix/matrix.h"

namespace {

const std::string& FileName() {
  static const std::string Name =
      (std::filesystem::temp_directory_path() / "zeq_bench_mat4d.bin").string();
  return Name;
}

zeq::TMat4D& Array() {
  static zeq::TMat4D* M = [] {
    auto* A = new zeq::TMat4D;
    A->Resize(256, 256, 16, 8);
    zeq::SetRandSeed(1);
    A->FillRandomUniform(0, 1);
    return A;
  }();
  return *M;
}

constexpr int64_t Bytes = int64_t{256} * 256 * 16 * 8 * 8;

void BM_Mat4D_SaveBinary(benchmark::State& S) {
  for (auto _ : S) Array().SaveBinary(FileName(), 0, 0);
  S.SetBytesProcessed(S.iterations() * Bytes);
}
BENCHMARK(BM_Mat4D_SaveBinary)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Mat4D_LoadBinary(benchmark::State& S) {
  Array().SaveBinary(FileName(), 0, 0);
  zeq::TMat4D L;
  for (auto _ : S) L.LoadBinary(FileName(), 0, 0);
  S.SetBytesProcessed(S.iterations() * Bytes);
}
BENCHMARK(BM_Mat4D_LoadBinary)->Unit(benchmark::kMillisecond)->UseRealTime();

// The baseline: the same bytes written and read with one stdio call each.
void BM_PlainWrite(benchmark::State& S) {
  std::vector<double> Buffer(static_cast<size_t>(Bytes / 8), 0.5);
  for (auto _ : S) {
    std::FILE* F = std::fopen(FileName().c_str(), "wb");
    std::fwrite(Buffer.data(), 1, static_cast<size_t>(Bytes), F);
    std::fclose(F);
  }
  S.SetBytesProcessed(S.iterations() * Bytes);
}
BENCHMARK(BM_PlainWrite)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PlainRead(benchmark::State& S) {
  std::vector<double> Buffer(static_cast<size_t>(Bytes / 8));
  Array().SaveBinary(FileName(), 0, 0);
  for (auto _ : S) {
    std::FILE* F = std::fopen(FileName().c_str(), "rb");
    std::fseek(F, 4096, SEEK_SET);
    benchmark::DoNotOptimize(std::fread(Buffer.data(), 1, static_cast<size_t>(Bytes), F));
    std::fclose(F);
  }
  S.SetBytesProcessed(S.iterations() * Bytes);
}
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Mat4D_Transpose(benchmark::State& S) {
  for (auto _ : S) Array().Transpose();
  S.SetBytesProcessed(S.iterations() * Bytes);
}
BENCHMARK(BM_Mat4D_Transpose)->Unit(benchmark::kMillisecond);

void BM_Mat4D_Resample(benchmark::State& S) {
  zeq::TMat4D Work;
  for (auto _ : S) {
    S.PauseTiming();
    Work.Assign(&Array());
    S.ResumeTiming();
    Work.Resample(2, 0, 2, 0, 2, 0, 1, 0, S.range(0) != 0);
  }
  S.SetBytesProcessed(S.iterations() * Bytes);
}
BENCHMARK(BM_Mat4D_Resample)->ArgName("average")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Kohonen_Pass(benchmark::State& S) {
  zeq::TMatrix Data;
  Data.Resize(16, 10000);
  zeq::SetRandSeed(2);
  Data.FillRandomGauss(0, 1);
  zeq::TKohonen K;
  K.SetSizeX(20);
  K.SetSizeY(20);
  K.SetDataMat(&Data);
  K.SetNrOfTrnSteps(1000);
  for (auto _ : S) {
    S.PauseTiming();
    zeq::SetRandSeed(3);
    K.SetWeigtsToRandom();
    K.OnFeedback = [&K](zeq::TObject*, int32_t) { K.AbortTraining(); };
    S.ResumeTiming();
    K.Trainit();  // one pass: the feedback of pass 1 aborts
  }
  S.SetItemsProcessed(S.iterations() * 10000);
}
BENCHMARK(BM_Kohonen_Pass)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
