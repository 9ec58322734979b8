// Reader of the NIST StRD linear regression files kept under zeq/math2/testdata/nist/: the
// certified parameters B0, B1, ... and the data rows (y first, then the predictors).
#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "zeq/testing/test_util.h"

namespace zeq::test {

struct TNistRegression {
  std::vector<double> B;                  // certified parameters
  std::vector<std::vector<double>> Rows;  // y, x1, x2, ...
};

inline TNistRegression ReadNistRegression(const std::string& Name) {
  std::ifstream In(std::string(ZEQ_SOURCE_DIR) + "/zeq/math2/testdata/nist/" + Name + ".dat");
  TNistRegression S;
  bool InData = false;
  for (std::string L; std::getline(In, L);) {
    std::istringstream T(L);
    std::string Word;
    T >> Word;
    if (InData) {
      std::istringstream R(L);
      std::vector<double> V;
      for (double X; R >> X;) V.push_back(X);
      if (!V.empty()) S.Rows.push_back(V);
    } else if (Word.size() >= 2 && Word[0] == 'B' &&
               std::isdigit(static_cast<unsigned char>(Word[1]))) {
      double V;
      if (T >> V) S.B.push_back(V);
    } else if (Word == "Data:" && L.find("Response") == std::string::npos) {
      InData = true;
    }
  }
  return S;
}

}  // namespace zeq::test
