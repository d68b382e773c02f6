#pragma once
#include "render/PlotAxis.h"
#include "render/PlotLabel.h"
#include "render/PlotRegion.h"
#include "render/ScaleMap.h"

#include <memory>
#include <string>

namespace gdi {
class IDeviceContext;
}
class CPlotEnv;

// Where the ticks of a rectangular axis go: axisPos is the device coordinate of the axis line,
// labelPos the label baseline of a horizontal axis. A vertical axis writes its labels along
// the line, left of it; skipOrigin leaves out the tick where this axis meets the other one.
struct AxisTickPlace {
    int labelPos = 0;
    int axisPos = 0;
    bool vertical = false;
    bool skipOrigin = false;
};

// The region of one axis: it owns the axis scale and the axis label, and draws the ticks.
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

    // Tick marks and labels of a rectangular axis, placed along it by map. Vertical axes
    // write their labels in font, which the caller gives rotated.
    static void DrawTicks(gdi::IDeviceContext& dc, CPlotEnv& env, const CPlotAxis& axis,
                          CScaleMap map, const CPlotFont* font, const AxisTickPlace& place,
                          gdi::ColorRef foreColor = 0);
    // Width of the axis's tick label at its high end (low end when reversed), scaled.
    static int HighEndLabelWidth(gdi::IDeviceContext& dc, const CPlotEnv& env,
                                 const CPlotAxis& axis, const CPlotFont* font);

    // A tick's label as FormatTickText writes it against its neighbours step away, trailing
    // zeros trimmed: what the label thinning measures.
    static std::string TickText(const AxisScale::Tick& tick, double factor, double step);

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
