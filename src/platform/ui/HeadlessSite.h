#pragma once
#include "platform/ui/IWindowSite.h"

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
