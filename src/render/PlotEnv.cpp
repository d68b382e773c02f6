#include "render/PlotEnv.h"

#include "render/DrawTables.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kDegenerate = 1e-30f;
constexpr float kWiden = 1e-5f;

// Moves the ends of a range that is empty (or runs the wrong way) apart: by 1e-5 near zero,
// by 1e-5 of their own magnitude elsewhere.
void WidenLowHigh(float& low, float& high) {
    if (!(high - low < kDegenerate)) return;
    if (std::fabs(low) < 1) {
        low -= kWiden;
        high += kWiden;
    } else {
        low -= kWiden * std::fabs(low);
        high += kWiden * std::fabs(high);
    }
}

int RoundToInt(double v) {
    return static_cast<int>(v >= 0 ? v + 0.5 : v - 0.5);
}

// Truncates a scaled size to int within the limit; NaN gives 0.
int LimitedSize(float v) {
    constexpr float limit = static_cast<float>(CPlotEnv::kScaledLimit);
    if (std::isnan(v)) return 0;
    return static_cast<int>(std::clamp(v, -limit, limit));
}

} // namespace

CPlotEnv::CPlotEnv(CDrawTool& tool) : tool(&tool), defaultFont(&tool.DefaultFont()) {
    Recompute();
}

void CPlotEnv::SetMapping(const gdi::Rect& rect, float newX0, float newX1, float newY0,
                          float newY1) {
    width = rect.right - rect.left;
    height = rect.bottom - rect.top;
    x0 = newX0;
    x1 = newX1;
    y0 = newY0;
    y1 = newY1;
    WidenLowHigh(x0, x1);
    WidenLowHigh(y1, y0); // y0 is the top, the larger value of an upward axis
    negLeft = -rect.left;
    negTop = -rect.top;
    Recompute();
}

void CPlotEnv::SetYRange(float newY0, float newY1) {
    y0 = newY0;
    y1 = newY1;
    WidenLowHigh(x0, x1);
    WidenLowHigh(y1, y0);
    Recompute();
}

CScaleMap CPlotEnv::YMapFor(float top, float bottom) const {
    WidenLowHigh(bottom, top);
    return CScaleMap(top, bottom, height, offsetY - negTop);
}

void CPlotEnv::Recompute() {
    coeff.Compute(x0, x1, y0, y1, width, height);
}

CurveGeometry::CurveMap CPlotEnv::CurveMapping() const {
    return CurveMapping(y0, y1);
}

CurveGeometry::CurveMap CPlotEnv::CurveMapping(float yTop, float yBottom) const {
    const CScaleMap y = YMapFor(yTop, yBottom);
    return CurveGeometry::CurveMap{
        CurveGeometry::AxisMap(x0, x1, width, offsetX - negLeft, kDeviceLimit),
        CurveGeometry::AxisMap(y.P0(), y.P1(), height, offsetY - negTop, kDeviceLimit)};
}

bool CPlotEnv::WorldToDevice(float x, float y, int& dx, int& dy) const {
    if (!std::isfinite(x) || !std::isfinite(y)) return false;
    dx = MapX(x);
    dy = MapY(y);
    return true;
}

void CPlotEnv::DeviceToWorld(int dx, int dy, float& x, float& y) const {
    x = static_cast<float>((dx - Left()) / coeff.ax + x0);
    y = static_cast<float>((dy - Top()) / coeff.ay + y0);
}

void CPlotEnv::OffsetPoint(int& x, int& y) const {
    x += offsetX;
    y += offsetY;
}

void CPlotEnv::OffsetRect(gdi::Rect& rect) const {
    rect.left += offsetX;
    rect.right += offsetX;
    rect.top += offsetY;
    rect.bottom += offsetY;
}

void CPlotEnv::BeginScaledOutput(float s, int dx, int dy) {
    scale = s;
    offsetX = dx;
    offsetY = dy;
    tool->SetScaledOutput(true, s);
}

void CPlotEnv::EndScaledOutput() {
    scale = 1;
    offsetX = offsetY = 0;
    tool->SetScaledOutput(false, 1);
}

int CPlotEnv::ScaleSize(int n) const {
    return LimitedSize(static_cast<float>(n) * scale);
}

gdi::Size CPlotEnv::MeasureText(const CPlotFont* font, gdi::IDeviceContext& dc,
                                std::string_view text) const {
    // Only the font changes, and it is put back: no saved state is needed (saving costs more
    // than measuring on some devices).
    const gdi::Font old = dc.SelectFont(CDrawTool::DeviceFont(font ? *font : *defaultFont));
    const gdi::Size extent = dc.GetTextExtent(text);
    dc.SelectFont(old);
    return gdi::Size{LimitedSize(extent.cx * scale + 0.5f), LimitedSize(extent.cy * scale + 0.5f)};
}

gdi::Font CPlotEnv::SelectFont(gdi::IDeviceContext& dc, const CPlotFont* font) {
    if (!font) return dc.SelectFont(CDrawTool::DeviceFont(*defaultFont));
    const int size = ScaleSize(font->size);
    const CPlotFont& scaled = tool->FindFont(font->face, size, font->angle, font->style);
    return dc.SelectFont(CDrawTool::DeviceFont(scaled));
}

gdi::Pen CPlotEnv::SelectColorPen(gdi::IDeviceContext& dc, gdi::ColorRef rgb, int lineType) {
    return SelectPen(dc, tool->IndexOfColor(rgb), lineType);
}

gdi::Pen CPlotEnv::SelectPen(gdi::IDeviceContext& dc, int colorIndex, int lineType) {
    return dc.SelectPen(tool->Pen(colorIndex, lineType).pen);
}

gdi::Brush CPlotEnv::SelectBrush(gdi::IDeviceContext& dc, int colorIndex, int hatch) {
    const bool metafile = dc.Kind() == gdi::DeviceKind::Metafile;
    return dc.SelectBrush(tool->Brush(colorIndex, hatch, metafile).brush);
}

gdi::Brush CPlotEnv::SelectColorBrush(gdi::IDeviceContext& dc, gdi::ColorRef rgb) {
    return SelectBrush(dc, tool->IndexOfColor(rgb), 0);
}

gdi::Brush CPlotEnv::SelectSolidBrush(gdi::IDeviceContext& dc, int colorIndex) {
    return SelectBrush(dc, colorIndex, 0);
}

void CPlotEnv::DrawMarker(gdi::IDeviceContext& dc, int kind, int x, int y, int colorIndex,
                          int halfSize) {
    const gdi::Point at{x, y};
    DrawMarkers(dc, kind, std::span<const gdi::Point>(&at, 1), colorIndex, halfSize);
}

void CPlotEnv::DrawMarkers(gdi::IDeviceContext& dc, int kind, std::span<const gdi::Point> at,
                           int colorIndex, int halfSize) {
    if (kind <= 0 || kind >= DrawTables::kMarkerCount) return;
    const int h = halfSize;
    // Only markers whose square is visible are drawn.
    visibleMarkers_.clear();
    for (const gdi::Point& p : at)
        if (dc.RectVisible(gdi::Rect{p.x - h, p.y - h, p.x + h, p.y + h}))
            visibleMarkers_.push_back(p);
    if (visibleMarkers_.empty()) return;
    const DrawTables::Marker& marker = DrawTables::kMarkers[static_cast<std::size_t>(kind)];
    const int shape = static_cast<int>(marker.shape);
    const gdi::Pen oldPen = SelectPen(dc, colorIndex, 1);
    const gdi::Brush oldBrush = marker.filled ? SelectSolidBrush(dc, colorIndex) : gdi::Brush{};
    // The plus reaches one unit past the square on its right and bottom.
    const gdi::Rect extent{-h, -h, h + 2, h + 2};
    dc.DrawCopies(visibleMarkers_, extent, [shape, h](gdi::IDeviceContext& target, int x, int y) {
        DrawMarkerShape(target, shape, x, y, h);
    });
    if (marker.filled) dc.SelectBrush(oldBrush);
    dc.SelectPen(oldPen);
}

void CPlotEnv::DrawMarkerShape(gdi::IDeviceContext& dc, int shape, int x, int y, int h) {
    using DrawTables::MarkerShape;
    const gdi::Rect square{x - h, y - h, x + h, y + h};
    switch (static_cast<MarkerShape>(shape)) {
    case MarkerShape::Circle:
        dc.Ellipse(square);
        break;
    case MarkerShape::Square:
        dc.Rectangle(square);
        break;
    case MarkerShape::Diamond: {
        const gdi::Point p[] = {{x, y - h}, {x + h, y}, {x, y + h}, {x - h, y}};
        dc.Polygon(p);
        break;
    }
    case MarkerShape::TriangleUp: {
        const gdi::Point p[] = {{x, y - h}, {x + h, y + h / 2}, {x - h, y + h / 2}};
        dc.Polygon(p);
        break;
    }
    case MarkerShape::TriangleDown: {
        const gdi::Point p[] = {{x, y + h}, {x + h, y - h / 2}, {x - h, y - h / 2}};
        dc.Polygon(p);
        break;
    }
    case MarkerShape::Plus:
        // Two-unit strokes: each line again one unit lower or to the right.
        for (int d = 0; d < 2; ++d) {
            dc.MoveTo(x - h, y + d);
            dc.LineTo(x + h + 1, y + d);
        }
        for (int d = 0; d < 2; ++d) {
            dc.MoveTo(x + d, y - h);
            dc.LineTo(x + d, y + h + 1);
        }
        break;
    case MarkerShape::None:
        break;
    }
}

void CPlotEnv::DrawArrowHead(gdi::IDeviceContext& dc, int tipX, int tipY, int tailX, int tailY,
                             int size) {
    if (size < 0 || (tipX == tailX && tipY == tailY)) return;
    double dx = tailX - tipX;
    double dy = tailY - tipY;
    double length = std::hypot(dx, dy);
    // A short segment gives no direction to speak of: look further along it.
    while (length <= 5) {
        dx *= 2;
        dy *= 2;
        length *= 2;
    }
    const double u = size / length;
    const double gx = dx * u / 3;
    const double gy = dy * u / 3;
    const int px = RoundToInt(gy);
    const int py = -RoundToInt(gx);
    const int backX = RoundToInt(tipX + 3 * gx);
    const int backY = RoundToInt(tipY + 3 * gy);
    const gdi::Point head[] = {{tipX, tipY},
                               {backX - px, backY - py},
                               {RoundToInt(tipX + 1.5 * gx), RoundToInt(tipY + 1.5 * gy)},
                               {backX + px, backY + py}};
    dc.Polygon(head);
}

void CPlotEnv::SnapToGrid(float& x, float& y) const {
    if (!snapOn || snapStep == 0) return;
    auto snap = [this](float v) {
        const float half = std::copysign(snapStep / 2, v);
        return std::trunc((v + half) / snapStep) * snapStep;
    };
    x = snap(x);
    y = snap(y);
}

void CPlotEnv::PlaceHandle(gdi::IDeviceContext& dc, int x, int y, int id, int key,
                           const void* region, const void* annotation) {
    auto found = std::find_if(handleList.begin(), handleList.end(), [&](const CPlotBullet& b) {
        return b.region == region && b.annotation == annotation && b.key == key;
    });
    CPlotBullet& handle =
        found != handleList.end() ? *found : handleList.emplace_back(region, annotation, key);
    handle.id = id;
    handle.PlaceAt(x, y);
    if (handle.IsShown()) DrawHandle(dc, handle, 12);
}

void CPlotEnv::DrawHandle(gdi::IDeviceContext& dc, const CPlotBullet& handle, int brushColor) {
    const gdi::Pen oldPen = SelectPen(dc, 12, 1);
    const gdi::Brush oldBrush = SelectSolidBrush(dc, brushColor);
    handle.Draw(dc);
    dc.SelectBrush(oldBrush);
    dc.SelectPen(oldPen);
}

void CPlotEnv::DrawHandles(gdi::IDeviceContext& dc) {
    for (const CPlotBullet& handle : handleList)
        if (handle.IsShown()) DrawHandle(dc, handle, 12);
    if (selectedHandle && selectedHandle->IsShown()) DrawHandle(dc, *selectedHandle, 15);
}

int CPlotEnv::HitHandle(gdi::Point point, bool remember) {
    for (CPlotBullet& handle : handleList) {
        if (!handle.visible || !handle.Contains(point)) continue;
        hotHandle = &handle;
        if (remember) selectedHandle = &handle;
        return handle.id;
    }
    return 0;
}

void CPlotEnv::NextHandle(gdi::IDeviceContext& dc, const Invalidate& invalidate) {
    const auto visible = [](const CPlotBullet& b) { return b.visible != 0; };
    if (std::count_if(handleList.begin(), handleList.end(), visible) < 2) return;
    auto at = std::find_if(handleList.begin(), handleList.end(),
                           [this](const CPlotBullet& b) { return &b == selectedHandle; });
    CPlotBullet* old = selectedHandle;
    // The next visible handle in list order after the selected one, wrapping round.
    do {
        if (at == handleList.end() || ++at == handleList.end()) at = handleList.begin();
    } while (!at->visible);
    selectedHandle = &*at;
    if (old && invalidate) invalidate(old->rect);
    if (invalidate) invalidate(selectedHandle->rect);
    DrawHandles(dc);
}

void CPlotEnv::RemoveHandles(const Invalidate& invalidate, const void* owner) {
    for (auto it = handleList.begin(); it != handleList.end();) {
        if (!it->OwnedBy(owner)) {
            ++it;
            continue;
        }
        if (invalidate) invalidate(it->rect);
        if (hotHandle == &*it) hotHandle = nullptr;
        if (selectedHandle == &*it) selectedHandle = nullptr;
        it = handleList.erase(it);
    }
}
