#pragma once
#include "pages/ControlPage.h"

// The "Config" page: plot type, multi-Y axis, run plot, number of variables, input file and
// use-variable mode. Offered at design time only.
class CTrendixPropPage : public CControlPage {
public:
    CTrendixPropPage(com::IDispatch& control, ui::IWindowSite& site);
    void Activate() override;

private:
    void OnPress(const std::string& caption) override;
    void DoApply() override;
    int nvariables_ = 0;
    int plotType_ = 0;
};
