#include "render/PlotTriAxisRgn.h"

#include "platform/gdi/DeviceContext.h"
#include "render/PlotPaintContext.h"

#include <cmath>

namespace {

constexpr double kLean = 0.577;

} // namespace

gdi::Size CPlotTriAxisRgn::Measure(CPlotPaintContext& ctx) {
    const gdi::Size s = ctx.env.MeasureText(font, ctx.dc, "0.0");
    zeroWidth = s.cx;
    zeroHeight = s.cy;
    return s;
}

void CPlotTriAxisRgn::SideLine(gdi::Point& a, gdi::Point& b) const {
    if (axisNo == 1) {
        a = {rect.right, rect.top};
        b = {triKind == 1 ? rect.left : rect.right, rect.bottom};
    } else {
        a = {rect.left, rect.top};
        b = {rect.right, rect.bottom};
    }
}

void CPlotTriAxisRgn::Draw(CPlotPaintContext& ctx, bool force) {
    gdi::Rect r{rect.left, rect.top, rect.right, rect.bottom};
    ctx.env.OffsetRect(r);
    if (hidden || (!force && !ctx.dc.RectVisible(r))) return;
    // 1. Scale, and device y from this side's range (upside down on the left side).
    axis->UpdateScale(
        CPlotAxis::TargetIntervals(rect.width(), font ? font->size : 10, ctx.env.scale),
        ctx.triGridInterval);
    double lo = 0, hi = 0;
    axis->DrawnRange(lo, hi);
    const bool upsideDown = axisNo == 1 && triKind == 1;
    ctx.env.SetYRange(float(upsideDown ? lo : hi), float(upsideDown ? hi : lo));
    // 2. The side line.
    gdi::StateScope state(ctx.dc);
    ctx.env.SelectColorPen(ctx.dc, ctx.foreColor, 1);
    gdi::Point a, b;
    SideLine(a, b);
    ctx.env.OffsetPoint(a.x, a.y);
    ctx.env.OffsetPoint(b.x, b.y);
    ctx.dc.MoveTo(a.x, a.y);
    ctx.dc.LineTo(b.x, b.y);
    // 3. Ticks, except on the hypotenuse.
    if (!(triKind == 2 && axisNo == 2))
        static_cast<const CPlotTriAxis&>(*axis).DrawTicks(ctx.dc, ctx.env, font, axisNo, a.x, a.y,
                                                          ctx.foreColor);
    // 4. The right side is mapped by the second axis.
    if (upsideDown && ctx.secondY) {
        ctx.secondY->DrawnRange(lo, hi);
        ctx.env.SetYRange(float(hi), float(lo));
    }
}

bool CPlotTriAxisRgn::HitTest(int x, int y) const {
    if (triKind == 2 && axisNo == 2) return false;
    if (!CPlotRegion::HitTest(x, y)) return false;
    if (triKind == 2 && axisNo == 1) return true;
    const int band = static_cast<int>(zeroHeight * (triKind == 1 ? 0.866 : 0.707));
    const int dy = y - rect.top;
    if (axisNo == 2) {
        const int from = rect.left + (triKind == 1 ? static_cast<int>(dy * kLean) : dy);
        return x >= from && x <= from + band;
    }
    const int to = rect.right - static_cast<int>(dy * kLean);
    return x >= to - band && x <= to;
}

void CPlotTriAxisRgn::ShowSelected(CPlotPaintContext& ctx) {
    // A band along the side, outside the triangle, in silver.
    gdi::Point a, b;
    SideLine(a, b);
    const double h = zeroHeight;
    const int across = static_cast<int>(triKind == 1 ? h * 0.866 : h * 0.707);
    const int along = triKind == 1 ? static_cast<int>(h / 2) : across;
    gdi::Point band[4];
    if (triKind == 2 && axisNo == 1) {
        band[0] = {a.x, a.y};
        band[1] = {b.x, b.y};
        band[2] = {b.x - across, b.y};
        band[3] = {a.x - across, a.y};
    } else {
        const int out = axisNo == 1 ? -across : across;
        band[0] = a;
        band[1] = b;
        band[2] = {b.x + out, b.y - along};
        band[3] = {a.x + out, a.y - along};
    }
    for (gdi::Point& p : band)
        ctx.env.OffsetPoint(p.x, p.y);
    gdi::StateScope state(ctx.dc);
    ctx.env.SelectPen(ctx.dc, 7, 1);
    ctx.env.SelectSolidBrush(ctx.dc, 7);
    ctx.dc.Polygon(band);
}
