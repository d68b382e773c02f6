#pragma once
#include "render/PlotLabel.h"
#include "render/PlotRegion.h"

#include <string>
#include <vector>

// What the plot model prepares for a text region before each layout: the text after symbol
// substitution and the multiplier note of its axis. Regions cannot reach the model.
struct CShownText {
    std::string text;     // the label or legend text as shown
    bool note = false;    // followed by " x 10"
    std::string exponent; // the raised power of ten after the note (empty for 1)
};

// An axis label, or a variable's label when labels belong to variables.
class CPlotLabelRgn : public CPlotRegion {
public:
    CPlotLabelRgn(int kind, int axisNo) : CPlotRegion(kind), axisNo(axisNo) {}
    bool CanSelect() const override { return true; }

    // The text plus the multiplier note, in the label font (turned when upright).
    gdi::Size Measure(CPlotPaintContext& ctx) override;
    void Draw(CPlotPaintContext& ctx, bool force) override;
    void ShowSelected(CPlotPaintContext& ctx) override { FillSelected(ctx); }
    // The font the text is written in, and its note exponent.
    const CPlotFont* TextFont(CPlotPaintContext& ctx) const;
    const CPlotFont* ExponentFont(CPlotPaintContext& ctx) const;
    // Extent of the text alone, unturned and scaled.
    gdi::Size TextExtent(CPlotPaintContext& ctx) const;

    CPlotLabel label;
    int axisNo;    // 0 the X axis, 1..n a Y axis, -1 none
    int varNo = 0; // 1-based variable, 0 for an axis label, -1 when axes share the region
    int plain = 0; // no line sample beside the text
    int hiddenByContent = 0;

    // Prepared by the model before the layout.
    CShownText shown;
    bool upright = false;    // written along an upright axis
    bool suppressed = false; // replaced by the corner labels of a triangular plot
    int colorIndex = -1;     // palette colour of the text, -1 the foreground colour
    // The line sample beside an upright variable label.
    bool lineSample = false;
    int samplePenLineType = 1; // the curve's pen line type (no line: drawn as type 1)
    int sampleMarker = -1;     // no marker when negative

private:
    void DrawAcross(CPlotPaintContext& ctx, const gdi::Rect& r);
    void DrawUpright(CPlotPaintContext& ctx, const gdi::Rect& r);
    void DrawLineSample(CPlotPaintContext& ctx, const gdi::Rect& r, int textWidth, int textHeight);
};

// The plot title; its text may run over several lines.
class CPlotTitleRgn : public CPlotLabelRgn {
public:
    explicit CPlotTitleRgn(int kind = Title) : CPlotLabelRgn(kind, -1) {}
    // Widest line by the sum of the line heights; keeps the first line's height.
    gdi::Size Measure(CPlotPaintContext& ctx) override;
    void Draw(CPlotPaintContext& ctx, bool force) override;

    std::vector<std::string> lines; // prepared by the model: one entry per line, substituted
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
