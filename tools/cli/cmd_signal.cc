// zeq smooth, filter, fft and wavelet: the signal subcommands, each on the first column.
#include <cmath>

#include "cli.h"
#include "zeq/fourier/fourier.h"
#include "zeq/math2/filters.h"
#include "zeq/math2/smoothing.h"
#include "zeq/wavelet/wavelet.h"

namespace zeqcli {

namespace {

std::vector<double> Values(const zeq::TVector& V) {
  std::vector<double> X;
  for (int32_t i = 1; i <= V.NrOfElem(); ++i) X.push_back(V.GetVal(i));
  return X;
}

std::vector<double> Indices(size_t N) {
  std::vector<double> I;
  for (size_t i = 1; i <= N; ++i) I.push_back(static_cast<double>(i));
  return I;
}

// The signal and its processed form as a table and, when asked, a plot of both.
void Compare(const TOptions& O, const TColumns& Data, const std::string& What,
             const std::string& Title, const std::vector<double>& Out) {
  const std::vector<double>& In = Data.Values[0];
  std::vector<std::vector<double>> Rows;
  for (size_t i = 0; i < In.size(); ++i)
    Rows.push_back({static_cast<double>(i + 1), In[i], Out[i]});
  TReport Report;
  Report.Table(What, {"index", Data.Names[0], What}, Rows);
  PlotIfAsked(O, {Title,
                  "index",
                  Data.Names[0],
                  {{"before", TSeriesKind::Line, Indices(In.size()), In},
                   {"after", TSeriesKind::Line, Indices(In.size()), Out}}});
  Print(O, Report);
}

void RunSmooth(const TOptions& O) {
  const std::string Method = Variant(O, "name the method: average, weighted, median or savgol");
  const TColumns Data = ReadInputAfterVariant(O);
  const int Window = O.Integer("window", 5, 3, 1000001);
  if (Window % 2 == 0) throw TUsageError("--window must be odd");
  const std::vector<double>& X = FirstColumn(Data, static_cast<size_t>(Window) + 1);
  zeq::TVector In, Out;
  ToVector(X, In);
  Out.Resize(In.NrOfElem());
  const int32_t N = In.NrOfElem();
  if (Method == "average")
    zeq::MovingAverageSmooth(&In, 1, N, &Out, Window);
  else if (Method == "weighted")
    zeq::WeightedAverageSmooth(&In, 1, N, &Out, Window);
  else if (Method == "median")
    zeq::MovingMedianSmooth(&In, 1, N, &Out, Window);
  else if (Method == "savgol")
    zeq::PolynomialSmooth(&In, 1, N, &Out, Window);
  else
    throw TUsageError("unknown method '" + Method + "' (average, weighted, median, savgol)");
  Compare(O, Data, "smoothed",
          Data.Names[0] + ": " + Method + " smoothing over " + std::to_string(Window) + " points",
          Values(Out));
}

void RunFilter(const TOptions& O) {
  const std::string Kind = Variant(O, "name the filter: lowpass or highpass");
  const TColumns Data = ReadInputAfterVariant(O);
  const double Cutoff = O.Number("cutoff", 0.1);
  if (!(Cutoff > 0 && Cutoff < 0.5)) throw TUsageError("--cutoff must lie between 0 and 0.5");
  const int Taps = O.Integer("taps", 31, 3, 10001);
  const std::vector<double>& X = FirstColumn(Data, static_cast<size_t>(Taps) + 1);
  zeq::TVector In, Kernel, Out;
  ToVector(X, In);
  if (Kind == "lowpass")
    zeq::CalcSincLPKernel(Taps, Cutoff, zeq::swBlackman, &Kernel);
  else if (Kind == "highpass")
    zeq::CalcSincHPKernel(Taps, Cutoff, zeq::swBlackman, &Kernel);
  else
    throw TUsageError("unknown filter '" + Kind + "' (lowpass, highpass)");
  zeq::MovingKernelFilter(&In, 1, In.NrOfElem(), &Out, &Kernel);
  Compare(O, Data, "filtered", Data.Names[0] + ": " + Kind + " filter at " + FormatNumber(Cutoff),
          Values(Out));
}

zeq::TFastFourierWgtWin Window(const std::string& Name) {
  const std::pair<const char*, zeq::TFastFourierWgtWin> Names[] = {
      {"rectangle", zeq::fwRectangle},
      {"triangle", zeq::fwTriangle},
      {"cos2", zeq::fwCos2},
      {"gauss", zeq::fwGauss},
      {"hamming", zeq::fwHamming},
      {"blackman", zeq::fwBlackman},
      {"blackman-harris", zeq::fwBlkmHarris},
      {"blackman-nuttall", zeq::fwBlkmNuttall}};
  for (const auto& [Text, W] : Names)
    if (Name == Text) return W;
  throw TUsageError("unknown window '" + Name + "'");
}

void RunFft(const TOptions& O) {
  const TColumns Data = ReadInput(O);
  const std::vector<double>& X = FirstColumn(Data, 2);
  const double Dt = O.Number("dt", 1);
  if (!(Dt > 0)) throw TUsageError("--dt must be positive");
  int32_t N = 1;
  while (N < static_cast<int32_t>(X.size())) N *= 2;  // zero-padded to a power of two
  if (N > (1 << 23)) throw TInputError(Data.Source + ": more than 2^23 values");
  zeq::TFastFourier F;
  F.SetSpectrumSize(N);
  F.SetWeightingWindow(Window(O.Text("window", "rectangle")));
  for (size_t i = 0; i < X.size(); ++i) F.SetRealSpec(static_cast<int32_t>(i + 1), X[i]);
  {
    TProgress Progress("transforming");
    F.Transform();
  }
  std::vector<std::vector<double>> Rows;
  TSeries Power{"power", TSeriesKind::Line, {}, {}};
  for (int32_t n = 0; n <= N / 2; ++n) {
    const double Freq = n / (Dt * N);
    Rows.push_back({static_cast<double>(n), Freq, F.PowerSpec(n), F.Magnitude(n), F.Phase(n)});
    Power.X.push_back(Freq);
    Power.Y.push_back(F.PowerSpec(n));
  }
  TReport Report;
  Report.Value("points", static_cast<double>(N));
  Report.Table("spectrum", {"line", "frequency", "power", "magnitude", "phase"}, Rows);
  PlotIfAsked(O, {"Power spectrum of " + Data.Names[0], "frequency", "power", {Power}});
  Print(O, Report);
}

void RunWavelet(const TOptions& O) {
  const TColumns Data = ReadInput(O);
  const std::vector<double>& X = FirstColumn(Data, 2);
  if ((X.size() & (X.size() - 1)) != 0)
    throw TInputError(Data.Source + ": the number of values must be a power of two");
  zeq::TWavelet1D W;
  W.SetSize(static_cast<int32_t>(X.size()));
  W.SetOrder(O.Integer("order", 2, 1, 3));
  for (size_t i = 0; i < X.size(); ++i) W.SetData(static_cast<int32_t>(i + 1), X[i]);
  const int Levels = O.Integer("levels", 1, 1, 23);
  W.Transform(Levels);
  std::vector<double> C;
  for (int32_t i = 1; i <= W.Size(); ++i) C.push_back(static_cast<double>(W.Data(i)));
  Compare(O, Data, "coefficients", Data.Names[0] + ": wavelet coefficients", C);
}

}  // namespace

TCommand SmoothCommand() {
  return {"smooth",
          "average|weighted|median|savgol [options] [FILE]",
          "smoothing of a signal",
          "Smooths the first column with a moving average, a triangular weighted average, a\n"
          "moving median or a Savitzky-Golay polynomial over --window N points (odd); prints\n"
          "the signal before and after; --plot draws both.",
          {{"window", 'w', "N", "window length, odd (default 5)"}},
          RunSmooth};
}

TCommand FilterCommand() {
  return {"filter",
          "lowpass|highpass [options] [FILE]",
          "windowed-sinc filters",
          "Filters the first column with a windowed-sinc (Blackman) low-pass or high-pass kernel\n"
          "of --taps N at --cutoff F (a fraction of the sampling rate, below 0.5).",
          {{"cutoff", 0, "F", "cut-off frequency, 0..0.5 of the sampling rate (default 0.1)"},
           {"taps", 0, "N", "kernel length (default 31)"}},
          RunFilter};
}

TCommand FftCommand() {
  return {"fft",
          "[options] [FILE]",
          "power spectrum",
          "The discrete Fourier transform of the first column (zero-padded to a power of two)\n"
          "after a weighting window: power, magnitude and phase per line; --plot draws the\n"
          "power spectrum.",
          {{"window", 0, "NAME",
            "rectangle, triangle, cos2, gauss, hamming, blackman, blackman-harris or\n"
            "                            blackman-nuttall (default rectangle)"},
           {"dt", 0, "SECONDS", "sampling interval, for the frequencies (default 1)"}},
          RunFft};
}

TCommand WaveletCommand() {
  return {"wavelet",
          "[options] [FILE]",
          "discrete wavelet transform",
          "The Daubechies wavelet transform of the first column (2^k values) over --levels\n"
          "levels: the approximation first, then the details of each level.",
          {{"order", 0, "N", "order of the Daubechies wavelet, 1..3 (default 2)"},
           {"levels", 0, "N", "number of levels (default 1)"}},
          RunWavelet};
}

}  // namespace zeqcli
