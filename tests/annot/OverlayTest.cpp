#include "annot/PlotOverlay.h"
#include "model/FakePlotHost.h"
#include "model/PlotLook.h"
#include "platform/gdi/RecordingDC.h"
#include "render/PlotEnv.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>

namespace {

// An XY plot of three points (0, 0), (5, 50), (10, 100) on a 400 x 310 window, with its
// overlay.
class OverlayTest : public testing::Test {
protected:
    OverlayTest() {
        env.locale = locale::Locale::Classic();
        host.npoints = 3;
        m = std::make_unique<CPlotLook>(host, &env);
        m->SetNPoints(3);
        for (int i = 0; i < 3; ++i) {
            m->SetXData(1, i, i * 5.0);
            m->SetData(1, i, i * 50.0);
        }
        m->overlay = std::make_unique<CPlotOverlay>(*m, ids);
        Paint();
    }
    CPlotOverlay& O() { return static_cast<CPlotOverlay&>(*m->overlay); }
    void Paint() {
        m->bufferWidth = 400;
        m->bufferHeight = 310;
        CPlotPaintContext ctx(dc, env);
        m->Paint(ctx, {0, 0, 400, 310}, false, 1, false);
    }
    CPlotPaintContext Ctx() { return CPlotPaintContext(window, env); }
    const CPlotFont* Font() { return &m->fonts[CPlotLook::DrawingFont]; }

    FakePlotHost host;
    CPlotEnv env;
    CObjectIds ids;
    std::unique_ptr<CPlotLook> m;
    gdi::RecordingDC dc{400, 310};
    gdi::RecordingDC window{400, 310};
};

} // namespace

TEST(ObjectIdsTest, NumbersFrom101AndWrapsPastIdsInUse) {
    CObjectIds ids;
    std::set<int> used;
    auto inUse = [&used](int id) { return used.count(id) > 0; };
    EXPECT_EQ(ids.Next(inUse), 101);
    EXPECT_EQ(ids.Next(inUse), 102);
    used = {101, 103};
    for (int k = 2; k < 32000; ++k)
        ids.Next(inUse);
    // After 32000 IDs the numbering starts again and skips the ones in use.
    EXPECT_EQ(ids.Next(inUse), 102);
    EXPECT_EQ(ids.Next(inUse), 104);
    // With every ID taken there is none to give.
    CObjectIds full;
    for (int k = 0; k < 32000; ++k)
        full.Next([](int) { return false; });
    EXPECT_EQ(full.Next([](int) { return true; }), 0);
}

TEST_F(OverlayTest, TextObjectsKeepTheirTextsWhileEntriesMove) {
    // A plain model: the text each ID must show. Random additions, time stamps switched on and
    // off and curve rewinds move entries; every live text object must still find its text.
    std::mt19937 random(11);
    std::map<int, std::string> expected;
    for (int step = 0; step < 300; ++step) {
        switch (random() % 4) {
        case 0:
        case 1: {
            const std::string text = "t" + std::to_string(step);
            expected[O().AddText(text, 0.5, 0.5, 1, 0, Font())] = text;
            break;
        }
        case 2: {
            const bool on = random() % 2;
            const int before = O().TimeStampIndex();
            const int stampId = [&] {
                for (auto& o : O().Objects())
                    if (o->AnnotationIndex() == before && before >= 0) return o->Id();
                return 0;
            }();
            O().SetTimeStamp(on, "12:00 01/01/2026", Font());
            if (!on) expected.erase(stampId);
            if (on) {
                for (auto& o : O().Objects())
                    if (o->AnnotationIndex() == O().TimeStampIndex())
                        expected[o->Id()] = "12:00 01/01/2026";
            }
            break;
        }
        default: {
            // Tie a random text to the curve, then rewind: it goes, with its object.
            if (expected.empty()) break;
            auto it = expected.begin();
            std::advance(it, random() % expected.size());
            CPlotAnnotation* a = O().Annotation(O().Find(it->first)->AnnotationIndex());
            if (a->TimeStamp()) break;
            CPlotAnnotation::Attributes attributes = a->GetAttributes();
            attributes.attachMode = CPlotAnnotation::OnCurve;
            a->SetAttributes(attributes);
            O().CurvePointsRewound();
            expected.erase(it);
            break;
        }
        }
        for (const auto& [id, text] : expected) {
            CPlotObj* o = O().Find(id);
            ASSERT_NE(o, nullptr) << id;
            ASSERT_NE(O().Annotation(o->AnnotationIndex()), nullptr) << id;
            ASSERT_EQ(O().Annotation(o->AnnotationIndex())->Text(), text) << id;
        }
        ASSERT_EQ(O().Objects().size(), expected.size());
    }
}

TEST_F(OverlayTest, ATextTaggedToTheCurveKeepsItsOffsetWhenTheAxesRescale) {
    const int id = O().Create(CPlotObj::TextKind)->Id();
    // At plot (5, 40), then tied to the nearest curve point: (5, 50) lies 10 units above.
    ASSERT_TRUE(O().ChangeText(id, "peak", 5, 40, CPlotAnnotation::OnCurve));
    Paint();
    CPlotAnnotation& a = *O().Annotation(0);
    EXPECT_EQ(a.GetAttributes().attachMode, CPlotAnnotation::OnCurve);
    EXPECT_EQ(a.GetPosition().tagVariable, 1);
    gdi::Point onCurve;
    CPlotPaintContext ctx = Ctx();
    ASSERT_TRUE(m->PlotToDevice(ctx, a.GetPosition().x, a.GetPosition().y, 1, onCurve));
    EXPECT_EQ(a.TagPoint(), onCurve);
    const gdi::Point offset{a.Anchor().x - a.TagPoint().x, a.Anchor().y - a.TagPoint().y};
    // The Y axis doubles: the tag moves with its point, the text with its tag.
    m->SetData(1, 2, 200);
    m->rangeDirty = m->dataDirty = 1;
    Paint();
    ASSERT_TRUE(m->PlotToDevice(ctx, a.GetPosition().x, a.GetPosition().y, 1, onCurve));
    EXPECT_EQ(a.TagPoint(), onCurve);
    EXPECT_NEAR(a.Anchor().x - a.TagPoint().x, offset.x, 1);
    EXPECT_NEAR(a.Anchor().y - a.TagPoint().y, offset.y, 1);
}

TEST_F(OverlayTest, LinesAreHitOnTheirDrawnSegmentsAndClicksCycleThroughStacks) {
    const int first = O().NewLine(1, 4, -1, 0, 0);
    const int second = O().NewLine(2, 4, -1, 0, 0);
    for (int id : {first, second}) {
        O().SetXYData(id, 0, 0, 0);
        O().SetXYData(id, 1, 10, 100);
    }
    Paint();
    const CPlotVar& v = *m->YVar(O().Find(first)->YVariable());
    ASSERT_GE(v.devicePointCount, 2u);
    const gdi::Point a{v.devicePoints[0].first, v.devicePoints[0].second};
    const gdi::Point b{v.devicePoints[1].first, v.devicePoints[1].second};
    const gdi::Point middle{(a.x + b.x) / 2, (a.y + b.y) / 2};
    CPlotPaintContext ctx = Ctx();
    // Both lines lie on each other: the newest first, then the older, then the newest again.
    O().Press(ctx, middle, 0);
    EXPECT_EQ(O().SelectedObject()->Id(), second);
    O().Press(ctx, middle, 0);
    EXPECT_EQ(O().SelectedObject()->Id(), first);
    EXPECT_EQ(m->YVar(O().Find(first)->YVariable())->highlighted, 1);
    EXPECT_EQ(m->YVar(O().Find(second)->YVariable())->highlighted, 0);
    O().Press(ctx, middle, 0);
    EXPECT_EQ(O().SelectedObject()->Id(), second);
    // Away from the lines nothing is hit and the selection goes.
    O().Press(ctx, {middle.x + 40, middle.y - 40}, 0);
    EXPECT_EQ(O().SelectedObject(), nullptr);
    // A hidden or disabled line is not hit.
    O().SetObject(second, 0, 2);
    O().Press(ctx, middle, 0);
    EXPECT_EQ(O().SelectedObject()->Id(), first);
}

TEST_F(OverlayTest, PlacingAndDraggingATextThroughThePointer) {
    auto made = std::make_unique<CPlotAnnotation>("placed", Font(), CPlotAnnotation::Attributes{});
    const int index = O().AddAnnotation(std::move(made));
    O().CreateTextObject(index, true);
    O().BeginPlacing();
    CPlotPaintContext ctx = Ctx();
    EXPECT_EQ(O().Press(ctx, {150, 120}, 0), CPlotOverlay::kPlacingDrag);
    int cursor = 0;
    EXPECT_TRUE(O().Drag(ctx, CPlotOverlay::kPlacingDrag, {170, 130}, cursor));
    bool repaint = false;
    EXPECT_TRUE(O().Release(ctx, CPlotOverlay::kPlacingDrag, {180, 140}, repaint));
    EXPECT_TRUE(repaint);
    EXPECT_TRUE(O().TakeChange());
    CPlotAnnotation& a = *O().Annotation(index);
    EXPECT_FALSE(a.Unplaced());
    Paint();
    EXPECT_EQ(a.Anchor(), (gdi::Point{180, 140}));
    // A press on the text selects it and moves it by the drag.
    const gdi::Point on{a.TextRect().left + 2, a.TextRect().top + 2};
    EXPECT_EQ(O().Press(ctx, on, 0), CPlotLook::kMoveMode);
    EXPECT_TRUE(a.Selected());
    O().Drag(ctx, CPlotLook::kMoveMode, {on.x + 30, on.y + 5}, cursor);
    O().Release(ctx, CPlotLook::kMoveMode, {on.x + 30, on.y + 5}, repaint);
    Paint();
    EXPECT_EQ(a.Anchor(), (gdi::Point{210, 145}));
    // The arrow keys move the selected text by 5.
    EXPECT_TRUE(O().Key(ctx, 0x25 /* left */, repaint));
    Paint();
    EXPECT_EQ(a.Anchor(), (gdi::Point{205, 145}));
}
