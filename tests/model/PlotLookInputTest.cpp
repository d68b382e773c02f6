#include "model/PlotLook.h"

#include "model/FakePlotHost.h"
#include "platform/gdi/RecordingDC.h"
#include "platform/ui/VirtualKeys.h"
#include "render/PlotEnv.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace {

// A host that also records the pop-up text and the commands the model asks for.
class InputHost : public FakePlotHost {
public:
    void ShowPopupText(const std::string& text, int x, int y) override {
        popups.push_back({text, x, y});
    }
    void RunCommand(int command) override { commands.push_back(command); }
    struct Popup {
        std::string text;
        int x, y;
    };
    std::vector<Popup> popups;
    std::vector<int> commands;
};

// An XY plot of three points laid out on a 400 x 310 window; the axes scale to the data, the
// X axis over 0..10 and the first Y axis over 0..100.
class PlotLookInputTest : public testing::Test {
protected:
    PlotLookInputTest() {
        env.locale = locale::Locale::Classic();
        host.npoints = 3;
        Build();
    }
    void Build() {
        m = std::make_unique<CPlotLook>(host, &env);
        m->SetNPoints(3);
        const double xs[] = {0, 5, 10}, ys[] = {0, 50, 100};
        for (int i = 0; i < 3; ++i) {
            m->SetXData(1, i, xs[i]);
            m->SetData(1, i, ys[i]);
        }
        Paint();
    }
    void Paint() {
        m->bufferWidth = 400;
        m->bufferHeight = 310;
        m->layoutDirty = 1;
        CPlotPaintContext ctx(paintDc, env);
        m->Paint(ctx, {0, 0, 400, 310}, false, 1, false);
        window.Clear();
    }
    CPlotPaintContext Ctx() { return CPlotPaintContext(window, env); }
    const CPlotRegion::Rect& Area() const { return m->drawingRegion->rect; }
    gdi::Point Inside(int dx, int dy) const { return {Area().left + dx, Area().top + dy}; }

    // How often each rectangle was drawn on the window, and with which raster operation.
    std::map<std::tuple<long long, long long, long long, long long>, int> Rectangles() const {
        std::map<std::tuple<long long, long long, long long, long long>, int> count;
        for (const gdi::RecordedCall& call : window.Calls())
            if (call.name == "Rectangle")
                ++count[{call.args[0], call.args[1], call.args[2], call.args[3]}];
        return count;
    }
    bool AllRectanglesInverting() const {
        long long rop = -1;
        for (const gdi::RecordedCall& call : window.Calls()) {
            if (call.name == "SetRop2") rop = call.args[0];
            if (call.name == "Rectangle" && rop != static_cast<long long>(gdi::RasterOp::NotXorPen))
                return false;
        }
        return true;
    }

    InputHost host;
    CPlotEnv env;
    gdi::RecordingDC paintDc{400, 310};
    gdi::RecordingDC window{400, 310};
    std::unique_ptr<CPlotLook> m;
};

TEST_F(PlotLookInputTest, PressOnTheDrawingRegionStartsAMarkAndShowsTheReadOut) {
    ASSERT_DOUBLE_EQ(m->Axis(0)->plotMin, 0);
    ASSERT_DOUBLE_EQ(m->Axis(0)->plotMax, 10);
    ASSERT_DOUBLE_EQ(m->Axis(1)->plotMin, 0);
    ASSERT_DOUBLE_EQ(m->Axis(1)->plotMax, 100);
    CPlotPaintContext ctx = Ctx();
    const gdi::Point corner{Area().left, Area().top};
    EXPECT_EQ(m->LeftPress(ctx, corner, 0, true, true), CPlotLook::kMarkingMode);
    EXPECT_TRUE(m->RegionMarked());
    ASSERT_EQ(host.popups.size(), 1u);
    EXPECT_EQ(host.popups[0].text, "x=0.0\ny=100.0");
    EXPECT_EQ(host.popups[0].x, corner.x + 1);
    EXPECT_EQ(host.popups[0].y, corner.y);

    m->LeftPress(ctx, {(Area().left + Area().right) / 2, Area().top}, 0, true, true);
    ASSERT_EQ(host.popups.size(), 2u);
    EXPECT_TRUE(host.popups.back().text.ends_with("\ny=100.0")) << host.popups.back().text;
}

TEST_F(PlotLookInputTest, ReadOutPutsSeveralYAxesInParentheses) {
    host.nvariables = 2;
    m->SetNVariables(2);
    m->SetAxisMap(1, 2);
    m->ApplyAxisMap();
    for (int i = 0; i < 3; ++i)
        m->SetData(2, i, i * 0.5);
    Paint();
    ASSERT_EQ(m->NYAxes(), 2);
    EXPECT_EQ(m->ReadOut({Area().left, Area().top}), "x=0.0\ny=(100.0,1.0)");
}

TEST_F(PlotLookInputTest, DefaultBitsTurnOffTheClickActionOrTheDrag) {
    CPlotPaintContext ctx = Ctx();
    EXPECT_EQ(m->LeftPress(ctx, Inside(10, 10), 0, false, true), CPlotLook::kNoMouseMode);
    EXPECT_TRUE(host.popups.empty());
    EXPECT_FALSE(m->RegionMarked());

    EXPECT_EQ(m->LeftPress(ctx, Inside(10, 10), 0, true, false), CPlotLook::kNoDragMode);
    EXPECT_EQ(host.popups.size(), 1u); // the read-out still shows
    EXPECT_FALSE(m->RegionMarked());
    EXPECT_EQ(m->Drag(ctx, CPlotLook::kNoDragMode, 0, Inside(40, 40)), 0);
    EXPECT_FALSE(m->Release(ctx, 0, Inside(40, 40), CPlotLook::kNoDragMode));
    EXPECT_TRUE(window.CallsNamed("Rectangle").empty());
}

TEST_F(PlotLookInputTest, PressOutsideTheDrawingRegionStartsNothing) {
    CPlotPaintContext ctx = Ctx();
    EXPECT_EQ(m->LeftPress(ctx, {Area().left - 5, Area().top + 5}, 0, true, true), 0);
    EXPECT_EQ(m->LeftPress(ctx, {-50, -50}, 0, true, true), 0);
    EXPECT_TRUE(host.popups.empty());
    EXPECT_FALSE(m->RegionMarked());
}

TEST_F(PlotLookInputTest, RubberBandIsErasedBeforeEachRedrawAndFollowsTheClampedPointer) {
    CPlotPaintContext ctx = Ctx();
    const gdi::Point start = Inside(10, 10);
    m->LeftPress(ctx, start, 0, true, true);
    EXPECT_EQ(m->Drag(ctx, CPlotLook::kMarkingMode, 0, Inside(50, 40)), CPlotLook::kMarkCursor);
    m->Drag(ctx, CPlotLook::kMarkingMode, 0, {Area().right + 100, Area().bottom + 100});
    const CPlotRegion::Rect& box = m->drawingRegion->zoomBox;
    EXPECT_EQ(box.right, Area().right);
    EXPECT_EQ(box.bottom, Area().bottom);
    EXPECT_FALSE(m->Release(ctx, 0, {0, 0}, CPlotLook::kMarkingMode));
    EXPECT_TRUE(m->RegionMarked());

    // Every outline but the last was drawn twice (drawn, then erased): the picture under the
    // inverting pen is restored.
    const auto counts = Rectangles();
    int odd = 0;
    for (const auto& [rect, n] : counts)
        odd += n % 2;
    EXPECT_EQ(odd, 1);
    EXPECT_EQ(counts.size(), 2u); // the zero-size start draws nothing

    EXPECT_TRUE(AllRectanglesInverting());
}

TEST_F(PlotLookInputTest, ThinMarkIsDroppedAndErased) {
    CPlotPaintContext ctx = Ctx();
    m->LeftPress(ctx, Inside(10, 10), 0, true, true);
    m->Drag(ctx, CPlotLook::kMarkingMode, 0, Inside(60, 11)); // 1 unit high
    m->Release(ctx, 0, Inside(60, 11), CPlotLook::kMarkingMode);
    EXPECT_FALSE(m->RegionMarked());
    for (const auto& [rect, n] : Rectangles())
        EXPECT_EQ(n % 2, 0);
}

TEST_F(PlotLookInputTest, NewPressErasesThePreviousMark) {
    CPlotPaintContext ctx = Ctx();
    m->LeftPress(ctx, Inside(10, 10), 0, true, true);
    m->Drag(ctx, CPlotLook::kMarkingMode, 0, Inside(60, 60));
    m->Release(ctx, 0, Inside(60, 60), CPlotLook::kMarkingMode);
    m->LeftPress(ctx, Inside(100, 100), 0, true, true);
    const auto counts = Rectangles();
    const int left = Area().left, top = Area().top;
    EXPECT_EQ((counts.at({left + 10, top + 10, left + 60, top + 60})), 2);
    EXPECT_EQ(m->drawingRegion->zoomBox.left, left + 100);
}

TEST_F(PlotLookInputTest, MarkedFractionsCountTheFarEdgesOneUnitFurther) {
    CPlotPaintContext ctx = Ctx();
    m->LeftPress(ctx, Inside(10, 20), 0, true, true);
    m->Drag(ctx, CPlotLook::kMarkingMode, 0, Inside(50, 60));
    double x0, x1, y0, y1;
    ASSERT_TRUE(m->MarkedFractions(x0, x1, y0, y1));
    const double w = Area().width() + 1, h = Area().height() + 1;
    EXPECT_DOUBLE_EQ(x0, 10 / w);
    EXPECT_DOUBLE_EQ(x1, 51 / w);
    EXPECT_DOUBLE_EQ(y0, (Area().height() - 60) / h);
    EXPECT_DOUBLE_EQ(y1, (Area().height() - 20 + 1) / h);

    // The whole region is the whole range.
    m->drawingRegion->zoomBox = Area();
    ASSERT_TRUE(m->MarkedFractions(x0, x1, y0, y1));
    EXPECT_DOUBLE_EQ(x0, 0);
    EXPECT_DOUBLE_EQ(x1, 1);
    EXPECT_DOUBLE_EQ(y0, 0);
    EXPECT_DOUBLE_EQ(y1, 1);
}

TEST_F(PlotLookInputTest, ZoomToMarkedRegionSetsEveryAxisToTheFractions) {
    EXPECT_FALSE(m->ZoomToMarkedRegion()); // nothing marked
    CPlotPaintContext ctx = Ctx();
    const int w = Area().width(), h = Area().height();
    // The left half and the upper half of the region.
    m->LeftPress(ctx, Inside(0, 0), 0, true, true);
    m->Drag(ctx, CPlotLook::kMarkingMode, 0, Inside(w / 2, h / 2));
    double x0, x1, y0, y1;
    ASSERT_TRUE(m->MarkedFractions(x0, x1, y0, y1));
    ASSERT_TRUE(m->ZoomToMarkedRegion());
    EXPECT_FALSE(m->RegionMarked());
    int p0 = 0, p1 = 0;
    m->GetScroll(true, p0, p1);
    EXPECT_NEAR(p0, 0, 1);
    EXPECT_NEAR(p1, int(x1 * 1000), 2);
    m->GetScroll(false, p0, p1);
    EXPECT_NEAR(p0, int(y0 * 1000), 2);
    EXPECT_NEAR(p1, 1000, 2);
    EXPECT_EQ(m->Axis(0)->scaleDirty, 1);
}

TEST_F(PlotLookInputTest, TriangularMarkIsShiftedLeftByTheLeanOfItsBottom) {
    host.plotType = 2; // equilateral
    m->SetPlotKind(2);
    Paint();
    ASSERT_EQ(m->triMode, 1);
    ASSERT_FALSE(m->drawingRegion->IsEmpty());
    CPlotRegion::Rect& box = m->drawingRegion->zoomBox;
    m->drawingRegion->zoomBoxShown = true;
    const int rise = 20;
    box = {Area().left + 40, Area().bottom - rise - 30, Area().left + 80, Area().bottom - rise};
    double x0, x1, y0, y1;
    ASSERT_TRUE(m->MarkedFractions(x0, x1, y0, y1));
    const int shift = static_cast<int>(static_cast<float>(rise) * 0.577f);
    const double w = Area().width() + 1;
    EXPECT_DOUBLE_EQ(x0, (40 - shift) / w);
    EXPECT_DOUBLE_EQ(x1, (81 - shift) / w);
}

TEST_F(PlotLookInputTest, TriangularPointerReportsThreeFractionsAndTheTopVertex) {
    host.plotType = 2;
    m->SetPlotKind(2);
    Paint();
    ASSERT_EQ(m->triMode, 1);
    std::string text;
    float x = -1, y = -1;
    const gdi::Point top{(Area().left + Area().right) / 2, Area().top};
    ASSERT_TRUE(m->PointerLocation(top, text, x, y));
    EXPECT_NEAR(x, 0, 0.01);
    EXPECT_NEAR(y, 1, 1e-4);
    EXPECT_NE(text.find("\nz="), std::string::npos) << text;
    // The read-out of a press is the region's own three-value text.
    EXPECT_EQ(m->ReadOut(top), text);
}

TEST_F(PlotLookInputTest, DeletePointsMakesTheMarkedSamplesMissing) {
    CPlotPaintContext ctx = Ctx();
    EXPECT_FALSE(m->DeletePointsInMarkedRegion(ctx));
    // A box round the middle sample (5, 50) only.
    gdi::Point mid;
    ASSERT_TRUE(m->drawingRegion->MapPoint(ctx, ctx.env.CurveMapping(), 5, 50, mid));
    m->drawingRegion->zoomBoxShown = true;
    m->drawingRegion->zoomBox = {mid.x - 5, mid.y - 5, mid.x + 5, mid.y + 5};
    ASSERT_TRUE(m->DeletePointsInMarkedRegion(ctx));
    double v = 0;
    EXPECT_TRUE(m->GetData(1, 0, v));
    EXPECT_DOUBLE_EQ(v, 0);
    m->GetData(1, 1, v);
    EXPECT_GT(v, 9e27);
    EXPECT_TRUE(m->GetData(1, 2, v));
    EXPECT_DOUBLE_EQ(v, 100);
    EXPECT_EQ(m->rangeDirty, 1);
}

TEST_F(PlotLookInputTest, ContextMenuFollowsTheRegionUnderThePointer) {
    EXPECT_EQ(m->ContextMenuAt(Inside(20, 20)), 30224);
    EXPECT_EQ(m->selectedRegion, m->drawingRegion.get());
    m->drawingRegion->zoomBoxShown = true;
    m->drawingRegion->zoomBox = {Area().left + 10, Area().top + 10, Area().left + 50,
                                 Area().top + 50};
    EXPECT_EQ(m->ContextMenuAt(Inside(20, 20)), 214);
    EXPECT_EQ(m->ContextMenuAt(Inside(80, 80)), 30224);
    const CPlotRegion::Rect& axis = m->xAxisRegion->rect;
    EXPECT_EQ(m->ContextMenuAt({(axis.left + axis.right) / 2, (axis.top + axis.bottom) / 2}), 213);
    EXPECT_EQ(m->selectedRegion, m->xAxisRegion.get());
    EXPECT_EQ(m->ContextMenuAt({-10, -10}), 0);
    EXPECT_EQ(m->selectedRegion, m->xAxisRegion.get()); // nothing there: kept
}

TEST_F(PlotLookInputTest, DoubleClickSelectsTheRegionAndAsksForItsEditorOnlyWhenActing) {
    int objectId = -1;
    CPlotPaintContext ctx = Ctx();
    EXPECT_TRUE(m->DoubleClick(ctx, Inside(20, 20), objectId, false));
    EXPECT_EQ(objectId, 0);
    EXPECT_EQ(m->selectedRegion, m->drawingRegion.get());
    EXPECT_EQ(m->editRequested, 0);
    EXPECT_TRUE(m->DoubleClick(ctx, Inside(20, 20), objectId, true));
    EXPECT_EQ(m->editRequested, 1);
    EXPECT_FALSE(m->DoubleClick(ctx, {-10, -10}, objectId, true));
}

TEST_F(PlotLookInputTest, HoldCursorByMode) {
    EXPECT_EQ(m->HoldCursor(CPlotLook::kMarkingMode), 16556);
    EXPECT_EQ(m->HoldCursor(CPlotLook::kMoveMode), 32646);
    EXPECT_EQ(m->HoldCursor(CPlotLook::kNoMouseMode), 0);
    EXPECT_EQ(m->HoldCursor(CPlotLook::kRegionDragMode), 0);
}

TEST_F(PlotLookInputTest, ArrowKeysMoveTheEditedLegendAndDeleteAsksForTheCommand) {
    CPlotPaintContext ctx = Ctx();
    EXPECT_FALSE(m->Key(ctx, ui::VK_LEFT, 1)); // nothing being edited
    m->SetShowLegend(true);
    Paint();
    m->SelectRegion(m->legendRegion.get());
    EXPECT_TRUE(m->legendRegion->selected);
    const float fx = m->legendFx, fy = m->legendFy;
    m->layoutDirty = 0;
    EXPECT_TRUE(m->Key(ctx, ui::VK_LEFT, 1));
    EXPECT_TRUE(m->Key(ctx, ui::VK_DOWN, 1));
    EXPECT_TRUE(m->Key(ctx, ui::VK_DOWN, 1));
    EXPECT_FLOAT_EQ(m->legendFx, fx - 0.01f);
    EXPECT_FLOAT_EQ(m->legendFy, fy + 0.02f);
    EXPECT_EQ(m->layoutDirty, 1);
    EXPECT_FALSE(m->Key(ctx, ui::VK_SHIFT, 1));
    EXPECT_FALSE(m->Key(ctx, 'Q', 1));
    m->Key(ctx, ui::VK_DELETE, 1);
    EXPECT_EQ(host.commands, std::vector<int>{57632});
    m->SelectRegion(nullptr);
    EXPECT_FALSE(m->legendRegion->selected);
}

TEST_F(PlotLookInputTest, EditedLegendIsMovedByPressDragAndRelease) {
    m->SetShowLegend(true);
    Paint();
    m->SelectRegion(m->legendRegion.get());
    Paint(); // the handles are placed
    const CPlotRegion::Rect legend = m->legendRegion->rect;
    ASSERT_FALSE(m->legendRegion->IsEmpty());
    CPlotPaintContext ctx = Ctx();
    const gdi::Point in{(legend.left + legend.right) / 2, (legend.top + legend.bottom) / 2};
    ASSERT_EQ(m->LeftPress(ctx, in, 0, true, true), CPlotLook::kRegionDragMode);
    EXPECT_EQ(m->legendRegion->dragMode, 0);
    m->Drag(ctx, CPlotLook::kRegionDragMode, 0, {in.x - 30, in.y + 10});
    m->layoutDirty = 0;
    const float fx = m->legendFx;
    EXPECT_TRUE(m->Release(ctx, 0, {in.x - 30, in.y + 10}, CPlotLook::kRegionDragMode));
    EXPECT_LT(m->legendFx, fx);
    EXPECT_EQ(m->layoutDirty, 1);
    EXPECT_FALSE(m->RegionMarked());

    // A corner handle resizes.
    Paint();
    const CPlotRegion::Rect moved = m->legendRegion->rect;
    ASSERT_EQ(m->LeftPress(ctx, {moved.left + 2, moved.top + 2}, 0, true, true),
              CPlotLook::kRegionDragMode);
    EXPECT_EQ(m->legendRegion->dragMode, 1);
    m->Release(ctx, 0, {moved.left + 2, moved.top + 2}, CPlotLook::kRegionDragMode);
}

TEST_F(PlotLookInputTest, PointerLocationOnlyInsideTheDrawingRegion) {
    std::string text;
    float x = -1, y = -1;
    EXPECT_TRUE(m->PointerLocation({Area().left, Area().top}, text, x, y));
    EXPECT_EQ(text, "x=0\ny=100");
    EXPECT_FLOAT_EQ(x, 0);
    EXPECT_FLOAT_EQ(y, 100);
    EXPECT_TRUE(m->PointerLocation({Area().right, Area().bottom}, text, x, y));
    EXPECT_NEAR(x, 10, 1e-4);
    EXPECT_NEAR(y, 0, 1e-4);
    EXPECT_FALSE(m->PointerLocation({Area().right + 1, Area().top}, text, x, y));
    EXPECT_FALSE(m->PointerLocation({Area().left, Area().top - 1}, text, x, y));
}

TEST_F(PlotLookInputTest, ModelWithoutLayoutAnswersNothing) {
    CPlotLook bare(host, &env);
    CPlotPaintContext ctx = Ctx();
    EXPECT_EQ(bare.LeftPress(ctx, {10, 10}, 0, true, true), 0);
    std::string text;
    float x, y;
    EXPECT_FALSE(bare.PointerLocation({10, 10}, text, x, y));
    double f[4];
    EXPECT_FALSE(bare.MarkedFractions(f[0], f[1], f[2], f[3]));
    EXPECT_EQ(bare.ContextMenuAt({10, 10}), 0);
    EXPECT_FALSE(bare.Release(ctx, 0, {10, 10}, CPlotLook::kMarkingMode));
    EXPECT_FALSE(bare.Release(ctx, 0, {10, 10}, CPlotLook::kRegionDragMode));
}

} // namespace
