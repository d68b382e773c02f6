#pragma once
#include "platform/gdi/DeviceContext.h"
#include "platform/ui/IWindowSite.h"

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace ui {

// A window site without a screen: it remembers what the control asked of it, and answers
// menus and message boxes from scripts, so that tests and the command line can drive and
// look.
class HeadlessSite : public IWindowSite {
public:
    void Invalidate(bool erase) override;
    void SetModified() override { ++modifiedCount; }
    bool HasWindow() const override { return hasWindow; }
    bool UserMode() const override { return userMode; }
    void ShowScrollBar(bool horizontal, bool show) override;
    void SetScrollInfo(bool horizontal, int max, int pos, int page) override;
    void SetTimer(int id, int milliseconds) override { timers[id] = milliseconds; }
    void KillTimer(int id) override { timers.erase(id); }
    void SetCursor(int cursorId) override {
        cursor = cursorId;
        ++cursorCount;
    }
    // Answers with openFileAnswer (empty: cancelled) and remembers the filter asked for.
    std::string OpenFileDialog(const std::string& filter) override {
        lastFileFilter = filter;
        return openFileAnswer;
    }
    // Answers with saveFileAnswer and remembers the filter asked for.
    std::string SaveFileDialog(const std::string& filter) override {
        lastSaveFilter = filter;
        return saveFileAnswer;
    }
    IPrinter* Printer() override { return printer; }
    gdi::IDeviceContext* WindowSurface() override { return surface.get(); }
    // Makes the window surface anew for a client area of width x height with the factory;
    // without a factory, or for an empty area, the site has no surface.
    void ResizeSurface(int width, int height);

    void CaptureMouse(bool capture) override { captured = capture; }
    // Records the menu, "highlights" each command of menuHighlights in turn, then answers
    // menuAnswer.
    int TrackPopupMenu(const MenuItem& popup, int x, int y,
                       const std::function<void(int)>& onHighlight) override;
    // Records the message and answers the next of messageAnswers (OK or Cancel by the buttons
    // when none is left).
    int MessageBox(const std::string& text, const std::string& caption, int buttons) override;
    void ShowPopupText(const std::string& text, int x, int y) override;
    void HidePopupText() override { popupShown = false; }
    void Flush() override { ++flushCount; }
    void ShowTooltip(const std::string& text, int, int) override {
        tooltip = text;
        ++tooltipShowCount;
    }
    void HideTooltip() override { tooltip.clear(); }
    // Records the sheet and lets sheetUser play the user: it edits, presses and applies the
    // pages and answers OK (true: every changed page is applied) or Cancel. Without a
    // sheetUser the sheet is cancelled.
    bool ShowPropertySheet(const std::string& caption,
                           const std::vector<IPropertyPage*>& pages) override;

    // The clipboard inside the process: the site's own, or one shared with other sites by
    // ShareClipboard so that a plot copied in one control can be pasted in another. The
    // picture is kept as its drawing calls under kPictureFormat.
    bool SetClipboard(const ClipboardContent& content) override;
    bool ClipboardHas(const std::string& format) const override { return clipboard().Has(format); }
    std::vector<std::uint8_t> ClipboardData(const std::string& format) const override {
        return clipboard().Data(format);
    }
    void ShareClipboard(Clipboard& shared) { sharedClipboard_ = &shared; }
    const Clipboard& clipboard() const {
        return sharedClipboard_ ? *sharedClipboard_ : ownClipboard_;
    }

    using SurfaceFactory = std::function<std::unique_ptr<gdi::IDeviceContext>(int, int)>;
    SurfaceFactory surfaceFactory;
    std::unique_ptr<gdi::IDeviceContext> surface;

    struct ScrollBar {
        bool shown = false;
        int max = 0, pos = 0, page = 0;
    };
    struct ShownMenu {
        MenuItem popup;
        int x = 0, y = 0;
    };
    struct Message {
        std::string text, caption;
        int buttons = 0;
    };
    bool hasWindow = true;
    bool userMode = true;
    int invalidateCount = 0;
    int modifiedCount = 0;
    ScrollBar horizontal, vertical;
    std::map<int, int> timers;
    int cursor = 0;
    int cursorCount = 0; // SetCursor calls
    std::string openFileAnswer;
    std::string lastFileFilter;
    std::string saveFileAnswer;
    std::string lastSaveFilter;
    IPrinter* printer = nullptr; // none: the host cannot print
    bool captured = false;
    int flushCount = 0;
    // Menus
    std::vector<ShownMenu> menus;
    int menuAnswer = 0;               // the command chosen, 0 for a dismissed menu
    std::vector<int> menuHighlights;  // commands passed over before the choice
    std::function<void()> duringMenu; // runs while the menu is up (after the highlights)
    // Message boxes
    std::vector<Message> messages;
    std::deque<int> messageAnswers;
    // Pop-up text
    bool popupShown = false;
    std::string popupText;
    int popupX = 0, popupY = 0;
    int popupShowCount = 0;
    // Property sheets: caption and page captions of each sheet shown
    struct ShownSheet {
        std::string caption;
        std::vector<std::string> pages;
    };
    std::vector<ShownSheet> sheets;
    std::function<bool(const std::vector<IPropertyPage*>&)> sheetUser;
    std::string tooltip; // empty while none is shown
    int tooltipShowCount = 0;

private:
    Clipboard ownClipboard_;
    Clipboard* sharedClipboard_ = nullptr;
};

} // namespace ui
