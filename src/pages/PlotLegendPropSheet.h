#pragma once
#include "pages/PlotFontPage.h"
#include "pages/PlotPropSheet.h"

#include <string>
#include <vector>

// What the legend sheet edits: the legends of the visible variables, in model order, and the
// legend font.
struct LegendSetting {
    std::vector<std::string> legends;
    FontSetting font;
};

// The "Plot Legend Box" sheet: "Legend" and the font page.
class CPlotLegendPropSheet : public CPlotPropSheet {
public:
    static constexpr char kCaption[] = "Plot Legend Box";

    CPlotLegendPropSheet(const LegendSetting& setting, ui::IWindowSite& site);
    const LegendSetting& Setting() const { return setting_; }

private:
    LegendSetting setting_;
};
