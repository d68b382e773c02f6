// The annotation list and the host objects of one plot: creation, the host's operations,
// index-stable removal, painting, and what the pointer and keys do to them.
#include "annot/PlotOverlay.h"

#include "annot/AnnotationText.h"
#include "annot/PlotGeometry.h"
#include "model/MenuTable.h"
#include "model/PlotLook.h"
#include "platform/ui/VirtualKeys.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kKeyStep = 5; // device units an arrow key moves a text
constexpr int kSizeAllCursor = 32646;
constexpr double kStampX = 0.05, kStampY = 0.1;
// IDs of the built-in parts of the plot that SetObject reaches.
constexpr int kTitleId = 1, kLabelsId = 2, kAxesId = 3, kLastBuiltInId = 9;
// The tooltips of placing a text and of the tag handle.
const std::string kPlaceTagPrompt = "Pick a tag point and drag";
const std::string kPlaceTextPrompt = "Locate a place and click";
const std::string kTagHandleTip = "Drag to move tag point";

std::string Format(const char* pattern, int id) {
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, pattern, id);
    return buffer;
}

} // namespace

CPlotOverlay::CPlotOverlay(CPlotLook& model, CObjectIds& ids)
    : model_(model), ids_(ids), shapes_(model) {}

CPlotOverlay::~CPlotOverlay() = default;

void CPlotOverlay::Log(const std::string& line) {
    model_.host.WriteLog(line);
}

// ---------------------------------------------------------------------------------------------
// Annotations

CPlotAnnotation* CPlotOverlay::Annotation(int index) {
    return index >= 0 && index < AnnotationCount() ? annotations_[size_t(index)].get() : nullptr;
}

int CPlotOverlay::AddAnnotation(std::unique_ptr<CPlotAnnotation> annotation) {
    annotations_.push_back(std::move(annotation));
    return AnnotationCount() - 1;
}

void CPlotOverlay::RemoveAnnotation(int index) {
    CPlotAnnotation* gone = Annotation(index);
    if (!gone) return;
    if (dragged_ == gone) dragged_ = nullptr;
    if (selected_ && selected_->Kind() == CPlotObj::TextKind &&
        selected_->AnnotationIndex() == index)
        SelectObject(nullptr);
    annotations_.erase(annotations_.begin() + index);
    // Text objects follow their entries down; the entry's own object goes with it.
    for (auto it = objects_.begin(); it != objects_.end();) {
        CPlotObj& o = **it;
        if (o.Kind() == CPlotObj::TextKind && o.AnnotationIndex() == index) {
            model_.host.ObjectSelected(o.Id(), false);
            it = objects_.erase(it);
            continue;
        }
        if (o.AnnotationIndex() > index) o.SetAnnotationIndex(o.AnnotationIndex() - 1);
        ++it;
    }
}

void CPlotOverlay::ClearAnnotations() {
    dragged_ = nullptr;
    placing_ = false;
    if (selected_ && selected_->Kind() == CPlotObj::TextKind) SelectObject(nullptr);
    std::erase_if(objects_, [this](const std::unique_ptr<CPlotObj>& o) {
        if (o->Kind() != CPlotObj::TextKind) return false;
        model_.host.ObjectSelected(o->Id(), false);
        return true;
    });
    annotations_.clear();
}

// ---------------------------------------------------------------------------------------------
// Objects

CPlotObj* CPlotOverlay::Find(int id) {
    for (auto& o : objects_)
        if (o->Id() == id) return o.get();
    return nullptr;
}

CPlotTextObj* CPlotOverlay::TextObject(int id) {
    CPlotObj* o = Find(id);
    return o && o->Kind() == CPlotObj::TextKind ? static_cast<CPlotTextObj*>(o) : nullptr;
}

CPlotAnnotation* CPlotOverlay::AnnotationOf(const CPlotObj& object) {
    return Annotation(object.AnnotationIndex());
}

CPlotObj* CPlotOverlay::Create(int kind, bool userText) {
    const int id = ids_.Next([this](int candidate) { return Find(candidate) != nullptr; });
    if (id == 0) return nullptr;
    std::unique_ptr<CPlotObj> made;
    switch (kind) {
    case CPlotObj::LineKind:
        made = std::make_unique<CPlotLineObj>(id);
        break;
    case CPlotObj::PolygonKind:
        made = std::make_unique<CPlotPolygonObj>(id);
        break;
    case CPlotObj::TextKind:
        made = std::make_unique<CPlotTextObj>(id, userText);
        break;
    default:
        made = std::make_unique<CPlotObj>(id, CPlotObj::PlainKind);
        break;
    }
    CPlotObj* object = objects_.emplace_back(std::move(made)).get();
    object->Init(*this);
    return object;
}

CPlotTextObj* CPlotOverlay::CreateTextObject(int annotation, bool userText) {
    auto* text = static_cast<CPlotTextObj*>(Create(CPlotObj::TextKind, userText));
    if (text) text->SetAnnotationIndex(annotation);
    return text;
}

void CPlotOverlay::Restore(std::vector<std::unique_ptr<CPlotAnnotation>> annotations,
                           std::vector<std::unique_ptr<CPlotObj>> objects) {
    ClearAnnotations();
    SelectObject(nullptr);
    for (const auto& o : objects_)
        model_.host.ObjectSelected(o->Id(), false);
    objects_ = std::move(objects);
    annotations_ = std::move(annotations);
}

void CPlotOverlay::SelectObject(CPlotObj* object) {
    if (selected_ == object) return;
    if (CPlotObj* previous = std::exchange(selected_, object)) {
        previous->SetSelected(*this, false);
        model_.host.ObjectSelected(previous->Id(), false);
    }
    if (selected_) {
        selected_->SetSelected(*this, true);
        model_.host.ObjectSelected(selected_->Id(), true);
    }
}

void CPlotOverlay::DeleteObject(int id) {
    auto it = std::find_if(objects_.begin(), objects_.end(),
                           [id](const std::unique_ptr<CPlotObj>& o) { return o->Id() == id; });
    if (it == objects_.end()) return;
    if (selected_ == it->get()) SelectObject(nullptr);
    std::unique_ptr<CPlotObj> object = std::move(*it);
    objects_.erase(it);
    object->Release(*this);
    model_.host.ObjectSelected(id, false); // no longer highlighted either
    Log(Format(" Delete ID:%d\r\n", id));
}

// ---------------------------------------------------------------------------------------------
// The host's operations

int CPlotOverlay::AddText(const std::string& text, double x, double y, int color, int alignment,
                          const CPlotFont* font) {
    CPlotTextObj* object = CreateTextObject(-1, true);
    if (!object) return 0;
    CPlotAnnotation::Attributes a;
    a.color = color;
    a.alignment = alignment;
    a.arrowSize = 0;
    auto annotation = std::make_unique<CPlotAnnotation>(AnnotationText::Convert(text), font, a);
    annotation->SetPosition({x, y, 0, 0, 0});
    annotation->SetUnplaced(false);
    const int index = AddAnnotation(std::move(annotation));
    object->SetAnnotationIndex(index);
    Log(Format(" AddText (%d)\r\n", index));
    return object->Id();
}

bool CPlotOverlay::ChangeText(int id, const std::string& text, double x, double y, int attached) {
    CPlotTextObj* object = TextObject(id);
    if (!object) return false;
    const int mode = attached >= 0 ? CPlotAnnotation::AtPoint : CPlotAnnotation::Free;
    CPlotAnnotation* a = AnnotationOf(*object);
    if (!a) {
        // A text object without text yet: a new annotation as AddText makes it.
        CPlotAnnotation::Attributes attributes;
        attributes.attachMode = mode;
        attributes.arrowSize = 2;
        auto made = std::make_unique<CPlotAnnotation>(
            AnnotationText::Convert(text), &model_.fonts[CPlotLook::DrawingFont], attributes);
        made->SetPosition({x, y, 0, 0, 0});
        made->SetUnplaced(false);
        const int index = AddAnnotation(std::move(made));
        object->SetAnnotationIndex(index);
        Log(Format(" AddText (%d)\r\n", index));
        a = Annotation(index);
    } else {
        CPlotAnnotation::Position p = a->GetPosition();
        p.x = x;
        p.y = y;
        a->SetPosition(p);
        a->SetText(AnnotationText::Convert(text));
        CPlotAnnotation::Attributes attributes = a->GetAttributes();
        attributes.attachMode = mode;
        a->SetAttributes(attributes);
    }
    a->SetPendingAttachMode(attached >= 0 ? attached : -1);
    return true;
}

int CPlotOverlay::AddPlacingText(const std::string& text, const CPlotFont* font,
                                 const CPlotAnnotation::Attributes& attributes) {
    CPlotTextObj* object = CreateTextObject(-1, true);
    if (!object) return 0;
    auto annotation = std::make_unique<CPlotAnnotation>(text, font, attributes);
    annotation->EnableTagHandle(true);
    object->SetAnnotationIndex(AddAnnotation(std::move(annotation)));
    std::string line = Format(" AddText ID:%d (", object->Id());
    line += text;
    line += ")\r\n";
    Log(line);
    BeginPlacing();
    return object->Id();
}

bool CPlotOverlay::ModifyText(const std::string& oldText, const std::string& newText) {
    bool changed = false;
    for (auto& a : annotations_) {
        if (a->Text() != oldText) continue;
        a->SetText(newText);
        changed = true;
    }
    return changed;
}

bool CPlotOverlay::SetTextAttribute(int id, int color, int alignment, int angle,
                                    const CPlotFont* font, int style) {
    CPlotTextObj* object = TextObject(id);
    CPlotAnnotation* a = object ? AnnotationOf(*object) : nullptr;
    if (!a) return false;
    CPlotAnnotation::Attributes attributes = a->GetAttributes();
    attributes.color = color;
    attributes.angle = angle;
    attributes.alignment = alignment;
    attributes.transparentText = style >> 3;
    a->SetAttributes(attributes);
    a->SetFont(font);
    return true;
}

int CPlotOverlay::NewLine(int color, int lineType, int marker, int markerSize, int direction) {
    CPlotObj* object = Create(CPlotObj::LineKind);
    if (!object) return 0;
    object->SetAttributes(*this, color, lineType, marker, markerSize, direction, 255);
    return object->Id();
}

int CPlotOverlay::NewPolygon(int color, int fillMode) {
    CPlotObj* object = Create(CPlotObj::PolygonKind);
    if (!object) return 0;
    object->SetAttributes(*this, color, fillMode, 0, 0, 0, 255);
    return object->Id();
}

bool CPlotOverlay::SetXYData(int id, int dataNo, double x, double y) {
    CPlotObj* object = Find(id);
    if (!object) return false;
    object->SetXYData(*this, dataNo, x, y);
    ResnapCurveTags();
    return true;
}

bool CPlotOverlay::GetXYData(int id, int dataNo, double& x, double& y) {
    CPlotObj* object = Find(id);
    return object && object->GetXYData(*this, dataNo, x, y);
}

bool CPlotOverlay::SetLineAttribute(int id, int color, int lineType, int marker, int markerSize,
                                    int direction, int mask) {
    CPlotObj* object = Find(id);
    if (!object) return false;
    object->SetAttributes(*this, color, lineType, marker, markerSize, direction, mask);
    return true;
}

int CPlotOverlay::SetObject(int id, int value, int mask) {
    if (id > kLastBuiltInId) {
        CPlotObj* object = Find(id);
        if (!object) return 0;
        if (value == -1) {
            DeleteObject(id);
            return -1;
        }
        return object->SetObject(*this, value, mask);
    }
    CPlotLook& m = model_;
    std::vector<CPlotRegion*> regions;
    if (id == kTitleId) {
        regions.push_back(m.titleRegion.get());
    } else if (id == kLabelsId) {
        if (mask & 1) m.labelsHidden = !(value & 1);
        regions.push_back(m.xLabelRegion.get());
        for (auto& r : m.yLabelRegions)
            regions.push_back(r.get());
    } else if (id == kAxesId) {
        if (mask & 1) m.axesHidden = !(value & 1);
        regions.push_back(m.xAxisRegion.get());
        for (auto& r : m.yAxisRegions)
            regions.push_back(r.get());
    } else {
        return 0; // the other built-in IDs name nothing yet
    }
    int answer = 0;
    bool first = true;
    for (CPlotRegion* r : regions) {
        if (!r) continue;
        const int state = r->SetVisibility(value, mask);
        if (first) answer = state;
        first = false;
    }
    m.layoutDirty = 1;
    return answer;
}

int CPlotOverlay::TimeStampIndex() const {
    for (int i = 0; i < AnnotationCount(); ++i)
        if (annotations_[size_t(i)]->TimeStamp()) return i;
    return -1;
}

void CPlotOverlay::SetTimeStamp(bool on, const std::string& stampText, const CPlotFont* font) {
    int index = TimeStampIndex();
    if (!on) {
        RemoveAnnotation(index);
        return;
    }
    if (index < 0) {
        auto made = std::make_unique<CPlotAnnotation>(" ", font, CPlotAnnotation::Attributes{});
        made->SetPosition({kStampX, kStampY, 0, 0, 0});
        made->SetUnplaced(false);
        made->SetTimeStamp(true);
        index = AddAnnotation(std::move(made));
        CreateTextObject(index, false);
    }
    CPlotAnnotation& stamp = *Annotation(index);
    stamp.hidden = 0;
    stamp.SetText(stampText);
}

void CPlotOverlay::Rotate(int direction) {
    for (auto& o : objects_)
        o->Rotate(*this, direction);
}

void CPlotOverlay::ResnapCurveTags() {
    resnap_ = true;
}

void CPlotOverlay::CurvePointsRewound() {
    for (int i = AnnotationCount() - 1; i >= 0; --i)
        if (annotations_[size_t(i)]->GetAttributes().attachMode == CPlotAnnotation::OnCurve)
            RemoveAnnotation(i);
}

// ---------------------------------------------------------------------------------------------
// Paint

void CPlotOverlay::Draw(CPlotPaintContext& ctx) {
    if (resnap_) {
        // Curve tags snap to the data as it is now.
        resnap_ = false;
        for (auto& a : annotations_) {
            if (a->GetAttributes().attachMode != CPlotAnnotation::OnCurve) continue;
            a->Detach(ctx, *this);
            a->Attach(ctx, *this, CPlotAnnotation::OnCurve);
        }
    }
    for (auto& a : annotations_)
        a->Paint(ctx, *this, false);
    shapes_.Draw(ctx);
}

// ---------------------------------------------------------------------------------------------
// Pointer and keys

bool CPlotOverlay::Hits(CPlotObj& o, gdi::Point p) {
    CPlotAnnotation* a = AnnotationOf(o);
    if (o.Kind() == CPlotObj::TextKind && (!a || a->hidden || a->Unplaced())) return false;
    return o.HitTest(*this, p);
}

CPlotObj* CPlotOverlay::HitObject(gdi::Point p) {
    // Newest first; a repeated click passes the selected object and cycles down the stack.
    bool passed = selected_ == nullptr;
    for (auto it = objects_.rbegin(); it != objects_.rend(); ++it) {
        if (!passed) {
            passed = it->get() == selected_;
            continue;
        }
        if (Hits(**it, p)) return it->get();
    }
    for (auto it = objects_.rbegin(); it != objects_.rend(); ++it)
        if (Hits(**it, p)) return it->get();
    return nullptr;
}

int CPlotOverlay::DoubleClickAt(gdi::Point p) {
    // The selected object first, then the others.
    CPlotObj* hit = selected_ && Hits(*selected_, p) ? selected_ : HitObject(p);
    if (!hit) return 0;
    SelectObject(hit);
    return hit->Id();
}

int CPlotOverlay::Press(CPlotPaintContext& ctx, gdi::Point p, int keyFlags) {
    // 1. The placing click of a text made by the dialog.
    if (placing_ && !annotations_.empty()) {
        placing_ = false;
        CPlotAnnotation& a = *annotations_.back();
        if (a.Attached())
            a.AttachAt(ctx, *this, p);
        else
            a.StorePosition(ctx, *this, p);
        a.Layout(ctx, *this);
        a.BeginDrag(p);
        dragged_ = &a;
        return kPlacingDrag;
    }
    // 2. The drawing tool, the shape being drawn and the shapes.
    if (const int mode = shapes_.Press(ctx, p, keyFlags); mode != CPlotLook::kNoMouseMode) {
        SelectObject(nullptr);
        return mode;
    }
    // The tag handle of the selected text takes the press before the objects.
    if (selected_ && selected_->Kind() == CPlotObj::TextKind)
        if (CPlotAnnotation* a = AnnotationOf(*selected_);
            a && !a->hidden && a->BeginDrag(p) == CPlotAnnotation::kTagDrag) {
            dragged_ = a;
            return CPlotAnnotation::kTagDrag;
        }
    // 3. The objects, newest first.
    CPlotObj* hit = HitObject(p);
    SelectObject(hit);
    if (!hit) return CPlotLook::kNoMouseMode;
    CPlotAnnotation* a = AnnotationOf(*hit);
    if (hit->Kind() != CPlotObj::TextKind || !a) return CPlotLook::kNoDragMode;
    const int code = a->BeginDrag(p);
    if (code == 0) return CPlotLook::kNoDragMode;
    dragged_ = a;
    return code == CPlotAnnotation::kTagDrag ? CPlotAnnotation::kTagDrag : CPlotLook::kMoveMode;
}

static bool OwnDrag(int mode) {
    return mode == CPlotLook::kMoveMode || mode == CPlotAnnotation::kTagDrag ||
           mode == CPlotOverlay::kPlacingDrag;
}

bool CPlotOverlay::Drag(CPlotPaintContext& ctx, int mode, gdi::Point p, int& cursor) {
    if (shapes_.Drag(ctx, mode, p, cursor)) return true;
    if (!dragged_ || !OwnDrag(mode)) return false;
    dragged_->TrackDrag(ctx, p, mode == CPlotAnnotation::kTagDrag ? mode : 1);
    cursor = kSizeAllCursor;
    return true;
}

bool CPlotOverlay::Release(CPlotPaintContext& ctx, int mode, gdi::Point p, bool& repaint) {
    if (shapes_.Release(ctx, mode, p, repaint)) {
        changed_ = true;
        return true;
    }
    if (!dragged_ || !OwnDrag(mode)) return false;
    CPlotAnnotation& a = *std::exchange(dragged_, nullptr);
    if (mode == kPlacingDrag)
        a.FinishPlacing(ctx, *this, p);
    else
        a.EndDrag(ctx, *this, p, mode == CPlotAnnotation::kTagDrag ? mode : 1);
    changed_ = true;
    repaint = true;
    return true;
}

int CPlotOverlay::MenuAt(gdi::Point p) {
    if (const int menu = shapes_.MenuAt(p)) return menu;
    // A text takes the right press: it becomes the selected object and shows the text menu.
    for (auto it = objects_.rbegin(); it != objects_.rend(); ++it) {
        CPlotObj& o = **it;
        CPlotAnnotation* a = AnnotationOf(o);
        if (o.Kind() != CPlotObj::TextKind || !a || a->hidden || !a->HitTest(p.x, p.y)) continue;
        SelectObject(&o);
        return MENU_HOST_TEXT;
    }
    return 0;
}

bool CPlotOverlay::Key(CPlotPaintContext& ctx, int key, bool& repaint) {
    if (shapes_.Key(ctx, key, (ctx.keyFlags & ui::ModShift) != 0, repaint)) {
        changed_ = true;
        return true;
    }
    if (!selected_) return false;
    if (key == ui::VK_DELETE) {
        model_.host.RunCommand(ID_DELETE);
        return true;
    }
    CPlotAnnotation* a = AnnotationOf(*selected_);
    if (!a) return false;
    int dx = 0, dy = 0;
    switch (key) {
    case ui::VK_LEFT:
        dx = -kKeyStep;
        break;
    case ui::VK_RIGHT:
        dx = kKeyStep;
        break;
    case ui::VK_UP:
        dy = -kKeyStep;
        break;
    case ui::VK_DOWN:
        dy = kKeyStep;
        break;
    default:
        return false;
    }
    a->MoveBy(ctx, *this, dx, dy);
    changed_ = true;
    repaint = true;
    return true;
}

bool CPlotOverlay::SelectInside(const gdi::Rect& box) {
    const bool shapes = shapes_.SelectInside(box);
    for (auto& a : annotations_) {
        if (a->hidden || !a->LaidOut()) continue;
        if (PlotGeometry::InsideBand(box,
                                     {a->rect.left, a->rect.top, a->rect.right, a->rect.bottom}))
            a->SetSelected(true);
    }
    return shapes;
}

const std::string* CPlotOverlay::TooltipAt(gdi::Point p) const {
    if (placing_ && !annotations_.empty())
        return annotations_.back()->Attached() ? &kPlaceTagPrompt : &kPlaceTextPrompt;
    if (!selected_ || selected_->Kind() != CPlotObj::TextKind) return nullptr;
    const int index = selected_->AnnotationIndex();
    const bool onHandle =
        index >= 0 && index < AnnotationCount() && annotations_[size_t(index)]->OnTagHandle(p);
    return onHandle ? &kTagHandleTip : nullptr;
}

bool CPlotOverlay::DrawInverted(CPlotPaintContext& ctx, int id) {
    CPlotObj* object = Find(id);
    if (!object) return false;
    object->DrawInverted(ctx, *this);
    return true;
}

CPlotTextObj* CPlotOverlay::DeletableText() {
    if (!selected_ || selected_->Kind() != CPlotObj::TextKind) return nullptr;
    auto* text = static_cast<CPlotTextObj*>(selected_);
    return text->UserText() ? text : nullptr;
}

// ---------------------------------------------------------------------------------------------
// The plot as annotations see it

CPlotRegion::Rect CPlotOverlay::DrawingRect() const {
    return model_.drawingRegion ? model_.drawingRegion->rect : CPlotRegion::Rect{};
}

gdi::Size CPlotOverlay::ControlSize() const {
    return {model_.bufferWidth, model_.bufferHeight};
}

bool CPlotOverlay::TagToDevice(CPlotPaintContext& ctx, double x, double y, int tagVariable,
                               gdi::Point& p) {
    return model_.PlotToDevice(ctx, x, y, tagVariable, p);
}

bool CPlotOverlay::DeviceToPlot(CPlotPaintContext& ctx, gdi::Point p, int tagVariable, double& x,
                                double& y) {
    return model_.DeviceToPlot(ctx, p, tagVariable, x, y);
}

bool CPlotOverlay::InView(double x, double y, int tagVariable) {
    return model_.InPlotView(x, y, tagVariable);
}

bool CPlotOverlay::NearestCurve(CPlotPaintContext& ctx, gdi::Point a, double& detour, int& varNo,
                                double& x, double& y) {
    return model_.NearestCurvePoint(ctx, a, detour, varNo, x, y);
}

bool CPlotOverlay::Flipped() const {
    return model_.flipped != 0;
}

bool CPlotOverlay::ViewMoved() const {
    auto moved = [](const CPlotAxis* a) {
        return a && (a->viewMin != a->fullMin || a->viewMax != a->fullMax);
    };
    CPlotLook& m = model_;
    if (moved(m.Axis(0))) return true;
    for (int k = 1; k <= m.NYAxes(); ++k)
        if (moved(m.Axis(k))) return true;
    return false;
}

std::string CPlotOverlay::Shown(const std::string& text) {
    return model_.ExpandSymbols(text);
}
