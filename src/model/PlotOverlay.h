#pragma once
#include "platform/gdi/GdiTypes.h"

#include <string>

struct CPlotPaintContext;

// What lies on top of the plot and takes the pointer before the regions: the text
// annotations and the host's plot objects. The plot model owns one and calls it at the fixed
// places of its paint sequence and pointer handling; the annotation subsystem implements it.
class IPlotOverlay {
public:
    virtual ~IPlotOverlay() = default;

    // Paints everything on top of the curves and the legend.
    virtual void Draw(CPlotPaintContext& ctx) = 0;
    // A left press: the mouse mode it starts, 0 when nothing took it.
    virtual int Press(CPlotPaintContext& ctx, gdi::Point p, int keyFlags) = 0;
    // Continues a drag the overlay started; false when mode is not its own.
    virtual bool Drag(CPlotPaintContext& ctx, int mode, gdi::Point p, int& cursor) = 0;
    // Finishes a drag the overlay started; false when mode is not its own.
    virtual bool Release(CPlotPaintContext& ctx, int mode, gdi::Point p, bool& repaint) = 0;
    // The context menu resource for a right press at p, 0 when nothing there has one.
    virtual int MenuAt(gdi::Point p) = 0;
    // A key while something of the overlay is selected; true when it was taken.
    virtual bool Key(CPlotPaintContext& ctx, int key, bool& repaint) = 0;
    // The marked rectangle was finished: what lies inside it is selected; true when that
    // selected something a repaint must show.
    virtual bool SelectInside(const gdi::Rect& box) = 0;
    // Curve points were rewound: annotations tied to curve points go with them.
    virtual void CurvePointsRewound() = 0;
    // A double click: the object hit becomes the selected one; its ID, 0 when none was hit.
    virtual int DoubleClickAt(gdi::Point /*p*/) { return 0; }
    // The tooltip text for the pointer at p, null when the overlay has none there.
    virtual const std::string* TooltipAt(gdi::Point /*p*/) const { return nullptr; }
    // A triangular plot turns: every object's fractions move round one corner.
    virtual void Rotate(int direction) = 0;
};
