#pragma once
#include "platform/gdi/DeviceContext.h"
#include "platform/ui/PopupText.h"

#include <string>
#include <vector>

// The control's transient text window, as used by DisplayText and by the pointer read-out:
// it splits the text into lines, measures them, sizes itself round them and keeps inside
// the control. The window itself is the site's; this is what it shows and where.
class CPlotPopupWnd {
public:
    // Lays the (already substituted) text out with its top-left corner at (x, y) in a client
    // of clientWidth x clientHeight, measured in the device's default font. A timed text
    // (milliseconds > 0) keeps above the bottom edge, an untimed one below the top edge.
    const ui::PopupText& Show(const std::string& text, int x, int y, int milliseconds,
                              int clientWidth, int clientHeight, gdi::IDeviceContext& measure);
    void Hide() { shown_ = false; }
    bool Shown() const { return shown_; }
    const ui::PopupText& Layout() const { return layout_; }

    // The lines of a text: split at each line feed (a carriage return before it dropped)
    // or, when there is none, at each literal backslash-n pair.
    static std::vector<std::string> SplitLines(const std::string& text);

private:
    ui::PopupText layout_;
    bool shown_ = false;
};
