// Progress in about a hundred steps: a running count of units of work that calls back each
// time it reaches a multiple of max(1, Total div 100), whether the units arrive one at a time
// or in batches.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "zeq/base/hooks.h"

namespace zeq::detail {

template <class F>
class TProgressSteps {
 public:
  // OnStep(c) is called with the running count c at each multiple of the step.
  TProgressSteps(int64_t Total, F OnStep)
      : FTotal(Total), FStep(std::max<int64_t>(1, Total / 100)), FOnStep(std::move(OnStep)) {}

  void Advance(int64_t Units = 1) {
    const int64_t Next = FCount + Units;
    for (int64_t c = (FCount / FStep + 1) * FStep; c <= Next; c += FStep) FOnStep(c);
    FCount = Next;
  }
  int64_t Total() const { return FTotal; }

 private:
  int64_t FTotal, FStep, FCount = 0;
  F FOnStep;
};

// Steps reported as round(c 100 / Total) percent to Report(Percent).
template <class R>
auto PercentSteps(int64_t Total, R Report) {
  auto OnStep = [Total, Report](int64_t c) {
    Report(static_cast<int32_t>(
        std::nearbyint(static_cast<double>(c) * 100 / static_cast<double>(Total))));
  };
  return TProgressSteps<decltype(OnStep)>(Total, OnStep);
}

// Steps reported through the global hooks: ProcStat + 1 and MathFeedBackProc.
inline auto HookSteps(int64_t Total) {
  auto OnStep = [](int64_t) { AdvanceProgress(1.0); };
  return TProgressSteps<decltype(OnStep)>(Total, OnStep);
}

}  // namespace zeq::detail
