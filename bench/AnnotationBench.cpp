// Annotations and host objects against the live path and the full repaint. Run with
//   build/bench/trendix_bench --benchmark_filter='Annotations|HostLines' --benchmark_repetitions=5
#include "control/TrendixCtrl.h"
#include "platform/ui/HeadlessSite.h"
#include "qt/QtDeviceContext.h"
#include "qt/QtRenderer.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <memory>

namespace {

constexpr int kVariables = 16;
constexpr double kStep = 0.001;
constexpr int kTexts = 50;
constexpr int kObjects = 200;
constexpr int kLinePoints = 1000;
constexpr int kImageWidth = 1600;
constexpr int kImageHeight = 1000;

// A wrapped run plot of 16 variables; with objects on, 50 texts and 200 host lines too.
struct LivePlot {
    ui::HeadlessSite site;
    CTrendixCtrl control{site};
    double time = 0;
    int n = 0;

    explicit LivePlot(bool objects) {
        control.OnSize(400, 310);
        control.SetRunPlot(true);
        control.SetBufferSize(2000);
        control.Setnvariables(kVariables);
        control.SetTimeWindow(10);
        if (objects) {
            for (int k = 0; k < kTexts; ++k)
                control.AddText("note " + std::to_string(k), 0.02f * k, 0.5f, 1, 0, "", 10, 0);
            for (int k = 0; k < kObjects; ++k) {
                const std::int16_t id = control.NewLine(std::int16_t(k % 6 + 1), 1, 0, 0, 0);
                for (std::int16_t i = 0; i < 10; ++i)
                    control.SetXYData(id, i, i * 0.5, k + i);
            }
        }
        for (int step = 0; step < 2500; ++step) // fill the ring once over
            Step();
    }
    void Step() {
        time += kStep;
        for (std::int16_t v = 1; v <= kVariables; ++v)
            control.AddTimeData(v, time, v + 0.5 * (n++ % 7));
    }
};

void BM_AddTimeData_Annotations(benchmark::State& state) {
    LivePlot plot(state.range(0) != 0);
    for (auto _ : state)
        plot.Step();
    state.SetItemsProcessed(state.iterations() * kVariables);
}
BENCHMARK(BM_AddTimeData_Annotations)->Arg(0)->Arg(1);

// A full repaint of a 1600 x 1000 XY plot with 200 host lines of 1,000 points each.
void BM_Repaint_HostLines(benchmark::State& state) {
    QtRenderer::EnsureApplication();
    ui::HeadlessSite site;
    CTrendixCtrl control{site};
    control.OnSize(kImageWidth, kImageHeight);
    for (int k = 0; k < kObjects; ++k) {
        const std::int16_t id = control.NewLine(std::int16_t(k % 6 + 1), 1, 0, 0, 0);
        for (std::int16_t i = 0; i < kLinePoints; ++i)
            control.SetXYData(id, i, i, k + std::sin(i * 0.01) * 20);
    }
    QImage image(kImageWidth, kImageHeight, QImage::Format_RGB32);
    QtDeviceContext dc(image, gdi::DeviceKind::Memory);
    CPlotEnv env;
    CPlotLook& model = control.PlotModel();
    for (auto _ : state) {
        model.layoutDirty = 1;
        CPlotPaintContext ctx(dc, env);
        model.Paint(ctx, {0, 0, kImageWidth, kImageHeight}, false, 0, false);
    }
}
BENCHMARK(BM_Repaint_HostLines)->Unit(benchmark::kMillisecond);

} // namespace
