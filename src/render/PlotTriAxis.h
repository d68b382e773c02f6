#pragma once
#include "render/PlotAxis.h"

// The axis of one side of a triangular plot: a CPlotAxis whose triKind is 1 (a side of an
// equilateral triangle) or 2 (a side of a right triangle). Its ticks leave both corners out;
// CPlotTriAxisRgn draws them along the side.
class CPlotTriAxis : public CPlotAxis {
public:
    explicit CPlotTriAxis(int triKind) : CPlotAxis(triKind) {}
};
