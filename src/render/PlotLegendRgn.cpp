#include "render/PlotLegendRgn.h"

#include "render/PlotPaintContext.h"
#include "render/PlotVar.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr const char* kNote = " x 10";
constexpr int kMinimumSide = 20;

int SafeColor(const CPlotPaintContext& ctx, int index) {
    return index >= 0 && index < ctx.env.tool->ColorCount() ? index : 0;
}

} // namespace

void CPlotLegendRgn::SetBox(int sampleLength, float factor, int newMargin) {
    if (sampleLength > 10 && sampleLength <= 200) lineSampleLength = sampleLength;
    if (factor >= 0.8f && factor < 3.0f) itemHeightFactor = factor; // NaN fails both tests
    if (newMargin >= 3 && newMargin < 40) margin = newMargin;
    sized = 0;
}

int CPlotLegendRgn::EntryHeight(int h, int index) const {
    return index == 0 ? h : static_cast<int>(std::lround(h * itemHeightFactor));
}

gdi::Size CPlotLegendRgn::Measure(CPlotPaintContext& ctx) {
    if (sized) return {width, height};
    CPlotEnv& env = ctx.env;
    int w = 0, sum = 0, total = 0;
    itemCount = 0;
    for (const CLegendEntry& e : entries) {
        gdi::Size s = env.MeasureText(font, ctx.dc, e.shown.text + (e.shown.note ? kNote : ""));
        if (e.shown.note && !e.shown.exponent.empty())
            s.cx += env.MeasureText(secondFont ? secondFont : font, ctx.dc, e.shown.exponent).cx;
        w = std::max(w, s.cx);
        sum += EntryHeight(s.cy, itemCount);
        total += itemCount == 0 ? s.cy : static_cast<int>(std::lround(0.8 * s.cy));
        lastTextHeight_ = s.cy;
        ++itemCount;
    }
    height = sum + 2 * margin;
    width = w + env.ScaleSize(3 * margin + lineSampleLength);
    minimumWidth = w + env.ScaleSize(3 * margin + 10);
    textHeightTotal = total + 2 * margin;
    sized = 1;
    return {width, height};
}

void CPlotLegendRgn::Place(const Rect& drawing, float fx, float fy, int controlWidth) {
    int xr = static_cast<int>((drawing.width() + 1) * fx) + drawing.left;
    xr = std::min(xr, controlWidth - 1);
    xr = std::max(xr, width);
    rect.left = xr - width + 1;
    rect.top = static_cast<int>((drawing.height() + 1) * fy) + drawing.top;
    rect.right = rect.left + width;
    rect.bottom = rect.top + height;
}

void CPlotLegendRgn::Draw(CPlotPaintContext& ctx, bool force) {
    if (!shown || hidden || width <= 0 || height <= 0) return;
    if (!force && !ctx.dc.RectVisible(DeviceRect(ctx))) return;
    const gdi::Rect r = DeviceRect(ctx);
    gdi::IDeviceContext& dc = ctx.dc;
    gdi::StateScope state(dc);
    // 1. The frame, silver when the legend is selected.
    ctx.env.SelectColorPen(dc, ctx.foreColor, 1);
    if (selected)
        ctx.env.SelectSolidBrush(dc, 7);
    else
        ctx.env.SelectColorBrush(dc, ctx.backColor);
    dc.Rectangle(r);
    // 2. The entries.
    dc.SetBkMode(gdi::BackgroundMode::Transparent);
    for (std::size_t c = 0; c < entries.size(); ++c) {
        const CLegendEntry& e = entries[c];
        const int h = ctx.env.MeasureText(font, dc, e.shown.text.empty() ? " " : e.shown.text).cy;
        const int top = r.top + margin + static_cast<int>(c * h * itemHeightFactor);
        DrawEntry(ctx, r, e, top, h);
    }
}

void CPlotLegendRgn::DrawEntry(CPlotPaintContext& ctx, const gdi::Rect& r, const CLegendEntry& e,
                               int top, int h) {
    CPlotEnv& env = ctx.env;
    gdi::IDeviceContext& dc = ctx.dc;
    const int baseline = top + h, centre = top + h / 2;
    const int x1 = r.left + env.ScaleSize(margin);
    const int x2 = r.left + env.ScaleSize(lineSampleLength + 2 * margin) - env.ScaleSize(margin);
    const int color = SafeColor(ctx, e.color);
    // 1. The sample: a bar, or a line and a marker.
    if (barMode) {
        gdi::StateScope state(dc);
        env.SelectPen(dc, SafeColor(ctx, e.barOutline), 6);
        env.SelectBrush(dc, color, std::clamp(e.barPattern, 0, 10));
        dc.Rectangle({x1, top, x2, baseline});
    } else {
        if (e.penLineType != CPlotVar::kNoLine && displayType != 1) {
            gdi::StateScope state(dc);
            env.SelectPen(dc, color, e.penLineType);
            dc.MoveTo(x1, centre);
            dc.LineTo(x2, centre);
        }
        if (displayType != 0 && !e.area)
            env.DrawMarker(dc, e.marker, (x1 + x2) / 2, centre, color, env.ScaleSize(4));
    }
    // 2. The text and the multiplier note.
    env.SelectFont(dc, font);
    dc.SetTextColor(env.tool->ColorAt(color));
    dc.SetTextAlign(gdi::AlignBottom | gdi::AlignUpdateCP);
    dc.MoveTo(r.left + env.ScaleSize(lineSampleLength + 2 * margin), baseline);
    dc.TextOut(0, 0, e.shown.text);
    if (!e.shown.note) return;
    dc.TextOut(0, 0, kNote);
    if (e.shown.exponent.empty()) return;
    const gdi::Point at = dc.MoveTo(0, 0);
    dc.MoveTo(at.x, at.y - h / 2);
    env.SelectFont(dc, secondFont ? secondFont : font);
    dc.TextOut(0, 0, e.shown.exponent);
}

void CPlotLegendRgn::ShowSelectedLate(CPlotPaintContext& ctx) {
    if (!shown || IsEmpty()) return;
    const gdi::Rect r = DeviceRect(ctx);
    const int midX = (r.left + r.right) / 2, midY = (r.top + r.bottom) / 2;
    auto place = [&](int x, int y, int id, int key) {
        ctx.env.PlaceHandle(ctx.dc, x, y, id, key, this, nullptr);
    };
    place(r.left + 2, r.top + 2, 16526, 1);
    place(r.right - 3, r.top + 2, 16527, 2);
    place(r.right - 3, r.bottom - 3, 16526, 3);
    place(r.left + 2, r.bottom - 3, 16527, 4);
    place(r.left + 2, midY, 16525, 5);
    place(r.right - 3, midY, 16525, 6);
    if (itemCount >= 2) {
        place(midX, r.top + 2, 16524, 7);
        place(midX, r.bottom - 3, 16524, 8);
    }
}

// ---------------------------------------------------------------------------------------------
// Pointer editing

void CPlotLegendRgn::BeginDrag(CPlotPaintContext& ctx, gdi::Point point) {
    dragStart = point;
    dragRect = rect;
    DrawOutline(ctx);
}

CPlotRegion::Rect CPlotLegendRgn::Dragged(gdi::Point p) const {
    const int dx = p.x - dragStart.x, dy = p.y - dragStart.y;
    Rect r = rect;
    const int minW =
        (dragMode == 5 || dragMode == 6) ? std::max(minimumWidth, kMinimumSide) : kMinimumSide;
    auto moveLeft = [&] { r.left = std::min(rect.left + dx, r.right - minW); };
    auto moveRight = [&] { r.right = std::max(rect.right + dx, r.left + minW); };
    auto moveTop = [&] { r.top = std::min(rect.top + dy, r.bottom - kMinimumSide); };
    auto moveBottom = [&] { r.bottom = std::max(rect.bottom + dy, r.top + kMinimumSide); };
    switch (dragMode) {
    case 0:
        r = {rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
        break;
    case 1:
        moveLeft(), moveTop();
        break;
    case 2:
        moveRight(), moveTop();
        break;
    case 3:
        moveRight(), moveBottom();
        break;
    case 4:
        moveLeft(), moveBottom();
        break;
    case 5:
        moveLeft();
        break;
    case 6:
        moveRight();
        break;
    case 7:
        moveTop();
        break;
    case 8:
        moveBottom();
        break;
    default:
        break;
    }
    return r;
}

void CPlotLegendRgn::DrawOutline(CPlotPaintContext& ctx) {
    gdi::IDeviceContext& dc = ctx.dc;
    gdi::StateScope state(dc);
    dc.SetRop2(gdi::RasterOp::NotXorPen);
    ctx.env.SelectPen(dc, 0, 1);
    dc.SelectBrush(gdi::Brush{gdi::BrushStyle::Null});
    gdi::Rect r{dragRect.left, dragRect.top, dragRect.right, dragRect.bottom};
    ctx.env.OffsetRect(r);
    dc.Rectangle(r);
}

void CPlotLegendRgn::DragTo(CPlotPaintContext& ctx, gdi::Point point) {
    DrawOutline(ctx); // the inverting pen takes the old outline away
    dragRect = Dragged(point);
    DrawOutline(ctx);
}

bool CPlotLegendRgn::EndDrag(CPlotPaintContext& ctx, const Rect& drawing, float& fx, float& fy) {
    DrawOutline(ctx);
    const Rect r = dragRect;
    if (r == rect) return false;
    fx = float(r.right - drawing.left + 1) / float(drawing.width() + 1);
    fy = float(r.top - drawing.top) / float(drawing.height() + 1);
    const int dw = r.width() - rect.width();
    auto refitItems = [&](int newHeight) {
        if (itemCount < 2 || textHeightTotal <= 2 * margin) return;
        const float spare = float(newHeight - textHeightTotal) / float(itemCount - 1);
        const float mean = float(textHeightTotal - 2 * margin) / float(itemCount);
        itemHeightFactor = std::clamp(spare / mean + 0.8f, 0.8f, 2.99f);
    };
    if (dragMode == 5 || dragMode == 6) {
        lineSampleLength = std::clamp(lineSampleLength + dw, 11, 200);
    } else if (dragMode == 7 || dragMode == 8) {
        refitItems(r.height());
    } else if (dragMode >= 1 && dragMode <= 4 && font && rect.width() > 0 && rect.height() > 0) {
        // Corners scale the text by the width or height ratio, whichever is closer to 1.
        const float rw = float(r.width()) / float(rect.width());
        const float rh = float(r.height()) / float(rect.height());
        const float ratio = std::fabs(rw - 1) < std::fabs(rh - 1) ? rw : rh;
        font->size = std::clamp(static_cast<int>(std::lround(font->size * ratio)), 1, 500);
        font->created = false;
        const int oldWidth = width;
        sized = 0;
        Measure(ctx);
        lineSampleLength = std::clamp(lineSampleLength + r.width() - oldWidth, 11, 200);
        refitItems(r.height());
    }
    sized = 0;
    return true;
}
