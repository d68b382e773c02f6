#pragma once
#include "SimulatedProcess.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class TrendixWidget;

// Feeds a SimulatedProcess into a run plot in real time, as a simulation host does: every
// time step's values go in with AddTimeData, and the plot is redrawn a few times a second.
class ProcessDemo : public QObject {
    Q_OBJECT
public:
    ProcessDemo(TrendixWidget& view, int variables, double stepsPerSecond);

    // Makes the run plot (variables, legends, axes) and starts feeding.
    void Start();
    void Stop();
    long long Steps() const { return steps_; }
    long long Dropped() const { return dropped_; } // steps given up to keep up
    double StepsPerSecond() const { return rate_; }
    int Redraws() const { return redraws_; }

    static constexpr int kFeedMs = 10;
    static constexpr int kRedrawMs = 100;

private:
    void SetUpPlot();
    void Feed();
    void FeedDueSteps();
    void Redraw();
    template <typename Work>
    void Guarded(Work&& work) noexcept;

    TrendixWidget& view_;
    SimulatedProcess process_;
    double rate_;
    QTimer feed_, redraw_;
    QElapsedTimer clock_;
    long long steps_ = 0;
    long long dropped_ = 0;
    int redraws_ = 0;
};
