#pragma once

// The mark stored in every sample slot that holds no value. Anything above the threshold
// counts as missing: it is neither drawn nor used for ranges.
inline constexpr double MISSING_VALUE = 1e28;
inline constexpr double MISSING_THRESHOLD = 9e27;

inline bool IsMissing(double v) {
    return v > MISSING_THRESHOLD;
}
