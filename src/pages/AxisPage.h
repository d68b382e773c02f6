#pragma once
#include "pages/ControlPage.h"

// The "Axis" page: range, multiplier and scale of the X axis and of each Y axis.
class CAxisPage : public CControlPage {
public:
    CAxisPage(com::IDispatch& control, ui::IWindowSite& site);
    void Activate() override;

private:
    // What the page holds for one axis, as the edits show it.
    struct AxisEdit {
        std::string low, high, multiplier;
        int scale = 0;
        bool reset = false;
        int shownMultiplier = 0; // the multiplier the range values are shown with
        bool changed = false;
    };
    AxisEdit Read(int axisNo);
    void Show(const char* side, const AxisEdit& e);
    void Take(const char* side, AxisEdit& e) const;
    void ApplyAxis(int axisNo, AxisEdit& e);
    void OnEdit(const std::string& caption) override;
    void DoApply() override;

    bool runPlot_ = false;
    AxisEdit x_;
    std::vector<AxisEdit> y_; // by Y axis number - 1
    int shownY_ = 1;
};
