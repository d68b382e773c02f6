// Full repaints of dense XY curves and a live run plot, through the control's own drawing
// entry (CTrendixCtrl::OnDraw, as trendix render draws) into a 1600 x 1000 image. Run with
//   build/bench/trendix_bench --benchmark_filter=Curve --benchmark_repetitions=5
// The XY samples go in as whole series (the model's series operation, which the typed front
// uses): the automation methods address at most 32767 samples per variable.
#include "control/TrendixCtrl.h"
#include "model/PlotLook.h"
#include "platform/ui/HeadlessSite.h"
#include "qt/QtDeviceContext.h"
#include "qt/QtRenderer.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

constexpr int kWidth = 1600;
constexpr int kHeight = 1000;

struct XYPlot {
    ui::HeadlessSite site;
    CTrendixCtrl control{site};

    XYPlot(int curves, std::uint32_t points) {
        QtRenderer::EnsureApplication();
        control.OnSize(kWidth, kHeight);
        control.Setnvariables(static_cast<std::int16_t>(curves));
        control.Setnpoints(2);
        control.SetDisplayType(0); // lines only: a million markers would measure markers
        CPlotLook& model = control.PlotModel();
        std::vector<double> xs(points), ys(points);
        for (std::uint32_t i = 0; i < points; ++i)
            xs[i] = i * 100.0 / points;
        model.SetXSeries(1, xs);
        for (int c = 0; c < curves; ++c) {
            for (std::uint32_t i = 0; i < points; ++i)
                ys[i] = c + std::sin(xs[i] * 0.7 + c) + 0.2 * std::sin(i * 0.37);
            model.SetYSeries(c + 1, ys);
        }
        model.dataDirty = 1;
        model.layoutDirty = 1;
    }
};

void Repaint(benchmark::State& state, int curves, std::uint32_t points) {
    XYPlot plot(curves, points);
    QtDeviceContext dc(kWidth, kHeight, gdi::DeviceKind::Memory);
    const gdi::Rect bounds{0, 0, kWidth, kHeight};
    plot.control.OnDraw(dc, bounds, bounds); // first layout and scaling outside the timing
    for (auto _ : state) {
        plot.control.OnDraw(dc, bounds, bounds);
        benchmark::DoNotOptimize(dc.Image()->constBits());
    }
    state.SetItemsProcessed(state.iterations() * curves * points);
}

void BM_CurveRepaint_1x1M(benchmark::State& state) {
    Repaint(state, 1, 1'000'000);
}
BENCHMARK(BM_CurveRepaint_1x1M)->Unit(benchmark::kMillisecond);

void BM_CurveRepaint_8x100k(benchmark::State& state) {
    Repaint(state, 8, 100'000);
}
BENCHMARK(BM_CurveRepaint_8x100k)->Unit(benchmark::kMillisecond);

// A live run plot of 16 variables with a 2000-sample ring, drawn into the window surface:
// every time step adds one sample per variable, and the control's live update advances the
// time axis and paints. The figure is the time per sample.
void BM_CurveLiveRunPlot(benchmark::State& state) {
    QtRenderer::EnsureApplication();
    constexpr int kVariables = 16;
    ui::HeadlessSite site;
    site.surfaceFactory = [](int w, int h) { return QtRenderer::MakeSurface(w, h); };
    CTrendixCtrl control{site};
    control.OnSize(kWidth, kHeight);
    site.ResizeSurface(kWidth, kHeight);
    control.SetRunPlot(true);
    control.SetBufferSize(2000);
    control.Setnvariables(kVariables);
    control.SetTimeWindow(10);
    double time = 0;
    int n = 0;
    auto step = [&] {
        time += 0.001;
        for (std::int16_t v = 1; v <= kVariables; ++v)
            control.AddTimeData(v, time, v + 0.5 * (n++ % 7));
    };
    for (int i = 0; i < 2500; ++i)
        step();
    control.PaintWindowSurface();
    for (auto _ : state)
        step();
    state.SetItemsProcessed(state.iterations() * kVariables);
    state.counters["ns_per_sample"] =
        benchmark::Counter(double(state.iterations() * kVariables),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_CurveLiveRunPlot)->Iterations(100'000);

} // namespace
