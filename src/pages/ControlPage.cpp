#include "pages/ControlPage.h"

namespace PageFields {

ui::Field Note(std::string text) {
    ui::Field f;
    f.caption = std::move(text);
    f.kind = ui::FieldKind::Note;
    return f;
}

ui::Field Check(std::string caption, std::string group) {
    ui::Field f;
    f.caption = std::move(caption);
    f.kind = ui::FieldKind::Check;
    f.group = std::move(group);
    return f;
}

ui::Field Radio(std::string caption, std::vector<std::string> entries, std::string group) {
    ui::Field f;
    f.caption = std::move(caption);
    f.kind = ui::FieldKind::Radio;
    f.entries = std::move(entries);
    f.group = std::move(group);
    return f;
}

ui::Field Text(std::string caption, std::string group) {
    ui::Field f;
    f.caption = std::move(caption);
    f.kind = ui::FieldKind::Text;
    f.group = std::move(group);
    return f;
}

ui::Field Number(std::string caption, std::string label, std::string group) {
    ui::Field f;
    f.caption = std::move(caption);
    f.label = std::move(label);
    f.kind = ui::FieldKind::Number;
    f.group = std::move(group);
    return f;
}

ui::Field Integer(std::string caption, int low, int high, std::string group) {
    ui::Field f;
    f.caption = std::move(caption);
    f.kind = ui::FieldKind::Integer;
    f.low = low;
    f.high = high;
    f.group = std::move(group);
    return f;
}

ui::Field Choice(std::string caption, std::vector<std::string> entries, ui::Sample sample) {
    ui::Field f;
    f.caption = std::move(caption);
    f.kind = ui::FieldKind::Choice;
    f.entries = std::move(entries);
    f.sample = sample;
    return f;
}

ui::Field List(std::string caption, bool multiSelect) {
    ui::Field f;
    f.caption = std::move(caption);
    f.kind = ui::FieldKind::List;
    f.multiSelect = multiSelect;
    return f;
}

ui::Field Button(std::string caption) {
    ui::Field f;
    f.caption = std::move(caption);
    f.kind = ui::FieldKind::Button;
    return f;
}

std::vector<std::string> Samples(int count, std::vector<std::string> named) {
    std::vector<std::string> entries = std::move(named);
    for (int i = int(entries.size()); i < count; ++i)
        entries.push_back(std::to_string(i));
    return entries;
}

} // namespace PageFields
