#include "render/AxisTransform.h"

#include <cmath>

namespace AxisTransform {

namespace {

constexpr double kA = 0.147;
constexpr double kFourOverPi = 1.2732395447351628;
constexpr double kTwoOverPiA = 4.330746750799873;
const double kSqrt2 = std::sqrt(2.0);

double Sign(double x) {
    return x > 0 ? 1.0 : (x < 0 ? -1.0 : 0.0);
}

// E(x): approximation of the error function.
double Erf(double x) {
    const double x2 = x * x;
    if (x2 >= 36.0) return Sign(x);
    return Sign(x) * std::sqrt(1.0 - std::exp(-x2 * (kFourOverPi + kA * x2) / (1.0 + kA * x2)));
}

// I(y): the exact inverse of Erf above.
double ErfInverse(double y) {
    const double y2 = y * y;
    if (y2 >= 1.0) return Sign(y) * 6.0;
    const double l = std::log(1.0 - y2);
    const double b = kTwoOverPiA + l / 2.0;
    return Sign(y) * std::sqrt(std::sqrt(b * b - l / kA) - b);
}

} // namespace

double NormalCdf(double p) {
    return (Erf(p / kSqrt2) + 1.0) / 2.0;
}

double NormalQuantile(double u) {
    return kSqrt2 * ErfInverse(2.0 * u - 1.0);
}

double ToPlot(int scaleType, double value) {
    switch (scaleType) {
    case kLogarithmic:
        return value <= 0 ? kUnbounded : std::log10(value);
    case kReciprocal:
        return value == 0 ? kUnbounded : 1.0 / value;
    case kProbability:
        return NormalQuantile(value / 100.0);
    default:
        return value;
    }
}

double FromPlot(int scaleType, double p) {
    switch (scaleType) {
    case kLogarithmic:
        return std::pow(10.0, p);
    case kReciprocal:
        return p == 0 ? kUnbounded : 1.0 / p;
    case kProbability:
        return 100.0 * NormalCdf(p);
    default:
        return p;
    }
}

} // namespace AxisTransform
