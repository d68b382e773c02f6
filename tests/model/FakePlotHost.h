#pragma once
#include "model/IPlotHost.h"

#include <string>
#include <vector>

// A control stand-in for model tests: plain property values the model reads, and a record of
// what the model writes back.
class FakePlotHost : public IPlotHost {
public:
    std::string title = "Title";
    float timeWindow = 1.0f;
    float timeScrollUnit = 0.2f;
    int bufferSize = 2000;
    int npoints = 0;
    int nvariables = 1;
    int nxvariables = 1;
    bool alwaysShowFull = false;
    bool runPlot = false;
    int plotType = 0;
    char decimalSeparator = ',';
    std::int64_t sampleBudget = std::int64_t(1) << 25;

    int displayType = 2;
    int markerInterval = 1;
    bool squarePlot = false;
    bool showLegend = false;
    std::vector<std::string> log;
    int scrollBarRefreshes = 0;

    const std::string& Title() const override { return title; }
    float TimeWindow() const override { return timeWindow; }
    float TimeScrollUnit() const override { return timeScrollUnit; }
    int BufferSize() const override { return bufferSize; }
    int NPoints() const override { return npoints; }
    int NVariables() const override { return nvariables; }
    int NXVariables() const override { return nxvariables; }
    bool AlwaysShowFull() const override { return alwaysShowFull; }
    bool RunPlot() const override { return runPlot; }
    int PlotType() const override { return plotType; }
    char DecimalSeparator() const override { return decimalSeparator; }
    std::int64_t SampleBudget() const override { return sampleBudget; }

    void SetDisplayTypeValue(int v) override { displayType = v; }
    void SetMarkerIntervalValue(int v) override { markerInterval = v; }
    void SetTimeWindowValue(float v) override { timeWindow = v; }
    void SetTimeScrollUnitValue(float v) override { timeScrollUnit = v; }
    void SetSquarePlotValue(bool v) override { squarePlot = v; }
    void SetShowLegendValue(bool v) override { showLegend = v; }
    void SetRunPlotValue(bool v) override { runPlot = v; }

    void WriteLog(const std::string& line) override { log.push_back(line); }
    void RefreshScrollBars() override { ++scrollBarRefreshes; }
};
