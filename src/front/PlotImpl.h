#pragma once
#include "control/TrendixCtrl.h"
#include "platform/ui/HeadlessSite.h"

#include <trendix/Plot.h>

#include <memory>

// What stands behind a trendix::Plot: the control it drives. A plot without a window owns a
// headless site and its control; a widget's plot borrows the widget's control.
struct trendix::Plot::Impl {
    // A control of its own in a headless site of width x height.
    Impl(int width, int height);
    // The control of a window that outlives the plot.
    explicit Impl(CTrendixCtrl& borrowed);

    CTrendixCtrl& control() { return *control_; }
    CPlotLook& model() { return control_->PlotModel(); }
    // Only a plot without a window sets its own size.
    bool OwnsWindow() const { return owned_ != nullptr; }

private:
    std::unique_ptr<ui::HeadlessSite> site_;
    std::unique_ptr<CTrendixCtrl> owned_;
    CTrendixCtrl* control_;
};
