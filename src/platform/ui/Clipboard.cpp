#include "platform/ui/Clipboard.h"

namespace ui {

const ClipboardContent::Format* Clipboard::Find(const std::string& name) const {
    for (const ClipboardContent::Format& f : formats_)
        if (f.name == name) return &f;
    return nullptr;
}

std::vector<std::uint8_t> Clipboard::Data(const std::string& name) const {
    const ClipboardContent::Format* f = Find(name);
    return f ? f->data : std::vector<std::uint8_t>();
}

std::vector<std::string> Clipboard::Names() const {
    std::vector<std::string> names;
    for (const ClipboardContent::Format& f : formats_)
        names.push_back(f.name);
    return names;
}

} // namespace ui
