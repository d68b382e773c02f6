// The typed live calls allocate nothing once the rings are full. The replaced global operators
// serve the whole test executable; counting is switched on only inside the measured loops.
#include "front/PlotImpl.h"

#include <trendix/Plot.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

namespace {

std::atomic<bool> g_counting{false};
std::atomic<long> g_allocations{0};

void* Allocate(std::size_t n) {
    if (g_counting.load(std::memory_order_relaxed))
        g_allocations.fetch_add(1, std::memory_order_relaxed);
    void* p = std::malloc(n ? n : 1);
    if (!p) throw std::bad_alloc();
    return p;
}

// Allocations made while it is alive.
class CountingScope {
public:
    CountingScope() {
        g_allocations = 0;
        g_counting = true;
    }
    ~CountingScope() { g_counting = false; }
    long count() const { return g_allocations.load(); }
};

} // namespace

void* operator new(std::size_t n) {
    return Allocate(n);
}
void* operator new[](std::size_t n) {
    return Allocate(n);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

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
    ASSERT_TRUE(plot.impl().control().Scrolled());
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
