#pragma once
#include "platform/gdi/GdiTypes.h"
#include "render/PlotFont.h"

struct CPlotPaintContext;

// One rectangular part of the control: title, axes, labels, legend or the drawing area.
class CPlotRegion {
public:
    enum Kind {
        Plain = -1,
        Drawing = 0,
        Title = 1,
        XAxis = 2,
        YAxis = 3,
        XLabel = 4,
        YLabel = 5,
        Legend = 6,
        Corner = 7,
    };
    struct Rect {
        int left = 0, top = 0, right = 0, bottom = 0;
        int width() const { return right - left; }
        int height() const { return bottom - top; }
        bool operator==(const Rect&) const = default;
    };

    explicit CPlotRegion(int kind) : kind(kind) {}
    virtual ~CPlotRegion() = default;
    CPlotRegion(const CPlotRegion&) = delete;
    CPlotRegion& operator=(const CPlotRegion&) = delete;

    // Paints the region; without force, nothing when its rectangle is not visible.
    virtual void Draw(CPlotPaintContext& ctx, bool force);
    // Preferred width and height in device units (scaled).
    virtual gdi::Size Measure(CPlotPaintContext& ctx);
    // Marks the region as selected (drawn before the region itself).
    virtual void ShowSelected(CPlotPaintContext& ctx);
    // Marks that must be drawn after everything else.
    virtual void ShowSelectedLate(CPlotPaintContext&) {}
    virtual bool CanSelect() const { return false; }
    virtual bool HitTest(int x, int y) const;
    // mask bit 0: hidden = not (value bit 0); mask bit 1: selectable = value bit 1
    int SetVisibility(int value, int mask);
    bool IsEmpty() const { return rect.right <= rect.left || rect.bottom <= rect.top; }
    // The rectangle on the device: the layout rectangle moved by the output offset.
    gdi::Rect DeviceRect(const CPlotPaintContext& ctx) const;

    Rect rect;
    CPlotFont* font = nullptr;       // owned by the model's font slots
    CPlotFont* secondFont = nullptr; // exponents and secondary text
    int kind;
    int selectable = 1;
    int hidden = 0;

protected:
    // Whether Draw has anything to do: not hidden, not empty, and visible unless forced.
    bool ShouldDraw(const CPlotPaintContext& ctx, bool force) const;
    // The silver background of a selected region.
    void FillSelected(CPlotPaintContext& ctx);
};
