// Tick marks and labels of rectangular axes, as the calls they make on a recording device
// (every character 7 units wide in the 10 pt default font).
#include "render/PlotAxisRgn.h"

#include "platform/gdi/RecordingDC.h"
#include "render/PlotEnv.h"
#include "render/PlotPaintContext.h"

#include <gtest/gtest.h>

using gdi::RecordingDC;
using Calls = std::vector<std::string>;

namespace {

// A linear axis drawn over [lo, hi] by step.
CPlotAxis Scaled(double lo, double hi, double step) {
    CPlotAxis axis;
    axis.plotMin = axis.viewMin = lo;
    axis.plotMax = axis.viewMax = hi;
    axis.interval = axis.intervalCopy = step;
    axis.scaleDirty = 0;
    return axis;
}

struct TicksFixture : ::testing::Test {
    CDrawTool tool;
    CPlotEnv env{tool};
    RecordingDC dc{1000, 1000};

    TicksFixture() {
        env.locale.decimalSeparator = '.';
        env.SetMapping(gdi::Rect{100, 0, 600, 300}, 0, 10, 10, 0);
    }
    // The ticks of axis placed by the current mapping's x, or its y for a vertical axis.
    void Draw(const CPlotAxis& axis, const CPlotFont* font, int labelPos, int axisPos,
              bool vertical, bool skipOrigin, gdi::ColorRef fore = 0) {
        CPlotAxisRgn::DrawTicks(dc, env, axis, vertical ? env.YMap() : env.XMap(), font,
                                {labelPos, axisPos, vertical, skipOrigin}, fore);
    }
    Calls Texts() const { return dc.CallsNamed("TextOut"); }
    Calls Lines() const {
        Calls lines;
        for (const std::string& c : dc.Drawing())
            if (c.rfind("MoveTo", 0) == 0 || c.rfind("LineTo", 0) == 0) lines.push_back(c);
        return lines;
    }
};

} // namespace

using DrawTicks = TicksFixture;

TEST_F(DrawTicks, HorizontalAxisMarksAllButTheFirstTickAndLabelsEach) {
    Draw(Scaled(0, 10, 2), nullptr, 330, 310, false, false);
    EXPECT_EQ(Lines(),
              (Calls{"MoveTo(200,310)", "LineTo(200,305)", "MoveTo(300,310)", "LineTo(300,305)",
                     "MoveTo(400,310)", "LineTo(400,305)", "MoveTo(500,310)", "LineTo(500,305)",
                     "MoveTo(600,310)", "LineTo(600,305)"}));
    EXPECT_EQ(Texts(), (Calls{"TextOut(100,330,\"0.0\")", "TextOut(200,330,\"2.0\")",
                              "TextOut(300,330,\"4.0\")", "TextOut(400,330,\"6.0\")",
                              "TextOut(500,330,\"8.0\")", "TextOut(600,330,\"10.0\")"}));
    EXPECT_EQ(dc.CallsNamed("SetTextAlign"),
              Calls{"SetTextAlign(" + std::to_string(gdi::AlignBottom | gdi::AlignCenter) + ")"});
    EXPECT_EQ(dc.SavedLevels(), 0);
    EXPECT_EQ(dc.CurrentPen(), gdi::Pen{}); // the state is given back
    EXPECT_EQ(dc.BkMode(), gdi::BackgroundMode::Opaque);
}

TEST_F(DrawTicks, PenAndTextTakeTheForegroundColour) {
    const gdi::ColorRef fore = gdi::Rgb(0x12, 0x34, 0x56);
    Draw(Scaled(0, 10, 2), nullptr, 330, 310, false, false, fore);
    EXPECT_EQ(dc.CallsNamed("SelectPen").front(), "SelectPen(0,1," + std::to_string(fore) + ")");
    EXPECT_EQ(dc.CallsNamed("SetTextColor"), Calls{"SetTextColor(" + std::to_string(fore) + ")"});
    EXPECT_EQ(dc.CallsNamed("SetBkMode"), Calls{"SetBkMode(0)"}); // transparent
}

TEST_F(DrawTicks, ReversedAxesLeaveOutTheLastMark) {
    CPlotAxis axis = Scaled(0, 10, 5);
    axis.reversed = 1;
    env.SetMapping(gdi::Rect{100, 0, 600, 300}, 10, 0, 10, 0);
    Draw(axis, nullptr, 330, 310, false, false);
    EXPECT_EQ(Lines(),
              (Calls{"MoveTo(600,310)", "LineTo(600,305)", "MoveTo(350,310)", "LineTo(350,305)"}));
}

TEST_F(DrawTicks, CrowdedLabelsAreThinnedByTheLongestOverlapRun) {
    // Labels as drawn ("0.5", "1.0") are 21 wide. 25 apart they all fit; 10 apart the longest
    // run of labels overlapping the last one kept is two, so every third is drawn.
    env.SetMapping(gdi::Rect{100, 0, 200, 300}, 0, 2, 10, 0);
    Draw(Scaled(0, 2, 0.5), nullptr, 330, 310, false, false);
    EXPECT_EQ(Texts().size(), 5u); // 25 apart: no overlap
    dc.Clear();
    env.SetMapping(gdi::Rect{100, 0, 140, 300}, 0, 2, 10, 0);
    Draw(Scaled(0, 2, 0.5), nullptr, 330, 310, false, false);
    EXPECT_EQ(Texts(), (Calls{"TextOut(100,330,\"0.0\")", "TextOut(130,330,\"1.5\")"}));
}

TEST_F(DrawTicks, ThinningCountsFromAMultipleOfTheInterval) {
    env.SetMapping(gdi::Rect{100, 0, 140, 300}, 0.5f, 2.5f, 10, 0);
    Draw(Scaled(0.5, 2.5, 0.5), nullptr, 330, 310, false, false);
    // Every third label; the first tick, 0.5, is one interval past a multiple of three
    // intervals, so the labels stay on 1.0 and 2.5.
    EXPECT_EQ(Texts(), (Calls{"TextOut(110,330,\"1.0\")", "TextOut(140,330,\"2.5\")"}));
}

TEST_F(DrawTicks, MarksCloserThanSixUnitsAreLeftOut) {
    env.SetMapping(gdi::Rect{0, 0, 50, 300}, 0, 10, 10, 0);
    Draw(Scaled(0, 10, 1), nullptr, 330, 310, false, false);
    // 5 units apart: every other mark, the first compared against position 0.
    EXPECT_EQ(Lines(),
              (Calls{"MoveTo(10,310)", "LineTo(10,305)", "MoveTo(20,310)", "LineTo(20,305)",
                     "MoveTo(30,310)", "LineTo(30,305)", "MoveTo(40,310)", "LineTo(40,305)",
                     "MoveTo(50,310)", "LineTo(50,305)"}));
}

TEST_F(DrawTicks, VerticalAxisWritesAlongTheAxisLeftOfIt) {
    CPlotFont vertical("Times New Roman", 10, 0);
    vertical.angle = 90;
    Draw(Scaled(0, 10, 5), &vertical, 0, 95, true, false);
    EXPECT_EQ(Lines(), (Calls{"MoveTo(95,300)", "LineTo(100,300)", "MoveTo(95,150)",
                              "LineTo(100,150)", "MoveTo(95,0)", "LineTo(100,0)"}));
    EXPECT_EQ(Texts(), (Calls{"TextOut(93,300,\"0.0\")", "TextOut(93,150,\"5.0\")",
                              "TextOut(93,0,\"10.0\")"}));
    EXPECT_EQ(dc.CallsNamed("SetTextAlign"),
              Calls{"SetTextAlign(" + std::to_string(gdi::AlignBaseline | gdi::AlignCenter) + ")"});
    EXPECT_EQ(dc.CallsNamed("SelectFont").back(), "SelectFont(13,90,0,\"Times New Roman\")");
}

TEST_F(DrawTicks, SkipOriginLeavesOutTheFirstMarkAndLabel) {
    Draw(Scaled(0, 10, 5), nullptr, 0, 95, true, true);
    EXPECT_EQ(Lines(),
              (Calls{"MoveTo(95,150)", "LineTo(100,150)", "MoveTo(95,0)", "LineTo(100,0)"}));
    EXPECT_EQ(Texts(), (Calls{"TextOut(93,150,\"5.0\")", "TextOut(93,0,\"10.0\")"}));
}

TEST_F(DrawTicks, SkipOriginOnAReversedAxisStopsBeforeTheLastTick) {
    CPlotAxis axis = Scaled(0, 10, 5);
    axis.reversed = 1;
    Draw(axis, nullptr, 0, 95, true, true);
    EXPECT_EQ(Texts(), (Calls{"TextOut(93,300,\"0.0\")", "TextOut(93,150,\"5.0\")"}));
}

TEST_F(DrawTicks, ReciprocalTickAtZeroIsOneOverZero) {
    CPlotAxis axis = Scaled(0, 1, 0.25);
    axis.scaleType = 2;
    env.SetMapping(gdi::Rect{100, 0, 500, 300}, 0, 1, 10, 0);
    Draw(axis, nullptr, 330, 310, false, false);
    EXPECT_EQ(Texts(), (Calls{"TextOut(100,330,\"1/0\")", "TextOut(200,330,\"4.0\")",
                              "TextOut(300,330,\"2.0\")", "TextOut(400,330,\"1.33333\")",
                              "TextOut(500,330,\"1.0\")"}));
}

TEST_F(DrawTicks, MultiplierScalesTheLabels) {
    CPlotAxis axis = Scaled(0, 10, 5);
    axis.multiplier = 3;
    Draw(axis, nullptr, 330, 310, false, false);
    EXPECT_EQ(Texts().back(), "TextOut(600,330,\"10000.0\")");
    dc.Clear();
    axis.multiplierType = 1;
    Draw(axis, nullptr, 330, 310, false, false);
    EXPECT_EQ(Texts().back(), "TextOut(600,330,\"30.0\")");
}

TEST_F(DrawTicks, LabelsUseTheLocaleSeparator) {
    env.locale.decimalSeparator = ',';
    env.SetMapping(gdi::Rect{100, 0, 600, 300}, 0, 1, 10, 0);
    Draw(Scaled(0, 1, 0.5), nullptr, 330, 310, false, false);
    EXPECT_EQ(Texts(), (Calls{"TextOut(100,330,\"0.0\")", "TextOut(350,330,\"0,5\")",
                              "TextOut(600,330,\"1,0\")"}));
}

TEST_F(DrawTicks, LogarithmicAxesWalkTheTickList) {
    CPlotAxis axis = Scaled(0, 2, 1);
    axis.scaleType = 1;
    axis.tickList = {1, 10, 100, 0};
    env.SetMapping(gdi::Rect{100, 0, 300, 300}, 0, 2, 10, 0);
    Draw(axis, nullptr, 330, 310, false, false);
    EXPECT_EQ(Texts(), (Calls{"TextOut(100,330,\"1.0\")", "TextOut(200,330,\"10.0\")",
                              "TextOut(300,330,\"100.0\")"}));
}

TEST_F(DrawTicks, ValuesWithinATenThousandthOfAnIntervalOfZeroAreZero) {
    env.SetMapping(gdi::Rect{100, 0, 600, 300}, -1, 1, 10, 0);
    Draw(Scaled(-1.0000000001, 1, 0.5), nullptr, 330, 310, false, false);
    EXPECT_EQ(Texts()[2].substr(Texts()[2].find('"')), "\"0.0\")");
}

// Tick lists read from a stored plot may hold anything; crowded, they are thinned from the
// first tick.
TEST_F(DrawTicks, BrokenTickListsAreThinnedFromTheFirstTick) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const auto labels = [&](const CPlotAxis& axis, int width) {
        env.SetMapping(gdi::Rect{100, 0, 100 + width, 300}, 0, 3, 10, 0);
        dc.Clear();
        Draw(axis, nullptr, 330, 310, false, false);
        Calls texts;
        for (const std::string& t : Texts())
            texts.push_back(t.substr(t.find('"')));
        return texts;
    };
    for (const double first : {nan, inf}) {
        SCOPED_TRACE(first);
        CPlotAxis axis = Scaled(0, 3, 1);
        axis.scaleType = 1;
        axis.tickList = {first, 10, 100, 1000, 0};
        const Calls all = labels(axis, 600), crowded = labels(axis, 10);
        ASSERT_EQ(all.size(), 4u);
        ASSERT_FALSE(crowded.empty());
        EXPECT_LT(crowded.size(), all.size());
        EXPECT_EQ(crowded.front(), all.front());
    }
}

TEST_F(DrawTicks, ZeroIntervalDrawsNothing) {
    Draw(Scaled(0, 10, 0), nullptr, 330, 310, false, false);
    EXPECT_TRUE(dc.Calls().empty());
}

TEST_F(DrawTicks, ScaledOutputLengthensTheMarks) {
    env.BeginScaledOutput(2, 0, 0);
    const CPlotFont font;
    Draw(Scaled(0, 10, 10), &font, 330, 310, false, false);
    EXPECT_EQ(Lines(), (Calls{"MoveTo(600,310)", "LineTo(600,300)"}));
    EXPECT_EQ(dc.CallsNamed("SelectFont").back(), "SelectFont(27,0,0,\"Times New Roman\")");
}

TEST(PlotAxisTickWalk, LinearWalkGrowsTheIntervalUntilFiftyFit) {
    CPlotAxis axis = Scaled(0, 1000, 1);
    EXPECT_DOUBLE_EQ(AxisScale::DrawnInterval(axis.Division()), 100);
    const auto ticks =
        AxisScale::DrawnTicks(axis.Division(), AxisScale::DrawnInterval(axis.Division()));
    ASSERT_EQ(ticks.size(), 11u);
    EXPECT_TRUE(ticks.back().last);
    EXPECT_FALSE(ticks[9].last);
}

TEST(PlotAxisTickWalk, TriangularAxesStartOneIntervalInAndStopEarly) {
    CPlotAxis axis = Scaled(0, 1, 0.25);
    axis.triKind = 1;
    const auto ticks = AxisScale::DrawnTicks(axis.Division(), 0.25);
    ASSERT_EQ(ticks.size(), 3u);
    EXPECT_DOUBLE_EQ(ticks.front().plot, 0.25);
    EXPECT_DOUBLE_EQ(ticks.back().plot, 0.75);
}

TEST(PlotAxisTickWalk, GridWalkStopsJustPastTheHighEnd) {
    CPlotAxis axis = Scaled(0, 1.004, 0.5);
    EXPECT_EQ(AxisScale::GridTicks(axis.Division()), (std::vector<double>{0, 0.5, 1}));
    axis.plotMax = 0.99;
    EXPECT_EQ(AxisScale::GridTicks(axis.Division()), (std::vector<double>{0, 0.5}));
    axis.scaleType = 1;
    axis.tickList = {1, 10, 0};
    EXPECT_EQ(AxisScale::GridTicks(axis.Division()), (std::vector<double>{0, 1}));
}

TEST(PlotAxisTickWalk, BrokenRangesWalkNothing) {
    CPlotAxis axis = Scaled(0, std::numeric_limits<double>::infinity(), 1);
    EXPECT_TRUE(AxisScale::DrawnTicks(axis.Division(), 1).empty());
    axis.plotMax = 1;
    EXPECT_TRUE(
        AxisScale::DrawnTicks(axis.Division(), std::numeric_limits<double>::quiet_NaN()).empty());
    EXPECT_TRUE(AxisScale::GridTicks(axis.Division()).size() == 2u);
}

TEST_F(DrawTicks, HighEndLabelWidthMeasuresTheEndLabel) {
    CPlotAxis axis = Scaled(0, 10, 2);
    EXPECT_EQ(CPlotAxisRgn::HighEndLabelWidth(dc, env, axis, nullptr), 28); // "10.0"
    axis.reversed = 1;
    EXPECT_EQ(CPlotAxisRgn::HighEndLabelWidth(dc, env, axis, nullptr), 21); // "0.0"
}

// An upright axis other than the one the drawing mapping was made for is drawn along its own
// range, and the environment's mapping is the same afterwards.
TEST_F(DrawTicks, UprightRegionDrawsItsOwnRangeAndLeavesTheMappingAlone) {
    CPlotAxisRgn region(2, 0);
    *region.axis = Scaled(0, 100, 50);
    region.rect = {60, 0, 95, 300};
    region.upright = true;
    CPlotPaintContext ctx(dc, env);
    region.Draw(ctx, true);
    EXPECT_EQ(Texts(), (Calls{"TextOut(93,300,\"0.0\")", "TextOut(93,150,\"50.0\")",
                              "TextOut(93,0,\"100.0\")"}));
    EXPECT_EQ(env.y0, 10);
    EXPECT_EQ(env.y1, 0);
    EXPECT_EQ(env.MapY(5), 150);
}
