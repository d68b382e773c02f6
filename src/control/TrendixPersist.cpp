// The control's persisted properties and its window's creation and destruction.
#include "control/TrendixCtrl.h"
#include "platform/com/PropExchange.h"

#include <algorithm>
#include <cmath>
#include <variant>

namespace {

// The property set's version, 1.6; data of any other version carries only the stock
// properties that this control reads.
constexpr std::uint32_t kPropertyVersion = 0x00010006;

constexpr std::uint32_t kDefaultBackColor = 0xFFFFFF;
constexpr std::uint32_t kDefaultForeColor = 0x000000;

using Member = std::variant<std::string TrendixProperties::*, std::int16_t TrendixProperties::*,
                            std::int32_t TrendixProperties::*, bool TrendixProperties::*,
                            float TrendixProperties::*>;

struct PersistedProperty {
    const char* name;
    Member member;
};

// The custom properties in the order they are exchanged, under these names.
constexpr PersistedProperty kPersisted[] = {
    {"Title", &TrendixProperties::Title},
    {"xlabel", &TrendixProperties::xlabel},
    {"ylabel", &TrendixProperties::ylabel},
    {"nvariables", &TrendixProperties::nvariables},
    {"nxvariables", &TrendixProperties::nxvariables},
    {"PlotType", &TrendixProperties::PlotType},
    {"MultiYaxis", &TrendixProperties::MultiYaxis},
    {"RunPlot", &TrendixProperties::RunPlot},
    {"UseVariable", &TrendixProperties::UseVariable},
    {"TimeWindow", &TrendixProperties::TimeWindow},
    {"TimeScrollUnit", &TrendixProperties::TimeScrollUnit},
    {"GridType", &TrendixProperties::GridType},
    {"MarkerSize", &TrendixProperties::MarkerSize},
    {"MarkerInterval", &TrendixProperties::MarkerInterval},
    {"Flipped", &TrendixProperties::Flipped},
    {"SquarePlot", &TrendixProperties::SquarePlot},
    {"DiagonalLine", &TrendixProperties::DiagonalLine},
    {"ZeroLine", &TrendixProperties::ZeroLine},
    {"Parametric", &TrendixProperties::Parametric},
    {"ReverseXAxis", &TrendixProperties::ReverseXAxis},
    {"ShowLegend", &TrendixProperties::ShowLegend},
    {"AddTimeStamp", &TrendixProperties::AddTimeStamp},
    {"DisplayType", &TrendixProperties::DisplayType},
    {"BufferSize", &TrendixProperties::BufferSize},
    {"SizeToData", &TrendixProperties::SizeToData},
    {"VariableDrop", &TrendixProperties::VariableDrop},
    {"IgnoreSetLegend", &TrendixProperties::IgnoreSetLegend},
    {"CommunicationIntervals", &TrendixProperties::CommunicationIntervals},
    {"InputFile", &TrendixProperties::InputFile},
};

// What one exchange reads or writes: the stock colours and the custom properties.
struct PersistedSet {
    TrendixProperties props;
    std::uint32_t backColor = kDefaultBackColor;
    std::uint32_t foreColor = kDefaultForeColor;
};

void ExchangeValue(com::PropExchange& px, const char* name, std::string& v, const std::string& d) {
    px.String(name, v, d);
}
void ExchangeValue(com::PropExchange& px, const char* name, std::int16_t& v, std::int16_t d) {
    px.Short(name, v, d);
}
void ExchangeValue(com::PropExchange& px, const char* name, std::int32_t& v, std::int32_t d) {
    px.Long(name, v, d);
}
void ExchangeValue(com::PropExchange& px, const char* name, bool& v, bool d) {
    px.Bool(name, v, d);
}
void ExchangeValue(com::PropExchange& px, const char* name, float& v, float d) {
    px.Float(name, v, d);
}

void ExchangeSet(com::PropExchange& px, PersistedSet& set) {
    std::uint32_t version = kPropertyVersion;
    px.Version(version, kPropertyVersion);
    px.Color("BackColor", set.backColor, kDefaultBackColor);
    px.Color("ForeColor", set.foreColor, kDefaultForeColor);
    if (version != kPropertyVersion) return;
    static const TrendixProperties defaults;
    for (const PersistedProperty& p : kPersisted)
        std::visit(
            [&](auto member) { ExchangeValue(px, p.name, set.props.*member, defaults.*member); },
            p.member);
}

[[noreturn]] void Refuse(const std::string& what) {
    throw com::DispatchError(com::STG_E_READFAULT, "Property data cannot be read: " + what);
}

// Values that no setter lets into the control are refused with the whole load: counts
// below zero, a time window that is not a positive number, a buffer size out of range, a run
// plot whose rings (one per variable, made at once) would go beyond the sample budget.
void CheckLoaded(const TrendixProperties& p, std::int32_t maxBufferSize,
                 std::int64_t sampleBudget) {
    if (p.nvariables < 0) Refuse("nvariables is negative");
    if (p.nxvariables < 0) Refuse("nxvariables is negative");
    if (!std::isfinite(p.TimeWindow) || !(p.TimeWindow > 0)) Refuse("TimeWindow is not positive");
    if (!std::isfinite(p.TimeScrollUnit)) Refuse("TimeScrollUnit is not a number");
    if (p.BufferSize < 1 || p.BufferSize > maxBufferSize)
        Refuse("BufferSize " + std::to_string(p.BufferSize) + " is out of range");
    const std::int64_t rings =
        std::int64_t(std::max<int>(p.nxvariables, 1)) + std::max<int>(p.nvariables, 1);
    if (p.RunPlot && rings * p.BufferSize > sampleBudget)
        Refuse("the run plot's rings would hold more samples than the budget allows");
}

std::string Trimmed(const std::string& s) {
    const char* blanks = " \t\r\n\v\f";
    const size_t first = s.find_first_not_of(blanks);
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

} // namespace

// A load reads everything into a copy first: data that cannot be read changes nothing.
void CTrendixCtrl::DoPropExchange(com::PropExchange& px) {
    PersistedSet set{props_, backColor_, foreColor_};
    ExchangeSet(px, set);
    if (!px.IsLoading()) return;
    CheckLoaded(set.props, kMaxBufferSize, sampleBudget_);

    // The members are stored as they are, without the setters' behaviours or events.
    props_ = set.props;
    backColor_ = set.backColor;
    foreColor_ = set.foreColor;
    trimmedTitle_ = Trimmed(props_.Title);

    // 1. A model for the persisted plot type, run mode and variable count.
    CPlotLook& m = EnsureModel();
    // Building a run plot forces some property values; the persisted ones win.
    props_ = set.props;
    // 2-3. The settings the model keeps copies of, and every variable's buffer size.
    CopySettingsIntoModel(m);
    // 4. The set behaviours of Flipped and then DiagonalLine.
    SetFlipped(props_.Flipped);
    SetDiagonalLine(props_.DiagonalLine);
}

std::vector<std::uint8_t> CTrendixCtrl::SaveBinary() {
    com::BinaryPropExchange px;
    DoPropExchange(px);
    return px.Bytes();
}

void CTrendixCtrl::LoadBinary(std::span<const std::uint8_t> data) {
    com::BinaryPropExchange px(data);
    DoPropExchange(px);
}

std::string CTrendixCtrl::SaveText() {
    com::PropertyBag bag;
    com::BagPropExchange px(bag, false);
    DoPropExchange(px);
    return bag.ToText();
}

void CTrendixCtrl::LoadText(std::string_view text) {
    com::PropertyBag bag = com::PropertyBag::FromText(text);
    com::BagPropExchange px(bag, true);
    DoPropExchange(px);
}

// ---------------------------------------------------------------------------------------------
// Window creation and destruction

void CTrendixCtrl::OnCreate() {
    site_.RegisterDropTarget();
    // The window always starts white on black, whatever the container persisted.
    backColor_ = kDefaultBackColor;
    foreColor_ = kDefaultForeColor;
}

// Timers 1 to 4 stop, the mouse is released, and a press, drag, pop-up text or blink under
// way ends with its window. It may run again without harm: a window can be destroyed twice.
void CTrendixCtrl::OnDestroy() {
    ResetInputState();
}

void CTrendixCtrl::CheckPropertySet(std::span<const std::uint8_t> data) const {
    PersistedSet set{props_, backColor_, foreColor_};
    com::BinaryPropExchange px(data);
    ExchangeSet(px, set);
    CheckLoaded(set.props, kMaxBufferSize, sampleBudget_);
}
