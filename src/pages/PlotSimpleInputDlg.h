#pragma once
#include "pages/PageModel.h"

#include <string>

// The "Input" dialog: one prompt and one edit.
class CPlotSimpleInputDlg : public CPageModel {
public:
    static constexpr char kCaption[] = "Input";
    CPlotSimpleInputDlg(std::string prompt, std::string text, ui::IWindowSite& site);
    void Activate() override;
    // The edit's text (after an apply).
    const std::string& Text() const { return text_; }

private:
    void DoApply() override;
    std::string text_;
};
