// Links against the installed library and checks one result of each unit.
#include <cstdio>
#include <vector>

#include "zeq/zeq.h"

int main() {
  std::vector<double> Data{3, 1, 2};
  zeq::SortArray(Data, true);
  zeq::TKahanSum Sum;
  for (double X : Data) Sum.Add(X);
  const bool Ok = Data == std::vector<double>{1, 2, 3} && Sum.Sum == 6.0;
  std::printf("zeq consumer: %s\n", Ok ? "ok" : "FAILED");
  return Ok ? 0 : 1;
}
