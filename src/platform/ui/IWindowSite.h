#pragma once
#include "platform/ui/Clipboard.h"
#include "platform/ui/MenuItem.h"
#include "platform/ui/PopupText.h"
#include "platform/ui/Printer.h"
#include "platform/ui/PropertyPage.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace gdi {
class IDeviceContext;
}

namespace ui {

// The system arrow cursor, the control's pointer until the host picks another.
inline constexpr int kArrowCursor = 32512;

// Answers of MessageBox.
enum DialogAnswer { IdOk = 1, IdCancel = 2, IdYes = 6, IdNo = 7 };
// Buttons of MessageBox.
enum DialogButtons { OkOnly = 0, OkCancel = 1, YesNo = 4 };

// The window services one control window needs from whatever hosts it: the headless site of
// tests and the command line, and the Qt widget. Services a host may lack have defaults that
// do nothing and answer "cancelled".
class IWindowSite {
public:
    virtual ~IWindowSite() = default;
    // The whole client area must be painted again (erase: background too).
    virtual void Invalidate(bool erase) = 0;
    // The container learns that the persistent state changed.
    virtual void SetModified() = 0;
    virtual bool HasWindow() const = 0;
    // The container's ambient user mode: true while the form runs, false at design time.
    virtual bool UserMode() const { return true; }
    virtual void ShowScrollBar(bool horizontal, bool show) = 0;
    // range 0..max, position, page
    virtual void SetScrollInfo(bool horizontal, int max, int pos, int page) = 0;
    // Timers by identifier; a timer repeats until killed. Setting a running one restarts it.
    virtual void SetTimer(int id, int milliseconds) = 0;
    virtual void KillTimer(int id) = 0;
    // Below 32500: one of the control's own cursors; otherwise a system cursor number
    // (kArrowCursor 32512, 32515 cross, 32646 size all, ...).
    virtual void SetCursor(int cursorId) = 0;
    // Asks the user for a file to open; filter as "Description (*.ext)|*.ext". Empty when
    // the user cancelled.
    virtual std::string OpenFileDialog(const std::string& filter) = 0;
    // Asks the user for a file to write, with the same filter form; empty when cancelled.
    virtual std::string SaveFileDialog(const std::string& /*filter*/) { return {}; }
    // The application's printer; null when the host has no printing.
    virtual IPrinter* Printer() { return nullptr; }
    // The image of the client area that paints and immediate drawings write to; null when
    // the site has none (a headless site without a surface).
    virtual gdi::IDeviceContext* WindowSurface() { return nullptr; }

    // Mouse capture: while captured, moves and the release reach the control even outside.
    virtual void CaptureMouse(bool /*capture*/) {}
    // Shows popup (an item of kind Popup) at the client point x, y and waits for the user.
    // onHighlight is called with the command under the pointer as it moves (0 for none), and
    // once more with 0 when the menu has closed, so that a host's prompt line empties.
    // Answers the chosen command, 0 when the menu was dismissed.
    virtual int TrackPopupMenu(const MenuItem& /*popup*/, int /*x*/, int /*y*/,
                               const std::function<void(int)>& /*onHighlight*/) {
        return 0;
    }
    // A modal message; answers one of DialogAnswer.
    virtual int MessageBox(const std::string& /*text*/, const std::string& /*caption*/,
                           int buttons) {
        return buttons == OkOnly ? IdOk : IdCancel;
    }
    // The small pop-up text window, its top-left corner at the client point x, y.
    virtual void ShowPopupText(const std::string& /*text*/, int /*x*/, int /*y*/) {}
    virtual void HidePopupText() {}
    // The pop-up text window laid out by the control; a site without a window of its own
    // for it shows the joined lines at the window's corner.
    virtual void ShowPopup(const PopupText& popup) {
        ShowPopupText(popup.Joined(), popup.x, popup.y);
    }
    // A tooltip beside the client point x, y; hidden again by HideTooltip.
    virtual void ShowTooltip(const std::string& /*text*/, int /*x*/, int /*y*/) {}
    virtual void HideTooltip() {}
    // The clipboard. SetClipboard replaces what it holds with content and answers false when
    // it cannot be opened; ClipboardHas and ClipboardData read one format by name (the data is
    // empty when the format is not offered).
    virtual bool SetClipboard(const ClipboardContent& /*content*/) { return false; }
    virtual bool ClipboardHas(const std::string& /*format*/) const { return false; }
    virtual std::vector<std::uint8_t> ClipboardData(const std::string& /*format*/) const {
        return {};
    }
    // The window accepts drops from now on.
    virtual void RegisterDropTarget() {}
    // The window is shown again at once (immediate drawing on the window surface is done).
    virtual void Flush() {}
    // Shows the pages as one modal sheet (one tab per page) with OK, Cancel and Apply, and
    // waits for the user. Apply applies every page the user changed and keeps the sheet open;
    // OK does the same and closes it. Answers true when the sheet was closed with OK.
    virtual bool ShowPropertySheet(const std::string& /*caption*/,
                                   const std::vector<IPropertyPage*>& /*pages*/) {
        return false;
    }
    // Runs task once the handler that is running (a paint, a mouse or key message) has
    // returned, so that a modal dialog never opens inside a paint.
    virtual void Post(std::function<void()> task) { task(); }
};

} // namespace ui
