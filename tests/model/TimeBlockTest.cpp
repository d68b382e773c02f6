// A block of samples stored by AddTimeBlock leaves the plot exactly as the same samples fed
// one by one through AddTimeData: the same stored data, the same axis ranges and growth
// reports, the same time-axis advance and the same picture. The comparison runs over random
// plots (ring sizes from 1, shared and hidden axes, every scale kind, fixed and autoscaled
// ranges, zoomed views) and random samples (missing, NaN and infinite values, line breaks,
// repeated and negative times, rings wrapping several times within a block).
#include "model/PlotLook.h"

#include "model/FakePlotHost.h"
#include "platform/gdi/RecordingDC.h"
#include "render/PlotEnv.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 400, kHeight = 310;

// One plot with its own host and drawing environment.
struct Plot {
    FakePlotHost host;
    CPlotEnv env;
    std::unique_ptr<CPlotLook> m;

    Plot(int variables, int capacity, float window) {
        env.locale = locale::Locale::Classic();
        host.runPlot = true;
        host.nvariables = variables;
        host.bufferSize = capacity;
        host.timeWindow = window;
        host.timeScrollUnit = window / 4;
        m = std::make_unique<CPlotLook>(host, &env);
    }
    std::vector<std::string> Picture() {
        gdi::RecordingDC dc{kWidth, kHeight};
        m->bufferWidth = kWidth;
        m->bufferHeight = kHeight;
        m->layoutDirty = 1;
        CPlotPaintContext ctx(dc, env);
        m->Paint(ctx, {0, 0, kWidth, kHeight}, false, 1, false);
        return dc.Drawing();
    }
};

// Doubles compared bit for bit: equal values, and NaN only where the other has the same NaN.
bool Same(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

void ExpectSameAxis(const CPlotAxis& a, const CPlotAxis& b, const std::string& where) {
    const double fa[] = {a.dataMin, a.dataMax, a.fullMin, a.fullMax, a.reqMin,   a.reqMax,
                         a.viewMin, a.viewMax, a.plotMin, a.plotMax, a.interval, a.intervalCopy};
    const double fb[] = {b.dataMin, b.dataMax, b.fullMin, b.fullMax, b.reqMin,   b.reqMax,
                         b.viewMin, b.viewMax, b.plotMin, b.plotMax, b.interval, b.intervalCopy};
    for (std::size_t i = 0; i < std::size(fa); ++i)
        EXPECT_TRUE(Same(fa[i], fb[i]))
            << where << " field " << i << ": " << fa[i] << " vs " << fb[i];
    EXPECT_EQ(a.scaleDirty, b.scaleDirty) << where;
    EXPECT_EQ(a.rangeSet, b.rangeSet) << where;
    EXPECT_EQ(a.tickList, b.tickList) << where;
}

void ExpectSameVariable(const CPlotVar& a, const CPlotVar& b, const std::string& where) {
    EXPECT_EQ(a.writePos, b.writePos) << where;
    EXPECT_EQ(a.wrapped, b.wrapped) << where;
    EXPECT_EQ(a.capacity, b.capacity) << where;
    EXPECT_EQ(a.highestIndex, b.highestIndex) << where;
    ASSERT_EQ(a.values.size(), b.values.size()) << where;
    for (std::size_t i = 0; i < a.values.size(); ++i)
        ASSERT_TRUE(Same(a.values[i], b.values[i]))
            << where << " slot " << i << ": " << a.values[i] << " vs " << b.values[i];
}

void ExpectSamePlot(const CPlotLook& a, const CPlotLook& b, const std::string& where) {
    ASSERT_EQ(a.NYAxes(), b.NYAxes());
    for (int k = 0; k <= a.NYAxes(); ++k) {
        const CPlotAxis* x = const_cast<CPlotLook&>(a).Axis(k);
        const CPlotAxis* y = const_cast<CPlotLook&>(b).Axis(k);
        ASSERT_EQ(x == nullptr, y == nullptr);
        if (x) ExpectSameAxis(*x, *y, where + " axis " + std::to_string(k));
    }
    ExpectSameVariable(*a.xVariables[0], *b.xVariables[0], where + " time");
    for (int v = 0; v < a.NYVars(); ++v)
        ExpectSameVariable(*a.yVariables[std::size_t(v)], *b.yVariables[std::size_t(v)],
                           where + " variable " + std::to_string(v + 1));
}

// The random plot and samples of one trial.
class Trial {
public:
    explicit Trial(unsigned seed) : rng_(seed) {}

    void Run() {
        const int variables = Pick({1, 2, 3, 5});
        // A negative time compares the newest slot with the one before it found by unsigned
        // arithmetic, which right after a wrap lands elsewhere unless the ring's length
        // divides 2^32: the second variable of such a row then gets a slot of its own one by
        // one, where a block takes one slot a row. Rings of other lengths see no negative
        // times.
        negativeTimes_ = Chance(0.6);
        const int capacity = negativeTimes_ ? Pick({1, 2, 4, 16, 64}) : Pick({3, 7, 16, 50});
        const float window = float(Pick({1, 5, 40}));
        Plot perSample(variables, capacity, window), block(variables, capacity, window);
        Configure(*perSample.m, *block.m, variables);
        ASSERT_EQ(perSample.m->NYAxes(), block.m->NYAxes());

        const int blocks = Pick({1, 2, 4, 8});
        for (int b = 0; b < blocks; ++b) {
            const int firstVar = 1 + int(Uniform(0, variables - 0.001));
            const int columns = 1 + int(Uniform(0, variables - firstVar + 1 - 0.001));
            const int rows = 1 + int(Uniform(0, 2.5 * capacity + 3));
            // Half the blocks hold plain ascending times only, as a live feed does.
            const bool plain = Chance(0.5);
            std::vector<double> times(static_cast<std::size_t>(rows)), values;
            for (double& t : times)
                t = plain ? time_ += Pick({0.01, 0.1, 0.5}) : NextTime();
            for (int i = 0; i < rows * columns; ++i)
                values.push_back(NextValue());

            bool grewOneByOne = false;
            for (int r = 0; r < rows; ++r)
                for (int c = 0; c < columns; ++c)
                    grewOneByOne |= perSample.m->AddTimeData(firstVar + c, times[std::size_t(r)],
                                                             values[std::size_t(r * columns + c)]);
            const bool grewInBlock = block.m->AddTimeBlock(times, values, firstVar);
            const std::string where = "block " + std::to_string(b);
            EXPECT_EQ(grewOneByOne, grewInBlock) << where;
            ExpectSamePlot(*perSample.m, *block.m, where);
            EXPECT_EQ(perSample.m->AdvanceTimeAxisIfNeeded(), block.m->AdvanceTimeAxisIfNeeded())
                << where;
            ExpectSamePlot(*perSample.m, *block.m, where + " after the advance");
            // A paint recomputes dirty scales, which changes how later samples widen them.
            if (Chance(0.5)) {
                EXPECT_EQ(perSample.Picture(), block.Picture()) << where;
            }
        }
        EXPECT_EQ(perSample.Picture(), block.Picture()) << "final picture";
        ExpectSamePlot(*perSample.m, *block.m, "after the final paint");
    }

private:
    // The same random axis choices for both plots.
    void Configure(CPlotLook& a, CPlotLook& b, int variables) {
        // Some variables on a second axis, some hidden (axis 0).
        for (int v = 0; v < variables; ++v) {
            const int axisNo = Pick({1, 1, 2, 0});
            a.SetAxisMap(v, axisNo);
            b.SetAxisMap(v, axisNo);
        }
        a.ApplyAxisMap();
        b.ApplyAxisMap();
        for (int k = 1; k <= a.NYAxes(); ++k) {
            const int scale = Pick({0, 0, 1, 2, 3});
            const bool fixed = Chance(0.25);
            // A zoomed view that the data lies partly outside of.
            const bool zoomed = Chance(0.3);
            const double low = Uniform(-2, 1), width = Uniform(0.01, 3);
            for (CPlotLook* m : {&a, &b}) {
                CPlotAxis* axis = m->Axis(k);
                if (!axis) continue;
                m->SetScale(k, scale);
                if (fixed) axis->resetRange = 0;
                if (!zoomed) continue;
                axis->rangeSet = 1;
                axis->viewMin = axis->reqMin = low;
                axis->viewMax = axis->reqMax = low + width;
            }
        }
    }
    double NextTime() {
        const double roll = Uniform(0, 1);
        if (roll < 0.03) return std::numeric_limits<double>::quiet_NaN();
        if (roll < 0.05) return std::numeric_limits<double>::infinity();
        if (roll < 0.10) return negativeTimes_ ? -1 : time_; // the newest time again
        if (roll < 0.18) return time_;                       // the same time as the last row
        if (roll < 0.21) return Uniform(0, time_);           // an earlier time, found or appended
        return time_ += Pick({0.01, 0.1, 0.5, 2.0});
    }
    double NextValue() {
        const double roll = Uniform(0, 1);
        if (roll < 0.04) return std::numeric_limits<double>::quiet_NaN();
        if (roll < 0.06) return -std::numeric_limits<double>::infinity();
        if (roll < 0.09) return MISSING_VALUE;
        if (roll < 0.11) return 2e28; // breaks a live line
        if (roll < 0.13) return Uniform(-1, 1) * 1e27;
        if (roll < 0.20) return Uniform(1e-6, 1e-3); // positive, for logarithmic axes
        return Uniform(-3, 5) * Pick({1, 1, 100});
    }
    double Uniform(double lo, double hi) { return std::uniform_real_distribution<>(lo, hi)(rng_); }
    bool Chance(double p) { return Uniform(0, 1) < p; }
    template <class T>
    T Pick(std::initializer_list<T> choices) {
        const auto i = std::size_t(Uniform(0, double(choices.size()) - 1e-9));
        return choices.begin()[i];
    }
    int Pick(std::initializer_list<int> choices) { return Pick<int>(choices); }
    double Pick(std::initializer_list<double> choices) { return Pick<double>(choices); }

    std::mt19937 rng_;
    bool negativeTimes_ = false;
    double time_ = 0;
};

} // namespace

TEST(TimeBlock, StoresAndWidensExactlyAsOneSampleAtATime) {
    for (unsigned seed = 1; seed <= 300; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Trial(seed).Run();
        if (testing::Test::HasFailure()) break;
    }
}
