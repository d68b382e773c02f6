#include "control/PrintPage.h"

namespace PrintPage {

gdi::Rect PreviewRect(int w, int h, gdi::Size printable) {
    const int ww = w - 2 * kMargin, hh = h - 2 * kMargin;
    if (ww <= 0 || hh <= 0 || printable.cx <= 0 || printable.cy <= 0) return {0, 0, w, h};
    // The printer's aspect ratio, height over width.
    const double a = double(printable.cy) / double(printable.cx);
    if (double(hh) / double(ww) > a) {
        // Wider than tall for the page: full width, centred vertically.
        const int top = (h - int(double(ww) * a)) / 2;
        return {kMargin, top, w - kMargin, h - top};
    }
    // Full height, centred horizontally.
    const int left = (w - int(double(hh) / a)) / 2;
    return {left, kMargin, w - left, h - kMargin};
}

} // namespace PrintPage
