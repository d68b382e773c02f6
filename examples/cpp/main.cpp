// A million-point XY curve and a live plot of four variables, drawn into PNG files.
#include <trendix/Image.h>
#include <trendix/Plot.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::string out = argc > 1 ? argv[1] : "example.png";
    try {
        trendix::Plot xy;
        xy.setSize(800, 500);
        xy.setTitle("A million points");
        std::vector<double> xs(1'000'000), ys(xs.size());
        for (std::size_t i = 0; i < xs.size(); ++i) {
            xs[i] = double(i) * 1e-4;
            ys[i] = std::sin(xs[i]) + 0.1 * std::sin(xs[i] * 37);
        }
        xy.setSeries(1, xs, ys);
        trendix::saveImage(xy, out);

        trendix::Plot live;
        live.setLive(true);
        live.setVariableCount(4);
        live.setTimeWindow(10);
        std::vector<double> times(100), values(times.size() * 4);
        for (std::size_t r = 0; r < times.size(); ++r) {
            times[r] = double(r) * 0.1;
            for (std::size_t v = 0; v < 4; ++v)
                values[r * 4 + v] = double(v) + std::sin(times[r] + double(v));
        }
        live.appendBlock(times, values);
        trendix::saveImage(live, out.substr(0, out.rfind('.')) + "-live.png");
        std::printf("%zu XY points, %zu live samples\n", xy.yLength(1), live.yLength(4));
    } catch (const trendix::Error& e) {
        std::fprintf(stderr, "error 0x%08X: %s\n", unsigned(e.hresult()), e.what());
        return 1;
    }
    return 0;
}
