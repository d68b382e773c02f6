#pragma once
#include "pages/PageModel.h"
#include "pages/PlotFontPage.h"
#include "pages/PlotPropSheet.h"

#include <memory>
#include <string>
#include <vector>

// What the text sheet edits: a text annotation's text, attributes and font.
struct AnnotationSetting : FontSetting {
    std::string text; // as the user typed it
    int color = 0;
    int angle = 0;      // degrees counter-clockwise, 0..359
    int alignment = 0;  // 0 left, 1 centre, 2 right
    int attachMode = 0; // 0 free, 1 data point, 2 axis, 3 field
    int arrowSize = 0;  // 0 none, 1 small, 2 medium, 3 large
    bool operator==(const AnnotationSetting&) const = default;
};

// The "Plot Text Setting" sheet over one text annotation: the "Text", "Attribute" and "Font"
// pages. Each page writes its part of the setting when it is applied.
class CPlotAnnotationPropSheet : public CPlotPropSheet {
public:
    static constexpr char kCaption[] = "Plot Text Setting";

    CPlotAnnotationPropSheet(const AnnotationSetting& setting, ui::IWindowSite& site);
    const AnnotationSetting& Setting() const { return setting_; }

private:
    AnnotationSetting setting_;
};
