#include "annot/AnnotationText.h"
#include "annot/PlotAnnotation.h"
#include "annot/PlotGeometry.h"
#include "platform/gdi/RecordingDC.h"
#include "render/DrawTool.h"
#include "render/PlotEnv.h"
#include "render/PlotPaintContext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

// A plot whose drawing area is 100..500 across and 50..350 down in a 600 x 400 control, with
// plot coordinates 0..1 over the drawing area (y upwards).
class FakeSite : public IAnnotationSite {
public:
    CPlotRegion::Rect DrawingRect() const override { return {100, 50, 501, 351}; }
    gdi::Size ControlSize() const override { return {600, 400}; }
    bool TagToDevice(CPlotPaintContext&, double x, double y, int, gdi::Point& p) override {
        if (x >= CPlotAnnotation::kLargestFloat) x = 0;
        if (y >= CPlotAnnotation::kLargestFloat) y = 0;
        p = {int(std::lround(100 + 400 * x)), int(std::lround(350 - 300 * y))};
        return true;
    }
    bool DeviceToPlot(CPlotPaintContext&, gdi::Point p, int, double& x, double& y) override {
        x = (p.x - 100) / 400.0;
        y = (350 - p.y) / 300.0;
        return true;
    }
    bool InView(double x, double y, int) override {
        auto in = [](double v) {
            return v >= CPlotAnnotation::kLargestFloat || (v >= 0 && v <= 1);
        };
        return in(x) && in(y);
    }
    // One curve: the horizontal segment y = 0.5 from x = 0 to x = 1.
    bool NearestCurve(CPlotPaintContext&, gdi::Point a, double& detour, int& varNo, double& x,
                      double& y) override {
        const double ax = a.x, ay = a.y;
        const double da = std::hypot(ax - 100, ay - 200), db = std::hypot(ax - 500, ay - 200);
        const double d = da + db - 400;
        if (!(d < detour)) return false;
        detour = d;
        varNo = 1;
        x = (da * 1 + db * 0) / (da + db);
        y = 0.5;
        return true;
    }
    bool Flipped() const override { return false; }
    bool ViewMoved() const override { return viewMoved; }
    int TextMode() const override { return textMode; }
    std::string Shown(const std::string& text) override { return text; }

    bool viewMoved = false;
    int textMode = 0;
};

class AnnotationTest : public testing::Test {
protected:
    AnnotationTest() : ctx(dc, env) { env.locale = locale::Locale::Classic(); }
    const CPlotFont* Font() { return &CDrawTool::Instance().FindFont("Times New Roman", 10, 0, 0); }
    std::unique_ptr<CPlotAnnotation> Make(const std::string& text,
                                          CPlotAnnotation::Attributes a = {}) {
        auto made = std::make_unique<CPlotAnnotation>(text, Font(), a);
        made->SetUnplaced(false);
        return made;
    }

    gdi::RecordingDC dc{600, 400};
    CPlotEnv env;
    CPlotPaintContext ctx;
    FakeSite site;
};

} // namespace

TEST(AnnotationTextTest, ConvertsEscapesAndLineFeeds) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"a\\nb", "a\r\nb"}, {"a\\xb", "axb"}, {"a\nb", "a\r\nb"}, {"a\nb\\nc", "a\r\nb\r\nc"},
        {"\\\\n", "\\n"},    {"end\\", "end"}, {"", ""},           {"plain", "plain"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(AnnotationText::Convert(in), out) << in;
}

TEST(AnnotationTextTest, SplitsLinesAtCarriageReturns) {
    using V = std::vector<std::string_view>;
    EXPECT_EQ(AnnotationText::Lines("a\r\nb"), (V{"a", "b"}));
    EXPECT_EQ(AnnotationText::Lines("a\rb\r\n"), (V{"a", "b"}));
    EXPECT_EQ(AnnotationText::Lines("one"), (V{"one"}));
    EXPECT_TRUE(AnnotationText::Lines("").empty());
}

TEST(PlotGeometryTest, NotchedArrowHeadIsLongWideAndNotched) {
    const auto head = PlotGeometry::NotchedArrowHead({0, 0}, {30, 0}, 14, 5);
    ASSERT_TRUE(head);
    // g = 30·14/90 = 4.67, l = 0: length 14, half width round(g) = 5, notch at 7.
    EXPECT_EQ((*head)[0], (gdi::Point{0, 0}));
    EXPECT_EQ((*head)[1], (gdi::Point{14, 5}));
    EXPECT_EQ((*head)[2], (gdi::Point{7, 0}));
    EXPECT_EQ((*head)[3], (gdi::Point{14, -5}));
    // A very short leader is lengthened in its own direction; coinciding points give none.
    const auto shortHead = PlotGeometry::NotchedArrowHead({10, 10}, {12, 10}, 14, 5);
    ASSERT_TRUE(shortHead);
    EXPECT_EQ((*shortHead)[1].x, 24);
    EXPECT_FALSE(PlotGeometry::NotchedArrowHead({3, 3}, {3, 3}, 14, 5));
    EXPECT_FALSE(PlotGeometry::NotchedArrowHead({0, 0}, {9, 9}, -1, 5));
}

TEST(PlotGeometryTest, PolygonAndStripAgreeWithAPlainRectangleTest) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> coordinate(-20, 120);
    const auto strip = PlotGeometry::Strip({0, 50}, {100, 60}, 2); // flat: offset vertically
    const std::array<gdi::Point, 4> square{{{0, 0}, {100, 0}, {100, 100}, {0, 100}}};
    for (int i = 0; i < 2000; ++i) {
        const gdi::Point p{coordinate(random), coordinate(random)};
        const bool inSquare = p.x >= 0 && p.x < 100 && p.y >= 0 && p.y < 100;
        const bool nearSquare = p.x == 100 || p.y == 100 || p.x == 0 || p.y == 0;
        if (!nearSquare) {
            EXPECT_EQ(PlotGeometry::InPolygon(square, p), inSquare) << p.x << ',' << p.y;
        }
        // The strip: within 2 units above or below the line.
        const double lineY = 50 + (p.x / 100.0) * 10;
        if (p.x > 0 && p.x < 100 && std::fabs(p.y - lineY) > 2.5) {
            EXPECT_FALSE(PlotGeometry::InPolygon(strip, p));
        }
        if (p.x > 1 && p.x < 99 && std::fabs(p.y - lineY) < 1.5) {
            EXPECT_TRUE(PlotGeometry::InPolygon(strip, p));
        }
    }
}

TEST_F(AnnotationTest, FreePositionsMapMarginsAndDrawingArea) {
    const CPlotRegion::Rect d = site.DrawingRect();
    const gdi::Size c = site.ControlSize();
    struct Case {
        double x, y;
        gdi::Point p;
    };
    const Case cases[] = {
        {-1, -1, {0, 0}},       {0, 0, {100, 50}},      {1, 1, {500, 350}},     {2, 2, {600, 400}},
        {0.5, 0.5, {300, 200}}, {-0.5, 1.5, {50, 375}}, {1.5, -0.5, {550, 25}},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(CPlotAnnotation::FreeToDevice(d, c, k.x, k.y), k.p) << k.x << ',' << k.y;
        double x = 0, y = 0;
        CPlotAnnotation::DeviceToFree(d, c, k.p, x, y);
        EXPECT_NEAR(x, k.x, 1e-9);
        EXPECT_NEAR(y, k.y, 1e-9);
    }
    // Every device point in the control survives the round trip.
    std::mt19937 random(3);
    for (int i = 0; i < 500; ++i) {
        const gdi::Point p{int(random() % 601), int(random() % 401)};
        double x = 0, y = 0;
        CPlotAnnotation::DeviceToFree(d, c, p, x, y);
        EXPECT_EQ(CPlotAnnotation::FreeToDevice(d, c, x, y), p);
    }
}

TEST_F(AnnotationTest, LayoutOfRotatedMultiLineText) {
    // 10 points are 13 pixels; the recording device's characters are 7 wide.
    struct Case {
        int angle, alignment;
        std::array<int, 2> w, h;
        CPlotRegion::Rect text;
    };
    const Case cases[] = {
        // Two lines "abc" and "de": 21 wide, 26 high, anchored at (300, 200).
        {0, CPlotAnnotation::Left, {21, 0}, {0, 26}, {300, 174, 322, 201}},
        {0, CPlotAnnotation::Centre, {21, 0}, {0, 26}, {290, 174, 312, 201}},
        {0, CPlotAnnotation::Right, {21, 0}, {0, 26}, {279, 174, 301, 201}},
        {90, CPlotAnnotation::Left, {0, 21}, {-26, 0}, {274, 179, 301, 201}},
        {180, CPlotAnnotation::Left, {-21, 0}, {0, -26}, {279, 200, 301, 227}},
    };
    for (const Case& k : cases) {
        CPlotAnnotation::Attributes a;
        a.angle = k.angle;
        a.alignment = k.alignment;
        auto tOwned = Make("abc\r\nde", a);
        CPlotAnnotation& t = *tOwned;
        t.SetPosition({0.5, 0.5, 0, 0, 0});
        t.Layout(ctx, site);
        EXPECT_EQ(t.Anchor(), (gdi::Point{300, 200}));
        EXPECT_EQ(t.WidthVector(), k.w) << k.angle;
        EXPECT_EQ(t.HeightVector(), k.h) << k.angle;
        EXPECT_EQ(t.TextRect(), k.text) << k.angle << ' ' << k.alignment;
        EXPECT_EQ(t.rect, k.text); // a free text's overall rectangle is its text rectangle
        // The hit region is the turned box.
        const gdi::Point inside{(k.text.left + k.text.right) / 2, (k.text.top + k.text.bottom) / 2};
        EXPECT_TRUE(t.HitTest(inside.x, inside.y));
        EXPECT_FALSE(t.HitTest(k.text.right + 3, inside.y));
    }
}

TEST_F(AnnotationTest, DrawsLinesFromTheTopWithTheLastOnTheAnchor) {
    auto tOwned = Make("a\\nb\\xc");
    CPlotAnnotation& t = *tOwned;
    t.SetText(AnnotationText::Convert("a\\nb\\xc"));
    t.SetPosition({0.5, 0.5, 0, 0, 0});
    t.Paint(ctx, site, false);
    const auto texts = dc.CallsNamed("TextOut");
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "TextOut(300,187,\"a\")");
    EXPECT_EQ(texts[1], "TextOut(300,200,\"bxc\")");
    EXPECT_EQ(dc.SavedLevels(), 0);
    // Hidden, fontless, unplaced and empty texts draw nothing.
    dc.Clear();
    auto emptyOwned = Make("");
    CPlotAnnotation& empty = *emptyOwned;
    empty.Paint(ctx, site, false);
    CPlotAnnotation unplaced("x", Font(), {});
    unplaced.Paint(ctx, site, false);
    CPlotAnnotation fontless("x");
    fontless.SetUnplaced(false);
    fontless.Paint(ctx, site, false);
    EXPECT_TRUE(dc.Drawing().empty());
}

TEST_F(AnnotationTest, AttachedTextDrawsLeaderAndArrowheadAndFollowsItsTag) {
    CPlotAnnotation::Attributes a;
    a.attachMode = CPlotAnnotation::AtPoint;
    a.arrowSize = 2;
    auto tOwned = Make("tag", a);
    CPlotAnnotation& t = *tOwned;
    // Tag at plot (0.25, 0.5) = device (200, 200); anchor 100 right and 60 up of it.
    t.SetPosition({0.25, 0.5, 0.25, -0.2, 0});
    t.Paint(ctx, site, false);
    EXPECT_EQ(t.TagPoint(), (gdi::Point{200, 200}));
    EXPECT_EQ(t.Anchor(), (gdi::Point{300, 140}));
    // The leader runs from the tag to the text's left edge (the tag lies left of and below
    // the text): x = anchor, y = anchor.
    const auto drawing = dc.Drawing();
    ASSERT_GE(drawing.size(), 3u);
    EXPECT_EQ(drawing[0], "MoveTo(200,200)");
    EXPECT_EQ(drawing[1], "LineTo(300,140)");
    EXPECT_EQ(drawing[2].rfind("Polygon(200,200,", 0), 0u) << drawing[2];
    // A size far past any page (read from a stored plot) draws a head that ends within reach.
    dc.Clear();
    a.arrowSize = 310461888;
    t.SetAttributes(a);
    t.Paint(ctx, site, false);
    ASSERT_EQ(dc.CallsNamed("Polygon").size(), 1u);
    a.arrowSize = 2;
    t.SetAttributes(a);
    dc.Clear();
    t.Paint(ctx, site, false);
    // The overall rectangle takes in the tag point.
    EXPECT_LE(t.rect.left, 197);
    EXPECT_GE(t.rect.bottom, 203);
    // Arrow size 0: no leader, yet the text still follows its tag.
    dc.Clear();
    a.arrowSize = 0;
    t.SetAttributes(a);
    t.SetPosition({0.5, 0.5, 0.25, -0.2, 0});
    t.Paint(ctx, site, false);
    EXPECT_TRUE(dc.CallsNamed("LineTo").empty());
    EXPECT_EQ(t.Anchor(), (gdi::Point{400, 140}));
}

TEST_F(AnnotationTest, AttachingFindsCurveAxisOrPointAndKeepsTheTextInPlace) {
    struct Case {
        gdi::Point anchor;
        int mode;
        int expectMode;
        bool refused;
    };
    const Case cases[] = {
        {{300, 190}, CPlotAnnotation::OnCurve, CPlotAnnotation::OnCurve, false},
        {{105, 100},
         CPlotAnnotation::OnCurve,
         CPlotAnnotation::OnAxis,
         false}, // the Y axis is nearer
        {{300, 300}, CPlotAnnotation::AtPoint, CPlotAnnotation::AtPoint, false},
        {{50, 20}, CPlotAnnotation::AtPoint, CPlotAnnotation::Free, true}, // outside the view
    };
    for (const Case& k : cases) {
        auto tOwned = Make("t");
        CPlotAnnotation& t = *tOwned;
        double fx = 0, fy = 0;
        CPlotAnnotation::DeviceToFree(site.DrawingRect(), site.ControlSize(), k.anchor, fx, fy);
        t.SetPosition({fx, fy, 0, 0, 0});
        t.Layout(ctx, site);
        EXPECT_EQ(t.Attach(ctx, site, k.mode), !k.refused);
        t.Layout(ctx, site);
        EXPECT_EQ(t.GetAttributes().attachMode, k.expectMode);
        EXPECT_EQ(t.Anchor(), k.anchor) << "the text does not move";
        if (k.expectMode == CPlotAnnotation::OnCurve) {
            EXPECT_EQ(t.GetPosition().tagVariable, 1);
            EXPECT_EQ(t.TagPoint().y, 200);
        }
        if (k.expectMode == CPlotAnnotation::OnAxis) {
            EXPECT_EQ(t.GetPosition().x, CPlotAnnotation::kLargestFloat);
        }
        // Detaching frees the text where it stands.
        t.Detach(ctx, site);
        t.Layout(ctx, site);
        EXPECT_FALSE(t.Attached());
        EXPECT_EQ(t.Anchor(), k.anchor);
    }
}

TEST_F(AnnotationTest, DraggingMovesOnlyWhenTheFrameStaysInside) {
    auto tOwned = Make("drag");
    CPlotAnnotation& t = *tOwned;
    t.SetPosition({0.5, 0.5, 0, 0, 0});
    t.Layout(ctx, site);
    const gdi::Point start{t.TextRect().left + 2, t.TextRect().top + 2};
    ASSERT_EQ(t.BeginDrag(start), CPlotAnnotation::kMoveDrag);
    t.TrackDrag(ctx, {start.x + 40, start.y + 10}, 1);
    // The frame is drawn with the inverting pen; the release erases it again.
    EXPECT_EQ(dc.Rop2(), gdi::RasterOp::CopyPen);
    EXPECT_EQ(t.EndDrag(ctx, site, {start.x + 40, start.y + 10}, 1), 0);
    t.Layout(ctx, site);
    EXPECT_EQ(t.Anchor(), (gdi::Point{340, 210}));
    // Dropped with less than 6 units left inside the control: the text stays.
    const gdi::Point from{t.TextRect().left + 1, t.TextRect().top + 1};
    ASSERT_EQ(t.BeginDrag(from), CPlotAnnotation::kMoveDrag);
    const int away = 600 - 5 - t.TextRect().left;
    t.TrackDrag(ctx, {from.x + away, from.y}, 1);
    t.EndDrag(ctx, site, {from.x + away, from.y}, 1);
    t.Layout(ctx, site);
    EXPECT_EQ(t.Anchor(), (gdi::Point{340, 210}));
    // Keyboard moves go through MoveBy.
    t.MoveBy(ctx, site, -5, 5);
    t.Layout(ctx, site);
    EXPECT_EQ(t.Anchor(), (gdi::Point{335, 215}));
}

TEST_F(AnnotationTest, ClampingBringsATextBackIntoTheControl) {
    auto tOwned = Make("far out");
    CPlotAnnotation& t = *tOwned;
    t.SetPosition({2.5, -1.5, 0, 0, 0});
    t.RequestClamp();
    t.Paint(ctx, site, true);
    EXPECT_GE(t.rect.left, 0);
    EXPECT_LE(t.rect.right, 600);
    EXPECT_GE(t.rect.top, 0);
    EXPECT_LE(t.rect.bottom, 400);
}
