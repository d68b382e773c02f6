// The shapes of one plot: drawing order, selection, dragging, creation by the drawing tools,
// keys, grouping into paths, fill, and the toolbar's colour and line type.
#include "annot/PlotShapes.h"

#include "annot/PlotGeometry.h"
#include "annot/ShapeRecord.h"
#include "model/MenuTable.h"
#include "model/PlotLook.h"
#include "platform/ui/VirtualKeys.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr const char* kNewText = "Text"; // a text shape's text until it is edited

bool IsArrowKey(int key) {
    return key == ui::VK_LEFT || key == ui::VK_RIGHT || key == ui::VK_UP || key == ui::VK_DOWN;
}

bool IsPolygonTool(int tool) {
    return tool == ID_TOOL_POLYGON || tool == ID_TOOL_POLYLINE;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The list and the selection

CPlotDisplay* CPlotShapes::Add(std::unique_ptr<CPlotDisplay> shape) {
    return displays_.emplace_back(std::move(shape)).get();
}

void CPlotShapes::Clear() {
    selected_.clear();
    inProgress_.reset();
    handleShape_ = nullptr;
    moving_ = false;
    displays_.clear();
}

bool CPlotShapes::IsSelected(const CPlotDisplay* shape) const {
    return std::find(selected_.begin(), selected_.end(), shape) != selected_.end();
}

void CPlotShapes::Select(CPlotDisplay* shape) {
    if (shape && !IsSelected(shape)) selected_.push_back(shape);
}

void CPlotShapes::Unselect(CPlotEnv& env, CPlotDisplay* shape) {
    env.RemoveHandles({}, shape);
    std::erase(selected_, shape);
    shape->SetDragState(0);
}

void CPlotShapes::DeselectAll(CPlotEnv& env) {
    for (CPlotDisplay* shape : selected_) {
        env.RemoveHandles({}, shape);
        shape->SetDragState(0);
    }
    selected_.clear();
}

void CPlotShapes::MapView(CPlotEnv& env) const {
    // Shapes live in the world of the drawing region.
    if (model_.drawingRegion) model_.MapDrawingRegion(env);
}

// ---------------------------------------------------------------------------------------------
// Tools

bool CPlotShapes::IsToolCommand(int command) {
    return command >= ID_TOOL_BOX && command <= ID_TOOL_TEXT;
}

void CPlotShapes::PickTool(CPlotEnv& env, int command) {
    if (!IsToolCommand(command)) return;
    DeselectAll(env);
    env.RemoveHandles({}, nullptr);
    env.tool->SetCurrentTool(command);
    armed_ = true;
}

void CPlotShapes::Disarm(CPlotEnv& env) {
    armed_ = false;
    if (!inProgress_) env.tool->SetCurrentTool(0);
}

std::unique_ptr<CPlotDisplay> CPlotShapes::MakeShape(CPlotEnv& env, int tool, gdi::Point p) const {
    float x = 0, y = 0;
    env.DeviceToWorld(p.x, p.y, x, y);
    std::unique_ptr<CPlotDisplay> shape;
    switch (tool) {
    case ID_TOOL_BOX:
        shape = std::make_unique<CPlotBox>(CPlotDisplay::kBox, x, y);
        break;
    case ID_TOOL_LINE:
        shape = std::make_unique<CPlotLine>(x, y);
        break;
    case ID_TOOL_POLYGON:
    case ID_TOOL_POLYLINE: {
        auto polygon = std::make_unique<CPlotPolygon>(x, y, tool == ID_TOOL_POLYGON);
        // The first vertex, and the one that follows the pointer until the next click.
        polygon->AppendDeviceVertex(p);
        polygon->AppendDeviceVertex(p);
        shape = std::move(polygon);
        break;
    }
    case ID_TOOL_ELLIPSE:
        shape = std::make_unique<CPlotEllipse>(CPlotDisplay::kWholeEllipse, x, y);
        break;
    case ID_TOOL_UPPER_HALF:
        shape = std::make_unique<CPlotEllipse>('u', x, y);
        break;
    case ID_TOOL_RIGHT_HALF:
        shape = std::make_unique<CPlotEllipse>('>', x, y);
        break;
    case ID_TOOL_QUARTER_ARC:
        shape = std::make_unique<CPlotArc>(x, y);
        break;
    case ID_TOOL_MARKER:
        shape = std::make_unique<CPlotPoint>(x, y, env.tool->CurrentMarker(),
                                             model_.markerSize > 0 ? model_.markerSize : 4);
        break;
    case ID_TOOL_TEXT:
        // The toolbar's size in points, held in world units so that the text scales.
        shape = std::make_unique<CPlotText>(x, y, kNewText, env.tool->CurrentFace(),
                                            CPlotText::WorldSize(env.tool->CurrentFontSize(), env));
        break;
    default:
        return nullptr;
    }
    if (const gdi::ColorRef color = env.tool->CurrentColor(); color != 0)
        shape->SetColor(color, env.tool->IndexOfColor(color));
    shape->SetLineType(env.tool->CurrentLineType());
    if (tool != ID_TOOL_POLYGON && tool != ID_TOOL_POLYLINE) shape->SetDevice(p, p);
    return shape;
}

int CPlotShapes::BeginCreate(CPlotPaintContext& ctx, gdi::Point p) {
    const int tool = ctx.env.tool->CurrentTool();
    inProgress_ = MakeShape(ctx.env, tool, p);
    if (!inProgress_) {
        ctx.env.tool->SetCurrentTool(0);
        return CPlotLook::kNoMouseMode;
    }
    inProgress_->TrackMove(ctx.dc, ctx.env, 0, 0, kCreateLineType);
    return IsPolygonTool(tool) ? CPlotLook::kMultiClickShape : CPlotLook::kFinishShape;
}

void CPlotShapes::FinishCreate(CPlotPaintContext& ctx, bool& repaint) {
    std::unique_ptr<CPlotDisplay> shape = std::move(inProgress_);
    ctx.env.tool->SetCurrentTool(0);
    if (!shape) return;
    shape->HideFeedback(ctx.dc, ctx.env, kCreateLineType);
    repaint = true;
    if (auto* polygon = dynamic_cast<CPlotPolygon*>(shape.get())) {
        // The vertices are the clicks: the one that followed the pointer goes.
        polygon->DropLastVertex();
        if (polygon->VertexCount() < 3) return; // fewer than 3 vertices: discarded
    }
    shape->CommitDrag();
    shape->DeviceToWorld(ctx.env);
    shape->ComputeBounds();
    Add(std::move(shape));
}

// ---------------------------------------------------------------------------------------------
// Paint

void CPlotShapes::Draw(CPlotPaintContext& ctx) {
    if (displays_.empty() && !inProgress_) return;
    MapView(ctx.env);
    for (auto& shape : displays_)
        shape->Draw(ctx.dc, ctx.env);
    if (!ctx.IsScreen()) return;
    for (CPlotDisplay* shape : selected_)
        shape->ShowHandles(ctx.dc, ctx.env);
    // The rubber outline of the shape being drawn comes back over the new picture.
    if (inProgress_) {
        inProgress_->ForgetFeedback();
        inProgress_->TrackMove(ctx.dc, ctx.env, 0, 0, kCreateLineType);
    }
}

// ---------------------------------------------------------------------------------------------
// Pointer

CPlotDisplay* CPlotShapes::HitShape(gdi::Point p) const {
    for (auto it = displays_.rbegin(); it != displays_.rend(); ++it)
        if ((*it)->Hit(p.x, p.y)) return it->get();
    return nullptr;
}

int CPlotShapes::Press(CPlotPaintContext& ctx, gdi::Point p, int keyFlags) {
    CPlotEnv& env = ctx.env;
    MapView(env);
    // 1. An armed tool makes a new shape; the tool flag serves one press.
    if (armed_) {
        armed_ = false;
        return BeginCreate(ctx, p);
    }
    // 2. A polygon being drawn takes one more vertex.
    if (auto* polygon = dynamic_cast<CPlotPolygon*>(inProgress_.get())) {
        // The vertex that followed the pointer stays at the click; a new one follows it.
        polygon->HideFeedback(ctx.dc, env, kCreateLineType);
        polygon->PlaceLastVertex(p);
        polygon->AppendDeviceVertex(p);
        polygon->TrackMove(ctx.dc, env, 0, 0, kCreateLineType);
        return CPlotLook::kMultiClickShape;
    }
    if (displays_.empty()) return CPlotLook::kNoMouseMode;
    pressPoint_ = p;
    // 3. A handle of a selected shape starts a handle drag.
    if (env.HitHandle(p, true) != 0 && env.hotHandle) {
        for (CPlotDisplay* shape : selected_) {
            if (env.hotHandle->annotation != shape) continue;
            handleShape_ = shape;
            handleCode_ = env.hotHandle->key;
            handleCursor_ = env.hotHandle->id;
            shape->SetDragState(CPlotDisplay::kHandlePressed);
            return kHandleDrag - handleCode_;
        }
    }
    // 4. Without shift every shape is deselected first; a shift press on a selected shape
    // marks it to leave the selection at the release.
    const bool shift = (keyFlags & ui::ModShift) != 0;
    CPlotDisplay* hit = HitShape(p);
    const bool hadSelection = !selected_.empty();
    if (!shift) DeselectAll(env);
    env.selectedHandle = nullptr; // the arrow keys move whole shapes again
    if (!hit) {
        // The handles of the shapes let go are still on the window.
        handlesStale_ = handlesStale_ || (hadSelection && selected_.empty());
        return CPlotLook::kNoMouseMode;
    }
    if (shift && IsSelected(hit))
        hit->SetDragState(CPlotDisplay::kMarkedForDeselection);
    else
        Select(hit);
    hit->ShowHandles(ctx.dc, env);
    moving_ = true;
    return CPlotLook::kMoveMode;
}

bool CPlotShapes::Drag(CPlotPaintContext& ctx, int mode, gdi::Point p, int& cursor) {
    CPlotEnv& env = ctx.env;
    if (inProgress_ && (mode == CPlotLook::kFinishShape || mode == CPlotLook::kMultiClickShape)) {
        // The end point, or the newest vertex, follows the pointer.
        inProgress_->TrackHandle(ctx.dc, env, p.x, p.y, 0, kCreateLineType);
        cursor = kCrossCursor;
        return true;
    }
    if (mode == CPlotLook::kMoveMode && moving_) {
        for (CPlotDisplay* shape : selected_)
            shape->TrackMove(ctx.dc, env, p.x - pressPoint_.x, p.y - pressPoint_.y, kDragLineType);
        cursor = CPlotLook::kSizeAllCursor;
        return true;
    }
    if (mode <= kHandleDrag && mode > kLowestHandleMode && handleShape_) {
        handleCode_ = handleShape_->TrackHandle(ctx.dc, env, p.x, p.y, handleCode_, kDragLineType);
        cursor = handleCursor_;
        return true;
    }
    return false;
}

bool CPlotShapes::Release(CPlotPaintContext& ctx, int mode, gdi::Point, bool& repaint) {
    CPlotEnv& env = ctx.env;
    if (inProgress_ && (mode == CPlotLook::kFinishShape || mode == CPlotLook::kMultiClickShape)) {
        FinishCreate(ctx, repaint);
        return true;
    }
    const bool handleDrag = mode <= kHandleDrag && mode > kLowestHandleMode && handleShape_;
    if (!(mode == CPlotLook::kMoveMode && moving_) && !handleDrag) return false;
    MapView(env);
    std::vector<CPlotDisplay*> dragged =
        handleDrag ? std::vector<CPlotDisplay*>{handleShape_} : selected_;
    for (CPlotDisplay* shape : dragged) {
        shape->HideFeedback(ctx.dc, env, kDragLineType);
        if (shape->DragState() == CPlotDisplay::kMarkedForDeselection) {
            Unselect(env, shape);
            continue;
        }
        shape->SetDragState(0);
        // The drag becomes the shape's world geometry, on the grid.
        shape->CommitDrag();
        shape->DeviceToWorld(env);
        shape->SnapToGrid(env);
        shape->WorldToDevice(env);
    }
    handleShape_ = nullptr;
    moving_ = false;
    repaint = true;
    return true;
}

int CPlotShapes::MenuAt(gdi::Point p) const {
    for (auto it = selected_.rbegin(); it != selected_.rend(); ++it) {
        const CPlotDisplay& shape = **it;
        if (!shape.Hit(p.x, p.y)) continue;
        if (selected_.size() > 1) return MENU_GROUP;
        if (shape.Kind() == CPlotDisplay::kPath) return MENU_PATH;
        return shape.Kind() == CPlotDisplay::kText ? MENU_TEXT : MENU_ELEMENT;
    }
    return 0;
}

CPlotDisplay* CPlotShapes::KeyHandleShape(const CPlotEnv& env) const {
    if (!env.selectedHandle) return nullptr;
    for (CPlotDisplay* shape : selected_)
        if (env.selectedHandle->annotation == shape) return shape;
    return nullptr;
}

bool CPlotShapes::Key(CPlotPaintContext& ctx, int key, bool shift, bool& repaint) {
    if (selected_.empty()) return false;
    CPlotEnv& env = ctx.env;
    MapView(env);
    // Tab passes the keyboard's handle on to the next one.
    if (key == ui::VK_TAB) {
        env.NextHandle(ctx.dc, {});
        repaint = true;
        return true;
    }
    // With a handle chosen (pressed or tabbed to), the arrows move only that handle; the
    // handle stays chosen as it follows the shape.
    if (CPlotDisplay* shape = KeyHandleShape(env); shape && IsArrowKey(key)) {
        shape->KeyMoveHandle(env.selectedHandle->key, key, env);
        repaint = true;
        return true;
    }
    // Every selected shape takes the key; its handles come back with the repaint.
    bool taken = false;
    for (CPlotDisplay* shape : selected_) {
        if (shape->KeyDown(key, shift, env) == 0) continue;
        env.RemoveHandles({}, shape);
        taken = true;
    }
    repaint = repaint || taken;
    return taken;
}

bool CPlotShapes::SelectInside(const gdi::Rect& band) {
    bool any = false;
    for (auto& shape : displays_) {
        if (!shape->Visible() || !PlotGeometry::InsideBand(band, shape->Bounds())) continue;
        Select(shape.get());
        any = true;
    }
    return any;
}

// ---------------------------------------------------------------------------------------------
// Commands

bool CPlotShapes::Group(CPlotEnv& env) {
    env.RemoveHandles({}, nullptr);
    auto path = std::make_unique<CPlotPath>();
    int taken = 0;
    for (CPlotDisplay* shape : selected_) {
        if (!shape->AppendToPath(*path)) continue;
        std::erase_if(displays_,
                      [shape](const std::unique_ptr<CPlotDisplay>& d) { return d.get() == shape; });
        ++taken;
    }
    selected_.clear();
    if (taken == 0) return false;
    path->RemoveRepeatedPoints();
    CPlotPath* made = static_cast<CPlotPath*>(Add(std::move(path)));
    made->SetPivotToCentre();
    MapView(env);
    made->WorldToDevice(env);
    selected_.push_back(made);
    return true;
}

bool CPlotShapes::CanUngroup() const {
    return std::any_of(selected_.begin(), selected_.end(), [](const CPlotDisplay* shape) {
        return shape->Kind() == CPlotDisplay::kPath;
    });
}

bool CPlotShapes::Ungroup(CPlotEnv& env) {
    if (!CanUngroup()) return false;
    env.RemoveHandles({}, nullptr);
    MapView(env);
    std::vector<CPlotDisplay*> made;
    for (CPlotDisplay* shape : selected_) {
        if (shape->Kind() != CPlotDisplay::kPath) continue;
        auto at = std::find_if(displays_.begin(), displays_.end(),
                               [shape](const auto& d) { return d.get() == shape; });
        if (at == displays_.end()) continue;
        // The path's shapes take its place in the drawing order.
        std::vector<std::unique_ptr<CPlotDisplay>> shapes =
            static_cast<const CPlotPath&>(*shape).Ungroup(*env.tool);
        for (auto& s : shapes) {
            s->WorldToDevice(env);
            made.push_back(s.get());
        }
        at = displays_.erase(at);
        displays_.insert(at, std::make_move_iterator(shapes.begin()),
                         std::make_move_iterator(shapes.end()));
    }
    // The other selected shapes stay selected beside the new ones.
    std::erase_if(selected_, [this](CPlotDisplay* s) {
        return std::none_of(displays_.begin(), displays_.end(),
                            [s](const auto& d) { return d.get() == s; });
    });
    for (CPlotDisplay* shape : made)
        Select(shape);
    return true;
}

bool CPlotShapes::Lower() {
    bool moved = false;
    // From the bottom of the order up, so that neighbours keep their order among themselves.
    for (std::size_t i = 1; i < displays_.size(); ++i) {
        if (!IsSelected(displays_[i].get()) || IsSelected(displays_[i - 1].get())) continue;
        std::swap(displays_[i], displays_[i - 1]);
        moved = true;
    }
    return moved;
}

CPlotText* CPlotShapes::SelectedText(CPlotEnv& env) {
    if (selected_.size() != 1 || selected_.front()->Kind() != CPlotDisplay::kText) return nullptr;
    MapView(env);
    return static_cast<CPlotText*>(selected_.front());
}

bool CPlotShapes::ToggleFill() {
    if (selected_.empty()) return false;
    CPlotDisplay& shape = *selected_.front();
    if (shape.Filled() == CPlotDisplay::kNotFillable) return false;
    shape.SetFilled(shape.Filled() == 1 ? 0 : 1);
    return true;
}

void CPlotShapes::FillState(bool& enabled, bool& checked) const {
    const CPlotDisplay* shape = selected_.empty() ? nullptr : selected_.front();
    enabled = shape && shape->Filled() != CPlotDisplay::kNotFillable;
    checked = shape && shape->Filled() == 1;
}

void CPlotShapes::ApplyColor(CPlotEnv& env, gdi::ColorRef rgb) {
    if (selected_.empty()) {
        env.tool->SetCurrentColor(rgb);
        return;
    }
    const int index = env.tool->IndexOfColor(rgb);
    for (CPlotDisplay* shape : selected_)
        shape->SetColor(rgb, index);
}

void CPlotShapes::ApplyLineType(CPlotEnv& env, int lineType) {
    if (selected_.empty()) {
        env.tool->SetCurrentLineType(lineType);
        return;
    }
    for (CPlotDisplay* shape : selected_)
        shape->SetLineType(lineType);
}

void CPlotShapes::ToolbarChoice(CDrawTool& tool, int& colorIndex, int& lineType) const {
    if (selected_.size() == 1) {
        colorIndex = selected_.front()->ColorIndex();
        lineType = selected_.front()->LineType();
        return;
    }
    colorIndex = tool.IndexOfColor(tool.CurrentColor());
    lineType = tool.CurrentLineType();
}

// ---------------------------------------------------------------------------------------------
// The record

void CPlotShapes::WriteRecord(std::vector<std::uint8_t>& out) const {
    WriteShapes(displays_, out);
}

bool CPlotShapes::ReadRecord(std::span<const std::uint8_t> in, std::size_t& pos, CPlotEnv& env) {
    std::vector<std::unique_ptr<CPlotDisplay>> read;
    if (!ReadShapes(in, pos, read)) return false;
    DeselectAll(env);
    Clear();
    displays_ = std::move(read);
    return true;
}
