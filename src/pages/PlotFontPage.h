#pragma once
#include "model/FontSetting.h"
#include "pages/PageModel.h"

// The "Font" page of the edit sheets: face, size, style and underscore of the edited
// element's font. A face left empty or a size out of range keeps the old value.
class CPlotFontPage : public CPageModel {
public:
    static constexpr char kFace[] = "Font";
    static constexpr char kSize[] = "Size";
    static constexpr char kStyle[] = "Style";
    static constexpr char kUnderscore[] = "Underscore";

    CPlotFontPage(FontSetting& setting, ui::IWindowSite& site);
    void Activate() override;

private:
    void DoApply() override;
    FontSetting& setting_;
};
