#pragma once
#include "render/CurveGeometry.h"
#include "render/PlotRegion.h"
#include <array>

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

class CPlotAxis;
class CPlotEnv;
class CPlotVar;
namespace gdi {
class IDeviceContext;
}

// The area the curves are drawn in: grid, zero and diagonal line, the zoom box, and for each
// variable its curve, markers and direction arrow. It also answers the pointer questions
// (world position, nearest curve point, zoom box).
class CPlotDrawingRgn : public CPlotRegion {
public:
    // A marker's tooltip: key = varIndex·100 + sample + 1, the marker square and its text.
    struct Tooltip {
        int key = 0;
        Rect area;
        std::string text;
    };
    // The curve point nearest to the pointer.
    struct CurveHit {
        int varIndex = -1;
        double x = 0, y = 0;
    };

    CPlotDrawingRgn() : CPlotRegion(Drawing) {}
    bool CanSelect() const override { return true; }
    virtual void ClearCache() { zoomBoxShown = false; }
    virtual void SetOrientation(int) {}

    // Grid, zero line, diagonal line and zoom box; nothing when not visible unless forced.
    void Draw(CPlotPaintContext& ctx, bool force) override;
    // Each curve is drawn with its own mapping: the plot's X axis and the curve's Y axis.
    using Map = CurveGeometry::CurveMap;
    virtual void DrawCurve(CPlotPaintContext& ctx, const Map& map, CPlotVar& xVar, CPlotVar& yVar,
                           const CPlotAxis& xAxis, const CPlotAxis& yAxis);
    virtual void DrawDirectionArrow(CPlotPaintContext& ctx, CPlotVar& xVar, CPlotVar& yVar);
    virtual void DrawMarkers(CPlotPaintContext& ctx, const Map& map, CPlotVar& xVar, CPlotVar& yVar,
                             const CPlotAxis& xAxis, const CPlotAxis& yAxis, int varIndex);
    virtual void DrawBars(CPlotPaintContext&, const Map&, CPlotVar&, CPlotVar&, const CPlotAxis&,
                          const CPlotAxis&, int /*seriesCount*/, int /*seriesIndex*/,
                          bool /*horizontal*/) {}
    virtual void DrawGrid(CPlotPaintContext& ctx);
    virtual void DrawZoomBox(CPlotPaintContext& ctx);

    // The zoom box as fractions of the region, x from the left and y from the bottom edge;
    // false when no box is shown.
    virtual bool ZoomFractions(double& x0, double& x1, double& y0, double& y1) const;
    // Every sample whose mapped point lies in the zoom box gets the missing value as Y.
    virtual void DeletePointsInBox(const CPlotPaintContext& ctx, const Map& map, CPlotVar& xVar,
                                   CPlotVar& yVar, const CPlotAxis& xAxis, const CPlotAxis& yAxis);
    // Walks the segments of the pair; a segment that passes closer (by the detour
    // |A−P| + |B−P| − |A−B|) than best replaces best and hit.
    virtual void NearestCurvePoint(const CPlotPaintContext& ctx, const Map& map,
                                   const CPlotVar& xVar, const CPlotVar& yVar,
                                   const CPlotAxis& xAxis, const CPlotAxis& yAxis, gdi::Point point,
                                   double& best, CurveHit& hit, int varIndex) const;
    // World position under a device point as "x=%.3g\ny=%.3g".
    virtual std::string PointerText(const CPlotEnv& env, int x, int y, float& wx, float& wy) const;
    bool ZoomBoxContains(const Rect& r) const;
    // False when the segment lies wholly on the outer side of one edge.
    bool SegmentMayCross(int x1, int y1, int x2, int y2) const;
    bool ContainsPoint(gdi::Point p) const; // right and bottom edges included
    // Both values inside the X and first Y plot ranges (±1e-5, after the transforms).
    static bool InPlotRange(const CPlotAxis& xAxis, const CPlotAxis& yAxis, double x, double y);

    // World (plot coordinates) to device; false when the point cannot be mapped.
    virtual bool MapPoint(const CPlotPaintContext& ctx, const Map& map, double px, double py,
                          gdi::Point& p) const;
    // A sample through its axes and map; linear says both axes are linear and the mapping
    // plain, which skips the transforms.
    bool MapSample(const CPlotPaintContext& ctx, const Map& map, const CPlotAxis& xAxis,
                   const CPlotAxis& yAxis, bool linear, double x, double y, gdi::Point& p) const;
    // The convex outline curves are cut at, grown by grow units, with the output offset.
    virtual int ClipOutline(const CPlotEnv& env, int grow, gdi::Point outline[4]) const;
    // The region rectangle with the output offset.
    gdi::Rect DeviceRect(const CPlotEnv& env) const;

    Rect zoomBox;
    bool zoomBoxShown = false; // a rectangle is marked
    std::vector<Tooltip> tooltips;
    // The tooltip whose marker square holds the point (edges included); null when none.
    const Tooltip* TooltipAt(gdi::Point p) const;

protected:
    // The pen, brush and mode of one drawing pass of a curve.
    struct CurvePass {
        int color = 0;
        int lineType = 1; // pen line type
        int hatch = -1;
        bool fill = false;
        gdi::RasterOp rop = gdi::RasterOp::CopyPen;
    };
    // Which samples a curve walks: count slots from first, modulo size when ringed.
    struct SampleRange {
        std::uint32_t first = 0, count = 0, size = 0;
        bool ring = false;
        std::uint32_t Slot(std::uint32_t k) const { return ring ? (first + k) % size : first + k; }
        // The slots in order as at most two runs [begin, end): a ring's wrap splits them.
        std::array<std::pair<std::uint32_t, std::uint32_t>, 2> Spans() const {
            const std::uint32_t end = ring ? std::min(first + count, size) : first + count;
            return {{{first, end}, {0, first + count - end}}};
        }
    };

    // The variable whose attributes apply.
    static CPlotVar& Styled(const CPlotPaintContext& ctx, CPlotVar& xVar, CPlotVar& yVar);
    static bool Highlighted(const CPlotPaintContext& ctx, const CPlotVar& v);
    SampleRange CurveSamples(const CPlotPaintContext& ctx, const CPlotVar& xVar,
                             const CPlotVar& yVar) const;
    // The position in s of the first sample whose time is t; s.count when there is none.
    static std::uint32_t FirstAtTime(const SampleRange& s, const CPlotVar& time, double t);
    // Clip to the region (grown by grow): a clip region, or a clip rectangle on metafiles.
    virtual void ApplyClip(CPlotPaintContext& ctx, int grow);
    virtual int ClipGrow(const CPlotPaintContext& ctx, const CPlotVar& styled) const;
    void DrawCurvePass(CPlotPaintContext& ctx, const Map& map, CPlotVar& xVar, CPlotVar& yVar,
                       const CPlotAxis& xAxis, const CPlotAxis& yAxis, CPlotVar& styled,
                       const CurvePass& pass, int grow);
    void RestorePassState(CPlotPaintContext& ctx, const CurvePass& pass, const gdi::Pen& pen,
                          gdi::RasterOp rop, const gdi::Brush& brush, gdi::ColorRef text);
    // False when MapPoint does more than the environment's mapping.
    virtual bool PlainMapping() const { return true; }
    bool LinearMapping(const CPlotAxis& xAxis, const CPlotAxis& yAxis) const;
    // Fills the point buffer of a curve on linear axes in one pass over the samples.
    static void MapLinearCurve(const CPlotPaintContext& ctx, const Map& map, const CPlotVar& xVar,
                               const CPlotVar& yVar, CPlotVar& styled, const SampleRange& range);
    void DrawBuffer(CPlotPaintContext& ctx, CPlotVar& styled, const CurvePass& pass, int grow);
    // Whether a polyline reduced to its column extremes covers the same pixels.
    static bool ReducesExactly(const CPlotPaintContext& ctx, const CurvePass& pass);
    void DrawPolyline(CPlotPaintContext& ctx, std::span<const gdi::Point> points, int grow);
    void DrawPolygon(CPlotPaintContext& ctx, std::span<const gdi::Point> points, int grow);
    void LineSegment(CPlotPaintContext& ctx, gdi::Point a, gdi::Point b, bool start, int grow);
    // Adds the samples of slots begin to end of a live curve on linear axes to live_, drawing
    // the line gathered so far wherever a value breaks it.
    void MapLiveSpan(CPlotPaintContext& ctx, const Map& map, const double* xs, const double* ys,
                     std::uint32_t begin, std::uint32_t end, const CurvePass& pass, int grow);
    // Draws the live line gathered in live_ and empties it.
    void DrawLiveLine(CPlotPaintContext& ctx, const CurvePass& pass, int grow);

    // Keeps of the points that repeat only the last, in their order; the points lie in r
    // grown by 1.
    void KeepLastAtEachPoint(std::vector<gdi::Point>& points, const gdi::Rect& r);

    // Working buffers reused from paint to paint, so that drawing does not allocate per point.
    std::vector<gdi::Point> points_, clipped_, scratch_, markers_;
    std::vector<std::pair<int, int>> live_; // the device points of one live line
    std::vector<std::uint64_t> seen_;       // one bit per device point of the region
    static constexpr std::int64_t kMaxMarkedPoints = std::int64_t(1) << 26;
};

// The drawing area of a bar graph.
class CPlotBarDrawingRgn : public CPlotDrawingRgn {
public:
    void DrawBars(CPlotPaintContext& ctx, const Map& map, CPlotVar& xVar, CPlotVar& yVar,
                  const CPlotAxis& xAxis, const CPlotAxis& yAxis, int seriesCount, int seriesIndex,
                  bool horizontal) override;
    void DrawGrid(CPlotPaintContext&) override {}
};

// The triangle of a triangular plot: points are mapped through a shear for the equilateral
// triangle, and curves and fills are cut at the triangle's sides.
class CPlotTriDrawingRgn : public CPlotDrawingRgn {
public:
    explicit CPlotTriDrawingRgn(int triKind) : triKind(triKind) {}
    void SetOrientation(int newTriKind) override { triKind = newTriKind; }

    bool HitTest(int x, int y) const override;
    void DrawGrid(CPlotPaintContext& ctx) override;
    bool MapPoint(const CPlotPaintContext& ctx, const Map& map, double px, double py,
                  gdi::Point& p) const override;
    int ClipOutline(const CPlotEnv& env, int grow, gdi::Point outline[4]) const override;
    std::string PointerText(const CPlotEnv& env, int x, int y, float& wx, float& wy) const override;
    // World position under a device point with the shear removed; z = 1 − x − y.
    void DeviceToFractions(const CPlotEnv& env, int x, int y, float& wx, float& wy) const;

    int triKind;

protected:
    void ApplyClip(CPlotPaintContext& ctx, int grow) override;
    int ClipGrow(const CPlotPaintContext& ctx, const CPlotVar& styled) const override;
    // Only the equilateral triangle shears its points.
    bool PlainMapping() const override { return triKind != 1; }
};
