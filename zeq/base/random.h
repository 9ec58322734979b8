/// @file
/// The process-wide uniform generator.
///
/// One generator serves the whole process; it is safe to call from several threads (each
/// draw takes a distinct step of the sequence). A seed makes a single thread's draws
/// reproducible, which the tests rely on.
#pragma once

#include <cstdint>

#include "zeq/base/export.h"

namespace zeq {

/// A uniform value in [0, 1) with 53 random bits.
ZEQ_API double Random();
/// A uniform integer in 0..Range-1; 0 when Range <= 0.
ZEQ_API int32_t Random(int32_t Range);
/// Reseeds from the clock and the system's entropy source.
ZEQ_API void Randomize();
///@{
/// Sets the generator's state; the same seed gives the same sequence.
ZEQ_API void SetRandSeed(uint64_t Seed);
ZEQ_API uint64_t RandSeed();
///@}

}  // namespace zeq
