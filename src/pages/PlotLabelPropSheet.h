#pragma once
#include "pages/PlotFontPage.h"
#include "pages/PlotPropSheet.h"

#include <string>
#include <vector>

// What the label sheet edits: the text of a title, axis or corner label, or, chosen with the
// "Var. No." spin, the legend of one variable; and the label's font.
struct LabelSetting {
    bool title = false;               // the title rather than an axis or corner label
    std::string text;                 // the label's text
    std::vector<std::string> legends; // the legends of variables 1..n
    int varNo = 0;                    // after apply: 0 the label was replaced, else that legend
    FontSetting font;
};

// The "Plot Title Label Setting" or "Plot Axis Label Setting" sheet: "Text" and the font page.
class CPlotLabelPropSheet : public CPlotPropSheet {
public:
    static constexpr char kTitleCaption[] = "Plot Title Label Setting";
    static constexpr char kAxisCaption[] = "Plot Axis Label Setting";

    CPlotLabelPropSheet(const LabelSetting& setting, ui::IWindowSite& site);
    const char* Caption() const { return setting_.title ? kTitleCaption : kAxisCaption; }
    const LabelSetting& Setting() const { return setting_; }

private:
    LabelSetting setting_;
};
