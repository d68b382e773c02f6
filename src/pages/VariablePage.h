#pragma once
#include "pages/ControlPage.h"

// The "Variable" page: the list of variable names, and time or a variable on the X axis.
// The names go to the control when the page closes after an apply.
class CVariablePage : public CControlPage {
public:
    CVariablePage(com::IDispatch& control, ui::IWindowSite& site);
    void Activate() override;
    void Closed() override;

private:
    void OnEdit(const std::string& caption) override;
    void OnPress(const std::string& caption) override;
    void DoApply() override;

    std::vector<std::string> names_;
    bool applied_ = false;
    int xChoice_ = 0;
    std::string xName_;
};
