#include "model/PlotLook.h"

#include "model/FakePlotHost.h"
#include "model/MenuTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace {

double Data(const CPlotLook& m, int varNo, int dataNo) {
    double v = -1;
    m.GetData(varNo, dataNo, v);
    return v;
}

bool Readable(const CPlotLook& m, int varNo, int dataNo) {
    double v = -1;
    return m.GetData(varNo, dataNo, v);
}

// A run plot of nvariables variables whose rings hold capacity samples.
std::unique_ptr<CPlotLook> RunPlot(FakePlotHost& host, int nvariables, int capacity) {
    host.runPlot = true;
    host.nvariables = nvariables;
    host.bufferSize = capacity;
    return std::make_unique<CPlotLook>(host);
}

// Feeds one sample and runs the advance check, as the control does for every sample.
bool Feed(CPlotLook& m, int varNo, double time, double value) {
    m.AddTimeData(varNo, time, value);
    return m.AdvanceTimeAxisIfNeeded();
}

bool Listed(const CPlotLook& m, const CPlotRegion* r) {
    return std::find(m.regionList.begin(), m.regionList.end(), r) != m.regionList.end();
}

int MenuIndexOf(CPlotLook& m, int command) {
    const auto& items = m.ContextMenu().popup.items;
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].kind == MenuItem::Command && items[i].id == command) return int(i);
    return -1;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Plot kinds

TEST(PlotLookKind, SameKindKeepsDataAndOtherKindsRebuildWithOneVariableEach) {
    FakePlotHost host;
    host.npoints = 5;
    host.nvariables = 3;
    CPlotLook m(host);
    m.SetData(2, 2, 7.5);
    EXPECT_FALSE(m.SetPlotKind(0));
    EXPECT_EQ(m.NYVars(), 3);
    EXPECT_EQ(Data(m, 2, 2), 7.5);

    EXPECT_TRUE(m.SetPlotKind(1));
    EXPECT_EQ(m.barMode, 1);
    EXPECT_EQ(m.NYVars(), 1);
    EXPECT_EQ(m.NXVars(), 1);
    EXPECT_EQ(m.NYAxes(), 1);
    EXPECT_EQ(m.YVar(0)->marker, 9); // the first bar pattern marker
    EXPECT_FALSE(m.SetPlotKind(1));
    EXPECT_EQ(std::count(host.log.begin(), host.log.end(), "CLEANUP\r\n"), 1);

    // A rebuild clears the run mode in the model; the control's value is not the model's.
    host.runPlot = true;
    m.SetRunPlot(true);
    ASSERT_EQ(m.runPlotActive, 1);
    m.SetData(0, 0, 1.0);
    EXPECT_TRUE(m.SetPlotKind(0));
    EXPECT_EQ(m.runPlotActive, 0);
    EXPECT_EQ(m.barMode, 0);
    EXPECT_EQ(m.NYVars(), 1);
    EXPECT_EQ(m.NXVars(), 1);
    EXPECT_TRUE(host.runPlot);
    EXPECT_EQ(m.YVar(0)->marker, 1);
    EXPECT_EQ(m.YVar(0)->color, 1);
    EXPECT_EQ(m.YVar(0)->lineType, 4);
    EXPECT_EQ(m.YVar(0)->axisNo, 1);
    EXPECT_EQ(m.YVar(0)->legendNo, 1);
}

TEST(PlotLookKind, TriangularSwitchKeepsDataAndSwapsTheSideAxes) {
    FakePlotHost host;
    host.npoints = 4;
    CPlotLook m(host);
    ASSERT_TRUE(m.SetPlotKind(2));
    ASSERT_EQ(m.triMode, 1);
    ASSERT_EQ(m.NYAxes(), 2);
    m.SetData(1, 0, 0.3);
    m.SetData(0, 0, 0.4);
    CPlotAxis* side1 = m.Axis(1);
    CPlotAxis* side2 = m.Axis(2);
    const int refreshes = host.scrollBarRefreshes;

    EXPECT_TRUE(m.SetPlotKind(3));
    EXPECT_EQ(m.triMode, 2);
    EXPECT_EQ(m.Axis(1), side2);
    EXPECT_EQ(m.Axis(2), side1);
    EXPECT_EQ(Data(m, 1, 0), 0.3);
    EXPECT_EQ(Data(m, 0, 0), 0.4);
    EXPECT_TRUE(m.xLabelRegion->hidden);
    for (auto& r : m.yLabelRegions)
        EXPECT_TRUE(r->hidden);
    EXPECT_GT(host.scrollBarRefreshes, refreshes);

    EXPECT_TRUE(m.SetPlotKind(2));
    EXPECT_EQ(m.Axis(1), side1);
    EXPECT_FALSE(m.xLabelRegion->hidden);
    EXPECT_EQ(Data(m, 1, 0), 0.3);
}

TEST(PlotLookKind, RunAndPhaseModesSwitchTheMenuAndTheHostValues) {
    FakePlotHost host;
    host.timeWindow = 5;
    CPlotLook m(host);
    const size_t plain = m.ContextMenu().size();
    host.runPlot = true;
    m.SetRunPlot(true);
    EXPECT_EQ(host.displayType, 0);
    EXPECT_EQ(m.displayType, 0);
    EXPECT_EQ(host.markerInterval, 10);
    EXPECT_EQ(m.markerInterval, 10);
    EXPECT_FLOAT_EQ(host.timeScrollUnit, 1.0f);
    EXPECT_EQ(m.Axis(0)->timeAxis, 1);
    EXPECT_EQ(MenuIndexOf(m, ID_ZOOM_IN_TIME), 4);
    EXPECT_EQ(MenuIndexOf(m, ID_ZOOM_OUT_TIME), 5);
    EXPECT_FALSE(m.ContextMenu().Contains(ID_SHOW_LEGEND));
    EXPECT_EQ(MenuIndexOf(m, ID_SHOW_AS_HISTORY), int(m.ContextMenu().size()) - 3);
    EXPECT_EQ(m.YVar(0)->ringMode, 1u);
    EXPECT_EQ(m.YVar(0)->capacity, 2000u);

    // Switching on again adds nothing twice.
    m.SetRunPlot(true);
    EXPECT_EQ(m.ContextMenu().size(), plain + 3);

    host.runPlot = false;
    m.SetRunPlot(false);
    EXPECT_EQ(host.markerInterval, 1);
    EXPECT_EQ(MenuIndexOf(m, ID_ZOOM_IN_TIME), -1);
    EXPECT_EQ(MenuIndexOf(m, ID_ZOOM_OUT_TIME), -1);

    m.SetPhasePlot(true);
    EXPECT_EQ(m.phasePlotActive, 1);
    EXPECT_EQ(m.Axis(0)->timeAxis, 0);
    EXPECT_EQ(MenuIndexOf(m, ID_TIME_RANGE), 4);
    EXPECT_EQ(MenuIndexOf(m, ID_TIME_ON_X), 5);
    EXPECT_EQ(MenuIndexOf(m, ID_ZOOM_IN_X), 6);
    EXPECT_EQ(MenuIndexOf(m, ID_ZOOM_OUT_X), 7);

    // Leaving phase mode always returns to a run plot.
    m.SetPhasePlot(false);
    EXPECT_EQ(m.phasePlotActive, 0);
    EXPECT_TRUE(host.runPlot);
    EXPECT_EQ(m.runPlotActive, 1);
    EXPECT_EQ(MenuIndexOf(m, ID_TIME_RANGE), -1);

    // Entering phase mode from a run plot switches the run plot off.
    m.SetPhasePlot(true);
    EXPECT_FALSE(host.runPlot);
    EXPECT_EQ(m.runPlotActive, 0);
}

// ---------------------------------------------------------------------------------------------
// Variables

TEST(PlotLookVariables, NewVariablesGetTheDefaultAttributes) {
    FakePlotHost host;
    host.nvariables = 12;
    CPlotLook m(host);
    ASSERT_EQ(m.NYVars(), 12);
    for (int i = 0; i < 12; ++i) {
        SCOPED_TRACE(i);
        const CPlotVar& v = *m.YVar(i);
        EXPECT_EQ(v.color, i % 6 + 1);
        EXPECT_EQ(v.lineType, 4);
        EXPECT_EQ(v.marker, i % 10 + 1);
        EXPECT_EQ(v.axisNo, 1);
        EXPECT_EQ(v.legendNo, i + 1);
        EXPECT_EQ(m.GetXVariable(i + 1), 1);
    }

    FakePlotHost barHost;
    barHost.plotType = 1;
    barHost.nvariables = 7;
    CPlotLook bars(barHost);
    const int expected[] = {9, 10, 12, 13, 7, 11, 9};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(bars.YVar(i)->marker, expected[i]) << i;
}

TEST(PlotLookVariables, ZeroVariablesBehaveAsOne) {
    FakePlotHost host;
    host.nvariables = 0;
    CPlotLook m(host);
    EXPECT_EQ(m.NYVars(), 1);
    EXPECT_TRUE(m.SetNVariables(3));
    EXPECT_EQ(m.NYVars(), 3);
    EXPECT_TRUE(m.SetNVariables(0));
    EXPECT_EQ(m.NYVars(), 1);
    EXPECT_FALSE(m.SetNVariables(0));
    EXPECT_FALSE(m.SetNVariables(1));
    EXPECT_EQ(m.NYVars(), 1);
}

TEST(PlotLookVariables, ShrinkingDeletesAnAxisWithItsLastVariable) {
    FakePlotHost host;
    host.nvariables = 3;
    CPlotLook m(host);
    m.SetAxisMap(0, 3);
    m.SetAxisMap(1, 1);
    m.SetAxisMap(2, 2);
    m.ApplyAxisMap();
    ASSERT_EQ(m.NYAxes(), 3);
    CPlotAxisRgn* third = m.AxisRegion(3);

    // The variable on axis 2 goes: axis 2 goes with it and axis 3 becomes axis 2.
    EXPECT_TRUE(m.SetNVariables(2));
    EXPECT_EQ(m.NYAxes(), 2);
    EXPECT_EQ(m.GetAxisMap(0), 2);
    EXPECT_EQ(m.GetAxisMap(1), 1);
    EXPECT_EQ(m.AxisRegion(2), third);
    EXPECT_EQ(third->axisNo, 2);
    EXPECT_EQ(m.legendDirty, 1);

    // An axis that another variable still uses stays.
    m.SetNVariables(3);
    m.SetAxisMap(2, 2);
    m.ApplyAxisMap();
    ASSERT_EQ(m.NYAxes(), 2);
    m.SetNVariables(2);
    EXPECT_EQ(m.NYAxes(), 2);
    m.SetNVariables(1);
    EXPECT_EQ(m.NYAxes(), 1);
    EXPECT_EQ(m.GetAxisMap(0), 1);
    for (auto& r : m.yAxisRegions)
        EXPECT_TRUE(Listed(m, r.get()));
}

TEST(PlotLookVariables, XVariablesAreAssignedByTheCursorRule) {
    FakePlotHost host;
    CPlotLook m(host);
    EXPECT_EQ(m.YVar(0)->xVarNo, 0);
    EXPECT_EQ(m.GetXVariable(1), 1); // never assigned reads as 1
    EXPECT_EQ(m.GetXVariable(2), 0); // beyond the variables
    m.SetXVariable(1, 3);
    EXPECT_EQ(m.GetXVariable(1), 3);
    m.SetXVariable(5, 2); // beyond: nothing
    m.DeleteVariable(0);
    EXPECT_EQ(m.GetXVariable(1), 1);

    FakePlotHost twoX;
    twoX.nxvariables = 2;
    twoX.nvariables = 3;
    CPlotLook n(twoX);
    EXPECT_EQ(n.GetXVariable(1), 1);
    EXPECT_EQ(n.GetXVariable(2), 2);
    EXPECT_EQ(n.GetXVariable(3), 2);
}

TEST(PlotLookVariables, SetAndGetAttributeFollowTheBarMode) {
    FakePlotHost host;
    host.nvariables = 2;
    CPlotLook m(host);
    m.SetAttribute(1, 3, 6, 5);
    int type = -1, marker = -1, color = -1;
    EXPECT_TRUE(m.GetAttribute(1, type, marker, color));
    EXPECT_EQ(type, 3);
    EXPECT_EQ(marker, 6);
    EXPECT_EQ(color, 5);
    type = marker = color = -7;
    EXPECT_FALSE(m.GetAttribute(2, type, marker, color));
    EXPECT_EQ(type, -7);
    EXPECT_EQ(marker, -7);
    EXPECT_EQ(color, -7);

    m.SetPlotKind(1);
    m.SetAttribute(0, 8, 2, 4);
    EXPECT_EQ(m.YVar(0)->barPattern, 8);
    EXPECT_EQ(m.YVar(0)->lineType, 4);
    EXPECT_TRUE(m.GetAttribute(0, type, marker, color));
    EXPECT_EQ(type, 8);
}

// ---------------------------------------------------------------------------------------------
// Axis map

TEST(PlotLookAxisMap, MappingToAFarAxisCreatesItAtOnceAndApplyCompacts) {
    FakePlotHost host;
    host.nvariables = 3;
    CPlotLook m(host);
    ASSERT_EQ(m.NYAxes(), 1);
    m.SetAxisMap(2, 3);
    EXPECT_EQ(m.GetAxisMap(2), 3);
    EXPECT_EQ(m.NYAxes(), 3);
    EXPECT_EQ(m.yAxisRegions[1], nullptr);
    ASSERT_NE(m.AxisRegion(3), nullptr);
    EXPECT_EQ(m.AxisRegion(3)->axisNo, 3);
    EXPECT_TRUE(Listed(m, m.AxisRegion(3)));
    EXPECT_EQ(m.axisMapDirty, 1);
    EXPECT_EQ(m.Axis(2), nullptr);
    m.UpdateAxisScales(); // an empty slot is passed over

    m.ApplyAxisMap();
    EXPECT_EQ(m.axisMapDirty, 0);
    EXPECT_EQ(m.dataDirty, 1);
    EXPECT_EQ(m.GetAxisMap(2), 2);
    EXPECT_EQ(m.NYAxes(), 2);
    for (int k = 1; k <= 2; ++k) {
        ASSERT_NE(m.AxisRegion(k), nullptr) << k;
        EXPECT_EQ(m.AxisRegion(k)->axisNo, k);
        EXPECT_TRUE(Listed(m, m.AxisRegion(k)));
    }
    const auto yAxesListed =
        std::count_if(m.regionList.begin(), m.regionList.end(),
                      [](const CPlotRegion* r) { return r->kind == CPlotRegion::YAxis; });
    EXPECT_EQ(yAxesListed, 2);

    // Out of range variables and negative axes change nothing.
    m.SetAxisMap(7, 2);
    m.SetAxisMap(0, -1);
    EXPECT_EQ(m.GetAxisMap(0), 1);
    EXPECT_EQ(m.GetAxisMap(7), 0);
    EXPECT_EQ(m.GetAxisMap(-1), 0);
}

TEST(PlotLookAxisMap, AxisZeroHidesAndEmptyAxesAreFlagged) {
    FakePlotHost host;
    host.npoints = 3;
    host.nvariables = 2;
    CPlotLook m(host);
    m.SetData(2, 0, 5.0); // only the second variable has data
    m.SetAxisMap(1, 2);
    m.ApplyAxisMap();
    ASSERT_EQ(m.NYAxes(), 2);
    EXPECT_TRUE(m.AxisRegion(1)->empty);
    EXPECT_FALSE(m.AxisRegion(2)->empty);

    m.SetAxisMap(0, 0);
    EXPECT_EQ(m.YVar(0)->hidden, 1u);
    EXPECT_TRUE(m.yLabelRegions[0]->hidden);
    m.ApplyAxisMap();
    EXPECT_EQ(m.NYAxes(), 1);
    EXPECT_EQ(m.GetAxisMap(0), 0);
    EXPECT_EQ(m.GetAxisMap(1), 1);
    EXPECT_FALSE(m.AxisRegion(1)->empty);

    // Every variable hidden: they stay hidden, one axis remains and is not flagged empty.
    m.SetAxisMap(1, 0);
    m.ApplyAxisMap();
    EXPECT_EQ(m.GetAxisMap(0), 0);
    EXPECT_EQ(m.GetAxisMap(1), 0);
    EXPECT_EQ(m.NYAxes(), 1);
    EXPECT_FALSE(m.AxisRegion(1)->empty);

    // Showing it again makes it visible.
    m.SetAxisMap(0, 1);
    EXPECT_EQ(m.YVar(0)->hidden, 0u);
    EXPECT_FALSE(m.yLabelRegions[0]->hidden);
}

TEST(PlotLookAxisMap, FlippedAndDiagonalLinePutEveryVariableOnAxisOne) {
    FakePlotHost host;
    host.nvariables = 3;
    CPlotLook m(host);
    m.SetAxisMap(1, 2);
    m.SetAxisMap(2, 0);
    m.ApplyAxisMap();
    ASSERT_EQ(m.NYAxes(), 2);

    m.SetFlipped(true);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(m.GetAxisMap(i), 1) << i;
        EXPECT_EQ(m.YVar(i)->hidden, 0u) << i;
    }
    EXPECT_EQ(m.NYAxes(), 1);
    m.SetAxisMap(0, 2); // ignored while flipped
    EXPECT_EQ(m.GetAxisMap(0), 1);
    EXPECT_EQ(m.NYAxes(), 1);

    m.SetFlipped(false);
    m.SetAxisMap(1, 2);
    m.ApplyAxisMap();
    ASSERT_EQ(m.NYAxes(), 2);
    m.SetDiagonalLine(true);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(m.GetAxisMap(i), 1) << i;
    EXPECT_EQ(m.NYAxes(), 1);
    EXPECT_EQ(m.squarePlot, 1);
    EXPECT_TRUE(host.squarePlot);
    EXPECT_TRUE(m.SetSquarePlot(false)); // refused while the line is on
    EXPECT_EQ(m.squarePlot, 1);
    m.rangeDirty = 0;
    m.SetDiagonalLine(false);
    EXPECT_EQ(m.rangeDirty, 1);
    EXPECT_FALSE(m.SetSquarePlot(false));
}

// ---------------------------------------------------------------------------------------------
// Fonts, labels and legends

TEST(PlotLookFonts, LabelAndLegendFontsGetThreeQuarterCompanions) {
    FakePlotHost host;
    CPlotLook m(host);
    std::string face;
    int size = 0, style = 0;
    ASSERT_TRUE(m.GetFont(0, face, size, style));
    EXPECT_EQ(face, "Times New Roman");
    EXPECT_EQ(size, 12);
    EXPECT_EQ(style, CPlotFont::Bold);
    ASSERT_TRUE(m.GetFont(2, face, size, style));
    EXPECT_EQ(size, 10);
    EXPECT_EQ(style, 0);
    EXPECT_EQ(m.fonts[CPlotLook::LabelSubFont].size, 8);

    EXPECT_TRUE(m.SetFont(1, "Arial", 10, 2));
    EXPECT_EQ(m.fonts[CPlotLook::LabelFont].size, 10);
    EXPECT_EQ(m.fonts[CPlotLook::LabelFont].style, 2);
    EXPECT_EQ(m.fonts[CPlotLook::LabelSubFont].face, "Arial");
    EXPECT_EQ(m.fonts[CPlotLook::LabelSubFont].size, 7);
    EXPECT_EQ(m.fonts[CPlotLook::LabelSubFont].style, 2);
    ASSERT_TRUE(m.GetFont(1, face, size, style));
    EXPECT_EQ(face, "Arial");
    EXPECT_EQ(size, 10);

    m.legendRegion->sized = 1;
    EXPECT_TRUE(m.SetFont(3, "Courier", 13, 1));
    EXPECT_EQ(m.fonts[CPlotLook::LegendSubFont].size, 9);
    EXPECT_EQ(m.legendRegion->sized, 0);

    face = "unchanged";
    size = style = -1;
    EXPECT_FALSE(m.SetFont(5, "Arial", 10, 0));
    EXPECT_FALSE(m.GetFont(5, face, size, style));
    EXPECT_FALSE(m.GetFont(-1, face, size, style));
    EXPECT_EQ(face, "unchanged");
    EXPECT_EQ(size, -1);

    // A rebuild resets the fonts.
    m.SetFont(0, "Arial", 20, 0);
    m.SetPlotKind(1);
    ASSERT_TRUE(m.GetFont(0, face, size, style));
    EXPECT_EQ(face, "Times New Roman");
    EXPECT_EQ(size, 12);
    EXPECT_EQ(m.titleRegion->font, &m.fonts[CPlotLook::TitleFont]);
}

TEST(PlotLookLabels, LabelsBelongToVariablesInRunMode) {
    FakePlotHost host;
    CPlotLook m(host);
    m.SetLabel(1, "Pressure");
    EXPECT_EQ(m.GetLabel(1), "Pressure");
    EXPECT_EQ(m.GetLegend(1), "");
    m.SetLabel(0, "");
    EXPECT_EQ(m.GetLabel(0), "      ");
    m.SetLabel(4, "nowhere");
    EXPECT_EQ(m.GetLabel(4), "");

    host.runPlot = true;
    m.SetRunPlot(true);
    m.SetLabel(1, "Flow");
    EXPECT_EQ(m.GetLegend(1), "Flow");
    EXPECT_EQ(m.GetLabel(1), "Pressure");

    // Corner labels come with their first text and go with an empty one.
    m.SetLabel(-2, "B");
    EXPECT_EQ(m.GetLabel(-2), "B");
    ASSERT_NE(m.cornerLabelRegions[1], nullptr);
    EXPECT_TRUE(Listed(m, m.cornerLabelRegions[1].get()));
    m.SetLabel(-2, "");
    EXPECT_EQ(m.cornerLabelRegions[1], nullptr);
    EXPECT_EQ(m.GetLabel(-2), "");
    const size_t regions = m.regionList.size();
    m.SetLabel(-4, "x");
    EXPECT_EQ(m.regionList.size(), regions);
    EXPECT_EQ(m.GetLabel(-4), "");
}

TEST(PlotLookLabels, LegendDecimalPointBetweenDigitsFollowsTheLocale) {
    FakePlotHost host;
    host.decimalSeparator = ',';
    host.nvariables = 2;
    CPlotLook m(host);
    const std::pair<const char*, const char*> cases[] = {
        {"1.5 bar", "1,5 bar"}, {"1.5", "1.5"},   {"ab 2.75", "ab 2,75"}, {"T.1.5x", "T.1.5x"},
        {"12.x5", "12.x5"},     {".123", ".123"}, {"12345.", "12345."},   {"0.5.6", "0,5.6"},
    };
    for (auto [in, out] : cases) {
        m.SetLegend(1, in);
        EXPECT_EQ(m.GetLegend(1), out) << in;
    }
    m.SetLegend(0, "ignored");
    m.SetLegend(3, "ignored");
    EXPECT_EQ(m.GetLegend(0), "");
    EXPECT_EQ(m.GetLegend(3), "");
    EXPECT_EQ(m.GetLegend(2), "");
}

// ---------------------------------------------------------------------------------------------
// Streamed samples

TEST(PlotLookRing, CapacityFiveFedSevenTimesHoldsTheNewestInStorageOrder) {
    FakePlotHost host;
    auto m = RunPlot(host, 1, 5);
    for (int t = 1; t <= 7; ++t)
        m->AddTimeData(1, t, 10.0 * t);
    const double times[] = {6, 7, 3, 4, 5};
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(Data(*m, 0, k), times[k]) << k;
        EXPECT_EQ(Data(*m, 1, k), 10 * times[k]) << k;
    }
    EXPECT_FALSE(Readable(*m, 0, 5));
    EXPECT_EQ(Data(*m, 0, 5), MISSING_VALUE);
}

TEST(PlotLookRing, OneTimeForTwoVariablesFillsOneSlot) {
    FakePlotHost host;
    auto m = RunPlot(host, 2, 10);
    m->AddTimeData(1, 0.5, 1);
    m->AddTimeData(2, 0.5, 2);
    m->AddTimeData(1, 1.0, 3);
    m->AddTimeData(2, 1.0, 4);
    EXPECT_EQ(Data(*m, 0, 0), 0.5);
    EXPECT_EQ(Data(*m, 0, 1), 1.0);
    EXPECT_FALSE(Readable(*m, 0, 2));
    EXPECT_EQ(Data(*m, 1, 0), 1);
    EXPECT_EQ(Data(*m, 1, 1), 3);
    EXPECT_EQ(Data(*m, 2, 0), 2);
    EXPECT_EQ(Data(*m, 2, 1), 4);

    // Out of range variables and samples outside run mode store nothing.
    m->AddTimeData(0, 2.0, 5);
    m->AddTimeData(3, 2.0, 5);
    EXPECT_FALSE(Readable(*m, 0, 2));
    FakePlotHost plainHost;
    plainHost.npoints = 3;
    CPlotLook plain(plainHost);
    EXPECT_FALSE(plain.AddTimeData(1, 0.0, 5));
    EXPECT_EQ(Data(plain, 0, 0), MISSING_VALUE);
    EXPECT_EQ(Data(plain, 1, 0), MISSING_VALUE);
}

TEST(PlotLookRing, NegativeTimeAppendsACopyOfTheNewestThenReusesIt) {
    FakePlotHost host;
    auto m = RunPlot(host, 2, 10);
    // A negative time with nothing stored yet has nothing to repeat.
    m->AddTimeData(1, -1, 9);
    EXPECT_FALSE(Readable(*m, 0, 0));

    for (double t : {8.0, 9.0, 10.0}) {
        m->AddTimeData(1, t, t);
        m->AddTimeData(2, t, -t);
    }
    m->AddTimeData(1, -1, 42);
    EXPECT_EQ(Data(*m, 0, 3), 10);
    EXPECT_EQ(Data(*m, 1, 3), 42);
    EXPECT_TRUE(Readable(*m, 2, 3));
    EXPECT_EQ(Data(*m, 2, 3), MISSING_VALUE);
    EXPECT_EQ(Data(*m, 2, 2), -10);

    m->AddTimeData(2, -1, 43);
    EXPECT_EQ(Data(*m, 2, 3), 43);
    EXPECT_EQ(Data(*m, 1, 3), 42);
    EXPECT_FALSE(Readable(*m, 0, 4));
}

TEST(PlotLookRing, NonFiniteSamplesAreStoredAsMissingAndLeaveRangesAlone) {
    FakePlotHost host;
    auto m = RunPlot(host, 1, 10);
    m->AddTimeData(1, 0.0, 2.0);
    m->AddTimeData(1, 0.1, 3.0);
    double lo = 0, hi = 0;
    ASSERT_TRUE(m->GetRange(1, lo, hi));
    const double lo0 = lo, hi0 = hi;
    m->AddTimeData(1, 0.2, std::numeric_limits<double>::quiet_NaN());
    m->AddTimeData(1, 0.3, std::numeric_limits<double>::infinity());
    m->AddTimeData(1, 0.4, -std::numeric_limits<double>::infinity());
    for (int k = 2; k <= 4; ++k)
        EXPECT_EQ(Data(*m, 1, k), MISSING_VALUE) << k;
    m->GetRange(1, lo, hi);
    EXPECT_EQ(lo, lo0);
    EXPECT_EQ(hi, hi0);
    EXPECT_TRUE(std::isfinite(m->Axis(1)->reqMin));
    EXPECT_TRUE(std::isfinite(m->Axis(1)->reqMax));

    // A time that is not a number stores nothing.
    m->AddTimeData(1, std::numeric_limits<double>::quiet_NaN(), 1.0);
    EXPECT_FALSE(Readable(*m, 0, 5));
}

TEST(PlotLookRewind, ATimeNotStoredClearsEveryRing) {
    FakePlotHost host;
    auto m = RunPlot(host, 2, 10);
    for (int t = 1; t <= 4; ++t) {
        m->AddTimeData(1, t, t);
        m->AddTimeData(2, t, t);
    }
    m->RewindTimeData(2.5);
    EXPECT_FALSE(Readable(*m, 0, 0));
    EXPECT_FALSE(Readable(*m, 1, 0));
    EXPECT_FALSE(Readable(*m, 2, 0));
    EXPECT_EQ(m->Axis(0)->dataMin, 0);
    EXPECT_EQ(m->Axis(0)->dataMax, 0);
    // Samples come in again from slot 0.
    m->AddTimeData(1, 7, 70);
    EXPECT_EQ(Data(*m, 0, 0), 7);
    EXPECT_EQ(Data(*m, 1, 0), 70);
}

TEST(PlotLookRewind, UnwrappedRingKeepsTheSlotAndWrappedRingDropsIt) {
    {
        FakePlotHost host;
        auto m = RunPlot(host, 1, 10);
        for (int t = 1; t <= 6; ++t)
            m->AddTimeData(1, t, 10.0 * t);
        m->RewindTimeData(4);
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(Data(*m, 0, k), k + 1) << k;
        EXPECT_EQ(Data(*m, 1, 3), 40);
        EXPECT_FALSE(Readable(*m, 0, 4));
        EXPECT_FALSE(Readable(*m, 1, 4));
        m->AddTimeData(1, 4.5, 45);
        EXPECT_EQ(Data(*m, 0, 4), 4.5);
        EXPECT_EQ(Data(*m, 1, 4), 45);
    }
    {
        // [6 7 | 3 4 5]: time 4 sits after the write position.
        FakePlotHost host;
        auto m = RunPlot(host, 1, 5);
        for (int t = 1; t <= 7; ++t)
            m->AddTimeData(1, t, 10.0 * t);
        m->RewindTimeData(4);
        EXPECT_EQ(Data(*m, 0, 0), 3);
        EXPECT_EQ(Data(*m, 1, 0), 30);
        EXPECT_FALSE(Readable(*m, 0, 1));
        EXPECT_FALSE(Readable(*m, 1, 1));
    }
    {
        // Time 7 sits before the write position: the older slots move to the front.
        FakePlotHost host;
        auto m = RunPlot(host, 1, 5);
        for (int t = 1; t <= 7; ++t)
            m->AddTimeData(1, t, 10.0 * t);
        m->RewindTimeData(7);
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(Data(*m, 0, k), k + 3) << k;
            EXPECT_EQ(Data(*m, 1, k), 10.0 * (k + 3)) << k;
        }
        EXPECT_FALSE(Readable(*m, 0, 4));
        m->AddTimeData(1, 8, 80);
        EXPECT_EQ(Data(*m, 0, 4), 8);
        EXPECT_EQ(Data(*m, 1, 4), 80);
    }
}

TEST(PlotLookRewind, RewindBeforeTheViewRestartsTheTimeAxisThere) {
    FakePlotHost host;
    auto m = RunPlot(host, 1, 100);
    for (double t = 0; t <= 2.0; t += 0.5)
        Feed(*m, 1, t, t);
    CPlotAxis& x = *m->Axis(0);
    ASSERT_GT(x.viewMin, 0.5);
    m->RewindTimeData(0.5);
    EXPECT_EQ(x.viewMin, 0.5);
    EXPECT_EQ(x.plotMin, 0.5);
    EXPECT_EQ(x.plotMax, 1.5);
    EXPECT_EQ(x.fullMax, 1.5);
    EXPECT_EQ(x.dataMin, 0);
    EXPECT_EQ(x.dataMax, 0.5);
    EXPECT_FALSE(Readable(*m, 0, 2));
}

// ---------------------------------------------------------------------------------------------
// Points set by number

TEST(PlotLookPoints, WritingBeyondTheEndGrowsTheArrayByTen) {
    FakePlotHost host;
    host.npoints = 10;
    CPlotLook m(host);
    EXPECT_TRUE(Readable(m, 1, 3)); // never written: readable, missing
    EXPECT_EQ(Data(m, 1, 3), MISSING_VALUE);
    m.rangeDirty = m.dataDirty = 0;
    m.SetData(1, 20, 3.5);
    EXPECT_EQ(m.rangeDirty, 1);
    EXPECT_EQ(m.dataDirty, 1);
    EXPECT_EQ(m.YVar(0)->capacity, 30u);
    EXPECT_EQ(Data(m, 1, 20), 3.5);
    for (int k = 10; k < 30; ++k) {
        if (k == 20) continue;
        EXPECT_TRUE(Readable(m, 1, k)) << k;
        EXPECT_EQ(Data(m, 1, k), MISSING_VALUE) << k;
    }
    EXPECT_FALSE(Readable(m, 1, 30));
    EXPECT_FALSE(Readable(m, 0, 10)); // the X variable keeps its size

    m.SetData(1, -1, 1.0);
    EXPECT_EQ(m.YVar(0)->capacity, 30u);
    double v = 123;
    EXPECT_FALSE(m.GetData(-1, 0, v));
    EXPECT_FALSE(m.GetData(2, 0, v));
    EXPECT_EQ(v, 123);
    m.SetData(0, 4, 0.25);
    EXPECT_EQ(Data(m, 0, 4), 0.25);
    m.SetData(1, 5, std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(Data(m, 1, 5), MISSING_VALUE);

    m.SetXData(1, 2, 4.0);
    EXPECT_TRUE(m.GetXData(1, 2, v));
    EXPECT_EQ(v, 4.0);
    v = 123;
    m.SetXData(2, 2, 4.0);
    EXPECT_FALSE(m.GetXData(2, 2, v));
    EXPECT_FALSE(m.GetXData(0, 2, v));
    EXPECT_EQ(v, 123);

    // npoints resizes keeping the values that fit.
    m.SetNPoints(25);
    EXPECT_EQ(Data(m, 1, 20), 3.5);
    EXPECT_FALSE(Readable(m, 1, 25));
    EXPECT_EQ(Data(m, 0, 4), 0.25);
}

// ---------------------------------------------------------------------------------------------
// The time axis follows the samples

TEST(PlotLookTimeAxis, AdvancesToTheNextWholeScrollUnit) {
    FakePlotHost host;
    auto m = RunPlot(host, 1, 100);
    ASSERT_FLOAT_EQ(host.timeScrollUnit, 0.2f);
    CPlotAxis& x = *m->Axis(0);
    ASSERT_EQ(x.fullMax, 1);
    ASSERT_EQ(x.plotMax, 1);
    EXPECT_FALSE(Feed(*m, 1, 0.0, 1));
    EXPECT_FALSE(Feed(*m, 1, 0.5, 1));
    EXPECT_FALSE(Feed(*m, 1, 1.0, 1)); // at the end, not beyond it
    EXPECT_TRUE(Feed(*m, 1, 1.05, 1));
    EXPECT_NEAR(x.fullMax, 1.2, 1e-6);
    EXPECT_NEAR(x.plotMax, 1.2, 1e-6);
    EXPECT_NEAR(x.plotMin, 0.2, 1e-6);
    EXPECT_FALSE(Feed(*m, 1, 1.1, 1));

    FakePlotHost host2;
    auto n = RunPlot(host2, 1, 100);
    Feed(*n, 1, 0.0, 1);
    EXPECT_TRUE(Feed(*n, 1, 1.5, 1));
    EXPECT_NEAR(n->Axis(0)->fullMax, 1.6, 1e-6);
}

TEST(PlotLookTimeAxis, UnitTwoFromTenMovesToTwelveThenSixteen) {
    FakePlotHost host;
    host.timeWindow = 10;
    auto m = RunPlot(host, 1, 100);
    ASSERT_FLOAT_EQ(host.timeScrollUnit, 2.0f);
    CPlotAxis& x = *m->Axis(0);
    ASSERT_EQ(x.fullMax, 10);
    ASSERT_EQ(x.plotMax, 10);
    Feed(*m, 1, 0.0, 1);
    EXPECT_TRUE(Feed(*m, 1, 10.5, 1));
    EXPECT_NEAR(x.fullMax, 12, 1e-5);
    EXPECT_FALSE(Feed(*m, 1, 12, 1));
    EXPECT_TRUE(Feed(*m, 1, 15, 1));
    EXPECT_NEAR(x.fullMax, 16, 1e-5);
    EXPECT_NEAR(x.plotMin, 6, 1e-5);
    EXPECT_FLOAT_EQ(host.timeWindow, 10.0f); // the window keeps its width
}

TEST(PlotLookTimeAxis, NewWindowKeepsTheEndOnceTheAxisHasMoved) {
    FakePlotHost host;
    auto m = RunPlot(host, 1, 100);
    CPlotAxis& x = *m->Axis(0);
    Feed(*m, 1, 0.0, 1);
    host.timeWindow = 0.5f;
    m->ApplyTimeWindow(); // still at the start: the window starts at 0
    EXPECT_EQ(x.plotMin, 0);
    EXPECT_EQ(x.plotMax, 0.5);
    EXPECT_EQ(x.fullMax, 0.5);
    host.timeWindow = 1.0f;
    m->ApplyTimeWindow();
    ASSERT_TRUE(Feed(*m, 1, 1.05, 1));
    const double end = x.plotMax;
    host.timeWindow = 0.5f;
    m->ApplyTimeWindow();
    EXPECT_DOUBLE_EQ(x.plotMin, end - 0.5);
    EXPECT_DOUBLE_EQ(x.fullMin, end - 0.5);
    EXPECT_EQ(x.plotMax, end);
    EXPECT_EQ(x.dataMin, 0);
    EXPECT_EQ(x.dataMax, 1.05);
    host.timeWindow = 5.0f;
    m->ApplyTimeWindow(); // would start below 0
    EXPECT_EQ(x.plotMin, 0);
    EXPECT_EQ(x.plotMax, 5);
}

TEST(PlotLookTimeAxis, AlwaysShowFullWidensTheWindowInstead) {
    FakePlotHost host;
    host.alwaysShowFull = true;
    auto m = RunPlot(host, 1, 100);
    CPlotAxis& x = *m->Axis(0);
    Feed(*m, 1, 0.0, 1);
    ASSERT_TRUE(Feed(*m, 1, 1.05, 1));
    EXPECT_GT(x.fullMax, 1.05);
    EXPECT_EQ(x.plotMin, 0);
    EXPECT_EQ(x.fullMin, 0);
    EXPECT_FLOAT_EQ(host.timeWindow, float(x.fullMax));
    ASSERT_TRUE(Feed(*m, 1, 3.3, 1));
    EXPECT_GT(x.fullMax, 3.3);
    EXPECT_EQ(x.plotMin, 0);
    EXPECT_FLOAT_EQ(host.timeWindow, float(x.fullMax));
    EXPECT_GT(host.timeScrollUnit, 0.0f);
}

TEST(PlotLookTimeAxis, TheFirstSlotNeverAdvances) {
    FakePlotHost host;
    auto m = RunPlot(host, 1, 100);
    EXPECT_FALSE(Feed(*m, 1, 5.0, 1));
    EXPECT_EQ(m->Axis(0)->fullMax, 1);
}

TEST(PlotLookTimeAxis, FarTimesEndBeyondTheSample) {
    for (double t : {1e6, 1e12, 1e16, 1e20, 1e27}) {
        SCOPED_TRACE(t);
        FakePlotHost host;
        auto m = RunPlot(host, 1, 10);
        Feed(*m, 1, 0.0, 1);
        EXPECT_TRUE(Feed(*m, 1, t, 1));
        const CPlotAxis& x = *m->Axis(0);
        EXPECT_GT(x.fullMax, float(t));
        EXPECT_TRUE(std::isfinite(x.plotMin));
    }
    // A bulk load moves the axis past its newest time the same way.
    {
        FakePlotHost host;
        auto m = RunPlot(host, 1, 10);
        const float batch[] = {0.0f, 1.0f, 1e20f, 2.0f};
        EXPECT_TRUE(m->CopyToBuffer(batch, 2, 2));
        EXPECT_GT(m->Axis(0)->fullMax, 1e20f);
    }
    // Times above the missing mark, and infinite ones, are not followed.
    FakePlotHost host;
    auto m = RunPlot(host, 1, 10);
    Feed(*m, 1, 0.0, 1);
    EXPECT_FALSE(Feed(*m, 1, 1e300, 1));
    EXPECT_FALSE(Feed(*m, 1, std::numeric_limits<double>::infinity(), 1));
    EXPECT_EQ(m->Axis(0)->fullMax, 1);
}

// ---------------------------------------------------------------------------------------------
// Bulk loading and phase data

TEST(PlotLookBulk, CopyToBufferFillsTheRingsAndRestartsTheRanges) {
    FakePlotHost host;
    auto m = RunPlot(host, 2, 5);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    // rows: samples; columns: time, y1, y2, one column too many
    const std::vector<float> batch = {
        0.0f, 1.0f, -1.0f, 99.0f, //
        0.5f, 2.0f, nan,   99.0f, //
        1.5f, 3.0f, 5.0f,  99.0f, //
    };
    EXPECT_TRUE(m->CopyToBuffer(batch.data(), 3, 4));
    EXPECT_EQ(m->rangeDirty, 1);
    EXPECT_EQ(Data(*m, 0, 2), 1.5);
    EXPECT_EQ(Data(*m, 1, 1), 2.0);
    EXPECT_EQ(Data(*m, 2, 1), MISSING_VALUE);
    EXPECT_EQ(Data(*m, 2, 2), 5.0);
    EXPECT_FALSE(Readable(*m, 0, 3));
    double lo = 0, hi = 0;
    m->GetRange(1, lo, hi);
    EXPECT_EQ(lo, -1.0);
    EXPECT_EQ(hi, 5.0);
    CPlotAxis& x = *m->Axis(0);
    EXPECT_EQ(x.dataMin, 0.0);
    EXPECT_EQ(x.dataMax, 1.5);
    EXPECT_NEAR(x.fullMax, 1.6, 1e-6);

    // A second batch replaces the range instead of widening it; more rows than the ring holds
    // wrap around.
    std::vector<float> second;
    for (int k = 0; k < 7; ++k) {
        const float row[] = {float(k) * 0.1f, 10.0f + float(k), 20.0f};
        second.insert(second.end(), row, row + 3);
    }
    EXPECT_FALSE(m->CopyToBuffer(second.data(), 7, 3));
    m->GetRange(1, lo, hi);
    EXPECT_EQ(lo, 10.0);
    EXPECT_EQ(hi, 20.0);
    EXPECT_EQ(Data(*m, 1, 0), 15.0);
    EXPECT_EQ(Data(*m, 1, 1), 16.0);
    EXPECT_EQ(Data(*m, 1, 2), 12.0);

    // Outside run and phase mode nothing is loaded.
    FakePlotHost plainHost;
    plainHost.npoints = 3;
    CPlotLook plain(plainHost);
    EXPECT_FALSE(plain.CopyToBuffer(batch.data(), 3, 4));
    EXPECT_EQ(Data(plain, 1, 0), MISSING_VALUE);
}

TEST(PlotLookBulk, AddPhaseDataPushesOneSamplePerVariable) {
    FakePlotHost host;
    host.nvariables = 2;
    host.bufferSize = 3;
    CPlotLook m(host);
    m.SetPhasePlot(true);
    ASSERT_EQ(m.phasePlotActive, 1);
    EXPECT_EQ(host.displayType, 0);

    const float first[] = {2.0f, 3.0f};
    EXPECT_TRUE(m.AddPhaseData(1.0f, first));
    EXPECT_EQ(Data(m, 0, 0), 1.0);
    EXPECT_EQ(Data(m, 1, 0), 2.0);
    EXPECT_EQ(Data(m, 2, 0), 3.0);

    const float shortRow[] = {5.0f};
    m.AddPhaseData(4.0f, shortRow);
    EXPECT_EQ(Data(m, 0, 1), 4.0);
    EXPECT_EQ(Data(m, 1, 1), 5.0);
    EXPECT_FALSE(Readable(m, 2, 1));

    const float longRow[] = {7.0f, 8.0f, 9.0f};
    m.AddPhaseData(std::numeric_limits<float>::quiet_NaN(), longRow);
    EXPECT_EQ(Data(m, 0, 2), MISSING_VALUE);
    EXPECT_EQ(Data(m, 1, 2), 7.0);
    EXPECT_EQ(Data(m, 2, 1), 8.0);

    // The ring wraps: the fourth sample overwrites the first.
    const float fourth[] = {10.0f, 11.0f};
    m.AddPhaseData(6.0f, fourth);
    EXPECT_EQ(Data(m, 0, 0), 6.0);
    EXPECT_EQ(Data(m, 1, 0), 10.0);

    // Rewinding a phase plot to time 0 empties it.
    m.RewindTimeData(0);
    EXPECT_FALSE(Readable(m, 0, 0));
    EXPECT_FALSE(Readable(m, 1, 0));
}
