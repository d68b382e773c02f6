#pragma once
#include "platform/ui/MenuItem.h"

#include <string>
#include <vector>

using MenuItem = ui::MenuItem;

// A pop-up menu of the control: a numbered resource whose one top entry is the pop-up.
class CContextMenu {
public:
    CContextMenu() = default;
    CContextMenu(int resource, MenuItem popup) : resource(resource), popup(std::move(popup)) {}

    MenuItem* Find(int command); // anywhere in the menu
    const MenuItem* Find(int command) const;
    bool Contains(int command) const { return Find(command) != nullptr; }
    MenuItem* FirstSubmenu(); // of the pop-up
    // Inserts into the pop-up at position (clamped to its end).
    void InsertAt(size_t position, MenuItem item);
    // Inserts before the item with that command in the same submenu; false when absent.
    bool InsertBefore(int command, MenuItem item);
    bool Remove(int command); // wherever it stands
    size_t size() const { return popup.items.size(); }

    int resource = 0;
    MenuItem popup; // kind Popup
};
