// The "Hide Variables" dialog: two lists and the buttons that move entries between them.
#include "pages/PlotDelCurveDlg.h"

#include "pages/ControlPage.h"

#include <algorithm>
#include <utility>

using namespace PageFields;

namespace {

constexpr char kShown[] = "Shown Variables";
constexpr char kHidden[] = "Hidden Variables";
constexpr char kHide[] = "Hide >>";
constexpr char kShow[] = "<< Show";

} // namespace

CPlotDelCurveDlg::CPlotDelCurveDlg(std::vector<Variable> variables, ui::IWindowSite& site)
    : CPageModel(kCaption, site), variables_(std::move(variables)) {
    Add(List(kShown, true));
    Add(Button(kHide));
    Add(Button(kShow));
    Add(List(kHidden, true));
}

std::string CPlotDelCurveDlg::Entry(const Variable& v) {
    return std::to_string(v.number) + ":" + v.name;
}

void CPlotDelCurveDlg::Activate() {
    hidden_.clear();
    for (const Variable& v : variables_)
        hidden_.push_back(v.hidden);
    Fill();
}

void CPlotDelCurveDlg::Fill() {
    std::vector<std::string> shown, hidden;
    for (std::size_t i = 0; i < variables_.size(); ++i)
        (hidden_[i] ? hidden : shown).push_back(Entry(variables_[i]));
    SetEntries(kShown, std::move(shown));
    SetEntries(kHidden, std::move(hidden));
    Set(kShown, {});
    Set(kHidden, {});
}

void CPlotDelCurveDlg::Move(const char* from, bool hide) {
    const std::vector<int> picked = Selection(from);
    // The k-th entry of a list is the k-th variable with that list's state.
    int k = 0;
    std::vector<std::size_t> moving;
    for (std::size_t i = 0; i < variables_.size(); ++i) {
        if (hidden_[i] == hide) continue;
        if (std::find(picked.begin(), picked.end(), k) != picked.end()) moving.push_back(i);
        ++k;
    }
    for (std::size_t i : moving)
        hidden_[i] = hide;
    Fill();
}

void CPlotDelCurveDlg::OnPress(const std::string& caption) {
    if (caption == kHide)
        Move(kShown, true);
    else if (caption == kShow)
        Move(kHidden, false);
}

void CPlotDelCurveDlg::DoApply() {
    for (std::size_t i = 0; i < variables_.size(); ++i)
        variables_[i].hidden = hidden_[i];
}
