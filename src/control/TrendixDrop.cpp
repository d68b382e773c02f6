// Drag and drop: variable paths and plain text dropped on the plot become events for the host.
#include "control/PlotDropTarget.h"
#include "control/TrendixCtrl.h"

int CTrendixCtrl::OnDragOver(const std::vector<std::string>& offered, int x, int y) {
    const CPlotDropTarget::Take take = CPlotDropTarget::Choose(offered, props_.VariableDrop);
    if (take == CPlotDropTarget::Take::Nothing) return CPlotDropTarget::EffectNone;
    // The region under the pointer is highlighted as the one being edited.
    if (EnsureModel().SelectRegionUnderDrag({x, y})) Repaint();
    return CPlotDropTarget::EffectOf(take);
}

int CTrendixCtrl::OnDrop(const ui::Clipboard& data, int x, int y) {
    const CPlotDropTarget::Take take = CPlotDropTarget::Choose(data.Names(), props_.VariableDrop);
    if (take == CPlotDropTarget::Take::Nothing) return CPlotDropTarget::EffectNone;
    CPlotLook& m = EnsureModel();
    m.SelectRegionUnderDrag({x, y});
    if (take == CPlotDropTarget::Take::VariablePath) {
        const std::string path =
            CPlotDropTarget::VariablePath(data.Data(CPlotDropTarget::kVariablePathFormat));
        const int kind = m.selectedRegion ? m.selectedRegion->kind : -1;
        if (CPlotDropTarget::SetsPhaseVariable(kind, props_.RunPlot || phasePlot_))
            Fire(EV_PhaseVariableDropped, {com::Variant::Str(path)});
        else
            Fire(EV_OnDropText, {com::Variant::Str(path), com::Variant::I2(0)});
    } else {
        const std::string text =
            CPlotDropTarget::DroppedText(data.Data(CPlotDropTarget::kTextFormat));
        const int kind = m.DropText(text);
        Fire(EV_OnDropText, {com::Variant::Str(text), com::Variant::I2(std::int16_t(kind))});
    }
    Repaint();
    return CPlotDropTarget::EffectOf(take);
}
