#pragma once
#include "render/AxisScale.h"
#include "render/PlotAxis.h"

#include <vector>

// What one tick drawing of an axis works from, shared by the rectangular and the triangular
// axis regions: the ticks, the interval they step by, the factor of the labels and the
// lengths of the marks (5 and 3 units, grown with the output scale s).
struct TickRun {
    std::vector<AxisScale::Tick> ticks; // empty when the axis draws none
    double step = 0;
    double factor = 1;
    int t5 = 0, t3 = 0;
};

TickRun TicksToDraw(const CPlotAxis& axis, float s);
