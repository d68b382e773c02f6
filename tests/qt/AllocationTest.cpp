// Counts heap allocations on the drawing hot paths: mapping, polylines and markers on an
// image. The replaced global operators serve the whole test executable, so counting is
// switched on only inside the measured loops.
#include "qt/QtDeviceContext.h"

#include "QtTestApp.h"
#include "render/PlotEnv.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
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

struct Surface {
    QImage image{800, 500, QImage::Format_RGB32};
    QtDeviceContext dc{image, gdi::DeviceKind::Memory};
    CDrawTool tool;
    CPlotEnv env{tool};
    std::vector<gdi::Point> points;

    Surface() {
        image.fill(Qt::white);
        env.SetMapping(gdi::Rect{0, 0, 800, 500}, 0, 9999, 1.2f, -1.2f);
        points.reserve(10000);
    }
    void MapAndDraw(int lineType) {
        points.clear();
        for (int i = 0; i < 10000; ++i) {
            int dx = 0, dy = 0;
            const float y = i % 997 == 0 ? NAN : static_cast<float>(std::sin(i * 0.01));
            if (env.WorldToDevice(static_cast<float>(i), y, dx, dy)) points.push_back({dx, dy});
        }
        const gdi::Pen old = env.SelectPen(dc, 2, lineType);
        dc.Polyline(points);
        dc.SelectPen(old);
    }
    // Every kind, a hundred of each, in one colour as a curve's markers are.
    void Markers(int color) {
        for (int i = 0; i < 1200; ++i)
            env.DrawMarker(dc, i / 100, 20 + (i * 7) % 760, 20 + (i * 13) % 460, color, 4);
    }
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

TEST(DrawingAllocations, MappingAndThinPolylinesAllocateNothing) {
    EnsureQtApp();
    Surface s;
    s.MapAndDraw(1); // warm up: buffers grow, the pen is made
    CountingScope scope;
    s.MapAndDraw(1);
    s.MapAndDraw(1);
    EXPECT_EQ(scope.count(), 0);
}

TEST(DrawingAllocations, MarkersAllocateNothingOnceTheirPensAreMade) {
    EnsureQtApp();
    Surface s;
    s.Markers(3);
    CountingScope scope;
    s.Markers(3);
    EXPECT_EQ(scope.count(), 0);
}
