// zeq-demo sections of the transforms: the spectrum of a two-tone signal under two windows and
// a wavelet denoising of it.
#include <algorithm>
#include <cmath>
#include <vector>

#include "demo_common.h"

namespace demo {

namespace {

constexpr int32_t N = 1024;
constexpr double SampleTime = 0.001;  // 1 kHz sampling

// 50 Hz of amplitude 1 and 120.5 Hz of amplitude 0.25 (between two lines), with deterministic
// noise of amplitude 0.2.
std::vector<double> TwoTones(bool Noise) {
  std::vector<double> X(N);
  uint32_t State = 777;
  for (int32_t j = 0; j < N; ++j) {
    State = State * 1664525u + 1013904223u;
    const double t = j * SampleTime;
    X[static_cast<size_t>(j)] =
        std::sin(2 * 3.14159265358979 * 50 * t) +
        0.25 * std::sin(2 * 3.14159265358979 * 120.5 * t) +
        (Noise ? (static_cast<double>(State >> 8) / 16777216.0 - 0.5) * 0.4 : 0.0);
  }
  return X;
}

void PrintPeaks(zeq::TFastFourierWgtWin Window, const char* Name, const std::vector<double>& X) {
  zeq::TFastFourier F;
  F.SetSpectrumSize(N);
  for (int32_t i = 1; i <= N; ++i) F.SetRealSpec(i, X[static_cast<size_t>(i - 1)]);
  F.SetWeightingWindow(Window);
  F.Transform();
  // The two strongest local maxima of the magnitude.
  std::vector<std::pair<double, int32_t>> Peaks;
  for (int32_t n = 2; n < N / 2; ++n)
    if (F.Magnitude(n) > F.Magnitude(n - 1) && F.Magnitude(n) >= F.Magnitude(n + 1))
      Peaks.push_back({F.Magnitude(n), n});
  std::sort(Peaks.rbegin(), Peaks.rend());
  std::printf("  %-9s", Name);
  for (size_t p = 0; p < 2 && p < Peaks.size(); ++p)
    std::printf("  %s Hz: magnitude %s",
                Fixed(F.FreqOfLine(Peaks[p].second, SampleTime), 1).c_str(),
                Fixed(Peaks[p].first, 3).c_str());
  std::printf("; leakage at 300 Hz: %s\n",
              zeq::strff(F.Magnitude(F.LineOfFreq(300, SampleTime)), 1, -1).c_str());
}

}  // namespace

void TransformsTour() {
  Heading("Spectrum of a two-tone signal (50 Hz, 120.5 Hz; 1024 samples at 1 kHz)");
  const std::vector<double> Noisy = TwoTones(true), Clean = TwoTones(false);
  PrintPeaks(zeq::fwRectangle, "rectangle", Clean);
  PrintPeaks(zeq::fwBlkmHarris, "Blackman-Harris", Clean);
  // Wavelet denoising: the full decomposition with Daubechies 3, the details of the finest
  // level (250 to 500 Hz, where the signal has nothing) set to 0, and back (an inverse undoes a
  // forward transform of all levels).
  zeq::TWavelet1D W;
  W.SetSize(N);
  W.SetOrder(3);
  for (int32_t i = 1; i <= N; ++i) W.SetData(i, Noisy[static_cast<size_t>(i - 1)]);
  W.Transform(10);
  for (int32_t i = N / 2 + 1; i <= N; ++i) W.SetData(i, 0);
  W.InverseTransform(10);
  double Before = 0, After = 0;
  for (int32_t i = 1; i <= N; ++i) {
    Before += std::pow(Noisy[static_cast<size_t>(i - 1)] - Clean[static_cast<size_t>(i - 1)], 2);
    After += std::pow(static_cast<double>(W.Data(i)) - Clean[static_cast<size_t>(i - 1)], 2);
  }
  std::printf("  wavelet denoising (Daubechies 3, the details above 250 Hz dropped):\n");
  std::printf("    rms noise %s before, %s after\n", Fixed(std::sqrt(Before / N), 4).c_str(),
              Fixed(std::sqrt(After / N), 4).c_str());
}

}  // namespace demo
