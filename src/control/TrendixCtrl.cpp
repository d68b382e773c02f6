// The control's members are spread over files by concern: this one holds construction, the
// steps every member shares, model creation and sizing; TrendixProperties.cpp the property
// setters; TrendixAxes.cpp labels, legends, axes and attributes; TrendixData.cpp drawing,
// scrolling, samples and variable names; TrendixObjects.cpp text annotations and host objects;
// TrendixCommands.cpp settings, menus, commands and the scroll bars; TrendixInput.cpp the mouse
// and keys; TrendixDraw.cpp painting; TrendixPersist.cpp the property set; TrendixFiles.cpp
// input files.

#include "control/TrendixCtrl.h"
#include "render/DrawTool.h"

#include <algorithm>
#include <clocale>
#include <cmath>

namespace {

char LocaleDecimalSeparator() {
    const std::lconv* conv = std::localeconv();
    return conv && conv->decimal_point && conv->decimal_point[0] ? conv->decimal_point[0] : '.';
}

} // namespace

CTrendixCtrl::CTrendixCtrl(ui::IWindowSite& site)
    : site_(site), decimalSeparator_(LocaleDecimalSeparator()) {}

CTrendixCtrl::~CTrendixCtrl() = default;

// ---------------------------------------------------------------------------------------------
// Common steps

void CTrendixCtrl::Repaint() {
    site_.Invalidate(true);
}

void CTrendixCtrl::MarkModified() {
    site_.SetModified();
}

void CTrendixCtrl::Fire(TrendixEvent id, std::initializer_list<com::Variant> args) {
    events_.Fire(id, std::span<const com::Variant>(args.begin(), args.size()));
}

void CTrendixCtrl::Pending(const char* member) const {
    throw com::DispatchError(com::E_NOTIMPL, std::string(member) + " is not available yet");
}

void CTrendixCtrl::CheckSampleBudget(std::int64_t samples) const {
    if (samples > sampleBudget_)
        throw com::DispatchError(com::E_OUTOFMEMORY, "The plot would hold " +
                                                         std::to_string(samples) +
                                                         " samples; this control may hold " +
                                                         std::to_string(sampleBudget_));
}

void CTrendixCtrl::CheckSamplesAfter(std::int64_t after) const {
    if (after > model_->SamplesHeld()) CheckSampleBudget(after);
}

std::int64_t CTrendixCtrl::SamplesResizedTo(std::int64_t perVariable) const {
    return (std::int64_t(std::max(model_->NXVars(), 1)) + std::max(model_->NYVars(), 1)) *
           perVariable;
}

std::int64_t CTrendixCtrl::SamplesWithMoreVariables(int count) const {
    const CPlotLook& m = *model_;
    const bool ring = m.runPlotActive || m.phasePlotActive;
    const std::int64_t perVariable =
        ring ? std::max(props_.BufferSize, 1) : std::max<int>(npoints_, 0);
    return m.SamplesHeld() + std::int64_t(std::max(count, 0)) * perVariable;
}

void CTrendixCtrl::CheckColorIndex(int color) const {
    if (color < 0 || color >= CDrawTool::Instance().ColorCount())
        throw com::DispatchError::InvalidArg("Colour index " + std::to_string(color) +
                                             " is outside the colour table");
}

void CTrendixCtrl::CheckAxisIndex(int axisNo) const {
    if (axisNo < 0) throw com::DispatchError::InvalidArg("Axis number out of range");
}

CPlotLook& CTrendixCtrl::EnsureModel() {
    if (!model_) CreateModel();
    return *model_;
}

void CTrendixCtrl::CreateModel() {
    model_ = std::make_unique<CPlotLook>(*this, &env_);
    CopyPropertiesIntoModel();
    model_->bufferWidth = extentWidth_;
    model_->bufferHeight = extentHeight_;
    GrowVariableNames(props_.nvariables);
}

// The property set is the source of the display settings the model keeps copies of; this takes
// the whole copy (a new model, loaded properties). Each property setter copies its own field,
// and mode changes of the model write forced values back through IPlotHost (docs/design.md,
// "Where display settings live").
void CTrendixCtrl::CopySettingsIntoModel(CPlotLook& m) const {
    m.gridType = props_.GridType;
    m.markerSize = props_.MarkerSize;
    m.markerInterval = props_.MarkerInterval;
    m.squarePlot = props_.SquarePlot;
    m.zeroLine = props_.ZeroLine;
    m.parametric = props_.Parametric;
    m.displayType = props_.DisplayType;
    m.SetBufferSize();
}

void CTrendixCtrl::CopySettingsFromModel() {
    const CPlotLook& m = EnsureModel();
    props_.GridType = std::int16_t(m.gridType);
    props_.MarkerSize = std::int16_t(m.markerSize);
    props_.MarkerInterval = std::int16_t(m.markerInterval);
    props_.SquarePlot = m.squarePlot != 0;
    props_.DiagonalLine = m.diagonalLine != 0;
    props_.ZeroLine = m.zeroLine != 0;
    props_.Flipped = m.flipped != 0;
    props_.Parametric = m.parametric != 0;
    props_.DisplayType = std::int16_t(m.displayType);
}

void CTrendixCtrl::CopyPropertiesIntoModel() {
    CPlotLook& m = *model_;
    CopySettingsIntoModel(m);
    m.SetFlipped(props_.Flipped);
    m.SetDiagonalLine(props_.DiagonalLine);
}

void CTrendixCtrl::GrowVariableNames(int count) {
    const int old = int(variableNames_.size());
    if (count <= old) return;
    variableNames_.resize(size_t(count));
    for (int i = old; i < count; ++i) {
        // A host object's variable stays unnamed and out of the legend.
        CPlotVar* v = model_ ? model_->YVar(i) : nullptr;
        if (v && v->hostObject) continue;
        variableNames_[size_t(i)] = "Var. " + std::to_string(i + 1);
        if (v) v->SetName(variableNames_[size_t(i)]);
    }
}

void CTrendixCtrl::FireCaption() {
    Fire(EV_SetCaption, {com::Variant::Str(trimmedTitle_.empty() ? "     " : trimmedTitle_)});
}

// ---------------------------------------------------------------------------------------------
// Window

// A window larger than the largest surface lays the plot out at the size that fits.
void CTrendixCtrl::OnSize(int width, int height) {
    width = std::clamp(width, 0, gdi::kMaxSurfaceSide);
    height = std::clamp(height, 0, gdi::kMaxSurfaceSide);
    CPlotLook& m = EnsureModel();
    if (width != extentWidth_ || height != extentHeight_) {
        if (m.showLegend) m.legendRegion->sized = 0;
        extentWidth_ = width;
        extentHeight_ = height;
        m.bufferWidth = width;
        m.bufferHeight = height;
        m.layoutDirty = 1;
    }
    if (!props_.InputFile.empty() && !plotDefined_) {
        try {
            SetInputFile(props_.InputFile);
        } catch (const std::exception& e) {
            // A refused file leaves the plot as it is; there is no caller to tell, so the
            // diagnostics hear of it.
            ReportDiagnostic("InputFile " + props_.InputFile + ": " + e.what() + "\n");
        }
    }
    if (printPreview_) ComputePageRect();
}
