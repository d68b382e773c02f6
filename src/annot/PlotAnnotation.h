#pragma once
#include "render/PlotFont.h"
#include "render/PlotRegion.h"

#include <array>
#include <string>

struct CPlotPaintContext;

// What a text annotation needs of the plot it lies on. Plot coordinates are data values after
// the axis transform; a coordinate at kLargestFloat lies on its axis. tagVariable (1-based, 0
// for none) chooses the Y axis.
class IAnnotationSite {
public:
    virtual ~IAnnotationSite() = default;
    virtual CPlotRegion::Rect DrawingRect() const = 0;
    virtual gdi::Size ControlSize() const = 0;
    virtual bool TagToDevice(CPlotPaintContext& ctx, double x, double y, int tagVariable,
                             gdi::Point& p) = 0;
    virtual bool DeviceToPlot(CPlotPaintContext& ctx, gdi::Point p, int tagVariable, double& x,
                              double& y) = 0;
    virtual bool InView(double x, double y, int tagVariable) = 0;
    // The curve segment with the smallest detour past a; false when no curve has one.
    virtual bool NearestCurve(CPlotPaintContext& ctx, gdi::Point a, double& detour, int& varNo,
                              double& x, double& y) = 0;
    virtual bool Flipped() const = 0;
    // The view was zoomed or scrolled away from the full ranges.
    virtual bool ViewMoved() const = 0;
    // 1: every annotation is drawn without background.
    virtual int TextMode() const = 0;
    // The text as shown: symbols substituted.
    virtual std::string Shown(const std::string& text) = 0;
};

// A block of text on the plot, possibly several lines and rotated: free (placed by fractions
// of the drawing area and its margins) or tied to a tag point in plot coordinates, from which
// it keeps its offset and to which it may draw a leader line with an arrowhead. Its region
// rectangle is its overall rectangle (text, leader and tag point).
class CPlotAnnotation : public CPlotRegion {
public:
    static constexpr int kRegionKind = 7;
    static constexpr double kLargestFloat = 3.4028235e38;
    // Drag codes: a move of the text, and a drag of the tag point.
    static constexpr int kMoveDrag = 1;
    static constexpr int kTagDrag = -101;
    static constexpr int kHandleHalf = 4; // the tag handle is the 9 x 9 square around the tag
    enum AttachMode { Free = 0, OnCurve = 1, OnAxis = 2, AtPoint = 3 };
    enum Alignment { Left = 0, Centre = 1, Right = 2 };

    // The attribute sextet of the settings text, in its order.
    struct Attributes {
        int attachMode = Free;
        int color = 0;
        int angle = 0; // degrees counter-clockwise
        int arrowSize = 2;
        int alignment = Left;
        int transparentText = 0;
        bool operator==(const Attributes&) const = default;
    };
    // Free: x, y are fractions (-1..2) of the drawing area and margins. Attached: the tag
    // point in plot coordinates, and dx, dy the anchor's offset as fractions of the drawing
    // area.
    struct Position {
        double x = 0, y = 0;
        double dx = 0, dy = 0;
        int tagVariable = 0;
        bool operator==(const Position&) const = default;
    };

    explicit CPlotAnnotation(std::string text);
    CPlotAnnotation(std::string text, const CPlotFont* font, const Attributes& attributes);

    // --- text, font, attributes and position ---
    const std::string& Text() const { return text_; }
    void SetText(std::string text);
    const CPlotFont* Font() const { return font_; }
    void SetFont(const CPlotFont* font);
    const Attributes& GetAttributes() const { return attributes_; }
    void SetAttributes(const Attributes& attributes);
    const Position& GetPosition() const { return position_; }
    void SetPosition(const Position& position);
    bool Attached() const { return attributes_.attachMode != Free; }
    // The mode to switch to at the next layout; -1 for none.
    void SetPendingAttachMode(int mode) { pendingAttachMode_ = mode; }
    int PendingAttachMode() const { return pendingAttachMode_; }

    // --- state flags ---
    bool Selected() const { return selected_; }
    void SetSelected(bool on) { selected_ = on; }
    bool Unplaced() const { return unplaced_; }
    void SetUnplaced(bool on) { unplaced_ = on; }
    bool TimeStamp() const { return timeStamp_; }
    void SetTimeStamp(bool on) { timeStamp_ = on; }
    bool TagNotPickable() const { return tagNotPickable_; }
    void SetTagNotPickable(bool on) { tagNotPickable_ = on; }
    void EnableTagHandle(bool on) { tagHandle_ = on; }
    void RequestLayout() { layoutNeeded_ = true; }
    void RequestClamp() { clampRequest_ = true; }
    bool LaidOut() const { return layoutValid_; }

    // --- geometry (valid after Layout) ---
    gdi::Point Anchor() const { return anchor_; }
    gdi::Point TagPoint() const { return tag_; }
    const Rect& TextRect() const { return textRect_; }
    const std::array<gdi::Point, 4>& Box() const { return box_; }
    std::array<int, 2> WidthVector() const { return widthVector_; }
    std::array<int, 2> HeightVector() const { return heightVector_; }

    // Free position <-> device point through the drawing area and the control's margins.
    static gdi::Point FreeToDevice(const Rect& drawing, gdi::Size control, double x, double y);
    static void DeviceToFree(const Rect& drawing, gdi::Size control, gdi::Point p, double& x,
                             double& y);

    // --- layout and drawing ---
    // Applies a pending attach mode, measures the text when needed and places it.
    void Layout(CPlotPaintContext& ctx, IAnnotationSite& site);
    // The third argument draws without the visibility test.
    void Paint(CPlotPaintContext& ctx, IAnnotationSite& site, bool force);
    void DrawSelected(CPlotPaintContext& ctx);
    bool HitTest(int x, int y) const override;
    bool CanSelect() const override { return true; }
    // Whether p lies on the tag handle of a laid-out attached text that shows it.
    bool OnTagHandle(gdi::Point p) const;
    // The text box and leader once with the inverting pen (a blink of the highlight).
    void DrawInverted(CPlotPaintContext& ctx) const;

    // --- placing ---
    // The anchor point becomes the position (free) or the offset from the tag point.
    void StorePosition(CPlotPaintContext& ctx, IAnnotationSite& site, gdi::Point anchor);
    // Ties the text to a tag point found from its anchor (mode 1 to 3); false when refused.
    bool Attach(CPlotPaintContext& ctx, IAnnotationSite& site, int mode);
    // The tag point snaps to point (curve or axis, as Attach); the offset becomes zero.
    void AttachAt(CPlotPaintContext& ctx, IAnnotationSite& site, gdi::Point point);
    void Detach(CPlotPaintContext& ctx, IAnnotationSite& site);
    void MoveBy(CPlotPaintContext& ctx, IAnnotationSite& site, int dx, int dy);
    // Moves the text back inside the control when its overall rectangle leaves it.
    void ClampIntoControl(CPlotPaintContext& ctx, IAnnotationSite& site);
    // Triangular plots: the position turns with the triangle.
    void Rotate(int direction);

    // --- dragging (device points of the control window) ---
    // 1 moves the text, kTagDrag drags the tag point, 0 when p takes no drag.
    int BeginDrag(gdi::Point p);
    void BeginTagDrag();
    void TrackDrag(CPlotPaintContext& ctx, gdi::Point p, int code);
    int EndDrag(CPlotPaintContext& ctx, IAnnotationSite& site, gdi::Point p, int code);
    // The release of the placing drag: p becomes the anchor and the text is placed.
    void FinishPlacing(CPlotPaintContext& ctx, IAnnotationSite& site, gdi::Point p);

private:
    gdi::Point ComputeAnchor(CPlotPaintContext& ctx, IAnnotationSite& site);
    void ApplyPendingAttachMode(CPlotPaintContext& ctx, IAnnotationSite& site);
    void MeasureLines(CPlotPaintContext& ctx, IAnnotationSite& site);
    void Place(const Rect& drawing);
    bool FindTag(CPlotPaintContext& ctx, IAnnotationSite& site, gdi::Point a, int mode);
    bool TagOnAxis(CPlotPaintContext& ctx, IAnnotationSite& site, gdi::Point a, bool nearBottom);
    gdi::Point LeaderEnd() const;
    void DrawLeader(CPlotPaintContext& ctx) const;
    void DrawText(CPlotPaintContext& ctx, IAnnotationSite& site) const;
    bool InTagHandle(gdi::Point p) const;
    void DrawDragFeedback(CPlotPaintContext& ctx, gdi::Point mouse) const;

    std::string text_;
    const CPlotFont* font_ = nullptr; // an entry of the font list, never owned
    Attributes attributes_;
    Position position_;
    int pendingAttachMode_ = -1;
    bool timeStamp_ = false;
    bool tagNotPickable_ = false;
    // Computed by the layout.
    gdi::Point anchor_, tag_;
    std::array<int, 2> widthVector_{}, heightVector_{};
    Rect textRect_;
    std::array<gdi::Point, 4> box_{};
    int lineCount_ = 0;
    // A drag in progress.
    Rect dragRect_;
    gdi::Point lastDrag_, leaderEnd_;
    // Flags.
    bool layoutNeeded_ = true, layoutValid_ = false, clampRequest_ = false, unplaced_ = true;
    bool selected_ = false, tagHandle_ = false, feedbackDrawn_ = false;
};
