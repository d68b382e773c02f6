#include "QtTestApp.h"

#include "qt/QtDeviceContext.h"
#include "render/CurveGeometry.h"
#include "render/PlotAxis.h"
#include "render/PlotDrawingRgn.h"
#include "render/PlotEnv.h"
#include "render/PlotPaintContext.h"
#include "render/PlotVar.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

// A dense noisy curve: many samples per pixel column, with steps and spikes.
void FillDenseCurve(CPlotVar& x, CPlotVar& y, std::uint32_t n) {
    x.Resize(n);
    y.Resize(n);
    std::mt19937 random(7);
    std::uniform_real_distribution<double> noise(-0.2, 0.2);
    for (std::uint32_t i = 0; i < n; ++i) {
        const double t = i * 10.0 / n;
        x.SetAt(i, t);
        y.SetAt(i, 5 + 3 * std::sin(t * 3) + noise(random) + (i % 997 == 0 ? 2 : 0));
    }
}

QImage DrawCurve(CPlotVar& x, CPlotVar& y, bool reduce) {
    QtDeviceContext dc(160, 100);
    CPlotEnv env;
    CPlotPaintContext ctx(dc, env);
    CPlotDrawingRgn region;
    region.rect.right = 160;
    region.rect.bottom = 100;
    env.SetMapping(gdi::Rect{0, 0, 160, 100}, 0, 10, 10, 0);
    CPlotAxis axis;
    y.lineType = 0;
    y.color = 1;
    if (reduce) {
        region.DrawCurve(ctx, x, y, axis, axis); // reduces a thin solid line per column
    } else {
        // The same buffered points drawn without reduction.
        region.DrawCurve(ctx, x, y, axis, axis);
        dc.FillSolidRect(gdi::Rect{0, 0, 160, 100}, 0xFFFFFF);
        std::vector<gdi::Point> all;
        CurveGeometry::CopyPoints(
            std::span<const std::pair<int, int>>(y.devicePoints.data(), y.devicePointCount), all);
        env.SelectPen(dc, 1, 1);
        dc.Polyline(all);
    }
    dc.End();
    return dc.Image()->copy();
}

TEST(CurvePixels, ColumnReductionLeavesAThinLineUnchanged) {
    EnsureQtApp();
    CPlotVar x{true}, y{false};
    FillDenseCurve(x, y, 20000);
    const QImage reduced = DrawCurve(x, y, true);
    const QImage full = DrawCurve(x, y, false);
    ASSERT_EQ(reduced.size(), full.size());
    // Qt's cosmetic stroker still differs in a handful of end pixels of vertical runs
    // (5 of 16000 here); the bound keeps any real change to the picture from passing.
    EXPECT_LE(DifferingShare(reduced, full, 0), 0.0005);
    EXPECT_NE(reduced.pixel(80, 50), 0u); // something was drawn
}

TEST(CurvePixels, ReductionKeepsColumnExtremesInOrder) {
    const std::pair<int, int> points[] = {{0, 5}, {1, 3}, {1, 9}, {1, 1}, {1, 4}, {2, 2}};
    std::vector<gdi::Point> out;
    CurveGeometry::ReduceColumns(points, out);
    const std::vector<gdi::Point> expected = {{0, 5}, {1, 3}, {1, 9}, {1, 1}, {1, 4}, {2, 2}};
    EXPECT_EQ(out, expected);
    const std::pair<int, int> flat[] = {{3, 1}, {3, 2}, {3, 3}, {3, 4}, {3, 5}};
    CurveGeometry::ReduceColumns(flat, out);
    EXPECT_EQ(out, (std::vector<gdi::Point>{{3, 1}, {3, 5}}));
}

} // namespace
