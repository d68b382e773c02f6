#include "ControlHarness.h"
#include "platform/gdi/RecordingDC.h"

#include <cmath>
#include <limits>

namespace {

class DrawTest : public ControlHarness {
protected:
    gdi::RecordingDC dc{400, 310};
    void Draw(int w, int h) { c.OnDraw(dc, {0, 0, w, h}, {0, 0, w, h}); }
    CPlotLook& M() { return *c.Model(); }
};

TEST_F(DrawTest, LayoutPlacesTitleAxesAndLabelsAroundTheDrawingRegion) {
    Put("Title", com::Variant::Str("Title"));
    Draw(400, 310);
    const auto& d = M().drawingRegion->rect;
    const auto& title = M().titleRegion->rect;
    const auto& x = M().xAxisRegion->rect;
    EXPECT_GT(d.width(), 200);
    EXPECT_GT(d.height(), 150);
    EXPECT_LE(title.bottom, d.top);
    EXPECT_EQ(x.left, d.left);
    EXPECT_EQ(x.right, d.right);
    EXPECT_GT(x.top, d.bottom);
    EXPECT_LE(x.bottom, 310);
    const auto& y = M().yAxisRegions[0]->rect;
    EXPECT_EQ(y.right, d.left - 1);
    EXPECT_EQ(M().layoutDirty, 0);
}

TEST_F(DrawTest, TitleIsDrawnBeforeTheAxesAndTheLegendLast) {
    Put("ShowLegend", com::Variant::Bool(true));
    Call("SetLegend", {com::Variant::I2(1), com::Variant::Str("Flow")});
    Draw(400, 310);
    const auto texts = dc.CallsNamed("TextOut");
    ASSERT_FALSE(texts.empty());
    const auto drawing = dc.Drawing();
    auto indexOf = [&](const std::string& part) {
        for (size_t i = 0; i < drawing.size(); ++i)
            if (drawing[i].find(part) != std::string::npos) return int(i);
        return -1;
    };
    const int title = indexOf("Title");
    const int legend = indexOf("Flow");
    ASSERT_GE(title, 0);
    ASSERT_GE(legend, 0);
    EXPECT_LT(title, legend);
}

TEST_F(DrawTest, ScaledDrawKeepsTheAspectAndAsksForOneRepaint) {
    Draw(400, 310);
    const auto screen = M().drawingRegion->rect;
    const int before = site.invalidateCount;
    Draw(800, 310); // wider target: height decides, the plot is centred
    EXPECT_EQ(site.invalidateCount, before + 1);
    EXPECT_EQ(M().bufferWidth, 400); // screen layout restored
    EXPECT_EQ(M().drawingRegion->rect, screen);
    Draw(400, 310); // the repaint clears the toggle
    Draw(800, 310);
    EXPECT_EQ(site.invalidateCount, before + 2);
}

TEST_F(DrawTest, DegenerateWindowsAndDataDrawWithoutFailing) {
    for (auto [w, h] : {std::pair{1, 1}, std::pair{0, 0}, std::pair{3, 2000}}) {
        c.OnSize(w, h);
        EXPECT_NO_THROW(Draw(w, h));
        EXPECT_NO_THROW(Draw(640, 480));
    }
    c.OnSize(400, 310);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    Put("npoints", com::Variant::I2(3));
    Call("SetData", {com::Variant::I2(1), com::Variant::I2(0), com::Variant::R8(nan)});
    Call("SetData", {com::Variant::I2(1), com::Variant::I2(1), com::Variant::R8(inf)});
    Call("SetData", {com::Variant::I2(1), com::Variant::I2(2), com::Variant::R8(1e300)});
    Put("Title", com::Variant::Str(std::string(2000, 'W')));
    EXPECT_NO_THROW(Draw(400, 310));
}

TEST_F(DrawTest, MultiplierNoteFollowsTheAxisLabel) {
    Call("SetLabel", {com::Variant::I2(1), com::Variant::Str("Flow")});
    Call("SetMultiplier", {com::Variant::I2(1), com::Variant::I2(-3)});
    Draw(400, 310);
    bool note = false, exponent = false;
    for (const std::string& line : dc.Drawing()) {
        note = note || line.find(" x 10") != std::string::npos;
        exponent = exponent || (note && line.find("-3") != std::string::npos);
    }
    EXPECT_TRUE(note);
    EXPECT_TRUE(exponent);
}

} // namespace

namespace {

// A zoom changes the label at the right-hand end of the horizontal axis, and with it the
// right margin: zooming back to the full plot must give the first layout again.
TEST_F(DrawTest, ZoomFullAfterAZoomedPaintRestoresTheFirstLayout) {
    Put("npoints", com::Variant::I2(4));
    for (int i = 1; i <= 4; ++i) {
        Call("SetXData",
             {com::Variant::I2(1), com::Variant::I2(std::int16_t(i)), com::Variant::R8(i)});
        Call("SetData",
             {com::Variant::I2(1), com::Variant::I2(std::int16_t(i)), com::Variant::R8(i * i)});
    }
    Draw(400, 310);
    const auto first = M().drawingRegion->rect;
    Call("Zoom", {com::Variant::I2(1)});
    Draw(400, 310);
    const auto zoomed = M().drawingRegion->rect;
    Call("Zoom", {com::Variant::I2(3)});
    Draw(400, 310);
    EXPECT_NE(zoomed, first); // the zoomed end label is wider
    EXPECT_EQ(M().drawingRegion->rect, first);
}

} // namespace

namespace {

// A sample that moves the time axis on is drawn straight into the window surface, which must
// reach the screen without the host having to ask for a repaint.
TEST(LiveDrawing, EveryLiveUpdateIsShownAtOnce) {
    ui::HeadlessSite site;
    site.surfaceFactory = [](int w, int h) { return std::make_unique<gdi::RecordingDC>(w, h); };
    site.ResizeSurface(400, 310);
    CTrendixCtrl c(site);
    c.OnSize(400, 310);
    c.SetRunPlot(true);
    c.PaintWindowSurface();
    ASSERT_EQ(c.Model()->layoutDirty, 0);
    const int before = site.flushCount;
    for (int i = 0; i < 5; ++i)
        c.AddTimeData(1, 0.1 * i, i); // inside the window: drawn at the host's next repaint
    EXPECT_EQ(site.flushCount, before);
    c.AddTimeData(1, 1.5, 2.0); // beyond it: the time axis moves on at once
    EXPECT_EQ(site.flushCount, before + 1);
}

} // namespace
