#include "platform/ui/HeadlessSite.h"

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

void HeadlessSite::ResizeSurface(int width, int height) {
    surface.reset();
    if (surfaceFactory && width > 0 && height > 0) surface = surfaceFactory(width, height);
}

} // namespace ui
