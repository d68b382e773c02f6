// Nice scales, tick lists and axis transforms of CPlotAxis and AxisScale.
#include "render/AxisTransform.h"
#include "render/PlotAxis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Scale {
    double min, max, interval;
};

Scale Nice(int mode, double lo, double hi, double n, double fixed = 0) {
    Scale s{-99, -99, -99};
    AxisScale::PLsetstm(mode, lo, hi, n, fixed, s.min, s.max, s.interval);
    return s;
}

void ExpectScale(const Scale& s, double min, double max, double interval) {
    EXPECT_NEAR(s.min, min, 1e-12);
    EXPECT_NEAR(s.max, max, 1e-12);
    EXPECT_NEAR(s.interval, interval, 1e-12);
}

std::vector<double> Ticks(const CPlotAxis& axis) {
    std::vector<double> out;
    for (double t : axis.tickList) {
        if (t == 0) break;
        out.push_back(t);
    }
    return out;
}

} // namespace

TEST(PlotAxisNiceScale, PlainRanges) {
    ExpectScale(Nice(0, 0, 1, 5), 0, 1, 0.25);
    ExpectScale(Nice(0, 0, 1, 4), 0, 1, 0.5);
    ExpectScale(Nice(0, 0, 1, 10), 0, 1, 0.1);
    ExpectScale(Nice(0, 0, 97, 10), 0, 100, 20);
    ExpectScale(Nice(0, -3.2, 7.9, 6), -5, 10, 2.5);
    ExpectScale(Nice(0, 0.013, 0.0871, 5), 0, 0.1, 0.02);
}

TEST(PlotAxisNiceScale, EqualAndSwappedEnds) {
    ExpectScale(Nice(0, 5, 5, 5), 5, 6, 0.25);
    ExpectScale(Nice(0, 1, 0, 5), 0, 1, 0.25);
    // Ends equal in double precision still get a finite, nonzero interval.
    const Scale s = Nice(0, 1e20, 1e20, 5);
    EXPECT_GT(s.interval, 0);
    EXPECT_LE(s.min, 1e20);
    EXPECT_GE(s.max, 1e20);
}

TEST(PlotAxisNiceScale, IntegerAxes) {
    ExpectScale(Nice(1, 1, 7, 5), 1, 7, 1);
    ExpectScale(Nice(1, 0, 7, 3), 0, 10, 5);
    // Starting at 1 keeps 1 as the first tick rather than 0.
    EXPECT_EQ(Nice(1, 1, 30, 3).min, 1);
    // A range too short for whole-number steps falls back to an interval of 1.
    ExpectScale(Nice(1, 0, 1, 5), 0, 1, 1);
    ExpectScale(Nice(1, 0.2, 2.7, 10), 0, 3, 1);
}

TEST(PlotAxisNiceScale, FixedInterval) {
    ExpectScale(Nice(2, 0.3, 9.7, 5, 2), 0, 10, 2);
    ExpectScale(Nice(2, 0, 1, 5, 0.3), 0, 1.2, 0.3);
    // Integer with fixed interval: a scale from 1 starts at 1, the high end follows by one.
    ExpectScale(Nice(3, 1, 7, 5, 5), 1, 11, 5);
    ExpectScale(Nice(3, 1, 3, 5, 2), 1, 3, 2); // 1..5 overshoots by a step
    // A step far beyond double precision still gives a scale that covers the data.
    const Scale huge = Nice(3, 1, 1.8e6, 19, 1.9e24);
    EXPECT_EQ(huge.min, 1);
    EXPECT_GE(huge.max, 1.8e6);
    // A fixed interval of 0 (or a negative or NaN one) is not used.
    ExpectScale(Nice(2, 0, 1, 5, 0), 0, 1, 0.25);
    ExpectScale(Nice(2, 0, 1, 5, -1), 0, 1, 0.25);
    ExpectScale(Nice(3, 1, 7, 5, kNaN), 1, 7, 1);
}

TEST(PlotAxisNiceScale, BadInputLeavesOutputsOrTerminates) {
    ExpectScale(Nice(0, 0, 1, 0), -99, -99, -99);
    ExpectScale(Nice(2, 0, 1, -3, 0.5), -99, -99, -99);
    ExpectScale(Nice(0, kNaN, 1, 5), -99, -99, -99);
    ExpectScale(Nice(0, 0, kNaN, 5), -99, -99, -99);
    ExpectScale(Nice(0, 0, 1, kNaN), -99, -99, -99);
    testing::internal::CaptureStdout();
    const Scale below = Nice(0, -kInf, -kInf, 5); // replaced low end, then a 1e-7 wide range
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(std::isfinite(below.min) && std::isfinite(below.max) && below.interval > 0);
    for (double n : {1e-300, 1e300, kInf}) {
        const Scale s = Nice(0, -1e30, 1e30, n);
        EXPECT_TRUE(s.interval == -99 || (std::isfinite(s.interval) && s.interval > 0)) << n;
    }
    const Scale tiny = Nice(0, 0, 1e-310, 5);
    EXPECT_TRUE(tiny.interval == -99 || tiny.interval > 0);
}

TEST(PlotAxisNiceScale, InfiniteEndsAreReplacedAndReported) {
    testing::internal::CaptureStdout();
    const Scale s = Nice(0, -kInf, kInf, 5);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "Error at PLsetstm: lower range is minus Infinity\n"
                   "Error at PLsetstm: upper range is Infinity\n");
    EXPECT_TRUE(std::isfinite(s.min) && std::isfinite(s.max));
    EXPECT_LE(s.min, -3.4028234663852887e28);
    EXPECT_GE(s.max, 3.4028234663852887e28);

    testing::internal::CaptureStdout();
    Nice(0, 0, 1, 5);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST(PlotAxisUpdateScale, LinearAxisTakesNiceRange) {
    CPlotAxis axis;
    axis.SetRequestedRange(0.013, 0.0871);
    axis.dataMin = 0.013;
    axis.dataMax = 0.0871;
    axis.UpdateScale(5);
    EXPECT_EQ(axis.scaleDirty, 0);
    EXPECT_EQ(axis.unsettled, 0);
    EXPECT_NEAR(axis.plotMin, 0, 1e-15);
    EXPECT_NEAR(axis.plotMax, 0.1, 1e-15);
    // The nice range [0, 0.1] is scaled again and asks for 0.025 rather than 0.02.
    EXPECT_NEAR(axis.interval, 0.025, 1e-15);
    EXPECT_EQ(axis.intervalCopy, axis.interval);
    EXPECT_EQ(axis.viewMin, axis.plotMin);
    EXPECT_EQ(axis.viewMax, axis.plotMax);
    EXPECT_EQ(axis.fullMin, axis.plotMin);
    EXPECT_EQ(axis.fullMax, axis.plotMax);

    // A clean axis is not recomputed.
    axis.reqMax = 50;
    axis.UpdateScale(5);
    EXPECT_NEAR(axis.plotMax, 0.1, 1e-15);
}

TEST(PlotAxisUpdateScale, NoRoomKeepsScaleDirty) {
    CPlotAxis axis;
    axis.SetRequestedRange(0, 97);
    axis.UpdateScale(AxisScale::TargetIntervals(0, 8, 1));
    EXPECT_EQ(axis.scaleDirty, 1);
    axis.UpdateScale(AxisScale::TargetIntervals(300, 8, 1)); // n = 10
    EXPECT_EQ(axis.scaleDirty, 0);
    EXPECT_EQ(axis.plotMax, 100);
    EXPECT_EQ(axis.interval, 20);
    EXPECT_EQ(AxisScale::TargetIntervals(300, 0, 1), 0);
}

TEST(PlotAxisUpdateScale, ExtentOnlyFollowsWhenItCoversTheData) {
    CPlotAxis axis;
    axis.dataMin = -10;
    axis.dataMax = 97;
    axis.fullMin = -10;
    axis.SetRequestedRange(0, 97);
    axis.UpdateScale(10);
    EXPECT_EQ(axis.fullMin, -10);
    EXPECT_EQ(axis.fullMax, 100);

    CPlotAxis time;
    time.timeAxis = 1;
    time.SetRequestedRange(0, 97);
    time.UpdateScale(10);
    EXPECT_EQ(time.fullMax, 1);
}

TEST(PlotAxisUpdateScale, ReciprocalKeepsWorkingEndForZero) {
    CPlotAxis axis;
    axis.SetRequestedRange(1, 10);
    ASSERT_EQ(axis.SetScaleType(2), 1);
    axis.UpdateScale(5);
    EXPECT_DOUBLE_EQ(axis.plotMin, 0.1); // the nice end 0 would be 1/0
    EXPECT_DOUBLE_EQ(axis.plotMax, 1);
    EXPECT_DOUBLE_EQ(axis.interval, 0.25);
    EXPECT_EQ(axis.fullMax, 10); // the extent stays in data units
}

TEST(PlotAxisUpdateScale, TriangularAxisClampsAndCaps) {
    CPlotAxis axis(1);
    axis.SetRequestedRange(-0.05, 1.02);
    axis.UpdateScale(5, 0.1);
    EXPECT_EQ(axis.plotMin, 0);
    EXPECT_EQ(axis.plotMax, 1);
    EXPECT_DOUBLE_EQ(axis.interval, 0.1);
}

TEST(PlotAxisUpdateScale, ZeroFixedIntervalScalesAutomatically) {
    CPlotAxis axis;
    axis.fixedInterval = 1;
    axis.interval = 0;
    axis.UpdateScale(5);
    EXPECT_EQ(axis.interval, 0.25);
}

TEST(PlotAxisLogTicks, ThreeDecades) {
    CPlotAxis axis;
    axis.SetRequestedRange(3, 700);
    ASSERT_EQ(axis.SetScaleType(1), 1);
    axis.UpdateScale(5);
    EXPECT_EQ(Ticks(axis), (std::vector<double>{1, 5, 10, 50, 100, 500, 1000}));
    EXPECT_EQ(axis.tickList.size(), 18u);
    EXPECT_DOUBLE_EQ(axis.plotMin, 0);
    EXPECT_DOUBLE_EQ(axis.plotMax, 3);
    EXPECT_DOUBLE_EQ(axis.interval, 1.5);
}

TEST(PlotAxisLogTicks, TrimsToWorkingRange) {
    CPlotAxis axis;
    axis.scaleType = 1;
    axis.viewMin = 25;
    axis.viewMax = 30;
    axis.LogTickList(); // one decade: 10, 20, 40, ...
    EXPECT_EQ(Ticks(axis), (std::vector<double>{20, 40}));

    axis.viewMin = 0; // falls back to the data minimum for the decades
    axis.dataMin = 2;
    axis.viewMax = 50;
    axis.LogTickList();
    EXPECT_EQ(Ticks(axis), (std::vector<double>{1, 2, 5, 10, 20, 50}));
    EXPECT_DOUBLE_EQ(axis.plotMax, std::log10(50));
}

TEST(PlotAxisLogTicks, ManyDecadesAndBadRanges) {
    CPlotAxis axis;
    axis.scaleType = 1;
    axis.viewMin = 1e-3;
    axis.viewMax = 1e5;
    axis.LogTickList(); // 8 decades, rounded to 10: a tick every 2 decades
    const std::vector<double> expected{1e-3, 0.1, 10, 1e3, 1e5};
    const std::vector<double> got = Ticks(axis);
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t i = 0; i < got.size(); ++i)
        EXPECT_NEAR(got[i] / expected[i], 1, 1e-12);

    for (auto [lo, hi] : {std::pair{5.0, 5.0}, {5.0, 1.0}, {kNaN, 5.0}, {1.0, kInf}}) {
        axis.viewMin = lo;
        axis.viewMax = hi;
        axis.dataMin = lo;
        axis.LogTickList();
        EXPECT_EQ(Ticks(axis), expected) << lo << " " << hi;
    }
    // Decades reaching past the double range have no tick to show: the list stays.
    axis.viewMin = 1e-5;
    axis.viewMax = 1.7e308;
    axis.LogTickList();
    EXPECT_EQ(Ticks(axis), expected);
    EXPECT_TRUE(std::isfinite(axis.plotMax));
}

TEST(PlotAxisProbabilityTicks, FullRangeShowsAllTicks) {
    CPlotAxis axis;
    axis.SetRequestedRange(0, 100);
    ASSERT_EQ(axis.SetScaleType(3), 1);
    axis.UpdateScale(5);
    EXPECT_EQ(axis.viewMin, 0.01);
    EXPECT_EQ(axis.viewMax, 99.99);
    const std::vector<double> ticks = Ticks(axis);
    ASSERT_EQ(ticks.size(), 17u);
    EXPECT_EQ(ticks.front(), 0.01);
    EXPECT_EQ(ticks.back(), 99.99);
    EXPECT_EQ(axis.tickList[17], 0);
    EXPECT_DOUBLE_EQ(axis.plotMin, axis.ToPlot(0.01));
    EXPECT_NEAR(axis.plotMax, -axis.plotMin, 1e-9);
}

TEST(PlotAxisProbabilityTicks, PartialAndInvertedRanges) {
    CPlotAxis axis;
    axis.scaleType = 3;
    axis.viewMin = 20;
    axis.viewMax = 70.00005;
    axis.ProbabilityTicks();
    EXPECT_EQ(Ticks(axis), (std::vector<double>{20, 30, 40, 50, 60, 70}));
    axis.viewMin = 80;
    axis.viewMax = 10;
    axis.ProbabilityTicks();
    EXPECT_EQ(Ticks(axis).size(), 17u);
}

TEST(PlotAxisTransform, RoundTrips) {
    for (double v : {-1e6, -2.5, 0.0, 3.25, 1e9}) {
        EXPECT_EQ(AxisTransform::FromPlot(0, AxisTransform::ToPlot(0, v)), v);
    }
    for (double v : {1e-7, 0.3, 1.0, 42.0, 1e12}) {
        EXPECT_NEAR(AxisTransform::FromPlot(1, AxisTransform::ToPlot(1, v)) / v, 1, 1e-13);
    }
    for (double v : {-4.0, -1e-3, 0.25, 7.0}) {
        EXPECT_NEAR(AxisTransform::FromPlot(2, AxisTransform::ToPlot(2, v)) / v, 1, 1e-15);
    }
    for (double v : {0.01, 0.1, 5.0, 50.0, 87.5, 99.9, 99.99}) {
        EXPECT_NEAR(AxisTransform::FromPlot(3, AxisTransform::ToPlot(3, v)), v, 1e-9 * (1 + v));
    }
}

TEST(PlotAxisTransform, SpecialValuesAndAccuracy) {
    EXPECT_EQ(AxisTransform::ToPlot(1, 0), 1e28);
    EXPECT_EQ(AxisTransform::ToPlot(1, -3), 1e28);
    EXPECT_EQ(AxisTransform::ToPlot(2, 0), 1e28);
    EXPECT_EQ(AxisTransform::FromPlot(2, 0), 1e28);
    EXPECT_EQ(AxisTransform::ToPlot(3, 50), 0);
    EXPECT_EQ(AxisTransform::FromPlot(3, 0), 50);
    EXPECT_NEAR(AxisTransform::NormalCdf(1.959964), 0.975, 2e-4);
    EXPECT_NEAR(AxisTransform::NormalCdf(-1), 0.158655, 2e-4);
    EXPECT_NEAR(AxisTransform::NormalQuantile(0.975), 1.959964, 2e-3);
    EXPECT_DOUBLE_EQ(AxisTransform::ToPlot(3, 100), 6 * std::sqrt(2.0));
    EXPECT_DOUBLE_EQ(AxisTransform::ToPlot(3, 0), -6 * std::sqrt(2.0));
    EXPECT_EQ(AxisTransform::FromPlot(3, 9), 100);
    EXPECT_EQ(AxisTransform::FromPlot(3, -9), 0);
}
