// The recording device: calls as data, the state it keeps, fixed text metrics and clipping.
#include "platform/gdi/RecordingDC.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>

using namespace gdi;
using Calls = std::vector<std::string>;

TEST(RecordingDC, RecordsDrawingCallsWithTheirArguments) {
    RecordingDC dc;
    dc.MoveTo(1, 2);
    dc.LineTo(3, 4);
    const Point pts[] = {{0, 0}, {5, 0}, {5, 5}};
    dc.Polygon(pts);
    dc.Arc(Rect{0, 0, 10, 10}, Point{10, 5}, Point{0, 5});
    dc.TextOut(7, 8, "a\"b");
    EXPECT_EQ(dc.Drawing(), (Calls{"MoveTo(1,2)", "LineTo(3,4)", "Polygon(0,0,5,0,5,5)",
                                   "Arc(0,0,10,10,10,5,0,5)", "TextOut(7,8,\"a\"b\")"}));
    EXPECT_EQ(dc.CurrentPosition(), (Point{3, 4}));
}

TEST(RecordingDC, EmptyAndNegativeRectanglesDrawNothing) {
    RecordingDC dc;
    dc.Rectangle(Rect{10, 10, 10, 20});
    dc.Ellipse(Rect{10, 10, 5, 20});
    dc.FillSolidRect(Rect{0, 5, 10, 0}, 0);
    dc.Chord(Rect{}, Point{}, Point{});
    EXPECT_TRUE(dc.Drawing().empty());
}

TEST(RecordingDC, SelectReturnsThePreviousObject) {
    RecordingDC dc;
    const Pen red{PenStyle::Dash, 1, Rgb(255, 0, 0)};
    EXPECT_EQ(dc.SelectPen(red), Pen{});
    EXPECT_EQ(dc.SelectPen(Pen{}), red);
    Brush hatch{BrushStyle::Pattern, 0, {1, 2, 3, 4, 5, 6, 7, 8}};
    EXPECT_EQ(dc.SelectBrush(hatch), Brush{});
    EXPECT_EQ(dc.CallsNamed("SelectBrush").back(), "SelectBrush(1,0,1,2,3,4,5,6,7,8)");
    EXPECT_EQ(dc.SetTextColor(5), 0u);
    EXPECT_EQ(dc.SetTextColor(6), 5u);
}

TEST(RecordingDC, RestoreBringsBackEverySavedSetting) {
    RecordingDC dc(100, 100);
    const int level = dc.SaveDC();
    dc.SelectPen(Pen{PenStyle::Null});
    dc.SetRop2(RasterOp::NotXorPen);
    dc.SetBkMode(BackgroundMode::Transparent);
    dc.IntersectClipRect(Rect{10, 10, 20, 20});
    dc.SaveDC();
    dc.SetTextAlign(AlignRight);
    dc.RestoreDC(level); // pops both levels
    EXPECT_EQ(dc.SavedLevels(), 0);
    EXPECT_EQ(dc.CurrentPen(), Pen{});
    EXPECT_EQ(dc.Rop2(), RasterOp::CopyPen);
    EXPECT_EQ(dc.BkMode(), BackgroundMode::Opaque);
    EXPECT_EQ(dc.TextAlign(), AlignLeft | AlignTop);
    EXPECT_EQ(dc.GetClipBox(), (Rect{0, 0, 100, 100}));
    dc.RestoreDC(-1); // nothing saved: ignored
    EXPECT_EQ(dc.SavedLevels(), 0);
}

TEST(RecordingDC, ClipAreaDecidesVisibility) {
    RecordingDC dc(100, 100);
    EXPECT_TRUE(dc.RectVisible(Rect{90, 90, 120, 120}));
    EXPECT_FALSE(dc.RectVisible(Rect{100, 0, 120, 10})); // right edge is outside
    dc.IntersectClipRect(Rect{10, 10, 50, 50});
    dc.IntersectClipRect(Rect{40, 0, 200, 45});
    EXPECT_EQ(dc.GetClipBox(), (Rect{40, 10, 50, 45}));
    dc.IntersectClipRect(Rect{0, 0, 5, 5});
    EXPECT_FALSE(dc.RectVisible(Rect{0, 0, 100, 100}));
    const Point triangle[] = {{10, 10}, {30, 10}, {20, 40}};
    dc.SelectClipPolygon(triangle);
    EXPECT_EQ(dc.GetClipBox(), (Rect{10, 10, 31, 41}));
    dc.ResetClip();
    EXPECT_EQ(dc.GetClipBox(), (Rect{0, 0, 100, 100}));
}

TEST(RecordingDC, FixedTextMetricsCountCharactersNotBytes) {
    RecordingDC dc;
    dc.SelectFont(Font{"Arial", 20, 0, 0});
    EXPECT_EQ(dc.GetTextExtent("abc"), (Size{30, 20}));
    EXPECT_EQ(dc.GetTextExtent("\xC3\xA9t\xC3\xA9"), (Size{30, 20})); // UTF-8 "été"
    EXPECT_EQ(dc.GetTextExtent(""), (Size{0, 20}));
    const TextMetrics m = dc.GetTextMetrics();
    EXPECT_EQ(m.ascent + m.descent, m.height);
    EXPECT_EQ(m.descent, 4);
}

TEST(RecordingDC, UpdateCPWritesAtAndAdvancesTheCurrentPosition) {
    RecordingDC dc;
    dc.SelectFont(Font{"Arial", 10, 0, 0});
    dc.MoveTo(100, 50);
    dc.SetTextAlign(AlignUpdateCP);
    dc.TextOut(0, 0, "ab");
    dc.TextOut(0, 0, "c");
    EXPECT_EQ(dc.CallsNamed("TextOut"), (Calls{"TextOut(100,50,\"ab\")", "TextOut(110,50,\"c\")"}));
    EXPECT_EQ(dc.CurrentPosition(), (Point{115, 50}));
}

TEST(RecordingDC, CompatibleSurfacesAreMemoryDevices) {
    RecordingDC dc;
    auto memory = dc.CreateCompatible(40, 30);
    EXPECT_EQ(memory->Kind(), DeviceKind::Memory);
    EXPECT_EQ(memory->SurfaceSize(), (Size{40, 30}));
    dc.BitBlt(1, 2, 40, 30, *memory, 0, 0);
    EXPECT_EQ(dc.Drawing(), Calls{"BitBlt(1,2,40,30,1,0,0)"});
}

TEST(GdiTypes, PixelHeightFromPointsAt96Dpi) {
    EXPECT_EQ(PixelHeightFromPoints(10), 13);
    EXPECT_EQ(PixelHeightFromPoints(12), 16);
    EXPECT_EQ(PixelHeightFromPoints(9), 12);
    EXPECT_EQ(PixelHeightFromPoints(0), 0);
}

TEST(GdiTypes, ColorComponentsRoundTrip) {
    const ColorRef c = Rgb(0x12, 0x34, 0x56);
    EXPECT_EQ(c, 0x563412u);
    EXPECT_EQ(RedOf(c), 0x12u);
    EXPECT_EQ(GreenOf(c), 0x34u);
    EXPECT_EQ(BlueOf(c), 0x56u);
}

// Written out as it draws, the device gives the descriptions it would have recorded, one a
// line, and keeps no calls.
TEST(RecordingDC, WrittenDrawingIsTheRecordedDrawingLineByLine) {
    std::mt19937 random(5);
    const auto draw = [](IDeviceContext& dc, std::mt19937 r) {
        std::uniform_int_distribution<int> any(INT_MIN, INT_MAX), small(-20, 20);
        for (int i = 0; i < 400; ++i) {
            std::vector<Point> points(std::size_t(small(r) + 20));
            for (Point& p : points)
                p = {any(r), small(r)};
            switch (i % 8) {
            case 0:
                dc.MoveTo(any(r), small(r));
                break;
            case 1:
                dc.LineTo(small(r), any(r));
                break;
            case 2:
                dc.Polyline(points);
                break;
            case 3:
                dc.Polygon(points);
                break;
            case 4:
                dc.TextOut(small(r), small(r), i % 16 ? "\xC3\xA9t\"e" : "");
                break;
            case 5:
                dc.FillSolidRect(Rect{small(r), small(r), 30, 30}, ColorRef(any(r)));
                break;
            case 6:
                dc.SelectPen(Pen{PenStyle::Solid, small(r), 0});
                break;
            default:
                dc.Arc(Rect{-40, -40, 40, 40}, Point{any(r), 0}, Point{0, any(r)});
                break;
            }
        }
    };
    RecordingDC recorded, written;
    std::vector<std::uint8_t> out;
    written.WriteDrawingTo(out);
    draw(recorded, random);
    draw(written, random);
    std::string expected;
    for (const std::string& call : recorded.Drawing())
        expected += call + '\n';
    EXPECT_EQ(std::string(out.begin(), out.end()), expected);
    EXPECT_TRUE(written.Calls().empty());
    EXPECT_GT(recorded.Drawing().size(), 300u);
}
