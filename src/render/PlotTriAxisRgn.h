#pragma once
#include "render/PlotAxisRgn.h"
#include "render/PlotTriAxis.h"

// A side axis of a triangular plot: axis 1 the left side (the vertical side of the right
// triangle), axis 2 the right side (the hypotenuse of the right triangle).
class CPlotTriAxisRgn : public CPlotAxisRgn {
public:
    CPlotTriAxisRgn(int axisNo, int triKind) : CPlotAxisRgn(axisNo, triKind) {
        axis = std::make_unique<CPlotTriAxis>(triKind);
    }
    void Draw(CPlotPaintContext& ctx, bool force) override;
    gdi::Size Measure(CPlotPaintContext& ctx) override;
    void ShowSelected(CPlotPaintContext& ctx) override;
    bool HitTest(int x, int y) const override;
    // The side line's two ends in this region's rectangle.
    void SideLine(gdi::Point& a, gdi::Point& b) const;

    int zeroWidth = 0;  // width of "0.0" in the axis font
    int zeroHeight = 0; // its height: the tick label band
};
