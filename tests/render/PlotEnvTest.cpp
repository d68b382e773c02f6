// The drawing environment: mapping, scaled output, pens and brushes from the tool's caches,
// markers, arrow heads, the snap grid and the selection handles, checked as recorded calls.
#include "render/PlotEnv.h"

#include "platform/com/DispatchError.h"
#include "platform/gdi/RecordingDC.h"
#include "render/DrawTables.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>

using gdi::RecordingDC;
using Calls = std::vector<std::string>;

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// An environment over its own tool, mapping [0, 10] x [10, 0] onto (100, 50)-(600, 350).
struct EnvFixture : ::testing::Test {
    CDrawTool tool;
    CPlotEnv env{tool};
    RecordingDC dc{800, 600};

    EnvFixture() { env.SetMapping(gdi::Rect{100, 50, 600, 350}, 0, 10, 10, 0); }
};

} // namespace

// ---- Mapping ----

using PlotEnvMapping = EnvFixture;

TEST_F(PlotEnvMapping, EndsOfTheRangesLandOnTheEdges) {
    EXPECT_EQ(env.MapX(0), 100);
    EXPECT_EQ(env.MapX(10), 600);
    EXPECT_EQ(env.MapY(10), 50); // y0 at the top
    EXPECT_EQ(env.MapY(0), 350); // y1 at the bottom
    EXPECT_EQ(env.MapY(5), 200);
}

TEST_F(PlotEnvMapping, SwappedYEndsTurnTheAxisUpsideDown) {
    env.SetMapping(gdi::Rect{100, 50, 600, 350}, 0, 10, 0, 10);
    EXPECT_EQ(env.MapY(0), 50);
    EXPECT_EQ(env.MapY(10), 350);
}

TEST_F(PlotEnvMapping, RoundsHalfAwayFromZero) {
    env.SetMapping(gdi::Rect{0, 0, 10, 10}, 0, 4, 4, 0);
    EXPECT_EQ(env.MapX(0.2f), 1);   // 0.5
    EXPECT_EQ(env.MapX(-0.2f), -1); // -0.5
    EXPECT_EQ(env.MapX(0.16f), 0);  // 0.4
    EXPECT_EQ(env.MapX(-0.16f), 0);
}

TEST_F(PlotEnvMapping, DegenerateRangesAreWidened) {
    env.SetMapping(gdi::Rect{0, 0, 100, 100}, 0, 0, 0, 0);
    EXPECT_FLOAT_EQ(env.x0, -1e-5f);
    EXPECT_FLOAT_EQ(env.x1, 1e-5f);
    EXPECT_FLOAT_EQ(env.y0, 1e-5f); // the top end is raised
    EXPECT_FLOAT_EQ(env.y1, -1e-5f);
    env.SetMapping(gdi::Rect{0, 0, 100, 100}, 100, 100, 100, 100);
    EXPECT_FLOAT_EQ(env.x0, 99.999f);
    EXPECT_FLOAT_EQ(env.x1, 100.001f);
    EXPECT_FLOAT_EQ(env.y0, 100.001f);
    EXPECT_FLOAT_EQ(env.y1, 99.999f);
    EXPECT_EQ(env.MapX(100), 50);
}

TEST_F(PlotEnvMapping, SetYRangeKeepsTheRectangleAndX) {
    env.SetYRange(100, 50);
    EXPECT_EQ(env.MapY(100), 50);
    EXPECT_EQ(env.MapY(50), 350);
    EXPECT_EQ(env.MapX(10), 600);
    env.SetYRange(3, 3);
    EXPECT_GT(env.y0, env.y1);
    EXPECT_EQ(env.MapY(3), 200);
}

// The value map an axis is drawn with maps every value exactly as the environment would after
// SetYRange over the same range, and leaves the environment's own mapping alone.
TEST_F(PlotEnvMapping, YMapForMapsAsSetYRangeWouldWithoutChangingTheMapping) {
    std::mt19937 rng(19);
    std::uniform_real_distribution<float> value(-1e4f, 1e4f);
    std::uniform_int_distribution<int> offset(-300, 300);
    CPlotEnv moved{tool};
    for (int round = 0; round < 200; ++round) {
        const gdi::Rect r{offset(rng), offset(rng), 400 + offset(rng), 400 + offset(rng)};
        float top = value(rng), bottom = value(rng);
        if (round % 5 == 0) bottom = top; // degenerate ranges are widened the same way
        env.SetMapping(r, 0, 10, 10, 0);
        moved.SetMapping(r, 0, 10, 10, 0);
        env.offsetY = moved.offsetY = offset(rng);
        const CScaleMap map = env.YMapFor(top, bottom);
        moved.SetYRange(top, bottom);
        for (int i = 0; i < 20; ++i) {
            const float v = i < 2 ? (i ? top : bottom) : value(rng);
            ASSERT_EQ(map.Map(v), moved.MapY(v)) << round << " " << v;
        }
        EXPECT_EQ(env.y0, 10);
        EXPECT_EQ(env.y1, 0);
        EXPECT_EQ(env.XMap().Map(7.5f), moved.MapX(7.5f));
    }
}

TEST_F(PlotEnvMapping, CoefficientsFollowTheMapping) {
    EXPECT_DOUBLE_EQ(env.coeff.ax, 50);
    EXPECT_DOUBLE_EQ(env.coeff.ay, -30);
    EXPECT_DOUBLE_EQ(env.coeff.by, -300);
    env.SaveCoeff();
    env.SetYRange(20, 0);
    EXPECT_DOUBLE_EQ(env.coeff.ay, -15);
    env.RestoreCoeff();
    EXPECT_DOUBLE_EQ(env.coeff.ay, -30);
}

TEST_F(PlotEnvMapping, DeviceToWorldInvertsTheMappingWithoutOffsets) {
    float x = 0, y = 0;
    env.DeviceToWorld(350, 200, x, y);
    EXPECT_FLOAT_EQ(x, 5);
    EXPECT_FLOAT_EQ(y, 5);
    env.offsetX = 10;
    int dx = 0, dy = 0;
    ASSERT_TRUE(env.WorldToDevice(5, 5, dx, dy));
    EXPECT_EQ(dx, 360); // the offset is added on the way in
    env.DeviceToWorld(dx, dy, x, y);
    EXPECT_FLOAT_EQ(x, 5.2f); // and not removed on the way back
}

TEST_F(PlotEnvMapping, NonFiniteCoordinatesAreRefused) {
    int dx = -7, dy = -7;
    EXPECT_FALSE(env.WorldToDevice(kNaN, 1, dx, dy));
    EXPECT_FALSE(env.WorldToDevice(1, kInf, dx, dy));
    EXPECT_FALSE(env.WorldToDevice(-kInf, 1, dx, dy));
    EXPECT_EQ(dx, -7);
    EXPECT_EQ(dy, -7);
}

TEST_F(PlotEnvMapping, HugeCoordinatesClampInsteadOfOverflowing) {
    // The distance from the rectangle's edge is clamped, the edge then added.
    EXPECT_EQ(env.MapX(3e38f), CPlotEnv::kDeviceLimit + 100);
    EXPECT_EQ(env.MapX(-3e38f), -CPlotEnv::kDeviceLimit + 100);
    EXPECT_EQ(env.MapY(-3e38f), CPlotEnv::kDeviceLimit + 50); // downward device y
    EXPECT_EQ(env.MapX(kNaN), CPlotEnv::kDeviceLimit + 100);
}

TEST_F(PlotEnvMapping, OffsetsMovePointsAndRectangles) {
    env.offsetX = 7;
    env.offsetY = -3;
    int x = 1, y = 2;
    env.OffsetPoint(x, y);
    EXPECT_EQ(x, 8);
    EXPECT_EQ(y, -1);
    gdi::Rect r{0, 0, 10, 10};
    env.OffsetRect(r);
    EXPECT_EQ(r, (gdi::Rect{7, -3, 17, 7}));
    EXPECT_EQ(env.MapX(0), 107);
}

// ---- Scaled output and text ----

using PlotEnvScaled = EnvFixture;

TEST_F(PlotEnvScaled, SizesGrowWithTheScaleAndAreTruncated) {
    env.BeginScaledOutput(2.5f, 4, 0);
    EXPECT_EQ(env.ScaleSize(5), 12);
    EXPECT_EQ(env.ScaleSize(1), 2);
    EXPECT_TRUE(tool.ScaledOutput());
    env.EndScaledOutput();
    EXPECT_EQ(env.ScaleSize(5), 5);
    EXPECT_EQ(env.offsetX, 0);
    EXPECT_FALSE(tool.ScaledOutput());
}

TEST_F(PlotEnvScaled, MeasureTextScalesAndRoundsTheUnscaledExtent) {
    // 10 pt is 13 px at 96 DPI: 7 units a character on the recording device.
    EXPECT_EQ(env.MeasureText(nullptr, dc, "abc"), (gdi::Size{21, 13}));
    env.BeginScaledOutput(1.5f, 0, 0);
    EXPECT_EQ(env.MeasureText(nullptr, dc, "abc"), (gdi::Size{32, 20}));
    EXPECT_EQ(dc.SavedLevels(), 0);
}

TEST_F(PlotEnvScaled, EmptyAndLongTextsMeasure) {
    EXPECT_EQ(env.MeasureText(nullptr, dc, "").cx, 0);
    const std::string longText(100000, 'x');
    EXPECT_EQ(env.MeasureText(nullptr, dc, longText).cx, 700000);
    // A one-unit layout drawn 40,000 units wide: extents and sizes stop at the limit instead
    // of overflowing int.
    env.BeginScaledOutput(40000.0f, 0, 0);
    EXPECT_EQ(env.MeasureText(nullptr, dc, longText).cx, CPlotEnv::kScaledLimit);
    EXPECT_EQ(env.ScaleSize(1 << 20), CPlotEnv::kScaledLimit);
    EXPECT_EQ(env.ScaleSize(-(1 << 20)), -CPlotEnv::kScaledLimit);
}

TEST_F(PlotEnvScaled, SelectFontTakesTheScaledSizeFromTheFontList) {
    CPlotFont font("Arial", 10, CPlotFont::Bold);
    font.angle = 90;
    env.BeginScaledOutput(1.5f, 0, 0);
    const std::size_t before = tool.FontCount();
    const gdi::Font old = env.SelectFont(dc, &font);
    EXPECT_EQ(old, gdi::Font{}); // the device's initial font comes back
    EXPECT_EQ(dc.CurrentFont(), (gdi::Font{"Arial", 20, 90, gdi::FontBold})); // 15 pt
    EXPECT_EQ(tool.FontCount(), before + 1);
    env.SelectFont(dc, &font);
    EXPECT_EQ(tool.FontCount(), before + 1); // found, not made again
    env.SelectFont(dc, nullptr);
    EXPECT_EQ(dc.CurrentFont().face, "Times New Roman");
    EXPECT_EQ(dc.CurrentFont().pixelHeight, 13);
}

TEST(DrawToolFonts, DerivedFontsClampSizeAndNormaliseAngle) {
    CDrawTool tool;
    const CPlotFont& base = tool.FindFont("Arial", 8, 0, 0);
    EXPECT_EQ(&tool.FindFont("Arial", 8, 0, 0), &base);
    const CPlotFont& small = tool.DeriveFont(base, -20, -90);
    EXPECT_EQ(small.size, 1);
    EXPECT_EQ(small.angle, 270);
    EXPECT_EQ(tool.DeriveFont(base, 2, 450).angle, 90);
    EXPECT_EQ(&tool.DeriveFont(base, 0, 360), &base);
    EXPECT_EQ(tool.DefaultFont().face, "Times New Roman");
    EXPECT_EQ(tool.DefaultFont().size, 10);
}

// ---- Colours, pens and brushes ----

TEST(DrawToolColors, StartsWithTheEighteenColours) {
    CDrawTool tool;
    ASSERT_EQ(tool.ColorCount(), 18);
    EXPECT_EQ(tool.ColorAt(1), gdi::Rgb(0, 0, 0xFF));
    EXPECT_EQ(tool.ColorAt(12), gdi::Rgb(0x80, 0, 0));
    EXPECT_EQ(tool.ColorAt(17), gdi::Rgb(0xFF, 0x80, 0));
}

TEST(DrawToolColors, AnUnknownRgbGrowsTheTableByOne) {
    CDrawTool tool;
    EXPECT_EQ(tool.IndexOfColor(gdi::Rgb(0xFF, 0x80, 0)), 17);
    EXPECT_EQ(tool.IndexOfColor(gdi::Rgb(1, 2, 3)), 18);
    EXPECT_EQ(tool.ColorCount(), 19);
    EXPECT_EQ(tool.IndexOfColor(gdi::Rgb(1, 2, 3) | 0xFF000000u), 18); // low 24 bits only
    EXPECT_EQ(tool.ColorCount(), 19);
}

TEST(DrawToolColors, AnIndexOutsideTheTableIsAnInvalidArgument) {
    CDrawTool tool;
    RecordingDC dc;
    CPlotEnv env(tool);
    try {
        env.SelectPen(dc, 18, 1);
        FAIL() << "no error";
    } catch (const com::DispatchError& e) {
        EXPECT_EQ(e.hr(), com::E_INVALIDARG);
    }
    EXPECT_THROW(env.SelectSolidBrush(dc, -1), com::DispatchError);
    EXPECT_THROW(env.DrawMarker(dc, 1, 10, 10, 99, 3), com::DispatchError);
    EXPECT_EQ(dc.CurrentPen(), gdi::Pen{}); // nothing was left selected
}

TEST(DrawToolPens, TheSameRequestReturnsTheCachedPen) {
    CDrawTool tool;
    const CDrawPen* first = &tool.Pen(3, 2);
    const int made = tool.PenCreations();
    EXPECT_EQ(&tool.Pen(3, 2), first);
    EXPECT_EQ(tool.PenCreations(), made);
    tool.Pen(3, 1);
    EXPECT_EQ(tool.PenCreations(), made + 1); // only the last pen is kept
    tool.Pen(3, 2);
    EXPECT_EQ(tool.PenCreations(), made + 2);
    tool.SetScaledOutput(true, 2);
    tool.Pen(3, 2);
    EXPECT_EQ(tool.PenCreations(), made + 3); // scaling is part of the request
}

TEST(DrawToolPens, ScreenPensFollowTheLineTypes) {
    CDrawTool tool;
    EXPECT_EQ(tool.Pen(0, 1).pen, (gdi::Pen{gdi::PenStyle::Solid, 1, 0}));
    EXPECT_EQ(tool.Pen(0, 0).pen.style, gdi::PenStyle::Solid); // below 1 taken as 1
    EXPECT_EQ(tool.Pen(0, 2).pen.style, gdi::PenStyle::Dot);
    EXPECT_EQ(tool.Pen(0, 3).pen.style, gdi::PenStyle::Dash);
    EXPECT_EQ(tool.Pen(0, 4).pen.style, gdi::PenStyle::DashDot);
    EXPECT_EQ(tool.Pen(0, 8).pen.width, 8);
    const gdi::Pen nine = tool.Pen(1, 9).pen;
    EXPECT_EQ(nine.style, gdi::PenStyle::UserDash);
    EXPECT_TRUE(nine.geometric);
    EXPECT_EQ(nine.width, 2);
    EXPECT_EQ(nine.dashCount, 2);
    EXPECT_EQ(nine.dashes[0], 5);
    EXPECT_EQ(nine.color, gdi::Rgb(0, 0, 0xFF));
}

TEST(DrawToolPens, ScaledPensGrowAndTruncate) {
    CDrawTool tool;
    tool.SetScaledOutput(true, 2.7f);
    const gdi::Pen dashDot = tool.Pen(0, 4).pen;
    EXPECT_EQ(dashDot.style, gdi::PenStyle::UserDash);
    EXPECT_TRUE(dashDot.geometric);
    EXPECT_EQ(dashDot.width, 2);
    ASSERT_EQ(dashDot.dashCount, 4);
    EXPECT_EQ(dashDot.dashes[0], 16);       // 6 x 2.7
    EXPECT_EQ(dashDot.dashes[2], 5);        // 2 x 2.7
    EXPECT_EQ(tool.Pen(0, 6).pen.width, 8); // 3 x 2.7
    const gdi::Pen nine = tool.Pen(0, 9).pen;
    EXPECT_EQ(nine.width, 2); // never scaled
    EXPECT_EQ(nine.dashes[0], 5);
}

TEST(DrawToolBrushes, HatchesAreTheTablePatterns) {
    CDrawTool tool;
    const gdi::Brush solid = tool.Brush(2, 0, false).brush;
    EXPECT_EQ(solid.style, gdi::BrushStyle::Solid);
    EXPECT_EQ(solid.color, gdi::Rgb(0, 0x80, 0));
    const gdi::Brush five = tool.Brush(2, 5, false).brush;
    EXPECT_EQ(five.style, gdi::BrushStyle::Pattern);
    EXPECT_EQ(five.pattern, (DrawTables::Pattern{0xFF, 0, 0, 0xFF, 0xFF, 0, 0, 0xFF}));
    EXPECT_EQ(five.patternScale, 1);
    EXPECT_EQ(tool.Brush(2, 11, false).brush.style, gdi::BrushStyle::Solid);
}

TEST(DrawToolBrushes, ScaledHatchesStretchExceptOnMetafiles) {
    CDrawTool tool;
    tool.SetScaledOutput(true, 2.5f);
    EXPECT_EQ(tool.Brush(0, 1, false).brush.patternScale, 2);
    EXPECT_EQ(tool.Brush(0, 1, true).brush.patternScale, 1);
    tool.SetScaledOutput(true, 0.5f);
    EXPECT_EQ(tool.Brush(0, 1, false).brush.patternScale, 1);
}

TEST_F(PlotEnvScaled, SelectorsReturnThePreviousObject) {
    const gdi::Pen before = dc.CurrentPen();
    const gdi::Pen old = env.SelectColorPen(dc, gdi::Rgb(0xFF, 0, 0), 5);
    EXPECT_EQ(old, before);
    EXPECT_EQ(dc.CurrentPen().color, gdi::Rgb(0xFF, 0, 0));
    EXPECT_EQ(dc.CurrentPen().width, 2);
    env.SelectColorBrush(dc, gdi::Rgb(9, 9, 9));
    EXPECT_EQ(dc.CurrentBrush().color, gdi::Rgb(9, 9, 9));
    EXPECT_EQ(tool.ColorCount(), 19);
}

// ---- Markers and arrow heads ----

namespace {

Calls MarkerCalls(int kind, int x = 50, int y = 50, int h = 4) {
    CDrawTool tool;
    CPlotEnv env(tool);
    RecordingDC dc(200, 200);
    env.DrawMarker(dc, kind, x, y, 3, h);
    EXPECT_EQ(dc.CurrentPen(), gdi::Pen{}) << "pen restored";
    EXPECT_EQ(dc.CurrentBrush(), gdi::Brush{}) << "brush restored";
    return dc.Drawing();
}

} // namespace

TEST(PlotEnvMarkers, OutlineShapes) {
    EXPECT_EQ(MarkerCalls(1), Calls{"Ellipse(46,46,54,54)"});
    EXPECT_EQ(MarkerCalls(2), Calls{"Rectangle(46,46,54,54)"});
    EXPECT_EQ(MarkerCalls(3), Calls{"Polygon(50,46,54,50,50,54,46,50)"});
    EXPECT_EQ(MarkerCalls(4), Calls{"Polygon(50,46,54,52,46,52)"});
    EXPECT_EQ(MarkerCalls(5), Calls{"Polygon(50,54,54,48,46,48)"});
}

TEST(PlotEnvMarkers, TrianglesTruncateHalfTheSize) {
    EXPECT_EQ(MarkerCalls(4, 50, 50, 5), Calls{"Polygon(50,45,55,52,45,52)"});
}

TEST(PlotEnvMarkers, FilledShapesSelectASolidBrushOfTheColour) {
    CDrawTool tool;
    CPlotEnv env(tool);
    RecordingDC dc(200, 200);
    env.DrawMarker(dc, 8, 50, 50, 3, 4);
    const auto brushes = dc.CallsNamed("SelectBrush");
    ASSERT_EQ(brushes.size(), 2u);
    EXPECT_EQ(brushes[0], "SelectBrush(0," + std::to_string(gdi::Rgb(0xFF, 0, 0)) + ")");
    EXPECT_EQ(dc.Drawing(), Calls{"Polygon(50,46,54,50,50,54,46,50)"});
    for (int kind : {6, 7, 9, 10})
        EXPECT_EQ(MarkerCalls(kind).size(), 1u) << kind;
}

TEST(PlotEnvMarkers, PlusIsTwoUnitStrokes) {
    EXPECT_EQ(MarkerCalls(11, 50, 50, 3),
              (Calls{"MoveTo(47,50)", "LineTo(54,50)", "MoveTo(47,51)", "LineTo(54,51)",
                     "MoveTo(50,47)", "LineTo(50,54)", "MoveTo(51,47)", "LineTo(51,54)"}));
}

TEST(PlotEnvMarkers, UnknownKindsAndKindZeroDrawNothing) {
    for (int kind : {0, 12, -1, 1000}) {
        CDrawTool tool;
        CPlotEnv env(tool);
        RecordingDC dc(200, 200);
        env.DrawMarker(dc, kind, 50, 50, 3, 4);
        EXPECT_TRUE(dc.Calls().empty()) << kind;
    }
}

TEST(PlotEnvMarkers, MarkersOutsideTheClipAreSkipped) {
    CDrawTool tool;
    CPlotEnv env(tool);
    RecordingDC dc(200, 200);
    dc.IntersectClipRect(gdi::Rect{0, 0, 100, 100});
    dc.Clear();
    env.DrawMarker(dc, 1, 110, 50, 3, 4);
    EXPECT_TRUE(dc.Drawing().empty());
    env.DrawMarker(dc, 1, 102, 50, 3, 4); // partly visible
    EXPECT_EQ(dc.Drawing().size(), 1u);
}

TEST(PlotEnvArrows, ArrowIsSizeLongWithANotchedBack) {
    CDrawTool tool;
    CPlotEnv env(tool);
    RecordingDC dc;
    env.DrawArrowHead(dc, 100, 100, 200, 100, 30);
    EXPECT_EQ(dc.Drawing(), Calls{"Polygon(100,100,130,110,115,100,130,90)"});
}

TEST(PlotEnvArrows, ShortSegmentsAreLengthenedForTheirDirection) {
    CDrawTool tool;
    CPlotEnv env(tool);
    RecordingDC dc;
    env.DrawArrowHead(dc, 100, 100, 100, 102, 30);
    EXPECT_EQ(dc.Drawing(), Calls{"Polygon(100,100,90,130,100,115,110,130)"});
}

TEST(PlotEnvArrows, NegativeSizeOrNoDirectionDrawsNothing) {
    CDrawTool tool;
    CPlotEnv env(tool);
    RecordingDC dc;
    env.DrawArrowHead(dc, 100, 100, 200, 100, -1);
    env.DrawArrowHead(dc, 100, 100, 100, 100, 30);
    EXPECT_TRUE(dc.Drawing().empty());
}

// ---- Snap grid ----

TEST(PlotEnvSnap, RoundsToTheNearestGridStepAwayFromZero) {
    CDrawTool tool;
    CPlotEnv env(tool);
    float x = 0.26f, y = -0.26f;
    env.SnapToGrid(x, y);
    EXPECT_FLOAT_EQ(x, 0.26f); // off by default
    env.snapOn = 1;
    env.SnapToGrid(x, y);
    EXPECT_FLOAT_EQ(x, 0.3f);
    EXPECT_FLOAT_EQ(y, -0.3f);
    env.snapStep = 0;
    x = 0.26f;
    env.SnapToGrid(x, y);
    EXPECT_FLOAT_EQ(x, 0.26f);
}

// ---- Selection handles ----

namespace {

struct HandleFixture : ::testing::Test {
    CDrawTool tool;
    CPlotEnv env{tool};
    RecordingDC dc;
    int regionA = 0, regionB = 0; // owner keys
    std::vector<gdi::Rect> invalidated;
    CPlotEnv::Invalidate invalidate = [this](const gdi::Rect& r) { invalidated.push_back(r); };
};

} // namespace

using PlotEnvHandles = HandleFixture;

TEST_F(PlotEnvHandles, PlacingDrawsAFiveUnitSquareAndReusesByOwnerAndKey) {
    env.PlaceHandle(dc, 10, 20, 1, 0, &regionA, nullptr);
    EXPECT_EQ(dc.Drawing(), Calls{"Rectangle(8,18,13,23)"});
    env.PlaceHandle(dc, 30, 40, 1, 0, &regionA, nullptr);
    env.PlaceHandle(dc, 30, 40, 2, 1, &regionA, nullptr);
    ASSERT_EQ(env.Handles().size(), 2u);
    EXPECT_EQ(env.Handles().front().rect, (gdi::Rect{28, 38, 33, 43}));
    EXPECT_EQ(dc.CurrentPen(), gdi::Pen{});
}

TEST_F(PlotEnvHandles, HitIncludesTheEdgesAndRemembersWhenAsked) {
    env.PlaceHandle(dc, 10, 10, 7, 0, &regionA, nullptr);
    EXPECT_EQ(env.HitHandle({13, 13}, false), 7);
    EXPECT_EQ(env.HitHandle({8, 8}, false), 7);
    EXPECT_EQ(env.HitHandle({14, 10}, false), 0);
    EXPECT_EQ(env.selectedHandle, nullptr);
    EXPECT_EQ(env.HitHandle({10, 10}, true), 7);
    ASSERT_NE(env.selectedHandle, nullptr);
    EXPECT_EQ(env.selectedHandle->id, 7);
}

TEST_F(PlotEnvHandles, DrawHandlesMarksTheSelectedOneWhite) {
    env.PlaceHandle(dc, 10, 10, 1, 0, &regionA, nullptr);
    env.PlaceHandle(dc, 30, 10, 0, 1, &regionA, nullptr); // id 0 is not drawn
    env.HitHandle({10, 10}, true);
    dc.Clear();
    env.DrawHandles(dc);
    EXPECT_EQ(dc.Drawing(), (Calls{"Rectangle(8,8,13,13)", "Rectangle(8,8,13,13)"}));
    const auto brushes = dc.CallsNamed("SelectBrush");
    EXPECT_EQ(brushes[0], "SelectBrush(0," + std::to_string(gdi::Rgb(0x80, 0, 0)) + ")");
    EXPECT_EQ(brushes[2], "SelectBrush(0," + std::to_string(gdi::Rgb(0xFF, 0xFF, 0xFF)) + ")");
}

TEST_F(PlotEnvHandles, NextMovesTheSelectionRoundVisibleHandles) {
    env.PlaceHandle(dc, 10, 10, 1, 0, &regionA, nullptr);
    env.PlaceHandle(dc, 20, 10, 2, 1, &regionA, nullptr);
    env.PlaceHandle(dc, 30, 10, 3, 2, &regionA, nullptr);
    std::next(env.handleList.begin())->visible = 0;
    env.HitHandle({10, 10}, true);
    env.NextHandle(dc, invalidate);
    EXPECT_EQ(env.selectedHandle->id, 3); // the hidden one is passed over
    EXPECT_EQ(invalidated, (std::vector<gdi::Rect>{{8, 8, 13, 13}, {28, 8, 33, 13}}));
    env.NextHandle(dc, invalidate);
    EXPECT_EQ(env.selectedHandle->id, 1); // wraps round
}

TEST_F(PlotEnvHandles, NextDoesNothingWithFewerThanTwoVisible) {
    env.PlaceHandle(dc, 10, 10, 1, 0, &regionA, nullptr);
    env.NextHandle(dc, invalidate);
    EXPECT_EQ(env.selectedHandle, nullptr);
    EXPECT_TRUE(invalidated.empty());
}

TEST_F(PlotEnvHandles, RemoveTakesOneOwnersHandlesOrAll) {
    env.PlaceHandle(dc, 10, 10, 1, 0, &regionA, nullptr);
    env.PlaceHandle(dc, 20, 10, 2, 0, nullptr, &regionB);
    env.HitHandle({20, 10}, true);
    env.RemoveHandles(invalidate, &regionB);
    ASSERT_EQ(env.Handles().size(), 1u);
    EXPECT_EQ(env.selectedHandle, nullptr); // no dangling selection
    EXPECT_EQ(invalidated, (std::vector<gdi::Rect>{{18, 8, 23, 13}}));
    env.RemoveHandles(invalidate, nullptr);
    EXPECT_TRUE(env.Handles().empty());
}
