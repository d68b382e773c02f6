// The control's members are spread over files by concern: this one holds construction, the
// steps every member shares, model creation and sizing; TrendixProperties.cpp the property
// setters; TrendixAxes.cpp labels, legends, axes and attributes; TrendixData.cpp drawing,
// scrolling, samples and variable names; TrendixObjects.cpp text annotations and host objects;
// TrendixCommands.cpp settings, menus, commands and the scroll bars; TrendixInput.cpp the mouse
// and keys; TrendixDraw.cpp painting; TrendixPersist.cpp the property set; TrendixFiles.cpp
// input files.

#include "control/TrendixCtrl.h"

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
        variableNames_[size_t(i)] = "Var. " + std::to_string(i + 1);
        if (CPlotVar* v = model_ ? model_->YVar(i) : nullptr) v->SetName(variableNames_[size_t(i)]);
    }
}

void CTrendixCtrl::FireCaption() {
    Fire(EV_SetCaption, {com::Variant::Str(trimmedTitle_.empty() ? "     " : trimmedTitle_)});
}

// ---------------------------------------------------------------------------------------------
// Window

void CTrendixCtrl::OnSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
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
        } catch (const com::DispatchError&) {
            // A file that cannot be read leaves the plot as it is; there is no caller to tell.
        }
    }
}
