// The paths users take, as `trendix render` and a live host take them: an input file read and
// drawn into a 1600 x 1000 PNG, SVG or PDF with the control laid out at that size, and a live
// strip chart redrawn in full every 50 steps. Run with
//   build/bench/trendix_bench --benchmark_filter=UserPath --benchmark_repetitions=5
// The input files are written once per process into the temporary directory; each iteration
// loads the file into a fresh control and writes the picture, as one `trendix render` does
// (without the process start, which bench/peers.sh measures).
#include "control/TrendixCtrl.h"
#include "platform/ui/HeadlessSite.h"
#include "qt/QtDeviceContext.h"
#include "qt/QtRenderer.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr int kWidth = 1600;
constexpr int kHeight = 1000;

// An input file of one X variable and curves Y variables of points samples each: a slow wave
// with a fast ripple, the shape of a long recorded trend.
std::string InputFile(int curves, int points) {
    const auto path =
        std::filesystem::temp_directory_path() /
        ("trendix-userpath-" + std::to_string(curves) + "x" + std::to_string(points) + ".plx");
    if (std::filesystem::exists(path)) return path.string();
    std::ofstream out(path, std::ios::binary);
    out << "title:Trend\nnumpoints:" << points << "\nnumindep:1\nnumdep:" << curves
        << "\nindeplow:0\nindephigh:100\nvalues:\n";
    out.precision(7);
    for (int m = 0; m < points; ++m)
        out << m * 100.0 / points << ((m + 1) % 10 ? ' ' : '\n');
    out << '\n';
    for (int c = 0; c < curves; ++c) {
        for (int m = 0; m < points; ++m) {
            const double t = m * 100.0 / points;
            out << c + std::sin(t * 0.7 + c) + 0.2 * std::sin(m * 0.37)
                << ((m + 1) % 10 ? ' ' : '\n');
        }
        out << '\n';
    }
    return path.string();
}

// One `trendix render INPUT -o OUT --size 1600x1000`: a control laid out at the size, the
// input file loaded, the picture written. Lines only when asked (DisplayType 0 after the load).
void BM_UserPathRender(benchmark::State& state, int curves, int points, const char* ending,
                       bool linesOnly) {
    QtRenderer::EnsureApplication();
    const std::string input = InputFile(curves, points);
    const std::string output =
        (std::filesystem::temp_directory_path() / "trendix-userpath-out").string() + ending;
    for (auto _ : state) {
        ui::HeadlessSite site;
        site.surfaceFactory = QtRenderer::MakeSurface;
        CTrendixCtrl control(site);
        control.OnSize(kWidth, kHeight);
        site.ResizeSurface(kWidth, kHeight);
        control.SetInputFile(input);
        if (linesOnly) control.SetDisplayType(0);
        QtRenderer::Render(control, output, kWidth, kHeight);
    }
    state.SetItemsProcessed(state.iterations() * curves * points);
    state.counters["file_MB"] = double(std::filesystem::file_size(output)) / 1e6;
    std::filesystem::remove(output);
}

// One benchmark a row of the table: curves x points, picture kind, markers or lines only.
BENCHMARK_CAPTURE(BM_UserPathRender, png_1x1M_markers, 1, 1'000'000, ".png", false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_UserPathRender, png_1x1M_lines, 1, 1'000'000, ".png", true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_UserPathRender, png_8x100k_markers, 8, 100'000, ".png", false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_UserPathRender, png_8x100k_lines, 8, 100'000, ".png", true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_UserPathRender, png_1x10k_lines, 1, 10'000, ".png", true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_UserPathRender, svg_1x1M_markers, 1, 1'000'000, ".svg", false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_UserPathRender, svg_1x1M_lines, 1, 1'000'000, ".svg", true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_UserPathRender, pdf_1x1M_markers, 1, 1'000'000, ".pdf", false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_UserPathRender, pdf_1x1M_lines, 1, 1'000'000, ".pdf", true)
    ->Unit(benchmark::kMillisecond);

// Reading alone: how much of the PNG row above is the input file.
void BM_UserPathRead_1x1M(benchmark::State& state) {
    const std::string input = InputFile(1, 1'000'000);
    ui::HeadlessSite site;
    CTrendixCtrl control(site);
    control.OnSize(kWidth, kHeight);
    for (auto _ : state)
        control.SetInputFile(input);
    state.SetItemsProcessed(state.iterations() * 1'000'000);
}

BENCHMARK(BM_UserPathRead_1x1M)->Unit(benchmark::kMillisecond);

// The live strip chart: 8 variables streamed into a run plot whose 2000-sample ring fills the
// time window, and the whole control redrawn into a 1600 x 1000 image every 50 steps. The
// figures are steps a second and, from the redraw benchmark, the time of one full redraw.
// The time axis advances by its scroll unit as the samples pass its end: 20 % of the window,
// as run mode sets it, or 1 % (every 20 steps), which redraws the window surface that often.
struct StripChart {
    static constexpr int kVariables = 8;
    static constexpr int kWindow = 2000;
    static constexpr int kRedrawEvery = 50;
    static constexpr double kStep = 0.01;

    ui::HeadlessSite site;
    CTrendixCtrl control{site};
    QtDeviceContext image{kWidth, kHeight, gdi::DeviceKind::Memory};
    double time = 0;
    std::int64_t steps = 0;

    explicit StripChart(float scrollShare = 0.2f) {
        QtRenderer::EnsureApplication();
        site.surfaceFactory = QtRenderer::MakeSurface;
        control.OnSize(kWidth, kHeight);
        site.ResizeSurface(kWidth, kHeight);
        const float window = float(kWindow * kStep);
        control.SetTimeWindow(window);
        control.SetRunPlot(true);
        control.SetTimeScrollUnit(window * scrollShare);
        control.SetBufferSize(kWindow);
        control.Setnvariables(kVariables);
        for (int i = 0; i < 2 * kWindow; ++i)
            Step(false);
    }
    void Step(bool redraw) {
        time += kStep;
        ++steps;
        for (std::int16_t v = 1; v <= kVariables; ++v)
            control.AddTimeData(v, time, v + std::sin(time * 0.5 + v) + 0.1 * ((steps * v) % 7));
        if (redraw && steps % kRedrawEvery == 0) Redraw();
    }
    void Redraw() {
        const gdi::Rect bounds{0, 0, kWidth, kHeight};
        control.OnDraw(image, bounds, bounds);
    }
};

void StripChartSteps(benchmark::State& state, float scrollShare) {
    StripChart chart(scrollShare);
    for (auto _ : state)
        chart.Step(true);
    state.counters["steps_per_s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_UserPathStripChart_Steps(benchmark::State& state) {
    StripChartSteps(state, 0.2f);
}
BENCHMARK(BM_UserPathStripChart_Steps)->Iterations(20'000);

void BM_UserPathStripChart_StepsFineScroll(benchmark::State& state) {
    StripChartSteps(state, 0.01f);
}
BENCHMARK(BM_UserPathStripChart_StepsFineScroll)->Iterations(20'000);

void BM_UserPathStripChart_Redraw(benchmark::State& state) {
    StripChart chart;
    for (auto _ : state) {
        chart.Redraw();
        benchmark::DoNotOptimize(chart.image.Image()->constBits());
    }
}
BENCHMARK(BM_UserPathStripChart_Redraw)->Unit(benchmark::kMicrosecond);

} // namespace
