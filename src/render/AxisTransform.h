#pragma once

// The four axis transforms between data values and plot coordinates, and the closed-form
// normal distribution approximations the probability axis is built on.
namespace AxisTransform {

// Stand-in for an end that has no finite image (log of a non-positive value, 1/0).
inline constexpr double kUnbounded = 1e28;

// Scale types, as stored in CPlotAxis::scaleType.
inline constexpr int kLinear = 0;
inline constexpr int kLogarithmic = 1;
inline constexpr int kReciprocal = 2;
inline constexpr int kProbability = 3;

// Standard normal cumulative distribution Φ(p) through the error-function approximation
// with a = 0.147; saturates at 0 and 1 beyond |p| = 6·√2.
double NormalCdf(double p);

// Inverse of NormalCdf: the quantile q(u) for a probability u in (0, 1); u at or beyond
// 0 or 1 gives ∓6·√2.
double NormalQuantile(double u);

// Data value -> plot coordinate for the given scale type (unknown types act linear).
double ToPlot(int scaleType, double value);

// Plot coordinate -> data value; the inverse of ToPlot.
double FromPlot(int scaleType, double p);

} // namespace AxisTransform
