// The division of the control into regions: title, labels, axes, the drawing region and the
// legend, computed from the measured text sizes.
#include "model/PlotLook.h"

#include <algorithm>

using Rect = CPlotRegion::Rect;

struct CPlotLook::LayoutState {
    int W = 0, H = 0;
    int top = 0, bottom = 0;
    int titleH = 0, titleW = 0, titleBase = 0; // titleBase: top after the title
    int labelW = 0, labelH = 0;                // the horizontal label
    int h0 = 0;                                // height of the horizontal axis labels
    int f = 0;                                 // baseline of the horizontal axis
    int O = 0, A = 0;                          // label column and upright axis widths
    int t = 0, v = 0;                          // left and right of the drawing region
    CPlotLabelRgn* horizontalLabel = nullptr;
};

namespace {

constexpr Rect kEmpty{};

int SafeDiv(float num, float den, int fallback) {
    if (!(den != 0)) return fallback;
    const float q = num / den;
    if (!(q > -1e8f && q < 1e8f)) return fallback;
    return static_cast<int>(q);
}

} // namespace

gdi::Rect CPlotLook::NaturalRect() const {
    return {0, 0, std::max(bufferWidth, 0), std::max(bufferHeight, 0)};
}

bool CPlotLook::Layout(CPlotPaintContext& ctx) {
    const Rect before = drawingRegion->rect;
    // The end label measured for the right margin must be that of the range about to be
    // drawn: a zoom since the last paint has changed it.
    UpdateAxisScales();
    PrepareTexts();
    LayoutState s;
    s.W = std::max(bufferWidth, 0);
    s.H = std::max(bufferHeight, 0);
    // 1. The whole height; no top bar or toolbar bands are shown by this control yet.
    s.top = 0;
    s.bottom = s.H;
    // 2-5. Title, horizontal label and axis, upright label and axis widths.
    LayoutTopParts(ctx, s);
    // 6. The left margin.
    LayoutLeftMargin(s);
    // 7-8. The drawing region's sides.
    if (triMode) {
        // The triangle, its side axes and labels are placed by LayoutTriangle. Until that
        // lands everywhere, the drawing region starts as the plain rectangle it would fill,
        // so that a plot without it still shows its frame and curves.
        s.v = s.W - s.t;
        if (showLegend) FitLegend(ctx, s);
        drawingRegion->rect = {s.t, s.top, std::max(s.v, s.t), std::max(s.bottom, s.top)};
        LayoutTriangle(ctx, s.top, s.bottom, s.t, s.v, s.f);
    } else {
        LayoutRectangle(ctx, s);
        // 9. The drawing region.
        drawingRegion->rect = {s.t, s.top, std::max(s.v, s.t), std::max(s.bottom, s.top)};
        // 10-12. Title, labels and axes around it.
        PlaceTitleAndLabels(s);
        if (flipped)
            PlaceFlippedAxis(ctx, s);
        else
            PlaceYAxes(ctx, s);
    }
    if (triMode) PlaceTitleAndLabels(s);
    // 13. The legend beside the drawing region.
    if (showLegend) {
        legendRegion->Measure(ctx);
        legendRegion->Place(drawingRegion->rect, legendFx, legendFy, s.W);
    } else {
        legendRegion->rect = kEmpty;
    }
    layoutDirty = 0;
    const bool moved = !(before == drawingRegion->rect);
    if (moved) {
        xAxisRegion->axis->scaleDirty = 1;
        for (auto& r : yAxisRegions)
            if (r) r->axis->scaleDirty = 1;
    }
    UpdateAxisScales();
    return moved;
}

void CPlotLook::LayoutTopParts(CPlotPaintContext& ctx, LayoutState& s) {
    // 2. Title.
    const gdi::Size title = titleRegion->hidden ? gdi::Size{} : titleRegion->Measure(ctx);
    s.titleW = title.cx;
    s.titleH = title.cy;
    s.top += s.titleH + s.titleH / 2;
    s.titleBase = s.top;
    // 3. Horizontal label.
    s.horizontalLabel =
        flipped ? (yLabelRegions.empty() ? nullptr : yLabelRegions[0].get()) : xLabelRegion.get();
    for (auto& r : yLabelRegions)
        r->suppressed = false;
    xLabelRegion->suppressed = false;
    if (s.horizontalLabel && !s.horizontalLabel->hidden) {
        const gdi::Size label = s.horizontalLabel->Measure(ctx);
        s.labelW = label.cx;
        s.labelH = label.cy;
    }
    if (triMode) {
        s.top += s.labelH;
        if (triMode == 2 && cornerLabelRegions[2]) {
            const int h = cornerLabelRegions[2]->Measure(ctx).cy;
            s.top += h + h / 2;
            xLabelRegion->suppressed = true;
            for (std::size_t i = 0; i < yLabelRegions.size() && i < 2; ++i)
                yLabelRegions[i]->suppressed = true;
        }
    }
    // 4. Horizontal axis: its labels sit between the drawing region and the label.
    CPlotAxisRgn* horizontal = AxisByRole(0);
    s.h0 = horizontal ? horizontal->Measure(ctx).cy : 0;
    s.f = s.bottom - s.labelH / 2 - s.labelH;
    s.bottom = s.f - s.h0 - 1;
    // 5. Upright label column and axis widths.
    CPlotLabelRgn* upright =
        flipped ? xLabelRegion.get() : (yLabelRegions.empty() ? nullptr : yLabelRegions[0].get());
    s.O = upright ? upright->Measure(ctx).cy : 0;
    CPlotAxisRgn* vertical = AxisByRole(1);
    s.A = vertical ? vertical->Measure(ctx).cy + 1 : 0;
}

void CPlotLook::LayoutLeftMargin(LayoutState& s) {
    int m = 0, axes = 0;
    if (!flipped && !triMode) {
        for (auto& r : yLabelRegions) {
            const bool unused = r->shown.text.empty() || r->hidden || (r->axisNo <= 0 && !r->plain);
            if (unused)
                r->rect = kEmpty;
            else
                ++m;
        }
        for (auto& r : yAxisRegions)
            if (r && !r->hidden) ++axes;
    } else {
        m = 1;
        axes = triMode ? 0 : (xAxisRegion->hidden ? 0 : 1);
        if (triMode)
            for (auto& r : yAxisRegions)
                if (r && !r->hidden) ++axes;
    }
    s.t = m * s.O + axes * (s.A + s.A / 2);
}

void CPlotLook::LayoutRectangle(CPlotPaintContext& ctx, LayoutState& s) {
    // 8. Room for half the widest tick label at the right-hand end.
    const CPlotAxisRgn* horizontal = AxisByRole(0);
    const int w1 = horizontal ? CPlotAxisRgn::HighEndLabelWidth(ctx.dc, ctx.env, *horizontal->axis,
                                                                horizontal->font)
                              : 0;
    s.v = s.W - w1 / 2 - ctx.env.ScaleSize(7);
    if (squarePlot) ApplySquare(s);
    if (showLegend) {
        FitLegend(ctx, s);
        if (squarePlot) ApplySquare(s);
    }
}

void CPlotLook::ApplySquare(LayoutState& s) const {
    const int w = s.v - s.t, h = s.bottom - s.top;
    if (w > h) {
        const int cut = w - h;
        s.t += cut / 2;
        s.v -= cut - cut / 2;
    } else if (h > w) {
        const int cut = h - w;
        s.top += cut / 2;
        s.bottom -= cut - cut / 2;
    }
}

void CPlotLook::FitLegend(CPlotPaintContext& ctx, LayoutState& s) {
    CPlotEnv& env = ctx.env;
    const gdi::Size box = legendRegion->Measure(ctx);
    const float W = float(s.W), H = float(s.H);
    // A reposition request puts the legend right of the plot.
    if (legendPlacementRequest && s.t < s.W - box.cx - env.ScaleSize(15)) {
        legendFx = (W - float(s.t) - float(env.ScaleSize(10))) /
                   (W - float(box.cx) - float(env.ScaleSize(15)) - float(s.t));
        legendPlacementRequest = 0;
    }
    const float fx = legendFx, fy = legendFy;
    if (triMode) return;
    if (fx >= 1) {
        const int right = s.t + SafeDiv(W - float(s.t) - float(env.ScaleSize(10)), fx, s.v);
        s.v = std::min(s.v, right);
    } else {
        const int legendLeft = int(float(s.v - s.t + 1) * fx) + s.t - box.cx + 1;
        if (legendLeft < env.ScaleSize(5))
            s.t = std::max(
                s.t, SafeDiv(float(env.ScaleSize(5) + box.cx) - float(s.v) * fx, 1 - fx, s.t));
    }
    if (fy <= 0) {
        const int legendTop = int(float(s.bottom - s.top + 1) * fy) + s.top;
        const int top = SafeDiv(float(env.ScaleSize(5)) - float(s.bottom) * fy, 1 - fy, s.top);
        if (legendTop < env.ScaleSize(5) && s.bottom - top > 20) s.top = top;
    } else {
        const int legendBottom = int(float(s.bottom - s.top + 1) * fy) + s.top + box.cy;
        const int bottom = SafeDiv(
            H - float(box.cy) - float(env.ScaleSize(5)) - (1 - fy) * float(s.top), fy, s.bottom);
        if (legendBottom > s.H - env.ScaleSize(5) && bottom - s.top > 20) s.bottom = bottom;
    }
}

void CPlotLook::PlaceTitleAndLabels(const LayoutState& s) {
    const Rect& d = drawingRegion->rect;
    const int cx = (d.left + d.right) / 2;
    // 10. Title centred over the drawing region.
    const int cy = s.titleBase - 3 * s.titleH / 4;
    titleRegion->rect = {cx - s.titleW / 2, cy - s.titleH / 2, cx - s.titleW / 2 + s.titleW,
                         cy - s.titleH / 2 + s.titleH};
    // 11. Horizontal label under the drawing region, horizontal axis above it. A triangle may
    // have been moved up to keep its proportions: its base axis follows it.
    const int axisTop = triMode ? d.bottom + 1 : s.f - s.h0;
    const int labelTop = triMode ? axisTop + s.h0 : s.f;
    if (s.horizontalLabel)
        s.horizontalLabel->rect = {cx - s.labelW / 2, labelTop, cx - s.labelW / 2 + s.labelW,
                                   labelTop + s.labelH};
    if (CPlotAxisRgn* horizontal = AxisByRole(0)) {
        horizontal->rect =
            horizontal->hidden ? kEmpty : Rect{d.left, axisTop, d.right, axisTop + s.h0};
        horizontal->upright = false;
        horizontal->skipOrigin = false;
    }
}

void CPlotLook::PlaceYAxes(CPlotPaintContext& ctx, const LayoutState& s) {
    const Rect& d = drawingRegion->rect;
    const int midY = (d.top + d.bottom) / 2;
    int lastVisible = 0;
    for (auto& r : yAxisRegions)
        if (r && !r->hidden) lastVisible = r->axisNo;
    int x = d.left;
    // 12. From the last axis to the first, each with its labels to its left.
    for (int k = NYAxes(); k >= 1; --k) {
        CPlotAxisRgn* axis = AxisRegion(k);
        if (!axis) continue;
        axis->upright = true;
        axis->skipOrigin = k == lastVisible;
        if (axis->hidden) {
            axis->rect = kEmpty;
            continue;
        }
        axis->rect = {x - s.A, d.top, x - 1, d.bottom};
        x -= s.A;
        for (auto it = yLabelRegions.rbegin(); it != yLabelRegions.rend(); ++it) {
            CPlotLabelRgn& label = **it;
            if (label.axisNo != k || label.shown.text.empty() || label.hidden) continue;
            // The note after the text changes its length, not its height.
            const gdi::Size text = label.Measure(ctx);
            int length = text.cx;
            if (label.lineSample) length += d.height() / 8;
            length = std::min(length, std::max(d.height(), 0));
            label.rect = {x - s.O, midY - length / 2, x, midY - length / 2 + length};
            x -= text.cy;
        }
        x -= s.A / 2;
    }
    // Labels of no visible axis take no room.
    for (auto& label : yLabelRegions) {
        CPlotAxisRgn* axis = label->axisNo >= 1 ? AxisRegion(label->axisNo) : nullptr;
        if (!axis || axis->hidden) label->rect = kEmpty;
    }
}

void CPlotLook::PlaceFlippedAxis(CPlotPaintContext& ctx, const LayoutState& s) {
    const Rect& d = drawingRegion->rect;
    // The X axis stands left of the drawing region, the X label left of it.
    xAxisRegion->upright = true;
    xAxisRegion->skipOrigin = true;
    xAxisRegion->rect =
        xAxisRegion->hidden ? kEmpty : Rect{d.left - s.A, d.top, d.left - 1, d.bottom};
    const int length = std::min(xLabelRegion->Measure(ctx).cx, std::max(d.height(), 0));
    const int midY = (d.top + d.bottom) / 2;
    const int x = d.left - s.A;
    xLabelRegion->rect = {x - s.O, midY - length / 2, x, midY - length / 2 + length};
    for (std::size_t i = 1; i < yAxisRegions.size(); ++i)
        if (yAxisRegions[i]) yAxisRegions[i]->rect = kEmpty;
    for (std::size_t i = 1; i < yLabelRegions.size(); ++i)
        yLabelRegions[i]->rect = kEmpty;
}
