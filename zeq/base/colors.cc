// Colour conversions of the HSI model (Gonzalez and Woods).
#include "zeq/base/colors.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zeq {

uint8_t RGBtoGray(uint8_t R, uint8_t G, uint8_t B) {
  // Integer weights (x 1000) keep the result exact and independent of rounding of products.
  const int Sum = 299 * R + 587 * G + 114 * B;
  return static_cast<uint8_t>((Sum + 500) / 1000);
}

void RGBtoHSI(uint8_t R, uint8_t G, uint8_t B, double& Hue, double& Saturation, double& Intensity) {
  const double r = R, g = G, b = B;
  const double Total = r + g + b;
  Intensity = Total / (3.0 * 255.0);
  Saturation = Total == 0 ? 0.0 : 1.0 - 3.0 * std::min({r, g, b}) / Total;
  const double Num = 0.5 * ((r - g) + (r - b));
  const double Den = std::sqrt((r - g) * (r - g) + (r - b) * (g - b));
  if (Den == 0) {
    Hue = 0.0;
    return;
  }
  const double Theta = std::acos(std::clamp(Num / Den, -1.0, 1.0)) * 180.0 / std::numbers::pi;
  Hue = b <= g ? Theta : 360.0 - Theta;
}

}  // namespace zeq
