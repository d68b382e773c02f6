// Counts heap allocations (support/AllocationHooks) on the drawing hot paths: mapping,
// polylines, curves and markers on an image.
#include "qt/QtDeviceContext.h"

#include "QtTestApp.h"
#include "render/PlotAxis.h"
#include "render/PlotDrawingRgn.h"
#include "render/PlotEnv.h"
#include "render/PlotPaintContext.h"
#include "render/PlotVar.h"
#include "support/AllocationHooks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

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

TEST(DrawingAllocations, MappingAndThinPolylinesAllocateNothing) {
    EnsureQtApp();
    Surface s;
    s.MapAndDraw(1); // warm up: buffers grow, the pen is made
    CountingScope scope;
    s.MapAndDraw(1);
    s.MapAndDraw(1);
    EXPECT_EQ(scope.count(), 0);
}

TEST(DrawingAllocations, WideSolidPolylinesAllocateNothing) {
    EnsureQtApp();
    Surface s;
    s.MapAndDraw(5); // 2 units wide
    s.MapAndDraw(8); // 8 units wide
    CountingScope scope;
    s.MapAndDraw(5);
    s.MapAndDraw(8);
    EXPECT_EQ(scope.count(), 0);
}

// Allocations of one curve of n samples drawn through the region with a solid pen two units
// wide, after a first drawing has grown the buffers.
long CurveAllocations(std::uint32_t n) {
    Surface s;
    CPlotPaintContext ctx(s.dc, s.env);
    CPlotDrawingRgn region;
    region.rect.right = 800;
    region.rect.bottom = 500;
    CPlotAxis axis;
    CPlotVar x{true}, y{false};
    x.Resize(n);
    y.Resize(n);
    for (std::uint32_t i = 0; i < n; ++i) {
        x.SetAt(i, i * 9999.0 / n);
        y.SetAt(i, i % 997 == 0 ? MISSING_VALUE : std::sin(i * 0.37));
    }
    y.lineType = 4;
    region.DrawCurve(ctx, ctx.env.CurveMapping(), x, y, axis, axis);
    CountingScope scope;
    region.DrawCurve(ctx, ctx.env.CurveMapping(), x, y, axis, axis);
    return scope.count();
}

TEST(DrawingAllocations, CurvesAllocateNothingPerSample) {
    EnsureQtApp();
    // Saving the painter's state allocates a little per curve, but never per sample.
    const long few = CurveAllocations(2000);
    EXPECT_LE(few, 8);
    EXPECT_EQ(CurveAllocations(200000), few);
}

TEST(DrawingAllocations, MarkersAllocateNothingOnceTheirPensAreMade) {
    EnsureQtApp();
    Surface s;
    s.Markers(3);
    CountingScope scope;
    s.Markers(3);
    EXPECT_EQ(scope.count(), 0);
}
