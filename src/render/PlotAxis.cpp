#include "render/PlotAxis.h"

#include "render/AxisScale.h"
#include "render/AxisTransform.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>

using AxisTransform::kLinear;
using AxisTransform::kLogarithmic;
using AxisTransform::kProbability;
using AxisTransform::kReciprocal;

namespace {

// The value as a single-precision number would hold it (beyond the float range: infinity).
double ToSingle(double x) {
    // (2 - 2^-24) * 2^127 is the midpoint between FLT_MAX and 2^128; it and everything above
    // rounds to infinity.
    if (std::fabs(x) >= 0x1.ffffffp127)
        return std::copysign(std::numeric_limits<double>::infinity(), x);
    return static_cast<float>(x);
}

// A zero end of a reciprocal range has no image; the nearest usable stand-in is a value
// three decades beyond the other end.
void ReplaceZeroEnd(double& lo, double& hi) {
    if (lo == 0) lo = hi * 0.001;
    if (hi == 0) hi = lo * 0.001;
}

} // namespace

CPlotAxis::CPlotAxis(int triKind_) : tickList(AxisScale::kTickSlots, 0.0), triKind(triKind_) {}

double CPlotAxis::ToPlot(double value) const {
    return AxisTransform::ToPlot(scaleType, value);
}

double CPlotAxis::FromPlot(double p) const {
    return AxisTransform::FromPlot(scaleType, p);
}

void CPlotAxis::UpdateScale(double targetIntervals, double triGridInterval) {
    if (!scaleDirty) return;
    const bool ticksFromList = scaleType == kLogarithmic || scaleType == kProbability;
    // A layout pass without room for a single interval cannot produce a scale; the scale
    // stays dirty so that the next pass with a real axis length computes it.
    if (!ticksFromList && !(targetIntervals > 0)) return;
    scaleDirty = 0;
    unsettled = 0;
    ViewFromRequested();
    if (scaleType == kLogarithmic) {
        LogTickList();
        return;
    }
    if (scaleType == kProbability) {
        ProbabilityTicks();
        return;
    }

    const int mode = (integerAxis ? 1 : 0) + (fixedInterval ? 2 : 0);
    const double intervalIn = triKind ? triGridInterval : interval;
    double lo = plotMin, hi = plotMax, step = interval;
    AxisScale::PLsetstm(mode, viewMin, viewMax, targetIntervals, intervalIn, lo, hi, step);
    if (std::fabs(lo - viewMin) > 1e-7 || std::fabs(hi - viewMax) > 1e-7) {
        // The nice range can call for a different interval than the data range did.
        double lo2 = lo, hi2 = hi;
        AxisScale::PLsetstm(mode, lo, hi, targetIntervals, intervalIn, lo2, hi2, step);
    }
    if (scaleType == kReciprocal) {
        if (lo == 0) lo = viewMin;
        if (hi == 0) hi = viewMax;
    }
    if (triKind) {
        lo = std::clamp(lo, 0.0, 1.0);
        hi = std::clamp(hi, 0.0, 1.0);
    }
    plotMin = viewMin = lo;
    plotMax = viewMax = hi;
    if (scaleType != kReciprocal && !timeAxis) {
        if (ToSingle(dataMin) >= ToSingle(plotMin)) fullMin = plotMin;
        if (plotMax >= dataMax) fullMax = plotMax;
    }
    // A grid interval of 0 would leave the axis without ticks, so only a positive one caps.
    if (triKind && triGridInterval > 0 && step > triGridInterval) step = triGridInterval;
    interval = intervalCopy = step;
}

void CPlotAxis::LogTickList() {
    const double lo = viewMin <= 0 ? dataMin : viewMin;
    std::optional<AxisScale::TickList> list = AxisScale::LogTicks(lo, viewMax, viewMin, viewMax);
    if (!list) return;
    ApplyTickList(std::move(*list));
}

void CPlotAxis::ProbabilityTicks() {
    ApplyTickList(AxisScale::ProbabilityTicks(viewMin, viewMax));
}

void CPlotAxis::ApplyTickList(AxisScale::TickList list) {
    tickList = std::move(list.ticks);
    plotMin = list.plotMin;
    plotMax = list.plotMax;
    // The tick drawing skips an axis whose interval is 0, so an axis that never had a linear
    // scale gets one, taken in plot coordinates like every interval of the axis.
    if (interval == 0) interval = intervalCopy = (plotMax - plotMin) / 2;
}

bool CPlotAxis::AddValue(double x, bool first) {
    // Missing samples, and values that no range can hold, leave the axis alone.
    if (!(x <= AxisScale::kMissingAbove) || !std::isfinite(x)) return false;
    if (timeAxis) {
        dataMax = std::max(dataMax, x);
        return false;
    }
    if (first && !rangeSet) {
        dataMin = dataMax = x;
        if (resetRange) {
            const double a = 0.1 * std::fabs(x);
            double lo = x - a, hi = x + a;
            if (hi - lo < 1e-6) {
                lo -= 1e-5;
                hi += 1e-5;
            }
            reqMin = lo;
            reqMax = hi;
            ViewFromRequested();
        }
        // The data range was replaced even without autoscaling, so the next batch must not
        // replace it again, and the extent follows it at the next recomputation.
        rangeSet = 1;
        scaleDirty = 1;
        return true;
    }

    dataMin = std::min(dataMin, x);
    dataMax = std::max(dataMax, x);
    if (!resetRange) return false;
    const double margin = scaleType == kLinear ? ToSingle(0.1 * (viewMax - viewMin)) : 0.0;
    double low = 0, high = 0;
    ViewInDataUnits(low, high);
    if (x - margin < low) {
        reqMin = std::min(reqMin, x - margin);
    } else if (x + margin > high) {
        reqMax = std::max(reqMax, x + margin);
    } else {
        return false;
    }
    scaleDirty = 1;
    if (scaleType == kLogarithmic) {
        if (dataMin < viewMin) reqMin = viewMin = dataMin;
        if (dataMax > viewMax) reqMax = viewMax = dataMax;
    }
    return true;
}

void CPlotAxis::SetDataRange(double lo, double hi, bool extendOnly) {
    if (std::isnan(lo) || std::isnan(hi)) return;
    lo = ToSingle(lo);
    hi = ToSingle(hi);
    scaleDirty = 1;
    unsettled = 0;
    if (extendOnly) {
        dataMin = std::min(dataMin, lo);
        dataMax = std::max(dataMax, hi);
        if (lo < reqMin) reqMin = plotMin = lo;
        if (hi > reqMax) reqMax = plotMax = hi;
        return;
    }
    if (hi - lo < 1e-30) {
        lo = lo - 0.1 * std::fabs(lo);
        hi = hi + 0.1 * std::fabs(lo);
    }
    dataMin = lo;
    dataMax = hi;
    if (hi - lo < 1e-6) {
        lo -= 1e-5;
        hi += 1e-5;
    }
    reqMin = plotMin = lo;
    reqMax = plotMax = hi;
}

void CPlotAxis::SetViewRange(double lo, double hi) {
    if (std::isnan(lo) || std::isnan(hi)) return;
    if (scaleType == kReciprocal) {
        ReplaceZeroEnd(lo, hi);
        viewMin = ToPlot(hi);
        viewMax = ToPlot(lo);
    } else {
        viewMin = lo;
        viewMax = hi;
    }
    // A zero interval counts as too many intervals: it can never be drawn.
    if (fixedInterval && !(std::fabs((viewMax - viewMin) / interval) < 50)) fixedInterval = 0;
    reqMin = lo;
    reqMax = hi;
    if (timeAxis) {
        if (dataMax <= hi && hi <= fullMax) fullMax = hi;
        PlotFromRequested();
    }
    rangeSet = 1;
    scaleDirty = 1;
    unsettled = 0;
}

void CPlotAxis::SetRequestedRange(double lo, double hi) {
    if (std::isnan(lo) || std::isnan(hi)) return;
    if (scaleType == kLogarithmic && lo <= 0 && hi > 0.1) lo = 0.1;
    reqMin = lo;
    reqMax = hi;
    scaleDirty = 1;
    unsettled = 0;
}

int CPlotAxis::SetScaleType(int type) {
    if (type < kLinear || type > kProbability || type == scaleType) return 0;
    double lo = reqMin, hi = reqMax;
    if (type == kReciprocal) {
        if (!(lo * hi >= 0)) return 0;
        ReplaceZeroEnd(lo, hi);
    } else if (type == kLogarithmic) {
        if (!(hi > 0)) return 0;
        if (lo <= 0) lo = hi > 1000 ? 1 : hi * 0.001;
    }
    if (type == kReciprocal || type == kLogarithmic) {
        // The repaired range is the one both the request and the extent must use: a zero
        // or negative end has no plot coordinate on these axes.
        reqMin = fullMin = lo;
        reqMax = fullMax = hi;
    }
    scaleType = type;
    // The working range changes representation with the type (plot coordinates on
    // reciprocal axes); zoom and scroll before the next recomputation must see the new one.
    ViewFromRequested();
    scaleDirty = 1;
    return 1;
}

int CPlotAxis::ZoomAxis(int kind) {
    if (kind == 2) {
        if ((timeAxis && dataMax - dataMin < 1e-7) ||
            (scaleType == kReciprocal && dataMin <= 0 && dataMax >= 0)) {
            reqMin = fullMin;
            reqMax = fullMax;
        } else {
            reqMin = dataMin;
            reqMax = dataMax;
            if (timeAxis) fullMax = dataMax;
        }
        ViewFromRequested();
        if (reqMax - reqMin < 1e-30) {
            double plotLo = FromPlot(plotMin), plotHi = FromPlot(plotMax);
            if (plotLo > plotHi) std::swap(plotLo, plotHi);
            if (plotHi - plotLo > 1e-5) {
                reqMin = plotLo;
                reqMax = plotHi;
            } else {
                reqMin = reqMin - 0.1 * std::fabs(reqMin);
                reqMax = reqMax + 0.1 * std::fabs(reqMin);
            }
            if (reqMax - reqMin < 1e-14) {
                reqMin -= 1e-5;
                reqMax += 1e-5;
            }
            ViewFromRequested();
            PlotFromRequested();
        }
        scaleDirty = 1;
        return 1;
    }
    if (kind != 0 && kind != 1) return 0;
    if (scaleType != kLinear && scaleType != kReciprocal) return 0;

    double boundLo = 0, boundHi = 0;
    if (!timeAxis && dataMin == dataMax) {
        boundLo = viewMin;
        boundHi = viewMax;
    } else {
        boundLo = timeAxis ? fullMin : dataMin;
        boundHi = timeAxis ? fullMax : dataMax;
        if (scaleType == kReciprocal) {
            ReplaceZeroEnd(boundLo, boundHi);
            const double a = ToPlot(boundLo), b = ToPlot(boundHi);
            boundLo = std::min(a, b);
            boundHi = std::max(a, b);
        }
    }
    const double span = viewMax - viewMin;
    if (!std::isfinite(span) || !std::isfinite(boundLo) || !std::isfinite(boundHi)) return 0;

    double lo = 0, hi = 0;
    int reachedBoth = 0;
    if (kind == 0) {
        if (std::fabs(span / (boundHi - boundLo)) < 0.002) return 0;
        lo = viewMin + span / 4;
        hi = viewMin + 3 * span / 4;
    } else {
        lo = viewMin - span / 2;
        hi = lo + 2 * span;
        lo = std::max(lo, boundLo);
        hi = std::min(hi, boundHi);
        reachedBoth = lo == boundLo && hi == boundHi ? 1 : 0;
    }
    viewMin = lo;
    viewMax = hi;
    ViewInDataUnits(reqMin, reqMax);
    scaleDirty = 1;
    return reachedBoth;
}

void CPlotAxis::ScrollPositions(int& p0, int& p1) const {
    p0 = 0;
    p1 = 1000;
    if (scaleType == kLogarithmic || scaleType == kProbability) return;
    double lo = 0, hi = 0;
    FullInPlot(lo, hi);
    const double span = hi - lo;
    if (!(span > 0) || !std::isfinite(span)) return;
    // The bar only knows 0..1000: a view reaching beyond the extent shows as the bar's end.
    const double a = std::clamp((viewMin - lo) / span * 1001, 0.0, 1000.0);
    const double b = std::clamp(((viewMax - hi) / span + 1) * 1001, 0.0, 1000.0);
    p0 = std::isnan(a) ? 0 : static_cast<int>(a);
    p1 = std::isnan(b) ? 1000 : static_cast<int>(b);
    if (reversed) {
        const int low = 1000 - p1;
        p1 = 1000 - p0;
        p0 = low;
    }
}

void CPlotAxis::ScrollToPositions(int p0, int p1, bool deferred) {
    // Logarithmic and probability axes always report the whole bar; there is nothing to move.
    if (scaleType == kLogarithmic || scaleType == kProbability) return;
    double lo = 0, hi = 0;
    FullInPlot(lo, hi);
    const double span = hi - lo;
    if (!std::isfinite(span)) return;
    if (reversed) {
        ApplyScrolledView(hi - p1 * span / 1000, hi - p0 * span / 1000, deferred);
    } else {
        ApplyScrolledView(lo + p0 * span / 1000, lo + p1 * span / 1000, deferred);
    }
}

void CPlotAxis::ScrollStep(int code, int position, bool vertical, bool deferred, double timeStep,
                           double timePage) {
    // The working range of a probability axis is in percent while its extent and interval
    // are not comparable with it, so like logarithmic axes it does not scroll.
    if (scaleType == kLogarithmic || scaleType == kProbability) return;
    double extLo = 0, extHi = 0;
    FullInPlot(extLo, extHi);
    const double lo = viewMin, hi = viewMax;
    const double span = hi - lo;
    double step = interval, page = span;
    if (timeAxis) {
        // Without a usable time window the axis's own step and span stand in.
        if (timeStep > 0 && std::isfinite(timeStep)) step = timeStep;
        if (timePage > 0 && std::isfinite(timePage)) page = timePage;
    }
    if (!std::isfinite(span) || !std::isfinite(extLo) || !std::isfinite(extHi)) return;

    if (timeAxis && code == 1 && (position == 1 || position == 2)) {
        const double end = position == 1 ? fullMax : dataMax;
        const double start = std::max(0.0, end - page);
        viewMin = plotMin = start;
        viewMax = plotMax = end;
        ViewInDataUnits(reqMin, reqMax);
        if (deferred) scaleDirty = 1;
        return;
    }
    // Steps are counted in whole intervals; without a positive one there is no step.
    if (!(step > 0) || !std::isfinite(step)) return;

    if (reversed && code >= 0 && code <= 3) code ^= 1;
    double newLo = lo, newHi = hi;
    if (code == 0 || code == 2) {
        if (lo <= extLo) return;
        newLo = lo - (code == 0 ? step : page);
        const double limit = extLo - step / 2;
        if (newLo < limit) newLo += std::ceil((limit - newLo) / step) * step;
        if (timeAxis && newLo < 0) newLo = 0;
        newHi = newLo + span;
    } else if (code == 1 || code == 3) {
        if (hi >= extHi) return;
        newHi = hi + (code == 1 ? step : page);
        const double limit = extHi + (timeAxis ? step : step / 2);
        if (newHi > limit) newHi -= std::ceil((newHi - limit) / step) * step;
        newLo = newHi - span;
    } else {
        const double offset = std::clamp(position, 0, 1000) * (extHi - extLo) / 1001;
        const bool fromLow = vertical == (reversed != 0);
        const double target = fromLow ? extLo + offset : extHi - offset;
        const double current = fromLow ? lo : hi;
        if (!(std::fabs(target - current) > step / 2)) return;
        const double snapped = std::floor(target / step) * step;
        newLo = fromLow ? snapped : snapped - span;
        newHi = newLo + span;
        if (newHi > extHi) {
            newHi = extHi;
            newLo = newHi - span;
        }
        if (newLo < extLo) {
            newLo = extLo;
            newHi = newLo + span;
        }
    }
    if (scaleType == kReciprocal) ReplaceZeroEnd(newLo, newHi);
    ApplyScrolledView(newLo, newHi, deferred);
}

void CPlotAxis::DrawnRange(double& lo, double& hi) const {
    lo = reversed ? plotMax : plotMin;
    hi = reversed ? plotMin : plotMax;
}

void CPlotAxis::ViewFromRequested() {
    if (scaleType == kReciprocal) {
        viewMin = ToPlot(reqMax);
        viewMax = ToPlot(reqMin);
    } else {
        viewMin = reqMin;
        viewMax = reqMax;
    }
}

void CPlotAxis::PlotFromRequested() {
    const double a = ToPlot(reqMin), b = ToPlot(reqMax);
    plotMin = std::min(a, b);
    plotMax = std::max(a, b);
}

// The working range in data units, low end first: what the requested range follows after a
// zoom or scroll. Comparing samples with it in data units also on logarithmic and probability
// axes keeps the autoscale test meaningful there.
void CPlotAxis::ViewInDataUnits(double& lo, double& hi) const {
    if (scaleType == kReciprocal) {
        const double a = FromPlot(viewMin), b = FromPlot(viewMax);
        lo = std::min(a, b);
        hi = std::max(a, b);
    } else {
        lo = viewMin;
        hi = viewMax;
    }
}

// The scrollable extent in plot coordinates, low end first.
void CPlotAxis::FullInPlot(double& lo, double& hi) const {
    if (scaleType != kReciprocal) {
        lo = fullMin;
        hi = fullMax;
        return;
    }
    double a = fullMin, b = fullMax;
    ReplaceZeroEnd(a, b);
    a = ToPlot(a);
    b = ToPlot(b);
    lo = std::min(a, b);
    hi = std::max(a, b);
}

void CPlotAxis::ApplyScrolledView(double lo, double hi, bool deferred) {
    viewMin = lo;
    viewMax = hi;
    ViewInDataUnits(reqMin, reqMax);
    if (deferred) {
        scaleDirty = 1;
    } else {
        plotMin = viewMin;
        plotMax = viewMax;
    }
}

AxisScale::Division CPlotAxis::Division() const {
    return AxisScale::Division{scaleType, triKind, plotMin, plotMax, interval, tickList};
}
