#include "control/TrendixCtrl.h"

#include "annot/AnnotationText.h"
#include "pages/PlotAnnotationPropSheet.h"
#include "pages/PlotDelCurveDlg.h"
#include "pages/PlotSimpleInputDlg.h"
#include "platform/com/DispatchError.h"
#include "render/DrawTool.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

constexpr int kDefaultTextSize = 10; // points, when a size of 0 or less is given
constexpr int kFontStyleBits = 7;    // italic, bold, underline; bit 3 is transparency
constexpr char kDeleteQuestion[] = "Are you sure?";
constexpr char kDeleteCaption[] = "Delete Text";
constexpr char kLabelQuestion[] = "Changing the label text?";

// An angle in 0..359.
int NormalAngle(int angle) {
    return (angle % 360 + 360) % 360;
}

void CheckColor(int color) {
    if (color < 0 || color >= CDrawTool::Instance().ColorCount())
        throw com::DispatchError(com::E_INVALIDARG, "The colour index is outside the palette");
}

// The flag field of a SETOBJECT line: one character for each of the mask bits 8, 4, 2, 1.
std::string FlagField(int value, int mask) {
    std::string flags;
    for (int bit : {8, 4, 2, 1})
        flags += !(mask & bit) ? ' ' : (value & bit) ? 'o' : 'x';
    return flags;
}

std::string IdLine(const char* pattern, int id, const std::string& text) {
    return std::string(pattern) + std::to_string(id) + " (" + text + ")\r\n";
}

// A stored annotation text as the user types it: line breaks as "\n", backslashes doubled,
// so that the text conversion gives the stored text back.
std::string TypedText(const std::string& stored) {
    std::string typed;
    bool first = true;
    for (std::string_view line : AnnotationText::Lines(stored)) {
        if (!first) typed += "\\n";
        first = false;
        for (char ch : line) {
            if (ch == '\\') typed += '\\';
            typed += ch;
        }
    }
    return typed;
}

// What the text sheet starts with: a text, an annotation's attributes and a font.
AnnotationSetting SheetSetting(std::string text, const CPlotAnnotation::Attributes& attributes,
                               const CPlotFont& font) {
    AnnotationSetting setting;
    setting.text = std::move(text);
    setting.color = attributes.color;
    setting.angle = attributes.angle;
    setting.alignment = attributes.alignment;
    setting.attachMode = attributes.attachMode;
    setting.arrowSize = attributes.arrowSize;
    setting.face = font.face;
    setting.size = font.size;
    setting.style = font.style;
    return setting;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Helpers

CPlotOverlay& CTrendixCtrl::Overlay() {
    CPlotLook& m = EnsureModel();
    if (!m.overlay) m.overlay = std::make_unique<CPlotOverlay>(m, objectIds_);
    auto& overlay = static_cast<CPlotOverlay&>(*m.overlay);
    overlay.SetTextMode(textMode_);
    return overlay;
}

int CTrendixCtrl::SelectedObjectId() const {
    if (!model_ || !model_->overlay) return 0;
    const CPlotObj* o = static_cast<CPlotOverlay&>(*model_->overlay).SelectedObject();
    return o ? o->Id() : 0;
}

const CPlotFont* CTrendixCtrl::TextFont(const std::string& face, int size, int angle, int style) {
    const CPlotFont& drawing = EnsureModel().fonts[CPlotLook::DrawingFont];
    return &CDrawTool::Instance().FindFont(face.empty() ? drawing.face : face,
                                           size > 0 ? size : kDefaultTextSize, angle, style);
}

void CTrendixCtrl::ObjectsChanged() {
    MarkModified();
    Fire(EV_Modified);
    if (!loading_) Repaint();
}

// A line or polygon was made (id 0: none was): logged, and the variable counts follow the
// variables it took. The object's variables get no name, so no legend entry either: the host
// gives one with SetLegend(ID, text) when it wants it.
std::int16_t CTrendixCtrl::XYObjectMade(const char* logPrefix, int id) {
    if (id == 0) return 0;
    WriteLog(logPrefix + std::to_string(id) + "\r\n");
    props_.nvariables = std::int16_t(EnsureModel().NYVars());
    props_.nxvariables = std::int16_t(EnsureModel().NXVars());
    Repaint();
    return std::int16_t(id);
}

void CTrendixCtrl::ReportObjectChanges() {
    if (model_ && model_->overlay && Overlay().TakeChange()) ObjectsChanged();
}

// ---------------------------------------------------------------------------------------------
// Text annotations

std::int16_t CTrendixCtrl::AddText(const std::string& text, float x, float y, std::int16_t color,
                                   std::int16_t alignment, const std::string& fontname,
                                   std::int16_t size, std::int16_t style) {
    CheckColor(color);
    const CPlotFont* font =
        fontname.empty() ? DefaultTextFont() : TextFont(fontname, size, 0, style & kFontStyleBits);
    const int id = Overlay().AddText(text, x, y, color, std::clamp<int>(alignment, 0, 2), font);
    ObjectsChanged();
    return std::int16_t(id);
}

void CTrendixCtrl::SetTextMode(std::int16_t mode) {
    textMode_ = mode;
    if (model_ && model_->overlay) {
        Overlay();
        Repaint();
    }
}

void CTrendixCtrl::ModifyText(const std::string& oldText, const std::string& newText) {
    if (Overlay().ModifyText(oldText, newText)) Repaint();
}

std::int16_t CTrendixCtrl::NewText(const std::string& text, double x, double y,
                                   std::int16_t attached) {
    CPlotObj* object = Overlay().Create(CPlotObj::TextKind);
    if (!object) return 0;
    const int id = object->Id();
    WriteLog(IdLine("NEWTEXT ID:", id, text));
    Overlay().ChangeText(id, text, x, y, attached);
    Repaint();
    return std::int16_t(id);
}

void CTrendixCtrl::ChangeText(std::int16_t objectId, const std::string& text, double x, double y,
                              std::int16_t attached) {
    WriteLog(IdLine("CHANGETEXT ID:", objectId, text));
    if (Overlay().ChangeText(objectId, text, x, y, attached)) Repaint();
}

void CTrendixCtrl::SetTextAttribute(std::int16_t objectId, std::int16_t color,
                                    std::int16_t alignment, std::int16_t angle,
                                    const std::string& fontname, std::int16_t size,
                                    std::int16_t style) {
    CheckColor(color);
    const int turned = NormalAngle(angle);
    const CPlotFont* font = TextFont(fontname, size, turned, style & kFontStyleBits);
    if (Overlay().SetTextAttribute(objectId, color, std::clamp<int>(alignment, 0, 2), turned, font,
                                   style))
        Repaint();
}

void CTrendixCtrl::AddTextDialog() {
    RunAddText();
}

void CTrendixCtrl::HideVariableDialog() {
    RunHideVariables();
}

const CPlotFont* CTrendixCtrl::DefaultTextFont() {
    return TextFont(defaultTextFace_, defaultTextSize_, 0, defaultTextStyle_);
}

void CTrendixCtrl::RunAddText() {
    CPlotLook& m = EnsureModel();
    // 1. A selected label is edited instead.
    if (auto* label = dynamic_cast<CPlotLabelRgn*>(m.selectedRegion)) {
        EditLabelText(*label);
        return;
    }
    // 2. The sheet, with the last attributes chosen and the default font.
    const CPlotFont& font = *DefaultTextFont();
    const AnnotationSetting setting = SheetSetting({}, textDefaults_, font);
    CPlotAnnotationPropSheet sheet(setting, site_);
    if (!site_.ShowPropertySheet(CPlotAnnotationPropSheet::kCaption, sheet.Pages())) return;
    const AnnotationSetting& chosen = sheet.Setting();
    defaultTextFace_ = chosen.face;
    defaultTextSize_ = chosen.size;
    defaultTextStyle_ = chosen.style & kFontStyleBits;
    if (chosen.text.empty()) return;
    textDefaults_ = {chosen.attachMode, chosen.color,     NormalAngle(chosen.angle),
                     chosen.arrowSize,  chosen.alignment, 0};
    // 3. The text waits for its placing click, with a prompt over the whole control.
    const CPlotFont* turned =
        TextFont(chosen.face, chosen.size, textDefaults_.angle, defaultTextStyle_);
    if (Overlay().AddPlacingText(AnnotationText::Convert(chosen.text), turned, textDefaults_) == 0)
        return;
    gdi::Point at = lastPointer_;
    if (at.x < 0) at = {extentWidth_ / 2, extentHeight_ / 2};
    if (const std::string* prompt = m.TooltipAt(at)) {
        tooltipShown_ = *prompt;
        site_.ShowTooltip(tooltipShown_, at.x, at.y);
    }
}

void CTrendixCtrl::EditLabelText(CPlotLabelRgn& label) {
    CPlotSimpleInputDlg dialog(kLabelQuestion, label.label.text, site_);
    dialog.Activate();
    if (!site_.ShowPropertySheet(CPlotSimpleInputDlg::kCaption, {&dialog})) return;
    const std::string text = dialog.Text();
    label.label.text = text;
    switch (label.kind) {
    case CPlotRegion::Title:
        SetTitle(text);
        break;
    case CPlotRegion::XLabel:
        Setxlabel(text);
        break;
    case CPlotRegion::YLabel:
        if (label.axisNo >= 0) SetLabel(std::int16_t(label.axisNo), text);
        break;
    default:
        break;
    }
    EnsureModel().layoutDirty = 1;
    Repaint();
}

void CTrendixCtrl::EditAnnotation(CPlotAnnotation& annotation) {
    CPlotAnnotation* a = &annotation;
    const CPlotAnnotation::Attributes now = a->GetAttributes();
    const CPlotFont& font = a->Font() ? *a->Font() : *DefaultTextFont();
    const AnnotationSetting setting = SheetSetting(TypedText(a->Text()), now, font);
    CPlotAnnotationPropSheet sheet(setting, site_);
    if (!site_.ShowPropertySheet(CPlotAnnotationPropSheet::kCaption, sheet.Pages())) return;
    const AnnotationSetting& chosen = sheet.Setting();
    if (chosen == setting) return;
    // An emptied text keeps the old one: a text annotation is deleted with Delete.
    if (!chosen.text.empty()) a->SetText(AnnotationText::Convert(chosen.text));
    CPlotAnnotation::Attributes attributes = now;
    attributes.color = chosen.color;
    attributes.angle = NormalAngle(chosen.angle);
    attributes.alignment = chosen.alignment;
    attributes.arrowSize = chosen.arrowSize;
    a->SetAttributes(attributes);
    // A new attachment mode is taken at the next layout, where the plot can be measured.
    if (chosen.attachMode != now.attachMode) a->SetPendingAttachMode(chosen.attachMode);
    a->SetFont(TextFont(chosen.face, chosen.size, attributes.angle, chosen.style & kFontStyleBits));
    // A time stamp edited by hand no longer shows the date and time of its refresh.
    if (a->TimeStamp()) {
        EnsureModel().SetSymbol("DATE", "");
        EnsureModel().SetSymbol("TIME", "");
    }
    a->RequestLayout();
    ObjectsChanged();
}

bool CTrendixCtrl::RunHideVariables() {
    CPlotLook& m = EnsureModel();
    // The plot's own variables; a host object's are shown and hidden through SetObject.
    std::vector<CPlotDelCurveDlg::Variable> variables;
    for (int i = 0; i < m.NYVars(); ++i) {
        const CPlotVar& v = *m.YVar(i);
        if (!v.hostObject) variables.push_back({i + 1, v.name, v.hidden != 0});
    }
    CPlotDelCurveDlg dialog(variables, site_);
    dialog.Activate();
    if (!site_.ShowPropertySheet(CPlotDelCurveDlg::kCaption, {&dialog})) return false;
    bool changed = false;
    for (const CPlotDelCurveDlg::Variable& v : dialog.Variables()) {
        CPlotVar& var = *m.YVar(v.number - 1);
        if ((var.hidden != 0) == v.hidden) continue;
        var.hidden = v.hidden;
        changed = true;
    }
    if (!changed) return false;
    m.legendDirty = m.rangeDirty = m.dataDirty = m.layoutDirty = 1;
    MarkModified();
    Repaint();
    return true;
}

// ---------------------------------------------------------------------------------------------
// Host lines and polygons

std::int16_t CTrendixCtrl::NewLine(std::int16_t color, std::int16_t linetype, std::int16_t marker,
                                   std::int16_t markerSize, std::int16_t direction) {
    CheckColor(color);
    return XYObjectMade("NEWLINE ID:",
                        Overlay().NewLine(color, linetype, marker, markerSize, direction));
}

std::int16_t CTrendixCtrl::NewPolygon(std::int16_t color, std::int16_t fillmode) {
    CheckColor(color);
    return XYObjectMade("NEWPOLYGON ID:", Overlay().NewPolygon(color, fillmode));
}

// DataNo beyond CPlotXYObj::kMaxDataNo, or negative, stores nothing.
void CTrendixCtrl::SetXYData(std::int16_t objectId, std::int16_t dataNo, double x, double y) {
    if (Overlay().SetXYData(objectId, dataNo, x, y)) Repaint();
}

bool CTrendixCtrl::GetXYData(std::int16_t objectId, std::int16_t dataNo, double& x, double& y) {
    return Overlay().GetXYData(objectId, dataNo, x, y);
}

void CTrendixCtrl::SetLineAttribute(std::int16_t objectId, std::int16_t color,
                                    std::int16_t linetype, std::int16_t marker,
                                    std::int16_t markerSize, std::int16_t direction,
                                    std::int16_t mask) {
    if (mask & 1) CheckColor(color);
    if (Overlay().SetLineAttribute(objectId, color, linetype, marker, markerSize, direction, mask))
        Repaint();
}

std::int16_t CTrendixCtrl::SetObject(std::int16_t objectId, std::int16_t value, std::int16_t mask) {
    if (value == -1)
        WriteLog("SETOBJECT (DELETE) ID:" + std::to_string(objectId) + "\r\n");
    else
        WriteLog("SETOBJECT (" + FlagField(value, mask) + ") ID:" + std::to_string(objectId) +
                 "\r\n");
    const int answer = Overlay().SetObject(objectId, value, mask);
    Repaint();
    FireSelection();
    return std::int16_t(answer);
}

// ---------------------------------------------------------------------------------------------
// Time stamp and deleting

std::string CTrendixCtrl::TimeStampText() const {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const locale::Locale& l = env_.locale;
    return l.FormatTime(local) + " " + l.FormatDate(local);
}

void CTrendixCtrl::ApplyTimeStamp(bool on) {
    Overlay().SetTimeStamp(on, TimeStampText(), DefaultTextFont());
    Repaint();
}

void CTrendixCtrl::DeleteSelectedText() {
    if (!model_ || !model_->overlay) return;
    CPlotTextObj* text = Overlay().DeletableText();
    if (!text) return;
    if (site_.MessageBox(kDeleteQuestion, kDeleteCaption, ui::OkCancel) != ui::IdOk) return;
    SetObject(std::int16_t(text->Id()), -1, 0);
    ObjectsChanged();
}

// ---------------------------------------------------------------------------------------------
// Edit log

void CTrendixCtrl::OpenLog(const std::string& fileName) {
    CloseLog();
    log_.open(fileName, std::ios::binary | std::ios::trunc);
    if (!log_) log_ = std::ofstream(); // a file that cannot be made leaves no log open
}

void CTrendixCtrl::CloseLog() {
    if (log_.is_open()) log_.close();
}

void CTrendixCtrl::WriteLog(const std::string& line) {
    if (!log_.is_open()) return;
    log_ << line;
    log_.flush();
}
