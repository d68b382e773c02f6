#include "pages/ControlPage.h"

namespace PageFields {

namespace {

// A field of one kind in a group; the shorthands below add what their kind needs.
ui::Field Make(std::string caption, ui::FieldKind kind, std::string group = {}) {
    ui::Field f;
    f.caption = std::move(caption);
    f.kind = kind;
    f.group = std::move(group);
    return f;
}

} // namespace

ui::Field Note(std::string text) {
    return Make(std::move(text), ui::FieldKind::Note);
}

ui::Field Check(std::string caption, std::string group) {
    return Make(std::move(caption), ui::FieldKind::Check, std::move(group));
}

ui::Field Radio(std::string caption, std::vector<std::string> entries, std::string group) {
    ui::Field f = Make(std::move(caption), ui::FieldKind::Radio, std::move(group));
    f.entries = std::move(entries);
    return f;
}

ui::Field Text(std::string caption, std::string group) {
    return Make(std::move(caption), ui::FieldKind::Text, std::move(group));
}

ui::Field Number(std::string caption, std::string label, std::string group) {
    ui::Field f = Make(std::move(caption), ui::FieldKind::Number, std::move(group));
    f.label = std::move(label);
    return f;
}

ui::Field Integer(std::string caption, int low, int high, std::string group) {
    ui::Field f = Make(std::move(caption), ui::FieldKind::Integer, std::move(group));
    f.low = low;
    f.high = high;
    return f;
}

ui::Field Choice(std::string caption, std::vector<std::string> entries, ui::Sample sample) {
    ui::Field f = Make(std::move(caption), ui::FieldKind::Choice);
    f.entries = std::move(entries);
    f.sample = sample;
    return f;
}

ui::Field List(std::string caption, bool multiSelect) {
    ui::Field f = Make(std::move(caption), ui::FieldKind::List);
    f.multiSelect = multiSelect;
    return f;
}

ui::Field Button(std::string caption) {
    return Make(std::move(caption), ui::FieldKind::Button);
}

ui::Field Beside(ui::Field f) {
    f.beside = true;
    return f;
}

std::vector<std::string> Samples(int count, std::vector<std::string> named) {
    std::vector<std::string> entries = std::move(named);
    for (int i = int(entries.size()); i < count; ++i)
        entries.push_back(std::to_string(i));
    return entries;
}

} // namespace PageFields
