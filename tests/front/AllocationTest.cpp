// The typed live calls allocate nothing once the rings are full (support/AllocationHooks.h).
#include "front/PlotImpl.h"
#include "support/AllocationHooks.h"
#include "support/CtrlProbe.h"

#include <trendix/Plot.h>

#include <gtest/gtest.h>

#include <vector>

TEST(FrontAllocation, TypedLiveCallsInAWrappedRunPlotAllocateNothing) {
    constexpr int kVariables = 16;
    constexpr int kRows = 100;
    trendix::Plot plot;
    plot.setVariableCount(kVariables);
    plot.setBufferSize(2000);
    plot.setLive(true);
    std::vector<double> times(kRows), block(kRows * kVariables), step(kVariables);
    double time = 0;
    auto feedBlock = [&] {
        for (int r = 0; r < kRows; ++r) {
            times[std::size_t(r)] = time += 0.001;
            for (int v = 0; v < kVariables; ++v)
                block[std::size_t(r * kVariables + v)] = v + 0.1 * (r % 7);
        }
        plot.appendBlock(times, block);
    };
    for (int k = 0; k < 30; ++k) // wrap the rings and let the time axis move
        feedBlock();
    ASSERT_TRUE(plot.impl().model().XVar(0)->wrapped);
    ASSERT_TRUE(CtrlProbe::Scrolled(plot.impl().control()));
    const double axisEndBefore = plot.range(0).high;

    long allocations = 0;
    {
        CountingScope scope;
        for (int k = 0; k < 20; ++k)
            feedBlock();
        for (int k = 0; k < 500; ++k) {
            time += 0.001;
            plot.addSamples(time, step);
            for (int v = 1; v <= kVariables; ++v)
                plot.addSample(v, time + 0.0005, v);
        }
        allocations = scope.count();
    }
    EXPECT_EQ(allocations, 0);
    EXPECT_GT(plot.range(0).high, axisEndBefore); // the measured calls advanced the time axis
    EXPECT_EQ(plot.yValues(kVariables).back(), double(kVariables));
}
