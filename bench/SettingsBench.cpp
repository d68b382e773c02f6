// Saving and loading plots: applying a large settings block, and loading input files of
// growing size (the time per byte stays the same: loading is linear in the file size).
#include "control/PlotSettings.h"
#include "control/TrendixCtrl.h"
#include "platform/ui/HeadlessSite.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

// prefix and n (appended, which keeps a false -Wrestrict of GCC 12 at -O3 away).
std::string Numbered(const char* prefix, int n) {
    std::string s(prefix);
    s += std::to_string(n);
    return s;
}

// The settings of a plot of 100 variables on 4 Y axes, with 50 annotation blocks.
std::string LargeSettings() {
    ui::HeadlessSite site;
    CTrendixCtrl c(site);
    c.OnSize(800, 600);
    c.Setnvariables(100);
    for (std::int16_t v = 0; v < 100; ++v) {
        c.SetAxisMap(v, std::int16_t(v % 4 + 1));
        c.SetLegend(std::int16_t(v + 1), Numbered("Variable ", v + 1));
        c.SetSubstitutionValue(std::int16_t(v + 1), Numbered("S", v));
    }
    c.SetAxisMap(-1, 0);
    std::string text = c.GetSettings();
    for (int i = 0; i < 50; ++i) {
        CPlotSettings::Annotation a;
        a.text = Numbered("Note ", i);
        a.x = i * 0.5;
        a.y = i % 2 ? CPlotSettings::kLargestFloat : 1.25 * i;
        a.fontFace = "Times New Roman";
        a.fontSize = 10;
        text += CPlotSettings::FormatAnnotation(a);
    }
    return text;
}

void SetSettings100Variables(benchmark::State& state) {
    const std::string text = LargeSettings();
    ui::HeadlessSite site;
    CTrendixCtrl c(site);
    c.OnSize(800, 600);
    for (auto _ : state)
        c.SetSettings(text);
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(text.size()));
}
BENCHMARK(SetSettings100Variables)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

// An input file of one X and ten Y variables of points values each.
std::string WriteInputFile(int points) {
    const auto path =
        std::filesystem::temp_directory_path() / (Numbered("trendix-bench-", points) + ".plx");
    std::ofstream out(path, std::ios::binary);
    out << "title:Bench\nnumpoints:" << points << "\nnumindep:1\nnumdep:10\nvalues:\n";
    for (int j = 0; j <= 10; ++j) {
        for (int m = 0; m < points; ++m)
            out << (j == 0 ? m : (m % 997) * 0.125 + j) << ((m + 1) % 10 ? ' ' : '\n');
        out << '\n';
    }
    return path.string();
}

void LoadInputFile(benchmark::State& state) {
    const std::string path = WriteInputFile(int(state.range(0)));
    const auto bytes = std::int64_t(std::filesystem::file_size(path));
    ui::HeadlessSite site;
    CTrendixCtrl c(site);
    c.OnSize(800, 600);
    for (auto _ : state)
        c.SetInputFile(path);
    state.SetBytesProcessed(std::int64_t(state.iterations()) * bytes);
    state.counters["file_MB"] = double(bytes) / 1e6;
    std::filesystem::remove(path);
}
BENCHMARK(LoadInputFile)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace
