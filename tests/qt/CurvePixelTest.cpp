#include "QtTestApp.h"

#include "qt/QtDeviceContext.h"
#include "render/CurveGeometry.h"
#include "render/PlotAxis.h"
#include "render/PlotDrawingRgn.h"
#include "render/PlotEnv.h"
#include "render/PlotPaintContext.h"
#include "render/PlotVar.h"

#include <QPainter>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

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

// A random dense curve: a random walk in y with jumps, x running forwards (or wandering both
// ways), reaching a little past the plot on every side; gaps of NaN and missing values when
// asked for.
void FillRandomCurve(CPlotVar& x, CPlotVar& y, std::mt19937& random, bool gaps) {
    std::uniform_int_distribution<std::uint32_t> length(500, 30000);
    std::uniform_real_distribution<double> unit(0, 1);
    const std::uint32_t n = length(random);
    const bool wandering = unit(random) < 0.3;
    x.Resize(n);
    y.Resize(n);
    double u = -0.5, v = 5;
    for (std::uint32_t i = 0; i < n; ++i) {
        u = wandering ? std::clamp(u + (unit(random) - 0.45) * 0.2, -0.5, 10.5)
                      : -0.5 + 11.0 * i / n;
        v += (unit(random) - 0.5) * 0.6;
        if (unit(random) < 0.002) v = unit(random) * 11 - 0.5; // a jump
        v = std::clamp(v, -0.5, 10.5);
        double stored = v;
        if (gaps && unit(random) < 0.01) stored = unit(random) < 0.5 ? std::nan("") : MISSING_VALUE;
        x.SetAt(i, u);
        y.SetAt(i, stored);
    }
}

// The curve drawn through the region (reduced per column where that is exact) and, with the
// same buffered device points, as one plain polyline, both with the pen of the line type.
std::pair<QImage, QImage> DrawBothWays(CPlotVar& x, CPlotVar& y, int width, int height,
                                       int penLineType = 1) {
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
        y.lineType = penLineType - 1;
        y.color = 1;
        region.DrawCurve(ctx, ctx.env.CurveMapping(), x, y, axis, axis);
        if (pass == 1) {
            dc.FillSolidRect(gdi::Rect{0, 0, width, height}, 0xFFFFFF);
            std::vector<gdi::Point> all;
            CurveGeometry::CopyPoints(
                std::span<const std::pair<int, int>>(y.devicePoints.data(), y.devicePointCount),
                all);
            gdi::StateScope state(dc);
            dc.IntersectClipRect(gdi::Rect{0, 0, width, height});
            env.SelectPen(dc, 1, penLineType);
            dc.Polyline(all);
        }
        dc.End();
        (pass == 0 ? pictures.first : pictures.second) = dc.Image()->copy();
    }
    return pictures;
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

TEST(CurvePixels, ColumnReductionLeavesSolidLinesOfEveryWidthUnchanged) {
    EnsureQtApp();
    // Pen line types 1, 5, 6, 7 and 8: solid, 1, 2, 3, 4 and 8 units wide.
    const int lineTypes[] = {1, 5, 6, 7, 8};
    const QSize sizes[] = {{160, 100}, {37, 211}, {640, 80}, {301, 299}};
    std::mt19937 random(11);
    for (int lineType : lineTypes) {
        for (QSize size : sizes) {
            for (bool gaps : {false, true}) {
                CPlotVar x{true}, y{false};
                FillRandomCurve(x, y, random, gaps);
                const auto [reduced, full] =
                    DrawBothWays(x, y, size.width(), size.height(), lineType);
                ASSERT_EQ(reduced.size(), full.size());
                EXPECT_EQ(DifferingPixels(reduced, full), 0)
                    << "line type " << lineType << " size " << size.width() << "x" << size.height()
                    << (gaps ? " with gaps" : "");
                EXPECT_GT(InkedPixels(reduced), size.width() / 2);
            }
        }
    }
}

// The pixels of a one-unit drawing widened by a w x w square, the extra pixels above and left
// for even widths, cut to the margin inside.
QImage Widened(const QImage& thin, int w, int margin) {
    QImage wide(thin.width() - 2 * margin, thin.height() - 2 * margin, thin.format());
    wide.fill(Qt::white);
    const int before = w / 2, after = w - 1 - before;
    for (int y = 0; y < wide.height(); ++y)
        for (int x = 0; x < wide.width(); ++x)
            for (int dy = -before; dy <= after; ++dy)
                for (int dx = -before; dx <= after; ++dx) {
                    const QRgb from = thin.pixel(x + margin - dx, y + margin - dy);
                    if (from != qRgb(255, 255, 255)) wide.setPixel(x, y, from);
                }
    return wide;
}

// A polyline and a lone segment with a solid pen, moved by offset on an image of the size.
QImage SolidDrawing(int width, QPoint offset, QSize size) {
    // Steep, flat, backwards and diagonal segments, and some that run just off a 40 x 30
    // image, whose widened pixels still reach into it.
    std::vector<gdi::Point> polyline = {{3, 3},   {30, 5},  {31, 28}, {12, 20}, {-1, -1},
                                        {20, -1}, {40, 12}, {40, 30}, {-2, 31}, {8, 8}};
    for (gdi::Point& p : polyline)
        p = {p.x + offset.x(), p.y + offset.y()};
    QtDeviceContext dc(size.width(), size.height());
    dc.SelectPen(gdi::Pen{gdi::PenStyle::Solid, width, 0x0000FF});
    dc.Polyline(polyline);
    dc.MoveTo(5 + offset.x(), 25 + offset.y());
    dc.LineTo(15 + offset.x(), 10 + offset.y());
    dc.End();
    return dc.Image()->copy();
}

TEST(CurvePixels, WideSolidLinesAreTheThinLineWidenedByASquare) {
    EnsureQtApp();
    constexpr int kMargin = 8;
    const QImage thin = SolidDrawing(1, {kMargin, kMargin}, {40 + 2 * kMargin, 30 + 2 * kMargin});
    for (int w : {2, 3, 4, 8}) {
        const QImage wide = SolidDrawing(w, {0, 0}, {40, 30});
        EXPECT_EQ(DifferingPixels(wide, Widened(thin, w, kMargin)), 0) << "width " << w;
    }
}

TEST(CurvePixels, SolidLinesLookTheSameThroughAnyClipOfTheSameArea) {
    EnsureQtApp();
    // A rectangular clip lets runs be written into the image; a polygon clip of the same
    // rectangle sends them through the painter.
    const std::vector<gdi::Point> polyline = {{-5, 3},  {70, 40}, {12, 45}, {30, -4},
                                              {61, 20}, {61, 2},  {2, 30}};
    const gdi::Point box[] = {{10, 5}, {50, 5}, {50, 35}, {10, 35}};
    for (int w : {1, 2, 5}) {
        QImage pictures[2];
        for (int polygon = 0; polygon < 2; ++polygon) {
            QtDeviceContext dc(64, 48);
            if (polygon)
                dc.SelectClipPolygon(box);
            else
                dc.SelectClipRect(gdi::Rect{10, 5, 50, 35});
            dc.SelectPen(gdi::Pen{gdi::PenStyle::Solid, w, 0x00AA00});
            dc.Polyline(polyline);
            dc.MoveTo(0, 47);
            dc.LineTo(63, 0);
            dc.End();
            pictures[polygon] = dc.Image()->copy();
        }
        EXPECT_EQ(DifferingPixels(pictures[0], pictures[1]), 0) << "width " << w;
        EXPECT_GT(InkedPixels(pictures[0]), 60);
        EXPECT_EQ(InkedPixels(pictures[0].copy(10, 5, 40, 30)), InkedPixels(pictures[0]));
    }
}

TEST(CurvePixels, AnInvertingWidePenUndoesItself) {
    EnsureQtApp();
    QtDeviceContext dc(60, 40);
    dc.SelectPen(gdi::Pen{gdi::PenStyle::Solid, 3, 0});
    dc.SetRop2(gdi::RasterOp::NotXorPen);
    const std::vector<gdi::Point> zigzag = {{2, 2}, {50, 30}, {10, 35}, {55, 3}, {2, 2}};
    dc.Polyline(zigzag);
    const int inked = InkedPixels(*dc.Image());
    dc.Polyline(zigzag);
    dc.End();
    EXPECT_GT(inked, 100);
    EXPECT_EQ(InkedPixels(*dc.Image()), 0);
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

// The pixels of a one-unit segment, one step at a time: along the major axis from the end
// where it is lower, the minor coordinate advanced in 16.16 steps from half a step in and
// truncated; the start pixel in and the end pixel out.
QImage PlainThinSegment(gdi::Point a, gdi::Point b, int size) {
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(Qt::white);
    const auto set = [&](int x, int y) {
        if (image.rect().contains(x, y)) image.setPixel(x, y, qRgb(0, 0, 0));
    };
    if (a == b) return image; // nothing to step along
    const bool steep = std::abs(b.y - a.y) > std::abs(b.x - a.x);
    const int major = steep ? b.y - a.y : b.x - a.x;
    const gdi::Point from = major > 0 ? a : b;
    const int n = std::abs(major);
    const std::int64_t minorDelta =
        steep ? (major > 0 ? b.x - a.x : a.x - b.x) : (major > 0 ? b.y - a.y : a.y - b.y);
    const std::int64_t inc = minorDelta * 65536 / n;
    const std::int64_t minor0 =
        std::int64_t(steep ? from.x : from.y) * 65536 + (inc > 0 ? inc / 2 : 0);
    for (int i = major > 0 ? 0 : 1; i < n; ++i) {
        const int across = int((minor0 + i * inc) >> 16), along = (steep ? from.y : from.x) + i;
        steep ? set(across, along) : set(along, across);
    }
    if (major < 0) set(a.x, a.y);
    return image;
}

TEST(CurvePixels, ThinSegmentsMatchThePlainStepping) {
    // Random segments of every slope, long and short, on the image and reaching off it.
    EnsureQtApp();
    constexpr int kSize = 100;
    std::mt19937 random(11);
    std::uniform_int_distribution<int> spread(-60, kSize + 60), near(-6, 6);
    for (int i = 0; i < 1000; ++i) {
        const gdi::Point a{spread(random), spread(random)};
        const gdi::Point b = i % 2 ? gdi::Point{a.x + near(random), a.y + near(random)}
                                   : gdi::Point{spread(random), spread(random)};
        QtDeviceContext dc(kSize, kSize);
        dc.SelectPen(gdi::Pen{gdi::PenStyle::Solid, 1, 0});
        dc.MoveTo(a.x, a.y);
        dc.LineTo(b.x, b.y);
        dc.End();
        ASSERT_EQ(DifferingPixels(*dc.Image(), PlainThinSegment(a, b, kSize)), 0)
            << a.x << "," << a.y << " to " << b.x << "," << b.y;
    }
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

// A run plot drawn through the region (each unbroken line reduced to its column extremes, the
// window's first sample found by binary search) and by a plain walk of the ring from the
// first sample at the window's start, one MoveTo and LineTo a segment.
TEST(CurvePixels, LiveLinesLookTheSameAsTheirSegmentsFromTheWindowStart) {
    EnsureQtApp();
    std::mt19937 random(23);
    std::uniform_real_distribution<double> unit(0, 1);
    constexpr int kWidth = 300, kHeight = 200;
    int found = 0;
    for (int trial = 0; trial < 40; ++trial) {
        const auto capacity = std::uint32_t(200 + unit(random) * 3000);
        const auto pushed = std::uint32_t(unit(random) * capacity * 2.5);
        CPlotVar x{true}, y{false};
        x.MakeRing(capacity);
        y.MakeRing(capacity);
        // Every fourth ring has times that step back now and then, which ends a wrapped ring.
        const bool backwards = trial % 4 == 3;
        double t = 0, v = 5;
        std::vector<double> times;
        for (std::uint32_t i = 0; i < pushed; ++i) {
            if (unit(random) > 0.1) t += 10.0 / capacity; // some times repeat
            if (backwards && unit(random) < 0.002) t -= 2.0;
            v = std::clamp(v + (unit(random) - 0.5), 0.0, 10.0);
            const double r = unit(random);
            x.Push(t);
            // Line breaks, missing values, NaN and infinities now and then.
            const double odd[] = {2e28, MISSING_VALUE, std::nan(""), HUGE_VAL, -HUGE_VAL};
            y.Push(r < 0.025 ? odd[int(r * 200)] : v);
            times.push_back(t);
        }
        if (times.size() < 10) continue;
        // The window starts at a sample's time, or between samples.
        const double start = unit(random) < 0.7
                                 ? times[std::size_t(unit(random) * double(times.size()))]
                                 : t * unit(random) + 1e-7;
        QImage pictures[2];
        for (int pass = 0; pass < 2; ++pass) {
            QtDeviceContext dc(kWidth, kHeight);
            CPlotEnv env;
            CPlotPaintContext ctx(dc, env);
            CPlotDrawingRgn region;
            region.rect.right = kWidth;
            region.rect.bottom = kHeight;
            env.SetMapping(gdi::Rect{0, 0, kWidth, kHeight}, float(t - 12), float(t + 1), 10, 0);
            ctx.runPlot = 1;
            ctx.displayStart = start;
            CPlotAxis axis;
            y.lineType = 0;
            y.color = 2;
            if (pass == 0) {
                region.DrawCurve(ctx, env.CurveMapping(), x, y, axis, axis);
            } else {
                const std::uint32_t n = x.ReadableCount();
                const std::uint32_t oldest = x.wrapped ? x.writePos % n : 0;
                std::uint32_t from = oldest, count = n;
                for (std::uint32_t k = 0; k < n; ++k)
                    if (x.values[(oldest + k) % n] == start) {
                        from = (oldest + k) % n;
                        count = n - k;
                        ++found;
                        break;
                    }
                gdi::StateScope state(dc);
                dc.IntersectClipRect(gdi::Rect{0, 0, kWidth, kHeight});
                env.SelectPen(dc, 2, 1);
                const CurveGeometry::CurveMap map = env.CurveMapping();
                bool begin = true;
                double previous = -HUGE_VAL;
                for (std::uint32_t k = 0; k < count; ++k) {
                    const std::uint32_t slot = (from + k) % n;
                    const double a = x.values[slot], b = y.values[slot];
                    if (a >= 1.9e28 || b >= 1.9e28) {
                        begin = true;
                        continue;
                    }
                    if (IsMissing(a) || IsMissing(b) || std::isnan(b)) continue;
                    if (x.wrapped && a < previous) break;
                    previous = a;
                    gdi::Point p;
                    if (!map(float(a), float(b), p)) continue;
                    if (begin)
                        dc.MoveTo(p.x, p.y);
                    else
                        dc.LineTo(p.x, p.y);
                    begin = false;
                }
            }
            dc.End();
            pictures[pass] = dc.Image()->copy();
        }
        EXPECT_EQ(DifferingPixels(pictures[0], pictures[1]), 0) << "trial " << trial;
        EXPECT_GT(InkedPixels(pictures[1]), 0) << "trial " << trial;
    }
    EXPECT_GT(found, 10); // the window started at a sample's time often enough
}

} // namespace
