// The property pages and edit dialogs the control opens over itself.
#include "control/TrendixCtrl.h"

#include "annot/PlotObj.h"
#include "control/TrendixModule.h"
#include "pages/PageCatalog.h"
#include "pages/PlotAxisPropSheet.h"
#include "pages/PlotLabelPropSheet.h"
#include "pages/PlotLegendPropSheet.h"
#include "pages/PlotLineAttribDlg.h"
#include "pages/PlotPolygonAttribDlg.h"

#include <memory>
#include <utility>
#include <vector>

namespace {

constexpr char kPropertiesCaption[] = "Trendix Control Properties";

} // namespace

void CTrendixCtrl::ShowPropertyPages() {
    using namespace PageCatalog;
    // The pages see this control only through its dispatch interface.
    const PlotState state = ReadState(*this, site_.UserMode());
    std::vector<std::unique_ptr<CControlPage>> pages;
    std::vector<ui::IPropertyPage*> shown;
    for (PageId id : ChoosePages(state)) {
        pages.push_back(MakePage(id, *this, site_));
        pages.back()->Activate();
        shown.push_back(pages.back().get());
    }
    site_.ShowPropertySheet(kPropertiesCaption, shown);
}

// ---------------------------------------------------------------------------------------------
// The edit dialogs of the plot's elements

namespace {

// The font slots the edit sheets address (the property pages' FontID).
enum EditFont { kTitleFont = 0, kLabelFont = 1, kAxisFont = 2, kLegendFont = 3 };

// A drawn range in data units, low first (a reciprocal axis holds it inverted).
void DataRange(const CPlotAxis& a, double& low, double& high) {
    low = a.FromPlot(a.plotMin);
    high = a.FromPlot(a.plotMax);
    if (low > high) std::swap(low, high);
}

AxisScaleSetting AxisScaleOf(int axisNo, const CPlotAxis& a) {
    AxisScaleSetting s;
    s.axisNo = axisNo;
    s.scaleType = a.scaleType;
    s.lockGrid = a.fixedInterval != 0;
    s.resetRange = a.resetRange != 0;
    s.descends = a.reversed != 0;
    s.multiplier = a.multiplier;
    DataRange(a, s.low, s.high);
    s.interval = a.interval;
    s.dataLow = a.dataMin;
    s.dataHigh = a.dataMax;
    return s;
}

// The interval a page kept becomes the axis's grid interval.
void TakeInterval(CPlotAxis& a, double interval, bool locked) {
    a.fixedInterval = locked ? 1 : 0;
    if (interval > 0) a.interval = a.intervalCopy = interval;
    a.scaleDirty = 1;
}

} // namespace

void CTrendixCtrl::TakeEditRequest(CPlotLook& m) {
    const int request = std::exchange(m.editRequested, CPlotLook::kEditNone);
    if (request == CPlotLook::kEditNone) return;
    // A modal dialog never opens inside the paint: the site runs it afterwards.
    site_.Post([this, request] { EditSelected(request == CPlotLook::kEditObject); });
}

void CTrendixCtrl::EditSelected(bool object) {
    if (!model_) return;
    CPlotLook& m = *model_;
    if (object) {
        if (CPlotObj* selected = m.overlay ? Overlay().SelectedObject() : nullptr)
            EditPlotObject(*selected);
        return;
    }
    CPlotRegion* region = m.selectedRegion;
    if (!region) return;
    if (auto* axis = dynamic_cast<CPlotAxisRgn*>(region))
        EditAxis(*axis);
    else if (auto* label = dynamic_cast<CPlotLabelRgn*>(region))
        EditLabel(*label);
    else if (region == m.legendRegion.get())
        EditLegend();
    else if (auto* annotation = dynamic_cast<CPlotAnnotation*>(region))
        EditAnnotation(*annotation);
}

FontSetting CTrendixCtrl::FontSlot(int fontId) {
    FontSetting f;
    std::string face;
    if (EnsureModel().GetFont(fontId, face, f.size, f.style)) f.face = face;
    return f;
}

void CTrendixCtrl::SetFontSlot(int fontId, const FontSetting& font) {
    if (font == FontSlot(fontId)) return;
    SetFont(std::int16_t(fontId), font.face, std::int16_t(font.size), std::int16_t(font.style));
}

void CTrendixCtrl::EditAxis(const CPlotAxisRgn& region) {
    CPlotLook& m = EnsureModel();
    AxisSheetSetting setting;
    setting.font = FontSlot(kAxisFont);
    setting.timeAxis = m.runPlotActive && region.axisNo == 0;
    if (setting.timeAxis) {
        const CPlotAxis& a = *region.axis;
        TimeAxisSetting& t = setting.time;
        t.lockGrid = a.fixedInterval != 0;
        t.multiplier = a.multiplier;
        t.multiplierType = a.multiplierType != 0 ? 1 : 0;
        DataRange(a, t.low, t.high);
        t.interval = a.interval;
        t.dataLow = a.dataMin;
        t.dataHigh = a.dataMax;
        t.timeWindow = props_.TimeWindow;
        t.scrollUnit = props_.TimeScrollUnit;
    } else if (region.axisNo > 0 && !props_.MultiYaxis) {
        // One Y axis region stands for the whole Y axis set: the spin walks it.
        for (int k = 1; k <= m.NYAxes(); ++k)
            if (const CPlotAxis* a = m.Axis(k)) setting.axes.push_back(AxisScaleOf(k, *a));
    } else {
        setting.axes.push_back(AxisScaleOf(region.axisNo, *region.axis));
    }
    CPlotAxisPropSheet sheet(setting, site_);
    if (!site_.ShowPropertySheet(CPlotAxisPropSheet::kCaption, sheet.Pages())) return;
    const AxisSheetSetting& chosen = sheet.Setting();
    if (chosen.timeAxis) {
        // The window first, then the range it leaves, then the scroll unit within it.
        const TimeAxisSetting& t = chosen.time;
        CPlotAxis& a = *m.Axis(0);
        TakeInterval(a, t.interval, t.lockGrid);
        m.SetMultiplier(0, t.multiplier);
        m.SetMultiplierType(0, t.multiplierType);
        if (t.windowTaken) SetTimeWindow(float(t.timeWindow));
        if (t.rangeTaken) m.SetAxisRange(0, t.low, t.high);
        if (t.scrollUnit != props_.TimeScrollUnit) SetTimeScrollUnit(float(t.scrollUnit));
    }
    for (const AxisScaleSetting& s : chosen.axes) {
        CPlotAxis* a = m.Axis(s.axisNo);
        if (!a) continue;
        m.SetScale(s.axisNo, s.scaleType);
        m.SetAxisMode(s.axisNo, 0, s.resetRange ? 1 : 0);
        m.SetMultiplier(s.axisNo, s.multiplier);
        TakeInterval(*a, s.interval, s.lockGrid);
        if (s.rangeTaken) m.SetAxisRange(s.axisNo, s.low, s.high);
        a->reversed = s.descends ? 1 : 0;
    }
    SetFontSlot(kAxisFont, chosen.font);
    m.layoutDirty = 1;
    ObjectsChanged();
}

void CTrendixCtrl::EditLabel(CPlotLabelRgn& label) {
    CPlotLook& m = EnsureModel();
    LabelSetting setting;
    setting.title = label.kind == CPlotRegion::Title;
    const int fontId = setting.title ? kTitleFont : kLabelFont;
    setting.text = label.varNo > 0 ? m.GetLegend(label.varNo) : label.label.text;
    for (int k = 1; k <= m.NYVars(); ++k)
        setting.legends.push_back(m.GetLegend(k));
    setting.font = FontSlot(fontId);
    CPlotLabelPropSheet sheet(setting, site_);
    if (!site_.ShowPropertySheet(sheet.Caption(), sheet.Pages())) return;
    const LabelSetting& chosen = sheet.Setting();
    if (chosen.varNo > 0) {
        SetLegend(std::int16_t(chosen.varNo), chosen.legends[std::size_t(chosen.varNo - 1)]);
    } else if (chosen.text != setting.text) {
        switch (label.kind) {
        case CPlotRegion::Title:
            SetTitle(chosen.text);
            break;
        case CPlotRegion::XLabel:
            Setxlabel(chosen.text);
            break;
        case CPlotRegion::YLabel:
            if (label.varNo > 0)
                SetLegend(std::int16_t(label.varNo), chosen.text);
            else if (label.axisNo >= 0)
                SetLabel(std::int16_t(label.axisNo), chosen.text);
            break;
        default: // a corner label keeps its text in its region
            label.label.text = chosen.text;
            break;
        }
    }
    SetFontSlot(fontId, chosen.font);
    m.layoutDirty = 1;
    ObjectsChanged();
}

void CTrendixCtrl::EditLegend() {
    CPlotLook& m = EnsureModel();
    // The visible variables in model order, and the legend of each.
    std::vector<int> shown;
    LegendSetting setting;
    for (int i = 0; i < m.NYVars(); ++i) {
        if (m.YVar(i)->axisNo == 0) continue;
        shown.push_back(i + 1);
        setting.legends.push_back(m.GetLegend(i + 1));
    }
    setting.font = FontSlot(kLegendFont);
    CPlotLegendPropSheet sheet(setting, site_);
    if (!site_.ShowPropertySheet(CPlotLegendPropSheet::kCaption, sheet.Pages())) return;
    const LegendSetting& chosen = sheet.Setting();
    for (std::size_t k = 0; k < shown.size() && k < chosen.legends.size(); ++k)
        if (chosen.legends[k] != setting.legends[k])
            SetLegend(std::int16_t(shown[k]), chosen.legends[k]);
    SetFontSlot(kLegendFont, chosen.font);
    m.legendDirty = m.layoutDirty = 1;
    ObjectsChanged();
}

void CTrendixCtrl::EditPlotObject(CPlotObj& object) {
    CPlotLook& m = EnsureModel();
    if (object.Kind() == CPlotObj::TextKind) {
        if (CPlotAnnotation* a = Overlay().Annotation(object.AnnotationIndex())) EditAnnotation(*a);
        return;
    }
    CPlotVar* v = m.YVar(object.YVariable());
    if (!v) return;
    if (object.Kind() == CPlotObj::PolygonKind) {
        CPlotPolygonAttribDlg dialog({v->color, v->barPattern}, site_);
        dialog.Activate();
        if (!site_.ShowPropertySheet(CPlotPolygonAttribDlg::kCaption, {&dialog})) return;
        const PolygonAttribSetting& chosen = dialog.Setting();
        object.SetAttributes(Overlay(), chosen.color, chosen.hatch, 0, 0, 0, 255);
    } else if (object.Kind() == CPlotObj::LineKind) {
        LineAttribSetting setting;
        setting.color = v->color;
        setting.marker = v->marker;
        setting.lineType = v->lineType;
        setting.markerInterval = v->ownMarkerInterval;
        setting.markerSize = v->ownMarkerSize;
        setting.direction = v->arrowMode;
        // A host line draws its arrow at the end: it has no arrow place to choose.
        CPlotLineAttribDlg dialog(setting, false, site_);
        dialog.Activate();
        if (!site_.ShowPropertySheet(CPlotLineAttribDlg::kCaption, {&dialog})) return;
        const LineAttribSetting& chosen = dialog.Setting();
        // Direction 2 runs towards earlier points: SetAttributes takes it as negative.
        const int direction = chosen.direction == 2 ? -1 : chosen.direction;
        object.SetAttributes(Overlay(), chosen.color, chosen.lineType, chosen.marker,
                             chosen.markerSize, direction, 255);
        v->ownMarkerInterval = chosen.markerInterval;
    } else {
        return;
    }
    m.legendDirty = m.dataDirty = 1;
    ObjectsChanged();
}
