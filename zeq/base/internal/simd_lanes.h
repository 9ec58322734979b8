// Eight doubles as one vector of the compiler's vector extension, for loops compiled once per
// SIMD level (simd.h): AVX-512 holds them in one register, AVX2 in two, plain x86-64 in four.
// Element-wise arithmetic on them is the scalar arithmetic lane by lane, so the bits do not
// depend on the level.
#pragma once

#include <cstddef>

namespace zeq::detail {

typedef double TLanes __attribute__((vector_size(64)));
// The same lanes at any 8-byte aligned address of a double array.
typedef double TLanesAt __attribute__((vector_size(64), aligned(8), may_alias));
constexpr size_t LaneCount = 8;

}  // namespace zeq::detail

// Lanes loaded from, or stored to, eight consecutive doubles at P. (Macros rather than
// functions: a vector passed by value outside an AVX-512 function would change the ABI.)
#define ZEQ_LANES(P) (*reinterpret_cast<const ::zeq::detail::TLanesAt*>(P))
#define ZEQ_LANES_OUT(P) (*reinterpret_cast<::zeq::detail::TLanesAt*>(P))
