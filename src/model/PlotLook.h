#pragma once
#include "model/ContextMenu.h"
#include "model/IPlotHost.h"
#include "model/MenuTable.h"
#include "model/PlotOverlay.h"
#include "model/PlotSymbol.h"
#include "model/ProfileRecord.h"
#include "render/AxisValueBatch.h"
#include "render/PlotAxisRgn.h"
#include "render/PlotDrawingRgn.h"
#include "render/PlotFont.h"
#include "render/PlotLabelRgn.h"
#include "render/PlotLegendRgn.h"
#include "render/PlotPaintContext.h"
#include "render/PlotTriAxisRgn.h"
#include "render/PlotVar.h"

#include <array>
#include <memory>
#include <span>
#include <string>
#include <vector>

class CVariableRanges;
class CPageDecoration;

// The model of one plot: its variables and their data, the plot kind and flags, the axis map,
// the regions the control is divided into, the fonts, the symbols and the context menus.
// It reads and writes the owning control's property values through IPlotHost.
class CPlotLook {
public:
    enum FontSlot {
        TitleFont,
        LabelFont,
        LabelSubFont,
        AxisFont,
        LegendFont,
        LegendSubFont,
        DrawingFont,
        FontSlotCount
    };

    // Builds the plot for the host's PlotType, RunPlot and nvariables. The drawing environment
    // belongs to the control; a model without one can be changed but not painted.
    explicit CPlotLook(IPlotHost& host, CPlotEnv* environment = nullptr);
    ~CPlotLook();
    CPlotLook(const CPlotLook&) = delete;
    CPlotLook& operator=(const CPlotLook&) = delete;

    // --- plot kind and modes ---
    bool SetPlotKind(int plotType); // true when the plot was rebuilt or switched
    void SetRunPlot(bool on);
    void SetPhasePlot(bool on);
    // The mode switches alone: run mode without leaving the phase plot, and the reverse.
    void SwitchRunMode(bool on);
    void SwitchPhaseMode(bool on);
    void ApplyTimeWindow();
    // The rings follow the host's BufferSize property, which is already stored.
    void SetBufferSize();
    void SetNPoints(int n);
    bool SetNVariables(int n);
    void SetNXVariables(int n);
    void SetFlipped(bool on);
    bool SetSquarePlot(bool on); // the value taken (refused off while the diagonal line is on)
    void SetDiagonalLine(bool on);
    void SetParametric(bool on, bool showLegendAssigned);
    void SetShowLegend(bool on);
    void SetReverseXAxis(bool on);
    void Rotate(int direction);

    // --- variables and axes ---
    CPlotVar* YVar(int index0); // null when out of range
    CPlotVar* XVar(int index0);
    CPlotAxis* Axis(int axisNo); // 0 the X axis, 1..n the Y axes; null when missing
    CPlotAxisRgn* AxisRegion(int axisNo);
    CPlotAxisRgn* AxisByRole(int role);
    int NYAxes() const { return int(yAxisRegions.size()); }
    int NYVars() const { return int(yVariables.size()); }
    int NXVars() const { return int(xVariables.size()); }
    // The samples the variables hold (the sizes of their value arrays).
    std::int64_t SamplesHeld() const;

    void SetAxisMap(int varNo0, int axisNo);
    void ApplyAxisMap();
    int GetAxisMap(int varNo0) const;
    void CompactAxes();
    void SetXVariable(int yVarNo, int xVarNo);
    int GetXVariable(int yVarNo) const;

    void SetLabel(int axisNo, const std::string& text);
    std::string GetLabel(int axisNo) const;
    void SetLegend(int varNo, const std::string& text);
    std::string GetLegend(int varNo) const;
    void SetTitle(const std::string& text);
    void SetAxisLabelText(int axisNo, const std::string& text);

    bool SetRange(int axisNo, double lo, double hi);
    bool SetAxisRange(int axisNo, double lo, double hi);
    bool GetRange(int axisNo, double& lo, double& hi);
    bool GetAxisRange(int axisNo, double& lo, double& hi);
    void SetScale(int axisNo, int scale);
    int GetScale(int axisNo);
    void SetInteger(int axisNo);
    void SetAxisMode(int axisNo, int index, int mode);
    int GetAxisMode(int axisNo, int index);

    bool SetFont(int fontId, const std::string& face, int size, int style);
    bool GetFont(int fontId, std::string& face, int& size, int& style) const;
    void ResetFonts();

    void SetAttribute(int lineNo, int type, int marker, int color);
    bool GetAttribute(int lineNo, int& type, int& marker, int& color) const;

    void DeleteVariable(int varNo0);
    void MoveVariable(int source0, int target0);
    void SwapYVariables(int a0, int b0);
    void ResetVariableLabel();
    void FillDefaultLabels();

    // --- data ---
    bool AddTimeData(int varNo, double time, double value); // true when an axis grew
    bool AdvanceTimeAxisIfNeeded();                         // true when the time axis moved
    bool AddPhaseData(float x, std::span<const float> ys);
    void RewindTimeData(double startTime);
    void SetData(int varNo, int dataNo, double value);
    void SetXData(int varNo, int dataNo, double value);
    bool GetData(int varNo, int dataNo, double& value) const;
    bool GetXData(int varNo, int dataNo, double& value) const;
    // rows = samples, columns = variables (column 0 the time); returns whether the time axis moved
    bool CopyToBuffer(const float* data, int rows, int columns);
    // A block of time steps: row r of values (row-major, values.size() / times.size() columns)
    // holds the samples of Y variables firstVar, firstVar + 1, ... at times[r], each stored as
    // AddTimeData stores it. True when a Y axis grew.
    bool AddTimeBlock(std::span<const double> times, std::span<const double> values, int firstVar);

    // --- series of any length (PlotLookSeries.cpp) ---
    // The X variable of Y variable varNo (from 1) and the Y variable take exactly xs and ys;
    // NaN and infinities are stored as missing. Outside run and phase plots only; false, with
    // nothing changed, for a missing variable, a live plot or lengths that differ. Throws
    // std::bad_alloc, with nothing changed, when the buffers cannot be had.
    bool SetSeries(int varNo, std::span<const double> xs, std::span<const double> ys);
    bool SetXSeries(int xVarNo, std::span<const double> xs); // X variable xVarNo from 1
    bool SetYSeries(int varNo, std::span<const double> ys);
    // The X variable of Y variable varNo (from 1): its xVarNo, 0 reading as 1; null if missing.
    CPlotVar* XVarOf(int varNo);

    // --- zoom and scroll ---
    void ZoomIn(bool xOnly);
    bool ZoomOut(bool xOnly); // true when every axis is back at its full range
    void ZoomFull();
    bool CanScrollVertically() const;
    void Scroll(bool horizontal, int code, int value);
    void GetScroll(bool horizontal, int& p0, int& p1);

    // --- symbols, substitution and multipliers ---
    void SetSymbol(const std::string& name, const std::string& value);
    const CPlotSymbol* FindSymbol(const std::string& name) const;
    void SetSubstitutionValue(int varNo, const std::string& text);
    bool SetMultiplier(int axisNo, int value);
    bool SetMultiplierType(int axisNo, int value);
    void SetLegendBox(int location, int width, float itemHeight, int margin);
    // Symbol expansion with DATE and TIME taken once (PlotLookSymbols.cpp).
    std::string ExpandSymbols(const std::string& text, bool* usesDateTime = nullptr);
    // Expansion, then the substitution value or the "\n" rule.
    std::string LabelTextOf(const CPlotLabel& label);
    void ResetDateTime();
    // The text of a label or legend entry with the multiplier note of its axis.
    CShownText ShownText(const std::string& text, int axisNo);
    // Fills every text region with the text it shows, before the layout.
    void PrepareTexts();
    // The Y label regions made anew from the variables and axes (PlotLookLabels.cpp).
    void RebuildLabelRegions();

    // --- saving and loading (PlotLookProfile.cpp, PlotLookSettings.cpp) ---
    // Rebuilds the plot from a profile record for the kind flags already set.
    void LoadProfile(const CProfileRecord& record);
    // The samples LoadProfile would allocate for record: rings of the host's BufferSize when
    // ring, else the record's points, for every variable it makes.
    std::int64_t ProfileSamples(const CProfileRecord& record, bool ring) const;
    // Before a settings text is applied: sample values cleared, no region selected.
    void PrepareForSettings();
    // Deletes the Y axis regions from position count on (at least one stays; none in a
    // triangular plot).
    void TruncateYAxes(int count);

    // --- passes the paint runs ---
    // Both read the variables' ranges through one memo, filled by whichever reads first.
    bool SizeToData(CVariableRanges& ranges);
    void RangePass(CVariableRanges& ranges);
    void UpdateAxisScales();

    // --- layout and paint (PlotLookLayout.cpp, PlotLookPaint.cpp) ---
    bool Layout(CPlotPaintContext& ctx); // true when the drawing region moved
    // The rectangle the plot takes in the layout size (title, labels, axes and legend).
    gdi::Rect NaturalRect() const;
    // mode (1 when the whole area is invalid) changes nothing here: every paint draws all
    // that lies in rect.
    void Paint(CPlotPaintContext& ctx, const gdi::Rect& rect, bool axesOnly, int /*mode*/,
               bool skipCurves);
    void PaintOffscreen(CPlotPaintContext& ctx);
    // The header and footer of a printed or previewed page around the plot, their symbols
    // expanded.
    void PaintPageDecoration(CPlotPaintContext& ctx, const gdi::Rect& page,
                             const CPageDecoration& decoration);
    // After a time sample; the newest time is read from the time variable itself.
    void LiveUpdate(CPlotPaintContext& ctx, double /*t*/);

    // --- the drawing area and the curves (PlotLookCurves.cpp) ---
    void PaintDrawingBackground(CPlotPaintContext& ctx); // grid, zero and diagonal line, zoom box
    void PaintCurves(CPlotPaintContext& ctx);            // every visible variable

    // --- triangular plots (PlotLookTriangle.cpp) ---
    // Places the triangle, its side axes, labels and corner labels between left and right,
    // top and bottom; baseline is the bottom axis's baseline.
    void LayoutTriangle(CPlotPaintContext& ctx, int top, int bottom, int left, int right,
                        int baseline);
    void PrepareTriangularAxes(CPlotPaintContext& ctx);

    // --- pointer and key input (PlotLookInput.cpp) ---
    // Every operation takes the context of the control window: its device receives the
    // immediate drawing (rubber bands drawn with the inverting pen). Points are client
    // coordinates.
    enum MouseMode {
        kNoMouseMode = 0,
        kMoveMode = 1,           // moving the selected annotations or plot object
        kFinishShape = 2,        // the release that finishes a multi-click shape
        kRegionDragMode = 3,     // moving or resizing the region being edited (the legend)
        kMarkingMode = -1,       // the marked rectangle follows the pointer
        kNoDragMode = -2,        // a press whose dragging does nothing
        kTypingMode = -100,      // a text annotation is being typed
        kMultiClickShape = -102, // a polygon or polyline takes one point per click
    };
    // Cursor resources the pointer operations show.
    enum InputCursor { kMarkCursor = 16556, kSizeAllCursor = 32646 };
    // Left press: hit-tests and answers the mouse mode. clickAction off: nothing but the
    // selection of what is hit (answer 0); dragAllowed off: answer kNoDragMode.
    int LeftPress(CPlotPaintContext& ctx, gdi::Point p, int keyFlags, bool clickAction,
                  bool dragAllowed);
    // Continues the drag of mode; answers the cursor to show, or 0.
    int Drag(CPlotPaintContext& ctx, int mode, int keyFlags, gdi::Point p);
    // Finishes mode; answers whether the window must be painted again.
    bool Release(CPlotPaintContext& ctx, int keyFlags, gdi::Point p, int mode);
    // Hit-tests for a double click: objectId gets the plot object hit (0 for none); with act
    // the editor of what was hit opens at the next paint. Answers whether anything was hit.
    bool DoubleClick(CPlotPaintContext& ctx, gdi::Point p, int& objectId, bool act);
    bool RegionMarked() const { return drawingRegion && drawingRegion->zoomBoxShown; }
    int HoldCursor(int mode) const;
    // The menu resource for a right press at p, 0 for none; the region there becomes the
    // region being edited.
    int ContextMenuAt(gdi::Point p);
    // A key for the selection and the region being edited; answers whether to repaint.
    bool Key(CPlotPaintContext& ctx, int key, int repeat);
    // Whether p lies in the curve drawing region, and then its plot coordinates and the
    // coordinate text of the pointer-location event.
    bool PointerLocation(gdi::Point p, std::string& text, float& x, float& y);
    // The text of the marker tooltip under p; null when there is none.
    const std::string* TooltipAt(gdi::Point p) const;
    // The coordinate read-out of a plain press at p: "x=...\ny=..." (several Y axes in
    // parentheses).
    std::string ReadOut(gdi::Point p);
    // The marked rectangle as fractions of the drawing region: x from the left, y from the
    // bottom, far edges one unit further; false when nothing is marked.
    bool MarkedFractions(double& x0, double& x1, double& y0, double& y1) const;
    // The axes show the marked rectangle; false when nothing is marked.
    bool ZoomToMarkedRegion();
    // Every sample inside the marked rectangle becomes missing; false when nothing is marked.
    bool DeletePointsInMarkedRegion(CPlotPaintContext& ctx);
    // Makes region the one being edited (null: none), releasing the previous one.
    void SelectRegion(CPlotRegion* region);
    // The editable region under a drag at p becomes the region being edited (none when no
    // region is there); answers whether that changed.
    bool SelectRegionUnderDrag(gdi::Point p);
    // A dropped text becomes the last dropped text; answers the kind of the region being
    // edited, -1 when none.
    int DropText(const std::string& text);
    const std::string& LastDroppedText() const { return lastDroppedText_; }
    // The device mapping of the drawing region: x from horizontal, y from vertical (the
    // axes of those roles when null).
    void MapDrawingRegion(CPlotEnv& env, const CPlotAxis* horizontal = nullptr,
                          const CPlotAxis* vertical = nullptr);
    // The topmost selectable region at p (the list is in paint order), null for none.
    CPlotRegion* RegionAt(gdi::Point p) const;
    // Where the toolbar's drawing tool, a shape being drawn, the handles of selected
    // annotations, the annotations and the host plot objects take the press, the drag, the
    // release and the right press first, once they exist. Nothing takes them yet: each
    // answers that it did not.
    int PressOnObjects(CPlotPaintContext& ctx, gdi::Point p, int keyFlags);
    bool DragObjects(CPlotPaintContext& ctx, int mode, gdi::Point p, int& cursor);
    bool ReleaseObjects(CPlotPaintContext& ctx, int mode, gdi::Point p, bool& repaint);
    int ObjectMenuAt(gdi::Point p);

    // --- tag points of annotations (PlotLookTags.cpp) ---
    // Plot coordinates are data values after the axis transform. varNo (1-based, 0 for the
    // first Y axis) chooses the Y axis; a coordinate at the largest float lies on its axis and
    // maps to the axis minimum. The environment's mapping is left as the paint set it.
    bool PlotToDevice(CPlotPaintContext& ctx, double x, double y, int varNo, gdi::Point& p);
    bool DeviceToPlot(CPlotPaintContext& ctx, gdi::Point p, int varNo, double& x, double& y);
    // Whether the point lies within the visible ranges of the X axis and that Y axis.
    bool InPlotView(double x, double y, int varNo);
    // The curve segment with the smallest detour past a (strictly smaller replaces best):
    // its 1-based variable number and the weighted point in plot coordinates.
    bool NearestCurvePoint(CPlotPaintContext& ctx, gdi::Point a, double& best, int& varNo,
                           double& x, double& y);

    // --- context menus ---
    CContextMenu* Menu(int resource);
    CContextMenu& ContextMenu() { return *Menu(MENU_MAIN); }

    // Fields.
    IPlotHost& host;
    CPlotEnv* environment;
    int bufferWidth = 0, bufferHeight = 0;
    int axisMapDirty = 0, legendDirty = 0, scrollDirty = 0, layoutDirty = 0, dataDirty = 0,
        rangeDirty = 0, timeScrolled = 0, axisRangeDirty = 0, printing = 0;
    int runPlotActive = 0, phasePlotActive = 0;
    int parametric = 0, profileMode = 0, triMode = 0, barMode = 0;
    int flipped = 0, squarePlot = 0, diagonalLine = 0, zeroLine = 0;
    int axesHidden = 0, labelsHidden = 0;
    std::vector<std::unique_ptr<CPlotVar>> xVariables;
    std::vector<std::unique_ptr<CPlotVar>> yVariables;
    std::unique_ptr<CPlotDrawingRgn> drawingRegion;
    std::unique_ptr<CPlotTitleRgn> titleRegion;
    std::unique_ptr<CPlotAxisRgn> xAxisRegion;
    std::vector<std::unique_ptr<CPlotAxisRgn>> yAxisRegions; // a slot may be empty until compacted
    std::unique_ptr<CPlotLabelRgn> xLabelRegion;
    std::vector<std::unique_ptr<CPlotLabelRgn>> yLabelRegions;
    std::array<std::unique_ptr<CPlotCornerRgn>, 3> cornerLabelRegions;
    std::unique_ptr<CPlotLegendRgn> legendRegion;
    std::vector<CPlotRegion*> regionList; // paint and hit-test order
    std::vector<CPlotSymbol> symbolList;
    CPlotRegion* selectedRegion = nullptr;
    // The editor that opens at the next paint: the selected region's or plot object's.
    enum EditRequest { kEditNone = 0, kEditRegion = 1, kEditObject = 2 };
    int editRequested = kEditNone;
    std::array<CPlotFont, FontSlotCount> fonts;
    int gridType = 0, displayType = 2, showLegend = 0;
    int legendPlacementRequest = 0;
    float legendFx = 1.0f, legendFy = 0.03f;
    int markerSize = 4, markerInterval = 1;
    float tickSpacingFactor = 1500.0f;
    std::string substitutionString;
    std::vector<CContextMenu> menus;
    // Text annotations and host plot objects; made by the control when first needed and
    // dropped with everything else when the plot's contents are discarded.
    std::unique_ptr<IPlotOverlay> overlay;

    std::unique_ptr<gdi::IDeviceContext> backBuffer; // off-screen surface of the layout size
    int backBufferWidth = 0, backBufferHeight = 0;

private:
    std::string lastDroppedText_;
    // Text preparation and label regions.
    const locale::Locale& TextLocale() const;
    void PrepareLabel(CPlotLabelRgn& region);
    void PrepareLegend();
    void FillEmptyFirstLabels();
    CPlotLabelRgn& AddYLabelRegion(int axisNo, int varNo);
    // Makes a label region without listing it; ListYLabelRegionsFrom lists those from first
    // on in one insertion.
    CPlotLabelRgn& MakeYLabelRegion(int axisNo, int varNo);
    void ListYLabelRegionsFrom(size_t first);
    // Layout steps (PlotLookLayout.cpp).
    struct LayoutState;
    void LayoutTopParts(CPlotPaintContext& ctx, LayoutState& s);
    void LayoutLeftMargin(LayoutState& s);
    void LayoutRectangle(CPlotPaintContext& ctx, LayoutState& s);
    void FitLegend(CPlotPaintContext& ctx, LayoutState& s);
    void ApplySquare(LayoutState& s) const;
    void PlaceTitleAndLabels(const LayoutState& s);
    void PlaceYAxes(CPlotPaintContext& ctx, const LayoutState& s);
    void PlaceFlippedAxis(CPlotPaintContext& ctx, const LayoutState& s);
    // Paint steps (PlotLookPaint.cpp).
    void PaintSteps(CPlotPaintContext& ctx, const gdi::Rect& rect, bool axesOnly, bool skipCurves);
    // Each diagnostic the scales noted since the last paint goes to the host once.
    void ReportDiagnostics();
    void EnsureBackBuffer(CPlotPaintContext& ctx);
    void RunDeferredWork(CPlotPaintContext& ctx, const gdi::Rect& rect);
    void ShowSelection(CPlotPaintContext& ctx);
    void ScaleAndMap(CPlotPaintContext& ctx, bool axesOnly);
    void DrawRegions(CPlotPaintContext& ctx, bool axesOnly);
    void DrawLateParts(CPlotPaintContext& ctx);
    void Rebuild(int plotType);
    void BuildKind();
    void ClearKind();
    void ClearContents();
    void NumberProfileRegions(const CProfileRecord& record);
    void LoadProfileVariables(const CProfileRecord& record);
    void LoadProfileRanges(const CProfileRecord& record);
    void SwitchTriangularOrientation(int plotType);
    void CreateRegions();
    void AttachFonts();
    std::unique_ptr<CPlotVar> NewVariable(bool independent) const;
    void ApplyFirstVariableDefaults(CPlotVar& v, int position) const;
    void AssignXVariables(int bound);
    void RemoveYVariablesFrom(int n);
    CPlotAxisRgn* CreateYAxisRegion(int axisNo);
    void DeleteYAxisRegion(int position);
    void UnlistRegion(const CPlotRegion* region);
    // Unlists and drops every Y label region in one pass over the list.
    void DropYLabelRegions();
    void MarkEmptyAxes();
    void MakeRings();
    void RecomputeTimeRange(CPlotAxis& axis, double fullMax, bool alwaysShowFull);
    double StepTimeAxis(double fullMax, double unit) const;
    void ScrollAxis(CPlotAxis& axis, int code, int value, bool vertical);
    void CopyScaleToDiagonalPartner(bool fromX);
    void TellAxis(int axisNo, double value, bool first, bool& grew);
    // The steps of one streamed sample: the time's slot in X variable 1 (the X axis told),
    // then the value stored at it; StoreTimeSample answers whether the variable's axis grew.
    TimeSlot TakeTimeSlot(double time);
    bool StoreTimeSample(CPlotVar& y, const TimeSlot& slot, double value);
    // StoreTimeSample within a block: the value goes to the batch of the variable's axis.
    void StoreBlockSample(CPlotVar& y, const TimeSlot& slot, double value);
    // The two ways of storing a block of AddTimeBlock: row after row, as the samples come,
    // or variable after variable where that gives the same plot (StoresByColumn).
    bool StoresByColumn(std::span<const double> times,
                        std::span<const std::unique_ptr<CPlotVar>> block);
    void StoreBlockByRow(std::span<const double> times, std::span<const double> values,
                         std::span<const std::unique_ptr<CPlotVar>> block);
    void StoreBlockByColumn(std::span<const double> times, std::span<const double> values,
                            std::span<const std::unique_ptr<CPlotVar>> block);
    // A sample at slot 0 of a ring that never wrapped is the variable's first.
    static bool IsFirstSample(const CPlotVar& y, const TimeSlot& slot) {
        return slot.slot == 0 && !y.wrapped;
    }
    // One batch per Y axis (index = axis number), kept between blocks so that streaming
    // allocates nothing.
    std::vector<CAxisValueBatch> axisBatches_;
    // The time slots of a block's rows and the rows they belong to, kept for the same reason.
    std::vector<std::uint32_t> blockSlots_;
    std::vector<std::size_t> blockRows_;
    bool LabelsBelongToVariables() const { return runPlotActive || phasePlotActive || profileMode; }
};
