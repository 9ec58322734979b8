// zeq-demo sections of the multivariate unit: smoothing and filtering, curve fitting, principal
// components, clustering, geometry and lines.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "demo_common.h"

namespace demo {

namespace {

// A slow wave of 500 samples with deterministic "measurement noise" and two spikes.
std::vector<double> CleanWave() {
  std::vector<double> W(500);
  for (size_t i = 0; i < W.size(); ++i) W[i] = std::sin(2 * 3.14159265358979 * i / 250.0);
  return W;
}

void MakeNoisyWave(const std::vector<double>& Clean, zeq::TVector& V) {
  V.Resize(static_cast<int32_t>(Clean.size()));
  uint32_t State = 12345;  // a small linear congruential generator: the same noise every run
  for (size_t i = 0; i < Clean.size(); ++i) {
    State = State * 1664525u + 1013904223u;
    const double Noise = (static_cast<double>(State >> 8) / 16777216.0 - 0.5) * 0.6;
    V.SetVal(static_cast<int32_t>(i + 1), Clean[i] + Noise);
  }
  V.SetVal(120, 4.0);  // two spikes
  V.SetVal(333, -4.0);
}

// Root mean square deviation from the clean wave over the interior (the edges of a window
// smoother repeat the nearest value).
double NoiseLevel(const zeq::TVector& V, const std::vector<double>& Clean) {
  double S = 0;
  int N = 0;
  for (int32_t i = 30; i <= static_cast<int32_t>(Clean.size()) - 30; ++i, ++N) {
    const double D = V.GetVal(i) - Clean[static_cast<size_t>(i - 1)];
    S += D * D;
  }
  return std::sqrt(S / N);
}

}  // namespace

void SmoothingTour() {
  Heading("Smoothing and filtering a noisy wave (500 samples, two spikes)");
  const std::vector<double> Clean = CleanWave();
  zeq::TVector Noisy;
  MakeNoisyWave(Clean, Noisy);
  const auto N = static_cast<int32_t>(Clean.size());
  zeq::TVector Out;
  Out.Resize(N);
  std::printf("  noise level (rms deviation from the clean wave)\n");
  std::printf("    raw signal                        %s\n",
              Fixed(NoiseLevel(Noisy, Clean), 4).c_str());
  zeq::MovingAverageSmooth(&Noisy, 1, N, &Out, 9);
  std::printf("    moving average, 9 samples         %s\n",
              Fixed(NoiseLevel(Out, Clean), 4).c_str());
  zeq::MovingMedianSmooth(&Noisy, 1, N, &Out, 9);
  std::printf("    moving median, 9 samples          %s\n",
              Fixed(NoiseLevel(Out, Clean), 4).c_str());
  zeq::PolynomialSmooth(&Noisy, 1, N, &Out, 25);
  std::printf("    Savitzky-Golay, 25 samples        %s\n",
              Fixed(NoiseLevel(Out, Clean), 4).c_str());
  zeq::TVector Kernel;
  zeq::CalcSincLPKernel(41, 0.02, zeq::swBlackman, &Kernel);
  zeq::MovingKernelFilter(&Noisy, 1, N, &Out, &Kernel);
  std::printf("    windowed-sinc low-pass, 41 taps   %s\n",
              Fixed(NoiseLevel(Out, Clean), 4).c_str());
  zeq::TMatrix Coeffs;
  double A0;
  zeq::CalcChebFilterCoeffs(4, false, 0.02, 0.5, A0, &Coeffs);
  zeq::ChebychevFilter(&Noisy, 1, N, &Out, A0, &Coeffs);
  std::printf("    Chebyshev 4 poles, zero phase     %s\n",
              Fixed(NoiseLevel(Out, Clean), 4).c_str());
  zeq::TVector Slope;
  Slope.Resize(N);
  zeq::FirstDeriv(&Noisy, 1, N, &Slope, 25);
  std::printf(
      "  slope at sample 250 (clean: %s per sample): %s\n",
      Fixed(2 * 3.14159265358979 / 250 * std::cos(2 * 3.14159265358979 * 249 / 250), 4).c_str(),
      Fixed(Slope.GetVal(250), 4).c_str());
}

void CurveFitTour() {
  Heading("Curve fitting on built-in measurements");
  // A thermistor calibration: resistance (kOhm) against temperature (deg C).
  const double T[] = {0, 5, 10, 15, 20, 25, 30, 35, 40, 45, 50};
  const double R[] = {32.65, 25.38, 19.90, 15.71, 12.49, 10.00, 8.057, 6.531, 5.327, 4.369, 3.603};
  zeq::TCurveFit Fit;
  for (int i = 0; i < 11; ++i) Fit.EnterStatValue(T[i], std::log(R[i]));
  double k, d, q;
  Fit.CalcLinFit(k, d, q);
  std::printf("  ln R = %s %s T                     fit quality %s\n", Fixed(d, 4).c_str(),
              Fixed(k, 5).c_str(), Fixed(q, 6).c_str());
  double k0, k1, k2;
  Fit.CalcParabolFit(k0, k1, k2, q);
  std::printf("  ln R = %s %s T %s T^2      fit quality %s\n", Fixed(k0, 4).c_str(),
              Fixed(k1, 5).c_str(), zeq::strff(k2, 1, -1).c_str(), Fixed(q, 6).c_str());
  std::vector<double> c(4);
  double XShift = 0;
  bool NearSingular;
  Fit.CalcCenteredPolyFit(3, c, XShift, q, NearSingular);
  std::printf("  cubic in (T - %s): %s %s %s %s   fit quality %s\n", Fixed(XShift, 1).c_str(),
              Fixed(c[0], 4).c_str(), zeq::strff(c[1], 1, -1).c_str(),
              zeq::strff(c[2], 1, -1).c_str(), zeq::strff(c[3], 1, -1).c_str(),
              Fixed(q, 8).c_str());
  double p;
  const double Tau = Fit.KendallsTau(p);
  std::printf("  Kendall tau %s (p %s), Spearman rho %s\n", Fixed(Tau, 3).c_str(),
              zeq::strff(p, 1, -1).c_str(), Fixed(Fit.SpearmanRankCorr(), 3).c_str());
  // Points measured on a circle of radius 5 around (1, 2), with small errors.
  zeq::TCurveFit Circle;
  const double Err[] = {0.02, -0.03, 0.01, 0.04, -0.02, 0.0, 0.03, -0.01};
  for (int i = 0; i < 8; ++i)
    Circle.EnterStatValue(1 + (5 + Err[i]) * std::cos(i * 0.785398),
                          2 + (5 + Err[i]) * std::sin(i * 0.785398));
  double r, dx, dy;
  Circle.CalcCircleFit(r, dx, dy);
  std::printf("  circle through 8 points: radius %s around (%s, %s)\n", Fixed(r, 4).c_str(),
              Fixed(dx, 4).c_str(), Fixed(dy, 4).c_str());
}

namespace {

int PcaProgressCalls = 0;
void CountPcaProgress(double) { ++PcaProgressCalls; }

}  // namespace

void PrincipalComponentsTour() {
  Heading("Principal components of built-in measurements, with progress and an abort");
  // 60 iris-like flowers: sepal length, sepal width, petal length, petal width (cm), generated
  // from two latent factors (size and petal shape) with a small deterministic scatter.
  zeq::TMatrix Data;
  Data.Resize(4, 60);
  for (int32_t r = 1; r <= 60; ++r) {
    const double Size = std::sin(r * 0.7) * 0.8, Shape = std::cos(r * 1.3) * 0.5;
    const double Scatter = std::sin(r * 2.9) * 0.08;
    Data.SetVal(1, r, 5.8 + 0.9 * Size + 0.2 * Shape + Scatter);
    Data.SetVal(2, r, 3.0 + 0.3 * Size - 0.4 * Shape - Scatter);
    Data.SetVal(3, r, 3.7 + 1.6 * Size + 0.9 * Shape + 0.5 * Scatter);
    Data.SetVal(4, r, 1.2 + 0.7 * Size + 0.4 * Shape);
  }
  zeq::ProcStat = 0;
  zeq::MathFeedBackProc = CountPcaProgress;
  const bool Done = zeq::CalcPrincComp(&Data, 0, 0, 0, 0, 2);  // correlation matrix
  zeq::MathFeedBackProc = nullptr;
  std::printf("  %s after %d progress reports (ProcStat %s)\n", Done ? "done" : "failed",
              PcaProgressCalls, Fixed(zeq::ProcStat, 0).c_str());
  std::printf("  component  explained  loadings (sepal l, sepal w, petal l, petal w)\n");
  for (int32_t i = 1; i <= zeq::GetEigenSize(); ++i) {
    std::printf("  %9d  %8s%%  ", i, Fixed(100 * zeq::GetEigenResult(i, 0), 1).c_str());
    for (int32_t k = 1; k <= 4; ++k)
      std::printf(" %7s", Fixed(zeq::GetEigenResult(i, k), 3).c_str());
    std::printf("\n");
  }
  zeq::RemoveEigenMatrix();
  // The same analysis, aborted from the progress routine as a user's Cancel button would.
  zeq::MathFeedBackProc = [](double Progress) {
    if (Progress > 100) zeq::AbortMathProc = true;
  };
  zeq::ProcStat = 0;
  const bool Aborted = !zeq::CalcPrincComp(&Data, 0, 0, 0, 0, 2);
  zeq::MathFeedBackProc = nullptr;
  zeq::AbortMathProc = false;
  std::printf("  cancelled at ProcStat %s: %s\n", Fixed(zeq::ProcStat, 0).c_str(),
              Aborted ? "the analysis stopped and reported false" : "not stopped");
}

void ClusteringTour() {
  Heading("Clustering ten built-in towns by position (Ward's method) and by k-means");
  const char* Names[] = {"Aldby", "Corle", "Ferro", "Bramm", "Elver",
                         "Hesse", "Dunst", "Gilne", "Jorun", "Istra"};
  const double Xy[][2] = {{1.0, 1.2}, {8.0, 8.3}, {4.9, 5.2}, {1.4, 0.8}, {8.5, 7.6},
                          {5.3, 4.6}, {0.6, 1.5}, {7.7, 8.9}, {5.1, 5.0}, {1.1, 0.4}};
  zeq::TMatrix Towns;
  Towns.Resize(2, 10);
  for (int32_t i = 1; i <= 10; ++i) {
    Towns.SetVal(1, i, Xy[i - 1][0]);
    Towns.SetVal(2, i, Xy[i - 1][1]);
  }
  zeq::TIntMatrix Dendrogram;
  zeq::TVector MergeDist, NodePos;
  zeq::AgglomClustering(nullptr, &Towns, zeq::dmEuclidSqr, zeq::cmWard, 0, &Dendrogram, &MergeDist,
                        &NodePos, nullptr, nullptr);
  // A text dendrogram: leaves on every second line in drawing order, each merge a vertical bar
  // the further right the farther apart its clusters join.
  const int32_t N = 10, Width = 48;
  const double Top = std::sqrt(MergeDist.GetVal(N - 1));
  std::vector<std::string> Grid(2 * N - 1, std::string(Width + 2, ' '));
  std::vector<size_t> Row(2 * N), Column(2 * N, 0);
  for (int32_t Leaf = 1; Leaf <= N; ++Leaf)
    Row[static_cast<size_t>(Leaf)] = static_cast<size_t>(2 * (NodePos.GetVal(Leaf) - 1));
  for (int32_t s = 1; s < N; ++s) {
    const auto A = static_cast<size_t>(Dendrogram.GetVal(1, s)),
               B = static_cast<size_t>(Dendrogram.GetVal(2, s));
    const auto Node = static_cast<size_t>(N + s);
    const auto X =
        static_cast<size_t>(1 + std::lround((Width - 1) * std::sqrt(MergeDist.GetVal(s)) / Top));
    Row[Node] = (Row[A] + Row[B]) / 2;
    Column[Node] = X;
    for (size_t Child : {A, B})
      for (size_t x = Column[Child] + (Child > static_cast<size_t>(N)); x < X; ++x)
        Grid[Row[Child]][x] = '-';
    for (size_t y = std::min(Row[A], Row[B]); y <= std::max(Row[A], Row[B]); ++y) Grid[y][X] = '|';
  }
  for (int32_t Leaf = 1; Leaf <= N; ++Leaf)
    Grid[Row[static_cast<size_t>(Leaf)]] =
        std::string(Names[Leaf - 1]) + " " + Grid[Row[static_cast<size_t>(Leaf)]];
  for (std::string& Line : Grid)
    if (Line.size() == static_cast<size_t>(Width + 2)) Line = "      " + Line;
  for (const std::string& Line : Grid) std::printf("  %s\n", Line.c_str());
  zeq::TMatrix Centers;
  zeq::TIntVector Class, Sizes;
  const double Within = zeq::kMeansClustering(&Towns, 0, 0, 3, 0, &Centers, &Class, &Sizes);
  std::printf("  k-means, 3 clusters (within sum of squares %s):\n", Fixed(Within, 3).c_str());
  for (int32_t c = 1; c <= 3; ++c) {
    std::printf("    cluster %d around (%s, %s):", c, Fixed(Centers.GetVal(1, c)).c_str(),
                Fixed(Centers.GetVal(2, c)).c_str());
    for (int32_t i = 1; i <= 10; ++i)
      if (Class.GetVal(i) == c) std::printf(" %s", Names[i - 1]);
    std::printf("\n");
  }
}

void GeometryTour() {
  Heading("Lines, polygons and the convex hull of built-in points");
  zeq::TSLine Line;
  Line.LineFrom2Points(-2, -1, 6, 3);  // y = x / 2
  double xa, ya, xb, yb;
  if (Line.ClipBox(0, 0, 4, 1.5, xa, ya, xb, yb))
    std::printf(
        "  the line through (-2, -1) and (6, 3) crosses the box 0..4 x 0..1.5 from (%s, %s) to "
        "(%s, %s)\n",
        Fixed(xa).c_str(), Fixed(ya).c_str(), Fixed(xb).c_str(), Fixed(yb).c_str());
  std::printf("  its slope %s, direction %s degrees, distance of (3, 4) from it %s\n",
              Fixed(Line.GetSlope()).c_str(),
              Fixed(Line.GetDirect() * 180 / 3.14159265358979, 1).c_str(),
              Fixed(Line.Distance(3, 4), 3).c_str());
  const std::vector<zeq::TPointDouble> Points{{0, 0}, {4, 1},  {2, 2}, {5, 4}, {1, 5}, {3, 3},
                                              {2, 6}, {-1, 3}, {1, 1}, {3, 5}, {0, 4}, {4, 4}};
  const std::vector<zeq::TPointDouble> Hull = zeq::Convex2DHull(Points);
  std::printf("  hull of 12 points (counter-clockwise):");
  for (const auto& P : Hull) std::printf(" (%s, %s)", Fixed(P.X, 0).c_str(), Fixed(P.Y, 0).c_str());
  std::printf("\n  hull area %s; (3, 3) %s the hull; (5, 1) %s\n",
              Fixed(zeq::PolygonArea(Hull), 1).c_str(),
              zeq::PointIsInsideConvexHull(3, 3, Hull) ? "inside" : "outside",
              zeq::PointIsInsideConvexHull(5, 1, Hull) ? "inside" : "outside");
  std::printf(
      "  Graz to Vienna along the great circle: %s km\n",
      Fixed(zeq::SphereGreatCircleDist(6371, 47.0707, 15.4395, 48.2082, 16.3738), 0).c_str());
}

}  // namespace demo
