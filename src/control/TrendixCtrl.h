#pragma once
#include "annot/PlotOverlay.h"
#include "annot/PlotPopupWnd.h"
#include "control/PlotImage.h"
#include "control/PlotMenu.h"
#include "control/TrendixEvents.h"
#include "model/IPlotHost.h"
#include "model/PageLayout.h"
#include "model/PlotLook.h"
#include "platform/com/ConnectionPoint.h"
#include "platform/com/IDispatch.h"
#include "platform/ui/IWindowSite.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace com {
class PropExchange;
}
struct FontSetting;

// The persisted properties of the control, with the values of a new control.
struct TrendixProperties {
    std::string Title = "Title";
    std::string xlabel = "X Label";
    std::string ylabel = "Y Label";
    std::int16_t nvariables = 1;
    std::int16_t nxvariables = 1;
    std::int16_t PlotType = 0;
    bool MultiYaxis = false;
    bool RunPlot = false;
    bool UseVariable = false;
    float TimeWindow = 1.0f;
    float TimeScrollUnit = 0.2f;
    std::int16_t GridType = 0;
    std::int16_t MarkerSize = 4;
    std::int16_t MarkerInterval = 1;
    bool Flipped = false;
    bool SquarePlot = false;
    bool DiagonalLine = false;
    bool ZeroLine = false;
    bool Parametric = false;
    bool ReverseXAxis = false;
    bool ShowLegend = false;
    bool AddTimeStamp = false;
    std::int16_t DisplayType = 2;
    std::int32_t BufferSize = 2000;
    bool SizeToData = false;
    bool VariableDrop = true;
    bool IgnoreSetLegend = false;
    std::int16_t CommunicationIntervals = 1;
    std::string InputFile;
};

// The plotting control: the object a host creates, sites in a window and drives through its
// automation interface; it tells the host of changes through events.
class CTrendixCtrl : public com::IDispatch, public IPlotHost {
    // The tests read internal state through it (tests/support/CtrlProbe.h).
    friend struct CtrlProbe;

public:
    explicit CTrendixCtrl(ui::IWindowSite& site);
    ~CTrendixCtrl() override;
    CTrendixCtrl(const CTrendixCtrl&) = delete;
    CTrendixCtrl& operator=(const CTrendixCtrl&) = delete;

    // --- automation ---
    const com::TypeInfo& GetTypeInfo() const override;
    com::Variant Invoke(com::DISPID id, com::InvokeKind kind,
                        std::span<com::Variant> args) override;
    const com::TypeInfo* GetEventTypeInfo() const override { return &TrendixEventTypeInfo(); }
    com::ConnectionPoint* GetConnectionPoint() override { return &events_; }

    // --- lifecycle and persistence (TrendixPersist.cpp) ---
    // Exchanges the version, the stock properties and the persisted properties; after a load
    // runs the after-load steps.
    void DoPropExchange(com::PropExchange& px);
    // The window exists: drop target registered, colours reset.
    void OnCreate();
    // The window is going away: timers stopped, capture released.
    void OnDestroy();
    // The property set as a binary stream and as a text property bag. A load whose data
    // cannot be read throws com::DispatchError and leaves the control as it was.
    std::vector<std::uint8_t> SaveBinary();
    void LoadBinary(std::span<const std::uint8_t> data);
    std::string SaveText();
    void LoadText(std::string_view text);
    // The binary image of the whole plot (TrendixImage.cpp): what Copy puts on the clipboard
    // and Paste reads. An image that cannot be read throws com::DispatchError and leaves the
    // control exactly as it was.
    std::vector<std::uint8_t> SaveImage();
    void LoadImage(std::span<const std::uint8_t> image);
    // The largest sample buffer the control accepts for one variable.
    static constexpr std::int32_t kMaxBufferSize = 1 << 24;
    // The samples one control may hold over all its variables unless the host says
    // otherwise: 2^25 samples of 8 bytes, 256 MiB.
    static constexpr std::int64_t kDefaultSampleBudget = std::int64_t(1) << 25;
    // The host changes the budget for this control (at least one sample); a plot already
    // beyond it is kept, and the next request that would grow it is refused.
    void SetSampleBudget(std::int64_t samples) {
        sampleBudget_ = std::max<std::int64_t>(samples, 1);
    }

    // --- input from the window (TrendixInput.cpp) ---
    // Points are client coordinates; modifiers is 1 Shift + 2 Ctrl + 4 Alt at the time of the
    // event; key codes are virtual-key codes (platform/ui/VirtualKeys.h).
    void OnLButtonDown(int x, int y, int modifiers);
    void OnLButtonUp(int x, int y, int modifiers);
    void OnLButtonDblClk(int x, int y, int modifiers);
    void OnRButtonDown(int x, int y, int modifiers);
    void OnMouseMove(int x, int y, int modifiers);
    void OnKeyDown(int keyCode, int modifiers, int repeat);
    void OnKeyUp(int keyCode, int modifiers);
    void OnChar(int character);
    // Alt+key (Alt+Enter, Alt+A).
    void OnSysKeyDown(int keyCode, int modifiers);
    // code: 0 line up/left, 1 line down/right, 2 page up/left, 3 page down/right, 4 thumb
    // position (end of drag), 5 thumb track, 8 end of scroll.
    void OnScrollBar(bool horizontal, int code, int position);
    void OnTimer(int id);
    // Drag and drop (TrendixDrop.cpp). Data offering the formats named in offered is dragged
    // over the window at x, y (entering or moving): answers the drop effect
    // (CPlotDropTarget::Effect). The data is dropped at x, y: answers the effect taken.
    int OnDragOver(const std::vector<std::string>& offered, int x, int y);
    int OnDrop(const ui::Clipboard& data, int x, int y);

    // --- window ---
    void OnSize(int width, int height);
    // Draws the control into dc: bounds is where the picture goes, invalid what must be
    // painted. A bounds size other than the layout size is a scaled draw that keeps the
    // plot's proportions and centres it.
    void OnDraw(gdi::IDeviceContext& dc, const gdi::Rect& bounds, const gdi::Rect& invalid);
    // Paints the whole client area into the site's window surface, when it has one.
    void PaintWindowSurface();
    CPlotLook* Model() { return model_.get(); }
    const TrendixProperties& Properties() const { return props_; }

    // --- properties (DISPIDs 1..39, -501, -513) ---
    std::string GetTitle() const { return props_.Title; }
    void SetTitle(const std::string& v);
    std::string Getxlabel() const { return props_.xlabel; }
    void Setxlabel(const std::string& v);
    std::string Getylabel() const { return props_.ylabel; }
    void Setylabel(const std::string& v);
    bool GetMultiYaxis() const { return props_.MultiYaxis; }
    void SetMultiYaxis(bool v);
    bool GetRunPlot() const { return props_.RunPlot; }
    void SetRunPlot(bool v);
    std::int16_t GetPlotType() const { return props_.PlotType; }
    void SetPlotType(std::int16_t v);
    float GetTimeWindow() const { return props_.TimeWindow; }
    void SetTimeWindow(float v);
    bool GetUseVariable() const { return props_.UseVariable; }
    void SetUseVariable(bool v);
    std::string GetInputFile() const { return props_.InputFile; }
    void SetInputFile(const std::string& v);
    std::int16_t Getnpoints() const { return npoints_; }
    void Setnpoints(std::int16_t v);
    std::int16_t Getnvariables() const { return props_.nvariables; }
    void Setnvariables(std::int16_t v);
    float GetTimeScrollUnit() const { return props_.TimeScrollUnit; }
    void SetTimeScrollUnit(float v);
    std::int16_t GetGridType() const { return props_.GridType; }
    void SetGridType(std::int16_t v);
    std::int16_t GetMarkerSize() const { return props_.MarkerSize; }
    void SetMarkerSize(std::int16_t v);
    std::int16_t GetMarkerInterval() const { return props_.MarkerInterval; }
    void SetMarkerInterval(std::int16_t v);
    bool GetFlipped() const { return props_.Flipped; }
    void SetFlipped(bool v);
    bool GetSquarePlot() const { return props_.SquarePlot; }
    void SetSquarePlot(bool v);
    bool GetDiagonalLine() const { return props_.DiagonalLine; }
    void SetDiagonalLine(bool v);
    bool GetZeroLine() const { return props_.ZeroLine; }
    void SetZeroLine(bool v);
    std::int16_t GetDisplayType() const { return props_.DisplayType; }
    void SetDisplayType(std::int16_t v);
    std::int32_t GetBufferSize() const { return props_.BufferSize; }
    void SetBufferSize(std::int32_t v);
    bool GetSizeToData() const { return props_.SizeToData; }
    void SetSizeToData(bool v);
    std::uint32_t GetBackColor() const { return backColor_; }
    void SetBackColor(std::uint32_t v);
    std::uint32_t GetForeColor() const { return foreColor_; }
    void SetForeColor(std::uint32_t v);
    bool GetParametric() const { return props_.Parametric; }
    void SetParametric(bool v);
    std::int16_t Getnxvariables() const { return props_.nxvariables; }
    void Setnxvariables(std::int16_t v);
    bool GetReverseXAxis() const { return props_.ReverseXAxis; }
    void SetReverseXAxis(bool v);
    bool GetAddTimeStamp() const { return props_.AddTimeStamp; }
    void SetAddTimeStamp(bool v);
    bool GetShowLegend() const { return props_.ShowLegend; }
    void SetShowLegend(bool v);
    std::int16_t GetCommunicationIntervals() const { return props_.CommunicationIntervals; }
    void SetCommunicationIntervals(std::int16_t v);
    float GetGridInterval() const { return gridInterval_; }
    void SetGridInterval(float v);
    bool GetVariableDrop() const { return props_.VariableDrop; }
    void SetVariableDrop(bool v);
    bool GetIgnoreSetLegend() const { return props_.IgnoreSetLegend; }
    void SetIgnoreSetLegend(bool v);
    com::Unknown* GetPlotVals() const { return nullptr; }
    void SetPlotVals(com::Unknown* record);
    bool GetEditProfileVariables() const { return profileVariables_; }
    void SetEditProfileVariables(bool v);
    bool GetEditProfileTable() const { return profileTable_; }
    void SetEditProfileTable(bool v);
    bool GetAlwaysShowFull() const { return alwaysShowFull_; }
    void SetAlwaysShowFull(bool v);
    std::int16_t GetDummy(int n) const { return dummy_[n - 2]; }
    void SetDummy(int n, std::int16_t v);

    // --- drawing and scrolling ---
    void Redraw();
    void Scroll(bool horizontal, std::int16_t type, std::int16_t value);
    void GetScroll(bool horizontal, std::int16_t& minValue, std::int16_t& maxValue);
    void UpdateAxis();
    void Zoom(std::int16_t mode);
    bool IsRegionDefined();
    void Rotate(std::int16_t direction);
    void DragLine(std::int16_t x1, std::int16_t y1, std::int16_t x2, std::int16_t y2,
                  std::int16_t color);

    // --- time and phase data ---
    void AddTimeData(std::int16_t varNo, double time, double value);
    void RewindTimeData(double startTime);
    void ClearTimeData(std::int16_t varNo);
    std::int32_t AddPhaseData(float x, com::FloatArray& y);
    void SetPhasePlot(bool set);
    bool GetPhasePlot() const { return phasePlot_; }
    std::string GetPhaseXVariable() const { return phaseXVariable_; }
    void SetPhaseXVariable(const std::string& name) { phaseXVariable_ = name; }
    void FirePhasePlot(const std::string& name);
    void EnableLivePlot(bool set);
    void SetLivePlot(bool set);
    // A block of time steps for typed hosts: row r of values (row-major) holds the samples of
    // variables firstVar, firstVar + 1, ... at times[r]. The caller has checked the shape and
    // the variable numbers; the samples take the road of AddTimeData, and the time axis
    // follows once per block.
    void AddTimeBlock(std::span<const double> times, std::span<const double> values, int firstVar);

    // --- variables, axes and data values ---
    std::string GetCurrentValue(std::int16_t objId) const;
    void SetLabel(std::int16_t axisNo, const std::string& label);
    std::string GetLabel(std::int16_t axisNo);
    void SetLegend(std::int16_t varNo, const std::string& legend);
    std::string GetLegend(std::int16_t varNo);
    void SetScale(std::int16_t axisNo, std::int16_t scale);
    std::int16_t GetScale(std::int16_t axisNo);
    void SetInteger(std::int16_t axisNo);
    void SetRange(std::int16_t axisNo, double low, double high);
    void GetRange(std::int16_t axisNo, double& low, double& high);
    void SetAxisRange(std::int16_t axisNo, double low, double high);
    void GetAxisRange(std::int16_t axisNo, double& low, double& high);
    void SetAxisMap(std::int16_t varNo, std::int16_t axisNo);
    std::int16_t GetAxisMap(std::int16_t varNo);
    void SetAxisMode(std::int16_t axisNo, std::int16_t index, std::int16_t mode);
    void GetAxisMode(std::int16_t axisNo, std::int16_t index, std::int16_t& mode);
    std::int16_t GetNYaxes();
    void SetData(std::int16_t varNo, std::int16_t dataNo, double value);
    void SetXData(std::int16_t varNo, std::int16_t dataNo, double value);
    bool GetData(std::int16_t varNo, std::int16_t dataNo, double& value);
    bool GetXData(std::int16_t varNo, std::int16_t dataNo, double& value);
    void SetXVariable(std::int16_t yVarNo, std::int16_t xVarNo);
    std::int16_t GetXVariable(std::int16_t yVarNo);
    void SetAttribute(std::int16_t lineNo, std::int16_t type, std::int16_t marker,
                      std::int16_t color);
    void GetAttribute(std::int16_t lineNo, std::int16_t& type, std::int16_t& marker,
                      std::int16_t& color);
    void SetFont(std::int16_t fontId, const std::string& face, std::int16_t size,
                 std::int16_t attrib);
    std::string GetFont(std::int16_t fontId, std::int16_t& size, std::int16_t& attrib);
    void SetMultiplier(std::int16_t axisNo, std::int16_t multiplier);
    std::int16_t GetMultiplier(std::int16_t axisNo);
    void SetMultiplierType(std::int16_t axisNo, std::int16_t type);
    std::int16_t GetMultiplierType(std::int16_t axisNo);
    void SetSubstitutionString(const std::string& text);
    void SetSubstitutionValue(std::int16_t varNo, const std::string& text);
    void SetSymbol(const std::string& name, const std::string& value);
    void SetLegendBox(std::int16_t location, std::int16_t width, float itemHeight,
                      std::int16_t margin);

    // --- variable names ---
    void SetVariable(std::int16_t index, const std::string& name);
    std::string GetVariable(std::int16_t index) const;
    void DeleteVariable(std::int16_t varNo);
    void MoveVariable(std::int16_t source, std::int16_t target);
    void EnableResetFromDefinition(bool enable) { resetEnabled_ = enable; }

    // --- settings, files and objects ---
    std::string GetSettings();
    void SetSettings(const std::string& settings);
    void Clear();
    void EditObject(std::int16_t objectId);
    std::int16_t AddText(const std::string& text, float x, float y, std::int16_t color,
                         std::int16_t alignment, const std::string& font, std::int16_t size,
                         std::int16_t style);
    void ModifyText(const std::string& oldText, const std::string& newText);
    void AddTextDialog();
    void HideVariableDialog();
    std::int16_t NewLine(std::int16_t color, std::int16_t lineType, std::int16_t marker,
                         std::int16_t markerSize, std::int16_t direction);
    std::int16_t NewPolygon(std::int16_t color, std::int16_t fillMode);
    std::int16_t NewText(const std::string& text, double x, double y, std::int16_t attached);
    void ChangeText(std::int16_t objectId, const std::string& text, double x, double y,
                    std::int16_t attached);
    void SetXYData(std::int16_t objectId, std::int16_t dataNo, double x, double y);
    bool GetXYData(std::int16_t objectId, std::int16_t dataNo, double& x, double& y);
    void SetTextAttribute(std::int16_t objectId, std::int16_t color, std::int16_t alignment,
                          std::int16_t angle, const std::string& font, std::int16_t size,
                          std::int16_t style);
    void SetLineAttribute(std::int16_t objectId, std::int16_t color, std::int16_t lineType,
                          std::int16_t marker, std::int16_t markerSize, std::int16_t direction,
                          std::int16_t mask);
    std::int16_t SetObject(std::int16_t objectId, std::int16_t value, std::int16_t mask);
    void SetTieLine(std::int16_t, std::int16_t) {}
    void CopyToBuffer(com::Variant& data);

    // --- user interface and host integration ---
    void FireReloadEvent();
    void DoDoubleClick(std::int16_t x, std::int16_t y);
    void DisplayText(const std::string& text, std::int16_t x, std::int16_t y, std::int32_t ms);
    // The pop-up text window at (x, y); timed when milliseconds > 0.
    void ShowPopup(const std::string& text, int x, int y, int milliseconds);
    void SetEvent(std::int16_t eventId, bool onOff, bool dflt);
    void ManageCursor(bool onOff) { manageCursor_ = onOff; }
    void SetMousePointer(std::int16_t type);
    void InvokeMenuItem(std::int16_t id);
    std::string GetMenuItem(std::int16_t& code, std::int16_t& id);
    void UpdateMenu();
    bool IsMenuItemEnabled(std::int16_t id);
    bool GetPointerLocation(std::int16_t& ix, std::int16_t& iy);
    bool ConvertToDevice(double x, double y, std::int16_t& ix, std::int16_t& iy);
    bool ConvertToPlot(std::int16_t ix, std::int16_t iy, double& x, double& y);
    void SetCopyMode(std::int16_t mode) { copyMode_ = mode; }
    void SetTextMode(std::int16_t mode);
    void SetHighlightMode(std::int16_t mode) { highlightPeriod_ = mode; }
    void Copy();
    void Paste();
    void CopyWithSize(std::int16_t width, std::int16_t height);
    void Print2(bool setupOnly);
    void PrintPreview(bool on);
    void PageLayout();
    // The page layout for hosts that set it without the sheet (the command line); it exists
    // from then on as after a first PageLayout. Null until then.
    void SetPageLayout(const LayoutSetting& setting);
    const LayoutSetting* PageLayoutSetting() const { return pageLayout_.get(); }
    bool Previewing() const { return printPreview_; }
    // Where print preview shows the page, in client coordinates.
    const gdi::Rect& PageRect() const { return pageRect_; }
    void OpenLog(const std::string& fileName);
    void CloseLog();
    void AboutBox();

    // --- commands of the context menus ---
    void OnCommand(int command);
    // The property pages the plot offers, in one sheet over this control (Alt+Enter and the
    // Properties command).
    void ShowPropertyPages();
    void UpdateScrollState(bool zoomed);

    // --- the drawing toolbar (TrendixShapes.cpp) ---
    // The toolbar's colour and line type (1..7): the selected shapes take them, or, with
    // nothing selected, the shapes made from then on.
    void ApplyToolbarColor(gdi::ColorRef rgb);
    void ApplyToolbarLineType(int lineType);
    // The palette index and line type the toolbar's lists show for the selection.
    void ToolbarChoice(int& colorIndex, int& lineType);
    // The tool picked for the next shape, 0 when none.
    int CurrentTool() const;
    bool ToolArmed() const;

    // A plot object joins or leaves the list of objects that blink.
    void Highlight(int objectId);
    void Unhighlight(int objectId);
    // The print preview sets this while it is shown: the mouse is then ignored.
    void SetPreviewing(bool on) { printPreview_ = on; }
    // Back to rest: no mouse mode, no hold timer, no pop-up text, no blinking, no capture
    // (for a window that goes away in the middle of an input).
    void ResetInputState();

    // --- direct access for the settings reader, which stores some values without handlers ---
    TrendixProperties& StoredProperties() { return props_; }
    CPlotLook& PlotModel() { return EnsureModel(); }
    // The display settings a settings text or an input file changed in the model, back into
    // the property set: the mirror of CopySettingsIntoModel.
    void CopySettingsFromModel();
    // The plot's text annotations and host objects.
    CPlotOverlay& PlotObjects() { return Overlay(); }
    void StorePhasePlotFlag(bool on) { phasePlot_ = on; }
    void HideScrollBars();
    void RequestRepaint() { Repaint(); }
    int PlotWidth() const { return extentWidth_; }
    int PlotHeight() const { return extentHeight_; }

    // --- IPlotHost ---
    const std::string& Title() const override { return trimmedTitle_; }
    float TimeWindow() const override { return props_.TimeWindow; }
    float TimeScrollUnit() const override { return props_.TimeScrollUnit; }
    int BufferSize() const override { return props_.BufferSize; }
    int NPoints() const override { return npoints_; }
    int NVariables() const override { return props_.nvariables; }
    int NXVariables() const override { return props_.nxvariables; }
    bool AlwaysShowFull() const override { return alwaysShowFull_; }
    bool RunPlot() const override { return props_.RunPlot; }
    int PlotType() const override { return props_.PlotType; }
    char DecimalSeparator() const override { return decimalSeparator_; }
    std::int64_t SampleBudget() const override { return sampleBudget_; }
    void SetDisplayTypeValue(int v) override { props_.DisplayType = std::int16_t(v); }
    void SetMarkerIntervalValue(int v) override { props_.MarkerInterval = std::int16_t(v); }
    void SetTimeWindowValue(float v) override { props_.TimeWindow = v; }
    void SetTimeScrollUnitValue(float v) override { props_.TimeScrollUnit = v; }
    void SetSquarePlotValue(bool v) override { props_.SquarePlot = v; }
    void SetShowLegendValue(bool v) override { props_.ShowLegend = v; }
    void SetRunPlotValue(bool v) override { props_.RunPlot = v; }
    void WriteLog(const std::string& line) override;
    void RefreshScrollBars() override;
    void ShowPopupText(const std::string& text, int x, int y) override;
    void RunCommand(int command) override;
    void ObjectSelected(int objectId, bool selected) override;

    // The assigned-property bits that are ever tested.
    enum AssignedProperty : std::uint32_t { kShowLegendAssigned = 1u << 27 };

private:
    CPlotLook& EnsureModel();
    void CreateModel();
    void CopyPropertiesIntoModel();
    // The display settings the model keeps copies of, and the variables' buffer size.
    void CopySettingsIntoModel(CPlotLook& m) const;
    void GrowVariableNames(int count);
    void ApplyRunPlot(bool on);
    void Repaint();
    void MarkModified();
    void Fire(TrendixEvent id, std::initializer_list<com::Variant> args = {});
    void FireCaption();
    void ApplyVariableChangesStep();
    void CheckAxisIndex(int axisNo) const;
    // Refuses with E_OUTOFMEMORY, before anything is allocated, a plot of more samples than
    // the budget allows. After: a change to a plot of after samples, unless that is no more
    // than the plot holds now (a plot beyond a lowered budget may shrink).
    void CheckSampleBudget(std::int64_t samples) const;
    void CheckSamplesAfter(std::int64_t after) const;
    void CheckGrowth(const CPlotVar* v, std::int16_t dataNo) const;
    // The samples of the model's variables (at least one X and one Y) at perVariable each,
    // and of those it holds with count more variables of the size a new one gets.
    std::int64_t SamplesResizedTo(std::int64_t perVariable) const;
    std::int64_t SamplesWithMoreVariables(int count) const;
    // A colour index must name a colour of the table: the invalid-argument error otherwise.
    void CheckColorIndex(int color) const;
    [[noreturn]] void Pending(const char* member) const;
    // Annotations and host objects (TrendixObjects.cpp)
    CPlotOverlay& Overlay();
    // The font list entry for a text; an empty face takes the drawing font's, a size of 0 or
    // less 10 points.
    const CPlotFont* TextFont(const std::string& face, int size, int angle, int style);
    // The host's view of the objects changed: modified, Modified, repaint.
    void ObjectsChanged();
    std::int16_t XYObjectMade(const char* logPrefix, int id);
    // A text the user moved: the same report.
    void ReportObjectChanges();
    std::string TimeStampText() const;
    void ApplyTimeStamp(bool on);
    void DeleteSelectedText();
    // The font list entry of the default text font (the text dialog changes it).
    const CPlotFont* DefaultTextFont();
    // The add-text command: a selected label is edited, else the text sheet opens and the
    // new text waits for its placing click.
    void RunAddText();
    void EditLabelText(CPlotLabelRgn& label);
    // The hide-variables command; true when a variable changed.
    bool RunHideVariables();
    // The edit dialogs (TrendixDialogs.cpp). A request for the editor of the selected object
    // or region is taken by the next paint and runs once that paint has finished.
    void TakeEditRequest(CPlotLook& m);
    void EditSelected(bool object);
    void EditAxis(const CPlotAxisRgn& region);
    void EditLabel(CPlotLabelRgn& label);
    void EditLegend();
    void EditPlotObject(CPlotObj& object);
    void EditAnnotation(CPlotAnnotation& annotation);
    FontSetting FontSlot(int fontId);
    void SetFontSlot(int fontId, const FontSetting& font);
    // Fires Selected for an object the user or the host selected, once the handler that
    // selected it has finished with the model.
    void FireSelection();
    // Shapes (TrendixShapes.cpp): the tool, group and fill commands; false for others.
    bool ShapeCommand(int command);
    // "Edit" of the text menu: the selected text shape in the "Edit Text" dialog.
    void EditTextShape();
    void ApplyShapeMenuRules(CContextMenu& menu);
    // Paste from the context menu or Ctrl+V: a refused image is dropped without a word.
    void PasteFromInput();
    // The binary image (TrendixImage.cpp)
    // Refuses a property set that a load would refuse, without changing anything.
    void CheckPropertySet(std::span<const std::uint8_t> data) const;
    void CheckImage(const CPlotImage::Content& image) const;
    void ApplyImage(CPlotImage::Content&& image);
    void ReadImageSettings(CPlotLook& m, const std::string& settings);
    // Plot files (TrendixFiles.cpp)
    void LoadFile(const std::string& path);
    void LoadInputFile(const std::string& path);
    void LoadProfileRecord(const CProfileRecord& record);
    void RunScript(const std::string& path);
    void OpenPlotFile();
    // Printing (TrendixPrint.cpp)
    ui::PrinterSettings PreparedSettings(const ui::IPrinter& printer) const;
    void ComputePageRect();
    void PrintPage(ui::IPrinter& printer);
    // The header and footer of this draw, when it is a printed or previewed page with a page
    // layout; the plot goes into the part of target they leave.
    std::optional<CPageDecoration> Decoration(const gdi::Rect& target) const;

    ui::IWindowSite& site_;
    com::ConnectionPoint events_;
    CPlotEnv env_; // one per control, reused for every paint
    std::unique_ptr<CPlotLook> model_;
    TrendixProperties props_;
    std::string trimmedTitle_ = "Title";
    std::uint32_t backColor_ = 0xFFFFFF;
    std::uint32_t foreColor_ = 0;
    float gridInterval_ = 0.1f;
    std::int16_t dummy_[4] = {0, 0, 0, 0};
    std::int16_t npoints_ = 0;

    // run-time state
    std::vector<std::string> variableNames_;
    std::uint32_t assigned_ = 0;
    bool dataAdded_ = false;
    bool scrolled_ = false;
    bool loading_ = false;
    bool plotDefined_ = false;
    bool phasePlot_ = false;
    std::string phaseXVariable_;
    std::uint32_t eventMask_ = kInitialEventMask;
    std::int16_t copyMode_ = 0, textMode_ = 0, highlightPeriod_ = 0;
    bool manageCursor_ = false;
    int pointerCursor_ = ui::kArrowCursor;
    int currentCursor_ = 0;
    bool profileVariables_ = false, profileTable_ = false, resetEnabled_ = false;
    bool alwaysShowFull_ = false;
    std::int16_t copyWidth_ = 0, copyHeight_ = 0;
    bool printPreview_ = false, printerSetUp_ = false;
    bool printingPage_ = false; // drawing the printer's page
    gdi::Rect pageRect_;
    std::unique_ptr<LayoutSetting> pageLayout_;
    std::unique_ptr<CPlotMenu> menuWalker_;
    CObjectIds objectIds_; // host object numbering for the control's whole life
    // What the text dialog opens with: the last attributes chosen, and the default font.
    CPlotAnnotation::Attributes textDefaults_;
    std::string defaultTextFace_; // empty: the drawing font's face
    int defaultTextSize_ = 10, defaultTextStyle_ = 0;
    int selectionToFire_ = 0; // an object selected, Selected not yet fired
    std::ofstream log_;       // the edit log while one is open
    char decimalSeparator_ = '.';
    std::int64_t sampleBudget_ = kDefaultSampleBudget;

    // window
    int extentWidth_ = 0, extentHeight_ = 0;
    bool hScrollShown_ = false, vScrollShown_ = false;
    bool firstPaintDone_ = false;
    bool scaledRepaintPending_ = false; // a scaled draw asked for one on-screen repaint
    bool containerImage_ = false;
    bool copyWithSize_ = false;

    // input (TrendixInput.cpp)
    bool FireBit(EventSwitch eventId) const { return (eventMask_ & EventFireBit(eventId)) != 0; }
    bool DefaultBit(EventSwitch eventId) const {
        return (eventMask_ & EventDefaultBit(eventId)) != 0;
    }
    CPlotPaintContext InputContext();
    void ShowCursor(int cursorId);
    void CursorOnPress();   // CursorSet, or the current cursor again
    void CursorOnRelease(); // CursorSet, or the pointer cursor
    void ShowModeCursor(int cursorId);
    void StopHoldTimer();
    void PlotPointOf(int x, int y, double& px, double& py);
    int SelectedObjectId() const; // the selected host plot object, 0 for none
    void ShowContextMenu(int x, int y);
    void ApplyMenuRules(CContextMenu& menu);
    void RunMenuCommand(int command);
    bool CtrlShortcut(int keyCode);
    void KeyScroll(int keyCode);
    void WatchPopup(int x, int y);
    // Shows the marker tooltip under the pointer, or hides the one shown.
    void RelayTooltip(int x, int y);
    void HidePopup();
    void DrawHighlights();
    void OnPopupTimer();
    void OnBlinkTimer();
    void OnFlashTimer();
    int mouseMode_ = 0;
    bool holdTimerArmed_ = false;
    bool pointerInside_ = false;
    std::string tooltipShown_; // the marker tooltip on show; empty when none
    bool doubleClicking_ = false;
    int popupState_ = 0; // 0 hidden, 1 just shown, 2 watching the pointer, 3 hide at next blink
    int blinkPhase_ = 0; // 0 not blinking, 1 or 2
    CPlotPopupWnd popup_;
    gdi::Point popupAnchor_;
    gdi::Point lastPointer_{-1, -1};
    std::vector<int> highlightList_;
    std::int16_t dragLineColor_ = 0;
    bool dragLineDrawn_ = false;
    gdi::Point dragLineFrom_, dragLineTo_;
    std::unique_ptr<gdi::IDeviceContext> scratchSurface_; // immediate drawing without a window

    // drawing entry steps (TrendixDraw.cpp)
    CPlotPaintContext PaintContextOn(gdi::IDeviceContext& dc);
    void BeginScaledDraw(CPlotLook& m, const gdi::Rect& bounds, int w, int h);
    void EndScaledDraw(CPlotLook& m, gdi::IDeviceContext& dc);
    void LiveUpdate(double time);
    // After new samples: advances the time axis past the newest time and, when it moved, shows
    // the live strips and tells the host.
    void FollowTimeAxis(double time);
};
