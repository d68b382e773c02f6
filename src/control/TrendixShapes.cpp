// The control's side of the user-drawn shapes: the drawing-tool commands, "&Group",
// "&Ungroup", "Lower", "&Fill" and the text shape's "Edit", and the drawing toolbar's colour and
// line type.
#include "control/TrendixCtrl.h"

#include "annot/PlotOverlay.h"
#include "model/MenuTable.h"
#include "pages/PlotTextDlg.h"

bool CTrendixCtrl::ShapeCommand(int command) {
    CPlotShapes& shapes = Overlay().Shapes();
    if (CPlotShapes::IsToolCommand(command)) {
        shapes.PickTool(env_, command);
        Repaint(); // the handles of the shapes that were selected go
        return true;
    }
    switch (command) {
    case ID_GROUP:
        if (shapes.Group(env_)) ObjectsChanged();
        return true;
    case ID_UNGROUP:
        if (shapes.Ungroup(env_)) ObjectsChanged();
        return true;
    case ID_LOWER:
        if (shapes.Lower()) ObjectsChanged();
        return true;
    case ID_FILL:
        if (shapes.ToggleFill()) ObjectsChanged();
        return true;
    case ID_EDIT_SHAPE:
        EditTextShape();
        return true;
    default:
        return false;
    }
}

void CTrendixCtrl::EditTextShape() {
    CPlotText* text = Overlay().Shapes().SelectedText(env_);
    if (!text) return;
    // The dialog shows the size in points at the current view.
    const TextShapeSetting before{text->Text(), text->Face(), text->DevicePoints(env_),
                                  text->Escapement(), text->Style()};
    CPlotTextDlg dialog(before, site_);
    dialog.Activate();
    if (!site_.ShowPropertySheet(CPlotTextDlg::kCaption, {&dialog})) return;
    const TextShapeSetting& after = dialog.Setting();
    if (after == before) return;
    text->SetText(after.text);
    text->SetFace(after.face);
    if (after.points != before.points) text->SetSize(CPlotText::WorldSize(after.points, env_));
    text->SetTurn(after.escapement, after.style);
    text->WorldToDevice(env_);
    ObjectsChanged();
}

void CTrendixCtrl::ApplyShapeMenuRules(CContextMenu& menu) {
    const bool shapes = model_ && model_->overlay;
    if (MenuItem* fill = menu.Find(ID_FILL)) {
        bool enabled = false, checked = false;
        if (shapes) Overlay().Shapes().FillState(enabled, checked);
        fill->enabled = enabled;
        fill->checked = checked;
    }
    if (MenuItem* ungroup = menu.Find(ID_UNGROUP))
        ungroup->enabled = shapes && Overlay().Shapes().CanUngroup();
}

void CTrendixCtrl::ApplyToolbarColor(gdi::ColorRef rgb) {
    CPlotShapes& shapes = Overlay().Shapes();
    shapes.ApplyColor(env_, rgb);
    if (!shapes.Selected().empty()) ObjectsChanged();
}

void CTrendixCtrl::ApplyToolbarLineType(int lineType) {
    CPlotShapes& shapes = Overlay().Shapes();
    shapes.ApplyLineType(env_, lineType);
    if (!shapes.Selected().empty()) ObjectsChanged();
}

void CTrendixCtrl::ToolbarChoice(int& colorIndex, int& lineType) {
    Overlay().Shapes().ToolbarChoice(*env_.tool, colorIndex, lineType);
}

int CTrendixCtrl::CurrentTool() const {
    return env_.tool->CurrentTool();
}

bool CTrendixCtrl::ToolArmed() const {
    return model_ && model_->overlay &&
           static_cast<const CPlotOverlay&>(*model_->overlay).Shapes().ToolArmed();
}
