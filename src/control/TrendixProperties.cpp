#include "control/TrendixCtrl.h"

#include "control/TextTrim.h"
#include "model/MenuTable.h"

#include <algorithm>
#include <cmath>
#include <new>

// ---------------------------------------------------------------------------------------------
// Properties

void CTrendixCtrl::SetTitle(const std::string& v) {
    props_.Title = v;
    trimmedTitle_ = TrimBlanks(v);
    EnsureModel().SetTitle(trimmedTitle_);
    FireCaption();
    MarkModified();
    Repaint();
}

void CTrendixCtrl::Setxlabel(const std::string& v) {
    props_.xlabel = v;
    EnsureModel().SetAxisLabelText(0, TrimBlanks(v));
    MarkModified();
    Repaint();
}

void CTrendixCtrl::Setylabel(const std::string& v) {
    props_.ylabel = v;
    EnsureModel().SetAxisLabelText(1, TrimBlanks(v));
    MarkModified();
    Repaint();
}

void CTrendixCtrl::SetMultiYaxis(bool v) {
    props_.MultiYaxis = v;
}

// Switching a plot to rings makes every variable a ring of BufferSize samples.
void CTrendixCtrl::SetRunPlot(bool v) {
    const CPlotLook& m = EnsureModel();
    if (v && !m.runPlotActive && !m.phasePlotActive)
        CheckSamplesAfter(SamplesResizedTo(std::max(props_.BufferSize, 1)));
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

// A non-empty name is stored by the load, which refuses an input file without storing it.
void CTrendixCtrl::SetInputFile(const std::string& v) {
    if (v.empty())
        props_.InputFile.clear();
    else
        LoadFile(v);
}

void CTrendixCtrl::Setnpoints(std::int16_t v) {
    if (v < 0) throw com::DispatchError::InvalidArg("npoints must not be negative");
    const CPlotLook& m = EnsureModel();
    if (!m.runPlotActive && !m.phasePlotActive) CheckSamplesAfter(SamplesResizedTo(v));
    npoints_ = v;
    EnsureModel().SetNPoints(v);
    MarkModified();
}

void CTrendixCtrl::Setnvariables(std::int16_t v) {
    if (v < 0) throw com::DispatchError::InvalidArg("nvariables must not be negative");
    const CPlotLook& m = EnsureModel();
    if (v > m.NYVars()) CheckSamplesAfter(SamplesWithMoreVariables(v - m.NYVars()));
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

// The rings are made anew at the new size; when that fails the old size and rings stay.
void CTrendixCtrl::SetBufferSize(std::int32_t v) {
    if (v < 1 || v > kMaxBufferSize)
        throw com::DispatchError::InvalidArg("BufferSize must lie between 1 and " +
                                             std::to_string(kMaxBufferSize));
    CPlotLook& m = EnsureModel();
    const bool ring = m.runPlotActive || m.phasePlotActive;
    if (ring) CheckSamplesAfter(SamplesResizedTo(v));
    const std::int32_t old = props_.BufferSize;
    props_.BufferSize = v;
    try {
        m.SetBufferSize();
    } catch (const std::bad_alloc&) {
        props_.BufferSize = old;
        m.SetBufferSize();
        throw com::DispatchError(com::E_OUTOFMEMORY, "No memory for buffers of that size");
    }
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
    const CPlotLook& m = EnsureModel();
    if (v > m.NXVars()) CheckSamplesAfter(SamplesWithMoreVariables(v - m.NXVars()));
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
        if (model_->overlay) ApplyTimeStamp(false); // the stamp goes with the switch
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
