/// @file
/// How many threads the library may use. By default it starts none: every computation runs on
/// the caller's thread. An application that wants more calls SetMaxThreads; then the largest
/// computations (matrix products) split their independent parts over a small pool, with
/// results identical to the single-thread ones bit for bit, while progress, abort and
/// exceptions stay on the calling thread.
#pragma once

#include <cstdint>

#include "zeq/base/export.h"

namespace zeq {

/// At most N threads, the caller's included: 1 (the default) runs everything on the caller's
/// thread and stops and joins the pool; 0 takes every hardware thread; values below 0 count
/// as 1. Call it between computations, not during one.
ZEQ_API void SetMaxThreads(int32_t N);

/// The number of threads a computation may use (1 or more).
ZEQ_API int32_t MaxThreads();

}  // namespace zeq
