// Conversion between long double and the ten bytes of the 80-bit extended format.
#include "zeq/base/extended.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace zeq {

namespace {

constexpr bool LongDoubleIsX87 = std::numeric_limits<long double>::digits == 64 &&
                                 std::numeric_limits<long double>::max_exponent == 16384;

constexpr int ExponentBias = 16383;

}  // namespace

namespace detail {

TExtendedBytes EncodeExtendedPortable(long double X) {
  uint64_t Mantissa = 0;
  uint16_t SignExp = std::signbit(X) ? 0x8000 : 0;
  if (std::isnan(X)) {
    SignExp |= 0x7FFF;
    Mantissa = 0xC000000000000000ull;
  } else if (std::isinf(X)) {
    SignExp |= 0x7FFF;
    Mantissa = 0x8000000000000000ull;
  } else if (X != 0) {
    int Exp = 0;
    long double Frac = std::frexp(std::fabs(X), &Exp);  // X = Frac * 2^Exp, Frac in [0.5, 1)
    int Biased = Exp - 1 + ExponentBias;
    int Shift = 64;
    if (Biased <= 0) {  // denormal: the exponent field is 0 and the significand shrinks
      Shift += Biased - 1;
      Biased = 0;
    }
    Mantissa = Shift > 0 ? static_cast<uint64_t>(std::ldexp(Frac, Shift)) : 0;
    SignExp |= static_cast<uint16_t>(Biased);
  }
  TExtendedBytes B{};
  for (int k = 0; k < 8; ++k) B[static_cast<size_t>(k)] = static_cast<uint8_t>(Mantissa >> (8 * k));
  B[8] = static_cast<uint8_t>(SignExp);
  B[9] = static_cast<uint8_t>(SignExp >> 8);
  return B;
}

long double DecodeExtendedPortable(const TExtendedBytes& B) {
  uint64_t Mantissa = 0;
  for (int k = 7; k >= 0; --k) Mantissa = (Mantissa << 8) | B[static_cast<size_t>(k)];
  const int SignExp = B[8] | (B[9] << 8);
  const bool Negative = (SignExp & 0x8000) != 0;
  const int Biased = SignExp & 0x7FFF;
  long double Result;
  if (Biased == 0x7FFF) {
    Result = (Mantissa << 1) == 0 ? std::numeric_limits<long double>::infinity()
                                  : std::numeric_limits<long double>::quiet_NaN();
  } else {
    const int Exp = (Biased == 0 ? 1 : Biased) - ExponentBias - 63;
    Result = std::ldexp(static_cast<long double>(Mantissa), Exp);
  }
  return Negative ? -Result : Result;
}

}  // namespace detail

TExtendedBytes ExtendedToBytes(long double X) {
  if constexpr (LongDoubleIsX87) {
    TExtendedBytes B;
    std::memcpy(B.data(), &X, B.size());
    return B;
  } else {
    return detail::EncodeExtendedPortable(X);
  }
}

long double BytesToExtended(const TExtendedBytes& Bytes) {
  if constexpr (LongDoubleIsX87) {
    long double X = 0;
    std::memcpy(&X, Bytes.data(), Bytes.size());
    return X;
  } else {
    return detail::DecodeExtendedPortable(Bytes);
  }
}

}  // namespace zeq
