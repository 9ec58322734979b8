// Process-wide progress and abort hooks shared by every long computation.
//
// The application sets ProcStat (usually to 0) and installs MathFeedBackProc before a
// computation; the library only adds to ProcStat and calls the routine. AbortMathProc may be
// set from another thread; computations only read it (a few documented ones clear it).
#pragma once

#include <atomic>

namespace zeq {

using TMathFeedBackProc = void (*)(double Progress);

// Progress routine called with the new value of ProcStat; null means no feedback.
extern TMathFeedBackProc MathFeedBackProc;
// Progress counter; the library never resets it.
extern double ProcStat;
// True asks the long computations to stop at their next test.
extern std::atomic<bool> AbortMathProc;

// One progress point: ProcStat += Step, then MathFeedBackProc(ProcStat) if one is installed.
void AdvanceProgress(double Step);

// True when an abort has been requested.
inline bool AbortRequested() { return AbortMathProc.load(std::memory_order_relaxed); }

}  // namespace zeq
