// The typed front without Qt: data in, data back, and a refused call.
#include <trendix/Plot.h>

#include <cstdio>
#include <vector>

int main() {
    trendix::Plot plot;
    const std::vector<double> xs{0, 1, 2}, ys{1, 4, 9};
    plot.setSeries(1, xs, ys);
    try {
        plot.setSeries(1, xs, std::vector<double>{1});
        return 1; // spans of different lengths must be refused
    } catch (const trendix::Error& e) {
        std::printf("refused as expected: %s\n", e.what());
    }
    return plot.yValues(1) == ys ? 0 : 1;
}
