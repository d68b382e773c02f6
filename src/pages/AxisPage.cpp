#include "pages/AxisPage.h"

#include "pages/ControlMembers.h"
#include "pages/Multiplier.h"

#include <cmath>

namespace M = ControlMembers;
using namespace PageFields;

namespace {

constexpr char kX[] = "X";
constexpr char kY[] = "Y";
constexpr char kIndex[] = "Index";
const std::vector<std::string> kScales = {"Linear", "Log", "Inverse", "Probability"};

std::string Key(const char* side, const char* what) {
    return std::string(side) + " " + what;
}

std::string Group(const char* side) {
    return std::string(side) + " axis";
}

} // namespace

CAxisPage::CAxisPage(com::IDispatch& control, ui::IWindowSite& site)
    : CControlPage("Axis", control, site) {
    for (const char* side : {kX, kY}) {
        Add(Number(Key(side, "Minimum"), "Minimum", Group(side)));
        Add(Number(Key(side, "Maximum"), "Maximum", Group(side)));
        Add(Number(Key(side, "Multiplier"), "Multiplier", Group(side)), "0");
        ui::Field scale = Choice(Key(side, "Scale"), kScales);
        scale.label = "Scale";
        scale.group = Group(side);
        Add(scale, "0");
    }
    Add(Integer(kIndex, 1, 1, Group(kY)), "1");
    Add(Check("Reset axis range to data", Group(kY)), "0");
    Add(Note("Please go to the Runtime page for time axis setup."));
}

CAxisPage::AxisEdit CAxisPage::Read(int axisNo) {
    const auto axis = CDispatchClient::I2(axisNo);
    com::Variant low = com::Variant::R8(0), high = com::Variant::R8(0), mode = com::Variant::I2(0);
    control_.Call(M::GetAxisRange, {axis, com::Variant::Ref(&low), com::Variant::Ref(&high)});
    AxisEdit e;
    e.shownMultiplier = control_.CallInt(M::GetMultiplier, {axis});
    const double c = Multiplier::Factor(e.shownMultiplier);
    e.low = NumberText(CDispatchClient::RealOf(low) * c);
    e.high = NumberText(CDispatchClient::RealOf(high) * c);
    e.multiplier = std::to_string(e.shownMultiplier);
    e.scale = control_.CallInt(M::GetScale, {axis});
    if (axisNo > 0) {
        control_.Call(M::GetAxisMode, {axis, CDispatchClient::I2(0), com::Variant::Ref(&mode)});
        e.reset = CDispatchClient::IntOf(mode) != 0;
    }
    return e;
}

void CAxisPage::Show(const char* side, const AxisEdit& e) {
    Set(Key(side, "Minimum"), e.low);
    Set(Key(side, "Maximum"), e.high);
    Set(Key(side, "Multiplier"), e.multiplier);
    Set(Key(side, "Scale"), std::to_string(e.scale));
    if (side == kY) Set("Reset axis range to data", e.reset ? "1" : "0");
}

void CAxisPage::Take(const char* side, AxisEdit& e) const {
    e.low = Value(Key(side, "Minimum"));
    e.high = Value(Key(side, "Maximum"));
    e.multiplier = Value(Key(side, "Multiplier"));
    e.scale = Index(Key(side, "Scale"));
    if (side == kY) e.reset = Checked("Reset axis range to data");
}

void CAxisPage::Activate() {
    runPlot_ = control_.Bool(M::RunPlot);
    x_ = Read(0);
    Show(kX, x_);
    const int ny = control_.CallInt(M::GetNYaxes, {});
    y_.clear();
    for (int i = 1; i <= ny; ++i)
        y_.push_back(Read(i));
    shownY_ = 1;
    SetRange(kIndex, 1, std::max(ny, 1));
    Set(kIndex, "1");
    if (!y_.empty()) Show(kY, y_.front());
}

void CAxisPage::OnEdit(const std::string& caption) {
    if (caption == kIndex) {
        const int i = Index(kIndex);
        if (i < 1 || i > int(y_.size())) return;
        shownY_ = i;
        Show(kY, y_[std::size_t(i - 1)]);
        return;
    }
    if (caption.rfind(kX, 0) == 0) {
        Take(kX, x_);
        x_.changed = true;
    } else if (shownY_ >= 1 && shownY_ <= int(y_.size())) {
        AxisEdit& e = y_[std::size_t(shownY_ - 1)];
        Take(kY, e);
        e.changed = true;
    }
}

void CAxisPage::ApplyAxis(int axisNo, AxisEdit& e) {
    const bool isX = axisNo == 0;
    const auto axis = CDispatchClient::I2(axisNo);
    const std::optional<double> typed = ParseNumber(e.multiplier);
    int m = typed ? int(std::lround(*typed)) : 0;
    // 1. The range, in the units the multiplier shows.
    const std::optional<double> low = ReadNumber(Key(isX ? kX : kY, "Minimum"), e.low);
    const std::optional<double> high = ReadNumber(Key(isX ? kX : kY, "Maximum"), e.high);
    if (low && high) {
        if (*low < *high) {
            const double c = Multiplier::Factor(m);
            control_.Call(M::SetAxisRange,
                          {axis, com::Variant::R8(*low / c), com::Variant::R8(*high / c)});
        } else {
            Message(isX ? "Error in the X-Axis Range:\nMin. Value must be less than Max. Value."
                        : "Error in the Y-Axis Range:\nMin. Value must be less than Max. Value.");
        }
    }
    // 2. The multiplier.
    if (!typed || !Multiplier::InRange(m)) {
        Message(isX ? "Error in the X-axis Multiplier:\nRange must be: -30 <= Multiplier <= 30"
                    : "Error in the Y-axis Multiplier:\nRange must be: -30 <= Multiplier <= 30");
        m = 0;
    }
    // 3. Multiplier, scale and the reset-to-data mode.
    control_.Call(M::SetMultiplier, {axis, CDispatchClient::I2(m)});
    control_.Call(M::SetScale, {axis, CDispatchClient::I2(e.scale)});
    if (!isX)
        control_.Call(M::SetAxisMode, {axis, CDispatchClient::I2(0), CDispatchClient::I2(e.reset)});
    // 4. The range values follow a new multiplier.
    if (m != e.shownMultiplier) {
        const double ratio = std::pow(10.0, m - e.shownMultiplier);
        if (low) e.low = NumberText(*low * ratio);
        if (high) e.high = NumberText(*high * ratio);
        e.shownMultiplier = m;
    }
    e.multiplier = std::to_string(m);
    e.changed = false;
}

void CAxisPage::DoApply() {
    if (!runPlot_) ApplyAxis(0, x_);
    for (std::size_t i = 0; i < y_.size(); ++i)
        if (y_[i].changed || int(i) + 1 == shownY_) ApplyAxis(int(i) + 1, y_[i]);
    Show(kX, x_);
    if (shownY_ >= 1 && shownY_ <= int(y_.size())) Show(kY, y_[std::size_t(shownY_ - 1)]);
}
