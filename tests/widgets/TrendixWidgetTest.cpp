// The Qt host of the control: the window surface follows the client area and the scroll bars,
// input reaches the control, the control's requests reach Qt, and its events come out as
// signals.
#include <trendix/TrendixWidget.h>

#include "WidgetTestApp.h"
#include "control/TrendixCtrl.h"
#include "control/TrendixEvents.h"
#include "qt/QtWindowSite.h"

#include <QApplication>
#include <QLabel>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace {

class TrendixWidgetTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureWidgetApp();
        widget = std::make_unique<TrendixWidget>();
        widget->resize(600, 450);
        widget->show();
        ProcessEvents();
    }

    // The example's XY plot, set up through the automation interface by name.
    void LoadPumpCurve() {
        widget->invoke("nvariables", {2});
        widget->invoke("npoints", {4});
        widget->invoke("Title", {"Pump curve"});
        const double flow[] = {10, 40, 80, 120}, head[] = {80, 74, 52, 22};
        for (int i = 0; i < 4; ++i) {
            widget->invoke("SetXData", {1, i, flow[i]});
            widget->invoke("SetData", {1, i, head[i]});
        }
    }

    QImage Shown() {
        widget->repaint();
        ProcessEvents();
        return widget->surfaceImage();
    }

    std::unique_ptr<TrendixWidget> widget;
};

TEST_F(TrendixWidgetTest, SurfaceFollowsTheClientArea) {
    EXPECT_EQ(widget->clientSize(), QSize(600, 450));
    EXPECT_EQ(Shown().size(), QSize(600, 450));
    EXPECT_EQ(widget->control().PlotWidth(), 600);
    widget->resize(500, 300);
    ProcessEvents();
    EXPECT_EQ(Shown().size(), QSize(500, 300));
    EXPECT_EQ(widget->control().PlotHeight(), 300);
}

TEST_F(TrendixWidgetTest, ScrollBarsTakeTheirPlaceFromTheClientArea) {
    QtWindowSite& site = widget->site();
    site.ShowScrollBar(true, true);
    site.ShowScrollBar(false, true);
    const int barW = widget->verticalBar()->sizeHint().width();
    const int barH = widget->horizontalBar()->sizeHint().height();
    EXPECT_EQ(widget->clientSize(), QSize(600 - barW, 450 - barH));
    EXPECT_EQ(widget->control().PlotWidth(), 600 - barW);
    EXPECT_EQ(Shown().size(), QSize(600 - barW, 450 - barH));
    site.ShowScrollBar(true, false);
    site.ShowScrollBar(false, false);
    EXPECT_EQ(widget->control().PlotWidth(), 600);
    EXPECT_EQ(widget->control().PlotHeight(), 450);
}

TEST_F(TrendixWidgetTest, ScrollInfoSetsRangePageAndPosition) {
    widget->site().SetScrollInfo(true, 1000, 250, 501);
    QScrollBar* bar = widget->horizontalBar();
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 500); // the page's start runs to max - page + 1
    EXPECT_EQ(bar->pageStep(), 501);
    EXPECT_EQ(bar->value(), 250);
    widget->site().SetScrollInfo(false, 1000, 0, 1001);
    EXPECT_EQ(widget->verticalBar()->maximum(), 0);
}

TEST_F(TrendixWidgetTest, ZoomShowsTheScrollBarsAndZoomFullHidesThem) {
    LoadPumpCurve();
    const QImage first = Shown();
    QSignalSpy zoomed(widget.get(), &TrendixWidget::zoomed);
    widget->invoke("Zoom", {1});
    ProcessEvents();
    EXPECT_FALSE(widget->horizontalBar()->isHidden());
    EXPECT_FALSE(widget->verticalBar()->isHidden());
    const QSize narrower = widget->clientSize();
    EXPECT_LT(narrower.width(), 600);
    EXPECT_LT(narrower.height(), 450);
    const QImage in = Shown();
    EXPECT_EQ(in.size(), narrower);
    // The bars show where the visible part lies within 0..1000.
    EXPECT_GT(widget->horizontalBar()->pageStep(), 1);
    EXPECT_LT(widget->horizontalBar()->pageStep(), 1001);
    widget->invoke("Zoom", {3});
    ProcessEvents();
    EXPECT_TRUE(widget->horizontalBar()->isHidden());
    EXPECT_TRUE(widget->verticalBar()->isHidden());
    const QImage full = Shown();
    EXPECT_EQ(full.size(), QSize(600, 450));
    EXPECT_LT(DifferingShare(full, first), 0.5 * DifferingShare(in.scaled(600, 450), first));
    ASSERT_EQ(zoomed.count(), 2);
    EXPECT_TRUE(zoomed[0][0].toBool());
    EXPECT_FALSE(zoomed[1][0].toBool());
}

TEST_F(TrendixWidgetTest, ScrollBarActionsAndTheWheelScrollTheZoomedPlot) {
    LoadPumpCurve();
    Shown();
    widget->invoke("Zoom", {1});
    ProcessEvents();
    QSignalSpy scrolled(widget.get(), &TrendixWidget::scrolled);
    QScrollBar* bar = widget->horizontalBar();
    const int before = bar->value();
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    ASSERT_EQ(scrolled.count(), 1);
    EXPECT_TRUE(scrolled[0][0].toBool());
    EXPECT_GT(bar->value(), before); // the control moved the bar to its new position
    // One notch down on the wheel is a line down on the vertical bar.
    const QPointF at(100, 100);
    QWheelEvent notch(at, widget->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget.get(), &notch);
    ASSERT_EQ(scrolled.count(), 2);
    EXPECT_FALSE(scrolled[1][0].toBool());
    // Half a notch is kept until the other half comes.
    QWheelEvent half(at, widget->mapToGlobal(at), QPoint(), QPoint(0, 60), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget.get(), &half);
    EXPECT_EQ(scrolled.count(), 2);
    QApplication::sendEvent(widget.get(), &half);
    EXPECT_EQ(scrolled.count(), 3);
}

TEST_F(TrendixWidgetTest, EventsComeOutAsTypedAndGenericSignals) {
    QSignalSpy any(widget.get(), &TrendixWidget::eventFired);
    QSignalSpy caption(widget.get(), &TrendixWidget::setCaption);
    QSignalSpy intervals(widget.get(), &TrendixWidget::communicationIntervalsSet);
    QSignalSpy variable(widget.get(), &TrendixWidget::variableChanged);
    widget->invoke("Title", {""});
    widget->invoke("CommunicationIntervals", {7});
    widget->invoke("SetVariable", {-3, "FEED.T"});
    ASSERT_EQ(caption.count(), 1);
    EXPECT_EQ(caption[0][0].toString(), "     "); // an empty title goes out as five blanks
    ASSERT_EQ(intervals.count(), 1);
    EXPECT_EQ(intervals[0][0].toInt(), 7);
    ASSERT_EQ(variable.count(), 1);
    EXPECT_EQ(variable[0][1].toString(), "FEED.T");
    ASSERT_GE(any.count(), 3);
    EXPECT_EQ(any[0][0].toInt(), int(EV_SetCaption));
    EXPECT_EQ(any[1][0].toInt(), int(EV_CommunicationIntervalsSet));
    EXPECT_EQ(any[1][1].toList(), QVariantList{7});
    EXPECT_EQ(TrendixWidget::eventName(EV_OnRBClick), "OnRBClick");
    EXPECT_EQ(TrendixWidget::eventName(99), "99");
}

TEST_F(TrendixWidgetTest, InvokeReadsWritesAndReturnsOutputs) {
    widget->invoke("nvariables", {2});
    EXPECT_EQ(widget->invoke("nvariables").toInt(), 2);
    widget->invoke("SetRange", {1, 5.0, 50.0});
    QVariantList outputs;
    widget->invoke("GetRange", {1}, &outputs);
    ASSERT_EQ(outputs.size(), 2);
    EXPECT_DOUBLE_EQ(outputs[0].toDouble(), 5.0);
    EXPECT_DOUBLE_EQ(outputs[1].toDouble(), 50.0);
    EXPECT_THROW(widget->invoke("NoSuchMember"), com::DispatchError);
    EXPECT_THROW(widget->invoke("SetRange", {1}), com::DispatchError); // too few arguments
    EXPECT_THROW(widget->invoke("Title", {QVariant(QPoint(1, 2))}), com::DispatchError);
}

TEST_F(TrendixWidgetTest, SetModifiedIsASignal) {
    QSignalSpy modified(widget.get(), &TrendixWidget::persistentStateChanged);
    widget->invoke("Title", {"Changed"});
    EXPECT_GE(modified.count(), 1);
}

TEST_F(TrendixWidgetTest, TimersCallTheControlAndStopWithTheWidget) {
    QtWindowSite& site = widget->site();
    site.SetTimer(9, 5);
    EXPECT_TRUE(site.TimerActive(9));
    EXPECT_EQ(site.TimerInterval(9), 5);
    site.KillTimer(9);
    EXPECT_FALSE(site.TimerActive(9));
    EXPECT_EQ(site.TimerInterval(9), -1);
    site.KillTimer(12345); // never set: nothing happens
    // A pop-up text with a short life arms its timer; the widget goes before it runs out.
    widget->invoke("DisplayText", {"gone soon", 10, 10, 20});
    site.SetTimer(3, 1);
    widget.reset();
    ProcessEvents(60);
    SUCCEED();
}

TEST_F(TrendixWidgetTest, PopupTextIsASmallWindowAtThePoint) {
    QtWindowSite& site = widget->site();
    site.ShowPopupText("x=1\ny=2", 30, 40);
    ASSERT_NE(site.PopupText(), nullptr);
    EXPECT_TRUE(site.PopupText()->isVisible());
    EXPECT_EQ(site.PopupText()->text(), "x=1\ny=2");
    EXPECT_EQ(site.PopupText()->pos(), widget->mapToGlobal(QPoint(30, 40)));
    site.HidePopupText();
    EXPECT_FALSE(site.PopupText()->isVisible());
}

TEST_F(TrendixWidgetTest, FileFiltersBecomeQtFilters) {
    EXPECT_EQ(QtWindowSite::FileFilter("K5 plot file (*.plx)|*.plx"), "K5 plot file (*.plx)");
    EXPECT_EQ(QtWindowSite::FileFilter("Plots|*.ply;*.plx|All (*.*)|*.*|"),
              "Plots (*.ply *.plx);;All (*.*)");
    EXPECT_EQ(QtWindowSite::FileFilter(""), "");
    EXPECT_EQ(QtWindowSite::FileFilter("dangling"), "");
}

TEST_F(TrendixWidgetTest, CursorsByNumberReachTheWidget) {
    widget->site().SetCursor(32646);
    EXPECT_EQ(widget->cursor().shape(), Qt::SizeAllCursor);
    EXPECT_EQ(widget->site().CursorId(), 32646);
    widget->site().SetCursor(16556);
    EXPECT_EQ(widget->cursor().shape(), Qt::BitmapCursor);
}

TEST_F(TrendixWidgetTest, ZoomKeysReachTheControl) {
    LoadPumpCurve();
    Shown();
    widget->setFocus();
    QSignalSpy zoomed(widget.get(), &TrendixWidget::zoomed);
    QTest::keyClick(widget.get(), Qt::Key_Up, Qt::ControlModifier);
    QTest::keyClick(widget.get(), Qt::Key_End, Qt::ControlModifier);
    ASSERT_EQ(zoomed.count(), 2);
    EXPECT_TRUE(zoomed[0][0].toBool());
    EXPECT_FALSE(zoomed[1][0].toBool());
}

TEST_F(TrendixWidgetTest, KeysAndCharactersReachTheHostWhenAskedFor) {
    widget->invoke("SetEvent", {5, true, true});
    widget->invoke("SetEvent", {6, true, true});
    widget->invoke("SetEvent", {7, true, true});
    QSignalSpy down(widget.get(), &TrendixWidget::keyDown);
    QSignalSpy up(widget.get(), &TrendixWidget::keyUp);
    QSignalSpy press(widget.get(), &TrendixWidget::keyPress);
    // Shift goes down first, then B with the Shift bit.
    QTest::sendKeyEvent(QTest::Click, widget.get(), Qt::Key_B, QString("B"), Qt::ShiftModifier);
    ASSERT_EQ(down.count(), 2);
    EXPECT_EQ(down[0][0].toInt(), 0x10);
    EXPECT_EQ(down[1][0].toInt(), 'B');
    EXPECT_EQ(down[1][1].toInt(), 1);
    ASSERT_EQ(press.count(), 1);
    EXPECT_EQ(press[0][0].toInt(), 'B');
    ASSERT_GE(up.count(), 1);
    EXPECT_EQ(up[0][0].toInt(), 'B');
    // Tab stays with the control instead of moving the focus on; it is the character 9 too.
    QTest::keyClick(widget.get(), Qt::Key_Tab);
    ASSERT_EQ(down.count(), 3);
    EXPECT_EQ(down[2][0].toInt(), 0x09);
    // Delete makes no character.
    QTest::keyClick(widget.get(), Qt::Key_Delete);
    EXPECT_EQ(press.count(), 2);
}

TEST_F(TrendixWidgetTest, RightClickFiresOnRBClickAndShowsNoMenuWhenAskedFor) {
    LoadPumpCurve();
    Shown();
    widget->invoke("SetEvent", {4, true, false});
    QSignalSpy rb(widget.get(), &TrendixWidget::onRBClick);
    bool menuShown = false;
    QTimer closer; // a menu would wait for the user: close it, and remember it was there
    QObject::connect(&closer, &QTimer::timeout, [&menuShown] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            menuShown = true;
            popup->close();
        }
    });
    closer.start(20);
    QTest::mouseClick(widget.get(), Qt::RightButton, Qt::NoModifier, QPoint(300, 200));
    ProcessEvents(50);
    EXPECT_FALSE(menuShown);
    ASSERT_EQ(rb.count(), 1);
    EXPECT_EQ(rb[0][2].toInt(), 300);
    EXPECT_EQ(rb[0][3].toInt(), 200);
}

TEST_F(TrendixWidgetTest, ResizeDuringADragKeepsGoing) {
    LoadPumpCurve();
    Shown();
    QTest::mousePress(widget.get(), Qt::LeftButton, Qt::NoModifier, QPoint(250, 180));
    QTest::mouseMove(widget.get(), QPoint(300, 220));
    widget->resize(320, 240);
    ProcessEvents();
    QTest::mouseMove(widget.get(), QPoint(400, 300)); // now outside the client area
    QTest::mouseRelease(widget.get(), Qt::LeftButton, Qt::NoModifier, QPoint(400, 300));
    EXPECT_EQ(Shown().size(), QSize(320, 240));
    EXPECT_EQ(widget->control().PlotWidth(), 320);
}

} // namespace

// A window wider than the largest surface shows the part that fits; nothing fails.
TEST_F(TrendixWidgetTest, AWindowBeyondTheLargestSurfaceIsCappedNotFailed) {
    QSignalSpy failed(widget.get(), &TrendixWidget::handlerFailed);
    widget->resize(gdi::kMaxSurfaceSide + 808, 60);
    ProcessEvents();
    EXPECT_EQ(Shown().size(), QSize(gdi::kMaxSurfaceSide, 60));
    EXPECT_EQ(widget->control().PlotWidth(), gdi::kMaxSurfaceSide);
    widget->resize(300, 200);
    ProcessEvents();
    EXPECT_EQ(Shown().size(), QSize(300, 200));
    EXPECT_EQ(failed.count(), 0);
}
