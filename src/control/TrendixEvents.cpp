#include "control/TrendixEvents.h"

namespace {

using com::ParamInfo;
using com::VarType;

com::TypeInfo BuildEventTypeInfo() {
    com::TypeInfo info("_DTrendixEvents", "Event interface for Trendix Control");
    auto ev = [&info](const char* name, com::DISPID id, std::vector<ParamInfo> params = {}) {
        info.Add(com::MemberInfo{name, id, false, VarType::Empty, std::move(params)});
    };
    const std::vector<ParamInfo> mouse = {{"x", VarType::R8},        {"y", VarType::R8},
                                          {"ix", VarType::I2},       {"iy", VarType::I2},
                                          {"ObjectID", VarType::I2}, {"modifier", VarType::I2}};
    ev("Selected", EV_Selected, {{"ObjectID", VarType::I2}});
    ev("Zoomed", EV_Zoomed, {{"OnOff", VarType::Bool}});
    ev("ApplyVariableChanges", EV_ApplyVariableChanges);
    ev("VariableChanged", EV_VariableChanged,
       {{"VarNo", VarType::I2}, {"VariableName", VarType::BStr}, {"Status", VarType::I2}});
    ev("OnDropText", EV_OnDropText, {{"text", VarType::BStr}, {"ObjectID", VarType::I2}});
    ev("ReloadNow", EV_ReloadNow);
    ev("OnEditProfileVariables", EV_OnEditProfileVariables);
    ev("OnOnShowasHistory", EV_OnOnShowasHistory);
    ev("OnEditProfileTable", EV_OnEditProfileTable);
    ev("OnResetFormDefinition", EV_OnResetFormDefinition);
    ev("SetMessageText", EV_SetMessageText, {{"text", VarType::BStr}});
    ev("CommunicationIntervalsSet", EV_CommunicationIntervalsSet, {{"intervals", VarType::I2}});
    ev("PointerLocation", EV_PointerLocation,
       {{"Coordinate", VarType::BStr}, {"ix", VarType::I2}, {"iy", VarType::I2}});
    ev("OnClick", EV_OnClick, mouse);
    ev("OnDoubleClick", EV_OnDoubleClick, mouse);
    ev("CursorSet", EV_CursorSet);
    ev("OnRBClick", EV_OnRBClick, mouse);
    ev("RegionDefined", EV_RegionDefined);
    ev("KeyPress", EV_KeyPress, {{"KeyAscii", VarType::I4}});
    ev("KeyDown", EV_KeyDown, {{"KeyCode", VarType::I4}, {"Shift", VarType::I4}});
    ev("KeyUp", EV_KeyUp, {{"KeyCode", VarType::I4}, {"Shift", VarType::I4}});
    ev("Scrolled", EV_Scrolled, {{"Horizontal", VarType::Bool}});
    ev("PointerExit", EV_PointerExit);
    ev("PhaseVariableSet", EV_PhaseVariableSet, {{"VariablePath", VarType::BStr}});
    ev("PhaseVariableDropped", EV_PhaseVariableDropped, {{"sVarName", VarType::BStr}});
    ev("ZoomTimeRange", EV_ZoomTimeRange);
    ev("RevertToTimePlot", EV_RevertToTimePlot);
    ev("OnLivePlot", EV_OnLivePlot, {{"set", VarType::Bool}});
    ev("SetCaption", EV_SetCaption, {{"text", VarType::BStr}});
    ev("Modified", EV_Modified);
    return info;
}

} // namespace

const com::TypeInfo& TrendixEventTypeInfo() {
    static const com::TypeInfo info = BuildEventTypeInfo();
    return info;
}
