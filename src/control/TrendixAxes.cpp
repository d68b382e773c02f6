#include "control/TrendixCtrl.h"

#include "control/TextTrim.h"

#include <algorithm>

// ---------------------------------------------------------------------------------------------
// Labels, legends, axes and attributes

std::string CTrendixCtrl::GetCurrentValue(std::int16_t objId) const {
    switch (objId) {
    case 0:
        return TrimBlanks(props_.Title);
    case 1:
        return TrimBlanks(props_.xlabel);
    case 2:
        return TrimBlanks(props_.ylabel);
    default:
        return {};
    }
}

void CTrendixCtrl::SetLabel(std::int16_t axisNo, const std::string& label) {
    EnsureModel().SetLabel(axisNo, label);
    MarkModified();
    if (!loading_) Repaint();
}

std::string CTrendixCtrl::GetLabel(std::int16_t axisNo) {
    return EnsureModel().GetLabel(axisNo);
}

void CTrendixCtrl::SetLegend(std::int16_t varNo, const std::string& legend) {
    CPlotLook& m = EnsureModel();
    // A host object's ID names the variable that draws it.
    int target = varNo;
    if (varNo >= CObjectIds::kFirstId && m.overlay)
        if (const CPlotObj* o = Overlay().Find(varNo); o && o->YVariable() >= 0)
            target = o->YVariable() + 1;
    m.SetLegend(target, legend);
    m.legendDirty = m.layoutDirty = 1;
    MarkModified();
    if (!loading_) Repaint();
}

std::string CTrendixCtrl::GetLegend(std::int16_t varNo) {
    return EnsureModel().GetLegend(varNo);
}

void CTrendixCtrl::SetScale(std::int16_t axisNo, std::int16_t scale) {
    CPlotLook& m = EnsureModel();
    if (axisNo < 0 || axisNo > m.NYAxes()) return;
    m.SetScale(axisNo, scale);
}

std::int16_t CTrendixCtrl::GetScale(std::int16_t axisNo) {
    return std::int16_t(EnsureModel().GetScale(axisNo));
}

void CTrendixCtrl::SetInteger(std::int16_t axisNo) {
    EnsureModel().SetInteger(axisNo);
}

void CTrendixCtrl::SetRange(std::int16_t axisNo, double low, double high) {
    if (low == high) return;
    if (EnsureModel().SetRange(axisNo, low, high) && !loading_) Repaint();
}

void CTrendixCtrl::GetRange(std::int16_t axisNo, double& low, double& high) {
    EnsureModel().GetRange(axisNo, low, high);
}

void CTrendixCtrl::SetAxisRange(std::int16_t axisNo, double low, double high) {
    if (low == high) return;
    if (EnsureModel().SetAxisRange(axisNo, low, high)) Repaint();
}

void CTrendixCtrl::GetAxisRange(std::int16_t axisNo, double& low, double& high) {
    EnsureModel().GetAxisRange(axisNo, low, high);
}

void CTrendixCtrl::SetAxisMap(std::int16_t varNo, std::int16_t axisNo) {
    if (props_.Flipped) return;
    CPlotLook& m = EnsureModel();
    if (varNo >= 0) {
        m.SetAxisMap(varNo, axisNo);
        return;
    }
    m.ApplyAxisMap();
    MarkModified();
    Repaint();
}

std::int16_t CTrendixCtrl::GetAxisMap(std::int16_t varNo) {
    return std::int16_t(EnsureModel().GetAxisMap(varNo));
}

void CTrendixCtrl::SetAxisMode(std::int16_t axisNo, std::int16_t index, std::int16_t mode) {
    EnsureModel().SetAxisMode(axisNo, index, mode);
}

void CTrendixCtrl::GetAxisMode(std::int16_t axisNo, std::int16_t index, std::int16_t& mode) {
    mode = std::int16_t(EnsureModel().GetAxisMode(axisNo, index));
}

std::int16_t CTrendixCtrl::GetNYaxes() {
    return std::int16_t(EnsureModel().NYAxes());
}

void CTrendixCtrl::SetAttribute(std::int16_t lineNo, std::int16_t type, std::int16_t marker,
                                std::int16_t color) {
    // Line types and hatches outside their tables draw as the nearest one and markers outside
    // theirs draw nothing, but a colour must be in the table for the curve to be drawn.
    CheckColorIndex(color);
    EnsureModel().SetAttribute(lineNo, type, marker, color);
    MarkModified();
    if (!loading_) Repaint();
}

void CTrendixCtrl::GetAttribute(std::int16_t lineNo, std::int16_t& type, std::int16_t& marker,
                                std::int16_t& color) {
    int t = type, mk = marker, c = color;
    if (EnsureModel().GetAttribute(lineNo, t, mk, c)) {
        type = std::int16_t(t);
        marker = std::int16_t(mk);
        color = std::int16_t(c);
    }
}

void CTrendixCtrl::SetFont(std::int16_t fontId, const std::string& face, std::int16_t size,
                           std::int16_t attrib) {
    if (size < 1) return; // a font needs a size; the old one stays
    EnsureModel().SetFont(fontId, face, size, attrib);
    MarkModified();
    if (!loading_) Repaint();
}

std::string CTrendixCtrl::GetFont(std::int16_t fontId, std::int16_t& size, std::int16_t& attrib) {
    std::string face;
    int s = 0, a = 0;
    if (!EnsureModel().GetFont(fontId, face, s, a)) return {};
    size = std::int16_t(s);
    attrib = std::int16_t(a);
    return face;
}

void CTrendixCtrl::SetMultiplier(std::int16_t axisNo, std::int16_t multiplier) {
    CPlotLook& m = EnsureModel();
    if (axisNo < 0 || axisNo > m.NYAxes()) return;
    if (m.SetMultiplier(axisNo, multiplier)) Repaint();
}

std::int16_t CTrendixCtrl::GetMultiplier(std::int16_t axisNo) {
    CheckAxisIndex(axisNo);
    CPlotAxis* a = EnsureModel().Axis(axisNo);
    return a ? std::int16_t(a->multiplier) : 0;
}

void CTrendixCtrl::SetMultiplierType(std::int16_t axisNo, std::int16_t type) {
    CPlotLook& m = EnsureModel();
    if (axisNo < 0 || axisNo > m.NYAxes()) return;
    if (m.SetMultiplierType(axisNo, type)) Repaint();
}

std::int16_t CTrendixCtrl::GetMultiplierType(std::int16_t axisNo) {
    CheckAxisIndex(axisNo);
    CPlotAxis* a = EnsureModel().Axis(axisNo);
    return a ? std::int16_t(a->multiplierType) : 0;
}

void CTrendixCtrl::SetSubstitutionString(const std::string& text) {
    EnsureModel().substitutionString = text;
}

void CTrendixCtrl::SetSubstitutionValue(std::int16_t varNo, const std::string& text) {
    EnsureModel().SetSubstitutionValue(varNo, text);
    MarkModified();
    if (!loading_) Repaint();
}

void CTrendixCtrl::SetSymbol(const std::string& name, const std::string& value) {
    EnsureModel().SetSymbol(name, value);
}

void CTrendixCtrl::SetLegendBox(std::int16_t location, std::int16_t width, float itemHeight,
                                std::int16_t margin) {
    if (props_.IgnoreSetLegend || !model_) return;
    model_->SetLegendBox(location, width, itemHeight, margin);
}
