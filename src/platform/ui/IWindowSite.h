#pragma once
#include <string>

namespace gdi {
class IDeviceContext;
}

namespace ui {

// The window services one control window needs from whatever hosts it. Later hosts (the Qt
// widget, the headless site of tests and the command line) implement them.
class IWindowSite {
public:
    virtual ~IWindowSite() = default;
    // The whole client area must be painted again (erase: background too).
    virtual void Invalidate(bool erase) = 0;
    // The container learns that the persistent state changed.
    virtual void SetModified() = 0;
    virtual bool HasWindow() const = 0;
    virtual void ShowScrollBar(bool horizontal, bool show) = 0;
    // range 0..max, position, page
    virtual void SetScrollInfo(bool horizontal, int max, int pos, int page) = 0;
    virtual void SetTimer(int id, int milliseconds) = 0;
    virtual void KillTimer(int id) = 0;
    virtual void SetCursor(int cursorId) = 0;
    // Asks the user for a file to open; filter as "Description (*.ext)|*.ext". Empty when
    // the user cancelled.
    virtual std::string OpenFileDialog(const std::string& filter) = 0;
    // The image of the client area that paints and immediate drawings write to; null when
    // the site has none (a headless site without a surface).
    virtual gdi::IDeviceContext* WindowSurface() { return nullptr; }
};

} // namespace ui
