// Paths: grouped shapes as elements under one turn, mirror, scale and offset; and what each
// shape adds to a path when it is grouped.
#include "annot/PlotPath.h"

#include "annot/ShapeRecord.h"
#include "platform/ui/VirtualKeys.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>

namespace {

using Elem = CPlotPathElem;

constexpr int kSnapDistance = 5;      // corner handles this close to the pivot mark are hidden
constexpr int kSmallestPathText = 20; // device units: smaller path texts are not drawn
constexpr int kLargestGroupedPolygon = std::numeric_limits<std::int16_t>::max();

// The next orientation per key row (turn left, turn right, mirror x, mirror y) and current one.
constexpr int kTurnTable[4][CPlotPath::kOrientations] = {
    {3, 6, 7, 5, 0, 4, 2, 1},
    {4, 7, 6, 0, 5, 3, 1, 2},
    {1, 0, 5, 7, 6, 2, 4, 3},
    {2, 5, 0, 6, 7, 1, 3, 4},
};

// The turn or mirror of an orientation as a map of (u, v) about the pivot: u' = ux·u + uy·v,
// v' = vx·u + vy·v.
struct Turn {
    int ux, uy, vx, vy;
};
constexpr Turn kTurns[CPlotPath::kOrientations] = {
    {1, 0, 0, 1},  {-1, 0, 0, 1},  {1, 0, 0, -1},  {0, -1, 1, 0},
    {0, 1, -1, 0}, {-1, 0, 0, -1}, {0, -1, -1, 0}, {0, 1, 1, 0},
};

bool SwapsAxes(int orientation) {
    return kTurns[orientation & 7].ux == 0;
}

int KeyRow(int key) {
    switch (key) {
    case 'L':
    case 'l':
        return 0;
    case 'R':
    case 'r':
        return 1;
    case 'X':
    case 'x':
        return 2;
    case 'Y':
    case 'y':
        return 3;
    default:
        return -1;
    }
}

// The palette colour of an index; entry 0 for an index the palette lacks.
gdi::ColorRef PaletteColor(const CDrawTool& tool, int index) {
    if (tool.ColorCount() == 0) return 0;
    return tool.ColorAt(index >= 0 && index < tool.ColorCount() ? index : 0);
}

gdi::ColorRef PaletteColor(const CPlotEnv& env, int index) {
    return PaletteColor(*env.tool, index);
}

// The part code of an ellipse: its place in the part grid.
int PartCode(int vertical, int horizontal) {
    return (1 - std::clamp(vertical, -1, 1)) * 3 + std::clamp(horizontal, -1, 1) + 1;
}

void PartOfCode(int code, int& vertical, int& horizontal) {
    code = std::clamp(code, 0, 8);
    vertical = 1 - code / 3;
    horizontal = code % 3 - 1;
}

int Sign(float v) {
    return v > 0 ? 1 : v < 0 ? -1 : 0;
}

Elem MakeElem(Elem::Kind kind, float x, float y, int colorIndex, int lineType) {
    Elem e;
    e.kind = kind;
    e.SetPoint(0, x, y);
    e.values = {0, colorIndex, lineType};
    return e;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// What each shape adds

bool CPlotLine::AppendToPath(CPlotPath& path) const {
    Elem e = MakeElem(Elem::kSegment, X1(), Y1(), ColorIndex(), LineType());
    e.SetPoint(1, X1(), Y1());
    e.SetPoint(2, X2(), Y2());
    path.Append(std::move(e));
    return true;
}

bool CPlotBox::AppendToPath(CPlotPath& path) const {
    Elem e = MakeElem(Elem::kBox, X1(), Y1(), ColorIndex(), LineType());
    e.SetPoint(1, X1(), Y1());
    e.SetPoint(2, X2(), Y2());
    e.values[0] = Filled();
    path.Append(std::move(e));
    return true;
}

bool CPlotEllipse::AppendToPath(CPlotPath& path) const {
    const float rx = std::abs(X2() - X1()), ry = std::abs(Y2() - Y1());
    Elem e = MakeElem(Elem::kEllipse, X1(), Y1(), ColorIndex(), LineType());
    e.SetPoint(1, X1() - rx, Y1() - ry);
    e.SetPoint(2, 2 * rx, 2 * ry);
    e.count = static_cast<std::int16_t>(PartCode(VerticalPart(), HorizontalPart()));
    e.values[0] = Filled();
    path.Append(std::move(e));
    return true;
}

bool CPlotArc::AppendToPath(CPlotPath& path) const {
    // The quarter of the ellipse centred at (x1, y2) that holds both points.
    const float cx = X1(), cy = Y2();
    const float rx = std::abs(X2() - X1()), ry = std::abs(Y1() - Y2());
    Elem e = MakeElem(Elem::kArc, X1(), Y1(), ColorIndex(), LineType());
    e.SetPoint(1, cx - rx, cy - ry);
    e.SetPoint(2, cx + rx, cy + ry);
    e.count = static_cast<std::int16_t>(PartCode(Sign(Y1() - Y2()), Sign(X2() - X1())));
    path.Append(std::move(e));
    return true;
}

bool CPlotPoint::AppendToPath(CPlotPath& path) const {
    Elem e = MakeElem(Elem::kMarker, X1(), Y1(), ColorIndex(), HalfSize());
    e.SetPoint(1, X1(), Y1());
    e.values[0] = Marker();
    path.Append(std::move(e));
    return true;
}

bool CPlotPolygon::AppendToPath(CPlotPath& path) const {
    const std::vector<CPlotVertex>& v = Vertices();
    if (v.empty() || v.size() > std::size_t(kLargestGroupedPolygon)) return false;
    Elem header = MakeElem(Elem::kPolygonHeader, v[0].x, v[0].y, ColorIndex(), LineType());
    header.count = static_cast<std::int16_t>(v.size());
    header.values[0] = (Closed() ? 1 : 0) | (Filled() == 1 ? 2 : 0);
    path.Append(std::move(header));
    for (const CPlotVertex& vertex : v)
        path.Append(MakeElem(vertex.flag ? Elem::kDraw : Elem::kMove, vertex.x, vertex.y,
                             ColorIndex(), LineType()));
    return true;
}

bool CPlotText::AppendToPath(CPlotPath& path) const {
    Elem setup = MakeElem(Elem::kTextSetup, X1(), Y1(), ColorIndex(), 0);
    setup.text = Text();
    path.Append(std::move(setup));
    Elem draw = MakeElem(Elem::kTextDraw, Size(), 0, ColorIndex(), 0);
    draw.text = Face();
    draw.values = {Escapement(), Style(), 0};
    path.Append(std::move(draw));
    return true;
}

bool CPlotPath::AppendToPath(CPlotPath& path) const {
    // The elements go through this path's transform, so they draw as before.
    for (Elem e : elements_) {
        auto world = [this, &e](int point) {
            float x, y;
            ElementToWorld(e.X(point), e.Y(point), x, y);
            e.SetPoint(point, x, y);
        };
        switch (e.kind) {
        case Elem::kEllipse: {
            float ax, ay, bx, by;
            ElementToWorld(e.X(1), e.Y(1), ax, ay);
            ElementToWorld(e.X(1) + e.X(2), e.Y(1) + e.Y(2), bx, by);
            world(0);
            e.SetPoint(1, std::min(ax, bx), std::min(ay, by));
            e.SetPoint(2, std::abs(bx - ax), std::abs(by - ay));
            e.count = static_cast<std::int16_t>(TurnedPart(e.count));
            break;
        }
        case Elem::kArc:
        case Elem::kMoveArc: {
            float ax, ay, bx, by;
            ElementToWorld(e.X(1), e.Y(1), ax, ay);
            ElementToWorld(e.X(2), e.Y(2), bx, by);
            world(0);
            world(3);
            e.SetPoint(1, std::min(ax, bx), std::min(ay, by));
            e.SetPoint(2, std::max(ax, bx), std::max(ay, by));
            e.count = static_cast<std::int16_t>(TurnedPart(e.count));
            break;
        }
        case Elem::kBox:
            // Filled codes 2 and 3 exchange under a quarter turn, as the drawing has them.
            if (QuarterTurned() && (e.values[0] == 2 || e.values[0] == 3))
                e.values[0] = 5 - e.values[0];
            for (int p = 0; p < 4; ++p)
                world(p);
            break;
        case Elem::kTextDraw:
            break; // its start point is a size
        default:
            for (int p = 0; p < 4; ++p)
                world(p);
            break;
        }
        path.Append(std::move(e));
    }
    return !elements_.empty();
}

// ---------------------------------------------------------------------------------------------
// Ungrouping: the shapes that elements in world coordinates draw

namespace {

// Makes the shapes of a flat element list (no transform) in order.
class CShapeRebuilder {
public:
    CShapeRebuilder(const CDrawTool& tool, int pathLineType)
        : tool_(tool), pathLineType_(pathLineType) {}

    std::vector<std::unique_ptr<CPlotDisplay>> Build(const std::vector<Elem>& elements) {
        for (std::size_t i = 0; i < elements.size(); ++i) {
            const Elem& e = elements[i];
            if (e.kind != Elem::kMove && e.kind != Elem::kDraw) EndLooseRun();
            switch (e.kind) {
            case Elem::kMove:
            case Elem::kDraw:
                AddLoosePoint(e);
                break;
            case Elem::kSegment: {
                auto line = std::make_unique<CPlotLine>(e.X(1), e.Y(1));
                line->SetWorld(e.X(1), e.Y(1), e.X(2), e.Y(2));
                Keep(std::move(line), e);
                break;
            }
            case Elem::kBox: {
                // A filled box comes back as the filled kind.
                auto box = std::make_unique<CPlotBox>(e.values[0] == 1 ? CPlotDisplay::kFilledBox
                                                                       : CPlotDisplay::kBox,
                                                      e.X(1), e.Y(1));
                box->SetWorld(e.X(1), e.Y(1), e.X(2), e.Y(2));
                box->SetFilled(static_cast<std::uint8_t>(std::clamp(e.values[0], 0, 255)));
                Keep(std::move(box), e);
                break;
            }
            case Elem::kEllipse:
                AddEllipse(e, e.X(1), e.Y(1), e.X(1) + e.X(2), e.Y(1) + e.Y(2), e.values[0] == 1,
                           false);
                break;
            case Elem::kArc:
            case Elem::kMoveArc:
                AddEllipse(e, e.X(1), e.Y(1), e.X(2), e.Y(2), false, true);
                break;
            case Elem::kMarker: {
                auto point = std::make_unique<CPlotPoint>(e.X(1), e.Y(1), e.values[0],
                                                          std::clamp(e.values[2], 1, 1000));
                point->SetWorld(e.X(1), e.Y(1), e.X(1), e.Y(1));
                point->SetLineType(pathLineType_);
                Keep(std::move(point), e, false); // the third value is its size
                break;
            }
            case Elem::kPolygonHeader:
                i = AddPolygon(elements, i);
                break;
            case Elem::kTextSetup:
                textSetup_ = &e;
                break;
            case Elem::kTextDraw:
                AddText(e);
                break;
            default:
                break;
            }
        }
        EndLooseRun();
        return std::move(shapes_);
    }

private:
    int LineTypeOf(const Elem& e) const { return e.values[2] < 0 ? pathLineType_ : e.values[2]; }

    void Keep(std::unique_ptr<CPlotDisplay> shape, const Elem& e, bool hasLineType = true) {
        shape->SetColor(PaletteColor(tool_, e.values[1]), e.values[1]);
        if (hasLineType) shape->SetLineType(LineTypeOf(e));
        shapes_.push_back(std::move(shape));
    }

    // An ellipse part in the box (ax, ay)-(bx, by); an arc element's quarter comes back as a
    // quarter arc.
    void AddEllipse(const Elem& e, float ax, float ay, float bx, float by, bool filled, bool arc) {
        int v, h;
        PartOfCode(e.count, v, h);
        const float cx = (ax + bx) / 2, cy = (ay + by) / 2;
        const float rx = std::abs(bx - ax) / 2, ry = std::abs(by - ay) / 2;
        if (arc && v != 0 && h != 0) {
            // The quarter arc runs through the end of its vertical axis (point 1) and the
            // end of its horizontal axis (point 2).
            auto quarter = std::make_unique<CPlotArc>(cx, cy + float(v) * ry);
            quarter->SetWorld(cx, cy + float(v) * ry, cx + float(h) * rx, cy);
            Keep(std::move(quarter), e);
            return;
        }
        auto ellipse = std::make_unique<CPlotEllipse>(CPlotEllipse::KindOfPart(v, h), cx, cy);
        ellipse->SetWorld(cx, cy, cx + rx, cy + ry);
        ellipse->SetFilled(filled ? 1 : 0);
        Keep(std::move(ellipse), e);
    }

    // The header at index at and the vertices it announces; answers the index of the last.
    std::size_t AddPolygon(const std::vector<Elem>& elements, std::size_t at) {
        const Elem& header = elements[at];
        std::vector<CPlotVertex> vertices;
        for (int n = std::max<int>(0, header.count); n > 0 && at + 1 < elements.size(); --n) {
            const Elem& p = elements[at + 1];
            if (p.kind != Elem::kMove && p.kind != Elem::kDraw) break;
            vertices.push_back({p.X(0), p.Y(0), std::uint8_t(p.kind == Elem::kDraw ? 1 : 0)});
            ++at;
        }
        if (vertices.size() < 2) return at;
        const bool closed = (header.values[0] & 1) != 0;
        auto polygon = std::make_unique<CPlotPolygon>(vertices[0].x, vertices[0].y, closed);
        polygon->SetVertices(std::move(vertices));
        if (closed) polygon->SetFilled((header.values[0] & 2) ? 1 : 0);
        Keep(std::move(polygon), header);
        return at;
    }

    void AddText(const Elem& draw) {
        if (!textSetup_) return;
        const Elem& setup = *textSetup_;
        auto text =
            std::make_unique<CPlotText>(setup.X(0), setup.Y(0), setup.text, draw.text, draw.X(0));
        text->SetTurn(draw.values[0], draw.values[1]);
        Keep(std::move(text), setup, false);
    }

    // Points outside a polygon: a run of moves and draws becomes an open polyline.
    void AddLoosePoint(const Elem& e) {
        if (loose_.empty()) looseStyle_ = &e;
        if (e.kind == Elem::kDraw && looseStyle_->kind == Elem::kMove) looseStyle_ = &e;
        loose_.push_back({e.X(0), e.Y(0), std::uint8_t(e.kind == Elem::kDraw ? 1 : 0)});
    }

    void EndLooseRun() {
        if (loose_.size() >= 2) {
            auto polyline = std::make_unique<CPlotPolygon>(loose_[0].x, loose_[0].y, false);
            polyline->SetVertices(std::move(loose_));
            Keep(std::move(polyline), *looseStyle_);
        }
        loose_.clear();
    }

    const CDrawTool& tool_;
    int pathLineType_;
    std::vector<std::unique_ptr<CPlotDisplay>> shapes_;
    const Elem* textSetup_ = nullptr;
    std::vector<CPlotVertex> loose_;
    const Elem* looseStyle_ = nullptr;
};

} // namespace

std::vector<std::unique_ptr<CPlotDisplay>> CPlotPath::Ungroup(const CDrawTool& tool) const {
    // The elements through the transform first, so that each is in world coordinates.
    CPlotPath flat;
    AppendToPath(flat);
    return CShapeRebuilder(tool, LineType()).Build(flat.elements_);
}

// ---------------------------------------------------------------------------------------------
// CPlotPath

CPlotPath::CPlotPath() : CPlotDisplay(kPath, 0, 0) {}

void CPlotPath::RemoveRepeatedPoints() {
    auto sameStart = [](const Elem& a, const Elem& b) {
        return a.X(0) == b.X(0) && a.Y(0) == b.Y(0);
    };
    std::vector<Elem> kept;
    kept.reserve(elements_.size());
    std::size_t header = 0;
    int remaining = 0, seen = 0; // vertices of the current polygon still to come, and seen
    for (Elem& e : elements_) {
        const bool point = e.kind == Elem::kMove || e.kind == Elem::kDraw;
        const bool repeated = e.kind == Elem::kMove && !kept.empty() && sameStart(e, kept.back());
        if (point && remaining > 0) {
            // A vertex: the polygon's first stays, a dropped one leaves the header's count.
            --remaining;
            if (seen++ > 0 && repeated) {
                --kept[header].count;
                continue;
            }
            kept.push_back(std::move(e));
            continue;
        }
        if (e.kind == Elem::kPolygonHeader) {
            header = kept.size();
            remaining = std::max<int>(0, e.count);
            seen = 0;
        } else if (repeated) {
            continue;
        }
        kept.push_back(std::move(e));
    }
    elements_ = std::move(kept);
}

int CPlotPath::NextOrientation(int orientation, int key) {
    const int row = KeyRow(key);
    return row < 0 ? -1 : kTurnTable[row][orientation & 7];
}

void CPlotPath::SetPivot(float x, float y) {
    pivotX_ = x;
    pivotY_ = y;
}

void CPlotPath::SetPivotToCentre() {
    // The centre of the world bounds, with the offset kept out of the pivot.
    ComputeWorldBounds();
    SetPivot((X1() + X2()) / 2 - offsetX_, (Y1() + Y2()) / 2 - offsetY_);
}

bool CPlotPath::Scale(float fx, float fy) {
    const float sx = scaleX_ * fx, sy = scaleY_ * fy;
    if (!(std::isfinite(sx) && std::isfinite(sy) && sx > 0 && sy > 0)) return false;
    scaleX_ = sx;
    scaleY_ = sy;
    return true;
}

bool CPlotPath::QuarterTurned() const {
    return SwapsAxes(orientation_);
}

void CPlotPath::ElementToWorld(float a, float b, float& x, float& y) const {
    if (orientation_ == 0 && scaleX_ == 1 && scaleY_ == 1) {
        x = a + offsetX_;
        y = b + offsetY_;
        return;
    }
    // Turn or mirror about the pivot, scale about it, then offset.
    const Turn& t = kTurns[orientation_ & 7];
    const float u = a - pivotX_, v = b - pivotY_;
    const float tu = float(t.ux) * u + float(t.uy) * v;
    const float tv = float(t.vx) * u + float(t.vy) * v;
    const bool swapped = SwapsAxes(orientation_);
    x = tu * (swapped ? scaleY_ : scaleX_) + pivotX_ + offsetX_;
    y = tv * (swapped ? scaleX_ : scaleY_) + pivotY_ + offsetY_;
}

void CPlotPath::WorldToElement(float x, float y, float& a, float& b) const {
    const Turn& t = kTurns[orientation_ & 7];
    const bool swapped = SwapsAxes(orientation_);
    const float tu = (x - pivotX_ - offsetX_) / (swapped ? scaleY_ : scaleX_);
    const float tv = (y - pivotY_ - offsetY_) / (swapped ? scaleX_ : scaleY_);
    // Every turn and mirror is orthogonal: its inverse is its transpose.
    a = float(t.ux) * tu + float(t.vx) * tv + pivotX_;
    b = float(t.uy) * tu + float(t.vy) * tv + pivotY_;
}

int CPlotPath::TurnedPart(int part) const {
    int v, h;
    PartOfCode(part, v, h);
    const Turn& t = kTurns[orientation_ & 7];
    return PartCode(t.vx * h + t.vy * v, t.ux * h + t.uy * v);
}

void CPlotPath::ComputeWorldBounds() {
    bool any = false;
    float xmin = 0, xmax = 0, ymin = 0, ymax = 0;
    auto extend = [&](float a, float b) {
        float x, y;
        ElementToWorld(a, b, x, y);
        if (!std::isfinite(x) || !std::isfinite(y)) return;
        if (!any) {
            xmin = xmax = x;
            ymin = ymax = y;
            any = true;
            return;
        }
        xmin = std::min(xmin, x);
        xmax = std::max(xmax, x);
        ymin = std::min(ymin, y);
        ymax = std::max(ymax, y);
    };
    for (const Elem& e : elements_) {
        switch (e.kind) {
        case Elem::kMove:
        case Elem::kDraw:
        case Elem::kTextSetup:
            extend(e.X(0), e.Y(0));
            break;
        case Elem::kEllipse:
            extend(e.X(1), e.Y(1));
            extend(e.X(1) + e.X(2), e.Y(1) + e.Y(2));
            break;
        case Elem::kMarker:
            extend(e.X(1), e.Y(1));
            break;
        case Elem::kArc:
        case Elem::kBox:
        case Elem::kSegment:
            extend(e.X(1), e.Y(1));
            extend(e.X(2), e.Y(2));
            break;
        case Elem::kMoveArc:
            extend(e.X(1), e.Y(1));
            extend(e.X(2), e.Y(2));
            extend(e.X(3), e.Y(3));
            break;
        default:
            break;
        }
    }
    SetWorld(xmin, ymax, xmax, ymin);
}

void CPlotPath::WorldToDevice(const CPlotEnv& env) {
    unitX_ = env.coeff.ax;
    unitY_ = env.coeff.ay;
    CPlotDisplay::WorldToDevice(env);
    int px = 0, py = 0;
    if (env.WorldToDevice(pivotX_ + offsetX_, pivotY_ + offsetY_, px, py)) pivotMark_ = {px, py};
}

void CPlotPath::DeviceToWorld(const CPlotEnv& env) {
    // A move of the device box shifts the offset by the same world distance.
    const float oldX = X1(), oldY = Y1();
    float x = 0, y = 0;
    env.DeviceToWorld(Start().x, Start().y, x, y);
    if (std::isfinite(x - oldX) && std::isfinite(y - oldY)) {
        offsetX_ += x - oldX;
        offsetY_ += y - oldY;
    }
    // A dragged pivot mark becomes the pivot: the element point drawn under the mark, with the
    // offset that keeps it there, so nothing moves.
    if (std::exchange(markDragged_, false)) {
        float wx = 0, wy = 0, a = 0, b = 0;
        env.DeviceToWorld(pivotMark_.x, pivotMark_.y, wx, wy);
        WorldToElement(wx, wy, a, b);
        if (std::isfinite(a) && std::isfinite(b) && std::isfinite(wx - a) &&
            std::isfinite(wy - b)) {
            pivotX_ = a;
            pivotY_ = b;
            offsetX_ = wx - a;
            offsetY_ = wy - b;
            pivotMoved_ = true;
        }
    }
    ComputeWorldBounds();
}

void CPlotPath::OffsetWorld(float dx, float dy) {
    offsetX_ += dx;
    offsetY_ += dy;
    ComputeWorldBounds();
}

void CPlotPath::SnapToGrid(const CPlotEnv& env) {
    // The path's pivot lands on the grid.
    float x = pivotX_ + offsetX_, y = pivotY_ + offsetY_;
    env.SnapToGrid(x, y);
    OffsetWorld(x - pivotX_ - offsetX_, y - pivotY_ - offsetY_);
}

int CPlotPath::KeyDown(int key, bool, const CPlotEnv& env) {
    float dx = 0, dy = 0;
    if (ArrowStep(key, env, dx, dy)) {
        float x = pivotX_ + offsetX_ + dx, y = pivotY_ + offsetY_ + dy;
        env.SnapToGrid(x, y);
        OffsetWorld(x - pivotX_ - offsetX_, y - pivotY_ - offsetY_);
        WorldToDevice(env);
        return 1;
    }
    const int next = NextOrientation(orientation_, key);
    if (next < 0) return 0;
    orientation_ = next;
    ComputeWorldBounds();
    WorldToDevice(env);
    return 1;
}

void CPlotPath::SetColor(gdi::ColorRef rgb, int colorIndex) {
    CPlotDisplay::SetColor(rgb, colorIndex);
    for (Elem& e : elements_)
        e.values[1] = colorIndex;
}

void CPlotPath::SetLineType(int lineType) {
    CPlotDisplay::SetLineType(lineType);
    for (Elem& e : elements_)
        if (e.kind != Elem::kMarker && e.kind != Elem::kTextSetup && e.kind != Elem::kTextDraw)
            e.values[2] = lineType;
}

int CPlotPath::MoveHandle(int x, int y, int handle) {
    const gdi::Rect box{std::min(Start().x, End().x), std::min(Start().y, End().y),
                        std::max(Start().x, End().x), std::max(Start().y, End().y)};
    if (handle == kPivotHandle) {
        // The pivot mark follows the pointer while it stays inside the box, axis by axis.
        if (x >= box.left && x <= box.right) pivotMark_.x = x;
        if (y >= box.top && y <= box.bottom) pivotMark_.y = y;
        markDragged_ = true;
        return handle;
    }
    if (handle < 2 || handle > 5) return handle;
    const gdi::Point corner{handle == 2 || handle == 5 ? Start().x : End().x,
                            handle == 2 || handle == 3 ? Start().y : End().y};
    const int sideX = corner.x >= pivotMark_.x ? 1 : -1, sideY = corner.y >= pivotMark_.y ? 1 : -1;
    // The pointer must stay beyond the pivot mark on the corner's side.
    if ((x - pivotMark_.x) * sideX <= kSnapDistance || (y - pivotMark_.y) * sideY <= kSnapDistance)
        return handle;
    if (corner.x != pivotMark_.x)
        pendingX_ = float(x - pivotMark_.x) / float(corner.x - pivotMark_.x);
    if (corner.y != pivotMark_.y)
        pendingY_ = float(y - pivotMark_.y) / float(corner.y - pivotMark_.y);
    return handle;
}

void CPlotPath::KeyMoveHandle(int handle, int key, const CPlotEnv& env) {
    float dx = 0, dy = 0;
    const bool corner = handle >= 2 && handle <= 5;
    if ((!corner && handle != kPivotHandle) || !ArrowStep(key, env, dx, dy)) return;
    // Where the handle is now, and where the step takes it, in device units.
    const gdi::Point from = corner ? gdi::Point{handle == 2 || handle == 5 ? Start().x : End().x,
                                                handle == 2 || handle == 3 ? Start().y : End().y}
                                   : pivotMark_;
    int x = 0, y = 0, fx = 0, fy = 0;
    float wx = 0, wy = 0;
    env.DeviceToWorld(from.x, from.y, wx, wy);
    if (!env.WorldToDevice(wx, wy, fx, fy) || !env.WorldToDevice(wx + dx, wy + dy, x, y)) return;
    // The handle is dragged there and released.
    MoveHandle(from.x + x - fx, from.y + y - fy, handle);
    CommitDrag();
    DeviceToWorld(env);
    WorldToDevice(env);
}

void CPlotPath::CommitDrag() {
    CPlotDisplay::CommitDrag();
    if (pendingX_ > 0 && pendingY_ > 0 && (pendingX_ != 1 || pendingY_ != 1)) {
        if (QuarterTurned())
            Scale(pendingY_, pendingX_);
        else
            Scale(pendingX_, pendingY_);
    }
    pendingX_ = pendingY_ = 1;
    // The world bounds follow in DeviceToWorld, which needs the old ones to tell how far the
    // device box moved.
}

void CPlotPath::DrawOutline(gdi::IDeviceContext& dc, CPlotEnv&, int dx, int dy) const {
    // The device box, scaled about the pivot mark while a corner is dragged.
    auto scaled = [this](gdi::Point p) {
        return gdi::Point{pivotMark_.x + int(std::lround((p.x - pivotMark_.x) * pendingX_)),
                          pivotMark_.y + int(std::lround((p.y - pivotMark_.y) * pendingY_))};
    };
    const gdi::Point a = scaled(Start()), b = scaled(End());
    const gdi::Point corners[] = {{a.x + dx, a.y + dy},
                                  {b.x + dx, a.y + dy},
                                  {b.x + dx, b.y + dy},
                                  {a.x + dx, b.y + dy},
                                  {a.x + dx, a.y + dy}};
    dc.Polyline(corners);
}

void CPlotPath::ShowHandles(gdi::IDeviceContext& dc, CPlotEnv& env) {
    PlaceHandle(dc, env, pivotMark_, kPointHandleCursor, kPivotHandle);
    const gdi::Point corners[] = {Start(), {End().x, Start().y}, End(), {Start().x, End().y}};
    for (int i = 0; i < 4; ++i) {
        const gdi::Point c = corners[i];
        if (std::abs(c.x - pivotMark_.x) + std::abs(c.y - pivotMark_.y) <= kSnapDistance) continue;
        PlaceHandle(dc, env, c, i % 2 == 0 ? kDiagonalCursor : kAntiDiagonalCursor, i + 2);
    }
}

void CPlotPath::DrawShape(gdi::IDeviceContext& dc, CPlotEnv& env, int dx, int dy) const {
    DrawElements(dc, env, dx, dy);
}

void CPlotPath::DrawElements(gdi::IDeviceContext& dc, CPlotEnv& env, int dx, int dy) const {
    auto device = [&](float a, float b) {
        float x, y;
        ElementToWorld(a, b, x, y);
        gdi::Point p;
        env.WorldToDevice(x, y, p.x, p.y);
        return gdi::Point{p.x + dx, p.y + dy};
    };
    auto lineTypeOf = [this](const Elem& e) { return e.values[2] < 0 ? LineType() : e.values[2]; };
    // The scratch polygon of a pending header.
    std::vector<gdi::Point> polygon;
    std::vector<std::uint8_t> penDown;
    const Elem* header = nullptr;
    int pending = 0;
    // The scratch text of the last set-up.
    const Elem* textSetup = nullptr;
    for (const Elem& e : elements_) {
        switch (e.kind) {
        case Elem::kMove:
        case Elem::kDraw: {
            const gdi::Point p = device(e.X(0), e.Y(0));
            if (pending > 0 && header) {
                polygon.push_back(p);
                penDown.push_back(e.kind == Elem::kDraw ? 1 : 0);
                if (--pending > 0) break;
                // The last vertex: the polygon is drawn.
                const bool closed = header->values[0] & 1, fill = closed && (header->values[0] & 2);
                CPlotPolygon scratch(0, 0, closed);
                scratch.SetColor(PaletteColor(env, header->values[1]), header->values[1]);
                scratch.SetLineType(lineTypeOf(*header));
                scratch.SetFilled(fill ? 1 : 0);
                for (std::size_t i = 0; i < polygon.size(); ++i)
                    scratch.AppendDeviceVertex(polygon[i], penDown[i]);
                scratch.DrawShape(dc, env, 0, 0);
                header = nullptr;
                break;
            }
            if (e.kind == Elem::kMove) {
                dc.MoveTo(p.x, p.y);
                break;
            }
            const gdi::Pen old =
                env.SelectColorPen(dc, PaletteColor(env, e.values[1]), lineTypeOf(e));
            dc.LineTo(p.x, p.y);
            dc.SelectPen(old);
            break;
        }
        case Elem::kPolygonHeader:
            header = &e;
            pending = std::max<int>(0, e.count);
            polygon.clear();
            penDown.clear();
            break;
        case Elem::kSegment: {
            const gdi::Point a = device(e.X(1), e.Y(1)), b = device(e.X(2), e.Y(2));
            const gdi::Pen old =
                env.SelectColorPen(dc, PaletteColor(env, e.values[1]), lineTypeOf(e));
            dc.MoveTo(a.x, a.y);
            dc.LineTo(b.x, b.y);
            dc.SelectPen(old);
            break;
        }
        case Elem::kBox: {
            int code = e.values[0];
            if (QuarterTurned() && (code == 2 || code == 3)) code = 5 - code;
            CPlotBox scratch(kBox, 0, 0);
            scratch.SetColor(PaletteColor(env, e.values[1]), e.values[1]);
            scratch.SetLineType(lineTypeOf(e));
            scratch.SetFilled(static_cast<std::uint8_t>(code));
            scratch.SetDevice(device(e.X(1), e.Y(1)), device(e.X(2), e.Y(2)));
            scratch.DrawShape(dc, env, 0, 0);
            break;
        }
        case Elem::kEllipse:
        case Elem::kArc:
        case Elem::kMoveArc: {
            const bool ellipse = e.kind == Elem::kEllipse;
            const gdi::Point a = device(e.X(1), e.Y(1));
            const gdi::Point b =
                ellipse ? device(e.X(1) + e.X(2), e.Y(1) + e.Y(2)) : device(e.X(2), e.Y(2));
            if (e.kind == Elem::kMoveArc) {
                const gdi::Point m = device(e.X(3), e.Y(3));
                dc.MoveTo(m.x, m.y);
            }
            int v, h;
            PartOfCode(TurnedPart(e.count), v, h);
            CPlotEllipse scratch(CPlotEllipse::KindOfPart(v, h), 0, 0);
            scratch.SetColor(PaletteColor(env, e.values[1]), e.values[1]);
            scratch.SetLineType(lineTypeOf(e));
            scratch.SetFilled(ellipse && e.values[0] == 1 ? 1 : 0);
            // The scratch ellipse takes its centre and a corner.
            const gdi::Point centre{(a.x + b.x) / 2, (a.y + b.y) / 2};
            scratch.SetDevice(centre, {std::max(a.x, b.x), std::max(a.y, b.y)});
            scratch.DrawShape(dc, env, 0, 0);
            break;
        }
        case Elem::kMarker: {
            const gdi::Point p = device(e.X(1), e.Y(1));
            const int index = e.values[1];
            if (index < 0 || index >= env.tool->ColorCount()) break;
            env.DrawMarker(dc, e.values[0], p.x, p.y, index, std::clamp(e.values[2], 1, 1000));
            break;
        }
        case Elem::kTextSetup:
            textSetup = &e;
            break;
        case Elem::kTextDraw: {
            if (!textSetup) break;
            const double pixels = std::abs(double(e.X(0)) * env.coeff.ay);
            if (!(pixels >= kSmallestPathText)) break;
            float x, y;
            ElementToWorld(textSetup->X(0), textSetup->Y(0), x, y);
            CPlotText scratch(x, y, textSetup->text, e.text, e.X(0));
            scratch.SetColor(PaletteColor(env, textSetup->values[1]), textSetup->values[1]);
            scratch.WorldToDevice(env);
            scratch.DrawShape(dc, env, dx, dy);
            break;
        }
        default:
            break;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// The record

void CPlotPath::WriteOwn(CShapeWriter& out) const {
    out.I16(value1_);
    out.I16(value2_);
    out.I16(static_cast<std::int16_t>(orientation_));
    for (float f : {offsetX_, offsetY_, pivotX_, pivotY_, scaleX_, scaleY_})
        out.F32(f);
    out.U32(static_cast<std::uint32_t>(elements_.size()));
    for (const Elem& e : elements_) {
        for (float f : e.points)
            out.F32(f);
        out.I16(e.count);
        out.I16(e.kind);
        for (std::int32_t v : e.values)
            out.I32(v);
        out.Str(e.text);
    }
}

bool CPlotPath::ReadOwn(CShapeReader& in) {
    constexpr std::size_t kElemBytes = 8 * 4 + 2 + 2 + 3 * 4 + 4;
    std::int16_t orientation = 0;
    in.I16(value1_);
    in.I16(value2_);
    in.I16(orientation);
    for (float* f : {&offsetX_, &offsetY_, &pivotX_, &pivotY_, &scaleX_, &scaleY_})
        in.F32(*f);
    std::uint32_t n = 0;
    if (!in.Count(n, kElemBytes, kMaxElements)) return false;
    // A path is turned by one of eight orientations and scaled by positive factors only.
    if (orientation < 0 || orientation >= kOrientations) return false;
    if (!(std::isfinite(scaleX_) && std::isfinite(scaleY_) && scaleX_ > 0 && scaleY_ > 0))
        return false;
    orientation_ = orientation;
    std::vector<Elem> elements(n);
    for (Elem& e : elements) {
        for (float& f : e.points)
            in.F32(f);
        in.I16(e.count);
        in.I16(e.kind);
        for (std::int32_t& v : e.values)
            in.I32(v);
        if (!in.Str(e.text)) return false;
    }
    if (!in.Ok()) return false;
    elements_ = std::move(elements);
    return true;
}
