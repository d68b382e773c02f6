#include "platform/gdi/DeviceContext.h"
#include "render/PlotAxis.h"
#include "render/PlotDrawingRgn.h"
#include "render/PlotEnv.h"
#include "render/PlotPaintContext.h"
#include "render/PlotVar.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr float kShear = 0.577f;  // tan 30°: the equilateral triangle's lean
constexpr int kMaxGridLines = 50; // a denser grid steps by ten times the interval

// Highest curve pen widths reach past the sides by this much.
int GrowForLineType(int penLineType) {
    switch (penLineType) {
    case 5:
        return 1;
    case 6:
    case 7:
        return 2;
    case 8:
        return 3;
    default:
        return 0;
    }
}

} // namespace

bool CPlotTriDrawingRgn::MapPoint(const CPlotPaintContext& ctx, const Map& map, double px,
                                  double py, gdi::Point& p) const {
    if (!map(static_cast<float>(px), static_cast<float>(py), p)) return false;
    // The square of fractions leans into a parallelogram whose lower-left half is the triangle.
    if (triKind == 1) {
        const int bottom = rect.bottom + ctx.env.offsetY;
        p.x += static_cast<int>(static_cast<float>(bottom - p.y) * kShear);
    }
    return true;
}

void CPlotTriDrawingRgn::DeviceToFractions(const CPlotEnv& env, int x, int y, float& wx,
                                           float& wy) const {
    if (triKind == 1) {
        const int bottom = rect.bottom + env.offsetY;
        x -= static_cast<int>(static_cast<float>(bottom - y) * kShear);
    }
    env.DeviceToWorld(x, y, wx, wy);
}

std::string CPlotTriDrawingRgn::PointerText(const CPlotEnv& env, int x, int y, float& wx,
                                            float& wy) const {
    DeviceToFractions(env, x, y, wx, wy);
    const double z = 1.0 - wx - wy;
    char text[128];
    std::snprintf(text, sizeof text, "x=%.3g\ny=%.3g\nz=%.3g", double(wx), double(wy),
                  std::fabs(z) < 5e-7 ? 0.0 : z);
    return text;
}

int CPlotTriDrawingRgn::ClipOutline(const CPlotEnv& env, int grow, gdi::Point outline[4]) const {
    const int l = rect.left + env.offsetX, r = rect.right + env.offsetX;
    const int t = rect.top + env.offsetY, b = rect.bottom + env.offsetY;
    if (triKind == 1) {
        outline[0] = {(l + r) / 2, t - 2 * grow - 1};
        outline[1] = {l - 1 - grow, b + grow + 1};
        outline[2] = {r + 2 * grow + 2, b + grow + 1};
    } else {
        outline[0] = {l - grow, t - 2 * grow - 1};
        outline[1] = {l - grow, b + grow + 1};
        outline[2] = {r + 2 * grow + 2, b + grow + 1};
    }
    return 3;
}

bool CPlotTriDrawingRgn::HitTest(int x, int y) const {
    if (!CPlotRegion::HitTest(x, y)) return false;
    // Inside the triangle (without output offset).
    const int l = rect.left, r = rect.right, t = rect.top, b = rect.bottom;
    const gdi::Point a = triKind == 1 ? gdi::Point{(l + r) / 2, t} : gdi::Point{l, t};
    const gdi::Point c{l, b}, d{r, b};
    auto side = [&](gdi::Point p, gdi::Point q) {
        return (long long)(q.x - p.x) * (y - p.y) - (long long)(q.y - p.y) * (x - p.x);
    };
    const long long s1 = side(a, c), s2 = side(c, d), s3 = side(d, a);
    return (s1 >= 0 && s2 >= 0 && s3 >= 0) || (s1 <= 0 && s2 <= 0 && s3 <= 0);
}

int CPlotTriDrawingRgn::ClipGrow(const CPlotPaintContext& ctx, const CPlotVar& styled) const {
    if (styled.area) return 0;
    if (styled.highlighted && ctx.highlightMode == 1 && !ctx.IsPrinter()) return 1;
    return GrowForLineType(styled.PenLineType());
}

void CPlotTriDrawingRgn::ApplyClip(CPlotPaintContext& ctx, int grow) {
    gdi::Point outline[4];
    const int n = ClipOutline(ctx.env, grow, outline);
    // Metafiles get the arithmetic cut at the sides instead of a clip region.
    if (ctx.IsMetafile()) {
        ctx.dc.IntersectClipRect(DeviceRect(ctx.env));
        return;
    }
    ctx.dc.SelectClipPolygon(std::span<const gdi::Point>(outline, std::size_t(n)));
}

void CPlotTriDrawingRgn::DrawGrid(CPlotPaintContext& ctx) {
    const CPlotAxis* xAxis = ctx.horizontal;
    const CPlotAxis* yAxis = ctx.vertical;
    if (!xAxis || !yAxis) return;
    const double x0 = xAxis->plotMin, x1 = xAxis->plotMax;
    const double y0 = yAxis->plotMin, y1 = yAxis->plotMax;
    double f = xAxis->interval;
    if (!std::isfinite(f) || f <= 0 || !std::isfinite(x0) || !std::isfinite(x1) ||
        !std::isfinite(y0) || !std::isfinite(y1))
        return;
    // Never more than 50 lines: the step grows tenfold.
    for (int i = 0; i < 400 && std::fabs(x1 - x0) / f > kMaxGridLines; ++i)
        f *= 10;
    if (std::fabs(x1 - x0) / f > kMaxGridLines) return;

    gdi::StateScope state(ctx.dc);
    ApplyClip(ctx, 0);
    ctx.env.SelectColorPen(ctx.dc, ctx.foreColor, 2);
    const Map map = ctx.env.CurveMapping();
    // Lines of constant y, constant x and constant x + y: parallel to the three sides.
    for (int k = 1; k <= kMaxGridLines + 1; ++k) {
        const double l = x0 + k * f;
        if (!(l > x0 && l < x1)) break;
        const double d = l - x0;
        const double world[4][2] = {{x0, y1 - d}, {l, y1 - d}, {l, y0}, {x0, y0 + d}};
        gdi::Point line[4];
        bool ok = true;
        for (int j = 0; j < 4 && ok; ++j)
            ok = MapPoint(ctx, map, world[j][0], world[j][1], line[j]);
        if (ok) ctx.dc.Polyline(line);
    }
}
