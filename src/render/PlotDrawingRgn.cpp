#include "render/PlotDrawingRgn.h"

#include "platform/gdi/DeviceContext.h"
#include "render/AxisTransform.h"
#include "render/CurveGeometry.h"
#include "render/DrawTables.h"
#include "render/NumberFormat.h"
#include "render/PlotAxis.h"
#include "render/PlotEnv.h"
#include "render/PlotPaintContext.h"
#include "render/PlotVar.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr double kLineBreak = 1.9e28; // a stored value this high breaks a live line
constexpr int kGridSpacing = 5;       // grid lines this close to the last one are left out
constexpr int kHighlightColor = 17;   // orange
constexpr int kTooltipLimit = 100;    // more markers than this get no tooltips
constexpr double kRangeTolerance = 1e-5;
constexpr double kMappableLimit = 3e38; // plot values at least this large are not drawn

bool Valid(double v) {
    return !IsMissing(v) && !std::isnan(v);
}

// Valid, and through a linear axis a value that can be mapped (see Transform): NaN fails both
// comparisons.
bool LinearlyMappable(double v) {
    return v > -kMappableLimit && v <= MISSING_THRESHOLD;
}

// A transformed value that can be mapped.
bool Transform(const CPlotAxis& axis, double v, double& p) {
    p = axis.ToPlot(v);
    return std::isfinite(p) && !IsMissing(p) && std::fabs(p) < kMappableLimit;
}

int SampleCount(const CPlotVar& v) {
    return static_cast<int>(std::min<std::size_t>(v.ReadableCount(), v.values.size()));
}

// Maps n samples, a along the horizontal and b along the vertical, to out, leaving out those
// that cannot be mapped; returns how many were written.
std::uint32_t MapSamples(const CurveGeometry::AxisMap& horizontal,
                         const CurveGeometry::AxisMap& vertical, const double* as, const double* bs,
                         std::uint32_t n, std::pair<int, int>* out) {
    std::uint32_t count = 0;
    for (std::uint32_t k = 0; k < n; ++k) {
        const double a = as[k], b = bs[k];
        // Both tests are made, without a branch between them.
        const unsigned keep = unsigned(LinearlyMappable(a)) & unsigned(LinearlyMappable(b));
        // Every point is written, and the next one overwrites it unless it is kept.
        out[count] = {horizontal(keep ? static_cast<float>(a) : 0.0f),
                      vertical(keep ? static_cast<float>(b) : 0.0f)};
        count += keep;
    }
    return count;
}

std::string FormatPair(const char* format, double a, double b) {
    char text[96];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

} // namespace

// ---- Geometry ----

gdi::Rect CPlotDrawingRgn::DeviceRect(const CPlotEnv& env) const {
    gdi::Rect r{rect.left, rect.top, rect.right, rect.bottom};
    env.OffsetRect(r);
    return r;
}

bool CPlotDrawingRgn::MapPoint(const CPlotPaintContext& ctx, const Map& map, double px, double py,
                               gdi::Point& p) const {
    // Flipped plots run the X values up the vertical axis.
    const float a = static_cast<float>(ctx.flipped ? py : px);
    const float b = static_cast<float>(ctx.flipped ? px : py);
    return map(a, b, p);
}

bool CPlotDrawingRgn::MapSample(const CPlotPaintContext& ctx, const Map& map,
                                const CPlotAxis& xAxis, const CPlotAxis& yAxis, bool linear,
                                double x, double y, gdi::Point& p) const {
    // Linear axes leave a valid value as it is; the test is Transform's for that case.
    if (linear) return LinearlyMappable(x) && LinearlyMappable(y) && MapPoint(ctx, map, x, y, p);
    double px, py;
    return Transform(xAxis, x, px) && Transform(yAxis, y, py) && MapPoint(ctx, map, px, py, p);
}

int CPlotDrawingRgn::ClipOutline(const CPlotEnv& env, int grow, gdi::Point outline[4]) const {
    const gdi::Rect r = DeviceRect(env);
    outline[0] = {r.left - grow, r.top - grow};
    outline[1] = {r.right + grow, r.top - grow};
    outline[2] = {r.right + grow, r.bottom + grow};
    outline[3] = {r.left - grow, r.bottom + grow};
    return 4;
}

bool CPlotDrawingRgn::ContainsPoint(gdi::Point p) const {
    return p.x >= rect.left && p.x <= rect.right && p.y >= rect.top && p.y <= rect.bottom;
}

bool CPlotDrawingRgn::SegmentMayCross(int x1, int y1, int x2, int y2) const {
    if (x1 < rect.left && x2 < rect.left) return false;
    if (x1 > rect.right && x2 > rect.right) return false;
    if (y1 < rect.top && y2 < rect.top) return false;
    if (y1 > rect.bottom && y2 > rect.bottom) return false;
    return true;
}

bool CPlotDrawingRgn::ZoomBoxContains(const Rect& r) const {
    if (!zoomBoxShown) return false;
    const int l = std::min(zoomBox.left, zoomBox.right), rt = std::max(zoomBox.left, zoomBox.right);
    const int t = std::min(zoomBox.top, zoomBox.bottom), b = std::max(zoomBox.top, zoomBox.bottom);
    return r.left >= l && r.right <= rt && r.top >= t && r.bottom <= b;
}

bool CPlotDrawingRgn::ZoomFractions(double& x0, double& x1, double& y0, double& y1) const {
    if (!zoomBoxShown || rect.width() <= 0 || rect.height() <= 0) return false;
    const double w = rect.width(), h = rect.height();
    x0 = (std::min(zoomBox.left, zoomBox.right) - rect.left) / w;
    x1 = (std::max(zoomBox.left, zoomBox.right) - rect.left) / w;
    y0 = (rect.bottom - std::max(zoomBox.top, zoomBox.bottom)) / h;
    y1 = (rect.bottom - std::min(zoomBox.top, zoomBox.bottom)) / h;
    return true;
}

bool CPlotDrawingRgn::InPlotRange(const CPlotAxis& xAxis, const CPlotAxis& yAxis, double x,
                                  double y) {
    const double px = xAxis.ToPlot(x), py = yAxis.ToPlot(y);
    return px >= xAxis.plotMin - kRangeTolerance && px <= xAxis.plotMax + kRangeTolerance &&
           py >= yAxis.plotMin - kRangeTolerance && py <= yAxis.plotMax + kRangeTolerance;
}

std::string CPlotDrawingRgn::PointerText(const CPlotEnv& env, int x, int y, float& wx,
                                         float& wy) const {
    env.DeviceToWorld(x, y, wx, wy);
    return FormatPair("x=%.3g\ny=%.3g", wx, wy);
}

// ---- Background ----

void CPlotDrawingRgn::Draw(CPlotPaintContext& ctx, bool force) {
    const gdi::Rect r = DeviceRect(ctx.env);
    if (!force && !ctx.dc.RectVisible(r)) return;
    if (ctx.gridType != 0) DrawGrid(ctx);
    gdi::StateScope state(ctx.dc);
    // The zero line on the value axis, when 0 lies inside it.
    const CPlotAxis* value = ctx.flipped ? ctx.horizontal : ctx.vertical;
    if (ctx.zeroLine && value && value->plotMin < 0 && value->plotMax != 0) {
        ctx.env.SelectColorPen(ctx.dc, ctx.foreColor, 1);
        if (ctx.flipped) {
            const int x = ctx.env.MapX(0.0f);
            if (x >= r.left && x <= r.right) {
                ctx.dc.MoveTo(x, r.top);
                ctx.dc.LineTo(x, r.bottom);
            }
        } else {
            const int y = ctx.env.MapY(0.0f);
            if (y >= r.top && y <= r.bottom) {
                ctx.dc.MoveTo(r.left, y);
                ctx.dc.LineTo(r.right, y);
            }
        }
    }
    if (ctx.diagonalLine) {
        ctx.env.SelectColorPen(ctx.dc, ctx.foreColor, 2);
        ctx.dc.MoveTo(r.left, r.bottom);
        ctx.dc.LineTo(r.right, r.top);
    }
    if (zoomBoxShown && !ctx.IsPrinter()) DrawZoomBox(ctx);
}

void CPlotDrawingRgn::DrawGrid(CPlotPaintContext& ctx) {
    const gdi::Rect r = DeviceRect(ctx.env);
    gdi::StateScope state(ctx.dc);
    ctx.env.SelectColorPen(ctx.dc, ctx.foreColor, 2);
    // Vertical lines at the ticks of the horizontal axis, none closer than 6 to the last.
    if ((ctx.gridType & 1) && ctx.horizontal) {
        int last = 0;
        for (double t : AxisScale::GridTicks(ctx.horizontal->Division())) {
            const int x = ctx.env.MapX(static_cast<float>(t));
            if (x <= r.left || x > r.right || std::abs(x - last) <= kGridSpacing) continue;
            ctx.dc.MoveTo(x, r.top);
            ctx.dc.LineTo(x, r.bottom);
            last = x;
        }
    }
    if ((ctx.gridType & 2) && ctx.vertical) {
        int last = 0;
        for (double t : AxisScale::GridTicks(ctx.vertical->Division())) {
            const int y = ctx.env.MapY(static_cast<float>(t));
            if (y < r.top || y >= r.bottom || std::abs(y - last) <= kGridSpacing) continue;
            ctx.dc.MoveTo(r.left, y);
            ctx.dc.LineTo(r.right, y);
            last = y;
        }
    }
}

void CPlotDrawingRgn::DrawZoomBox(CPlotPaintContext& ctx) {
    gdi::StateScope state(ctx.dc);
    ctx.env.SelectPen(ctx.dc, 0, 2);
    ctx.dc.SetRop2(gdi::RasterOp::NotXorPen);
    ctx.dc.SelectBrush(gdi::Brush{gdi::BrushStyle::Null});
    gdi::Rect box{std::min(zoomBox.left, zoomBox.right), std::min(zoomBox.top, zoomBox.bottom),
                  std::max(zoomBox.left, zoomBox.right), std::max(zoomBox.top, zoomBox.bottom)};
    ctx.env.OffsetRect(box);
    ctx.dc.Rectangle(box);
}

// ---- Curves ----

CPlotVar& CPlotDrawingRgn::Styled(const CPlotPaintContext& ctx, CPlotVar& xVar, CPlotVar& yVar) {
    return ctx.flipped && !yVar.ownAttributes ? xVar : yVar;
}

bool CPlotDrawingRgn::Highlighted(const CPlotPaintContext& ctx, const CPlotVar& v) {
    return v.highlighted && !ctx.IsPrinter() && ctx.highlightMode < 100;
}

CPlotDrawingRgn::SampleRange CPlotDrawingRgn::CurveSamples(const CPlotPaintContext& ctx,
                                                           const CPlotVar& xVar,
                                                           const CPlotVar& yVar) const {
    SampleRange s;
    const int n = std::min(SampleCount(xVar), SampleCount(yVar));
    if (n <= 0) return s;
    s.count = static_cast<std::uint32_t>(n);
    if (!(ctx.runPlot || ctx.phasePlot) || !xVar.ringMode) return s;
    // A ring is walked from its oldest slot; a run plot from the start of the time window.
    s.ring = true;
    s.size = s.count;
    s.first = xVar.wrapped ? xVar.writePos % s.size : 0;
    if (ctx.runPlot) {
        const std::uint32_t k = FirstAtTime(s, xVar, ctx.displayStart);
        if (k < s.count) {
            s.first = s.Slot(k);
            s.count -= k;
        }
    }
    return s;
}

std::uint32_t CPlotDrawingRgn::FirstAtTime(const SampleRange& s, const CPlotVar& time, double t) {
    // Times pushed in ascending order ascend through the whole ring: the first sample at t
    // is the first one not before it, when that one is at t. Anything else is scanned.
    const auto at = [&](std::uint32_t k) { return time.values[s.Slot(k)]; };
    if (time.AscendsInRing() && s.size == time.ReadableCount()) {
        std::uint32_t low = 0, high = s.count;
        while (low < high) {
            const std::uint32_t mid = low + (high - low) / 2;
            if (at(mid) < t)
                low = mid + 1;
            else
                high = mid;
        }
        return low < s.count && at(low) == t ? low : s.count;
    }
    for (std::uint32_t k = 0; k < s.count; ++k)
        if (at(k) == t) return k;
    return s.count;
}

int CPlotDrawingRgn::ClipGrow(const CPlotPaintContext&, const CPlotVar&) const {
    return 0;
}

void CPlotDrawingRgn::ApplyClip(CPlotPaintContext& ctx, int) {
    ctx.dc.IntersectClipRect(DeviceRect(ctx.env));
}

void CPlotDrawingRgn::DrawCurve(CPlotPaintContext& ctx, const Map& map, CPlotVar& xVar,
                                CPlotVar& yVar, const CPlotAxis& xAxis, const CPlotAxis& yAxis) {
    // 1. Nothing without a line; the point buffer is filled anew.
    CPlotVar& styled = Styled(ctx, xVar, yVar);
    if (!styled.DrawsLine()) return;
    styled.devicePointCount = 0;
    gdi::StateScope state(ctx.dc);
    const int grow = ClipGrow(ctx, styled);
    ApplyClip(ctx, grow);

    // 2. The passes: plain, highlighted, or highlighted in two colours.
    CurvePass pass;
    pass.color = styled.color;
    pass.lineType = styled.PenLineType();
    pass.hatch = styled.barPattern;
    pass.fill = styled.area && styled.barPattern >= 0;
    const bool highlighted = Highlighted(ctx, styled);
    if (highlighted) pass.color = kHighlightColor;
    if (highlighted && ctx.highlightMode == 1) {
        CurvePass first{8, 5, 5, styled.area != 0, gdi::RasterOp::CopyPen};
        DrawCurvePass(ctx, map, xVar, yVar, xAxis, yAxis, styled, first, grow);
        CurvePass second{3, 9, 10, first.fill,
                         first.fill ? gdi::RasterOp::MaskPen : gdi::RasterOp::CopyPen};
        DrawCurvePass(ctx, map, xVar, yVar, xAxis, yAxis, styled, second, grow);
        return;
    }
    DrawCurvePass(ctx, map, xVar, yVar, xAxis, yAxis, styled, pass, grow);
}

void CPlotDrawingRgn::DrawCurvePass(CPlotPaintContext& ctx, const Map& map, CPlotVar& xVar,
                                    CPlotVar& yVar, const CPlotAxis& xAxis, const CPlotAxis& yAxis,
                                    CPlotVar& styled, const CurvePass& pass, int grow) {
    gdi::IDeviceContext& dc = ctx.dc;
    const gdi::Pen oldPen = ctx.env.SelectPen(dc, pass.color, pass.lineType);
    const gdi::RasterOp oldRop = dc.SetRop2(pass.rop);
    gdi::Brush oldBrush;
    gdi::ColorRef oldText = 0;
    if (pass.fill) {
        oldText = dc.SetTextColor(ctx.env.tool->ColorAt(pass.color));
        oldBrush = ctx.env.SelectBrush(dc, pass.color, pass.hatch);
    }
    styled.devicePointCount = 0;

    // The samples: missing ones skipped, very high ones breaking a live line.
    const bool live = ctx.runPlot || ctx.phasePlot;
    const SampleRange range = CurveSamples(ctx, xVar, yVar);
    const bool linear = LinearMapping(xAxis, yAxis);
    if (!live && !range.ring && linear) {
        MapLinearCurve(ctx, map, xVar, yVar, styled, range);
        DrawBuffer(ctx, styled, pass, grow);
        RestorePassState(ctx, pass, oldPen, oldRop, oldBrush, oldText);
        return;
    }
    const double* xs = xVar.values.data();
    const double* ys = yVar.values.data();
    const bool ordered = ctx.runPlot && xVar.wrapped;
    double previousTime = -HUGE_VAL;
    live_.clear();
    // Walks the slots from begin to end; false where a wrapped run ring's times stop
    // ascending, which ends the curve.
    const auto walk = [&](std::uint32_t begin, std::uint32_t end) {
        for (std::uint32_t slot = begin; slot < end; ++slot) {
            const double x = xs[slot], y = ys[slot];
            if (live && (x >= kLineBreak || y >= kLineBreak)) {
                DrawLiveLine(ctx, pass, grow);
                continue;
            }
            if (!Valid(x) || !Valid(y)) continue;
            if (ordered) {
                if (x < previousTime) return false;
                previousTime = x;
            }
            gdi::Point p;
            if (!MapSample(ctx, map, xAxis, yAxis, linear, x, y, p)) continue;
            if (live)
                live_.push_back({p.x, p.y});
            else
                styled.RecordDevicePoint(p.x, p.y);
        }
        return true;
    };
    // Linear live curves whose times cannot turn back are mapped a run at a time.
    const bool batched = live && linear && (!ordered || xVar.AscendsInRing());
    for (const auto& [begin, end] : range.Spans()) {
        if (batched)
            MapLiveSpan(ctx, map, xs, ys, begin, end, pass, grow);
        else if (!walk(begin, end))
            break;
    }
    DrawLiveLine(ctx, pass, grow);
    DrawBuffer(ctx, styled, pass, grow);
    RestorePassState(ctx, pass, oldPen, oldRop, oldBrush, oldText);
}

void CPlotDrawingRgn::RestorePassState(CPlotPaintContext& ctx, const CurvePass& pass,
                                       const gdi::Pen& pen, gdi::RasterOp rop,
                                       const gdi::Brush& brush, gdi::ColorRef text) {
    if (pass.fill) {
        ctx.dc.SelectBrush(brush);
        ctx.dc.SetTextColor(text);
    }
    ctx.dc.SetRop2(rop);
    ctx.dc.SelectPen(pen);
}

bool CPlotDrawingRgn::LinearMapping(const CPlotAxis& xAxis, const CPlotAxis& yAxis) const {
    return PlainMapping() && xAxis.scaleType == AxisTransform::kLinear &&
           yAxis.scaleType == AxisTransform::kLinear;
}

void CPlotDrawingRgn::MapLinearCurve(const CPlotPaintContext& ctx, const Map& map,
                                     const CPlotVar& xVar, const CPlotVar& yVar, CPlotVar& styled,
                                     const SampleRange& range) {
    // The same points as the general loop gives through Valid, Transform and MapPoint, with
    // the linear transform and the mapping inlined and the buffer grown once.
    if (styled.devicePoints.size() < range.count) styled.devicePoints.resize(range.count);
    const double* xs = xVar.values.data() + range.first;
    const double* ys = yVar.values.data() + range.first;
    // Flipped plots run the X values up the vertical axis.
    styled.devicePointCount = ctx.flipped ? MapSamples(map.horizontal, map.vertical, ys, xs,
                                                       range.count, styled.devicePoints.data())
                                          : MapSamples(map.horizontal, map.vertical, xs, ys,
                                                       range.count, styled.devicePoints.data());
}

void CPlotDrawingRgn::MapLiveSpan(CPlotPaintContext& ctx, const Map& map, const double* xs,
                                  const double* ys, std::uint32_t begin, std::uint32_t end,
                                  const CurvePass& pass, int grow) {
    // The span splits where a value breaks the line; each piece is mapped in one pass.
    const auto append = [&](std::uint32_t from, std::uint32_t to) {
        if (from >= to) return;
        const std::size_t n = live_.size();
        live_.resize(n + (to - from));
        const double* as = ctx.flipped ? ys : xs;
        const double* bs = ctx.flipped ? xs : ys;
        live_.resize(n + MapSamples(map.horizontal, map.vertical, as + from, bs + from, to - from,
                                    live_.data() + n));
    };
    std::uint32_t piece = begin;
    for (std::uint32_t slot = begin; slot < end; ++slot) {
        if (!(xs[slot] >= kLineBreak || ys[slot] >= kLineBreak)) continue; // NaN breaks nothing
        append(piece, slot);
        DrawLiveLine(ctx, pass, grow);
        piece = slot + 1;
    }
    append(piece, end);
}

void CPlotDrawingRgn::DrawLiveLine(CPlotPaintContext& ctx, const CurvePass& pass, int grow) {
    // A live line is drawn as it ends: through its column extremes where that covers the same
    // pixels as its segments, else segment by segment.
    if (live_.empty()) return;
    if (ReducesExactly(ctx, pass) && !ctx.IsMetafile()) {
        CurveGeometry::ReduceColumns(live_, points_);
        ctx.dc.Polyline(points_);
    } else {
        CurveGeometry::CopyPoints(live_, points_);
        for (std::size_t i = 0; i < points_.size(); ++i)
            LineSegment(ctx, points_[i > 0 ? i - 1 : 0], points_[i], i == 0, grow);
    }
    live_.clear();
}

void CPlotDrawingRgn::LineSegment(CPlotPaintContext& ctx, gdi::Point a, gdi::Point b, bool start,
                                  int grow) {
    if (!ctx.IsMetafile()) {
        if (start)
            ctx.dc.MoveTo(b.x, b.y);
        else
            ctx.dc.LineTo(b.x, b.y);
        return;
    }
    // Metafiles keep no clip: the segment is cut at the outline.
    if (start) return;
    gdi::Point outline[4];
    const int n = ClipOutline(ctx.env, grow, outline);
    if (!CurveGeometry::ClipSegment(std::span<const gdi::Point>(outline, std::size_t(n)), a, b))
        return;
    ctx.dc.MoveTo(a.x, a.y);
    ctx.dc.LineTo(b.x, b.y);
}

void CPlotDrawingRgn::DrawBuffer(CPlotPaintContext& ctx, CPlotVar& styled, const CurvePass& pass,
                                 int grow) {
    const std::span<const std::pair<int, int>> buffer(styled.devicePoints.data(),
                                                      styled.devicePointCount);
    if (buffer.empty()) return;
    if (pass.fill) {
        CurveGeometry::CopyPoints(buffer, points_);
        DrawPolygon(ctx, points_, grow);
        return;
    }
    if (ctx.runPlot || ctx.phasePlot) return;
    if (ReducesExactly(ctx, pass) && !styled.area)
        CurveGeometry::ReduceColumns(buffer, points_);
    else
        CurveGeometry::CopyPoints(buffer, points_);
    if (styled.area) points_.push_back(points_.front());
    DrawPolyline(ctx, points_, grow);
}

bool CPlotDrawingRgn::ReducesExactly(const CPlotPaintContext& ctx, const CurvePass& pass) {
    // A solid line drawn as the union of its segments' pixels looks the same through the
    // column extremes alone: one-unit pens on every device, and on screen and memory images
    // wider ones too, whose pixels are the one-unit line's widened by a square stamp. Vector
    // devices stroke wide pens with round joins and caps: every point of a column lies on
    // the segment between its extremes, so the stroked outline is the same shape too. An
    // inverting pen draws wide lines with round joins on screen, where overlaps would undo.
    const gdi::Pen& pen = ctx.dc.CurrentPen();
    if (pen.style != gdi::PenStyle::Solid || pen.geometric) return false;
    if (pen.width <= 1) return true;
    return !ctx.IsScreen() || pass.rop != gdi::RasterOp::NotXorPen;
}

void CPlotDrawingRgn::DrawPolyline(CPlotPaintContext& ctx, std::span<const gdi::Point> points,
                                   int grow) {
    if (!ctx.IsMetafile()) {
        ctx.dc.Polyline(points);
        return;
    }
    gdi::Point outline[4];
    const int n = ClipOutline(ctx.env, grow, outline);
    CurveGeometry::ClipPolyline(std::span<const gdi::Point>(outline, std::size_t(n)), points,
                                clipped_,
                                [&](std::span<const gdi::Point> piece) { ctx.dc.Polyline(piece); });
}

void CPlotDrawingRgn::DrawPolygon(CPlotPaintContext& ctx, std::span<const gdi::Point> points,
                                  int grow) {
    if (!ctx.IsMetafile()) {
        ctx.dc.Polygon(points);
        return;
    }
    gdi::Point outline[4];
    const int n = ClipOutline(ctx.env, grow, outline);
    CurveGeometry::ClipPolygon(std::span<const gdi::Point>(outline, std::size_t(n)), points,
                               clipped_, scratch_);
    if (clipped_.size() >= 3) ctx.dc.Polygon(clipped_);
}

// ---- Markers and arrows ----

void CPlotDrawingRgn::DrawMarkers(CPlotPaintContext& ctx, const Map& map, CPlotVar& xVar,
                                  CPlotVar& yVar, const CPlotAxis& xAxis, const CPlotAxis& yAxis,
                                  int varIndex) {
    // 1. Markers feed the point buffer of a variable drawn without a line.
    CPlotVar& styled = Styled(ctx, xVar, yVar);
    const bool noLine = !styled.DrawsLine();
    if (noLine) styled.devicePointCount = 0;
    // 2. Size, step and colour.
    const int h = ctx.env.ScaleSize(styled.ownMarkerSize ? styled.ownMarkerSize : ctx.markerSize);
    const int stepValue = styled.ownMarkerInterval ? styled.ownMarkerInterval : ctx.markerInterval;
    const std::uint32_t step = static_cast<std::uint32_t>(std::max(1, stepValue));
    const int color = Highlighted(ctx, styled) ? kHighlightColor : styled.color;
    const std::uint32_t n =
        static_cast<std::uint32_t>(std::min(SampleCount(xVar), SampleCount(yVar)));
    // Tooltips belong to the window: printed, exported and scaled pictures register none.
    const gdi::DeviceKind kind = ctx.dc.Kind();
    const bool onScreen = ctx.env.scale == 1.0f &&
                          (kind == gdi::DeviceKind::Screen || kind == gdi::DeviceKind::Memory);
    const bool tips = onScreen && styled.marker != 0 && (n + step - 1) / step < kTooltipLimit;
    // A screen paint registers this curve's tooltips anew: after a zoom or new data the old
    // squares would point at nothing.
    if (onScreen)
        std::erase_if(tooltips, [&](const Tooltip& t) { return (t.key - 1) / 100 == varIndex; });
    // A curve drawn as a line without a marker kind to draw needs no points from here.
    const bool drawsMarker = styled.marker > 0 && styled.marker < DrawTables::kMarkerCount;
    if (!noLine && !tips && !drawsMarker) return;
    const gdi::Rect r = DeviceRect(ctx.env);
    markers_.clear();

    // 3. Every step-th sample.
    for (std::uint32_t i = 0; i < n; i += step) {
        const double x = xVar.values[i], y = yVar.values[i];
        if (!Valid(x) || !Valid(y)) continue;
        if (ctx.runPlot && x < ctx.displayStart) continue;
        gdi::Point p;
        if (!MapSample(ctx, map, xAxis, yAxis, false, x, y, p)) continue;
        if (p.x < r.left - 1 || p.x > r.right + 1 || p.y < r.top - 1 || p.y > r.bottom + 1)
            continue;
        if (tips) {
            const int key = varIndex * 100 + static_cast<int>(i) + 1;
            const std::string text = "x=" + NumberFormat::FormatNumber(x, 3, true, ctx.env.locale) +
                                     ",y=" + NumberFormat::FormatNumber(y, 3, true, ctx.env.locale);
            tooltips.push_back(Tooltip{key, Rect{p.x - h, p.y - h, p.x + h, p.y + h}, text});
        }
        if (noLine) styled.RecordDevicePoint(p.x, p.y);
        markers_.push_back(p);
    }
    // 4. The markers, each device point once where a later copy would cover it again.
    if (ctx.dc.Rop2() == gdi::RasterOp::CopyPen) KeepLastAtEachPoint(markers_, r);
    ctx.env.DrawMarkers(ctx.dc, styled.marker, markers_, color, h);
}

void CPlotDrawingRgn::KeepLastAtEachPoint(std::vector<gdi::Point>& points, const gdi::Rect& r) {
    // A marker drawn in copy mode paints the same pixels wherever the same marker was drawn
    // before at its point: only the last of the markers at one point shows. The points lie
    // in r grown by 1; one bit per device point marks those already kept, walking backwards.
    constexpr std::size_t kFewPoints = 64;
    if (points.size() < kFewPoints) return;
    const std::int64_t width = std::int64_t(r.right) - r.left + 3;
    const std::int64_t height = std::int64_t(r.bottom) - r.top + 3;
    if (width <= 0 || height <= 0 || width * height > kMaxMarkedPoints) return;
    seen_.assign(std::size_t((width * height + 63) / 64), 0);
    auto kept = points.end();
    for (auto it = points.end(); it != points.begin();) {
        --it;
        const std::size_t bit =
            std::size_t((std::int64_t(it->y) - r.top + 1) * width + (it->x - r.left + 1));
        std::uint64_t& word = seen_[bit / 64];
        const std::uint64_t mask = std::uint64_t(1) << (bit % 64);
        if (word & mask) continue;
        word |= mask;
        *--kept = *it;
    }
    points.erase(points.begin(), kept);
}

void CPlotDrawingRgn::DrawDirectionArrow(CPlotPaintContext& ctx, CPlotVar& xVar, CPlotVar& yVar) {
    CPlotVar& styled = Styled(ctx, xVar, yVar);
    if (ctx.runPlot || ctx.phasePlot || styled.arrowMode == 0 || !styled.DrawsLine()) return;
    const std::uint32_t n = styled.devicePointCount;
    if (n == 0) return;
    const auto& pts = styled.devicePoints;
    const bool forward = styled.arrowMode == 1;

    // 1. The point at half the polyline's length.
    double total = 0;
    for (std::uint32_t i = 1; i < n; ++i)
        total += std::hypot(pts[i].first - pts[i - 1].first, pts[i].second - pts[i - 1].second);
    gdi::Point tip{forward ? pts[n - 1].first : pts[0].first,
                   forward ? pts[n - 1].second : pts[0].second};
    gdi::Point tail = tip;
    if (n > 1) {
        const std::uint32_t a = forward ? n - 2 : 1;
        tail = {pts[a].first, pts[a].second};
    }
    if (total > 0) {
        double walked = 0;
        for (std::uint32_t i = 1; i < n; ++i) {
            const double len =
                std::hypot(pts[i].first - pts[i - 1].first, pts[i].second - pts[i - 1].second);
            if (len > 0 && walked + len >= total / 2) {
                const double f = (total / 2 - walked) / len;
                tip = {static_cast<int>(
                           std::lround(pts[i - 1].first + f * (pts[i].first - pts[i - 1].first))),
                       static_cast<int>(std::lround(pts[i - 1].second +
                                                    f * (pts[i].second - pts[i - 1].second)))};
                const std::uint32_t t = forward ? i - 1 : i;
                tail = {pts[t].first, pts[t].second};
                break;
            }
            walked += len;
        }
    }
    // 2. Drawn only when the tip lies in the region.
    const gdi::Rect r = DeviceRect(ctx.env);
    if (tip.x < r.left - 1 || tip.x > r.right + 1 || tip.y < r.top - 1 || tip.y > r.bottom + 1)
        return;
    int color = styled.color;
    if (Highlighted(ctx, styled)) color = ctx.highlightMode == 1 ? 3 : kHighlightColor;
    gdi::StateScope state(ctx.dc);
    ctx.env.SelectPen(ctx.dc, color, 1);
    ctx.env.SelectSolidBrush(ctx.dc, color);
    ctx.env.DrawArrowHead(ctx.dc, tip.x, tip.y, tail.x, tail.y, ctx.env.ScaleSize(14));
}

// ---- Pointer questions ----

void CPlotDrawingRgn::DeletePointsInBox(const CPlotPaintContext& ctx, const Map& map,
                                        CPlotVar& xVar, CPlotVar& yVar, const CPlotAxis& xAxis,
                                        const CPlotAxis& yAxis) {
    if (!zoomBoxShown) return;
    const int n = std::min(SampleCount(xVar), SampleCount(yVar));
    gdi::Rect box{std::min(zoomBox.left, zoomBox.right), std::min(zoomBox.top, zoomBox.bottom),
                  std::max(zoomBox.left, zoomBox.right), std::max(zoomBox.top, zoomBox.bottom)};
    ctx.env.OffsetRect(box);
    for (int i = 0; i < n; ++i) {
        gdi::Point p;
        const double x = xVar.values[std::size_t(i)], y = yVar.values[std::size_t(i)];
        if (!Valid(x) || !Valid(y) || !MapSample(ctx, map, xAxis, yAxis, false, x, y, p)) continue;
        if (p.x >= box.left && p.x <= box.right && p.y >= box.top && p.y <= box.bottom)
            yVar.values[std::size_t(i)] = MISSING_VALUE;
    }
}

void CPlotDrawingRgn::NearestCurvePoint(const CPlotPaintContext& ctx, const Map& map,
                                        const CPlotVar& xVar, const CPlotVar& yVar,
                                        const CPlotAxis& xAxis, const CPlotAxis& yAxis,
                                        gdi::Point point, double& best, CurveHit& hit,
                                        int varIndex) const {
    const SampleRange range = CurveSamples(ctx, xVar, yVar);
    bool havePrevious = false;
    gdi::Point a;
    double ax = 0, ay = 0;
    for (std::uint32_t k = 0; k < range.count; ++k) {
        const std::uint32_t slot = range.Slot(k);
        const double x = xVar.values[slot], y = yVar.values[slot];
        if (!Valid(x) || !Valid(y)) continue;
        if (ctx.runPlot && x < ctx.displayStart) continue;
        gdi::Point b;
        if (!MapSample(ctx, map, xAxis, yAxis, false, x, y, b)) continue;
        if (havePrevious) {
            const double da = std::hypot(double(a.x) - point.x, double(a.y) - point.y);
            const double db = std::hypot(double(b.x) - point.x, double(b.y) - point.y);
            const double c = std::hypot(double(a.x) - b.x, double(a.y) - b.y);
            const double detour = da + db - c;
            if (detour < best) {
                best = detour;
                hit.varIndex = varIndex;
                if (da + db < 1) {
                    hit.x = x;
                    hit.y = y;
                } else { // the nearer end weighs more
                    hit.x = (da * x + db * ax) / (da + db);
                    hit.y = (da * y + db * ay) / (da + db);
                }
            }
        }
        a = b;
        ax = x;
        ay = y;
        havePrevious = true;
    }
}

// ---- Bars ----

void CPlotBarDrawingRgn::DrawBars(CPlotPaintContext& ctx, const Map& map, CPlotVar& xVar,
                                  CPlotVar& yVar, const CPlotAxis& xAxis, const CPlotAxis& yAxis,
                                  int seriesCount, int seriesIndex, bool horizontal) {
    if (seriesCount < 1 || seriesIndex < 0 || seriesIndex >= seriesCount) return;
    gdi::IDeviceContext& dc = ctx.dc;
    const gdi::Rect r = DeviceRect(ctx.env);
    // 1. Clip to the region.
    gdi::StateScope state(dc);
    dc.IntersectClipRect(r);
    // 2. Outline in the marker colour, fill in the curve colour and hatch.
    CPlotVar& styled = Styled(ctx, xVar, yVar);
    const int colors = ctx.env.tool->ColorCount();
    const int fill = styled.color >= 0 && styled.color < colors ? styled.color : 0;
    const int outline = styled.marker >= 0 && styled.marker < colors ? styled.marker : fill;
    ctx.env.SelectPen(dc, outline, 6);
    dc.SetTextColor(ctx.env.tool->ColorAt(fill));
    ctx.env.SelectBrush(dc, fill, styled.barPattern);
    // 3. Bars start at the base edge of the category axis.
    int l = horizontal ? r.bottom : (xAxis.reversed ? r.right : r.left);
    bool first = true;
    const int n = std::min(SampleCount(xVar), SampleCount(yVar));
    for (int i = 0; i < n; ++i) {
        const double x = xVar.values[std::size_t(i)], y = yVar.values[std::size_t(i)];
        double px, py;
        if (!Valid(x) || !Valid(y) || !Transform(xAxis, x, px) || !Transform(yAxis, y, py))
            continue;
        // 4. The category position, and the band of this series in the gap before it.
        const int v = horizontal ? map.vertical(float(px)) : map.horizontal(float(px));
        const int value = horizontal ? map.horizontal(float(py)) : map.vertical(float(py));
        if (!first) {
            const int w = (v - l) / seriesCount;
            const int a = l + seriesIndex * w;
            int b = seriesIndex == seriesCount - 1 ? v : l + (seriesIndex + 1) * w;
            b -= v >= l ? 2 : -2;
            gdi::Rect bar = horizontal ? gdi::Rect{r.left, std::min(a, b), value, std::max(a, b)}
                                       : gdi::Rect{std::min(a, b), value, std::max(a, b), r.bottom};
            if (bar.left > bar.right) std::swap(bar.left, bar.right);
            if (bar.top > bar.bottom) std::swap(bar.top, bar.bottom);
            dc.Rectangle(bar);
        }
        first = false;
        l = v;
    }
}

const CPlotDrawingRgn::Tooltip* CPlotDrawingRgn::TooltipAt(gdi::Point p) const {
    for (const Tooltip& t : tooltips)
        if (p.x >= t.area.left && p.x <= t.area.right && p.y >= t.area.top && p.y <= t.area.bottom)
            return &t;
    return nullptr;
}
