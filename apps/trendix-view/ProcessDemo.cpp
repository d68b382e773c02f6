#include "ProcessDemo.h"

#include "control/TrendixCtrl.h"
#include <trendix/TrendixWidget.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>

namespace {

constexpr float kTimeWindow = 300; // s of process time shown
constexpr float kScrollUnit = 60;  // s the time axis moves when it runs out
constexpr double kCatchUp = 0.2;   // at most this many seconds of steps in one feed

} // namespace

ProcessDemo::ProcessDemo(TrendixWidget& view, int variables, double stepsPerSecond)
    : view_(view), process_(variables), rate_(stepsPerSecond) {
    feed_.setTimerType(Qt::PreciseTimer);
    connect(&feed_, &QTimer::timeout, this, &ProcessDemo::Feed);
    connect(&redraw_, &QTimer::timeout, this, &ProcessDemo::Redraw);
}

void ProcessDemo::SetUpPlot() {
    CTrendixCtrl& c = view_.control();
    const int n = process_.Variables();
    c.Clear();
    c.SetRunPlot(true);
    c.Setnvariables(std::int16_t(n));
    c.SetBufferSize(std::max<std::int32_t>(2000, std::int32_t(2 * kTimeWindow)));
    c.SetTimeWindow(kTimeWindow);
    c.SetTimeScrollUnit(kScrollUnit);
    c.SetTitle("Tank level control (simulated)");
    c.Setxlabel("Time (s)");
    c.Setylabel("Level (m), flow (m3/min)");
    c.SetMultiYaxis(true);
    for (int i = 0; i < n; ++i)
        c.SetAxisMap(std::int16_t(i), std::int16_t(process_.Axis(i)));
    // Axis labels before the legends, which would otherwise take the labels' text.
    if (n > 4) c.SetLabel(2, "Valve (%)");
    if (n > 5) c.SetLabel(3, "Temperature (C)");
    for (int i = 0; i < n; ++i) {
        c.SetLegend(std::int16_t(i + 1), process_.Name(i));
        c.SetAttribute(std::int16_t(i), std::int16_t(i % 8 + 1), 0, std::int16_t(i % 15 + 1));
    }
    c.SetShowLegend(n <= 8);
}

void ProcessDemo::Start() {
    SetUpPlot();
    steps_ = dropped_ = 0;
    clock_.start();
    feed_.start(kFeedMs);
    redraw_.start(kRedrawMs);
}

void ProcessDemo::Stop() {
    feed_.stop();
    redraw_.stop();
}

// A timer's work: what fails stops the demo with a message, and the window keeps running.
template <typename Work>
void ProcessDemo::Guarded(Work&& work) noexcept {
    try {
        work();
    } catch (const std::exception& e) {
        Stop();
        std::fprintf(stderr, "trendix-view: the demo stopped: %s\n", e.what());
    }
}

// The steps due since the start go in, at most a fifth of a second's worth at a time; a slow
// machine drops what it cannot catch up with instead of freezing.
void ProcessDemo::Feed() {
    Guarded([this] { FeedDueSteps(); });
    view_.update(); // shows what the live update drew
}

void ProcessDemo::FeedDueSteps() {
    const auto due = static_cast<long long>(double(clock_.elapsed()) / 1000.0 * rate_);
    const long long limit = std::max<long long>(1, std::llround(rate_ * kCatchUp));
    long long count = due - steps_ - dropped_;
    if (count > limit) {
        dropped_ += count - limit;
        count = limit;
    }
    CTrendixCtrl& c = view_.control();
    for (long long k = 0; k < count; ++k) {
        const std::vector<double>& values = process_.Step();
        for (size_t i = 0; i < values.size(); ++i)
            c.AddTimeData(std::int16_t(i + 1), process_.Time(), values[i]);
        ++steps_;
    }
}

void ProcessDemo::Redraw() {
    Guarded([this] {
        view_.control().Redraw();
        ++redraws_;
    });
}
