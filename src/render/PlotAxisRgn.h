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

    // The axis line along the drawing region's side, and the ticks with their labels.
    void Draw(CPlotPaintContext& ctx, bool force) override;
    // The extent of "0.0" in the axis font: its height is the room the labels need.
    gdi::Size Measure(CPlotPaintContext& ctx) override;
    void ShowSelected(CPlotPaintContext& ctx) override { FillSelected(ctx); }
    // The font the labels are written in: turned a quarter for an upright axis.
    const CPlotFont* LabelFont(CPlotPaintContext& ctx) const;

    std::unique_ptr<CPlotAxis> axis;
    int axisNo;
    int triKind;
    CPlotLabel label;
    bool empty = false; // no visible variable with data is on this axis
    // Set by the layout: the axis stands upright (a Y axis, or the X axis of a flipped plot),
    // and the tick where it meets the other axis is left out.
    bool upright = false;
    bool skipOrigin = false;
};
