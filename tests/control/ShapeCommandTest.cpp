#include "ControlHarness.h"
#include "support/CtrlProbe.h"

#include "annot/PlotOverlay.h"
#include "control/TrendixEvents.h"
#include "model/MenuTable.h"
#include "platform/gdi/RecordingDC.h"

#include <string>

namespace {

using com::Variant;

// A sited control with a window image; the user draws with the toolbar's commands.
class ShapeCommandTest : public ControlHarness {
protected:
    ShapeCommandTest() {
        site.surfaceFactory = [](int w, int h) { return std::make_unique<gdi::RecordingDC>(w, h); };
        site.ResizeSurface(400, 310);
        c.PaintWindowSurface();
    }
    const CPlotShapes& Shapes() { return c.PlotObjects().Shapes(); }
    gdi::Point Inside(int dx, int dy) {
        const CPlotRegion::Rect& r = c.Model()->drawingRegion->rect;
        return {r.left + dx, r.top + dy};
    }
    void Drag(gdi::Point from, gdi::Point to, int modifiers = 0) {
        c.OnLButtonDown(from.x, from.y, modifiers);
        c.OnMouseMove((from.x + to.x) / 2, (from.y + to.y) / 2, modifiers);
        c.OnMouseMove(to.x, to.y, modifiers);
        c.OnLButtonUp(to.x, to.y, modifiers);
        c.PaintWindowSurface();
    }
    void Click(gdi::Point p) { Drag(p, p); }
    // The item of a command in the one menu shown so far; null when it has none.
    const MenuItem* ShownItem(int command) const {
        if (site.menus.size() != 1) return nullptr;
        for (const MenuItem& item : site.menus[0].popup.items)
            if (item.id == command) return &item;
        return nullptr;
    }
    // A right press at p that answers `command` from the menu shown; the menu's caption must be
    // `menu`. Events are counted from the press on.
    void ChooseFromMenu(gdi::Point p, int command, const char* menu) {
        site.menuAnswer = command;
        sink.events.clear();
        c.OnRButtonDown(p.x, p.y, 0);
        ASSERT_EQ(site.menus.size(), 1u);
        EXPECT_EQ(site.menus[0].popup.text, menu);
    }
};

} // namespace

TEST_F(ShapeCommandTest, ToolCommandsDrawShapesAndTheRightPressDisarms) {
    c.OnCommand(ID_TOOL_BOX);
    EXPECT_TRUE(c.ToolArmed());
    EXPECT_EQ(c.CurrentTool(), ID_TOOL_BOX);
    // While armed, the pointer is the cross.
    c.OnMouseMove(Inside(10, 10).x, Inside(10, 10).y, 0);
    EXPECT_EQ(site.cursor, kCrossCursor);
    Drag(Inside(10, 10), Inside(60, 40));
    ASSERT_EQ(Shapes().Displays().size(), 1u);
    EXPECT_EQ(c.CurrentTool(), 0);
    EXPECT_EQ(CtrlProbe::MouseMode(c), 0);

    // A right press with a tool armed only disarms it: no menu.
    c.OnCommand(ID_TOOL_LINE);
    c.OnRButtonDown(Inside(100, 100).x, Inside(100, 100).y, 0);
    EXPECT_FALSE(c.ToolArmed());
    EXPECT_TRUE(site.menus.empty());
    Click(Inside(100, 100));
    EXPECT_EQ(Shapes().Displays().size(), 1u);

    // A polygon: clicks, then the right press finishes it.
    c.OnCommand(ID_TOOL_POLYGON);
    for (gdi::Point p : {Inside(100, 20), Inside(140, 20), Inside(140, 60)}) {
        c.OnLButtonDown(p.x, p.y, 0);
        EXPECT_EQ(CtrlProbe::MouseMode(c), CPlotLook::kMultiClickShape);
        c.OnLButtonUp(p.x, p.y, 0);
    }
    sink.events.clear();
    c.OnRButtonDown(Inside(120, 70).x, Inside(120, 70).y, 0);
    EXPECT_EQ(CtrlProbe::MouseMode(c), 0);
    EXPECT_EQ(sink.Count(EV_Modified), 1); // the host hears of the finished polygon
    ASSERT_EQ(Shapes().Displays().size(), 2u);
    EXPECT_EQ(static_cast<const CPlotPolygon&>(*Shapes().Displays().back()).VertexCount(), 3);
}

TEST_F(ShapeCommandTest, TheElementMenuFillsAndTheGroupCommandMakesAPath) {
    c.OnCommand(ID_TOOL_BOX);
    Drag(Inside(10, 10), Inside(60, 40));
    c.OnCommand(ID_TOOL_ELLIPSE);
    Drag(Inside(120, 30), Inside(150, 50));
    // A right press on the selected box shows "Element" with "&Fill" enabled and unchecked.
    Click(Inside(30, 20));
    ASSERT_NO_FATAL_FAILURE(ChooseFromMenu(Inside(30, 20), ID_FILL, "Element"));
    const MenuItem* fill = ShownItem(ID_FILL);
    ASSERT_NE(fill, nullptr);
    EXPECT_TRUE(fill->enabled);
    EXPECT_FALSE(fill->checked);
    EXPECT_EQ(Shapes().Displays().front()->Filled(), 1);
    EXPECT_EQ(sink.Count(EV_Modified), 1);

    // Both shapes in a band, then "&Group": one path.
    Drag(Inside(2, 2), Inside(170, 80));
    EXPECT_EQ(Shapes().Selected().size(), 2u);
    c.OnCommand(ID_GROUP);
    ASSERT_EQ(Shapes().Displays().size(), 1u);
    EXPECT_EQ(Shapes().Displays().front()->Kind(), CPlotDisplay::kPath);
}

TEST_F(ShapeCommandTest, ThePathMenuUngroupsAndLowers) {
    c.OnCommand(ID_TOOL_BOX);
    Drag(Inside(10, 10), Inside(60, 40));
    c.OnCommand(ID_TOOL_LINE);
    Drag(Inside(80, 10), Inside(120, 40));
    Drag(Inside(2, 2), Inside(130, 60));
    c.OnCommand(ID_GROUP);
    ASSERT_EQ(Shapes().Displays().size(), 1u);
    // A right press on the selected path shows "Path" with "&Ungroup" enabled.
    ASSERT_NO_FATAL_FAILURE(ChooseFromMenu(Inside(30, 20), ID_UNGROUP, "Path"));
    const MenuItem* ungroup = ShownItem(ID_UNGROUP);
    ASSERT_NE(ungroup, nullptr);
    EXPECT_TRUE(ungroup->enabled);
    ASSERT_EQ(Shapes().Displays().size(), 2u);
    EXPECT_EQ(Shapes().Displays()[0]->Kind(), CPlotDisplay::kBox);
    EXPECT_EQ(Shapes().Displays()[1]->Kind(), CPlotDisplay::kLine);
    EXPECT_EQ(sink.Count(EV_Modified), 1);
    // "Lower" puts the selected line under the box; with nothing to lower it changes nothing.
    c.PaintWindowSurface();
    Click(Inside(100, 25));
    ASSERT_EQ(Shapes().Selected().size(), 1u);
    sink.events.clear();
    c.OnCommand(ID_LOWER);
    EXPECT_EQ(Shapes().Displays()[0]->Kind(), CPlotDisplay::kLine);
    EXPECT_EQ(sink.Count(EV_Modified), 1);
    c.OnCommand(ID_LOWER);
    c.OnCommand(ID_UNGROUP);
    EXPECT_EQ(sink.Count(EV_Modified), 1);
}

TEST_F(ShapeCommandTest, TheTextMenuEditsTheTextShapeInItsDialog) {
    c.OnCommand(ID_TOOL_TEXT);
    Drag(Inside(40, 40), Inside(40, 40));
    ASSERT_EQ(Shapes().Displays().size(), 1u);
    const auto& text = static_cast<const CPlotText&>(*Shapes().Displays().front());
    ASSERT_EQ(text.Text(), "Text");
    Click(Inside(42, 42));
    ASSERT_EQ(Shapes().Selected().size(), 1u);
    // The user writes two lines, turns the text up and makes it bold at twice its size.
    std::string shownSize;
    site.sheetUser = [&](const std::vector<ui::IPropertyPage*>& pages) {
        EXPECT_EQ(pages[0]->Value("Text"), "Text");
        shownSize = pages[0]->Value("Size");
        EXPECT_TRUE(pages[0]->Edit("Text", "two\\nlines"));
        EXPECT_TRUE(pages[0]->Edit("Size", std::to_string(2 * std::stoi(shownSize))));
        EXPECT_TRUE(pages[0]->Edit("Direction", "1"));
        EXPECT_TRUE(pages[0]->Edit("Bold", "1"));
        return true;
    };
    const float size = text.Size();
    ASSERT_NO_FATAL_FAILURE(ChooseFromMenu(Inside(42, 42), ID_EDIT_SHAPE, "Text"));
    ASSERT_EQ(site.sheets.size(), 1u);
    EXPECT_EQ(site.sheets[0].caption, "Edit Text");
    EXPECT_EQ(text.Text(), "two\r\nlines");
    EXPECT_EQ(text.Lines(), (std::vector<std::string>{"two", "lines"}));
    EXPECT_NEAR(text.Size(), 2 * size, size * 0.1);
    EXPECT_EQ(text.Escapement(), 90);
    EXPECT_EQ(text.Style(), 2);
    EXPECT_EQ(sink.Count(EV_Modified), 1);
    // Cancelled, nothing changes.
    site.sheetUser = nullptr;
    sink.events.clear();
    c.OnCommand(ID_EDIT_SHAPE);
    EXPECT_EQ(text.Text(), "two\r\nlines");
    EXPECT_EQ(sink.Count(EV_Modified), 0);
}

TEST_F(ShapeCommandTest, DisplayTextIsLaidOutInsideTheControlWithItsSymbols) {
    c.DisplayText("long line of text\\nsecond", 395, 10, 1000);
    EXPECT_TRUE(site.popupShown);
    EXPECT_EQ(site.popupText, "long line of text\nsecond");
    EXPECT_LT(site.popupX, 395); // moved left to end at the right edge
    EXPECT_EQ(site.popupY, 10);
    // The symbols of the text are substituted.
    c.DisplayText("at &[TIME]", 10, 10, 1000);
    EXPECT_EQ(site.popupText.find("&["), std::string::npos);
    EXPECT_EQ(site.popupText.rfind("at ", 0), 0u);
}

TEST_F(ShapeCommandTest, APressBesideTheSelectionRepaintsItsHandlesAway) {
    c.OnCommand(ID_TOOL_BOX);
    Drag(Inside(10, 10), Inside(60, 40));
    Click(Inside(30, 20));
    ASSERT_EQ(Shapes().Selected().size(), 1u);
    // A press on nothing lets the box go: its handles, drawn on the window, need a paint.
    int before = site.invalidateCount;
    c.OnLButtonDown(Inside(150, 100).x, Inside(150, 100).y, 0);
    EXPECT_TRUE(Shapes().Selected().empty());
    EXPECT_GT(site.invalidateCount, before);
    c.OnLButtonUp(Inside(150, 100).x, Inside(150, 100).y, 0);
    // With nothing selected, a press on nothing asks for no paint of its own.
    c.PaintWindowSurface();
    before = site.invalidateCount;
    c.OnLButtonDown(Inside(150, 100).x, Inside(150, 100).y, 0);
    EXPECT_EQ(site.invalidateCount, before);
    c.OnLButtonUp(Inside(150, 100).x, Inside(150, 100).y, 0);
}
