#pragma once
#include "render/PlotRegion.h"

// The area the curves are drawn in.
class CPlotDrawingRgn : public CPlotRegion {
public:
    CPlotDrawingRgn() : CPlotRegion(Drawing) {}
    bool CanSelect() const override { return true; }
    virtual void ClearCache() { zoomBoxShown = false; }
    virtual void SetOrientation(int) {}

    Rect zoomBox;
    bool zoomBoxShown = false; // a rectangle is marked
};

// The drawing area of a bar graph.
class CPlotBarDrawingRgn : public CPlotDrawingRgn {};

// The triangle of a triangular plot.
class CPlotTriDrawingRgn : public CPlotDrawingRgn {
public:
    explicit CPlotTriDrawingRgn(int triKind) : triKind(triKind) {}
    void SetOrientation(int newTriKind) override { triKind = newTriKind; }
    int triKind;
};
