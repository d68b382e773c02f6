// The "Input" dialog: one prompt and one edit.
#include "pages/PlotSimpleInputDlg.h"

#include "pages/ControlPage.h"

#include <utility>

namespace {

constexpr char kEdit[] = "Text";

} // namespace

CPlotSimpleInputDlg::CPlotSimpleInputDlg(std::string prompt, std::string text,
                                         ui::IWindowSite& site)
    : CPageModel(kCaption, site), text_(std::move(text)) {
    Add(PageFields::Note(std::move(prompt)));
    ui::Field edit = PageFields::Text(kEdit);
    edit.unlabelled = true;
    Add(edit);
}

void CPlotSimpleInputDlg::Activate() {
    Set(kEdit, text_);
}

void CPlotSimpleInputDlg::DoApply() {
    text_ = Value(kEdit);
}
