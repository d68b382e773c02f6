#pragma once
#include "annot/PlotDisplay.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One element of a path: four points in element coordinates (a start point and three whose
// use depends on the kind), a count, the kind, three values and a string.
struct CPlotPathElem {
    enum Kind : std::int16_t {
        kMove = 0,
        kDraw = 1,
        kArc = 2,
        kMarker = 3,
        kBox = 10,
        kEllipse = 11,
        kPolygonHeader = 12,
        kTextSetup = 13,
        kTextDraw = 14,
        kSegment = 15,
        kMoveArc = 16,
    };
    std::array<float, 8> points{};
    std::int16_t count = 0;
    std::int16_t kind = kMove;
    std::array<std::int32_t, 3> values{}; // a flag, the colour index, the line type or size
    std::string text;

    float X(int point) const { return points[size_t(point) * 2]; }
    float Y(int point) const { return points[size_t(point) * 2 + 1]; }
    void SetPoint(int point, float x, float y) {
        points[size_t(point) * 2] = x;
        points[size_t(point) * 2 + 1] = y;
    }
    bool operator==(const CPlotPathElem&) const = default;
};

// A group of shapes turned into path elements under one transform: turned by quarter turns,
// mirrored and scaled about a pivot, then offset.
//
// What each shape adds when it is grouped, so that it draws as before:
// - line: one segment (kind 15) from point 1 to point 2;
// - box: one box (kind 10) spanned by its corners, the first value its filled flag;
// - ellipse and its parts: one ellipse (kind 11) with its box's lower left corner and its size,
//   the count the part's place in the part grid, the first value its filled flag;
// - quarter arc: one arc (kind 2) in the box of its whole ellipse, the count the quarter;
// - marker point: one marker (kind 3);
// - polygon and polyline: a polygon header (kind 12; first value: bit 0 closed, bit 1 filled)
//   and one point (kind 1 or 0 by the pen flag) per vertex; more than 32767 vertices cannot
//   be grouped;
// - text: a text set-up (kind 13) and a text drawing (kind 14, the size in world units);
// - a path: its elements taken through its own transform, so it draws as before.
class CPlotPath : public CPlotDisplay {
public:
    static constexpr int kOrientations = 8;
    static constexpr int kPivotHandle = 6;
    // Longest element list a record may carry.
    static constexpr std::size_t kMaxElements = 1'000'000;

    CPlotPath();
    const char* ClassName() const override { return "CPlotPath"; }

    const std::vector<CPlotPathElem>& Elements() const { return elements_; }
    void Append(CPlotPathElem element) { elements_.push_back(std::move(element)); }
    // Deletes a point element (kind 0) whose start repeats the previous element's start.
    void RemoveRepeatedPoints();

    int Orientation() const { return orientation_; }
    void SetOrientation(int orientation) { orientation_ = orientation & 7; }
    // The orientation after a turn or mirror key ('L', 'R', 'X', 'Y'); -1 for other keys.
    static int NextOrientation(int orientation, int key);
    float PivotX() const { return pivotX_; }
    float PivotY() const { return pivotY_; }
    void SetPivot(float x, float y);
    void SetPivotToCentre();
    float OffsetX() const { return offsetX_; }
    float OffsetY() const { return offsetY_; }
    float ScaleX() const { return scaleX_; }
    float ScaleY() const { return scaleY_; }
    // Multiplies the scale; refused (false) for factors that are not finite and positive.
    bool Scale(float fx, float fy);
    bool PivotMoved() const { return pivotMoved_; }

    // An element point in world coordinates under the transform.
    void ElementToWorld(float a, float b, float& x, float& y) const;
    // The world point back to element coordinates (the transform inverted).
    void WorldToElement(float x, float y, float& a, float& b) const;
    // The world bounds of the elements under the transform become the defining points.
    void ComputeWorldBounds();

    void WorldToDevice(const CPlotEnv& env) override;
    void DeviceToWorld(const CPlotEnv& env) override;
    void OffsetWorld(float dx, float dy) override;
    void SnapToGrid(const CPlotEnv& env) override;
    int KeyDown(int key, bool shift, const CPlotEnv& env) override;
    void CommitDrag() override;
    void SetColor(gdi::ColorRef rgb, int colorIndex) override;
    void SetLineType(int lineType) override;
    void DrawShape(gdi::IDeviceContext& dc, CPlotEnv& env, int dx, int dy) const override;
    void DrawOutline(gdi::IDeviceContext& dc, CPlotEnv& env, int dx, int dy) const override;
    void ShowHandles(gdi::IDeviceContext& dc, CPlotEnv& env) override;
    bool AppendToPath(CPlotPath& path) const override;
    // The shapes the elements draw, in world coordinates under the transform and in drawing
    // order: the inverse of grouping (a quarter arc comes back as a quarter arc, points outside
    // a polygon as an open polyline). Colours come from the palette of the tool.
    std::vector<std::unique_ptr<CPlotDisplay>> Ungroup(const CDrawTool& tool) const;
    // The pivot handle or a corner moves by the arrow key's step, as a drag of it would.
    void KeyMoveHandle(int handle, int key, const CPlotEnv& env) override;

protected:
    int MoveHandle(int x, int y, int handle) override;
    void WriteOwn(CShapeWriter& out) const override;
    bool ReadOwn(CShapeReader& in) override;

private:
    void DrawElements(gdi::IDeviceContext& dc, CPlotEnv& env, int dx, int dy) const;
    // The part code of an ellipse element after the orientation.
    int TurnedPart(int part) const;
    bool QuarterTurned() const;

    std::vector<CPlotPathElem> elements_;
    std::int16_t value1_ = 0, value2_ = 0;
    int orientation_ = 0;
    float offsetX_ = 0, offsetY_ = 0;
    float pivotX_ = 0, pivotY_ = 0;
    float scaleX_ = 1, scaleY_ = 1;
    // While a corner handle is dragged: the scale factors it asks for, and the pivot mark.
    float pendingX_ = 1, pendingY_ = 1;
    gdi::Point pivotMark_;
    gdi::Point cornerAtPress_;
    bool pivotMoved_ = false;
    bool markDragged_ = false;
    // The device size of one world unit, from the last mapping.
    double unitX_ = 1, unitY_ = 1;
};
