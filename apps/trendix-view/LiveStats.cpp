#include "LiveStats.h"

#include <QEvent>
#include <QWidget>

#include <sstream>
#include <sys/resource.h>

LiveStats::LiveStats(QWidget& watched) {
    watched.installEventFilter(this);
    probe_.setTimerType(Qt::PreciseTimer);
    connect(&probe_, &QTimer::timeout, this, &LiveStats::Probe);
}

void LiveStats::Start() {
    cpuAtStart_ = CpuSeconds();
    wall_.start();
    lastProbe_ = 0;
    probe_.start(kProbeMs);
}

bool LiveStats::eventFilter(QObject*, QEvent* event) {
    if (event->type() == QEvent::Paint) ++frames_;
    return false;
}

void LiveStats::Probe() {
    const qint64 now = wall_.elapsed();
    worstDelay_ = std::max(worstDelay_, now - lastProbe_ - kProbeMs);
    lastProbe_ = now;
}

double LiveStats::CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

std::string LiveStats::Report(long long steps, long long dropped, double stepsPerSecond,
                              int redraws) const {
    const double wall = double(wall_.elapsed()) / 1000.0;
    const double cpu = CpuSeconds() - cpuAtStart_;
    const double simulated = double(steps) / stepsPerSecond; // seconds of data at the demo rate
    std::ostringstream out;
    out.precision(3);
    out << "wall seconds: " << wall << "\n"
        << "time steps fed: " << steps << " (" << (wall > 0 ? double(steps) / wall : 0)
        << " per second, " << dropped << " dropped)\n"
        << "CPU seconds: " << cpu << "\n"
        << "CPU seconds per second of simulated data: " << (simulated > 0 ? cpu / simulated : 0)
        << "\n"
        << "frames shown per second: " << (wall > 0 ? double(frames_) / wall : 0) << "\n"
        << "full redraws per second: " << (wall > 0 ? redraws / wall : 0) << "\n"
        << "longest event-loop delay (ms): " << worstDelay_ << "\n";
    return out.str();
}
