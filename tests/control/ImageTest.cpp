#include "annot/PlotOverlay.h"
#include "control/ControlHarness.h"
#include "control/PlotImage.h"
#include "model/MenuTable.h"
#include "platform/com/ByteStream.h"
#include "platform/com/PropExchange.h"
#include "platform/gdi/RecordingDC.h"
#include "support/CtrlProbe.h"

#include <cstring>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string SourcePath(const std::string& relative) {
    return std::string(TRENDIX_SOURCE_ROOT) + "/" + relative;
}

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// What a control shows: its settings text and the drawing calls of one paint.
struct Seen {
    std::string settings;
    std::vector<std::string> drawing;
    bool operator==(const Seen&) const = default;
};

Seen SeenOf(CTrendixCtrl& c) {
    gdi::RecordingDC dc(400, 310);
    c.OnDraw(dc, {0, 0, 400, 310}, {0, 0, 400, 310});
    return {c.GetSettings(), dc.Drawing()};
}

void XYPlot(CTrendixCtrl& c) {
    c.Setnvariables(3);
    c.Setnpoints(60);
    for (short v = 1; v <= 3; ++v)
        for (short i = 0; i < 60; ++i) {
            c.SetXData(v, i, i * 0.5);
            c.SetData(v, i, std::sin(i * 0.1 * v) * 10 + v);
        }
    c.SetShowLegend(true);
    c.SetLegend(2, "Flow $UNIT");
    c.SetSymbol("UNIT", "kg/s");
    c.SetAxisRange(0, 2, 20);
    c.SetAttribute(1, 3, 2, 5);
    c.SetFont(0, "Arial", 14, 1);
    c.AddText("A note", 0.5f, 0.5f, 2, 0, "", 10, 0);
}

void RunPlot(CTrendixCtrl& c) {
    c.SetRunPlot(true);
    c.SetBufferSize(100);
    c.Setnvariables(2);
    c.SetTimeWindow(20);
    for (int t = 0; t < 250; ++t) { // the rings wrap twice
        c.AddTimeData(1, t * 0.1, std::cos(t * 0.05));
        c.AddTimeData(2, t * 0.1, t * 0.01);
    }
}

void ZoomedBars(CTrendixCtrl& c) {
    c.SetPlotType(1);
    c.Setnvariables(2);
    c.Setnpoints(5);
    for (short i = 0; i < 5; ++i) {
        c.SetXData(1, i, i + 1);
        c.SetData(1, i, 10 + i);
        c.SetData(2, i, 20 - i);
    }
    c.OnCommand(ID_ZOOM_IN);
}

// One host object of each kind in each state: a line and a polygon with points, a disabled
// line, a released line, a host text, a hidden text, a user text and a plain object.
void HostObjects(CTrendixCtrl& c) {
    XYPlot(c);
    const std::int16_t line = c.NewLine(3, 2, 5, 6, -1);
    const std::int16_t polygon = c.NewPolygon(4, 2);
    const std::int16_t disabled = c.NewLine(5, 1, 0, 0, 1);
    const std::int16_t released = c.NewLine(6, 1, 2, 0, 0);
    for (std::int16_t i = 0; i < 4; ++i) {
        c.SetXYData(line, i, i * 4.0, 3 + i * i);
        c.SetXYData(polygon, i, 10 + (i % 2) * 5.0, 2 + (i / 2) * 6.0);
        c.SetXYData(disabled, i, 20 - i, 1.5 * i);
        c.SetXYData(released, i, i, i);
    }
    c.SetObject(disabled, 1, 2);
    c.SetObject(released, -1, 0);
    c.NewText("Host text", 12, 9, -1);
    const std::int16_t hidden = c.NewText("Hidden text", 5, 5, -1);
    c.SetObject(hidden, 0, 1);
    c.AddText("User text", 0.2f, 0.8f, 3, 1, "", 12, 0);
    c.PlotObjects().Create(CPlotObj::PlainKind);
}

void InputFilePlot(CTrendixCtrl& c, const char* file) {
    c.SetInputFile(SourcePath(file));
}

void SettingsPlot(CTrendixCtrl& c, const char* file) {
    c.SetSettings(FileText(SourcePath(file)));
}

// A plot of two variables of one name on two axes, whose flip comes from the settings text: the
// text sets the flip directly and leaves the axis map as it was, unlike the Flipped property.
void FlippedBySettings(CTrendixCtrl& c) {
    XYPlot(c);
    c.SetVariable(0, "T");
    c.SetAxisMap(1, 2);
    c.SetAxisMap(-1, 0);
    c.SetLegend(1, "T");
    c.SetLegend(2, "T");
    std::string text = c.GetSettings();
    const std::size_t square = text.find("Square:");
    text.replace(square, text.find('\n', square) - square, "Square:0 0 0 1");
    c.SetSettings(text);
}

// A plot of two axes turned a quarter, then put on its property the other way round.
void TurnedTwoAxes(CTrendixCtrl& c) {
    XYPlot(c);
    c.SetAxisMap(2, 2);
    c.SetAxisMap(-1, 0);
    c.Rotate(1);
}

struct Case {
    const char* name;
    std::function<void(CTrendixCtrl&)> build;
};

const Case kCases[] = {
    {"empty", [](CTrendixCtrl&) {}},
    {"xy", XYPlot},
    {"host objects", HostObjects},
    {"run", RunPlot},
    {"zoomed bars", ZoomedBars},
    {"profile file", [](CTrendixCtrl& c) { InputFilePlot(c, "examples/column-profile.plx"); }},
    {"ternary file", [](CTrendixCtrl& c) { InputFilePlot(c, "examples/ternary.plx"); }},
    {"trend file", [](CTrendixCtrl& c) { InputFilePlot(c, "examples/feed-trend.plx"); }},
    {"script", [](CTrendixCtrl& c) { InputFilePlot(c, "examples/reactor.ply"); }},
    {"settings", [](CTrendixCtrl& c) { SettingsPlot(c, "examples/reactor-layout.tset"); }},
    {"flipped by its settings", FlippedBySettings},
    {"turned", TurnedTwoAxes},
    {"turned back on a flipped property",
     [](CTrendixCtrl& c) {
         TurnedTwoAxes(c);
         c.SetFlipped(true);
         c.SetAxisMap(1, 2);
         c.Rotate(1);
     }},
};

struct SitedControl {
    SitedControl() { c.OnSize(400, 310); }
    ui::HeadlessSite site;
    CTrendixCtrl c{site};
};

// The image is the plot as it stands, pending work included (a time axis rescales at the
// paint after a live scroll): the next paint of the control it came from and the first of a
// fresh control that read it show the same, and both then write the same image.
TEST(PlotImage, EveryKindOfPlotComesBackIdenticalInAFreshControl) {
    for (const Case& k : kCases) {
        SCOPED_TRACE(k.name);
        SitedControl from;
        k.build(from.c);
        SeenOf(from.c); // the plot as the user saw it when it was copied
        const std::vector<std::uint8_t> image = from.c.SaveImage();

        SitedControl to;
        to.c.LoadImage(image);
        EXPECT_TRUE(CtrlProbe::PlotDefined(to.c));
        EXPECT_EQ(CtrlProbe::Scrolled(to.c), CtrlProbe::Scrolled(from.c));
        const Seen after = SeenOf(to.c);
        const Seen before = SeenOf(from.c);
        EXPECT_EQ(after.settings, before.settings);
        EXPECT_EQ(after.drawing, before.drawing);
        EXPECT_EQ(to.c.SaveImage(), from.c.SaveImage());
    }
}

// The plots above that are flipped with two axes come back so, whatever the property says.
TEST(PlotImage, AFlippedPlotKeepsItsAxesAndItsFlippedProperty) {
    for (const auto& build : {FlippedBySettings, TurnedTwoAxes}) {
        SitedControl from;
        build(from.c);
        SeenOf(from.c);
        ASSERT_EQ(from.c.Model()->flipped, 1);
        ASSERT_EQ(from.c.Model()->NYAxes(), 2);
        SitedControl to;
        to.c.LoadImage(from.c.SaveImage());
        EXPECT_EQ(to.c.Model()->flipped, 1);
        EXPECT_EQ(to.c.Model()->NYAxes(), 2);
        for (std::int16_t v = 0; v < 3; ++v)
            EXPECT_EQ(to.c.GetAxisMap(v), from.c.GetAxisMap(v)) << v;
        EXPECT_EQ(to.c.GetFlipped(), from.c.GetFlipped());
    }
}

// Shapes drawn with the toolbar, one of them a path of several points.
void DrawShapes(CTrendixCtrl& c) {
    c.PaintWindowSurface();
    const CPlotRegion::Rect& r = c.Model()->drawingRegion->rect;
    const auto drag = [&](int tool, int x0, int y0, int x1, int y1) {
        c.OnCommand(tool);
        c.OnLButtonDown(r.left + x0, r.top + y0, 0);
        c.OnMouseMove(r.left + x1, r.top + y1, 0);
        c.OnLButtonUp(r.left + x1, r.top + y1, 0);
    };
    drag(ID_TOOL_BOX, 10, 10, 60, 40);
    drag(ID_TOOL_LINE, 20, 50, 90, 20);
    drag(ID_TOOL_ELLIPSE, 30, 30, 70, 80);
}

std::vector<std::uint8_t> ShapesRecordOf(CTrendixCtrl& c) {
    std::vector<std::uint8_t> record;
    c.PlotObjects().Shapes().WriteRecord(record);
    return record;
}

TEST(PlotImage, DrawnShapesTravelInTheImage) {
    SitedControl from;
    from.site.surfaceFactory = [](int w, int h) {
        return std::make_unique<gdi::RecordingDC>(w, h);
    };
    from.site.ResizeSurface(400, 310);
    XYPlot(from.c);
    DrawShapes(from.c);
    ASSERT_EQ(from.c.PlotObjects().Shapes().Displays().size(), 3u);
    const std::vector<std::uint8_t> image = from.c.SaveImage();

    SitedControl to;
    to.c.LoadImage(image);
    EXPECT_EQ(to.c.PlotObjects().Shapes().Displays().size(), 3u);
    EXPECT_EQ(ShapesRecordOf(to.c), ShapesRecordOf(from.c));
    // The shapes are drawn where they were.
    const auto shapeCalls = [](CTrendixCtrl& c) {
        std::vector<std::string> calls;
        for (const std::string& call : SeenOf(c).drawing)
            if (call.rfind("Rectangle", 0) == 0 || call.rfind("Ellipse", 0) == 0)
                calls.push_back(call);
        return calls;
    };
    EXPECT_EQ(shapeCalls(to.c), shapeCalls(from.c));
    EXPECT_FALSE(shapeCalls(to.c).empty());

    // An image with shapes replaces the shapes of the control it is pasted into.
    SitedControl other;
    other.site.surfaceFactory = from.site.surfaceFactory;
    other.site.ResizeSurface(400, 310);
    DrawShapes(other.c);
    other.c.LoadImage(image);
    EXPECT_EQ(ShapesRecordOf(other.c), ShapesRecordOf(from.c));
}

std::vector<CPlotObj::Record> RecordsOf(CTrendixCtrl& c) {
    std::vector<CPlotObj::Record> records;
    for (const auto& o : c.PlotObjects().Objects())
        records.push_back(o->GetRecord());
    return records;
}

// The objects come back with their IDs, states and points, hidden texts included, and both
// controls go on numbering from the same place.
TEST(PlotImage, HostObjectsComeBackWithTheirIdsStatesAndPoints) {
    SitedControl from;
    HostObjects(from.c);
    SeenOf(from.c);
    SitedControl to;
    to.c.LoadImage(from.c.SaveImage());
    ASSERT_EQ(RecordsOf(to.c), RecordsOf(from.c));
    ASSERT_EQ(RecordsOf(to.c).size(), 8u); // the plot's own note first
    for (const CPlotObj::Record& r : RecordsOf(from.c)) {
        SCOPED_TRACE(r.id);
        // SetObject with an empty mask answers the state without changing it.
        EXPECT_EQ(to.c.SetObject(std::int16_t(r.id), 0, 0),
                  from.c.SetObject(std::int16_t(r.id), 0, 0));
        for (std::int16_t i = 0; i < 5; ++i) {
            double fx = 0, fy = 0, tx = 0, ty = 0;
            EXPECT_EQ(to.c.GetXYData(std::int16_t(r.id), i, tx, ty),
                      from.c.GetXYData(std::int16_t(r.id), i, fx, fy));
            EXPECT_EQ(tx, fx);
            EXPECT_EQ(ty, fy);
        }
    }
    // A hidden text shows again where it was.
    const std::int16_t hidden = std::int16_t(RecordsOf(from.c)[5].id);
    to.c.SetObject(hidden, 1, 1);
    from.c.SetObject(hidden, 1, 1);
    EXPECT_EQ(SeenOf(to.c), SeenOf(from.c));
    EXPECT_NE(SeenOf(to.c).settings.find("Hidden text"), std::string::npos);
    EXPECT_EQ(to.c.NewLine(1, 1, 1, 0, 0), from.c.NewLine(1, 1, 1, 0, 0));
    EXPECT_EQ(SeenOf(to.c), SeenOf(from.c));
}

TEST(PlotImage, AnUnsizedControlTakesTheStoredSizeAndASizedOneKeepsItsOwn) {
    SitedControl from;
    from.c.OnSize(500, 300);
    const std::vector<std::uint8_t> image = from.c.SaveImage();
    ui::HeadlessSite site;
    CTrendixCtrl unsized(site);
    unsized.LoadImage(image);
    EXPECT_EQ(unsized.PlotWidth(), 500);
    EXPECT_EQ(unsized.PlotHeight(), 300);
    SitedControl sized;
    sized.c.LoadImage(image);
    EXPECT_EQ(sized.c.PlotWidth(), 400);
    EXPECT_EQ(sized.c.PlotHeight(), 310);
}

// A refused image changes nothing: the plot shows the same and writes the same image.
void ExpectRefusedWithoutTrace(SitedControl& target, std::span<const std::uint8_t> bad) {
    const Seen before = SeenOf(target.c);
    const std::vector<std::uint8_t> imageBefore = target.c.SaveImage();
    EXPECT_EQ(StatusOf([&] { target.c.LoadImage(bad); }), com::STG_E_READFAULT);
    EXPECT_EQ(target.c.SaveImage(), imageBefore);
    EXPECT_EQ(SeenOf(target.c), before);
}

TEST(PlotImage, EveryTruncationIsRefusedAndLeavesThePlotAsItWas) {
    SitedControl from;
    XYPlot(from.c);
    const std::vector<std::uint8_t> image = from.c.SaveImage();
    SitedControl target;
    RunPlot(target.c);
    // Every cut inside the header and the texts, then every 97th further on.
    for (std::size_t n = 0; n < image.size(); n += n < 2000 ? 1 : 97) {
        SCOPED_TRACE(n);
        ExpectRefusedWithoutTrace(target, std::span(image).first(n));
        if (testing::Test::HasFailure()) return;
    }
}

TEST(PlotImage, FlippedBitsAreReadOrRefusedAsAWholeNeverHalfWay) {
    SitedControl from;
    RunPlot(from.c);
    const std::vector<std::uint8_t> image = from.c.SaveImage();
    std::mt19937 random(14);
    int refused = 0, read = 0;
    for (int round = 0; round < 300; ++round) {
        std::vector<std::uint8_t> bad = image;
        // Most flips land in the header and texts, where they matter most.
        const std::size_t limit = round % 3 ? std::min<std::size_t>(bad.size(), 1500) : bad.size();
        const std::size_t at = std::uniform_int_distribution<std::size_t>(0, limit - 1)(random);
        bad[at] ^= std::uint8_t(1u << (round % 8));
        SitedControl target;
        XYPlot(target.c);
        const std::vector<std::uint8_t> imageBefore = target.c.SaveImage();
        if (StatusOf([&] { target.c.LoadImage(bad); }) == com::S_OK) {
            ++read;
            // Whatever was read paints, and writes an image that reads again.
            SeenOf(target.c);
            SitedControl again;
            ASSERT_EQ(StatusOf([&] { again.c.LoadImage(target.c.SaveImage()); }), com::S_OK)
                << "flip at " << at;
        } else {
            ++refused;
            ASSERT_EQ(target.c.SaveImage(), imageBefore) << "flip at " << at;
        }
    }
    EXPECT_GT(refused, 0);
    EXPECT_GT(read, 0);
}

// The axes are rebuilt from the map: a map not yet applied is applied before the image is
// written, and variables that an image puts on other axes than its map are laid out again.
TEST(PlotImage, AxesOutOfStepWithTheAxisMapStillMakeAnImageThatReadsAgain) {
    const auto twoAxes = [](SitedControl& s) {
        XYPlot(s.c);
        s.c.SetAxisMap(2, 2);
        s.c.SetAxisMap(-1, 0);
        SeenOf(s.c);
    };
    SitedControl pending;
    twoAxes(pending);
    pending.c.SetAxisMap(2, 0); // the only variable on axis 2 leaves it, not yet applied
    SitedControl remapped;
    twoAxes(remapped);
    CPlotImage::Content content = CPlotImage::Decode(remapped.c.SaveImage());
    content.variables[2].axisNo = 0;
    const std::vector<std::uint8_t> images[] = {pending.c.SaveImage(), CPlotImage::Encode(content)};
    for (const std::vector<std::uint8_t>& image : images) {
        SitedControl to;
        to.c.LoadImage(image);
        for (bool painted : {false, true}) {
            SCOPED_TRACE(painted);
            if (painted) SeenOf(to.c);
            SitedControl again;
            again.c.LoadImage(to.c.SaveImage());
            EXPECT_EQ(again.c.Model()->NYAxes(), 1);
            EXPECT_EQ(SeenOf(again.c), SeenOf(to.c));
        }
    }
}

// An image whose counts claim more than the bytes hold, or whose sections cannot be read, is
// refused before anything is allocated or changed.
TEST(PlotImage, ForgedCountsAndSectionsAreRefused) {
    SitedControl from;
    XYPlot(from.c);
    const std::vector<std::uint8_t> good = from.c.SaveImage();
    CPlotImage::Content content = CPlotImage::Decode(good);

    auto encoded = [](CPlotImage::Content c, const std::function<void(CPlotImage::Content&)>& f) {
        f(c);
        return CPlotImage::Encode(c);
    };
    const std::vector<std::vector<std::uint8_t>> bad = {
        encoded(content, [](auto& c) { c.propertySet.resize(c.propertySet.size() / 2); }),
        encoded(content, [](auto& c) { c.hostObjects.objects[0].record.annotation = 9; }),
        encoded(content, [](auto& c) { c.hostObjects.objects[0].record.xVariable = 0; }),
        encoded(content, [](auto& c) { c.hostObjects.objects[0].record.id = 3; }),
        encoded(content, [](auto& c) { c.hostObjects.objects[0].record.kind = 7; }),
        encoded(content,
                [](auto& c) { c.hostObjects.objects.push_back(c.hostObjects.objects[0]); }),
        encoded(content,
                [](auto& c) {
                    CPlotImage::HostObject twin = c.hostObjects.objects[0];
                    twin.record.id += 1;
                    c.hostObjects.nextNumber += 1;
                    c.hostObjects.objects.push_back(twin); // one annotation, two texts
                }),
        encoded(content,
                [](auto& c) {
                    c.hostObjects.nextNumber = 200;
                    c.hostObjects.objects.push_back(
                        {{200, CPlotObj::LineKind, true, 0, 99, -1, false}, 0});
                }),
        encoded(content, [](auto& c) { c.hostObjects.nextNumber = 0; }),
        encoded(content, [](auto& c) { c.hostObjects.nextNumber = 40000; }),
        encoded(content,
                [](auto& c) {
                    c.shapes = {3, 0, 0, 0};
                }),
        encoded(content, [](auto& c) { c.shapes.push_back(0); }),
        encoded(content, [](auto& c) { c.yVariables.pop_back(); }),
        encoded(content, [](auto& c) { c.axes.push_back({}); }),
        encoded(content, [](auto& c) { c.axes[0].ticks.assign(5000, 1.0); }),
        encoded(content, [](auto& c) { c.yVariables[0].writePos = 1u << 30; }),
        encoded(content, [](auto& c) { c.xVariables[0].ringMode = 7; }),
        encoded(content, [](auto& c) { c.width = -5; }),
        encoded(content, [](auto& c) { c.variables[0].axisNo = 46; }),
        encoded(content, [](auto& c) { c.variables[1].axisNo = -1; }),
    };
    SitedControl target;
    RunPlot(target.c);
    for (std::size_t i = 0; i < bad.size(); ++i) {
        SCOPED_TRACE(i);
        ExpectRefusedWithoutTrace(target, bad[i]);
    }
    // A count of four billion doubles at the very end.
    std::vector<std::uint8_t> huge = CPlotImage::Encode(content);
    huge.resize(huge.size() - content.yVariables.back().values.size() * 8 - 4);
    for (int i = 0; i < 4; ++i)
        huge.push_back(0xFF);
    ExpectRefusedWithoutTrace(target, huge);
    // More samples than the control's budget.
    target.c.SetSampleBudget(100);
    ExpectRefusedWithoutTrace(target, good);
}

TEST(PlotImage, TheReaderChecksEveryFieldAgainstWhatRemains) {
    CByteWriter w;
    w.U32(7);
    w.String("abc");
    w.Doubles(std::vector<double>{1.5, -2});
    w.F64(3.25);
    w.U8(1);
    const std::vector<std::uint8_t> bytes = w.Take();
    CByteReader r(bytes);
    EXPECT_EQ(r.U32(), 7u);
    EXPECT_EQ(r.String(), "abc");
    EXPECT_EQ(r.Doubles(), (std::vector<double>{1.5, -2}));
    EXPECT_EQ(r.F64(), 3.25);
    EXPECT_TRUE(r.Flag());
    r.ExpectEnd();
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        CByteReader cut(std::span<const std::uint8_t>(bytes).first(n));
        EXPECT_THROW(
            {
                cut.U32();
                cut.String();
                cut.Doubles();
                cut.F64();
                cut.Flag();
            },
            CByteReader::Malformed)
            << n;
    }
    const std::vector<std::uint8_t> flag = {2};
    EXPECT_THROW(CByteReader(flag).Flag(), CByteReader::Malformed);
}

} // namespace
