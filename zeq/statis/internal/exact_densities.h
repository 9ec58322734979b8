// Log-gamma, log-beta and the densities of Student's t, chi-square and F in long double, to
// near long double precision: what the t and F distributions and the random-number tables
// build on. The documented six-term log-gamma of the statistics unit is far less accurate.
#pragma once

namespace zeq::detail {

// ln Gamma(x), x > 0.
long double LnGammaExact(long double x);
// ln B(p, q), p, q > 0, accurate also when one or both arguments are large.
long double LnBetaExact(long double p, long double q);

// The densities; df > 0 is the caller's to check. At x = 0 the chi-square density is +Inf for
// df < 2 and the F density for df1 < 2; both are 0 below 0.
long double TDensityExact(long double t, long double df);
long double Chi2DensityExact(long double x, long double df);
long double FDensityExact(long double x, long double df1, long double df2);

// The Tail-quantile (0 < Tail <= 1/2) of the standard normal by the rational approximation of
// Hastings (absolute error below 4.5e-4): a start value for iterations.
long double NormalQuantileStart(long double Tail);

}  // namespace zeq::detail
