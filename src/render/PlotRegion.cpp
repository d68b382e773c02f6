#include "render/PlotRegion.h"

#include "render/PlotPaintContext.h"

void CPlotRegion::Draw(CPlotPaintContext&, bool) {}

gdi::Size CPlotRegion::Measure(CPlotPaintContext&) { return {0, 0}; }

void CPlotRegion::ShowSelected(CPlotPaintContext&) {}

bool CPlotRegion::HitTest(int x, int y) const {
    return !hidden && selectable && x >= rect.left && x < rect.right && y >= rect.top &&
           y < rect.bottom;
}

int CPlotRegion::SetVisibility(int value, int mask) {
    if (mask & 1) hidden = (value & 1) ? 0 : 1;
    if (mask & 2) selectable = (value & 2) ? 1 : 0;
    return selectable ? 3 : 1;
}
