// A control made without a window and shown in a TrendixWidget later: the widget takes over
// its window services through the relay, shows it as it shows a control of its own, and hands
// it back when it goes.
#include <trendix/TrendixWidget.h>

#include "WidgetTestApp.h"
#include "control/TrendixCtrl.h"
#include "platform/ui/HeadlessSite.h"
#include "platform/ui/SiteRelay.h"
#include "qt/QtWindowSite.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t kNavy = 0x800000; // 0x00BBGGRR

struct HeadlessControl {
    ui::HeadlessSite headless;
    ui::SiteRelay relay{headless};
    CTrendixCtrl control{relay};
    HeadlessControl() { control.OnSize(400, 310); }
};

// The same plot, given to a control through its typed members.
void MakePlot(CTrendixCtrl& c) {
    c.SetTitle("Made before the window");
    c.Setnvariables(2);
    c.Setnpoints(3);
    for (std::int16_t i = 0; i < 3; ++i) {
        c.SetXData(1, i, 10.0 * i);
        c.SetData(1, i, i * i);
        c.SetData(2, i, 5.0 - i);
    }
}

QImage Shown(TrendixWidget& w) {
    w.repaint();
    ProcessEvents();
    return w.surfaceImage();
}

TEST(AdoptedControlTest, ShowsTheControlAsAWidgetOfItsOwnWould) {
    EnsureWidgetApp();
    HeadlessControl h;
    MakePlot(h.control);
    h.control.SetBackColor(kNavy);

    TrendixWidget adopted(h.control, h.relay);
    TrendixWidget own;
    MakePlot(own.control());
    own.control().SetBackColor(kNavy);
    for (TrendixWidget* w : {&adopted, &own}) {
        w->resize(500, 320);
        w->show();
    }
    ProcessEvents();

    EXPECT_EQ(&h.relay.target(), &adopted.site());
    EXPECT_EQ(h.control.GetBackColor(), kNavy); // kept through the window's creation
    EXPECT_EQ(h.control.PlotWidth(), adopted.clientSize().width());
    EXPECT_EQ(adopted.invoke("Title").toString(), QString("Made before the window"));
    const QImage a = Shown(adopted), b = Shown(own);
    ASSERT_FALSE(a.isNull());
    EXPECT_EQ(DifferingShare(a, b), 0.0);
}

TEST(AdoptedControlTest, HandsTheControlBackWhenTheWidgetGoes) {
    EnsureWidgetApp();
    HeadlessControl h;
    {
        TrendixWidget w(h.control, h.relay);
        w.show();
        ProcessEvents();
        h.relay.SetTimer(9, 1000);
        EXPECT_TRUE(w.site().TimerActive(9));
        EXPECT_TRUE(h.headless.timers.empty());
    }
    EXPECT_EQ(&h.relay.target(), &h.headless);
    const int before = h.headless.invalidateCount;
    h.control.SetTitle("After the window");
    EXPECT_EQ(h.control.GetTitle(), "After the window");
    EXPECT_GT(h.headless.invalidateCount, before);
    // A second window may show it again.
    TrendixWidget again(h.control, h.relay);
    EXPECT_EQ(&h.relay.target(), &again.site());
}

} // namespace
