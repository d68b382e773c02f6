#include "annot/PlotDisplay.h"
#include "annot/PlotPath.h"
#include "annot/ShapeRecord.h"
#include "platform/gdi/RecordingDC.h"
#include "platform/ui/VirtualKeys.h"
#include "render/DrawTool.h"
#include "render/PlotEnv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

// One world unit is one device unit: world (a, b) lies at device (100 + a, 350 - b).
class ShapeTest : public testing::Test {
protected:
    ShapeTest() : env(tool) { env.SetMapping({100, 50, 500, 350}, 0, 400, 300, 0); }

    static gdi::Point At(float a, float b) {
        return {100 + int(std::lround(a)), 350 - int(std::lround(b))};
    }
    // The drawing calls of one shape drawn on a fresh recording device.
    std::vector<std::string> Drawn(CPlotDisplay& shape) {
        gdi::RecordingDC dc(600, 400);
        shape.Draw(dc, env);
        return dc.Drawing();
    }
    template <class Shape, class... Args>
    std::unique_ptr<Shape> Make(float x1, float y1, float x2, float y2, Args... args) {
        auto s = std::make_unique<Shape>(args...);
        s->SetWorld(x1, y1, x2, y2);
        s->WorldToDevice(env);
        return s;
    }
    std::unique_ptr<CPlotPolygon> Polygon(std::vector<CPlotVertex> v, bool closed) {
        auto p = std::make_unique<CPlotPolygon>(0.0f, 0.0f, closed);
        p->SetVertices(std::move(v));
        p->WorldToDevice(env);
        return p;
    }
    // Every shape kind once, in world coordinates around (100, 100).
    std::vector<std::unique_ptr<CPlotDisplay>> EveryKind() {
        std::vector<std::unique_ptr<CPlotDisplay>> all;
        all.push_back(Make<CPlotLine>(10, 10, 60, 40, 0.0f, 0.0f));
        all.push_back(Make<CPlotBox>(20, 20, 80, 70, CPlotDisplay::kBox, 0.0f, 0.0f));
        all.push_back(Make<CPlotBox>(30, 90, 50, 60, CPlotDisplay::kFilledBox, 0.0f, 0.0f));
        for (char kind : std::string("4u1<c>3d2"))
            all.push_back(Make<CPlotEllipse>(150, 150, 180, 130, kind, 0.0f, 0.0f));
        all.push_back(Make<CPlotArc>(200, 100, 240, 60, 0.0f, 0.0f));
        all.push_back(Make<CPlotPoint>(250, 250, 250, 250, 0.0f, 0.0f, 3, 4));
        all.push_back(Polygon({{10, 200, 1}, {60, 210, 1}, {40, 260, 1}, {15, 240, 1}}, true));
        all.push_back(Polygon({{100, 200, 1}, {160, 210, 0}, {140, 260, 1}}, false));
        auto filled = Polygon({{200, 200, 1}, {260, 210, 1}, {240, 260, 1}}, true);
        filled->SetFilled(1);
        all.push_back(std::move(filled));
        for (auto& s : all) {
            s->SetColor(0x0000FF, 3);
            s->SetLineType(2);
        }
        return all;
    }

    CDrawTool tool;
    CPlotEnv env;
};

std::vector<std::uint8_t> Record(const std::vector<std::unique_ptr<CPlotDisplay>>& shapes) {
    std::vector<std::uint8_t> bytes;
    WriteShapes(shapes, bytes);
    return bytes;
}

} // namespace

TEST_F(ShapeTest, EachKindDrawsItsFigure) {
    struct Case {
        std::function<std::unique_ptr<CPlotDisplay>()> make;
        std::vector<std::string> drawing;
    };
    const std::vector<Case> cases = {
        {[&] { return Make<CPlotLine>(0, 0, 50, 20, 0.0f, 0.0f); },
         {"MoveTo(100,350)", "LineTo(150,330)"}},
        {[&] { return Make<CPlotBox>(0, 0, 50, 20, 'b', 0.0f, 0.0f); },
         {"Polyline(100,350,150,350,150,330,100,330,100,350)"}},
        {[&] { return Make<CPlotBox>(0, 0, 50, 20, 'B', 0.0f, 0.0f); },
         {"Rectangle(100,330,151,351)"}},
        // The whole ellipse's outline is two arcs; its centre is point 1.
        {[&] { return Make<CPlotEllipse>(100, 100, 130, 80, 'c', 0.0f, 0.0f); },
         {"Arc(170,230,230,270,200,270,200,230)", "Arc(170,230,230,270,200,230,200,270)"}},
        // The upper half runs from the right end to the left end.
        {[&] { return Make<CPlotEllipse>(100, 100, 130, 80, 'u', 0.0f, 0.0f); },
         {"Arc(170,230,230,270,230,250,170,250)"}},
        // A zero-height ellipse is a line across its box.
        {[&] { return Make<CPlotEllipse>(100, 100, 130, 100, 'c', 0.0f, 0.0f); },
         {"MoveTo(170,250)", "LineTo(230,250)"}},
        // The quarter arc centred at (x1, y2).
        {[&] { return Make<CPlotArc>(0, 40, 30, 0, 0.0f, 0.0f); },
         {"Arc(70,310,130,390,130,350,100,310)"}},
        {[&] {
             return Polygon({{0, 0, 1}, {10, 0, 1}}, true);
         },
         {"MoveTo(100,350)", "LineTo(110,350)"}},
        {[&] {
             return Polygon({{0, 0, 1}, {10, 0, 1}, {10, 10, 1}}, true);
         },
         {"MoveTo(110,340)", "LineTo(100,350)", "LineTo(110,350)", "LineTo(110,340)"}},
        {[&] {
             return Polygon({{0, 0, 1}, {10, 0, 0}, {10, 10, 1}}, false);
         },
         {"MoveTo(100,350)", "MoveTo(110,350)", "LineTo(110,340)"}},
        {[&] {
             return Polygon({{0, 0, 1}}, true);
         },
         {}},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        auto shape = cases[i].make();
        EXPECT_EQ(Drawn(*shape), cases[i].drawing) << "case " << i;
    }
    // A filled ellipse part is its chord figure; a filled closed polygon one polygon.
    auto half = Make<CPlotEllipse>(100, 100, 130, 80, 'u', 0.0f, 0.0f);
    half->SetFilled(1);
    EXPECT_EQ(Drawn(*half), std::vector<std::string>{"Chord(170,230,230,270,230,250,170,250)"});
    auto poly = Polygon({{0, 0, 1}, {10, 0, 1}, {10, 10, 1}}, true);
    poly->SetFilled(1);
    EXPECT_EQ(Drawn(*poly), std::vector<std::string>{"Polygon(100,350,110,350,110,340)"});
}

TEST_F(ShapeTest, EllipsePartsFollowTheGridAndRunCounterClockwise) {
    // kind, vertical part, horizontal part, arc start, arc end (centre (200, 250), radii 30, 20)
    struct Case {
        char kind;
        int vertical, horizontal;
        gdi::Point from, to;
    };
    const gdi::Point top{200, 230}, bottom{200, 270}, left{170, 250}, right{230, 250};
    const Case cases[] = {
        {'4', 1, -1, top, left},     {'u', 1, 0, right, left},  {'1', 1, 1, right, top},
        {'<', 0, -1, top, bottom},   {'c', 0, 0, bottom, top},  {'>', 0, 1, bottom, top},
        {'3', -1, -1, left, bottom}, {'d', -1, 0, left, right}, {'2', -1, 1, bottom, right},
        {'l', -1, 0, left, right},
    };
    for (const Case& c : cases) {
        auto e = Make<CPlotEllipse>(100, 100, 130, 80, c.kind, 0.0f, 0.0f);
        EXPECT_EQ(e->VerticalPart(), c.vertical) << c.kind;
        EXPECT_EQ(e->HorizontalPart(), c.horizontal) << c.kind;
        gdi::Point from, to;
        e->ArcEnds(from, to);
        EXPECT_EQ(from, c.from) << c.kind;
        EXPECT_EQ(to, c.to) << c.kind;
        if (c.kind != 'l') {
            EXPECT_EQ(CPlotEllipse::KindOfPart(c.vertical, c.horizontal), c.kind);
        }
    }
}

TEST_F(ShapeTest, HitTestsFollowEachKindsRule) {
    auto line = Make<CPlotLine>(0, 0, 100, 20, 0.0f, 0.0f); // device (100,350) to (200,330)
    // On the line at x = 150 lies y = 340.
    EXPECT_TRUE(line->Hit(150, 342));
    EXPECT_TRUE(line->Hit(150, 338));
    EXPECT_FALSE(line->Hit(150, 343));
    EXPECT_FALSE(line->Hit(201, 330)); // beyond its end
    EXPECT_FALSE(line->Hit(99, 350));
    auto steep = Make<CPlotLine>(0, 0, 10, 100, 0.0f, 0.0f);
    EXPECT_TRUE(steep->Hit(107, 300));
    EXPECT_FALSE(steep->Hit(108, 300));

    auto box = Make<CPlotBox>(0, 0, 50, 20, 'b', 0.0f, 0.0f); // device 100..150, 330..350
    EXPECT_TRUE(box->Hit(97 + 1, 340));
    EXPECT_FALSE(box->Hit(97, 340)); // strictly inside the box spread by 3
    EXPECT_TRUE(box->Hit(152, 352));
    EXPECT_FALSE(box->Hit(153, 340));

    auto upper = Make<CPlotEllipse>(100, 100, 130, 80, 'u', 0.0f, 0.0f); // centre (200, 250)
    EXPECT_TRUE(upper->Hit(200, 240));
    EXPECT_TRUE(upper->Hit(200, 253));
    EXPECT_FALSE(upper->Hit(200, 254)); // below the centre by more than 3
    auto right = Make<CPlotEllipse>(100, 100, 130, 80, '>', 0.0f, 0.0f);
    EXPECT_TRUE(right->Hit(197, 250));
    EXPECT_FALSE(right->Hit(196, 250));

    auto point = Make<CPlotPoint>(0, 0, 0, 0, 0.0f, 0.0f, 1, 4);
    EXPECT_TRUE(point->Hit(103, 347));
    EXPECT_FALSE(point->Hit(104, 350));

    // An invisible shape never hits.
    box->SetVisible(0);
    EXPECT_FALSE(box->Hit(120, 340));
}

TEST_F(ShapeTest, LineHitMatchesTheDistanceRuleOnRandomPoints) {
    std::mt19937 random(13);
    std::uniform_int_distribution<int> coord(0, 200);
    for (int round = 0; round < 200; ++round) {
        auto line = Make<CPlotLine>(float(coord(random)), float(coord(random)),
                                    float(coord(random)), float(coord(random)), 0.0f, 0.0f);
        const gdi::Point a = line->Start(), b = line->End();
        for (int k = 0; k < 50; ++k) {
            const int x = 100 + coord(random), y = 150 + coord(random);
            // The plain rule: along the longer axis within the ends, across it within 2.
            const bool flat = std::abs(b.x - a.x) >= std::abs(b.y - a.y);
            bool expected;
            if (flat) {
                const double t = b.x == a.x ? 0 : double(x - a.x) / (b.x - a.x);
                expected = x >= std::min(a.x, b.x) && x <= std::max(a.x, b.x) &&
                           std::abs(y - (a.y + t * (b.y - a.y))) <= 2;
            } else {
                const double t = double(y - a.y) / (b.y - a.y);
                expected = y >= std::min(a.y, b.y) && y <= std::max(a.y, b.y) &&
                           std::abs(x - (a.x + t * (b.x - a.x))) <= 2;
            }
            ASSERT_EQ(line->Hit(x, y), expected) << x << "," << y;
        }
    }
}

TEST_F(ShapeTest, HandlesCarryTheirCodesAndCursors) {
    gdi::RecordingDC dc(600, 400);
    auto box = Make<CPlotBox>(0, 0, 50, 20, 'b', 0.0f, 0.0f);
    box->ShowHandles(dc, env);
    std::vector<std::pair<int, int>> codes;
    for (const CPlotBullet& h : env.Handles())
        codes.push_back({h.key, h.id});
    const std::vector<std::pair<int, int>> boxHandles = {{2, 16526}, {3, 16527}, {4, 16526},
                                                         {5, 16527}, {6, 16524}, {7, 16525},
                                                         {8, 16524}, {9, 16525}};
    EXPECT_EQ(codes, boxHandles);
    // The corner (x2, y1) sits at device (150, 350).
    EXPECT_EQ(env.HitHandle({150, 350}, true), 16527);
    EXPECT_EQ(env.hotHandle->key, 3);

    env.RemoveHandles({}, nullptr);
    auto closed = Polygon({{0, 0, 1}, {10, 0, 1}, {10, 10, 1}}, true);
    closed->ShowHandles(dc, env);
    std::vector<int> keys;
    for (const CPlotBullet& h : env.Handles())
        keys.push_back(h.key);
    EXPECT_EQ(keys, (std::vector<int>{2, 7, 4, 3, 6, 5}));
    env.RemoveHandles({}, nullptr);
    auto open = Polygon({{0, 0, 1}, {10, 0, 1}, {10, 10, 1}}, false);
    open->ShowHandles(dc, env);
    keys.clear();
    for (const CPlotBullet& h : env.Handles())
        keys.push_back(h.key);
    EXPECT_EQ(keys, (std::vector<int>{2, 4, 3, 6, 5}));
}

TEST_F(ShapeTest, EdgeHandleInsertsOneVertexAndThenDragsIt) {
    gdi::RecordingDC dc(600, 400);
    auto poly = Polygon({{0, 0, 1}, {100, 0, 1}, {100, 100, 1}}, true);
    // Code 3 is the edge ending at vertex 1: the new vertex goes in at index 1.
    int code = poly->TrackHandle(dc, env, 150, 360, 3, 2);
    EXPECT_EQ(code, 4);
    EXPECT_EQ(poly->VertexCount(), 4);
    code = poly->TrackHandle(dc, env, 160, 370, code, 2);
    EXPECT_EQ(poly->VertexCount(), 4);
    EXPECT_EQ(poly->DeviceVertices()[1], (gdi::Point{160, 370}));
    poly->CommitDrag();
    poly->DeviceToWorld(env);
    EXPECT_EQ(poly->Vertices()[1], (CPlotVertex{60, -20, 1}));
    EXPECT_EQ(poly->Vertices()[2], (CPlotVertex{100, 0, 1}));
}

TEST_F(ShapeTest, MoveFeedbackIsInvertingAndErasesItself) {
    gdi::RecordingDC dc(600, 400);
    auto box = Make<CPlotBox>(0, 0, 50, 20, 'b', 0.0f, 0.0f);
    box->TrackMove(dc, env, 5, 5, 2);
    box->TrackMove(dc, env, 10, 0, 2);
    box->HideFeedback(dc, env, 2);
    // Shown at (5, 5), erased there, shown at (10, 0), erased there: each outline twice.
    const std::vector<std::string> outlines = dc.CallsNamed("Polyline");
    ASSERT_EQ(outlines.size(), 4u);
    EXPECT_EQ(outlines[0], outlines[1]);
    EXPECT_EQ(outlines[2], outlines[3]);
    EXPECT_EQ(dc.Rop2(), gdi::RasterOp::CopyPen);
    box->CommitDrag();
    box->DeviceToWorld(env);
    EXPECT_FLOAT_EQ(box->X1(), 10);
    EXPECT_FLOAT_EQ(box->Y2(), 20);
}

TEST_F(ShapeTest, ArrowKeysMoveByTheStepAndShiftResizes) {
    env.snapStep = 5;
    env.snapOn = 1;
    auto line = Make<CPlotLine>(0, 0, 50, 20, 0.0f, 0.0f);
    EXPECT_EQ(line->KeyDown(ui::VK_RIGHT, false, env), 1);
    EXPECT_EQ(line->KeyDown(ui::VK_UP, false, env), 1);
    EXPECT_FLOAT_EQ(line->X1(), 5);
    EXPECT_FLOAT_EQ(line->Y1(), 5);
    EXPECT_EQ(line->Start(), At(5, 5));
    EXPECT_EQ(line->KeyDown(ui::VK_LEFT, true, env), 1);
    EXPECT_FLOAT_EQ(line->X1(), 5);
    EXPECT_FLOAT_EQ(line->X2(), 50);
    // The transform letters are taken but leave a single shape as it is; others are not.
    EXPECT_EQ(line->KeyDown('L', false, env), 1);
    EXPECT_FLOAT_EQ(line->X2(), 50);
    EXPECT_EQ(line->KeyDown('Q', false, env), 0);

    // A box handle moves only its own corner or edge.
    auto box = Make<CPlotBox>(0, 0, 50, 20, 'b', 0.0f, 0.0f);
    box->KeyMoveHandle(7, ui::VK_RIGHT, env); // right middle: x2
    EXPECT_FLOAT_EQ(box->X1(), 0);
    EXPECT_FLOAT_EQ(box->X2(), 55);
    box->KeyMoveHandle(2, ui::VK_DOWN, env); // (x1, y1)
    EXPECT_FLOAT_EQ(box->X1(), 0);
    EXPECT_FLOAT_EQ(box->Y1(), -5);
    EXPECT_FLOAT_EQ(box->Y2(), 20);
}

TEST_F(ShapeTest, SnapRoundsHalvesAwayFromZero) {
    env.snapOn = 1;
    env.snapStep = 10;
    auto line = Make<CPlotLine>(14.9f, -15, 25, -4.9f, 0.0f, 0.0f);
    line->SnapToGrid(env);
    EXPECT_FLOAT_EQ(line->X1(), 10);
    EXPECT_FLOAT_EQ(line->Y1(), -20);
    EXPECT_FLOAT_EQ(line->X2(), 30);
    EXPECT_FLOAT_EQ(line->Y2(), 0);
}

TEST_F(ShapeTest, RecordsRoundTripExactly) {
    auto shapes = EveryKind();
    auto path = std::make_unique<CPlotPath>();
    for (auto& s : shapes)
        s->AppendToPath(*path);
    path->SetPivotToCentre();
    path->KeyDown('L', false, env);
    path->Scale(2, 0.5f);
    shapes.push_back(std::move(path));
    auto text = std::make_unique<CPlotText>(5.0f, 5.0f, "two\r\nlines", "Arial", 12.5f);
    shapes.push_back(std::move(text));
    const std::vector<std::uint8_t> bytes = Record(shapes);

    std::vector<std::unique_ptr<CPlotDisplay>> back;
    std::size_t pos = 0;
    ASSERT_TRUE(ReadShapes(bytes, pos, back));
    EXPECT_EQ(pos, bytes.size());
    ASSERT_EQ(back.size(), shapes.size());
    EXPECT_EQ(Record(back), bytes);
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        EXPECT_EQ(back[i]->Kind(), shapes[i]->Kind());
        EXPECT_EQ(Drawn(*back[i]), Drawn(*shapes[i])) << shapes[i]->ClassName();
    }
}

TEST_F(ShapeTest, TruncatedOrAbsurdRecordsAreRefusedAsAWhole) {
    const std::vector<std::uint8_t> bytes = Record(EveryKind());
    std::vector<std::unique_ptr<CPlotDisplay>> kept;
    kept.push_back(Make<CPlotLine>(1, 2, 3, 4, 0.0f, 0.0f));
    // Every prefix is refused and leaves the list and the position alone.
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        std::size_t pos = 0;
        ASSERT_FALSE(ReadShapes(std::span(bytes).first(n), pos, kept)) << n;
        ASSERT_EQ(pos, 0u);
        ASSERT_EQ(kept.size(), 1u);
    }
    // An absurd shape count, polygon vertex count or string length.
    auto patched = [&](std::size_t at, std::uint32_t value) {
        std::vector<std::uint8_t> b = bytes;
        for (int i = 0; i < 4; ++i)
            b[at + i] = std::uint8_t(value >> (8 * i));
        std::size_t pos = 0;
        return ReadShapes(b, pos, kept);
    };
    EXPECT_FALSE(patched(0, 0xFFFFFFFFu));
    EXPECT_FALSE(patched(0, 1000));
    EXPECT_FALSE(patched(4, 0x7FFFFFFFu)); // the first class name's length
    // Random corruption never reads past the end and never crashes.
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        std::vector<std::uint8_t> b = bytes;
        for (int k = 0; k < 4; ++k)
            b[random() % b.size()] = std::uint8_t(random());
        std::vector<std::unique_ptr<CPlotDisplay>> out;
        std::size_t pos = 0;
        if (ReadShapes(b, pos, out)) {
            EXPECT_LE(pos, b.size());
            gdi::RecordingDC dc(600, 400);
            for (auto& s : out)
                s->Draw(dc, env);
        } else {
            EXPECT_TRUE(out.empty());
        }
    }
    EXPECT_EQ(kept.size(), 1u);
}

// ---------------------------------------------------------------------------------------------
// Paths

TEST_F(ShapeTest, OrientationKeysFollowTheTurnTable) {
    for (int o = 0; o < CPlotPath::kOrientations; ++o) {
        int left = o, mirror = o;
        for (int k = 0; k < 4; ++k)
            left = CPlotPath::NextOrientation(left, 'L');
        for (int k = 0; k < 2; ++k)
            mirror = CPlotPath::NextOrientation(mirror, 'x');
        EXPECT_EQ(left, o);
        EXPECT_EQ(mirror, o);
        EXPECT_EQ(CPlotPath::NextOrientation(CPlotPath::NextOrientation(o, 'l'), 'R'), o);
    }
    EXPECT_EQ(CPlotPath::NextOrientation(CPlotPath::NextOrientation(0, 'X'), 'Y'), 5);
    EXPECT_EQ(CPlotPath::NextOrientation(0, 'Q'), -1);
}

TEST_F(ShapeTest, TransformMatchesTheOrientationTable) {
    // The table's rows written out directly.
    auto table = [](int o, float a, float b, float px, float py, float& ra, float& rb) {
        switch (o) {
        case 0:
            ra = a, rb = b;
            return false;
        case 1:
            ra = 2 * px - a, rb = b;
            return false;
        case 2:
            ra = a, rb = 2 * py - b;
            return false;
        case 3:
            ra = px + py - b, rb = py + a - px;
            return true;
        case 4:
            ra = px + b - py, rb = py + px - a;
            return true;
        case 5:
            ra = 2 * px - a, rb = 2 * py - b;
            return false;
        case 6:
            ra = px + py - b, rb = py + px - a;
            return true;
        default:
            ra = px + b - py, rb = py + a - px;
            return true;
        }
    };
    std::mt19937 random(3);
    std::uniform_real_distribution<float> value(-50, 50);
    const char keys[] = {'L', 'R', 'X', 'Y'};
    for (int round = 0; round < 200; ++round) {
        CPlotPath path;
        CPlotPathElem e;
        e.SetPoint(0, value(random), value(random));
        path.Append(e);
        path.SetPivot(value(random), value(random));
        path.Scale(1 + std::abs(value(random)) / 10, 1 + std::abs(value(random)) / 10);
        path.KeyDown(keys[random() % 4], false, env);
        path.KeyDown(keys[random() % 4], false, env);
        path.OffsetWorld(value(random), value(random));
        const float a = value(random), b = value(random);
        float ra, rb;
        const bool swapped = table(path.Orientation(), a, b, path.PivotX(), path.PivotY(), ra, rb);
        const float sx = swapped ? path.ScaleY() : path.ScaleX();
        const float sy = swapped ? path.ScaleX() : path.ScaleY();
        float x, y;
        path.ElementToWorld(a, b, x, y);
        EXPECT_NEAR(x, (ra - path.PivotX()) * sx + path.PivotX() + path.OffsetX(), 1e-3);
        EXPECT_NEAR(y, (rb - path.PivotY()) * sy + path.PivotY() + path.OffsetY(), 1e-3);
        float ba, bb;
        path.WorldToElement(x, y, ba, bb);
        EXPECT_NEAR(ba, a, 1e-2);
        EXPECT_NEAR(bb, b, 1e-2);
    }
}

TEST_F(ShapeTest, GroupedShapesDrawAsBefore) {
    for (auto& shape : EveryKind()) {
        const std::vector<std::string> before = Drawn(*shape);
        CPlotPath path;
        ASSERT_TRUE(shape->AppendToPath(path)) << shape->ClassName();
        path.SetColor(shape->Color(), shape->ColorIndex());
        path.SetPivotToCentre();
        // The pens differ in how they are selected, not in what is drawn.
        EXPECT_EQ(Drawn(path), before) << shape->ClassName() << " " << shape->Kind();
        // A path of that path draws the same again.
        CPlotPath outer;
        ASSERT_TRUE(path.AppendToPath(outer));
        EXPECT_EQ(Drawn(outer), before);
    }
}

TEST_F(ShapeTest, TurnedPathTurnsItsFigures) {
    // A box from (0, 0) to (40, 20) with its pivot at (20, 10), turned left: (10, -10)..(30, 30).
    auto box = Make<CPlotBox>(0, 0, 40, 20, 'b', 0.0f, 0.0f);
    CPlotPath path;
    box->AppendToPath(path);
    path.SetPivotToCentre();
    EXPECT_FLOAT_EQ(path.PivotX(), 20);
    EXPECT_FLOAT_EQ(path.PivotY(), 10);
    path.KeyDown('L', false, env);
    EXPECT_FLOAT_EQ(path.X1(), 10);
    EXPECT_FLOAT_EQ(path.X2(), 30);
    EXPECT_FLOAT_EQ(path.Y1(), 30);
    EXPECT_FLOAT_EQ(path.Y2(), -10);
    auto turned = Make<CPlotBox>(30, -10, 10, 30, 'b', 0.0f, 0.0f);
    EXPECT_EQ(Drawn(path), Drawn(*turned));
    // An upper-right quarter of an ellipse turned left becomes the upper-left quarter.
    auto quarter = Make<CPlotEllipse>(0, 0, 30, 20, '1', 0.0f, 0.0f);
    CPlotPath turnedQuarter;
    quarter->AppendToPath(turnedQuarter);
    turnedQuarter.SetPivot(0, 0);
    turnedQuarter.KeyDown('L', false, env);
    auto expected = Make<CPlotEllipse>(0, 0, 20, 30, '4', 0.0f, 0.0f);
    EXPECT_EQ(Drawn(turnedQuarter), Drawn(*expected));
}

TEST_F(ShapeTest, RepeatedPointsGoButPolygonsKeepTheirCounts) {
    CPlotPath path;
    auto point = [](std::int16_t kind, float x, float y) {
        CPlotPathElem e;
        e.kind = kind;
        e.SetPoint(0, x, y);
        return e;
    };
    path.Append(point(0, 1, 1));
    path.Append(point(0, 1, 1)); // repeated: goes
    path.Append(point(1, 1, 1)); // a drawn point stays
    CPlotPathElem header;
    header.kind = CPlotPathElem::kPolygonHeader;
    header.count = 4;
    header.SetPoint(0, 5, 5);
    path.Append(header);
    path.Append(point(0, 5, 5)); // the polygon's first vertex stays
    path.Append(point(0, 5, 5)); // a repeated vertex goes, and the count with it
    path.Append(point(1, 6, 5));
    path.Append(point(1, 6, 6));
    path.Append(point(0, 6, 6)); // after the polygon: goes
    path.RemoveRepeatedPoints();
    std::vector<int> kinds;
    for (const CPlotPathElem& e : path.Elements())
        kinds.push_back(e.kind);
    EXPECT_EQ(kinds, (std::vector<int>{0, 1, 12, 0, 1, 1}));
    EXPECT_EQ(path.Elements()[2].count, 3);
}

TEST_F(ShapeTest, PathsScaledByZeroOrHugeFactorsStaySound) {
    auto box = Make<CPlotBox>(0, 0, 40, 20, 'b', 0.0f, 0.0f);
    CPlotPath path;
    box->AppendToPath(path);
    path.SetPivotToCentre();
    EXPECT_FALSE(path.Scale(0, 1));
    EXPECT_FALSE(path.Scale(-2, 1));
    EXPECT_FALSE(path.Scale(std::nanf(""), 1));
    EXPECT_FLOAT_EQ(path.ScaleX(), 1);
    EXPECT_TRUE(path.Scale(1e30f, 1e30f));
    EXPECT_FALSE(path.Scale(1e30f, 1)); // would overflow
    path.ComputeWorldBounds();
    gdi::RecordingDC dc(600, 400);
    path.Draw(dc, env); // clamped device coordinates, no crash
    for (const std::string& call : dc.Drawing())
        EXPECT_FALSE(call.empty());
}

TEST_F(ShapeTest, UngroupedShapesDrawAsThePathDidInEveryOrientation) {
    for (auto& shape : EveryKind()) {
        for (int orientation = 0; orientation < CPlotPath::kOrientations; ++orientation) {
            for (float scale : {1.0f, 2.0f}) {
                CPlotPath path;
                ASSERT_TRUE(shape->AppendToPath(path));
                path.SetPivotToCentre(); // whole numbers for every kind here
                path.SetOrientation(orientation);
                ASSERT_TRUE(path.Scale(scale, 1));
                path.ComputeWorldBounds();
                const std::vector<std::string> grouped = Drawn(path);
                std::vector<std::unique_ptr<CPlotDisplay>> shapes = path.Ungroup(tool);
                ASSERT_EQ(shapes.size(), 1u) << shape->ClassName();
                EXPECT_EQ(Drawn(*shapes[0]), grouped)
                    << shape->ClassName() << " " << shape->Kind() << " turned " << orientation
                    << " scaled " << scale;
                // Unturned and unscaled, the shape comes back as it was.
                if (orientation != 0 || scale != 1) continue;
                EXPECT_STREQ(shapes[0]->ClassName(), shape->ClassName());
                EXPECT_EQ(shapes[0]->Kind(), shape->Kind());
                EXPECT_EQ(shapes[0]->Filled(), shape->Filled());
                // A marker's element holds its size where others hold the line type: it takes
                // the path's, which it does not draw with.
                if (shape->Kind() != CPlotDisplay::kMarkerPoint) {
                    EXPECT_EQ(shapes[0]->LineType(), shape->LineType());
                }
                EXPECT_EQ(shapes[0]->ColorIndex(), shape->ColorIndex());
                EXPECT_EQ(Drawn(*shapes[0]), Drawn(*shape));
            }
        }
    }
}

TEST_F(ShapeTest, UngroupingAGroupOfSeveralKeepsTheirOrderAndTheirText) {
    CPlotPath path;
    auto all = EveryKind();
    for (auto& shape : all)
        shape->AppendToPath(path);
    CPlotText text(20, 280, "two\nlines", "Liberation Sans", 30);
    text.SetTurn(90, 1);
    text.AppendToPath(path);
    path.RemoveRepeatedPoints();
    path.SetPivotToCentre();
    std::vector<std::unique_ptr<CPlotDisplay>> shapes = path.Ungroup(tool);
    ASSERT_EQ(shapes.size(), all.size() + 1);
    for (std::size_t i = 0; i < all.size(); ++i)
        EXPECT_EQ(shapes[i]->Kind(), all[i]->Kind()) << i;
    const auto& back = static_cast<const CPlotText&>(*shapes.back());
    EXPECT_EQ(back.Text(), "two\nlines");
    EXPECT_EQ(back.Face(), "Liberation Sans");
    EXPECT_FLOAT_EQ(back.Size(), 30);
    EXPECT_EQ(back.Escapement(), 90);
    EXPECT_EQ(back.Style(), 1);
    // Points outside a polygon come back as one open polyline; a lone point as nothing.
    CPlotPath loose;
    CPlotPathElem e;
    for (auto [kind, x] : {std::pair{0, 0.0f}, {1, 10.0f}, {1, 20.0f}}) {
        e.kind = std::int16_t(kind);
        e.SetPoint(0, x, x);
        loose.Append(e);
    }
    e.kind = CPlotPathElem::kPolygonHeader;
    e.count = 5; // announces more vertices than follow
    loose.Append(e);
    auto back2 = loose.Ungroup(tool);
    ASSERT_EQ(back2.size(), 1u);
    EXPECT_EQ(static_cast<const CPlotPolygon&>(*back2[0]).VertexCount(), 3);
    EXPECT_FALSE(static_cast<const CPlotPolygon&>(*back2[0]).Closed());
}

TEST_F(ShapeTest, KeyboardHandleMovesMoveOnlyWhatTheHandleControls) {
    env.snapStep = 5;
    env.snapOn = 1;
    // Line: handle 2 is point 1, handle 3 point 2.
    auto line = Make<CPlotLine>(0, 0, 50, 20, 0.0f, 0.0f);
    line->KeyMoveHandle(3, ui::VK_UP, env);
    EXPECT_FLOAT_EQ(line->Y1(), 0);
    EXPECT_FLOAT_EQ(line->Y2(), 25);
    line->KeyMoveHandle(2, ui::VK_LEFT, env);
    EXPECT_FLOAT_EQ(line->X1(), -5);
    EXPECT_FLOAT_EQ(line->X2(), 50);
    EXPECT_EQ(line->Start(), At(-5, 0));
    // Ellipse: the top handle sets the vertical radius only, the side ones the horizontal.
    auto ellipse = Make<CPlotEllipse>(100, 100, 130, 120, 'c', 0.0f, 0.0f);
    ellipse->KeyMoveHandle(2, ui::VK_UP, env);
    ellipse->KeyMoveHandle(5, ui::VK_UP, env); // a side handle ignores the vertical step
    EXPECT_FLOAT_EQ(ellipse->X1(), 100);
    EXPECT_FLOAT_EQ(ellipse->Y1(), 100);
    EXPECT_FLOAT_EQ(ellipse->X2(), 130);
    EXPECT_FLOAT_EQ(ellipse->Y2(), 125);
    ellipse->KeyMoveHandle(3, ui::VK_RIGHT, env);
    EXPECT_FLOAT_EQ(ellipse->X2(), 135);
    // Marker: a corner handle grows it outward and shrinks it inward, never below 1.
    auto point = Make<CPlotPoint>(10, 10, 10, 10, 0.0f, 0.0f, 3, 4);
    point->KeyMoveHandle(4, ui::VK_RIGHT, env);
    EXPECT_EQ(point->HalfSize(), 5);
    point->KeyMoveHandle(2, ui::VK_RIGHT, env);
    EXPECT_EQ(point->HalfSize(), 4);
    for (int i = 0; i < 10; ++i)
        point->KeyMoveHandle(3, ui::VK_DOWN, env);
    EXPECT_EQ(point->HalfSize(), 1);
    EXPECT_FLOAT_EQ(point->X1(), 10);
    // Polygon: a vertex handle moves its vertex; an edge handle (the closing edge here) both
    // of its ends.
    auto polygon = Polygon({{0, 0, 1}, {40, 0, 1}, {40, 30, 1}}, true);
    polygon->KeyMoveHandle(4, ui::VK_DOWN, env);  // vertex 1
    polygon->KeyMoveHandle(7, ui::VK_RIGHT, env); // edge from vertex 2 to vertex 0
    const std::vector<CPlotVertex> expected = {{5, 0, 1}, {40, -5, 1}, {45, 30, 1}};
    EXPECT_EQ(polygon->Vertices(), expected);
    EXPECT_EQ(polygon->DeviceVertices()[1], At(40, -5));
    polygon->KeyMoveHandle(99, ui::VK_RIGHT, env); // no such handle
    EXPECT_EQ(polygon->Vertices(), expected);
}

TEST_F(ShapeTest, KeyboardHandleMovesScaleAPathOrMoveItsPivot) {
    env.snapStep = 10;
    auto box = Make<CPlotBox>(0, 0, 40, 20, 'b', 0.0f, 0.0f);
    CPlotPath path;
    box->AppendToPath(path);
    path.SetPivotToCentre(); // (20, 10)
    path.WorldToDevice(env);
    // The (x2, y2) corner, at world (40, 0), one step right: x scales by 30 / 20.
    path.KeyMoveHandle(4, ui::VK_RIGHT, env);
    EXPECT_FLOAT_EQ(path.ScaleX(), 1.5f);
    EXPECT_FLOAT_EQ(path.ScaleY(), 1.0f);
    EXPECT_FLOAT_EQ(path.X1(), -10);
    EXPECT_FLOAT_EQ(path.X2(), 50);
    // The pivot mark one step up: the pivot moves, nothing drawn moves.
    const std::vector<std::string> before = Drawn(path);
    path.KeyMoveHandle(CPlotPath::kPivotHandle, ui::VK_UP, env);
    EXPECT_TRUE(path.PivotMoved());
    EXPECT_FLOAT_EQ(path.PivotY() + path.OffsetY(), 20);
    EXPECT_EQ(Drawn(path), before);
    // Other keys and handles leave it.
    path.KeyMoveHandle(4, 'Q', env);
    path.KeyMoveHandle(9, ui::VK_LEFT, env);
    EXPECT_FLOAT_EQ(path.ScaleX(), 1.5f);
}
