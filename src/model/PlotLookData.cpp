// The data side of the plot model: streamed samples, points set by number, the time axis that
// follows the samples, and zooming and scrolling of the axes.
#include "model/PlotLook.h"
#include "model/VariableRanges.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

double Sample(double v) {
    return std::isfinite(v) ? v : MISSING_VALUE;
}

// Copies the scale of one axis onto another (square plots with the diagonal line, and the
// first side of a triangular plot).
void CopyScale(const CPlotAxis& from, CPlotAxis& to) {
    to.reqMin = from.reqMin, to.reqMax = from.reqMax;
    to.viewMin = from.viewMin, to.viewMax = from.viewMax;
    to.plotMin = from.plotMin, to.plotMax = from.plotMax;
    to.interval = from.interval, to.intervalCopy = from.intervalCopy;
    to.scaleDirty = from.scaleDirty;
}

// The smallest and largest sample of the variables the filter accepts; false when none has
// a sample.
template <class Filter>
bool UnionRange(const std::vector<std::unique_ptr<CPlotVar>>& vars, CVariableRanges& ranges,
                Filter accept, double& lo, double& hi) {
    bool any = false;
    for (const auto& v : vars) {
        double a, b;
        if (!accept(*v) || !ranges.Range(*v, a, b)) continue;
        lo = any ? std::min(lo, a) : a;
        hi = any ? std::max(hi, b) : b;
        any = true;
    }
    return any;
}

bool AnyVariable(const CPlotVar&) {
    return true;
}

// More steps than this means the unit is too small for the distance: jump instead of walking.
constexpr int kMaxTimeSteps = 10000;

// The first multiple of u beyond t. Far from zero the multiple can round back onto t (the
// unit is below the spacing of doubles there); the end then moves past t by what it can.
double JumpPast(double t, double u) {
    double F = (std::floor(t / u) + 1) * u;
    if (!(F > t)) F = t + u;
    if (!(F > t)) F = std::nextafter(t, std::numeric_limits<double>::infinity());
    return F;
}

} // namespace

void CPlotLook::TellAxis(int axisNo, double value, bool first, bool& grew) {
    if (IsMissing(value)) return;
    if (CPlotAxis* a = Axis(axisNo))
        if (a->AddValue(value, first)) grew = true;
}

// ---------------------------------------------------------------------------------------------
// Streamed samples

bool CPlotLook::AddTimeData(int varNo, double time, double value) {
    if (!runPlotActive || std::isnan(time) || std::isinf(time)) return false;
    CPlotVar* y = YVar(varNo - 1);
    if (!y || xVariables.empty()) return false;
    const TimeSlot slot = TakeTimeSlot(time);
    return slot.kind != TimeSlot::NotFound && StoreTimeSample(*y, slot, value);
}

bool CPlotLook::AddTimeBlock(std::span<const double> times, std::span<const double> values,
                             int firstVar) {
    if (!runPlotActive || times.empty() || xVariables.empty() || firstVar < 1) return false;
    const std::size_t columns = values.size() / times.size();
    if (columns == 0 || firstVar - 1 + columns > yVariables.size()) return false;
    // Each Y axis widens once for the block rather than once per sample.
    const std::size_t axes = std::size_t(NYAxes()) + 1;
    if (axisBatches_.size() < axes) axisBatches_.resize(axes);
    for (std::size_t k = 1; k < axes; ++k)
        axisBatches_[k].Start(Axis(int(k)));
    const auto block = std::span(yVariables).subspan(std::size_t(firstVar - 1), columns);
    if (StoresByColumn(times, block))
        StoreBlockByColumn(times, values, block);
    else
        StoreBlockByRow(times, values, block);
    bool grew = false;
    for (std::size_t k = 1; k < axes; ++k)
        grew |= axisBatches_[k].Finish();
    return grew;
}

// The samples of a block can be stored a variable at a time when the order of rows and
// variables cannot matter: no time writes missing values into every variable (negative and
// non-finite times), no value can be an axis's first, every axis takes its values in any
// order, and every variable is a ring as long as the time variable.
bool CPlotLook::StoresByColumn(std::span<const double> times,
                               std::span<const std::unique_ptr<CPlotVar>> block) {
    const CPlotVar& x = *xVariables[0];
    if (!x.ringMode || x.capacity == 0) return false;
    for (const double t : times)
        if (!(t >= 0) || std::isinf(t)) return false;
    for (const auto& y : block) {
        if (!y->ringMode || y->capacity != x.capacity) return false;
        const CPlotAxis* a = y->axisNo >= 1 ? Axis(y->axisNo) : nullptr;
        if (a && (!a->rangeSet || !a->WidensInAnyOrder())) return false;
    }
    return true;
}

void CPlotLook::StoreBlockByRow(std::span<const double> times, std::span<const double> values,
                                std::span<const std::unique_ptr<CPlotVar>> block) {
    const std::size_t columns = block.size();
    for (std::size_t r = 0; r < times.size(); ++r) {
        const double time = times[r];
        if (std::isnan(time) || std::isinf(time)) continue;
        const TimeSlot slot = TakeTimeSlot(time);
        if (slot.kind == TimeSlot::NotFound) continue;
        const double* row = values.data() + r * columns;
        for (std::size_t c = 0; c < columns; ++c)
            StoreBlockSample(*block[c], slot, row[c]);
    }
}

void CPlotLook::StoreBlockByColumn(std::span<const double> times, std::span<const double> values,
                                   std::span<const std::unique_ptr<CPlotVar>> block) {
    // The slot of every row first: the time variable and its axis alone change here.
    blockSlots_.clear();
    blockRows_.clear();
    for (std::size_t r = 0; r < times.size(); ++r) {
        const TimeSlot slot = TakeTimeSlot(times[r]);
        if (slot.kind == TimeSlot::NotFound) continue;
        blockSlots_.push_back(slot.slot);
        blockRows_.push_back(r);
    }
    // Then each variable takes its column, telling its axis's batch every value.
    const std::size_t columns = block.size();
    for (std::size_t c = 0; c < columns; ++c) {
        CPlotVar& y = *block[c];
        const bool told = y.axisNo >= 1 && std::size_t(y.axisNo) < axisBatches_.size();
        CAxisValueBatch* batch = told ? &axisBatches_[std::size_t(y.axisNo)] : nullptr;
        const double* column = values.data() + c;
        y.SetAtEach(blockSlots_, [&](std::size_t k) {
            const double sample = Sample(column[blockRows_[k] * columns]);
            if (batch) batch->Add(sample, false);
            return sample;
        });
    }
}

TimeSlot CPlotLook::TakeTimeSlot(double time) {
    CPlotVar& x = *xVariables[0];
    const TimeSlot slot = x.FindTime(time, true);
    if (slot.kind == TimeSlot::NotFound) return slot;
    // A negative time given a slot of its own: no Y variable has a sample there yet.
    if (time < 0 && slot.kind == TimeSlot::Appended)
        for (auto& v : yVariables)
            v->SetAt(slot.slot, MISSING_VALUE);
    bool grew = false; // the time axis reports no growth
    TellAxis(0, x.values[slot.slot], false, grew);
    return slot;
}

bool CPlotLook::StoreTimeSample(CPlotVar& y, const TimeSlot& slot, double value) {
    y.SetAt(slot.slot, Sample(value));
    if (y.axisNo < 1) return false;
    bool grew = false; // only the variable's own axis counts
    TellAxis(y.axisNo, Sample(value), IsFirstSample(y, slot), grew);
    return grew;
}

void CPlotLook::StoreBlockSample(CPlotVar& y, const TimeSlot& slot, double value) {
    const double sample = Sample(value);
    y.SetAt(slot.slot, sample);
    // Variables without an axis, or on one that does not exist, tell no axis.
    if (y.axisNo >= 1 && std::size_t(y.axisNo) < axisBatches_.size())
        axisBatches_[std::size_t(y.axisNo)].Add(sample, IsFirstSample(y, slot));
}

bool CPlotLook::AdvanceTimeAxisIfNeeded() {
    if (!runPlotActive || xVariables.empty()) return false;
    const CPlotVar& x = *xVariables[0];
    if (x.LastSlot() == 0) return false;
    const double t = float(x.LastSample());
    CPlotAxis& axis = *xAxisRegion->axis;
    const double end = axis.reversed ? axis.plotMin : axis.plotMax;
    if (!(t > end) || IsMissing(t)) return false;

    double F = axis.fullMax;
    if (F > t) {
        if (axis.dataMax > t && axis.dataMax > axis.reqMax) axis.scaleDirty = 1;
        return false;
    }
    const bool showFull = host.AlwaysShowFull();
    int steps = 0;
    while (!(F > t)) {
        double u = showFull ? axis.interval : host.TimeScrollUnit();
        if (!(u > 0) || !std::isfinite(u)) u = std::max(host.TimeWindow() * 0.2, 1e-3);
        F = ++steps < kMaxTimeSteps ? StepTimeAxis(F, u) : JumpPast(t, u);
        if (showFull) {
            host.SetTimeWindowValue(float(F - axis.fullMin));
            host.SetTimeScrollUnitValue(float(u));
        }
        RecomputeTimeRange(axis, F, showFull);
    }
    return true;
}

double CPlotLook::StepTimeAxis(double F, double u) const {
    // In single precision, as the scroll positions of a live plot always were: F moves to the
    // multiple of u nearest to F + u, halves rounding up.
    const float fu = float(u);
    const float sum = (float(F) + fu) + fu * 0.5f;
    return double(std::trunc(sum / fu) * fu);
}

void CPlotLook::RecomputeTimeRange(CPlotAxis& axis, double fullMax, bool alwaysShowFull) {
    const double window = host.TimeWindow();
    double start = alwaysShowFull ? axis.fullMin : fullMax - window;
    if (start < 0 && axis.fullMin >= 0) start = 0;
    axis.fullMax = fullMax;
    axis.reqMin = axis.viewMin = axis.plotMin = start;
    axis.reqMax = axis.viewMax = axis.plotMax = fullMax;
    // The nice scale leaves its outputs alone when it cannot produce one.
    double lo = start, hi = fullMax, interval = 0;
    axis.NoteDiagnostics(
        AxisScale::PLsetstm(0, start, fullMax, 5, axis.interval, lo, hi, interval));
    if (interval > 0) axis.interval = axis.intervalCopy = interval;
    axis.scaleDirty = 0;
}

bool CPlotLook::AddPhaseData(float xValue, std::span<const float> ys) {
    if (xVariables.empty() || !xVariables[0]->ringMode) return false;
    bool grew = false;
    CPlotVar& x = *xVariables[0];
    x.Push(Sample(xValue));
    TellAxis(0, Sample(xValue), x.writePos == 1 && !x.wrapped, grew);
    const size_t n = std::min(ys.size(), size_t(host.NVariables()));
    for (size_t i = 0; i < n && i < yVariables.size(); ++i) {
        CPlotVar& y = *yVariables[i];
        y.Push(Sample(ys[i]));
        if (y.axisNo >= 1) TellAxis(y.axisNo, Sample(ys[i]), y.writePos == 1 && !y.wrapped, grew);
    }
    return grew;
}

void CPlotLook::RewindTimeData(double startTime) {
    if (phasePlotActive && startTime == 0) {
        for (auto& v : xVariables)
            v->Truncate(0, true);
        for (auto& v : yVariables)
            v->Truncate(0, true);
    }
    if (!runPlotActive || xVariables.empty() || std::isnan(startTime)) return;
    CPlotVar& x = *xVariables[0];
    const TimeSlot slot = x.FindTime(startTime, false);
    const bool clearAll = slot.kind == TimeSlot::NotFound;
    x.Truncate(slot.slot, clearAll);
    for (auto& v : yVariables)
        v->Truncate(slot.slot, clearAll);
    // Annotations tagged to points on a curve go with the points.
    if (overlay) overlay->CurvePointsRewound();

    CPlotAxis& axis = *xAxisRegion->axis;
    if (startTime < axis.viewMin) {
        const double end = startTime + host.TimeWindow();
        axis.viewMin = axis.plotMin = startTime;
        axis.viewMax = axis.plotMax = axis.reqMax = axis.fullMax = end;
    }
    double lo, hi;
    if (x.Range(lo, hi)) {
        axis.dataMin = lo;
        axis.dataMax = hi;
    } else {
        axis.dataMin = axis.dataMax = 0;
    }
    axis.scaleDirty = 1;
}

bool CPlotLook::CopyToBuffer(const float* data, int rows, int columns) {
    if ((!runPlotActive && !phasePlotActive) || !data || rows <= 0 || columns <= 0) return false;
    const int usable = std::min(columns, NYVars() + 1);

    // Axes that fit themselves to the data start their range afresh from this batch.
    for (int j = 1; j < usable; ++j) {
        CPlotVar& y = *yVariables[size_t(j - 1)];
        CPlotAxis* a = y.axisNo >= 1 ? Axis(y.axisNo) : nullptr;
        if (!a || !a->resetRange) continue;
        for (int k = 0; k < rows; ++k)
            if (!IsMissing(Sample(data[size_t(k) * size_t(columns) + size_t(j)]))) {
                a->rangeSet = 0;
                break;
            }
    }
    std::vector<CPlotAxis*> told;
    for (int j = 0; j < usable; ++j) {
        CPlotVar& v = j == 0 ? *xVariables[0] : *yVariables[size_t(j - 1)];
        CPlotAxis* a = (j > 0 && v.axisNo >= 1) ? Axis(v.axisNo) : nullptr;
        if (a && !a->resetRange) a = nullptr;
        for (int k = 0; k < rows; ++k) {
            const double value = Sample(data[size_t(k) * size_t(columns) + size_t(j)]);
            v.SetAt(v.RingSlotOf(std::uint32_t(k)), value);
            if (!a || IsMissing(value)) continue;
            const bool first = std::find(told.begin(), told.end(), a) == told.end();
            if (first) told.push_back(a);
            a->AddValue(value, first);
        }
    }
    for (CPlotAxis* a : told)
        a->scaleDirty = 1;

    CPlotAxis& axis = *xAxisRegion->axis;
    double lo, hi;
    const bool hasTimes = xVariables[0]->Range(lo, hi);
    axis.dataMin = hasTimes ? lo : 0;
    axis.dataMax = hasTimes ? hi : 0;
    bool moved = false;
    if (!phasePlotActive && hasTimes) {
        double u = host.TimeScrollUnit();
        if (!(u > 0) || !std::isfinite(u)) u = std::max(host.TimeWindow() * 0.2, 1e-3);
        int steps = 0;
        while (!(axis.fullMax > hi)) {
            const double F =
                ++steps < kMaxTimeSteps ? StepTimeAxis(axis.fullMax, u) : JumpPast(hi, u);
            RecomputeTimeRange(axis, F, false);
            moved = true;
        }
    }
    rangeDirty = 1;
    return moved;
}

// ---------------------------------------------------------------------------------------------
// Points set by number

void CPlotLook::SetData(int varNo, int dataNo, double value) {
    if (dataNo < 0) return;
    CPlotVar* v = varNo == 0 ? XVar(0) : YVar(varNo - 1);
    if (!v) return;
    v->SetAt(std::uint32_t(dataNo), Sample(value));
    rangeDirty = dataDirty = 1;
}

void CPlotLook::SetXData(int varNo, int dataNo, double value) {
    CPlotVar* v = XVar(varNo - 1);
    if (!v || dataNo < 0) return;
    v->SetAt(std::uint32_t(dataNo), Sample(value));
    rangeDirty = 1;
}

bool CPlotLook::GetData(int varNo, int dataNo, double& value) const {
    auto& self = const_cast<CPlotLook&>(*this);
    const CPlotVar* v = varNo == 0 ? self.XVar(0) : self.YVar(varNo - 1);
    if (!v || varNo < 0) return false;
    if (dataNo < 0) {
        value = MISSING_VALUE;
        return false;
    }
    return v->Get(std::uint32_t(dataNo), value);
}

bool CPlotLook::GetXData(int varNo, int dataNo, double& value) const {
    const CPlotVar* v = const_cast<CPlotLook&>(*this).XVar(varNo - 1);
    if (!v) return false;
    if (dataNo < 0) {
        value = MISSING_VALUE;
        return false;
    }
    return v->Get(std::uint32_t(dataNo), value);
}

// ---------------------------------------------------------------------------------------------
// Zoom and scroll

void CPlotLook::CopyScaleToDiagonalPartner(bool fromX) {
    CPlotAxis* x = Axis(0);
    CPlotAxis* y = Axis(1);
    if (!x || !y) return;
    if (fromX)
        CopyScale(*x, *y);
    else
        CopyScale(*y, *x);
}

void CPlotLook::ZoomIn(bool xOnly) {
    CPlotAxis& x = *xAxisRegion->axis;
    x.ZoomAxis(0);
    x.scaleDirty = 1;
    if (x.timeAxis) host.SetTimeWindowValue(float(x.viewMax - x.viewMin));
    if (xOnly) return;
    if (triMode == 1 && NYAxes() >= 2 && Axis(1) && Axis(2)) {
        Axis(2)->ZoomAxis(0);
        Axis(2)->scaleDirty = 1;
        CopyScale(*Axis(2), *Axis(1));
        return;
    }
    for (int k = 1; k <= NYAxes(); ++k)
        if (CPlotAxis* a = Axis(k)) a->ZoomAxis(0), a->scaleDirty = 1;
    if (squarePlot && diagonalLine) CopyScaleToDiagonalPartner(true);
}

bool CPlotLook::ZoomOut(bool xOnly) {
    CPlotAxis& x = *xAxisRegion->axis;
    bool full = x.ZoomAxis(1) == 1;
    x.scaleDirty = 1;
    if (x.timeAxis) host.SetTimeWindowValue(float(x.viewMax - x.viewMin));
    if (xOnly) return full;
    if (triMode == 1 && NYAxes() >= 2 && Axis(1) && Axis(2)) {
        full = (Axis(2)->ZoomAxis(1) == 1) && full;
        Axis(2)->scaleDirty = 1;
        CopyScale(*Axis(2), *Axis(1));
        return full;
    }
    for (int k = 1; k <= NYAxes(); ++k)
        if (CPlotAxis* a = Axis(k)) {
            full = (a->ZoomAxis(1) == 1) && full;
            a->scaleDirty = 1;
        }
    if (squarePlot && diagonalLine) CopyScaleToDiagonalPartner(true);
    return full;
}

void CPlotLook::ZoomFull() {
    CPlotAxis& x = *xAxisRegion->axis;
    if (runPlotActive) {
        // The time axis shows all its data, and at least one time window.
        const double end = std::max(x.dataMax, x.dataMin + host.TimeWindow());
        x.fullMin = x.reqMin = x.viewMin = x.plotMin = x.dataMin;
        x.fullMax = x.reqMax = x.viewMax = x.plotMax = end;
        x.scaleDirty = 1;
    } else {
        x.ZoomAxis(2);
        x.scaleDirty = 1;
    }
    for (int k = 1; k <= NYAxes(); ++k)
        if (CPlotAxis* a = Axis(k)) a->ZoomAxis(2), a->scaleDirty = 1;
    if (squarePlot && diagonalLine) CopyScaleToDiagonalPartner(true);
}

bool CPlotLook::CanScrollVertically() const {
    return !yAxisRegions.empty() && yAxisRegions[0] && yAxisRegions[0]->axis->scaleType != 1;
}

void CPlotLook::ScrollAxis(CPlotAxis& axis, int code, int value, bool vertical) {
    if (axis.scaleType == 1) return; // logarithmic axes do not scroll by steps
    axis.ScrollStep(code, value, vertical, false, host.TimeScrollUnit(), host.TimeWindow());
}

void CPlotLook::Scroll(bool horizontal, int code, int value) {
    scrollDirty = 1;
    if (horizontal) {
        ScrollAxis(*xAxisRegion->axis, code, value, false);
        if (squarePlot && diagonalLine) CopyScaleToDiagonalPartner(true);
        return;
    }
    if (triMode && !CanScrollVertically()) return;
    static constexpr int kMirror[] = {1, 0, 3, 2};
    const int mirrored = code >= 0 && code <= 3 ? kMirror[code] : code;
    CPlotAxis* first = Axis(1);
    if (!first) return;
    ScrollAxis(*first, mirrored, value, true);
    if (!triMode)
        for (int k = 2; k <= NYAxes(); ++k)
            if (CPlotAxis* a = Axis(k)) ScrollAxis(*a, mirrored, value, true);
    if (squarePlot && diagonalLine) CopyScaleToDiagonalPartner(false);
}

void CPlotLook::GetScroll(bool horizontal, int& p0, int& p1) {
    CPlotAxis* a = horizontal ? Axis(0) : Axis(1);
    if (a) a->ScrollPositions(p0, p1);
}

// ---------------------------------------------------------------------------------------------
// Passes of the paint

bool CPlotLook::SizeToData(CVariableRanges& ranges) {
    if (triMode) return false;
    bool changed = false;
    double lo = 0, hi = 0;
    CPlotAxis& x = *xAxisRegion->axis;
    if (!runPlotActive && x.resetRange && UnionRange(xVariables, ranges, AnyVariable, lo, hi)) {
        x.SetDataRange(lo, hi, false);
        changed = true;
    }
    for (int k = 1; k <= NYAxes(); ++k) {
        CPlotAxis* a = Axis(k);
        auto onAxis = [k](const CPlotVar& v) { return v.axisNo == k; };
        if (a && a->resetRange && UnionRange(yVariables, ranges, onAxis, lo, hi)) {
            a->SetDataRange(lo, hi, false);
            changed = true;
        }
    }
    if (CPlotAxis* y = Axis(1); squarePlot && diagonalLine && y) {
        // Both axes show the union, so that the diagonal runs corner to corner.
        const double low = std::min(x.dataMin, y->dataMin);
        const double high = std::max(x.dataMax, y->dataMax);
        x.SetDataRange(low, high, false);
        y->SetDataRange(low, high, false);
        rangeDirty = 0;
    }
    return changed;
}

void CPlotLook::RangePass(CVariableRanges& ranges) {
    if (triMode) return;
    CPlotAxis& x = *xAxisRegion->axis;
    double lo = 0, hi = 0;
    if (!runPlotActive && x.resetRange && UnionRange(xVariables, ranges, AnyVariable, lo, hi))
        x.SetDataRange(lo, hi, false);
    std::vector<CPlotAxis*> touched;
    for (auto& v : yVariables) {
        CPlotAxis* a = v->axisNo >= 1 ? Axis(v->axisNo) : nullptr;
        if (!a || !a->resetRange || !ranges.Range(*v, lo, hi)) continue;
        const bool first = std::find(touched.begin(), touched.end(), a) == touched.end();
        if (first) touched.push_back(a);
        a->SetDataRange(lo, hi, !first);
    }
    for (CPlotAxis* a : touched)
        a->scaleDirty = 1;
}

void CPlotLook::UpdateAxisScales() {
    // Before the first layout the regions have no size: use that of a new control.
    auto length = [](const CPlotAxisRgn& r, bool vertical) {
        const int size = vertical ? r.rect.height() : r.rect.width();
        return size > 0 ? double(size) : (vertical ? 220.0 : 300.0);
    };
    const double points = fonts[AxisFont].size > 0 ? fonts[AxisFont].size : 10;
    auto update = [&](CPlotAxisRgn* r, bool vertical) {
        if (!r) return;
        if (r->axis->timeAxis && timeScrolled) return;
        r->axis->UpdateScale(AxisScale::TargetIntervals(length(*r, vertical), points, 1.0));
    };
    update(xAxisRegion.get(), flipped != 0);
    for (auto& r : yAxisRegions)
        update(r.get(), flipped == 0);
}
