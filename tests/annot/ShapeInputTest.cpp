#include "annot/PlotOverlay.h"
#include "model/FakePlotHost.h"
#include "model/MenuTable.h"
#include "model/PlotLook.h"
#include "platform/gdi/RecordingDC.h"
#include "platform/ui/VirtualKeys.h"
#include "render/PlotEnv.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// An XY plot on a 400 x 310 window with its overlay; the shapes are made and edited through
// the model's pointer seams, as the control drives them.
class ShapeInputTest : public testing::Test {
protected:
    ShapeInputTest() : env(tool) {
        env.locale = locale::Locale::Classic();
        host.npoints = 3;
        m = std::make_unique<CPlotLook>(host, &env);
        m->SetNPoints(3);
        for (int i = 0; i < 3; ++i) {
            m->SetXData(1, i, i * 5.0);
            m->SetData(1, i, i * 50.0);
        }
        m->overlay = std::make_unique<CPlotOverlay>(*m, ids);
        Paint();
    }
    CPlotShapes& S() { return static_cast<CPlotOverlay&>(*m->overlay).Shapes(); }
    void Paint() {
        m->bufferWidth = 400;
        m->bufferHeight = 310;
        dc.Clear();
        CPlotPaintContext ctx(dc, env);
        m->Paint(ctx, {0, 0, 400, 310}, false, 1, false);
    }
    // A press, drags through the points, and the release at the last; answers the press's mode.
    int Gesture(std::vector<gdi::Point> points, int keyFlags = 0) {
        CPlotPaintContext ctx(window, env);
        const int mode = m->LeftPress(ctx, points.front(), keyFlags, true, true);
        for (std::size_t i = 1; i < points.size(); ++i)
            m->Drag(ctx, mode, keyFlags, points[i]);
        if (mode != CPlotLook::kMultiClickShape) m->Release(ctx, keyFlags, points.back(), mode);
        return mode;
    }
    int Tool(int command) {
        S().PickTool(env, command);
        return command;
    }
    // A box drawn with the box tool from a to b.
    CPlotDisplay& DrawBox(gdi::Point a, gdi::Point b) {
        Tool(ID_TOOL_BOX);
        EXPECT_EQ(Gesture({a, {(a.x + b.x) / 2, (a.y + b.y) / 2}, b}), CPlotLook::kFinishShape);
        Paint();
        return *S().Displays().back();
    }

    CDrawTool tool;
    FakePlotHost host;
    CPlotEnv env;
    CObjectIds ids;
    std::unique_ptr<CPlotLook> m;
    gdi::RecordingDC dc{400, 310};
    gdi::RecordingDC window{400, 310};
};

} // namespace

TEST_F(ShapeInputTest, EachToolMakesItsShapeAndReturnsToNoTool) {
    struct Case {
        int tool;
        char kind;
    };
    const Case cases[] = {
        {ID_TOOL_BOX, 'b'},        {ID_TOOL_LINE, 'l'},       {ID_TOOL_ELLIPSE, 'c'},
        {ID_TOOL_UPPER_HALF, 'u'}, {ID_TOOL_RIGHT_HALF, '>'}, {ID_TOOL_QUARTER_ARC, 'R'},
        {ID_TOOL_MARKER, 'M'},     {ID_TOOL_TEXT, 'T'},
    };
    for (const Case& c : cases) {
        Tool(c.tool);
        EXPECT_TRUE(S().ToolArmed());
        EXPECT_EQ(Gesture({{150, 100}, {170, 110}, {190, 130}}), CPlotLook::kFinishShape);
        // The press used the tool flag; the commit ends the tool.
        EXPECT_FALSE(S().ToolArmed());
        EXPECT_EQ(tool.CurrentTool(), 0);
        EXPECT_EQ(S().InProgress(), nullptr);
        ASSERT_FALSE(S().Displays().empty());
        EXPECT_EQ(S().Displays().back()->Kind(), c.kind);
    }
    EXPECT_EQ(S().Displays().size(), std::size(cases));
    // The box spans the press and the release, in world coordinates that survive a repaint.
    Paint();
    const CPlotDisplay& box = *S().Displays().front();
    EXPECT_EQ(box.Start(), (gdi::Point{150, 100}));
    EXPECT_EQ(box.End(), (gdi::Point{190, 130}));
}

TEST_F(ShapeInputTest, PolygonsTakeOneVertexPerClickAndNeedThree) {
    Tool(ID_TOOL_POLYGON);
    // A click per vertex; between them the newest vertex follows the pointer.
    EXPECT_EQ(Gesture({{120, 100}, {160, 100}}), CPlotLook::kMultiClickShape);
    EXPECT_EQ(Gesture({{160, 100}, {160, 140}}), CPlotLook::kMultiClickShape);
    EXPECT_EQ(Gesture({{160, 140}, {150, 150}}), CPlotLook::kMultiClickShape);
    CPlotPaintContext ctx(window, env);
    // The right press finishes with the release of mode 2.
    m->Release(ctx, 0, {160, 140}, CPlotLook::kFinishShape);
    ASSERT_EQ(S().Displays().size(), 1u);
    const auto& polygon = static_cast<const CPlotPolygon&>(*S().Displays().back());
    EXPECT_TRUE(polygon.Closed());
    EXPECT_EQ(polygon.VertexCount(), 3);
    EXPECT_EQ(polygon.Vertices().size(), 3u);
    EXPECT_EQ(polygon.DeviceVertices(),
              (std::vector<gdi::Point>{{120, 100}, {160, 100}, {160, 140}}));

    // Two vertices are not a polygon: discarded.
    Tool(ID_TOOL_POLYLINE);
    Gesture({{200, 100}, {220, 120}});
    m->Release(ctx, 0, {220, 120}, CPlotLook::kFinishShape);
    EXPECT_EQ(S().Displays().size(), 1u);
    EXPECT_EQ(S().InProgress(), nullptr);
}

TEST_F(ShapeInputTest, ClicksSelectShiftClicksDeselectAtReleaseAndBandsSelectInside) {
    CPlotDisplay& a = DrawBox({120, 80}, {160, 120});
    CPlotDisplay& b = DrawBox({220, 80}, {260, 120});
    Gesture({{140, 100}});
    EXPECT_EQ(S().Selected(), std::vector<CPlotDisplay*>{&a});
    Gesture({{240, 100}}, ui::ModShift);
    EXPECT_EQ(S().Selected(), (std::vector<CPlotDisplay*>{&a, &b}));
    // A shift press on a selected shape marks it; the release takes it out.
    Gesture({{140, 100}}, ui::ModShift);
    EXPECT_EQ(S().Selected(), std::vector<CPlotDisplay*>{&b});
    // A plain press on nothing deselects all, and a band from there selects what lies inside.
    EXPECT_EQ(Gesture({{110, 70}, {170, 130}}), CPlotLook::kMarkingMode);
    EXPECT_EQ(S().Selected(), std::vector<CPlotDisplay*>{&a});
    // A band of one unit selects nothing.
    Gesture({{300, 200}});
    Gesture({{215, 75}, {216, 76}});
    EXPECT_TRUE(S().Selected().empty());
}

TEST_F(ShapeInputTest, DraggingMovesTheSelectionAndHandlesResize) {
    CPlotDisplay& box = DrawBox({120, 80}, {160, 120});
    Gesture({{140, 100}});
    // Moving by (20, 10): the outline follows in inverting mode, the release commits.
    window.Clear();
    EXPECT_EQ(Gesture({{140, 100}, {150, 105}, {160, 110}}), CPlotLook::kMoveMode);
    EXPECT_FALSE(window.CallsNamed("Polyline").empty());
    Paint();
    EXPECT_EQ(box.Start(), (gdi::Point{140, 90}));
    EXPECT_EQ(box.End(), (gdi::Point{180, 130}));
    // The bottom right corner handle (code 4) drags that corner only.
    const int mode = Gesture({{180, 130}, {200, 150}});
    EXPECT_EQ(mode, CPlotShapes::kHandleDrag - 4);
    Paint();
    EXPECT_EQ(box.Start(), (gdi::Point{140, 90}));
    EXPECT_EQ(box.End(), (gdi::Point{200, 150}));
}

TEST_F(ShapeInputTest, GroupingTurnsTheSelectionIntoOnePathThatKeysTurn) {
    DrawBox({120, 80}, {160, 100});
    Tool(ID_TOOL_LINE);
    Gesture({{200, 80}, {240, 120}});
    Paint();
    const std::vector<std::string> before = dc.Drawing();
    Gesture({{100, 60}, {300, 200}}); // a band round both
    ASSERT_EQ(S().Selected().size(), 2u);
    ASSERT_TRUE(S().Group(env));
    ASSERT_EQ(S().Displays().size(), 1u);
    auto& path = static_cast<CPlotPath&>(*S().Displays().front());
    EXPECT_EQ(path.Kind(), 'p');
    EXPECT_EQ(path.Elements().size(), 2u);
    // The group draws as its shapes did (the handles aside).
    Paint();
    auto figures = [](std::vector<std::string> calls) {
        std::erase_if(calls, [](const std::string& c) { return c.rfind("Rectangle", 0) == 0; });
        return calls;
    };
    EXPECT_EQ(figures(dc.Drawing()), figures(before));
    // A grouped path shows the "Path" menu; the keys turn it, four left turns bring it back.
    EXPECT_EQ(S().MenuAt(path.Start()), MENU_PATH);
    bool repaint = false;
    CPlotPaintContext ctx(window, env);
    const int orientations[] = {3, 5, 4, 0}; // the left-turn row from 0
    for (int expected : orientations) {
        EXPECT_TRUE(S().Key(ctx, 'L', false, repaint));
        EXPECT_EQ(path.Orientation(), expected);
    }
    S().Key(ctx, 'X', false, repaint);
    S().Key(ctx, 'Y', false, repaint);
    EXPECT_EQ(path.Orientation(), 5);
    // Nothing that can join a path: the list stays.
    S().DeselectAll(env);
    EXPECT_FALSE(S().Group(env));
    EXPECT_EQ(S().Displays().size(), 1u);
}

TEST_F(ShapeInputTest, FillTogglesAndColoursGoToTheSelectionOrToNewShapes) {
    CPlotDisplay& box = DrawBox({120, 80}, {160, 120});
    Gesture({{140, 100}});
    bool enabled = false, checked = false;
    S().FillState(enabled, checked);
    EXPECT_TRUE(enabled);
    EXPECT_FALSE(checked);
    EXPECT_TRUE(S().ToggleFill());
    EXPECT_EQ(box.Filled(), 1);
    S().FillState(enabled, checked);
    EXPECT_TRUE(checked);
    // A colour the palette lacks is appended, once.
    const int count = tool.ColorCount();
    S().ApplyColor(env, 0x123456);
    EXPECT_EQ(tool.ColorCount(), count + 1);
    EXPECT_EQ(box.Color(), 0x123456u);
    EXPECT_EQ(box.ColorIndex(), count);
    S().ApplyColor(env, 0x123456);
    EXPECT_EQ(tool.ColorCount(), count + 1);
    int index = 0, lineType = 0;
    S().ToolbarChoice(tool, index, lineType);
    EXPECT_EQ(index, count);
    // Picking a tool deselects all; without a selection the colour waits for new shapes.
    Tool(ID_TOOL_LINE);
    EXPECT_TRUE(S().Selected().empty());
    S().ApplyColor(env, 0x00FF00);
    S().ApplyLineType(env, 3);
    EXPECT_EQ(box.Color(), 0x123456u);
    Gesture({{200, 80}, {240, 120}});
    EXPECT_EQ(S().Displays().back()->Color(), 0x00FF00u);
    EXPECT_EQ(S().Displays().back()->LineType(), 3);
    // A line cannot be filled.
    Gesture({{220, 100}});
    S().FillState(enabled, checked);
    EXPECT_FALSE(enabled);
    EXPECT_FALSE(S().ToggleFill());
}

TEST_F(ShapeInputTest, RecordOfTheShapesRoundTripsThroughTheList) {
    DrawBox({120, 80}, {160, 120});
    Tool(ID_TOOL_ELLIPSE);
    Gesture({{200, 100}, {230, 120}});
    std::vector<std::uint8_t> bytes;
    S().WriteRecord(bytes);
    std::size_t pos = 0;
    // A truncated record leaves the plot's shapes as they are.
    EXPECT_FALSE(S().ReadRecord(std::span(bytes).first(bytes.size() - 1), pos, env));
    EXPECT_EQ(S().Displays().size(), 2u);
    ASSERT_TRUE(S().ReadRecord(bytes, pos, env));
    std::vector<std::uint8_t> again;
    S().WriteRecord(again);
    EXPECT_EQ(again, bytes);
}

TEST_F(ShapeInputTest, UngroupGivesTheShapesBackSelectedInThePathsPlace) {
    DrawBox({120, 80}, {160, 100});
    Tool(ID_TOOL_LINE);
    Gesture({{200, 80}, {240, 120}});
    DrawBox({300, 200}, {340, 240}); // stays out of the group, drawn last
    Paint();
    const std::vector<std::string> before = dc.Drawing();
    Gesture({{100, 60}, {280, 140}});
    ASSERT_TRUE(S().Group(env));
    EXPECT_TRUE(S().CanUngroup());
    // Grouping put the path last; lower it under the box it now covers.
    ASSERT_TRUE(S().Lower());
    ASSERT_EQ(S().Displays().front()->Kind(), CPlotDisplay::kPath);
    EXPECT_FALSE(S().Lower()); // already at the bottom
    ASSERT_TRUE(S().Ungroup(env));
    ASSERT_EQ(S().Displays().size(), 3u);
    EXPECT_EQ(S().Displays()[0]->Kind(), CPlotDisplay::kBox);
    EXPECT_EQ(S().Displays()[1]->Kind(), CPlotDisplay::kLine);
    EXPECT_EQ(S().Selected(),
              (std::vector<CPlotDisplay*>{S().Displays()[0].get(), S().Displays()[1].get()}));
    EXPECT_FALSE(S().CanUngroup());
    EXPECT_FALSE(S().Ungroup(env));
    // The picture is the one before grouping (the band and the handles aside).
    S().DeselectAll(env);
    Paint();
    auto figures = [](std::vector<std::string> calls) {
        std::erase_if(calls, [](const std::string& c) { return c.rfind("Rectangle", 0) == 0; });
        return calls;
    };
    EXPECT_EQ(figures(dc.Drawing()), figures(before));
}

TEST_F(ShapeInputTest, TabAndPressChooseTheHandleTheArrowsMove) {
    CPlotDisplay& box = DrawBox({120, 80}, {160, 120});
    Gesture({{140, 100}});
    constexpr float kStep = 0.25f; // world units: some 9 pixels
    env.snapStep = kStep;
    const float x1 = box.X1(), y1 = box.Y1(), x2 = box.X2(), y2 = box.Y2();
    bool repaint = false;
    CPlotPaintContext ctx(window, env);
    // No handle chosen: the arrow moves the whole box.
    ASSERT_TRUE(S().Key(ctx, ui::VK_RIGHT, false, repaint));
    EXPECT_FLOAT_EQ(box.X1(), x1 + kStep);
    EXPECT_FLOAT_EQ(box.X2(), x2 + kStep);
    Paint();
    // Tab chooses the first handle, (x1, y1); the arrow moves that corner only.
    ASSERT_TRUE(S().Key(ctx, ui::VK_TAB, false, repaint));
    ASSERT_NE(env.selectedHandle, nullptr);
    EXPECT_EQ(env.selectedHandle->key, 2);
    ASSERT_TRUE(S().Key(ctx, ui::VK_UP, false, repaint));
    EXPECT_FLOAT_EQ(box.X1(), x1 + kStep);
    EXPECT_FLOAT_EQ(box.Y1(), y1 + kStep);
    EXPECT_FLOAT_EQ(box.X2(), x2 + kStep);
    EXPECT_FLOAT_EQ(box.Y2(), y2);
    // The chosen handle follows the corner through the repaint, and keeps answering.
    Paint();
    ASSERT_NE(env.selectedHandle, nullptr);
    EXPECT_EQ(env.selectedHandle->rect.left + 2, box.Start().x);
    // A press on the right middle handle chooses it instead; a click goes through the device
    // form, so what follows holds to within a pixel's width in world units.
    constexpr float kPixel = 0.03f;
    const gdi::Point right{box.End().x, (box.Start().y + box.End().y) / 2};
    Gesture({right});
    ASSERT_NE(env.selectedHandle, nullptr);
    EXPECT_EQ(env.selectedHandle->key, 7);
    S().Key(ctx, ui::VK_LEFT, false, repaint);
    EXPECT_NEAR(box.X2(), x2, kPixel);
    EXPECT_NEAR(box.X1(), x1 + kStep, kPixel);
    // A press on the body gives the arrows back to the whole shape.
    Paint();
    Gesture({{box.Start().x + 5, box.Start().y + 5}});
    EXPECT_EQ(env.selectedHandle, nullptr);
    ASSERT_EQ(S().Selected().size(), 1u);
    S().Key(ctx, ui::VK_LEFT, false, repaint);
    EXPECT_NEAR(box.X1(), x1, kPixel);
    EXPECT_NEAR(box.X2(), x2 - kStep, kPixel);
}
