#include "pages/LegendPage.h"

#include "pages/ControlMembers.h"

namespace M = ControlMembers;
using namespace PageFields;

namespace {

constexpr char kList[] = "Legend Text";
constexpr char kEdit[] = "Legend";
constexpr char kReplace[] = "Replace";
constexpr char kShow[] = "Show Legend";
constexpr char kNoAuto[] = "Don't automatically generate legends for profile plots";

} // namespace

CLegendPage::CLegendPage(com::IDispatch& control, ui::IWindowSite& site)
    : CControlPage("Legend", control, site) {
    Add(List(kList));
    ui::Field edit = Text(kEdit);
    edit.unlabelled = true; // the edit sits under the list
    Add(edit);
    Add(Button(kReplace));
    Add(Check(kShow), "0");
    Add(Check(kNoAuto), "0");
}

void CLegendPage::Activate() {
    const int n = control_.Int(M::nvariables);
    legends_.clear();
    for (int i = 0; i < n; ++i)
        legends_.push_back(control_.CallText(M::GetLegend, {CDispatchClient::I2(i + 1)}));
    SetEntries(kList, legends_);
    Set(kList, n > 0 ? "0" : "");
    Set(kEdit, legends_.empty() ? std::string() : legends_.front());
    Set(kShow, control_.Bool(M::ShowLegend) ? "1" : "0");
    Set(kNoAuto, control_.Bool(M::IgnoreSetLegend) ? "1" : "0");
}

void CLegendPage::OnEdit(const std::string& caption) {
    const int line = Selected(kList);
    if (caption == kList && line >= 0 && line < int(legends_.size()))
        Set(kEdit, legends_[std::size_t(line)]);
}

void CLegendPage::OnPress(const std::string& caption) {
    const int line = Selected(kList);
    if (caption != kReplace || line < 0 || line >= int(legends_.size())) return;
    legends_[std::size_t(line)] = Value(kEdit);
    SetEntries(kList, legends_);
}

void CLegendPage::DoApply() {
    for (std::size_t i = 0; i < legends_.size(); ++i)
        control_.Call(M::SetLegend,
                      {CDispatchClient::I2(int(i) + 1), com::Variant::Str(legends_[i])});
    control_.Put(M::ShowLegend, com::Variant::Bool(Checked(kShow)));
    if (control_.Bool(M::EditProfileVariables))
        control_.Put(M::IgnoreSetLegend, com::Variant::Bool(Checked(kNoAuto)));
}
