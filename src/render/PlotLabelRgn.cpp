#include "render/PlotLabelRgn.h"

#include "render/PlotPaintContext.h"

#include <algorithm>

namespace {

constexpr const char* kNote = " x 10";

gdi::ColorRef PaletteColor(const CPlotPaintContext& ctx, int index) {
    if (index < 0 || index >= ctx.env.tool->ColorCount()) return ctx.foreColor;
    return ctx.env.tool->ColorAt(index);
}

} // namespace

const CPlotFont* CPlotLabelRgn::TextFont(CPlotPaintContext& ctx) const {
    if (!upright || !font) return font;
    return &ctx.env.tool->DeriveFont(*font, 0, 90);
}

const CPlotFont* CPlotLabelRgn::ExponentFont(CPlotPaintContext& ctx) const {
    const CPlotFont* f = secondFont ? secondFont : font;
    if (!upright || !f) return f;
    return &ctx.env.tool->DeriveFont(*f, 0, 90);
}

gdi::Size CPlotLabelRgn::TextExtent(CPlotPaintContext& ctx) const {
    return ctx.env.MeasureText(font, ctx.dc, shown.text);
}

gdi::Size CPlotLabelRgn::Measure(CPlotPaintContext& ctx) {
    if (shown.text.empty() && !shown.note) return {0, 0};
    // Extents are of the unturned text: the layout swaps them for an upright label.
    gdi::Size size = ctx.env.MeasureText(font, ctx.dc, shown.text + (shown.note ? kNote : ""));
    if (shown.note && !shown.exponent.empty())
        size.cx += ctx.env.MeasureText(secondFont ? secondFont : font, ctx.dc, shown.exponent).cx;
    return size;
}

void CPlotLabelRgn::Draw(CPlotPaintContext& ctx, bool force) {
    if (suppressed || shown.text.empty() || !ShouldDraw(ctx, force)) return;
    if (varNo > 0 && axisNo == 0) return; // a variable on no axis is not shown
    const gdi::Rect r = DeviceRect(ctx);
    gdi::StateScope state(ctx.dc);
    ctx.dc.SetTextColor(PaletteColor(ctx, colorIndex));
    ctx.dc.SetBkMode(gdi::BackgroundMode::Transparent);
    if (upright)
        DrawUpright(ctx, r);
    else
        DrawAcross(ctx, r);
}

void CPlotLabelRgn::DrawAcross(CPlotPaintContext& ctx, const gdi::Rect& r) {
    gdi::IDeviceContext& dc = ctx.dc;
    ctx.env.SelectFont(dc, font);
    dc.SetTextAlign(gdi::AlignBottom | gdi::AlignUpdateCP);
    dc.MoveTo(r.left, r.bottom);
    dc.TextOut(0, 0, shown.text);
    if (!shown.note) return;
    dc.TextOut(0, 0, kNote);
    if (shown.exponent.empty()) return;
    // The exponent stands raised by half the region height, in the smaller font.
    const gdi::Point at = dc.MoveTo(0, 0);
    dc.MoveTo(at.x, at.y - r.Height() / 2);
    ctx.env.SelectFont(dc, ExponentFont(ctx));
    dc.TextOut(0, 0, shown.exponent);
}

void CPlotLabelRgn::DrawUpright(CPlotPaintContext& ctx, const gdi::Rect& r) {
    gdi::IDeviceContext& dc = ctx.dc;
    const gdi::Size text = TextExtent(ctx);
    ctx.env.SelectFont(dc, TextFont(ctx));
    dc.SetTextAlign(gdi::AlignBaseline | gdi::AlignUpdateCP);
    // The text runs upwards from its end at top + width, so it reads along the axis.
    dc.MoveTo(r.right, r.top + text.cx);
    dc.TextOut(0, 0, shown.text);
    if (shown.note) {
        dc.TextOut(0, 0, kNote);
        if (!shown.exponent.empty()) {
            const gdi::Point at = dc.MoveTo(0, 0);
            dc.MoveTo(at.x - r.Width() / 2, at.y);
            ctx.env.SelectFont(dc, ExponentFont(ctx));
            dc.TextOut(0, 0, shown.exponent);
        }
    }
    if (lineSample) DrawLineSample(ctx, r, text.cx, text.cy);
}

void CPlotLabelRgn::DrawLineSample(CPlotPaintContext& ctx, const gdi::Rect& r, int textWidth,
                                   int textHeight) {
    const int x = r.right - textHeight / 4;
    const int y0 = r.top + textWidth + 5;
    if (y0 >= r.bottom) return;
    const int color = colorIndex >= 0 && colorIndex < ctx.env.tool->ColorCount() ? colorIndex : 0;
    {
        gdi::StateScope state(ctx.dc);
        ctx.env.SelectPen(ctx.dc, color, samplePenLineType);
        ctx.dc.MoveTo(x, y0);
        ctx.dc.LineTo(x, r.bottom);
    }
    if (sampleMarker >= 0)
        ctx.env.DrawMarker(ctx.dc, sampleMarker, x, (y0 + r.bottom) / 2, color,
                           ctx.env.ScaleSize(4));
}

// ---------------------------------------------------------------------------------------------
// Title and corner labels

gdi::Size CPlotTitleRgn::Measure(CPlotPaintContext& ctx) {
    gdi::Size size{0, 0};
    firstLineHeight = 0;
    for (const std::string& line : lines) {
        const gdi::Size s = ctx.env.MeasureText(font, ctx.dc, line.empty() ? " " : line);
        size.cx = std::max(size.cx, line.empty() ? 0 : s.cx);
        size.cy += s.cy;
        if (firstLineHeight == 0) firstLineHeight = s.cy;
    }
    return size;
}

void CPlotTitleRgn::Draw(CPlotPaintContext& ctx, bool force) {
    if (suppressed || lines.empty() || !ShouldDraw(ctx, force)) return;
    const gdi::Rect r = DeviceRect(ctx);
    gdi::IDeviceContext& dc = ctx.dc;
    gdi::StateScope state(dc);
    ctx.env.SelectFont(dc, font);
    dc.SetTextColor(ctx.foreColor);
    dc.SetBkMode(gdi::BackgroundMode::Transparent);
    dc.SetTextAlign(gdi::AlignBottom | gdi::AlignCenter);
    const int x = (r.left + r.right) / 2;
    int baseline = r.bottom - int(lines.size() - 1) * firstLineHeight;
    for (const std::string& line : lines) {
        dc.TextOut(x, baseline, line);
        baseline += firstLineHeight;
    }
}
