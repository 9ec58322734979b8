// Runs every worked example of the API reference; a failed expectation fails the program.
#include <cstdio>
#include <exception>

#include "examples.h"

int main() {
  using Example = void (*)();
  const Example All[] = {examples::BaseComponents,  examples::BaseBitField,
                         examples::BaseStreams,     examples::Math1Routines,
                         examples::ComplexNumbers,  examples::VectorDouble,
                         examples::VectorInteger,   examples::MatrixDense,
                         examples::MatrixSparse,    examples::Matrix3D,
                         examples::Matrix4D,        examples::StatisDistributions,
                         examples::StatisRandGen,   examples::StatisCrossValidator,
                         examples::Math2CurveFit,   examples::Math2Multivariate,
                         examples::FourierSpectrum, examples::WaveletTransform,
                         examples::StraightLines,   examples::KohonenMap,
                         examples::DataTable};
  try {
    for (Example Run : All) Run();
  } catch (const std::exception& E) {
    std::fprintf(stderr, "%s\n", E.what());
    return 1;
  }
  std::printf("%zu examples ran\n", sizeof All / sizeof All[0]);
  return 0;
}
