// Drops on the plot: which data is taken, the text a drop keeps, and the event each region of
// each kind of plot fires.
#include "control/ControlHarness.h"
#include "control/PlotDropTarget.h"
#include "platform/gdi/RecordingDC.h"

#include <random>
#include <string>
#include <vector>

namespace {

using Take = CPlotDropTarget::Take;
using Names = std::vector<std::string>;
constexpr const char* kPath = CPlotDropTarget::kVariablePathFormat;
constexpr const char* kText = CPlotDropTarget::kTextFormat;

std::vector<std::uint8_t> Bytes(const std::string& s) {
    return {s.begin(), s.end()};
}

TEST(DropTarget, AVariablePathIsTakenExactlyWhileVariableDropIsOn) {
    struct Case {
        Names offered;
        bool variableDrop;
        Take take;
    };
    const Case cases[] = {
        {{}, true, Take::Nothing},
        {{}, false, Take::Nothing},
        {{"image/png"}, true, Take::Nothing},
        {{kText}, true, Take::Text},
        {{kText}, false, Take::Text},
        {{kPath}, true, Take::VariablePath},
        {{kPath}, false, Take::Nothing},
        {{kText, kPath}, true, Take::VariablePath},
        {{kPath, kText}, false, Take::Nothing}, // refused though it offers text
        {{"image/png", kText}, false, Take::Text},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::PrintToString(k.offered) + (k.variableDrop ? " on" : " off"));
        EXPECT_EQ(CPlotDropTarget::Choose(k.offered, k.variableDrop), k.take);
        EXPECT_EQ(CPlotDropTarget::EffectOf(k.take), k.take == Take::Nothing
                                                         ? CPlotDropTarget::EffectNone
                                                         : CPlotDropTarget::EffectCopy);
    }
}

TEST(DropTarget, DroppedTextIsCutAndItsLinesJoined) {
    const std::string x159(159, 'x');
    const std::string e80 = [] {
        std::string s;
        for (int i = 0; i < 200; ++i)
            s += "\xC3\xA9"; // é
        return s;
    }();
    struct Case {
        std::string in, out;
    };
    const Case cases[] = {
        {"", ""},
        {"two\r\nlines", "two lines"},
        {"two\nlines\n", "two lines "},
        {"a lone\rreturn", "a lone\rreturn"},
        {"\r\n\r\n", "  "},
        {std::string("stop\0here", 9), "stop"},
        {"stop\x1Ahere", "stop"},
        {x159 + "yz", x159},
        {"\r\n" + x159, " " + x159.substr(0, 157)}, // CR and LF count before they join
        {e80, e80.substr(0, 2 * 159)},              // characters, not bytes
        {"\xC3", "\xC3"},                           // a sequence cut by the data's end
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::PrintToString(k.in));
        EXPECT_EQ(CPlotDropTarget::DroppedText(Bytes(k.in)), k.out);
    }
}

TEST(DropTarget, MegabytesAndBinaryDataGiveAtMost159Characters) {
    EXPECT_EQ(CPlotDropTarget::DroppedText(Bytes(std::string(8 << 20, 'm'))),
              std::string(159, 'm'));
    std::mt19937 rng(7);
    for (int round = 0; round < 200; ++round) {
        std::vector<std::uint8_t> data(std::size_t(rng() % 2000));
        for (std::uint8_t& b : data)
            b = std::uint8_t(rng());
        const std::string text = CPlotDropTarget::DroppedText(data);
        // At most 159 characters of at most four bytes, no line feed, nothing past an end mark.
        ASSERT_LE(text.size(), 4 * CPlotDropTarget::kMaxTextLength);
        EXPECT_EQ(text.find('\n'), std::string::npos);
        EXPECT_EQ(text.find('\0'), std::string::npos);
        EXPECT_EQ(text.find('\x1A'), std::string::npos);
        const std::size_t starts = std::size_t(std::count_if(
            text.begin(), text.end(), [](char c) { return (std::uint8_t(c) & 0xC0) != 0x80; }));
        EXPECT_LE(starts, CPlotDropTarget::kMaxTextLength);
    }
    EXPECT_EQ(CPlotDropTarget::VariablePath(Bytes(std::string("a.b.c\0junk", 10))), "a.b.c");
}

// A sited and painted control whose events are recorded.
struct Dropped {
    Dropped() {
        c.GetConnectionPoint()->Advise(&sink);
        site.surfaceFactory = [](int w, int h) { return std::make_unique<gdi::RecordingDC>(w, h); };
        site.ResizeSurface(400, 310);
        c.OnSize(400, 310);
        c.PaintWindowSurface();
    }
    void Repaint() {
        c.PaintWindowSurface();
        sink.events.clear();
    }
    gdi::Point Centre(const CPlotRegion* r) const {
        return {(r->rect.left + r->rect.right) / 2, (r->rect.top + r->rect.bottom) / 2};
    }
    int Drop(const Names& formats, const std::string& data, gdi::Point p) {
        std::vector<ui::ClipboardContent::Format> offered;
        for (const std::string& f : formats)
            offered.push_back({f, Bytes(data)});
        ui::Clipboard offer;
        offer.Set(std::move(offered));
        return c.OnDrop(offer, p.x, p.y);
    }
    ui::HeadlessSite site;
    CTrendixCtrl c{site};
    RecordingSink sink;
};

enum class PlotKind { XY, Run, Phase };

void Make(CTrendixCtrl& c, PlotKind kind) {
    if (kind == PlotKind::Run) c.SetRunPlot(true);
    if (kind == PlotKind::Phase) c.SetPhasePlot(true);
}

TEST(DropTarget, AVariablePathFiresPhaseVariableDroppedOnTheXAxisOfARunOrPhasePlot) {
    enum Where { XAxis, XLabel, Drawing, Title, Nowhere };
    struct Case {
        PlotKind kind;
        Where where;
        bool phase; // PhaseVariableDropped, else OnDropText(path, 0)
    };
    const Case cases[] = {
        {PlotKind::Run, XAxis, true},    {PlotKind::Run, XLabel, true},
        {PlotKind::Run, Drawing, false}, {PlotKind::Run, Title, false},
        {PlotKind::Run, Nowhere, false}, {PlotKind::Phase, XAxis, true},
        {PlotKind::Phase, XLabel, true}, {PlotKind::Phase, Drawing, false},
        {PlotKind::XY, XAxis, false},    {PlotKind::XY, XLabel, false},
        {PlotKind::XY, Drawing, false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(int(k.kind) * 10 + k.where);
        Dropped d;
        Make(d.c, k.kind);
        d.Repaint();
        CPlotLook& m = *d.c.Model();
        const CPlotRegion* regions[] = {m.xAxisRegion.get(), m.xLabelRegion.get(),
                                        m.drawingRegion.get(), m.titleRegion.get()};
        const gdi::Point p = k.where == Nowhere ? gdi::Point{-5, -5} : d.Centre(regions[k.where]);
        EXPECT_EQ(d.Drop({kPath, kText}, "Plant.Feed.T", p), CPlotDropTarget::EffectCopy);
        ASSERT_EQ(d.sink.events.size(), 1u);
        const RecordingSink::Event& e = d.sink.events[0];
        EXPECT_EQ(e.id, k.phase ? EV_PhaseVariableDropped : EV_OnDropText);
        EXPECT_EQ(e.args[0].narrow(), "Plant.Feed.T");
        if (!k.phase) {
            EXPECT_EQ(e.args[1].i2(), 0);
        }
    }
}

TEST(DropTarget, PlainTextFiresOnDropTextWithTheKindOfTheRegionUnderThePointer) {
    Dropped d;
    d.Repaint();
    CPlotLook& m = *d.c.Model();
    const std::pair<const CPlotRegion*, int> targets[] = {
        {m.titleRegion.get(), CPlotRegion::Title},
        {m.xAxisRegion.get(), CPlotRegion::XAxis},
        {m.xLabelRegion.get(), CPlotRegion::XLabel},
        {nullptr, -1},
    };
    for (const auto& [region, kind] : targets) {
        SCOPED_TRACE(kind);
        d.sink.events.clear();
        const gdi::Point p = region ? d.Centre(region) : gdi::Point{-5, -5};
        // The drag highlights the region before the drop.
        EXPECT_EQ(d.c.OnDragOver({kText}, p.x, p.y), CPlotDropTarget::EffectCopy);
        EXPECT_EQ(m.selectedRegion, region);
        EXPECT_EQ(d.Drop({kText}, "line one\r\nline two", p), CPlotDropTarget::EffectCopy);
        ASSERT_EQ(d.sink.events.size(), 1u);
        EXPECT_EQ(d.sink.events[0].id, EV_OnDropText);
        EXPECT_EQ(d.sink.events[0].args[0].narrow(), "line one line two");
        EXPECT_EQ(d.sink.events[0].args[1].i2(), kind);
        EXPECT_EQ(m.LastDroppedText(), "line one line two");
    }
}

TEST(DropTarget, ARefusedDropFiresNothingAndChangesNothing) {
    Dropped d;
    d.c.SetVariableDrop(false);
    d.Repaint();
    const gdi::Point title = d.Centre(d.c.Model()->titleRegion.get());
    EXPECT_EQ(d.c.OnDragOver({kPath, kText}, title.x, title.y), CPlotDropTarget::EffectNone);
    EXPECT_EQ(d.c.Model()->selectedRegion, nullptr);
    EXPECT_EQ(d.Drop({kPath, kText}, "Plant.Feed.T", title), CPlotDropTarget::EffectNone);
    EXPECT_EQ(d.Drop({"image/png"}, "\x89PNG", title), CPlotDropTarget::EffectNone);
    EXPECT_TRUE(d.sink.events.empty());
    EXPECT_EQ(d.c.Model()->LastDroppedText(), "");
}

} // namespace
