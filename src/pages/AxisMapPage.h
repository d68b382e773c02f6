#pragma once
#include "pages/ControlPage.h"

// The "AxisMap" page: the Y axis each variable is drawn against.
class CAxisMapPage : public CControlPage {
public:
    CAxisMapPage(com::IDispatch& control, ui::IWindowSite& site);
    void Activate() override;

    // Renumbers the axes so that the numbers used run 1, 2, 3 ... without gaps; 0 (hidden)
    // stays 0.
    static void Compact(std::vector<int>& axes);

private:
    void OnEdit(const std::string& caption) override;
    void OnPress(const std::string& caption) override;
    void DoApply() override;
    void ShowLines();

    bool runPlot_ = false;
    std::vector<int> axes_;
    std::vector<std::string> names_, legends_;
};
