#pragma once

#include "platform/gdi/GdiTypes.h"

#include <string>
#include <utility>
#include <vector>

namespace gdi {
class IDeviceContext;
}
class CPlotEnv;
class CPlotFont;

// Range arithmetic of one plot axis: the data, scrollable, requested, working and drawn
// ranges, the nice scale and tick interval, the tick lists of logarithmic and probability
// axes, and the autoscale, zoom and scroll operations that move these ranges.
//
// Data units are the values of the plotted variables; plot coordinates are data values after
// the axis transform (ToPlot). The working range (viewMin, viewMax) is in data units except
// on reciprocal axes, where it holds the plot coordinates 1/reqMax, 1/reqMin.
class CPlotAxis {
public:
    explicit CPlotAxis(int triKind = 0);

    double dataMin = 0, dataMax = 1; // smallest and largest sample seen
    double fullMin = 0, fullMax = 1; // scrollable extent (scroll bars, zoom out limit)
    double reqMin = 0, reqMax = 1;   // requested range, data units
    double viewMin = 0, viewMax = 1; // working range
    double plotMin = 0, plotMax = 1; // drawn scale, plot coordinates
    double interval = 0;             // tick interval, plot coordinates
    // Tick values in data units for logarithmic and probability axes, ended by a 0. The
    // longest list holds 17 values, so the vector always keeps 18 slots.
    std::vector<double> tickList;
    double intervalCopy = 0; // last interval chosen
    int scaleType = 0;       // 0 linear, 1 logarithmic, 2 reciprocal, 3 probability (percent)
    int reversed = 0;        // the axis runs from high to low
    int integerAxis = 0;     // ticks at whole numbers only
    int multiplier = 0;      // label multiplier, 0 = none
    int multiplierType = 0;  // 0: labels times 10^multiplier, otherwise times multiplier
    int fixedInterval = 0;   // interval is used as given
    int resetRange = 1;      // autoscale to the data
    int triKind = 0;         // 0 rectangular, 1 equilateral triangle side, 2 right triangle side
    int timeAxis = 0;        // the time axis of a run plot
    int scaleDirty = 1;      // the scale must be recomputed
    int rangeSet = 0;        // a first sample or an explicit range has been applied
    int unsettled = 1;       // cleared when the scale is recomputed or a range is applied

    // Axis transform by scaleType and its inverse.
    double ToPlot(double value) const;
    double FromPlot(double p) const;

    // Recomputes the scale when scaleDirty. targetIntervals is the wanted number of tick
    // intervals (see TargetIntervals); triGridInterval is the triangular grid interval of
    // the control, used only when triKind != 0.
    void UpdateScale(double targetIntervals, double triGridInterval = 0.1);
    // Wanted number of intervals for an axis of axisLength device units labelled in a font
    // of fontPoints points at device scale factor scale; 0 when that cannot be worked out.
    static double TargetIntervals(double axisLength, double fontPoints, double scale);

    // Nice scale for [lo, hi] with about n intervals. mode: 0 plain, 1 integer, 2 fixed
    // interval, 3 integer with fixed interval. The outputs are left as they are when no
    // scale can be produced (n <= 0, NaN ends).
    // Returns the diagnostics of the call (ScaleDiagnostic bits); the routine prints nothing.
    static unsigned PLsetstm(int mode, double lo, double hi, double n, double intervalIn,
                             double& outMin, double& outMax, double& outInterval);
    // What the scale routine reports when it replaces an infinite end: one bit per message.
    enum ScaleDiagnostic : unsigned { kLowerRangeInfinite = 1u, kUpperRangeInfinite = 2u };
    static constexpr const char* kScaleDiagnosticText[] = {
        "Error at PLsetstm: lower range is minus Infinity\n",
        "Error at PLsetstm: upper range is Infinity\n"};
    // Keeps the diagnostics of scale computations until a paint reports them; Take returns
    // them and forgets them.
    void NoteDiagnostics(unsigned bits) { diagnostics_ |= bits; }
    unsigned TakeDiagnostics() { return std::exchange(diagnostics_, 0u); }
    void LogTickList();
    void ProbabilityTicks();

    // Widens an autoscaled axis for one sample; true when the scale became dirty.
    bool AddValue(double x, bool first);
    void SetDataRange(double lo, double hi, bool extendOnly);
    void SetViewRange(double lo, double hi);
    void SetRequestedRange(double lo, double hi);
    int SetScaleType(int type); // 1 when changed, 0 when refused or unchanged
    int ZoomAxis(int kind);     // 0 in, 1 out, 2 reset; 1 after a reset or a full zoom out
    void ScrollPositions(int& p0, int& p1) const; // scroll bar positions 0..1000
    void ScrollToPositions(int p0, int p1, bool deferred);
    // code 0/1: one step lower/higher, 2/3: one page lower/higher, otherwise a thumb
    // position. timeStep / timePage: the step and page a time axis uses; ignored elsewhere.
    void ScrollStep(int code, int position, bool vertical, bool deferred, double timeStep = 0,
                    double timePage = 0);
    void DrawnRange(double& lo, double& hi) const; // (plotMin, plotMax), swapped when reversed

    // Drawing. A tick: its plot coordinate, its label value in data units (above 9e27 when
    // it has none, labelled "1/0") and whether it is the last tick at the high end.
    struct Tick {
        double plot = 0;
        double value = 0;
        bool last = false;
    };
    // Tick marks and labels along a rectangular axis whose line lies at device coordinate
    // axisPos; labelPos is the label baseline of a horizontal axis. The device mapping of env
    // is set for this axis. vertical axes write their labels in font, which the caller gives
    // rotated. skipOrigin leaves out the tick where this axis meets the other one.
    void DrawTicks(gdi::IDeviceContext& dc, CPlotEnv& env, const CPlotFont* font, int labelPos,
                   int axisPos, bool vertical, bool skipOrigin, gdi::ColorRef foreColor = 0) const;
    // Width of the tick label at the high end (low end when reversed), scaled.
    int HighEndLabelWidth(gdi::IDeviceContext& dc, const CPlotEnv& env,
                          const CPlotFont* font) const;
    // The ticks DrawTicks walks with the given interval (linear and reciprocal axes).
    std::vector<Tick> DrawnTicks(double step) const;
    // Plot coordinates of the grid lines: every interval up to plotMax + interval/100, or the
    // tick list.
    std::vector<double> GridTicks() const;
    // The interval DrawTicks steps by: on linear axes grown tenfold until at most 50 fit.
    double DrawnInterval() const;
    // The factor labels are multiplied by: 10^multiplier, or multiplier itself.
    double LabelFactor() const;

private:
    unsigned diagnostics_ = 0; // ScaleDiagnostic bits not yet reported
    void ViewFromRequested();
    void RequestedFromView();
    void PlotFromRequested();
    void ViewInDataUnits(double& lo, double& hi) const;
    void FullInPlot(double& lo, double& hi) const;
    void ApplyScrolledView(double lo, double hi, bool deferred);
};
