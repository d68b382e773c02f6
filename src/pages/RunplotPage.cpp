#include "pages/RunplotPage.h"

#include "pages/ControlMembers.h"
#include "pages/Multiplier.h"

#include <cmath>

namespace M = ControlMembers;
using namespace PageFields;

namespace {

constexpr char kWindow[] = "Time Window";
constexpr char kScroll[] = "Scroll Unit";
constexpr char kMin[] = "Minimum";
constexpr char kMax[] = "Maximum";
constexpr char kMultiplier[] = "Multiplier";
constexpr char kType[] = "Multiplier type";
constexpr char kFull[] = "Allways Show Full";
constexpr double kTolerance = 1e-6;

} // namespace

CRunplotPage::CRunplotPage(com::IDispatch& control, ui::IWindowSite& site)
    : CControlPage("Runtime", control, site) {
    Add(Number(kWindow, kWindow));
    Add(Number(kScroll, kScroll));
    Add(Number(kMin, kMin, "Time axis"));
    Add(Number(kMax, kMax, "Time axis"));
    Add(Number(kMultiplier, kMultiplier, kMultiplier), "0");
    ui::Field type = Radio(kType, {"Exponential (Base 10)", "Literal"}, kMultiplier);
    Add(type, "0");
    Add(Check(kFull), "0");
}

void CRunplotPage::Activate() {
    window_ = control_.Real(M::TimeWindow);
    scrollUnit_ = control_.Real(M::TimeScrollUnit);
    multiplier_ = control_.CallInt(M::GetMultiplier, {CDispatchClient::I2(0)});
    type_ = control_.CallInt(M::GetMultiplierType, {CDispatchClient::I2(0)});
    const double c = Multiplier::Factor(multiplier_, type_);
    com::Variant low = com::Variant::R8(0), high = com::Variant::R8(0);
    control_.Call(M::GetAxisRange,
                  {CDispatchClient::I2(0), com::Variant::Ref(&low), com::Variant::Ref(&high)});
    Set(kWindow, NumberText(window_));
    Set(kScroll, NumberText(scrollUnit_));
    Set(kMin, NumberText(CDispatchClient::RealOf(low) * c));
    Set(kMax, NumberText(CDispatchClient::RealOf(high) * c));
    Set(kMultiplier, std::to_string(multiplier_));
    Set(kType, type_ == Multiplier::kExponential ? "0" : "1");
    Set(kFull, control_.Bool(M::AlwaysShowFull) ? "1" : "0");
}

void CRunplotPage::DoApply() {
    window_ = control_.Real(M::TimeWindow);
    const double c = Multiplier::Factor(multiplier_, type_);
    const bool windowSet = ApplyWindow();
    ApplyScrollUnit();
    control_.Put(M::AlwaysShowFull, com::Variant::Bool(Checked(kFull)));
    ApplyRange(c, windowSet);
    ApplyMultiplier(c);
}

bool CRunplotPage::ApplyWindow() {
    const std::optional<double> w = ReadNumber(kWindow);
    if (!w || std::fabs(*w - window_) <= kTolerance) return false;
    if (*w <= 0) {
        Message("Error in the Time Window value:\nTime Window must be positive value.\n"
                "The old value will be restored.");
        Set(kWindow, NumberText(window_));
        return false;
    }
    control_.Put(M::TimeWindow, com::Variant::R4(float(*w)));
    window_ = control_.Real(M::TimeWindow);
    // The range ends one window after its start: (minimum x c + window) / c, shown x c.
    if (const std::optional<double> low = ParseNumber(Value(kMin)))
        Set(kMax, NumberText(*low + *w));
    return true;
}

void CRunplotPage::ApplyScrollUnit() {
    const std::optional<double> unit = ReadNumber(kScroll);
    if (!unit) return;
    if (!(*unit > 0 && *unit < window_)) {
        Message("Error in the Scroll Unit value:\nRange must be: 0 < Scroll Unit < Time "
                "Window\nThe old value will be restored.");
        Set(kScroll, NumberText(scrollUnit_));
        return;
    }
    control_.Put(M::TimeScrollUnit, com::Variant::R4(float(*unit)));
    scrollUnit_ = control_.Real(M::TimeScrollUnit);
}

void CRunplotPage::ApplyRange(double factor, bool windowSet) {
    const std::optional<double> low = ReadNumber(kMin);
    const std::optional<double> high = ReadNumber(kMax);
    if (!low || !high) return;
    if (!(*low < *high)) {
        Message("Error in the Time Axis Range:\nMin. Value must be less than Max. Value.");
        return;
    }
    control_.Call(M::SetAxisRange, {CDispatchClient::I2(0), com::Variant::R8(*low / factor),
                                    com::Variant::R8(*high / factor)});
    const double width = (*high - *low) / factor;
    if (!windowSet && std::fabs(width - window_) > kTolerance) {
        control_.Put(M::TimeWindow, com::Variant::R4(float(width)));
        window_ = control_.Real(M::TimeWindow);
        Set(kWindow, NumberText(window_));
    }
}

void CRunplotPage::ApplyMultiplier(double oldFactor) {
    const int type = Index(kType) == 1 ? Multiplier::kLiteral : Multiplier::kExponential;
    if (type != type_)
        control_.Call(M::SetMultiplierType, {CDispatchClient::I2(0), CDispatchClient::I2(type)});
    const std::optional<double> typed = ParseNumber(Value(kMultiplier));
    int m = typed ? int(std::lround(*typed)) : 0;
    if (type == Multiplier::kExponential && (!typed || !Multiplier::InRange(m))) {
        Message("Error in the Multiplier:\nRange must be: -30 <= Multiplier <= 30\nif it is an "
                "exponent value.");
        m = 0;
    }
    control_.Call(M::SetMultiplier, {CDispatchClient::I2(0), CDispatchClient::I2(m)});
    if (m != multiplier_ || type != type_) {
        // The shown values follow the new factor.
        const double ratio = Multiplier::Factor(m, type) / oldFactor;
        for (const char* edit : {kMin, kMax})
            if (const std::optional<double> v = ParseNumber(Value(edit)))
                Set(edit, NumberText(*v * ratio));
    }
    multiplier_ = m;
    type_ = type;
    Set(kMultiplier, std::to_string(m));
}
