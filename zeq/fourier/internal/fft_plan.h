// The fast Fourier transform behind TFastFourier, on the component's interleaved data.
//
// The documented kernel is the radix-2 decimation in time with twiddles from a trigonometric
// recurrence. This one computes the same transform at least as accurately: the twiddles come
// from sine and cosine in extended precision, rounded once, and the butterflies run on split
// real and imaginary arrays, SIMD across the butterflies of a pass. Private to the unit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zeq::detail {

class TFftPlan {
 public:
  // A plan for N points (a power of two); the tables are built on the first Execute.
  explicit TFftPlan(size_t N = 0) : FN(N) {}
  size_t Size() const { return FN; }

  // X(n) = sum over k of x(k) e^(Sign 2 pi i n k / N) in place on N interleaved (re, im) pairs;
  // for Sign < 0 the result is divided by N.
  void Execute(double* Data, int Sign);

 private:
  void Prepare();

  size_t FN;
  // Per pass h = 4, 8, ..., N / 2: the h values e^(i pi j / h), and the negated sines.
  std::vector<double> FCos, FSin, FSinNeg;
  std::vector<size_t> FPassStart;  // offset of pass h in the tables, by log2 h
  std::vector<double> FRe, FIm;    // the split data
  std::vector<uint32_t> FRev;      // the bit-reversed index of each point
};

}  // namespace zeq::detail
