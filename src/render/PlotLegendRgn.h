#pragma once
#include "render/PlotLabelRgn.h"
#include "render/PlotRegion.h"

#include <vector>

// One entry of the legend, prepared by the plot model from a visible variable.
struct CLegendEntry {
    CShownText shown;
    int color = 0;       // palette index of the text and the line
    int penLineType = 1; // the curve's pen line type; CPlotVar::kNoLine: no line
    int marker = 0;
    int barPattern = 0; // hatch of a bar sample
    int barOutline = 0; // palette index of a bar sample's outline
    bool area = false;  // a filled area: no marker
};

// The legend box: one entry per visible variable.
class CPlotLegendRgn : public CPlotRegion {
public:
    CPlotLegendRgn() : CPlotRegion(Legend) {}
    bool CanSelect() const override { return true; }

    // Takes each value that lies within its limits and leaves the others unchanged.
    void SetBox(int sampleLength, float itemHeightFactor, int margin);

    // Width and height of the box for the prepared entries; measured once until unsized.
    gdi::Size Measure(CPlotPaintContext& ctx) override;
    // Places the box relative to the drawing region (fx, fy) inside a control W wide.
    void Place(const Rect& drawing, float fx, float fy, int controlWidth);
    void Draw(CPlotPaintContext& ctx, bool force) override;
    void ShowSelectedLate(CPlotPaintContext& ctx) override;
    int EntryHeight(int h, int index) const;

    // Pointer editing: the drag mode is the key of the handle under the pointer (0: move).
    void SetDragMode(int mode) { dragMode = mode; }
    void BeginDrag(CPlotPaintContext& ctx, gdi::Point point);
    void DragTo(CPlotPaintContext& ctx, gdi::Point point);
    // Ends the drag; false when nothing changed. Otherwise the new relative position is in
    // fx, fy and the box's own sizes have been adjusted (it must be measured again).
    bool EndDrag(CPlotPaintContext& ctx, const Rect& drawing, float& fx, float& fy);

    int shown = 0;
    int sized = 0; // cleared whenever texts, fonts or attributes change
    int height = 0;
    int width = 0;
    int itemCount = 0;
    Rect dragRect;
    gdi::Point dragStart;
    int lineSampleLength = 90;      // 11..200
    float itemHeightFactor = 1.25f; // 0.8 up to but not including 3
    int margin = 5;                 // 3..39
    int dragMode = 0;
    int minimumWidth = 0;
    int textHeightTotal = 0;

    // Prepared by the model before the layout.
    std::vector<CLegendEntry> entries;
    int displayType = 2; // 0 lines, 1 markers, 2 both
    bool barMode = false;
    bool selected = false;

private:
    void DrawEntry(CPlotPaintContext& ctx, const gdi::Rect& r, const CLegendEntry& e, int top,
                   int h);
    void DrawOutline(CPlotPaintContext& ctx);
    Rect Dragged(gdi::Point point) const;
    int lastTextHeight_ = 0;
};
