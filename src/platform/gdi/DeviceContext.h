#pragma once
#include "platform/gdi/GdiTypes.h"

#include <functional>
#include <memory>
#include <span>
#include <string_view>

namespace gdi {

// A drawing surface with the state the drawing code works with: the selected pen, brush and
// font, the text and background colours, the background mode, the raster operation, the text
// alignment, the current position and the clip area. Select calls return the previous object
// so that the caller can select it back when its drawing step ends.
//
// Shapes follow one convention: a rectangle's right and bottom edges lie outside the shape,
// and LineTo does not draw its end point. Filled shapes are outlined with the pen and filled
// with the brush; polygons fill by the alternate (even-odd) rule.
class IDeviceContext {
public:
    virtual ~IDeviceContext() = default;

    virtual DeviceKind Kind() const = 0;
    // Size of the whole surface in device units.
    virtual Size SurfaceSize() const = 0;

    // Drawing objects.
    virtual Pen SelectPen(const Pen& pen) = 0;
    virtual Brush SelectBrush(const Brush& brush) = 0;
    virtual Font SelectFont(const Font& font) = 0;
    virtual const Pen& CurrentPen() const = 0;
    virtual const Brush& CurrentBrush() const = 0;
    virtual const Font& CurrentFont() const = 0;

    // Colours and modes; each returns the previous value.
    virtual ColorRef SetTextColor(ColorRef color) = 0;
    virtual ColorRef SetBkColor(ColorRef color) = 0;
    virtual BackgroundMode SetBkMode(BackgroundMode mode) = 0;
    virtual RasterOp SetRop2(RasterOp op) = 0;
    virtual RasterOp Rop2() const = 0;
    virtual unsigned SetTextAlign(unsigned flags) = 0;

    // Text. With AlignUpdateCP, TextOut draws at the current position, ignores x and y and
    // moves the current position past the text. Extents are of the unrotated text.
    virtual void TextOut(int x, int y, std::string_view text) = 0;
    virtual Size GetTextExtent(std::string_view text) = 0;
    virtual TextMetrics GetTextMetrics() = 0;

    // Lines and shapes.
    virtual Point MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;
    virtual void Polyline(std::span<const Point> points) = 0;
    virtual void Polygon(std::span<const Point> points) = 0;
    virtual void Rectangle(const Rect& r) = 0;
    virtual void Ellipse(const Rect& r) = 0;
    // Counter-clockwise from the radial through start to the radial through end.
    virtual void Arc(const Rect& r, Point start, Point end) = 0;
    virtual void Chord(const Rect& r, Point start, Point end) = 0;
    // One figure at each point of at, in order: figure(dc, x, y) draws it at (x, y) with the
    // current pen and brush, all of its pixels within extent moved to (x, y). This draws it at
    // every point; a device whose pixels move with the figure may draw it once and copy it.
    using Figure = std::function<void(IDeviceContext& dc, int x, int y)>;
    virtual void DrawCopies(std::span<const Point> at, const Rect& /*extent*/,
                            const Figure& figure) {
        for (const Point& p : at)
            figure(*this, p.x, p.y);
    }
    // Fills with a solid colour, ignoring pen, brush and raster operation.
    virtual void FillSolidRect(const Rect& r, ColorRef color) = 0;

    // Clipping. The clip area starts as the whole surface.
    virtual void IntersectClipRect(const Rect& r) = 0;
    virtual void SelectClipRect(const Rect& r) = 0; // replaces the clip area
    virtual void
    SelectClipPolygon(std::span<const Point> points) = 0; // replaces it, alternate fill
    virtual void ResetClip() = 0;
    virtual Rect GetClipBox() const = 0;
    bool RectVisible(const Rect& r) const { return Overlaps(GetClipBox(), r); }

    // State stack: SaveDC returns the new level; RestoreDC(-1) pops the last one.
    virtual int SaveDC() = 0;
    virtual void RestoreDC(int level) = 0;

    // Block copy from another surface of the same backend.
    virtual void BitBlt(int x, int y, int width, int height, IDeviceContext& source, int srcX,
                        int srcY) = 0;
    // A memory surface of the same backend, for off-screen drawing.
    virtual std::unique_ptr<IDeviceContext> CreateCompatible(int width, int height) = 0;
};

// Selects a pen for the lifetime of the guard.
class PenScope {
public:
    PenScope(IDeviceContext& dc, const Pen& pen) : dc_(dc), old_(dc.SelectPen(pen)) {}
    ~PenScope() { dc_.SelectPen(old_); }
    PenScope(const PenScope&) = delete;
    PenScope& operator=(const PenScope&) = delete;

private:
    IDeviceContext& dc_;
    Pen old_;
};

// Saves the device state for the lifetime of the guard.
class StateScope {
public:
    explicit StateScope(IDeviceContext& dc) : dc_(dc), level_(dc.SaveDC()) {}
    ~StateScope() { dc_.RestoreDC(level_); }
    StateScope(const StateScope&) = delete;
    StateScope& operator=(const StateScope&) = delete;

private:
    IDeviceContext& dc_;
    int level_;
};

} // namespace gdi
