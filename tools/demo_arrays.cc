// zeq-demo sections of the 4-D arrays and the self-organizing map: a stack of images over time
// with per-pixel statistics and a file round trip, and a map trained on three kinds of objects
// that prints which neurons each kind occupies.
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "demo_common.h"

namespace demo {

namespace {

// A deterministic value in [-0.5, 0.5) (a linear congruential sequence).
double Jitter(uint32_t& State) {
  State = State * 1664525u + 1013904223u;
  return static_cast<double>(State >> 8) / 16777216.0 - 0.5;
}

void ImageStack() {
  // 32 x 32 pixels, 3 colour layers, 6 time slots: a bright spot drifting to the right.
  zeq::TMat4D Stack;
  Stack.Resize(32, 32, 3, 6);
  uint32_t State = 5;
  for (int32_t t = 1; t <= 6; ++t)
    for (int32_t z = 1; z <= 3; ++z)
      for (int32_t y = 1; y <= 32; ++y)
        for (int32_t x = 1; x <= 32; ++x) {
          const double d2 = std::pow(x - 6.0 - 4 * t, 2) + std::pow(y - 16.0, 2);
          Stack.SetVal(x, y, z, t, 100 * std::exp(-d2 / 20) + 5 * Jitter(State) + 10 * z);
        }
  zeq::TMatrix Peak;
  Stack.MaximumOfLayersToMatrix(&Peak, 0, 0, 0, 0, 0, 0, 0, 0);
  double Lo, Hi;
  Stack.MinMax(0, 0, 0, 0, 0, 0, 0, 0, Lo, Hi);
  std::printf("  %d x %d x %d x %d array (%s MiB), values %s .. %s\n", Stack.NrOfColumns(),
              Stack.NrOfRows(), Stack.NrOfLayers(), Stack.NrOfTimeSlots(),
              Fixed(Stack.MemoryConsumed(), 3).c_str(), Fixed(Lo, 1).c_str(), Fixed(Hi, 1).c_str());
  std::printf("  the spot's track (maximum over layers and time, row 16):");
  for (int32_t x = 4; x <= 32; x += 4) std::printf(" %s", Fixed(Peak.GetVal(x, 16), 0).c_str());
  std::printf("\n");
  const std::string File = (std::filesystem::temp_directory_path() / "zeq_demo_stack.bin").string();
  Stack.SaveBinary(File, 0, 0);
  zeq::TMat4D Back;
  Back.LoadBinary(File, 0, 0);
  std::printf("  saved and loaded: %s bytes, check strings %s\n",
              std::to_string(std::filesystem::file_size(File)).c_str(),
              Back.CRCofData() == Stack.CRCofData() ? "equal" : "DIFFERENT");
  std::filesystem::remove(File);
}

void SelfOrganizingMap() {
  // Three kinds of objects of four features around their typical values.
  const double Typical[3][4] = {{5.0, 3.4, 1.5, 0.2}, {5.9, 2.8, 4.3, 1.3}, {6.6, 3.0, 5.6, 2.0}};
  zeq::TMatrix Data;
  Data.Resize(4, 60);
  uint32_t State = 11;
  for (int32_t r = 1; r <= 60; ++r)
    for (int32_t k = 1; k <= 4; ++k)
      Data.SetVal(k, r, Typical[(r - 1) / 20][k - 1] * (1 + 0.15 * Jitter(State)));
  zeq::TKohonen Map;
  Map.SetSizeX(8);
  Map.SetSizeY(4);
  Map.SetNrOfTrnSteps(60);
  Map.SetDataMat(&Data);
  Map.StandardizeData();
  zeq::SetRandSeed(2026);
  Map.Trainit();
  std::vector<std::string> Grid(4, std::string(8, '.'));
  zeq::TVector Object;
  Object.SetVecSize(4);
  for (int32_t r = 1; r <= 60; ++r) {
    for (int32_t k = 1; k <= 4; ++k) Object.SetVal(k, Data.GetVal(k, r));
    int32_t x = 1, y = 1;
    double D;
    Map.ApplyIt(&Object, x, y, D);
    char& Cell = Grid[static_cast<size_t>(y - 1)][static_cast<size_t>(x - 1)];
    const char Kind = static_cast<char>('A' + (r - 1) / 20);
    Cell = Cell == '.' || Cell == Kind ? Kind : '*';
  }
  std::printf("  an 8 x 4 map of 60 objects of kinds A, B, C (* where kinds share a neuron):\n");
  for (const std::string& Row : Grid) std::printf("    %s\n", Row.c_str());
}

}  // namespace

void ArraysAndMapsTour() {
  Heading("Image stacks over time and a self-organizing map");
  ImageStack();
  SelfOrganizingMap();
}

}  // namespace demo
