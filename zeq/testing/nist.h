// Reader of the NIST StRD data sets kept under the units' testdata/nist/ folders. Every set
// has a 60-line header holding the certified values and its data from line 61 on.
#pragma once

#include "zeq/testing/test_util.h"

namespace zeq::test {

struct TNistSet {
  std::vector<std::string> Header;        // lines 1..60
  std::vector<std::vector<double>> Rows;  // the numbers of each data line

  // The numbers of the first header line that starts (after blanks) with Start; words that
  // are not numbers are skipped ("B1  15.06  84.91" gives 15.06, 84.91 for Start "B1").
  std::vector<double> Line(const std::string& Start) const {
    for (const std::string& L : Header) {
      if (L.find_first_not_of(' ') == std::string::npos ||
          L.compare(L.find_first_not_of(' '), Start.size(), Start) != 0)
        continue;
      std::istringstream In(L.substr(L.find_first_not_of(' ') + Start.size()));
      std::vector<double> V;
      for (std::string W; In >> W;) {
        char* End = nullptr;
        const double X = std::strtod(W.c_str(), &End);
        if (*End == 0) V.push_back(X);
      }
      return V;
    }
    ADD_FAILURE() << "no certified line " << Start;
    return {0, 0, 0, 0};
  }
  // The certified regression parameters B0, B1, ... (the first number of each line).
  std::vector<double> B() const {
    std::vector<double> V;
    for (int j = 0; j < 11; ++j)
      for (const std::string& L : Header) {
        std::istringstream In(L);
        std::string Word;
        double X;
        if (In >> Word && Word == Cat("B", j) && In >> X) {
          V.push_back(X);
          break;
        }
      }
    return V;
  }
  // Column k (0-based) of the data.
  std::vector<double> Column(size_t k) const {
    std::vector<double> V;
    for (const auto& R : Rows) V.push_back(R[k]);
    return V;
  }
};

// The set Name of a unit's testdata/nist/ folder, e.g. ReadNist("vector", "Lew").
inline TNistSet ReadNist(const std::string& Unit, const std::string& Name) {
  std::ifstream In(std::string(ZEQ_SOURCE_DIR) + "/zeq/" + Unit + "/testdata/nist/" + Name +
                   ".dat");
  EXPECT_TRUE(In.good()) << "cannot read " << Name;
  TNistSet S;
  for (std::string L; std::getline(In, L);) {
    if (S.Header.size() < 60) {
      S.Header.push_back(L);
      continue;
    }
    std::istringstream R(L);
    std::vector<double> V;
    for (double X; R >> X;) V.push_back(X);
    if (!V.empty()) S.Rows.push_back(V);
  }
  return S;
}

}  // namespace zeq::test
