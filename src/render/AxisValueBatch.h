#pragma once
#include "render/MissingValue.h"
#include "render/PlotAxis.h"

#include <cmath>

// The values a block of samples tells one axis. Where the order of the values cannot change
// what the axis ends with (CPlotAxis::WidensInAnyOrder), the block's smallest and largest
// value stand for all of them and the axis is widened once; a first value that starts the
// axis's range, and axes whose widening moves their working range, are told each value as
// it comes. The axis ends exactly as telling it every value in turn would leave it.
class CAxisValueBatch {
public:
    // Begins a block for axis (null: the values go nowhere).
    void Start(CPlotAxis* axis);
    // One value in the order of the samples; missing values leave the axis alone.
    void Add(double value, bool first) {
        if (!axis_ || !(value <= MISSING_THRESHOLD) || !std::isfinite(value)) return;
        if (!inAnyOrder_ || (first && !axis_->rangeSet)) {
            TellNow(value, first);
            return;
        }
        if (!pending_) {
            lo_ = hi_ = value;
            pending_ = true;
            return;
        }
        lo_ = value < lo_ ? value : lo_;
        hi_ = value > hi_ ? value : hi_;
    }
    // Tells the axis what is still pending; true when any value of the block widened it.
    bool Finish();

private:
    void Flush();
    void TellNow(double value, bool first);

    CPlotAxis* axis_ = nullptr;
    bool inAnyOrder_ = false;
    bool pending_ = false;
    bool grew_ = false;
    double lo_ = 0, hi_ = 0;
};
