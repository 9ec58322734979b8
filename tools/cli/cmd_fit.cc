// zeq fit: a line, parabola, polynomial or circle through (x, y) points, with its quality and a
// plot of the data and the curve.
#include <cmath>
#include <numbers>

#include "cli.h"
#include "zeq/math2/curvefit.h"

namespace zeqcli {

namespace {

void RunFit(const TOptions& O) {
  const std::string Model = Variant(O, "name the model: line, parabola, poly or circle");
  const TColumns Data = ReadInputAfterVariant(O);
  if (Data.Values.size() < 2) throw TInputError(Data.Source + ": two columns needed (x and y)");
  const std::vector<double>&X = Data.Values[0], &Y = Data.Values[1];
  zeq::TCurveFit Fit;
  for (size_t i = 0; i < X.size(); ++i) Fit.EnterStatValue(X[i], Y[i]);
  TReport Report;
  Report.Value("model", Model);
  Report.Value("points", static_cast<double>(X.size()));
  std::function<double(double)> Curve;
  TSeries Line{"fit", TSeriesKind::Line, {}, {}};
  double Quality = NAN;
  if (Model == "line") {
    double k, d;
    Fit.CalcLinFit(k, d, Quality);
    Report.Value("slope", k);
    Report.Value("intercept", d);
    Curve = [=](double x) { return k * x + d; };
  } else if (Model == "parabola") {
    double k0, k1, k2;
    Fit.CalcParabolFit(k0, k1, k2, Quality);
    Report.Value("c0", k0);
    Report.Value("c1", k1);
    Report.Value("c2", k2);
    Curve = [=](double x) { return k0 + x * (k1 + x * k2); };
  } else if (Model == "poly") {
    const int Order = O.Integer("order", 3, 1, 20);
    std::vector<double> K(static_cast<size_t>(Order) + 1);
    bool NearSingular = false;
    double Shift = 0;
    TProgress Progress("fitting");
    Fit.CalcCenteredPolyFit(static_cast<uint8_t>(Order), K, Shift, Quality, NearSingular);
    if (TProgress::Aborted()) throw TInputError("interrupted");
    for (int j = 0; j <= Order; ++j) {
      std::string Name(1, 'c');  // c0, c1, ...
      Name += std::to_string(j);
      Report.Value(Name, K[static_cast<size_t>(j)]);
    }
    Report.Value("x shift", Shift);
    Report.Value("near singular", NearSingular ? "yes" : "no");
    Curve = [=](double x) {
      double S = 0;
      for (size_t j = K.size(); j-- > 0;) S = S * (x - Shift) + K[j];
      return S;
    };
  } else if (Model == "circle") {
    double r, cx, cy;
    Fit.CalcCircleFit(r, cx, cy);
    Report.Value("radius", r);
    Report.Value("centre x", cx);
    Report.Value("centre y", cy);
    for (int i = 0; i <= 360; ++i) {
      const double A = i * std::numbers::pi / 180;
      Line.X.push_back(cx + r * std::cos(A));
      Line.Y.push_back(cy + r * std::sin(A));
    }
  } else {
    throw TUsageError("unknown model '" + Model + "' (line, parabola, poly, circle)");
  }
  if (Curve) {
    Report.Value("fit quality", Quality);
    const double Lo = Fit.MinX(), Hi = Fit.MaxX();
    for (int i = 0; i <= 200; ++i) {
      const double x = Lo + (Hi - Lo) * i / 200;
      Line.X.push_back(x);
      Line.Y.push_back(Curve(x));
    }
    double SS = 0;
    for (size_t i = 0; i < X.size(); ++i) SS += (Y[i] - Curve(X[i])) * (Y[i] - Curve(X[i]));
    Report.Value("rms residual", std::sqrt(SS / static_cast<double>(X.size())));
  }
  Report.Value("correlation", Fit.CorrCoeff());
  TPlot Plot{"Fit of a " + Model + " to " + Data.Source,
             Data.Names[0],
             Data.Names[1],
             {{"data", TSeriesKind::Points, X, Y}, Line}};
  PlotIfAsked(O, Plot);
  Print(O, Report);
}

}  // namespace

TCommand FitCommand() {
  return {"fit",
          "line|parabola|poly|circle [options] [FILE]",
          "curve fits with their quality",
          "Fits a curve to the points (x, y) of the first two columns: a line, a parabola, a\n"
          "polynomial of --order N (centred and scaled for accuracy) or a circle; prints the\n"
          "coefficients, the fit quality and the residual; --plot draws data and curve.",
          {{"order", 0, "N", "order of the polynomial (1..20, default 3)"}},
          RunFit};
}

}  // namespace zeqcli
