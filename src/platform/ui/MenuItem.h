#pragma once
#include <string>
#include <vector>

namespace ui {

// One entry of a menu: a command, a separator or a submenu. The control's menus are built of
// these, and a window site shows them as they are.
struct MenuItem {
    enum Kind { Command, Separator, Popup };
    Kind kind = Command;
    int id = 0;
    std::string text; // '&' marks the mnemonic, '\t' starts the shortcut text
    bool enabled = true;
    bool checked = false;
    std::vector<MenuItem> items; // a submenu's entries

    static MenuItem Cmd(int id, std::string text);
    static MenuItem Sep();
    static MenuItem Sub(std::string text, std::vector<MenuItem> items);
};

} // namespace ui
