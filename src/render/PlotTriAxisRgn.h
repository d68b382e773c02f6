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

    // Ticks along a side, placed by map in device y. side 1: the left side (the vertical side
    // of triKind 2), 2: the right side. The side passes through (axisPos, labelPos) and leans
    // by 0.5773 per unit of height; marks point into the triangle, labels stand outside.
    static void DrawTicks(gdi::IDeviceContext& dc, CPlotEnv& env, const CPlotAxis& axis,
                          CScaleMap map, const CPlotFont* font, int side, int axisPos, int labelPos,
                          gdi::ColorRef foreColor);
    // Device x of the side at device height y.
    static int SideX(int triKind, int side, int axisPos, int labelPos, int y);

    int zeroWidth = 0;  // width of "0.0" in the axis font
    int zeroHeight = 0; // its height: the tick label band
};
