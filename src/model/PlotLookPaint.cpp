// The paint sequence: deferred model work, the scales and the mapping, then the regions,
// curves, legend and selection marks in a fixed order. Every step that is skipped keeps its
// dirty flag for the next paint.
#include "model/PageLayout.h"
#include "model/PlotLook.h"
#include "model/VariableRanges.h"

#include <algorithm>
#include <iterator>

namespace {

CPlotPaintContext ContextOn(gdi::IDeviceContext& dc, const CPlotPaintContext& like) {
    CPlotPaintContext ctx(dc, like.env);
    ctx.foreColor = like.foreColor;
    ctx.backColor = like.backColor;
    ctx.highlightMode = like.highlightMode;
    ctx.containerImage = like.containerImage;
    return ctx;
}

gdi::Rect ToGdi(const CPlotRegion::Rect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

} // namespace

void CPlotLook::Paint(CPlotPaintContext& ctx, const gdi::Rect& rect, bool axesOnly, int,
                      bool skipCurves) {
    PaintSteps(ctx, rect, axesOnly, skipCurves);
    ReportDiagnostics();
}

void CPlotLook::PaintSteps(CPlotPaintContext& ctx, const gdi::Rect& rect, bool axesOnly,
                           bool skipCurves) {
    ctx.axesOnly = axesOnly;
    // 1. The off-screen surface follows the layout size.
    if (ctx.IsScreen()) EnsureBackBuffer(ctx);
    // 2. Deferred model work.
    RunDeferredWork(ctx, rect);
    // 3. Nothing more without an area or an X axis.
    if (rect.IsEmpty() || !xAxisRegion) return;
    // 4. A selected region other than the drawing region shows its mark under its drawing.
    if (ctx.IsScreen()) ShowSelection(ctx);
    // 5. Scales and the device mapping.
    ScaleAndMap(ctx, axesOnly);
    // 6. Grid, zero and diagonal lines, zoom box.
    if (!skipCurves) PaintDrawingBackground(ctx);
    // 7. Title, labels and axes.
    DrawRegions(ctx, axesOnly);
    // 8. The curves.
    if (!skipCurves) PaintCurves(ctx);
    // 9-10. Legend, late marks and handles.
    if (!axesOnly) DrawLateParts(ctx);
}

void CPlotLook::ReportDiagnostics() {
    unsigned bits = 0;
    if (xAxisRegion && xAxisRegion->axis) bits |= xAxisRegion->axis->TakeDiagnostics();
    for (auto& r : yAxisRegions)
        if (r && r->axis) bits |= r->axis->TakeDiagnostics();
    for (size_t i = 0; i < std::size(AxisScale::kScaleDiagnosticText); ++i)
        if (bits & (1u << i)) host.ReportDiagnostic(AxisScale::kScaleDiagnosticText[i]);
}

void CPlotLook::EnsureBackBuffer(CPlotPaintContext& ctx) {
    const int w = bufferWidth, h = bufferHeight;
    if (backBuffer && backBufferWidth == w && backBufferHeight == h) return;
    backBuffer.reset();
    backBufferWidth = backBufferHeight = 0;
    if (w <= 0 || h <= 0 || w > gdi::kMaxSurfaceSide || h > gdi::kMaxSurfaceSide) return;
    try {
        backBuffer = ctx.dc.CreateCompatible(w, h);
    } catch (const std::exception&) {
        backBuffer.reset(); // painting goes on without the surface
    }
    if (backBuffer) backBufferWidth = w, backBufferHeight = h;
}

void CPlotLook::RunDeferredWork(CPlotPaintContext& ctx, const gdi::Rect& rect) {
    // Scroll-bar updates and region editors are the control's; their flags stay for it.
    if (!rect.IsEmpty()) ctx.dc.FillSolidRect(rect, ctx.backColor);
    if (axisMapDirty) CompactAxes();
    if (dataDirty || legendDirty) {
        RebuildLabelRegions();
        legendDirty = 0;
        layoutDirty = 1;
    }
    if (layoutDirty) Layout(ctx);
    CVariableRanges ranges; // the samples stay as they are until the paint ends
    if (dataDirty) {
        if (SizeToData(ranges)) Layout(ctx);
        dataDirty = 0;
    }
    if (rangeDirty) {
        RangePass(ranges);
        rangeDirty = 0;
    }
}

void CPlotLook::ShowSelection(CPlotPaintContext& ctx) {
    if (!selectedRegion || selectedRegion == drawingRegion.get()) return;
    ctx.env.RemoveHandles({}, selectedRegion);
    selectedRegion->ShowSelected(ctx);
}

void CPlotLook::ScaleAndMap(CPlotPaintContext& ctx, bool axesOnly) {
    CPlotAxisRgn* horizontal = AxisByRole(0);
    CPlotAxisRgn* vertical = AxisByRole(1);
    // The horizontal scale stays as it is once after a time scroll, and in axes-only mode.
    const int scrolled = timeScrolled;
    if (axesOnly) timeScrolled = 1;
    UpdateAxisScales();
    timeScrolled = axesOnly ? scrolled : 0;
    if (triMode) PrepareTriangularAxes(ctx);
    double x0 = 0, x1 = 1, ylo = 0, yhi = 1;
    if (horizontal) horizontal->axis->DrawnRange(x0, x1);
    if (vertical) vertical->axis->DrawnRange(ylo, yhi);
    ctx.env.SetMapping(ToGdi(drawingRegion->rect), float(x0), float(x1), float(yhi), float(ylo));
    ctx.horizontal = horizontal ? horizontal->axis.get() : nullptr;
    ctx.vertical = vertical ? vertical->axis.get() : nullptr;
    ctx.secondY = NYAxes() >= 2 && yAxisRegions[1] ? yAxisRegions[1]->axis.get() : nullptr;
    ctx.triKind = triMode;
}

void CPlotLook::DrawRegions(CPlotPaintContext& ctx, bool axesOnly) {
    if (axesOnly) {
        xAxisRegion->Draw(ctx, false);
        for (auto it = yAxisRegions.rbegin(); it != yAxisRegions.rend(); ++it)
            if (*it && !(*it)->hidden) {
                (*it)->Draw(ctx, false);
                break;
            }
        return;
    }
    titleRegion->Draw(ctx, false);
    xLabelRegion->Draw(ctx, false);
    if (triMode == 2)
        for (auto& corner : cornerLabelRegions)
            if (corner) corner->Draw(ctx, false);
    if (flipped) {
        if (!yLabelRegions.empty()) yLabelRegions[0]->Draw(ctx, false);
    } else {
        for (auto it = yLabelRegions.rbegin(); it != yLabelRegions.rend(); ++it)
            (*it)->Draw(ctx, false);
    }
    xAxisRegion->Draw(ctx, false);
    for (auto it = yAxisRegions.rbegin(); it != yAxisRegions.rend(); ++it)
        if (*it) (*it)->Draw(ctx, false);
}

void CPlotLook::DrawLateParts(CPlotPaintContext& ctx) {
    // 9. The legend, then the annotations and host objects on top.
    legendRegion->Draw(ctx, false);
    if (overlay) overlay->Draw(ctx);
    // 10. Selection marks, on screen only.
    if (!ctx.IsScreen() || printing) return;
    if (selectedRegion) selectedRegion->ShowSelectedLate(ctx);
    ctx.env.DrawHandles(ctx.dc);
}

void CPlotLook::PaintOffscreen(CPlotPaintContext& ctx) {
    const gdi::Rect all{0, 0, bufferWidth, bufferHeight};
    EnsureBackBuffer(ctx);
    if (!backBuffer) {
        Paint(ctx, all, false, 0, false); // no surface: straight onto the target
        return;
    }
    CPlotPaintContext off = ContextOn(*backBuffer, ctx);
    Paint(off, all, false, 0, false);
    ctx.dc.BitBlt(0, 0, bufferWidth, bufferHeight, *backBuffer, 0, 0);
}

void CPlotLook::LiveUpdate(CPlotPaintContext& ctx, double) {
    AdvanceTimeAxisIfNeeded();
    EnsureBackBuffer(ctx);
    CPlotPaintContext off = ContextOn(backBuffer ? *backBuffer : ctx.dc, ctx);
    const gdi::Rect all{0, 0, bufferWidth, bufferHeight};
    Paint(off, all, true, 0, false);
    if (!backBuffer) return;
    // Only the drawing region and the time-axis strip change.
    const CPlotRegion::Rect& d = drawingRegion->rect;
    ctx.dc.BitBlt(d.left, d.top, d.width() + 1, d.height() + 1, *backBuffer, d.left, d.top);
    const CPlotRegion::Rect& x = xAxisRegion->rect;
    const int left = std::max(x.left - 20, 0);
    ctx.dc.BitBlt(left, x.top - 1, bufferWidth - left, x.height() + 1, *backBuffer, left,
                  x.top - 1);
}

void CPlotLook::PaintPageDecoration(CPlotPaintContext& ctx, const gdi::Rect& page,
                                    const CPageDecoration& decoration) {
    const LayoutSetting& s = decoration.Setting();
    decoration.Draw(ctx.dc, page, s.header ? ExpandSymbols(s.headerText) : std::string(),
                    s.footer ? ExpandSymbols(s.footerText) : std::string());
}
