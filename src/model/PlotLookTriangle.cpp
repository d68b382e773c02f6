#include "model/PlotLook.h"

#include <algorithm>

namespace {

constexpr double kHeightRatio = 0.866; // height of an equilateral triangle per unit of base

CPlotRegion::Rect Box(int l, int t, int r, int b) {
    CPlotRegion::Rect rc;
    rc.left = l;
    rc.top = t;
    rc.right = r;
    rc.bottom = b;
    return rc;
}

// A box of the given size centred at (cx, cy).
CPlotRegion::Rect CentredBox(int cx, int cy, int halfWidth, int halfHeight) {
    return Box(cx - halfWidth, cy - halfHeight, cx + halfWidth, cy + halfHeight);
}

} // namespace

void CPlotLook::LayoutTriangle(CPlotPaintContext& ctx, int top, int bottom, int left, int right,
                               int baseline) {
    if (!drawingRegion || triMode == 0) return;
    // 1. The lower corner labels of the right triangle claim room beside the base.
    gdi::Size corner[3];
    for (int i = 0; i < 3; ++i)
        if (cornerLabelRegions[std::size_t(i)])
            corner[i] = cornerLabelRegions[std::size_t(i)]->Measure(ctx);
    const int W = right + left; // the margins are symmetric
    if (triMode == 2) {
        left = std::max({left, corner[0].cx + 20, corner[1].cx + 20});
        right = std::min(right, W - left);
    }
    // 2. The triangle's height fits its base, or the base shrinks to fit the height.
    const int available = bottom - top;
    const double ratio = triMode == 1 ? kHeightRatio : 1.0;
    const int wanted = static_cast<int>((right - left) * ratio);
    if (available < wanted) {
        const int base = static_cast<int>(available / ratio);
        const int shrink = (right - left) - base;
        left += shrink / 2;
        right -= shrink - shrink / 2;
    } else {
        const int spare = available - wanted;
        top += spare / 2;
        bottom -= spare - spare / 2;
    }
    drawingRegion->rect = Box(left, top, right, bottom);
    if (triMode == 2) {
        if (cornerLabelRegions[0])
            cornerLabelRegions[0]->rect =
                Box(left - corner[0].cx - 10, baseline - corner[0].cy, left - 10, baseline);
        if (cornerLabelRegions[1])
            cornerLabelRegions[1]->rect =
                Box(right + 10, baseline - corner[1].cy, right + 10 + corner[1].cx, baseline);
        if (cornerLabelRegions[2])
            cornerLabelRegions[2]->rect =
                CentredBox(left, top - corner[2].cy, corner[2].cx / 2, corner[2].cy / 2);
    }
    // 3. The side axes and their labels.
    CPlotAxisRgn* side1 = AxisRegion(1);
    CPlotAxisRgn* side2 = AxisRegion(2);
    int A = 0;
    if (side1) A = side1->Measure(ctx).cy + 1;
    const int middle = (left + right) / 2;
    if (side1)
        side1->rect =
            triMode == 2 ? Box(left - A, top, left - 1, bottom) : Box(left, top, middle, bottom);
    if (side2)
        side2->rect =
            triMode == 2 ? Box(left, top, right, bottom) : Box(middle, top, right, bottom);
    const int cy = (top + bottom) / 2;
    for (auto& region : yLabelRegions) {
        if (!region) continue;
        const int w = ctx.env.MeasureText(region->font, ctx.dc, region->label.text).cx;
        const int h = ctx.env.MeasureText(region->font, ctx.dc, "0").cy;
        if (triMode == 2) {
            if (region->axisNo == 1)
                region->rect = CentredBox(left - A - h / 2, cy, h / 2, w / 2);
            else
                region->rect = CentredBox(middle + int(A * 0.707), cy - int(A * 0.707),
                                          int(w * 0.353), int(w * 0.353));
        } else {
            // Beyond the side's tick labels, which stand a tick length outside it.
            const CPlotAxisRgn* side = AxisRegion(region->axisNo);
            const int band = (side ? ctx.env.MeasureText(side->font, ctx.dc, "0.0").cx : 0) +
                             ctx.env.ScaleSize(5);
            const int out = static_cast<int>(A * kHeightRatio) + band + w / 2;
            const int quarter = (right - left) / 4;
            const int cx = region->axisNo == 2 ? left + quarter - out : right - quarter + out;
            region->rect = CentredBox(cx, cy, w / 2, int(w * kHeightRatio) / 2);
        }
    }
}

void CPlotLook::PrepareTriangularAxes(CPlotPaintContext& ctx) {
    if (!drawingRegion || triMode == 0) return;
    // 1. Scales over the base's length, the interval capped at the grid interval.
    const auto& r = drawingRegion->rect;
    const double length = std::max(1, r.width());
    CPlotAxisRgn* regions[3] = {xAxisRegion.get(), AxisRegion(1), AxisRegion(2)};
    for (CPlotAxisRgn* region : regions) {
        if (!region || !region->axis) continue;
        const double fontPoints = region->font ? region->font->size : 10;
        region->axis->UpdateScale(AxisScale::TargetIntervals(length, fontPoints, ctx.env.scale),
                                  ctx.triGridInterval);
    }
    // 2. One mapping for the triangle: x from the base, y from the first side.
    CPlotAxis* x = Axis(0);
    CPlotAxis* y = Axis(1);
    if (!x || !y) return;
    double x0, x1, y0, y1;
    x->DrawnRange(x0, x1);
    y->DrawnRange(y0, y1);
    ctx.env.SetMapping(gdi::Rect{r.left, r.top, r.right, r.bottom}, float(x0), float(x1), float(y1),
                       float(y0));
    ctx.horizontal = x;
    ctx.vertical = y;
    ctx.secondY = Axis(2);
    ctx.triKind = triMode;
}
