// User-drawn shapes in the full repaint: 1,000 shapes and 50 paths at 1600 x 1000 (Arg 1)
// against the same plot without them (Arg 0). Run with
//   build/bench/trendix_bench --benchmark_filter=Shapes --benchmark_repetitions=5
#include "annot/PlotOverlay.h"
#include "control/TrendixCtrl.h"
#include "platform/ui/HeadlessSite.h"
#include "qt/QtDeviceContext.h"
#include "qt/QtRenderer.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <random>

namespace {

constexpr int kShapes = 1000;
constexpr int kPaths = 50;
constexpr int kShapesPerPath = 8;
constexpr int kImageWidth = 1600;
constexpr int kImageHeight = 1000;

// One shape of each kind in turn, at random places of the drawing region, in world units.
std::unique_ptr<CPlotDisplay> RandomShape(int k, CPlotEnv& env, std::mt19937& random) {
    std::uniform_int_distribution<int> x(100, kImageWidth - 100), y(100, kImageHeight - 100),
        size(5, 80);
    const int ax = x(random), ay = y(random), bx = ax + size(random), by = ay + size(random);
    float x1, y1, x2, y2;
    env.DeviceToWorld(ax, ay, x1, y1);
    env.DeviceToWorld(bx, by, x2, y2);
    std::unique_ptr<CPlotDisplay> shape;
    switch (k % 6) {
    case 0:
        shape = std::make_unique<CPlotLine>(x1, y1);
        break;
    case 1:
        shape = std::make_unique<CPlotBox>(k % 12 == 1 ? 'B' : 'b', x1, y1);
        break;
    case 2:
        shape = std::make_unique<CPlotEllipse>(CPlotEllipse::kPartGrid[k % 9], x1, y1);
        break;
    case 3:
        shape = std::make_unique<CPlotArc>(x1, y1);
        break;
    case 4:
        shape = std::make_unique<CPlotPoint>(x1, y1, k % 12, 4);
        break;
    default: {
        auto polygon = std::make_unique<CPlotPolygon>(x1, y1, true);
        polygon->SetVertices({{x1, y1, 1}, {x2, y1, 1}, {x2, y2, 1}, {x1, y2, 1}});
        shape = std::move(polygon);
        break;
    }
    }
    shape->SetWorld(x1, y1, x2, y2);
    shape->SetColor(0, k % 16);
    return shape;
}

void BM_Repaint_Shapes(benchmark::State& state) {
    QtRenderer::EnsureApplication();
    ui::HeadlessSite site;
    CTrendixCtrl control{site};
    control.OnSize(kImageWidth, kImageHeight);
    QImage image(kImageWidth, kImageHeight, QImage::Format_RGB32);
    QtDeviceContext dc(image, gdi::DeviceKind::Memory);
    CPlotEnv env;
    CPlotLook& model = control.PlotModel();
    {
        CPlotPaintContext ctx(dc, env);
        model.Paint(ctx, {0, 0, kImageWidth, kImageHeight}, false, 0, false);
    }
    if (state.range(0)) {
        model.MapDrawingRegion(env);
        CPlotShapes& shapes = control.PlotObjects().Shapes();
        std::mt19937 random(11);
        for (int k = 0; k < kShapes; ++k)
            shapes.Add(RandomShape(k, env, random));
        for (int p = 0; p < kPaths; ++p) {
            auto path = std::make_unique<CPlotPath>();
            for (int k = 0; k < kShapesPerPath; ++k)
                RandomShape(k, env, random)->AppendToPath(*path);
            path->SetPivotToCentre();
            path->KeyDown('L', false, env);
            shapes.Add(std::move(path));
        }
    }
    for (auto _ : state) {
        model.layoutDirty = 1;
        CPlotPaintContext ctx(dc, env);
        model.Paint(ctx, {0, 0, kImageWidth, kImageHeight}, false, 0, false);
    }
}
BENCHMARK(BM_Repaint_Shapes)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
