#pragma once
#include "platform/gdi/GdiTypes.h"

// Where print preview shows the page in a control of width x height: the largest rectangle of
// the printable area's proportions that fits with a margin of kMargin on every side, centred.
// A control too small for the margins, or a printer without an area, shows the page over the
// whole control.
namespace PrintPage {

inline constexpr int kMargin = 5;

gdi::Rect PreviewRect(int width, int height, gdi::Size printable);

} // namespace PrintPage
