/// @file
/// CRC-32 and the check strings that components compute over their contents.
///
/// A check string runs W independent CRC-32 registers: byte k of every W-byte element goes to
/// register k, so the string depends on each element's value and position, not on how the
/// bytes of neighbouring elements line up.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>

#include "zeq/base/export.h"

namespace zeq {

/// One step of the standard reflected CRC-32 (polynomial 0xEDB88320). The start value
/// (0xFFFFFFFF) and the final inversion are the caller's.
ZEQ_API uint32_t CalcNextCRC32(uint8_t Data, uint32_t CRC);

/// N CRC-32 registers, each started at 0xFFFFFFFF.
template <std::size_t N>
class TCRCRegisters {
 public:
  TCRCRegisters() { FRegs.fill(0xFFFFFFFFu); }

  /// Feeds Byte to register number Register (0-based).
  void AddByte(std::size_t Register, uint8_t Byte) {
    FRegs[Register] = CalcNextCRC32(Byte, FRegs[Register]);
  }

  /// Byte k (little-endian) of Value goes to register k; sizeof(T) must equal N.
  template <class T>
  requires(sizeof(T) == N && std::is_trivially_copyable_v<T>) void AddElement(T Value) {
    using Bits = std::conditional_t<
        N == 8, uint64_t,
        std::conditional_t<N == 4, uint32_t, std::conditional_t<N == 2, uint16_t, uint8_t>>>;
    static_assert(sizeof(Bits) == N, "elements of 1, 2, 4 or 8 bytes");
    auto Pattern = std::bit_cast<Bits>(Value);
    for (std::size_t k = 0; k < N; ++k) AddByte(k, static_cast<uint8_t>(Pattern >> (8 * k)));
  }

  /// The inverted registers, register 1 first, each as eight upper-case hex digits.
  std::string Str() const;

 private:
  std::array<uint32_t, N> FRegs;
};

/// Eight upper-case hexadecimal digits of Value, most significant first.
ZEQ_API std::string HexOfCRC(uint32_t Value);

template <std::size_t N>
std::string TCRCRegisters<N>::Str() const {
  std::string Result;
  Result.reserve(8 * N);
  for (uint32_t R : FRegs) Result += HexOfCRC(~R);
  return Result;
}

/// Check string of a sequence of elements in storage order: for elements of W bytes, W
/// registers and 8 * W hexadecimal digits.
template <class Range>
std::string CheckStringOf(const Range& Elements) {
  using T = std::remove_cvref_t<decltype(*std::begin(Elements))>;
  TCRCRegisters<sizeof(T)> Regs;
  for (const T& E : Elements) Regs.AddElement(E);
  return Regs.Str();
}

}  // namespace zeq
