// Examples of the vectors: statistics and sorting with an exchange handler, integer histograms.
#include <vector>

#include "examples.h"
#include "zeq/vector/vector.h"

namespace examples {

void VectorDouble() {
  //! [TVector]
  zeq::TVector Times;  // one element, 0.0
  const double Measured[] = {7, 1, 2, 6, 3, 5, 4};
  Times.Resize(7);
  for (int32_t i = 1; i <= 7; ++i) Times.SetVal(i, Measured[i - 1]);  // 1-based

  double Mean, Variance, Q1, Q2, Q3;
  Times.MeanVar(0, 0, Mean, Variance);  // (0, 0): the whole vector; 4 and 4.666...
  Times.Quartiles(0, 0, Q1, Q2, Q3);    // 2, 4, 6 by the (n + 1) p rule

  // Sorting reports every exchange, so that data kept elsewhere can follow.
  std::vector<int> Labels{70, 10, 20, 60, 30, 50, 40};
  Times.OnSortExchange = [&](zeq::TObject*, uint8_t, int32_t I, int32_t J, int32_t, int32_t) {
    std::swap(Labels[I - 1], Labels[J - 1]);
  };
  Times.SortElems(true, 0, 0);        // Times 1..7, Labels 10..70
  double Outside = Times.GetVal(99);  // 0.0: reads outside the vector are neutral
  //! [TVector]
  Expect(Mean == 4 && Q1 == 2 && Q2 == 4 && Q3 == 6, "statistics");
  Expect(Times.GetVal(1) == 1 && Labels.front() == 10 && Labels.back() == 70, "sort handler");
  Expect(Outside == 0, "outside");
}

void VectorInteger() {
  //! [TIntVector]
  zeq::TIntVector Scores;
  Scores.Resize(8);
  const int32_t Values[] = {3, 7, 7, 1, 9, 4, 7, 20};
  for (int32_t i = 1; i <= 8; ++i) Scores.SetVal(i, Values[i - 1]);

  // Bins of width 5 from 0 to 9: [0, 4] and [5, 9]; 20 overflows (from LastBin + BinWidth on).
  zeq::TIntVector Histo;
  int32_t Under, Over, MaxCount;
  Scores.Histogram(1, 8, 0, 9, 5, &Histo, Under, Over, MaxCount);  // Histo 3, 4; Over 1
  int32_t Mode = Scores.Mode(0, 0);                                // 7
  //! [TIntVector]
  Expect(Histo.NrOfElem() == 2 && Histo.GetVal(1) == 3 && Histo.GetVal(2) == 4, "histogram");
  Expect(Under == 0 && Over == 1 && MaxCount == 4 && Mode == 7, "histogram counts");
}

}  // namespace examples
