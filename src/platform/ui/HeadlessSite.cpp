#include "platform/ui/HeadlessSite.h"

#include "platform/gdi/RecordingDC.h"

namespace ui {

void HeadlessSite::Invalidate(bool) {
    ++invalidateCount;
}

void HeadlessSite::ShowScrollBar(bool h, bool show) {
    (h ? horizontal : vertical).shown = show;
}

void HeadlessSite::SetScrollInfo(bool h, int max, int pos, int page) {
    ScrollBar& bar = h ? horizontal : vertical;
    bar.max = max;
    bar.pos = pos;
    bar.page = page;
}

bool HeadlessSite::SetClipboard(const ClipboardContent& content) {
    std::vector<ClipboardContent::Format> formats = content.formats;
    if (content.draw) {
        gdi::RecordingDC dc(content.pictureWidth, content.pictureHeight, gdi::DeviceKind::Metafile);
        std::vector<std::uint8_t> calls;
        dc.WriteDrawingTo(calls);
        content.draw(dc);
        formats.push_back({kPictureFormat, std::move(calls)});
    }
    (sharedClipboard_ ? *sharedClipboard_ : ownClipboard_).Set(std::move(formats));
    return true;
}

void HeadlessSite::ResizeSurface(int width, int height) {
    surface.reset();
    if (surfaceFactory && width > 0 && height > 0) surface = surfaceFactory(width, height);
}

int HeadlessSite::TrackPopupMenu(const MenuItem& popup, int x, int y,
                                 const std::function<void(int)>& onHighlight) {
    menus.push_back({popup, x, y});
    for (int command : menuHighlights)
        if (onHighlight) onHighlight(command);
    if (duringMenu) duringMenu();
    if (onHighlight) onHighlight(0); // closed: nothing is highlighted any more
    return menuAnswer;
}

int HeadlessSite::MessageBox(const std::string& text, const std::string& caption, int buttons) {
    messages.push_back({text, caption, buttons});
    if (messageAnswers.empty()) return buttons == OkOnly ? IdOk : IdCancel;
    const int answer = messageAnswers.front();
    messageAnswers.pop_front();
    return answer;
}

void HeadlessSite::ShowPopupText(const std::string& text, int x, int y) {
    popupShown = true;
    popupText = text;
    popupX = x;
    popupY = y;
    ++popupShowCount;
}

bool HeadlessSite::ShowPropertySheet(const std::string& caption,
                                     const std::vector<IPropertyPage*>& pages) {
    ShownSheet shown{caption, {}};
    for (const IPropertyPage* page : pages)
        shown.pages.push_back(page->Caption());
    sheets.push_back(std::move(shown));
    const bool ok = sheetUser && sheetUser(pages);
    for (IPropertyPage* page : pages) {
        if (ok) page->Apply();
        page->Closed();
    }
    return ok;
}

} // namespace ui
