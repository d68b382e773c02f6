// The label regions beside the Y axes: rebuilt when the data or the legend change.
#include "model/PlotLook.h"

#include <algorithm>
#include <vector>

void CPlotLook::FillEmptyFirstLabels() {
    CPlotAxisRgn* first = AxisRegion(1);
    if (first && first->label.text.empty()) first->label.text = "     ";
    CPlotVar* v = YVar(0);
    if (v && v->label.text.empty())
        v->label.text =
            (runPlotActive || phasePlotActive) ? "Y label" : (first ? first->label.text : "");
}

CPlotLabelRgn& CPlotLook::AddYLabelRegion(int axisNo, int varNo) {
    CPlotLabelRgn& made = MakeYLabelRegion(axisNo, varNo);
    ListYLabelRegionsFrom(yLabelRegions.size() - 1);
    return made;
}

CPlotLabelRgn& CPlotLook::MakeYLabelRegion(int axisNo, int varNo) {
    auto region = std::make_unique<CPlotLabelRgn>(CPlotRegion::YLabel, axisNo);
    region->varNo = varNo;
    region->font = &fonts[LabelFont];
    region->secondFont = &fonts[LabelSubFont];
    region->hidden = labelsHidden;
    yLabelRegions.push_back(std::move(region));
    return *yLabelRegions.back();
}

// Listed with the other labels, before the axes, in one insertion: a plot of many variables
// makes as many labels, and listing them one at a time would take the square of their number.
void CPlotLook::ListYLabelRegionsFrom(size_t first) {
    auto at = std::find_if(regionList.begin(), regionList.end(), [](const CPlotRegion* r) {
        return r->kind == CPlotRegion::YAxis || r->kind == CPlotRegion::Legend;
    });
    std::vector<CPlotRegion*> made;
    for (size_t i = first; i < yLabelRegions.size(); ++i)
        made.push_back(yLabelRegions[i].get());
    regionList.insert(at, made.begin(), made.end());
}

void CPlotLook::RebuildLabelRegions() {
    if (NYAxes() == 0) return;
    FillEmptyFirstLabels();
    const bool live = runPlotActive || phasePlotActive;
    // 1. One variable with one label region: the region shows the variable or the axis.
    if (!profileMode && NYVars() == 1 && yLabelRegions.size() == 1 && !triMode) {
        CPlotLabelRgn& r = *yLabelRegions[0];
        CPlotVar& v = *yVariables[0];
        r.varNo = live ? 1 : 0;
        r.axisNo = 1;
        const CPlotAxisRgn* axis = AxisRegion(1);
        const bool same = axis && v.label.text == axis->label.text;
        if (!live && !showLegend && !v.hidden && !same) {
            AddYLabelRegion(1, 1);
            v.legendNo = 1;
        }
        return;
    }
    // 2. Triangular plots keep their side labels, numbered by side.
    if (triMode) {
        for (std::size_t i = 0; i < yLabelRegions.size(); ++i)
            yLabelRegions[i]->axisNo = int(i) + 1;
        return;
    }
    // 3. Everything else is made anew.
    DropYLabelRegions();
    for (auto& v : yVariables)
        v->legendNo = 0;
    selectedRegion = nullptr;
    if (!profileMode) {
        bool anyText = false;
        for (auto& v : yVariables)
            anyText = anyText || (!v->hidden && !v->label.text.empty());
        if (live && !anyText) {
            AddYLabelRegion(1, 1).hiddenByContent = 1;
        } else if (!live) {
            for (int k = 1; k <= NYAxes(); ++k) {
                const CPlotAxisRgn* axis = AxisRegion(k);
                if (!axis || axis->hidden || axis->label.text.empty()) continue;
                MakeYLabelRegion(k, NYAxes() > 1 ? -1 : 0).plain = 1;
            }
            ListYLabelRegionsFrom(0);
        }
    }
    // 4. A label per visible variable, unless the legend names them.
    if (showLegend && !profileMode) return;
    const size_t first = yLabelRegions.size();
    for (int i = 0; i < NYVars(); ++i) {
        CPlotVar& v = *yVariables[size_t(i)];
        if (v.hidden || v.label.text.empty()) continue;
        MakeYLabelRegion(v.axisNo, i + 1);
        v.legendNo = int(yLabelRegions.size());
    }
    ListYLabelRegionsFrom(first);
}
