/// @file
/// The 80-bit extended format as ten little-endian bytes: 64-bit significand with an explicit
/// integer bit, then 15-bit biased exponent and the sign.
///
/// On x86-64 `long double` is this format and the conversion is a copy; elsewhere the value
/// is encoded from its parts, exactly for every value the 80-bit format can hold.
#pragma once

#include <array>
#include <cstdint>

#include "zeq/base/export.h"

namespace zeq {

/// An 80-bit extended value as ten bytes, least significant first.
using TExtendedBytes = std::array<uint8_t, 10>;

///@{
/// The ten bytes of X, and the value of ten bytes (exact both ways for every value of the format).
ZEQ_API TExtendedBytes ExtendedToBytes(long double X);
ZEQ_API long double BytesToExtended(const TExtendedBytes& Bytes);
///@}

namespace detail {
/// The encoding from the value's parts, used where long double is not the x87 format (not
/// exported from the shared library; the tests reach it through the static one).
TExtendedBytes EncodeExtendedPortable(long double X);
long double DecodeExtendedPortable(const TExtendedBytes& Bytes);
}  // namespace detail

}  // namespace zeq
