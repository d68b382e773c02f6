#pragma once
#include "pages/ControlPage.h"

// The "Legend" page: the legend text of each variable, the legend's visibility and the
// automatic legends of profile plots.
class CLegendPage : public CControlPage {
public:
    CLegendPage(com::IDispatch& control, ui::IWindowSite& site);
    void Activate() override;

private:
    void OnEdit(const std::string& caption) override;
    void OnPress(const std::string& caption) override;
    void DoApply() override;
    std::vector<std::string> legends_;
};
