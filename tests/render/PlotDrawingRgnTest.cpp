#include "render/PlotDrawingRgn.h"
#include "platform/gdi/RecordingDC.h"
#include "render/CurveGeometry.h"
#include "render/PlotAxis.h"
#include "render/PlotEnv.h"
#include "render/PlotPaintContext.h"
#include "render/PlotTriAxisRgn.h"
#include "render/PlotVar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace {

// A 100 x 100 drawing region at the origin, world 0..10 both ways.
struct Curves : ::testing::Test {
    Curves() : ctx(dc, env) {
        region.rect.right = 100;
        region.rect.bottom = 100;
        env.SetMapping(gdi::Rect{0, 0, 100, 100}, 0, 10, 10, 0);
        axis.plotMin = 0;
        axis.plotMax = 10;
        axis.interval = 1;
        ctx.horizontal = ctx.vertical = &axis;
        y.lineType = 0;
    }
    void SetPoints(const std::vector<double>& xs, const std::vector<double>& ys) {
        x.Resize(std::uint32_t(xs.size()));
        y.Resize(std::uint32_t(ys.size()));
        for (std::size_t i = 0; i < xs.size(); ++i)
            x.SetAt(std::uint32_t(i), xs[i]);
        for (std::size_t i = 0; i < ys.size(); ++i)
            y.SetAt(std::uint32_t(i), ys[i]);
    }
    gdi::RecordingDC dc{200, 200};
    CPlotEnv env;
    CPlotPaintContext ctx;
    CPlotDrawingRgn region;
    CPlotAxis axis;
    CPlotVar x{true}, y{false};
};

TEST_F(Curves, MissingSamplesAreLeftOutOfTheLine) {
    SetPoints({0, 1, 2, 3, 4}, {0, 1, MISSING_VALUE, 3, 4});
    region.DrawCurve(ctx, x, y, axis, axis);
    EXPECT_EQ(dc.CallsNamed("Polyline"),
              std::vector<std::string>{"Polyline(0,100,10,90,30,70,40,60)"});
    EXPECT_EQ(y.devicePointCount, 4u);
}

TEST_F(Curves, AVeryHighSampleBreaksARunPlotLine) {
    x.MakeRing(5);
    y.MakeRing(5);
    const double ys[] = {1, 2, 2e28, 4, 5};
    for (int i = 0; i < 5; ++i) {
        x.Push(i);
        y.Push(ys[i]);
    }
    ctx.runPlot = 1;
    region.DrawCurve(ctx, x, y, axis, axis);
    EXPECT_EQ(dc.CallsNamed("MoveTo"), (std::vector<std::string>{"MoveTo(0,90)", "MoveTo(30,60)"}));
    EXPECT_EQ(dc.CallsNamed("LineTo"),
              (std::vector<std::string>{"LineTo(10,80)", "LineTo(40,50)"}));
}

TEST_F(Curves, GridLinesCloserThanSixUnitsAreLeftOut) {
    axis.interval = 0.5; // 5 units apart
    ctx.gridType = 1;
    region.Draw(ctx, true);
    const auto moves = dc.CallsNamed("MoveTo");
    ASSERT_EQ(moves.size(), 10u);
    EXPECT_EQ(moves.front(), "MoveTo(10,0)");
    EXPECT_EQ(moves.back(), "MoveTo(100,0)");
}

TEST_F(Curves, MarkerTooltipsOnlyBelowAHundredPoints) {
    std::vector<double> xs(99), ys(99, 5);
    for (int i = 0; i < 99; ++i)
        xs[std::size_t(i)] = i / 10.0;
    SetPoints(xs, ys);
    y.marker = 2;
    region.DrawMarkers(ctx, x, y, axis, axis, 1);
    ASSERT_EQ(region.tooltips.size(), 99u);
    EXPECT_EQ(region.tooltips.front().key, 101);
    EXPECT_EQ(region.tooltips.front().text.rfind("x=0.0,y=5.0", 0), 0u);

    xs.push_back(9.9);
    ys.push_back(5);
    SetPoints(xs, ys);
    region.tooltips.clear();
    region.DrawMarkers(ctx, x, y, axis, axis, 1);
    EXPECT_TRUE(region.tooltips.empty());
}

TEST_F(Curves, NoLineButMarkersFillThePointBuffer) {
    SetPoints({1, 2, 3}, {1, 2, 3});
    y.lineType = -1;
    y.marker = 1;
    region.DrawCurve(ctx, x, y, axis, axis);
    EXPECT_TRUE(dc.Drawing().empty());
    region.DrawMarkers(ctx, x, y, axis, axis, 0);
    EXPECT_EQ(y.devicePointCount, 3u);
    EXPECT_EQ(y.devicePoints[2], (std::pair<int, int>{30, 70}));
    EXPECT_TRUE(dc.CallsNamed("Polyline").empty());
}

TEST_F(Curves, ThreeBarSeriesSplitEachGapIntoThreeBands) {
    CPlotBarDrawingRgn bars;
    bars.rect = region.rect;
    SetPoints({0, 3}, {5, 5});
    for (int s = 0; s < 3; ++s)
        bars.DrawBars(ctx, x, y, axis, axis, 3, s, false);
    EXPECT_EQ(dc.CallsNamed("Rectangle"),
              (std::vector<std::string>{"Rectangle(0,50,8,100)", "Rectangle(10,50,18,100)",
                                        "Rectangle(20,50,28,100)"}));
}

TEST_F(Curves, AreasAreClosedAndFilledWithTheirHatch) {
    SetPoints({0, 5, 10}, {0, 10, 0});
    y.area = 1;
    y.barPattern = 3;
    y.color = 2;
    region.DrawCurve(ctx, x, y, axis, axis);
    EXPECT_EQ(dc.CallsNamed("Polygon"), std::vector<std::string>{"Polygon(0,100,50,0,100,100)"});
    EXPECT_EQ(dc.Rop2(), gdi::RasterOp::CopyPen);
    EXPECT_EQ(dc.SavedLevels(), 0);
}

TEST_F(Curves, MetafileLinesAreCutAtTheRegion) {
    gdi::RecordingDC meta(200, 200, gdi::DeviceKind::Metafile);
    CPlotPaintContext mctx(meta, env);
    SetPoints({-5, 5, 15}, {5, 5, 5});
    region.DrawCurve(mctx, x, y, axis, axis);
    EXPECT_EQ(meta.CallsNamed("Polyline"), std::vector<std::string>{"Polyline(0,50,50,50,100,50)"});
}

TEST_F(Curves, NearestPointWeighsTheNearerEnd) {
    SetPoints({0, 10}, {0, 0});
    double best = 1e30;
    CPlotDrawingRgn::CurveHit hit;
    region.NearestCurvePoint(ctx, x, y, axis, axis, gdi::Point{25, 100}, best, hit, 3);
    EXPECT_EQ(hit.varIndex, 3);
    EXPECT_NEAR(best, 0, 1e-9);
    EXPECT_NEAR(hit.x, 2.5, 1e-9);
}

TEST_F(Curves, BadInputDrawsWhatItCanAndNeverCrashes) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    SetPoints({0, 1, 2, 3, 4, 5}, {nan, inf, -inf, 1e300, 1e-300, 3});
    y.marker = 1;
    y.arrowMode = 1;
    region.DrawCurve(ctx, x, y, axis, axis);
    region.DrawMarkers(ctx, x, y, axis, axis, 0);
    region.DrawDirectionArrow(ctx, x, y);
    EXPECT_GE(y.devicePointCount, 1u);
    // No samples at all, and a region of no size.
    CPlotVar emptyX{true}, emptyY{false};
    region.rect = {};
    env.SetMapping(gdi::Rect{0, 0, 0, 0}, 5, 5, 5, 5);
    region.DrawCurve(ctx, emptyX, emptyY, axis, axis);
    region.Draw(ctx, true);
    EXPECT_EQ(emptyY.devicePointCount, 0u);
    double x0, x1, y0, y1;
    EXPECT_FALSE(region.ZoomFractions(x0, x1, y0, y1));
}

TEST_F(Curves, ZoomBoxIsDrawnWithTheInvertingPenAndDeletesPoints) {
    SetPoints({1, 5, 9}, {5, 5, 5});
    region.zoomBox = {40, 40, 60, 60};
    region.zoomBoxShown = true;
    region.Draw(ctx, true);
    EXPECT_EQ(dc.CallsNamed("Rectangle"), std::vector<std::string>{"Rectangle(40,40,60,60)"});
    region.DeletePointsInBox(ctx, x, y, axis, axis);
    EXPECT_EQ(y.values[0], 5);
    EXPECT_EQ(y.values[1], MISSING_VALUE);
    double x0, x1, y0, y1;
    ASSERT_TRUE(region.ZoomFractions(x0, x1, y0, y1));
    EXPECT_DOUBLE_EQ(x0, 0.4);
    EXPECT_DOUBLE_EQ(y1, 0.6);
}

// Points of the first Polyline call.
std::size_t PolylinePoints(const gdi::RecordingDC& dc) {
    for (const gdi::RecordedCall& call : dc.Calls())
        if (call.name == "Polyline") return call.args.size() / 2;
    return 0;
}

TEST_F(Curves, WideSolidCurvesAreReducedPerColumnOnImagesOnly) {
    // 2000 samples over 100 columns, swinging up and down within each.
    std::vector<double> xs, ys;
    for (int i = 0; i < 2000; ++i) {
        xs.push_back(i * 10.0 / 2000);
        ys.push_back(5 + 4 * std::sin(i * 1.3));
    }
    SetPoints(xs, ys);
    struct Case {
        gdi::DeviceKind kind;
        int lineType; // the variable's: pen line type - 1
        bool reduced;
    };
    const Case cases[] = {
        {gdi::DeviceKind::Memory, 0, true},    {gdi::DeviceKind::Memory, 4, true},
        {gdi::DeviceKind::Screen, 7, true},    {gdi::DeviceKind::Memory, 1, false}, // dotted
        {gdi::DeviceKind::Memory, 8, false}, // geometric dashes
        {gdi::DeviceKind::Printer, 0, true},   {gdi::DeviceKind::Printer, 4, false},
        {gdi::DeviceKind::Metafile, 5, false},
    };
    for (const Case& c : cases) {
        gdi::RecordingDC device(200, 200, c.kind);
        CPlotPaintContext context(device, env);
        y.lineType = c.lineType;
        region.DrawCurve(context, x, y, axis, axis);
        const std::size_t points = PolylinePoints(device);
        if (c.reduced)
            EXPECT_LE(points, 4u * 101) << "line type " << c.lineType;
        else
            EXPECT_EQ(points, 2000u) << "line type " << c.lineType;
        EXPECT_EQ(y.devicePointCount, 2000u); // the buffer keeps every point
    }
}

TEST_F(Curves, LinearCurvesMapEverySampleAsASinglePointIs) {
    // Ordinary, huge, tiny, negative, missing and unmappable values, flipped and not, on an
    // offset mapping that does not divide evenly.
    std::mt19937 random(5);
    std::uniform_real_distribution<double> spread(-3, 13);
    const double special[] = {std::nan(""), MISSING_VALUE, 9e27, -1e300, 1e300,
                              2.9e38,       -2.9e38,       3e38, -3e38,  1e-300,
                              -0.0,         0.05,          0.15, -0.05,  1e10};
    std::vector<double> xs, ys;
    for (int i = 0; i < 20000; ++i) {
        const bool odd = i % 13 == 0;
        xs.push_back(odd ? special[i % std::size(special)] : spread(random));
        ys.push_back(i % 17 == 0 ? special[(i / 17) % std::size(special)] : spread(random));
    }
    SetPoints(xs, ys);
    env.SetMapping(gdi::Rect{7, 3, 1607, 994}, -0.37f, 10.13f, 9.71f, -0.29f);
    env.offsetX = 5;
    env.offsetY = -11;
    y.ownAttributes = 1; // the points stay in y's buffer when flipped
    for (int flipped : {0, 1}) {
        ctx.flipped = flipped;
        region.DrawCurve(ctx, x, y, axis, axis);
        std::vector<std::pair<int, int>> expected;
        for (std::size_t i = 0; i < xs.size(); ++i) {
            const double a = xs[i], b = ys[i];
            const auto mappable = [](double v) {
                return !IsMissing(v) && std::isfinite(v) && std::fabs(v) < 3e38;
            };
            gdi::Point p;
            if (mappable(a) && mappable(b) && region.MapPoint(ctx, a, b, p))
                expected.push_back({p.x, p.y});
        }
        ASSERT_EQ(y.devicePointCount, expected.size());
        const auto [want, got] =
            std::mismatch(expected.begin(), expected.end(), y.devicePoints.begin());
        EXPECT_TRUE(want == expected.end())
            << "flipped " << flipped << " point " << (want - expected.begin()) << ": "
            << want->first << "," << want->second << " drawn as " << got->first << ","
            << got->second;
    }
}

TEST(AxisMaps, GiveTheEnvironmentsIntegersWithoutItsDivision) {
    std::mt19937 random(3);
    std::uniform_real_distribution<float> unit(0, 1);
    std::uniform_int_distribution<int> length(1, 5000);
    for (int mapping = 0; mapping < 300; ++mapping) {
        // Spans from very narrow to very wide, either way round.
        const float scale = std::pow(10.0f, unit(random) * 40 - 20);
        const float from = (unit(random) - 0.5f) * scale * 10;
        const float to = from + (unit(random) < 0.5f ? -1 : 1) * (0.01f + unit(random)) * scale;
        CPlotEnv env;
        env.SetMapping(gdi::Rect{-3, 0, length(random), 10}, from, to, 1, 0);
        env.offsetX = 17;
        const CurveGeometry::AxisMap map(env.x0, env.x1, env.width, env.offsetX - env.negLeft,
                                         CPlotEnv::kDeviceLimit);
        for (int k = 0; k < 2000; ++k) {
            // Values in and around the span, far beyond it, and on exact halves.
            float v = env.x0 + (unit(random) * 3 - 1) * (env.x1 - env.x0);
            if (k % 10 == 0) v *= 1e6f;
            if (k % 10 == 1) v = env.x0 + (env.x1 - env.x0) * (float(k % 64) + 0.5f) / env.width;
            ASSERT_EQ(map(v), env.MapX(v)) << "from " << env.x0 << " to " << env.x1 << " v " << v;
        }
    }
}

// ---- Triangles ----

struct Triangle : ::testing::Test {
    Triangle() : ctx(dc, env) {
        region.rect = {0, 0, 100, 87};
        env.SetMapping(gdi::Rect{0, 0, 100, 87}, 0, 1, 1, 0);
    }
    gdi::RecordingDC dc{300, 300};
    CPlotEnv env;
    CPlotPaintContext ctx;
    CPlotTriDrawingRgn region{1};
};

TEST_F(Triangle, TheTopVertexIsAllY) {
    float wx = -1, wy = -1;
    EXPECT_EQ(region.PointerText(env, 50, 0, wx, wy), "x=0\ny=1\nz=0");
    gdi::Point p;
    ASSERT_TRUE(region.MapPoint(ctx, 0, 1, p));
    EXPECT_EQ(p, (gdi::Point{50, 0}));
}

TEST_F(Triangle, GridStepGrowsTenfoldBeyondFiftyLines) {
    CPlotAxis x, y;
    x.plotMax = y.plotMax = 1;
    x.interval = 0.01;
    ctx.horizontal = &x;
    ctx.vertical = &y;
    region.DrawGrid(ctx);
    EXPECT_EQ(dc.CallsNamed("Polyline").size(), 9u);
    EXPECT_EQ(dc.CallsNamed("SelectClipPolygon").size(), 1u);
}

TEST_F(Triangle, NoTickOrLabelAtTheCorners) {
    CPlotTriAxis side(1);
    side.plotMin = 0;
    side.plotMax = 1;
    side.interval = 0.25;
    CPlotTriAxisRgn::DrawTicks(dc, env, side, env.YMap(), nullptr, 2, 0, 0, 0);
    EXPECT_EQ(dc.CallsNamed("TextOut").size(), 3u);
    EXPECT_EQ(dc.CallsNamed("MoveTo").size(), 3u);
}

TEST_F(Triangle, MetafileAreasStayInsideTheTriangle) {
    gdi::RecordingDC meta(300, 300, gdi::DeviceKind::Metafile);
    CPlotPaintContext mctx(meta, env);
    CPlotVar x{true}, y{false};
    x.Resize(4);
    y.Resize(4);
    const double xs[] = {0, 1, 1, 0}, ys[] = {0, 0, 1, 1}; // the whole unit square
    for (std::uint32_t i = 0; i < 4; ++i) {
        x.SetAt(i, xs[i]);
        y.SetAt(i, ys[i]);
    }
    y.area = 1;
    const CPlotAxis axis;
    region.DrawCurve(mctx, x, y, axis, axis);
    const auto polygons = meta.CallsNamed("Polygon");
    ASSERT_EQ(polygons.size(), 1u);
    // The parallelogram of the square is cut at the clip triangle (one unit outside the sides).
    EXPECT_EQ(polygons[0], "Polygon(0,87,100,87,101,86,51,0,50,0)");
}

} // namespace
