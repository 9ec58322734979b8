// The worked examples of the API reference. Each example is a function whose body, between its
// snippet markers, is what the reference shows; the checks after the markers keep the printed
// results honest, and `api_examples` runs them all as a test.
#pragma once

#include <stdexcept>
#include <string>

namespace examples {

// Raises when an example's documented result does not hold.
inline void Expect(bool Holds, const std::string& What) {
  if (!Holds) throw std::runtime_error("example result does not hold: " + What);
}

void BaseComponents();
void BaseBitField();
void BaseStreams();
void Math1Routines();
void ComplexNumbers();
void VectorDouble();
void VectorInteger();
void MatrixDense();
void MatrixSparse();
void Matrix3D();
void Matrix4D();
void StatisDistributions();
void StatisRandGen();
void StatisCrossValidator();
void Math2CurveFit();
void Math2Multivariate();
void FourierSpectrum();
void WaveletTransform();
void StraightLines();
void KohonenMap();
void DataTable();

}  // namespace examples
