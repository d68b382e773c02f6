// User-drawn shapes: their device form, drawing, hit testing, handles, dragging and keys.
#include "annot/PlotDisplay.h"

#include "annot/PlotPath.h"
#include "annot/ShapeRecord.h"
#include "platform/ui/VirtualKeys.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

constexpr int kLineHitDistance = 2;    // a line is hit this close to it
constexpr int kShapeHitMargin = 3;     // boxes, ellipses and arcs are hit this far outside
constexpr int kMarkerHandleSpread = 5; // a marker's handles sit this far out of its square
constexpr int kLargestMarkerHalfSize = 1000;
constexpr float kPointsPerPixel = 72.0f / 96.0f;

gdi::Rect BoxOf(gdi::Point a, gdi::Point b) {
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

gdi::Rect Spread(gdi::Rect r, int by) {
    return {r.left - by, r.top - by, r.right + by, r.bottom + by};
}

// Strictly inside, as the hit tests of boxes, ellipses and arcs want it.
bool StrictlyInside(const gdi::Rect& r, int x, int y) {
    return x > r.left && x < r.right && y > r.top && y < r.bottom;
}

gdi::Point Moved(gdi::Point p, int dx, int dy) {
    return {p.x + dx, p.y + dy};
}

// Selects a pen, and a brush for filled figures, for one drawing step.
class ScopedPens {
public:
    ScopedPens(gdi::IDeviceContext& dc, CPlotEnv& env, gdi::ColorRef color, int lineType, bool fill)
        : dc_(dc), fill_(fill) {
        // A filled figure's edge is the solid pen of its colour.
        oldPen_ = env.SelectColorPen(dc, color, fill ? 1 : lineType);
        if (fill) oldBrush_ = env.SelectColorBrush(dc, color);
    }
    ~ScopedPens() {
        dc_.SelectPen(oldPen_);
        if (fill_) dc_.SelectBrush(oldBrush_);
    }
    ScopedPens(const ScopedPens&) = delete;
    ScopedPens& operator=(const ScopedPens&) = delete;

private:
    gdi::IDeviceContext& dc_;
    bool fill_;
    gdi::Pen oldPen_;
    gdi::Brush oldBrush_;
};

// The four sides of a box from a to b as a closed line.
void BoxOutline(gdi::IDeviceContext& dc, gdi::Point a, gdi::Point b) {
    const gdi::Point corners[] = {a, {b.x, a.y}, b, {a.x, b.y}, a};
    dc.Polyline(corners);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// CPlotDisplay

CPlotDisplay::CPlotDisplay(char kind, float x, float y)
    : x1_(x), y1_(y), x2_(x), y2_(y), kind_(kind) {}

void CPlotDisplay::SetColor(gdi::ColorRef rgb, int colorIndex) {
    color_ = rgb;
    colorIndex_ = static_cast<std::uint8_t>(std::clamp(colorIndex, 0, 255));
}

void CPlotDisplay::SetLineType(int lineType) {
    lineType_ = static_cast<std::uint8_t>(std::clamp(lineType, 1, 255));
}

void CPlotDisplay::SetWorld(float x1, float y1, float x2, float y2) {
    x1_ = x1;
    y1_ = y1;
    x2_ = x2;
    y2_ = y2;
}

void CPlotDisplay::SetDevice(gdi::Point start, gdi::Point end) {
    start_ = start;
    end_ = end;
    ComputeBounds();
}

void CPlotDisplay::WorldToDevice(const CPlotEnv& env) {
    // A point that does not map keeps its last device place.
    env.WorldToDevice(x1_, y1_, start_.x, start_.y);
    env.WorldToDevice(x2_, y2_, end_.x, end_.y);
    ComputeBounds();
}

void CPlotDisplay::DeviceToWorld(const CPlotEnv& env) {
    env.DeviceToWorld(start_.x, start_.y, x1_, y1_);
    env.DeviceToWorld(end_.x, end_.y, x2_, y2_);
}

void CPlotDisplay::ComputeBounds() {
    bounds_ = Spread(BoxOf(start_, end_), kBoundsMargin);
}

void CPlotDisplay::SnapToGrid(const CPlotEnv& env) {
    env.SnapToGrid(x1_, y1_);
    env.SnapToGrid(x2_, y2_);
}

void CPlotDisplay::OffsetWorld(float dx, float dy) {
    SetWorld(x1_ + dx, y1_ + dy, x2_ + dx, y2_ + dy);
}

void CPlotDisplay::OffsetDevice(int dx, int dy) {
    start_ = Moved(start_, dx, dy);
    end_ = Moved(end_, dx, dy);
    ComputeBounds();
}

void CPlotDisplay::GetExtent(float& xmin, float& ymax, float& xmax, float& ymin) const {
    xmin = std::min(x1_, x2_);
    xmax = std::max(x1_, x2_);
    ymin = std::min(y1_, y2_);
    ymax = std::max(y1_, y2_);
}

void CPlotDisplay::Draw(gdi::IDeviceContext& dc, CPlotEnv& env) {
    WorldToDevice(env);
    if (visible_ && gdi::Overlaps(bounds_, dc.GetClipBox())) DrawShape(dc, env, 0, 0);
    // A repaint wipes any feedback; a drag starts again from here.
    dragOffset_ = {};
    feedbackShown_ = false;
}

void CPlotDisplay::DrawOutline(gdi::IDeviceContext& dc, CPlotEnv&, int dx, int dy) const {
    dc.MoveTo(start_.x + dx, start_.y + dy);
    dc.LineTo(end_.x + dx, end_.y + dy);
}

bool CPlotDisplay::HitTest(int x, int y) const {
    return bounds_.Contains({x, y});
}

void CPlotDisplay::PlaceHandle(gdi::IDeviceContext& dc, CPlotEnv& env, gdi::Point at, int cursor,
                               int code) const {
    env.PlaceHandle(dc, at.x, at.y, cursor, code, nullptr, this);
}

// ---------------------------------------------------------------------------------------------
// Dragging

void CPlotDisplay::HideFeedback(gdi::IDeviceContext& dc, CPlotEnv& env, int lineType) {
    if (!feedbackShown_) return;
    const gdi::RasterOp oldRop = dc.SetRop2(gdi::RasterOp::NotXorPen);
    const gdi::Pen oldPen = env.SelectColorPen(dc, color_, lineType);
    DrawOutline(dc, env, feedbackOffset_.x, feedbackOffset_.y);
    dc.SelectPen(oldPen);
    dc.SetRop2(oldRop);
    feedbackShown_ = false;
}

void CPlotDisplay::TrackMove(gdi::IDeviceContext& dc, CPlotEnv& env, int dx, int dy, int lineType) {
    // The outline at the old offset goes, the one at the new offset comes.
    HideFeedback(dc, env, lineType);
    dragState_ = dragState_ == kHandlePressed ? 0 : dragState_;
    dragOffset_ = {dx, dy};
    const gdi::RasterOp oldRop = dc.SetRop2(gdi::RasterOp::NotXorPen);
    const gdi::Pen oldPen = env.SelectColorPen(dc, color_, lineType);
    DrawOutline(dc, env, dx, dy);
    dc.SelectPen(oldPen);
    dc.SetRop2(oldRop);
    feedbackShown_ = true;
    feedbackOffset_ = dragOffset_;
}

int CPlotDisplay::TrackHandle(gdi::IDeviceContext& dc, CPlotEnv& env, int x, int y, int handle,
                              int lineType) {
    HideFeedback(dc, env, lineType);
    const int next = MoveHandle(x, y, handle);
    TrackMove(dc, env, 0, 0, lineType);
    return next;
}

int CPlotDisplay::MoveHandle(int x, int y, int handle) {
    if (handle == 2)
        SetDevice({x, y}, end_);
    else
        SetDevice(start_, {x, y});
    return handle;
}

void CPlotDisplay::CommitDrag() {
    OffsetDevice(dragOffset_.x, dragOffset_.y);
    dragOffset_ = {};
    feedbackShown_ = false;
}

// ---------------------------------------------------------------------------------------------
// Keys

bool CPlotDisplay::ArrowStep(int key, const CPlotEnv& env, float& dx, float& dy) {
    const float s = env.snapStep;
    dx = dy = 0;
    switch (key) {
    case ui::VK_LEFT:
        dx = -s;
        return true;
    case ui::VK_RIGHT:
        dx = s;
        return true;
    case ui::VK_UP: // world y points up
        dy = s;
        return true;
    case ui::VK_DOWN:
        dy = -s;
        return true;
    default:
        return false;
    }
}

namespace {
bool IsTransformKey(int key) {
    return key == 'L' || key == 'R' || key == 'X' || key == 'Y' || key == 'l' || key == 'r' ||
           key == 'x' || key == 'y';
}
} // namespace

int CPlotDisplay::KeyDown(int key, bool shift, const CPlotEnv& env) {
    float dx = 0, dy = 0;
    if (!ArrowStep(key, env, dx, dy)) return IsTransformKey(key) ? 1 : 0;
    // With shift only point 2 moves: the shape is resized.
    if (shift)
        SetWorld(x1_, y1_, x2_ + dx, y2_ + dy);
    else
        OffsetWorld(dx, dy);
    SnapToGrid(env);
    WorldToDevice(env);
    return 1;
}

CPlotDisplay::HandleAxes CPlotDisplay::AxesOfHandle(int handle) const {
    const bool first = handle == 2;
    return {first, first, !first, !first};
}

void CPlotDisplay::KeyMoveHandle(int handle, int key, const CPlotEnv& env) {
    float dx = 0, dy = 0;
    if (!ArrowStep(key, env, dx, dy)) return;
    // The move and the snap apply to all; the coordinates the handle does not control return.
    const float ox1 = x1_, oy1 = y1_, ox2 = x2_, oy2 = y2_;
    OffsetWorld(dx, dy);
    SnapToGrid(env);
    const HandleAxes m = AxesOfHandle(handle);
    SetWorld(m.x1 ? x1_ : ox1, m.y1 ? y1_ : oy1, m.x2 ? x2_ : ox2, m.y2 ? y2_ : oy2);
    WorldToDevice(env);
}

bool CPlotDisplay::AppendToPath(CPlotPath&) const {
    return false;
}

// ---------------------------------------------------------------------------------------------
// The record

// The common fields in their order; the writer takes them as values, the reader fills them.
template <class Self, class Archive>
void CPlotDisplay::Fields(Self& self, Archive& a) {
    a.Field(self.tag_);
    a.Field(self.reserved_[0]);
    a.Field(self.reserved_[1]);
    a.Field(self.bounds_.left);
    a.Field(self.bounds_.top);
    a.Field(self.bounds_.right);
    a.Field(self.bounds_.bottom);
    a.Field(self.x1_);
    a.Field(self.y1_);
    a.Field(self.x2_);
    a.Field(self.y2_);
    a.Field(self.kind_);
    a.Field(self.color_);
    a.Field(self.colorIndex_);
    a.Field(self.lineType_);
    a.Field(self.spare_);
    a.Field(self.start_.x);
    a.Field(self.start_.y);
    a.Field(self.end_.x);
    a.Field(self.end_.y);
    a.Field(self.filled_);
}

void CPlotDisplay::Write(CShapeWriter& out) const {
    Fields(*this, out);
    WriteOwn(out);
}

bool CPlotDisplay::Read(CShapeReader& in) {
    const char made = kind_;
    Fields(*this, in);
    // A record of another kind than its class draws is refused.
    const char read = kind_;
    kind_ = made;
    if (!in.Ok() || !KindFits(read)) return false;
    kind_ = read;
    return ReadOwn(in) && in.Ok();
}

// ---------------------------------------------------------------------------------------------
// CPlotLine

void CPlotLine::DrawShape(gdi::IDeviceContext& dc, CPlotEnv& env, int dx, int dy) const {
    ScopedPens pens(dc, env, Color(), LineType(), false);
    DrawOutline(dc, env, dx, dy);
}

bool CPlotLine::HitTest(int x, int y) const {
    const gdi::Point a = Start(), b = End();
    const int ddx = b.x - a.x, ddy = b.y - a.y;
    if (std::abs(ddx) >= std::abs(ddy)) {
        // Flatter than 45 degrees: between the ends' x, near the line at that x.
        if (x < std::min(a.x, b.x) || x > std::max(a.x, b.x)) return false;
        const double lineY = ddx == 0 ? a.y : a.y + double(ddy) * (x - a.x) / ddx;
        return std::abs(y - lineY) <= kLineHitDistance;
    }
    if (y < std::min(a.y, b.y) || y > std::max(a.y, b.y)) return false;
    const double lineX = a.x + double(ddx) * (y - a.y) / ddy;
    return std::abs(x - lineX) <= kLineHitDistance;
}

void CPlotLine::ShowHandles(gdi::IDeviceContext& dc, CPlotEnv& env) {
    PlaceHandle(dc, env, Start(), kPointHandleCursor, 2);
    PlaceHandle(dc, env, End(), kPointHandleCursor, 3);
}

int CPlotLine::MoveHandle(int x, int y, int handle) {
    return CPlotDisplay::MoveHandle(x, y, handle);
}

std::vector<gdi::Point> CPlotLine::RegionStrip() const {
    const gdi::Point a = Start(), b = End();
    if (a.x == b.x || a.y == b.y) {
        const gdi::Rect r = BoxOf(a, b);
        return {{r.left, r.top},
                {r.right + 1, r.top},
                {r.right + 1, r.bottom + 1},
                {r.left, r.bottom + 1}};
    }
    // Offset along the shorter axis by one unit.
    const bool flat = std::abs(b.x - a.x) >= std::abs(b.y - a.y);
    const int ox = flat ? 0 : 1, oy = flat ? 1 : 0;
    return {a, b, {b.x + ox, b.y + oy}, {a.x + ox, a.y + oy}};
}

// ---------------------------------------------------------------------------------------------
// CPlotBox

CPlotBox::CPlotBox(char kind, float x, float y) : CPlotDisplay(kind, x, y) {
    SetFilled(kind == kFilledBox ? 1 : 0);
}

void CPlotBox::DrawShape(gdi::IDeviceContext& dc, CPlotEnv& env, int dx, int dy) const {
    const bool fill = Filled() == 1;
    ScopedPens pens(dc, env, Color(), LineType(), fill);
    if (!fill) {
        DrawOutline(dc, env, dx, dy);
        return;
    }
    const gdi::Rect r = BoxOf(Moved(Start(), dx, dy), Moved(End(), dx, dy));
    dc.Rectangle({r.left, r.top, r.right + 1, r.bottom + 1});
}

void CPlotBox::DrawOutline(gdi::IDeviceContext& dc, CPlotEnv&, int dx, int dy) const {
    BoxOutline(dc, Moved(Start(), dx, dy), Moved(End(), dx, dy));
}

bool CPlotBox::KindFits(char kind) const {
    return kind == kBox || kind == kFilledBox;
}

bool CPlotBox::HitTest(int x, int y) const {
    return StrictlyInside(Spread(BoxOf(Start(), End()), kShapeHitMargin), x, y);
}

void CPlotBox::ShowHandles(gdi::IDeviceContext& dc, CPlotEnv& env) {
    const gdi::Point a = Start(), b = End();
    const int mx = (a.x + b.x) / 2, my = (a.y + b.y) / 2;
    PlaceHandle(dc, env, a, kDiagonalCursor, 2);
    PlaceHandle(dc, env, {b.x, a.y}, kAntiDiagonalCursor, 3);
    PlaceHandle(dc, env, b, kDiagonalCursor, 4);
    PlaceHandle(dc, env, {a.x, b.y}, kAntiDiagonalCursor, 5);
    PlaceHandle(dc, env, {mx, a.y}, kVerticalCursor, 6);
    PlaceHandle(dc, env, {b.x, my}, kHorizontalCursor, 7);
    PlaceHandle(dc, env, {mx, b.y}, kVerticalCursor, 8);
    PlaceHandle(dc, env, {a.x, my}, kHorizontalCursor, 9);
}

CPlotDisplay::HandleAxes CPlotBox::AxesOfHandle(int handle) const {
    return {handle == 2 || handle == 5 || handle == 9, handle == 2 || handle == 3 || handle == 6,
            handle == 3 || handle == 4 || handle == 7, handle == 4 || handle == 5 || handle == 8};
}

int CPlotBox::MoveHandle(int x, int y, int handle) {
    const HandleAxes m = AxesOfHandle(handle);
    gdi::Point a = Start(), b = End();
    if (handle == 0) b = {x, y}; // while creating: the second corner follows
    if (m.x1) a.x = x;
    if (m.y1) a.y = y;
    if (m.x2) b.x = x;
    if (m.y2) b.y = y;
    SetDevice(a, b);
    return handle;
}

// ---------------------------------------------------------------------------------------------
// CPlotEllipse

CPlotEllipse::CPlotEllipse(char kind, float x, float y) : CPlotDisplay(kind, x, y) {
    if (!PartOfKind(kind, vertical_, horizontal_)) SetKind(kWholeEllipse);
    SetFilled(0);
}

bool CPlotEllipse::PartOfKind(char kind, int& vertical, int& horizontal) {
    if (kind == kLine) kind = 'd'; // an old kind read as the lower half
    const std::string_view grid(kPartGrid);
    const std::size_t at = grid.find(kind);
    if (at == std::string_view::npos) {
        vertical = horizontal = 0;
        return false;
    }
    vertical = 1 - int(at / 3);
    horizontal = int(at % 3) - 1;
    return true;
}

char CPlotEllipse::KindOfPart(int vertical, int horizontal) {
    const int row = 1 - std::clamp(vertical, -1, 1), column = std::clamp(horizontal, -1, 1) + 1;
    return kPartGrid[row * 3 + column];
}

bool CPlotEllipse::KindFits(char kind) const {
    int vertical = 0, horizontal = 0;
    return PartOfKind(kind, vertical, horizontal);
}

bool CPlotEllipse::ReadOwn(CShapeReader&) {
    // The part follows from the kind; a kind outside the grid is the whole ellipse.
    if (!PartOfKind(Kind(), vertical_, horizontal_)) SetKind(kWholeEllipse);
    return true;
}

gdi::Rect CPlotEllipse::Box() const {
    const gdi::Point c = Start();
    const int rx = std::abs(End().x - c.x), ry = std::abs(End().y - c.y);
    return {c.x - rx, c.y - ry, c.x + rx, c.y + ry};
}

void CPlotEllipse::ArcEnds(gdi::Point& from, gdi::Point& to) const {
    const gdi::Rect b = Box();
    const gdi::Point c = Start();
    const gdi::Point top{c.x, b.top}, bottom{c.x, b.bottom}, left{b.left, c.y}, right{b.right, c.y};
    // Counter-clockwise on the screen from `from` to `to`.
    if (vertical_ == 1 && horizontal_ == 0) {
        from = right, to = left;
    } else if (vertical_ == -1 && horizontal_ == 0) {
        from = left, to = right;
    } else if (vertical_ == 0 && horizontal_ == -1) {
        from = top, to = bottom;
    } else if (vertical_ == 0) {
        from = bottom, to = top; // the right half and the whole ellipse
    } else if (vertical_ == 1 && horizontal_ == 1) {
        from = right, to = top;
    } else if (vertical_ == 1) {
        from = top, to = left;
    } else if (horizontal_ == -1) {
        from = left, to = bottom;
    } else {
        from = bottom, to = right;
    }
}

void CPlotEllipse::ComputeBounds() {
    SetBounds(Spread(Box(), kBoundsMargin));
}

void CPlotEllipse::Figure(gdi::IDeviceContext& dc, int dx, int dy, bool fill) const {
    gdi::Rect b = Box();
    b = {b.left + dx, b.top + dy, b.right + dx, b.bottom + dy};
    if (b.left == b.right || b.top == b.bottom) {
        // A degenerate ellipse is a line across its box.
        dc.MoveTo(b.left, b.top);
        dc.LineTo(b.right, b.bottom);
        return;
    }
    gdi::Point from, to;
    ArcEnds(from, to);
    from = Moved(from, dx, dy);
    to = Moved(to, dx, dy);
    const bool whole = vertical_ == 0 && horizontal_ == 0;
    if (fill) {
        if (whole)
            dc.Ellipse(b);
        else
            dc.Chord(b, from, to);
        return;
    }
    dc.Arc(b, from, to);
    if (whole) dc.Arc(b, to, from);
}

void CPlotEllipse::DrawShape(gdi::IDeviceContext& dc, CPlotEnv& env, int dx, int dy) const {
    const bool fill = Filled() == 1;
    ScopedPens pens(dc, env, Color(), LineType(), fill);
    Figure(dc, dx, dy, fill);
}

void CPlotEllipse::DrawOutline(gdi::IDeviceContext& dc, CPlotEnv&, int dx, int dy) const {
    Figure(dc, dx, dy, false);
}

bool CPlotEllipse::HitTest(int x, int y) const {
    if (!StrictlyInside(Spread(Box(), kShapeHitMargin), x, y)) return false;
    // Not beyond the centre on the side the part leaves out.
    const gdi::Point c = Start();
    const int m = kShapeHitMargin;
    if (vertical_ == 1 && y > c.y + m) return false;
    if (vertical_ == -1 && y < c.y - m) return false;
    if (horizontal_ == -1 && x > c.x + m) return false;
    if (horizontal_ == 1 && x < c.x - m) return false;
    return true;
}

void CPlotEllipse::ShowHandles(gdi::IDeviceContext& dc, CPlotEnv& env) {
    const gdi::Rect b = Box();
    const gdi::Point c = Start();
    if (vertical_ >= 0) PlaceHandle(dc, env, {c.x, b.top}, kVerticalCursor, 2);
    if (horizontal_ >= 0) PlaceHandle(dc, env, {b.right, c.y}, kHorizontalCursor, 3);
    if (vertical_ <= 0) PlaceHandle(dc, env, {c.x, b.bottom}, kVerticalCursor, 4);
    if (horizontal_ <= 0) PlaceHandle(dc, env, {b.left, c.y}, kHorizontalCursor, 5);
}

int CPlotEllipse::MoveHandle(int x, int y, int handle) {
    gdi::Point e = End();
    switch (handle) {
    case 2:
    case 4:
        e.y = y; // the vertical radius
        break;
    case 3:
    case 5:
        e.x = x; // the horizontal radius
        break;
    default:
        e = {x, y};
        break;
    }
    SetDevice(Start(), e);
    return handle;
}

CPlotDisplay::HandleAxes CPlotEllipse::AxesOfHandle(int handle) const {
    // The top and bottom handles set the vertical radius, the side handles the horizontal.
    const bool vertical = handle == 2 || handle == 4, horizontal = handle == 3 || handle == 5;
    return {false, false, horizontal, vertical};
}

// ---------------------------------------------------------------------------------------------
// CPlotArc

gdi::Rect CPlotArc::Box() const {
    const gdi::Point a = Start(), b = End();
    return BoxOf({2 * a.x - b.x, a.y}, {b.x, 2 * b.y - a.y});
}

void CPlotArc::ArcEnds(gdi::Point& from, gdi::Point& to) const {
    const gdi::Point a = Start(), b = End();
    const long long turn = static_cast<long long>(b.y - a.y) * (b.x - a.x);
    from = turn < 0 ? a : b;
    to = turn < 0 ? b : a;
}

void CPlotArc::DrawShape(gdi::IDeviceContext& dc, CPlotEnv& env, int dx, int dy) const {
    ScopedPens pens(dc, env, Color(), LineType(), false);
    gdi::Rect r = Box();
    r = {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
    gdi::Point from, to;
    ArcEnds(from, to);
    dc.Arc(r, Moved(from, dx, dy), Moved(to, dx, dy));
}

bool CPlotArc::HitTest(int x, int y) const {
    return StrictlyInside(Spread(BoxOf(Start(), End()), kShapeHitMargin), x, y);
}

void CPlotArc::ShowHandles(gdi::IDeviceContext& dc, CPlotEnv& env) {
    PlaceHandle(dc, env, Start(), kPointHandleCursor, 2);
    PlaceHandle(dc, env, End(), kPointHandleCursor, 3);
}

int CPlotArc::MoveHandle(int x, int y, int handle) {
    return CPlotDisplay::MoveHandle(x, y, handle);
}

// ---------------------------------------------------------------------------------------------
// CPlotPoint

CPlotPoint::CPlotPoint(float x, float y, int marker, int halfSize)
    : CPlotDisplay(kMarkerPoint, x, y), marker_(marker), halfSize_(std::max(1, halfSize)) {}

void CPlotPoint::ComputeBounds() {
    const gdi::Point c = Start();
    SetBounds(Spread({c.x, c.y, c.x, c.y}, halfSize_ + kBoundsMargin));
}

void CPlotPoint::DrawShape(gdi::IDeviceContext& dc, CPlotEnv& env, int dx, int dy) const {
    if (ColorIndex() >= env.tool->ColorCount()) return; // a colour the table lacks
    env.DrawMarker(dc, marker_, Start().x + dx, Start().y + dy, ColorIndex(), halfSize_);
}

void CPlotPoint::DrawOutline(gdi::IDeviceContext& dc, CPlotEnv&, int dx, int dy) const {
    const gdi::Point c = Moved(Start(), dx, dy);
    BoxOutline(dc, {c.x - halfSize_, c.y - halfSize_}, {c.x + halfSize_, c.y + halfSize_});
}

bool CPlotPoint::HitTest(int x, int y) const {
    const gdi::Point c = Start();
    return std::abs(x - c.x) < halfSize_ && std::abs(y - c.y) < halfSize_;
}

void CPlotPoint::ShowHandles(gdi::IDeviceContext& dc, CPlotEnv& env) {
    const gdi::Point c = Start();
    const int h = halfSize_ + kMarkerHandleSpread;
    PlaceHandle(dc, env, {c.x - h, c.y - h}, kArrowCursor, 2);
    PlaceHandle(dc, env, {c.x + h, c.y - h}, kArrowCursor, 3);
    PlaceHandle(dc, env, {c.x + h, c.y + h}, kArrowCursor, 4);
    PlaceHandle(dc, env, {c.x - h, c.y + h}, kArrowCursor, 5);
}

int CPlotPoint::MoveHandle(int x, int y, int handle) {
    if (handle == 0) {
        SetDevice({x, y}, {x, y}); // while creating the marker follows the pointer
        return handle;
    }
    // A corner handle sizes the marker.
    const gdi::Point c = Start();
    halfSize_ = std::max(1, std::max(std::abs(x - c.x), std::abs(y - c.y)) - kMarkerHandleSpread);
    ComputeBounds();
    return handle;
}

void CPlotPoint::KeyMoveHandle(int handle, int key, const CPlotEnv& env) {
    float dx = 0, dy = 0;
    if (handle < 2 || handle > 5 || !ArrowStep(key, env, dx, dy)) return;
    // The corner's sides: 2 top left, 3 top right, 4 bottom right, 5 bottom left (world y up).
    const int sideX = handle == 2 || handle == 5 ? -1 : 1;
    const int sideY = handle == 2 || handle == 3 ? 1 : -1;
    // An arrow away from the centre on the corner's side grows the marker by one unit.
    const int grow = (dx > 0   ? 1
                      : dx < 0 ? -1
                               : 0) *
                         sideX +
                     (dy > 0   ? 1
                      : dy < 0 ? -1
                               : 0) *
                         sideY;
    halfSize_ = std::clamp(halfSize_ + grow, 1, kLargestMarkerHalfSize);
    WorldToDevice(env);
}

void CPlotPoint::WriteOwn(CShapeWriter& out) const {
    out.I32(marker_);
    out.I32(halfSize_);
}

bool CPlotPoint::ReadOwn(CShapeReader& in) {
    constexpr int kLargestHalfSize = 1000;
    if (!in.I32(marker_) || !in.I32(halfSize_)) return false;
    return halfSize_ >= 1 && halfSize_ <= kLargestHalfSize;
}

// ---------------------------------------------------------------------------------------------
// CPlotPolygon

CPlotPolygon::CPlotPolygon(float x, float y, bool closed)
    : CPlotDisplay(kPolygon, x, y), closed_(closed) {
    SetFilled(closed ? 0 : kNotFillable);
}

void CPlotPolygon::AppendDeviceVertex(gdi::Point p, std::uint8_t penDown) {
    device_.push_back(p);
    penDown_.push_back(penDown);
    ComputeBounds();
}

void CPlotPolygon::PlaceLastVertex(gdi::Point p) {
    if (device_.empty()) return;
    device_.back() = p;
    ComputeBounds();
}

void CPlotPolygon::DropLastVertex() {
    if (device_.empty()) return;
    device_.pop_back();
    penDown_.pop_back();
    ComputeBounds();
}

void CPlotPolygon::SetVertices(std::vector<CPlotVertex> vertices) {
    world_ = std::move(vertices);
    device_.assign(world_.size(), gdi::Point{});
    penDown_.resize(world_.size());
    for (std::size_t i = 0; i < world_.size(); ++i)
        penDown_[i] = world_[i].flag;
}

void CPlotPolygon::WorldToDevice(const CPlotEnv& env) {
    device_.resize(world_.size());
    for (std::size_t i = 0; i < world_.size(); ++i)
        env.WorldToDevice(world_[i].x, world_[i].y, device_[i].x, device_[i].y);
    CPlotDisplay::WorldToDevice(env);
}

void CPlotPolygon::DeviceToWorld(const CPlotEnv& env) {
    world_.resize(device_.size());
    for (std::size_t i = 0; i < device_.size(); ++i) {
        env.DeviceToWorld(device_[i].x, device_[i].y, world_[i].x, world_[i].y);
        world_[i].flag = penDown_[i];
    }
    float xmin, ymax, xmax, ymin;
    GetExtent(xmin, ymax, xmax, ymin);
    SetWorld(xmin, ymax, xmax, ymin);
}

void CPlotPolygon::ComputeBounds() {
    if (device_.empty()) {
        CPlotDisplay::ComputeBounds();
        return;
    }
    gdi::Rect r{device_[0].x, device_[0].y, device_[0].x, device_[0].y};
    for (const gdi::Point& p : device_)
        r = {std::min(r.left, p.x), std::min(r.top, p.y), std::max(r.right, p.x),
             std::max(r.bottom, p.y)};
    SetBounds(Spread(r, kBoundsMargin));
}

void CPlotPolygon::OffsetWorld(float dx, float dy) {
    for (CPlotVertex& v : world_) {
        v.x += dx;
        v.y += dy;
    }
    CPlotDisplay::OffsetWorld(dx, dy);
}

void CPlotPolygon::OffsetDevice(int dx, int dy) {
    for (gdi::Point& p : device_)
        p = Moved(p, dx, dy);
    CPlotDisplay::OffsetDevice(dx, dy);
}

void CPlotPolygon::SnapToGrid(const CPlotEnv& env) {
    for (CPlotVertex& v : world_)
        env.SnapToGrid(v.x, v.y);
    CPlotDisplay::SnapToGrid(env);
}

void CPlotPolygon::GetExtent(float& xmin, float& ymax, float& xmax, float& ymin) const {
    if (world_.empty()) {
        CPlotDisplay::GetExtent(xmin, ymax, xmax, ymin);
        return;
    }
    xmin = xmax = world_[0].x;
    ymin = ymax = world_[0].y;
    for (const CPlotVertex& v : world_) {
        xmin = std::min(xmin, v.x);
        xmax = std::max(xmax, v.x);
        ymin = std::min(ymin, v.y);
        ymax = std::max(ymax, v.y);
    }
}

void CPlotPolygon::CommitDrag() {
    // The vertices move with the offset; DeviceToWorld takes them to world coordinates.
    const gdi::Point offset = DragOffset();
    for (gdi::Point& p : device_)
        p = Moved(p, offset.x, offset.y);
    CPlotDisplay::CommitDrag();
}

int CPlotPolygon::KeyDown(int key, bool shift, const CPlotEnv& env) {
    float dx = 0, dy = 0;
    if (!ArrowStep(key, env, dx, dy)) return CPlotDisplay::KeyDown(key, shift, env);
    // A polygon has no second point to resize by: every vertex moves.
    OffsetWorld(dx, dy);
    SnapToGrid(env);
    WorldToDevice(env);
    return 1;
}

void CPlotPolygon::KeyMoveHandle(int handle, int key, const CPlotEnv& env) {
    float dx = 0, dy = 0;
    const int n = int(world_.size());
    if (n == 0 || handle < 2 || !ArrowStep(key, env, dx, dy)) return;
    // A vertex handle names one vertex; an edge handle the two ends of its edge.
    std::vector<int> moved;
    if (handle % 2 == 0) {
        moved.push_back((handle - 2) / 2);
    } else {
        const int end = (handle - 1) / 2 == n ? 0 : (handle - 1) / 2;
        moved = {end == 0 ? n - 1 : end - 1, end};
    }
    for (int i : moved) {
        if (i < 0 || i >= n) return;
        CPlotVertex& v = world_[size_t(i)];
        v.x += dx;
        v.y += dy;
        env.SnapToGrid(v.x, v.y);
    }
    WorldToDevice(env);
}

void CPlotPolygon::DrawVertices(gdi::IDeviceContext& dc, const std::vector<gdi::Point>& points,
                                const std::vector<std::uint8_t>& penDown, bool closed, bool fill,
                                int dx, int dy) {
    const std::size_t n = points.size();
    if (n < 2) return;
    if (n == 2) {
        dc.MoveTo(points[0].x + dx, points[0].y + dy);
        dc.LineTo(points[1].x + dx, points[1].y + dy);
        return;
    }
    if (closed && fill) {
        std::vector<gdi::Point> moved(points);
        for (gdi::Point& p : moved)
            p = Moved(p, dx, dy);
        dc.Polygon(moved);
        return;
    }
    if (closed) {
        // From the last vertex round through all of them.
        dc.MoveTo(points[n - 1].x + dx, points[n - 1].y + dy);
        for (const gdi::Point& p : points)
            dc.LineTo(p.x + dx, p.y + dy);
        return;
    }
    dc.MoveTo(points[0].x + dx, points[0].y + dy);
    for (std::size_t i = 1; i < n; ++i) {
        if (i < penDown.size() && penDown[i] == 0)
            dc.MoveTo(points[i].x + dx, points[i].y + dy);
        else
            dc.LineTo(points[i].x + dx, points[i].y + dy);
    }
}

void CPlotPolygon::DrawShape(gdi::IDeviceContext& dc, CPlotEnv& env, int dx, int dy) const {
    const bool fill = closed_ && Filled() == 1;
    ScopedPens pens(dc, env, Color(), LineType(), fill);
    DrawVertices(dc, device_, penDown_, closed_, fill, dx, dy);
}

void CPlotPolygon::DrawOutline(gdi::IDeviceContext& dc, CPlotEnv&, int dx, int dy) const {
    DrawVertices(dc, device_, penDown_, closed_, false, dx, dy);
}

void CPlotPolygon::ShowHandles(gdi::IDeviceContext& dc, CPlotEnv& env) {
    const int n = VertexCount();
    for (int i = 0; i < n; ++i) {
        const gdi::Point v = device_[size_t(i)];
        PlaceHandle(dc, env, v, kPointHandleCursor, 2 * i + 2);
        // The middle of the edge that ends here; the closing edge carries code 2n + 1.
        if (i == 0 && !closed_) continue;
        const gdi::Point u = device_[size_t(i == 0 ? n - 1 : i - 1)];
        PlaceHandle(dc, env, {(u.x + v.x) / 2, (u.y + v.y) / 2}, kPointHandleCursor,
                    i == 0 ? 2 * n + 1 : 2 * i + 1);
    }
}

int CPlotPolygon::MoveHandle(int x, int y, int handle) {
    if (device_.empty()) return handle;
    const int n = VertexCount();
    if (handle == 0) {
        device_.back() = {x, y}; // while drawing: the newest vertex
    } else if (handle % 2 == 0) {
        const int i = (handle - 2) / 2;
        if (i >= 0 && i < n) device_[size_t(i)] = {x, y};
    } else {
        // An edge handle inserts a vertex at the edge's middle and drags it from then on.
        const int i = std::clamp((handle - 1) / 2, 0, n);
        device_.insert(device_.begin() + i, gdi::Point{x, y});
        penDown_.insert(penDown_.begin() + i, std::uint8_t{1});
        handle = 2 * i + 2;
    }
    ComputeBounds();
    return handle;
}

void CPlotPolygon::WriteOwn(CShapeWriter& out) const {
    out.U8(closed_ ? 1 : 0);
    out.U32(static_cast<std::uint32_t>(world_.size()));
    for (const CPlotVertex& v : world_) {
        out.F32(v.x);
        out.F32(v.y);
        out.U8(v.flag);
    }
}

bool CPlotPolygon::ReadOwn(CShapeReader& in) {
    constexpr std::size_t kVertexBytes = 9;
    std::uint8_t closed = 0;
    std::uint32_t n = 0;
    if (!in.U8(closed) || !in.Count(n, kVertexBytes, kMaxVertices)) return false;
    std::vector<CPlotVertex> vertices(n);
    for (CPlotVertex& v : vertices) {
        in.F32(v.x);
        in.F32(v.y);
        in.U8(v.flag);
    }
    if (!in.Ok()) return false;
    closed_ = closed != 0;
    SetVertices(std::move(vertices));
    return true;
}

// ---------------------------------------------------------------------------------------------
// CPlotText

CPlotText::CPlotText(float x, float y, std::string text, std::string face, float size)
    : CPlotDisplay(kText, x, y), text_(std::move(text)), face_(std::move(face)), size_(size) {}

void CPlotText::SetSize(float size) {
    if (std::isfinite(size) && size > 0) size_ = size;
}

float CPlotText::WorldSize(double points, const CPlotEnv& env) {
    const double unit = std::abs(env.coeff.ay);
    const double size = unit > 0 ? points / kPointsPerPixel / unit : 0.0;
    return std::isfinite(size) ? float(size) : 0.0f;
}

void CPlotText::SetTurn(int escapement, int style) {
    escapement_ = escapement >= 0 && escapement < 360 && escapement % 90 == 0 ? escapement : 0;
    style_ = style;
}

std::vector<std::string> CPlotText::Lines() const {
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < text_.size(); ++i) {
        const char c = text_[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text_.size() && text_[i + 1] == '\n') ++i;
            lines.emplace_back();
            continue;
        }
        lines.back() += c;
    }
    return lines;
}

int CPlotText::DevicePoints(const CPlotEnv& env) const {
    const double pixels = std::abs(double(size_) * env.coeff.ay);
    const double points = pixels * kPointsPerPixel;
    if (!std::isfinite(points)) return 0;
    return static_cast<int>(std::lround(std::min(points, 10000.0)));
}

void CPlotText::WorldToDevice(const CPlotEnv& env) {
    devicePoints_ = DevicePoints(env);
    CPlotDisplay::WorldToDevice(env);
}

void CPlotText::ComputeBounds() {
    // The extent estimated from the size: half the height per character, one height a line.
    const int height = (devicePoints_ * 96 + 36) / 72;
    std::size_t widest = 0, count = 0;
    for (const std::string& line : Lines()) {
        widest = std::max(widest, line.size());
        ++count;
    }
    const int w = int(std::min<std::size_t>(widest, 100000)) * (height + 1) / 2;
    const int h = int(count) * height;
    const bool across = escapement_ == 0 || escapement_ == 180;
    extent_ = across ? gdi::Size{w, h} : gdi::Size{h, w};
    const gdi::Point s = Start();
    SetBounds({s.x, s.y, s.x + extent_.cx, s.y + extent_.cy});
}

void CPlotText::DrawShape(gdi::IDeviceContext& dc, CPlotEnv& env, int dx, int dy) const {
    if (face_.empty() || devicePoints_ < 1) return;
    const CPlotFont& font =
        env.tool->FindFont(face_, devicePoints_, escapement_, std::max(style_, 0));
    const gdi::Font oldFont = dc.SelectFont(CDrawTool::DeviceFont(font));
    const gdi::ColorRef oldColor = dc.SetTextColor(Color());
    const gdi::BackgroundMode oldMode = dc.SetBkMode(gdi::BackgroundMode::Transparent);
    const int step = (devicePoints_ * 96 + 36) / 72;
    // Successive lines step down, right, up or left with the escapement.
    const int sx = escapement_ == 90 ? step : escapement_ == 270 ? -step : 0;
    const int sy = escapement_ == 0 ? step : escapement_ == 180 ? -step : 0;
    int x = Start().x + dx, y = Start().y + dy;
    for (const std::string& line : Lines()) {
        dc.TextOut(x, y, line);
        x += sx;
        y += sy;
    }
    dc.SetBkMode(oldMode);
    dc.SetTextColor(oldColor);
    dc.SelectFont(oldFont);
}

void CPlotText::DrawOutline(gdi::IDeviceContext& dc, CPlotEnv&, int dx, int dy) const {
    const gdi::Rect& b = Bounds();
    BoxOutline(dc, {b.left + dx, b.top + dy}, {b.right + dx, b.bottom + dy});
}

void CPlotText::ShowHandles(gdi::IDeviceContext& dc, CPlotEnv& env) {
    PlaceHandle(dc, env, Start(), kPointHandleCursor, 2);
}

void CPlotText::WriteOwn(CShapeWriter& out) const {
    out.Str(text_);
    out.Str(face_);
    out.F32(size_);
    out.I32(escapement_);
    out.I32(style_);
}

bool CPlotText::ReadOwn(CShapeReader& in) {
    in.Str(text_);
    in.Str(face_);
    in.F32(size_);
    in.I32(escapement_);
    in.I32(style_);
    // Only the four quarter turns are drawn.
    return in.Ok() && escapement_ >= 0 && escapement_ < 360 && escapement_ % 90 == 0;
}
