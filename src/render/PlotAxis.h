#pragma once

#include "render/AxisScale.h"
#include "render/AxisTransform.h"

#include <utility>
#include <vector>

// The ranges of one plot axis: the data, scrollable, requested, working and drawn ranges with
// the tick interval and the tick list, and the autoscale, zoom and scroll operations that move
// them. The scale arithmetic itself is AxisScale's; the axis region draws the ticks.
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
    // intervals (AxisScale::TargetIntervals); triGridInterval is the triangular grid interval
    // of the control, used only when triKind != 0.
    void UpdateScale(double targetIntervals, double triGridInterval = 0.1);
    // Keeps the diagnostics of scale computations (AxisScale::ScaleDiagnostic bits) until a
    // paint reports them; Take returns them and forgets them.
    void NoteDiagnostics(unsigned bits) { diagnostics_ |= bits; }
    unsigned TakeDiagnostics() { return std::exchange(diagnostics_, 0u); }
    void LogTickList();
    void ProbabilityTicks();

    // Widens an autoscaled axis for one sample; true when the scale became dirty.
    bool AddValue(double x, bool first);
    // True when values told one after another (none of them a first value) leave the axis as
    // its smallest and largest value told alone would: widening keeps the working range, so
    // only the extremes decide. A logarithmic autoscaled axis moves its working range as it
    // widens, and order then counts.
    bool WidensInAnyOrder() const {
        return timeAxis || !resetRange || scaleType != AxisTransform::kLogarithmic;
    }
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

    // The drawn scale as the tick walks read it; it views tickList, so it lives no longer
    // than the axis and its next recomputation.
    AxisScale::Division Division() const;

private:
    unsigned diagnostics_ = 0; // scale diagnostics not yet reported
    void ViewFromRequested();
    void PlotFromRequested();
    void ViewInDataUnits(double& lo, double& hi) const;
    void ApplyTickList(AxisScale::TickList list);
    void FullInPlot(double& lo, double& hi) const;
    void ApplyScrolledView(double lo, double hi, bool deferred);
};
