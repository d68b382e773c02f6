#include "pages/DataPage.h"

#include "pages/ControlMembers.h"

namespace M = ControlMembers;
using namespace PageFields;

namespace {

constexpr char kAlways[] = "Always load results for all time points";
constexpr char kLoadNow[] = "Load results for all time points now";
constexpr char kEvery[] = "Plot data every";
constexpr int kLowest = 1, kHighest = 999;

} // namespace

CDataPage::CDataPage(com::IDispatch& control, ui::IWindowSite& site)
    : CControlPage("Data", control, site) {
    Add(Check(kAlways), "0");
    Add(Button(kLoadNow));
    Add(Integer(kEvery, kLowest, kHighest), "1");
    Add(Beside(Note("Communication intervals")));
}

void CDataPage::Activate() {
    Set(kAlways, control_.Bool(M::SizeToData) ? "1" : "0");
    Set(kEvery, std::to_string(control_.Int(M::CommunicationIntervals)));
}

void CDataPage::OnPress(const std::string& caption) {
    if (caption == kLoadNow) control_.Call(M::FireReloadEvent, {});
}

void CDataPage::DoApply() {
    control_.Put(M::SizeToData, com::Variant::Bool(Checked(kAlways)));
    const int every = Index(kEvery);
    if (every >= kLowest && every <= kHighest)
        control_.Put(M::CommunicationIntervals, CDispatchClient::I2(every));
}
