#include "platform/ui/MenuItem.h"

namespace ui {

MenuItem MenuItem::Cmd(int id, std::string text) {
    MenuItem m;
    m.kind = Command;
    m.id = id;
    m.text = std::move(text);
    return m;
}

MenuItem MenuItem::Sep() {
    MenuItem m;
    m.kind = Separator;
    return m;
}

MenuItem MenuItem::Sub(std::string text, std::vector<MenuItem> items) {
    MenuItem m;
    m.kind = Popup;
    m.text = std::move(text);
    m.items = std::move(items);
    return m;
}

} // namespace ui
