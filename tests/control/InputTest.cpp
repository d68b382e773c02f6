#include "ControlHarness.h"
#include "model/MenuTable.h"
#include "platform/gdi/RecordingDC.h"
#include "platform/ui/VirtualKeys.h"
#include "support/CtrlProbe.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using com::Variant;

// A sited control with a window surface, an XY plot over 0..10 x 0..100 painted once, and
// helpers that press, drag and release like a user.
class InputTest : public ControlHarness {
protected:
    InputTest() {
        UseThreePointPlot();
        Paint();
    }
    void Paint() {
        c.PaintWindowSurface();
        Surface().Clear();
        sink.events.clear();
    }
    gdi::RecordingDC& Surface() { return static_cast<gdi::RecordingDC&>(*site.surface); }
    const CPlotRegion::Rect& Area() { return c.Model()->drawingRegion->rect; }
    gdi::Point Inside(int dx, int dy) { return {Area().left + dx, Area().top + dy}; }
    void SetEvent(short id, bool fire, bool dflt) {
        Call("SetEvent", {Variant::I2(id), Variant::Bool(fire), Variant::Bool(dflt)});
    }
    void Mark(gdi::Point from, gdi::Point to) {
        c.OnLButtonDown(from.x, from.y, 0);
        c.OnMouseMove((from.x + to.x) / 2, (from.y + to.y) / 2, 0);
        c.OnMouseMove(to.x, to.y, 0);
        c.OnLButtonUp(to.x, to.y, 0);
    }
    std::vector<com::DISPID> Ids() const {
        std::vector<com::DISPID> ids;
        for (const auto& e : sink.events)
            ids.push_back(e.id);
        return ids;
    }
    std::pair<short, short> Scroll(bool horizontal) {
        Variant lo = Variant::I2(0), hi = Variant::I2(0);
        Call("GetScroll", {Variant::Bool(horizontal), Variant::Ref(&lo), Variant::Ref(&hi)});
        return {com::Coerce(lo, com::VarType::I2).i2(), com::Coerce(hi, com::VarType::I2).i2()};
    }
    void ExpectAtRest() {
        EXPECT_EQ(CtrlProbe::MouseMode(c), 0);
        EXPECT_FALSE(CtrlProbe::HoldTimerArmed(c));
        EXPECT_FALSE(site.captured);
        EXPECT_EQ(site.timers.count(1), 0u);
    }
};

// ---- Left button, hold timer, cursor ----

TEST_F(InputTest, LeftPressOnThePlotStartsAMarkCapturesAndArmsTheHoldTimer) {
    const gdi::Point p = Inside(10, 10);
    c.OnLButtonDown(p.x, p.y, 0);
    EXPECT_EQ(CtrlProbe::MouseMode(c), CPlotLook::kMarkingMode);
    EXPECT_TRUE(site.captured);
    EXPECT_EQ(site.timers.at(1), 200);
    EXPECT_TRUE(CtrlProbe::HoldTimerArmed(c));
    EXPECT_TRUE(site.popupShown);
    EXPECT_EQ(site.popupX, p.x + 1);
    EXPECT_EQ(sink.events.size(), 0u); // fire bit 2 is off
    // Holding the button changes the cursor to the marking cursor.
    c.OnTimer(1);
    EXPECT_EQ(site.cursor, 16556);
    EXPECT_EQ(site.timers.count(1), 0u);
    c.OnLButtonUp(p.x, p.y, 0);
    EXPECT_EQ(site.cursor, 32512); // the pointer cursor after the release
    ExpectAtRest();
}

TEST_F(InputTest, ReadOutShowsOneYValueOrSeveralInParentheses) {
    c.OnLButtonDown(Area().left, Area().top, 0);
    c.OnLButtonUp(Area().left, Area().top, 0);
    EXPECT_EQ(site.popupText, "x=0.0\ny=100.0");

    Put("nvariables", Variant::I2(2));
    Call("SetAxisMap", {Variant::I2(1), Variant::I2(2)});
    for (short i = 0; i < 3; ++i)
        Call("SetData", {Variant::I2(2), Variant::I2(i), Variant::R8(i * 0.5)});
    Paint();
    ASSERT_EQ(c.Model()->NYAxes(), 2);
    c.OnLButtonDown(Area().left, Area().top, 0);
    c.OnLButtonUp(Area().left, Area().top, 0);
    EXPECT_EQ(site.popupText, "x=0.0\ny=(100.0,1.0)");
}

TEST_F(InputTest, DefaultBitTwoOffSkipsReadOutAndMode) {
    SetEvent(2, true, false);
    c.OnLButtonDown(Inside(10, 10).x, Inside(10, 10).y, 0);
    EXPECT_FALSE(site.popupShown);
    EXPECT_EQ(CtrlProbe::MouseMode(c), 0);
    EXPECT_EQ(site.timers.count(1), 0u);
    EXPECT_EQ(sink.Count(EV_OnClick), 1); // the host still hears of it
    c.OnLButtonUp(Inside(10, 10).x, Inside(10, 10).y, 0);
    ExpectAtRest();
}

TEST_F(InputTest, DefaultBitEightOffGivesAPressWhoseDragDoesNothing) {
    SetEvent(8, false, false);
    const gdi::Point p = Inside(10, 10);
    c.OnLButtonDown(p.x, p.y, 0);
    EXPECT_EQ(CtrlProbe::MouseMode(c), CPlotLook::kNoDragMode);
    c.OnMouseMove(p.x + 50, p.y + 50, 0);
    c.OnLButtonUp(p.x + 50, p.y + 50, 0);
    EXPECT_FALSE(c.IsRegionDefined());
    EXPECT_EQ(sink.Count(EV_RegionDefined), 0);
    EXPECT_TRUE(Surface().CallsNamed("Rectangle").empty());
}

TEST_F(InputTest, OnClickCarriesPlotAndDeviceCoordinatesAndTheModifiers) {
    SetEvent(2, true, true);
    c.OnLButtonDown(Area().left, Area().top, ui::ModShift | ui::ModCtrl);
    ASSERT_EQ(sink.Count(EV_OnClick), 1);
    const auto& args = sink.events[0].args;
    EXPECT_DOUBLE_EQ(args[0].r8(), 0);
    EXPECT_DOUBLE_EQ(args[1].r8(), 100);
    EXPECT_EQ(args[2].i2(), Area().left);
    EXPECT_EQ(args[3].i2(), Area().top);
    EXPECT_EQ(args[4].i2(), 0);
    EXPECT_EQ(args[5].i2(), 3);
    // Off the plot the drawing region's mapping is carried on.
    c.OnLButtonUp(Area().left, Area().top, 0);
    c.OnLButtonDown(Area().left, Area().top - 20, 0);
    EXPECT_GT(sink.events.back().args[1].r8(), 100);
    EXPECT_EQ(CtrlProbe::MouseMode(c), 0);
}

TEST_F(InputTest, ZoomRectangleDragReleaseAndZoomInSetTheAxesToTheMark) {
    const int w = Area().width(), h = Area().height();
    Mark(Inside(0, 0), Inside(w / 2, h / 2));
    EXPECT_TRUE(c.IsRegionDefined());
    EXPECT_EQ(sink.Count(EV_RegionDefined), 1);
    double x0, x1, y0, y1;
    ASSERT_TRUE(c.Model()->MarkedFractions(x0, x1, y0, y1));

    // The right press inside the mark offers menu 214; choosing "Zoom In" zooms.
    site.menuAnswer = ID_ZOOM_REGION;
    c.OnRButtonDown(Inside(5, 5).x, Inside(5, 5).y, 0);
    ASSERT_EQ(site.menus.size(), 1u);
    EXPECT_EQ(site.menus[0].popup.text, "Region");
    EXPECT_EQ(sink.Count(EV_Zoomed), 1);
    EXPECT_TRUE(sink.events.back().args[0].boolean());
    EXPECT_TRUE(CtrlProbe::Scrolled(c));
    EXPECT_TRUE(site.horizontal.shown);
    EXPECT_TRUE(site.vertical.shown);
    const auto [h0, h1] = Scroll(true);
    EXPECT_NEAR(h0, 0, 1);
    EXPECT_NEAR(h1, int(x1 * 1000), 2);
    const auto [v0, v1] = Scroll(false);
    EXPECT_NEAR(v0, int(y0 * 1000), 2);
    EXPECT_NEAR(v1, 1000, 2);
    Paint();
    double lo = 0, hi = 0;
    Variant a = Variant::R8(0), b = Variant::R8(0);
    Call("GetAxisRange", {Variant::I2(0), Variant::Ref(&a), Variant::Ref(&b)});
    lo = a.r8(), hi = b.r8();
    EXPECT_GE(lo, -0.1);
    EXPECT_LE(hi, 6.0);
    EXPECT_LT(hi - lo, 7.0);
}

TEST_F(InputTest, ZoomModeFourWithoutAMarkDoesNothing) {
    Call("Zoom", {Variant::I2(4)});
    EXPECT_EQ(sink.Count(EV_Zoomed), 0);
    EXPECT_FALSE(CtrlProbe::Scrolled(c));
}

TEST_F(InputTest, RubberBandIsDrawnInvertedAndErasedOnTheWindowSurface) {
    const gdi::Point a = Inside(10, 10);
    c.OnLButtonDown(a.x, a.y, 0);
    c.OnMouseMove(a.x + 30, a.y + 20, 0);
    c.OnMouseMove(a.x + 60, a.y + 40, 0);
    EXPECT_EQ(site.cursor, 16556);
    std::map<std::vector<long long>, int> drawn;
    for (const auto& call : Surface().Calls())
        if (call.name == "Rectangle") ++drawn[call.args];
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ((drawn[{a.x, a.y, a.x + 30, a.y + 20}]), 2); // drawn, then erased
    EXPECT_EQ((drawn[{a.x, a.y, a.x + 60, a.y + 40}]), 1); // still shown
    EXPECT_GE(site.flushCount, 3);
    c.OnLButtonUp(a.x + 60, a.y + 40, 0);
    // A paint draws the kept mark once more from scratch.
    c.PaintWindowSurface();
    int boxes = 0;
    for (const auto& call : Surface().Calls())
        boxes += call.name == "Rectangle" &&
                 call.args == std::vector<long long>{a.x, a.y, a.x + 60, a.y + 40};
    EXPECT_EQ(boxes, 2);
}

TEST_F(InputTest, ReleaseOrderRegionDefinedThenCursorSet) {
    c.ManageCursor(true);
    Mark(Inside(10, 10), Inside(80, 80));
    // Press, two moves, release.
    EXPECT_EQ(Ids(), (std::vector<com::DISPID>{EV_CursorSet, EV_CursorSet, EV_CursorSet,
                                               EV_RegionDefined, EV_CursorSet}));
}

TEST_F(InputTest, ManageCursorFiresCursorSetOnEveryMoveAndLeavesTheCursor) {
    c.ManageCursor(true);
    const int shown = site.cursorCount;
    for (int i = 0; i < 5; ++i)
        c.OnMouseMove(10 + i, 10, 0);
    EXPECT_EQ(sink.Count(EV_CursorSet), 5);
    // A drag and a hold do not change it either.
    c.OnLButtonDown(Inside(10, 10).x, Inside(10, 10).y, 0);
    c.OnTimer(1);
    c.OnMouseMove(Inside(40, 40).x, Inside(40, 40).y, 0);
    c.OnLButtonUp(Inside(40, 40).x, Inside(40, 40).y, 0);
    EXPECT_EQ(site.cursorCount, shown);
}

TEST_F(InputTest, WithoutManageCursorMovesShowTheCurrentCursorAgain) {
    Call("SetMousePointer", {Variant::I2(2)});
    const int shown = site.cursorCount;
    c.OnMouseMove(10, 10, 0);
    c.OnMouseMove(11, 10, 0);
    EXPECT_EQ(site.cursorCount, shown + 2);
    EXPECT_EQ(site.cursor, 32515);
    EXPECT_EQ(sink.Count(EV_CursorSet), 0);
}

TEST_F(InputTest, PrintPreviewIgnoresTheMouse) {
    SetEvent(2, true, true);
    SetEvent(4, true, false);
    SetEvent(1, true, true);
    c.SetPreviewing(true);
    const gdi::Point p = Inside(10, 10);
    c.OnLButtonDown(p.x, p.y, 0);
    c.OnMouseMove(p.x + 40, p.y + 40, 0);
    c.OnLButtonUp(p.x + 40, p.y + 40, 0);
    c.OnLButtonDblClk(p.x, p.y, 0);
    c.OnRButtonDown(p.x, p.y, 0);
    EXPECT_TRUE(sink.events.empty());
    EXPECT_TRUE(site.menus.empty());
    EXPECT_FALSE(c.IsRegionDefined());
    EXPECT_FALSE(site.popupShown);
    ExpectAtRest();
    c.SetPreviewing(false);
    c.OnLButtonDown(p.x, p.y, 0);
    EXPECT_EQ(sink.Count(EV_OnClick), 1);
}

// ---- Pointer location ----

TEST_F(InputTest, PointerLocationAndPointerExitFollowTheDrawingRegion) {
    c.OnMouseMove(Area().left, Area().top, 0);
    EXPECT_TRUE(sink.events.empty()); // fire bit 1 off
    SetEvent(1, true, true);
    c.OnMouseMove(Area().left, Area().top, 0);
    ASSERT_EQ(sink.Count(EV_PointerLocation), 1);
    EXPECT_EQ(sink.events[0].args[0].narrow(), "x=0\ny=100");
    EXPECT_TRUE(CtrlProbe::PointerInside(c));
    c.OnMouseMove(Area().left - 5, Area().top, 0);
    c.OnMouseMove(Area().left - 6, Area().top, 0);
    EXPECT_EQ(Ids(), (std::vector<com::DISPID>{EV_PointerLocation, EV_PointerExit}));
    EXPECT_FALSE(CtrlProbe::PointerInside(c));
    // No pointer events while a mode runs.
    c.OnLButtonDown(Inside(5, 5).x, Inside(5, 5).y, 0);
    c.OnMouseMove(Inside(9, 9).x, Inside(9, 9).y, 0);
    EXPECT_EQ(sink.Count(EV_PointerLocation), 1);
}

TEST_F(InputTest, GetPointerLocationReportsTheLastPointerPosition) {
    Variant ix = Variant::I2(0), iy = Variant::I2(0);
    c.OnMouseMove(Inside(7, 9).x, Inside(7, 9).y, 0);
    EXPECT_TRUE(Call("GetPointerLocation", {Variant::Ref(&ix), Variant::Ref(&iy)}).boolean());
    EXPECT_EQ(com::Coerce(ix, com::VarType::I2).i2(), Inside(7, 9).x);
    EXPECT_EQ(com::Coerce(iy, com::VarType::I2).i2(), Inside(7, 9).y);
    c.OnMouseMove(2, 2, 0);
    EXPECT_FALSE(Call("GetPointerLocation", {Variant::Ref(&ix), Variant::Ref(&iy)}).boolean());
}

TEST_F(InputTest, ConvertToDeviceAndBackAgree) {
    Variant ix = Variant::I2(0), iy = Variant::I2(0);
    ASSERT_TRUE(Call("ConvertToDevice",
                     {Variant::R8(0), Variant::R8(100), Variant::Ref(&ix), Variant::Ref(&iy)})
                    .boolean());
    const short dx = com::Coerce(ix, com::VarType::I2).i2();
    const short dy = com::Coerce(iy, com::VarType::I2).i2();
    EXPECT_EQ(dx, Area().left);
    EXPECT_EQ(dy, Area().top);
    Variant x = Variant::R8(-1), y = Variant::R8(-1);
    ASSERT_TRUE(Call("ConvertToPlot", {Variant::I2(short(Area().left + Area().width() / 2)),
                                       Variant::I2(dy), Variant::Ref(&x), Variant::Ref(&y)})
                    .boolean());
    EXPECT_NEAR(com::Coerce(x, com::VarType::R8).r8(), 5, 0.1);
    EXPECT_NEAR(com::Coerce(y, com::VarType::R8).r8(), 100, 1e-4);
}

// ---- Double click ----

TEST_F(InputTest, DoubleClickSelectsTheRegionFiresAndRepaints) {
    SetEvent(3, true, true);
    const int repaints = site.invalidateCount;
    c.OnLButtonDblClk(Inside(20, 20).x, Inside(20, 20).y, ui::ModAlt);
    EXPECT_EQ(c.Model()->selectedRegion, c.Model()->drawingRegion.get());
    EXPECT_EQ(c.Model()->editRequested, 1);
    ASSERT_EQ(sink.Count(EV_OnDoubleClick), 1);
    EXPECT_EQ(sink.events[0].args[5].i2(), 4);
    EXPECT_EQ(site.invalidateCount, repaints + 1);
}

TEST_F(InputTest, DoubleClickWithDefaultOffOnlyHitTests) {
    SetEvent(3, true, false);
    const int repaints = site.invalidateCount;
    c.OnLButtonDblClk(Inside(20, 20).x, Inside(20, 20).y, 0);
    EXPECT_EQ(c.Model()->editRequested, 0);
    EXPECT_EQ(sink.Count(EV_OnDoubleClick), 1);
    EXPECT_EQ(site.invalidateCount, repaints);
}

TEST_F(InputTest, DoDoubleClickAsksForTheEditorWithoutARepaint) {
    const int repaints = site.invalidateCount;
    Call("DoDoubleClick",
         {Variant::I2(short(Inside(20, 20).x)), Variant::I2(short(Inside(20, 20).y))});
    EXPECT_EQ(c.Model()->editRequested, 1);
    EXPECT_EQ(site.invalidateCount, repaints);
    EXPECT_TRUE(sink.events.empty());
}

// ---- Right button and the context menu ----

TEST_F(InputTest, RightClickWithFireBitFourFiresOnRBClickAndShowsNoMenu) {
    SetEvent(4, true, false);
    c.OnRButtonDown(Inside(20, 20).x, Inside(20, 20).y, ui::ModCtrl);
    ASSERT_EQ(Ids(), std::vector<com::DISPID>{EV_OnRBClick});
    EXPECT_EQ(sink.events[0].args[2].i2(), Inside(20, 20).x);
    EXPECT_EQ(sink.events[0].args[5].i2(), 2);
    EXPECT_TRUE(site.menus.empty());
}

TEST_F(InputTest, RightClickShowsTheMainMenuWithPromptsAndRunsTheChoice) {
    site.menuHighlights = {ID_ZOOM_IN, ID_ADD_TIMESTAMP, ID_ZOOM_REGION, 0};
    site.menuAnswer = ID_ZOOM_IN;
    c.OnRButtonDown(Inside(20, 20).x, Inside(20, 20).y, 0);
    ASSERT_EQ(site.menus.size(), 1u);
    EXPECT_EQ(site.menus[0].popup.text, "Zoom");
    EXPECT_EQ(site.menus[0].x, Inside(20, 20).x);
    std::vector<std::string> prompts;
    for (const auto& e : sink.events)
        if (e.id == EV_SetMessageText) prompts.push_back(e.args[0].narrow());
    // The last empty prompt comes as the menu closes.
    EXPECT_EQ(prompts, (std::vector<std::string>{"Zoom in", "", "Zoom into the region", "", ""}));
    EXPECT_EQ(sink.events.back().id, EV_Zoomed); // the chosen command ran after the prompts
    EXPECT_TRUE(CtrlProbe::Scrolled(c));
}

TEST_F(InputTest, MenuRulesAreAppliedBeforeTheMenuShows) {
    Put("RunPlot", Variant::Bool(true));
    c.OnRButtonDown(Inside(20, 20).x, Inside(20, 20).y, 0);
    ASSERT_EQ(site.menus.size(), 1u);
    const MenuItem* paste = nullptr;
    for (const MenuItem& item : site.menus[0].popup.items)
        if (item.id == ID_PASTE) paste = &item;
    ASSERT_NE(paste, nullptr);
    EXPECT_FALSE(paste->enabled);
    EXPECT_FALSE(CContextMenu(0, site.menus[0].popup).Contains(ID_SHOW_LEGEND));
}

TEST_F(InputTest, RightClickOnAnAxisOffersTheObjectMenuAndEditAsksForTheEditor) {
    const auto& axis = c.Model()->xAxisRegion->rect;
    site.menuAnswer = ID_EDIT;
    c.OnRButtonDown((axis.left + axis.right) / 2, (axis.top + axis.bottom) / 2, 0);
    ASSERT_EQ(site.menus.size(), 1u);
    EXPECT_EQ(site.menus[0].popup.text, "Object");
    EXPECT_EQ(c.Model()->selectedRegion, c.Model()->xAxisRegion.get());
    EXPECT_EQ(c.Model()->editRequested, 1);
}

TEST_F(InputTest, RightClickWhereNoRegionIsShowsNothing) {
    c.OnRButtonDown(-20, -20, 0);
    EXPECT_TRUE(site.menus.empty());
}

TEST_F(InputTest, CommandsNotAvailableYetDoNothingFromTheMenu) {
    site.menuAnswer = ID_PROPERTIES;
    EXPECT_NO_THROW(c.OnRButtonDown(Inside(20, 20).x, Inside(20, 20).y, 0));
    site.menuAnswer = ID_DELETE;
    EXPECT_NO_THROW(c.OnRButtonDown(Inside(20, 20).x, Inside(20, 20).y, 0));
    EXPECT_TRUE(site.messages.empty()); // no text object of AddText is selected
}

TEST_F(InputTest, DeletePointsFromTheRegionMenu) {
    Mark(Inside(0, 0), {Area().right, Area().bottom});
    site.menuAnswer = ID_DELETE_POINTS;
    c.OnRButtonDown(Inside(5, 5).x, Inside(5, 5).y, 0);
    EXPECT_GT(Data(1, 1), 9e27);
}

TEST_F(InputTest, OpenFileCommandAsksWithThePlotFileFilter) {
    c.OnCommand(ID_OPEN_PLOT_FILE);
    EXPECT_EQ(site.lastFileFilter, "K5 plot file (*.plx)|*.plx");
}

// ---- Keys ----

TEST_F(InputTest, CtrlUpZoomsThenFiresKeyDown) {
    SetEvent(6, true, true);
    c.OnKeyDown(ui::VK_UP, ui::ModCtrl, 1);
    EXPECT_EQ(Ids(), (std::vector<com::DISPID>{EV_Zoomed, EV_KeyDown}));
    EXPECT_EQ(sink.events[1].args[0].i4(), ui::VK_UP);
    EXPECT_EQ(sink.events[1].args[1].i4(), 2);
}

TEST_F(InputTest, WithEventSixOffCtrlUpNeitherZoomsNorFiresKeyDown) {
    SetEvent(6, false, false);
    c.OnKeyDown(ui::VK_UP, ui::ModCtrl, 1);
    EXPECT_TRUE(sink.events.empty());
    EXPECT_FALSE(CtrlProbe::Scrolled(c));
    EXPECT_FALSE(site.horizontal.shown);
}

TEST_F(InputTest, CtrlLeftInRunPlotZoomsOutTheTimeAxisOnlyAndHidesTheBarsAtFullRange) {
    Put("RunPlot", Variant::Bool(true));
    for (int i = 0; i <= 10; ++i)
        AddTimeData(1, i * 0.1, i);
    Paint();
    const auto yBefore = Scroll(false);
    c.OnKeyDown(ui::VK_RIGHT, ui::ModCtrl, 1); // zoom in the time axis
    ASSERT_TRUE(site.horizontal.shown);
    EXPECT_EQ(Scroll(false), yBefore);
    sink.events.clear();
    for (int i = 0; i < 10 && CtrlProbe::Scrolled(c); ++i) {
        c.OnKeyDown(ui::VK_LEFT, ui::ModCtrl, 1);
        EXPECT_EQ(Scroll(false), yBefore);
    }
    EXPECT_FALSE(CtrlProbe::Scrolled(c));
    ASSERT_FALSE(sink.events.empty());
    EXPECT_EQ(sink.events.back().id, EV_Zoomed);
    EXPECT_FALSE(sink.events.back().args[0].boolean());
    EXPECT_FALSE(site.horizontal.shown);
    EXPECT_FALSE(site.vertical.shown);
    EXPECT_EQ(Scroll(true), (std::pair<short, short>{0, 1000}));
}

TEST_F(InputTest, PageAndArrowKeysScrollAsTheScrollBarsDo) {
    c.OnKeyDown(ui::VK_UP, ui::ModCtrl, 1); // zoom in, so there is room to scroll
    sink.events.clear();
    const auto before = Scroll(true);
    c.OnKeyDown(ui::VK_END, 0, 1); // horizontal page right
    EXPECT_GT(Scroll(true).first, before.first);
    EXPECT_EQ(Ids(), std::vector<com::DISPID>{EV_Scrolled});
    EXPECT_TRUE(sink.events[0].args[0].boolean());
    sink.events.clear();
    const auto vertical = Scroll(false);
    c.OnKeyDown(ui::VK_PRIOR, 0, 1); // vertical page up: towards higher values
    EXPECT_GT(Scroll(false).second, vertical.second);
    EXPECT_FALSE(sink.events[0].args[0].boolean());
}

TEST_F(InputTest, ArrowKeysMoveTheEditedLegendInsteadOfScrolling) {
    Put("ShowLegend", Variant::Bool(true));
    Paint();
    c.Model()->SelectRegion(c.Model()->legendRegion.get());
    const float fx = c.Model()->legendFx;
    const int repaints = site.invalidateCount;
    c.OnKeyDown(ui::VK_RIGHT, 0, 1);
    EXPECT_FLOAT_EQ(c.Model()->legendFx, fx + 0.01f);
    EXPECT_EQ(sink.Count(EV_Scrolled), 0);
    EXPECT_EQ(site.invalidateCount, repaints + 1);
}

TEST_F(InputTest, ApplicationKeyOpensTheMenuAtTheCentreWithoutKeyDown) {
    SetEvent(6, true, true);
    c.OnKeyDown(ui::VK_APPS, 0, 1);
    ASSERT_EQ(site.menus.size(), 1u);
    EXPECT_EQ(site.menus[0].x, 200);
    EXPECT_EQ(site.menus[0].y, 155);
    EXPECT_EQ(sink.Count(EV_KeyDown), 0);
}

TEST_F(InputTest, KeyUpKeyPressAndSystemKeysFollowTheirBits) {
    c.OnKeyUp('A', 0);
    c.OnChar('a');
    EXPECT_TRUE(sink.events.empty());
    SetEvent(7, true, true);
    SetEvent(5, true, true);
    c.OnKeyUp('A', ui::ModShift);
    c.OnChar('a');
    EXPECT_EQ(Ids(), (std::vector<com::DISPID>{EV_KeyUp, EV_KeyPress}));
    EXPECT_EQ(sink.events[0].args[1].i4(), 1);
    EXPECT_EQ(sink.events[1].args[0].i4(), 'a');
    sink.events.clear();
    c.OnSysKeyDown(ui::VK_A, ui::ModAlt);
    EXPECT_EQ(Ids(), std::vector<com::DISPID>{EV_OnEditProfileVariables});
    EXPECT_NO_THROW(c.OnSysKeyDown(ui::VK_RETURN, ui::ModAlt)); // property pages: not yet
}

// ---- Scroll bars ----

TEST_F(InputTest, ScrollBarCodesZeroToFourFireScrolledAndFiveOnlyScrolls) {
    c.OnKeyDown(ui::VK_UP, ui::ModCtrl, 1);
    sink.events.clear();
    c.OnScrollBar(true, 1, 0);
    EXPECT_EQ(Ids(), std::vector<com::DISPID>{EV_Scrolled});
    const auto [p0, p1] = Scroll(true);
    EXPECT_EQ(site.horizontal.pos, p0);
    EXPECT_EQ(site.horizontal.page, p1 - p0 + 1);
    sink.events.clear();
    c.OnScrollBar(true, 5, 0);
    EXPECT_EQ(Scroll(true).first, 0);
    EXPECT_TRUE(sink.events.empty());
    c.OnScrollBar(true, 8, 0);
    c.OnScrollBar(true, -3, 0);
    c.OnScrollBar(false, 99, 0);
    EXPECT_TRUE(sink.events.empty());
}

// ---- Pop-up text and blinking ----

TEST_F(InputTest, DisplayTextShowsUntilItsTimerOrAPointerMove) {
    Call("DisplayText",
         {Variant::Str("Hello"), Variant::I2(30), Variant::I2(40), Variant::I4(1500)});
    EXPECT_TRUE(site.popupShown);
    EXPECT_EQ(site.popupText, "Hello");
    EXPECT_EQ(site.timers.at(2), 1500);
    EXPECT_EQ(CtrlProbe::PopupState(c), 1);
    c.OnMouseMove(100, 100, 0); // remembered
    EXPECT_EQ(CtrlProbe::PopupState(c), 2);
    c.OnMouseMove(103, 102, 0); // 5 units: stays
    EXPECT_TRUE(site.popupShown);
    c.OnMouseMove(103, 103, 0); // 6 units: goes
    EXPECT_FALSE(site.popupShown);
    EXPECT_EQ(CtrlProbe::PopupState(c), 0);
    EXPECT_EQ(site.timers.count(2), 0u);

    Call("DisplayText", {Variant::Str("Again"), Variant::I2(0), Variant::I2(0), Variant::I4(10)});
    c.OnTimer(2);
    EXPECT_FALSE(site.popupShown);
    EXPECT_EQ(CtrlProbe::PopupState(c), 0);
    EXPECT_EQ(site.timers.count(2), 0u);
}

TEST_F(InputTest, HighlightedObjectsBlinkWithTheHighlightPeriod) {
    // The list holds host plot objects: a line of the host is object 101.
    ASSERT_EQ(Call("NewLine",
                   {Variant::I2(1), Variant::I2(1), Variant::I2(0), Variant::I2(4), Variant::I2(0)})
                  .i2(),
              101);
    c.Highlight(101);
    EXPECT_EQ(CtrlProbe::BlinkPhase(c), 0); // period 0: no blinking
    c.Unhighlight(101);
    Call("SetHighlightMode", {Variant::I2(250)});
    c.Highlight(101);
    c.Highlight(101);
    EXPECT_EQ(CtrlProbe::HighlightList(c).size(), 1u);
    EXPECT_EQ(site.timers.at(3), 250);
    EXPECT_EQ(CtrlProbe::BlinkPhase(c), 1);
    c.OnTimer(3);
    EXPECT_EQ(CtrlProbe::BlinkPhase(c), 2);
    EXPECT_EQ(site.timers.at(4), 30);
    c.OnTimer(4);
    EXPECT_EQ(CtrlProbe::BlinkPhase(c), 1);
    EXPECT_EQ(site.timers.count(4), 0u);

    // A pop-up whose time runs out in phase 2 goes at the next blink.
    Call("DisplayText", {Variant::Str("Hi"), Variant::I2(0), Variant::I2(0), Variant::I4(100)});
    c.OnTimer(3); // phase 1 -> 2; the pop-up is shown again after the inverted drawing
    EXPECT_TRUE(site.popupShown);
    c.OnTimer(2);
    EXPECT_EQ(CtrlProbe::PopupState(c), 3);
    EXPECT_TRUE(site.popupShown);
    c.OnTimer(3); // phase 2: hidden
    EXPECT_FALSE(site.popupShown);
    EXPECT_EQ(CtrlProbe::PopupState(c), 0);

    c.Unhighlight(101);
    EXPECT_EQ(CtrlProbe::BlinkPhase(c), 0);
    EXPECT_EQ(site.timers.count(3), 0u);
    c.OnTimer(3);
    c.OnTimer(4);
    EXPECT_EQ(CtrlProbe::BlinkPhase(c), 0);
}

// ---- DragLine ----

TEST_F(InputTest, DragLineErasesThePreviousLineWhenBit15IsSet) {
    Call("DragLine",
         {Variant::I2(10), Variant::I2(10), Variant::I2(50), Variant::I2(60), Variant::I2(3)});
    Call("DragLine", {Variant::I2(10), Variant::I2(10), Variant::I2(70), Variant::I2(80),
                      Variant::I2(short(0x8000))});
    const auto lines = Surface().CallsNamed("LineTo");
    EXPECT_EQ(lines.size(), 3u); // first, first again (erased), second
    EXPECT_EQ(lines[0], lines[1]);
    EXPECT_NE(lines[1], lines[2]);
    EXPECT_EQ(StatusOf([&] {
                  Call("DragLine", {Variant::I2(0), Variant::I2(0), Variant::I2(5), Variant::I2(5),
                                    Variant::I2(999)});
              }),
              com::E_INVALIDARG);
}

// ---- Odd orders and hostile hosts ----

TEST_F(InputTest, ReleaseWithoutPressAndDoubleClickWithoutClick) {
    c.OnLButtonUp(50, 50, 0);
    ExpectAtRest();
    EXPECT_EQ(sink.Count(EV_RegionDefined), 0);
    c.OnLButtonDblClk(Inside(5, 5).x, Inside(5, 5).y, 0);
    ExpectAtRest();
    c.OnMouseMove(60, 60, 0);
    c.OnRButtonDown(60, 60, 0);
    ExpectAtRest();
}

TEST_F(InputTest, RightPressDuringALeftDragShowsNoMenu) {
    c.OnLButtonDown(Inside(5, 5).x, Inside(5, 5).y, 0);
    c.OnRButtonDown(Inside(9, 9).x, Inside(9, 9).y, 0);
    EXPECT_TRUE(site.menus.empty());
    c.OnLButtonUp(Inside(9, 9).x, Inside(9, 9).y, 0);
    ExpectAtRest();
}

TEST_F(InputTest, KeysAndAResizeDuringADragLeaveTheControlWorking) {
    const gdi::Point a = Inside(10, 10);
    c.OnLButtonDown(a.x, a.y, 0);
    c.OnMouseMove(a.x + 40, a.y + 40, 0);
    c.OnKeyDown(ui::VK_UP, ui::ModCtrl, 1);
    c.OnKeyDown(ui::VK_END, 0, 1);
    c.OnKeyDown(ui::VK_ESCAPE, 0, 1);
    c.OnSize(200, 150);
    site.ResizeSurface(200, 150);
    c.OnMouseMove(a.x + 60, a.y + 60, 0);
    c.OnLButtonUp(a.x + 60, a.y + 60, 0);
    ExpectAtRest();
    c.PaintWindowSurface();
    c.OnLButtonDown(20, 20, 0);
    c.OnLButtonUp(20, 20, 0);
    ExpectAtRest();
}

TEST_F(InputTest, HostThatClearsThePlotFromInsideEventsDoesNotBreakTheControl) {
    SetEvent(2, true, true);
    sink.action = [this](com::DISPID id, std::span<const Variant>) {
        if (id == EV_OnClick || id == EV_Zoomed || id == EV_RegionDefined) c.Clear();
    };
    const gdi::Point a = Inside(10, 10);
    c.OnLButtonDown(a.x, a.y, 0);
    c.OnMouseMove(a.x + 50, a.y + 50, 0);
    c.OnLButtonUp(a.x + 50, a.y + 50, 0);
    ExpectAtRest();
    c.OnKeyDown(ui::VK_UP, ui::ModCtrl, 1);
    c.PaintWindowSurface();
    Mark(Inside(10, 10), Inside(80, 80));
    site.menuAnswer = ID_ZOOM_REGION;
    c.OnRButtonDown(Inside(20, 20).x, Inside(20, 20).y, 0);
    ExpectAtRest();
    EXPECT_GT(sink.Count(EV_OnClick), 0);
}

TEST_F(InputTest, ZeroSizeWindowTakesInputWithoutHarm) {
    c.OnSize(0, 0);
    site.ResizeSurface(0, 0);
    c.PaintWindowSurface();
    SetEvent(1, true, true);
    c.OnLButtonDown(5, 5, 0);
    c.OnMouseMove(8, 8, 0);
    c.OnLButtonUp(8, 8, 0);
    c.OnLButtonDblClk(5, 5, 0);
    c.OnRButtonDown(5, 5, 0);
    c.OnKeyDown(ui::VK_APPS, 0, 1);
    c.OnKeyDown(ui::VK_LEFT, 0, 1);
    ExpectAtRest();
    EXPECT_TRUE(site.menus.empty());
}

TEST_F(InputTest, ResetInputStateInTheMiddleOfADragAndABlink) {
    Call("SetHighlightMode", {Variant::I2(150)});
    c.Highlight(7);
    c.OnLButtonDown(Inside(5, 5).x, Inside(5, 5).y, 0); // read-out shown, hold timer armed
    ASSERT_TRUE(site.popupShown);
    c.ResetInputState();
    ExpectAtRest();
    EXPECT_TRUE(site.timers.empty());
    EXPECT_FALSE(site.popupShown);
    EXPECT_EQ(CtrlProbe::PopupState(c), 0);
    EXPECT_EQ(CtrlProbe::BlinkPhase(c), 0);
    EXPECT_TRUE(CtrlProbe::HighlightList(c).empty());
    // Timers that were already on their way change nothing, and blinking starts afresh.
    c.OnTimer(1);
    c.OnTimer(3);
    c.OnTimer(4);
    EXPECT_EQ(CtrlProbe::BlinkPhase(c), 0);
    c.Highlight(7);
    EXPECT_EQ(CtrlProbe::BlinkPhase(c), 1);
    EXPECT_EQ(site.timers.at(3), 150);
}

TEST(InputWithoutModel, TimersAndInputBeforeAnyModelOrWindow) {
    ui::HeadlessSite site;
    site.hasWindow = false;
    CTrendixCtrl c(site);
    for (int id = 0; id <= 5; ++id)
        c.OnTimer(id);
    c.OnMouseMove(3, 3, 0);
    c.OnLButtonUp(3, 3, 0);
    EXPECT_EQ(CtrlProbe::MouseMode(c), 0);
    EXPECT_EQ(CtrlProbe::BlinkPhase(c), 0);
    EXPECT_EQ(CtrlProbe::PopupState(c), 0);
    // The window goes: timers that still arrive find the control at rest.
    c.OnLButtonDown(3, 3, 0);
    c.OnLButtonUp(3, 3, 0);
    c.OnTimer(1);
    c.OnTimer(3);
    c.OnTimer(4);
    EXPECT_EQ(CtrlProbe::MouseMode(c), 0);
    EXPECT_TRUE(site.timers.empty());
}

} // namespace

namespace {

// A few markers get tooltips with their values; the pointer over one shows it, and moving
// off hides it again.
TEST(MarkerTooltips, ThePointerOverAMarkerShowsItsValues) {
    ui::HeadlessSite site;
    site.surfaceFactory = [](int w, int h) { return std::make_unique<gdi::RecordingDC>(w, h); };
    site.ResizeSurface(400, 310);
    CTrendixCtrl c(site);
    c.OnSize(400, 310);
    c.Setnpoints(3);
    for (std::int16_t i = 1; i <= 3; ++i) {
        c.SetXData(1, i, i);
        c.SetData(1, i, 2.5 * i);
    }
    c.SetAttribute(1, 4, 1, 1); // a marker on every point
    c.PaintWindowSurface();
    const auto& tips = c.Model()->drawingRegion->tooltips;
    ASSERT_EQ(tips.size(), 3u);
    const auto& middle = tips[1].area;
    const int cx = (middle.left + middle.right) / 2, cy = (middle.top + middle.bottom) / 2;

    c.OnMouseMove(cx, cy, 0);
    EXPECT_EQ(site.tooltip, "x=2.0,y=5.0");
    c.OnMouseMove(cx + 1, cy, 0); // still on the same marker: not shown again
    EXPECT_EQ(site.tooltipShowCount, 1);
    c.OnMouseMove(middle.right + 20, cy, 0);
    EXPECT_EQ(site.tooltip, "");
}

// A zoom moves the markers; their tooltips follow, and those of points out of view go.
TEST(MarkerTooltips, FollowTheirPointsAfterAZoom) {
    ui::HeadlessSite site;
    site.surfaceFactory = [](int w, int h) { return std::make_unique<gdi::RecordingDC>(w, h); };
    site.ResizeSurface(400, 310);
    CTrendixCtrl c(site);
    c.OnSize(400, 310);
    c.Setnpoints(4);
    for (std::int16_t i = 1; i <= 4; ++i) {
        c.SetXData(1, i, i);
        c.SetData(1, i, i);
    }
    c.SetAttribute(1, 4, 1, 1);
    c.PaintWindowSurface();
    const auto before = c.Model()->drawingRegion->tooltips;
    ASSERT_EQ(before.size(), 4u);
    c.Zoom(1);
    c.PaintWindowSurface();
    // The first point has left the zoomed view; the others have moved.
    const auto& tips = c.Model()->drawingRegion->tooltips;
    ASSERT_FALSE(tips.empty());
    EXPECT_LT(tips.size(), 4u);
    for (const auto& tip : tips)
        EXPECT_NE(tip.key, before[0].key);
    int moved = 0;
    for (const auto& tip : tips)
        for (const auto& old : before)
            if (tip.key == old.key && tip.area != old.area) {
                ++moved;
                EXPECT_EQ(tip.text, old.text);
            }
    EXPECT_GT(moved, 0);
}

} // namespace
