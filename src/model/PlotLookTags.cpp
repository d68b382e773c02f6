// The plot geometry that text annotations need for their tag points: plot coordinates to
// device points and back through the axis a variable is drawn on, the visible ranges, and
// the curve point nearest to a device point.
#include "model/PlotLook.h"
#include "render/MissingValue.h"

#include <algorithm>

namespace {

constexpr double kLargestFloat = 3.4028235e38; // a tag coordinate that lies on its axis
constexpr double kRangeTolerance = 1e-5;

bool OnAxis(double v) {
    return v >= kLargestFloat;
}

double AxisMinimum(const CPlotAxis& axis) {
    double lo = 0, hi = 1;
    axis.DrawnRange(lo, hi);
    return std::min(lo, hi);
}

bool WithinPlotRange(const CPlotAxis& axis, double v) {
    if (OnAxis(v)) return true;
    const double lo = std::min(axis.plotMin, axis.plotMax),
                 hi = std::max(axis.plotMin, axis.plotMax);
    return v >= lo - kRangeTolerance && v <= hi + kRangeTolerance;
}

} // namespace

// The Y axis a variable's points are drawn against, as the curve drawing chooses it.
static CPlotAxis* TagAxis(CPlotLook& look, int varNo) {
    if (look.flipped) return look.Axis(1);
    if (look.triMode == 1) return look.Axis(2);
    const CPlotVar* v = varNo > 0 ? look.YVar(varNo - 1) : nullptr;
    return look.Axis(v && v->axisNo > 0 ? v->axisNo : 1);
}

bool CPlotLook::PlotToDevice(CPlotPaintContext& ctx, double x, double y, int varNo, gdi::Point& p) {
    CPlotAxis* xAxis = Axis(0);
    CPlotAxis* yAxis = TagAxis(*this, varNo);
    if (!xAxis || !yAxis || !drawingRegion) return false;
    if (OnAxis(x)) x = AxisMinimum(*xAxis);
    if (OnAxis(y)) y = AxisMinimum(*yAxis);
    ctx.flipped = flipped;
    ctx.triKind = triMode;
    flipped ? MapDrawingRegion(ctx.env, yAxis, nullptr) : MapDrawingRegion(ctx.env, nullptr, yAxis);
    const bool mapped = drawingRegion->MapPoint(ctx, ctx.env.CurveMapping(), x, y, p);
    MapDrawingRegion(ctx.env);
    return mapped;
}

bool CPlotLook::DeviceToPlot(CPlotPaintContext& ctx, gdi::Point p, int varNo, double& x,
                             double& y) {
    CPlotAxis* yAxis = TagAxis(*this, varNo);
    if (!Axis(0) || !yAxis || !drawingRegion) return false;
    flipped ? MapDrawingRegion(ctx.env, yAxis, nullptr) : MapDrawingRegion(ctx.env, nullptr, yAxis);
    float wx = 0, wy = 0;
    if (auto* tri = dynamic_cast<const CPlotTriDrawingRgn*>(drawingRegion.get()))
        tri->DeviceToFractions(ctx.env, p.x, p.y, wx, wy);
    else
        ctx.env.DeviceToWorld(p.x, p.y, wx, wy);
    MapDrawingRegion(ctx.env);
    // Flipped plots run the X values up the vertical axis.
    x = flipped ? wy : wx;
    y = flipped ? wx : wy;
    return true;
}

bool CPlotLook::InPlotView(double x, double y, int varNo) {
    const CPlotAxis* xAxis = Axis(0);
    const CPlotAxis* yAxis = TagAxis(*this, varNo);
    return xAxis && yAxis && WithinPlotRange(*xAxis, x) && WithinPlotRange(*yAxis, y);
}

bool CPlotLook::NearestCurvePoint(CPlotPaintContext& ctx, gdi::Point a, double& best, int& varNo,
                                  double& x, double& y) {
    CPlotAxis* xAxis = Axis(0);
    if (!xAxis || !drawingRegion) return false;
    ctx.flipped = flipped;
    ctx.triKind = triMode;
    ctx.runPlot = runPlotActive;
    ctx.phasePlot = phasePlotActive;
    ctx.displayStart = xAxis->FromPlot(xAxis->plotMin);
    bool found = false;
    for (int i = 0; i < NYVars(); ++i) {
        const CPlotVar& v = *yVariables[size_t(i)];
        if (v.hidden || v.axisNo == 0) continue;
        CPlotAxis* yAxis = TagAxis(*this, i + 1);
        const CPlotVar* xVar = XVar(v.xVarNo > 0 ? v.xVarNo - 1 : 0);
        if (!xVar) xVar = XVar(0);
        if (!yAxis || !xVar) continue;
        flipped ? MapDrawingRegion(ctx.env, yAxis, nullptr)
                : MapDrawingRegion(ctx.env, nullptr, yAxis);
        CPlotDrawingRgn::CurveHit hit;
        drawingRegion->NearestCurvePoint(ctx, ctx.env.CurveMapping(), *xVar, v, *xAxis, *yAxis, a,
                                         best, hit, i);
        if (hit.varIndex != i) continue;
        found = true;
        varNo = i + 1;
        x = xAxis->ToPlot(hit.x);
        y = yAxis->ToPlot(hit.y);
    }
    MapDrawingRegion(ctx.env);
    return found;
}
