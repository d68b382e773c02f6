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

enum class Shape { Noise, Sine, Steps, Spikes, Gaps };

// A dense curve of the given shape over x in [0, 10]: many samples per pixel column.
void FillDenseCurve(CPlotVar& x, CPlotVar& y, std::uint32_t n, Shape shape) {
    x.Resize(n);
    y.Resize(n);
    std::mt19937 random(7);
    std::uniform_real_distribution<double> noise(-0.2, 0.2);
    for (std::uint32_t i = 0; i < n; ++i) {
        const double t = i * 10.0 / n;
        double v = 5 + 3 * std::sin(t * 3);
        switch (shape) {
        case Shape::Noise:
            v = 5 + 4 * noise(random) * 10 / 2;
            break;
        case Shape::Sine:
            break;
        case Shape::Steps:
            v = 1 + std::floor(t * 1.7) * 0.9 + (i % 2 ? 0.01 : 0);
            break;
        case Shape::Spikes:
            v += noise(random) + (i % 997 == 0 ? 6 : 0) - (i % 1301 == 0 ? 7 : 0);
            break;
        case Shape::Gaps:
            v += noise(random);
            if ((i / 500) % 4 == 1) v = std::nan("");
            break;
        }
        x.SetAt(i, t);
        y.SetAt(i, v);
    }
}

// The curve drawn through the region (reduced per column) and, with the same buffered device
// points, as one plain polyline.
std::pair<QImage, QImage> DrawBothWays(CPlotVar& x, CPlotVar& y, int width, int height) {
    std::pair<QImage, QImage> pictures;
    for (int pass = 0; pass < 2; ++pass) {
        QtDeviceContext dc(width, height);
        CPlotEnv env;
        CPlotPaintContext ctx(dc, env);
        CPlotDrawingRgn region;
        region.rect.right = width;
        region.rect.bottom = height;
        env.SetMapping(gdi::Rect{0, 0, width, height}, 0, 10, 10, 0);
        CPlotAxis axis;
        y.lineType = 0;
        y.color = 1;
        region.DrawCurve(ctx, x, y, axis, axis);
        if (pass == 1) {
            dc.FillSolidRect(gdi::Rect{0, 0, width, height}, 0xFFFFFF);
            std::vector<gdi::Point> all;
            CurveGeometry::CopyPoints(
                std::span<const std::pair<int, int>>(y.devicePoints.data(), y.devicePointCount),
                all);
            gdi::StateScope state(dc);
            dc.IntersectClipRect(gdi::Rect{0, 0, width, height});
            env.SelectPen(dc, 1, 1);
            dc.Polyline(all);
        }
        dc.End();
        (pass == 0 ? pictures.first : pictures.second) = dc.Image()->copy();
    }
    return pictures;
}

int DifferingPixels(const QImage& a, const QImage& b) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += a.pixel(x, y) != b.pixel(x, y);
    return count;
}

int InkedPixels(const QImage& a) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += a.pixel(x, y) != qRgb(255, 255, 255);
    return count;
}

TEST(CurvePixels, ColumnReductionLeavesAThinLineUnchanged) {
    EnsureQtApp();
    const Shape shapes[] = {Shape::Noise, Shape::Sine, Shape::Steps, Shape::Spikes, Shape::Gaps};
    const QSize sizes[] = {{160, 100}, {37, 211}, {640, 80}};
    for (Shape shape : shapes) {
        CPlotVar x{true}, y{false};
        FillDenseCurve(x, y, 20000, shape);
        for (QSize size : sizes) {
            const auto [reduced, full] = DrawBothWays(x, y, size.width(), size.height());
            ASSERT_EQ(reduced.size(), full.size());
            EXPECT_EQ(DifferingPixels(reduced, full), 0)
                << "shape " << int(shape) << " size " << size.width() << "x" << size.height();
            EXPECT_GT(InkedPixels(reduced), size.width() / 2); // a curve was drawn
        }
    }
}

TEST(CurvePixels, ThinSegmentsCoverTheirStartAndLeaveOutTheirEnd) {
    EnsureQtApp();
    QtDeviceContext dc(20, 20);
    dc.SelectPen(gdi::Pen{gdi::PenStyle::Solid, 1, 0});
    dc.MoveTo(5, 15); // upwards
    dc.LineTo(5, 5);
    dc.MoveTo(15, 3); // leftwards
    dc.LineTo(8, 3);
    dc.End();
    const QImage& image = *dc.Image();
    EXPECT_NE(image.pixel(5, 15), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(5, 5), qRgb(255, 255, 255));
    EXPECT_NE(image.pixel(5, 6), qRgb(255, 255, 255));
    EXPECT_NE(image.pixel(15, 3), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(8, 3), qRgb(255, 255, 255));
    EXPECT_EQ(InkedPixels(image), 17);
}

TEST(CurvePixels, ReductionKeepsColumnExtremesInOrder) {
    const std::pair<int, int> points[] = {{0, 5}, {1, 3}, {1, 9}, {1, 1}, {1, 4}, {2, 2}};
    std::vector<gdi::Point> out;
    CurveGeometry::ReduceColumns(points, out);
    const std::vector<gdi::Point> expected = {{0, 5}, {1, 3}, {1, 9}, {1, 1}, {1, 4}, {2, 2}};
    EXPECT_EQ(out, expected);
    const std::pair<int, int> flat[] = {{3, 1}, {3, 2}, {3, 3}, {3, 4}, {3, 5}, {4, 0}};
    CurveGeometry::ReduceColumns(flat, out);
    EXPECT_EQ(out, (std::vector<gdi::Point>{{3, 1}, {3, 5}, {4, 0}}));
    // The last column stays whole.
    const std::pair<int, int> end[] = {{0, 0}, {1, 5}, {1, 9}, {1, 7}, {1, 9}};
    CurveGeometry::ReduceColumns(end, out);
    EXPECT_EQ(out, (std::vector<gdi::Point>{{0, 0}, {1, 5}, {1, 9}, {1, 7}, {1, 9}}));
}

} // namespace
