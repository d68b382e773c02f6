// The control's side of the user-drawn shapes: the drawing-tool commands, "&Group" and
// "&Fill", and the drawing toolbar's colour and line type.
#include "control/TrendixCtrl.h"

#include "annot/PlotOverlay.h"
#include "model/MenuTable.h"

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
    case ID_FILL:
        if (shapes.ToggleFill()) ObjectsChanged();
        return true;
    default:
        return false;
    }
}

void CTrendixCtrl::ApplyShapeMenuRules(CContextMenu& menu) {
    MenuItem* fill = menu.Find(ID_FILL);
    if (!fill) return;
    bool enabled = false, checked = false;
    if (model_ && model_->overlay) Overlay().Shapes().FillState(enabled, checked);
    fill->enabled = enabled;
    fill->checked = checked;
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
