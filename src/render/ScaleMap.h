#pragma once

#include <cmath>

// The mapping of one axis from plot coordinates to device coordinates, as a value: the plot
// coordinates at the two ends of a device span of length units that starts at origin. Drawing
// code takes it by value, so that no shared mapping has to be re-pointed and restored around
// a drawing step.
class CScaleMap {
public:
    // Device coordinates are clamped to this magnitude so that no mapping overflows.
    static constexpr int kDeviceLimit = 1 << 27;

    CScaleMap() = default;
    CScaleMap(float p0, float p1, int length, int origin)
        : p0_(p0), p1_(p1), length_(length), origin_(origin) {}

    // round((p − p0)·length/(p1 − p0)) + origin, half away from zero. Callers skip
    // non-finite values; a NaN maps to the device limit.
    int Map(float p) const {
        return Round((p - p0_) * static_cast<float>(length_) / (p1_ - p0_)) + origin_;
    }

    float P0() const { return p0_; }
    float P1() const { return p1_; }

private:
    static int Round(float v) {
        const double d = v;
        if (!(std::fabs(d) < kDeviceLimit)) return std::signbit(d) ? -kDeviceLimit : kDeviceLimit;
        return static_cast<int>(d >= 0 ? d + 0.5 : d - 0.5);
    }

    float p0_ = 0, p1_ = 1;
    int length_ = 1;
    int origin_ = 0;
};
