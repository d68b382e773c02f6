// Range arithmetic of CPlotAxis: autoscaling, range setters, zoom and scroll.
#include "render/PlotAxis.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// A linear axis showing [lo, hi] of the extent [fullLo, fullHi], data over the extent.
CPlotAxis Showing(double lo, double hi, double fullLo, double fullHi, double interval) {
    CPlotAxis axis;
    axis.dataMin = axis.fullMin = fullLo;
    axis.dataMax = axis.fullMax = fullHi;
    axis.reqMin = axis.viewMin = axis.plotMin = lo;
    axis.reqMax = axis.viewMax = axis.plotMax = hi;
    axis.interval = interval;
    axis.scaleDirty = 0;
    return axis;
}

void ExpectPair(double lo, double hi, double wantLo, double wantHi) {
    EXPECT_NEAR(lo, wantLo, 1e-9);
    EXPECT_NEAR(hi, wantHi, 1e-9);
}

void ExpectView(const CPlotAxis& axis, double lo, double hi) {
    ExpectPair(axis.viewMin, axis.viewMax, lo, hi);
}

} // namespace

TEST(PlotAxisAddValue, FirstValueOfABatchSetsTheRange) {
    CPlotAxis axis;
    axis.scaleDirty = 0;
    EXPECT_TRUE(axis.AddValue(10, true));
    ExpectPair(axis.dataMin, axis.dataMax, 10, 10);
    ExpectPair(axis.reqMin, axis.reqMax, 9, 11);
    ExpectView(axis, 9, 11);
    EXPECT_EQ(axis.rangeSet, 1);
    EXPECT_EQ(axis.scaleDirty, 1);

    CPlotAxis zero;
    EXPECT_TRUE(zero.AddValue(0, true));
    ExpectPair(zero.reqMin, zero.reqMax, -1e-5, 1e-5);

    // Once the range is set, the first value of the next batch only widens it.
    EXPECT_TRUE(axis.AddValue(20, true));
    ExpectPair(axis.dataMin, axis.dataMax, 10, 20);
}

TEST(PlotAxisAddValue, WidensWithMarginOnlyBeyondTheView) {
    CPlotAxis axis = Showing(0, 10, 0, 10, 2);
    axis.rangeSet = 1;
    EXPECT_FALSE(axis.AddValue(5, false));
    EXPECT_EQ(axis.scaleDirty, 0);
    EXPECT_TRUE(axis.AddValue(9.5, false)); // within the 10 % margin of the high end
    EXPECT_NEAR(axis.reqMax, 10.5, 1e-6);
    EXPECT_EQ(axis.scaleDirty, 1);
    EXPECT_TRUE(axis.AddValue(-3, false));
    EXPECT_NEAR(axis.reqMin, -4, 1e-6);
    EXPECT_EQ(axis.dataMin, -3);

    axis.resetRange = 0;
    axis.scaleDirty = 0;
    EXPECT_FALSE(axis.AddValue(100, false));
    EXPECT_EQ(axis.dataMax, 100);
    EXPECT_NEAR(axis.reqMax, 10.5, 1e-6);
    EXPECT_EQ(axis.scaleDirty, 0);
}

TEST(PlotAxisAddValue, LogarithmicAxisTakesTheDataEnds) {
    CPlotAxis axis = Showing(1, 100, 1, 100, 0);
    axis.scaleType = 1;
    axis.rangeSet = 1;
    EXPECT_FALSE(axis.AddValue(50, false)); // compared in data units, not decades
    EXPECT_TRUE(axis.AddValue(400, false));
    EXPECT_EQ(axis.reqMax, 400);
    EXPECT_EQ(axis.viewMax, 400);
}

TEST(PlotAxisAddValue, TimeAxisAndMissingValues) {
    CPlotAxis time;
    time.timeAxis = 1;
    time.scaleDirty = 0;
    EXPECT_FALSE(time.AddValue(5, true));
    EXPECT_EQ(time.dataMax, 5);
    EXPECT_EQ(time.dataMin, 0);
    EXPECT_EQ(time.reqMax, 1);
    EXPECT_EQ(time.rangeSet, 0);
    EXPECT_EQ(time.scaleDirty, 0);

    CPlotAxis axis;
    for (double bad : {1e28, 9.1e27, kNaN, kInf, -kInf}) {
        EXPECT_FALSE(axis.AddValue(bad, true)) << bad;
    }
    EXPECT_EQ(axis.rangeSet, 0);
    EXPECT_EQ(axis.dataMax, 1);
    EXPECT_EQ(axis.reqMin, 0);
}

TEST(PlotAxisSetDataRange, ReplacesInSinglePrecision) {
    CPlotAxis axis;
    axis.scaleDirty = 0;
    axis.SetDataRange(0.1, 5, false);
    EXPECT_EQ(axis.dataMin, static_cast<double>(0.1f));
    EXPECT_EQ(axis.reqMin, static_cast<double>(0.1f));
    EXPECT_EQ(axis.plotMax, 5);
    EXPECT_EQ(axis.scaleDirty, 1);
    EXPECT_EQ(axis.unsettled, 0);

    axis.SetDataRange(3, 3, false); // a single value opens by 10 %
    ExpectPair(axis.dataMin, axis.dataMax, 2.7, 3.27);

    axis.SetDataRange(0, 0, false);
    ExpectPair(axis.dataMin, axis.dataMax, 0, 0);
    ExpectPair(axis.reqMin, axis.reqMax, -1e-5, 1e-5);

    axis.SetDataRange(kNaN, 4, false);
    EXPECT_EQ(axis.dataMax, 0);
}

TEST(PlotAxisSetDataRange, ExtendOnlyGrows) {
    CPlotAxis axis = Showing(0, 10, 0, 10, 2);
    axis.SetDataRange(2, 12, true);
    ExpectPair(axis.dataMin, axis.dataMax, 0, 12);
    ExpectPair(axis.reqMin, axis.reqMax, 0, 12);
    EXPECT_EQ(axis.plotMax, 12);
    axis.SetDataRange(-1, 1, true);
    EXPECT_EQ(axis.reqMin, -1);
    EXPECT_EQ(axis.plotMin, -1);
    EXPECT_EQ(axis.reqMax, 12);
}

TEST(PlotAxisSetViewRange, AppliesTheRange) {
    CPlotAxis axis = Showing(0, 1, 0, 1, 0.1);
    axis.fixedInterval = 1;
    axis.SetViewRange(2, 4);
    ExpectView(axis, 2, 4);
    ExpectPair(axis.reqMin, axis.reqMax, 2, 4);
    EXPECT_EQ(axis.fixedInterval, 1); // 20 intervals
    EXPECT_EQ(axis.rangeSet, 1);
    EXPECT_EQ(axis.scaleDirty, 1);
    axis.SetViewRange(0, 5); // 50 intervals
    EXPECT_EQ(axis.fixedInterval, 0);

    axis.fixedInterval = 1;
    axis.interval = 0;
    axis.SetViewRange(0, 1);
    EXPECT_EQ(axis.fixedInterval, 0);
}

TEST(PlotAxisSetViewRange, ReciprocalAndTimeAxes) {
    CPlotAxis recip;
    recip.reqMin = 1;
    ASSERT_EQ(recip.SetScaleType(2), 1);
    recip.SetViewRange(0, 4);
    ExpectPair(recip.reqMin, recip.reqMax, 0.004, 4);
    ExpectView(recip, 0.25, 250);

    CPlotAxis time = Showing(0, 10, 0, 20, 2);
    time.timeAxis = 1;
    time.dataMax = 8;
    time.SetViewRange(5, 15);
    EXPECT_EQ(time.fullMax, 15);
    ExpectPair(time.plotMin, time.plotMax, 5, 15);
    time.SetViewRange(0, 6); // before the data end: the extent stays
    EXPECT_EQ(time.fullMax, 15);
}

TEST(PlotAxisSetScaleType, ChecksTheRequestedRange) {
    CPlotAxis axis;
    axis.SetRequestedRange(-2, 5);
    EXPECT_EQ(axis.SetScaleType(2), 0); // straddles 0
    EXPECT_EQ(axis.scaleType, 0);
    EXPECT_EQ(axis.SetScaleType(1), 1);
    EXPECT_DOUBLE_EQ(axis.reqMin, 0.005);
    EXPECT_DOUBLE_EQ(axis.fullMin, 0.005);
    EXPECT_EQ(axis.fullMax, 5);
    EXPECT_EQ(axis.SetScaleType(1), 0); // unchanged
    EXPECT_EQ(axis.SetScaleType(4), 0);
    EXPECT_EQ(axis.SetScaleType(-1), 0);

    CPlotAxis big;
    big.SetRequestedRange(0, 5000);
    EXPECT_EQ(big.SetScaleType(1), 1);
    EXPECT_EQ(big.reqMin, 1);

    CPlotAxis negative;
    negative.SetRequestedRange(-5, 0);
    EXPECT_EQ(negative.SetScaleType(1), 0);
    EXPECT_EQ(negative.reqMin, -5);
    EXPECT_EQ(negative.SetScaleType(2), 1);
    EXPECT_DOUBLE_EQ(negative.reqMax, -0.005);

    // The log rule of the requested range.
    CPlotAxis log = big;
    log.SetRequestedRange(-5, 100);
    EXPECT_DOUBLE_EQ(log.reqMin, 0.1);
    log.SetRequestedRange(-5, 0.05);
    EXPECT_EQ(log.reqMin, -5);
}

TEST(PlotAxisZoom, InAndOut) {
    CPlotAxis axis = Showing(0, 100, 0, 100, 20);
    EXPECT_EQ(axis.ZoomAxis(0), 0);
    ExpectView(axis, 25, 75);
    ExpectPair(axis.reqMin, axis.reqMax, 25, 75);
    EXPECT_EQ(axis.scaleDirty, 1);
    EXPECT_EQ(axis.ZoomAxis(1), 1); // [0, 100] again: both data ends reached
    ExpectView(axis, 0, 100);

    axis = Showing(40, 60, 0, 100, 5);
    EXPECT_EQ(axis.ZoomAxis(1), 0);
    ExpectView(axis, 30, 70);
    axis = Showing(10, 90, 0, 100, 5);
    EXPECT_EQ(axis.ZoomAxis(1), 1);
    ExpectView(axis, 0, 100);
}

TEST(PlotAxisZoom, InStopsBelowTwoPerMille) {
    CPlotAxis axis = Showing(50, 50.19, 0, 100, 0.05);
    EXPECT_EQ(axis.ZoomAxis(0), 0);
    ExpectView(axis, 50, 50.19);
    EXPECT_EQ(axis.scaleDirty, 0);
    axis = Showing(50, 50.21, 0, 100, 0.05);
    axis.ZoomAxis(0);
    EXPECT_LT(axis.viewMax - axis.viewMin, 0.21);
}

TEST(PlotAxisZoom, OnlyLinearAndReciprocalZoom) {
    CPlotAxis axis = Showing(1, 100, 1, 100, 0);
    axis.scaleType = 1;
    EXPECT_EQ(axis.ZoomAxis(0), 0);
    ExpectView(axis, 1, 100);
    EXPECT_EQ(axis.ZoomAxis(7), 0);
    axis = Showing(kNaN, 1, 0, 1, 0.1);
    EXPECT_EQ(axis.ZoomAxis(1), 0);
}

TEST(PlotAxisZoom, Reset) {
    CPlotAxis axis = Showing(25, 75, 0, 100, 10);
    axis.dataMin = 3;
    axis.dataMax = 97;
    EXPECT_EQ(axis.ZoomAxis(2), 1);
    ExpectPair(axis.reqMin, axis.reqMax, 3, 97);
    ExpectView(axis, 3, 97);
    EXPECT_EQ(axis.scaleDirty, 1);

    // A single data value takes a wide enough plot range, else opens by 10 %.
    axis = Showing(4, 6, 0, 10, 1);
    axis.dataMin = axis.dataMax = 5;
    EXPECT_EQ(axis.ZoomAxis(2), 1);
    ExpectPair(axis.reqMin, axis.reqMax, 4, 6);
    axis = Showing(5, 5, 0, 10, 1);
    axis.dataMin = axis.dataMax = 5;
    axis.ZoomAxis(2);
    ExpectPair(axis.reqMin, axis.reqMax, 4.5, 5.45);
    EXPECT_DOUBLE_EQ(axis.plotMax, 5.45);

    CPlotAxis time = Showing(0, 10, 0, 20, 2);
    time.timeAxis = 1;
    time.dataMax = 14;
    time.ZoomAxis(2);
    EXPECT_EQ(time.fullMax, 14);
    EXPECT_EQ(time.reqMax, 14);
}

TEST(PlotAxisScroll, Positions) {
    CPlotAxis axis = Showing(25, 50, 0, 100, 5);
    int p0 = -1, p1 = -1;
    axis.ScrollPositions(p0, p1);
    EXPECT_EQ(p0, 250);
    EXPECT_EQ(p1, 500);
    axis.reversed = 1;
    axis.ScrollPositions(p0, p1);
    EXPECT_EQ(p0, 500);
    EXPECT_EQ(p1, 750);

    axis = Showing(0, 100, 0, 100, 5);
    axis.ScrollPositions(p0, p1);
    EXPECT_EQ(p0, 0);
    EXPECT_EQ(p1, 1000);
    axis = Showing(25, 50, 0, 100, 5);
    axis.scaleType = 1;
    axis.ScrollPositions(p0, p1);
    EXPECT_EQ(p1 - p0, 1000);
    axis = Showing(25, 50, 7, 7, 5); // no extent
    axis.ScrollPositions(p0, p1);
    EXPECT_EQ(p1 - p0, 1000);
}

TEST(PlotAxisScroll, ToPositions) {
    CPlotAxis axis = Showing(0, 100, 0, 100, 5);
    axis.ScrollToPositions(250, 500, false);
    ExpectView(axis, 25, 50);
    EXPECT_EQ(axis.reqMin, 25);
    EXPECT_EQ(axis.plotMax, 50);
    EXPECT_EQ(axis.scaleDirty, 0);

    axis.reversed = 1;
    axis.ScrollToPositions(250, 500, true);
    ExpectView(axis, 50, 75);
    EXPECT_EQ(axis.plotMax, 50); // deferred: the scale is recomputed later
    EXPECT_EQ(axis.scaleDirty, 1);
}

TEST(PlotAxisScroll, LineAndPageSteps) {
    CPlotAxis axis = Showing(20, 40, 0, 100, 5);
    axis.ScrollStep(1, 0, false, false);
    ExpectView(axis, 25, 45);
    EXPECT_EQ(axis.plotMin, 25);
    axis.ScrollStep(0, 0, false, false);
    ExpectView(axis, 20, 40);
    axis.reversed = 1;
    axis.ScrollStep(0, 0, false, false); // reversed: code 0 moves up
    ExpectView(axis, 25, 45);

    axis = Showing(10, 30, 0, 100, 5);
    axis.ScrollStep(2, 0, false, false);
    ExpectView(axis, 0, 20);
    axis.ScrollStep(2, 0, false, false); // already at the low end
    ExpectView(axis, 0, 20);
    axis = Showing(70, 90, 0, 100, 5);
    axis.ScrollStep(3, 0, false, false);
    ExpectView(axis, 80, 100);
    axis.ScrollStep(1, 0, false, false);
    ExpectView(axis, 80, 100);

    axis = Showing(20, 40, 0, 100, 0); // no interval: no step
    axis.ScrollStep(1, 0, false, false);
    ExpectView(axis, 20, 40);
}

TEST(PlotAxisScroll, Thumb) {
    CPlotAxis axis = Showing(20, 40, 0, 100, 5);
    axis.ScrollStep(5, 500, false, false); // horizontal: from the low end, 49.95 -> 45
    ExpectView(axis, 45, 65);
    axis.ScrollStep(5, 460, false, false); // 45.95: within half a step
    ExpectView(axis, 45, 65);
    axis.ScrollStep(5, 0, true, false); // vertical: from the high end
    ExpectView(axis, 80, 100);
    axis.ScrollStep(5, 1000, true, true); // ends inside the extent
    ExpectView(axis, 0, 20);
    EXPECT_EQ(axis.scaleDirty, 1);
}

TEST(PlotAxisScroll, TimeAxis) {
    CPlotAxis time = Showing(0, 2, 0, 10, 0.5);
    time.timeAxis = 1;
    time.dataMax = 7.3;
    time.ScrollStep(1, 2, false, false, 0.25, 2);
    ExpectView(time, 5.3, 7.3);
    EXPECT_DOUBLE_EQ(time.plotMin, 5.3);
    time.ScrollStep(1, 1, false, false, 0.25, 2);
    ExpectView(time, 8, 10);
    time.ScrollStep(0, 0, false, false, 0.25, 2);
    ExpectView(time, 7.75, 9.75);
    time.ScrollStep(2, 0, false, false, 0.25, 2);
    ExpectView(time, 5.75, 7.75);

    time = Showing(0.1, 2.1, 0.2, 10, 0.5);
    time.timeAxis = 1;
    time.dataMax = 1;
    time.ScrollStep(1, 2, false, false, 0.25, 3); // from 0 when the window reaches before it
    ExpectView(time, 0, 1);
}

TEST(PlotAxisDrawnRange, SwappedWhenReversed) {
    CPlotAxis axis = Showing(2, 8, 0, 10, 1);
    double lo = 0, hi = 0;
    axis.DrawnRange(lo, hi);
    EXPECT_EQ(lo, 2);
    EXPECT_EQ(hi, 8);
    axis.reversed = 1;
    axis.DrawnRange(lo, hi);
    EXPECT_EQ(lo, 8);
    EXPECT_EQ(hi, 2);
}
