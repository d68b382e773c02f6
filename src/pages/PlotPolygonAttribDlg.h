#pragma once
#include "pages/PageModel.h"

// The attributes of a polygon as the polygon dialog edits them.
struct PolygonAttribSetting {
    int color = 0;
    int hatch = -1; // -1 not filled, 0 solid, 1..10 the hatches
    bool operator==(const PolygonAttribSetting&) const = default;
};

// The "Attributes" dialog of a polygon: colour and hatch.
class CPlotPolygonAttribDlg : public CPageModel {
public:
    static constexpr char kCaption[] = "Attributes";
    static constexpr char kColor[] = "Color";
    static constexpr char kHatch[] = "Hatch";

    CPlotPolygonAttribDlg(const PolygonAttribSetting& setting, ui::IWindowSite& site);
    void Activate() override;
    const PolygonAttribSetting& Setting() const { return setting_; }

private:
    void DoApply() override;
    PolygonAttribSetting setting_;
};
