#include "pages/VariablePage.h"

#include "pages/ControlMembers.h"

namespace M = ControlMembers;
using namespace PageFields;

namespace {

constexpr char kName[] = "Variable Name";
constexpr char kList[] = "Variables";
constexpr char kBefore[] = "Insert Before >>";
constexpr char kAfter[] = "Insert After >>";
constexpr char kRemove[] = "Remove";
constexpr char kReplace[] = "Replace >>";
constexpr char kXAxis[] = "X axis";
constexpr char kXVariable[] = "X variable";

} // namespace

CVariablePage::CVariablePage(com::IDispatch& control, ui::IWindowSite& site)
    : CControlPage("Variable", control, site) {
    Add(Text(kName));
    Add(Button(kBefore));
    Add(Button(kAfter));
    Add(Button(kRemove));
    Add(Button(kReplace));
    ui::Field list = List(kList);
    list.unlabelled = true;
    Add(list);
    Add(Radio(kXAxis, {"X - axis is time", "Specify X- axis variable"}, kXAxis), "0");
    ui::Field x = Text(kXVariable, kXAxis);
    x.unlabelled = true;
    Add(x);
    Add(Note("Note: Changes go into effect when you close this window"));
}

void CVariablePage::Activate() {
    const int n = control_.Int(M::nvariables);
    names_.clear();
    for (int i = 0; i < n; ++i)
        names_.push_back(control_.CallText(M::GetVariable, {CDispatchClient::I2(i)}));
    SetEntries(kList, names_);
    Set(kList, n > 0 ? "0" : "");
    xName_ = control_.CallText(M::GetPhaseXVariable, {});
    xChoice_ = xName_.empty() ? 0 : 1;
    Set(kXAxis, std::to_string(xChoice_));
    Set(kXVariable, xName_);
    applied_ = false;
}

void CVariablePage::OnEdit(const std::string& caption) {
    const int line = Selected(kList);
    if (caption == kList && line >= 0 && line < int(names_.size()))
        Set(kName, names_[std::size_t(line)]);
}

void CVariablePage::OnPress(const std::string& caption) {
    const int line = Selected(kList);
    const bool onLine = line >= 0 && line < int(names_.size());
    const std::string name = Value(kName);
    int select = line;
    if (caption == kBefore && !name.empty()) {
        select = onLine ? line : 0;
        names_.insert(names_.begin() + select, name);
    } else if (caption == kAfter && !name.empty()) {
        select = onLine ? line + 1 : int(names_.size());
        names_.insert(names_.begin() + select, name);
    } else if (caption == kRemove && onLine) {
        names_.erase(names_.begin() + line);
        select = std::min(line, int(names_.size()) - 1);
    } else if (caption == kReplace && onLine && !name.empty()) {
        names_[std::size_t(line)] = name;
    }
    SetEntries(kList, names_);
    Set(kList, select >= 0 ? std::to_string(select) : std::string());
}

void CVariablePage::DoApply() {
    applied_ = true;
    const int choice = Index(kXAxis) == 1 ? 1 : 0;
    const std::string name = choice == 1 ? Value(kXVariable) : std::string();
    if (choice != xChoice_ || name != xName_)
        control_.Call(M::FirePhasePlot, {com::Variant::Str(name)});
    xChoice_ = choice;
    xName_ = name;
}

void CVariablePage::Closed() {
    if (!applied_) return;
    applied_ = false;
    const int count = control_.Int(M::nvariables);
    if (int(names_.size()) > count)
        control_.Put(M::nvariables, CDispatchClient::I2(int(names_.size())));
    const int now = control_.Int(M::nvariables);
    for (int i = 0; i < now; ++i) {
        const std::string name = i < int(names_.size()) ? names_[std::size_t(i)] : std::string();
        const auto index = CDispatchClient::I2(i);
        if (control_.CallText(M::GetVariable, {index}) != name)
            control_.Call(M::SetVariable, {index, com::Variant::Str(name)});
    }
}
