#pragma once
#include "platform/gdi/DeviceContext.h"
#include "platform/ui/IWindowSite.h"

#include <functional>
#include <memory>

#include <map>
#include <string>

namespace ui {

// A window site without a screen: it remembers what the control asked of it, so that tests
// and the command line can look.
class HeadlessSite : public IWindowSite {
public:
    void Invalidate(bool erase) override;
    void SetModified() override { ++modifiedCount; }
    bool HasWindow() const override { return hasWindow; }
    void ShowScrollBar(bool horizontal, bool show) override;
    void SetScrollInfo(bool horizontal, int max, int pos, int page) override;
    void SetTimer(int id, int milliseconds) override { timers[id] = milliseconds; }
    void KillTimer(int id) override { timers.erase(id); }
    void SetCursor(int cursorId) override { cursor = cursorId; }
    // Answers with openFileAnswer (empty: cancelled) and remembers the filter asked for.
    std::string OpenFileDialog(const std::string& filter) override {
        lastFileFilter = filter;
        return openFileAnswer;
    }
    gdi::IDeviceContext* WindowSurface() override { return surface.get(); }
    // Makes the window surface anew for a client area of width x height with the factory;
    // without a factory, or for an empty area, the site has no surface.
    void ResizeSurface(int width, int height);

    using SurfaceFactory = std::function<std::unique_ptr<gdi::IDeviceContext>(int, int)>;
    SurfaceFactory surfaceFactory;
    std::unique_ptr<gdi::IDeviceContext> surface;

    struct ScrollBar {
        bool shown = false;
        int max = 0, pos = 0, page = 0;
    };
    bool hasWindow = true;
    int invalidateCount = 0;
    int modifiedCount = 0;
    ScrollBar horizontal, vertical;
    std::map<int, int> timers;
    int cursor = 0;
    std::string openFileAnswer;
    std::string lastFileFilter;
};

} // namespace ui
