#include "model/ContextMenu.h"

#include <algorithm>

namespace {

MenuItem* FindIn(std::vector<MenuItem>& items, int command) {
    for (MenuItem& m : items) {
        if (m.kind == MenuItem::Command && m.id == command) return &m;
        if (m.kind == MenuItem::Popup)
            if (MenuItem* found = FindIn(m.items, command)) return found;
    }
    return nullptr;
}

std::vector<MenuItem>* ListHolding(std::vector<MenuItem>& items, int command) {
    for (MenuItem& m : items) {
        if (m.kind == MenuItem::Command && m.id == command) return &items;
        if (m.kind == MenuItem::Popup)
            if (auto* list = ListHolding(m.items, command)) return list;
    }
    return nullptr;
}

} // namespace

MenuItem* CContextMenu::Find(int command) {
    return FindIn(popup.items, command);
}

const MenuItem* CContextMenu::Find(int command) const {
    return FindIn(const_cast<std::vector<MenuItem>&>(popup.items), command);
}

MenuItem* CContextMenu::FirstSubmenu() {
    for (MenuItem& m : popup.items)
        if (m.kind == MenuItem::Popup) return &m;
    return nullptr;
}

void CContextMenu::InsertAt(size_t position, MenuItem item) {
    position = std::min(position, popup.items.size());
    popup.items.insert(popup.items.begin() + std::ptrdiff_t(position), std::move(item));
}

bool CContextMenu::InsertBefore(int command, MenuItem item) {
    std::vector<MenuItem>* list = ListHolding(popup.items, command);
    if (!list) return false;
    auto it = std::find_if(list->begin(), list->end(), [command](const MenuItem& m) {
        return m.kind == MenuItem::Command && m.id == command;
    });
    list->insert(it, std::move(item));
    return true;
}

bool CContextMenu::Remove(int command) {
    std::vector<MenuItem>* list = ListHolding(popup.items, command);
    if (!list) return false;
    std::erase_if(*list, [command](const MenuItem& m) {
        return m.kind == MenuItem::Command && m.id == command;
    });
    return true;
}
