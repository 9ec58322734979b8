// Bit manipulation and byte order.
#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "zeq/math1/math1.h"

namespace zeq {

namespace {

constexpr std::array<uint8_t, 256> MakeBitReversalTable() {
  std::array<uint8_t, 256> T{};
  for (int i = 0; i < 256; ++i) {
    int R = 0;
    for (int b = 0; b < 8; ++b)
      if (i & (1 << b)) R |= 0x80 >> b;
    T[static_cast<size_t>(i)] = static_cast<uint8_t>(R);
  }
  return T;
}

constexpr std::array<uint8_t, 256> BitReversalTable = MakeBitReversalTable();

template <class T>
T ReverseBytes(T X) {
  unsigned char B[sizeof(T)];
  std::memcpy(B, &X, sizeof(T));
  std::reverse(B, B + sizeof(T));
  std::memcpy(&X, B, sizeof(T));
  return X;
}

}  // namespace

bool CheckPowerOfTwo(uint32_t N) { return ((N - 1) & N) == 0; }

uint8_t BitReversal(uint8_t B) { return BitReversalTable[B]; }

uint8_t DecodeBit(int32_t N) { return N >= 0 && N <= 7 ? static_cast<uint8_t>(1u << N) : 0; }

uint32_t DecodeLong(int32_t N) { return N >= 0 && N <= 31 ? 1u << N : 0u; }

int32_t EncodeLong(uint32_t Mask) { return Mask == 0 ? 31 : std::countr_zero(Mask); }

int32_t CountBits(uint8_t B) { return std::popcount(B); }

uint16_t GrayCode(uint16_t W) { return static_cast<uint16_t>(W ^ (W >> 1)); }

double ConvertEndian(double X) { return ReverseBytes(X); }
float ConvertEndian(float X) { return ReverseBytes(X); }
uint16_t ConvertEndian(uint16_t X) { return ReverseBytes(X); }
int32_t ConvertEndian(int32_t X) { return ReverseBytes(X); }

}  // namespace zeq
