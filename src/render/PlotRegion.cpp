#include "render/PlotRegion.h"

#include "render/PlotPaintContext.h"

void CPlotRegion::Draw(CPlotPaintContext&, bool) {}

gdi::Rect CPlotRegion::DeviceRect(const CPlotPaintContext& ctx) const {
    gdi::Rect r{rect.left, rect.top, rect.right, rect.bottom};
    ctx.env.OffsetRect(r);
    return r;
}

bool CPlotRegion::ShouldDraw(const CPlotPaintContext& ctx, bool force) const {
    if (hidden || IsEmpty()) return false;
    return force || ctx.dc.RectVisible(DeviceRect(ctx));
}

void CPlotRegion::FillSelected(CPlotPaintContext& ctx) {
    if (IsEmpty()) return;
    gdi::StateScope state(ctx.dc);
    constexpr int kSilver = 7;
    ctx.env.SelectPen(ctx.dc, kSilver, 1);
    ctx.env.SelectSolidBrush(ctx.dc, kSilver);
    ctx.dc.Rectangle(DeviceRect(ctx));
}

gdi::Size CPlotRegion::Measure(CPlotPaintContext&) {
    return {0, 0};
}

void CPlotRegion::ShowSelected(CPlotPaintContext&) {}

bool CPlotRegion::HitTest(int x, int y) const {
    return !hidden && selectable && x >= rect.left && x < rect.right && y >= rect.top &&
           y < rect.bottom;
}

int CPlotRegion::SetVisibility(int value, int mask) {
    if (mask & 1) hidden = (value & 1) ? 0 : 1;
    if (mask & 2) selectable = (value & 2) ? 1 : 0;
    return selectable ? 3 : 1;
}
