// The correlation of a colour channel over two bitmap areas, through a scratch TCurveFit.
#include "zeq/math2/curvefit.h"
#include "zeq/math2/geometry.h"

namespace zeq {

namespace {

double Channel(TColor C, TImgCompareMode Mode) {
  const uint8_t R = RedOf(C), G = GreenOf(C), B = BlueOf(C);
  double Hue, Saturation, Intensity;
  switch (Mode) {
    case icmRed:
      return R;
    case icmBlue:
      return B;
    case icmGreen:
      return G;
    case icmGrayValues:
      return RGBtoGray(R, G, B);
    default:
      RGBtoHSI(R, G, B, Hue, Saturation, Intensity);
      return Mode == icmHue ? Hue : Mode == icmLightness ? Intensity : Saturation;
  }
}

}  // namespace

double CalcImgCorrelation(const TBitmap* Img1, const TBitmap* Img2, const TRect& Area1,
                          const TRect& Area2, TImgCompareMode Mode) {
  if (static_cast<int64_t>(Area1.Right) - Area1.Left !=
          static_cast<int64_t>(Area2.Right) - Area2.Left ||
      static_cast<int64_t>(Area1.Bottom) - Area1.Top !=
          static_cast<int64_t>(Area2.Bottom) - Area2.Top)
    throw EZEQMath2Error("image ranges to compare are not of equal size");
  if (Img1 == nullptr || Img2 == nullptr) return 0.0;
  const int64_t Dx = static_cast<int64_t>(Area2.Left) - Area1.Left,
                Dy = static_cast<int64_t>(Area2.Top) - Area1.Top;
  TCurveFit Pairs;
  for (int64_t y = Area1.Top; y <= Area1.Bottom; ++y)
    for (int64_t x = Area1.Left; x <= Area1.Right; ++x)
      Pairs.EnterStatValue(
          Channel(Img1->Pixel(static_cast<int32_t>(x), static_cast<int32_t>(y)), Mode),
          Channel(Img2->Pixel(static_cast<int32_t>(x + Dx), static_cast<int32_t>(y + Dy)), Mode));
  int32_t N;
  double MeanX, MeanY, StdevX, StdevY, MeanDiff, StdevDiff, r;
  Pairs.CalcStatistics(N, MeanX, MeanY, StdevX, StdevY, MeanDiff, StdevDiff, r);
  return r;
}

}  // namespace zeq
