// The control's drawing entry: screen paints, scaled draws into pictures and files, and the
// live update of time plots.
#include "control/TrendixCtrl.h"

#include <algorithm>
#include <cmath>

// The control's part of a paint's context: its colours and highlight period, taken at the start
// of each paint (the model adds the plot's flags; docs/design.md).
CPlotPaintContext CTrendixCtrl::PaintContextOn(gdi::IDeviceContext& dc) {
    CPlotPaintContext ctx(dc, env_);
    ctx.foreColor = foreColor_;
    ctx.backColor = backColor_;
    ctx.highlightMode = highlightPeriod_;
    ctx.containerImage = containerImage_;
    return ctx;
}

namespace {

// What print preview shows around the page.
constexpr gdi::ColorRef kPreviewMarginColor = 0x808080;

void FillPreviewMargins(gdi::IDeviceContext& dc, const gdi::Rect& all, const gdi::Rect& page) {
    const gdi::Rect margins[] = {{all.left, all.top, all.right, page.top},
                                 {all.left, page.bottom, all.right, all.bottom},
                                 {all.left, page.top, page.left, page.bottom},
                                 {page.right, page.top, all.right, page.bottom}};
    for (const gdi::Rect& r : margins)
        if (!r.IsEmpty()) dc.FillSolidRect(r, kPreviewMarginColor);
}

} // namespace

void CTrendixCtrl::OnDraw(gdi::IDeviceContext& dc, const gdi::Rect& bounds,
                          const gdi::Rect& invalid) {
    // 1. A control without an extent shows nothing.
    if (extentWidth_ == 0 && extentHeight_ == 0) return;
    CPlotLook& m = EnsureModel();
    // An editor asked for opens once this paint is done.
    TakeEditRequest(m);
    // 2. At the first paint with a window the scroll bars settle the client area once.
    if (!firstPaintDone_ && site_.HasWindow()) {
        firstPaintDone_ = true;
        for (bool horizontal : {true, false}) {
            site_.ShowScrollBar(horizontal, true);
            site_.ShowScrollBar(horizontal, false);
        }
        site_.SetCursor(currentCursor_);
    }
    // 3-4. Target size and origin: in print preview the page replaces the bounds, and a page
    // layout's header and footer take their bands off it.
    const gdi::Rect target = printPreview_ ? pageRect_ : bounds;
    const std::optional<CPageDecoration> decoration = Decoration(target);
    const gdi::Rect plot = decoration ? decoration->PlotArea(dc, target) : target;
    const int w = copyWithSize_ ? copyWidth_ : plot.Width();
    const int h = copyWithSize_ ? copyHeight_ : plot.Height();
    CPlotPaintContext ctx = PaintContextOn(dc);
    // 5. A target of another size or place is a scaled draw, and so is a printed page.
    const bool scaled = printingPage_ || w != m.bufferWidth || h != m.bufferHeight ||
                        plot.left != 0 || plot.top != 0;
    if (scaled)
        BeginScaledDraw(m, plot, w, h);
    else if (m.showLegend && !m.legendRegion->sized)
        m.layoutDirty = 1;
    // 6. Clip to the invalid area.
    gdi::StateScope state(dc);
    dc.IntersectClipRect(invalid);
    const bool full = invalid == bounds;
    // 7. In print preview the margins around the page are filled and the page is the limit.
    if (printPreview_) {
        FillPreviewMargins(dc, bounds, pageRect_);
        dc.IntersectClipRect(pageRect_);
    }
    if (decoration) dc.FillSolidRect(target, backColor_);
    // 8. The model paints, then the header and footer around it.
    const gdi::Rect area = scaled ? plot : gdi::Rect{0, 0, m.bufferWidth, m.bufferHeight};
    m.Paint(ctx, area, false, full ? 1 : 0, false);
    if (decoration) m.PaintPageDecoration(ctx, target, *decoration);
    // 9. The clip goes with the state.
    dc.ResetClip();
    // 10. Back to the screen layout; one repaint on screen follows a scaled draw.
    if (scaled) {
        EndScaledDraw(m, dc);
        if (!scaledRepaintPending_) {
            scaledRepaintPending_ = true;
            site_.Invalidate(false);
        }
    } else {
        scaledRepaintPending_ = false;
    }
    // A container's picture is taken once; the next paint is for the window again.
    containerImage_ = false;
}

void CTrendixCtrl::BeginScaledDraw(CPlotLook& m, const gdi::Rect& bounds, int w, int h) {
    const gdi::Rect natural = m.NaturalRect();
    const int layoutW = std::max(copyWithSize_ ? natural.Width() : m.bufferWidth, 1);
    const int layoutH = std::max(copyWithSize_ ? natural.Height() : m.bufferHeight, 1);
    // The smaller factor wins; the other dimension is centred.
    float fx = float(std::max(w, 0)) / float(layoutW);
    float fy = float(std::max(h, 0)) / float(layoutH);
    const float s = std::min(fx, fy);
    int dx = bounds.left, dy = bounds.top;
    const int usedW = int(std::lround(double(layoutW) * s));
    const int usedH = int(std::lround(double(layoutH) * s));
    dx += (w - usedW) / 2;
    dy += (h - usedH) / 2;
    env_.BeginScaledOutput(s > 0 ? s : 1e-3f, dx, dy);
    if (m.showLegend) m.legendRegion->sized = 0;
    m.bufferWidth = usedW;
    m.bufferHeight = usedH;
    if (!copyWithSize_ && !printPreview_) m.printing = 1;
    m.layoutDirty = 1;
}

void CTrendixCtrl::EndScaledDraw(CPlotLook& m, gdi::IDeviceContext& dc) {
    m.bufferWidth = extentWidth_;
    m.bufferHeight = extentHeight_;
    m.printing = 0;
    env_.EndScaledOutput();
    if (m.showLegend) m.legendRegion->sized = 0;
    gdi::IDeviceContext* surface = site_.WindowSurface();
    CPlotPaintContext ctx = PaintContextOn(surface ? *surface : dc);
    m.Layout(ctx);
}

void CTrendixCtrl::PaintWindowSurface() {
    gdi::IDeviceContext* surface = site_.WindowSurface();
    if (!surface) return;
    const gdi::Rect all{0, 0, extentWidth_, extentHeight_};
    OnDraw(*surface, all, all);
}

void CTrendixCtrl::LiveUpdate(double time) {
    gdi::IDeviceContext* surface = site_.WindowSurface();
    if (!surface || !model_ || model_->layoutDirty) return; // the next paint shows it all
    CPlotPaintContext ctx = PaintContextOn(*surface);
    model_->LiveUpdate(ctx, time);
    site_.Flush(); // the host shows the strips drawn straight into the window surface
}
