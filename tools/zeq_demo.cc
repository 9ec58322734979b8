// zeq-demo: the library at work on built-in data, runnable without arguments.
//
// Each section shows one unit; the progress routine installed in MathFeedBackProc prints
// what the long steps report.
#include <cstdio>
#include <string>
#include <vector>

#include "zeq/zeq.h"

namespace {

// Monthly rainfall (mm) at a weather station over two years: the built-in sample.
const std::vector<double> Rainfall = {78.2, 61.5, 55.0, 48.9, 63.1, 72.4, 91.8, 88.0,
                                      70.3, 66.7, 84.5, 95.2, 81.0, 58.3, 49.7, 52.2,
                                      67.9, 70.1, 99.4, 85.6, 64.8, 71.3, 79.9, 102.6};

int ProgressCalls = 0;

void PrintProgress(double Progress) {
  ++ProgressCalls;
  std::printf("    progress: pass %.0f\n", Progress);
}

void Heading(const char* Title) { std::printf("\n== %s ==\n", Title); }

std::string Fixed(double X, int Decimals = 2) { return zeq::StrFixed(X, 1, Decimals); }

void SummariseSample() {
  Heading("Summary of the built-in sample (24 monthly rainfall totals, mm)");
  zeq::TKahanSum Total;
  for (double X : Rainfall) Total.Add(X);
  std::printf("  compensated sum      %s\n", Fixed(Total.Sum).c_str());

  double Min, Max;
  int32_t MinIx, MaxIx;
  const int32_t Last = static_cast<int32_t>(Rainfall.size()) - 1;
  zeq::MinMaxOfArray(Rainfall, 0, Last, Min, Max, MinIx, MaxIx);
  std::printf("  minimum              %s (month %d)\n", Fixed(Min).c_str(), MinIx + 1);
  std::printf("  maximum              %s (month %d)\n", Fixed(Max).c_str(), MaxIx + 1);

  double Mean, Variance;
  zeq::MeanVarOfArray(Rainfall, 0, Last, Mean, Variance);
  std::printf("  mean / variance      %s / %s\n", Fixed(Mean).c_str(), Fixed(Variance).c_str());

  std::vector<double> Work = Rainfall;
  const double Median = zeq::QuickSelect(Work, Last / 2, 0, Last);
  std::printf("  12th smallest value  %s\n", Fixed(Median).c_str());
}

void SortSample() {
  Heading("Sorting the sample, with progress reported per pass");
  zeq::ProcStat = 0;
  zeq::MathFeedBackProc = PrintProgress;
  std::vector<double> Sorted = Rainfall;
  zeq::SortArray(Sorted, true);
  zeq::MathFeedBackProc = nullptr;
  std::printf("  %d passes; ascending:\n  ", ProgressCalls);
  for (size_t i = 0; i < Sorted.size(); ++i)
    std::printf("%s%s", Fixed(Sorted[i], 1).c_str(), (i + 1) % 12 == 0 ? "\n  " : " ");

  std::vector<double> Wettest(3, -1.0);
  for (double X : Rainfall) zeq::SortIntoArray(Wettest, X, false, true);
  std::printf("three wettest months: %s, %s, %s\n", Fixed(Wettest[0], 1).c_str(),
              Fixed(Wettest[1], 1).c_str(), Fixed(Wettest[2], 1).c_str());
}

void CheckString() {
  Heading("Check string of the sample (CRC-32, eight registers)");
  std::printf("  %s\n", zeq::CheckStringOf(Rainfall).c_str());
}

}  // namespace

int main() {
  std::printf("zeq demo: the library's routines on built-in data\n");
  SummariseSample();
  SortSample();
  CheckString();
  return 0;
}
