// zeq test: hypothesis tests with their p-values.
#include <cmath>

#include "cli.h"
#include "zeq/statis/statis.h"

namespace zeqcli {

namespace {

void RunTest(const TOptions& O) {
  const std::string Test = Variant(O, "name the test: normality, outliers, runs or anova");
  const TColumns Data = ReadInputAfterVariant(O);
  const double Alpha = O.Number("alpha", 0.05);
  if (!(Alpha > 0 && Alpha < 1)) throw TUsageError("--alpha must lie between 0 and 1");
  TReport Report;
  Report.Value("test", Test);
  zeq::TVector V;
  if (Test == "normality") {
    const std::vector<double>& X = FirstColumn(Data, 6);
    ToVector(X, V);
    const double D = zeq::PerformLillieforsTest(&V, false);
    const double PValue = zeq::LillieforsPValue(static_cast<int32_t>(X.size()), D);
    Report.Value("n", static_cast<double>(X.size()));
    Report.Value("Lilliefors D", D);
    Report.Value("p-value", PValue);
    Report.Value("verdict", PValue < Alpha ? "not normal" : "consistent with normal");
  } else if (Test == "outliers") {
    const std::vector<double>& X = FirstColumn(Data, 3);
    ToVector(X, V);
    double G;
    const int32_t Ix = zeq::GrubbsTest(&V, Alpha, G);
    Report.Value("n", static_cast<double>(X.size()));
    Report.Value("Grubbs G", G);
    Report.Value("critical value",
                 zeq::GrubbsCriticalValues(static_cast<int32_t>(X.size()), Alpha, true));
    Report.Value("outlier index", static_cast<double>(Ix));
    if (Ix > 0) Report.Value("outlier value", X[static_cast<size_t>(Ix - 1)]);
  } else if (Test == "runs") {
    const std::vector<double>& X = FirstColumn(Data, 2);
    ToVector(X, V);
    double PValue;
    zeq::RunsTestSerial(&V, PValue);
    Report.Value("n", static_cast<double>(X.size()));
    Report.Value("p-value", PValue);
    Report.Value("verdict", PValue < Alpha ? "not random" : "consistent with random order");
  } else if (Test == "anova") {
    if (Data.Values.size() < 2)
      throw TInputError(Data.Source + ": two columns needed (value and group)");
    ToVector(Data.Values[0], V);
    zeq::TIntVector Groups;
    Groups.Resize(V.NrOfElem());
    for (size_t i = 0; i < Data.Values[1].size(); ++i) {
      const double G = Data.Values[1][i];
      if (G != std::floor(G) || std::fabs(G) > 2e9)
        throw TInputError(Data.Source + ": group labels must be whole numbers (row " +
                          std::to_string(i + 1) + ")");
      Groups.SetVal(static_cast<int32_t>(i + 1), static_cast<int32_t>(G));
    }
    double SSB, SSW, SST, F;
    int32_t DfB, DfW, DfT;
    const double PValue = zeq::Anova1F(&V, &Groups, SSB, SSW, SST, DfB, DfW, DfT, F);
    if (PValue < 0)
      throw TInputError(Data.Source + (PValue == -1   ? ": only one group"
                                       : PValue == -2 ? ": every value is a group of its own"
                                                      : ": the values do not vary"));
    Report.Table("analysis of variance", {"source", "SS", "df", "MS"},
                 {{SSB, static_cast<double>(DfB), SSB / DfB},
                  {SSW, static_cast<double>(DfW), SSW / DfW},
                  {SST, static_cast<double>(DfT), NAN}},
                 {"between", "within", "total"});
    Report.Value("F", F);
    Report.Value("p-value", PValue);
  } else {
    throw TUsageError("unknown test '" + Test + "' (normality, outliers, runs, anova)");
  }
  Print(O, Report);
}

}  // namespace

TCommand TestCommand() {
  return {"test",
          "normality|outliers|runs|anova [options] [FILE]",
          "hypothesis tests",
          "normality: Lilliefors' test of the first column; outliers: Grubbs' two-sided test;\n"
          "runs: the runs test above and below the median; anova: one-way analysis of\n"
          "variance of the first column grouped by the whole numbers of the second.",
          {{"alpha", 0, "A", "significance level (default 0.05)"}},
          RunTest};
}

}  // namespace zeqcli
