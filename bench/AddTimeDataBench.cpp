// Live data: one AddTimeData call per variable per time step into a wrapped run plot.
#include "control/TrendixCtrl.h"
#include "platform/ui/HeadlessSite.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kVariables = 16;
constexpr double kStep = 0.001;

struct LivePlot {
    ui::HeadlessSite site;
    CTrendixCtrl control{site};
    double time = 0;

    LivePlot() {
        control.OnSize(400, 310);
        control.SetRunPlot(true);
        control.SetBufferSize(2000);
        control.Setnvariables(kVariables);
        control.SetTimeWindow(10);
        for (int step = 0; step < 2500; ++step) // fill the ring once over
            Step();
    }
    void Step() {
        time += kStep;
        for (std::int16_t v = 1; v <= kVariables; ++v)
            control.AddTimeData(v, time, v + 0.5 * (step_++ % 7));
    }
    int step_ = 0;
};

void BM_AddTimeData_Method(benchmark::State& state) {
    LivePlot plot;
    for (auto _ : state)
        plot.Step();
    state.SetItemsProcessed(state.iterations() * kVariables);
    state.counters["ns_per_call"] =
        benchmark::Counter(double(state.iterations() * kVariables),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_AddTimeData_Method);

void BM_AddTimeData_Invoke(benchmark::State& state) {
    LivePlot plot;
    const com::DISPID id = plot.control.GetIDOfName("AddTimeData");
    com::Variant args[3];
    int n = 0;
    for (auto _ : state) {
        plot.time += kStep;
        for (std::int16_t v = 1; v <= kVariables; ++v) {
            args[0] = com::Variant::I2(v);
            args[1] = com::Variant::R8(plot.time);
            args[2] = com::Variant::R8(v + 0.5 * (n++ % 7));
            plot.control.Invoke(id, com::InvokeKind::Method, args);
        }
    }
    state.SetItemsProcessed(state.iterations() * kVariables);
    state.counters["ns_per_call"] =
        benchmark::Counter(double(state.iterations() * kVariables),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_AddTimeData_Invoke);

} // namespace

BENCHMARK_MAIN();
