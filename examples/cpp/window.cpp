// The program of the README's "Embedding in C++ and Qt": a live plot fed from a timer and a
// million-point XY plot, side by side.
#include <trendix/TrendixWidget.h>

#include <QApplication>
#include <QHBoxLayout>
#include <QTimer>

#include <cmath>
#include <vector>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    auto* layout = new QHBoxLayout(&window);

    // A live plot of three variables, fed ten time steps at a time from a timer.
    auto* live = new TrendixWidget;
    trendix::Plot& trend = live->plot();
    trend.setTitle("Tank");
    trend.setLive(true);
    trend.setVariableCount(3);
    trend.setTimeWindow(20);
    trend.setShowLegend(true);
    double time = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        std::vector<double> times(10), values(30); // row r: the three samples at times[r]
        for (int r = 0; r < 10; ++r) {
            times[r] = time += 0.01;
            for (int v = 0; v < 3; ++v)
                values[r * 3 + v] = v + std::sin(time * (v + 1));
        }
        trend.appendBlock(times, values);
    });
    timer.start(100);

    // A million points, set from two spans in one call.
    auto* xy = new TrendixWidget;
    std::vector<double> xs(1'000'000), ys(xs.size());
    for (std::size_t i = 0; i < xs.size(); ++i) {
        xs[i] = i * 1e-4;
        ys[i] = std::sin(xs[i]) * std::exp(-xs[i] / 50);
    }
    xy->plot().setTitle("A million points");
    xy->plot().setDisplay(trendix::DisplayKind::Lines);
    xy->plot().setSeries(1, xs, ys);

    layout->addWidget(live);
    layout->addWidget(xy);
    window.resize(1200, 500);
    window.show();
    return app.exec();
}
