// The pieces of trendix-view: its command line, its event-log lines, the simulated process of
// the demo, and loading plots into its window.
#include "ProcessDemo.h"
#include "SimulatedProcess.h"
#include "ViewOptions.h"
#include "ViewWindow.h"
#include "WidgetTestApp.h"
#include "control/TrendixCtrl.h"
#include "control/TrendixEvents.h"
#include <trendix/TrendixWidget.h>

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>
#include <vector>

namespace {

ViewOptions Parse(std::vector<std::string> args, std::string* error = nullptr) {
    std::string message;
    ViewOptions o = ViewOptions::Parse(args, message);
    if (error) *error = message;
    return o;
}

TEST(ViewOptionsTest, ReadsEveryOption) {
    std::string error;
    const ViewOptions o =
        Parse({"--demo", "--demo-vars", "16", "--demo-rate", "1000", "--event-log", "ev.log",
               "--quit-after", "10000", "--size", "800x600", "--stats", "--shell"},
              &error);
    EXPECT_EQ(error, "");
    EXPECT_TRUE(o.demo);
    EXPECT_EQ(o.demoVariables, 16);
    EXPECT_DOUBLE_EQ(o.demoRate, 1000);
    EXPECT_EQ(o.eventLog, "ev.log");
    EXPECT_EQ(o.quitAfterMs, 10000);
    EXPECT_EQ(o.width, 800);
    EXPECT_EQ(o.height, 600);
    EXPECT_TRUE(o.stats);
    EXPECT_TRUE(o.shell);
    EXPECT_EQ(Parse({"plot.tsh"}).file, "plot.tsh");
    EXPECT_EQ(Parse({}).width, 640);
}

TEST(ViewOptionsTest, RefusesBadCommandLines) {
    const std::vector<std::vector<std::string>> bad = {
        {"--demo-vars"},        {"--demo-vars", "0"},   {"--demo-vars", "65"},
        {"--demo-vars", "4x"},  {"--demo-rate", "0"},   {"--demo-rate", "-5"},
        {"--demo-rate", "nan"}, {"--demo-rate", "1e9"}, {"--quit-after", "-1"},
        {"--size", "800"},      {"--size", "0x10"},     {"--frobnicate"},
        {"a.tsh", "b.tsh"},     {"a.tsh", "--demo"},    {"--event-log"}};
    for (const auto& args : bad) {
        std::string error;
        Parse(args, &error);
        EXPECT_NE(error, "") << args[0];
    }
}

TEST(ViewEventLineTest, NamesAndArguments) {
    EXPECT_EQ(ViewWindow::EventLine(EV_Zoomed, {true}), "Zoomed 1");
    EXPECT_EQ(ViewWindow::EventLine(EV_Zoomed, {false}), "Zoomed 0");
    EXPECT_EQ(ViewWindow::EventLine(EV_RegionDefined, {}), "RegionDefined");
    EXPECT_EQ(ViewWindow::EventLine(EV_PointerLocation, {"x=1\ny=2", 10, 20}),
              "PointerLocation \"x=1\\ny=2\" 10 20");
    EXPECT_EQ(ViewWindow::EventLine(EV_OnRBClick, {1.5, -2.25, 3, 4, 0, 2}),
              "OnRBClick 1.5 -2.25 3 4 0 2");
}

TEST(SimulatedProcessTest, TheLevelSettlesAtItsSetPoint) {
    SimulatedProcess p(6);
    ASSERT_EQ(p.Variables(), 6);
    double level = 0, setPoint = 0, valve = 0, temperature = 0;
    for (int i = 0; i < 390; ++i) { // the set point is 2.0 m until 400 s
        const std::vector<double>& v = p.Step();
        level = v[0], setPoint = v[1], valve = v[4], temperature = v[5];
    }
    EXPECT_DOUBLE_EQ(p.Time(), 390);
    EXPECT_DOUBLE_EQ(setPoint, 2.0);
    EXPECT_NEAR(level, 2.0, 0.1);
    EXPECT_GE(valve, 0.0);
    EXPECT_LE(valve, 100.0);
    EXPECT_NEAR(temperature, 44.0, 3.0); // heater against the 20 C inflow
    for (int i = 0; i < 400; ++i)
        p.Step();
    EXPECT_DOUBLE_EQ(p.Step()[1], 2.5);
}

TEST(SimulatedProcessTest, ProbesFollowTheTemperatureAndRunsRepeat) {
    SimulatedProcess a(16), b(16);
    EXPECT_EQ(a.Name(0), "Level (m)");
    EXPECT_EQ(a.Name(6), "Probe 1 (C)");
    EXPECT_EQ(a.Name(15), "Probe 10 (C)");
    EXPECT_EQ(a.Axis(4), 2);
    EXPECT_EQ(a.Axis(15), 3);
    std::vector<double> last;
    for (int i = 0; i < 300; ++i) {
        last = a.Step();
        EXPECT_EQ(last, b.Step()); // the same seed gives the same run
    }
    ASSERT_EQ(last.size(), 16u);
    for (size_t k = 6; k < 16; ++k)
        EXPECT_NEAR(last[k], last[5], 2.0) << k;
    EXPECT_EQ(SimulatedProcess(0).Variables(), 1);
}

TEST(ViewWindowTest, LoadsSessionsSettingsAndRefusesMissingFiles) {
    EnsureWidgetApp();
    ViewOptions options;
    ViewWindow window(options);
    window.ResizeClient(500, 400);
    window.show();
    ProcessEvents();
    EXPECT_EQ(window.view().clientSize(), QSize(500, 400));
    const std::string session = std::string(TRENDIX_EXAMPLES) + "/xy-two-axes.tsh";
    window.Load(QString::fromStdString(session));
    EXPECT_EQ(window.view().control().GetTitle(), "Pump curve");
    const std::string settings = window.view().control().GetSettings();
    window.Load(QString::fromStdString(std::string(TRENDIX_EXAMPLES) + "/run-three.tsh"));
    EXPECT_NE(window.view().control().GetSettings(), settings);
    EXPECT_THROW(window.Load("/nonexistent/plot.tsh"), std::exception);
    EXPECT_THROW(window.Load("/nonexistent/plot.plx"), std::exception);
}

TEST(ViewWindowTest, DemoFeedsARunPlotAndLogsItsEvents) {
    EnsureWidgetApp();
    const std::string log = ::testing::TempDir() + "view-events.log";
    ViewOptions options;
    ViewWindow window(options);
    ASSERT_TRUE(window.OpenEventLog(log));
    window.show();
    window.StartDemo(3, 2000);
    ProcessEvents(400);
    EXPECT_TRUE(window.view().control().GetRunPlot());
    EXPECT_EQ(window.view().control().Getnvariables(), 3);
    EXPECT_NE(window.Stats().find("CPU seconds per second of simulated data"), std::string::npos);
    // The time axis runs on once enough steps have come; a busy machine gets more time.
    auto logged = [&](const std::string& wanted, std::string& first) {
        std::ifstream in(log);
        std::getline(in, first);
        for (std::string line; std::getline(in, line);)
            if (line == wanted) return true;
        return false;
    };
    std::string first;
    bool zoomed = logged("Zoomed 1", first);
    for (int waited = 0; !zoomed && waited < 20000; waited += 200) {
        ProcessEvents(200);
        zoomed = logged("Zoomed 1", first);
    }
    EXPECT_EQ(first, "SetCaption \"Tank level control (simulated)\"");
    EXPECT_TRUE(zoomed);
}

} // namespace
