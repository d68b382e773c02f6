#pragma once
#include <string>
#include <vector>

namespace ui {

// The pop-up text window as laid out: its lines, its place and size in client units, and the
// height of one line; the lines are drawn from half a line in and a quarter line down.
struct PopupText {
    std::vector<std::string> lines;
    int x = 0, y = 0, width = 0, height = 0;
    int lineHeight = 0;
    // The font the lines were measured in, to draw them in.
    std::string face;
    int pixelHeight = 0;

    // The lines joined by line feeds.
    std::string Joined() const {
        std::string text;
        for (const std::string& line : lines) {
            if (&line != &lines.front()) text += '\n';
            text += line;
        }
        return text;
    }
};

} // namespace ui
