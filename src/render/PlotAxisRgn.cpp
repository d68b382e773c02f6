#include "render/PlotAxisRgn.h"

CPlotAxisRgn::CPlotAxisRgn(int axisNo, int triKind)
    : CPlotRegion(axisNo == 0 ? XAxis : YAxis), axis(std::make_unique<CPlotAxis>(triKind)),
      axisNo(axisNo), triKind(triKind) {}

void CPlotAxisRgn::SetOrientation(int newTriKind) {
    triKind = newTriKind;
    axis->triKind = newTriKind;
}
