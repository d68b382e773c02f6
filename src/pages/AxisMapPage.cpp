#include "pages/AxisMapPage.h"

#include "pages/ControlMembers.h"

#include <algorithm>
#include <cstdio>

namespace M = ControlMembers;
using namespace PageFields;

namespace {

constexpr char kList[] = "Axis Map";
constexpr char kAxis[] = "Axis No.";
constexpr char kAllInOne[] = "All in One";
constexpr char kOneForEach[] = "One for Each";
constexpr int kMaxAxis = 50;
constexpr std::size_t kMaxSelected = 50; // selected lines an axis number is applied to
constexpr std::size_t kNameShown = 20;   // longer variable names are cut

} // namespace

CAxisMapPage::CAxisMapPage(com::IDispatch& control, ui::IWindowSite& site)
    : CControlPage("AxisMap", control, site) {
    Add(List(kList, true));
    Add(Button(kAllInOne));
    Add(Button(kOneForEach));
    Add(Integer(kAxis, 0, kMaxAxis), "1");
}

void CAxisMapPage::Activate() {
    runPlot_ = control_.Bool(M::RunPlot);
    const int n = control_.Int(M::nvariables);
    axes_.clear();
    names_.clear();
    legends_.clear();
    for (int i = 0; i < n; ++i) {
        axes_.push_back(control_.CallInt(M::GetAxisMap, {CDispatchClient::I2(i)}));
        names_.push_back(control_.CallText(M::GetVariable, {CDispatchClient::I2(i)}));
        legends_.push_back(control_.CallText(M::GetLegend, {CDispatchClient::I2(i + 1)}));
    }
    ShowLines();
    Set(kList, n > 0 ? "0" : "");
    if (n > 0) Set(kAxis, std::to_string(axes_.front()));
}

void CAxisMapPage::ShowLines() {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < axes_.size(); ++i) {
        char text[512];
        if (runPlot_) {
            std::snprintf(text, sizeof text, "%2d : %s", axes_[i], legends_[i].c_str());
        } else {
            std::string name = names_[i];
            if (name.size() > kNameShown) name = name.substr(0, kNameShown) + "...";
            std::snprintf(text, sizeof text, "%2d %s: %s", axes_[i], name.c_str(),
                          legends_[i].c_str());
        }
        lines.push_back(text);
    }
    SetEntries(kList, std::move(lines));
}

void CAxisMapPage::OnEdit(const std::string& caption) {
    std::vector<int> selected = Selection(kList);
    if (selected.size() > kMaxSelected) selected.resize(kMaxSelected);
    if (caption == kList) {
        if (!selected.empty() && selected.front() < int(axes_.size()))
            Set(kAxis, std::to_string(axes_[std::size_t(selected.front())]));
        return;
    }
    const int axis = Index(kAxis);
    if (caption != kAxis || axis < 0 || axis > kMaxAxis) return;
    for (int line : selected)
        if (line >= 0 && line < int(axes_.size())) axes_[std::size_t(line)] = axis;
    ShowLines();
}

void CAxisMapPage::OnPress(const std::string& caption) {
    for (std::size_t i = 0; i < axes_.size(); ++i) {
        if (caption == kAllInOne) axes_[i] = 1;
        if (caption == kOneForEach) axes_[i] = int(i) + 1;
    }
    ShowLines();
}

void CAxisMapPage::Compact(std::vector<int>& axes) {
    const int highest = axes.empty() ? 0 : *std::max_element(axes.begin(), axes.end());
    for (int k = 1, top = highest; k <= top;) {
        if (std::find(axes.begin(), axes.end(), k) != axes.end()) {
            ++k;
            continue;
        }
        // Nobody uses k: the numbers above it move down by one.
        for (int& a : axes)
            if (a > k) --a;
        --top;
    }
}

void CAxisMapPage::DoApply() {
    if (control_.Bool(M::Flipped)) std::fill(axes_.begin(), axes_.end(), 1);
    Compact(axes_);
    bool called = false;
    for (std::size_t k = 0; k < axes_.size(); ++k) {
        const auto var = CDispatchClient::I2(int(k));
        if (axes_[k] == control_.CallInt(M::GetAxisMap, {var})) continue;
        control_.Call(M::SetAxisMap, {var, CDispatchClient::I2(axes_[k])});
        called = true;
    }
    // The mapping is complete: the control rebuilds its axes.
    if (called) control_.Call(M::SetAxisMap, {CDispatchClient::I2(-1), CDispatchClient::I2(0)});
    ShowLines();
}
