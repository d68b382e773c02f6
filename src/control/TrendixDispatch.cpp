// The automation interface of the control: every member with its DISPID, parameter names and
// types, bound to the typed C++ members of CTrendixCtrl.
#include "control/TrendixCtrl.h"

#include <new>
#include <stdexcept>

namespace {

using com::ParamDir;
using com::Variant;
using com::VarType;
using Args = std::span<Variant>;
using Ctl = CTrendixCtrl;

constexpr VarType I2 = VarType::I2, I4 = VarType::I4, R4 = VarType::R4, R8 = VarType::R8,
                  BOOL = VarType::Bool, BSTR = VarType::BStr, NONE = VarType::Empty,
                  UNK = VarType::Unknown, VAR = VarType::Variant, ARR = VarType::ArrayR4;

com::ParamInfo In(const char* name, VarType t) { return {name, t, ParamDir::In}; }
com::ParamInfo Out(const char* name, VarType t) { return {name, t, ParamDir::Out}; }
com::ParamInfo InOut(const char* name, VarType t) { return {name, t, ParamDir::InOut}; }

std::int16_t S(Args a, size_t i) { return a[i].i2(); }
std::int32_t L(Args a, size_t i) { return a[i].i4(); }
float F(Args a, size_t i) { return a[i].r4(); }
double D(Args a, size_t i) { return a[i].r8(); }
bool B(Args a, size_t i) { return a[i].boolean(); }
std::string T(Args a, size_t i) { return a[i].narrow(); }
std::int16_t RefS(Args a, size_t i) { return com::Coerce(a[i], I2).i2(); }
void Put(Args a, size_t i, Variant v) { com::StoreRef(a[i], v); }

Variant Str(const std::string& s) { return Variant::Str(s); }
Variant None() { return Variant(); }

using Map = com::DispatchMap<Ctl>;

void AddProperties(Map& m) {
    // clang-format off
    m.Property("Title", 1, BSTR, [](Ctl& c) { return Str(c.GetTitle()); }, [](Ctl& c, const Variant& v) { c.SetTitle(v.narrow()); });
    m.Property("xlabel", 2, BSTR, [](Ctl& c) { return Str(c.Getxlabel()); }, [](Ctl& c, const Variant& v) { c.Setxlabel(v.narrow()); });
    m.Property("ylabel", 3, BSTR, [](Ctl& c) { return Str(c.Getylabel()); }, [](Ctl& c, const Variant& v) { c.Setylabel(v.narrow()); });
    m.Property("MultiYaxis", 4, BOOL, [](Ctl& c) { return Variant::Bool(c.GetMultiYaxis()); }, [](Ctl& c, const Variant& v) { c.SetMultiYaxis(v.boolean()); });
    m.Property("RunPlot", 5, BOOL, [](Ctl& c) { return Variant::Bool(c.GetRunPlot()); }, [](Ctl& c, const Variant& v) { c.SetRunPlot(v.boolean()); });
    m.Property("PlotType", 6, I2, [](Ctl& c) { return Variant::I2(c.GetPlotType()); }, [](Ctl& c, const Variant& v) { c.SetPlotType(v.i2()); });
    m.Property("TimeWindow", 7, R4, [](Ctl& c) { return Variant::R4(c.GetTimeWindow()); }, [](Ctl& c, const Variant& v) { c.SetTimeWindow(v.r4()); });
    m.Property("UseVariable", 8, BOOL, [](Ctl& c) { return Variant::Bool(c.GetUseVariable()); }, [](Ctl& c, const Variant& v) { c.SetUseVariable(v.boolean()); });
    m.Property("InputFile", 9, BSTR, [](Ctl& c) { return Str(c.GetInputFile()); }, [](Ctl& c, const Variant& v) { c.SetInputFile(v.narrow()); });
    m.Property("npoints", 10, I2, [](Ctl& c) { return Variant::I2(c.Getnpoints()); }, [](Ctl& c, const Variant& v) { c.Setnpoints(v.i2()); });
    m.Property("nvariables", 11, I2, [](Ctl& c) { return Variant::I2(c.Getnvariables()); }, [](Ctl& c, const Variant& v) { c.Setnvariables(v.i2()); });
    m.Property("TimeScrollUnit", 12, R4, [](Ctl& c) { return Variant::R4(c.GetTimeScrollUnit()); }, [](Ctl& c, const Variant& v) { c.SetTimeScrollUnit(v.r4()); });
    m.Property("GridType", 13, I2, [](Ctl& c) { return Variant::I2(c.GetGridType()); }, [](Ctl& c, const Variant& v) { c.SetGridType(v.i2()); });
    m.Property("MarkerSize", 14, I2, [](Ctl& c) { return Variant::I2(c.GetMarkerSize()); }, [](Ctl& c, const Variant& v) { c.SetMarkerSize(v.i2()); });
    m.Property("MarkerInterval", 15, I2, [](Ctl& c) { return Variant::I2(c.GetMarkerInterval()); }, [](Ctl& c, const Variant& v) { c.SetMarkerInterval(v.i2()); });
    m.Property("Flipped", 16, BOOL, [](Ctl& c) { return Variant::Bool(c.GetFlipped()); }, [](Ctl& c, const Variant& v) { c.SetFlipped(v.boolean()); });
    m.Property("SquarePlot", 17, BOOL, [](Ctl& c) { return Variant::Bool(c.GetSquarePlot()); }, [](Ctl& c, const Variant& v) { c.SetSquarePlot(v.boolean()); });
    m.Property("DiagonalLine", 18, BOOL, [](Ctl& c) { return Variant::Bool(c.GetDiagonalLine()); }, [](Ctl& c, const Variant& v) { c.SetDiagonalLine(v.boolean()); });
    m.Property("ZeroLine", 19, BOOL, [](Ctl& c) { return Variant::Bool(c.GetZeroLine()); }, [](Ctl& c, const Variant& v) { c.SetZeroLine(v.boolean()); });
    m.Property("DisplayType", 20, I2, [](Ctl& c) { return Variant::I2(c.GetDisplayType()); }, [](Ctl& c, const Variant& v) { c.SetDisplayType(v.i2()); });
    m.Property("BufferSize", 21, I4, [](Ctl& c) { return Variant::I4(c.GetBufferSize()); }, [](Ctl& c, const Variant& v) { c.SetBufferSize(v.i4()); });
    m.Property("SizeToData", 22, BOOL, [](Ctl& c) { return Variant::Bool(c.GetSizeToData()); }, [](Ctl& c, const Variant& v) { c.SetSizeToData(v.boolean()); });
    m.Property("BackColor", -501, I4, [](Ctl& c) { return Variant::I4(std::int32_t(c.GetBackColor())); }, [](Ctl& c, const Variant& v) { c.SetBackColor(std::uint32_t(v.i4())); });
    m.Property("ForeColor", -513, I4, [](Ctl& c) { return Variant::I4(std::int32_t(c.GetForeColor())); }, [](Ctl& c, const Variant& v) { c.SetForeColor(std::uint32_t(v.i4())); });
    m.Property("Parametric", 23, BOOL, [](Ctl& c) { return Variant::Bool(c.GetParametric()); }, [](Ctl& c, const Variant& v) { c.SetParametric(v.boolean()); });
    m.Property("nxvariables", 24, I2, [](Ctl& c) { return Variant::I2(c.Getnxvariables()); }, [](Ctl& c, const Variant& v) { c.Setnxvariables(v.i2()); });
    m.Property("ReverseXAxis", 25, BOOL, [](Ctl& c) { return Variant::Bool(c.GetReverseXAxis()); }, [](Ctl& c, const Variant& v) { c.SetReverseXAxis(v.boolean()); });
    m.Property("AddTimeStamp", 26, BOOL, [](Ctl& c) { return Variant::Bool(c.GetAddTimeStamp()); }, [](Ctl& c, const Variant& v) { c.SetAddTimeStamp(v.boolean()); });
    m.Property("ShowLegend", 27, BOOL, [](Ctl& c) { return Variant::Bool(c.GetShowLegend()); }, [](Ctl& c, const Variant& v) { c.SetShowLegend(v.boolean()); });
    m.Property("CommunicationIntervals", 28, I2, [](Ctl& c) { return Variant::I2(c.GetCommunicationIntervals()); }, [](Ctl& c, const Variant& v) { c.SetCommunicationIntervals(v.i2()); });
    m.Property("GridInterval", 29, R4, [](Ctl& c) { return Variant::R4(c.GetGridInterval()); }, [](Ctl& c, const Variant& v) { c.SetGridInterval(v.r4()); });
    m.Property("VariableDrop", 30, BOOL, [](Ctl& c) { return Variant::Bool(c.GetVariableDrop()); }, [](Ctl& c, const Variant& v) { c.SetVariableDrop(v.boolean()); });
    m.Property("IgnoreSetLegend", 31, BOOL, [](Ctl& c) { return Variant::Bool(c.GetIgnoreSetLegend()); }, [](Ctl& c, const Variant& v) { c.SetIgnoreSetLegend(v.boolean()); });
    m.Property("PlotVals", 32, UNK, [](Ctl& c) { return Variant::Object(c.GetPlotVals()); }, [](Ctl& c, const Variant& v) { c.SetPlotVals(v.object()); });
    m.Property("EditProfileVariables", 33, BOOL, [](Ctl& c) { return Variant::Bool(c.GetEditProfileVariables()); }, [](Ctl& c, const Variant& v) { c.SetEditProfileVariables(v.boolean()); });
    m.Property("EditProfileTable", 34, BOOL, [](Ctl& c) { return Variant::Bool(c.GetEditProfileTable()); }, [](Ctl& c, const Variant& v) { c.SetEditProfileTable(v.boolean()); });
    m.Property("AlwaysShowFull", 35, BOOL, [](Ctl& c) { return Variant::Bool(c.GetAlwaysShowFull()); }, [](Ctl& c, const Variant& v) { c.SetAlwaysShowFull(v.boolean()); });
    m.Property("dummy2", 36, I2, [](Ctl& c) { return Variant::I2(c.GetDummy(2)); }, [](Ctl& c, const Variant& v) { c.SetDummy(2, v.i2()); });
    m.Property("dummy3", 37, I2, [](Ctl& c) { return Variant::I2(c.GetDummy(3)); }, [](Ctl& c, const Variant& v) { c.SetDummy(3, v.i2()); });
    m.Property("dummy4", 38, I2, [](Ctl& c) { return Variant::I2(c.GetDummy(4)); }, [](Ctl& c, const Variant& v) { c.SetDummy(4, v.i2()); });
    m.Property("dummy5", 39, I2, [](Ctl& c) { return Variant::I2(c.GetDummy(5)); }, [](Ctl& c, const Variant& v) { c.SetDummy(5, v.i2()); });
    // clang-format on
}

void AddDrawingAndDataMethods(Map& m) {
    // clang-format off
    m.Method("Redraw", 40, NONE, {}, [](Ctl& c, Args) { c.Redraw(); return None(); });
    m.Method("Scroll", 41, NONE, {In("Horizontal", BOOL), In("Type", I2), In("Value", I2)}, [](Ctl& c, Args a) { c.Scroll(B(a, 0), S(a, 1), S(a, 2)); return None(); });
    m.Method("GetScroll", 42, NONE, {In("Horizontal", BOOL), Out("MinValue", I2), Out("MaxValue", I2)}, [](Ctl& c, Args a) {
        std::int16_t lo = 0, hi = 0;
        c.GetScroll(B(a, 0), lo, hi);
        Put(a, 1, Variant::I2(lo)), Put(a, 2, Variant::I2(hi));
        return None(); });
    m.Method("GetCurrentValue", 43, BSTR, {In("ObjID", I2)}, [](Ctl& c, Args a) { return Str(c.GetCurrentValue(S(a, 0))); });
    m.Method("AddTimeData", 44, NONE, {In("VarNo", I2), In("Time", R8), In("Value", R8)}, [](Ctl& c, Args a) { c.AddTimeData(S(a, 0), D(a, 1), D(a, 2)); return None(); });
    m.Method("SetLabel", 45, NONE, {In("AxisNo", I2), In("Label", BSTR)}, [](Ctl& c, Args a) { c.SetLabel(S(a, 0), T(a, 1)); return None(); });
    m.Method("SetLegend", 46, NONE, {In("VarNo", I2), In("Legend", BSTR)}, [](Ctl& c, Args a) { c.SetLegend(S(a, 0), T(a, 1)); return None(); });
    m.Method("SetScale", 47, NONE, {In("VarNo", I2), In("Scale", I2)}, [](Ctl& c, Args a) { c.SetScale(S(a, 0), S(a, 1)); return None(); });
    m.Method("SetInteger", 48, NONE, {In("VarNo", I2)}, [](Ctl& c, Args a) { c.SetInteger(S(a, 0)); return None(); });
    m.Method("SetRange", 49, NONE, {In("VarNo", I2), In("LowValue", R8), In("HighValue", R8)}, [](Ctl& c, Args a) { c.SetRange(S(a, 0), D(a, 1), D(a, 2)); return None(); });
    m.Method("SetData", 50, NONE, {In("VarNo", I2), In("DataNo", I2), In("Value", R8)}, [](Ctl& c, Args a) { c.SetData(S(a, 0), S(a, 1), D(a, 2)); return None(); });
    m.Method("SetFont", 51, NONE, {In("FontID", I2), In("fontname", BSTR), In("size", I2), In("attrib", I2)}, [](Ctl& c, Args a) { c.SetFont(S(a, 0), T(a, 1), S(a, 2), S(a, 3)); return None(); });
    m.Method("SetVariable", 52, NONE, {In("index", I2), In("VariableName", BSTR)}, [](Ctl& c, Args a) { c.SetVariable(S(a, 0), T(a, 1)); return None(); });
    m.Method("GetVariable", 53, BSTR, {In("index", I2)}, [](Ctl& c, Args a) { return Str(c.GetVariable(S(a, 0))); });
    m.Method("GetRange", 54, NONE, {In("VarNo", I2), Out("LowValue", R8), Out("HighValue", R8)}, [](Ctl& c, Args a) {
        double lo = com::Coerce(a[1], R8).r8(), hi = com::Coerce(a[2], R8).r8();
        c.GetRange(S(a, 0), lo, hi);
        Put(a, 1, Variant::R8(lo)), Put(a, 2, Variant::R8(hi));
        return None(); });
    m.Method("GetLabel", 55, BSTR, {In("AxisNo", I2)}, [](Ctl& c, Args a) { return Str(c.GetLabel(S(a, 0))); });
    m.Method("RewindTimeData", 56, NONE, {In("starttime", R8)}, [](Ctl& c, Args a) { c.RewindTimeData(D(a, 0)); return None(); });
    m.Method("GetFont", 57, BSTR, {In("FontID", I2), Out("size", I2), Out("attrib", I2)}, [](Ctl& c, Args a) {
        std::int16_t size = RefS(a, 1), attrib = RefS(a, 2);
        const std::string face = c.GetFont(S(a, 0), size, attrib);
        Put(a, 1, Variant::I2(size)), Put(a, 2, Variant::I2(attrib));
        return Str(face); });
    m.Method("SetAttribute", 58, NONE, {In("lineno", I2), In("Type", I2), In("marker", I2), In("color", I2)}, [](Ctl& c, Args a) { c.SetAttribute(S(a, 0), S(a, 1), S(a, 2), S(a, 3)); return None(); });
    m.Method("GetAttribute", 59, NONE, {In("lineno", I2), Out("Type", I2), Out("marker", I2), Out("color", I2)}, [](Ctl& c, Args a) {
        std::int16_t type = RefS(a, 1), marker = RefS(a, 2), color = RefS(a, 3);
        c.GetAttribute(S(a, 0), type, marker, color);
        Put(a, 1, Variant::I2(type)), Put(a, 2, Variant::I2(marker)), Put(a, 3, Variant::I2(color));
        return None(); });
    m.Method("ClearTimeData", 60, NONE, {In("VarNo", I2)}, [](Ctl& c, Args a) { c.ClearTimeData(S(a, 0)); return None(); });
    m.Method("GetSettings", 61, BSTR, {}, [](Ctl& c, Args) { return Str(c.GetSettings()); });
    m.Method("SetSettings", 62, NONE, {In("Settings", BSTR)}, [](Ctl& c, Args a) { c.SetSettings(T(a, 0)); return None(); });
    m.Method("EditObject", 63, NONE, {In("ObjectID", I2)}, [](Ctl& c, Args a) { c.EditObject(S(a, 0)); return None(); });
    m.Method("GetAxisMap", 64, I2, {In("VarNo", I2)}, [](Ctl& c, Args a) { return Variant::I2(c.GetAxisMap(S(a, 0))); });
    m.Method("SetAxisMap", 65, NONE, {In("VarNo", I2), In("AxisNo", I2)}, [](Ctl& c, Args a) { c.SetAxisMap(S(a, 0), S(a, 1)); return None(); });
    m.Method("FireReloadEvent", 66, NONE, {}, [](Ctl& c, Args) { c.FireReloadEvent(); return None(); });
    m.Method("CopyToBuffer", 67, NONE, {InOut("Data", VAR)}, [](Ctl& c, Args a) { c.CopyToBuffer(a[0]); return None(); });
    m.Method("SetAxisRange", 68, NONE, {In("AxisNo", I2), In("LowValue", R8), In("HighValue", R8)}, [](Ctl& c, Args a) { c.SetAxisRange(S(a, 0), D(a, 1), D(a, 2)); return None(); });
    m.Method("GetAxisRange", 69, NONE, {In("AxisNo", I2), Out("LowValue", R8), Out("HighValue", R8)}, [](Ctl& c, Args a) {
        double lo = com::Coerce(a[1], R8).r8(), hi = com::Coerce(a[2], R8).r8();
        c.GetAxisRange(S(a, 0), lo, hi);
        Put(a, 1, Variant::R8(lo)), Put(a, 2, Variant::R8(hi));
        return None(); });
    m.Method("SetXData", 70, NONE, {In("VarNo", I2), In("DataNo", I2), In("Value", R8)}, [](Ctl& c, Args a) { c.SetXData(S(a, 0), S(a, 1), D(a, 2)); return None(); });
    m.Method("SetTieLine", 71, NONE, {In("Type", I2), In("VarNo", I2)}, [](Ctl& c, Args a) { c.SetTieLine(S(a, 0), S(a, 1)); return None(); });
    // clang-format on
}

void AddObjectMethods(Map& m) {
    // clang-format off
    m.Method("AddText", 72, I2, {In("text", BSTR), In("x", R4), In("y", R4), In("color", I2), In("alignment", I2), In("fontname", BSTR), In("size", I2), In("style", I2)}, [](Ctl& c, Args a) {
        return Variant::I2(c.AddText(T(a, 0), F(a, 1), F(a, 2), S(a, 3), S(a, 4), T(a, 5), S(a, 6), S(a, 7))); });
    m.Method("SetXVariable", 73, NONE, {In("Yvarno", I2), In("Xvarno", I2)}, [](Ctl& c, Args a) { c.SetXVariable(S(a, 0), S(a, 1)); return None(); });
    m.Method("GetXVariable", 74, I2, {In("Yvarno", I2)}, [](Ctl& c, Args a) { return Variant::I2(c.GetXVariable(S(a, 0))); });
    m.Method("GetLegend", 75, BSTR, {In("VarNo", I2)}, [](Ctl& c, Args a) { return Str(c.GetLegend(S(a, 0))); });
    m.Method("GetNYaxes", 76, I2, {}, [](Ctl& c, Args) { return Variant::I2(c.GetNYaxes()); });
    m.Method("AddTextDialog", 77, NONE, {}, [](Ctl& c, Args) { c.AddTextDialog(); return None(); });
    m.Method("HideVariableDialog", 78, NONE, {}, [](Ctl& c, Args) { c.HideVariableDialog(); return None(); });
    m.Method("Copy", 79, NONE, {}, [](Ctl& c, Args) { c.Copy(); return None(); });
    m.Method("Paste", 80, NONE, {}, [](Ctl& c, Args) { c.Paste(); return None(); });
    m.Method("SetMultiplier", 81, NONE, {In("AxisNo", I2), In("Multiplier", I2)}, [](Ctl& c, Args a) { c.SetMultiplier(S(a, 0), S(a, 1)); return None(); });
    m.Method("GetMultiplier", 82, I2, {In("AxisNo", I2)}, [](Ctl& c, Args a) { return Variant::I2(c.GetMultiplier(S(a, 0))); });
    m.Method("ModifyText", 83, NONE, {In("oldText", BSTR), In("newText", BSTR)}, [](Ctl& c, Args a) { c.ModifyText(T(a, 0), T(a, 1)); return None(); });
    m.Method("GetData", 84, BOOL, {In("VarNo", I2), In("DataNo", I2), Out("Value", R8)}, [](Ctl& c, Args a) {
        double v = com::Coerce(a[2], R8).r8();
        const bool ok = c.GetData(S(a, 0), S(a, 1), v);
        Put(a, 2, Variant::R8(v));
        return Variant::Bool(ok); });
    m.Method("GetXData", 85, BOOL, {In("VarNo", I2), In("DataNo", I2), Out("Value", R8)}, [](Ctl& c, Args a) {
        double v = com::Coerce(a[2], R8).r8();
        const bool ok = c.GetXData(S(a, 0), S(a, 1), v);
        Put(a, 2, Variant::R8(v));
        return Variant::Bool(ok); });
    m.Method("SetLegendBox", 86, NONE, {In("location", I2), In("width", I2), In("itemheight", R4), In("margin", I2)}, [](Ctl& c, Args a) { c.SetLegendBox(S(a, 0), S(a, 1), F(a, 2), S(a, 3)); return None(); });
    m.Method("SetSubstitutionString", 87, NONE, {In("String", BSTR)}, [](Ctl& c, Args a) { c.SetSubstitutionString(T(a, 0)); return None(); });
    m.Method("SetSubstitutionValue", 88, NONE, {In("VarNo", I2), In("String", BSTR)}, [](Ctl& c, Args a) { c.SetSubstitutionValue(S(a, 0), T(a, 1)); return None(); });
    m.Method("GetMultiplierType", 89, I2, {In("AxisNo", I2)}, [](Ctl& c, Args a) { return Variant::I2(c.GetMultiplierType(S(a, 0))); });
    m.Method("SetMultiplierType", 90, NONE, {In("AxisNo", I2), In("MultiplierType", I2)}, [](Ctl& c, Args a) { c.SetMultiplierType(S(a, 0), S(a, 1)); return None(); });
    m.Method("DeleteVariable", 91, NONE, {In("VarNo", I2)}, [](Ctl& c, Args a) { c.DeleteVariable(S(a, 0)); return None(); });
    m.Method("MoveVariable", 92, NONE, {In("SourceVarNo", I2), In("TargetVarNo", I2)}, [](Ctl& c, Args a) { c.MoveVariable(S(a, 0), S(a, 1)); return None(); });
    m.Method("SetAxisMode", 93, NONE, {In("AxisNo", I2), In("index", I2), In("mode", I2)}, [](Ctl& c, Args a) { c.SetAxisMode(S(a, 0), S(a, 1), S(a, 2)); return None(); });
    m.Method("GetAxisMode", 94, NONE, {In("AxisNo", I2), In("index", I2), Out("mode", I2)}, [](Ctl& c, Args a) {
        std::int16_t mode = RefS(a, 2);
        c.GetAxisMode(S(a, 0), S(a, 1), mode);
        Put(a, 2, Variant::I2(mode));
        return None(); });
    m.Method("EnableResetFromDefinition", 95, NONE, {In("Enable", BOOL)}, [](Ctl& c, Args a) { c.EnableResetFromDefinition(B(a, 0)); return None(); });
    m.Method("SetXYData", 96, NONE, {In("ObjectID", I2), In("DataNo", I2), In("x", R8), In("y", R8)}, [](Ctl& c, Args a) { c.SetXYData(S(a, 0), S(a, 1), D(a, 2), D(a, 3)); return None(); });
    m.Method("NewLine", 97, I2, {In("color", I2), In("linetype", I2), In("marker", I2), In("MarkerSize", I2), In("direction", I2)}, [](Ctl& c, Args a) { return Variant::I2(c.NewLine(S(a, 0), S(a, 1), S(a, 2), S(a, 3), S(a, 4))); });
    m.Method("NewPolygon", 98, I2, {In("color", I2), In("fillmode", I2)}, [](Ctl& c, Args a) { return Variant::I2(c.NewPolygon(S(a, 0), S(a, 1))); });
    m.Method("NewText", 99, I2, {In("text", BSTR), In("x", R8), In("y", R8), In("attached", I2)}, [](Ctl& c, Args a) { return Variant::I2(c.NewText(T(a, 0), D(a, 1), D(a, 2), S(a, 3))); });
    m.Method("SetTextAttribute", 100, NONE, {In("ObjectID", I2), In("color", I2), In("alignment", I2), In("angle", I2), In("fontname", BSTR), In("size", I2), In("style", I2)}, [](Ctl& c, Args a) {
        c.SetTextAttribute(S(a, 0), S(a, 1), S(a, 2), S(a, 3), T(a, 4), S(a, 5), S(a, 6)); return None(); });
    m.Method("SetObject", 101, I2, {In("ObjectID", I2), In("Value", I2), In("mask", I2)}, [](Ctl& c, Args a) { return Variant::I2(c.SetObject(S(a, 0), S(a, 1), S(a, 2))); });
    m.Method("SetLineAttribute", 102, NONE, {In("ObjectID", I2), In("color", I2), In("linetype", I2), In("marker", I2), In("MarkerSize", I2), In("direction", I2), In("mask", I2)}, [](Ctl& c, Args a) {
        c.SetLineAttribute(S(a, 0), S(a, 1), S(a, 2), S(a, 3), S(a, 4), S(a, 5), S(a, 6)); return None(); });
    // clang-format on
}

void AddInterfaceMethods(Map& m) {
    // clang-format off
    m.Method("DoDoubleClick", 103, NONE, {In("x", I2), In("y", I2)}, [](Ctl& c, Args a) { c.DoDoubleClick(S(a, 0), S(a, 1)); return None(); });
    m.Method("DisplayText", 104, NONE, {In("szText", BSTR), In("x", I2), In("y", I2), In("millisecs", I4)}, [](Ctl& c, Args a) { c.DisplayText(T(a, 0), S(a, 1), S(a, 2), L(a, 3)); return None(); });
    m.Method("SetEvent", 105, NONE, {In("EventID", I2), In("OnOff", BOOL), In("Default", BOOL)}, [](Ctl& c, Args a) { c.SetEvent(S(a, 0), B(a, 1), B(a, 2)); return None(); });
    m.Method("ManageCursor", 106, NONE, {In("OnOff", BOOL)}, [](Ctl& c, Args a) { c.ManageCursor(B(a, 0)); return None(); });
    m.Method("InvokeMenuItem", 107, NONE, {In("id", I2)}, [](Ctl& c, Args a) { c.InvokeMenuItem(S(a, 0)); return None(); });
    m.Method("GetMenuItem", 108, BSTR, {InOut("code", I2), InOut("id", I2)}, [](Ctl& c, Args a) {
        std::int16_t code = RefS(a, 0), id = RefS(a, 1);
        const std::string text = c.GetMenuItem(code, id);
        Put(a, 0, Variant::I2(code)), Put(a, 1, Variant::I2(id));
        return Str(text); });
    m.Method("UpdateMenu", 109, NONE, {}, [](Ctl& c, Args) { c.UpdateMenu(); return None(); });
    m.Method("IsMenuItemEnabled", 110, BOOL, {In("id", I2)}, [](Ctl& c, Args a) { return Variant::Bool(c.IsMenuItemEnabled(S(a, 0))); });
    m.Method("DragLine", 111, NONE, {In("x1", I2), In("y1", I2), In("x2", I2), In("y2", I2), In("color", I2)}, [](Ctl& c, Args a) { c.DragLine(S(a, 0), S(a, 1), S(a, 2), S(a, 3), S(a, 4)); return None(); });
    m.Method("UpdateAxis", 112, NONE, {}, [](Ctl& c, Args) { c.UpdateAxis(); return None(); });
    m.Method("Clear", 113, NONE, {}, [](Ctl& c, Args) { c.Clear(); return None(); });
    m.Method("Zoom", 114, NONE, {In("mode", I2)}, [](Ctl& c, Args a) { c.Zoom(S(a, 0)); return None(); });
    m.Method("IsRegionDefined", 115, BOOL, {}, [](Ctl& c, Args) { return Variant::Bool(c.IsRegionDefined()); });
    m.Method("GetPointerLocation", 116, BOOL, {Out("ix", I2), Out("iy", I2)}, [](Ctl& c, Args a) {
        std::int16_t ix = RefS(a, 0), iy = RefS(a, 1);
        const bool in = c.GetPointerLocation(ix, iy);
        Put(a, 0, Variant::I2(ix)), Put(a, 1, Variant::I2(iy));
        return Variant::Bool(in); });
    m.Method("SetSymbol", 117, NONE, {In("SymbolName", BSTR), In("Value", BSTR)}, [](Ctl& c, Args a) { c.SetSymbol(T(a, 0), T(a, 1)); return None(); });
    m.Method("ConvertToDevice", 118, BOOL, {In("x", R8), In("y", R8), Out("ix", I2), Out("iy", I2)}, [](Ctl& c, Args a) {
        std::int16_t ix = RefS(a, 2), iy = RefS(a, 3);
        const bool ok = c.ConvertToDevice(D(a, 0), D(a, 1), ix, iy);
        Put(a, 2, Variant::I2(ix)), Put(a, 3, Variant::I2(iy));
        return Variant::Bool(ok); });
    m.Method("ConvertToPlot", 119, BOOL, {In("ix", I2), In("iy", I2), Out("x", R8), Out("y", R8)}, [](Ctl& c, Args a) {
        double x = com::Coerce(a[2], R8).r8(), y = com::Coerce(a[3], R8).r8();
        const bool ok = c.ConvertToPlot(S(a, 0), S(a, 1), x, y);
        Put(a, 2, Variant::R8(x)), Put(a, 3, Variant::R8(y));
        return Variant::Bool(ok); });
    m.Method("SetCopyMode", 120, NONE, {In("mode", I2)}, [](Ctl& c, Args a) { c.SetCopyMode(S(a, 0)); return None(); });
    m.Method("SetTextMode", 121, NONE, {In("mode", I2)}, [](Ctl& c, Args a) { c.SetTextMode(S(a, 0)); return None(); });
    m.Method("SetHighlightMode", 122, NONE, {In("mode", I2)}, [](Ctl& c, Args a) { c.SetHighlightMode(S(a, 0)); return None(); });
    m.Method("SetMousePointer", 123, NONE, {In("Type", I2)}, [](Ctl& c, Args a) { c.SetMousePointer(S(a, 0)); return None(); });
    m.Method("CopyWithSize", 124, NONE, {In("width", I2), In("height", I2)}, [](Ctl& c, Args a) { c.CopyWithSize(S(a, 0), S(a, 1)); return None(); });
    m.Method("GetXYData", 125, BOOL, {In("ObjectID", I2), In("DataNo", I2), Out("x", R8), Out("y", R8)}, [](Ctl& c, Args a) {
        double x = com::Coerce(a[2], R8).r8(), y = com::Coerce(a[3], R8).r8();
        const bool ok = c.GetXYData(S(a, 0), S(a, 1), x, y);
        Put(a, 2, Variant::R8(x)), Put(a, 3, Variant::R8(y));
        return Variant::Bool(ok); });
    m.Method("ChangeText", 126, NONE, {In("ObjectID", I2), In("text", BSTR), In("x", R8), In("y", R8), In("attached", I2)}, [](Ctl& c, Args a) { c.ChangeText(S(a, 0), T(a, 1), D(a, 2), D(a, 3), S(a, 4)); return None(); });
    m.Method("Print2", 127, NONE, {In("SetupOnly", BOOL)}, [](Ctl& c, Args a) { c.Print2(B(a, 0)); return None(); });
    m.Method("PrintPreview", 128, NONE, {In("ON", BOOL)}, [](Ctl& c, Args a) { c.PrintPreview(B(a, 0)); return None(); });
    m.Method("OpenLog", 129, NONE, {In("filename", BSTR)}, [](Ctl& c, Args a) { c.OpenLog(T(a, 0)); return None(); });
    m.Method("CloseLog", 130, NONE, {}, [](Ctl& c, Args) { c.CloseLog(); return None(); });
    m.Method("PageLayout", 131, NONE, {}, [](Ctl& c, Args) { c.PageLayout(); return None(); });
    m.Method("Rotate", 132, NONE, {In("direction", I2)}, [](Ctl& c, Args a) { c.Rotate(S(a, 0)); return None(); });
    m.Method("SetPhasePlot", 133, NONE, {In("bSet", BOOL)}, [](Ctl& c, Args a) { c.SetPhasePlot(B(a, 0)); return None(); });
    m.Method("GetPhasePlot", 134, BOOL, {}, [](Ctl& c, Args) { return Variant::Bool(c.GetPhasePlot()); });
    m.Method("AddPhaseData", 135, I4, {In("x_data", R4), InOut("py_data", ARR)}, [](Ctl& c, Args a) {
        com::FloatArray values = com::Coerce(a[1], ARR).array();
        return Variant::I4(c.AddPhaseData(F(a, 0), values)); });
    m.Method("GetPhaseXVariable", 136, BSTR, {}, [](Ctl& c, Args) { return Str(c.GetPhaseXVariable()); });
    m.Method("SetPhaseXVariable", 137, NONE, {In("sVarName", BSTR)}, [](Ctl& c, Args a) { c.SetPhaseXVariable(T(a, 0)); return None(); });
    m.Method("FirePhasePlot", 138, NONE, {In("sVarName", BSTR)}, [](Ctl& c, Args a) { c.FirePhasePlot(T(a, 0)); return None(); });
    m.Method("GetScale", 139, I2, {In("VarNo", I2)}, [](Ctl& c, Args a) { return Variant::I2(c.GetScale(S(a, 0))); });
    m.Method("EnableLivePlot", 140, NONE, {In("set", BOOL)}, [](Ctl& c, Args a) { c.EnableLivePlot(B(a, 0)); return None(); });
    m.Method("SetLivePlot", 141, NONE, {In("set", BOOL)}, [](Ctl& c, Args a) { c.SetLivePlot(B(a, 0)); return None(); });
    m.Method("AboutBox", -552, NONE, {}, [](Ctl& c, Args) { c.AboutBox(); return None(); });
    // clang-format on
}

const Map& DispatchMapOfControl() {
    static const Map map = [] {
        Map m(com::TypeInfo("_DTrendix", "Dispatch interface for Trendix Control"));
        AddProperties(m);
        AddDrawingAndDataMethods(m);
        AddObjectMethods(m);
        AddInterfaceMethods(m);
        return m;
    }();
    return map;
}

} // namespace

const com::TypeInfo& CTrendixCtrl::GetTypeInfo() const { return DispatchMapOfControl().info(); }

// Memory that cannot be had fails the call with the out-of-memory status; the members that
// allocate leave what they were changing as it was.
com::Variant CTrendixCtrl::Invoke(com::DISPID id, com::InvokeKind kind, std::span<com::Variant> args) {
    if (kind == com::InvokeKind::PropertyPut && id > 0) assigned_ |= 1u << (id & 31);
    try {
        return DispatchMapOfControl().Invoke(*this, id, kind, args);
    } catch (const std::bad_alloc&) {
        throw com::DispatchError(com::E_OUTOFMEMORY, "Out of memory");
    } catch (const std::length_error&) {
        throw com::DispatchError(com::E_OUTOFMEMORY, "Out of memory");
    }
}
