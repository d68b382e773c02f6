#include "control/ControlHarness.h"
#include "control/PlotScript.h"
#include "control/ProfileBlock.h"
#include "control/TrendixCtrl.h"
#include "model/MenuTable.h"
#include "platform/gdi/RecordingDC.h"
#include "platform/ui/HeadlessSite.h"
#include "support/CtrlProbe.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::filesystem::path DataPath(const char* name) {
    return std::filesystem::path(TRENDIX_SOURCE_ROOT) / "tests" / "data" / name;
}

struct Sited {
    Sited() { c.OnSize(400, 310); }
    ui::HeadlessSite site;
    CTrendixCtrl c{site};
};

// A file of the test's own, removed afterwards.
class ScratchFile {
public:
    ScratchFile(const std::string& name, const std::string& text)
        : path_(std::filesystem::temp_directory_path() / ("trendix-test-" + name)) {
        std::ofstream(path_, std::ios::binary) << text;
    }
    ~ScratchFile() { std::filesystem::remove(path_); }
    std::string path() const { return path_.string(); }

private:
    std::filesystem::path path_;
};

void RunScript(CTrendixCtrl& c, const std::string& text) {
    std::istringstream in(text);
    CPlotScript(c).Run(in);
}

CProfileRecord TwoVariableRecord() {
    CProfileRecord r;
    r.title = "  Profile from the host ";
    r.indeplab = "Stage";
    r.deplab[0] = "T";
    r.deplab[1] = "x";
    r.numpoints = 2;
    r.numindep = 1;
    r.numdep = 2;
    r.hasValues = true;
    r.values = {1, 2, 30, 40, 0.5, 0.25};
    return r;
}

} // namespace

// --- script lines ---

TEST(ScriptLines, KeysIgnoreCase) {
    Sited s;
    RunScript(s.c, "PlotType: 2\n");
    EXPECT_EQ(s.c.GetPlotType(), 2);
    EXPECT_EQ(s.c.Model()->triMode, 1);
}

TEST(ScriptLines, TextsAreTakenBetweenQuotes) {
    Sited s;
    RunScript(s.c, "title: \"Feed: flow\" trailing\nxlabel: \"Open to the end\nylabel:  x \"Y\"\n");
    EXPECT_EQ(s.c.GetTitle(), "Feed: flow");
    EXPECT_EQ(s.c.Getxlabel(), "Open to the end");
    EXPECT_EQ(s.c.Getylabel(), "Y");
}

TEST(ScriptLines, ATextWithoutQuotesSkipsTheLine) {
    Sited s;
    RunScript(s.c, "title: Unquoted\nsetlegend: 1 Flow\n");
    EXPECT_EQ(s.c.GetTitle(), "Title");
    EXPECT_EQ(s.c.GetLegend(1), "Var. 1");
}

TEST(ScriptLines, NumbersAreTruncatedAndMissingOnesReadZero) {
    Sited s;
    const com::HRESULT hr = StatusOf([&] {
        RunScript(s.c, "nvariables: 3.9\nsetaxismap: 2.7\nsetaxisrange: 1 -5.5 5.5\n"
                       "timewindow: 2.5\nbuffersize: 1e12\n");
    });
    EXPECT_EQ(hr, com::E_INVALIDARG); // the size reaches BufferSize clamped, which refuses it
    EXPECT_EQ(s.c.Getnvariables(), 3);
    EXPECT_EQ(s.c.GetAxisMap(2), 0); // axis 0 hides the variable
    // The range asked for is scaled when the plot is next drawn.
    gdi::RecordingDC dc{400, 310};
    s.c.OnDraw(dc, {0, 0, 400, 310}, {0, 0, 400, 310});
    double lo = 0, hi = 0;
    s.c.GetAxisRange(1, lo, hi);
    EXPECT_LE(lo, -5.5);
    EXPECT_GE(hi, 5.5);
    EXPECT_EQ(s.c.GetTimeWindow(), 2.5f);
}

TEST(ScriptLines, LinesWithoutColonOrValueAndUnknownKeysAreSkipped) {
    Sited s;
    RunScript(s.c, "title \"No colon\"\ntitle:   \r\nfrobnicate: 3\nsetlabel: 0 \"Time\"\r\n");
    EXPECT_EQ(s.c.GetTitle(), "Title");
    EXPECT_EQ(s.c.GetLabel(0), "Time");
}

TEST(ScriptLines, ModesLegendsAndTimestampGoThroughTheirMembers) {
    Sited s;
    RunScript(s.c, "runplot: 1\ntimescrollunit: 0.5\nusevariable: 1\nsetlegend: 1 \"Flow\"\n"
                   "timestamp: anything\nphaseplot: 1\n");
    EXPECT_TRUE(s.c.GetUseVariable());
    EXPECT_EQ(s.c.GetTimeScrollUnit(), 0.5f);
    EXPECT_EQ(s.c.GetLegend(1), "Flow");
    EXPECT_TRUE(s.c.GetAddTimeStamp());
    EXPECT_TRUE(s.c.GetPhasePlot());
    EXPECT_FALSE(s.c.GetRunPlot());
}

TEST(ScriptLines, ALongLineContinuesAsTheNextLine) {
    Sited s;
    const std::string first = "title: \"" + std::string(232, 'a'); // 240 characters
    RunScript(s.c, first + "nvariables: 4\n");
    EXPECT_EQ(s.c.GetTitle(), std::string(232, 'a'));
    EXPECT_EQ(s.c.Getnvariables(), 4);
}

TEST(ScriptLines, ObjectKeysActOnTheLastCreatedObject) {
    Sited s;
    CPlotScript script(s.c);
    EXPECT_EQ(script.lastObject(), 0);
    // Before any object, the point goes to no object; then to the line just made.
    EXPECT_EQ(StatusOf([&] { script.RunLine("setxydata: 1 2 3"); }), com::S_OK);
    script.RunLine("newline: 1 4 1 4 0");
    EXPECT_EQ(script.lastObject(), 101);
    script.RunLine("setxydata: 1 2 3");
    double x = 0, y = 0;
    EXPECT_TRUE(s.c.GetXYData(101, 1, x, y));
    EXPECT_EQ(x, 2);
    EXPECT_EQ(y, 3);
}

// --- errors and InputFile ---

TEST(ScriptErrors, AnAutomationErrorEndsTheScriptAndReachesTheCaller) {
    Sited s;
    const std::string path = DataPath("stops-at-error.ply").string();
    EXPECT_EQ(StatusOf([&] { s.c.SetInputFile(path); }), com::E_INVALIDARG);
    EXPECT_EQ(s.c.GetTitle(), "Before the error");
    EXPECT_EQ(s.c.Getnvariables(), 3);
    EXPECT_TRUE(CtrlProbe::PlotDefined(s.c));
    EXPECT_EQ(s.c.GetInputFile(), path);
}

TEST(InputFileProperty, AScriptRunsAndMarksThePlotDefined) {
    Sited s;
    ScratchFile script("run.ply", "nvariables: 2\nsetlegend: 2 \"Second\"\n");
    const int modified = s.site.modifiedCount;
    s.c.SetInputFile(script.path());
    EXPECT_EQ(s.c.GetLegend(2), "Second");
    EXPECT_TRUE(CtrlProbe::PlotDefined(s.c));
    EXPECT_EQ(s.c.Model()->dataDirty, 1);
    EXPECT_GT(s.site.modifiedCount, modified);
}

// The kind lines of an input file change the plot shown, and the properties describe it: each
// file sets them all, on or off.
TEST(InputFileProperty, TheKindLinesSetTheDisplayProperties) {
    Sited s;
    const std::string values = "numpoints:2\nnumindep:1\nnumdep:1\nvalues:\n1 2\n3 4\n";
    ScratchFile kinds("kinds.plx", "square:1\ndiagonal:1\nzeroline:1\nflipped:1\n" + values);
    ScratchFile plain("plain.plx", values);
    for (bool on : {true, false, true}) {
        s.c.SetInputFile(on ? kinds.path() : plain.path());
        const CPlotLook& m = *s.c.Model();
        EXPECT_EQ(s.c.GetSquarePlot(), on);
        EXPECT_EQ(s.c.GetDiagonalLine(), on);
        EXPECT_EQ(s.c.GetZeroLine(), on);
        EXPECT_EQ(s.c.GetFlipped(), on);
        EXPECT_EQ(m.squarePlot != 0, on);
        EXPECT_EQ(m.zeroLine != 0, on);
    }
}

TEST(InputFileProperty, PlyAtTheFirstCharacterIsAnInputFile) {
    Sited s;
    ScratchFile file(".ply", "title:Read as input\nnumdep:1\n");
    const std::string path = file.path();
    // Only the name ".ply" itself starts with it; a directory in front would hide the case.
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    s.c.SetInputFile("trendix-test-.ply"); // contains ".ply" after its first character
    EXPECT_EQ(s.c.GetTitle(), "Title");    // run as a script: no key matched
    std::filesystem::rename(path, std::filesystem::temp_directory_path() / ".ply");
    s.c.SetInputFile(".ply");
    EXPECT_EQ(s.c.GetTitle(), "Read as input");
    std::filesystem::remove(std::filesystem::temp_directory_path() / ".ply");
    std::filesystem::current_path(previous);
}

TEST(InputFileProperty, AnInputFileSetsTheKindAndTheProperties) {
    Sited s;
    ScratchFile file("tri.plx", "title: Ternary\nindeplab:A\ntriangular:\nmulti-y:\nnumpoints:1\n"
                                "numindep:1\nnumdep:2\nvalues:\n0.2\n0.3\n0.5\n");
    s.c.SetInputFile(file.path());
    EXPECT_EQ(s.c.GetPlotType(), 2);
    EXPECT_TRUE(s.c.GetMultiYaxis());
    EXPECT_EQ(s.c.Getnvariables(), 2);
    EXPECT_EQ(s.c.GetTitle(), " Ternary");
    EXPECT_EQ(s.c.GetCurrentValue(0), "Ternary");
    EXPECT_EQ(s.c.Getxlabel(), "A");
    double v = 0;
    EXPECT_TRUE(s.c.GetData(2, 0, v));
    EXPECT_EQ(v, 0.5);
}

TEST(InputFileProperty, ARunPlotFileStartsEmpty) {
    Sited s;
    ScratchFile file("run.plx", "runplot:\nnumdep:2\nindeplow:0\nindephigh:30\nvalues:\n1 2 3\n");
    s.c.SetInputFile(file.path());
    EXPECT_TRUE(s.c.GetRunPlot());
    EXPECT_EQ(s.c.GetTimeWindow(), 30.0f);
    EXPECT_EQ(s.c.GetDisplayType(), 0);
    EXPECT_EQ(s.c.GetMarkerInterval(), 10);
    s.c.AddTimeData(2, 1.0, 5.0); // the rings take samples
    double v = 0;
    EXPECT_TRUE(s.c.GetData(2, 0, v));
    EXPECT_EQ(v, 5.0);
}

// RunPlot follows the kind of the file loaded, whatever it was before: a plot loaded from a
// file that is not a run plot takes no live samples, and its settings text must not describe
// a run plot, or applying it again would turn the loaded X axis into a time axis.
TEST(InputFileProperty, RunPlotFollowsTheKindOfTheFileLoaded) {
    const std::string profile =
        "title:Column\nnumpoints:2\nnumindep:1\nnumdep:1\n"
        "indeplow:0\nindephigh:10\ndeplow:0\ndephigh:5\nvalues:\n1 2\n3 4\n";
    const std::string run = "runplot:\nnumdep:1\nindeplow:0\nindephigh:30\n";
    const struct {
        bool before;
        const std::string& file;
        bool after;
    } cases[] = {
        {false, profile, false}, {true, profile, false}, {false, run, true}, {true, run, true}};
    for (const auto& k : cases) {
        SCOPED_TRACE(std::string(k.before ? "RunPlot TRUE, " : "RunPlot FALSE, ") +
                     (k.after ? "run plot file" : "profile file"));
        Sited s;
        s.c.SetRunPlot(k.before);
        ScratchFile file("kind.plx", k.file);
        s.c.SetInputFile(file.path());
        EXPECT_EQ(s.c.GetRunPlot(), k.after);
        EXPECT_EQ(s.c.Model()->runPlotActive, k.after ? 1 : 0);
        const std::string text = s.c.GetSettings();
        EXPECT_NE(text.find(k.after ? "\nRunPlot:1\n" : "\nRunPlot:0\n"), std::string::npos);
        s.c.SetSettings(text);
        EXPECT_EQ(s.c.GetRunPlot(), k.after);
        EXPECT_EQ(s.c.Model()->runPlotActive, k.after ? 1 : 0);
        EXPECT_EQ(s.c.Model()->xAxisRegion->axis->timeAxis, k.after ? 1 : 0);
    }
}

TEST(InputFileProperty, AFileThatCannotBeReadOrDescribesNoPlotChangesNothing) {
    Sited s;
    s.c.SetTitle("Kept");
    ScratchFile tooMany("many.plx", "title:Refused\nnumdep:11\n");
    ScratchFile negative("neg.plx", "title:Refused\nnumpoints:-1\n");
    s.c.SetInputFile("/no/such/file.plx");
    // A file whose counts describe no plot is refused with an error, not taken silently.
    EXPECT_EQ(StatusOf([&] { s.c.SetInputFile(tooMany.path()); }), com::E_INVALIDARG);
    EXPECT_EQ(StatusOf([&] { s.c.SetInputFile(negative.path()); }), com::E_INVALIDARG);
    EXPECT_EQ(s.c.GetInputFile(), "/no/such/file.plx");
    EXPECT_EQ(s.c.GetTitle(), "Kept");
    EXPECT_EQ(s.c.Model()->profileMode, 0);
}

TEST(InputFileProperty, BadFilesNeverCrash) {
    std::string binary;
    for (int i = 0; i < 50000; ++i)
        binary += char((i * 97 + 13) & 0xFF);
    const std::string inputs[] = {
        binary,
        "numpoints:3\nnumdep:2\nnumindep:1\nvalues:\n" + std::string(300000, '9') + "\n",
        "numpoints:99999999999\nnumdep:10\nvalues:\n1 2 3\n",
        "depvarno:12\ndeplab:x\nnumdep:12\n",
        "numdep:2\nnumpoints:2\n" + std::string(500, '1') + "\n",
    };
    int n = 0;
    for (const std::string& text : inputs) {
        Sited s;
        ScratchFile file("bad" + std::to_string(n++) + ".plx", text);
        try {
            s.c.SetInputFile(file.path());
        } catch (const com::DispatchError&) {
        }
        ScratchFile script("bad" + std::to_string(n++) + ".ply", text);
        try {
            s.c.SetInputFile(script.path());
        } catch (const com::DispatchError&) {
        }
        EXPECT_FALSE(s.c.GetSettings().empty());
    }
}

// --- PlotVals ---

TEST(PlotVals, ARecordInMemoryLoadsAtOnce) {
    Sited s;
    const std::vector<std::byte> bytes = TwoVariableRecord().ToBytes();
    CProfileBlock block(bytes.data(), bytes.size());
    com::Variant arg = com::Variant::Object(&block);
    s.c.Invoke(s.c.GetIDOfName("plotvals"), com::InvokeKind::PropertyPut, {&arg, 1});
    EXPECT_EQ(s.c.Getnvariables(), 2);
    EXPECT_EQ(s.c.GetCurrentValue(0), "Profile from the host");
    double v = 0;
    EXPECT_TRUE(s.c.GetData(2, 1, v));
    EXPECT_EQ(v, 0.25);
    EXPECT_EQ(s.c.GetPlotVals(), nullptr);
}

TEST(PlotVals, RecordsThatDoNotFitAreRefusedWhole) {
    Sited s;
    s.c.SetTitle("Kept");
    CProfileRecord tooMany = TwoVariableRecord();
    tooMany.numdep = 11;
    CProfileRecord negative = TwoVariableRecord();
    negative.numpoints = -2;
    const std::vector<std::byte> good = TwoVariableRecord().ToBytes();
    const std::vector<std::byte> records[] = {tooMany.ToBytes(), negative.ToBytes(),
                                              std::vector<std::byte>(good.begin(), good.end() - 8),
                                              std::vector<std::byte>(100)};
    for (const std::vector<std::byte>& bytes : records) {
        CProfileBlock block(bytes.data(), bytes.size());
        EXPECT_EQ(StatusOf([&] { s.c.SetPlotVals(&block); }), com::E_INVALIDARG);
    }
    EXPECT_EQ(StatusOf([&] { s.c.SetPlotVals(nullptr); }), com::E_INVALIDARG);
    CProfileBlock nothing(nullptr, 10);
    EXPECT_EQ(StatusOf([&] { s.c.SetPlotVals(&nothing); }), com::E_INVALIDARG);
    EXPECT_EQ(s.c.GetTitle(), "Kept");
    EXPECT_EQ(s.c.Model()->profileMode, 0);
}

TEST(PlotVals, ARunPlotTakesARecordWithoutValues) {
    Sited s;
    s.c.SetRunPlot(true);
    const std::vector<std::byte> bytes = TwoVariableRecord().ToBytes();
    CProfileBlock header(bytes.data(), CProfileRecord::kHeaderSize);
    s.c.SetPlotVals(&header);
    EXPECT_EQ(s.c.Model()->NYVars(), 2);
    EXPECT_EQ(s.c.Model()->YVar(0)->ReadableCount(), 0u);
}

// --- the open command ---

TEST(OpenCommand, ReadsTheChosenFileAsAnInputFile) {
    Sited s;
    ScratchFile file("open.plx", "title:Opened\nnumdep:1\n");
    s.site.openFileAnswer = file.path();
    s.c.OnCommand(ID_OPEN_PLOT_FILE);
    EXPECT_EQ(s.site.lastFileFilter, "K5 plot file (*.plx)|*.plx");
    EXPECT_EQ(s.c.GetTitle(), "Opened");
}

TEST(OpenCommand, CancellingChangesNothing) {
    Sited s;
    s.site.openFileAnswer.clear();
    const int before = s.site.invalidateCount;
    s.c.OnCommand(ID_OPEN_PLOT_FILE);
    EXPECT_EQ(s.c.GetTitle(), "Title");
    EXPECT_EQ(s.site.invalidateCount, before);
}
