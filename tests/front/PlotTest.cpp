// The typed front, driven as a host drives it: typed members, series of any length, blocks of
// live samples, and refusals that leave the plot as it was.
#include "front/PlotImpl.h"
#include "support/CtrlProbe.h"

#include <trendix/Plot.h>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <vector>

namespace {

using trendix::Error;
using trendix::Plot;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// The status a front call fails with; 0 when it succeeds.
std::uint32_t StatusOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const Error& e) {
        EXPECT_FALSE(std::string(e.what()).empty());
        return e.hresult();
    }
    return 0;
}

// NaN compares equal to NaN here: missing samples read back as NaN.
void ExpectSameSamples(const std::vector<double>& actual, const std::vector<double>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) {
        if (std::isnan(expected[i]))
            ASSERT_TRUE(std::isnan(actual[i])) << "at " << i;
        else
            ASSERT_EQ(actual[i], expected[i]) << "at " << i;
    }
}

// What a plain array holds after the front stores values: non-finite ones are missing.
std::vector<double> Stored(const std::vector<double>& values) {
    std::vector<double> out(values);
    for (double& v : out)
        if (!std::isfinite(v)) v = kNaN;
    return out;
}

std::vector<double> RandomSeries(std::mt19937& rng, std::size_t n) {
    std::uniform_real_distribution<double> value(-1e6, 1e6);
    std::uniform_int_distribution<int> special(0, 49);
    std::vector<double> v(n);
    for (double& x : v) {
        const int s = special(rng);
        x = s == 0 ? kNaN : s == 1 ? kInf : s == 2 ? -kInf : value(rng);
    }
    return v;
}

TEST(FrontSeries, RandomSeriesOfAnyLengthReadBackAsAPlainArrayWouldHoldThem) {
    std::mt19937 rng(16);
    Plot plot;
    plot.setVariableCount(3);
    plot.setXVariableCount(2);
    plot.setXVariableOf(3, 2);
    for (const std::size_t n : {std::size_t(1), std::size_t(7), std::size_t(32767),
                                std::size_t(32768), std::size_t(250'000), std::size_t(3)}) {
        const std::vector<double> xs = RandomSeries(rng, n), ys = RandomSeries(rng, n);
        const std::vector<double> x1 = plot.xValues(1), y1 = plot.yValues(1);
        plot.setSeries(3, xs, ys);
        ExpectSameSamples(plot.xValues(2), Stored(xs));
        ExpectSameSamples(plot.yValues(3), Stored(ys));
        EXPECT_EQ(plot.yLength(3), n);
        // X variable 1 and the Y variables on it are untouched.
        ExpectSameSamples(plot.xValues(1), x1);
        ExpectSameSamples(plot.yValues(1), y1);
        const std::vector<double> alone = RandomSeries(rng, n + 5);
        plot.setYValues(1, alone);
        ExpectSameSamples(plot.yValues(1), Stored(alone));
        plot.setXValues(1, xs);
        ExpectSameSamples(plot.xValues(1), Stored(xs));
    }
}

TEST(FrontSeries, BothFrontsSeeTheSameSamplesAndTheAutomationKeepsItsLimits) {
    Plot plot;
    std::vector<double> xs(100'000), ys(xs.size());
    for (std::size_t i = 0; i < xs.size(); ++i) {
        xs[i] = double(i);
        ys[i] = double(i) * 0.5;
    }
    plot.setSeries(1, xs, ys);
    CTrendixCtrl& c = plot.impl().control();
    double v = 0;
    ASSERT_TRUE(c.GetData(1, 32767, v)); // the highest point number a 16-bit index reaches
    EXPECT_EQ(v, 32767 * 0.5);
    ASSERT_TRUE(c.GetData(0, 12, v));
    EXPECT_EQ(v, 12.0);
    EXPECT_FALSE(c.GetData(1, -1, v));
    // A point set by number lands in the same buffer; NaN is stored as missing.
    c.SetData(1, 10, kNaN);
    EXPECT_TRUE(std::isnan(plot.yValues(1)[10]));
    c.SetData(1, 11, 7.25);
    EXPECT_EQ(plot.yValues(1)[11], 7.25);
    // npoints still resizes every variable, as it always did.
    c.Setnpoints(50);
    EXPECT_EQ(plot.yLength(1), 50u);
    EXPECT_EQ(plot.xLength(1), 50u);
}

TEST(FrontSeries, CopyIntoABufferAnswersTheCountAndRefusesOneTooShort) {
    Plot plot;
    const std::vector<double> xs{1, 2, 3}, ys{4, kNaN, 6};
    plot.setSeries(1, xs, ys);
    std::vector<double> out(5, -1);
    EXPECT_EQ(plot.copyYValues(1, out), 3u);
    EXPECT_EQ(out[0], 4);
    EXPECT_TRUE(std::isnan(out[1]));
    EXPECT_EQ(out[3], -1); // beyond the count nothing is written
    std::vector<double> shortBuffer(2);
    EXPECT_EQ(StatusOf([&] { plot.copyXValues(1, shortBuffer); }), Error::kInvalidArgument);
}

// ---------------------------------------------------------------------------------------------
// Refused calls

struct Refusal {
    const char* what;
    std::function<void(Plot&)> call;
    std::uint32_t status;
};

// A plot with data in it, so that a refused call has something to spoil.
void Fill(Plot& plot) {
    plot.setVariableCount(2);
    plot.setTitle("Before");
    plot.setSeries(1, std::vector<double>{1, 2, 3}, std::vector<double>{3, 1, 2});
    plot.setYValues(2, std::vector<double>{5, 6, 7});
}

TEST(FrontRefusals, EveryBadInputRaisesErrorAndLeavesThePlotAsItWas) {
    const std::vector<double> three{1, 2, 3}, two{1, 2}, none;
    const std::vector<Refusal> cases = {
        {"spans of different lengths", [&](Plot& p) { p.setSeries(1, three, two); },
         Error::kInvalidArgument},
        {"empty series", [&](Plot& p) { p.setSeries(1, none, none); }, Error::kInvalidArgument},
        {"empty Y values", [&](Plot& p) { p.setYValues(1, none); }, Error::kInvalidArgument},
        {"empty X values", [&](Plot& p) { p.setXValues(1, none); }, Error::kInvalidArgument},
        {"variable 0", [&](Plot& p) { p.setSeries(0, three, three); }, Error::kInvalidArgument},
        {"variable past the end", [&](Plot& p) { p.setYValues(3, three); },
         Error::kInvalidArgument},
        {"X variable past the end", [&](Plot& p) { p.setXValues(2, three); },
         Error::kInvalidArgument},
        {"reading variable 3", [&](Plot& p) { (void)p.yValues(3); }, Error::kInvalidArgument},
        {"axis past the end",
         [&](Plot& p) {
             p.setRange(2, {0, 1});
         },
         Error::kInvalidArgument},
        {"negative axis", [&](Plot& p) { p.setAxisLabel(-1, "x"); }, Error::kInvalidArgument},
        {"NaN bound",
         [&](Plot& p) {
             p.setRange(1, {kNaN, 1});
         },
         Error::kInvalidArgument},
        {"unknown scale", [&](Plot& p) { p.setScale(0, trendix::ScaleKind(7)); },
         Error::kInvalidArgument},
        {"unknown kind", [&](Plot& p) { p.setKind(trendix::PlotKind(-1)); },
         Error::kInvalidArgument},
        {"multiplier 31", [&](Plot& p) { p.setMultiplier(0, 31); }, Error::kInvalidArgument},
        {"no variables", [&](Plot& p) { p.setVariableCount(0); }, Error::kInvalidArgument},
        {"32768 variables", [&](Plot& p) { p.setVariableCount(32768); }, Error::kInvalidArgument},
        {"buffer of 0", [&](Plot& p) { p.setBufferSize(0); }, Error::kInvalidArgument},
        {"time window 0", [&](Plot& p) { p.setTimeWindow(0); }, Error::kInvalidArgument},
        {"infinite window", [&](Plot& p) { p.setTimeWindow(kInf); }, Error::kInvalidArgument},
        {"curve colour -1",
         [&](Plot& p) {
             p.setCurveStyle(1, {-1, 0, 0});
         },
         Error::kInvalidArgument},
        {"axis map beyond", [&](Plot& p) { p.setAxisOf(1, 3); }, Error::kInvalidArgument},
        {"sample into a plot that is not live", [&](Plot& p) { p.addSample(1, 0, 1); },
         Error::kWrongMode},
        {"block into a plot that is not live", [&](Plot& p) { p.appendBlock(three, three); },
         Error::kWrongMode},
        {"empty size", [&](Plot& p) { p.setSize(0, 10); }, Error::kInvalidArgument},
    };
    for (const Refusal& r : cases) {
        Plot plot;
        Fill(plot);
        const std::string before = plot.settings();
        const std::vector<double> x1 = plot.xValues(1), y1 = plot.yValues(1), y2 = plot.yValues(2);
        EXPECT_EQ(StatusOf([&] { r.call(plot); }), r.status) << r.what;
        EXPECT_EQ(plot.settings(), before) << r.what;
        ExpectSameSamples(plot.xValues(1), x1);
        ExpectSameSamples(plot.yValues(1), y1);
        ExpectSameSamples(plot.yValues(2), y2);
    }
}

TEST(FrontRefusals, LiveInputIsCheckedBeforeAnySampleIsStored) {
    const std::vector<double> times{0.1, 0.2}, fourValues{1, 2, 3, 4}, threeValues{1, 2, 3};
    const std::vector<Refusal> cases = {
        {"values that make no whole rows", [&](Plot& p) { p.appendBlock(times, threeValues); },
         Error::kInvalidArgument},
        {"rows wider than the variables", [&](Plot& p) { p.appendBlock(times, fourValues, 2); },
         Error::kInvalidArgument},
        {"a NaN time in the block",
         [&](Plot& p) {
             p.appendBlock(std::vector<double>{0.3, kNaN}, fourValues);
         },
         Error::kInvalidArgument},
        {"no times", [&](Plot& p) { p.appendBlock({}, fourValues); }, Error::kInvalidArgument},
        {"variable 3", [&](Plot& p) { p.addSample(3, 0.5, 1); }, Error::kInvalidArgument},
        {"infinite time", [&](Plot& p) { p.addSample(1, kInf, 1); }, Error::kInvalidArgument},
        {"three values for two variables", [&](Plot& p) { p.addSamples(0.5, threeValues); },
         Error::kInvalidArgument},
        {"a series into a live plot", [&](Plot& p) { p.setSeries(1, times, times); },
         Error::kWrongMode},
        {"NaN rewind", [&](Plot& p) { p.rewind(kNaN); }, Error::kInvalidArgument},
    };
    for (const Refusal& r : cases) {
        Plot plot;
        plot.setLive(true);
        plot.setVariableCount(2);
        plot.appendBlock(times, std::vector<double>{5, 6, 7, 8});
        const std::string before = plot.settings();
        const std::vector<double> t = plot.xValues(1), a = plot.yValues(1), b = plot.yValues(2);
        EXPECT_EQ(StatusOf([&] { r.call(plot); }), r.status) << r.what;
        EXPECT_EQ(plot.settings(), before) << r.what;
        ExpectSameSamples(plot.xValues(1), t);
        ExpectSameSamples(plot.yValues(1), a);
        ExpectSameSamples(plot.yValues(2), b);
    }
}

// ---------------------------------------------------------------------------------------------
// Live data

// The plain model of a ring: the newest capacity samples, oldest first.
std::vector<double> Newest(const std::vector<double>& all, std::size_t capacity) {
    const std::size_t from = all.size() > capacity ? all.size() - capacity : 0;
    return {all.begin() + std::ptrdiff_t(from), all.end()};
}

TEST(FrontLive, RandomBlocksGiveWhatOneSampleAtATimeGives) {
    std::mt19937 rng(7);
    constexpr int kVariables = 5;
    constexpr int kBuffer = 300;
    Plot blocks, single;
    for (Plot* p : {&blocks, &single}) {
        p->setLive(true);
        p->setBufferSize(kBuffer);
        p->setVariableCount(kVariables);
        p->setTimeWindow(2);
        p->setAxisOf(3, 2); // a second Y axis, to see both grow
    }
    std::uniform_int_distribution<int> rows(1, 40);
    std::uniform_real_distribution<double> value(-50, 50);
    std::uniform_int_distribution<int> special(0, 30);
    std::vector<double> allTimes;
    std::vector<std::vector<double>> allValues(kVariables);
    double time = 0;
    while (allTimes.size() < 1000) {
        const int n = rows(rng);
        std::vector<double> times, values;
        for (int r = 0; r < n; ++r) {
            time += 0.01;
            times.push_back(time);
            allTimes.push_back(time);
            for (int v = 0; v < kVariables; ++v) {
                const int s = special(rng);
                const double x = s == 0 ? kNaN : s == 1 ? kInf : value(rng);
                values.push_back(x);
                allValues[std::size_t(v)].push_back(std::isfinite(x) ? x : kNaN);
                single.addSample(v + 1, time, x);
            }
        }
        blocks.appendBlock(times, values);
    }
    ExpectSameSamples(blocks.xValues(1), Newest(allTimes, kBuffer));
    for (int v = 1; v <= kVariables; ++v) {
        ExpectSameSamples(blocks.yValues(v), Newest(allValues[std::size_t(v - 1)], kBuffer));
        ExpectSameSamples(single.yValues(v), blocks.yValues(v));
    }
    for (int axis = 0; axis <= 2; ++axis)
        EXPECT_EQ(blocks.range(axis), single.range(axis)) << "axis " << axis;
    EXPECT_EQ(blocks.settings(), single.settings());
    EXPECT_TRUE(CtrlProbe::Scrolled(blocks.impl().control())); // the time axis followed the data
}

TEST(FrontLive, OneTimeStepOfSomeVariablesAndARewind) {
    Plot plot;
    plot.setLive(true);
    plot.setVariableCount(4);
    plot.addSamples(0.5, std::vector<double>{1, 2});
    plot.addSamples(0.5, std::vector<double>{3, 4}, 3); // the same time step, variables 3 and 4
    plot.addSamples(1.0, std::vector<double>{5, 6, 7, 8});
    ExpectSameSamples(plot.xValues(1), {0.5, 1.0});
    ExpectSameSamples(plot.yValues(3), {3, 7});
    plot.addSample(2, 1.5, 9);
    ExpectSameSamples(plot.xValues(1), {0.5, 1.0, 1.5});
    ExpectSameSamples(plot.yValues(2), {2, 6, 9});
    // Every variable reads one value per time: none yet for variable 1 at 1.5.
    ExpectSameSamples(plot.yValues(1), {1, 5, kNaN});
    EXPECT_EQ(plot.yLength(4), 3u);
    plot.rewind(1.0);
    ExpectSameSamples(plot.xValues(1), {0.5, 1.0});
    ExpectSameSamples(plot.yValues(2), {2, 6});
}

// ---------------------------------------------------------------------------------------------
// Typed members

TEST(FrontMembers, WhatIsSetReadsBack) {
    Plot plot;
    // A new kind rebuilds the plot with one variable: the kind comes first.
    plot.setKind(trendix::PlotKind::Bar);
    EXPECT_EQ(plot.kind(), trendix::PlotKind::Bar);
    plot.setVariableCount(3);
    EXPECT_EQ(plot.variableCount(), 3);
    plot.setTitle("  Reactor  ");
    EXPECT_EQ(plot.title(), "  Reactor  ");
    plot.setXLabel("Time");
    plot.setYLabel("Level");
    EXPECT_EQ(plot.xLabel(), "Time");
    EXPECT_EQ(plot.yLabel(), "Level");
    plot.setAxisLabel(1, "Temperature");
    EXPECT_EQ(plot.axisLabel(1), "Temperature");
    EXPECT_EQ(plot.variableName(2), "Var. 2");
    plot.setVariableName(2, "Feed.T");
    EXPECT_EQ(plot.variableName(2), "Feed.T");
    EXPECT_EQ(plot.legend(2), "Var. 2"); // the first name became the legend and stays it
    plot.setLegend(2, "Feed");
    EXPECT_EQ(plot.legend(2), "Feed");
    plot.setCurveStyle(3, {5, 2, 7});
    EXPECT_EQ(plot.curveStyle(3), (trendix::CurveStyle{5, 2, 7}));
    plot.setAxisOf(3, 2);
    EXPECT_EQ(plot.axisOf(3), 2);
    EXPECT_EQ(plot.yAxisCount(), 2);
    plot.setRange(2, {10, -10});
    EXPECT_EQ(plot.range(2), (trendix::Range{-10, 10}));
    plot.setScale(1, trendix::ScaleKind::Logarithmic);
    EXPECT_EQ(plot.scale(1), trendix::ScaleKind::Logarithmic);
    plot.setMultiplier(0, 3);
    EXPECT_EQ(plot.multiplier(0), 3);
    plot.setDisplay(trendix::DisplayKind::Markers);
    EXPECT_EQ(plot.display(), trendix::DisplayKind::Markers);
    plot.setShowLegend(true);
    EXPECT_TRUE(plot.showLegend());
    plot.setTimeWindow(30);
    EXPECT_EQ(plot.timeWindow(), 30);
    plot.setTimeScrollUnit(5);
    EXPECT_EQ(plot.timeScrollUnit(), 5);
    plot.setBufferSize(500);
    EXPECT_EQ(plot.bufferSize(), 500);
    plot.setSize(640, 480);
    EXPECT_EQ(plot.width(), 640);
    EXPECT_EQ(plot.height(), 480);

    // The settings text carries the plot into another one.
    Plot copy;
    copy.setSettings(plot.settings());
    EXPECT_EQ(copy.title(), "  Reactor  ");
    EXPECT_EQ(copy.variableCount(), 3);
    EXPECT_EQ(copy.kind(), trendix::PlotKind::Bar);
    EXPECT_EQ(copy.curveStyle(3), (trendix::CurveStyle{5, 2, 7}));
    EXPECT_EQ(copy.legend(2), "Feed");
    EXPECT_EQ(copy.yAxisCount(), plot.yAxisCount());

    plot.setYValues(1, std::vector<double>{1, 2});
    plot.clear();
    EXPECT_EQ(plot.variableCount(), 1);
    EXPECT_EQ(plot.yLength(1), 0u);
    EXPECT_EQ(plot.kind(), trendix::PlotKind::Bar); // the kind stays, as the automation's Clear
}

TEST(FrontMembers, ZoomInShowsLessAndZoomFullShowsAllAgain) {
    Plot plot;
    plot.setSeries(1, std::vector<double>{0, 100}, std::vector<double>{0, 100});
    const trendix::Range full = plot.shownRange(0);
    plot.zoomIn();
    const trendix::Range in = plot.shownRange(0);
    EXPECT_LT(in.high - in.low, full.high - full.low);
    plot.zoomOut();
    plot.zoomFull();
    EXPECT_EQ(plot.shownRange(0), full);
}

TEST(FrontMembers, AMovedPlotKeepsItsData) {
    Plot plot;
    plot.setYValues(1, std::vector<double>{1, 2, 3});
    Plot moved(std::move(plot));
    ExpectSameSamples(moved.yValues(1), {1, 2, 3});
}

} // namespace
