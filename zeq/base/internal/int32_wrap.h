// 32-bit two's complement arithmetic that wraps on overflow, without the undefined
// behaviour of signed overflow: the integer vectors and matrices compute with it.
#pragma once

#include <cstdint>

namespace zeq::detail {

inline int32_t Wrap(uint32_t U) { return static_cast<int32_t>(U); }
inline int32_t WrapAdd(int32_t A, int32_t B) {
  return Wrap(static_cast<uint32_t>(A) + static_cast<uint32_t>(B));
}
inline int32_t WrapSub(int32_t A, int32_t B) {
  return Wrap(static_cast<uint32_t>(A) - static_cast<uint32_t>(B));
}
inline int32_t WrapMul(int32_t A, int32_t B) {
  return Wrap(static_cast<uint32_t>(A) * static_cast<uint32_t>(B));
}

}  // namespace zeq::detail
