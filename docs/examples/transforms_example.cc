// Examples of the Fourier and wavelet transforms.
#include <cmath>
#include <numbers>

#include "examples.h"
#include "zeq/fourier/fourier.h"
#include "zeq/wavelet/wavelet.h"

namespace examples {

void FourierSpectrum() {
  //! [TFastFourier]
  // 64 samples of a sine with 8 periods: the power sits at line 8.
  zeq::TFastFourier FFT;
  FFT.SetSpectrumSize(64);
  for (int32_t i = 1; i <= 64; ++i)
    FFT.SetRealSpec(i, std::sin(2 * std::numbers::pi * 8 * (i - 1) / 64));
  FFT.SetWeightingWindow(zeq::fwRectangle);
  FFT.Transform();

  int32_t Peak = 0;
  for (int32_t n = 1; n <= 32; ++n)
    if (FFT.PowerSpec(n) > FFT.PowerSpec(Peak)) Peak = n;  // 8
  double Freq = FFT.FreqOfLine(Peak, 0.001);               // 125 Hz at 1 ms per sample
  //! [TFastFourier]
  Expect(Peak == 8 && std::fabs(Freq - 125) < 1e-9, "spectrum peak");
}

void WaveletTransform() {
  //! [TWavelet1D]
  zeq::TWavelet1D Wavelet;
  Wavelet.SetSize(8);
  Wavelet.SetOrder(2);  // Daubechies-4
  const long double Signal[] = {1, 2, 3, 4, 4, 3, 2, 1};
  for (int32_t i = 1; i <= 8; ++i) Wavelet.SetData(i, Signal[i - 1]);

  Wavelet.Transform(3);         // approximation first, then the details of each level
  Wavelet.InverseTransform(3);  // back to the signal (exact inverse with wseWrap)
  //! [TWavelet1D]
  for (int32_t i = 1; i <= 8; ++i)
    Expect(std::fabs(static_cast<double>(Wavelet.Data(i) - Signal[i - 1])) < 1e-12, "round trip");
}

}  // namespace examples
