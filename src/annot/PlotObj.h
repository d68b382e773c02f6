#pragma once
#include "platform/gdi/GdiTypes.h"
#include "render/PlotRegion.h"

#include <memory>

class CPlotOverlay;
struct CPlotPaintContext;

// A graphic object the host made through the automation interface and addresses by its ID.
// Lines and polygons are drawn as curves of a pair of plot variables they own the use of;
// texts are drawn by the text annotation they refer to by index.
class CPlotObj {
public:
    enum Kind { PlainKind = -1, LineKind = 0, PolygonKind = 1, TextKind = 2 };
    // The state bits of SetObject.
    enum StateBit { Visible = 1, Enabled = 2, SelectedBit = 4, TagNotPickable = 8 };

    // What an object is beyond its variables' and annotation's own state: what a plot image
    // keeps of it.
    struct Record {
        int id = 0, kind = PlainKind;
        bool enabled = true;
        int xVariable = -1, yVariable = -1, annotation = -1;
        bool userText = false;
        bool operator==(const Record&) const = default;
    };

    CPlotObj(int id, int kind) : id_(id), kind_(kind) {}
    virtual ~CPlotObj() = default;
    // The object a record describes, bound to the variables or annotation it names.
    static std::unique_ptr<CPlotObj> FromRecord(const Record& record);
    Record GetRecord() const;
    CPlotObj(const CPlotObj&) = delete;
    CPlotObj& operator=(const CPlotObj&) = delete;

    int Id() const { return id_; }
    int Kind() const { return kind_; }
    bool IsEnabled() const { return enabled_; }
    int XVariable() const { return xVariable_; }
    int YVariable() const { return yVariable_; }
    int AnnotationIndex() const { return annotation_; }
    void SetAnnotationIndex(int index) { annotation_ = index; }
    // The area to repaint: the box of the last hit region, or the text's rectangle.
    const CPlotRegion::Rect& Area() const { return area_; }

    // Gives up what the object holds in the plot (variables, or shows its text no more).
    virtual void Release(CPlotOverlay&) {}
    // Takes what the object needs in the plot.
    virtual void Init(CPlotOverlay&) {}
    virtual void SetXYData(CPlotOverlay&, int /*dataNo*/, double /*x*/, double /*y*/) {}
    virtual bool GetXYData(CPlotOverlay&, int /*dataNo*/, double& /*x*/, double& /*y*/) const {
        return false;
    }
    // Mask bits: 1 colour, 2 line type, 4 marker, 8 marker size, 16 direction.
    virtual void SetAttributes(CPlotOverlay&, int /*color*/, int /*lineType*/, int /*marker*/,
                               int /*markerSize*/, int /*direction*/, int /*mask*/) {}
    virtual bool HitTest(CPlotOverlay&, gdi::Point) { return false; }
    virtual void SetSelected(CPlotOverlay&, bool) { area_ = {}; }
    // Applies the mask bits of value; answers the state bits.
    virtual int SetObject(CPlotOverlay& overlay, int value, int mask);
    // Triangular plots: every point turns with the triangle.
    virtual void Rotate(CPlotOverlay&, int /*direction*/) {}
    // Draws the object once with the inverting pen where it was last drawn: twice restores
    // the picture (the blink of a highlighted object).
    virtual void DrawInverted(CPlotPaintContext&, CPlotOverlay&) {}

protected:
    void SetVariables(int x, int y) {
        xVariable_ = x;
        yVariable_ = y;
    }
    void SetArea(const CPlotRegion::Rect& r) { area_ = r; }

private:
    int id_;
    int kind_;
    CPlotRegion::Rect area_;
    bool enabled_ = true;
    int xVariable_ = -1, yVariable_ = -1;
    int annotation_ = -1;
};

// An object drawn as the curve of an X and a Y variable.
class CPlotXYObj : public CPlotObj {
public:
    using CPlotObj::CPlotObj;
    // The highest DataNo a point may have: the variables grow to it and no further.
    static constexpr int kMaxDataNo = 32767;

    void Release(CPlotOverlay& overlay) override;
    void Init(CPlotOverlay& overlay) override;
    void SetXYData(CPlotOverlay& overlay, int dataNo, double x, double y) override;
    bool GetXYData(CPlotOverlay& overlay, int dataNo, double& x, double& y) const override;
    void SetSelected(CPlotOverlay& overlay, bool on) override;
    int SetObject(CPlotOverlay& overlay, int value, int mask) override;
    void Rotate(CPlotOverlay& overlay, int direction) override;
    void DrawInverted(CPlotPaintContext& ctx, CPlotOverlay& overlay) override;

protected:
    // The pieces that take clicks are tested against p; the area becomes their box.
    bool HitPieces(CPlotOverlay& overlay, gdi::Point p, bool polygon);
};

class CPlotLineObj : public CPlotXYObj {
public:
    explicit CPlotLineObj(int id) : CPlotXYObj(id, LineKind) {}
    void SetAttributes(CPlotOverlay& overlay, int color, int lineType, int marker, int markerSize,
                       int direction, int mask) override;
    bool HitTest(CPlotOverlay& overlay, gdi::Point p) override;
};

class CPlotPolygonObj : public CPlotXYObj {
public:
    explicit CPlotPolygonObj(int id) : CPlotXYObj(id, PolygonKind) {}
    void Init(CPlotOverlay& overlay) override;
    // Colour and fill mode (the line type argument), whatever the mask.
    void SetAttributes(CPlotOverlay& overlay, int color, int fillMode, int marker, int markerSize,
                       int direction, int mask) override;
    bool HitTest(CPlotOverlay& overlay, gdi::Point p) override;
};

// A text: its annotation is an entry of the overlay's annotation list.
class CPlotTextObj : public CPlotObj {
public:
    explicit CPlotTextObj(int id, bool userText = false)
        : CPlotObj(id, TextKind), userText_(userText) {}
    // Made by AddText or the text dialog: the user may delete it.
    bool UserText() const { return userText_; }
    void SetUserText(bool on) { userText_ = on; }

    void Release(CPlotOverlay& overlay) override;
    bool HitTest(CPlotOverlay& overlay, gdi::Point p) override;
    void SetSelected(CPlotOverlay& overlay, bool on) override;
    int SetObject(CPlotOverlay& overlay, int value, int mask) override;
    void Rotate(CPlotOverlay& overlay, int direction) override;
    void DrawInverted(CPlotPaintContext& ctx, CPlotOverlay& overlay) override;

private:
    bool userText_;
};
