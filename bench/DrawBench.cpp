// Drawing hot paths on a 1600 x 1000 aliased image: mapping world points to device points,
// a 1,000,000-point polyline, and markers. Run with
//   build/bench/trendix_bench --benchmark_filter=Draw --benchmark_repetitions=5
#include "platform/gdi/DeviceContext.h"
#include "qt/QtDeviceContext.h"
#include "render/PlotEnv.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

constexpr int kPoints = 1'000'000;
constexpr int kImageWidth = 1600;
constexpr int kImageHeight = 1000;

// A noisy wave over the sample number, the shape of a long recorded trend.
struct Trend {
    std::vector<float> x, y;
    Trend() : x(kPoints), y(kPoints) {
        for (int i = 0; i < kPoints; ++i) {
            x[i] = static_cast<float>(i);
            y[i] = static_cast<float>(std::sin(i * 1e-4) + 0.1 * std::sin(i * 0.37));
        }
    }
};

const Trend& Data() {
    static const Trend trend;
    return trend;
}

void MapInto(const CPlotEnv& env, const Trend& data, std::vector<gdi::Point>& points) {
    points.clear();
    for (int i = 0; i < kPoints; ++i) {
        int dx = 0, dy = 0;
        if (env.WorldToDevice(data.x[i], data.y[i], dx, dy)) points.push_back({dx, dy});
    }
}

struct Surface {
    QImage image{kImageWidth, kImageHeight, QImage::Format_RGB32};
    QtDeviceContext dc{image, gdi::DeviceKind::Memory};
    CPlotEnv env;
    std::vector<gdi::Point> points;

    Surface() {
        image.fill(Qt::white);
        env.SetMapping(gdi::Rect{0, 0, kImageWidth, kImageHeight}, 0, kPoints - 1, 1.2f, -1.2f);
        points.reserve(kPoints);
    }
};

void PerPoint(benchmark::State& state, int points) {
    state.SetItemsProcessed(state.iterations() * points);
    state.counters["per_point"] = benchmark::Counter(
        points, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_DrawMapPoints(benchmark::State& state) {
    Surface s;
    for (auto _ : state) {
        MapInto(s.env, Data(), s.points);
        benchmark::DoNotOptimize(s.points.data());
    }
    PerPoint(state, kPoints);
}

void BM_DrawMapAndPolyline(benchmark::State& state) {
    Surface s;
    for (auto _ : state) {
        MapInto(s.env, Data(), s.points);
        const gdi::Pen old = s.env.SelectPen(s.dc, 1, 1);
        s.dc.Polyline(s.points);
        s.dc.SelectPen(old);
    }
    PerPoint(state, kPoints);
}

// Wide and geometric pens: line type as the argument.
void BM_DrawStyledPolyline(benchmark::State& state) {
    Surface s;
    MapInto(s.env, Data(), s.points);
    for (auto _ : state) {
        const gdi::Pen old = s.env.SelectPen(s.dc, 3, static_cast<int>(state.range(0)));
        s.dc.Polyline(s.points);
        s.dc.SelectPen(old);
    }
    PerPoint(state, kPoints);
}

void BM_DrawMarkers(benchmark::State& state) {
    Surface s;
    const int kind = static_cast<int>(state.range(0));
    constexpr int kMarkers = 10'000;
    for (auto _ : state) {
        for (int i = 0; i < kMarkers; ++i) {
            const int at = i * (kPoints / kMarkers);
            s.env.DrawMarker(s.dc, kind, s.env.MapX(Data().x[at]), s.env.MapY(Data().y[at]), 2, 4);
        }
    }
    PerPoint(state, kMarkers);
}

} // namespace

BENCHMARK(BM_DrawMapPoints)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawMapAndPolyline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawStyledPolyline)->Arg(3)->Arg(5)->Arg(9)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawMarkers)->Arg(1)->Arg(8)->Arg(11)->Unit(benchmark::kMillisecond);
