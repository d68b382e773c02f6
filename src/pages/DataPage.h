#pragma once
#include "pages/ControlPage.h"

// The "Data" page of run and phase plots: loading of results for all time points and the
// plotting interval in communication intervals.
class CDataPage : public CControlPage {
public:
    CDataPage(com::IDispatch& control, ui::IWindowSite& site);
    void Activate() override;

private:
    void OnPress(const std::string& caption) override;
    void DoApply() override;
};
