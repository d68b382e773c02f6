#pragma once
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <string>

// Figures of a live run: frames the widget showed, the process CPU time, and how late a
// 10 ms probe timer ran (how long the window could not react).
class LiveStats : public QObject {
    Q_OBJECT
public:
    explicit LiveStats(QWidget& watched);
    void Start();

    // One line per figure; steps and rate are the demo's simulated steps and steps per second.
    std::string Report(long long steps, long long dropped, double stepsPerSecond,
                       int redraws) const;

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    void Probe();
    static double CpuSeconds();

    QElapsedTimer wall_;
    QTimer probe_;
    qint64 lastProbe_ = 0;
    qint64 worstDelay_ = 0;
    long long frames_ = 0;
    double cpuAtStart_ = 0;

    static constexpr int kProbeMs = 10;
};
