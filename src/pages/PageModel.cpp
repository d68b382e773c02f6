#include "pages/PageModel.h"

#include "platform/com/DispatchError.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace {

// The caption of validation messages.
constexpr char kMessageCaption[] = "Trendix";

} // namespace

std::string IndexList(const std::vector<int>& indices) {
    std::string text;
    for (int i : indices) {
        if (!text.empty()) text += ',';
        text += std::to_string(i);
    }
    return text;
}

std::string CPageModel::Value(const std::string& caption) const {
    const auto it = values_.find(caption);
    return it == values_.end() ? std::string() : it->second;
}

std::vector<std::string> CPageModel::Entries(const std::string& caption) const {
    const ui::Field* f = Find(caption);
    return f ? f->entries : std::vector<std::string>{};
}

bool CPageModel::Edit(const std::string& caption, const std::string& value) {
    const ui::Field* f = Find(caption);
    if (!f || !Accepts(*f, value)) return false;
    values_[caption] = value;
    changed_ = true;
    OnEdit(caption);
    return true;
}

void CPageModel::Press(const std::string& caption) {
    const ui::Field* f = Find(caption);
    if (!f || f->kind != ui::FieldKind::Button) return;
    changed_ = true;
    OnPress(caption);
}

void CPageModel::Apply() {
    if (!changed_) return;
    changed_ = false;
    try {
        DoApply();
    } catch (const com::DispatchError& e) {
        Message(e.what());
    }
}

std::string CPageModel::NumberText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

std::optional<double> CPageModel::ParseNumber(const std::string& text) {
    std::string t = text;
    std::replace(t.begin(), t.end(), 'd', 'e');
    std::replace(t.begin(), t.end(), 'D', 'e');
    std::istringstream in(t);
    in.imbue(std::locale::classic());
    double v = 0;
    if (!(in >> v)) return std::nullopt;
    char rest = 0;
    if (in >> rest) return std::nullopt; // something that is not part of the number follows
    return v;
}

void CPageModel::Add(ui::Field field, std::string value) {
    values_[field.caption] = std::move(value);
    fields_.push_back(std::move(field));
}

void CPageModel::Set(const std::string& caption, std::string value) {
    values_[caption] = std::move(value);
}

void CPageModel::SetEntries(const std::string& caption, std::vector<std::string> entries) {
    for (ui::Field& f : fields_)
        if (f.caption == caption) f.entries = std::move(entries);
}

void CPageModel::SetRange(const std::string& caption, int low, int high) {
    for (ui::Field& f : fields_) {
        if (f.caption != caption) continue;
        f.low = low;
        f.high = high;
    }
}

int CPageModel::Index(const std::string& caption) const {
    const std::string v = Value(caption);
    return v.empty() ? -1 : std::atoi(v.c_str());
}

std::vector<int> CPageModel::Selection(const std::string& caption) const {
    std::vector<int> indices;
    std::istringstream in(Value(caption));
    std::string item;
    while (std::getline(in, item, ','))
        if (!item.empty()) indices.push_back(std::atoi(item.c_str()));
    return indices;
}

int CPageModel::Selected(const std::string& caption) const {
    const std::vector<int> s = Selection(caption);
    return s.empty() ? -1 : s.front();
}

std::optional<double> CPageModel::ReadNumber(const std::string& caption) {
    return ReadNumber(caption, Value(caption));
}

std::optional<double> CPageModel::ReadNumber(const std::string& caption, const std::string& text) {
    const std::optional<double> v = ParseNumber(text);
    if (!v) Message("Please enter a number in " + caption + ".");
    return v;
}

void CPageModel::Message(const std::string& text) {
    site_.MessageBox(text, kMessageCaption, ui::OkOnly);
}

const ui::Field* CPageModel::Find(const std::string& caption) const {
    for (const ui::Field& f : fields_)
        if (f.caption == caption) return &f;
    return nullptr;
}

bool CPageModel::Accepts(const ui::Field& field, const std::string& value) {
    const char* allowed = nullptr;
    switch (field.kind) {
    case ui::FieldKind::Number:
        allowed = ui::kNumberCharacters;
        break;
    case ui::FieldKind::Integer:
        allowed = ui::kIntegerCharacters;
        break;
    case ui::FieldKind::Note:
    case ui::FieldKind::Button:
        return false;
    default:
        return true;
    }
    return value.find_first_not_of(allowed) == std::string::npos;
}
