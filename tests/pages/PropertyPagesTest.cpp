#include "control/TrendixCtrl.h"
#include "control/TrendixModule.h"
#include "model/MenuTable.h"
#include "pages/AxisMapPage.h"
#include "pages/ControlMembers.h"
#include "pages/GridPage.h"
#include "pages/PageCatalog.h"
#include "platform/gdi/RecordingDC.h"
#include "platform/ui/HeadlessSite.h"
#include "platform/ui/VirtualKeys.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <random>
#include <set>

using com::Variant;
using PageCatalog::PageId;

namespace {

// A sited control driven by name, with its property pages made as the control makes them.
class PagesTest : public testing::Test {
public:
    PagesTest() { c.OnSize(400, 310); }

    Variant Get(const char* name) {
        return c.Invoke(c.GetIDOfName(name), com::InvokeKind::PropertyGet, {});
    }
    void Put(const char* name, Variant value) {
        Variant args[] = {std::move(value)};
        c.Invoke(c.GetIDOfName(name), com::InvokeKind::PropertyPut, args);
    }
    Variant Call(const char* name, std::vector<Variant> args = {}) {
        return c.Invoke(c.GetIDOfName(name), com::InvokeKind::Method, args);
    }
    int Int(const char* name) { return com::Coerce(Get(name), com::VarType::I4).i4(); }
    double Real(const char* name) { return com::Coerce(Get(name), com::VarType::R8).r8(); }
    // The plot as the user sees it: a range asked for is scaled when the plot is drawn.
    void Paint() {
        gdi::RecordingDC dc{400, 310};
        c.OnDraw(dc, {0, 0, 400, 310}, {0, 0, 400, 310});
    }
    std::pair<double, double> AxisRange(int axis) {
        Paint();
        Variant lo = Variant::R8(0), hi = Variant::R8(0);
        Call("GetAxisRange", {Variant::I2(short(axis)), Variant::Ref(&lo), Variant::Ref(&hi)});
        return {lo.r8(), hi.r8()};
    }
    std::unique_ptr<CControlPage> Page(PageId id) {
        Paint(); // pages are opened on a plot that has been shown
        auto page = PageCatalog::MakePage(id, c, site);
        page->Activate();
        return page;
    }
    // A page over a cleared plot (not a run plot) that setup, when given, prepared.
    std::unique_ptr<CControlPage> FreshPage(PageId id,
                                            const std::function<void(PagesTest&)>& setup) {
        site.messages.clear();
        c.Clear();
        Put("RunPlot", Variant::Bool(false));
        if (setup) setup(*this);
        return Page(id);
    }
    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const auto& m : site.messages)
            texts.push_back(m.text);
        return texts;
    }

    ui::HeadlessSite site;
    CTrendixCtrl c{site};
};

std::vector<std::string> Captions(const std::vector<PageId>& ids) {
    std::vector<std::string> captions;
    for (PageId id : ids)
        captions.push_back(PageCatalog::ClassOf(id).progId);
    return captions;
}

} // namespace

// ---- Which pages, in which order ----

TEST(PageChoice, ThePagesAPlotOffersInTheirOrder) {
    using S = PageCatalog::PlotState;
    struct Case {
        const char* what;
        S state;
        std::vector<PageId> pages;
    };
    const Case cases[] = {
        {"line plot at design time",
         S{false, false, false, false, false, false},
         {PageId::Config, PageId::Attrib, PageId::Legend, PageId::AxisMap, PageId::Label,
          PageId::Axis, PageId::Grid, PageId::Font}},
        {"line plot in user mode",
         S{true, false, false, false, false, false},
         {PageId::Attrib, PageId::Legend, PageId::AxisMap, PageId::Label, PageId::Axis,
          PageId::Grid, PageId::Font}},
        {"bar graph",
         S{true, true, false, false, false, false},
         {PageId::BarAttrib, PageId::Legend, PageId::AxisMap, PageId::Label, PageId::Axis,
          PageId::Grid, PageId::Font}},
        {"triangular plot",
         S{true, false, true, false, false, false},
         {PageId::Attrib, PageId::Legend, PageId::Label, PageId::TriGrid, PageId::Font}},
        {"run plot",
         S{true, false, false, true, false, false},
         {PageId::Attrib, PageId::AxisMap, PageId::Label, PageId::Axis, PageId::RunGrid,
          PageId::Data, PageId::Runplot, PageId::Font}},
        {"phase plot",
         S{true, false, false, false, true, false},
         {PageId::Attrib, PageId::Legend, PageId::AxisMap, PageId::Label, PageId::Axis,
          PageId::RunGrid, PageId::Data, PageId::Font}},
        {"use variable at design time",
         S{false, false, false, false, false, true},
         {PageId::Config, PageId::Attrib, PageId::Legend, PageId::AxisMap, PageId::Label,
          PageId::Axis, PageId::Grid, PageId::Variable, PageId::Font}},
    };
    for (const Case& k : cases)
        EXPECT_EQ(Captions(PageCatalog::ChoosePages(k.state)), Captions(k.pages)) << k.what;
}

TEST(PageChoice, EveryPageClassIsRegisteredUnderItsExactProgIdAndCaption) {
    for (const PageCatalog::PageClass& page : PageCatalog::kPageClasses) {
        const com::ClassRecord* r = CTrendixModule::Classes().Find(page.progId);
        ASSERT_NE(r, nullptr) << page.progId;
        EXPECT_EQ(r->progId, page.progId); // the case as listed
        EXPECT_EQ(r->userTypeName, page.caption);
    }
}

TEST_F(PagesTest, TheDispatchIdsThePagesCallAreTheControls) {
    namespace M = ControlMembers;
    const std::map<std::string, com::DISPID> ids = {
        {"Title", M::Title},
        {"PlotType", M::PlotType},
        {"nvariables", M::nvariables},
        {"InputFile", M::InputFile},
        {"GridType", M::GridType},
        {"DisplayType", M::DisplayType},
        {"SetLegend", M::SetLegend},
        {"GetLegend", M::GetLegend},
        {"SetFont", M::SetFont},
        {"GetFont", M::GetFont},
        {"SetAttribute", M::SetAttribute},
        {"GetAttribute", M::GetAttribute},
        {"SetAxisMap", M::SetAxisMap},
        {"GetAxisMap", M::GetAxisMap},
        {"SetAxisRange", M::SetAxisRange},
        {"GetAxisRange", M::GetAxisRange},
        {"GetNYaxes", M::GetNYaxes},
        {"SetMultiplier", M::SetMultiplier},
        {"GetMultiplier", M::GetMultiplier},
        {"SetMultiplierType", M::SetMultiplierType},
        {"GetMultiplierType", M::GetMultiplierType},
        {"SetAxisMode", M::SetAxisMode},
        {"GetAxisMode", M::GetAxisMode},
        {"GetScale", M::GetScale},
        {"SetScale", M::SetScale},
        {"GetPhasePlot", M::GetPhasePlot},
        {"FirePhasePlot", M::FirePhasePlot},
        {"GetPhaseXVariable", M::GetPhaseXVariable},
        {"TimeWindow", M::TimeWindow},
        {"TimeScrollUnit", M::TimeScrollUnit},
        {"AlwaysShowFull", M::AlwaysShowFull},
        {"SetVariable", M::SetVariable},
        {"GetVariable", M::GetVariable},
        {"SetLabel", M::SetLabel},
        {"GetLabel", M::GetLabel},
        {"CommunicationIntervals", M::CommunicationIntervals},
        {"SizeToData", M::SizeToData},
        {"FireReloadEvent", M::FireReloadEvent},
        {"GridInterval", M::GridInterval},
        {"IgnoreSetLegend", M::IgnoreSetLegend},
        {"EditProfileVariables", M::EditProfileVariables},
        {"MarkerSize", M::MarkerSize},
        {"MarkerInterval", M::MarkerInterval},
        {"Flipped", M::Flipped},
        {"SquarePlot", M::SquarePlot},
        {"DiagonalLine", M::DiagonalLine},
        {"ZeroLine", M::ZeroLine},
        {"ShowLegend", M::ShowLegend},
        {"RunPlot", M::RunPlot},
        {"MultiYaxis", M::MultiYaxis},
        {"UseVariable", M::UseVariable},
        {"xlabel", M::xlabel},
    };
    for (const auto& [name, id] : ids)
        EXPECT_EQ(c.GetIDOfName(name), id) << name;
}

TEST_F(PagesTest, ThePropertiesCommandShowsTheChosenPagesAndAltEnterToo) {
    site.userMode = false;
    c.OnCommand(ID_PROPERTIES);
    Put("RunPlot", Variant::Bool(true));
    site.userMode = true;
    c.OnSysKeyDown(ui::VK_RETURN, ui::ModAlt);
    ASSERT_EQ(site.sheets.size(), 2u);
    EXPECT_EQ(site.sheets[0].pages,
              (std::vector<std::string>{"Config", "Attribute", "Legend", "AxisMap", "Label", "Axis",
                                        "Grid", "Font"}));
    EXPECT_EQ(site.sheets[1].pages,
              (std::vector<std::string>{"Attribute", "AxisMap", "Label", "Axis", "Grid", "Data",
                                        "Runtime", "Font"}));
}

// ---- Edits, apply and the plot unchanged before it ----

struct EditCase {
    const char* what;
    PageId page;
    std::function<void(PagesTest&)> setup;
    std::vector<std::pair<std::string, std::string>> edits; // caption, value ("!" presses)
    std::function<void(PagesTest&)> check;                  // after Apply
};

class PageApplyTest : public PagesTest {
public:
    void Run(const EditCase& k) {
        SCOPED_TRACE(k.what);
        if (k.setup) k.setup(*this);
        auto page = Page(k.page);
        const std::string before = c.GetSettings();
        for (const auto& [caption, value] : k.edits) {
            if (value == "!")
                page->Press(caption);
            else
                EXPECT_TRUE(page->Edit(caption, value)) << caption;
        }
        EXPECT_TRUE(page->Changed());
        EXPECT_EQ(c.GetSettings(), before); // nothing reaches the plot before Apply
        page->Apply();
        EXPECT_FALSE(page->Changed());
        EXPECT_TRUE(site.messages.empty()) << site.messages.front().text;
        k.check(*this);
    }
};

TEST_F(PageApplyTest, EveryPageWritesItsFieldsOnApply) {
    const EditCase cases[] = {
        {"config: plot type, multi-Y, variables, run plot, use variable",
         PageId::Config,
         {},
         {{"Plot Type", "1"},
          {"Multi-Y axis", "1"},
          {"No. of Variables", "3"},
          {"Run Plot", "0"},
          {"Use Variable", "1"}},
         [](PagesTest& t) {
             EXPECT_EQ(t.Int("PlotType"), 1);
             EXPECT_TRUE(t.Get("MultiYaxis").boolean());
             EXPECT_EQ(t.Int("nvariables"), 3);
             EXPECT_TRUE(t.Get("UseVariable").boolean());
         }},
        {"attribute: colour, marker and no line of the second variable",
         PageId::Attrib,
         [](PagesTest& t) { t.Put("nvariables", Variant::I2(2)); },
         {{"Variables", "1"}, {"Color", "3"}, {"Marker", "6"}, {"Line type", "7"}},
         [](PagesTest& t) {
             Variant type = Variant::I2(0), marker = Variant::I2(0), color = Variant::I2(0);
             t.Call("GetAttribute", {Variant::I2(1), Variant::Ref(&type), Variant::Ref(&marker),
                                     Variant::Ref(&color)});
             EXPECT_EQ(type.i2(), -1);
             EXPECT_EQ(marker.i2(), 6);
             EXPECT_EQ(color.i2(), 3);
         }},
        {"legend: replace a text, show the legend",
         PageId::Legend,
         {},
         {{"Legend Text", "0"}, {"Legend", "Feed"}, {"Replace", "!"}, {"Show Legend", "1"}},
         [](PagesTest& t) {
             EXPECT_EQ(t.Call("GetLegend", {Variant::I2(1)}).narrow(), "Feed");
             EXPECT_TRUE(t.Get("ShowLegend").boolean());
         }},
        {"axis map: one for each",
         PageId::AxisMap,
         [](PagesTest& t) { t.Put("nvariables", Variant::I2(3)); },
         {{"One for Each", "!"}},
         [](PagesTest& t) {
             for (short k = 0; k < 3; ++k)
                 EXPECT_EQ(t.Call("GetAxisMap", {Variant::I2(k)}).i2(), k + 1);
             EXPECT_EQ(t.Call("GetNYaxes").i2(), 3);
         }},
        {"label: title, X label and a changed Y label",
         PageId::Label,
         {},
         {{"Title text", "Reactor"}, {"X Label", "Time"}, {"Y Label", "Temperature"}},
         [](PagesTest& t) {
             EXPECT_EQ(t.Get("Title").narrow(), "Reactor");
             EXPECT_EQ(t.Get("xlabel").narrow(), "Time");
             EXPECT_EQ(t.Call("GetLabel", {Variant::I2(1)}).narrow(), "Temperature");
         }},
        {"axis: X range in the multiplier's units, Y log scale",
         PageId::Axis,
         {},
         {{"X Minimum", "100"},
          {"X Maximum", "500"},
          {"X Multiplier", "2"},
          {"Y Scale", "1"},
          {"Y Minimum", "1"},
          {"Y Maximum", "1000"}},
         [](PagesTest& t) {
             EXPECT_EQ(t.AxisRange(0), std::make_pair(1.0, 5.0));
             EXPECT_EQ(t.Call("GetMultiplier", {Variant::I2(0)}).i2(), 2);
             EXPECT_EQ(t.Call("GetScale", {Variant::I2(1)}).i2(), 1);
         }},
        {"grid: markers and no grid, square plot with diagonal, zero line",
         PageId::Grid,
         {},
         {{"Display", "2"},
          {"Grid", "3"},
          {"Square Plot", "1"},
          {"Diagonal Line", "1"},
          {"Zero Line", "1"},
          {"Marker Size", "6"}},
         [](PagesTest& t) {
             EXPECT_EQ(t.Int("DisplayType"), 1);
             EXPECT_EQ(t.Int("GridType"), 0);
             EXPECT_TRUE(t.Get("SquarePlot").boolean());
             EXPECT_TRUE(t.Get("DiagonalLine").boolean());
             EXPECT_TRUE(t.Get("ZeroLine").boolean());
             EXPECT_EQ(t.Int("MarkerSize"), 6);
         }},
        {"triangular grid: Cartesian orientation and a grid interval",
         PageId::TriGrid,
         [](PagesTest& t) { t.Put("PlotType", Variant::I2(2)); },
         {{"Coordinate", "1"}, {"Grid Interval", "0.25"}, {"Grid", "0"}},
         [](PagesTest& t) {
             EXPECT_EQ(t.Int("PlotType"), 3);
             EXPECT_FLOAT_EQ(float(t.Real("GridInterval")), 0.25f);
             EXPECT_EQ(t.Int("GridType"), 3);
         }},
        {"data: load all, every 5 intervals",
         PageId::Data,
         {},
         {{"Always load results for all time points", "1"}, {"Plot data every", "5"}},
         [](PagesTest& t) {
             EXPECT_TRUE(t.Get("SizeToData").boolean());
             EXPECT_EQ(t.Int("CommunicationIntervals"), 5);
         }},
        {"runtime: a new window moves the range's end",
         PageId::Runplot,
         [](PagesTest& t) { t.Put("RunPlot", Variant::Bool(true)); },
         {{"Time Window", "10"}, {"Scroll Unit", "2"}, {"Allways Show Full", "1"}},
         [](PagesTest& t) {
             EXPECT_FLOAT_EQ(float(t.Real("TimeWindow")), 10.0f);
             EXPECT_FLOAT_EQ(float(t.Real("TimeScrollUnit")), 2.0f);
             EXPECT_TRUE(t.Get("AlwaysShowFull").boolean());
             EXPECT_NEAR(t.AxisRange(0).second - t.AxisRange(0).first, 10.0, 1e-6);
         }},
        {"font: the legend font in bold italic, underscored",
         PageId::Font,
         {},
         {{"Font Category", "3"},
          {"Font", "Arial"},
          {"Size", "14"},
          {"Style", "3"},
          {"Underscore", "1"}},
         [](PagesTest& t) {
             Variant size = Variant::I2(0), attrib = Variant::I2(0);
             EXPECT_EQ(
                 t.Call("GetFont", {Variant::I2(3), Variant::Ref(&size), Variant::Ref(&attrib)})
                     .narrow(),
                 "Arial");
             EXPECT_EQ(size.i2(), 14);
             EXPECT_EQ(attrib.i2(), 7);
         }},
    };
    for (const EditCase& k : cases) {
        site.messages.clear();
        c.Clear();
        Put("RunPlot", Variant::Bool(false));
        Put("PlotType", Variant::I2(0));
        Run(k);
    }
}

TEST_F(PagesTest, TheVariablePageWritesTheNamesWhenItClosesAfterAnApply) {
    Put("UseVariable", Variant::Bool(true));
    Call("SetVariable", {Variant::I2(0), Variant::Str("FEED.T")});
    auto page = Page(PageId::Variable);
    page->Edit("Variable Name", "FEED.P");
    page->Press("Insert After >>");
    page->Edit("X axis", "1");
    page->Edit("X variable", "FEED.T");
    page->Apply();
    EXPECT_EQ(Int("nvariables"), 1); // the names wait for the page to close
    EXPECT_EQ(Call("GetPhaseXVariable").narrow(), "FEED.T");
    EXPECT_TRUE(Call("GetPhasePlot").boolean());
    page->Closed();
    EXPECT_EQ(Int("nvariables"), 2);
    EXPECT_EQ(Call("GetVariable", {Variant::I2(1)}).narrow(), "FEED.P");
}

// ---- Validation ----

struct RefusalCase {
    const char* what;
    PageId page;
    std::function<void(PagesTest&)> setup;
    std::vector<std::pair<std::string, std::string>> edits;
    std::vector<std::string> messages;
    std::function<void(PagesTest&)> check; // what stayed, and what was still applied
};

TEST_F(PagesTest, EveryValidationMessageAndWhatIsKept) {
    const RefusalCase cases[] = {
        {"X range low above high",
         PageId::Axis,
         {},
         {{"X Minimum", "9"}, {"X Maximum", "1"}, {"Y Minimum", "0"}, {"Y Maximum", "50"}},
         {"Error in the X-Axis Range:\nMin. Value must be less than Max. Value."},
         [](PagesTest& t) {
             EXPECT_NE(t.AxisRange(0), std::make_pair(9.0, 1.0));
             // The Y axis is still applied (the scale rounds its end to a nice number).
             EXPECT_EQ(t.AxisRange(1).first, 0.0);
             EXPECT_GE(t.AxisRange(1).second, 50.0);
             EXPECT_LE(t.AxisRange(1).second, 60.0);
         }},
        {"Y range low equal to high",
         PageId::Axis,
         {},
         {{"Y Minimum", "5"}, {"Y Maximum", "5"}},
         {"Error in the Y-Axis Range:\nMin. Value must be less than Max. Value."},
         [](PagesTest& t) { EXPECT_NE(t.AxisRange(1), std::make_pair(5.0, 5.0)); }},
        {"X multiplier out of range",
         PageId::Axis,
         {},
         {{"X Multiplier", "31"}},
         {"Error in the X-axis Multiplier:\nRange must be: -30 <= Multiplier <= 30"},
         [](PagesTest& t) { EXPECT_EQ(t.Call("GetMultiplier", {Variant::I2(0)}).i2(), 0); }},
        {"Y multiplier out of range",
         PageId::Axis,
         {},
         {{"Y Multiplier", "-31"}},
         {"Error in the Y-axis Multiplier:\nRange must be: -30 <= Multiplier <= 30"},
         [](PagesTest& t) { EXPECT_EQ(t.Call("GetMultiplier", {Variant::I2(1)}).i2(), 0); }},
        {"time window not positive",
         PageId::Runplot,
         [](PagesTest& t) { t.Put("RunPlot", Variant::Bool(true)); },
         {{"Time Window", "-2"}, {"Allways Show Full", "1"}},
         {"Error in the Time Window value:\nTime Window must be positive value.\nThe old value "
          "will be restored."},
         [](PagesTest& t) {
             EXPECT_FLOAT_EQ(float(t.Real("TimeWindow")), 1.0f);
             EXPECT_TRUE(t.Get("AlwaysShowFull").boolean()); // the rest still applied
         }},
        {"scroll unit not below the window",
         PageId::Runplot,
         [](PagesTest& t) { t.Put("RunPlot", Variant::Bool(true)); },
         {{"Scroll Unit", "1"}},
         {"Error in the Scroll Unit value:\nRange must be: 0 < Scroll Unit < Time Window\nThe "
          "old value will be restored."},
         [](PagesTest& t) { EXPECT_FLOAT_EQ(float(t.Real("TimeScrollUnit")), 0.2f); }},
        {"time axis range low above high",
         PageId::Runplot,
         [](PagesTest& t) { t.Put("RunPlot", Variant::Bool(true)); },
         {{"Minimum", "5"}, {"Maximum", "4"}},
         {"Error in the Time Axis Range:\nMin. Value must be less than Max. Value."},
         [](PagesTest& t) { EXPECT_NE(t.AxisRange(0).first, 5.0); }},
        {"time multiplier exponent out of range",
         PageId::Runplot,
         [](PagesTest& t) { t.Put("RunPlot", Variant::Bool(true)); },
         {{"Multiplier", "40"}},
         {"Error in the Multiplier:\nRange must be: -30 <= Multiplier <= 30\nif it is an "
          "exponent value."},
         [](PagesTest& t) { EXPECT_EQ(t.Call("GetMultiplier", {Variant::I2(0)}).i2(), 0); }},
        {"a number that is not one",
         PageId::Axis,
         {},
         {{"X Minimum", "1e"}},
         {"Please enter a number in X Minimum."},
         {}},
    };
    for (const RefusalCase& k : cases) {
        SCOPED_TRACE(k.what);
        auto page = FreshPage(k.page, k.setup);
        for (const auto& [caption, value] : k.edits)
            EXPECT_TRUE(page->Edit(caption, value)) << caption;
        page->Apply();
        EXPECT_EQ(Messages(), k.messages);
        if (k.check) k.check(*this);
    }
}

// Input a page refuses, or takes and then refuses at Apply with its message, leaves the plot
// exactly as it was: the settings text is the same before and after the Apply.
TEST_F(PagesTest, RefusedInputLeavesThePlotUnchanged) {
    const auto runPlot = [](PagesTest& t) { t.Put("RunPlot", Variant::Bool(true)); };
    const auto triangular = [](PagesTest& t) { t.Put("PlotType", Variant::I2(2)); };
    struct Case {
        const char* what;
        PageId page;
        std::function<void(PagesTest&)> setup;
        std::vector<std::pair<std::string, std::string>> edits;
        std::size_t messages; // how many message boxes the Apply shows
    };
    const Case cases[] = {
        {"letters in a range", PageId::Axis, {}, {{"X Minimum", "1x"}, {"Y Maximum", "ten"}}, 0},
        {"a number cut short", PageId::Axis, {}, {{"X Minimum", "1e"}}, 1},
        {"X range low above high", PageId::Axis, {}, {{"X Minimum", "9"}, {"X Maximum", "1"}}, 1},
        {"Y range low equal to high",
         PageId::Axis,
         {},
         {{"Y Minimum", "5"}, {"Y Maximum", "5"}},
         1},
        {"X multiplier out of range", PageId::Axis, {}, {{"X Multiplier", "31"}}, 1},
        {"letters in a spin",
         PageId::Grid,
         {},
         {{"Marker Size", "big"}, {"Marker Interval", "-1"}},
         0},
        {"triangular grid interval above 1",
         PageId::TriGrid,
         triangular,
         {{"Grid Interval", "2"}},
         0},
        {"no variables", PageId::Config, {}, {{"No. of Variables", "0"}}, 0},
        {"a font without a face", PageId::Font, {}, {{"Font", ""}}, 0},
        {"time window not positive", PageId::Runplot, runPlot, {{"Time Window", "-2"}}, 1},
        {"scroll unit not below the window", PageId::Runplot, runPlot, {{"Scroll Unit", "1"}}, 1},
        {"time range low above high",
         PageId::Runplot,
         runPlot,
         {{"Minimum", "5"}, {"Maximum", "4"}},
         1},
        {"time exponent out of range", PageId::Runplot, runPlot, {{"Multiplier", "40"}}, 1},
        {"no communication intervals", PageId::Data, runPlot, {{"Plot data every", "0"}}, 0},
    };
    // The plot: its settings text and the properties that text may not carry.
    const auto plot = [this] {
        std::string text = c.GetSettings();
        for (const char* name : {"GridInterval", "TimeWindow", "TimeScrollUnit",
                                 "CommunicationIntervals", "MarkerSize", "MarkerInterval"})
            text += "\n" + std::to_string(Real(name));
        return text;
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        auto page = FreshPage(k.page, k.setup);
        const std::string before = plot();
        for (const auto& [caption, value] : k.edits)
            page->Edit(caption, value);
        page->Apply();
        page->Closed();
        Paint();
        EXPECT_EQ(site.messages.size(), k.messages);
        EXPECT_EQ(plot(), before);
    }
}

TEST_F(PagesTest, NumericEditsTakeOnlyTheirCharacters) {
    auto axis = Page(PageId::Axis);
    EXPECT_FALSE(axis->Edit("X Minimum", "12a"));
    EXPECT_TRUE(axis->Edit("X Minimum", "1.5D-3"));
    EXPECT_FALSE(axis->Changed() && axis->Value("X Minimum") != "1.5D-3");
    auto grid = Page(PageId::Grid);
    EXPECT_FALSE(grid->Edit("Marker Size", "-4"));
    EXPECT_FALSE(grid->Edit("Marker Size", "4.5"));
    EXPECT_EQ(grid->Value("Marker Size"), "4");
    EXPECT_FALSE(grid->Changed());
    EXPECT_EQ(CPageModel::ParseNumber("1.5D-3"), 1.5e-3);
    EXPECT_EQ(CPageModel::ParseNumber("+-"), std::nullopt);
}

TEST(PageMappings, DisplayAndGridChoicesMapBothWays) {
    const int display[] = {2, 0, 1}; // "Lines && Markers", "Lines", "Markers"
    const int grid[] = {3, 1, 2, 0}; // "Mesh", "Vertical", "Horizontal", "No grid"
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(CGridPage::DisplayTypeOf(i), display[i]);
        EXPECT_EQ(CGridPage::DisplayChoiceOf(display[i]), i);
    }
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(CGridPage::GridTypeOf(i), grid[i]);
        EXPECT_EQ(CGridPage::GridChoiceOf(grid[i]), i);
    }
}

TEST(PageMappings, CompactingAxesMatchesRankingTheUsedNumbers) {
    std::mt19937 random(15);
    for (int round = 0; round < 500; ++round) {
        std::vector<int> axes(std::size_t(random() % 12));
        for (int& a : axes)
            a = int(random() % 9);
        // The plain model: each used number becomes its rank among the used numbers.
        std::set<int> used(axes.begin(), axes.end());
        used.erase(0);
        std::vector<int> expected;
        for (int a : axes)
            expected.push_back(a == 0 ? 0 : int(std::distance(used.begin(), used.find(a))) + 1);
        CAxisMapPage::Compact(axes);
        EXPECT_EQ(axes, expected);
    }
}

// ---- The sheet over a real control ----

TEST_F(PagesTest, ASheetChangesThePlotOnlyWhenApplyOrOkIsPressed) {
    const std::string before = c.GetSettings();
    site.sheetUser = [](const std::vector<ui::IPropertyPage*>& pages) {
        for (ui::IPropertyPage* p : pages)
            if (p->Caption() == "Label") p->Edit("Title text", "Cancelled");
        return false;
    };
    c.OnCommand(ID_PROPERTIES);
    EXPECT_EQ(c.GetSettings(), before);

    std::string seenAfterApply;
    site.sheetUser = [&](const std::vector<ui::IPropertyPage*>& pages) {
        for (ui::IPropertyPage* p : pages) {
            if (p->Caption() == "Label") p->Edit("Title text", "Applied");
            if (p->Caption() == "Grid") p->Edit("Grid", "0");
        }
        for (ui::IPropertyPage* p : pages)
            p->Apply(); // the Apply button
        seenAfterApply = Get("Title").narrow();
        for (ui::IPropertyPage* p : pages)
            if (p->Caption() == "Label") p->Edit("Title text", "OK");
        return true;
    };
    const int invalidated = site.invalidateCount;
    c.OnCommand(ID_PROPERTIES);
    EXPECT_EQ(seenAfterApply, "Applied");
    EXPECT_EQ(Get("Title").narrow(), "OK");
    EXPECT_EQ(Int("GridType"), 3);
    EXPECT_GT(site.invalidateCount, invalidated);
}
