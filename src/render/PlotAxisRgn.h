#pragma once
#include "render/PlotAxis.h"
#include "render/PlotLabel.h"
#include "render/PlotRegion.h"

#include <memory>

// The region of one axis: it owns the axis scale and the axis label.
class CPlotAxisRgn : public CPlotRegion {
public:
    // axisNo 0 is the X axis, 1..n the Y axes; triKind 0 rectangular, 1 or 2 triangular.
    CPlotAxisRgn(int axisNo, int triKind);
    bool CanSelect() const override { return true; }
    bool IsVertical() const { return kind == YAxis; }
    void SetOrientation(int newTriKind);

    std::unique_ptr<CPlotAxis> axis;
    int axisNo;
    int triKind;
    CPlotLabel label;
    bool empty = false; // no visible variable with data is on this axis
};
