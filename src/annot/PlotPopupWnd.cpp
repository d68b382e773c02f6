// The pop-up text window's layout: lines, size and place inside the control.
#include "annot/PlotPopupWnd.h"

#include <algorithm>

std::vector<std::string> CPlotPopupWnd::SplitLines(const std::string& text) {
    const bool feeds = text.find('\n') != std::string::npos;
    const std::string separator = feeds ? "\n" : "\\n";
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = text.find(separator, from);
        std::string line = text.substr(from, at == std::string::npos ? at : at - from);
        if (feeds && !line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        if (at == std::string::npos) return lines;
        from = at + separator.size();
    }
}

const ui::PopupText& CPlotPopupWnd::Show(const std::string& text, int x, int y, int milliseconds,
                                         int clientWidth, int clientHeight,
                                         gdi::IDeviceContext& measure) {
    ui::PopupText popup;
    popup.lines = SplitLines(text);
    // The device's default font measures the lines, and the window draws them in it.
    const gdi::Font font;
    const gdi::Font old = measure.SelectFont(font);
    popup.face = font.face;
    popup.pixelHeight = font.pixelHeight;
    // Each line measured: the widest and the total height.
    int widest = 0, total = 0;
    for (const std::string& line : popup.lines) {
        // An empty line still takes a line's height.
        const gdi::Size extent = measure.GetTextExtent(line.empty() ? std::string(" ") : line);
        widest = std::max(widest, line.empty() ? 0 : extent.cx);
        total += extent.cy;
    }
    measure.SelectFont(old);
    popup.lineHeight = total / int(popup.lines.size());
    popup.width = widest + popup.lineHeight;
    popup.height = total + popup.lineHeight / 2;
    // The x position stays when the window fits, else the window ends at the right edge.
    popup.x = x + popup.width <= clientWidth ? x : clientWidth - popup.width;
    popup.y = y;
    if (milliseconds > 0 && popup.y + popup.height > clientHeight)
        popup.y = clientHeight - popup.height; // a timed text keeps above the bottom edge
    else if (milliseconds <= 0 && popup.y < 0)
        popup.y = 0; // an untimed one below the top edge
    layout_ = std::move(popup);
    shown_ = true;
    return layout_;
}
