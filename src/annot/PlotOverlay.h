#pragma once
#include "annot/PlotAnnotation.h"
#include "annot/PlotObj.h"
#include "annot/PlotShapes.h"
#include "model/PlotOverlay.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

class CPlotLook;

// The numbering of host objects: IDs from 101 upwards; after 32000 IDs the numbering starts
// again at 101 and skips IDs still in use. The control keeps one for its whole life.
class CObjectIds {
public:
    static constexpr int kFirstId = 101;
    static constexpr int kIdCount = 32000;
    // The next free ID; inUse answers whether an ID is taken.
    template <class InUse>
    int Next(InUse inUse);
    // Where the numbering stands: the next number (0 to kIdCount) and whether it wrapped.
    int NextNumber() const { return next_; }
    bool Wrapped() const { return wrapped_; }
    // Goes on from where another numbering stood; a number out of range starts again.
    void Continue(int next, bool wrapped) {
        next_ = next >= 0 && next <= kIdCount ? next : 0;
        wrapped_ = wrapped;
    }

private:
    int next_ = 0;
    bool wrapped_ = false;
};

template <class InUse>
int CObjectIds::Next(InUse inUse) {
    if (next_ >= kIdCount) {
        wrapped_ = true;
        next_ = 0;
    }
    for (int tries = 0; tries <= kIdCount; ++tries) {
        const int id = next_ + kFirstId;
        ++next_;
        if (!wrapped_ || !inUse(id)) return id;
        if (next_ > kIdCount - 1) next_ = 0;
    }
    return 0; // every ID is in use
}

// The text annotations and the host's plot objects of one plot, and what the pointer does to
// them. The plot model owns it; the objects refer to annotations by index into the list,
// which this class keeps valid whenever an entry is removed.
class CPlotOverlay : public IPlotOverlay, public IAnnotationSite {
public:
    CPlotOverlay(CPlotLook& model, CObjectIds& ids);
    ~CPlotOverlay() override;

    CPlotLook& Model() { return model_; }

    // --- annotations ---
    int AnnotationCount() const { return int(annotations_.size()); }
    CPlotAnnotation* Annotation(int index);
    // Appends; answers the index.
    int AddAnnotation(std::unique_ptr<CPlotAnnotation> annotation);
    // Removes the entry; later entries move down and every reference follows them. A text
    // object that referred to the entry itself is deleted with it.
    void RemoveAnnotation(int index);
    // Removes every annotation and every text object.
    void ClearAnnotations();

    // --- objects ---
    const std::vector<std::unique_ptr<CPlotObj>>& Objects() const { return objects_; }
    CPlotObj* Find(int id);
    // A new object of that kind with a new ID, appended (Init runs for lines and polygons);
    // null when no ID is free.
    CPlotObj* Create(int kind, bool userText = false);
    // A text object bound to the annotation at index, with a new ID.
    CPlotTextObj* CreateTextObject(int annotation, bool userText);
    // Replaces every annotation and object with these, nothing selected (a plot image read
    // back); the objects refer to the annotations by index.
    void Restore(std::vector<std::unique_ptr<CPlotAnnotation>> annotations,
                 std::vector<std::unique_ptr<CPlotObj>> objects);
    CPlotObj* SelectedObject() { return selected_; }
    void SelectObject(CPlotObj* object);

    // --- the user-drawn shapes ---
    CPlotShapes& Shapes() { return shapes_; }
    const CPlotShapes& Shapes() const { return shapes_; }

    // --- the host's operations ---
    // A free text at drawing-area fractions; answers the object's ID (0 when none is free).
    int AddText(const std::string& text, double x, double y, int color, int alignment,
                const CPlotFont* font);
    // false for an unknown ID.
    bool ChangeText(int id, const std::string& text, double x, double y, int attached);
    bool ModifyText(const std::string& oldText, const std::string& newText);
    bool SetTextAttribute(int id, int color, int alignment, int angle, const CPlotFont* font,
                          int style);
    int NewLine(int color, int lineType, int marker, int markerSize, int direction);
    int NewPolygon(int color, int fillMode);
    bool SetXYData(int id, int dataNo, double x, double y);
    bool GetXYData(int id, int dataNo, double& x, double& y);
    bool SetLineAttribute(int id, int color, int lineType, int marker, int markerSize,
                          int direction, int mask);
    // Answers the state bits, -1 when deleted, 0 for an unknown ID.
    int SetObject(int id, int value, int mask);
    // Switches the time stamp on (refreshing its text) or off (removing it).
    void SetTimeStamp(bool on, const std::string& stampText, const CPlotFont* font);
    int TimeStampIndex() const;
    void Rotate(int direction) override;

    // --- what the paint and the pointer do (IPlotOverlay) ---
    void Draw(CPlotPaintContext& ctx) override;
    int Press(CPlotPaintContext& ctx, gdi::Point p, int keyFlags) override;
    bool Drag(CPlotPaintContext& ctx, int mode, gdi::Point p, int& cursor) override;
    bool Release(CPlotPaintContext& ctx, int mode, gdi::Point p, bool& repaint) override;
    int MenuAt(gdi::Point p) override;
    bool Key(CPlotPaintContext& ctx, int key, bool& repaint) override;
    bool SelectInside(const gdi::Rect& box) override;
    int DoubleClickAt(gdi::Point p) override;
    void CurvePointsRewound() override;
    // The text object that is selected and may be deleted by the user, null when none.
    CPlotTextObj* DeletableText();
    // Whether the pointer changed the plot since the last call (the control reports it).
    bool TakeChange() { return std::exchange(changed_, false); }
    // Waits for the placing click of the newest annotation (the text dialog's).
    void BeginPlacing() { placing_ = true; }
    bool Placing() const { return placing_; }
    // A text the user made with the dialog: appended unplaced with its tag handle shown, and
    // given a user text object; the next press places it. Answers the object's ID, 0 when no
    // ID is free (nothing is made then).
    int AddPlacingText(const std::string& text, const CPlotFont* font,
                       const CPlotAnnotation::Attributes& attributes);
    // The prompt while a text waits for its placing click, the tag handle's tip over it.
    const std::string* TooltipAt(gdi::Point p) const override;
    // Draws the object once with the inverting pen (a blink); false for an unknown ID.
    bool DrawInverted(CPlotPaintContext& ctx, int id);

    // --- the plot as annotations see it (IAnnotationSite) ---
    CPlotRegion::Rect DrawingRect() const override;
    gdi::Size ControlSize() const override;
    bool TagToDevice(CPlotPaintContext& ctx, double x, double y, int tagVariable,
                     gdi::Point& p) override;
    bool DeviceToPlot(CPlotPaintContext& ctx, gdi::Point p, int tagVariable, double& x,
                      double& y) override;
    bool InView(double x, double y, int tagVariable) override;
    bool NearestCurve(CPlotPaintContext& ctx, gdi::Point a, double& detour, int& varNo, double& x,
                      double& y) override;
    bool Flipped() const override;
    bool ViewMoved() const override;
    int TextMode() const override { return textMode_; }
    void SetTextMode(int mode) { textMode_ = mode; }
    std::string Shown(const std::string& text) override;

    // Drag codes of the mouse mode while an annotation or object is dragged.
    static constexpr int kPlacingDrag = -100;

private:
    CPlotTextObj* TextObject(int id);
    CPlotAnnotation* AnnotationOf(const CPlotObj& object);
    void DeleteObject(int id);
    // Re-attaches every curve-tagged text on the next paint, so its tag snaps to changed data.
    void ResnapCurveTags();
    bool Hits(CPlotObj& object, gdi::Point p);
    CPlotObj* HitObject(gdi::Point p);
    void Log(const std::string& line);

    CPlotLook& model_;
    CObjectIds& ids_;
    std::vector<std::unique_ptr<CPlotAnnotation>> annotations_;
    std::vector<std::unique_ptr<CPlotObj>> objects_;
    CPlotShapes shapes_;
    CPlotObj* selected_ = nullptr;
    CPlotAnnotation* dragged_ = nullptr;
    bool placing_ = false;
    bool resnap_ = false;
    bool changed_ = false;
    int textMode_ = 0;
};
