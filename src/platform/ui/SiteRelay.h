#pragma once
#include "platform/ui/IWindowSite.h"

#include <utility>

namespace ui {

// A window site that passes every service on to another site, which may change while the
// control lives: a control made without a window is shown in one later, and goes back to its
// first site when that window goes.
class SiteRelay : public IWindowSite {
public:
    explicit SiteRelay(IWindowSite& target) : target_(&target) {}
    SiteRelay(const SiteRelay&) = delete;
    SiteRelay& operator=(const SiteRelay&) = delete;

    // Services go to target from now on; answers the site they went to before.
    IWindowSite& Retarget(IWindowSite& target) {
        IWindowSite& previous = *target_;
        target_ = &target;
        return previous;
    }
    IWindowSite& target() const { return *target_; }

    void Invalidate(bool erase) override { target_->Invalidate(erase); }
    void SetModified() override { target_->SetModified(); }
    bool HasWindow() const override { return target_->HasWindow(); }
    void ShowScrollBar(bool horizontal, bool show) override {
        target_->ShowScrollBar(horizontal, show);
    }
    void SetScrollInfo(bool horizontal, int max, int pos, int page) override {
        target_->SetScrollInfo(horizontal, max, pos, page);
    }
    void SetTimer(int id, int milliseconds) override { target_->SetTimer(id, milliseconds); }
    void KillTimer(int id) override { target_->KillTimer(id); }
    void SetCursor(int cursorId) override { target_->SetCursor(cursorId); }
    std::string OpenFileDialog(const std::string& filter) override {
        return target_->OpenFileDialog(filter);
    }
    gdi::IDeviceContext* WindowSurface() override { return target_->WindowSurface(); }
    void CaptureMouse(bool capture) override { target_->CaptureMouse(capture); }
    int TrackPopupMenu(const MenuItem& popup, int x, int y,
                       const std::function<void(int)>& onHighlight) override {
        return target_->TrackPopupMenu(popup, x, y, onHighlight);
    }
    int MessageBox(const std::string& text, const std::string& caption, int buttons) override {
        return target_->MessageBox(text, caption, buttons);
    }
    void ShowPopupText(const std::string& text, int x, int y) override {
        target_->ShowPopupText(text, x, y);
    }
    void HidePopupText() override { target_->HidePopupText(); }
    void ShowPopup(const PopupText& popup) override { target_->ShowPopup(popup); }
    void ShowTooltip(const std::string& text, int x, int y) override {
        target_->ShowTooltip(text, x, y);
    }
    void HideTooltip() override { target_->HideTooltip(); }
    bool SetClipboard(const ClipboardContent& content) override {
        return target_->SetClipboard(content);
    }
    bool ClipboardHas(const std::string& format) const override {
        return target_->ClipboardHas(format);
    }
    std::vector<std::uint8_t> ClipboardData(const std::string& format) const override {
        return target_->ClipboardData(format);
    }
    void RegisterDropTarget() override { target_->RegisterDropTarget(); }
    void Flush() override { target_->Flush(); }
    bool UserMode() const override { return target_->UserMode(); }
    bool ShowPropertySheet(const std::string& caption,
                           const std::vector<IPropertyPage*>& pages) override {
        return target_->ShowPropertySheet(caption, pages);
    }
    void Post(std::function<void()> task) override { target_->Post(std::move(task)); }

private:
    IWindowSite* target_;
};

} // namespace ui
