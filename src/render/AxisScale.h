#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

// The scale arithmetic of an axis, with no drawing and no axis object: a range goes in, a nice
// scale (low end, high end, tick interval) or a tick list comes out, and the tick walks that
// the tick drawing and the grid follow run over a drawn scale given as a value.
namespace AxisScale {

inline constexpr std::size_t kTickSlots = 18; // 17 ticks and the terminating 0
inline constexpr double kMissingAbove = 9e27; // values above this are missing ("1/0")

// Rounds half away from zero the way an (int)(x +- 0.5) conversion does, but stays in double
// so that quotients beyond the 32-bit range keep their value instead of overflowing.
double RoundHalfAway(double x);

// Wanted number of intervals for an axis of axisLength device units labelled in a font of
// fontPoints points at device scale factor scale; 0 when that cannot be worked out.
double TargetIntervals(double axisLength, double fontPoints, double scale);

// Nice scale for [lo, hi] with about n intervals. mode: 0 plain, 1 integer, 2 fixed
// interval, 3 integer with fixed interval. The outputs are left as they are when no scale can
// be produced (n <= 0, NaN ends).
void PLsetstm(int mode, double lo, double hi, double n, double intervalIn, double& outMin,
              double& outMax, double& outInterval);

// A tick list in data units, ended by a 0 and kTickSlots long, and the plot range it spans.
struct TickList {
    std::vector<double> ticks;
    double plotMin = 0, plotMax = 0;
};

// Ticks of a logarithmic axis whose decades run from lo to hi, trimmed to the working range
// [viewMin, viewMax]. Nothing when no list can be built: the axis keeps the one it has.
std::optional<TickList> LogTicks(double lo, double hi, double viewMin, double viewMax);

// Ticks of a probability axis: the working range is clamped into [0.01, 99.99] (the whole of
// it when the ends cross) and the standard percentages within it are listed.
TickList ProbabilityTicks(double& viewMin, double& viewMax);

// What the tick walks read of an axis's drawn scale.
struct Division {
    int scaleType = 0; // AxisTransform scale type
    int triKind = 0;   // 0 rectangular, 1 or 2 a side of a triangle
    double plotMin = 0, plotMax = 1;
    double interval = 0;              // plot coordinates
    std::span<const double> tickList; // logarithmic and probability axes, ended by a 0
};

// A tick: its plot coordinate, its label value in data units (above kMissingAbove when it has
// none, labelled "1/0") and whether it is the last tick at the high end.
struct Tick {
    double plot = 0;
    double value = 0;
    bool last = false;
};

// The interval the tick drawing steps by: on linear axes grown tenfold until at most 50 fit.
double DrawnInterval(const Division& d);
// The ticks drawn with the given interval (linear and reciprocal axes), or the tick list.
std::vector<Tick> DrawnTicks(const Division& d, double step);
// Plot coordinates of the grid lines: every interval up to plotMax + interval/100, or the
// tick list.
std::vector<double> GridTicks(const Division& d);
// The factor labels are multiplied by: 10^multiplier (multiplierType 0), or multiplier itself.
double LabelFactor(int multiplier, int multiplierType);

} // namespace AxisScale
