// What a hostile host may try: values that cannot be drawn, files that are folders, endless
// streams or too large, and sizes beyond the sample budget. Each is refused where it comes in
// and leaves the control as it was; painting never throws.
#include "ControlHarness.h"
#include "control/PlotScript.h"
#include "platform/com/PropExchange.h"
#include "platform/gdi/RecordingDC.h"
#include "render/DrawTool.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

using com::Variant;

class ScratchFile {
public:
    ScratchFile(const std::string& name, const std::string& text)
        : path_(std::filesystem::temp_directory_path() /
                ("trendix-harden-" + std::to_string(getpid()) + "-" + name)) {
        std::ofstream(path_, std::ios::binary) << text;
    }
    ~ScratchFile() { std::filesystem::remove(path_); }
    std::string path() const { return path_.string(); }

private:
    std::filesystem::path path_;
};

// A name for /dev/zero that the control takes for an input file or a script.
class EndlessLink {
public:
    explicit EndlessLink(const std::string& name)
        : path_(std::filesystem::temp_directory_path() /
                ("trendix-harden-" + std::to_string(getpid()) + "-" + name)) {
        std::filesystem::remove(path_);
        std::filesystem::create_symlink("/dev/zero", path_);
    }
    ~EndlessLink() { std::filesystem::remove(path_); }
    std::string path() const { return path_.string(); }

private:
    std::filesystem::path path_;
};

struct Control {
    Control() { c.OnSize(400, 310); }
    void Put(const char* name, Variant v) {
        Variant args[] = {std::move(v)};
        c.Invoke(c.GetIDOfName(name), com::InvokeKind::PropertyPut, args);
    }
    Variant Get(const char* name) {
        return c.Invoke(c.GetIDOfName(name), com::InvokeKind::PropertyGet, {});
    }
    // Paints into the recording device; a throw fails the test.
    void Paint() {
        gdi::RecordingDC dc(400, 310);
        const gdi::Rect all{0, 0, 400, 310};
        EXPECT_NO_THROW(c.OnDraw(dc, all, all));
    }
    // The samples the plot's variables hold.
    std::int64_t Samples() {
        CPlotLook& m = *c.Model();
        std::int64_t n = 0;
        for (int i = 0; i < m.NXVars(); ++i)
            n += std::int64_t(m.XVar(i)->values.size());
        for (int i = 0; i < m.NYVars(); ++i)
            n += std::int64_t(m.YVar(i)->values.size());
        return n;
    }
    ui::HeadlessSite site;
    CTrendixCtrl c{site};
};

} // namespace

// ---------------------------------------------------------------------------------------------
// Values a paint depends on

TEST(HardeningAttributes, ColoursOutsideTheTableAreRefusedWhereverTheyComeIn) {
    Control t;
    t.c.SetAttribute(0, 2, 3, 4);
    const int outside[] = {-1, CDrawTool::Instance().ColorCount(), 32767, -32768};
    for (const int color : outside) {
        SCOPED_TRACE(color);
        // By automation: the invalid-argument error, nothing changed.
        EXPECT_EQ(StatusOf([&] { t.c.SetAttribute(0, 5, 6, std::int16_t(color)); }),
                  com::E_INVALIDARG);
        // By the settings text: the line is dropped.
        t.c.SetSettings("Attrib:0 5 6 " + std::to_string(color) + "\n");
        std::int16_t type = 0, marker = 0, c = 0;
        t.c.GetAttribute(0, type, marker, c);
        EXPECT_EQ(type, 2);
        EXPECT_EQ(marker, 3);
        EXPECT_EQ(c, 4);
        t.Paint();
    }
    // Line types and markers beyond their tables are kept and drawn as documented.
    t.c.SetAttribute(0, 99, 99, 0);
    t.c.SetSettings("Attrib:0 -1 200 1\nAttrib2:0 1 2 0 0\n");
    t.Paint();
}

// ---------------------------------------------------------------------------------------------
// Input files and scripts

TEST(HardeningInputFiles, AFolderOrAMissingFileChangesNothingAndNothingThrowsLater) {
    Control t;
    t.c.SetTitle("Before");
    for (const char* path : {"/tmp", "/no/such/file.plx"}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(StatusOf([&] { t.Put("InputFile", Variant::Str(path)); }), com::S_OK);
        EXPECT_EQ(t.c.GetTitle(), "Before");
        // A property set naming it is read at the next size, which never throws.
        Control restored;
        restored.c.LoadText(std::string("InputFile=") + path + "\n");
        EXPECT_NO_THROW(restored.c.OnSize(300, 200));
        restored.Paint();
    }
    t.Paint();
}

TEST(HardeningInputFiles, ARefusedFileIsAnErrorAndLeavesPlotAndPropertyAsTheyWere) {
    const ScratchFile good("good.plx", "title:Good\nnumpoints:2\nnumindep:1\nnumdep:1\n"
                                       "values\n1 2\n3 4\n");
    struct Case {
        const char* name;
        std::string text;
        com::HRESULT status;
    };
    const Case cases[] = {
        {"too-many-dependent.plx", "title:Bad\nnumpoints:2\nnumindep:1\nnumdep:100000\n",
         com::E_INVALIDARG},
        {"negative.plx", "title:Bad\nnumpoints:-2\nnumindep:1\nnumdep:1\n", com::E_INVALIDARG},
        // Within the counts a record may have, beyond this control's budget.
        {"over-budget.plx", "title:Bad\nrunplot:\nnumpoints:2\nnumindep:1000\nnumdep:10\n",
         com::E_OUTOFMEMORY},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Control t;
        t.c.SetSampleBudget(100000);
        t.Put("InputFile", Variant::Str(good.path()));
        ASSERT_EQ(t.c.GetTitle(), "Good");
        const int before = t.site.modifiedCount;
        const ScratchFile bad(k.name, k.text);
        EXPECT_EQ(StatusOf([&] { t.Put("InputFile", Variant::Str(bad.path())); }), k.status);
        EXPECT_EQ(t.Get("InputFile").narrow(), good.path());
        EXPECT_EQ(t.c.GetTitle(), "Good");
        EXPECT_EQ(t.site.modifiedCount, before);
        t.Paint();
    }
}

TEST(HardeningInputFiles, EndlessStreamsStopWithAnErrorAtTheDocumentedLimits) {
    Control t;
    const EndlessLink plx("endless.plx");
    EXPECT_EQ(StatusOf([&] { t.Put("InputFile", Variant::Str(plx.path())); }), com::E_INVALIDARG);
    EXPECT_EQ(t.Get("InputFile").narrow(), "");
    const EndlessLink ply("endless.ply");
    EXPECT_EQ(StatusOf([&] { t.Put("InputFile", Variant::Str(ply.path())); }), com::E_INVALIDARG);
    // A script of more lines than the limit runs the lines before it, then stops.
    std::string lines;
    for (size_t i = 0; i <= CPlotScript::kMaxLines; ++i)
        lines += "title:\"Line " + std::to_string(i) + "\"\n";
    std::istringstream in(lines);
    EXPECT_EQ(StatusOf([&] { CPlotScript(t.c).Run(in); }), com::E_INVALIDARG);
    EXPECT_EQ(t.c.GetTitle(), "Line " + std::to_string(CPlotScript::kMaxLines - 1));
    t.Paint();
}

// ---------------------------------------------------------------------------------------------
// The sample budget and failed puts

TEST(HardeningBudget, RefusedPutsLeaveThePropertyAndTheMemoryAsTheyWere) {
    Control t;
    t.Put("nvariables", Variant::I2(64));
    t.Put("RunPlot", Variant::Bool(true));
    const std::int64_t held = t.Samples();
    // 66 rings of 2^24 samples are beyond the default budget.
    EXPECT_EQ(StatusOf([&] { t.Put("BufferSize", Variant::I4(16777216)); }), com::E_OUTOFMEMORY);
    EXPECT_EQ(t.Get("BufferSize").i4(), 2000);
    EXPECT_EQ(t.Samples(), held);
    EXPECT_EQ(StatusOf([&] { t.Put("RunPlot", Variant::Bool(true)); }), com::S_OK);

    Control x;
    x.Put("nvariables", Variant::I2(4000));
    EXPECT_EQ(StatusOf([&] { x.Put("npoints", Variant::I2(32767)); }), com::E_OUTOFMEMORY);
    EXPECT_EQ(x.Get("npoints").i2(), 0);
    EXPECT_EQ(x.Samples(), 0);
}

// Random puts of the sizes against a plain model of what each must cost: a put within the
// budget succeeds, one beyond it fails with E_OUTOFMEMORY and changes nothing, and the plot
// never holds more samples than the budget.
TEST(HardeningBudget, RandomSizesNeverTakeThePlotBeyondTheBudget) {
    constexpr std::int64_t kBudget = 50000;
    std::mt19937 random(11);
    Control t;
    t.c.SetSampleBudget(kBudget);
    const char* names[] = {"nvariables", "nxvariables", "npoints", "BufferSize", "RunPlot"};
    int dataRefused = 0, dataGrown = 0;
    for (int step = 0; step < 400; ++step) {
        // A value set past a variable's end grows it, under the same budget.
        if (random() % 4 == 0) {
            const auto varNo = std::int16_t(random() % 5);
            const auto dataNo = std::int16_t(random() % 32768);
            const std::int64_t held = t.Samples();
            const com::HRESULT status = StatusOf([&] {
                if (varNo % 2)
                    t.c.SetData(varNo, dataNo, 1.0);
                else
                    t.c.SetXData(varNo, dataNo, 1.0);
            });
            SCOPED_TRACE("data " + std::to_string(varNo) + " " + std::to_string(dataNo));
            ASSERT_TRUE(status == com::S_OK || status == com::E_OUTOFMEMORY) << std::hex << status;
            if (status == com::E_OUTOFMEMORY) {
                EXPECT_EQ(t.Samples(), held);
                ++dataRefused;
            } else if (t.Samples() > held) {
                ++dataGrown;
            }
            ASSERT_LE(t.Samples(), kBudget);
            continue;
        }
        const char* name = names[random() % 5];
        const int value = int(random() % 3000);
        Variant v = std::string(name) == "BufferSize" ? Variant::I4(value + 1)
                    : std::string(name) == "RunPlot"  ? Variant::Bool(value % 2 == 0)
                                                      : Variant::I2(std::int16_t(value % 400));
        const Variant before = t.Get(name);
        const std::int64_t held = t.Samples();
        const com::HRESULT status = StatusOf([&] { t.Put(name, v); });
        SCOPED_TRACE(std::string(name) + " step " + std::to_string(step));
        ASSERT_TRUE(status == com::S_OK || status == com::E_OUTOFMEMORY) << std::hex << status;
        if (status == com::E_OUTOFMEMORY) {
            EXPECT_EQ(t.Get(name), before);
            EXPECT_EQ(t.Samples(), held);
        }
        ASSERT_LE(t.Samples(), kBudget);
    }
    EXPECT_GT(dataRefused, 0);
    EXPECT_GT(dataGrown, 0);
    t.Paint();
}

TEST(HardeningBudget, APersistedRunPlotBeyondTheBudgetIsRefusedWhole) {
    Control t;
    t.c.SetSampleBudget(10000);
    EXPECT_EQ(StatusOf([&] {
                  t.c.LoadText("RunPlot=TRUE\nnvariables=100\nBufferSize=1000\nTitle=Loaded\n");
              }),
              com::STG_E_READFAULT);
    EXPECT_EQ(t.c.GetTitle(), "Title");
    EXPECT_FALSE(t.c.GetRunPlot());
}

// ---------------------------------------------------------------------------------------------
// Sizes and diagnostics

TEST(HardeningSizes, TheControlIsNeverLaidOutBeyondTheLargestSurface) {
    Control t;
    t.c.OnSize(30000, 100000);
    EXPECT_EQ(t.c.PlotWidth(), gdi::kMaxSurfaceSide);
    EXPECT_EQ(t.c.PlotHeight(), gdi::kMaxSurfaceSide);
    t.c.OnSize(-5, 20);
    EXPECT_EQ(t.c.PlotWidth(), 0);
}

// Axes whose ranges reach infinity: the scale routine runs for each axis (twice for one whose
// nice range differs) and its diagnostics come out once per paint on standard error, never on
// standard output; a paint that computes no scale reports nothing.
TEST(HardeningDiagnostics, InfiniteRangesAreReportedOncePerPaintOnStandardError) {
    Control t;
    for (int paint = 0; paint < 2; ++paint) {
        t.c.SetRange(1, -1e300, 1e300);
        t.c.SetRange(0, -1e300, 1e300);
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        t.Paint();
        const std::string out = testing::internal::GetCapturedStdout();
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(out, "");
        EXPECT_EQ(err, "Error at PLsetstm: lower range is minus Infinity\n"
                       "Error at PLsetstm: upper range is Infinity\n")
            << "paint " << paint;
    }
    testing::internal::CaptureStderr();
    t.Paint();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}
