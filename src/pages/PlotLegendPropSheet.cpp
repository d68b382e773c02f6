// The legend sheet: the list of legend texts with an edit that replaces the selected line,
// and the font page.
#include "pages/PlotLegendPropSheet.h"

#include "pages/ControlPage.h"

using namespace PageFields;

namespace {

// "Legend": the lines, an edit and "Replace".
class CPlotLegendPage : public CPageModel {
public:
    static constexpr char kLines[] = "Legend Text";
    static constexpr char kEdit[] = "Text";
    static constexpr char kReplace[] = "Replace";

    CPlotLegendPage(LegendSetting& setting, ui::IWindowSite& site)
        : CPageModel("Legend", site), setting_(setting) {
        Add(List(kLines));
        Add(Text(kEdit));
        Add(Button(kReplace));
    }
    void Activate() override {
        lines_ = setting_.legends;
        SetEntries(kLines, lines_);
        Set(kLines, lines_.empty() ? "" : "0");
        Set(kEdit, lines_.empty() ? "" : lines_.front());
    }

private:
    // A line picked in the list is shown in the edit.
    void OnEdit(const std::string& caption) override {
        const int k = Selected(kLines);
        if (caption == kLines && k >= 0 && k < int(lines_.size()))
            Set(kEdit, lines_[std::size_t(k)]);
    }
    void OnPress(const std::string& caption) override {
        const int k = Selected(kLines);
        if (caption != kReplace || k < 0 || k >= int(lines_.size())) return;
        lines_[std::size_t(k)] = Value(kEdit);
        SetEntries(kLines, lines_);
    }
    void DoApply() override { setting_.legends = lines_; }

    LegendSetting& setting_;
    std::vector<std::string> lines_;
};

} // namespace

CPlotLegendPropSheet::CPlotLegendPropSheet(const LegendSetting& setting, ui::IWindowSite& site)
    : setting_(setting) {
    AddPage(std::make_unique<CPlotLegendPage>(setting_, site));
    AddPage(std::make_unique<CPlotFontPage>(setting_.font, site));
}
