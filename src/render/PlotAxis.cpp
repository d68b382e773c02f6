#include "render/PlotAxis.h"

#include "platform/gdi/DeviceContext.h"
#include "render/AxisTransform.h"
#include "render/NumberFormat.h"
#include "render/PlotEnv.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <utility>

using AxisTransform::kLinear;
using AxisTransform::kLogarithmic;
using AxisTransform::kProbability;
using AxisTransform::kReciprocal;

namespace {

constexpr double kMissingAbove = 9e27; // samples above this are missing
constexpr std::size_t kTickSlots = 18; // 17 ticks and the terminating 0
constexpr double kFloatMax = 3.4028234663852886e38;
constexpr double kReplacedInfinity = 3.4028234663852887e28;

// A finite double spans fewer than 650 decades (subnormals included); the bound only exists
// so that no input can keep a normalising loop running.
constexpr int kMaxDecades = 700;

// Rounds half away from zero the way an (int)(x +- 0.5) conversion does, but stays in double
// so that quotients beyond the 32-bit range keep their value instead of overflowing.
double RoundHalfAway(double x) {
    return x >= 0 ? std::floor(x + 0.5) : -std::floor(-x + 0.5);
}

double Pow10(double e) {
    return std::pow(10.0, e);
}

// Scales r into [1, 10] by factors of 10, counting the factors in e. False for values that
// have no decade (zero, negative, NaN, infinite).
bool NormaliseDecade(double& r, int& e) {
    e = 0;
    if (!std::isfinite(r) || r <= 0) return false;
    for (int i = 0; i < kMaxDecades && r < 1; ++i) {
        r *= 10;
        --e;
    }
    for (int i = 0; i < kMaxDecades && r > 10; ++i) {
        r /= 10;
        ++e;
    }
    return r >= 1 && r <= 10;
}

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

struct Candidate {
    double low = 0, high = 0, step = 0, count = 0;
};

// Snaps [lo, hi] outward to multiples of t; an end that lies within tol of the data is kept.
Candidate SnapToStep(double lo, double hi, double t, double tol) {
    Candidate c;
    c.step = t;
    c.low = RoundHalfAway(lo / t) * t;
    c.high = RoundHalfAway(hi / t) * t;
    c.count = RoundHalfAway((c.high - c.low) / t);
    if (c.low - lo > tol) {
        c.low -= t;
        c.count += 1;
    }
    if (hi - c.high > tol) {
        c.high += t;
        c.count += 1;
    }
    return c;
}

// An integer axis whose data start at 1 starts its scale at 1 rather than at 0: the high end
// moves up by one with it and gives a step back when that overshoots the data by a step. With
// steps beyond double precision the "+ 1" is lost, so the step is only given back when the
// scale still reaches the data.
void StartIntegerScaleAtOne(Candidate& c, double hi) {
    c.high += 1;
    c.low = 1;
    if (std::trunc(c.step) <= std::trunc(c.high) - std::trunc(hi) && c.high - c.step >= hi) {
        c.high -= c.step;
        c.count -= 1;
    }
}

bool AllFinite(const Candidate& c) {
    return std::isfinite(c.low) && std::isfinite(c.high) && std::isfinite(c.step) && c.step > 0;
}

} // namespace

CPlotAxis::CPlotAxis(int triKind_) : tickList(kTickSlots, 0.0), triKind(triKind_) {}

double CPlotAxis::ToPlot(double value) const {
    return AxisTransform::ToPlot(scaleType, value);
}

double CPlotAxis::FromPlot(double p) const {
    return AxisTransform::FromPlot(scaleType, p);
}

double CPlotAxis::TargetIntervals(double axisLength, double fontPoints, double scale) {
    const double label = 3.75 * fontPoints * scale;
    if (!(label > 0) || !(axisLength > 0) || !std::isfinite(label)) return 0;
    return axisLength / label;
}

namespace {

// The nice scale of an ordered range whose infinite ends were replaced.
void NiceScaleOfRange(int mode, double lo, double hi, double n, double intervalIn, double& outMin,
                      double& outMax, double& outInterval) {
    if (lo != 0 && (hi - lo) / std::fabs(lo) < 1e-7) hi = lo + std::fabs(lo) * 1e-7;
    if (lo == 0 && (hi - lo) / std::fabs(hi) < 1e-7) lo = hi - std::fabs(hi) * 1e-7;

    const bool integer = mode == 1 || mode == 3;
    // A fixed interval that is not a positive finite number cannot be snapped to; the axis
    // then picks its own interval as if none were fixed.
    const bool fixed = (mode == 2 || mode == 3) && std::isfinite(intervalIn) && intervalIn > 0;
    static constexpr double kSteps[] = {1, 2, 2.5, 5, 10};
    static constexpr int kScores[] = {2, 1, 1, 2, 2};
    static constexpr double kIntegerSteps[] = {1, 2, 5, 10};
    static constexpr int kIntegerScores[] = {2, 1, 2, 2};
    const double* steps = integer ? kIntegerSteps : kSteps;
    const int* scores = integer ? kIntegerScores : kScores;
    const int last = integer ? 3 : 4;

    // No scale for no intervals, and none from ends that are NaN or still infinite.
    if (!(n > 0)) return;
    if (!std::isfinite(lo) || !std::isfinite(hi)) return;
    const double tol = std::fabs(hi - lo) * 1e-7;

    auto emit = [&](const Candidate& c) {
        if (!AllFinite(c)) return;
        outMin = c.low;
        outMax = c.high;
        outInterval = c.step;
    };
    auto snap = [&](double t, bool integerStartsAtOne) {
        Candidate c = SnapToStep(lo, hi, t, tol);
        if (integerStartsAtOne && lo == 1 && c.low == 0) StartIntegerScaleAtOne(c, hi);
        emit(c);
    };

    if (fixed) {
        snap(intervalIn, integer);
        return;
    }

    double r = (hi - lo) / n;
    int e = 0;
    if (!NormaliseDecade(r, e)) return;
    int k = 0;
    for (int j = 1; j <= last; ++j) {
        if (std::fabs(steps[j] - r) < std::fabs(steps[k] - r)) k = j;
    }
    if (k == last) {
        k = 0;
        ++e;
    } else if (k == last - 1) {
        --k;
    }

    const double decade = Pow10(e);
    Candidate cand[3];
    for (int i = 0; i < 3; ++i) {
        const double t = steps[k + i] * decade;
        if (!(t > 0) || !std::isfinite(t)) return;
        cand[i] = SnapToStep(lo, hi, t, tol);
        if (integer && lo == 1 && cand[i].low == 0) StartIntegerScaleAtOne(cand[i], hi);
    }

    const double d0 = std::fabs(steps[k] - r);
    const double d2 = std::fabs(steps[k + 2] - r);
    int bonus0 = 0, bonus2 = 0;
    if ((d0 + d2) * 0.05 > std::fabs(d0 - d2)) {
        bonus0 = bonus2 = 1;
    } else if (d2 <= d0) {
        bonus2 = 1;
    } else {
        bonus0 = 1;
    }
    const double wanted = RoundHalfAway(n);
    const double a0 = std::fabs(cand[0].count - wanted);
    const double a2 = std::fabs(cand[2].count - wanted);
    const double nearest = std::min(a0, a2);
    int score[3] = {scores[k] + bonus0 + (a0 == nearest ? 1 : 0), scores[k + 1] + 2,
                    scores[k + 2] + bonus2 + (a2 == nearest ? 1 : 0)};
    for (int i = 0; i < 3; ++i) {
        if (integer && lo == 1 && cand[i].low < 1) score[i] -= 10;
        if (cand[i].high > 0) {
            // Rounding up past a power of ten the data did not reach costs a whole decade.
            const double power = Pow10(std::floor(std::log10(cand[i].high)));
            if (hi <= power && power < cand[i].high) score[i] -= 10;
        }
    }

    int chosen = 0;
    if (score[1] >= score[0] && score[1] >= score[2]) {
        chosen = 1;
    } else if (score[2] >= score[0]) {
        chosen = 2;
    }
    if (integer && cand[chosen].step != std::floor(cand[chosen].step)) {
        snap(1.0, false);
        return;
    }
    emit(cand[chosen]);
}

} // namespace

unsigned CPlotAxis::PLsetstm(int mode, double lo, double hi, double n, double intervalIn,
                             double& outMin, double& outMax, double& outInterval) {
    if (lo == hi) hi = lo + 1;
    if (lo > hi) std::swap(lo, hi);
    unsigned diagnostics = 0;
    if (-lo > kFloatMax) {
        diagnostics |= kLowerRangeInfinite;
        lo = -kReplacedInfinity;
    }
    if (hi > kFloatMax) {
        diagnostics |= kUpperRangeInfinite;
        hi = kReplacedInfinity;
    }
    NiceScaleOfRange(mode, lo, hi, n, intervalIn, outMin, outMax, outInterval);
    return diagnostics;
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
    NoteDiagnostics(PLsetstm(mode, viewMin, viewMax, targetIntervals, intervalIn, lo, hi, step));
    if (std::fabs(lo - viewMin) > 1e-7 || std::fabs(hi - viewMax) > 1e-7) {
        // The nice range can call for a different interval than the data range did.
        double lo2 = lo, hi2 = hi;
        NoteDiagnostics(PLsetstm(mode, lo, hi, targetIntervals, intervalIn, lo2, hi2, step));
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
    const double hi = viewMax;
    if (!(lo > 0) || !(hi > lo) || !std::isfinite(hi)) return;

    double loNorm = lo, hiNorm = hi;
    int c = 0, m = 0;
    if (!NormaliseDecade(loNorm, c) || !NormaliseDecade(hiNorm, m)) return;
    if (hiNorm != 1) ++m;
    int d = std::max(1, m - c);

    static constexpr double kMultiples[5][7] = {{1, 2, 4, 6, 8, 10},
                                                {1, 2, 5, 10, 20, 50, 100},
                                                {1, 5, 10, 50, 100, 500, 1000},
                                                {1, 10, 100, 1000, 10000},
                                                {1, 10, 100, 1000, 1e4, 1e5}};
    static constexpr int kCounts[5] = {6, 7, 7, 5, 6};
    double ticks[8] = {};
    int count = 0;
    if (d <= 5) {
        const double base = Pow10(c);
        count = kCounts[d - 1];
        for (int i = 0; i < count; ++i)
            ticks[i] = base * kMultiples[d - 1][i];
    } else {
        d = (d + 4) / 5 * 5;
        count = 6;
        for (int i = 0; i < count; ++i)
            ticks[i] = Pow10(c + i * d / 5);
    }
    // Ranges reaching the ends of the double range have decades without a representable tick;
    // such a list would be cut short by a 0 or end in infinity, so the old list stays.
    for (int i = 0; i < count; ++i) {
        if (!(ticks[i] > 0) || !std::isfinite(ticks[i])) return;
    }

    int first = 0;
    for (int i = 0; i < count; ++i) {
        if (ticks[i] <= viewMin) first = i;
    }
    int lastKept = count - 1;
    for (int i = first; i < count; ++i) {
        if (ticks[i] >= viewMax) {
            lastKept = i;
            break;
        }
    }
    tickList.assign(kTickSlots, 0.0);
    for (int i = first; i <= lastKept; ++i)
        tickList[i - first] = ticks[i];
    plotMin = std::log10(ticks[first]);
    plotMax = std::log10(ticks[lastKept]);
    // Taken in plot coordinates (decades), like every interval of the axis.
    if (interval == 0) interval = intervalCopy = (plotMax - plotMin) / 2;
}

void CPlotAxis::ProbabilityTicks() {
    static constexpr double kPercent[17] = {0.01, 0.1, 1,  5,  10, 20, 30,   40,   50,
                                            60,   70,  80, 90, 95, 99, 99.9, 99.99};
    if (!(viewMin >= 0.01)) viewMin = 0.01;
    if (!(viewMax <= 99.99)) viewMax = 99.99;
    if (viewMin > viewMax) {
        viewMin = 0.01;
        viewMax = 99.99;
    }
    tickList.assign(kTickSlots, 0.0);
    std::size_t j = 0;
    for (double p : kPercent) {
        if (p >= viewMin - 0.0001 && p <= viewMax + 0.0001) tickList[j++] = p;
    }
    plotMin = ToPlot(viewMin);
    plotMax = ToPlot(viewMax);
    // The tick drawing skips an axis whose interval is 0; a probability axis that never had
    // a linear scale gets one, as a logarithmic axis does.
    if (interval == 0) interval = intervalCopy = (plotMax - plotMin) / 2;
}

bool CPlotAxis::AddValue(double x, bool first) {
    // Missing samples, and values that no range can hold, leave the axis alone.
    if (!(x <= kMissingAbove) || !std::isfinite(x)) return false;
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
    RequestedFromView();
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
        RequestedFromView();
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

void CPlotAxis::RequestedFromView() {
    if (scaleType == kReciprocal) {
        const double a = FromPlot(viewMin), b = FromPlot(viewMax);
        reqMin = std::min(a, b);
        reqMax = std::max(a, b);
    } else {
        reqMin = viewMin;
        reqMax = viewMax;
    }
}

void CPlotAxis::PlotFromRequested() {
    const double a = ToPlot(reqMin), b = ToPlot(reqMax);
    plotMin = std::min(a, b);
    plotMax = std::max(a, b);
}

// The working range in data units. Comparing samples with it in data units also on
// logarithmic and probability axes keeps the autoscale test meaningful there.
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
    RequestedFromView();
    if (deferred) {
        scaleDirty = 1;
    } else {
        plotMin = viewMin;
        plotMax = viewMax;
    }
}

// ---- Drawing: tick walks, tick marks and labels ----

namespace {

constexpr int kMaxTicks = 100000; // no range and interval can make a walk run on
constexpr int kMarkSpacing = 5;   // marks closer than this to the last one are left out

std::string LabelText(const CPlotAxis::Tick& tick, double factor, const locale::Locale& locale) {
    if (tick.value > kMissingAbove) return "1/0";
    return NumberFormat::FormatNumber(tick.value * factor, 6, true, locale);
}

std::string MeasuredText(const CPlotAxis::Tick& tick, double factor, double step) {
    if (tick.value > kMissingAbove) return "1/0";
    return NumberFormat::TrimTrailingZeros(NumberFormat::FormatTickText(tick.value * factor, step));
}

// The longest run of labels that would overlap the last label accepted before them.
int LongestOverlapRun(const std::vector<int>& pos, const std::vector<int>& widths) {
    int longest = 0, run = 0;
    int accepted = pos.empty() ? 0 : pos[0];
    for (std::size_t i = 1; i < pos.size(); ++i) {
        if (std::abs(pos[i] - accepted) < widths[i]) {
            longest = std::max(longest, ++run);
        } else {
            accepted = pos[i];
            run = 0;
        }
    }
    return longest;
}

} // namespace

double CPlotAxis::DrawnInterval() const {
    double step = interval;
    if (scaleType != kLinear || !std::isfinite(step) || step == 0) return step;
    for (int i = 0; i < kMaxDecades && std::fabs(plotMax - plotMin) / std::fabs(step) > 50; ++i)
        step *= 10;
    return step;
}

double CPlotAxis::LabelFactor() const {
    if (multiplier == 0) return 1;
    return multiplierType == 0 ? Pow10(multiplier) : multiplier;
}

std::vector<CPlotAxis::Tick> CPlotAxis::DrawnTicks(double step) const {
    std::vector<Tick> ticks;
    auto labelValue = [&](double v) {
        if (std::fabs(v) < std::fabs(step) * 1e-4) v = 0;
        return v;
    };
    if (scaleType == kLogarithmic || scaleType == kProbability) {
        for (std::size_t i = 0; i < tickList.size() && tickList[i] != 0; ++i)
            ticks.push_back(Tick{ToPlot(tickList[i]), labelValue(tickList[i]), false});
        if (!ticks.empty()) ticks.back().last = true;
        return ticks;
    }
    if (!std::isfinite(step) || step == 0 || !std::isfinite(plotMin) || !std::isfinite(plotMax))
        return ticks;
    const double half = step / 2;
    double v = plotMin + (triKind != 0 ? step : 0);
    for (int i = 0; i < kMaxTicks; ++i) {
        if (v > plotMax + half || (triKind != 0 && v > plotMax - half)) break;
        ticks.push_back(Tick{v, FromPlot(labelValue(v)), v > plotMax - half});
        v = scaleType == kReciprocal ? (std::trunc(v / step + 0.5) + 1) * step : v + step;
    }
    return ticks;
}

std::vector<double> CPlotAxis::GridTicks() const {
    std::vector<double> ticks;
    if (scaleType == kLogarithmic || scaleType == kProbability) {
        for (std::size_t i = 0; i < tickList.size() && tickList[i] != 0; ++i)
            ticks.push_back(ToPlot(tickList[i]));
        return ticks;
    }
    if (!std::isfinite(interval) || interval <= 0 || !std::isfinite(plotMin)) return ticks;
    double v = plotMin;
    for (int i = 0; i < kMaxTicks && v <= plotMax + interval * 0.01; ++i) {
        ticks.push_back(v);
        v = scaleType == kReciprocal ? (std::trunc(v / interval + 0.5) + 1) * interval
                                     : v + interval;
    }
    return ticks;
}

void CPlotAxis::DrawTicks(gdi::IDeviceContext& dc, CPlotEnv& env, const CPlotFont* font,
                          int labelPos, int axisPos, bool vertical, bool skipOrigin,
                          gdi::ColorRef foreColor) const {
    // 1. The ticks and where they land.
    if (interval == 0) return;
    const double step = DrawnInterval();
    const std::vector<Tick> ticks = DrawnTicks(step);
    if (ticks.empty()) return;
    const double factor = LabelFactor();
    std::vector<int> pos(ticks.size());
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        const float p = static_cast<float>(ticks[i].plot);
        pos[i] = vertical ? env.MapY(p) : env.MapX(p);
    }
    // 2. Mark lengths grow with the output scale.
    const int t5 = static_cast<int>(5 * env.scale);
    const int t3 = static_cast<int>(3 * env.scale);

    gdi::StateScope state(dc);
    env.SelectColorPen(dc, foreColor, 1);
    dc.SetTextColor(foreColor);
    dc.SetBkMode(gdi::BackgroundMode::Transparent);

    // 3. Pass 1: measure the labels for the overlap thinning, draw the marks.
    // The drawn label can be longer than the measured one ("150.0" against "150"): thinning
    // by the longer of the two keeps neighbouring labels from running into each other.
    std::vector<int> widths(ticks.size());
    for (std::size_t i = 0; i < ticks.size(); ++i)
        widths[i] = std::max(
            env.MeasureText(font, dc, MeasuredText(ticks[i], factor, interval)).cx,
            env.MeasureText(font, dc, LabelText(ticks[i], factor, env.locale)).cx);
    const int skip = LongestOverlapRun(pos, widths);

    const std::size_t origin = reversed ? ticks.size() - 1 : 0;
    int lastMark = 0;
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        const bool omitted = vertical ? skipOrigin && i == origin : triKind == 0 && i == origin;
        if (omitted || std::abs(pos[i] - lastMark) <= kMarkSpacing) continue;
        lastMark = pos[i];
        if (vertical) {
            dc.MoveTo(axisPos, pos[i]);
            dc.LineTo(axisPos + t5, pos[i]);
        } else if (triKind == 1) {
            dc.MoveTo(pos[i] - t3, axisPos - t5);
            dc.LineTo(pos[i], axisPos);
            dc.LineTo(pos[i] + t3, axisPos - t5);
        } else {
            dc.MoveTo(pos[i], axisPos);
            dc.LineTo(pos[i], axisPos - t5);
        }
    }

    // 4. Pass 2: every (skip + 1)-th label, counted from a multiple of the interval.
    env.SelectFont(dc, font);
    dc.SetTextAlign(vertical ? gdi::AlignBaseline | gdi::AlignCenter
                             : gdi::AlignBottom | gdi::AlignCenter);
    long long u = 0;
    if (skip > 0) {
        const double first = RoundHalfAway(ticks[0].plot / step);
        u = static_cast<long long>(std::fmod(std::fabs(first), skip + 1.0));
        if (triKind != 0) u += skip - 1;
    }
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        if (skip > 0 && (static_cast<long long>(i) - u) % (skip + 1) != 0) continue;
        if (skipOrigin && !reversed && i == 0) continue;
        if (skipOrigin && reversed && ticks[i].last) break;
        const std::string text = LabelText(ticks[i], factor, env.locale);
        if (vertical)
            dc.TextOut(axisPos + t3 - t5, pos[i], text);
        else
            dc.TextOut(pos[i], labelPos, text);
    }
}

int CPlotAxis::HighEndLabelWidth(gdi::IDeviceContext& dc, const CPlotEnv& env,
                                 const CPlotFont* font) const {
    const double value = FromPlot(reversed ? plotMin : plotMax);
    const std::string text = value > kMissingAbove
                                 ? std::string("1/0")
                                 : NumberFormat::FormatNumber(value, 6, true, env.locale);
    return env.MeasureText(font, dc, text).cx;
}
