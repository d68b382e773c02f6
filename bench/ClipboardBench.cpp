// Copy and Paste of a large plot through the headless site's clipboard: 16 variables of
// 30,000 points each. Copy writes the binary image and draws the picture; Paste reads the
// image into another control. The image's size beside the raw sample bytes is reported too.
#include "control/TrendixCtrl.h"
#include "platform/ui/HeadlessSite.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

constexpr int kVariables = 16;
constexpr int kPoints = 30000;

void FillLargePlot(CTrendixCtrl& c) {
    c.OnSize(800, 600);
    c.Setnvariables(kVariables);
    c.Setnpoints(kPoints);
    for (std::int16_t v = 1; v <= kVariables; ++v)
        for (int i = 0; i < kPoints; ++i) {
            c.SetXData(v, std::int16_t(i), i * 0.01);
            c.SetData(v, std::int16_t(i), std::sin(i * 0.001 * v) * v);
        }
}

void CopyLargePlot(benchmark::State& state) {
    ui::Clipboard clipboard;
    ui::HeadlessSite site;
    site.ShareClipboard(clipboard);
    CTrendixCtrl c(site);
    FillLargePlot(c);
    for (auto _ : state)
        c.Copy();
    // The plot's samples: the Y variables and the one X variable they share.
    const double raw = double(kVariables + 1) * kPoints * sizeof(double);
    state.counters["image/raw"] = double(clipboard.Data("Trendix Control").size()) / raw;
}
BENCHMARK(CopyLargePlot)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void PasteLargePlot(benchmark::State& state) {
    ui::Clipboard clipboard;
    ui::HeadlessSite fromSite, toSite;
    fromSite.ShareClipboard(clipboard);
    toSite.ShareClipboard(clipboard);
    CTrendixCtrl from(fromSite);
    FillLargePlot(from);
    from.Copy();
    CTrendixCtrl to(toSite);
    to.OnSize(800, 600);
    for (auto _ : state)
        to.Paste();
    // The paste took the whole plot, not a refusal or nothing.
    double last = 0;
    if (to.Getnvariables() != kVariables || !to.GetData(kVariables, kPoints - 1, last) ||
        last != std::sin((kPoints - 1) * 0.001 * kVariables) * kVariables)
        state.SkipWithError("the plot was not pasted");
}
BENCHMARK(PasteLargePlot)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
