#include "control/TrendixCtrl.h"

#include "control/PlotSettings.h"
#include "control/TrendixModule.h"
#include "model/MenuTable.h"

#include <algorithm>

namespace {

// The system cursor number of each MousePointer type (1, the arrow, is ui::kArrowCursor).
constexpr int kCursorIds[16] = {0,     32512, 32515, 32513, 32641, 32640, 32643, 32645,
                                32642, 32644, 32516, 32514, 32648, 32650, 32651, 32646};
static_assert(kCursorIds[1] == ui::kArrowCursor);

} // namespace

// ---------------------------------------------------------------------------------------------
// Settings and clearing

std::string CTrendixCtrl::GetSettings() {
    return CPlotSettings(*this).Write();
}

// The annotation blocks are parsed but create nothing until text annotations exist.
void CTrendixCtrl::SetSettings(const std::string& settings) {
    CPlotSettings(*this).Read(settings);
}

void CTrendixCtrl::Clear() {
    model_.reset();
    props_.nvariables = 1;
    npoints_ = 0;
    props_.nxvariables = 1;
    CreateModel();
    Repaint();
}

void CTrendixCtrl::EditObject(std::int16_t objectId) {
    CPlotLook& m = EnsureModel();
    for (CPlotRegion* r : m.regionList) {
        if (r->kind == objectId) {
            m.selectedRegion = r;
            m.editRequested = CPlotLook::kEditRegion;
            Repaint();
            return;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// User interface and host integration

void CTrendixCtrl::FireReloadEvent() {
    Fire(EV_ReloadNow);
}

void CTrendixCtrl::SetEvent(std::int16_t eventId, bool onOff, bool dflt) {
    const std::uint32_t fire = EventFireBit(eventId);
    const std::uint32_t deflt = EventDefaultBit(eventId);
    eventMask_ = onOff ? (eventMask_ | fire) : (eventMask_ & ~fire);
    eventMask_ = dflt ? (eventMask_ | deflt) : (eventMask_ & ~deflt);
}

void CTrendixCtrl::SetMousePointer(std::int16_t type) {
    if (type < 1 || type > 15) return;
    pointerCursor_ = kCursorIds[type];
    currentCursor_ = pointerCursor_;
    site_.SetCursor(currentCursor_);
}

void CTrendixCtrl::InvokeMenuItem(std::int16_t id) {
    if (id == ID_DELETE_AS_SHORT) {
        OnCommand(ID_DELETE);
        return;
    }
    if (!menuWalker_) return;
    if (const CPlotMenu::Recorded* r = menuWalker_->Find(id)) OnCommand(r->command);
}

std::string CTrendixCtrl::GetMenuItem(std::int16_t& code, std::int16_t& id) {
    if (id == 0) menuWalker_ = std::make_unique<CPlotMenu>(EnsureModel().ContextMenu());
    if (!menuWalker_) {
        code = CPlotMenu::EndOfMenu;
        return {};
    }
    return menuWalker_->Next(code, id);
}

void CTrendixCtrl::UpdateMenu() {
    ApplyMenuRules(EnsureModel().ContextMenu());
}

void CTrendixCtrl::ApplyMenuRules(CContextMenu& menu) {
    CPlotLook& m = EnsureModel();
    auto rule = [&menu](int command, bool enabled) {
        if (MenuItem* item = menu.Find(command)) item->enabled = enabled;
    };
    rule(ID_ZOOM_IN, true);
    rule(ID_ZOOM_OUT, true);
    rule(ID_SHOW_LEGEND, m.showLegend || !m.runPlotActive);
    if (MenuItem* item = menu.Find(ID_SHOW_LEGEND)) item->checked = m.showLegend != 0;
    rule(ID_PROFILE_VARIABLES, profileVariables_);
    rule(ID_PROFILE_TABLE, profileTable_);
    rule(ID_RESET_FORM, resetEnabled_);
    const bool pasteable = site_.ClipboardHas(CTrendixModule::kControlFormat);
    rule(ID_PASTE, pasteable);
    if (menuWalker_) menuWalker_->SetEnabled(ID_PASTE, pasteable);
    ApplyShapeMenuRules(menu);
}

bool CTrendixCtrl::IsMenuItemEnabled(std::int16_t id) {
    if (id == ID_DELETE_AS_SHORT) // whether a text object of AddText is selected
        return model_ && model_->overlay && Overlay().DeletableText() != nullptr;
    if (!menuWalker_) return false;
    const CPlotMenu::Recorded* r = menuWalker_->Find(id);
    return r && r->enabled;
}

void CTrendixCtrl::AboutBox() {
    site_.MessageBox(std::string(CTrendixModule::kUserTypeName) + "\nVersion " +
                         CTrendixModule::kVersionText +
                         "\nA plotting control for simulation variables.",
                     CTrendixModule::kAboutCaption, ui::OkOnly);
}

// ---------------------------------------------------------------------------------------------
// Commands and the scroll bars

void CTrendixCtrl::OnCommand(int command) {
    CPlotLook& m = EnsureModel();
    switch (command) {
    case ID_REDRAW:
        Repaint();
        return;
    case ID_ZOOM_IN:
    case ID_ZOOM_IN_TIME:
    case ID_ZOOM_IN_X:
        m.ZoomIn(command != ID_ZOOM_IN);
        MarkModified();
        Repaint();
        UpdateScrollState(true);
        scrolled_ = true;
        return;
    case ID_ZOOM_OUT:
    case ID_ZOOM_OUT_TIME:
    case ID_ZOOM_OUT_X: {
        const bool full = m.ZoomOut(command != ID_ZOOM_OUT);
        MarkModified();
        Repaint();
        UpdateScrollState(!full);
        scrolled_ = !full;
        return;
    }
    case ID_ZOOM_FULL:
        m.ZoomFull();
        MarkModified();
        Repaint();
        UpdateScrollState(false);
        scrolled_ = false;
        return;
    case ID_ZOOM_REGION:
        if (!m.ZoomToMarkedRegion()) return; // nothing is marked
        MarkModified();
        Repaint();
        UpdateScrollState(true);
        scrolled_ = true;
        return;
    case ID_DELETE_POINTS: {
        CPlotPaintContext ctx = InputContext();
        if (m.DeletePointsInMarkedRegion(ctx)) Repaint();
        return;
    }
    case ID_SHOW_LEGEND:
        m.SetShowLegend(!m.showLegend);
        SetShowLegendValue(m.showLegend != 0);
        Repaint();
        return;
    case ID_EDIT:
        // The object the menu was opened over, else the selected region.
        if (m.overlay && Overlay().SelectedObject())
            m.editRequested = CPlotLook::kEditObject;
        else if (m.selectedRegion)
            m.editRequested = CPlotLook::kEditRegion;
        else
            return;
        Repaint();
        return;
    case ID_DELETE:
    case ID_DELETE_TEXT:
        DeleteSelectedText(); // only a selected text object of AddText can be deleted
        return;
    case ID_PROFILE_VARIABLES:
        Fire(EV_OnEditProfileVariables);
        return;
    case ID_SHOW_AS_HISTORY:
        Fire(EV_OnOnShowasHistory);
        return;
    case ID_PROFILE_TABLE:
        Fire(EV_OnEditProfileTable);
        return;
    case ID_RESET_FORM:
        Fire(EV_OnResetFormDefinition);
        return;
    case ID_TIME_RANGE:
        Fire(EV_ZoomTimeRange);
        return;
    case ID_TIME_ON_X:
        Fire(EV_RevertToTimePlot);
        return;
    case ID_LIVE_PLOT:
        if (MenuItem* item = m.ContextMenu().Find(ID_LIVE_PLOT)) {
            item->checked = !item->checked;
            Fire(EV_OnLivePlot, {com::Variant::Bool(item->checked)});
        }
        return;
    case ID_OPEN_PLOT_FILE:
        OpenPlotFile();
        return;
    case ID_PROPERTIES:
        ShowPropertyPages();
        return;
    case ID_ADD_TEXT:
        RunAddText();
        return;
    case ID_ADD_TIMESTAMP:
        ApplyTimeStamp(true);
        return;
    case ID_HIDE_VARIABLE:
        RunHideVariables();
        return;
    case ID_COPY:
        Copy();
        return;
    case ID_PASTE:
        PasteFromInput();
        return;
    default:
        ShapeCommand(command);
        return;
    }
}

void CTrendixCtrl::UpdateScrollState(bool zoomed) {
    Fire(EV_Zoomed, {com::Variant::Bool(zoomed)});
    if (!site_.HasWindow() || !model_) return;
    int h0 = 0, h1 = 1000, v0 = 0, v1 = 1000;
    model_->GetScroll(true, h0, h1);
    model_->GetScroll(false, v0, v1);
    const bool partial = h0 != 0 || h1 != 1000 || v0 != 0 || v1 != 1000;
    if (zoomed && partial) {
        if (hScrollShown_ && vScrollShown_) {
            RefreshScrollBars();
            return;
        }
        if (!hScrollShown_) site_.ShowScrollBar(true, hScrollShown_ = true);
        if (!vScrollShown_) site_.ShowScrollBar(false, vScrollShown_ = true);
        model_->layoutDirty = 1;
        RefreshScrollBars();
        Repaint();
    } else if (hScrollShown_ || vScrollShown_) {
        if (hScrollShown_) site_.ShowScrollBar(true, false);
        if (vScrollShown_) site_.ShowScrollBar(false, false);
        hScrollShown_ = vScrollShown_ = false;
        model_->layoutDirty = 1;
        Repaint();
    }
}

void CTrendixCtrl::HideScrollBars() {
    if (hScrollShown_) site_.ShowScrollBar(true, false);
    if (vScrollShown_) site_.ShowScrollBar(false, false);
    hScrollShown_ = vScrollShown_ = false;
}

void CTrendixCtrl::RefreshScrollBars() {
    if (!model_) return;
    int p0 = 0, p1 = 1000;
    if (hScrollShown_) {
        model_->GetScroll(true, p0, p1);
        site_.SetScrollInfo(true, 1000, p0, p1 - p0 + 1);
    }
    if (vScrollShown_) {
        p0 = 0, p1 = 1000;
        model_->GetScroll(false, p0, p1);
        site_.SetScrollInfo(false, 1000, 1000 - p1, p1 - p0 + 1);
    }
}
