// The process-wide uniform generator.
//
// One generator serves the whole process; it is safe to call from several threads (each
// draw takes a distinct step of the sequence). A seed makes a single thread's draws
// reproducible, which the tests rely on.
#pragma once

#include <cstdint>

namespace zeq {

// A uniform value in [0, 1) with 53 random bits.
double Random();
// A uniform integer in 0..Range-1; 0 when Range <= 0.
int32_t Random(int32_t Range);
// Reseeds from the clock and the system's entropy source.
void Randomize();
// Sets the generator's state; the same seed gives the same sequence.
void SetRandSeed(uint64_t Seed);
uint64_t RandSeed();

}  // namespace zeq
