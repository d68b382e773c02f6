#include "control/ControlHarness.h"
#include "model/MenuTable.h"
#include "support/CtrlProbe.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>
#include <set>
#include <string>

using com::HRESULT;
using com::InvokeKind;
using com::ParamDir;
using com::Variant;
using com::VarType;

namespace {

std::string Lower(std::string s) {
    for (char& ch : s)
        ch = char(std::tolower(static_cast<unsigned char>(ch)));
    return s;
}

constexpr HRESULT kInvalidArg = 0x80070057u;

struct WalkStep {
    short code;
    short id;
    std::string text;
};

} // namespace

using TrendixCtrlDefaults = ControlHarness;
using TrendixCtrlInterface = ControlHarness;
using TrendixCtrlIndex = ControlHarness;
using TrendixCtrlProperty = ControlHarness;
using TrendixCtrlTimeData = ControlHarness;
using TrendixCtrlVariable = ControlHarness;
using TrendixCtrlMenu = ControlHarness;
using TrendixCtrlEvents = ControlHarness;
using TrendixCtrlClear = ControlHarness;
using TrendixCtrlBadInput = ControlHarness;

// ---------------------------------------------------------------------------------------------
// Defaults and the shape of the interface

TEST_F(TrendixCtrlDefaults, NewControlReadsBackEveryPersistedDefault) {
    for (const Persisted& p : kPersisted)
        EXPECT_EQ(Get(p.name), p.dflt) << p.name;
    const std::pair<const char*, Variant> defaults[] = {
        // not persisted, but a new control starts with them
        {"GridInterval", Variant::R4(0.1f)},
        {"AlwaysShowFull", Variant::Bool(false)},
        {"EditProfileVariables", Variant::Bool(false)},
        {"EditProfileTable", Variant::Bool(false)},
        {"npoints", Variant::I2(0)},
        {"dummy2", Variant::I2(0)},
        {"dummy5", Variant::I2(0)},
        {"BackColor", Variant::I4(0xFFFFFF)},
        {"ForeColor", Variant::I4(0)},
        {"PlotVals", Variant::Object(nullptr)},
    };
    for (const auto& [name, expected] : defaults)
        EXPECT_EQ(Get(name), expected) << name;
    // Names match without regard to case.
    EXPECT_EQ(Get("TITLE"), Variant::Str("Title"));
    EXPECT_EQ(Get("buffersize"), Variant::I4(2000));
    EXPECT_TRUE(sink.events.empty());
}

TEST_F(TrendixCtrlInterface, EveryMemberHasItsDispidAndNamesAreUnique) {
    const std::pair<const char*, com::DISPID> members[] = {
        {"Title", 1},
        {"xlabel", 2},
        {"ylabel", 3},
        {"MultiYaxis", 4},
        {"RunPlot", 5},
        {"PlotType", 6},
        {"TimeWindow", 7},
        {"UseVariable", 8},
        {"InputFile", 9},
        {"npoints", 10},
        {"nvariables", 11},
        {"TimeScrollUnit", 12},
        {"GridType", 13},
        {"MarkerSize", 14},
        {"MarkerInterval", 15},
        {"Flipped", 16},
        {"SquarePlot", 17},
        {"DiagonalLine", 18},
        {"ZeroLine", 19},
        {"DisplayType", 20},
        {"BufferSize", 21},
        {"SizeToData", 22},
        {"BackColor", -501},
        {"ForeColor", -513},
        {"Parametric", 23},
        {"nxvariables", 24},
        {"ReverseXAxis", 25},
        {"AddTimeStamp", 26},
        {"ShowLegend", 27},
        {"CommunicationIntervals", 28},
        {"GridInterval", 29},
        {"VariableDrop", 30},
        {"IgnoreSetLegend", 31},
        {"PlotVals", 32},
        {"EditProfileVariables", 33},
        {"EditProfileTable", 34},
        {"AlwaysShowFull", 35},
        {"dummy2", 36},
        {"dummy3", 37},
        {"dummy4", 38},
        {"dummy5", 39},
        {"Redraw", 40},
        {"Scroll", 41},
        {"GetScroll", 42},
        {"GetCurrentValue", 43},
        {"AddTimeData", 44},
        {"SetLabel", 45},
        {"SetLegend", 46},
        {"SetScale", 47},
        {"SetInteger", 48},
        {"SetRange", 49},
        {"SetData", 50},
        {"SetFont", 51},
        {"SetVariable", 52},
        {"GetVariable", 53},
        {"GetRange", 54},
        {"GetLabel", 55},
        {"RewindTimeData", 56},
        {"GetFont", 57},
        {"SetAttribute", 58},
        {"GetAttribute", 59},
        {"ClearTimeData", 60},
        {"GetSettings", 61},
        {"SetSettings", 62},
        {"EditObject", 63},
        {"GetAxisMap", 64},
        {"SetAxisMap", 65},
        {"FireReloadEvent", 66},
        {"CopyToBuffer", 67},
        {"SetAxisRange", 68},
        {"GetAxisRange", 69},
        {"SetXData", 70},
        {"SetTieLine", 71},
        {"AddText", 72},
        {"SetXVariable", 73},
        {"GetXVariable", 74},
        {"GetLegend", 75},
        {"GetNYaxes", 76},
        {"AddTextDialog", 77},
        {"HideVariableDialog", 78},
        {"Copy", 79},
        {"Paste", 80},
        {"SetMultiplier", 81},
        {"GetMultiplier", 82},
        {"ModifyText", 83},
        {"GetData", 84},
        {"GetXData", 85},
        {"SetLegendBox", 86},
        {"SetSubstitutionString", 87},
        {"SetSubstitutionValue", 88},
        {"GetMultiplierType", 89},
        {"SetMultiplierType", 90},
        {"DeleteVariable", 91},
        {"MoveVariable", 92},
        {"SetAxisMode", 93},
        {"GetAxisMode", 94},
        {"EnableResetFromDefinition", 95},
        {"SetXYData", 96},
        {"NewLine", 97},
        {"NewPolygon", 98},
        {"NewText", 99},
        {"SetTextAttribute", 100},
        {"SetObject", 101},
        {"SetLineAttribute", 102},
        {"DoDoubleClick", 103},
        {"DisplayText", 104},
        {"SetEvent", 105},
        {"ManageCursor", 106},
        {"InvokeMenuItem", 107},
        {"GetMenuItem", 108},
        {"UpdateMenu", 109},
        {"IsMenuItemEnabled", 110},
        {"DragLine", 111},
        {"UpdateAxis", 112},
        {"Clear", 113},
        {"Zoom", 114},
        {"IsRegionDefined", 115},
        {"GetPointerLocation", 116},
        {"SetSymbol", 117},
        {"ConvertToDevice", 118},
        {"ConvertToPlot", 119},
        {"SetCopyMode", 120},
        {"SetTextMode", 121},
        {"SetHighlightMode", 122},
        {"SetMousePointer", 123},
        {"CopyWithSize", 124},
        {"GetXYData", 125},
        {"ChangeText", 126},
        {"Print2", 127},
        {"PrintPreview", 128},
        {"OpenLog", 129},
        {"CloseLog", 130},
        {"PageLayout", 131},
        {"Rotate", 132},
        {"SetPhasePlot", 133},
        {"GetPhasePlot", 134},
        {"AddPhaseData", 135},
        {"GetPhaseXVariable", 136},
        {"SetPhaseXVariable", 137},
        {"FirePhasePlot", 138},
        {"GetScale", 139},
        {"EnableLivePlot", 140},
        {"SetLivePlot", 141},
        {"AboutBox", -552},
    };
    static_assert(std::size(members) == 144);
    const com::TypeInfo& info = c.GetTypeInfo();
    EXPECT_EQ(info.name(), "_DTrendix");
    EXPECT_EQ(info.members().size(), 144u);
    std::set<std::string> names;
    std::set<com::DISPID> ids;
    for (const com::MemberInfo& m : info.members()) {
        names.insert(Lower(m.name));
        ids.insert(m.id);
    }
    EXPECT_EQ(names.size(), 144u);
    EXPECT_EQ(ids.size(), 144u);
    for (const auto& [name, id] : members) {
        const com::MemberInfo* m = info.Find(name);
        ASSERT_NE(m, nullptr) << name;
        EXPECT_EQ(m->name, name);
        EXPECT_EQ(m->id, id) << name;
        EXPECT_EQ(m->isProperty, id < 40 && id != -552) << name;
        EXPECT_EQ(info.Find(Lower(name)), m) << name;
    }
    EXPECT_THROW(c.GetIDOfName("NoSuchMember"), com::DispatchError);

    // The events.
    const char* events[] = {"Selected",
                            "Zoomed",
                            "ApplyVariableChanges",
                            "VariableChanged",
                            "OnDropText",
                            "ReloadNow",
                            "OnEditProfileVariables",
                            "OnOnShowasHistory",
                            "OnEditProfileTable",
                            "OnResetFormDefinition",
                            "SetMessageText",
                            "CommunicationIntervalsSet",
                            "PointerLocation",
                            "OnClick",
                            "OnDoubleClick",
                            "CursorSet",
                            "OnRBClick",
                            "RegionDefined",
                            "KeyPress",
                            "KeyDown",
                            "KeyUp",
                            "Scrolled",
                            "PointerExit",
                            "PhaseVariableSet",
                            "PhaseVariableDropped",
                            "ZoomTimeRange",
                            "RevertToTimePlot",
                            "OnLivePlot",
                            "SetCaption",
                            "Modified"};
    const com::TypeInfo* ev = c.GetEventTypeInfo();
    ASSERT_NE(ev, nullptr);
    EXPECT_EQ(ev->name(), "_DTrendixEvents");
    EXPECT_EQ(ev->members().size(), 30u);
    std::set<std::string> eventNames;
    for (const com::MemberInfo& m : ev->members())
        eventNames.insert(Lower(m.name));
    EXPECT_EQ(eventNames.size(), 30u);
    for (int i = 0; i < 30; ++i) {
        const com::MemberInfo* m = ev->Find(events[i]);
        ASSERT_NE(m, nullptr) << events[i];
        EXPECT_EQ(m->id, i + 1) << events[i];
    }
}

TEST_F(TrendixCtrlInterface, ParameterListsMatchTheDeclarations) {
    struct P {
        const char* name;
        VarType type;
        ParamDir dir;
    };
    struct Decl {
        const char* member;
        VarType result;
        std::vector<P> params;
    };
    const auto In = ParamDir::In, Out = ParamDir::Out, InOut = ParamDir::InOut;
    const VarType I2 = VarType::I2, I4 = VarType::I4, R4 = VarType::R4, R8 = VarType::R8,
                  B = VarType::Bool, S = VarType::BStr, None = VarType::Empty;
    const Decl decls[] = {
        {"AddTimeData", None, {{"VarNo", I2, In}, {"Time", R8, In}, {"Value", R8, In}}},
        {"Scroll", None, {{"Horizontal", B, In}, {"Type", I2, In}, {"Value", I2, In}}},
        {"GetScroll", None, {{"Horizontal", B, In}, {"MinValue", I2, Out}, {"MaxValue", I2, Out}}},
        {"GetRange", None, {{"VarNo", I2, In}, {"LowValue", R8, Out}, {"HighValue", R8, Out}}},
        {"GetData", B, {{"VarNo", I2, In}, {"DataNo", I2, In}, {"Value", R8, Out}}},
        {"GetFont", S, {{"FontID", I2, In}, {"size", I2, Out}, {"attrib", I2, Out}}},
        {"GetMenuItem", S, {{"code", I2, InOut}, {"id", I2, InOut}}},
        {"CopyToBuffer", None, {{"Data", VarType::Variant, InOut}}},
        {"AddPhaseData", I4, {{"x_data", R4, In}, {"py_data", VarType::ArrayR4, InOut}}},
        {"SetLegendBox",
         None,
         {{"location", I2, In}, {"width", I2, In}, {"itemheight", R4, In}, {"margin", I2, In}}},
        {"DisplayText",
         None,
         {{"szText", S, In}, {"x", I2, In}, {"y", I2, In}, {"millisecs", I4, In}}},
        {"AddText",
         I2,
         {{"text", S, In},
          {"x", R4, In},
          {"y", R4, In},
          {"color", I2, In},
          {"alignment", I2, In},
          {"fontname", S, In},
          {"size", I2, In},
          {"style", I2, In}}},
        {"SetEvent", None, {{"EventID", I2, In}, {"OnOff", B, In}, {"Default", B, In}}},
        {"ConvertToPlot", B, {{"ix", I2, In}, {"iy", I2, In}, {"x", R8, Out}, {"y", R8, Out}}},
        {"GetXVariable", I2, {{"Yvarno", I2, In}}},
        {"GetVariable", S, {{"index", I2, In}}},
        {"Redraw", None, {}},
        {"AboutBox", None, {}},
    };
    const com::TypeInfo& info = c.GetTypeInfo();
    for (const Decl& d : decls) {
        SCOPED_TRACE(d.member);
        const com::MemberInfo* m = info.Find(d.member);
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m->type, d.result);
        ASSERT_EQ(m->params.size(), d.params.size());
        for (size_t i = 0; i < d.params.size(); ++i) {
            EXPECT_EQ(m->params[i].name, d.params[i].name);
            EXPECT_EQ(m->params[i].type, d.params[i].type) << d.params[i].name;
            EXPECT_EQ(m->params[i].dir, d.params[i].dir) << d.params[i].name;
        }
    }
    const std::pair<const char*, VarType> properties[] = {
        {"Title", VarType::BStr}, {"TimeWindow", R4}, {"BufferSize", I4},
        {"nvariables", I2},       {"RunPlot", B},     {"GridInterval", R4},
    };
    for (const auto& [name, type] : properties)
        EXPECT_EQ(info.Find(name)->type, type) << name;

    const com::TypeInfo& ev = *c.GetEventTypeInfo();
    const auto& click = ev.Find("OnClick")->params;
    const VarType clickTypes[] = {R8, R8, I2, I2, I2, I2};
    ASSERT_EQ(click.size(), 6u);
    for (size_t i = 0; i < 6; ++i)
        EXPECT_EQ(click[i].type, clickTypes[i]) << i;
    EXPECT_EQ(click[4].name, "ObjectID");
    const auto& changed = ev.Find("VariableChanged")->params;
    ASSERT_EQ(changed.size(), 3u);
    EXPECT_EQ(changed[0].type, I2);
    EXPECT_EQ(changed[1].type, VarType::BStr);
    EXPECT_EQ(changed[2].type, I2);
    const auto& key = ev.Find("KeyDown")->params;
    ASSERT_EQ(key.size(), 2u);
    EXPECT_EQ(key[0].type, I4);
    EXPECT_EQ(key[1].type, I4);
    EXPECT_TRUE(ev.Find("Modified")->params.empty());
}

// ---------------------------------------------------------------------------------------------
// Index checks

TEST_F(TrendixCtrlIndex, OutOfRangeNumbersAreIgnoredAnsweredOrRefused) {
    Put("npoints", Variant::I2(3));
    // Ignored silently.
    const int repaints = site.invalidateCount;
    Call("SetMultiplier", {Variant::I2(5), Variant::I2(3)});
    Call("SetMultiplierType", {Variant::I2(-1), Variant::I2(1)});
    Call("SetScale", {Variant::I2(5), Variant::I2(1)});
    Call("SetXVariable", {Variant::I2(5), Variant::I2(1)});
    Call("SetAxisMap", {Variant::I2(9), Variant::I2(2)});
    Call("SetData", {Variant::I2(2), Variant::I2(0), Variant::R8(1)});
    Call("SetData", {Variant::I2(-1), Variant::I2(0), Variant::R8(1)});
    Call("SetXData", {Variant::I2(2), Variant::I2(0), Variant::R8(1)});
    Call("DeleteVariable", {Variant::I2(4)});
    Call("MoveVariable", {Variant::I2(0), Variant::I2(4)});
    EXPECT_EQ(site.invalidateCount, repaints);
    EXPECT_EQ(Call("GetNYaxes"), Variant::I2(1));
    EXPECT_EQ(Call("GetVariable", {Variant::I2(0)}), Variant::Str("Var. 1"));
    EXPECT_EQ(Call("GetMultiplier", {Variant::I2(1)}), Variant::I2(0));

    // Answered with FALSE or 0, outputs untouched where the call says so.
    double v = 0;
    EXPECT_FALSE(GetData(2, 0, v));
    EXPECT_FALSE(GetData(-1, 0, v));
    EXPECT_TRUE(GetData(1, 0, v));
    EXPECT_EQ(v, 1e28);
    Variant out = Variant::R8(-5);
    EXPECT_EQ(Call("GetXData", {Variant::I2(0), Variant::I2(0), Variant::Ref(&out)}),
              Variant::Bool(false));
    EXPECT_EQ(Call("GetXData", {Variant::I2(2), Variant::I2(0), Variant::Ref(&out)}),
              Variant::Bool(false));
    EXPECT_EQ(Call("GetXVariable", {Variant::I2(2)}), Variant::I2(0));
    EXPECT_EQ(Call("GetMultiplier", {Variant::I2(2)}), Variant::I2(0));
    EXPECT_EQ(Call("GetMultiplierType", {Variant::I2(2)}), Variant::I2(0));
    EXPECT_EQ(Call("GetAxisMap", {Variant::I2(3)}), Variant::I2(0));
    EXPECT_EQ(Call("GetScale", {Variant::I2(3)}), Variant::I2(0));
    EXPECT_EQ(Call("IsMenuItemEnabled", {Variant::I2(3)}), Variant::Bool(false));
    EXPECT_EQ(Call("GetVariable", {Variant::I2(7)}), Variant::Str(""));
    Variant t = Variant::I2(-1), mk = Variant::I2(-2), col = Variant::I2(-3);
    Call("GetAttribute", {Variant::I2(4), Variant::Ref(&t), Variant::Ref(&mk), Variant::Ref(&col)});
    EXPECT_EQ(t, Variant::I2(-1));
    EXPECT_EQ(mk, Variant::I2(-2));
    EXPECT_EQ(col, Variant::I2(-3));

    // Refused with an invalid-argument error.
    EXPECT_EQ(StatusOf([&] { Call("GetVariable", {Variant::I2(-1)}); }), kInvalidArg);
    EXPECT_EQ(StatusOf([&] {
                  Call("SetXVariable", {Variant::I2(0), Variant::I2(1)});
              }),
              kInvalidArg);
    EXPECT_EQ(StatusOf([&] {
                  Call("SetXVariable", {Variant::I2(-2), Variant::I2(1)});
              }),
              kInvalidArg);
    EXPECT_EQ(StatusOf([&] { Call("GetXVariable", {Variant::I2(0)}); }), kInvalidArg);
    EXPECT_EQ(StatusOf([&] {
                  Call("SetVariable", {Variant::I2(3), Variant::Str("far")});
              }),
              kInvalidArg);
    // ClearTimeData checks only in run mode.
    EXPECT_EQ(StatusOf([&] { Call("ClearTimeData", {Variant::I2(5)}); }), com::S_OK);
    Put("RunPlot", Variant::Bool(true));
    EXPECT_EQ(StatusOf([&] { Call("ClearTimeData", {Variant::I2(1)}); }), kInvalidArg);
    EXPECT_EQ(StatusOf([&] { Call("ClearTimeData", {Variant::I2(-1)}); }), kInvalidArg);
    AddTimeData(1, 0.0, 7);
    EXPECT_EQ(StatusOf([&] { Call("ClearTimeData", {Variant::I2(0)}); }), com::S_OK);
    EXPECT_EQ(Data(1, 0), 7); // no sample is removed
}

// ---------------------------------------------------------------------------------------------
// Properties with replaced or refused values

TEST_F(TrendixCtrlProperty, ReplacedAndRefusedValues) {
    Put("TimeScrollUnit", Variant::R4(0));
    EXPECT_EQ(Get("TimeScrollUnit"), Variant::R4(1.0f * 0.2f));
    Put("TimeWindow", Variant::R4(5));
    Put("TimeScrollUnit", Variant::R4(6));
    EXPECT_EQ(Get("TimeScrollUnit"), Variant::R4(1.0f));
    Put("TimeScrollUnit", Variant::R4(0.0005f));
    EXPECT_EQ(Get("TimeScrollUnit"), Variant::R4(1.0f));
    Put("TimeScrollUnit", Variant::R4(3));
    EXPECT_EQ(Get("TimeScrollUnit"), Variant::R4(3.0f));
    Put("TimeScrollUnit", Variant::R4(5));
    EXPECT_EQ(Get("TimeScrollUnit"), Variant::R4(5.0f));

    Put("GridType", Variant::I2(7));
    EXPECT_EQ(Get("GridType"), Variant::I2(0));
    Put("GridType", Variant::I2(3));
    EXPECT_EQ(Get("GridType"), Variant::I2(3));
    EXPECT_EQ(c.Model()->gridType, 3);
    Put("GridType", Variant::I2(-1));
    EXPECT_EQ(Get("GridType"), Variant::I2(0));
    EXPECT_EQ(c.Model()->gridType, 0);

    Put("DisplayType", Variant::I2(5));
    EXPECT_EQ(Get("DisplayType"), Variant::I2(2));
    Put("DisplayType", Variant::I2(1));
    EXPECT_EQ(Get("DisplayType"), Variant::I2(1));
    Put("DisplayType", Variant::I2(-3));
    EXPECT_EQ(Get("DisplayType"), Variant::I2(2));
    EXPECT_EQ(c.Model()->displayType, 2);

    Put("DiagonalLine", Variant::Bool(true));
    EXPECT_EQ(Get("SquarePlot"), Variant::Bool(true));
    Put("SquarePlot", Variant::Bool(false));
    EXPECT_EQ(Get("SquarePlot"), Variant::Bool(true));
    Put("DiagonalLine", Variant::Bool(false));
    Put("SquarePlot", Variant::Bool(false));
    EXPECT_EQ(Get("SquarePlot"), Variant::Bool(false));

    // Refused values leave the property as it was.
    EXPECT_EQ(StatusOf([&] { Put("TimeWindow", Variant::R4(0)); }), kInvalidArg);
    EXPECT_EQ(StatusOf([&] { Put("TimeWindow", Variant::R4(-1)); }), kInvalidArg);
    EXPECT_EQ(Get("TimeWindow"), Variant::R4(5.0f));
    EXPECT_EQ(StatusOf([&] { Put("BufferSize", Variant::I4(0)); }), kInvalidArg);
    EXPECT_EQ(StatusOf([&] { Put("BufferSize", Variant::I4(-5)); }), kInvalidArg);
    EXPECT_EQ(StatusOf([&] { Put("BufferSize", Variant::I4(16777217)); }), kInvalidArg);
    EXPECT_EQ(Get("BufferSize"), Variant::I4(2000));
    EXPECT_EQ(StatusOf([&] { Put("npoints", Variant::I2(-1)); }), kInvalidArg);
    EXPECT_EQ(StatusOf([&] { Put("nvariables", Variant::I2(-1)); }), kInvalidArg);
    EXPECT_EQ(StatusOf([&] { Put("nxvariables", Variant::I2(-2)); }), kInvalidArg);
    EXPECT_EQ(Get("npoints"), Variant::I2(0));
    EXPECT_EQ(Get("nvariables"), Variant::I2(1));
    EXPECT_EQ(Get("nxvariables"), Variant::I2(1));
}

TEST_F(TrendixCtrlProperty, CurrentValueTitleAndCursor) {
    Put("Title", Variant::Str(" \t\r\n My plot \n\t "));
    Put("xlabel", Variant::Str("\tTime\r\n"));
    EXPECT_EQ(Call("GetCurrentValue", {Variant::I2(0)}), Variant::Str("My plot"));
    EXPECT_EQ(Call("GetCurrentValue", {Variant::I2(1)}), Variant::Str("Time"));
    EXPECT_EQ(Call("GetCurrentValue", {Variant::I2(2)}), Variant::Str("Y Label"));
    EXPECT_EQ(Call("GetCurrentValue", {Variant::I2(3)}), Variant::Str(""));
    EXPECT_EQ(Get("Title"), Variant::Str(" \t\r\n My plot \n\t ")); // stored as given
    EXPECT_EQ(c.Model()->titleRegion->label.text, "My plot");

    EXPECT_EQ(CtrlProbe::PointerCursor(c), 32512);
    const int shown = site.cursor;
    for (short type : {0, 16, -1, 300}) {
        Call("SetMousePointer", {Variant::I2(type)});
        EXPECT_EQ(CtrlProbe::PointerCursor(c), 32512) << type;
        EXPECT_EQ(site.cursor, shown) << type;
    }
    Call("SetMousePointer", {Variant::I2(2)});
    EXPECT_EQ(CtrlProbe::PointerCursor(c), 32515);
    EXPECT_EQ(site.cursor, 32515);
    Call("SetMousePointer", {Variant::I2(15)});
    EXPECT_EQ(site.cursor, 32646);
}

TEST_F(TrendixCtrlProperty, SetEventSetsTheFireAndDefaultBits) {
    EXPECT_EQ(CtrlProbe::EventMask(c), 0x00F70000u);
    Call("SetEvent", {Variant::I2(4), Variant::Bool(true), Variant::Bool(false)});
    EXPECT_EQ(CtrlProbe::EventMask(c), 0x00F70008u & ~(1u << 19));
    Call("SetEvent", {Variant::I2(4), Variant::Bool(false), Variant::Bool(true)});
    EXPECT_EQ(CtrlProbe::EventMask(c), 0x00FF0000u);
    Call("SetEvent", {Variant::I2(33), Variant::Bool(true), Variant::Bool(true)});
    EXPECT_EQ(CtrlProbe::EventMask(c), 0x00FF0001u); // bit 48 counts as bit 16, already set
}

// ---------------------------------------------------------------------------------------------
// Time data

TEST_F(TrendixCtrlTimeData, OutOfRangeVariablesChangeNothingAndFireNothing) {
    Put("RunPlot", Variant::Bool(true));
    const int repaints = site.invalidateCount;
    sink.events.clear();
    AddTimeData(0, 0.5, 1);
    AddTimeData(2, 0.5, 1);
    AddTimeData(-1, 5.0, 1);
    AddTimeData(2, 5.0, 1);
    double v = 0;
    EXPECT_FALSE(GetData(0, 0, v));
    EXPECT_FALSE(GetData(1, 0, v));
    EXPECT_TRUE(sink.events.empty());
    EXPECT_EQ(site.invalidateCount, repaints);
    EXPECT_FALSE(CtrlProbe::DataAdded(c));
    EXPECT_FALSE(CtrlProbe::Scrolled(c));

    // nvariables 0 is first taken from the model.
    Put("nvariables", Variant::I2(0));
    EXPECT_EQ(Get("nvariables"), Variant::I2(0));
    AddTimeData(1, 0.0, 5);
    EXPECT_EQ(Data(1, 0), 5);
    EXPECT_EQ(Get("nvariables"), Variant::I2(1));
    EXPECT_TRUE(CtrlProbe::DataAdded(c));
    Call("Redraw");
    EXPECT_FALSE(CtrlProbe::DataAdded(c));
}

TEST_F(TrendixCtrlTimeData, WithoutRunPlotNothingIsStoredOrScrolled) {
    Put("npoints", Variant::I2(3));
    AddTimeData(1, 0.0, 5);
    AddTimeData(1, 5.0, 6);
    EXPECT_EQ(Data(0, 0), 1e28);
    EXPECT_EQ(Data(1, 0), 1e28);
    EXPECT_EQ(Data(1, 1), 1e28);
    EXPECT_TRUE(sink.events.empty());
    EXPECT_FALSE(site.horizontal.shown);
    EXPECT_FALSE(CtrlProbe::Scrolled(c));
}

TEST_F(TrendixCtrlTimeData, OnlyAnAdvancingSampleFiresZoomed) {
    Put("RunPlot", Variant::Bool(true));
    sink.events.clear();
    AddTimeData(1, 0.0, 1);
    AddTimeData(1, 0.5, 2);
    AddTimeData(1, 1.0, 3);
    EXPECT_TRUE(sink.events.empty());
    EXPECT_FALSE(CtrlProbe::Scrolled(c));

    AddTimeData(1, 1.05, 4);
    ASSERT_EQ(sink.events.size(), 1u);
    EXPECT_EQ(sink.events[0].id, EV_Zoomed);
    EXPECT_EQ(sink.events[0].args, std::vector<Variant>{Variant::Bool(true)});
    EXPECT_TRUE(CtrlProbe::Scrolled(c));
    EXPECT_EQ(c.Model()->timeScrolled, 1);
    EXPECT_TRUE(site.horizontal.shown);
    EXPECT_NEAR(c.Model()->Axis(0)->fullMax, 1.2, 1e-6);

    AddTimeData(1, 1.1, 5);
    EXPECT_EQ(sink.events.size(), 1u);
    AddTimeData(1, 1.5, 5);
    EXPECT_EQ(sink.Count(EV_Zoomed), 2);
    EXPECT_NEAR(c.Model()->Axis(0)->fullMax, 1.6, 1e-6);

    // Rewinding a scrolled plot re-evaluates the scroll bars.
    Call("RewindTimeData", {Variant::R8(0.5)});
    EXPECT_EQ(sink.Count(EV_Zoomed), 3);
    EXPECT_EQ(Data(0, 1), 0.5);
    double v = 0;
    EXPECT_FALSE(GetData(0, 2, v));
}

TEST_F(TrendixCtrlTimeData, NonFiniteAndFarSamples) {
    Put("RunPlot", Variant::Bool(true));
    AddTimeData(1, 0.0, 2);
    AddTimeData(1, 0.1, 3);
    Variant lo = Variant::R8(0), hi = Variant::R8(0);
    Call("GetRange", {Variant::I2(1), Variant::Ref(&lo), Variant::Ref(&hi)});
    const Variant lo0 = lo, hi0 = hi;
    AddTimeData(1, 0.2, std::numeric_limits<double>::quiet_NaN());
    AddTimeData(1, 0.3, std::numeric_limits<double>::infinity());
    AddTimeData(1, 0.4, -std::numeric_limits<double>::infinity());
    for (short k = 2; k <= 4; ++k)
        EXPECT_EQ(Data(1, k), 1e28) << k;
    AddTimeData(1, 0.5, 5e28); // above the mark: kept, but counts as missing
    Call("GetRange", {Variant::I2(1), Variant::Ref(&lo), Variant::Ref(&hi)});
    EXPECT_EQ(lo, lo0);
    EXPECT_EQ(hi, hi0);

    // Far times end: the axis moves past them or ignores them.
    sink.events.clear();
    AddTimeData(1, 1e20, 1);
    EXPECT_EQ(sink.Count(EV_Zoomed), 1);
    EXPECT_GT(c.Model()->Axis(0)->fullMax, 1e20);
    AddTimeData(1, 1e300, 1);
    AddTimeData(1, std::numeric_limits<double>::infinity(), 1);
    AddTimeData(1, std::numeric_limits<double>::quiet_NaN(), 1);
    EXPECT_EQ(sink.Count(EV_Zoomed), 1);

    // Points set by number take non-finite values as missing too.
    Put("RunPlot", Variant::Bool(false));
    Put("npoints", Variant::I2(2));
    Call("SetData",
         {Variant::I2(1), Variant::I2(0), Variant::R8(std::numeric_limits<double>::infinity())});
    EXPECT_EQ(Data(1, 0), 1e28);
}

TEST_F(TrendixCtrlTimeData, CopyToBufferAndPhaseDataThroughTheInterface) {
    Put("nvariables", Variant::I2(2));
    com::FloatArray batch = com::FloatArray::Matrix(3, 3);
    const float rows[3][3] = {{0.0f, 1.0f, 2.0f}, {0.5f, 3.0f, 4.0f}, {1.5f, 5.0f, 6.0f}};
    for (std::uint32_t i = 0; i < 3; ++i)
        for (std::uint32_t j = 0; j < 3; ++j)
            batch.at(i, j) = rows[i][j];
    Variant data = Variant::Array(batch);

    // Nothing happens outside run and phase mode.
    Call("CopyToBuffer", {Variant::Ref(&data)});
    double v = 0;
    EXPECT_FALSE(GetData(0, 0, v));

    Put("RunPlot", Variant::Bool(true));
    sink.events.clear();
    Call("CopyToBuffer", {Variant::Ref(&data)});
    EXPECT_EQ(Data(0, 2), 1.5);
    EXPECT_EQ(Data(1, 1), 3.0);
    EXPECT_EQ(Data(2, 2), 6.0);
    EXPECT_EQ(sink.Count(EV_Zoomed), 1);
    EXPECT_TRUE(CtrlProbe::Scrolled(c));
    EXPECT_EQ(c.Model()->rangeDirty, 1);

    // A one-dimensional array is not a batch.
    Variant flat = Variant::Array(com::FloatArray::Vector({9.0f, 9.0f, 9.0f}));
    Call("CopyToBuffer", {Variant::Ref(&flat)});
    EXPECT_EQ(Data(0, 0), 0.0);

    Call("SetPhasePlot", {Variant::Bool(true)});
    Variant ys = Variant::Array(com::FloatArray::Vector({7.0f, 8.0f}));
    EXPECT_EQ(Call("AddPhaseData", {Variant::R4(2.5f), Variant::Ref(&ys)}), Variant::I4(0));
    EXPECT_EQ(Data(0, 0), 2.5);
    EXPECT_EQ(Data(1, 0), 7.0);
    EXPECT_EQ(Data(2, 0), 8.0);
}

// ---------------------------------------------------------------------------------------------
// Run and phase modes

TEST_F(TrendixCtrlTimeData, LeavingPhaseModeReturnsToARunPlot) {
    Call("SetPhasePlot", {Variant::Bool(false)});
    EXPECT_EQ(Get("RunPlot"), Variant::Bool(true));
    EXPECT_EQ(Call("GetPhasePlot"), Variant::Bool(false));
    EXPECT_EQ(c.Model()->runPlotActive, 1);
    EXPECT_EQ(Get("DisplayType"), Variant::I2(0));
    EXPECT_EQ(Get("MarkerInterval"), Variant::I2(10));

    Call("SetPhasePlot", {Variant::Bool(true)});
    EXPECT_EQ(Get("RunPlot"), Variant::Bool(false));
    EXPECT_EQ(Call("GetPhasePlot"), Variant::Bool(true));
    EXPECT_EQ(Get("MarkerInterval"), Variant::I2(1));

    // RunPlot on ends phase mode.
    Put("RunPlot", Variant::Bool(true));
    EXPECT_EQ(Call("GetPhasePlot"), Variant::Bool(false));
    EXPECT_EQ(c.Model()->phasePlotActive, 0);

    // FirePhasePlot tells the host before it stores the name.
    Variant seen;
    sink.action = [&](com::DISPID id, std::span<const Variant>) {
        if (id == EV_PhaseVariableSet) seen = Call("GetPhaseXVariable");
    };
    Call("FirePhasePlot", {Variant::Str("Reactor.T")});
    EXPECT_EQ(seen, Variant::Str(""));
    EXPECT_EQ(Call("GetPhaseXVariable"), Variant::Str("Reactor.T"));
    EXPECT_EQ(Call("GetPhasePlot"), Variant::Bool(true));
    EXPECT_EQ(Get("RunPlot"), Variant::Bool(false));
    Call("FirePhasePlot", {Variant::Str("")});
    EXPECT_EQ(Call("GetPhasePlot"), Variant::Bool(false));
    EXPECT_EQ(Get("RunPlot"), Variant::Bool(true));
    EXPECT_EQ(sink.Count(EV_PhaseVariableSet), 2);
}

// ---------------------------------------------------------------------------------------------
// Variable names

TEST_F(TrendixCtrlVariable, SetVariableSwapsWithTheEntryAlreadyHoldingTheName) {
    Put("nvariables", Variant::I2(3));
    Put("npoints", Variant::I2(2));
    EXPECT_EQ(Call("GetVariable", {Variant::I2(2)}), Variant::Str("Var. 3"));
    Call("SetData", {Variant::I2(1), Variant::I2(0), Variant::R8(11)});
    Call("SetData", {Variant::I2(3), Variant::I2(0), Variant::R8(33)});

    Call("SetVariable", {Variant::I2(0), Variant::Str("A")});
    ASSERT_EQ(sink.events.size(), 1u);
    EXPECT_EQ(sink.events[0].id, EV_VariableChanged);
    EXPECT_EQ(sink.events[0].args,
              (std::vector<Variant>{Variant::I2(0), Variant::Str("A"), Variant::I2(2)}));
    EXPECT_EQ(c.Model()->YVar(0)->name, "A");

    sink.events.clear();
    Call("SetVariable", {Variant::I2(2), Variant::Str("A")});
    ASSERT_EQ(sink.events.size(), 2u);
    EXPECT_EQ(sink.events[0].args,
              (std::vector<Variant>{Variant::I2(2), Variant::Str("A"), Variant::I2(0)}));
    EXPECT_EQ(sink.events[1].args,
              (std::vector<Variant>{Variant::I2(0), Variant::Str("Var. 3"), Variant::I2(0)}));
    EXPECT_EQ(Call("GetVariable", {Variant::I2(0)}), Variant::Str("Var. 3"));
    EXPECT_EQ(Call("GetVariable", {Variant::I2(2)}), Variant::Str("A"));
    EXPECT_EQ(Data(1, 0), 33); // the variables moved with their data
    EXPECT_EQ(Data(3, 0), 11);

    // The same name again: nothing.
    sink.events.clear();
    Call("SetVariable", {Variant::I2(2), Variant::Str("A")});
    EXPECT_TRUE(sink.events.empty());

    // An empty old name is not reported as moved.
    Call("DeleteVariable", {Variant::I2(1)});
    EXPECT_EQ(Call("GetVariable", {Variant::I2(1)}), Variant::Str(""));
    Call("SetVariable", {Variant::I2(1), Variant::Str("A")});
    ASSERT_EQ(sink.events.size(), 1u);
    EXPECT_EQ(sink.events[0].args,
              (std::vector<Variant>{Variant::I2(1), Variant::Str("A"), Variant::I2(0)}));
    EXPECT_EQ(Call("GetVariable", {Variant::I2(2)}), Variant::Str(""));
}

TEST_F(TrendixCtrlVariable, NegativeIndexRemovesTheName) {
    Put("nvariables", Variant::I2(3));
    Call("SetVariable", {Variant::I2(1), Variant::Str("B")});
    sink.events.clear();
    Call("SetVariable", {Variant::I2(-3), Variant::Str("B")});
    ASSERT_EQ(sink.events.size(), 1u);
    EXPECT_EQ(sink.events[0].id, EV_VariableChanged);
    EXPECT_EQ(sink.events[0].args,
              (std::vector<Variant>{Variant::I2(2), Variant::Str("B"), Variant::I2(1)}));
    EXPECT_EQ(Call("GetVariable", {Variant::I2(1)}), Variant::Str(""));

    sink.events.clear();
    Call("SetVariable", {Variant::I2(-1), Variant::Str("Var. 3")});
    ASSERT_EQ(sink.events.size(), 1u);
    EXPECT_EQ(sink.events[0].args,
              (std::vector<Variant>{Variant::I2(0), Variant::Str("Var. 3"), Variant::I2(1)}));
    EXPECT_EQ(Call("GetVariable", {Variant::I2(2)}), Variant::Str(""));
    EXPECT_EQ(sink.Count(EV_ApplyVariableChanges), 0);

    sink.events.clear();
    Call("SetVariable", {Variant::I2(-32768), Variant::Str("x")});
    ASSERT_EQ(sink.events.size(), 1u);
    EXPECT_EQ(sink.events[0].args[0], Variant::I2(32767));
}

TEST_F(TrendixCtrlVariable, ApplyWithEveryNameEmptyClearsTheFirstLabelBeforeFiring) {
    Call("SetLabel", {Variant::I2(1), Variant::Str("Temperature")});
    Call("DeleteVariable", {Variant::I2(0)});
    Variant labelSeen = Variant::Str("not fired");
    sink.action = [&](com::DISPID id, std::span<const Variant>) {
        if (id == EV_ApplyVariableChanges) labelSeen = Call("GetLabel", {Variant::I2(1)});
    };
    const int repaints = site.invalidateCount;
    Call("SetVariable", {Variant::I2(-1), Variant::Str("")});
    EXPECT_EQ(labelSeen, Variant::Str(""));
    EXPECT_EQ(sink.Count(EV_ApplyVariableChanges), 1);
    EXPECT_GT(site.invalidateCount, repaints);

    // With a name present the label stays.
    Call("SetLabel", {Variant::I2(1), Variant::Str("Temperature")});
    Call("SetVariable", {Variant::I2(0), Variant::Str("T")});
    Call("SetVariable", {Variant::I2(-1), Variant::Str("")});
    EXPECT_EQ(labelSeen, Variant::Str("Temperature"));
    EXPECT_EQ(sink.Count(EV_ApplyVariableChanges), 2);

    // In a run plot the legend of the first variable is cleared instead.
    Put("RunPlot", Variant::Bool(true));
    Call("SetLegend", {Variant::I2(1), Variant::Str("Legend")});
    Call("DeleteVariable", {Variant::I2(0)});
    Variant legendSeen;
    sink.action = [&](com::DISPID id, std::span<const Variant>) {
        if (id == EV_ApplyVariableChanges) legendSeen = Call("GetLegend", {Variant::I2(1)});
    };
    Call("SetVariable", {Variant::I2(-1), Variant::Str("")});
    EXPECT_EQ(legendSeen, Variant::Str(""));
    EXPECT_EQ(Call("GetLabel", {Variant::I2(1)}), Variant::Str("Temperature"));
}

// ---------------------------------------------------------------------------------------------
// Events

TEST_F(TrendixCtrlEvents, TitleAndIntervalsAreReported) {
    Put("Title", Variant::Str(""));
    Put("Title", Variant::Str(" \t "));
    Put("Title", Variant::Str(" Hi "));
    Put("CommunicationIntervals", Variant::I2(7));
    ASSERT_EQ(sink.events.size(), 4u);
    EXPECT_EQ(sink.events[0].id, EV_SetCaption);
    EXPECT_EQ(sink.events[0].args, std::vector<Variant>{Variant::Str("     ")});
    EXPECT_EQ(sink.events[1].args, std::vector<Variant>{Variant::Str("     ")});
    EXPECT_EQ(sink.events[2].args, std::vector<Variant>{Variant::Str("Hi")});
    EXPECT_EQ(sink.events[3].id, EV_CommunicationIntervalsSet);
    EXPECT_EQ(sink.events[3].args, std::vector<Variant>{Variant::I2(7)});
    EXPECT_EQ(Get("CommunicationIntervals"), Variant::I2(7));
    Call("FireReloadEvent");
    EXPECT_EQ(sink.events.back().id, EV_ReloadNow);
}

TEST_F(TrendixCtrlEvents, AHostThatClearsFromInsideAnEventGetsAFreshPlot) {
    Put("RunPlot", Variant::Bool(true));
    int clears = 0;
    sink.action = [&](com::DISPID id, std::span<const Variant>) {
        if (id == EV_Zoomed && clears++ == 0) Call("Clear");
    };
    AddTimeData(1, 0.0, 1);
    AddTimeData(1, 1.05, 2);
    EXPECT_EQ(clears, 1);
    ASSERT_NE(c.Model(), nullptr);
    // The new plot has no samples and has not scrolled.
    double v = 0;
    EXPECT_FALSE(GetData(0, 0, v));
    EXPECT_EQ(c.Model()->timeScrolled, 0);
    EXPECT_EQ(c.Model()->Axis(0)->fullMax, 1);
    AddTimeData(1, 0.0, 3);
    AddTimeData(1, 0.5, 4);
    EXPECT_EQ(Data(1, 1), 4);

    // Clearing while the caption or the apply step is reported.
    sink.action = [&](com::DISPID id, std::span<const Variant>) {
        if (id == EV_SetCaption || id == EV_ApplyVariableChanges) Call("Clear");
    };
    Put("Title", Variant::Str("New"));
    EXPECT_EQ(c.Model()->titleRegion->label.text, "New");
    Call("SetVariable", {Variant::I2(-1), Variant::Str("")});
    EXPECT_EQ(Get("Title"), Variant::Str("New"));
    // A handler that sets a variable while its change is reported.
    sink.action = [&](com::DISPID id, std::span<const Variant> args) {
        if (id == EV_VariableChanged && args[2] == Variant::I2(2))
            Call("SetVariable", {Variant::I2(0), Variant::Str("inner")});
    };
    Call("SetVariable", {Variant::I2(0), Variant::Str("outer")});
    EXPECT_EQ(Call("GetVariable", {Variant::I2(0)}), Variant::Str("inner"));
}

// ---------------------------------------------------------------------------------------------
// Context menu

namespace {

std::vector<WalkStep> Walk(CTrendixCtrl& c) {
    std::vector<WalkStep> steps;
    std::int16_t code = 0, id = 0;
    for (int guard = 0; guard < 200; ++guard) {
        const std::string text = c.GetMenuItem(code, id);
        steps.push_back({code, id, text});
        if (code == 0) break;
    }
    return steps;
}

// The sequence number the walk gave the command with that text; 0 when none.
short SequenceOf(const std::vector<WalkStep>& steps, const std::string& text) {
    for (const WalkStep& s : steps)
        if (s.code == 1 && s.text == text) return s.id;
    return 0;
}

std::vector<std::string> TopLevel(const std::vector<WalkStep>& steps) {
    std::vector<std::string> out;
    int depth = 0;
    for (const WalkStep& s : steps) {
        if (s.code == -3) {
            --depth;
            continue;
        }
        if (depth == 0 && s.code != 0) out.push_back(s.code == -1 ? "-" : s.text);
        if (s.code == -2) ++depth;
    }
    return out;
}

} // namespace

TEST_F(TrendixCtrlMenu, WalkReportsCodesAndSequenceNumbers) {
    Variant code = Variant::I2(0), id = Variant::I2(0);
    EXPECT_EQ(Call("GetMenuItem", {Variant::Ref(&code), Variant::Ref(&id)}),
              Variant::Str("&Redraw\tCtrl+W"));
    EXPECT_EQ(code, Variant::I2(1));
    EXPECT_EQ(id, Variant::I2(1));

    const std::vector<WalkStep> steps = Walk(c); // id 0 starts again
    const short codes[] = {1, 1, 1, 1, -1, 1, 1, -2, 1, 1, 1, -3, 1, 1, 0};
    const short ids[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 11, 12, 13, 13};
    ASSERT_EQ(steps.size(), std::size(codes));
    for (size_t i = 0; i < steps.size(); ++i) {
        EXPECT_EQ(steps[i].code, codes[i]) << i;
        EXPECT_EQ(steps[i].id, ids[i]) << i;
    }
    EXPECT_EQ(steps[7].text, "&Modify");
    EXPECT_EQ(steps[9].text, "Show &Legend");
    // Past the end the walk stays at the end.
    std::int16_t cd = 5, at = 13;
    EXPECT_EQ(c.GetMenuItem(cd, at), "");
    EXPECT_EQ(cd, 0);
    EXPECT_EQ(at, 13);

    const short zoomFull = SequenceOf(steps, "Zoom &Full\tCtrl+End");
    ASSERT_EQ(zoomFull, 4);
    EXPECT_EQ(Call("IsMenuItemEnabled", {Variant::I2(zoomFull)}), Variant::Bool(true));
    sink.events.clear();
    Call("InvokeMenuItem", {Variant::I2(zoomFull)});
    ASSERT_EQ(sink.events.size(), 1u);
    EXPECT_EQ(sink.events[0].id, EV_Zoomed);
    EXPECT_EQ(sink.events[0].args, std::vector<Variant>{Variant::Bool(false)});

    // Unknown numbers do nothing.
    sink.events.clear();
    Call("InvokeMenuItem", {Variant::I2(99)});
    Call("InvokeMenuItem", {Variant::I2(5)}); // the separator
    EXPECT_TRUE(sink.events.empty());
    EXPECT_EQ(Call("IsMenuItemEnabled", {Variant::I2(99)}), Variant::Bool(false));

    // A walked command runs as the command it stands for.
    Call("InvokeMenuItem", {Variant::I2(SequenceOf(steps, "Show &Legend"))});
    EXPECT_EQ(Get("ShowLegend"), Variant::Bool(true));

    // The paste rule reports to the walker.
    const short paste = SequenceOf(steps, "&Paste\tCtrl+V");
    EXPECT_EQ(Call("IsMenuItemEnabled", {Variant::I2(paste)}), Variant::Bool(true));
    Call("UpdateMenu");
    EXPECT_EQ(Call("IsMenuItemEnabled", {Variant::I2(paste)}), Variant::Bool(false));
}

TEST_F(TrendixCtrlMenu, RunPlotModeChangesTheMenu) {
    Put("RunPlot", Variant::Bool(true));
    const std::vector<WalkStep> steps = Walk(c);
    EXPECT_EQ(SequenceOf(steps, "Show &Legend"), 0);
    const std::vector<std::string> top = TopLevel(steps);
    ASSERT_GE(top.size(), 8u);
    EXPECT_EQ(top[4], "Zoom In &Time Axis\tCtrl+Right Arrow");
    EXPECT_EQ(top[5], "Zoom Out Time &Axis\tCtrl+Left Arrow");
    EXPECT_EQ(top[top.size() - 3], "Show as &History");
    EXPECT_EQ(top.back(), "&Paste\tCtrl+V");

    // Show as History fires its event; leaving run mode removes the time zooms only.
    sink.events.clear();
    Call("InvokeMenuItem", {Variant::I2(SequenceOf(steps, "Show as &History"))});
    EXPECT_EQ(sink.Count(EV_OnOnShowasHistory), 1);
    Put("RunPlot", Variant::Bool(false));
    const std::vector<std::string> after = TopLevel(Walk(c));
    EXPECT_EQ(std::count(after.begin(), after.end(), "Zoom In &Time Axis\tCtrl+Right Arrow"), 0);
    EXPECT_EQ(std::count(after.begin(), after.end(), "Show as &History"), 1);
}

TEST_F(TrendixCtrlMenu, AddTimeStampGoesBeforeShowLegend) {
    Put("AddTimeStamp", Variant::Bool(true));
    Put("AddTimeStamp", Variant::Bool(true));
    std::vector<WalkStep> steps = Walk(c);
    std::vector<std::string> texts;
    for (const WalkStep& s : steps)
        texts.push_back(s.text);
    const auto stamp = std::find(texts.begin(), texts.end(), "Add Timestamp");
    ASSERT_NE(stamp, texts.end());
    EXPECT_EQ(*(stamp + 1), "Show &Legend");
    EXPECT_EQ(*(stamp - 1), "&Add Text");
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "Add Timestamp"), 1);

    Put("AddTimeStamp", Variant::Bool(false));
    EXPECT_FALSE(c.Model()->ContextMenu().Contains(ID_ADD_TIMESTAMP));

    // Without "Show &Legend" (a run plot) nothing is inserted.
    Put("RunPlot", Variant::Bool(true));
    Put("AddTimeStamp", Variant::Bool(true));
    EXPECT_FALSE(c.Model()->ContextMenu().Contains(ID_ADD_TIMESTAMP));
    EXPECT_EQ(Get("AddTimeStamp"), Variant::Bool(true));
}

TEST_F(TrendixCtrlMenu, LivePlotItemComesAndGoesAndReportsItsCheck) {
    Call("EnableLivePlot", {Variant::Bool(true)});
    Call("EnableLivePlot", {Variant::Bool(true)});
    std::vector<WalkStep> steps = Walk(c);
    std::vector<std::string> top = TopLevel(steps);
    EXPECT_EQ(std::count(top.begin(), top.end(), "Live Plot"), 1);
    EXPECT_EQ(top[top.size() - 3], "Live Plot");

    sink.events.clear();
    Call("InvokeMenuItem", {Variant::I2(SequenceOf(steps, "Live Plot"))});
    ASSERT_EQ(sink.events.size(), 1u);
    EXPECT_EQ(sink.events[0].id, EV_OnLivePlot);
    EXPECT_EQ(sink.events[0].args, std::vector<Variant>{Variant::Bool(true)});
    Call("SetLivePlot", {Variant::Bool(false)});
    EXPECT_EQ(sink.events.size(), 1u); // setting the check fires nothing
    Call("InvokeMenuItem", {Variant::I2(SequenceOf(steps, "Live Plot"))});
    EXPECT_EQ(sink.events.back().args, std::vector<Variant>{Variant::Bool(true)});

    Call("EnableLivePlot", {Variant::Bool(false)});
    top = TopLevel(Walk(c));
    EXPECT_EQ(std::count(top.begin(), top.end(), "Live Plot"), 0);
    Call("SetLivePlot", {Variant::Bool(true)}); // no item: nothing
}

TEST_F(TrendixCtrlProperty, ParametricShowsTheLegendUnlessTheHostChoseOtherwise) {
    Put("Parametric", Variant::Bool(true));
    EXPECT_EQ(Get("ShowLegend"), Variant::Bool(true));
    EXPECT_EQ(c.Model()->showLegend, 1);

    ui::HeadlessSite otherSite;
    CTrendixCtrl other(otherSite);
    other.OnSize(400, 310);
    Variant no[] = {Variant::Bool(false)};
    other.Invoke(other.GetIDOfName("ShowLegend"), InvokeKind::PropertyPut, no);
    Variant yes[] = {Variant::Bool(true)};
    other.Invoke(other.GetIDOfName("Parametric"), InvokeKind::PropertyPut, yes);
    EXPECT_FALSE(other.GetShowLegend());
    EXPECT_EQ(other.Model()->showLegend, 0);
    EXPECT_EQ(other.Model()->parametric, 1);
}

// ---------------------------------------------------------------------------------------------
// Clear

TEST_F(TrendixCtrlClear, ClearKeepsThePropertyValuesAndDropsThePlot) {
    Put("Title", Variant::Str("Kept"));
    Put("GridType", Variant::I2(2));
    Put("MarkerSize", Variant::I2(6));
    Put("ZeroLine", Variant::Bool(true));
    Put("BufferSize", Variant::I4(50));
    Put("TimeWindow", Variant::R4(4));
    Put("RunPlot", Variant::Bool(true));
    Put("nvariables", Variant::I2(3));
    Put("Flipped", Variant::Bool(true));
    Call("SetLegend", {Variant::I2(2), Variant::Str("second")});
    AddTimeData(1, 0.0, 5);
    sink.events.clear();

    Call("Clear");
    EXPECT_EQ(Get("Title"), Variant::Str("Kept"));
    EXPECT_EQ(Get("GridType"), Variant::I2(2));
    EXPECT_EQ(Get("MarkerSize"), Variant::I2(6));
    EXPECT_EQ(Get("ZeroLine"), Variant::Bool(true));
    EXPECT_EQ(Get("BufferSize"), Variant::I4(50));
    EXPECT_EQ(Get("TimeWindow"), Variant::R4(4.0f));
    EXPECT_EQ(Get("RunPlot"), Variant::Bool(true));
    EXPECT_EQ(Get("Flipped"), Variant::Bool(true));
    EXPECT_EQ(Get("nvariables"), Variant::I2(1));
    EXPECT_EQ(Get("npoints"), Variant::I2(0));
    EXPECT_EQ(Get("nxvariables"), Variant::I2(1));

    CPlotLook& m = *c.Model();
    EXPECT_EQ(m.gridType, 2);
    EXPECT_EQ(m.markerSize, 6);
    EXPECT_EQ(m.zeroLine, 1);
    EXPECT_EQ(m.flipped, 1);
    EXPECT_EQ(m.runPlotActive, 1);
    EXPECT_EQ(m.NYVars(), 1);
    EXPECT_EQ(m.YVar(0)->capacity, 50u);
    EXPECT_EQ(m.titleRegion->label.text, "Kept");
    double v = 0;
    EXPECT_FALSE(GetData(1, 0, v));
    EXPECT_EQ(Call("GetLegend", {Variant::I2(2)}), Variant::Str(""));
    EXPECT_TRUE(sink.events.empty());
}

// ---------------------------------------------------------------------------------------------
// Bad input

TEST_F(TrendixCtrlBadInput, VeryLongStringsRoundTrip) {
    const std::string longText(100000, 'x');
    Put("Title", Variant::Str("  " + longText + "\n"));
    EXPECT_EQ(Call("GetCurrentValue", {Variant::I2(0)}), Variant::Str(longText));
    ASSERT_FALSE(sink.events.empty());
    EXPECT_EQ(sink.events.back().args[0], Variant::Str(longText));
    Call("SetVariable", {Variant::I2(0), Variant::Str(longText)});
    EXPECT_EQ(Call("GetVariable", {Variant::I2(0)}), Variant::Str(longText));
    Call("SetLegend", {Variant::I2(1), Variant::Str(longText)});
    EXPECT_EQ(Call("GetLegend", {Variant::I2(1)}), Variant::Str(longText));
    Call("SetLabel", {Variant::I2(0), Variant::Str(longText)});
    EXPECT_EQ(Call("GetLabel", {Variant::I2(0)}), Variant::Str(longText));
    Call("SetSymbol", {Variant::Str(longText), Variant::Str(longText)});
    EXPECT_NE(c.Model()->FindSymbol(longText), nullptr);
}
