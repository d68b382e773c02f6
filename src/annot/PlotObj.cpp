// Host objects: lines and polygons drawn as curves of a variable pair, texts drawn by their
// annotation, and what the host's calls and the pointer do to them.
#include "annot/PlotObj.h"

#include "annot/PlotGeometry.h"
#include "annot/PlotOverlay.h"
#include "model/PlotLook.h"
#include "render/MissingValue.h"
#include "render/PlotPaintContext.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace {

constexpr int kLineStyle = 4;     // line type of a new object's curve
constexpr int kColorCycle = 6;    // new objects' colours run through 1..6
constexpr int kMarkerCycle = 10;  // and their markers through 1..10
constexpr int kMinSegment = 3;    // shorter segments (Manhattan) take no clicks
constexpr int kShortSegment = 30; // up to this one end must lie in the drawing area
constexpr int kLineHalfWidth = 2; // a line takes clicks this far either side
constexpr int kNoFill = -1;       // a polygon's fill mode before SetAttributes
constexpr int kBlinkWidth = 3;    // the inverting pen of a blinking line or polygon

bool Bit(int value, int bit) {
    return (value & bit) != 0;
}

// Whether a variable holds a sample the host set.
bool HoldsSamples(const CPlotVar& v) {
    return std::any_of(v.values.begin(), v.values.end(), [](double x) { return !IsMissing(x); });
}

// Takes the only variable when it is the only one and unused (no object's, and no samples of
// the host's, which would be lost), else appends one; answers its index.
int TakeVariable(CPlotLook& model, bool independent) {
    const int count = independent ? model.NXVars() : model.NYVars();
    CPlotVar* only = count == 1 ? (independent ? model.XVar(0) : model.YVar(0)) : nullptr;
    if (only && !only->hostObject && !HoldsSamples(*only)) return 0;
    if (independent)
        model.SetNXVariables(count + 1);
    else
        model.SetNVariables(count + 1);
    return count;
}

// The variable keeps its place but gives up its buffer and the points it was drawn at.
void ReleaseVariable(CPlotVar* v) {
    if (!v) return;
    v->hidden = 1;
    v->hostObject = 0;
    v->values.clear();
    v->values.shrink_to_fit();
    v->capacity = 0;
    v->highestIndex = 0;
    v->writePos = 0;
    v->wrapped = 0;
    v->devicePoints.clear();
    v->devicePoints.shrink_to_fit();
    v->devicePointCount = 0;
}

CPlotRegion::Rect Grow(CPlotRegion::Rect box, const gdi::Point* pts, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        box.left = std::min(box.left, pts[i].x);
        box.top = std::min(box.top, pts[i].y);
        box.right = std::max(box.right, pts[i].x);
        box.bottom = std::max(box.bottom, pts[i].y);
    }
    return box;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The plain object

std::unique_ptr<CPlotObj> CPlotObj::FromRecord(const Record& r) {
    std::unique_ptr<CPlotObj> made;
    switch (r.kind) {
    case LineKind:
        made = std::make_unique<CPlotLineObj>(r.id);
        break;
    case PolygonKind:
        made = std::make_unique<CPlotPolygonObj>(r.id);
        break;
    case TextKind:
        made = std::make_unique<CPlotTextObj>(r.id, r.userText);
        break;
    default:
        made = std::make_unique<CPlotObj>(r.id, PlainKind);
        break;
    }
    made->enabled_ = r.enabled;
    made->SetVariables(r.xVariable, r.yVariable);
    made->annotation_ = r.annotation;
    return made;
}

CPlotObj::Record CPlotObj::GetRecord() const {
    const bool userText = kind_ == TextKind && static_cast<const CPlotTextObj*>(this)->UserText();
    return {id_, kind_, enabled_, xVariable_, yVariable_, annotation_, userText};
}

int CPlotObj::SetObject(CPlotOverlay&, int value, int mask) {
    if (Bit(mask, Enabled)) enabled_ = Bit(value, Enabled);
    return enabled_ ? Enabled : 0;
}

// ---------------------------------------------------------------------------------------------
// Lines and polygons

void CPlotXYObj::Init(CPlotOverlay& overlay) {
    CPlotLook& model = overlay.Model();
    // 1. The Y variable, styled after the ID.
    const int y = TakeVariable(model, false);
    CPlotVar& yVar = *model.YVar(y);
    // An appended variable is the object's alone: no legend entry or label of its own.
    if (y > 0) yVar.SetLegend({});
    yVar.hostObject = 1;
    yVar.hidden = 0;
    yVar.axisNo = 1;
    yVar.color = (Id() - 100) % kColorCycle + 1;
    yVar.lineType = kLineStyle;
    yVar.marker = (Id() - 100) % kMarkerCycle + 1;
    // 2. The X variable it is drawn against.
    const int x = TakeVariable(model, true);
    model.XVar(x)->hostObject = 1;
    yVar.xVarNo = x + 1;
    SetVariables(x, y);
    model.axisMapDirty = model.legendDirty = 1;
}

void CPlotXYObj::Release(CPlotOverlay& overlay) {
    CPlotLook& model = overlay.Model();
    ReleaseVariable(model.YVar(YVariable()));
    ReleaseVariable(model.XVar(XVariable()));
    model.rangeDirty = model.dataDirty = 1;
}

void CPlotXYObj::SetXYData(CPlotOverlay& overlay, int dataNo, double x, double y) {
    if (dataNo < 0 || dataNo > kMaxDataNo) return;
    CPlotLook& model = overlay.Model();
    // A missing coordinate leaves the stored one as it is, unless both are missing.
    if (!(IsMissing(x) && !IsMissing(y))) model.SetXData(XVariable() + 1, dataNo, x);
    if (!(IsMissing(y) && !IsMissing(x))) model.SetData(YVariable() + 1, dataNo, y);
}

bool CPlotXYObj::GetXYData(CPlotOverlay& overlay, int dataNo, double& x, double& y) const {
    CPlotLook& model = overlay.Model();
    const CPlotVar* xVar = model.XVar(XVariable());
    const CPlotVar* yVar = model.YVar(YVariable());
    if (!xVar || !yVar || dataNo < 0 || std::uint32_t(dataNo) > yVar->highestIndex) return false;
    const auto k = std::uint32_t(dataNo);
    x = k < xVar->values.size() ? xVar->values[k] : MISSING_VALUE;
    y = k < yVar->values.size() ? yVar->values[k] : MISSING_VALUE;
    return k < yVar->values.size();
}

void CPlotXYObj::SetSelected(CPlotOverlay& overlay, bool on) {
    if (CPlotVar* v = overlay.Model().YVar(YVariable())) v->highlighted = on;
}

int CPlotXYObj::SetObject(CPlotOverlay& overlay, int value, int mask) {
    CPlotObj::SetObject(overlay, value, mask);
    CPlotVar* v = overlay.Model().YVar(YVariable());
    if (!v) return IsEnabled() ? Enabled : 0;
    if (Bit(mask, Visible)) v->hidden = !Bit(value, Visible);
    if (Bit(mask, SelectedBit)) {
        const bool on = Bit(value, SelectedBit);
        if (on != (overlay.SelectedObject() == this)) overlay.SelectObject(on ? this : nullptr);
        v->highlighted = on;
    }
    return (v->hidden ? 0 : Visible) | (IsEnabled() ? Enabled : 0) |
           (v->highlighted ? SelectedBit : 0);
}

void CPlotXYObj::Rotate(CPlotOverlay& overlay, int direction) {
    CPlotLook& model = overlay.Model();
    CPlotVar* xVar = model.XVar(XVariable());
    CPlotVar* yVar = model.YVar(YVariable());
    if (!xVar || !yVar) return;
    const size_t n = std::min(xVar->values.size(), yVar->values.size());
    for (size_t i = 0; i < n; ++i) {
        double& x = xVar->values[i];
        double& y = yVar->values[i];
        if (IsMissing(x) || IsMissing(y)) continue;
        const double z = 1 - x - y;
        if (direction != 0)
            x = std::exchange(y, z);
        else
            y = std::exchange(x, z);
    }
}

void CPlotXYObj::DrawInverted(CPlotPaintContext& ctx, CPlotOverlay& overlay) {
    const CPlotVar* v = overlay.Model().YVar(YVariable());
    if (!v || v->hidden) return;
    const size_t n = std::min<size_t>(v->devicePointCount, v->devicePoints.size());
    if (n < 2) return;
    std::vector<gdi::Point> pts(n);
    for (size_t i = 0; i < n; ++i)
        pts[i] = {v->devicePoints[i].first, v->devicePoints[i].second};
    if (Kind() == PolygonKind) pts.push_back(pts.front());
    gdi::IDeviceContext& dc = ctx.dc;
    gdi::StateScope state(dc);
    dc.SetRop2(gdi::RasterOp::NotXorPen);
    dc.SelectPen(gdi::Pen{gdi::PenStyle::Solid, kBlinkWidth, 0});
    dc.Polyline(pts);
}

bool CPlotXYObj::HitPieces(CPlotOverlay& overlay, gdi::Point p, bool polygon) {
    CPlotLook& model = overlay.Model();
    const CPlotVar* v = model.YVar(YVariable());
    if (!IsEnabled() || !v || v->devicePointCount == 0 || !model.drawingRegion) return false;
    const CPlotDrawingRgn& drawing = *model.drawingRegion;
    const size_t n = std::min<size_t>(v->devicePointCount, v->devicePoints.size());
    std::vector<gdi::Point> pts(n);
    for (size_t i = 0; i < n; ++i)
        pts[i] = {v->devicePoints[i].first, v->devicePoints[i].second};
    // Only what lies in the drawing area takes clicks.
    const bool inArea = drawing.ContainsPoint(p);
    CPlotRegion::Rect box{pts[0].x, pts[0].y, pts[0].x, pts[0].y};
    bool hit = false;
    if (polygon) {
        box = Grow(box, pts.data(), n);
        hit = inArea && PlotGeometry::InPolygon(pts, p);
    } else {
        for (size_t i = 1; i < n && v->lineType >= 0; ++i) {
            const gdi::Point a = pts[i - 1], b = pts[i];
            const int length = std::abs(b.x - a.x) + std::abs(b.y - a.y);
            if (length < kMinSegment || !drawing.SegmentMayCross(a.x, a.y, b.x, b.y)) continue;
            if (length <= kShortSegment && !drawing.ContainsPoint(a) && !drawing.ContainsPoint(b))
                continue;
            const auto strip = PlotGeometry::Strip(a, b, kLineHalfWidth);
            box = Grow(box, strip.data(), strip.size());
            hit = hit || (inArea && PlotGeometry::InPolygon(strip, p));
        }
        const int h = v->ownMarkerSize > 0 ? v->ownMarkerSize : model.markerSize;
        for (size_t i = 0; i < n && v->marker > 0; ++i) {
            const gdi::Point c = pts[i];
            const gdi::Point square[2] = {{c.x - h, c.y - h}, {c.x + h, c.y + h}};
            box = Grow(box, square, 2);
            hit = hit || (inArea && std::abs(p.x - c.x) <= h && std::abs(p.y - c.y) <= h);
        }
    }
    const CPlotRegion::Rect& r = drawing.rect;
    SetArea({std::max(box.left, r.left), std::max(box.top, r.top), std::min(box.right, r.right),
             std::min(box.bottom, r.bottom)});
    return hit;
}

void CPlotLineObj::SetAttributes(CPlotOverlay& overlay, int color, int lineType, int marker,
                                 int markerSize, int direction, int mask) {
    CPlotVar* v = overlay.Model().YVar(YVariable());
    if (!v) return;
    if (Bit(mask, 1)) v->color = color;
    if (Bit(mask, 2)) v->lineType = lineType;
    if (Bit(mask, 4)) v->marker = marker;
    if (Bit(mask, 8)) v->ownMarkerSize = markerSize;
    if (Bit(mask, 16)) {
        v->arrowMode = direction == 0 ? 0 : direction > 0 ? 1 : 2;
    }
    overlay.Model().legendDirty = 1;
}

bool CPlotLineObj::HitTest(CPlotOverlay& overlay, gdi::Point p) {
    return HitPieces(overlay, p, false);
}

void CPlotPolygonObj::Init(CPlotOverlay& overlay) {
    CPlotXYObj::Init(overlay);
    CPlotVar& v = *overlay.Model().YVar(YVariable());
    v.polygon = 1;
    v.area = 1;
    v.barPattern = kNoFill;
}

void CPlotPolygonObj::SetAttributes(CPlotOverlay& overlay, int color, int fillMode, int, int, int,
                                    int) {
    CPlotVar* v = overlay.Model().YVar(YVariable());
    if (!v) return;
    v->color = color;
    v->barPattern = fillMode;
    overlay.Model().legendDirty = 1;
}

bool CPlotPolygonObj::HitTest(CPlotOverlay& overlay, gdi::Point p) {
    return HitPieces(overlay, p, true);
}

// ---------------------------------------------------------------------------------------------
// Texts

void CPlotTextObj::Release(CPlotOverlay& overlay) {
    CPlotAnnotation* a = overlay.Annotation(AnnotationIndex());
    if (!a) return;
    a->hidden = 1;
    a->SetSelected(false);
    if (a->TimeStamp()) {
        // The stamp's symbols keep no stale date or time.
        overlay.Model().SetSymbol("DATE", "");
        overlay.Model().SetSymbol("TIME", "");
    }
}

bool CPlotTextObj::HitTest(CPlotOverlay& overlay, gdi::Point p) {
    CPlotAnnotation* a = overlay.Annotation(AnnotationIndex());
    if (!a || !IsEnabled()) return false;
    SetArea(a->rect);
    return a->HitTest(p.x, p.y);
}

void CPlotTextObj::SetSelected(CPlotOverlay& overlay, bool on) {
    if (CPlotAnnotation* a = overlay.Annotation(AnnotationIndex())) {
        a->SetSelected(on);
        a->EnableTagHandle(on);
    }
}

int CPlotTextObj::SetObject(CPlotOverlay& overlay, int value, int mask) {
    CPlotObj::SetObject(overlay, value, mask);
    CPlotAnnotation* a = overlay.Annotation(AnnotationIndex());
    if (!a) return IsEnabled() ? Enabled : 0;
    if (Bit(mask, Visible)) a->hidden = !Bit(value, Visible);
    if (Bit(mask, SelectedBit)) {
        const bool on = Bit(value, SelectedBit);
        if (on != (overlay.SelectedObject() == this)) overlay.SelectObject(on ? this : nullptr);
        a->SetSelected(on);
    }
    if (Bit(mask, TagNotPickable)) a->SetTagNotPickable(Bit(value, TagNotPickable));
    return (a->hidden ? 0 : Visible) | (IsEnabled() ? Enabled : 0) |
           (a->Selected() ? SelectedBit : 0) | (a->TagNotPickable() ? TagNotPickable : 0);
}

void CPlotTextObj::DrawInverted(CPlotPaintContext& ctx, CPlotOverlay& overlay) {
    if (const CPlotAnnotation* a = overlay.Annotation(AnnotationIndex())) a->DrawInverted(ctx);
}

void CPlotTextObj::Rotate(CPlotOverlay& overlay, int direction) {
    if (CPlotAnnotation* a = overlay.Annotation(AnnotationIndex())) a->Rotate(direction);
}
