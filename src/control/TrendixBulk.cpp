// Blocks of live samples for typed hosts: the road of AddTimeData, with the time axis
// followed once per block instead of once per sample.
#include "control/TrendixCtrl.h"

void CTrendixCtrl::AddTimeBlock(std::span<const double> times, std::span<const double> values,
                                int firstVar) {
    CPlotLook& m = EnsureModel();
    if (times.empty()) return;
    if (m.AddTimeBlock(times, values, firstVar)) dataAdded_ = true;
    FollowTimeAxis(times.back());
}

void CTrendixCtrl::FollowTimeAxis(double time) {
    CPlotLook& m = EnsureModel();
    if (!m.AdvanceTimeAxisIfNeeded()) return;
    // Flag the model before the host hears of it: a handler of Zoomed may replace the model
    // (Clear), and m must not be touched after that.
    m.timeScrolled = 1;
    LiveUpdate(time);
    UpdateScrollState(true);
    scrolled_ = true;
}
