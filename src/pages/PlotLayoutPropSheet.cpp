// The page-layout sheet: header and footer switches, texts and alignments, and the font page.
#include "pages/PlotLayoutPropSheet.h"

#include "pages/ControlPage.h"

#include <algorithm>

using namespace PageFields;

namespace {

// The fields of one of the two lines, named after it.
struct Line {
    const char* on;
    const char* text;
    const char* alignment;
};
constexpr Line kHeader{"Header", "Header Text", "Header Alignment"};
constexpr Line kFooter{"Footer", "Footer Text", "Footer Alignment"};

// "Header/Footer": a switch, a text and an alignment for each line.
class CPlotLayoutPage : public CPageModel {
public:
    CPlotLayoutPage(LayoutSetting& setting, ui::IWindowSite& site)
        : CPageModel("Header/Footer", site), setting_(setting) {
        for (const Line& line : {kHeader, kFooter}) {
            Add(Check(line.on));
            ui::Field text = Text(line.text);
            text.unlabelled = true;
            Add(text);
            ui::Field alignment = Radio(line.alignment, {"Left", "Center", "Right"});
            alignment.unlabelled = true;
            Add(alignment);
        }
    }
    void Activate() override {
        Show(kHeader, setting_.header, setting_.headerText, setting_.headerAlignment);
        Show(kFooter, setting_.footer, setting_.footerText, setting_.footerAlignment);
    }

private:
    void Show(const Line& line, bool on, const std::string& text, int alignment) {
        Set(line.on, on ? "1" : "0");
        Set(line.text, text);
        Set(line.alignment, std::to_string(alignment));
    }
    void Take(const Line& line, bool& on, std::string& text, int& alignment) const {
        on = Checked(line.on);
        text = Value(line.text);
        alignment = std::clamp(Index(line.alignment), 0, 2);
    }
    void DoApply() override {
        Take(kHeader, setting_.header, setting_.headerText, setting_.headerAlignment);
        Take(kFooter, setting_.footer, setting_.footerText, setting_.footerAlignment);
    }
    LayoutSetting& setting_;
};

} // namespace

CPlotLayoutPropSheet::CPlotLayoutPropSheet(const LayoutSetting& setting, ui::IWindowSite& site)
    : setting_(setting) {
    AddPage(std::make_unique<CPlotLayoutPage>(setting_, site));
    AddPage(std::make_unique<CPlotFontPage>(setting_.font, site));
}
