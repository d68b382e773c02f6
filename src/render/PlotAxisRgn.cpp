#include "render/PlotAxisRgn.h"

#include "render/PlotPaintContext.h"

CPlotAxisRgn::CPlotAxisRgn(int axisNo, int triKind)
    : CPlotRegion(axisNo == 0 ? XAxis : YAxis), axis(std::make_unique<CPlotAxis>(triKind)),
      axisNo(axisNo), triKind(triKind) {}

void CPlotAxisRgn::SetOrientation(int newTriKind) {
    triKind = newTriKind;
    axis->triKind = newTriKind;
}

const CPlotFont* CPlotAxisRgn::LabelFont(CPlotPaintContext& ctx) const {
    if (!upright || !font) return font;
    return &ctx.env.tool->DeriveFont(*font, 0, 90);
}

gdi::Size CPlotAxisRgn::Measure(CPlotPaintContext& ctx) {
    return ctx.env.MeasureText(font, ctx.dc, "0.0");
}

void CPlotAxisRgn::Draw(CPlotPaintContext& ctx, bool force) {
    if (!ShouldDraw(ctx, force)) return;
    CPlotEnv& env = ctx.env;
    const gdi::Rect r = DeviceRect(ctx);
    // 1. Upright axes other than the one the mapping was made for take their own y range.
    const float savedY0 = env.y0, savedY1 = env.y1;
    double lo = 0, hi = 1;
    axis->DrawnRange(lo, hi);
    if (upright) env.SetYRange(static_cast<float>(hi), static_cast<float>(lo));

    // 2. The axis line on the side that faces the drawing region.
    {
        gdi::StateScope state(ctx.dc);
        env.SelectColorPen(ctx.dc, ctx.foreColor, 1);
        if (upright) {
            ctx.dc.MoveTo(r.right, r.top);
            ctx.dc.LineTo(r.right, r.bottom);
        } else {
            ctx.dc.MoveTo(r.left, r.top - 1);
            ctx.dc.LineTo(r.right, r.top - 1);
        }
    }
    // 3. Ticks and labels.
    if (upright)
        axis->DrawTicks(ctx.dc, env, LabelFont(ctx), 0, r.right, true, skipOrigin, ctx.foreColor);
    else
        axis->DrawTicks(ctx.dc, env, font, r.bottom, r.top - 1, false, false, ctx.foreColor);
    if (upright) env.SetYRange(savedY0, savedY1);
}
