#pragma once
#include "pages/ControlPage.h"

// The "Runtime" page of run plots: time window, scroll unit, the time axis range and its
// multiplier, and always showing the full time axis.
class CRunplotPage : public CControlPage {
public:
    CRunplotPage(com::IDispatch& control, ui::IWindowSite& site);
    void Activate() override;

private:
    void DoApply() override;
    // Steps of the apply, in order; each answers what the later steps need.
    bool ApplyWindow();
    void ApplyScrollUnit();
    void ApplyRange(double factor, bool windowSet);
    void ApplyMultiplier(double oldFactor);

    double window_ = 0, scrollUnit_ = 0;
    int multiplier_ = 0, type_ = 0;
};
