/// @file
/// Gray value and hue/saturation/intensity of 8-bit RGB colours.
#pragma once

#include <cstdint>

#include "zeq/base/export.h"

namespace zeq {

/// Luma of ITU-R BT.601: 0.299 R + 0.587 G + 0.114 B, rounded to 0..255.
ZEQ_API uint8_t RGBtoGray(uint8_t R, uint8_t G, uint8_t B);

/// The HSI model: Intensity = (R + G + B) / (3 * 255) in 0..1; Saturation =
/// 1 - min(R, G, B) / mean(R, G, B) in 0..1 (0 for black); Hue in degrees 0..360 (0 for
/// grays, where it is undefined): 0 is red, 120 green, 240 blue.
ZEQ_API void RGBtoHSI(uint8_t R, uint8_t G, uint8_t B, double& Hue, double& Saturation,
                      double& Intensity);

}  // namespace zeq
