// The hooks are constant-initialised (null, 0, false), so they hold their start states before
// any dynamic initialisation of any translation unit runs.
#include "zeq/base/hooks.h"

namespace zeq {

constinit TMathFeedBackProc MathFeedBackProc = nullptr;
constinit double ProcStat = 0.0;
constinit std::atomic<bool> AbortMathProc{false};

void AdvanceProgress(double Step) {
  ProcStat += Step;
  if (MathFeedBackProc != nullptr) MathFeedBackProc(ProcStat);
}

}  // namespace zeq
