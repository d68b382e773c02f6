#include "model/InputFile.h"
#include "model/PlotLook.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

namespace {

std::string DataFile(const char* name) {
    return (std::filesystem::path(TRENDIX_SOURCE_ROOT) / "tests" / "data" / name).string();
}

CInputFile Read(const std::string& text) {
    CInputFile f;
    f.ReadText(text);
    return f;
}

// The property values a plot model reads, and what it writes back.
class ProfileHost : public IPlotHost {
public:
    std::string title = "Title";
    float timeWindow = 1.0f, timeScrollUnit = 0.2f;
    int displayType = 2, markerInterval = 1, bufferSize = 50;
    const std::string& Title() const override { return title; }
    float TimeWindow() const override { return timeWindow; }
    float TimeScrollUnit() const override { return timeScrollUnit; }
    int BufferSize() const override { return bufferSize; }
    int NPoints() const override { return 0; }
    int NVariables() const override { return 1; }
    int NXVariables() const override { return 1; }
    bool AlwaysShowFull() const override { return false; }
    bool RunPlot() const override { return false; }
    int PlotType() const override { return 0; }
    char DecimalSeparator() const override { return '.'; }
    void SetDisplayTypeValue(int v) override { displayType = v; }
    void SetMarkerIntervalValue(int v) override { markerInterval = v; }
    void SetTimeWindowValue(float v) override { timeWindow = v; }
    void SetTimeScrollUnitValue(float v) override { timeScrollUnit = v; }
    void SetSquarePlotValue(bool) override {}
    void SetShowLegendValue(bool) override {}
    void SetRunPlotValue(bool) override {}
    void WriteLog(const std::string&) override {}
    void RefreshScrollBars() override {}
};

double ValueOf(CPlotVar* v, std::uint32_t i) {
    double x = 0;
    EXPECT_TRUE(v && v->Get(i, x));
    return x;
}

const char* kProfile = "title:Column\n"
                       "indeplab:Stage\n"
                       "numpoints:3\nnumindep:1\nnumdep:2\n"
                       "indeplow:1\nindephigh:3\n"
                       "depvarno:0\ndeplab:Temperature\ndeplow:60\ndephigh:120\n"
                       "depvarno:1\ndeplab:Fraction\ndeplow:0\ndephigh:1\n"
                       "values:\n1 2 3\n64 70 81\n0.9 0.5 0.1\n";

} // namespace

// --- keywords ---

TEST(InputFileKeywords, TextsKeepTheirLeadingBlankAndAreCutToTheirField) {
    const CInputFile f = Read("title: Reflux\nindeplab:" + std::string(60, 'x') + "\n");
    EXPECT_EQ(f.record.title, " Reflux");
    EXPECT_EQ(f.record.indeplab, std::string(41, 'x'));
}

TEST(InputFileKeywords, DepvarnoSelectsTheVariableOfLaterKeywords) {
    const CInputFile f = Read("depvarno:2\ndeplab:Third\ndepscale:1\ndepint:1\ndeplow:-5\n"
                              "dephigh:5\n");
    EXPECT_EQ(f.record.deplab[2], "Third");
    EXPECT_EQ(f.record.depscale[2], 1);
    EXPECT_EQ(f.record.depint[2], 1);
    EXPECT_EQ(f.record.deplow[2], -5);
    EXPECT_EQ(f.record.dephigh[2], 5);
    EXPECT_EQ(f.record.deplab[0], "");
}

TEST(InputFileKeywords, DepvarnoOutsideTheTenIsIgnored) {
    const CInputFile f = Read("depvarno:4\ndepvarno:10\ndeplab:A\ndepvarno:-1\ndeplow:7\n");
    EXPECT_EQ(f.record.deplab[4], "A");
    EXPECT_EQ(f.record.deplow[4], 7);
}

TEST(InputFileKeywords, DeplegFillsInFileOrderUpToTen) {
    std::string text;
    for (int i = 0; i < 12; ++i)
        text += "depleg:L" + std::to_string(i) + "\n";
    const CInputFile f = Read(text);
    EXPECT_EQ(f.record.depleg[0], "L0");
    EXPECT_EQ(f.record.depleg[9], "L9");
}

TEST(InputFileKeywords, FlagsAndCountsAndNumbers) {
    const CInputFile f = Read("runplot:\nflipped:x\nparametric:\ntriangular:\nbargraph:\n"
                              "square:\ndiagonal:\nzeroline:\nmulti-y:\ntieline:1\n"
                              "numpoints: 12abc\nindepscale:3\nindepint:1\nindeplow:1e-3\n"
                              "indephigh:junk\n");
    EXPECT_EQ(f.kinds.runPlot + f.kinds.flipped + f.kinds.parametric + f.kinds.triangular +
                  f.kinds.barGraph + f.kinds.square + f.kinds.diagonal + f.kinds.zeroLine,
              8);
    EXPECT_EQ(f.record.multiy, 1);
    EXPECT_EQ(f.record.numpoints, 12);
    EXPECT_EQ(f.record.indepscale, 3);
    EXPECT_EQ(f.record.indeplow, 1e-3);
    EXPECT_EQ(f.record.indephigh, 0.0);
}

TEST(InputFileKeywords, KeywordsAreCaseSensitiveAndFlagsNeedTheirColon) {
    const CInputFile f = Read("Title:No\nmulti-y\nRUNPLOT:\n");
    EXPECT_EQ(f.record.title, "");
    EXPECT_EQ(f.record.multiy, 0);
    EXPECT_EQ(f.kinds.runPlot, 0);
}

TEST(InputFileKeywords, ALongLineContinuesAsTheNextLine) {
    // 199 characters, then "numdep:4" is read as a line of its own.
    const std::string first = "title:" + std::string(193, 'z');
    const CInputFile f = Read(first + "numdep:4\n");
    EXPECT_EQ(f.record.title, std::string(65, 'z'));
    EXPECT_EQ(f.record.numdep, 4);
}

// --- values ---

TEST(InputFileValues, ValueLinesFillTheAreaInOrderAcrossLines) {
    const CInputFile f = Read(kProfile);
    ASSERT_TRUE(f.record.hasValues);
    EXPECT_EQ(f.record.values, (std::vector<double>{1, 2, 3, 64, 70, 81, 0.9, 0.5, 0.1}));
}

TEST(InputFileValues, LinesBeforeValuesAreIgnoredAndExtraNumbersDropped) {
    const CInputFile f = Read("numpoints:2\nnumdep:1\n7 8 9\nvalues:\n1 2 3 4 5 6\n");
    EXPECT_EQ(f.record.values, (std::vector<double>{1, 2}));
}

TEST(InputFileValues, AFileWithoutValuesHasNoArea) {
    const CInputFile f = Read("numpoints:2\nnumdep:1\n1 2\n");
    EXPECT_FALSE(f.record.hasValues);
    EXPECT_TRUE(f.record.values.empty());
}

TEST(InputFileValues, ARunPlotStoresNoValues) {
    const CInputFile f = Read("runplot:\nnumpoints:2\nnumdep:1\nvalues:\n1 2\n");
    EXPECT_TRUE(f.record.hasValues);
    EXPECT_TRUE(f.record.values.empty());
}

TEST(InputFileValues, CountsThatCannotBeMetStoreNothing) {
    for (const char* counts : {"numpoints:-3\nnumdep:1\n", "numpoints:2000000000\nnumdep:10\n",
                               "numpoints:5\nnumindep:-9\n", "numpoints:0\nnumindep:1120480\n"}) {
        const CInputFile f = Read(std::string(counts) + "values:\n1 2 3\n");
        EXPECT_TRUE(f.record.values.empty()) << counts;
        EXPECT_FALSE(f.record.CountsValid()) << counts;
    }
}

TEST(InputFileValues, CarriageReturnsOfTheLineEndsAreDropped) {
    CInputFile f;
    ASSERT_TRUE(f.Read(DataFile("two-x-crlf.plx")));
    EXPECT_EQ(f.record.title, "Stripper profile");
    EXPECT_EQ(f.record.numindep, 2);
    EXPECT_EQ(f.record.values.size(), 12u);
    EXPECT_EQ(f.record.values.back(), 70.0);
}

TEST(InputFileValues, AMissingFileReadsNothing) {
    CInputFile f;
    EXPECT_FALSE(f.Read(DataFile("no-such-file.plx")));
}

TEST(InputFileValues, GarbageAndBinaryTextNeverReadOutsideTheLine) {
    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary += char((i * 37) & 0xFF);
    const CInputFile f =
        Read(binary + "\nnumpoints:1e400\ndeplow:1e400\ndephigh:-1e999\n" + std::string(5000, ':'));
    EXPECT_EQ(f.record.deplow[0], HUGE_VAL);
    EXPECT_EQ(f.record.dephigh[0], -HUGE_VAL);
}

// --- loading a record into the model ---

TEST(ProfileLoading, AnXYProfileTakesItsValuesLabelsAndRanges) {
    ProfileHost host;
    CPlotLook m(host);
    const CInputFile f = Read(kProfile);
    m.LoadProfile(f.record);
    EXPECT_EQ(m.profileMode, 1);
    ASSERT_EQ(m.NXVars(), 1);
    ASSERT_EQ(m.NYVars(), 2);
    EXPECT_EQ(ValueOf(m.XVar(0), 2), 3.0);
    EXPECT_EQ(ValueOf(m.YVar(0), 1), 70.0);
    EXPECT_EQ(ValueOf(m.YVar(1), 2), 0.1);
    EXPECT_EQ(m.GetLegend(2), "Fraction");
    EXPECT_EQ(m.GetLabel(1), "Temperature"); // labels belong to variables in a profile
    EXPECT_EQ(m.titleRegion->label.text, "Column");
    EXPECT_EQ(m.GetLabel(0), "Stage");
    EXPECT_EQ(m.YVar(1)->legendNo, 1);
    EXPECT_EQ(m.YVar(1)->axisNo, 1);
    double lo = 0, hi = 0;
    ASSERT_TRUE(m.GetRange(1, lo, hi));
    EXPECT_EQ(lo, 60);
    EXPECT_EQ(hi, 120);
    ASSERT_TRUE(m.GetRange(0, lo, hi));
    EXPECT_EQ(lo, 1);
    EXPECT_EQ(hi, 3);
}

TEST(ProfileLoading, MultiYNumbersTheLabelsAndTakesTheAxisScales) {
    ProfileHost host;
    CPlotLook m(host);
    const CInputFile f =
        Read(std::string(kProfile) + "multi-y:\ndepvarno:0\ndepscale:1\ndepint:1\n");
    m.LoadProfile(f.record);
    EXPECT_EQ(m.YVar(1)->legendNo, 2);
    EXPECT_EQ(m.yLabelRegions[0]->axisNo, 1);
    EXPECT_EQ(m.yLabelRegions[0]->varNo, 1);
    EXPECT_EQ(m.Axis(1)->scaleType, 1);
    EXPECT_EQ(m.Axis(1)->integerAxis, 1);
}

TEST(ProfileLoading, ATriangularPlotGivesBothAxesTheFirstRange) {
    ProfileHost host;
    CPlotLook m(host);
    CInputFile f = Read("numpoints:2\nnumindep:1\nnumdep:1\ndeplow:0.2\ndephigh:0.8\n"
                        "values:\n0.1 0.2\n0.3 0.4\n");
    m.triMode = 1;
    m.LoadProfile(f.record);
    ASSERT_EQ(m.NYAxes(), 2);
    ASSERT_EQ(m.yLabelRegions.size(), 2u);
    EXPECT_EQ(m.yLabelRegions[1]->axisNo, 2);
    EXPECT_EQ(m.yLabelRegions[1]->varNo, 1);
    for (int a : {1, 2}) {
        double lo = 0, hi = 0;
        ASSERT_TRUE(m.GetRange(a, lo, hi));
        EXPECT_FLOAT_EQ(float(lo), 0.2f);
        EXPECT_FLOAT_EQ(float(hi), 0.8f);
    }
}

TEST(ProfileLoading, ARunPlotStartsEmptyWithTheWindowOfTheFile) {
    ProfileHost host;
    CPlotLook m(host);
    CInputFile f = Read("runplot:\nnumdep:3\nindeplow:100\nindephigh:110\nvalues:\n1 2 3\n");
    m.runPlotActive = 1;
    m.LoadProfile(f.record);
    EXPECT_EQ(host.timeWindow, 10.0f);
    EXPECT_FLOAT_EQ(host.timeScrollUnit, 2.0f);
    EXPECT_EQ(host.displayType, 0);
    EXPECT_EQ(m.markerInterval, 10);
    ASSERT_EQ(m.NYVars(), 3);
    EXPECT_EQ(m.YVar(2)->ringMode, 1u);
    EXPECT_EQ(m.YVar(2)->capacity, 50u);
    EXPECT_EQ(m.YVar(2)->ReadableCount(), 0u);
    EXPECT_EQ(m.xAxisRegion->axis->timeAxis, 1);
    EXPECT_EQ(m.xAxisRegion->axis->plotMin, 100);
    EXPECT_EQ(m.xAxisRegion->axis->plotMax, 110);
}

TEST(ProfileLoading, AnEmptyWindowKeepsTheOldOne) {
    ProfileHost host;
    CPlotLook m(host);
    m.runPlotActive = 1;
    m.LoadProfile(Read("indeplow:5\nindephigh:5\n").record);
    EXPECT_EQ(host.timeWindow, 1.0f);
}

TEST(ProfileLoading, NoValueAreaGivesEmptyVariables) {
    ProfileHost host;
    CPlotLook m(host);
    m.LoadProfile(Read("numpoints:4\nnumindep:1\nnumdep:1\n").record);
    double x = 0;
    ASSERT_TRUE(m.YVar(0)->Get(3, x));
    EXPECT_EQ(x, MISSING_VALUE);
}

TEST(ProfileLoading, ARecordWithoutVariablesStillLeavesOneOfEach) {
    ProfileHost host;
    CPlotLook m(host);
    m.LoadProfile(CProfileRecord());
    EXPECT_EQ(m.NXVars(), 1);
    EXPECT_EQ(m.NYVars(), 1);
}

TEST(ProfileLoading, SeveralXVariablesAreSharedOutInOrder) {
    ProfileHost host;
    CPlotLook m(host);
    CInputFile f;
    ASSERT_TRUE(f.Read(DataFile("two-x-crlf.plx")));
    m.LoadProfile(f.record);
    ASSERT_EQ(m.NXVars(), 2);
    EXPECT_EQ(ValueOf(m.XVar(1), 0), 10.0);
    EXPECT_EQ(ValueOf(m.YVar(0), 0), 5.0);
    EXPECT_EQ(m.GetXVariable(1), 1);
    EXPECT_EQ(m.GetXVariable(2), 2);
}
