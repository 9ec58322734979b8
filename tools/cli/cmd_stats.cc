// zeq stats: descriptive statistics of each column, quartiles, and a histogram.
#include <cmath>

#include "cli.h"
#include "zeq/vector/vector.h"

namespace zeqcli {

namespace {

void RunStats(const TOptions& O) {
  const TColumns Data = ReadInput(O);
  FirstColumn(Data, 1);
  TReport Report;
  std::vector<std::vector<double>> Rows;
  for (const std::vector<double>& Column : Data.Values) {
    zeq::TVector V;
    ToVector(Column, V);
    double Mean, Var, Min, Max, Q1, Q2, Q3, Skew = NAN, Kurt = NAN;
    V.MeanVar(0, 0, Mean, Var);
    V.MinMax(0, 0, Min, Max);
    V.Quartiles(0, 0, Q1, Q2, Q3);
    if (Column.size() >= 4) V.SkewKurtSample(0, 0, Skew, Kurt);
    const double N = static_cast<double>(Column.size());
    Rows.push_back({N, Mean, N >= 2 ? std::sqrt(Var) : NAN, Min, Q1, Q2, Q3, Max, Skew, Kurt});
  }
  Report.Table(
      "statistics",
      {"column", "n", "mean", "sd", "min", "q1", "median", "q3", "max", "skewness", "kurtosis"},
      Rows, Data.Names);
  // The histogram of the first column: --bins equal bins from its minimum to its maximum.
  const std::vector<double>& X = Data.Values[0];
  const int Bins = O.Integer("bins", static_cast<int>(std::ceil(std::log2(X.size()) + 1)), 1, 500);
  const double Lo = Rows[0][3], Hi = Rows[0][7];
  const double Width = Hi > Lo ? (Hi - Lo) / Bins : 1;
  std::vector<double> Count(static_cast<size_t>(Bins), 0);
  for (double V : X) Count[std::min(static_cast<size_t>((V - Lo) / Width), Count.size() - 1)] += 1;
  TPlot Plot{"Histogram of " + Data.Names[0], Data.Names[0], "count", {}};
  TSeries Bars{"count per bin", TSeriesKind::Bars, {}, {}};
  std::vector<std::vector<double>> HistRows;
  for (int b = 0; b < Bins; ++b) {
    HistRows.push_back({Lo + b * Width, Lo + (b + 1) * Width, Count[static_cast<size_t>(b)]});
    Bars.X.push_back(Lo + (b + 0.5) * Width);
    Bars.Y.push_back(Count[static_cast<size_t>(b)]);
  }
  if (O.Has("bins"))
    Report.Table("histogram of " + Data.Names[0], {"from", "to", "count"}, HistRows);
  Plot.Series.push_back(Bars);
  PlotIfAsked(O, Plot);
  Print(O, Report);
}

}  // namespace

TCommand StatsCommand() {
  return {"stats",
          "[options] [FILE]",
          "descriptive statistics and a histogram",
          "Descriptive statistics of each column (n, mean, standard deviation, quartiles,\n"
          "sample skewness and excess kurtosis); --plot draws the histogram of the first column.",
          {{"bins", 0, "N", "histogram bins (default: Sturges' rule); also prints the histogram"}},
          RunStats};
}

}  // namespace zeqcli
