#pragma once
#include <string>

// A font as the edit dialogs and the page layout hold it.
struct FontSetting {
    std::string face;
    int size = 10;
    int style = 0; // bit 0 italic, bit 1 bold, bit 2 underline
    bool operator==(const FontSetting&) const = default;
};
