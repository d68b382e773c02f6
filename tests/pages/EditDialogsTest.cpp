#include "annot/PlotObj.h"
#include "annot/PlotOverlay.h"
#include "control/ControlHarness.h"
#include "model/MenuTable.h"
#include "pages/PlotAxisPropSheet.h"
#include "pages/PlotLayoutPropSheet.h"
#include "platform/gdi/RecordingDC.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

using com::Variant;

namespace {

constexpr char kRangeError[] = "Error in the Axis Range:\nMin. Value must be less than Max. Value.";
constexpr char kMultiplierError[] =
    "Error in the Multiplier:\nRange must be: -30 <= Multiplier <= 30";

// The region kinds EditObject takes.
enum Kind : short { Title = 1, XAxis = 2, YAxis = 3, XLabel = 4, Legend = 6 };

using Edits = std::vector<std::pair<std::string, std::string>>;

// A sited XY plot over 0..10 x 0..100 with a window surface; the user of its sheets is played
// by the edits given to Open.
class EditDialogsTest : public ControlHarness {
protected:
    EditDialogsTest() {
        site.surfaceFactory = [](int w, int h) { return std::make_unique<gdi::RecordingDC>(w, h); };
        site.ResizeSurface(400, 310);
        Call("SetData", {I2(1), I2(0), Variant::R8(0)});
        Call("SetXData", {I2(1), I2(0), Variant::R8(0)});
        Call("SetData", {I2(1), I2(1), Variant::R8(100)});
        Call("SetXData", {I2(1), I2(1), Variant::R8(10)});
        Paint();
    }
    static Variant I2(int v) { return Variant::I2(std::int16_t(v)); }
    void Paint() {
        c.PaintWindowSurface();
        static_cast<gdi::RecordingDC&>(*site.surface).Clear();
    }
    // The user edits the first page of the sheet (then the pages named by later), optionally
    // looks at it after an Apply, and answers OK or Cancel.
    void Play(const Edits& edits, bool ok = true,
              std::function<void(const std::vector<ui::IPropertyPage*>&)> look = {}) {
        site.sheetUser = [=](const std::vector<ui::IPropertyPage*>& pages) {
            ui::IPropertyPage* page = pages.front();
            for (const auto& [caption, value] : edits) {
                if (caption == "@Font") { // the edits that follow go to the font page
                    page = pages.back();
                    continue;
                }
                if (value == "!press")
                    page->Press(caption);
                else
                    EXPECT_TRUE(page->Edit(caption, value)) << caption << " = " << value;
            }
            if (look) {
                for (ui::IPropertyPage* p : pages)
                    p->Apply();
                look(pages);
            }
            return ok;
        };
    }
    // Opens the editor of the region of that kind, as EditObject and the Edit command do.
    void Open(short kind, const Edits& edits, bool ok = true) {
        Play(edits, ok);
        site.messages.clear();
        Call("EditObject", {I2(kind)});
        Paint();
    }
    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const auto& m : site.messages)
            texts.push_back(m.text);
        return texts;
    }
    std::pair<double, double> AxisRange(int axis) {
        Paint();
        Variant lo = Variant::R8(0), hi = Variant::R8(0);
        Call("GetAxisRange", {I2(axis), Variant::Ref(&lo), Variant::Ref(&hi)});
        return {lo.r8(), hi.r8()};
    }
    CPlotAxis& Axis(int k) { return *c.Model()->Axis(k); }
    std::string LastSheet() const { return site.sheets.empty() ? "" : site.sheets.back().caption; }
    CPlotOverlay& Overlay() { return static_cast<CPlotOverlay&>(*c.Model()->overlay); }
};

} // namespace

// ---- The grid interval rule ----

TEST(GridIntervalRule, CutsLocksAndRefusesAsTheAxisPagesDo) {
    struct Case {
        double typed, low, high, current;
        bool locked;
        double interval;
        bool cut, lock;
    } cases[] = {
        {20, 0, 10, 2, false, 10, true, false},   // wider than the range: cut to it
        {0.1, 0, 10, 2, false, 2, false, false},  // 100 intervals: not taken
        {0.2, 0, 10, 2, false, 0.2, false, true}, // exactly 50: taken, and it locks
        {0.5, 0, 10, 2, false, 0.5, false, true}, // a new interval locks the grid
        {2, 0, 10, 2, false, 2, false, false},    // the same one does not
        {0.5, 0, 10, 2, true, 0.5, false, false}, // already locked
        {0, 0, 10, 2, false, 2, false, false},    // none typed: the axis keeps its own
        {-1, 0, 10, 2, false, 2, false, false},
        {1, 5, 1, 2, false, 1, false, true}, // a reversed range is not cut
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.typed);
        const GridInterval g = GridInterval::Apply(k.typed, k.low, k.high, k.current, k.locked);
        EXPECT_DOUBLE_EQ(g.interval, k.interval);
        EXPECT_EQ(g.cut, k.cut);
        EXPECT_EQ(g.lock, k.lock);
    }
}

// ---- The axis sheet ----

TEST_F(EditDialogsTest, TheCoordinatePageValidatesAndWritesTheAxis) {
    struct Case {
        const char* name;
        Edits edits;
        std::vector<std::string> messages;
        double low, high; // the range afterwards; low > high: the old range is kept
        int multiplier, scale;
        bool descends;
    } cases[] = {
        {"range and direction",
         {{"Axis Range", "20"}, {"-->", "80"}, {"Variable descends", "1"}},
         {},
         20,
         80,
         0,
         0,
         true},
        {"low above high", {{"Axis Range", "80"}, {"-->", "20"}}, {kRangeError}, 1, 0, 0, 0, false},
        {"equal ends", {{"Axis Range", "50"}, {"-->", "50"}}, {kRangeError}, 1, 0, 0, 0, false},
        {"multiplier out of range", {{"Multiplier", "31"}}, {kMultiplierError}, 1, 0, 0, 0, false},
        {"multiplier scales the shown range",
         {{"Multiplier", "-1"}, {"Axis Range", "2"}, {"-->", "8"}},
         {},
         20,
         80,
         -1,
         0,
         false},
        // The drawn range of a log axis is in plot coordinates: 10^0 .. 10^2.
        {"log scale", {{"Scale", "1"}, {"Axis Range", "1"}, {"-->", "100"}}, {}, 0, 2, 0, 1, false},
        {"a word where a number goes",
         {{"Axis Range", "2e"}},
         {"Please enter a number in Axis Range."},
         1,
         0,
         0,
         0,
         false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Call("Clear");
        Call("SetData", {I2(1), I2(0), Variant::R8(0)});
        Call("SetData", {I2(1), I2(1), Variant::R8(100)});
        const auto before = AxisRange(1);
        Open(YAxis, k.edits);
        EXPECT_EQ(LastSheet(), "Plot Axis Scale Setting");
        EXPECT_EQ(site.sheets.back().pages, (std::vector<std::string>{"Coordinate", "Font"}));
        EXPECT_EQ(Messages(), k.messages);
        const auto after = AxisRange(1);
        if (k.low < k.high) {
            EXPECT_DOUBLE_EQ(after.first, k.low);
            EXPECT_DOUBLE_EQ(after.second, k.high);
        } else {
            EXPECT_EQ(after, before);
        }
        EXPECT_EQ(Axis(1).multiplier, k.multiplier);
        EXPECT_EQ(Axis(1).scaleType, k.scale);
        EXPECT_EQ(Axis(1).reversed != 0, k.descends);
    }
}

TEST_F(EditDialogsTest, AGridIntervalWiderThanTheRangeIsCutAndShownSo) {
    std::string shown, locked;
    Play({{"Axis Range", "0"}, {"-->", "100"}, {"Grid Interval", "500"}}, true,
         [&](const std::vector<ui::IPropertyPage*>& pages) {
             shown = pages.front()->Value("Grid Interval");
             locked = pages.front()->Value("Lock Grid");
         });
    Call("EditObject", {I2(YAxis)});
    Paint();
    EXPECT_EQ(shown, "100");
    EXPECT_EQ(locked, "0");
    // A new interval within the rule is taken and locks the grid.
    Open(YAxis, {{"Axis Range", "0"}, {"-->", "100"}, {"Grid Interval", "25"}});
    EXPECT_DOUBLE_EQ(Axis(1).interval, 25);
    EXPECT_EQ(Axis(1).fixedInterval, 1);
    // A finer interval than 50 to the range is not taken.
    Open(YAxis, {{"Axis Range", "0"}, {"-->", "100"}, {"Grid Interval", "1"}});
    EXPECT_DOUBLE_EQ(Axis(1).interval, 25);
}

TEST_F(EditDialogsTest, TheAxisSpinWalksTheYAxesAndEachKeepsItsOwnValues) {
    Put("nvariables", I2(2));
    Call("SetData", {I2(2), I2(0), Variant::R8(5)});
    Call("SetData", {I2(2), I2(1), Variant::R8(7)});
    Call("SetAxisMap", {I2(1), I2(2)});
    Call("SetAxisMap", {I2(-1), I2(0)});
    Paint();
    ASSERT_EQ(c.Model()->NYAxes(), 2);
    const auto first = AxisRange(1);
    Open(YAxis, {{"Axis No.", "2"},
                 {"Axis Range", "4"},
                 {"-->", "9"},
                 {"Axis No.", "1"},
                 {"Multiplier", "2"}});
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(AxisRange(2), std::make_pair(4.0, 9.0));
    EXPECT_EQ(Axis(2).multiplier, 0);
    // The shown range of axis 1 is now read in hundreds.
    EXPECT_EQ(Axis(1).multiplier, 2);
    EXPECT_EQ(AxisRange(1), std::make_pair(first.first / 100, first.second / 100));
}

TEST_F(EditDialogsTest, TheTimeAxisPageSetsWindowRangeAndScrollUnitInItsOrder) {
    struct Case {
        const char* name;
        Edits edits;
        float window, scrollUnit;
    } cases[] = {
        {"a new window moves the high end", {{"Time Window", "5"}}, 5, 0.2f},
        {"the window follows the range", {{"Axis Range", "0"}, {"-->", "2"}}, 2, 0.2f},
        {"a scroll unit beyond the window is refused", {{"Scroll Unit", "9"}}, 1, 0.2f},
        {"a scroll unit within it is taken", {{"Scroll Unit", "0.5"}}, 1, 0.5f},
        {"an exponent beyond 30 becomes 0", {{"Multiplier", "40"}}, 1, 0.2f},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Call("Clear");
        Put("RunPlot", Variant::Bool(true));
        Put("TimeWindow", Variant::R4(1));
        Put("TimeScrollUnit", Variant::R4(0.2f));
        AddTimeData(1, 0.1, 5);
        AddTimeData(1, 0.2, 6);
        Paint();
        Open(XAxis, k.edits);
        EXPECT_EQ(site.sheets.back().pages, (std::vector<std::string>{"Time Axis", "Font"}));
        EXPECT_TRUE(Messages().empty());
        EXPECT_FLOAT_EQ(Get("TimeWindow").r4(), k.window);
        EXPECT_FLOAT_EQ(Get("TimeScrollUnit").r4(), k.scrollUnit);
        EXPECT_EQ(Axis(0).multiplier, 0);
        const auto range = AxisRange(0);
        EXPECT_NEAR(range.second - range.first, k.window, 1e-6);
    }
}

// ---- Labels, legend and fonts ----

TEST_F(EditDialogsTest, TheLabelSheetReplacesTheLabelOrTheChosenLegendAndTheFont) {
    struct Case {
        short kind;
        const char* caption;
        Edits edits;
        const char* property; // the property that shows the label
        const char* text;
        short fontId;
    } cases[] = {
        {Title, "Plot Title Label Setting", {{"Text", "Reactor"}}, "Title", "Reactor", 0},
        {XLabel, "Plot Axis Label Setting", {{"Text", "Time [s]"}}, "xlabel", "Time [s]", 1},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.caption);
        Open(k.kind, {k.edits.front(), {"@Font", ""}, {"Size", "17"}, {"Style", "2"}});
        EXPECT_EQ(LastSheet(), k.caption);
        EXPECT_EQ(Get(k.property).narrow(), k.text);
        Variant size = I2(0), attrib = I2(0);
        Call("GetFont", {I2(k.fontId), Variant::Ref(&size), Variant::Ref(&attrib)});
        EXPECT_EQ(size.i2(), 17);
        EXPECT_EQ(attrib.i2(), 2);
    }
    // The spin picks a variable: its legend is shown and replaced, the label stays.
    std::string shown;
    Play({{"Var. No.", "1"}}, true, [&](const std::vector<ui::IPropertyPage*>& pages) {
        shown = pages.front()->Value("Text");
        pages.front()->Edit("Text", "Feed");
    });
    Call("SetLegend", {I2(1), Variant::Str("Inlet")});
    Call("EditObject", {I2(Title)});
    Paint();
    EXPECT_EQ(shown, "Inlet");
    EXPECT_EQ(Call("GetLegend", {I2(1)}).narrow(), "Feed");
    EXPECT_EQ(Get("Title").narrow(), "Reactor");
}

TEST_F(EditDialogsTest, TheLegendSheetReplacesTheSelectedLineOfTheVisibleVariables) {
    Put("nvariables", I2(3));
    for (short v : {1, 2, 3})
        Call("SetLegend", {I2(v), Variant::Str("L" + std::to_string(v))});
    Call("SetAxisMap", {I2(1), I2(0)}); // variable 2 is hidden: it has no line
    Put("ShowLegend", Variant::Bool(true));
    Paint();
    std::vector<std::string> lines;
    std::string picked;
    Play({{"Legend Text", "1"}}, true, [&](const std::vector<ui::IPropertyPage*>& pages) {
        ui::IPropertyPage& p = *pages.front();
        picked = p.Value("Text");
        p.Edit("Text", "Outlet");
        p.Press("Replace");
        lines = p.Entries("Legend Text");
        p.Apply();
    });
    Call("EditObject", {I2(Legend)});
    Paint();
    EXPECT_EQ(LastSheet(), "Plot Legend Box");
    EXPECT_EQ(picked, "L3");
    EXPECT_EQ(lines, (std::vector<std::string>{"L1", "Outlet"}));
    EXPECT_EQ(Call("GetLegend", {I2(3)}).narrow(), "Outlet");
    EXPECT_EQ(Call("GetLegend", {I2(1)}).narrow(), "L1");
    EXPECT_EQ(Call("GetLegend", {I2(2)}).narrow(), "L2");
}

// ---- Lines, polygons and texts by double click ----

TEST_F(EditDialogsTest, ADoubleClickOnAHostLineOrPolygonOpensItsAttributes) {
    const short line = Call("NewLine", {I2(1), I2(4), I2(1), I2(4), I2(0)}).i2();
    const short polygon = Call("NewPolygon", {I2(2), I2(-1)}).i2();
    // Apart, so that each double click hits one of them.
    const double points[2][3][2] = {{{1, 10}, {9, 90}, {9, 10}}, {{2, 80}, {4, 95}, {4, 80}}};
    for (int k = 0; k < 2; ++k)
        for (short i = 0; i < 3; ++i)
            Call("SetXYData", {I2(k == 0 ? line : polygon), I2(i), Variant::R8(points[k][i][0]),
                               Variant::R8(points[k][i][1])});
    Paint();
    // The middle of the first drawn segment (a line's), or of the first three points (inside a
    // polygon).
    auto middle = [&](short id, int points) {
        const CPlotVar& v = *c.Model()->YVar(Overlay().Find(id)->YVariable());
        EXPECT_GE(v.devicePointCount, points);
        gdi::Point sum{0, 0};
        for (int i = 0; i < points; ++i)
            sum = {sum.x + v.devicePoints[std::size_t(i)].first,
                   sum.y + v.devicePoints[std::size_t(i)].second};
        return gdi::Point{sum.x / points, sum.y / points};
    };
    // The line: colour, marker, no line, interval, size and the arrow back.
    Play({{"Color", "5"},
          {"Marker", "3"},
          {"Line", "7"},
          {"Interval", "4"},
          {"Size", "6"},
          {"Direction", "2"}});
    gdi::Point p = middle(line, 2);
    c.OnLButtonDblClk(p.x, p.y, 0);
    Paint();
    ASSERT_EQ(LastSheet(), "Attributes");
    const CPlotVar& lv = *c.Model()->YVar(Overlay().Find(line)->YVariable());
    EXPECT_EQ(lv.color, 5);
    EXPECT_EQ(lv.marker, 3);
    EXPECT_EQ(lv.lineType, -1);
    EXPECT_EQ(lv.ownMarkerInterval, 4);
    EXPECT_EQ(lv.ownMarkerSize, 6);
    EXPECT_EQ(lv.arrowMode, 2);
    // The polygon: colour and hatch; the edits above are refused there.
    Play({{"Color", "3"}, {"Hatch", "4"}});
    p = middle(polygon, 3);
    c.OnLButtonDblClk(p.x, p.y, 0);
    Paint();
    const CPlotVar& pv = *c.Model()->YVar(Overlay().Find(polygon)->YVariable());
    EXPECT_EQ(pv.color, 3);
    EXPECT_EQ(pv.barPattern, 4);
    EXPECT_EQ(site.sheets.size(), 2u);
}

TEST_F(EditDialogsTest, ADoubleClickOnATextOpensItsSheetAndTheOrientationButtonsTurnIt) {
    Call("AddText", {Variant::Str("Peak"), Variant::R4(0.5f), Variant::R4(0.5f), I2(0), I2(0),
                     Variant::Str(""), I2(10), I2(0)});
    Paint();
    const CPlotAnnotation& a = *Overlay().Annotation(0);
    sink.events.clear();
    Play({{"Enter Annotation Text", "Peak\\nflow"}, {"LEFTTEXT", "!press"}, {"Color", "4"}});
    c.OnLButtonDblClk(a.TextRect().left + 2, a.TextRect().top + 2, 0);
    Paint();
    EXPECT_EQ(LastSheet(), "Plot Text Setting");
    EXPECT_EQ(a.Text(), "Peak\r\nflow");
    EXPECT_EQ(a.GetAttributes().angle, 90);
    EXPECT_EQ(a.GetAttributes().color, 4);
    EXPECT_EQ(sink.Count(EV_Modified), 1);
    // DOWNTEXT turns it upside down; the text shown is the one stored.
    std::string shown;
    Play({{"DOWNTEXT", "!press"}}, true, [&](const std::vector<ui::IPropertyPage*>& pages) {
        shown = pages.front()->Value("Enter Annotation Text");
    });
    c.OnLButtonDblClk(a.TextRect().left + 2, a.TextRect().top + 2, 0);
    Paint();
    EXPECT_EQ(shown, "Peak\\nflow");
    EXPECT_EQ(a.GetAttributes().angle, 180);
}

// ---- Cancel and the Edit command ----

TEST_F(EditDialogsTest, ACancelledDialogChangesNothing) {
    Put("nvariables", I2(2));
    Put("ShowLegend", Variant::Bool(true));
    Paint();
    const Edits anything = {{"Text", "x"}, {"Axis Range", "3"}, {"-->", "4"}};
    for (short kind : {Title, XAxis, YAxis, XLabel, Legend}) {
        SCOPED_TRACE(kind);
        const std::string before = c.GetSettings();
        const int modified = site.modifiedCount;
        site.sheetUser = [&](const std::vector<ui::IPropertyPage*>& pages) {
            for (const auto& [caption, value] : anything)
                pages.front()->Edit(caption, value);
            return false;
        };
        const std::size_t shown = site.sheets.size();
        Call("EditObject", {I2(kind)});
        Paint();
        EXPECT_EQ(site.sheets.size(), shown + 1);
        EXPECT_EQ(c.GetSettings(), before);
        EXPECT_EQ(site.modifiedCount, modified);
    }
}

TEST_F(EditDialogsTest, TheEditCommandOpensTheSelectedRegionsEditorAtTheNextPaint) {
    Play({{"Text", "By command"}});
    // Selecting the title with a right click, then the command.
    const CPlotRegion* found = nullptr;
    for (const CPlotRegion* r : c.Model()->regionList)
        if (r->kind == CPlotRegion::Title) found = r;
    ASSERT_NE(found, nullptr);
    const CPlotRegion& title = *found;
    site.menuAnswer = ID_EDIT;
    c.OnRButtonDown((title.rect.left + title.rect.right) / 2,
                    (title.rect.top + title.rect.bottom) / 2, 0);
    EXPECT_TRUE(site.sheets.empty()); // not inside the command: at the next paint
    Paint();
    EXPECT_EQ(LastSheet(), "Plot Title Label Setting");
    EXPECT_EQ(Get("Title").narrow(), "By command");
}

// ---- The page-layout sheet (a model until the control keeps page layouts) ----

TEST(PlotLayoutPropSheet, ActivatesEditsAndAppliesHeaderFooterAndFont) {
    ui::HeadlessSite site;
    LayoutSetting setting;
    setting.footer = true;
    setting.footerText = "Page 1";
    setting.footerAlignment = 2;
    setting.font = {"Times New Roman", 12, 0};
    CPlotLayoutPropSheet sheet(setting, site);
    const std::vector<ui::IPropertyPage*> pages = sheet.Pages();
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0]->Caption(), "Header/Footer");
    EXPECT_EQ(pages[0]->Value("Footer"), "1");
    EXPECT_EQ(pages[0]->Value("Footer Text"), "Page 1");
    EXPECT_EQ(pages[0]->Value("Footer Alignment"), "2");
    EXPECT_EQ(pages[1]->Value("Font"), "Times New Roman");
    // The edits, a size out of range and an empty face: those two keep the old font.
    pages[0]->Edit("Header", "1");
    pages[0]->Edit("Header Text", "Reactor R-101");
    pages[0]->Edit("Header Alignment", "1");
    pages[1]->Edit("Size", "0");
    pages[1]->Edit("Font", "");
    pages[1]->Edit("Underscore", "1");
    EXPECT_FALSE(pages[1]->Edit("Size", "1x"));
    EXPECT_EQ(sheet.Setting(), setting); // nothing is written before apply
    for (ui::IPropertyPage* p : pages)
        p->Apply();
    LayoutSetting expected = setting;
    expected.header = true;
    expected.headerText = "Reactor R-101";
    expected.headerAlignment = 1;
    expected.font.style = 4;
    EXPECT_EQ(sheet.Setting(), expected);
    EXPECT_TRUE(site.messages.empty());
}
