#include "pages/LabelPage.h"

#include "pages/ControlMembers.h"

namespace M = ControlMembers;
using namespace PageFields;

namespace {

constexpr char kTitle[] = "Title text";
constexpr char kXLabel[] = "X Label";
constexpr char kYLabel[] = "Y Label";
constexpr char kIndex[] = "Index";

} // namespace

CLabelPage::CLabelPage(com::IDispatch& control, ui::IWindowSite& site)
    : CControlPage("Label", control, site) {
    Add(Text(kTitle));
    ui::Field x = Text(kXLabel, "X axis");
    x.label = "Label:";
    Add(x);
    ui::Field y = Text(kYLabel, "Y axis");
    y.label = "Label:";
    Add(y);
    Add(Integer(kIndex, 1, 1, "Y axis"), "1");
}

void CLabelPage::Activate() {
    runPlot_ = control_.Bool(M::RunPlot);
    Set(kTitle, control_.Text(M::Title));
    Set(kXLabel, control_.Text(M::xlabel));
    const int count = runPlot_ ? control_.Int(M::nvariables) : control_.CallInt(M::GetNYaxes, {});
    texts_.clear();
    for (int i = 1; i <= count; ++i)
        texts_.push_back(
            control_.CallText(runPlot_ ? M::GetLegend : M::GetLabel, {CDispatchClient::I2(i)}));
    shown_ = 1;
    changed_.clear();
    Set(kIndex, "1");
    Set(kYLabel, texts_.empty() ? std::string() : texts_.front());
    SetRange(kIndex, 1, std::max(count, 1));
}

void CLabelPage::OnEdit(const std::string& caption) {
    const auto slot = [this](int i) { return i >= 1 && i <= int(texts_.size()); };
    if (caption == kYLabel && slot(shown_)) {
        texts_[std::size_t(shown_ - 1)] = Value(kYLabel);
        changed_.insert(shown_);
    } else if (caption == kIndex && slot(Index(kIndex))) {
        shown_ = Index(kIndex);
        Set(kYLabel, texts_[std::size_t(shown_ - 1)]);
    }
}

void CLabelPage::DoApply() {
    control_.Put(M::Title, com::Variant::Str(Value(kTitle)));
    control_.Put(M::xlabel, com::Variant::Str(Value(kXLabel)));
    for (int i : changed_)
        control_.Call(runPlot_ ? M::SetLegend : M::SetLabel,
                      {CDispatchClient::I2(i), com::Variant::Str(texts_[std::size_t(i - 1)])});
    changed_.clear();
}
