// The typed front: a million-point XY series set from two spans and drawn at 1600 x 1000, and
// blocks of live samples. Run with
//   build/bench/trendix_bench --benchmark_filter=Front --benchmark_repetitions=5
#include <trendix/Image.h>
#include <trendix/Plot.h>

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

constexpr int kWidth = 1600;
constexpr int kHeight = 1000;

// Setting the series and drawing it, together: the series is new at every drawing, so the
// ranges, the layout and the curve are all made again.
void BM_FrontSeries1MAndDraw(benchmark::State& state) {
    constexpr std::size_t kPoints = 1'000'000;
    std::vector<double> xs(kPoints), ys(kPoints);
    for (std::size_t i = 0; i < kPoints; ++i) {
        xs[i] = double(i) * 100.0 / double(kPoints);
        ys[i] = std::sin(xs[i] * 0.7) + 0.2 * std::sin(double(i) * 0.37);
    }
    trendix::Plot plot;
    plot.setSize(kWidth, kHeight);
    plot.setDisplay(trendix::DisplayKind::Lines); // a million markers would measure markers
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    plot.setSeries(1, xs, ys);
    trendix::render(plot, image); // the first layout outside the timing
    int k = 0;
    for (auto _ : state) {
        ys[0] = double(k++ % 2); // a different series every time
        plot.setSeries(1, xs, ys);
        trendix::render(plot, image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t(kPoints));
}
BENCHMARK(BM_FrontSeries1MAndDraw)->Unit(benchmark::kMillisecond);

// Blocks of 1,000 time steps for 16 variables into a wrapped live plot without a window (the
// storing alone: a window adds one live drawing per block).
void BM_FrontAppendBlock(benchmark::State& state) {
    constexpr int kVariables = 16;
    constexpr int kRows = 1000;
    trendix::Plot plot;
    plot.setLive(true);
    plot.setBufferSize(20000);
    plot.setVariableCount(kVariables);
    plot.setTimeWindow(10);
    std::vector<double> times(kRows), values(std::size_t(kRows) * kVariables);
    double time = 0;
    auto fill = [&] {
        for (int r = 0; r < kRows; ++r) {
            times[std::size_t(r)] = time += 0.001;
            for (int v = 0; v < kVariables; ++v)
                values[std::size_t(r * kVariables + v)] = v + 0.5 * ((r + v) % 7);
        }
    };
    for (int k = 0; k < 25; ++k) { // fill the rings once over
        fill();
        plot.appendBlock(times, values);
    }
    for (auto _ : state) {
        state.PauseTiming();
        fill();
        state.ResumeTiming();
        plot.appendBlock(times, values);
    }
    const double samples = double(state.iterations()) * kRows * kVariables;
    state.SetItemsProcessed(std::int64_t(samples));
    state.counters["ns_per_sample"] =
        benchmark::Counter(samples, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_FrontAppendBlock);

} // namespace
