#pragma once
#include "platform/gdi/DeviceContext.h"
#include "platform/locale/Locale.h"
#include "render/CurveGeometry.h"
#include "render/DrawTool.h"
#include "render/PlotBullet.h"
#include "render/ScaleMap.h"
#include "render/ViewCoeff.h"

#include <array>
#include <cmath>
#include <functional>
#include <list>
#include <span>
#include <string_view>
#include <vector>

// The drawing environment of one plot: the mapping from plot (world) coordinates to device
// coordinates for the rectangle being drawn, the device scale factor of scaled output, text
// measurement, pens, brushes and fonts from the process-wide CDrawTool, markers and arrow
// heads, the snap grid and the selection handles. The device context is passed per call.
class CPlotEnv {
public:
    // Called with a device rectangle that must be painted again.
    using Invalidate = std::function<void(const gdi::Rect&)>;
    // Device coordinates are clamped to this magnitude so that no mapping overflows.
    static constexpr int kDeviceLimit = CScaleMap::kDeviceLimit;

    explicit CPlotEnv(CDrawTool& tool = CDrawTool::Instance());
    virtual ~CPlotEnv() = default;
    CPlotEnv(const CPlotEnv&) = delete;
    CPlotEnv& operator=(const CPlotEnv&) = delete;

    // Mapping. Degenerate world ranges are widened, never reported.
    void SetMapping(const gdi::Rect& rect, float x0, float x1, float y0, float y1);
    void SetYRange(float y0, float y1);
    int Left() const { return -negLeft; }
    int Top() const { return -negTop; }

    // The maps of the current rectangle: x from x0 at its left edge to x1 at its right, y
    // from y0 at its top to y1 at its bottom, offsets included.
    CScaleMap XMap() const { return CScaleMap(x0, x1, width, offsetX - negLeft); }
    CScaleMap YMap() const { return CScaleMap(y0, y1, height, offsetY - negTop); }
    // The y map the rectangle would have with top and bottom as its y range (widened as
    // SetYRange widens it), for an axis that is drawn along its own range.
    CScaleMap YMapFor(float top, float bottom) const;
    // round((x − x0)·width/(x1 − x0)) + left + offsetX, half away from zero. Callers skip
    // non-finite values; a NaN maps to the device limit.
    int MapX(float x) const { return XMap().Map(x); }
    int MapY(float y) const { return YMap().Map(y); }
    // The mapping of a curve as a value: x as MapX maps it, and y as MapY does, or from yTop at
    // the top to yBottom at the bottom as YMapFor maps it; the environment stays as it is.
    CurveGeometry::CurveMap CurveMapping() const;
    CurveGeometry::CurveMap CurveMapping(float yTop, float yBottom) const;
    // False, with the outputs untouched, when a coordinate is NaN or infinite.
    virtual bool WorldToDevice(float x, float y, int& dx, int& dy) const;
    // The offsets are not removed.
    virtual void DeviceToWorld(int dx, int dy, float& x, float& y) const;
    void OffsetPoint(int& x, int& y) const;
    void OffsetRect(gdi::Rect& rect) const;
    void SaveCoeff() { savedCoeff = coeff; }
    void RestoreCoeff() { coeff = savedCoeff; }

    // Scaled output: sizes grow by s, the plot is centred by the offsets.
    void BeginScaledOutput(float s, int dx, int dy);
    void EndScaledOutput();
    // n times s, toward zero; sizes and extents stop at kScaledLimit either way, so that a
    // tiny layout drawn huge cannot overflow the coordinates.
    int ScaleSize(int n) const;
    static constexpr int kScaledLimit = 1 << 24;

    // Text extent in the unscaled font (the default font when none), times s, rounded.
    gdi::Size MeasureText(const CPlotFont* font, gdi::IDeviceContext& dc,
                          std::string_view text) const;
    // Selects the font scaled by s (the default font when none); returns the previous font.
    gdi::Font SelectFont(gdi::IDeviceContext& dc, const CPlotFont* font);

    // Pens and brushes from the tool's caches; each returns what was selected before. A
    // colour index outside the table raises the invalid-argument error.
    virtual gdi::Pen SelectColorPen(gdi::IDeviceContext& dc, gdi::ColorRef rgb, int lineType);
    virtual gdi::Pen SelectPen(gdi::IDeviceContext& dc, int colorIndex, int lineType);
    virtual gdi::Brush SelectBrush(gdi::IDeviceContext& dc, int colorIndex, int hatch);
    virtual gdi::Brush SelectColorBrush(gdi::IDeviceContext& dc, gdi::ColorRef rgb);
    virtual gdi::Brush SelectSolidBrush(gdi::IDeviceContext& dc, int colorIndex);

    // Marker kinds 0..11 of half size h at (x, y); nothing when the square x ± h, y ± h is
    // not visible in the DC.
    void DrawMarker(gdi::IDeviceContext& dc, int kind, int x, int y, int colorIndex, int halfSize);
    // The same marker at each point, in order, as DrawMarker draws them one by one.
    void DrawMarkers(gdi::IDeviceContext& dc, int kind, std::span<const gdi::Point> at,
                     int colorIndex, int halfSize);
    // A filled arrow head size long with its tip at tip, pointing away from tail.
    void DrawArrowHead(gdi::IDeviceContext& dc, int tipX, int tipY, int tailX, int tailY, int size);
    void SnapToGrid(float& x, float& y) const;

    // Selection handles.
    void PlaceHandle(gdi::IDeviceContext& dc, int x, int y, int id, int key, const void* region,
                     const void* annotation);
    void DrawHandles(gdi::IDeviceContext& dc);
    int HitHandle(gdi::Point point, bool remember);
    void NextHandle(gdi::IDeviceContext& dc, const Invalidate& invalidate);
    // Removes the handles of one owner (region or annotation), all when owner is null.
    void RemoveHandles(const Invalidate& invalidate, const void* owner);
    const std::list<CPlotBullet>& Handles() const { return handleList; }

    CDrawTool* tool;
    float x0 = 0, x1 = 1; // world x at the left and right edge
    float y0 = 1, y1 = 0; // world y at the top and bottom edge
    int negLeft = 0, negTop = 0;
    int offsetX = 0, offsetY = 0;
    float scale = 1;
    int width = 1, height = 1;
    const CPlotFont* defaultFont;
    CViewCoeff coeff;
    CViewCoeff savedCoeff;
    int snapOn = 0;
    float snapStep = 0.1f;
    std::list<CPlotBullet> handleList;
    CPlotBullet* hotHandle = nullptr;
    CPlotBullet* selectedHandle = nullptr;
    locale::Locale locale = locale::Locale::FromProcess(); // drawn number texts

private:
    void Recompute();
    static void DrawMarkerShape(gdi::IDeviceContext& dc, int shape, int x, int y, int h);
    std::vector<gdi::Point> visibleMarkers_; // reused from call to call
    void DrawHandle(gdi::IDeviceContext& dc, const CPlotBullet& handle, int brushColor);
};
