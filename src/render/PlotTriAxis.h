#pragma once
#include "render/PlotAxis.h"

// A side axis of a triangular plot: ticks along a slanted (or, in the right triangle, the
// vertical) side, none at the corners, labels outside the triangle.
class CPlotTriAxis : public CPlotAxis {
public:
    explicit CPlotTriAxis(int triKind) : CPlotAxis(triKind) {}

    // side 1: the left side (vertical side of triKind 2), 2: the right side. The side passes
    // through (axisPos, labelPos) and leans by 0.5773 per unit of height; env maps this axis
    // to device y.
    void DrawTicks(gdi::IDeviceContext& dc, CPlotEnv& env, const CPlotFont* font, int side,
                   int axisPos, int labelPos, gdi::ColorRef foreColor) const;
    // Device x of the side at device height y.
    int SideX(int side, int axisPos, int labelPos, int y) const;
};
