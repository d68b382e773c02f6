#pragma once
#include "pages/PlotFontPage.h"
#include "pages/PlotPropSheet.h"

#include <string>

// What the page-layout sheet edits: the header and footer printed around the plot.
struct LayoutSetting {
    bool header = false, footer = false;
    int headerAlignment = 0, footerAlignment = 0; // 0 left, 1 centre, 2 right
    std::string headerText, footerText;
    FontSetting font;
    bool operator==(const LayoutSetting&) const = default;
};

// The "Plot Layout" sheet: "Header/Footer" and the font page. It is a model only until the
// control keeps page-layout settings (PageLayout is not available yet).
class CPlotLayoutPropSheet : public CPlotPropSheet {
public:
    static constexpr char kCaption[] = "Plot Layout";

    CPlotLayoutPropSheet(const LayoutSetting& setting, ui::IWindowSite& site);
    const LayoutSetting& Setting() const { return setting_; }

private:
    LayoutSetting setting_;
};
