#pragma once
#include "render/PlotLabel.h"
#include "render/PlotRegion.h"

#include <string>
#include <vector>

// An axis label, or a variable's label when labels belong to variables.
class CPlotLabelRgn : public CPlotRegion {
public:
    CPlotLabelRgn(int kind, int axisNo) : CPlotRegion(kind), axisNo(axisNo) {}
    bool CanSelect() const override { return true; }

    CPlotLabel label;
    int axisNo;    // 0 the X axis, 1..n a Y axis, -1 none
    int varNo = 0; // 1-based variable, 0 for an axis label, -1 when axes share the region
    int plain = 0; // no line sample beside the text
    int hiddenByContent = 0;
};

// The plot title; its text may run over several lines.
class CPlotTitleRgn : public CPlotLabelRgn {
public:
    explicit CPlotTitleRgn(int kind = Title) : CPlotLabelRgn(kind, -1) {}
    std::vector<std::string> lines;
    int firstLineHeight = 0;
};

// One of the three corner labels of a triangular plot.
class CPlotCornerRgn : public CPlotTitleRgn {
public:
    CPlotCornerRgn() : CPlotTitleRgn(Corner) {}
};

// A side label of a triangular plot.
class CPlotTriLabelRgn : public CPlotLabelRgn {
public:
    CPlotTriLabelRgn(int axisNo, int triKind) : CPlotLabelRgn(YLabel, axisNo), triKind(triKind) {}
    void Draw(CPlotPaintContext& ctx, bool force) override;
    int triKind;
};
