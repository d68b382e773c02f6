#pragma once
#include "platform/gdi/DeviceContext.h"
#include "render/PlotEnv.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CPlotPath;
class CShapeWriter;
class CShapeReader;

// Cursor resources of the control that shape handles show.
enum ShapeCursor : int {
    kPointHandleCursor = 16523,
    kVerticalCursor = 16524,
    kHorizontalCursor = 16525,
    kDiagonalCursor = 16526,     // top left to bottom right
    kAntiDiagonalCursor = 16527, // top right to bottom left
    kBandCursor = 16556,
    kArrowCursor = 32512, // the system's default pointer
    kCrossCursor = 32515,
};

// A user-drawn shape over the plot. Its geometry lives in world coordinates of the drawing
// environment, so it follows the view; the device form (start, end, bounds) is made again
// from them before every drawing. While the pointer drags it, the device form carries the
// change and is turned back into world coordinates when the drag is committed.
class CPlotDisplay {
public:
    // The kind characters of the shapes.
    static constexpr char kLine = 'l', kBox = 'b', kFilledBox = 'B', kPolygon = 'P',
                          kQuarterArc = 'R', kMarkerPoint = 'M', kText = 'T', kPath = 'p',
                          kWholeEllipse = 'c';
    static constexpr std::uint8_t kNotFillable = 255;
    // Drag states.
    static constexpr std::uint8_t kHandlePressed = 1, kMarkedForDeselection = 10;
    // The device bounds spread the defining points by this much on every side.
    static constexpr int kBoundsMargin = 5;

    CPlotDisplay(char kind, float x, float y);
    virtual ~CPlotDisplay() = default;
    CPlotDisplay(const CPlotDisplay&) = default;
    CPlotDisplay& operator=(const CPlotDisplay&) = delete;

    // The class name the shape is recorded under.
    virtual const char* ClassName() const = 0;

    char Kind() const { return kind_; }
    int Visible() const { return visible_; }
    void SetVisible(int visible) { visible_ = visible; }
    std::uint8_t Filled() const { return filled_; }
    void SetFilled(std::uint8_t filled) { filled_ = filled; }
    gdi::ColorRef Color() const { return color_; }
    int ColorIndex() const { return colorIndex_; }
    int LineType() const { return lineType_; }
    virtual void SetColor(gdi::ColorRef rgb, int colorIndex);
    virtual void SetLineType(int lineType);
    std::uint8_t DragState() const { return dragState_; }
    void SetDragState(std::uint8_t state) { dragState_ = state; }

    // World points.
    float X1() const { return x1_; }
    float Y1() const { return y1_; }
    float X2() const { return x2_; }
    float Y2() const { return y2_; }
    void SetWorld(float x1, float y1, float x2, float y2);
    // Device form.
    gdi::Point Start() const { return start_; }
    gdi::Point End() const { return end_; }
    void SetDevice(gdi::Point start, gdi::Point end);
    const gdi::Rect& Bounds() const { return bounds_; }

    // Coordinates.
    virtual void WorldToDevice(const CPlotEnv& env);
    virtual void DeviceToWorld(const CPlotEnv& env);
    virtual void ComputeBounds();
    virtual void SnapToGrid(const CPlotEnv& env);
    virtual void OffsetWorld(float dx, float dy);
    virtual void OffsetDevice(int dx, int dy);
    // The world box of the shape: xmin, ymax, xmax, ymin.
    virtual void GetExtent(float& xmin, float& ymax, float& xmax, float& ymin) const;

    // Drawing: the device form is made, and the shape drawn when its bounds are visible.
    void Draw(gdi::IDeviceContext& dc, CPlotEnv& env);
    // The shape at a device offset, in the pens of its colour and line type.
    virtual void DrawShape(gdi::IDeviceContext& dc, CPlotEnv& env, int dx, int dy) const = 0;
    // The outline for the inverting feedback of a drag, in the pen the caller selected.
    virtual void DrawOutline(gdi::IDeviceContext& dc, CPlotEnv& env, int dx, int dy) const;

    // Hit testing in device units; an invisible shape never hits.
    bool Hit(int x, int y) const { return visible_ != 0 && HitTest(x, y); }
    // Registers the handles with the environment and draws them.
    virtual void ShowHandles(gdi::IDeviceContext& dc, CPlotEnv& env) = 0;

    // Dragging. TrackMove shows the outline at the offset since the press; TrackHandle moves
    // the part of the shape the handle code names to (x, y) and answers the code that the
    // next move passes (a polygon's edge handle turns into the inserted vertex's code).
    void TrackMove(gdi::IDeviceContext& dc, CPlotEnv& env, int dx, int dy, int lineType);
    int TrackHandle(gdi::IDeviceContext& dc, CPlotEnv& env, int x, int y, int handle, int lineType);
    // Erases the feedback outline while it is shown.
    void HideFeedback(gdi::IDeviceContext& dc, CPlotEnv& env, int lineType);
    // A repaint wiped the feedback: nothing is left to erase.
    void ForgetFeedback() { feedbackShown_ = false; }
    // Device points move by the drag offset; the offset is cleared.
    virtual void CommitDrag();
    gdi::Point DragOffset() const { return dragOffset_; }

    // Keys: answers 0 for keys the shape ignores. Arrow keys move the shape (point 2 alone
    // with shift) by the keyboard step, snap it and make the device form again.
    virtual int KeyDown(int key, bool shift, const CPlotEnv& env);
    // The arrow key moves only what the handle controls: the shape moves by the keyboard
    // step and snaps, then every world coordinate the handle does not control returns.
    virtual void KeyMoveHandle(int handle, int key, const CPlotEnv& env);

    // Which of x1, y1, x2, y2 a handle controls.
    struct HandleAxes {
        bool x1, y1, x2, y2;
    };

    // Adds the shape's path elements; false when the shape cannot become part of a path.
    virtual bool AppendToPath(CPlotPath& path) const;

    // The shape's record: the common fields, then the kind's own.
    void Write(CShapeWriter& out) const;
    bool Read(CShapeReader& in);

protected:
    virtual bool HitTest(int x, int y) const;
    // Moves the device part the handle names; answers the code of the next move.
    virtual int MoveHandle(int x, int y, int handle);
    // The world coordinates a handle moves: point 1 for handle 2, else point 2.
    virtual HandleAxes AxesOfHandle(int handle) const;
    virtual void WriteOwn(CShapeWriter&) const {}
    virtual bool ReadOwn(CShapeReader&) { return true; }
    // Whether a record's kind character belongs to this class.
    virtual bool KindFits(char kind) const { return kind == kind_; }
    void PlaceHandle(gdi::IDeviceContext& dc, CPlotEnv& env, gdi::Point at, int cursor,
                     int code) const;
    // The arrow key's world movement, zero for other keys.
    static bool ArrowStep(int key, const CPlotEnv& env, float& dx, float& dy);
    void SetBounds(const gdi::Rect& bounds) { bounds_ = bounds; }
    void SetKind(char kind) { kind_ = kind; }

private:
    template <class Self, class Archive>
    static void Fields(Self& self, Archive& a);

    std::int16_t tag_ = 0;
    std::int32_t reserved_[2] = {0, 0};
    gdi::Rect bounds_;
    float x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
    gdi::Point start_, end_;
    gdi::Point dragOffset_;
    std::uint8_t colorIndex_ = 0;
    std::uint8_t lineType_ = 1;
    std::uint8_t spare_ = 0;
    std::uint8_t dragState_ = 0;
    gdi::ColorRef color_ = 0;
    char kind_;
    std::uint8_t filled_ = kNotFillable;
    int visible_ = 1;
    bool feedbackShown_ = false;
    gdi::Point feedbackOffset_;
};

// The segment from point 1 to point 2.
class CPlotLine : public CPlotDisplay {
public:
    CPlotLine(float x, float y) : CPlotDisplay(kLine, x, y) {}
    const char* ClassName() const override { return "CPlotLine"; }
    void DrawShape(gdi::IDeviceContext& dc, CPlotEnv& env, int dx, int dy) const override;
    void ShowHandles(gdi::IDeviceContext& dc, CPlotEnv& env) override;
    bool AppendToPath(CPlotPath& path) const override;
    // A one-unit strip along the line: a rectangle when it is vertical or horizontal, else a
    // thin quadrilateral offset along the shorter axis.
    std::vector<gdi::Point> RegionStrip() const;

protected:
    bool HitTest(int x, int y) const override;
    int MoveHandle(int x, int y, int handle) override;
};

// The axis-parallel rectangle with corners point 1 and point 2, outline or filled.
class CPlotBox : public CPlotDisplay {
public:
    CPlotBox(char kind, float x, float y);
    const char* ClassName() const override { return "CPlotBox"; }
    void DrawShape(gdi::IDeviceContext& dc, CPlotEnv& env, int dx, int dy) const override;
    void DrawOutline(gdi::IDeviceContext& dc, CPlotEnv& env, int dx, int dy) const override;
    void ShowHandles(gdi::IDeviceContext& dc, CPlotEnv& env) override;
    bool AppendToPath(CPlotPath& path) const override;

protected:
    bool HitTest(int x, int y) const override;
    int MoveHandle(int x, int y, int handle) override;
    HandleAxes AxesOfHandle(int handle) const override;
    bool KindFits(char kind) const override;
};

// An ellipse or a part of one: point 1 is the centre, point 2 sets the radii.
class CPlotEllipse : public CPlotDisplay {
public:
    // The parts by kind character, read row by row: row r gives the vertical part 1 - r,
    // column c the horizontal part c - 1.
    static constexpr const char* kPartGrid = "4u1<c>3d2";
    CPlotEllipse(char kind, float x, float y);
    const char* ClassName() const override { return "CPlotEllipse"; }
    int VerticalPart() const { return vertical_; }
    int HorizontalPart() const { return horizontal_; }
    // The kind character of a part; 'c' for the whole ellipse.
    static char KindOfPart(int vertical, int horizontal);
    static bool PartOfKind(char kind, int& vertical, int& horizontal);
    // The device box and the ends of the part's arc, counter-clockwise from first to second.
    gdi::Rect Box() const;
    void ArcEnds(gdi::Point& from, gdi::Point& to) const;
    void ComputeBounds() override;
    void DrawShape(gdi::IDeviceContext& dc, CPlotEnv& env, int dx, int dy) const override;
    void DrawOutline(gdi::IDeviceContext& dc, CPlotEnv& env, int dx, int dy) const override;
    void ShowHandles(gdi::IDeviceContext& dc, CPlotEnv& env) override;
    bool AppendToPath(CPlotPath& path) const override;

protected:
    bool HitTest(int x, int y) const override;
    int MoveHandle(int x, int y, int handle) override;
    HandleAxes AxesOfHandle(int handle) const override;
    bool ReadOwn(CShapeReader& in) override;
    bool KindFits(char kind) const override;

private:
    void Figure(gdi::IDeviceContext& dc, int dx, int dy, bool fill) const;
    int vertical_ = 0, horizontal_ = 0;
};

// A quarter of the ellipse centred at (x1, y2) through both points.
class CPlotArc : public CPlotDisplay {
public:
    CPlotArc(float x, float y) : CPlotDisplay(kQuarterArc, x, y) {}
    const char* ClassName() const override { return "CPlotArc"; }
    gdi::Rect Box() const;
    void ArcEnds(gdi::Point& from, gdi::Point& to) const;
    void DrawShape(gdi::IDeviceContext& dc, CPlotEnv& env, int dx, int dy) const override;
    void ShowHandles(gdi::IDeviceContext& dc, CPlotEnv& env) override;
    bool AppendToPath(CPlotPath& path) const override;

protected:
    bool HitTest(int x, int y) const override;
    int MoveHandle(int x, int y, int handle) override;
};

// A single marker at point 1.
class CPlotPoint : public CPlotDisplay {
public:
    CPlotPoint(float x, float y, int marker, int halfSize);
    const char* ClassName() const override { return "CPlotPoint"; }
    int Marker() const { return marker_; }
    int HalfSize() const { return halfSize_; }
    void ComputeBounds() override;
    void DrawShape(gdi::IDeviceContext& dc, CPlotEnv& env, int dx, int dy) const override;
    void DrawOutline(gdi::IDeviceContext& dc, CPlotEnv& env, int dx, int dy) const override;
    void ShowHandles(gdi::IDeviceContext& dc, CPlotEnv& env) override;
    // A corner handle grows the marker by one unit when the arrow points away from the
    // centre on its side, and shrinks it otherwise.
    void KeyMoveHandle(int handle, int key, const CPlotEnv& env) override;
    bool AppendToPath(CPlotPath& path) const override;

protected:
    bool HitTest(int x, int y) const override;
    int MoveHandle(int x, int y, int handle) override;
    void WriteOwn(CShapeWriter& out) const override;
    bool ReadOwn(CShapeReader& in) override;

private:
    int marker_;
    int halfSize_;
};

// A vertex of a polygon in world coordinates; the flag is the pen-down flag (1 draw, 0 move).
struct CPlotVertex {
    float x = 0, y = 0;
    std::uint8_t flag = 1;
    bool operator==(const CPlotVertex&) const = default;
};

// A closed polygon or an open polyline.
class CPlotPolygon : public CPlotDisplay {
public:
    // More vertices than this are refused when a record is read.
    static constexpr std::size_t kMaxVertices = 1'000'000;

    CPlotPolygon(float x, float y, bool closed);
    const char* ClassName() const override { return "CPlotPolygon"; }
    bool Closed() const { return closed_; }
    int VertexCount() const { return int(device_.size()); }
    const std::vector<gdi::Point>& DeviceVertices() const { return device_; }
    const std::vector<CPlotVertex>& Vertices() const { return world_; }
    // Adds a device vertex (pen down) while the polygon is being drawn.
    void AppendDeviceVertex(gdi::Point p, std::uint8_t penDown = 1);
    // Moves the newest device vertex, or drops it.
    void PlaceLastVertex(gdi::Point p);
    void DropLastVertex();
    // The world vertices replace the polygon's geometry.
    void SetVertices(std::vector<CPlotVertex> vertices);

    void WorldToDevice(const CPlotEnv& env) override;
    void DeviceToWorld(const CPlotEnv& env) override;
    void ComputeBounds() override;
    void OffsetWorld(float dx, float dy) override;
    void OffsetDevice(int dx, int dy) override;
    void SnapToGrid(const CPlotEnv& env) override;
    void GetExtent(float& xmin, float& ymax, float& xmax, float& ymin) const override;
    void CommitDrag() override;
    int KeyDown(int key, bool shift, const CPlotEnv& env) override;
    // A vertex handle moves its vertex by the step, an edge handle both ends of its edge;
    // only the moved vertices snap.
    void KeyMoveHandle(int handle, int key, const CPlotEnv& env) override;
    void DrawShape(gdi::IDeviceContext& dc, CPlotEnv& env, int dx, int dy) const override;
    void DrawOutline(gdi::IDeviceContext& dc, CPlotEnv& env, int dx, int dy) const override;
    void ShowHandles(gdi::IDeviceContext& dc, CPlotEnv& env) override;
    bool AppendToPath(CPlotPath& path) const override;
    // The device vertices offset by (dx, dy) drawn as this polygon draws them.
    static void DrawVertices(gdi::IDeviceContext& dc, const std::vector<gdi::Point>& points,
                             const std::vector<std::uint8_t>& penDown, bool closed, bool fill,
                             int dx, int dy);

protected:
    int MoveHandle(int x, int y, int handle) override;
    void WriteOwn(CShapeWriter& out) const override;
    bool ReadOwn(CShapeReader& in) override;

private:
    std::vector<gdi::Point> device_;
    std::vector<std::uint8_t> penDown_;
    std::vector<CPlotVertex> world_;
    bool closed_;
};

// Free text in a font whose size is given in world units.
class CPlotText : public CPlotDisplay {
public:
    CPlotText(float x, float y, std::string text, std::string face, float size);
    const char* ClassName() const override { return "CPlotText"; }
    const std::string& Text() const { return text_; }
    const std::string& Face() const { return face_; }
    float Size() const { return size_; }
    int Escapement() const { return escapement_; }
    int Style() const { return style_; }
    void SetText(std::string text) { text_ = std::move(text); }
    void SetFace(std::string face) { face_ = std::move(face); }
    // The size in world units; sizes that are not finite and positive are refused.
    void SetSize(float size);
    // The world size that shows as so many points at the current mapping; 0 when the
    // mapping has no height.
    static float WorldSize(double points, const CPlotEnv& env);
    // The escapement (a quarter turn: 0, 90, 180 or 270; others read as 0) and the style.
    void SetTurn(int escapement, int style);
    // The lines of the text, split at CR (an LF after it skipped) or LF.
    std::vector<std::string> Lines() const;
    // The font size in device points for the current mapping, rounded.
    int DevicePoints(const CPlotEnv& env) const;
    void WorldToDevice(const CPlotEnv& env) override;
    void ComputeBounds() override;
    void DrawShape(gdi::IDeviceContext& dc, CPlotEnv& env, int dx, int dy) const override;
    void DrawOutline(gdi::IDeviceContext& dc, CPlotEnv& env, int dx, int dy) const override;
    void ShowHandles(gdi::IDeviceContext& dc, CPlotEnv& env) override;
    bool AppendToPath(CPlotPath& path) const override;

protected:
    void WriteOwn(CShapeWriter& out) const override;
    bool ReadOwn(CShapeReader& in) override;

private:
    std::string text_;
    std::string face_;
    float size_;
    int escapement_ = 0;
    int style_ = 0;
    int devicePoints_ = 0;
    gdi::Size extent_; // the text's device extent, estimated from the size
};
