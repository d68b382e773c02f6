#include "control/TrendixCtrl.h"

#include "model/MenuTable.h"

#include <algorithm>

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
    FollowTimeAxis(time);
}

void CTrendixCtrl::AddTimeBlock(std::span<const double> times, std::span<const double> values,
                                int firstVar) {
    CPlotLook& m = EnsureModel();
    if (times.empty()) return;
    if (m.AddTimeBlock(times, values, firstVar)) dataAdded_ = true;
    FollowTimeAxis(times.back());
}

void CTrendixCtrl::FollowTimeAxis(double time) {
    CPlotLook& m = EnsureModel();
    if (!m.AdvanceTimeAxisIfNeeded()) return;
    // Flag the model before the host hears of it: a handler of Zoomed may replace the model
    // (Clear), and m must not be touched after that.
    m.timeScrolled = 1;
    LiveUpdate(time);
    UpdateScrollState(true);
    scrolled_ = true;
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
    const CPlotLook& m = EnsureModel();
    if (set && !m.runPlotActive && !m.phasePlotActive)
        CheckSamplesAfter(SamplesResizedTo(std::max(props_.BufferSize, 1)));
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
// Data values by number

// A value past a variable's end grows it to ten beyond that number: refused with
// E_OUTOFMEMORY, before anything changes, when the plot would then hold more samples than the
// budget allows.
void CTrendixCtrl::CheckGrowth(const CPlotVar* v, std::int16_t dataNo) const {
    if (!v || dataNo < 0 || std::uint32_t(dataNo) < v->values.size()) return;
    const std::int64_t grown = std::int64_t(dataNo) + 10 - std::int64_t(v->values.size());
    CheckSamplesAfter(model_->SamplesHeld() + grown);
}

void CTrendixCtrl::SetData(std::int16_t varNo, std::int16_t dataNo, double value) {
    CPlotLook& m = EnsureModel();
    if (props_.nvariables == 0) props_.nvariables = std::int16_t(m.NYVars());
    if (varNo < 0 || varNo > props_.nvariables) return;
    CheckGrowth(varNo == 0 ? m.XVar(0) : m.YVar(varNo - 1), dataNo);
    m.SetData(varNo, dataNo, value);
}

void CTrendixCtrl::SetXData(std::int16_t varNo, std::int16_t dataNo, double value) {
    if (varNo < 1 || varNo > props_.nxvariables) return;
    CPlotLook& m = EnsureModel();
    CheckGrowth(m.XVar(varNo - 1), dataNo);
    m.SetXData(varNo, dataNo, value);
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
// The live buffer

void CTrendixCtrl::CopyToBuffer(com::Variant& data) {
    CPlotLook& m = EnsureModel();
    if (!m.runPlotActive && !m.phasePlotActive) return;
    const com::Variant* value = data.isRef() ? data.ref() : &data;
    if (!value || value->type() != com::VarType::ArrayR4 || value->array().dims != 2) return;
    const com::FloatArray& a = value->array();
    if (a.data.size() < size_t(a.count1) * a.count2)
        throw com::DispatchError::InvalidArg("The array holds fewer values than its bounds say");
    const bool moved = m.CopyToBuffer(a.data.data(), int(a.count1), int(a.count2));
    m.rangeDirty = 1;
    Repaint();
    if (moved) {
        UpdateScrollState(true);
        scrolled_ = true;
    }
}
