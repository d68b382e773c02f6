#include "control/PlotSettings.h"
#include "control/TrendixCtrl.h"
#include "platform/gdi/RecordingDC.h"
#include "platform/ui/HeadlessSite.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <locale>
#include <sstream>

namespace {

std::filesystem::path SourceRoot() {
    return std::filesystem::path(TRENDIX_SOURCE_ROOT);
}

std::string FileText(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

bool HasLine(const std::string& text, const std::string& line) {
    const auto lines = Lines(text);
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// A control sited in a headless window of the usual size.
struct Sited {
    Sited() { c.OnSize(400, 310); }
    ui::HeadlessSite site;
    CTrendixCtrl c{site};
};

// Loads an example into a control, then applies its settings to a fresh control with the same
// property values and writes them again.
std::pair<std::string, std::string> RoundTrip(const std::filesystem::path& example) {
    Sited first;
    const std::string ext = example.extension().string();
    if (ext == ".tset")
        first.c.SetSettings(FileText(example));
    else
        first.c.SetInputFile(example.string());
    const std::string written = first.c.GetSettings();
    Sited second;
    const TrendixProperties& p = first.c.Properties();
    second.c.SetPlotType(p.PlotType);
    second.c.SetRunPlot(p.RunPlot);
    second.c.Setnvariables(p.nvariables);
    second.c.SetSettings(written);
    return {written, second.c.GetSettings()};
}

// In a profile plot the labels of the variables are their legends; the settings text does not
// record profile mode, so a plot read back puts them on the Y axes instead.
std::string WithoutVariableLabels(const std::string& text) {
    std::string out;
    bool inVariable = false;
    for (const std::string& line : Lines(text)) {
        if (line.rfind("Var:", 0) == 0) inVariable = line != "Var:0";
        if (inVariable && line.rfind("Label:", 0) == 0) continue;
        out += line + '\n';
    }
    return out;
}

} // namespace

// --- the writer ---

TEST(SettingsWriter, WritesEveryLineInOrder) {
    Sited s;
    s.c.Setnvariables(2);
    const std::vector<std::string> keys = [&] {
        std::vector<std::string> k;
        for (const std::string& line : Lines(s.c.GetSettings()))
            k.push_back(line.substr(0, line.find(':')));
        return k;
    }();
    const std::vector<std::string> head = {
        "Type",           "Title",        "Xlab",         "Ylab",
        "Nvars",          "MultiY",       "Subst",        "NYaxes",
        "RunPlot",        "PhasePlot",    "SizeToData",   "CommunicationIntervals",
        "UseVar",         "IgnoreLegend", "TimeWin",      "TimeScroll",
        "AlwaysShow",     "PhaseX",       "Var",          "AxisMap",
        "Label",          "SubstValue",   "Var",          "AxisMap",
        "Label",          "Legend",       "SubstValue",   "Var",
        "AxisMap",        "Label",        "Legend",       "SubstValue",
        "Axis",           "Range",        "AxisInterval", "AxisRange",
        "AxisResetRange", "AxisScale",    "Multiplier",   "MultiplierType",
        "AxisFlag",       "Axis"};
    ASSERT_GE(keys.size(), head.size());
    EXPECT_EQ(std::vector<std::string>(keys.begin(), keys.begin() + long(head.size())), head);
    const std::vector<std::string> tail = {"Attrib", "Attrib2", "Attrib",    "Attrib2",   "Font",
                                           "Font",   "Font",    "Font",      "Grid",      "Line",
                                           "Square", "Marker",  "LegendBox", "LegendBox2"};
    EXPECT_EQ(std::vector<std::string>(keys.end() - long(tail.size()), keys.end()), tail);
}

// A decimal comma, as a user's locale may have.
struct CommaPunct : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
};

TEST(SettingsWriter, NumbersUsePrintfConversionsWithADecimalPoint) {
    Sited s;
    const std::locale previous =
        std::locale::global(std::locale(std::locale::classic(), new CommaPunct));
    s.c.SetTimeWindow(2.5f);
    s.c.SetTimeScrollUnit(0.125f);
    s.c.SetRange(1, 0.000012345678, 123456789.0);
    s.c.SetLegendBox(0, 40, 1.5f, 7);
    const std::string text = s.c.GetSettings();
    EXPECT_TRUE(HasLine(text, "TimeWin:2.5"));
    EXPECT_TRUE(HasLine(text, "TimeScroll:0.125"));
    EXPECT_TRUE(HasLine(text, "Range:1.23457e-05 1.23457e+08")) << text;
    EXPECT_TRUE(HasLine(text, "LegendBox:0 1.000000 0.030000"));
    EXPECT_TRUE(HasLine(text, "LegendBox2:40 1.500000 7"));
    EXPECT_EQ(text.find('\r'), std::string::npos);
    std::locale::global(previous);
}

TEST(SettingsWriter, RunPlotsWriteAllRangesOfEachAxis) {
    Sited s;
    s.c.SetRunPlot(true);
    const std::string text = s.c.GetSettings();
    EXPECT_TRUE(HasLine(text, "RunPlot:1"));
    EXPECT_TRUE(HasLine(text, "ARange:0 0 0 1 0 1")) << text;
    EXPECT_EQ(text.find("\nRange:"), std::string::npos);
    EXPECT_EQ(text.find("\nAxisRange:"), std::string::npos);
    EXPECT_NE(text.find("\nARange3:"), std::string::npos);
}

TEST(SettingsWriter, ALogarithmicAxisWritesItsWorkingRange) {
    Sited s;
    s.c.SetScale(1, 1);
    s.c.SetRange(1, 1, 1000);
    s.c.SetAxisRange(1, 10, 100);
    EXPECT_TRUE(HasLine(s.c.GetSettings(), "AxisRange:10 100"));
}

TEST(SettingsWriter, SymbolsOtherThanDateAndTimeAndAnnotationsAreWritten) {
    Sited s;
    s.c.SetSymbol("UNIT", "R-101");
    const std::string text = s.c.GetSettings();
    EXPECT_TRUE(HasLine(text, "SymbolName:UNIT"));
    EXPECT_TRUE(HasLine(text, "SymbolValue:R-101"));
    EXPECT_FALSE(HasLine(text, "SymbolName:DATE"));
    CPlotSettings::Annotation a;
    a.text = "Tag";
    a.x = CPlotSettings::kLargestFloat;
    a.y = -4e38;
    a.fontFace = "Arial";
    const std::string block = CPlotSettings::FormatAnnotation(a);
    EXPECT_NE(block.find("AnnoPosX:+++\nAnnoPosY:---\n"), std::string::npos);
    EXPECT_NE(block.find("AnnoFont:0 0 0:Arial\n"), std::string::npos);
}

// --- the reader: keys and cursors ---

TEST(SettingsReader, ALastLineWithoutLineFeedHasNoEffect) {
    Sited s;
    s.c.SetSettings("Title:Kept\nTitle:Dropped");
    EXPECT_EQ(s.c.GetTitle(), "Kept");
}

TEST(SettingsReader, TypeRebuildsOnlyForADifferentKind) {
    Sited s;
    s.c.Setnvariables(3);
    s.c.SetSettings("Type:0\n");
    EXPECT_EQ(s.c.Model()->NYVars(), 3);
    s.c.SetSettings("Type:1\n");
    EXPECT_EQ(s.c.Model()->NYVars(), 1);
    EXPECT_EQ(s.c.Model()->barMode, 1);
}

TEST(SettingsReader, AnEmptyXLabelBecomesSixBlanks) {
    Sited s;
    s.c.SetSettings("Var:0\nLabel:\n");
    EXPECT_EQ(s.c.GetLabel(0), "      ");
}

TEST(SettingsReader, AnAxisThatDoesNotExistLeavesThePreviousAxisCurrent) {
    Sited s;
    s.c.Setnvariables(2);
    s.c.SetAxisMap(1, 2);
    s.c.SetAxisMap(-1, 0);
    s.c.SetSettings("Axis:2\nAxis:5\nMultiplier:3\nAxisFlag:1\n");
    EXPECT_EQ(s.c.Model()->Axis(2)->multiplier, 3);
    EXPECT_EQ(s.c.Model()->Axis(2)->integerAxis, 1);
    EXPECT_EQ(s.c.Model()->Axis(1)->multiplier, 0);
}

TEST(SettingsReader, AxisKeysBeforeAnyAxisLineAreIgnored) {
    Sited s;
    s.c.SetSettings("Multiplier:4\nRange:5 6\nAxis:0\nMultiplier:2\n");
    EXPECT_EQ(s.c.Model()->Axis(1)->multiplier, 0);
    EXPECT_EQ(s.c.Model()->Axis(0)->multiplier, 2);
    EXPECT_NE(s.c.Model()->Axis(1)->dataMin, 5);
}

TEST(SettingsReader, VariablesAxesAndAttributesGoThroughTheirMembers) {
    Sited s;
    s.c.SetSettings("Nvars:2\nVar:2\nAxisMap:2\nLabel:Pressure\nLegend:Outlet\nSubstValue:P1\n"
                    "Axis:2\nRange:1 9\nAxisInterval:2 1\nAxisRange:2 8\nAxisScale:2 1\n"
                    "Attrib:1 3 7 5\nAttrib2:1 11 12 13 14\n");
    CPlotLook& m = *s.c.Model();
    EXPECT_EQ(s.c.GetAxisMap(1), 2);
    EXPECT_EQ(s.c.GetLabel(2), "Pressure");
    EXPECT_EQ(s.c.GetLegend(2), "Outlet");
    EXPECT_EQ(m.YVar(1)->label.substitution, "P1");
    EXPECT_EQ(m.Axis(2)->dataMin, 1);
    EXPECT_EQ(m.Axis(2)->interval, 2);
    EXPECT_EQ(m.Axis(2)->fixedInterval, 1);
    EXPECT_EQ(m.Axis(2)->reqMin, 2);
    EXPECT_EQ(m.Axis(2)->rangeSet, 0); // cleared after the explicit range
    EXPECT_EQ(m.Axis(2)->scaleType, 2);
    EXPECT_EQ(m.Axis(2)->reversed, 1);
    std::int16_t type = 0, marker = 0, color = 0;
    s.c.GetAttribute(1, type, marker, color);
    EXPECT_EQ(type, 3);
    EXPECT_EQ(marker, 7);
    EXPECT_EQ(color, 5);
    EXPECT_EQ(m.YVar(1)->area, 11);
    EXPECT_EQ(m.YVar(1)->ownMarkerInterval, 14);
}

TEST(SettingsReader, AScanStopsAtTheFirstFieldThatDoesNotParse) {
    Sited s;
    s.c.SetSettings("Axis:0\nARange:1 2 x 4 5 6\nSquare:1 junk 1 1\n");
    const CPlotAxis& x = *s.c.Model()->Axis(0);
    EXPECT_EQ(x.dataMin, 1);
    EXPECT_EQ(x.dataMax, 2);
    EXPECT_EQ(x.fullMin, 0); // kept
    EXPECT_EQ(x.reqMax, 1);  // kept
    EXPECT_TRUE(s.c.GetSquarePlot());
    EXPECT_FALSE(s.c.GetZeroLine());
}

TEST(SettingsReader, StoredSettingsSkipTheirHandlers) {
    Sited s;
    s.c.SetSettings("Grid:7\nLine:5\nSquare:0 1 1 0\nMarker:9 3\nCommunicationIntervals:4\n"
                    "UseVar:1\nTimeScroll:9\nSubst:Flow of &[UNIT]\nPhaseX:FIC1\n");
    CPlotLook& m = *s.c.Model();
    EXPECT_EQ(s.c.GetGridType(), 7); // no clamping
    EXPECT_EQ(m.gridType, 7);
    EXPECT_EQ(s.c.GetDisplayType(), 5);
    EXPECT_FALSE(s.c.GetSquarePlot()); // not forced on by the diagonal line
    EXPECT_TRUE(s.c.GetDiagonalLine());
    EXPECT_EQ(m.markerSize, 9);
    EXPECT_EQ(s.c.GetMarkerInterval(), 3);
    EXPECT_EQ(s.c.GetCommunicationIntervals(), 4);
    EXPECT_TRUE(s.c.GetUseVariable());
    EXPECT_EQ(s.c.GetTimeScrollUnit(), 9.0f); // not checked against the window
    EXPECT_EQ(m.substitutionString, "Flow of &[UNIT]");
    EXPECT_EQ(s.c.GetPhaseXVariable(), "FIC1");
}

TEST(SettingsReader, FontsTakeTheFaceAfterTheSecondColon) {
    Sited s;
    s.c.SetSettings("Font:1 14 1:Courier New\nFont:2 20 0\n");
    std::int16_t size = 0, style = 0;
    EXPECT_EQ(s.c.GetFont(1, size, style), "Courier New");
    EXPECT_EQ(size, 14);
    EXPECT_EQ(style, 1);
    EXPECT_EQ(s.c.GetFont(2, size, style), "Times New Roman");
    EXPECT_EQ(size, 10);
}

TEST(SettingsReader, LegendBoxShowsAndHidesTheLegend) {
    Sited s;
    s.c.SetSettings("LegendBox:1 0.500000 0.250000\n");
    EXPECT_TRUE(s.c.GetShowLegend());
    EXPECT_EQ(s.c.Model()->showLegend, 1);
    EXPECT_EQ(s.c.Model()->legendFx, 0.5f);
    s.c.SetSettings("LegendBox:0 1 1\nLegendBox2:30 2.000000 9\n");
    EXPECT_FALSE(s.c.GetShowLegend());
    EXPECT_EQ(s.c.Model()->legendRegion->shown, 0);
    EXPECT_EQ(s.c.Model()->legendRegion->lineSampleLength, 30);
    EXPECT_EQ(s.c.Model()->legendRegion->margin, 9);
}

TEST(SettingsReader, NYaxesDeletesAxesButNeverAddsOrLeavesNone) {
    Sited s;
    s.c.Setnvariables(3);
    s.c.SetAxisMap(1, 2);
    s.c.SetAxisMap(2, 3);
    s.c.SetSettings("NYaxes:2\n");
    EXPECT_EQ(s.c.GetNYaxes(), 2);
    s.c.SetSettings("NYaxes:5\n");
    EXPECT_EQ(s.c.GetNYaxes(), 2);
    s.c.SetSettings("NYaxes:0\n");
    EXPECT_EQ(s.c.GetNYaxes(), 1);
}

TEST(SettingsReader, RunAndPhaseModesSwitchWithoutTouchingEachOther) {
    Sited s;
    s.c.SetSettings("RunPlot:0\nPhasePlot:0\n");
    EXPECT_FALSE(s.c.GetRunPlot()); // leaving the phase plot does not start a run plot here
    EXPECT_EQ(s.c.Model()->runPlotActive, 0);
    s.c.SetSettings("RunPlot:1\nPhasePlot:0\n");
    EXPECT_TRUE(s.c.GetRunPlot());
    EXPECT_EQ(s.c.Model()->runPlotActive, 1);
    EXPECT_FALSE(s.c.GetPhasePlot());
}

TEST(SettingsReader, PreparationClearsSamplesAndScrollBars) {
    Sited s;
    s.c.Setnpoints(4);
    s.c.SetData(1, 2, 42.0);
    s.site.horizontal.shown = true;
    s.c.Zoom(1); // zoomed in: the scroll bars show
    s.c.SetSettings("");
    double v = 0;
    s.c.GetData(1, 2, v);
    EXPECT_EQ(v, MISSING_VALUE);
    EXPECT_FALSE(s.site.horizontal.shown);
    EXPECT_FALSE(s.site.vertical.shown);
}

TEST(SettingsReader, TheFinalStepSizesTheBufferAndRepaints) {
    Sited s;
    s.c.OnSize(640, 480);
    s.c.Model()->bufferWidth = 1;
    const int before = s.site.invalidateCount;
    s.c.SetSettings("Grid:1\n");
    EXPECT_EQ(s.c.Model()->bufferWidth, 640);
    EXPECT_EQ(s.c.Model()->bufferHeight, 480);
    EXPECT_EQ(s.c.Model()->layoutDirty, 1);
    EXPECT_GT(s.site.invalidateCount, before);
}

TEST(SettingsReader, RefusedValuesChangeNothing) {
    Sited s;
    s.c.SetSettings("TimeWin:-4\nNvars:-2\nTimeWin:nan\n");
    EXPECT_EQ(s.c.GetTimeWindow(), 1.0f);
    EXPECT_EQ(s.c.Getnvariables(), 1);
}

// --- the reader: annotation keys ---

TEST(SettingsAnnotations, ABlockIsPlacedByItsFontLine) {
    Sited s;
    CPlotSettings reader(s.c);
    reader.Read("Annotation:Limit\nAnnoPosX:+++\nAnnoPosY:2.5\nAnnoPos2:1 -2 3\n"
                "AnnoAttrib2:1 4 90 6 2 1\nAnnoFont:12 45 3:Courier New\n");
    const auto placed = reader.Annotations();
    ASSERT_EQ(placed.size(), 1u);
    const CPlotSettings::Annotation& a = placed[0];
    EXPECT_EQ(a.text, "Limit");
    EXPECT_EQ(a.x, CPlotSettings::kLargestFloat);
    EXPECT_EQ(a.y, 2.5);
    EXPECT_EQ(a.dx, 1);
    EXPECT_EQ(a.dy, -2);
    EXPECT_EQ(a.tagVariable, 3);
    EXPECT_EQ(a.attachMode, 1);
    EXPECT_EQ(a.arrowSize, 6);
    EXPECT_EQ(a.transparentText, 1);
    EXPECT_EQ(a.textObjectIndex, 0);
    EXPECT_EQ(a.fontFace, "Courier New");
    EXPECT_EQ(a.fontAngle, 45);
    // What was read writes back as the same block.
    EXPECT_EQ(CPlotSettings::FormatAnnotation(a),
              "Annotation:Limit\nAnnoPosX:+++\nAnnoPosY:2.500000\nAnnoPos2:1.000000 -2.000000 3\n"
              "AnnoAttrib2:1 4 90 6 2 1\nAnnoFont:12 45 3:Courier New\n");
}

TEST(SettingsAnnotations, ABlockWithoutItsFontLineLeavesNoAnnotation) {
    Sited s;
    CPlotSettings reader(s.c);
    reader.Read("Annotation:Orphan\nAnnoPosX:1\nAnnoPos2:0 0 0\nAnnoAttrib2:0 1 0 0 0 0\n");
    EXPECT_TRUE(reader.Annotations().empty());
}

TEST(SettingsAnnotations, KeysWithoutACurrentAnnotationDoNothing) {
    Sited s;
    CPlotSettings reader(s.c);
    reader.Read("AnnoPosX:5\nAnnoFont:10 0 0:Arial\nAnnotation:A\nAnnoPos2:0 0 0\n"
                "AnnoFont:10 0 0:Arial\n");
    ASSERT_EQ(reader.Annotations().size(), 1u);
    EXPECT_EQ(reader.Annotations()[0].x, 0); // the position before the block was not kept
}

TEST(SettingsAnnotations, TheCurrentAnnotationStaysCurrentAfterItsFont) {
    Sited s;
    CPlotSettings reader(s.c);
    reader.Read(
        "Annotation:A\nAnnoFont:10 0 0:Arial\nAnnoAttrib2:0 9 0 0 0 0\n"
        "AnnoFont:11 0 0:Arial\nAnnotation:B\nAnnoAttrib:0 3 0 0 0\nAnnoFont:8 0 0:Arial\n");
    const auto placed = reader.Annotations();
    ASSERT_EQ(placed.size(), 2u); // placed once however often its font is given
    EXPECT_EQ(placed[0].color, 9);
    EXPECT_EQ(placed[0].fontSize, 11);
    EXPECT_EQ(placed[0].textObjectIndex, 1); // bound while one annotation was placed
    EXPECT_EQ(placed[1].textObjectIndex, 1);
}

TEST(SettingsAnnotations, OlderKeysAreStillRead) {
    Sited s;
    CPlotSettings reader(s.c);
    reader.Read(FileText(SourceRoot() / "tests/data/older-keys.tset"));
    const auto placed = reader.Annotations();
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_EQ(placed[0].x, 1.5);
    EXPECT_EQ(placed[0].y, -2.5);
    EXPECT_EQ(placed[0].dy, 4);
    EXPECT_EQ(placed[0].tagVariable, 2);
    EXPECT_EQ(placed[0].alignment, 2);
    EXPECT_EQ(placed[0].transparentText, 0);
    const CPlotAxis& y = *s.c.Model()->Axis(1);
    EXPECT_EQ(y.fullMax, 10);
    EXPECT_EQ(y.viewMin, 2);
    EXPECT_EQ(y.plotMax, 8);
    EXPECT_EQ(y.interval, 0.5);
    EXPECT_EQ(y.intervalCopy, 0.25);
    EXPECT_EQ(s.c.GetLegend(1), "Feed");
}

// --- round trips ---

TEST(SettingsRoundTrip, EveryExampleReadsBackToTheSameText) {
    int examples = 0;
    for (const auto& entry : std::filesystem::directory_iterator(SourceRoot() / "examples")) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".tset" && ext != ".plx" && ext != ".ply") continue;
        ++examples;
        const auto [written, again] = RoundTrip(entry.path());
        if (ext == ".plx")
            EXPECT_EQ(WithoutVariableLabels(written), WithoutVariableLabels(again)) << entry.path();
        else
            EXPECT_EQ(written, again) << entry.path();
    }
    EXPECT_GE(examples, 5);
}

TEST(SettingsRoundTrip, TheSettingsExampleKeepsItsValues) {
    Sited s;
    s.c.SetSettings(FileText(SourceRoot() / "examples/reactor-layout.tset"));
    EXPECT_EQ(s.c.GetTitle(), "Reactor &[UNIT] temperatures");
    EXPECT_EQ(s.c.GetNYaxes(), 2);
    EXPECT_EQ(s.c.GetAxisMap(2), 2);
    EXPECT_TRUE(s.c.GetShowLegend());
    EXPECT_EQ(s.c.Model()->FindSymbol("UNIT")->value, "R-101");
    EXPECT_EQ(s.c.Model()->Axis(2)->scaleType, 1);
}

// --- bad input ---

TEST(SettingsBadInput, GarbageBinaryHugeNumbersAndLongLinesAreSurvived) {
    std::string binary;
    for (int i = 0; i < 20000; ++i)
        binary += char((i * 131 + 7) & 0xFF);
    const std::string inputs[] = {
        binary,
        std::string(100000, 'x') + "\n",
        "Nvars:99999999999999999999\nType:-70000\nAxisMap:2147483647\nVar:2147483647\n"
        "Label:x\nLegend:y\nAxis:-5\nAttrib:40000 1 1 1\nFont:-1 99999 9:A\nLegendBox2:1e400 1e400 "
        "1\n",
        "Var:1\nAxisMap:32767\nNYaxes:-3\nAxis:32767\nRange:1e400 -1e400\nAxisRange:nan nan\n",
        "Annotation:\nAnnoPosX:-1e999\nAnnoPos2:\nAnnoFont:\nSymbolValue:orphan\n",
        ":\n::\nTitle\n\n\n",
    };
    for (const std::string& text : inputs) {
        Sited s;
        s.c.SetSettings(text);
        const std::string written = s.c.GetSettings();
        Sited again;
        again.c.SetSettings(written);
        EXPECT_FALSE(written.empty());
    }
}

namespace {

// The second attribute quadruple carries the area flag, the direction arrow and the curve's
// own marker size and interval; an area is drawn as a filled outline.
TEST(SettingsAttributes, TheSecondQuadrupleMakesAFilledAreaAndRoundTrips) {
    Sited s;
    s.c.SetSettings("Attrib2:0 1 2 -5 3\n");
    const CPlotVar& v = *s.c.Model()->YVar(0);
    EXPECT_EQ(v.area, 1);
    EXPECT_EQ(v.arrowMode, 2);
    EXPECT_EQ(v.ownMarkerSize, 0); // a negative size means the plot's
    EXPECT_EQ(v.ownMarkerInterval, 3);
    EXPECT_NE(s.c.GetSettings().find("Attrib2:0 1 2 0 3\n"), std::string::npos);

    s.c.Setnpoints(4);
    const double xs[] = {1, 3, 3, 1}, ys[] = {1, 1, 3, 3};
    for (std::int16_t i = 0; i < 4; ++i) {
        s.c.SetXData(1, i, xs[i]);
        s.c.SetData(1, i, ys[i]);
    }
    gdi::RecordingDC filled(400, 310);
    s.c.OnDraw(filled, {0, 0, 400, 310}, {0, 0, 400, 310});
    EXPECT_EQ(filled.CallsNamed("Polygon").size(), 1u);

    s.c.SetSettings("Attrib2:0 0 0 0 0\n");
    gdi::RecordingDC outlined(400, 310);
    s.c.OnDraw(outlined, {0, 0, 400, 310}, {0, 0, 400, 310});
    EXPECT_TRUE(outlined.CallsNamed("Polygon").empty());
}

} // namespace
