#pragma once
#include "platform/ui/IWindowSite.h"

#include <QString>

#include <map>
#include <memory>
#include <string>

class QLabel;
class QtPopupWnd;
class QTimer;
class QtPrinter;
class TrendixWidget;

// The window services of one control hosted in a TrendixWidget: repaint requests, scroll
// bars, timers, cursors, mouse capture, pop-up menus, message boxes, the file dialog and the
// pop-up text window, all on Qt.
class QtWindowSite : public ui::IWindowSite {
public:
    explicit QtWindowSite(TrendixWidget& widget);
    ~QtWindowSite() override;
    QtWindowSite(const QtWindowSite&) = delete;
    QtWindowSite& operator=(const QtWindowSite&) = delete;

    void Invalidate(bool erase) override;
    void SetModified() override;
    bool HasWindow() const override { return true; }
    void ShowScrollBar(bool horizontal, bool show) override;
    void SetScrollInfo(bool horizontal, int max, int pos, int page) override;
    void SetTimer(int id, int milliseconds) override;
    void KillTimer(int id) override;
    void SetCursor(int cursorId) override;
    std::string OpenFileDialog(const std::string& filter) override;
    std::string SaveFileDialog(const std::string& filter) override;
    // The window's printer, made at its first use; its dialogs open over the widget.
    ui::IPrinter* Printer() override;
    gdi::IDeviceContext* WindowSurface() override;
    void CaptureMouse(bool capture) override;
    int TrackPopupMenu(const ui::MenuItem& popup, int x, int y,
                       const std::function<void(int)>& onHighlight) override;
    int MessageBox(const std::string& text, const std::string& caption, int buttons) override;
    void ShowPopupText(const std::string& text, int x, int y) override;
    void HidePopupText() override;
    void ShowPopup(const ui::PopupText& popup) override;
    void ShowTooltip(const std::string& text, int x, int y) override;
    void HideTooltip() override;
    // The system clipboard, formats as MIME types (QtClipboard).
    bool SetClipboard(const ui::ClipboardContent& content) override;
    bool ClipboardHas(const std::string& format) const override;
    std::vector<std::uint8_t> ClipboardData(const std::string& format) const override;
    void RegisterDropTarget() override;
    void Flush() override;
    bool UserMode() const override { return userMode_; }
    // Shows the pages in a QtPropertySheet over the widget.
    bool ShowPropertySheet(const std::string& caption,
                           const std::vector<ui::IPropertyPage*>& pages) override;
    void Post(std::function<void()> task) override;
    // The container's ambient user mode; false shows the design-time pages too.
    void SetUserMode(bool userMode) { userMode_ = userMode; }

    // A filter of the form "Description (*.ext)|*.ext|..." as QFileDialog takes it:
    // "Description (*.ext);;...". A description without its patterns gets them added.
    static QString FileFilter(const std::string& filter);

    bool TimerActive(int id) const;
    int TimerInterval(int id) const; // -1 when the timer is not running
    int CursorId() const { return cursorId_; }
    const QLabel* PopupText() const;
    // Stops every timer: the control is going away.
    void StopTimers();

private:
    TrendixWidget& widget_;
    std::map<int, std::unique_ptr<QTimer>> timers_;
    QtPopupWnd& Popup();
    std::unique_ptr<QtPopupWnd> popup_;
    std::unique_ptr<QtPrinter> printer_;
    int cursorId_ = 0;
    bool captured_ = false;
    bool userMode_ = true;
};
