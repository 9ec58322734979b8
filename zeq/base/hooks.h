/// @file
/// Process-wide progress and abort hooks shared by every long computation.
///
/// The application sets ProcStat (usually to 0) and installs MathFeedBackProc before a
/// computation; the library only adds to ProcStat and calls the routine. AbortMathProc may be
/// set from another thread; computations only read it (a few documented ones clear it).
#pragma once

#include <atomic>

#include "zeq/base/export.h"

namespace zeq {

/// The progress routine's type: it receives the new value of ProcStat.
using TMathFeedBackProc = void (*)(double Progress);

/// Progress routine called with the new value of ProcStat; null means no feedback.
extern ZEQ_API TMathFeedBackProc MathFeedBackProc;
/// Progress counter; the library never resets it.
extern ZEQ_API double ProcStat;
/// True asks the long computations to stop at their next test.
extern ZEQ_API std::atomic<bool> AbortMathProc;

/// One progress point: ProcStat += Step, then MathFeedBackProc(ProcStat) if one is installed.
ZEQ_API void AdvanceProgress(double Step);

/// True when an abort has been requested.
inline bool AbortRequested() { return AbortMathProc.load(std::memory_order_relaxed); }

}  // namespace zeq
