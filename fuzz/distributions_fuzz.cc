// The distribution functions on any arguments: every probability lies in [0, 1] (or is NaN
// for invalid arguments), complementary tails add up to one, and quantiles invert their
// distributions where both are defined.
#include <cmath>

#include "fuzz/fuzz_input.h"
#include "zeq/statis/statis.h"

namespace {

bool Probability(double P) { return std::isnan(P) || (P >= 0 && P <= 1 + 1e-12); }

// Parameters as a user might pass them: mostly moderate, sometimes any double.
double Parameter(zeq::fuzz::TFuzzInput& In) {
  const double X = In.Take<double>();
  return In.TakeBool() ? X : std::fmod(X, 1000.0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  zeq::fuzz::TFuzzInput In(Data, Size);
  const double x = Parameter(In), a = Parameter(In), b = Parameter(In);
  const int32_t n = In.TakeBool() ? In.Take<int32_t>() : In.TakeInRange(-2, 3000);
  ZEQ_FUZZ_CHECK(Probability(zeq::IncompleteBeta(x, a, b)));
  ZEQ_FUZZ_CHECK(Probability(zeq::IncompleteGamma(x, a)));
  ZEQ_FUZZ_CHECK(Probability(zeq::nDistriIntegral(x)));
  ZEQ_FUZZ_CHECK(Probability(zeq::tDistriIntegral(x, a)));
  const double F = zeq::fDistriIntegral(x, a, b), U = zeq::fDistriUpperTail(x, a, b);
  ZEQ_FUZZ_CHECK(Probability(F) && Probability(U));
  // The tails complement each other wherever the degrees of freedom are not absurd (the
  // range check above covers the rest: subnormal degrees of freedom lose the identity).
  const auto Sane = [](double df) { return df >= 1e-6 && df <= 1e15; };
  if (!std::isnan(F) && !std::isnan(U) && Sane(a) && Sane(b))
    ZEQ_FUZZ_CHECK(std::fabs(F + U - 1) < 1e-9);
  ZEQ_FUZZ_CHECK(Probability(zeq::KSPValue(n, x)));
  ZEQ_FUZZ_CHECK(Probability(zeq::ExactRunsTest(n, In.Take<int32_t>(), In.Take<int32_t>())));
  const double p = std::fabs(std::fmod(x, 1.0));
  if (p > 1e-300 && p < 1) {
    const double Z = zeq::nDistriQuantile(p);
    ZEQ_FUZZ_CHECK(std::isfinite(Z));
    if (a >= 1 && a <= 1e6) {
      const double T = zeq::tDistriQuantile(p, a);
      ZEQ_FUZZ_CHECK(!std::isnan(T));
      if (p > 1e-12 && p < 1 - 1e-12 && std::isfinite(T))
        ZEQ_FUZZ_CHECK(std::fabs(zeq::tDistriIntegral(T, a) - p) <= 1e-9 * std::max(p, 1e-3));
    }
  }
  return 0;
}
