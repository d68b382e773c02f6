#include "platform/gdi/DeviceContext.h"
#include "render/PlotLabelRgn.h"
#include "render/PlotPaintContext.h"

void CPlotTriLabelRgn::Draw(CPlotPaintContext& ctx, bool force) {
    gdi::Rect r{rect.left, rect.top, rect.right, rect.bottom};
    ctx.env.OffsetRect(r);
    if (hidden || hiddenByContent || label.text.empty() || (triKind == 2 && axisNo == 2)) return;
    if (!force && !ctx.dc.RectVisible(r)) return;
    gdi::StateScope state(ctx.dc);
    ctx.env.SelectFont(ctx.dc, font);
    ctx.dc.SetTextColor(ctx.foreColor);
    ctx.dc.SetBkMode(gdi::BackgroundMode::Transparent);
    // The left side's label reads from its left end, the others end at the right.
    if (triKind == 1 && axisNo == 1) {
        ctx.dc.SetTextAlign(gdi::AlignBottom | gdi::AlignLeft);
        ctx.dc.TextOut(r.left + 1, r.top, label.text);
    } else {
        ctx.dc.SetTextAlign(gdi::AlignBottom | gdi::AlignRight);
        ctx.dc.TextOut(r.right, r.top, label.text);
    }
}
