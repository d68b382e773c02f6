#include "pages/AttribPage.h"

#include "pages/ControlMembers.h"
#include "pages/PickTables.h"

namespace M = ControlMembers;
using namespace PageFields;

namespace {

constexpr char kVariables[] = "Variables";
using namespace PickTables;

struct Captions {
    const char* color;
    const char* marker;
    const char* type;
};
constexpr Captions kLineCaptions{"Color", "Marker", "Line type"};
constexpr Captions kBarCaptions{"Fill Color", "Outline", "Fill type"};

} // namespace

CAttribPage::CAttribPage(Kind kind, com::IDispatch& control, ui::IWindowSite& site)
    : CControlPage("Attribute", control, site), kind_(kind) {
    const Captions& c = kind == Kind::Lines ? kLineCaptions : kBarCaptions;
    Add(List(kVariables));
    Add(Choice(c.color, Samples(kColourCount), ui::Sample::Colour), "0");
    if (kind == Kind::Lines) {
        Add(Choice(c.marker, Samples(kMarkerCount, {"none"}), ui::Sample::Marker), "0");
        Add(Choice(c.type, LineEntries(), ui::Sample::Line), "0");
    } else {
        Add(Choice(c.marker, Samples(kColourCount), ui::Sample::Colour), "0");
        Add(Choice(c.type, FillEntries(), ui::Sample::Hatch), "0");
    }
}

void CAttribPage::Activate() {
    const int n = control_.Int(M::nvariables);
    std::vector<std::string> names;
    records_.assign(std::size_t(std::max(n, 0)), Record{});
    for (int i = 0; i < n; ++i) {
        std::string name = control_.CallText(M::GetVariable, {CDispatchClient::I2(i)});
        names.push_back(name.empty() ? "(null)" : name);
        com::Variant type = com::Variant::I2(0), marker = com::Variant::I2(0),
                     color = com::Variant::I2(0);
        control_.Call(M::GetAttribute, {CDispatchClient::I2(i), com::Variant::Ref(&type),
                                        com::Variant::Ref(&marker), com::Variant::Ref(&color)});
        records_[std::size_t(i)] = {CDispatchClient::IntOf(type), CDispatchClient::IntOf(marker),
                                    CDispatchClient::IntOf(color)};
    }
    SetEntries(kVariables, std::move(names));
    Set(kVariables, n > 0 ? "0" : "");
    ShowRecord(0);
}

void CAttribPage::ShowRecord(int variable) {
    if (variable < 0 || variable >= int(records_.size())) return;
    const Captions& c = kind_ == Kind::Lines ? kLineCaptions : kBarCaptions;
    const Record& r = records_[std::size_t(variable)];
    Set(c.color, std::to_string(r.color));
    Set(c.marker, std::to_string(r.marker));
    Set(c.type, std::to_string(TypeIndex(r.type)));
}

int CAttribPage::TypeIndex(int type) const {
    if (kind_ == Kind::Bars) return type < 0 ? 0 : std::min(type, kFillTypes - 1);
    return LineChoice(type);
}

int CAttribPage::TypeOf(int index) const {
    if (kind_ == Kind::Bars) return index;
    return LineTypeOf(index);
}

void CAttribPage::OnEdit(const std::string& caption) {
    const int v = Selected(kVariables);
    if (caption == kVariables) {
        ShowRecord(v);
        return;
    }
    if (v < 0 || v >= int(records_.size())) return;
    const Captions& c = kind_ == Kind::Lines ? kLineCaptions : kBarCaptions;
    Record& r = records_[std::size_t(v)];
    if (caption == c.color) r.color = Index(c.color);
    if (caption == c.marker) r.marker = Index(c.marker);
    if (caption == c.type) r.type = TypeOf(Index(c.type));
}

void CAttribPage::DoApply() {
    for (std::size_t i = 0; i < records_.size(); ++i) {
        const Record& r = records_[i];
        control_.Call(M::SetAttribute,
                      {CDispatchClient::I2(int(i)), CDispatchClient::I2(r.type),
                       CDispatchClient::I2(r.marker), CDispatchClient::I2(r.color)});
    }
}
