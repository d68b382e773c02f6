// Dense markers take a fast path on images: a marker at a device point that a later marker of
// the same curve covers again is left out, and the rest are stamped from one drawing of the
// marker. These tests draw the same markers both ways, one by one through DrawMarker and
// through the region, and ask for the same pixels.
#include "QtTestApp.h"

#include "qt/QtDeviceContext.h"
#include "render/DrawTables.h"
#include "render/PlotAxis.h"
#include "render/PlotDrawingRgn.h"
#include "render/PlotEnv.h"
#include "render/PlotPaintContext.h"
#include "render/PlotVar.h"

#include <QFileInfo>
#include <QPainter>
#include <QSvgGenerator>
#include <QSvgRenderer>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace {

constexpr int kImageWidth = 260, kImageHeight = 200;
const gdi::Rect kRegion{20, 25, 230, 170}; // markers spill over its edges

enum class Data { Dense, Specials, AllMissing, Single, FloatLimits };

// Samples on a coarse grid, so that many land on one device point, reaching past the region
// on every side; Specials mixes in NaN, infinities and missing values.
void Fill(CPlotVar& x, CPlotVar& y, Data data, std::mt19937& random) {
    std::uniform_real_distribution<double> unit(0, 1);
    const std::uint32_t n = data == Data::Single ? 1 : 4000;
    x.Resize(n);
    y.Resize(n);
    for (std::uint32_t i = 0; i < n; ++i) {
        double u = std::round((unit(random) * 11 - 0.5) * 20) / 20;
        double v = std::round((5 + 5.5 * std::sin(i * 0.01) * unit(random)) * 15) / 15;
        const double special = unit(random);
        if (data == Data::Specials && special < 0.05) v = std::nan("");
        if (data == Data::Specials && special > 0.95) u = MISSING_VALUE;
        if (data == Data::Specials && special > 0.5 && special < 0.52)
            v = std::numeric_limits<double>::infinity();
        if (data == Data::AllMissing) v = MISSING_VALUE;
        if (data == Data::FloatLimits && special < 0.1)
            v = special < 0.05 ? 3.3e38 : -std::numeric_limits<float>::max();
        x.SetAt(i, u);
        y.SetAt(i, v);
    }
}

struct Case {
    int kind, markerSize;
    float scale;
    bool opaqueBrush; // unfilled markers take the selected brush: the order then counts
    bool clipped;     // a clip rectangle inside the image
};

// The markers through the region (reduced and stamped) and, at the same device points in the
// same order, one DrawMarker call each.
std::pair<QImage, QImage> DrawBothWays(const Case& c, CPlotVar& x, CPlotVar& y) {
    std::pair<QImage, QImage> pictures;
    for (int pass = 0; pass < 2; ++pass) {
        QtDeviceContext dc(kImageWidth, kImageHeight);
        CPlotEnv env;
        CPlotPaintContext ctx(dc, env);
        CPlotDrawingRgn region;
        region.rect = CPlotRegion::Rect{kRegion.left, kRegion.top, kRegion.right, kRegion.bottom};
        env.SetMapping(kRegion, 0, 10, 10, 0);
        if (c.scale != 1) env.BeginScaledOutput(c.scale, 0, 0);
        ctx.markerSize = c.markerSize;
        if (c.clipped) dc.IntersectClipRect(gdi::Rect{35, 10, 200, 160});
        dc.SelectBrush(c.opaqueBrush ? gdi::Brush{gdi::BrushStyle::Solid, 0xC0C0C0}
                                     : gdi::Brush{gdi::BrushStyle::Null});
        CPlotAxis axis;
        y.lineType = -1; // markers alone: every drawn point goes to the point buffer
        y.marker = c.kind;
        y.color = 2 + c.kind % 5;
        region.DrawMarkers(ctx, ctx.env.CurveMapping(), x, y, axis, axis, 0);
        if (pass == 1) {
            dc.FillSolidRect(gdi::Rect{0, 0, kImageWidth, kImageHeight}, 0xFFFFFF);
            const int h = env.ScaleSize(c.markerSize);
            for (std::uint32_t i = 0; i < y.devicePointCount; ++i)
                env.DrawMarker(dc, c.kind, y.devicePoints[i].first, y.devicePoints[i].second,
                               y.color, h);
        }
        if (c.scale != 1) env.EndScaledOutput();
        dc.End();
        (pass == 0 ? pictures.first : pictures.second) = dc.Image()->copy();
    }
    return pictures;
}

TEST(MarkerPixels, DenseMarkersOfEveryKindSizeAndScaleLookTheSameReduced) {
    EnsureQtApp();
    std::mt19937 random(5);
    int compared = 0;
    for (int kind = 1; kind < DrawTables::kMarkerCount; ++kind) {
        for (int size : {1, 2, 4, 7, 20}) {
            for (float scale : {1.0f, 2.5f, 3.2f}) {
                const Case c{kind, size, scale, (kind + size) % 2 == 0, size == 4};
                CPlotVar x{true}, y{false};
                Fill(x, y, Data::Dense, random);
                const auto [reduced, full] = DrawBothWays(c, x, y);
                EXPECT_EQ(DifferingPixels(reduced, full), 0)
                    << "kind " << kind << " size " << size << " scale " << scale;
                EXPECT_GT(InkedPixels(full), 1000) << "kind " << kind; // markers were drawn
                EXPECT_GT(y.devicePointCount, 1000u);
                ++compared;
            }
        }
    }
    EXPECT_EQ(compared, 11 * 5 * 3);
}

TEST(MarkerPixels, BadSamplesAndExtremeScalesGiveTheSamePicture) {
    EnsureQtApp();
    std::mt19937 random(9);
    const Data data[] = {Data::Specials, Data::AllMissing, Data::Single, Data::FloatLimits};
    for (Data d : data) {
        for (float scale : {0.01f, 0.4f, 1.0f, 7.0f, 100.0f}) {
            for (int kind : {1, 6, 11}) {
                const Case c{kind, 4, scale, kind == 1, false};
                CPlotVar x{true}, y{false};
                Fill(x, y, d, random);
                const auto [reduced, full] = DrawBothWays(c, x, y);
                EXPECT_EQ(DifferingPixels(reduced, full), 0)
                    << "data " << int(d) << " kind " << kind << " scale " << scale;
                if (d == Data::AllMissing) {
                    EXPECT_EQ(y.devicePointCount, 0u);
                    EXPECT_EQ(InkedPixels(reduced), 0);
                }
            }
        }
    }
}

// A figure drawn at many points through the device's copies and one by one: the stamp must
// give the pixels of the plain drawing, at the edges of the image and of the clip too.
TEST(MarkerPixels, CopiesOfAFigureMatchTheFigureDrawnAtEachPoint) {
    EnsureQtApp();
    std::mt19937 random(3);
    std::uniform_int_distribution<int> px(-12, kImageWidth + 12), py(-12, kImageHeight + 12);
    std::vector<gdi::Point> at(600);
    for (gdi::Point& p : at)
        p = {px(random), py(random)};
    const gdi::Rect extent{-6, -6, 7, 7};
    const auto figure = [](gdi::IDeviceContext& dc, int x, int y) {
        dc.Ellipse(gdi::Rect{x - 6, y - 6, x + 6, y + 6});
        dc.MoveTo(x - 6, y);
        dc.LineTo(x + 7, y + 3);
    };
    for (int width : {1, 2, 3}) {
        for (bool clipped : {false, true}) {
            QImage pictures[2];
            for (int plain = 0; plain < 2; ++plain) {
                QtDeviceContext dc(kImageWidth, kImageHeight);
                if (clipped) dc.IntersectClipRect(gdi::Rect{30, 20, 190, 150});
                dc.SelectPen(gdi::Pen{gdi::PenStyle::Solid, width, 0x0000C0});
                dc.SelectBrush(gdi::Brush{gdi::BrushStyle::Solid, 0x00C000});
                if (plain)
                    dc.gdi::IDeviceContext::DrawCopies(at, extent, figure);
                else
                    dc.DrawCopies(at, extent, figure);
                dc.End();
                pictures[plain] = dc.Image()->copy();
            }
            EXPECT_EQ(DifferingPixels(pictures[0], pictures[1]), 0)
                << "width " << width << (clipped ? " clipped" : "");
            EXPECT_GT(InkedPixels(pictures[1]), 5000);
        }
    }
}

} // namespace

namespace {

// A dense curve with a marker at every sample drawn into an SVG picture: through the region,
// which reduces the line to its column extremes and the markers to one image, and plainly,
// every segment and every marker on its own. Both are rasterised at the picture's size.
struct VectorPictures {
    QImage reduced, full;
    qint64 reducedBytes = 0, fullBytes = 0;
};

VectorPictures DrawDenseCurveAsSvg(int lineType) {
    constexpr int kWidth = 400, kHeight = 300;
    VectorPictures out;
    for (int pass = 0; pass < 2; ++pass) {
        const QString path = OutputPath(QString("dense-curve-%1-%2.svg").arg(lineType).arg(pass));
        {
            auto svg = QtDeviceContext::MakeSvgGenerator(path, kWidth, kHeight);
            QtDeviceContext dc(*svg, gdi::DeviceKind::Metafile);
            CPlotEnv env;
            CPlotPaintContext ctx(dc, env);
            CPlotDrawingRgn region;
            region.rect = CPlotRegion::Rect{10, 10, kWidth - 10, kHeight - 10};
            env.SetMapping(gdi::Rect{10, 10, kWidth - 10, kHeight - 10}, 0, 10, 10, 0);
            CPlotAxis axis;
            CPlotVar x{true}, y{false};
            constexpr std::uint32_t n = 40000;
            x.Resize(n);
            y.Resize(n);
            for (std::uint32_t i = 0; i < n; ++i) {
                x.SetAt(i, i * 10.0 / n);
                y.SetAt(i, 5 + 3 * std::sin(i * 6e-4) + 0.8 * std::sin(i * 0.37));
            }
            y.lineType = lineType - 1;
            y.marker = 1;
            y.color = 1;
            if (pass == 0) {
                region.DrawCurve(ctx, ctx.env.CurveMapping(), x, y, axis, axis);
                region.DrawMarkers(ctx, ctx.env.CurveMapping(), x, y, axis, axis, 0);
            } else {
                // The same device points, drawn without any reduction.
                y.lineType = -1;
                region.DrawMarkers(ctx, ctx.env.CurveMapping(), x, y, axis, axis, 0);
                dc.End();
                auto plain = QtDeviceContext::MakeSvgGenerator(path, kWidth, kHeight);
                QtDeviceContext full(*plain, gdi::DeviceKind::Metafile);
                std::vector<gdi::Point> points;
                for (std::uint32_t i = 0; i < y.devicePointCount; ++i)
                    points.push_back({y.devicePoints[i].first, y.devicePoints[i].second});
                env.SelectPen(full, 1, lineType);
                full.Polyline(points);
                for (const gdi::Point& p : points)
                    env.DrawMarker(full, 1, p.x, p.y, 1, env.ScaleSize(4));
                full.End();
            }
        }
        QSvgRenderer renderer(path);
        QImage image(kWidth, kHeight, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        (pass == 0 ? out.reduced : out.full) = image;
        (pass == 0 ? out.reducedBytes : out.fullBytes) = QFileInfo(path).size();
    }
    return out;
}

TEST(MarkerPixels, DenseVectorPicturesStaySmallAndLookTheSameAtTheirSize) {
    EnsureQtApp();
    // Line types 1 and 6: one and three units wide.
    for (int lineType : {1, 6}) {
        const VectorPictures p = DrawDenseCurveAsSvg(lineType);
        // Rasterised at its size, at most 4 % of the pixels differ by more than a quarter of
        // the channel range (2.6 % measured): the anti-aliased edges of the band of markers,
        // which the image holds aliased.
        EXPECT_LT(DifferingShare(p.reduced, p.full, 64), 0.04) << "line type " << lineType;
        EXPECT_GT(InkedPixels(p.reduced), 20000);
        EXPECT_LT(p.reducedBytes * 20, p.fullBytes) << "line type " << lineType;
    }
}

} // namespace
