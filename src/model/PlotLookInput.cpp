// The plot model's side of pointer and key input: what a press, a drag, a release, a double
// click, a right press or a key does to the plot, the marked rectangle and the coordinate
// read-out.
#include "model/PlotLook.h"
#include "platform/ui/VirtualKeys.h"
#include "render/NumberFormat.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr float kTriangleShear = 0.577f; // the equilateral triangle's lean, tan 30°
constexpr int kReadOutDigits = 3;
constexpr int kMinimumMark = 2;         // a thinner or lower marked rectangle is dropped
constexpr float kLegendKeyStep = 0.01f; // of the drawing region, per arrow key press
constexpr int kDeleteCommand = 57632;

gdi::Rect ToDevice(const CPlotRegion::Rect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

int Clamp(int v, int lo, int hi) {
    return std::max(lo, std::min(v, hi));
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Geometry helpers

void CPlotLook::MapDrawingRegion(CPlotEnv& env, const CPlotAxis* horizontal,
                                 const CPlotAxis* vertical) {
    if (!horizontal)
        if (CPlotAxisRgn* r = AxisByRole(0)) horizontal = r->axis.get();
    if (!vertical)
        if (CPlotAxisRgn* r = AxisByRole(1)) vertical = r->axis.get();
    double x0 = 0, x1 = 1, ylo = 0, yhi = 1;
    if (horizontal) horizontal->DrawnRange(x0, x1);
    if (vertical) vertical->DrawnRange(ylo, yhi);
    env.SetMapping(ToDevice(drawingRegion->rect), float(x0), float(x1), float(yhi), float(ylo));
}

CPlotRegion* CPlotLook::RegionAt(gdi::Point p) const {
    for (auto it = regionList.rbegin(); it != regionList.rend(); ++it) {
        CPlotRegion* r = *it;
        if (r && r->CanSelect() && !r->IsEmpty() && r->HitTest(p.x, p.y)) return r;
    }
    return nullptr;
}

void CPlotLook::SelectRegion(CPlotRegion* region) {
    if (selectedRegion == region) return;
    if (selectedRegion && environment) environment->RemoveHandles({}, selectedRegion);
    selectedRegion = region;
    legendRegion->selected = region == legendRegion.get();
}

bool CPlotLook::SelectRegionUnderDrag(gdi::Point p) {
    CPlotRegion* before = selectedRegion;
    SelectRegion(RegionAt(p));
    return selectedRegion != before;
}

int CPlotLook::DropText(const std::string& text) {
    lastDroppedText_ = text;
    return selectedRegion ? selectedRegion->kind : -1;
}

// ---------------------------------------------------------------------------------------------
// Annotations and host plot objects take the pointer before the regions.

int CPlotLook::PressOnObjects(CPlotPaintContext& ctx, gdi::Point p, int keyFlags) {
    return overlay ? overlay->Press(ctx, p, keyFlags) : kNoMouseMode;
}

bool CPlotLook::DragObjects(CPlotPaintContext& ctx, int mode, gdi::Point p, int& cursor) {
    return overlay && overlay->Drag(ctx, mode, p, cursor);
}

bool CPlotLook::ReleaseObjects(CPlotPaintContext& ctx, int mode, gdi::Point p, bool& repaint) {
    return overlay && overlay->Release(ctx, mode, p, repaint);
}

int CPlotLook::ObjectMenuAt(gdi::Point p) {
    return overlay ? overlay->MenuAt(p) : 0;
}

// ---------------------------------------------------------------------------------------------
// Press, drag, release

int CPlotLook::LeftPress(CPlotPaintContext& ctx, gdi::Point p, int keyFlags, bool clickAction,
                         bool dragAllowed) {
    // 1. The drawing tool, shapes, annotations and plot objects come first.
    if (const int mode = PressOnObjects(ctx, p, keyFlags); mode != kNoMouseMode) return mode;
    if (!clickAction) return kNoMouseMode;
    // 2. The legend's handles, while the legend is the region being edited.
    CPlotLegendRgn& legend = *legendRegion;
    const bool onLegend = legend.shown && !legend.IsEmpty() && legend.HitTest(p.x, p.y);
    if (onLegend && selectedRegion == &legend) {
        if (!dragAllowed) return kNoDragMode;
        int key = 0;
        if (environment)
            for (const CPlotBullet& handle : environment->Handles())
                if (handle.region == &legend && handle.IsShown() && handle.Contains(p))
                    key = handle.key;
        legend.SetDragMode(key);
        legend.BeginDrag(ctx, p);
        return kRegionDragMode;
    }
    if (onLegend || drawingRegion->IsEmpty() || !drawingRegion->ContainsPoint(p))
        return kNoMouseMode;
    // 3. The drawing region: the read-out, and a new marked rectangle.
    host.ShowPopupText(ReadOut(p), p.x + 1, p.y);
    if (!dragAllowed) return kNoDragMode;
    CPlotDrawingRgn& drawing = *drawingRegion;
    if (drawing.zoomBoxShown) drawing.DrawZoomBox(ctx); // the inverting pen erases it
    drawing.zoomBox = {p.x, p.y, p.x, p.y};
    drawing.zoomBoxShown = true;
    drawing.DrawZoomBox(ctx);
    return kMarkingMode;
}

int CPlotLook::Drag(CPlotPaintContext& ctx, int mode, int /*keyFlags*/, gdi::Point p) {
    switch (mode) {
    case kMarkingMode: {
        CPlotDrawingRgn& drawing = *drawingRegion;
        if (!drawing.zoomBoxShown) return 0;
        drawing.DrawZoomBox(ctx);
        drawing.zoomBox.right = Clamp(p.x, drawing.rect.left, drawing.rect.right);
        drawing.zoomBox.bottom = Clamp(p.y, drawing.rect.top, drawing.rect.bottom);
        drawing.DrawZoomBox(ctx);
        return kMarkCursor;
    }
    case kRegionDragMode:
        if (selectedRegion == legendRegion.get()) legendRegion->DragTo(ctx, p);
        return 0;
    case kNoDragMode:
        return 0;
    default: {
        int cursor = 0;
        DragObjects(ctx, mode, p, cursor);
        return cursor;
    }
    }
}

bool CPlotLook::Release(CPlotPaintContext& ctx, int /*keyFlags*/, gdi::Point p, int mode) {
    switch (mode) {
    case kMarkingMode: {
        CPlotDrawingRgn& drawing = *drawingRegion;
        if (!drawing.zoomBoxShown) return false;
        const CPlotRegion::Rect& box = drawing.zoomBox;
        if (std::abs(box.right - box.left) < kMinimumMark ||
            std::abs(box.bottom - box.top) < kMinimumMark) {
            drawing.DrawZoomBox(ctx);
            drawing.zoomBoxShown = false;
        }
        // What lies inside the rectangle is selected.
        if (drawing.zoomBoxShown && overlay)
            return overlay->SelectInside(
                {std::min(box.left, box.right), std::min(box.top, box.bottom),
                 std::max(box.left, box.right), std::max(box.top, box.bottom)});
        return false;
    }
    case kRegionDragMode: {
        if (selectedRegion != legendRegion.get()) return false;
        float fx = legendFx, fy = legendFy;
        if (!legendRegion->EndDrag(ctx, drawingRegion->rect, fx, fy)) return false;
        legendFx = fx;
        legendFy = fy;
        legendRegion->sized = 0;
        layoutDirty = 1;
        return true;
    }
    case kNoDragMode:
    case kNoMouseMode:
        return false;
    default: {
        bool repaint = false;
        ReleaseObjects(ctx, mode, p, repaint);
        return repaint;
    }
    }
}

bool CPlotLook::DoubleClick(CPlotPaintContext&, gdi::Point p, int& objectId, bool act) {
    // The host's plot objects first, then the regions; either one's editor opens at the next
    // paint.
    objectId = overlay ? overlay->DoubleClickAt(p) : 0;
    if (objectId == 0) {
        CPlotRegion* region = RegionAt(p);
        if (!region) return false;
        SelectRegion(region);
    }
    if (act) editRequested = objectId != 0 ? kEditObject : kEditRegion;
    return true;
}

int CPlotLook::HoldCursor(int mode) const {
    if (mode == kMarkingMode) return kMarkCursor;
    if (mode == kMoveMode) return kSizeAllCursor;
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Context menu and keys

int CPlotLook::ContextMenuAt(gdi::Point p) {
    if (const int menu = ObjectMenuAt(p)) return menu;
    CPlotRegion* region = RegionAt(p);
    if (!region) return 0;
    SelectRegion(region);
    switch (region->kind) {
    case CPlotRegion::Corner:
        return 30225; // the kind of text annotations
    case CPlotRegion::Drawing: {
        const CPlotRegion::Rect at{p.x, p.y, p.x, p.y};
        return RegionMarked() && drawingRegion->ZoomBoxContains(at) ? 214 : 30224;
    }
    default:
        return 213;
    }
}

bool CPlotLook::Key(CPlotPaintContext& ctx, int key, int /*repeat*/) {
    if (key == ui::VK_SHIFT || key == ui::VK_CONTROL) return false;
    // Selected annotations and plot objects take the key first.
    if (bool repaint = false; overlay && overlay->Key(ctx, key, repaint)) return repaint;
    if (!selectedRegion) return false;
    if (key == ui::VK_DELETE) {
        host.RunCommand(kDeleteCommand);
        return false;
    }
    if (selectedRegion != legendRegion.get()) return false; // text editing arrives with annotations
    switch (key) {
    case ui::VK_LEFT:
        legendFx -= kLegendKeyStep;
        break;
    case ui::VK_RIGHT:
        legendFx += kLegendKeyStep;
        break;
    case ui::VK_UP:
        legendFy -= kLegendKeyStep;
        break;
    case ui::VK_DOWN:
        legendFy += kLegendKeyStep;
        break;
    default:
        return false;
    }
    layoutDirty = 1;
    return true;
}

// ---------------------------------------------------------------------------------------------
// Pointer position and read-out

bool CPlotLook::PointerLocation(gdi::Point p, std::string& text, float& x, float& y) {
    if (!environment || drawingRegion->IsEmpty() || !drawingRegion->ContainsPoint(p)) return false;
    MapDrawingRegion(*environment);
    text = drawingRegion->PointerText(*environment, p.x, p.y, x, y);
    return true;
}

std::string CPlotLook::ReadOut(gdi::Point p) {
    if (!environment) return {};
    CPlotEnv& env = *environment;
    float wx = 0, wy = 0;
    if (triMode) {
        MapDrawingRegion(env);
        return drawingRegion->PointerText(env, p.x, p.y, wx, wy);
    }
    auto format = [&env](double v) {
        return NumberFormat::FormatNumber(v, kReadOutDigits, true, env.locale);
    };
    // The X value along the X axis: across the region, or up it when the plot is flipped.
    CPlotAxis* xAxis = Axis(0);
    std::string text = "x=";
    if (xAxis) {
        flipped ? MapDrawingRegion(env, nullptr, xAxis) : MapDrawingRegion(env, xAxis, nullptr);
        env.DeviceToWorld(p.x, p.y, wx, wy);
        text += format(xAxis->FromPlot(flipped ? wy : wx));
    }
    text += "\ny=";
    std::vector<std::string> values;
    for (int k = 1; k <= NYAxes(); ++k) {
        const CPlotAxis* a = Axis(k);
        if (!a) continue;
        flipped ? MapDrawingRegion(env, a, nullptr) : MapDrawingRegion(env, nullptr, a);
        env.DeviceToWorld(p.x, p.y, wx, wy);
        values.push_back(format(a->FromPlot(flipped ? wx : wy)));
    }
    MapDrawingRegion(env);
    if (values.size() == 1) return text + values[0];
    text += "(";
    for (size_t i = 0; i < values.size(); ++i)
        text += (i ? "," : "") + values[i];
    return text + ")";
}

// ---------------------------------------------------------------------------------------------
// Commands on the marked rectangle

bool CPlotLook::MarkedFractions(double& x0, double& x1, double& y0, double& y1) const {
    if (!RegionMarked() || drawingRegion->IsEmpty()) return false;
    const CPlotRegion::Rect& r = drawingRegion->rect;
    const CPlotRegion::Rect& b = drawingRegion->zoomBox;
    const int left = std::min(b.left, b.right), right = std::max(b.left, b.right);
    const int top = std::min(b.top, b.bottom), bottom = std::max(b.top, b.bottom);
    // The triangle leans: a column higher up starts further right.
    const int shift =
        triMode == 1 ? static_cast<int>(static_cast<float>(r.bottom - bottom) * kTriangleShear) : 0;
    const double w = r.width() + 1, h = r.height() + 1;
    x0 = (left - shift - r.left) / w;
    x1 = (right + 1 - shift - r.left) / w;
    y0 = (r.bottom - bottom) / h;
    y1 = (r.bottom - top + 1) / h;
    return true;
}

bool CPlotLook::ZoomToMarkedRegion() {
    double x0, x1, y0, y1;
    if (!MarkedFractions(x0, x1, y0, y1)) return false;
    auto zoom = [](CPlotAxis& a, double f0, double f1) {
        int p0 = 0, p1 = 1000;
        a.ScrollPositions(p0, p1);
        const double span = p1 - p0;
        a.ScrollToPositions(p0 + int(f0 * span), p0 + int(f1 * span), true);
    };
    if (CPlotAxis* x = Axis(0)) zoom(*x, x0, x1);
    for (int k = 1; k <= NYAxes(); ++k)
        if (CPlotAxis* a = Axis(k)) zoom(*a, y0, y1);
    if (squarePlot && diagonalLine) CopyScaleToDiagonalPartner(true);
    // The rectangle marked a part of the old view; it marks nothing in the new one.
    drawingRegion->zoomBoxShown = false;
    return true;
}

bool CPlotLook::DeletePointsInMarkedRegion(CPlotPaintContext& ctx) {
    CPlotAxis* xAxis = Axis(0);
    if (!RegionMarked() || !xAxis) return false;
    for (auto& owned : yVariables) {
        CPlotVar& y = *owned;
        if (y.hidden || y.axisNo == 0) continue;
        CPlotAxis* yAxis = flipped ? Axis(1) : triMode == 1 ? Axis(2) : Axis(y.axisNo);
        CPlotVar* xVar = XVar(y.xVarNo > 0 ? y.xVarNo - 1 : 0);
        if (!xVar) xVar = XVar(0);
        if (!yAxis || !xVar) continue;
        MapDrawingRegion(ctx.env, nullptr, flipped ? nullptr : yAxis);
        drawingRegion->DeletePointsInBox(ctx, ctx.env.CurveMapping(), *xVar, y, *xAxis, *yAxis);
    }
    MapDrawingRegion(ctx.env);
    rangeDirty = 1;
    return true;
}

const std::string* CPlotLook::TooltipAt(gdi::Point p) const {
    if (const std::string* own = overlay ? overlay->TooltipAt(p) : nullptr) return own;
    const CPlotDrawingRgn::Tooltip* tip = drawingRegion ? drawingRegion->TooltipAt(p) : nullptr;
    return tip ? &tip->text : nullptr;
}
