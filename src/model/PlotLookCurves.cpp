#include "model/PlotLook.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kNarrowRange = 1e-5;

// A Y range narrower than 1e-5 is widened around its centre so that a flat curve is drawn.
void WidenNarrowRange(CPlotAxis& axis) {
    double lo = std::min(axis.plotMin, axis.plotMax), hi = std::max(axis.plotMin, axis.plotMax);
    if (!(std::fabs(hi - lo) < kNarrowRange)) return;
    const double c = (lo + hi) / 2;
    if (c != 0) {
        lo = c - std::fabs(c) * 3e-4;
        hi = c + std::fabs(c) * 5e-4;
    } else {
        lo = -1e-6;
        hi = 1e-6;
    }
    axis.SetDataRange(axis.FromPlot(lo), axis.FromPlot(hi), false);
    axis.plotMin = lo;
    axis.plotMax = hi;
}

// The mapping of a curve on axis: device y from the axis's drawn range, its high end at the
// top. Flipped plots run the X values up the vertical axis, which is the environment's.
CurveGeometry::CurveMap CurveMapOn(const CPlotEnv& env, const CPlotAxis& axis, bool flipped) {
    if (flipped) return env.CurveMapping();
    double lo = 0, hi = 0;
    axis.DrawnRange(lo, hi);
    return env.CurveMapping(static_cast<float>(hi), static_cast<float>(lo));
}

} // namespace

// The plot values the drawing region reads: the model is their source, and this is the one
// place they are copied into a paint's context (docs/design.md).
static void FillDrawingContext(CPlotLook& look, CPlotPaintContext& ctx) {
    ctx.runPlot = look.runPlotActive;
    ctx.phasePlot = look.phasePlotActive;
    ctx.flipped = look.flipped;
    ctx.gridType = look.gridType;
    ctx.zeroLine = look.zeroLine;
    ctx.diagonalLine = look.diagonalLine;
    ctx.markerSize = look.markerSize;
    ctx.markerInterval = look.markerInterval;
    ctx.triKind = look.triMode;
    if (!ctx.horizontal)
        if (CPlotAxisRgn* r = look.AxisByRole(0)) ctx.horizontal = r->axis.get();
    if (!ctx.vertical)
        if (CPlotAxisRgn* r = look.AxisByRole(1)) ctx.vertical = r->axis.get();
    if (!ctx.secondY && look.triMode) ctx.secondY = look.Axis(2);
    const CPlotAxis* time = look.Axis(0);
    ctx.displayStart = time ? time->FromPlot(time->plotMin) : 0;
}

void CPlotLook::PaintDrawingBackground(CPlotPaintContext& ctx) {
    if (!drawingRegion) return;
    FillDrawingContext(*this, ctx);
    drawingRegion->Draw(ctx, false);
}

void CPlotLook::PaintCurves(CPlotPaintContext& ctx) {
    if (!drawingRegion || yVariables.empty()) return;
    FillDrawingContext(*this, ctx);
    CPlotAxis* xAxis = Axis(0);
    if (!xAxis) return;
    const int dt = displayType > 2 ? 2 : displayType;

    // The pair and Y axis of a variable; false when it is not drawn.
    auto pairOf = [&](int i, CPlotVar*& xVar, CPlotAxis*& yAxis) {
        CPlotVar* v = yVariables[std::size_t(i)].get();
        if (!v || v->hidden || v->axisNo == 0) return false;
        yAxis = flipped ? Axis(1) : triMode == 1 ? Axis(2) : Axis(v->axisNo);
        if (!yAxis) return false;
        xVar = XVar(v->xVarNo > 0 ? v->xVarNo - 1 : 0);
        if (!xVar) xVar = XVar(0);
        return xVar != nullptr;
    };
    auto mapFor = [&](CPlotAxis& yAxis) {
        WidenNarrowRange(yAxis);
        return CurveMapOn(ctx.env, yAxis, flipped != 0);
    };

    // Pass 1: areas, under everything else.
    if (dt != 1 && !barMode) {
        for (int i = 0; i < NYVars(); ++i) {
            CPlotVar* xVar = nullptr;
            CPlotAxis* yAxis = nullptr;
            CPlotVar& y = *yVariables[std::size_t(i)];
            if (!y.area || !pairOf(i, xVar, yAxis)) continue;
            drawingRegion->DrawCurve(ctx, mapFor(*yAxis), *xVar, y, *xAxis, *yAxis);
        }
    }
    // Pass 2: lines, markers and arrows, or the bar series.
    int seriesCount = 0;
    if (barMode)
        for (int i = 0; i < NYVars(); ++i) {
            CPlotVar* xVar = nullptr;
            CPlotAxis* yAxis = nullptr;
            if (pairOf(i, xVar, yAxis)) ++seriesCount;
        }
    int series = 0;
    for (int i = 0; i < NYVars(); ++i) {
        CPlotVar* xVar = nullptr;
        CPlotAxis* yAxis = nullptr;
        CPlotVar& y = *yVariables[std::size_t(i)];
        if ((y.area && !barMode) || !pairOf(i, xVar, yAxis)) continue;
        const CPlotDrawingRgn::Map map = mapFor(*yAxis);
        if (barMode) {
            drawingRegion->DrawBars(ctx, map, *xVar, y, *xAxis, *yAxis, seriesCount, series++,
                                    flipped != 0);
            continue;
        }
        if (dt != 1) drawingRegion->DrawCurve(ctx, map, *xVar, y, *xAxis, *yAxis);
        if (dt != 0) drawingRegion->DrawMarkers(ctx, map, *xVar, y, *xAxis, *yAxis, i);
        if (dt != 1) drawingRegion->DrawDirectionArrow(ctx, *xVar, y);
    }
    // What is drawn after the curves (annotations, marks) maps through the first vertical
    // axis, whichever axis the regions drawn before left the environment on.
    if (!flipped && ctx.vertical) {
        double lo = 0, hi = 0;
        ctx.vertical->DrawnRange(lo, hi);
        ctx.env.SetYRange(static_cast<float>(hi), static_cast<float>(lo));
    }
}
