#include "platform/ui/HeadlessSite.h"

namespace ui {

void HeadlessSite::Invalidate(bool) { ++invalidateCount; }

void HeadlessSite::ShowScrollBar(bool h, bool show) { (h ? horizontal : vertical).shown = show; }

void HeadlessSite::SetScrollInfo(bool h, int max, int pos, int page) {
    ScrollBar& bar = h ? horizontal : vertical;
    bar.max = max;
    bar.pos = pos;
    bar.page = page;
}

} // namespace ui
