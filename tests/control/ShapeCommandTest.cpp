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
    c.OnRButtonDown(Inside(120, 70).x, Inside(120, 70).y, 0);
    EXPECT_EQ(CtrlProbe::MouseMode(c), 0);
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
    site.menuAnswer = ID_FILL;
    sink.events.clear();
    c.OnRButtonDown(Inside(30, 20).x, Inside(30, 20).y, 0);
    ASSERT_EQ(site.menus.size(), 1u);
    EXPECT_EQ(site.menus[0].popup.text, "Element");
    bool fillFound = false;
    for (const MenuItem& item : site.menus[0].popup.items)
        if (item.id == ID_FILL) {
            fillFound = true;
            EXPECT_TRUE(item.enabled);
            EXPECT_FALSE(item.checked);
        }
    EXPECT_TRUE(fillFound);
    EXPECT_EQ(Shapes().Displays().front()->Filled(), 1);
    EXPECT_EQ(sink.Count(EV_Modified), 1);

    // Both shapes in a band, then "&Group": one path.
    Drag(Inside(2, 2), Inside(170, 80));
    EXPECT_EQ(Shapes().Selected().size(), 2u);
    c.OnCommand(ID_GROUP);
    ASSERT_EQ(Shapes().Displays().size(), 1u);
    EXPECT_EQ(Shapes().Displays().front()->Kind(), CPlotDisplay::kPath);
}
