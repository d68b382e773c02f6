#pragma once
#include "model/PageLayout.h"
#include "pages/PlotFontPage.h"
#include "pages/PlotPropSheet.h"

// The "Plot Layout" sheet: "Header/Footer" and the font page, over the control's page layout.
class CPlotLayoutPropSheet : public CPlotPropSheet {
public:
    static constexpr char kCaption[] = "Plot Layout";

    CPlotLayoutPropSheet(const LayoutSetting& setting, ui::IWindowSite& site);
    const LayoutSetting& Setting() const { return setting_; }

private:
    LayoutSetting setting_;
};
