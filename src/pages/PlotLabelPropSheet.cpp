// The label sheet: the label's text, or a variable's legend, and the font page.
#include "pages/PlotLabelPropSheet.h"

#include "pages/ControlPage.h"

using namespace PageFields;

namespace {

// "Text": the text edit and the "Var. No." spin; 0 edits the label itself.
class CPlotTextPage : public CPageModel {
public:
    static constexpr char kText[] = "Text";
    static constexpr char kVarNo[] = "Var. No.";

    CPlotTextPage(LabelSetting& setting, ui::IWindowSite& site)
        : CPageModel("Text", site), setting_(setting) {
        Add(Text(kText));
        Add(Integer(kVarNo, 0, int(setting_.legends.size())));
    }
    void Activate() override {
        Set(kVarNo, "0");
        Set(kText, setting_.text);
    }

private:
    // The spin shows the text it now stands for.
    void OnEdit(const std::string& caption) override {
        if (caption != kVarNo) return;
        const int k = Index(kVarNo);
        if (k == 0) Set(kText, setting_.text);
        if (k >= 1 && k <= int(setting_.legends.size()))
            Set(kText, setting_.legends[std::size_t(k - 1)]);
    }
    void DoApply() override {
        const int k = Index(kVarNo);
        if (k >= 1 && k <= int(setting_.legends.size())) {
            setting_.legends[std::size_t(k - 1)] = Value(kText);
            setting_.varNo = k;
            return;
        }
        setting_.text = Value(kText);
        setting_.varNo = 0;
    }
    LabelSetting& setting_;
};

} // namespace

CPlotLabelPropSheet::CPlotLabelPropSheet(const LabelSetting& setting, ui::IWindowSite& site)
    : setting_(setting) {
    AddPage(std::make_unique<CPlotTextPage>(setting_, site));
    AddPage(std::make_unique<CPlotFontPage>(setting_.font, site));
}
