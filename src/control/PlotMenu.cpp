#include "control/PlotMenu.h"

namespace {
constexpr size_t kMaxText = 1024;
}

CPlotMenu::CPlotMenu(const CContextMenu& menu) : root_(menu.popup) {
    stack_.push_back({&root_.items, 0});
}

std::string CPlotMenu::Next(short& code, short& id) {
    if (stack_.empty()) {
        code = EndOfMenu;
        return {};
    }
    Level& level = stack_.back();
    if (level.position >= level.items->size()) {
        if (stack_.size() == 1) {
            code = EndOfMenu;
            return {};
        }
        stack_.pop_back();
        code = EndOfSubmenu;
        return {};
    }
    const MenuItem& item = (*level.items)[level.position++];
    std::string text = item.text.substr(0, kMaxText);
    switch (item.kind) {
    case MenuItem::Separator: code = Separator; break;
    case MenuItem::Popup:
        code = Submenu;
        stack_.push_back({&item.items, 0});
        break;
    case MenuItem::Command:
        code = Command;
        recorded_.push_back({id + 1, item.id, true});
        break;
    }
    ++id;
    return text;
}

const CPlotMenu::Recorded* CPlotMenu::Find(int sequence) const {
    for (const Recorded& r : recorded_)
        if (r.sequence == sequence) return &r;
    return nullptr;
}

void CPlotMenu::SetEnabled(int command, bool enabled) {
    for (Recorded& r : recorded_)
        if (r.command == command) r.enabled = enabled;
}
