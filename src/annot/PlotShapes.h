#pragma once
#include "annot/PlotDisplay.h"
#include "annot/PlotPath.h"
#include "render/PlotPaintContext.h"

#include <cstdint>
#include <memory>
#include <span>
#include <utility>
#include <vector>

class CPlotLook;

// The user-drawn shapes of one plot in drawing order, the selected ones, the shape being
// drawn, and what the pointer, the keys, the drawing tools and the shape commands do to them.
class CPlotShapes {
public:
    // Mouse modes of shape drags: a handle drag is kHandleDrag minus the handle's code.
    static constexpr int kHandleDrag = -1000;
    static constexpr int kLowestHandleMode = kHandleDrag - 1000;
    // Feedback pens: line type 2 while dragging, 1 while creating.
    static constexpr int kDragLineType = 2, kCreateLineType = 1;

    explicit CPlotShapes(CPlotLook& model) : model_(model) {}

    const std::vector<std::unique_ptr<CPlotDisplay>>& Displays() const { return displays_; }
    CPlotDisplay* Add(std::unique_ptr<CPlotDisplay> shape);
    void Clear();
    const std::vector<CPlotDisplay*>& Selected() const { return selected_; }
    const CPlotDisplay* InProgress() const { return inProgress_.get(); }
    void Select(CPlotDisplay* shape);
    void DeselectAll(CPlotEnv& env);

    // --- the drawing tools (commands 56015 to 56024) ---
    static bool IsToolCommand(int command);
    // Picks a tool: every shape is deselected and the next press makes a shape.
    void PickTool(CPlotEnv& env, int command);
    bool ToolArmed() const { return armed_; }
    void Disarm(CPlotEnv& env);

    // --- paint and pointer ---
    void Draw(CPlotPaintContext& ctx);
    // A left press: the mouse mode it starts, CPlotLook::kNoMouseMode when nothing took it.
    int Press(CPlotPaintContext& ctx, gdi::Point p, int keyFlags);
    bool Drag(CPlotPaintContext& ctx, int mode, gdi::Point p, int& cursor);
    bool Release(CPlotPaintContext& ctx, int mode, gdi::Point p, bool& repaint);
    // Whether a press let the selection go with its handles still drawn on the window (the
    // window must be painted again); the question clears it.
    bool TakeStaleHandles() { return std::exchange(handlesStale_, false); }
    // The menu for a right press at p: the selected shape's (-1 for a path, which has none),
    // 0 when the press is not on a selected shape.
    int MenuAt(gdi::Point p) const;
    bool Key(CPlotPaintContext& ctx, int key, bool shift, bool& repaint);
    // Selects every shape whose bounds lie inside the band; true when one was.
    bool SelectInside(const gdi::Rect& band);

    // --- commands ---
    // Groups the selected shapes into one path; false when none could join it.
    bool Group(CPlotEnv& env);
    // "&Ungroup": every selected path becomes the shapes it draws, selected in its place;
    // false when no path was selected.
    bool Ungroup(CPlotEnv& env);
    // "Lower": every selected shape moves one place down the drawing order (drawn beneath
    // the shape it was drawn over); false when none could move.
    bool Lower();
    // Whether "&Ungroup" has a selected path to act on.
    bool CanUngroup() const;
    // The one selected shape when it is a text, with the view mapped for its size; null
    // otherwise. "Edit" of the text menu edits it.
    CPlotText* SelectedText(CPlotEnv& env);
    // "&Fill": the first selected shape's filled flag between 1 and not 1.
    bool ToggleFill();
    // Whether "&Fill" is enabled and checked.
    void FillState(bool& enabled, bool& checked) const;
    // The toolbar's colour and line type: the selection takes them, or new shapes do.
    void ApplyColor(CPlotEnv& env, gdi::ColorRef rgb);
    void ApplyLineType(CPlotEnv& env, int lineType);
    // What the toolbar's lists show: the one selected shape's colour index and line type, else
    // the current ones.
    void ToolbarChoice(CDrawTool& tool, int& colorIndex, int& lineType) const;

    // --- the record of the shapes (see ShapeRecord.h) ---
    void WriteRecord(std::vector<std::uint8_t>& out) const;
    // Replaces the shapes with those of a record; false, with the shapes kept, when refused.
    bool ReadRecord(std::span<const std::uint8_t> in, std::size_t& pos, CPlotEnv& env);

private:
    std::unique_ptr<CPlotDisplay> MakeShape(CPlotEnv& env, int tool, gdi::Point p) const;
    int BeginCreate(CPlotPaintContext& ctx, gdi::Point p);
    void FinishCreate(CPlotPaintContext& ctx, bool& repaint);
    bool IsSelected(const CPlotDisplay* shape) const;
    void Unselect(CPlotEnv& env, CPlotDisplay* shape);
    CPlotDisplay* HitShape(gdi::Point p) const;
    // The selected shape whose handle the keyboard moves, or null.
    CPlotDisplay* KeyHandleShape(const CPlotEnv& env) const;
    void MapView(CPlotEnv& env) const;

    CPlotLook& model_;
    std::vector<std::unique_ptr<CPlotDisplay>> displays_;
    std::vector<CPlotDisplay*> selected_;
    std::unique_ptr<CPlotDisplay> inProgress_;
    CPlotDisplay* handleShape_ = nullptr; // the shape whose handle is dragged
    int handleCode_ = 0;
    int handleCursor_ = 0;
    gdi::Point pressPoint_;
    bool moving_ = false;
    bool armed_ = false;
    bool handlesStale_ = false;
};
