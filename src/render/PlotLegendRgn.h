#pragma once
#include "render/PlotRegion.h"

// The legend box: one entry per visible variable.
class CPlotLegendRgn : public CPlotRegion {
public:
    CPlotLegendRgn() : CPlotRegion(Legend) {}
    bool CanSelect() const override { return true; }

    // Takes each value that lies within its limits and leaves the others unchanged.
    void SetBox(int sampleLength, float itemHeightFactor, int margin);

    int shown = 0;
    int sized = 0; // cleared whenever texts, fonts or attributes change
    int height = 0;
    int width = 0;
    int itemCount = 0;
    int lineSampleLength = 90;      // 11..200
    float itemHeightFactor = 1.25f; // 0.8 up to but not including 3
    int margin = 5;                 // 3..39
    int dragMode = 0;
    int minimumWidth = 0;
    int textHeightTotal = 0;
};
