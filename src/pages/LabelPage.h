#pragma once
#include "pages/ControlPage.h"

#include <set>

// The "Label" page: the title, the X label and the label of each Y axis (of each variable's
// legend on a run plot).
class CLabelPage : public CControlPage {
public:
    CLabelPage(com::IDispatch& control, ui::IWindowSite& site);
    void Activate() override;

private:
    void OnEdit(const std::string& caption) override;
    void DoApply() override;

    bool runPlot_ = false;
    int shown_ = 1;                  // the index whose text the Y edit shows
    std::vector<std::string> texts_; // the Y texts by index - 1
    std::set<int> changed_;          // indices whose text the user changed
};
