// The control's window input: mouse buttons and movement, keys, scroll bars, the context menu
// and the timers that hide pop-up texts and make highlighted objects blink. The event-enable
// mask decides for each input whether the host hears of it and whether the control acts.
#include "control/TrendixCtrl.h"

#include "model/MenuTable.h"
#include "platform/gdi/RecordingDC.h"
#include "platform/ui/VirtualKeys.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace {

// Window timers of the control.
enum TimerId { kHoldTimer = 1, kPopupTimer = 2, kBlinkTimer = 3, kFlashTimer = 4 };
constexpr int kHoldDelay = 200; // ms before a held press changes the cursor
constexpr int kFlashDelay = 30; // ms a blink stays inverted
constexpr int kMinimumBlinkPeriod = 100;
constexpr int kPopupMoveLimit = 6; // pointer travel that takes a pop-up text away
constexpr int kEndScroll = 8;      // the scroll-bar code that ends a scroll
constexpr std::int16_t kEraseLine = std::int16_t(0x8000);

com::Variant I2(int v) {
    return com::Variant::I2(std::int16_t(v));
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Common steps

CPlotPaintContext CTrendixCtrl::InputContext() {
    gdi::IDeviceContext* surface = site_.WindowSurface();
    if (!surface) {
        // Without a window image the immediate drawing goes nowhere, but the drag state
        // still follows the pointer.
        if (!scratchSurface_) scratchSurface_ = std::make_unique<gdi::RecordingDC>();
        static_cast<gdi::RecordingDC&>(*scratchSurface_).Clear();
        surface = scratchSurface_.get();
    }
    return PaintContextOn(*surface);
}

void CTrendixCtrl::ShowCursor(int cursorId) {
    currentCursor_ = cursorId;
    site_.SetCursor(cursorId);
}

void CTrendixCtrl::CursorOnPress() {
    if (manageCursor_)
        Fire(EV_CursorSet);
    else
        site_.SetCursor(currentCursor_);
}

void CTrendixCtrl::CursorOnRelease() {
    if (manageCursor_)
        Fire(EV_CursorSet);
    else
        ShowCursor(pointerCursor_);
}

// While the host manages the cursor the control leaves it alone.
void CTrendixCtrl::ShowModeCursor(int cursorId) {
    if (!manageCursor_) ShowCursor(cursorId);
}

void CTrendixCtrl::StopHoldTimer() {
    if (!holdTimerArmed_) return;
    site_.KillTimer(kHoldTimer);
    holdTimerArmed_ = false;
}

// Plot coordinates at a client point: those of the pointer location on the plot, else the
// drawing region's mapping carried on.
void CTrendixCtrl::PlotPointOf(int x, int y, double& px, double& py) {
    CPlotLook& m = EnsureModel();
    std::string text;
    float fx = 0, fy = 0;
    if (!m.PointerLocation({x, y}, text, fx, fy)) {
        m.MapDrawingRegion(env_);
        env_.DeviceToWorld(x, y, fx, fy);
    }
    px = fx;
    py = fy;
}

void CTrendixCtrl::ResetInputState() {
    for (int id : {kHoldTimer, kPopupTimer, kBlinkTimer, kFlashTimer})
        site_.KillTimer(id);
    holdTimerArmed_ = false;
    mouseMode_ = CPlotLook::kNoMouseMode;
    site_.CaptureMouse(false);
    if (popupState_ != 0) HidePopup();
    blinkPhase_ = 0;
    highlightList_.clear();
    pointerInside_ = false;
}

// ---------------------------------------------------------------------------------------------
// Mouse

void CTrendixCtrl::OnLButtonDown(int x, int y, int modifiers) {
    if (printPreview_) return;
    lastPointer_ = {x, y};
    // The press that places a new text takes its prompt away.
    if (model_ && model_->overlay && static_cast<CPlotOverlay&>(*model_->overlay).Placing()) {
        tooltipShown_.clear();
        site_.HideTooltip();
    }
    // The cursor of the press.
    CursorOnPress();
    // The model takes the press and says which mouse mode it starts.
    {
        CPlotPaintContext ctx = InputContext();
        mouseMode_ = EnsureModel().LeftPress(ctx, {x, y}, modifiers, DefaultBit(ES_LeftPress),
                                             DefaultBit(ES_LeftPressDrag));
        site_.Flush();
    }
    // Shapes let go by the press take their handles off the window.
    if (model_->overlay && Overlay().Shapes().TakeStaleHandles()) Repaint();
    FireSelection();
    // The host hears of the click.
    if (FireBit(ES_LeftPress)) {
        double px = 0, py = 0;
        PlotPointOf(x, y, px, py);
        Fire(EV_OnClick, {com::Variant::R8(px), com::Variant::R8(py), I2(x), I2(y),
                          I2(SelectedObjectId()), I2(modifiers)});
    }
    // Press and hold: a mode that drags arms the hold timer.
    if (mouseMode_ != CPlotLook::kNoMouseMode && mouseMode_ != CPlotLook::kMultiClickShape) {
        site_.SetTimer(kHoldTimer, kHoldDelay);
        holdTimerArmed_ = true;
    }
    // The pointer stays ours until the button comes up.
    site_.CaptureMouse(true);
}

void CTrendixCtrl::OnMouseMove(int x, int y, int modifiers) {
    if (printPreview_) return;
    lastPointer_ = {x, y};
    // A pop-up text closes once the pointer leaves it.
    WatchPopup(x, y);
    // The cursor (selection handles that set their own arrive with annotations).
    CursorOnPress();
    if (!model_) return;
    // The tooltip follows the pointer.
    RelayTooltip(x, y);
    // While a new text waits for its placing click, or a drawing tool is armed, the pointer is
    // a cross, and that is all.
    if (ToolArmed() ||
        (model_->overlay && static_cast<CPlotOverlay&>(*model_->overlay).Placing())) {
        ShowModeCursor(kCrossCursor);
        return;
    }
    // Without a drag the host hears where the pointer is, and when it leaves the plot.
    if (mouseMode_ == CPlotLook::kNoMouseMode) {
        if (!FireBit(ES_PointerMove)) return;
        std::string text;
        float fx = 0, fy = 0;
        if (model_->PointerLocation({x, y}, text, fx, fy)) {
            pointerInside_ = true;
            Fire(EV_PointerLocation, {com::Variant::Str(text), I2(x), I2(y)});
        } else if (pointerInside_) {
            pointerInside_ = false;
            Fire(EV_PointerExit);
        }
        return;
    }
    // A drag moves on in the model, which may ask for another cursor.
    CPlotPaintContext ctx = InputContext();
    const int cursor = model_->Drag(ctx, mouseMode_, modifiers, {x, y});
    site_.Flush();
    if (cursor) ShowModeCursor(cursor);
}

void CTrendixCtrl::OnLButtonUp(int x, int y, int modifiers) {
    if (printPreview_) return;
    lastPointer_ = {x, y};
    StopHoldTimer();
    site_.CaptureMouse(false);
    if (mouseMode_ == CPlotLook::kMultiClickShape) return; // the shape takes more points
    const int mode = mouseMode_;
    mouseMode_ = CPlotLook::kNoMouseMode;
    bool repaint = false, marked = false;
    if (mode != CPlotLook::kNoMouseMode && model_) {
        CPlotPaintContext ctx = InputContext();
        repaint = model_->Release(ctx, modifiers, {x, y}, mode);
        site_.Flush();
        marked = model_->RegionMarked();
    }
    if (marked) Fire(EV_RegionDefined);
    CursorOnRelease();
    if (repaint) Repaint();
    ReportObjectChanges();
}

void CTrendixCtrl::OnLButtonDblClk(int x, int y, int modifiers) {
    if (printPreview_) return;
    lastPointer_ = {x, y};
    doubleClicking_ = true;
    const bool act = DefaultBit(ES_DoubleClick);
    int objectId = 0;
    bool repaint = false;
    {
        CPlotPaintContext ctx = InputContext();
        repaint = EnsureModel().DoubleClick(ctx, {x, y}, objectId, act);
    }
    FireSelection();
    if (FireBit(ES_DoubleClick)) {
        double px = 0, py = 0;
        PlotPointOf(x, y, px, py);
        Fire(EV_OnDoubleClick, {com::Variant::R8(px), com::Variant::R8(py), I2(x), I2(y),
                                I2(objectId), I2(modifiers)});
    }
    if (act && repaint) Repaint();
    doubleClicking_ = false;
}

void CTrendixCtrl::OnRButtonDown(int x, int y, int modifiers) {
    if (printPreview_) return;
    lastPointer_ = {x, y};
    if (mouseMode_ == CPlotLook::kMultiClickShape) {
        if (model_) {
            CPlotPaintContext ctx = InputContext();
            model_->Release(ctx, modifiers, {x, y}, CPlotLook::kFinishShape);
        }
        mouseMode_ = CPlotLook::kNoMouseMode;
        CursorOnRelease();
        Repaint();
        ReportObjectChanges(); // the finished polygon is a change the host hears of
        return;
    }
    if (mouseMode_ != CPlotLook::kNoMouseMode) return; // the left button is still down
    // A right press disarms an armed drawing tool and does nothing else.
    if (ToolArmed()) {
        Overlay().Shapes().Disarm(env_);
        return;
    }
    if (FireBit(ES_RightPress)) {
        double px = 0, py = 0;
        PlotPointOf(x, y, px, py);
        Fire(EV_OnRBClick, {com::Variant::R8(px), com::Variant::R8(py), I2(x), I2(y),
                            I2(SelectedObjectId()), I2(modifiers)});
        return;
    }
    ShowContextMenu(x, y);
    FireSelection(); // a text under the pointer was selected for its menu
}

// ---------------------------------------------------------------------------------------------
// Context menu

void CTrendixCtrl::ShowContextMenu(int x, int y) {
    CPlotLook& m = EnsureModel();
    const int resource = m.ContextMenuAt({x, y});
    if (!resource) return;
    Repaint(); // the region being edited is highlighted
    CContextMenu* menu = m.Menu(resource);
    if (!menu) return;
    ApplyMenuRules(*menu);
    // A copy: a host handler of the prompts may replace the model while the menu is up.
    const MenuItem popup = menu->popup;
    const int command = site_.TrackPopupMenu(popup, x, y, [this](int highlighted) {
        Fire(EV_SetMessageText, {com::Variant::Str(MenuPrompt(highlighted))});
    });
    if (command) RunMenuCommand(command);
}

// A command the user chose; one that is not available yet does nothing.
void CTrendixCtrl::RunMenuCommand(int command) {
    try {
        OnCommand(command);
    } catch (const com::DispatchError& e) {
        if (e.hr() != com::E_NOTIMPL) throw;
    }
}

void CTrendixCtrl::RunCommand(int command) {
    RunMenuCommand(command);
}

// ---------------------------------------------------------------------------------------------
// Keys

void CTrendixCtrl::OnKeyDown(int keyCode, int modifiers, int repeat) {
    // The menu key opens the context menu in the middle of the control.
    if (keyCode == ui::VK_APPS) {
        ShowContextMenu(extentWidth_ / 2, extentHeight_ / 2);
        FireSelection();
        return;
    }
    // Delete removes the selected object.
    if (keyCode == ui::VK_DELETE && SelectedObjectId() != 0) {
        RunMenuCommand(ID_DELETE);
        return;
    }
    // The default handling: Ctrl shortcuts, else scrolling keys and the model's own keys.
    if (DefaultBit(ES_KeyDown)) {
        const bool shortcut = (modifiers & ui::ModCtrl) && CtrlShortcut(keyCode);
        if (!shortcut) {
            KeyScroll(keyCode);
            if (model_) {
                CPlotPaintContext ctx = InputContext();
                ctx.keyFlags = modifiers;
                if (model_->Key(ctx, keyCode, repeat)) Repaint();
                ReportObjectChanges();
            }
        }
    }
    // The host hears of the key.
    if (FireBit(ES_KeyDown))
        Fire(EV_KeyDown, {com::Variant::I4(keyCode), com::Variant::I4(modifiers)});
}

bool CTrendixCtrl::CtrlShortcut(int keyCode) {
    struct Shortcut {
        int key, command;
    };
    static constexpr Shortcut kShortcuts[] = {
        {ui::VK_END, ID_ZOOM_FULL},
        {ui::VK_LEFT, ID_ZOOM_OUT_TIME},
        {ui::VK_UP, ID_ZOOM_IN},
        {ui::VK_RIGHT, ID_ZOOM_IN_TIME},
        {ui::VK_DOWN, ID_ZOOM_OUT},
        {'W', ID_REDRAW},
        {'C', ID_COPY},
        {'V', ID_PASTE},
    };
    for (const Shortcut& s : kShortcuts) {
        if (s.key != keyCode) continue;
        RunMenuCommand(s.command);
        return true;
    }
    return false;
}

// Page and arrow keys scroll as the scroll bars do; the arrows move a selection instead.
void CTrendixCtrl::KeyScroll(int keyCode) {
    struct KeyAction {
        int key;
        bool horizontal;
        int code;
    };
    static constexpr KeyAction kKeys[] = {
        {ui::VK_PRIOR, false, 2}, {ui::VK_NEXT, false, 3}, {ui::VK_HOME, true, 2},
        {ui::VK_END, true, 3},    {ui::VK_LEFT, true, 0},  {ui::VK_RIGHT, true, 1},
        {ui::VK_UP, false, 0},    {ui::VK_DOWN, false, 1},
    };
    const bool arrow = keyCode >= ui::VK_LEFT && keyCode <= ui::VK_DOWN;
    if (arrow && model_ && model_->selectedRegion && model_->selectedRegion->kind > 5) return;
    // Selected shapes take the arrows.
    if (arrow && model_ && model_->overlay && !Overlay().Shapes().Selected().empty()) return;
    for (const KeyAction& k : kKeys) {
        if (k.key != keyCode) continue;
        OnScrollBar(k.horizontal, k.code, 0);
        OnScrollBar(k.horizontal, kEndScroll, 0);
        return;
    }
}

void CTrendixCtrl::OnKeyUp(int keyCode, int modifiers) {
    if (FireBit(ES_KeyUp)) Fire(EV_KeyUp, {com::Variant::I4(keyCode), com::Variant::I4(modifiers)});
}

void CTrendixCtrl::OnChar(int character) {
    // The model's character handling (typing into a text annotation) arrives with annotations.
    if (FireBit(ES_KeyPress)) Fire(EV_KeyPress, {com::Variant::I4(character)});
}

void CTrendixCtrl::OnSysKeyDown(int keyCode, int /*modifiers*/) {
    if (keyCode == ui::VK_RETURN)
        RunMenuCommand(ID_PROPERTIES);
    else if (keyCode == ui::VK_A)
        Fire(EV_OnEditProfileVariables);
}

// ---------------------------------------------------------------------------------------------
// Scroll bars

void CTrendixCtrl::OnScrollBar(bool horizontal, int code, int position) {
    if (code < 0 || code > 5) return;
    Scroll(horizontal, std::int16_t(code), std::int16_t(std::clamp(position, 0, 1000)));
    if (code == 5) return; // the thumb is still being dragged
    RefreshScrollBars();
    Fire(EV_Scrolled, {com::Variant::Bool(horizontal)});
}

// ---------------------------------------------------------------------------------------------
// Pop-up text, blinking and the timers

void CTrendixCtrl::ShowPopupText(const std::string& text, int x, int y) {
    ShowPopup(text, x, y, 0);
}

void CTrendixCtrl::ShowPopup(const std::string& text, int x, int y, int milliseconds) {
    if (popup_.Shown()) site_.HidePopupText();
    // The text with its symbols substituted, measured where it will be drawn.
    const std::string shown = model_ ? model_->ExpandSymbols(text) : text;
    gdi::RecordingDC fixedMetrics(extentWidth_, extentHeight_);
    gdi::IDeviceContext* surface = site_.WindowSurface();
    popup_.Show(shown, x, y, milliseconds, extentWidth_, extentHeight_,
                surface ? *surface : fixedMetrics);
    popupState_ = 1;
    site_.ShowPopup(popup_.Layout());
}

void CTrendixCtrl::DisplayText(const std::string& text, std::int16_t x, std::int16_t y,
                               std::int32_t ms) {
    ShowPopup(text, x, y, ms);
    site_.SetTimer(kPopupTimer, std::max<std::int32_t>(ms, 1));
}

void CTrendixCtrl::HidePopup() {
    site_.HidePopupText();
    popup_.Hide();
    popupState_ = 0;
}

void CTrendixCtrl::WatchPopup(int x, int y) {
    if (popupState_ == 1) {
        popupAnchor_ = {x, y};
        popupState_ = 2;
    } else if (popupState_ == 2 && blinkPhase_ != 2 &&
               std::abs(x - popupAnchor_.x) + std::abs(y - popupAnchor_.y) >= kPopupMoveLimit) {
        site_.KillTimer(kPopupTimer);
        HidePopup();
    }
}

void CTrendixCtrl::Highlight(int objectId) {
    if (std::find(highlightList_.begin(), highlightList_.end(), objectId) != highlightList_.end())
        return;
    highlightList_.push_back(objectId);
    if (highlightPeriod_ >= kMinimumBlinkPeriod && blinkPhase_ == 0) {
        site_.SetTimer(kBlinkTimer, highlightPeriod_);
        blinkPhase_ = 1;
    }
}

void CTrendixCtrl::Unhighlight(int objectId) {
    std::erase(highlightList_, objectId);
    if (!highlightList_.empty()) return;
    site_.KillTimer(kBlinkTimer);
    site_.KillTimer(kFlashTimer);
    blinkPhase_ = 0;
}

void CTrendixCtrl::ObjectSelected(int objectId, bool selected) {
    if (!selected) {
        Unhighlight(objectId);
        if (selectionToFire_ == objectId) selectionToFire_ = 0;
        return;
    }
    Highlight(objectId);
    selectionToFire_ = objectId;
}

void CTrendixCtrl::FireSelection() {
    if (const int id = std::exchange(selectionToFire_, 0)) Fire(EV_Selected, {I2(id)});
}

// The highlighted objects drawn once with the inverting pen on the window; objects that are
// gone leave the list.
void CTrendixCtrl::DrawHighlights() {
    if (!model_ || !model_->overlay) {
        highlightList_.clear();
        return;
    }
    CPlotPaintContext ctx = InputContext();
    auto& overlay = static_cast<CPlotOverlay&>(*model_->overlay);
    std::erase_if(highlightList_, [&](int id) { return !overlay.DrawInverted(ctx, id); });
    site_.Flush();
}

void CTrendixCtrl::OnTimer(int id) {
    switch (id) {
    case kHoldTimer:
        site_.KillTimer(kHoldTimer);
        holdTimerArmed_ = false;
        if (mouseMode_ != CPlotLook::kNoMouseMode && model_)
            if (const int cursor = model_->HoldCursor(mouseMode_)) ShowModeCursor(cursor);
        return;
    case kPopupTimer:
        OnPopupTimer();
        return;
    case kBlinkTimer:
        OnBlinkTimer();
        return;
    case kFlashTimer:
        OnFlashTimer();
        return;
    default:
        return;
    }
}

void CTrendixCtrl::OnPopupTimer() {
    site_.KillTimer(kPopupTimer);
    if (blinkPhase_ == 2)
        popupState_ = 3; // the next blink takes it away
    else
        HidePopup();
}

void CTrendixCtrl::OnBlinkTimer() {
    if (blinkPhase_ == 0 || highlightList_.empty()) {
        site_.KillTimer(kBlinkTimer);
        blinkPhase_ = 0;
        return;
    }
    if (popupState_ == 1 && blinkPhase_ == 1) site_.HidePopupText();
    DrawHighlights();
    if (popupState_ == 3 && blinkPhase_ == 2) HidePopup();
    if (popupState_ != 0 && blinkPhase_ == 1) site_.ShowPopup(popup_.Layout());
    blinkPhase_ = blinkPhase_ == 1 ? 2 : 1;
    site_.SetTimer(kFlashTimer, kFlashDelay);
}

void CTrendixCtrl::OnFlashTimer() {
    site_.KillTimer(kFlashTimer);
    if (blinkPhase_ == 0) return;
    DrawHighlights();
    blinkPhase_ = blinkPhase_ == 1 ? 2 : 1;
}

// ---------------------------------------------------------------------------------------------
// Pointer members of the automation interface

void CTrendixCtrl::DoDoubleClick(std::int16_t x, std::int16_t y) {
    int objectId = 0;
    {
        CPlotPaintContext ctx = InputContext();
        EnsureModel().DoubleClick(ctx, {x, y}, objectId, true);
    }
    FireSelection();
}

bool CTrendixCtrl::GetPointerLocation(std::int16_t& ix, std::int16_t& iy) {
    ix = std::int16_t(lastPointer_.x);
    iy = std::int16_t(lastPointer_.y);
    std::string text;
    float fx = 0, fy = 0;
    return EnsureModel().PointerLocation(lastPointer_, text, fx, fy);
}

bool CTrendixCtrl::ConvertToDevice(double x, double y, std::int16_t& ix, std::int16_t& iy) {
    CPlotLook& m = EnsureModel();
    if (m.drawingRegion->IsEmpty()) return false;
    m.MapDrawingRegion(env_);
    CPlotPaintContext ctx = InputContext();
    gdi::Point p;
    if (!m.drawingRegion->MapPoint(ctx, env_.CurveMapping(), double(float(x)), double(float(y)), p))
        return false;
    ix = std::int16_t(std::clamp(p.x, -32768, 32767));
    iy = std::int16_t(std::clamp(p.y, -32768, 32767));
    return true;
}

bool CTrendixCtrl::ConvertToPlot(std::int16_t ix, std::int16_t iy, double& x, double& y) {
    CPlotLook& m = EnsureModel();
    if (m.drawingRegion->IsEmpty()) return false;
    m.MapDrawingRegion(env_);
    float fx = 0, fy = 0;
    if (auto* tri = dynamic_cast<CPlotTriDrawingRgn*>(m.drawingRegion.get()))
        tri->DeviceToFractions(env_, ix, iy, fx, fy);
    else
        env_.DeviceToWorld(ix, iy, fx, fy);
    x = fx;
    y = fy;
    return true;
}

void CTrendixCtrl::DragLine(std::int16_t x1, std::int16_t y1, std::int16_t x2, std::int16_t y2,
                            std::int16_t color) {
    CPlotPaintContext ctx = InputContext();
    gdi::IDeviceContext& dc = ctx.dc;
    const bool erase = (color & kEraseLine) != 0;
    auto line = [&](gdi::Point a, gdi::Point b) {
        gdi::StateScope state(dc);
        env_.SelectPen(dc, dragLineColor_, 1);
        dc.SetRop2(gdi::RasterOp::NotXorPen);
        dc.MoveTo(a.x, a.y);
        dc.LineTo(b.x, b.y);
    };
    if (!erase) {
        gdi::StateScope probe(dc);
        env_.SelectPen(dc, color, 1); // a colour outside the table fails before anything moves
        dragLineColor_ = color;
    } else if (dragLineDrawn_) {
        line(dragLineFrom_, dragLineTo_);
    }
    line({x1, y1}, {x2, y2});
    dragLineFrom_ = {x1, y1};
    dragLineTo_ = {x2, y2};
    dragLineDrawn_ = true;
    site_.Flush();
}

void CTrendixCtrl::RelayTooltip(int x, int y) {
    const std::string* tip =
        mouseMode_ == CPlotLook::kNoMouseMode ? model_->TooltipAt({x, y}) : nullptr;
    if (tip && *tip != tooltipShown_) {
        tooltipShown_ = *tip;
        site_.ShowTooltip(tooltipShown_, x, y);
    } else if (!tip && !tooltipShown_.empty()) {
        tooltipShown_.clear();
        site_.HideTooltip();
    }
}
