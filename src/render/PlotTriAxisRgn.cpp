#include "render/PlotTriAxisRgn.h"

#include "platform/gdi/DeviceContext.h"
#include "render/PlotPaintContext.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr double kLean = 0.577;      // the selection band's lean
constexpr double kTickLean = 0.5773; // tan 30°: the ticks' lean along a slanted side

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
    // The scale, and device y from this side's range (upside down on the left side).
    axis->UpdateScale(
        AxisScale::TargetIntervals(rect.width(), font ? font->size : 10, ctx.env.scale),
        ctx.triGridInterval);
    double lo = 0, hi = 0;
    axis->DrawnRange(lo, hi);
    const bool upsideDown = axisNo == 1 && triKind == 1;
    const CScaleMap map = ctx.env.YMapFor(float(upsideDown ? lo : hi), float(upsideDown ? hi : lo));
    // The side line.
    gdi::StateScope state(ctx.dc);
    ctx.env.SelectColorPen(ctx.dc, ctx.foreColor, 1);
    gdi::Point a, b;
    SideLine(a, b);
    ctx.env.OffsetPoint(a.x, a.y);
    ctx.env.OffsetPoint(b.x, b.y);
    ctx.dc.MoveTo(a.x, a.y);
    ctx.dc.LineTo(b.x, b.y);
    // Ticks, except on the hypotenuse.
    if (!(triKind == 2 && axisNo == 2))
        DrawTicks(ctx.dc, ctx.env, *axis, map, font, axisNo, a.x, a.y, ctx.foreColor);
}

int CPlotTriAxisRgn::SideX(int triKind, int side, int axisPos, int labelPos, int y) {
    if (triKind == 2 && side == 1) return axisPos;
    const int lean = static_cast<int>((y - labelPos) * kTickLean);
    return side == 1 ? axisPos - lean : axisPos + lean;
}

void CPlotTriAxisRgn::DrawTicks(gdi::IDeviceContext& dc, CPlotEnv& env, const CPlotAxis& axis,
                                CScaleMap map, const CPlotFont* font, int side, int axisPos,
                                int labelPos, gdi::ColorRef foreColor) {
    // The ticks between the corners (the walk leaves both ends out).
    if (axis.interval == 0) return;
    const AxisScale::Division division = axis.Division();
    const double step = AxisScale::DrawnInterval(division);
    const std::vector<AxisScale::Tick> ticks = AxisScale::DrawnTicks(division, step);
    if (ticks.empty()) return;
    const double factor = AxisScale::LabelFactor(axis.multiplier, axis.multiplierType);
    const int t5 = static_cast<int>(5 * env.scale);
    const int t3 = static_cast<int>(3 * env.scale);
    const bool vertical = axis.triKind == 2 && side == 1;

    gdi::StateScope state(dc);
    env.SelectColorPen(dc, foreColor, 1);
    dc.SetTextColor(foreColor);
    dc.SetBkMode(gdi::BackgroundMode::Transparent);
    env.SelectFont(dc, font);
    dc.SetTextAlign(gdi::AlignBaseline | (side == 1 ? gdi::AlignRight : gdi::AlignLeft));

    // Marks point into the triangle, labels stand outside; a label that would overlap the
    // last one drawn is left out.
    int lastLabel = 0;
    bool haveLabel = false;
    for (const AxisScale::Tick& tick : ticks) {
        const int y = map.Map(static_cast<float>(tick.plot));
        const int x = SideX(axis.triKind, side, axisPos, labelPos, y);
        if (vertical) {
            dc.MoveTo(axisPos, y);
            dc.LineTo(axisPos + t5, y);
        } else {
            dc.MoveTo(x, y);
            dc.LineTo(side == 1 ? x + t5 : x - t5, y);
        }
        const std::string text = TickText(tick, factor, step);
        const int height = env.MeasureText(font, dc, text).cy;
        if (haveLabel && std::abs(y - lastLabel) < height) continue;
        const int lx = vertical ? axisPos + t3 - t5 : side == 1 ? x - t5 : x + t5;
        dc.TextOut(lx, y, text);
        lastLabel = y;
        haveLabel = true;
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
