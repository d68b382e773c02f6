#include "ControlHarness.h"
#include "platform/gdi/RecordingDC.h"

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <utility>

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

namespace {

using com::Variant;

// An axis's drawn scale is computed when the axis is laid out or drawn. Reading it through
// GetAxisRange answers plotMin and plotMax as they stand, so before the first paint a read
// gives what the range setters left there, and reading changes nothing.
class AxisRangeRead : public DrawTest {
protected:
    std::pair<double, double> AxisRange(short axis) {
        Variant lo = Variant::R8(-1), hi = Variant::R8(-1);
        Call("GetAxisRange", {Variant::I2(axis), Variant::Ref(&lo), Variant::Ref(&hi)});
        return {lo.r8(), hi.r8()};
    }
    // The lines of one axis block of the settings text.
    std::string AxisBlock(short axis) {
        const std::string text = Call("GetSettings").narrow();
        const std::string head = "\nAxis:" + std::to_string(axis) + "\n";
        const size_t at = text.find(head);
        if (at == std::string::npos) return {};
        const size_t end = text.find("\nAxis:", at + head.size());
        return text.substr(at + 1, end == std::string::npos ? std::string::npos : end - at);
    }
    static bool HasLine(const std::string& block, const std::string& line) {
        return ("\n" + block).find("\n" + line + "\n") != std::string::npos;
    }
};

struct RangeCase {
    const char* what;
    std::function<void()> setUp;
    std::pair<double, double> beforePaint;
    // The drawn scale after a paint must hold this range.
    std::pair<double, double> covered;
};

TEST_F(AxisRangeRead, ReadsAnswerTheRangeAsItStandsUntilAPaintScalesIt) {
    const RangeCase cases[] = {
        {"SetRange puts the data range into the drawn one",
         [this] {
             Call("SetRange", {Variant::I2(1), Variant::R8(0.125), Variant::R8(0.375)});
         },
         {0.125, 0.375},
         {0.125, 0.375}},
        {"a first sample widens the requested range only",
         [this] {
             Put("RunPlot", Variant::Bool(true));
             Call("AddTimeData", {Variant::I2(1), Variant::R8(0), Variant::R8(10)});
         },
         {0, 1},
         {10, 10}},
        {"SetAxisRange asks for a range",
         [this] {
             Call("SetAxisRange", {Variant::I2(1), Variant::R8(-5.5), Variant::R8(5.5)});
         },
         {0, 1},
         {-5.5, 5.5}},
    };
    for (const RangeCase& k : cases) {
        SCOPED_TRACE(k.what);
        Put("RunPlot", Variant::Bool(false));
        Call("Clear");
        k.setUp();
        EXPECT_EQ(AxisRange(1), k.beforePaint);
        AxisBlock(1); // writing the settings text does not scale either
        EXPECT_EQ(AxisRange(1), k.beforePaint);
        Draw(400, 310);
        const auto [lo, hi] = AxisRange(1);
        EXPECT_LE(lo, k.covered.first);
        EXPECT_GE(hi, k.covered.second);
        EXPECT_EQ(M().Axis(1)->scaleDirty, 0);
        Draw(400, 310);
        EXPECT_EQ(AxisRange(1), std::make_pair(lo, hi)); // a drawn scale stays as it is
    }
}

TEST_F(AxisRangeRead, SetRangeIsDrawnAsANiceScaleAfterThePaint) {
    Call("SetRange", {Variant::I2(1), Variant::R8(0.125), Variant::R8(0.375)});
    Draw(400, 310);
    const auto [lo, hi] = AxisRange(1);
    EXPECT_NEAR(lo, 0.1, 1e-12);
    EXPECT_NEAR(hi, 0.4, 1e-12);
}

TEST_F(AxisRangeRead, TheSettingsTextWritesTheRangeAsItStandsBeforeThePaint) {
    Call("SetSettings", {Variant::Str("Axis:1\nAxisInterval:0.5 1\n")});
    Call("SetRange", {Variant::I2(1), Variant::R8(1e-5), Variant::R8(2e-5)});
    std::string block = AxisBlock(1);
    EXPECT_TRUE(HasLine(block, "AxisRange:1e-05 2e-05")) << block;
    EXPECT_TRUE(HasLine(block, "AxisInterval:0.5 1")) << block;
    Draw(400, 310);
    block = AxisBlock(1);
    EXPECT_TRUE(HasLine(block, "AxisRange:0 0.5")) << block; // snapped to the fixed interval
}

// A range asked for since the last paint is saved as asked, not as the scale drawn before it,
// so that the text applied to a new control draws what this one draws.
TEST_F(AxisRangeRead, ARangeAskedForSinceThePaintIsSavedAndDrawnAgain) {
    Call("SetRange", {Variant::I2(1), Variant::R8(0), Variant::R8(100)});
    Draw(400, 310);
    Call("SetAxisRange", {Variant::I2(1), Variant::R8(-5.5), Variant::R8(5.5)});
    Call("SetAxisRange", {Variant::I2(0), Variant::R8(2), Variant::R8(3)});
    const std::string text = Call("GetSettings").narrow();
    EXPECT_TRUE(HasLine(AxisBlock(1), "AxisRange:-5.5 5.5")) << AxisBlock(1);
    EXPECT_TRUE(HasLine(AxisBlock(0), "AxisRange:2 3")) << AxisBlock(0);
    Draw(400, 310);
    const auto drawnY = AxisRange(1), drawnX = AxisRange(0);

    ui::HeadlessSite otherSite;
    CTrendixCtrl other{otherSite};
    other.OnSize(400, 310);
    other.SetSettings(text);
    gdi::RecordingDC otherDc{400, 310};
    other.OnDraw(otherDc, {0, 0, 400, 310}, {0, 0, 400, 310});
    double lo = 0, hi = 0;
    other.GetAxisRange(1, lo, hi);
    EXPECT_EQ(std::make_pair(lo, hi), drawnY);
    other.GetAxisRange(0, lo, hi);
    EXPECT_EQ(std::make_pair(lo, hi), drawnX);
}

} // namespace

namespace {

// The line sample beside an upright variable label shows the pen of the variable's curve, for
// every line type: every pen selected in the variable's colour is the same pen.
TEST_F(DrawTest, TheLabelLineSampleShowsThePenOfItsCurve) {
    constexpr short kRed = 3;
    const long long red = 0x0000FF; // palette colour 3 as a colour reference
    for (short stored = 0; stored < 9; ++stored) {
        SCOPED_TRACE("stored line type " + std::to_string(stored));
        Put("RunPlot", com::Variant::Bool(true));
        Call("Clear");
        Call("SetAttribute", {com::Variant::I2(0), com::Variant::I2(stored), com::Variant::I2(0),
                              com::Variant::I2(kRed)});
        for (int k = 0; k < 4; ++k)
            AddTimeData(1, 0.2 * k, k % 2 ? 3.0 : 1.0);
        dc.Clear();
        Draw(400, 310);
        std::vector<std::string> pens;
        for (const gdi::RecordedCall& call : dc.Calls())
            if (call.name == "SelectPen" && call.args.size() >= 3 && call.args[2] == red)
                pens.push_back(call.Describe());
        ASSERT_GE(pens.size(), 2u); // the curve and the label's sample
        for (const std::string& pen : pens)
            EXPECT_EQ(pen, pens.front());
        const auto& labels = M().yLabelRegions;
        ASSERT_FALSE(labels.empty());
        EXPECT_TRUE(labels[0]->lineSample);
    }
}

} // namespace
