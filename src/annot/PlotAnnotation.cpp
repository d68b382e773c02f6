// Text annotations: position, attachment to a tag point, layout of rotated multi-line text,
// drawing with leader line and arrowhead, hit testing and dragging.
#include "annot/PlotAnnotation.h"

#include "annot/AnnotationText.h"
#include "annot/PlotGeometry.h"
#include "render/PlotPaintContext.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr int kSelectionColor = 7;     // the silver box under a selected text
constexpr int kArrowStep = 7;          // device units of arrowhead length per arrow-size step
constexpr int kTagMargin = 3;          // the anchor-to-tag box is inflated by this much
constexpr int kArrowBox = 20;          // a moved text with an arrowhead repaints 41 x 41 at the tag
constexpr int kLeaderHalfWidth = 2;    // the leader line takes clicks this far either side
constexpr int kShortArrow = 5;         // a leader this short is lengthened for the head's angle
constexpr int kLongestArrow = 1 << 16; // longer heads leave any page; points stay ints
constexpr int kDropMargin = 5;         // a drop must overlap the control by more than this
constexpr int kSizeAllCursor = 32646;

int Trunc(double v) {
    if (!(std::fabs(v) < 1e9)) return v < 0 ? -1000000000 : 1000000000;
    return static_cast<int>(v);
}

// Adds 0.5 and truncates.
int RoundUp(double v) {
    return Trunc(v + 0.5);
}

CPlotRegion::Rect Union(const CPlotRegion::Rect& a, const CPlotRegion::Rect& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

CPlotRegion::Rect Spanned(gdi::Point a, gdi::Point b, int inflate) {
    return {std::min(a.x, b.x) - inflate, std::min(a.y, b.y) - inflate,
            std::max(a.x, b.x) + inflate, std::max(a.y, b.y) + inflate};
}

CPlotRegion::Rect Offset(CPlotRegion::Rect r, int dx, int dy) {
    r.left += dx;
    r.right += dx;
    r.top += dy;
    r.bottom += dy;
    return r;
}

gdi::Rect ToGdi(const CPlotRegion::Rect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

} // namespace

CPlotAnnotation::CPlotAnnotation(std::string text)
    : CPlotRegion(kRegionKind), text_(std::move(text)) {}

CPlotAnnotation::CPlotAnnotation(std::string text, const CPlotFont* font,
                                 const Attributes& attributes)
    : CPlotRegion(kRegionKind), text_(std::move(text)), font_(font), attributes_(attributes) {}

void CPlotAnnotation::SetText(std::string text) {
    text_ = std::move(text);
    layoutNeeded_ = true;
}

void CPlotAnnotation::SetFont(const CPlotFont* font) {
    font_ = font;
    layoutNeeded_ = true;
}

void CPlotAnnotation::SetAttributes(const Attributes& attributes) {
    attributes_ = attributes;
    layoutNeeded_ = true;
}

void CPlotAnnotation::SetPosition(const Position& position) {
    position_ = position;
    layoutNeeded_ = true;
}

// ---------------------------------------------------------------------------------------------
// Positions

gdi::Point CPlotAnnotation::FreeToDevice(const Rect& d, gdi::Size control, double x, double y) {
    const double L = d.left, T = d.top, R = d.right - 1, B = d.bottom - 1;
    const double W = control.cx, H = control.cy;
    // -1..0 is the left or top margin, 0..1 the drawing area, 1..2 the right or bottom margin.
    const double px = x < 0 ? L + L * x : x <= 1 ? L + (R - L) * x : R + (W - R) * (x - 1);
    const double py = y < 0 ? T + T * y : y < 1 ? T + (B - T) * y : B + (H - B) * (y - 1);
    return {RoundUp(px), RoundUp(py)};
}

void CPlotAnnotation::DeviceToFree(const Rect& d, gdi::Size control, gdi::Point p, double& x,
                                   double& y) {
    const double L = d.left, T = d.top, R = d.right - 1, B = d.bottom - 1;
    const double W = control.cx, H = control.cy;
    auto inverse = [](double v, double lo, double hi, double full) {
        if (v < lo) return lo != 0 ? (v - lo) / lo : 0.0;
        if (v > hi) return full != hi ? (v - hi) / (full - hi) + 1 : 1.0;
        return hi != lo ? (v - lo) / (hi - lo) : 0.0;
    };
    x = inverse(p.x, L, R, W);
    y = inverse(p.y, T, B, H);
}

gdi::Point CPlotAnnotation::ComputeAnchor(CPlotPaintContext& ctx, IAnnotationSite& site) {
    const Rect d = site.DrawingRect();
    if (!Attached()) return FreeToDevice(d, site.ControlSize(), position_.x, position_.y);
    gdi::Point tag;
    if (site.TagToDevice(ctx, position_.x, position_.y, position_.tagVariable, tag)) tag_ = tag;
    const double w = (d.right - 1) - d.left, h = (d.bottom - 1) - d.top;
    return {Trunc(tag_.x + w * position_.dx + 0.5), Trunc(tag_.y + h * position_.dy + 0.5)};
}

void CPlotAnnotation::StorePosition(CPlotPaintContext& ctx, IAnnotationSite& site,
                                    gdi::Point anchor) {
    const Rect d = site.DrawingRect();
    if (!Attached()) {
        DeviceToFree(d, site.ControlSize(), anchor, position_.x, position_.y);
        return;
    }
    gdi::Point tag;
    if (site.TagToDevice(ctx, position_.x, position_.y, position_.tagVariable, tag)) tag_ = tag;
    const double w = (d.right - 1) - d.left, h = (d.bottom - 1) - d.top;
    position_.dx = w != 0 ? (anchor.x - tag_.x) / w : 0;
    position_.dy = h != 0 ? (anchor.y - tag_.y) / h : 0;
}

// ---------------------------------------------------------------------------------------------
// Attaching and detaching

// The tag lies on the X axis (nearer the bottom edge) or the Y axis, under the anchor; the
// other coordinate is the largest float.
bool CPlotAnnotation::TagOnAxis(CPlotPaintContext& ctx, IAnnotationSite& site, gdi::Point a,
                                bool nearBottom) {
    double px = 0, py = 0;
    if (!site.DeviceToPlot(ctx, a, 0, px, py)) return false;
    const bool toXAxis = nearBottom != site.Flipped();
    position_.x = toXAxis ? px : kLargestFloat;
    position_.y = toXAxis ? kLargestFloat : py;
    position_.tagVariable = 0;
    attributes_.attachMode = OnAxis;
    return true;
}

bool CPlotAnnotation::FindTag(CPlotPaintContext& ctx, IAnnotationSite& site, gdi::Point a,
                              int mode) {
    double x = 0, y = 0;
    int varNo = 0;
    if (mode == OnCurve) {
        // 1. The curve segment passing closest to the anchor.
        double best = 1e300;
        const bool onCurve = site.NearestCurve(ctx, a, best, varNo, x, y);
        // 2. An axis that is nearer than every curve takes the tag instead.
        const Rect d = site.DrawingRect();
        const double fromBottom = double(a.y) - d.bottom, fromLeft = double(a.x) - d.left;
        const double dy2 = fromBottom * fromBottom, dx2 = fromLeft * fromLeft;
        if (!onCurve || best > dy2 || best > dx2) {
            mode = OnAxis;
        } else {
            position_.x = x;
            position_.y = y;
            position_.tagVariable = varNo;
            attributes_.attachMode = OnCurve;
            return true;
        }
        return TagOnAxis(ctx, site, a, dy2 < dx2);
    }
    if (mode == OnAxis) {
        // Asked for directly: the nearer of the two axes.
        const Rect d = site.DrawingRect();
        const double fromBottom = std::fabs(double(a.y) - d.bottom);
        const double fromLeft = std::fabs(double(a.x) - d.left);
        return TagOnAxis(ctx, site, a, fromBottom < fromLeft);
    }
    // 3. At the plot point under the anchor, only inside the visible ranges.
    if (!site.DeviceToPlot(ctx, a, 0, x, y) || !site.InView(x, y, 0)) return false;
    position_.x = x;
    position_.y = y;
    position_.tagVariable = 0;
    attributes_.attachMode = AtPoint;
    return true;
}

bool CPlotAnnotation::Attach(CPlotPaintContext& ctx, IAnnotationSite& site, int mode) {
    if (mode < OnCurve || mode > AtPoint) return false;
    const gdi::Point anchor = ComputeAnchor(ctx, site);
    const Attributes oldAttributes = attributes_;
    const Position oldPosition = position_;
    if (!FindTag(ctx, site, anchor, mode)) {
        attributes_ = oldAttributes; // refused: the old mode stays
        position_ = oldPosition;
        return false;
    }
    // 4. The offsets keep the text where it stands.
    StorePosition(ctx, site, anchor);
    layoutNeeded_ = true;
    return true;
}

void CPlotAnnotation::AttachAt(CPlotPaintContext& ctx, IAnnotationSite& site, gdi::Point point) {
    const int mode = Attached() ? attributes_.attachMode : OnCurve;
    const Attributes oldAttributes = attributes_;
    const Position oldPosition = position_;
    if (!FindTag(ctx, site, point, mode)) {
        attributes_ = oldAttributes;
        position_ = oldPosition;
        return;
    }
    gdi::Point tag;
    if (site.TagToDevice(ctx, position_.x, position_.y, position_.tagVariable, tag)) tag_ = tag;
    position_.dx = position_.dy = 0;
    layoutNeeded_ = true;
}

void CPlotAnnotation::Detach(CPlotPaintContext& ctx, IAnnotationSite& site) {
    if (!Attached()) return;
    const gdi::Point anchor = ComputeAnchor(ctx, site);
    attributes_.attachMode = Free;
    position_.dx = position_.dy = 0;
    position_.tagVariable = 0;
    StorePosition(ctx, site, anchor);
    layoutNeeded_ = true;
}

void CPlotAnnotation::ApplyPendingAttachMode(CPlotPaintContext& ctx, IAnnotationSite& site) {
    const int mode = pendingAttachMode_;
    if (mode == -1) return;
    pendingAttachMode_ = -1;
    if (mode != Free && mode != attributes_.attachMode) {
        // The tag is found again from where the text stands.
        Detach(ctx, site);
        Attach(ctx, site, mode);
    } else if (mode == Free) {
        Detach(ctx, site);
    }
}

// ---------------------------------------------------------------------------------------------
// Layout

void CPlotAnnotation::Layout(CPlotPaintContext& ctx, IAnnotationSite& site) {
    // 1. A pending mode change.
    ApplyPendingAttachMode(ctx, site);
    // 2. The extent of the text, turned by the angle.
    if (layoutNeeded_) MeasureLines(ctx, site);
    // 3-6. Anchor, box, rectangles.
    anchor_ = ComputeAnchor(ctx, site);
    Place(site.DrawingRect());
}

void CPlotAnnotation::MeasureLines(CPlotPaintContext& ctx, IAnnotationSite& site) {
    const std::string shown = site.Shown(text_);
    const auto lines = AnnotationText::Lines(shown);
    CPlotFont upright = font_ ? *font_ : CPlotFont();
    upright.angle = 0;
    int widest = 0, lineHeight = 0;
    for (std::string_view line : lines) {
        const gdi::Size extent = ctx.env.MeasureText(&upright, ctx.dc, line);
        widest = std::max(widest, extent.cx);
        if (lineHeight == 0) lineHeight = extent.cy;
    }
    lineCount_ = int(lines.size());
    const double height = double(lineHeight) * lineCount_;
    const double pi = 4 * std::atan(1.0);
    const double theta = attributes_.angle * pi / 180;
    widthVector_ = {Trunc(widest * std::cos(theta)), Trunc(widest * std::sin(theta))};
    heightVector_ = {Trunc(height * std::cos(theta + pi / 2)),
                     Trunc(height * std::sin(theta + pi / 2))};
    layoutNeeded_ = false;
}

void CPlotAnnotation::Place(const Rect&) {
    const auto [wx, wy] = widthVector_;
    const auto [hx, hy] = heightVector_;
    // 3. The box origin from the anchor and the alignment.
    int u = anchor_.x, v = anchor_.y;
    if (attributes_.alignment == Centre) {
        u -= wx / 2;
        v += wy / 2;
    } else if (attributes_.alignment == Right) {
        u -= wx;
        v += wy;
    }
    // 4. The text rectangle around the turned box.
    textRect_ = {u + std::min({0, wx, hx, wx + hx}), v - std::max({0, wy, hy, wy + hy}),
                 u + std::max({0, wx, hx, wx + hx}) + 1, v - std::min({0, wy, hy, wy + hy}) + 1};
    // 5. The hit region: the turned box.
    box_ = {gdi::Point{u, v}, gdi::Point{u + wx, v - wy}, gdi::Point{u + wx + hx, v - wy - hy},
            gdi::Point{u + hx, v - hy}};
    // 6. The overall rectangle takes in the leader and the tag point.
    rect = Attached() ? Union(textRect_, Spanned(anchor_, tag_, kTagMargin)) : textRect_;
    layoutValid_ = true;
}

// ---------------------------------------------------------------------------------------------
// Drawing

void CPlotAnnotation::Paint(CPlotPaintContext& ctx, IAnnotationSite& site, bool force) {
    // 1. Hidden or fontless texts draw nothing; unplaced ones are only laid out.
    if (hidden || !font_) return;
    Layout(ctx, site);
    if (unplaced_ || !layoutValid_) return;
    if (clampRequest_) ClampIntoControl(ctx, site);
    // 2. Only what the device shows.
    gdi::Rect overall = ToGdi(rect);
    ctx.env.OffsetRect(overall);
    if (!force && !ctx.dc.RectVisible(overall)) return;
    // 3. A text with an arrow whose tag point left the zoomed view waits for it.
    if (Attached() && attributes_.arrowSize > 0 && site.ViewMoved() &&
        !site.InView(position_.x, position_.y, position_.tagVariable))
        return;
    // 4-6. Selection box, leader line, text.
    if (selected_) DrawSelected(ctx);
    if (Attached() && attributes_.arrowSize > 0) DrawLeader(ctx);
    DrawText(ctx, site);
}

gdi::Point CPlotAnnotation::LeaderEnd() const {
    const Rect& r = textRect_;
    const int x = tag_.x > r.right ? r.right : tag_.x > r.left ? tag_.x : anchor_.x;
    const int y = tag_.y < r.top ? r.top : tag_.y < r.bottom ? tag_.y : anchor_.y;
    return {x, y};
}

void CPlotAnnotation::DrawLeader(CPlotPaintContext& ctx) const {
    gdi::IDeviceContext& dc = ctx.dc;
    gdi::StateScope state(dc);
    const gdi::Point end = LeaderEnd();
    gdi::Point tip = tag_, far = end;
    ctx.env.OffsetPoint(tip.x, tip.y);
    ctx.env.OffsetPoint(far.x, far.y);
    ctx.env.SelectPen(dc, attributes_.color, 1);
    ctx.env.SelectSolidBrush(dc, attributes_.color);
    dc.MoveTo(tip.x, tip.y);
    dc.LineTo(far.x, far.y);
    const double length = kArrowStep * double(attributes_.arrowSize) * double(ctx.env.scale);
    if (!(length >= 0)) return;
    const int e = Trunc(std::min(length, double(kLongestArrow)));
    const auto head = PlotGeometry::NotchedArrowHead(tip, far, e, kShortArrow);
    if (head) dc.Polygon(*head);
}

void CPlotAnnotation::DrawText(CPlotPaintContext& ctx, IAnnotationSite& site) const {
    const std::string shown = site.Shown(text_);
    const auto lines = AnnotationText::Lines(shown);
    if (lines.empty()) return;
    gdi::IDeviceContext& dc = ctx.dc;
    gdi::StateScope state(dc);
    CPlotFont turned = *font_;
    turned.angle = attributes_.angle;
    ctx.env.SelectFont(dc, &turned);
    dc.SetTextColor(ctx.env.tool->ColorAt(attributes_.color));
    const bool clear = selected_ || attributes_.transparentText || site.TextMode() == 1;
    dc.SetBkMode(clear ? gdi::BackgroundMode::Transparent : gdi::BackgroundMode::Opaque);
    dc.SetBkColor(ctx.backColor);
    static constexpr unsigned kAlign[] = {gdi::AlignLeft, gdi::AlignCenter, gdi::AlignRight};
    dc.SetTextAlign(kAlign[std::clamp(attributes_.alignment, 0, 2)] | gdi::AlignBottom);
    // The first line stands highest; the last line's bottom stands on the anchor.
    const double n = double(lines.size());
    const double sx = heightVector_[0] / n, sy = heightVector_[1] / n;
    double x = anchor_.x + sx * (n - 1), y = anchor_.y - sy * (n - 1);
    for (std::string_view line : lines) {
        int px = RoundUp(x), py = RoundUp(y);
        ctx.env.OffsetPoint(px, py);
        dc.TextOut(px, py, line);
        x -= sx;
        y += sy;
    }
}

void CPlotAnnotation::DrawSelected(CPlotPaintContext& ctx) {
    gdi::IDeviceContext& dc = ctx.dc;
    {
        gdi::StateScope state(dc);
        ctx.env.SelectPen(dc, kSelectionColor, 1);
        ctx.env.SelectSolidBrush(dc, kSelectionColor);
        std::array<gdi::Point, 4> corners = box_;
        for (gdi::Point& p : corners)
            ctx.env.OffsetPoint(p.x, p.y);
        dc.Polygon(corners);
    }
    if (Attached() && tagHandle_)
        ctx.env.PlaceHandle(dc, tag_.x, tag_.y, kSizeAllCursor, kTagDrag, nullptr, this);
}

// ---------------------------------------------------------------------------------------------
// Hit testing

bool CPlotAnnotation::InTagHandle(gdi::Point p) const {
    return std::abs(p.x - tag_.x) <= kHandleHalf && std::abs(p.y - tag_.y) <= kHandleHalf;
}

bool CPlotAnnotation::OnTagHandle(gdi::Point p) const {
    return layoutValid_ && !hidden && Attached() && tagHandle_ && InTagHandle(p);
}

void CPlotAnnotation::DrawInverted(CPlotPaintContext& ctx) const {
    if (!layoutValid_ || hidden || unplaced_) return;
    gdi::IDeviceContext& dc = ctx.dc;
    gdi::StateScope state(dc);
    dc.SetRop2(gdi::RasterOp::NotXorPen);
    ctx.env.SelectPen(dc, 0, 1);
    dc.SelectBrush(gdi::Brush{gdi::BrushStyle::Null});
    dc.Polygon(box_);
    if (Attached()) {
        dc.MoveTo(tag_.x, tag_.y);
        dc.LineTo(anchor_.x, anchor_.y);
    }
}

bool CPlotAnnotation::HitTest(int x, int y) const {
    if (!layoutValid_ || hidden) return false;
    const gdi::Point p{x, y};
    if (Attached() && !tagNotPickable_) {
        if (PlotGeometry::InPolygon(PlotGeometry::Strip(tag_, anchor_, kLeaderHalfWidth), p))
            return true;
        if (tagHandle_ && InTagHandle(p)) return true;
    }
    return PlotGeometry::InPolygon(box_, p);
}

// ---------------------------------------------------------------------------------------------
// Moving

void CPlotAnnotation::MoveBy(CPlotPaintContext& ctx, IAnnotationSite& site, int dx, int dy) {
    if (dx == 0 && dy == 0) return;
    anchor_ = {anchor_.x + dx, anchor_.y + dy};
    StorePosition(ctx, site, anchor_);
    textRect_ = Offset(textRect_, dx, dy);
    for (gdi::Point& p : box_)
        p = {p.x + dx, p.y + dy};
    if (!Attached()) {
        rect = textRect_;
        return;
    }
    rect = Union(textRect_, Spanned(anchor_, tag_, kTagMargin));
    if (attributes_.arrowSize > 0) rect = Union(rect, Spanned(tag_, tag_, kArrowBox));
}

void CPlotAnnotation::ClampIntoControl(CPlotPaintContext& ctx, IAnnotationSite& site) {
    clampRequest_ = false;
    const gdi::Size c = site.ControlSize();
    const Rect& r = rect;
    if (r.left >= 0 && r.right <= c.cx && r.top >= 0 && r.bottom <= c.cy) return;
    const int x = r.left < 0 ? 0 : r.right > c.cx ? r.left + (c.cx - r.right) : r.left;
    const int y = r.top < 0 ? r.bottom - r.top : r.bottom > c.cy ? c.cy : r.bottom;
    StorePosition(ctx, site, {x, y});
    Layout(ctx, site);
}

void CPlotAnnotation::Rotate(int direction) {
    double& x = position_.x;
    double& y = position_.y;
    if (x >= kLargestFloat || y >= kLargestFloat) return;
    const double z = 1 - x - y;
    if (direction != 0) {
        x = std::exchange(y, z);
    } else {
        y = std::exchange(x, z);
    }
    layoutNeeded_ = true;
}

// ---------------------------------------------------------------------------------------------
// Dragging

int CPlotAnnotation::BeginDrag(gdi::Point p) {
    // The tag handle of a selected text is a handle: it takes the press before the text.
    if (tagHandle_ && Attached() && !unplaced_ && InTagHandle(p)) {
        BeginTagDrag();
        return kTagDrag;
    }
    if (unplaced_ ||
        (p.x >= rect.left && p.x < rect.right && p.y >= rect.top && p.y < rect.bottom)) {
        lastDrag_ = p;
        dragRect_ = rect;
        feedbackDrawn_ = false;
        return kMoveDrag;
    }
    if (InTagHandle(p)) {
        BeginTagDrag();
        return kTagDrag;
    }
    return 0;
}

void CPlotAnnotation::BeginTagDrag() {
    leaderEnd_ = LeaderEnd();
    feedbackDrawn_ = false;
}

void CPlotAnnotation::DrawDragFeedback(CPlotPaintContext& ctx, gdi::Point mouse) const {
    gdi::IDeviceContext& dc = ctx.dc;
    gdi::StateScope state(dc);
    dc.SetRop2(gdi::RasterOp::NotXorPen);
    ctx.env.SelectPen(dc, 0, 1);
    dc.SelectBrush(gdi::Brush{gdi::BrushStyle::Null});
    dc.Rectangle(ToGdi(dragRect_));
    if (Attached() && unplaced_) {
        dc.MoveTo(tag_.x, tag_.y);
        dc.LineTo(mouse.x, mouse.y);
    }
}

void CPlotAnnotation::TrackDrag(CPlotPaintContext& ctx, gdi::Point p, int code) {
    gdi::IDeviceContext& dc = ctx.dc;
    if (code == kTagDrag) {
        gdi::StateScope state(dc);
        dc.SetRop2(gdi::RasterOp::NotXorPen);
        ctx.env.SelectPen(dc, 0, 1);
        if (feedbackDrawn_) {
            dc.MoveTo(tag_.x, tag_.y);
            dc.LineTo(leaderEnd_.x, leaderEnd_.y);
        }
        tag_ = p;
        dc.MoveTo(tag_.x, tag_.y);
        dc.LineTo(leaderEnd_.x, leaderEnd_.y);
        feedbackDrawn_ = true;
        return;
    }
    // The inverting pen erases the previous frame, then draws the moved one.
    if (feedbackDrawn_) DrawDragFeedback(ctx, lastDrag_);
    dragRect_ = Offset(dragRect_, p.x - lastDrag_.x, p.y - lastDrag_.y);
    lastDrag_ = p;
    DrawDragFeedback(ctx, p);
    feedbackDrawn_ = true;
}

int CPlotAnnotation::EndDrag(CPlotPaintContext& ctx, IAnnotationSite& site, gdi::Point p,
                             int code) {
    if (code == kTagDrag) {
        // The tag is attached anew where it was let go; the text stays where it stands.
        const gdi::Point anchor = anchor_;
        AttachAt(ctx, site, p);
        StorePosition(ctx, site, anchor);
        Layout(ctx, site);
        feedbackDrawn_ = false;
        return 1;
    }
    if (feedbackDrawn_) DrawDragFeedback(ctx, lastDrag_);
    feedbackDrawn_ = false;
    // A frame dropped (nearly) outside the control leaves the text where it was.
    const gdi::Size c = site.ControlSize();
    const Rect& r = dragRect_;
    if (r.right > kDropMargin && r.left < c.cx - kDropMargin && r.bottom > kDropMargin &&
        r.top < c.cy - kDropMargin)
        MoveBy(ctx, site, r.left - rect.left, r.top - rect.top);
    return 0;
}

void CPlotAnnotation::FinishPlacing(CPlotPaintContext& ctx, IAnnotationSite& site, gdi::Point p) {
    if (feedbackDrawn_) DrawDragFeedback(ctx, lastDrag_);
    feedbackDrawn_ = false;
    unplaced_ = false;
    StorePosition(ctx, site, p);
    Layout(ctx, site);
}
