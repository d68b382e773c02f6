#pragma once
#include <cmath>

// The axis multipliers as the pages show them: an exponent of ten (type 0) or a literal
// factor (type 1); 0 is none.
namespace Multiplier {

inline constexpr int kExponential = 0;
inline constexpr int kLiteral = 1;
inline constexpr int kLowest = -30;
inline constexpr int kHighest = 30;

inline bool InRange(int m) {
    return m >= kLowest && m <= kHighest;
}

// The factor shown values carry: 10 to the power m, m itself for a literal multiplier, 1 for
// none or an exponent out of range.
inline double Factor(int m, int type = kExponential) {
    if (m == 0) return 1.0;
    if (type != kExponential) return double(m);
    return InRange(m) ? std::pow(10.0, m) : 1.0;
}

} // namespace Multiplier
