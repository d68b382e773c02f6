#include "control/TrendixCtrl.h"

#include "control/PlotSettings.h"
#include "control/TrendixModule.h"
#include "model/MenuTable.h"

#include <algorithm>
#include <clocale>
#include <cmath>

namespace {

constexpr int kCursorIds[16] = {0,     32512, 32515, 32513, 32641, 32640, 32643, 32645,
                                32642, 32644, 32516, 32514, 32648, 32650, 32651, 32646};

std::string Trim(const std::string& s) {
    const char* blanks = " \t\r\n\v\f";
    const size_t first = s.find_first_not_of(blanks);
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

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
    m.SetBufferSize(props_.BufferSize);
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

// ---------------------------------------------------------------------------------------------
// Properties

void CTrendixCtrl::SetTitle(const std::string& v) {
    props_.Title = v;
    trimmedTitle_ = Trim(v);
    EnsureModel().SetTitle(trimmedTitle_);
    FireCaption();
    MarkModified();
    Repaint();
}

void CTrendixCtrl::Setxlabel(const std::string& v) {
    props_.xlabel = v;
    EnsureModel().SetAxisLabelText(0, Trim(v));
    MarkModified();
    Repaint();
}

void CTrendixCtrl::Setylabel(const std::string& v) {
    props_.ylabel = v;
    EnsureModel().SetAxisLabelText(1, Trim(v));
    MarkModified();
    Repaint();
}

void CTrendixCtrl::SetMultiYaxis(bool v) {
    props_.MultiYaxis = v;
}

void CTrendixCtrl::SetRunPlot(bool v) {
    props_.RunPlot = v;
    ApplyRunPlot(v);
    MarkModified();
}

void CTrendixCtrl::ApplyRunPlot(bool on) {
    CPlotLook& m = EnsureModel();
    m.SetRunPlot(on);
    if (on && phasePlot_) SetPhasePlot(false);
}

void CTrendixCtrl::SetPlotType(std::int16_t v) {
    props_.PlotType = v;
    if (EnsureModel().SetPlotKind(v)) {
        Repaint();
        MarkModified();
    }
}

void CTrendixCtrl::SetTimeWindow(float v) {
    if (!(v > 0) || !std::isfinite(v))
        throw com::DispatchError::InvalidArg("TimeWindow must be positive");
    props_.TimeWindow = v;
    CPlotLook& m = EnsureModel();
    if (m.runPlotActive) {
        m.ApplyTimeWindow();
        Repaint();
        MarkModified();
    }
}

void CTrendixCtrl::SetUseVariable(bool v) {
    props_.UseVariable = v;
    MarkModified();
}

void CTrendixCtrl::SetInputFile(const std::string& v) {
    props_.InputFile = v;
    if (v.empty()) return;
    LoadFile(v);
}

void CTrendixCtrl::Setnpoints(std::int16_t v) {
    if (v < 0) throw com::DispatchError::InvalidArg("npoints must not be negative");
    npoints_ = v;
    EnsureModel().SetNPoints(v);
    MarkModified();
}

void CTrendixCtrl::Setnvariables(std::int16_t v) {
    if (v < 0) throw com::DispatchError::InvalidArg("nvariables must not be negative");
    props_.nvariables = v;
    const bool changed = EnsureModel().SetNVariables(v);
    GrowVariableNames(v);
    if (changed) Repaint();
    MarkModified();
}

void CTrendixCtrl::SetTimeScrollUnit(float v) {
    if (!(v >= 0.001f) || v > props_.TimeWindow) v = props_.TimeWindow * 0.2f;
    props_.TimeScrollUnit = v;
    MarkModified();
}

void CTrendixCtrl::SetGridType(std::int16_t v) {
    if (std::uint16_t(v) > 3) v = 0;
    props_.GridType = v;
    EnsureModel().gridType = v;
    MarkModified();
    Repaint();
}

void CTrendixCtrl::SetMarkerSize(std::int16_t v) {
    props_.MarkerSize = v;
    EnsureModel().markerSize = v;
    MarkModified();
    Repaint();
}

void CTrendixCtrl::SetMarkerInterval(std::int16_t v) {
    props_.MarkerInterval = v;
    EnsureModel().markerInterval = v;
    MarkModified();
    Repaint();
}

void CTrendixCtrl::SetFlipped(bool v) {
    props_.Flipped = v;
    EnsureModel().SetFlipped(v);
    MarkModified();
    Repaint();
}

void CTrendixCtrl::SetSquarePlot(bool v) {
    props_.SquarePlot = EnsureModel().SetSquarePlot(v);
    MarkModified();
    Repaint();
}

void CTrendixCtrl::SetDiagonalLine(bool v) {
    props_.DiagonalLine = v;
    EnsureModel().SetDiagonalLine(v);
    MarkModified();
    Repaint();
}

void CTrendixCtrl::SetZeroLine(bool v) {
    props_.ZeroLine = v;
    EnsureModel().zeroLine = v;
    MarkModified();
    Repaint();
}

void CTrendixCtrl::SetDisplayType(std::int16_t v) {
    if (std::uint16_t(v) > 2) v = 2;
    props_.DisplayType = v;
    EnsureModel().displayType = v;
    MarkModified();
    Repaint();
}

void CTrendixCtrl::SetBufferSize(std::int32_t v) {
    if (v < 1 || v > kMaxBufferSize)
        throw com::DispatchError::InvalidArg("BufferSize must lie between 1 and " +
                                             std::to_string(kMaxBufferSize));
    props_.BufferSize = v;
    EnsureModel().SetBufferSize(v);
    MarkModified();
}

void CTrendixCtrl::SetSizeToData(bool v) {
    props_.SizeToData = v;
    MarkModified();
}

void CTrendixCtrl::SetBackColor(std::uint32_t v) {
    backColor_ = v;
    Repaint();
}

void CTrendixCtrl::SetForeColor(std::uint32_t v) {
    foreColor_ = v;
    Repaint();
}

void CTrendixCtrl::SetParametric(bool v) {
    props_.Parametric = v;
    EnsureModel().SetParametric(v, (assigned_ & kShowLegendAssigned) != 0);
    MarkModified();
    Repaint();
}

void CTrendixCtrl::Setnxvariables(std::int16_t v) {
    if (v < 0) throw com::DispatchError::InvalidArg("nxvariables must not be negative");
    props_.nxvariables = v;
    EnsureModel().SetNXVariables(v);
    MarkModified();
}

void CTrendixCtrl::SetReverseXAxis(bool v) {
    props_.ReverseXAxis = v;
    EnsureModel().SetReverseXAxis(v);
    MarkModified();
    Repaint();
}

void CTrendixCtrl::SetAddTimeStamp(bool v) {
    props_.AddTimeStamp = v;
    CContextMenu& menu = EnsureModel().ContextMenu();
    if (v) {
        if (!menu.Contains(ID_ADD_TIMESTAMP))
            menu.InsertBefore(ID_SHOW_LEGEND, RunTimeMenuItem(ID_ADD_TIMESTAMP));
    } else {
        menu.Remove(ID_ADD_TIMESTAMP);
    }
}

void CTrendixCtrl::SetShowLegend(bool v) {
    assigned_ |= kShowLegendAssigned;
    props_.ShowLegend = v;
    EnsureModel().SetShowLegend(v);
    MarkModified();
    Repaint();
}

void CTrendixCtrl::SetCommunicationIntervals(std::int16_t v) {
    props_.CommunicationIntervals = v;
    Fire(EV_CommunicationIntervalsSet, {com::Variant::I2(v)});
    MarkModified();
}

void CTrendixCtrl::SetGridInterval(float v) {
    gridInterval_ = v;
    OnCommand(ID_ZOOM_FULL);
    MarkModified();
}

void CTrendixCtrl::SetVariableDrop(bool v) {
    props_.VariableDrop = v;
    MarkModified();
}

void CTrendixCtrl::SetIgnoreSetLegend(bool v) {
    props_.IgnoreSetLegend = v;
    MarkModified();
}

void CTrendixCtrl::SetEditProfileVariables(bool v) {
    CPlotLook& m = EnsureModel();
    if (CContextMenu* object = m.Menu(MENU_OBJECT);
        object && !object->Contains(ID_PROFILE_VARIABLES))
        object->InsertAt(object->size(), RunTimeMenuItem(ID_PROFILE_VARIABLES));
    CContextMenu& menu = m.ContextMenu();
    if (!menu.Contains(ID_PROFILE_VARIABLES))
        menu.InsertAt(menu.size() >= 2 ? menu.size() - 2 : 0,
                      RunTimeMenuItem(ID_PROFILE_VARIABLES));
    profileVariables_ = v;
}

void CTrendixCtrl::SetEditProfileTable(bool v) {
    CContextMenu& menu = EnsureModel().ContextMenu();
    if (!menu.Contains(ID_PROFILE_TABLE))
        menu.InsertAt(menu.size() >= 2 ? menu.size() - 2 : 0, RunTimeMenuItem(ID_PROFILE_TABLE));
    profileTable_ = v;
    MarkModified();
}

void CTrendixCtrl::SetAlwaysShowFull(bool v) {
    alwaysShowFull_ = v;
    MarkModified();
}

void CTrendixCtrl::SetDummy(int n, std::int16_t v) {
    dummy_[n - 2] = v;
    MarkModified();
}

// ---------------------------------------------------------------------------------------------
// Drawing and scrolling

void CTrendixCtrl::Redraw() {
    if (model_ && (model_->runPlotActive || model_->phasePlotActive)) dataAdded_ = false;
    Repaint();
}

void CTrendixCtrl::Scroll(bool horizontal, std::int16_t type, std::int16_t value) {
    EnsureModel().Scroll(horizontal, type, value);
    MarkModified();
    Repaint();
}

void CTrendixCtrl::GetScroll(bool horizontal, std::int16_t& minValue, std::int16_t& maxValue) {
    int p0 = minValue, p1 = maxValue;
    EnsureModel().GetScroll(horizontal, p0, p1);
    minValue = std::int16_t(p0);
    maxValue = std::int16_t(p1);
}

void CTrendixCtrl::UpdateAxis() {
    EnsureModel().dataDirty = 1;
    Repaint();
}

void CTrendixCtrl::Zoom(std::int16_t mode) {
    static constexpr int kCommands[] = {0, ID_ZOOM_IN, ID_ZOOM_OUT, ID_ZOOM_FULL, ID_ZOOM_REGION};
    if (mode >= 1 && mode <= 4) OnCommand(kCommands[mode]);
}

bool CTrendixCtrl::IsRegionDefined() {
    return model_ && model_->drawingRegion->zoomBoxShown;
}

void CTrendixCtrl::Rotate(std::int16_t direction) {
    EnsureModel().Rotate(direction);
    Repaint();
}

// ---------------------------------------------------------------------------------------------
// Time and phase data

void CTrendixCtrl::AddTimeData(std::int16_t varNo, double time, double value) {
    CPlotLook& m = EnsureModel();
    if (props_.nvariables == 0) props_.nvariables = std::int16_t(m.NYVars());
    if (varNo < 1 || varNo > props_.nvariables) return;
    if (m.AddTimeData(varNo, time, value)) dataAdded_ = true;
    if (m.AdvanceTimeAxisIfNeeded()) {
        // Flag the model before the host hears of it: a handler of Zoomed may replace the
        // model (Clear), and m must not be touched after that.
        m.timeScrolled = 1;
        LiveUpdate(time);
        UpdateScrollState(true);
        scrolled_ = true;
    }
}

void CTrendixCtrl::RewindTimeData(double startTime) {
    EnsureModel().RewindTimeData(startTime);
    Repaint();
    if (scrolled_) UpdateScrollState(true);
}

void CTrendixCtrl::ClearTimeData(std::int16_t varNo) {
    CPlotLook& m = EnsureModel();
    if (m.runPlotActive && (varNo < 0 || varNo >= m.NYVars()))
        throw com::DispatchError::InvalidArg("Variable number out of range");
    Repaint();
}

std::int32_t CTrendixCtrl::AddPhaseData(float x, com::FloatArray& y) {
    CPlotLook& m = EnsureModel();
    if (props_.nvariables == 0) props_.nvariables = std::int16_t(m.NYVars());
    if (m.AddPhaseData(x, y.data)) dataAdded_ = true;
    return 0;
}

void CTrendixCtrl::SetPhasePlot(bool set) {
    phasePlot_ = set;
    EnsureModel().SetPhasePlot(set);
}

void CTrendixCtrl::FirePhasePlot(const std::string& name) {
    Fire(EV_PhaseVariableSet, {com::Variant::Str(name)});
    phaseXVariable_ = name;
    SetPhasePlot(!name.empty());
}

void CTrendixCtrl::EnableLivePlot(bool set) {
    CContextMenu& menu = EnsureModel().ContextMenu();
    if (set && !menu.Contains(ID_LIVE_PLOT))
        menu.InsertAt(menu.size() >= 2 ? menu.size() - 2 : 0, RunTimeMenuItem(ID_LIVE_PLOT));
    else if (!set)
        menu.Remove(ID_LIVE_PLOT);
}

void CTrendixCtrl::SetLivePlot(bool set) {
    if (MenuItem* item = EnsureModel().ContextMenu().Find(ID_LIVE_PLOT)) item->checked = set;
}

// ---------------------------------------------------------------------------------------------
// Variables, axes and data values

std::string CTrendixCtrl::GetCurrentValue(std::int16_t objId) const {
    switch (objId) {
    case 0:
        return Trim(props_.Title);
    case 1:
        return Trim(props_.xlabel);
    case 2:
        return Trim(props_.ylabel);
    default:
        return {};
    }
}

void CTrendixCtrl::SetLabel(std::int16_t axisNo, const std::string& label) {
    EnsureModel().SetLabel(axisNo, label);
    MarkModified();
    if (!loading_) Repaint();
}

std::string CTrendixCtrl::GetLabel(std::int16_t axisNo) {
    return EnsureModel().GetLabel(axisNo);
}

void CTrendixCtrl::SetLegend(std::int16_t varNo, const std::string& legend) {
    CPlotLook& m = EnsureModel();
    m.SetLegend(varNo, legend);
    m.legendDirty = m.layoutDirty = 1;
    MarkModified();
    if (!loading_) Repaint();
}

std::string CTrendixCtrl::GetLegend(std::int16_t varNo) {
    return EnsureModel().GetLegend(varNo);
}

void CTrendixCtrl::SetScale(std::int16_t axisNo, std::int16_t scale) {
    CPlotLook& m = EnsureModel();
    if (axisNo < 0 || axisNo > m.NYAxes()) return;
    m.SetScale(axisNo, scale);
}

std::int16_t CTrendixCtrl::GetScale(std::int16_t axisNo) {
    return std::int16_t(EnsureModel().GetScale(axisNo));
}

void CTrendixCtrl::SetInteger(std::int16_t axisNo) {
    EnsureModel().SetInteger(axisNo);
}

void CTrendixCtrl::SetRange(std::int16_t axisNo, double low, double high) {
    if (low == high) return;
    if (EnsureModel().SetRange(axisNo, low, high) && !loading_) Repaint();
}

void CTrendixCtrl::GetRange(std::int16_t axisNo, double& low, double& high) {
    EnsureModel().GetRange(axisNo, low, high);
}

void CTrendixCtrl::SetAxisRange(std::int16_t axisNo, double low, double high) {
    if (low == high) return;
    if (EnsureModel().SetAxisRange(axisNo, low, high)) Repaint();
}

void CTrendixCtrl::GetAxisRange(std::int16_t axisNo, double& low, double& high) {
    EnsureModel().GetAxisRange(axisNo, low, high);
}

void CTrendixCtrl::SetAxisMap(std::int16_t varNo, std::int16_t axisNo) {
    if (props_.Flipped) return;
    CPlotLook& m = EnsureModel();
    if (varNo >= 0) {
        m.SetAxisMap(varNo, axisNo);
        return;
    }
    m.ApplyAxisMap();
    MarkModified();
    Repaint();
}

std::int16_t CTrendixCtrl::GetAxisMap(std::int16_t varNo) {
    return std::int16_t(EnsureModel().GetAxisMap(varNo));
}

void CTrendixCtrl::SetAxisMode(std::int16_t axisNo, std::int16_t index, std::int16_t mode) {
    EnsureModel().SetAxisMode(axisNo, index, mode);
}

void CTrendixCtrl::GetAxisMode(std::int16_t axisNo, std::int16_t index, std::int16_t& mode) {
    mode = std::int16_t(EnsureModel().GetAxisMode(axisNo, index));
}

std::int16_t CTrendixCtrl::GetNYaxes() {
    return std::int16_t(EnsureModel().NYAxes());
}

void CTrendixCtrl::SetData(std::int16_t varNo, std::int16_t dataNo, double value) {
    CPlotLook& m = EnsureModel();
    if (props_.nvariables == 0) props_.nvariables = std::int16_t(m.NYVars());
    if (varNo < 0 || varNo > props_.nvariables) return;
    m.SetData(varNo, dataNo, value);
}

void CTrendixCtrl::SetXData(std::int16_t varNo, std::int16_t dataNo, double value) {
    if (varNo < 1 || varNo > props_.nxvariables) return;
    EnsureModel().SetXData(varNo, dataNo, value);
}

bool CTrendixCtrl::GetData(std::int16_t varNo, std::int16_t dataNo, double& value) {
    CPlotLook& m = EnsureModel();
    if (varNo < 0 || varNo > m.NYVars()) return false;
    return m.GetData(varNo, dataNo, value);
}

bool CTrendixCtrl::GetXData(std::int16_t varNo, std::int16_t dataNo, double& value) {
    CPlotLook& m = EnsureModel();
    if (varNo <= 0 || varNo > m.NXVars()) return false;
    return m.GetXData(varNo, dataNo, value);
}

void CTrendixCtrl::SetXVariable(std::int16_t yVarNo, std::int16_t xVarNo) {
    if (yVarNo <= 0) throw com::DispatchError::InvalidArg("Y variable number out of range");
    EnsureModel().SetXVariable(yVarNo, xVarNo);
}

std::int16_t CTrendixCtrl::GetXVariable(std::int16_t yVarNo) {
    if (yVarNo <= 0) throw com::DispatchError::InvalidArg("Y variable number out of range");
    return std::int16_t(EnsureModel().GetXVariable(yVarNo));
}

void CTrendixCtrl::SetAttribute(std::int16_t lineNo, std::int16_t type, std::int16_t marker,
                                std::int16_t color) {
    EnsureModel().SetAttribute(lineNo, type, marker, color);
    MarkModified();
    if (!loading_) Repaint();
}

void CTrendixCtrl::GetAttribute(std::int16_t lineNo, std::int16_t& type, std::int16_t& marker,
                                std::int16_t& color) {
    int t = type, mk = marker, c = color;
    if (EnsureModel().GetAttribute(lineNo, t, mk, c)) {
        type = std::int16_t(t);
        marker = std::int16_t(mk);
        color = std::int16_t(c);
    }
}

void CTrendixCtrl::SetFont(std::int16_t fontId, const std::string& face, std::int16_t size,
                           std::int16_t attrib) {
    if (size < 1) return; // a font needs a size; the old one stays
    EnsureModel().SetFont(fontId, face, size, attrib);
    MarkModified();
    if (!loading_) Repaint();
}

std::string CTrendixCtrl::GetFont(std::int16_t fontId, std::int16_t& size, std::int16_t& attrib) {
    std::string face;
    int s = 0, a = 0;
    if (!EnsureModel().GetFont(fontId, face, s, a)) return {};
    size = std::int16_t(s);
    attrib = std::int16_t(a);
    return face;
}

void CTrendixCtrl::SetMultiplier(std::int16_t axisNo, std::int16_t multiplier) {
    CPlotLook& m = EnsureModel();
    if (axisNo < 0 || axisNo > m.NYAxes()) return;
    if (m.SetMultiplier(axisNo, multiplier)) Repaint();
}

std::int16_t CTrendixCtrl::GetMultiplier(std::int16_t axisNo) {
    CheckAxisIndex(axisNo);
    CPlotAxis* a = EnsureModel().Axis(axisNo);
    return a ? std::int16_t(a->multiplier) : 0;
}

void CTrendixCtrl::SetMultiplierType(std::int16_t axisNo, std::int16_t type) {
    CPlotLook& m = EnsureModel();
    if (axisNo < 0 || axisNo > m.NYAxes()) return;
    if (m.SetMultiplierType(axisNo, type)) Repaint();
}

std::int16_t CTrendixCtrl::GetMultiplierType(std::int16_t axisNo) {
    CheckAxisIndex(axisNo);
    CPlotAxis* a = EnsureModel().Axis(axisNo);
    return a ? std::int16_t(a->multiplierType) : 0;
}

void CTrendixCtrl::SetSubstitutionString(const std::string& text) {
    EnsureModel().substitutionString = text;
}

void CTrendixCtrl::SetSubstitutionValue(std::int16_t varNo, const std::string& text) {
    EnsureModel().SetSubstitutionValue(varNo, text);
    MarkModified();
    if (!loading_) Repaint();
}

void CTrendixCtrl::SetSymbol(const std::string& name, const std::string& value) {
    EnsureModel().SetSymbol(name, value);
}

void CTrendixCtrl::SetLegendBox(std::int16_t location, std::int16_t width, float itemHeight,
                                std::int16_t margin) {
    if (props_.IgnoreSetLegend || !model_) return;
    model_->SetLegendBox(location, width, itemHeight, margin);
}

// ---------------------------------------------------------------------------------------------
// Variable names

void CTrendixCtrl::SetVariable(std::int16_t index, const std::string& name) {
    CPlotLook& m = EnsureModel();
    if (index >= 0) {
        const size_t at = size_t(index);
        if (at < variableNames_.size() && variableNames_[at] == name) return;
        if (index >= m.NYVars())
            throw com::DispatchError::InvalidArg("Variable index beyond the plot's variables");
        if (at >= variableNames_.size()) variableNames_.resize(at + 1);
        const auto found = std::find(variableNames_.begin(), variableNames_.end(), name);
        if (found != variableNames_.end()) {
            const int i = int(found - variableNames_.begin());
            if (i >= m.NYVars())
                throw com::DispatchError::InvalidArg("Variable index beyond the plot's variables");
            variableNames_[size_t(i)] = variableNames_[at];
            variableNames_[at] = name;
            m.SwapYVariables(i, index);
            Fire(EV_VariableChanged,
                 {com::Variant::I2(index), com::Variant::Str(name), com::Variant::I2(0)});
            if (!variableNames_[size_t(i)].empty())
                Fire(EV_VariableChanged,
                     {com::Variant::I2(std::int16_t(i)),
                      com::Variant::Str(variableNames_[size_t(i)]), com::Variant::I2(0)});
        } else {
            variableNames_[at] = name;
            m.YVar(index)->SetName(name);
            Fire(EV_VariableChanged,
                 {com::Variant::I2(index), com::Variant::Str(name), com::Variant::I2(2)});
        }
        return;
    }
    if (index == -1 && name.empty()) {
        const bool anyNamed = std::any_of(variableNames_.begin(), variableNames_.end(),
                                          [](const std::string& n) { return !n.empty(); });
        if (!anyNamed) m.ResetVariableLabel();
        ApplyVariableChangesStep();
        return;
    }
    Fire(EV_VariableChanged, {com::Variant::I2(std::int16_t(-index - 1)), com::Variant::Str(name),
                              com::Variant::I2(1)});
    const auto found = std::find(variableNames_.begin(), variableNames_.end(), name);
    if (found != variableNames_.end()) found->clear();
}

void CTrendixCtrl::ApplyVariableChangesStep() {
    Fire(EV_ApplyVariableChanges);
    if (model_) model_->FillDefaultLabels();
    Repaint();
}

std::string CTrendixCtrl::GetVariable(std::int16_t index) const {
    if (index < 0) throw com::DispatchError::InvalidArg("Variable index must not be negative");
    return size_t(index) < variableNames_.size() ? variableNames_[size_t(index)] : std::string();
}

void CTrendixCtrl::DeleteVariable(std::int16_t varNo) {
    if (varNo < 0 || size_t(varNo) >= variableNames_.size()) return;
    variableNames_[size_t(varNo)].clear();
    EnsureModel().DeleteVariable(varNo);
}

void CTrendixCtrl::MoveVariable(std::int16_t source, std::int16_t target) {
    const auto n = std::int16_t(std::min<size_t>(variableNames_.size(), 32767));
    if (source < 0 || target < 0 || source >= n || target >= n) return;
    variableNames_[size_t(target)] = variableNames_[size_t(source)];
    if (source != target) variableNames_[size_t(source)].clear();
    EnsureModel().MoveVariable(source, target);
}

// ---------------------------------------------------------------------------------------------
// Settings, files and objects

std::string CTrendixCtrl::GetSettings() {
    return CPlotSettings(*this).Write();
}

// The annotation blocks are parsed but create nothing until text annotations exist.
void CTrendixCtrl::SetSettings(const std::string& settings) {
    CPlotSettings(*this).Read(settings);
}

void CTrendixCtrl::Clear() {
    model_.reset();
    props_.nvariables = 1;
    npoints_ = 0;
    props_.nxvariables = 1;
    CreateModel();
    Repaint();
}

void CTrendixCtrl::EditObject(std::int16_t objectId) {
    CPlotLook& m = EnsureModel();
    for (CPlotRegion* r : m.regionList) {
        if (r->kind == objectId) {
            m.selectedRegion = r;
            m.editRequested = 1;
            Repaint();
            return;
        }
    }
}

std::int16_t CTrendixCtrl::AddText(const std::string&, float, float, std::int16_t, std::int16_t,
                                   const std::string&, std::int16_t, std::int16_t) {
    Pending("AddText");
}
void CTrendixCtrl::ModifyText(const std::string&, const std::string&) {
    Pending("ModifyText");
}
void CTrendixCtrl::AddTextDialog() {
    Pending("AddTextDialog");
}
void CTrendixCtrl::HideVariableDialog() {
    Pending("HideVariableDialog");
}
std::int16_t CTrendixCtrl::NewLine(std::int16_t, std::int16_t, std::int16_t, std::int16_t,
                                   std::int16_t) {
    Pending("NewLine");
}
std::int16_t CTrendixCtrl::NewPolygon(std::int16_t, std::int16_t) {
    Pending("NewPolygon");
}
std::int16_t CTrendixCtrl::NewText(const std::string&, double, double, std::int16_t) {
    Pending("NewText");
}
void CTrendixCtrl::ChangeText(std::int16_t, const std::string&, double, double, std::int16_t) {
    Pending("ChangeText");
}
void CTrendixCtrl::SetXYData(std::int16_t, std::int16_t, double, double) {
    Pending("SetXYData");
}
bool CTrendixCtrl::GetXYData(std::int16_t, std::int16_t, double&, double&) {
    Pending("GetXYData");
}
void CTrendixCtrl::SetTextAttribute(std::int16_t, std::int16_t, std::int16_t, std::int16_t,
                                    const std::string&, std::int16_t, std::int16_t) {
    Pending("SetTextAttribute");
}
void CTrendixCtrl::SetLineAttribute(std::int16_t, std::int16_t, std::int16_t, std::int16_t,
                                    std::int16_t, std::int16_t, std::int16_t) {
    Pending("SetLineAttribute");
}
std::int16_t CTrendixCtrl::SetObject(std::int16_t, std::int16_t, std::int16_t) {
    Pending("SetObject");
}

void CTrendixCtrl::CopyToBuffer(com::Variant& data) {
    CPlotLook& m = EnsureModel();
    if (!m.runPlotActive && !m.phasePlotActive) return;
    const com::Variant* value = data.isRef() ? data.ref() : &data;
    if (!value || value->type() != com::VarType::ArrayR4 || value->array().dims != 2) return;
    const com::FloatArray& a = value->array();
    const bool moved = m.CopyToBuffer(a.data.data(), int(a.count1), int(a.count2));
    m.rangeDirty = 1;
    Repaint();
    if (moved) {
        UpdateScrollState(true);
        scrolled_ = true;
    }
}

// ---------------------------------------------------------------------------------------------
// User interface and host integration

void CTrendixCtrl::FireReloadEvent() {
    Fire(EV_ReloadNow);
}

void CTrendixCtrl::SetEvent(std::int16_t eventId, bool onOff, bool dflt) {
    const auto fire = std::uint32_t(((eventId - 1) % 32 + 32) % 32);
    const auto deflt = std::uint32_t(((eventId + 15) % 32 + 32) % 32);
    eventMask_ = onOff ? (eventMask_ | (1u << fire)) : (eventMask_ & ~(1u << fire));
    eventMask_ = dflt ? (eventMask_ | (1u << deflt)) : (eventMask_ & ~(1u << deflt));
}

void CTrendixCtrl::SetMousePointer(std::int16_t type) {
    if (type < 1 || type > 15) return;
    pointerCursor_ = kCursorIds[type];
    currentCursor_ = pointerCursor_;
    site_.SetCursor(currentCursor_);
}

void CTrendixCtrl::InvokeMenuItem(std::int16_t id) {
    if (id == ID_DELETE - 65536) { // 57632 arrives as a negative 16-bit number
        OnCommand(ID_DELETE);
        return;
    }
    if (!menuWalker_) return;
    if (const CPlotMenu::Recorded* r = menuWalker_->Find(id)) OnCommand(r->command);
}

std::string CTrendixCtrl::GetMenuItem(std::int16_t& code, std::int16_t& id) {
    if (id == 0) menuWalker_ = std::make_unique<CPlotMenu>(EnsureModel().ContextMenu());
    if (!menuWalker_) {
        code = CPlotMenu::EndOfMenu;
        return {};
    }
    return menuWalker_->Next(code, id);
}

void CTrendixCtrl::UpdateMenu() {
    ApplyMenuRules(EnsureModel().ContextMenu());
}

void CTrendixCtrl::ApplyMenuRules(CContextMenu& menu) {
    CPlotLook& m = EnsureModel();
    auto rule = [&menu](int command, bool enabled) {
        if (MenuItem* item = menu.Find(command)) item->enabled = enabled;
    };
    rule(ID_ZOOM_IN, true);
    rule(ID_ZOOM_OUT, true);
    rule(ID_SHOW_LEGEND, m.showLegend || !m.runPlotActive);
    if (MenuItem* item = menu.Find(ID_SHOW_LEGEND)) item->checked = m.showLegend != 0;
    rule(ID_PROFILE_VARIABLES, profileVariables_);
    rule(ID_PROFILE_TABLE, profileTable_);
    rule(ID_RESET_FORM, resetEnabled_);
    const bool pasteable = false; // the clipboard holds no plot of ours until copying exists
    rule(ID_PASTE, pasteable);
    if (menuWalker_) menuWalker_->SetEnabled(ID_PASTE, pasteable);
}

bool CTrendixCtrl::IsMenuItemEnabled(std::int16_t id) {
    if (id == ID_DELETE - 65536) return false; // no text object of AddText is selected
    if (!menuWalker_) return false;
    const CPlotMenu::Recorded* r = menuWalker_->Find(id);
    return r && r->enabled;
}

void CTrendixCtrl::Copy() {
    Pending("Copy");
}
void CTrendixCtrl::Paste() {
    Pending("Paste");
}
void CTrendixCtrl::CopyWithSize(std::int16_t, std::int16_t) {
    Pending("CopyWithSize");
}
void CTrendixCtrl::Print2(bool) {
    Pending("Print2");
}
void CTrendixCtrl::PrintPreview(bool) {
    Pending("PrintPreview");
}
void CTrendixCtrl::PageLayout() {
    Pending("PageLayout");
}
void CTrendixCtrl::OpenLog(const std::string&) {
    Pending("OpenLog");
}
void CTrendixCtrl::CloseLog() {
    Pending("CloseLog");
}
void CTrendixCtrl::AboutBox() {
    site_.MessageBox(std::string(CTrendixModule::kUserTypeName) + "\nVersion " +
                         CTrendixModule::kVersionText +
                         "\nA plotting control for simulation variables.",
                     CTrendixModule::kAboutCaption, ui::OkOnly);
}

void CTrendixCtrl::WriteLog(const std::string&) {
    // The edit log is not open: there is nowhere to write.
}

// ---------------------------------------------------------------------------------------------
// Commands and the scroll bars

void CTrendixCtrl::OnCommand(int command) {
    CPlotLook& m = EnsureModel();
    switch (command) {
    case ID_REDRAW:
        Repaint();
        return;
    case ID_ZOOM_IN:
    case ID_ZOOM_IN_TIME:
    case ID_ZOOM_IN_X:
        m.ZoomIn(command != ID_ZOOM_IN);
        MarkModified();
        Repaint();
        UpdateScrollState(true);
        scrolled_ = true;
        return;
    case ID_ZOOM_OUT:
    case ID_ZOOM_OUT_TIME:
    case ID_ZOOM_OUT_X: {
        const bool full = m.ZoomOut(command != ID_ZOOM_OUT);
        MarkModified();
        Repaint();
        UpdateScrollState(!full);
        scrolled_ = !full;
        return;
    }
    case ID_ZOOM_FULL:
        m.ZoomFull();
        MarkModified();
        Repaint();
        UpdateScrollState(false);
        scrolled_ = false;
        return;
    case ID_ZOOM_REGION:
        if (!m.ZoomToMarkedRegion()) return; // nothing is marked
        MarkModified();
        Repaint();
        UpdateScrollState(true);
        scrolled_ = true;
        return;
    case ID_DELETE_POINTS: {
        CPlotPaintContext ctx = InputContext();
        if (m.DeletePointsInMarkedRegion(ctx)) Repaint();
        return;
    }
    case ID_SHOW_LEGEND:
        m.SetShowLegend(!m.showLegend);
        props_.ShowLegend = m.showLegend != 0;
        Repaint();
        return;
    case ID_EDIT:
        if (!m.selectedRegion) return;
        m.editRequested = 1;
        Repaint();
        return;
    case ID_DELETE:
    case ID_DELETE_TEXT:
        return; // only a selected text object of AddText can be deleted
    case ID_PROFILE_VARIABLES:
        Fire(EV_OnEditProfileVariables);
        return;
    case ID_SHOW_AS_HISTORY:
        Fire(EV_OnOnShowasHistory);
        return;
    case ID_PROFILE_TABLE:
        Fire(EV_OnEditProfileTable);
        return;
    case ID_RESET_FORM:
        Fire(EV_OnResetFormDefinition);
        return;
    case ID_TIME_RANGE:
        Fire(EV_ZoomTimeRange);
        return;
    case ID_TIME_ON_X:
        Fire(EV_RevertToTimePlot);
        return;
    case ID_LIVE_PLOT:
        if (MenuItem* item = m.ContextMenu().Find(ID_LIVE_PLOT)) {
            item->checked = !item->checked;
            Fire(EV_OnLivePlot, {com::Variant::Bool(item->checked)});
        }
        return;
    case ID_OPEN_PLOT_FILE:
        OpenPlotFile();
        return;
    case ID_PROPERTIES:
        Pending("Properties");
    case ID_ADD_TEXT:
        Pending("Add Text");
    case ID_ADD_TIMESTAMP:
        Pending("Add Timestamp");
    case ID_HIDE_VARIABLE:
        Pending("Hide Variable");
    case ID_COPY:
        Pending("Copy");
    case ID_PASTE:
        Pending("Paste");
    default:
        return;
    }
}

void CTrendixCtrl::UpdateScrollState(bool zoomed) {
    Fire(EV_Zoomed, {com::Variant::Bool(zoomed)});
    if (!site_.HasWindow() || !model_) return;
    int h0 = 0, h1 = 1000, v0 = 0, v1 = 1000;
    model_->GetScroll(true, h0, h1);
    model_->GetScroll(false, v0, v1);
    const bool partial = h0 != 0 || h1 != 1000 || v0 != 0 || v1 != 1000;
    if (zoomed && partial) {
        if (hScrollShown_ && vScrollShown_) {
            RefreshScrollBars();
            return;
        }
        if (!hScrollShown_) site_.ShowScrollBar(true, hScrollShown_ = true);
        if (!vScrollShown_) site_.ShowScrollBar(false, vScrollShown_ = true);
        model_->layoutDirty = 1;
        RefreshScrollBars();
        Repaint();
    } else if (hScrollShown_ || vScrollShown_) {
        if (hScrollShown_) site_.ShowScrollBar(true, false);
        if (vScrollShown_) site_.ShowScrollBar(false, false);
        hScrollShown_ = vScrollShown_ = false;
        model_->layoutDirty = 1;
        Repaint();
    }
}

void CTrendixCtrl::HideScrollBars() {
    if (hScrollShown_) site_.ShowScrollBar(true, false);
    if (vScrollShown_) site_.ShowScrollBar(false, false);
    hScrollShown_ = vScrollShown_ = false;
}

void CTrendixCtrl::RefreshScrollBars() {
    if (!model_) return;
    int p0 = 0, p1 = 1000;
    if (hScrollShown_) {
        model_->GetScroll(true, p0, p1);
        site_.SetScrollInfo(true, 1000, p0, p1 - p0 + 1);
    }
    if (vScrollShown_) {
        p0 = 0, p1 = 1000;
        model_->GetScroll(false, p0, p1);
        site_.SetScrollInfo(false, 1000, 1000 - p1, p1 - p0 + 1);
    }
}
