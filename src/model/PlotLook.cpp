#include "model/PlotLook.h"

#include "model/MenuTable.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <set>

namespace {

constexpr int kBarMarkers[6] = {9, 10, 12, 13, 7, 11};

std::string Lower(std::string s) {
    for (char& c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Construction and plot kinds

CPlotLook::CPlotLook(IPlotHost& owner, CPlotEnv* env) : host(owner), environment(env) {
    for (int resource : MenuResourceList())
        menus.push_back(LoadMenuResource(resource));
    BuildKind();
    symbolList = {{"DATE", ""}, {"TIME", ""}};
    SetPlotKind(host.PlotType());
    if (host.RunPlot()) SetRunPlot(true);
    SetNVariables(host.NVariables());
}

CPlotLook::~CPlotLook() = default;

bool CPlotLook::SetPlotKind(int t) {
    const bool unchanged = (t == 0 && !triMode && !barMode) || (t == 1 && barMode) ||
                           (t == 2 && triMode == 1) || (t == 3 && triMode == 2);
    if (unchanged) return false;
    if ((t == 2 || t == 3) && triMode != 0) {
        SwitchTriangularOrientation(t);
        return true;
    }
    Rebuild(t);
    return true;
}

void CPlotLook::SwitchTriangularOrientation(int t) {
    triMode = t - 1;
    xAxisRegion->SetOrientation(triMode);
    for (auto& r : yAxisRegions)
        if (r) r->SetOrientation(triMode);
    if (yAxisRegions.size() >= 2 && yAxisRegions[0] && yAxisRegions[1])
        std::swap(yAxisRegions[0]->axis, yAxisRegions[1]->axis);
    drawingRegion->SetOrientation(triMode);
    for (auto& r : yLabelRegions)
        if (auto* tri = dynamic_cast<CPlotTriLabelRgn*>(r.get())) tri->triKind = triMode;
    for (auto& c : cornerLabelRegions)
        if (c) c->hidden = labelsHidden || triMode == 1;
    xLabelRegion->hidden = labelsHidden || triMode == 2;
    for (auto& r : yLabelRegions)
        r->hidden = labelsHidden || triMode == 2;
    drawingRegion->ClearCache();
    selectedRegion = nullptr;
    layoutDirty = 1;
    host.RefreshScrollBars();
}

void CPlotLook::ClearKind() {
    runPlotActive = phasePlotActive = parametric = profileMode = 0;
    triMode = barMode = flipped = squarePlot = diagonalLine = zeroLine = 0;
}

void CPlotLook::Rebuild(int t) {
    ClearKind();
    ClearContents();
    if (t == 1) barMode = 1;
    if (t == 2 || t == 3) triMode = t - 1;
    BuildKind();
}

// Fonts, regions and one X and one Y variable for the kind the flags name.
void CPlotLook::BuildKind() {
    ResetFonts();
    CreateRegions();
    AttachFonts();
    xVariables.push_back(NewVariable(true));
    yVariables.push_back(NewVariable(false));
    ApplyFirstVariableDefaults(*yVariables[0], 0);
    layoutDirty = 1;
}

// Everything that depends on the kind goes: objects first (the edit log records it), then the
// regions and variables.
void CPlotLook::ClearContents() {
    host.WriteLog("CLEANUP\r\n");
    overlay.reset();
    selectedRegion = nullptr;
    regionList.clear();
    xVariables.clear();
    drawingRegion.reset();
    titleRegion.reset();
    xAxisRegion.reset();
    xLabelRegion.reset();
    legendRegion.reset();
    yVariables.clear();
    yAxisRegions.clear();
    yLabelRegions.clear();
    for (auto& c : cornerLabelRegions)
        c.reset();
}

void CPlotLook::CreateRegions() {
    if (triMode)
        drawingRegion = std::make_unique<CPlotTriDrawingRgn>(triMode);
    else if (barMode)
        drawingRegion = std::make_unique<CPlotBarDrawingRgn>();
    else
        drawingRegion = std::make_unique<CPlotDrawingRgn>();
    titleRegion = std::make_unique<CPlotTitleRgn>();
    titleRegion->label.text = host.Title();
    xAxisRegion = std::make_unique<CPlotAxisRgn>(0, triMode);
    xAxisRegion->label.text = "X label";
    xAxisRegion->hidden = axesHidden;
    xLabelRegion = std::make_unique<CPlotLabelRgn>(CPlotRegion::XLabel, 0);
    xLabelRegion->label.text = "X label";
    xLabelRegion->hidden = labelsHidden;

    const int yCount = triMode ? 2 : 1;
    for (int i = 0; i < yCount; ++i) {
        std::unique_ptr<CPlotAxisRgn> axis;
        std::unique_ptr<CPlotLabelRgn> label;
        if (triMode) {
            axis = std::make_unique<CPlotTriAxisRgn>(i + 1, triMode);
            label = std::make_unique<CPlotTriLabelRgn>(i + 1, triMode);
        } else {
            axis = std::make_unique<CPlotAxisRgn>(i + 1, 0);
            label = std::make_unique<CPlotLabelRgn>(CPlotRegion::YLabel, 1);
            axis->label.text = "Y label";
            label->label.text = "Y label";
        }
        axis->hidden = axesHidden;
        label->hidden = labelsHidden;
        yAxisRegions.push_back(std::move(axis));
        yLabelRegions.push_back(std::move(label));
    }
    legendRegion = std::make_unique<CPlotLegendRgn>();

    regionList = {drawingRegion.get(), titleRegion.get(), xAxisRegion.get(), xLabelRegion.get()};
    for (auto& r : yLabelRegions)
        regionList.push_back(r.get());
    for (auto& r : yAxisRegions)
        regionList.push_back(r.get());
    regionList.push_back(legendRegion.get());
}

void CPlotLook::AttachFonts() {
    titleRegion->font = &fonts[TitleFont];
    xLabelRegion->font = &fonts[LabelFont];
    xLabelRegion->secondFont = &fonts[LabelSubFont];
    for (auto& r : yLabelRegions) {
        r->font = &fonts[LabelFont];
        r->secondFont = &fonts[LabelSubFont];
    }
    xAxisRegion->font = &fonts[AxisFont];
    for (auto& r : yAxisRegions)
        if (r) r->font = &fonts[AxisFont];
    legendRegion->font = &fonts[LegendFont];
    legendRegion->secondFont = &fonts[LegendSubFont];
}

void CPlotLook::ResetFonts() {
    const std::string face = "Times New Roman";
    fonts[TitleFont] = CPlotFont(face, 12, CPlotFont::Bold);
    fonts[LabelFont] = CPlotFont(face, 10, CPlotFont::Bold);
    fonts[LabelSubFont] = CPlotFont(face, 8, CPlotFont::Bold);
    fonts[AxisFont] = CPlotFont(face, 10, 0);
    fonts[LegendFont] = CPlotFont(face, 10, 0);
    fonts[LegendSubFont] = CPlotFont(face, 8, 0);
    fonts[DrawingFont] = CPlotFont(face, 10, 0);
    for (int slot = 0; slot < FontSlotCount; ++slot)
        fonts[size_t(slot)].usage = slot;
    const int placement = triMode ? 5 : 2;
    fonts[LabelFont].placement = fonts[LabelSubFont].placement = placement;
    fonts[AxisFont].placement = placement;
}

std::int64_t CPlotLook::SamplesHeld() const {
    std::int64_t n = 0;
    for (const auto& v : xVariables)
        n += std::int64_t(v->values.size());
    for (const auto& v : yVariables)
        n += std::int64_t(v->values.size());
    return n;
}

std::unique_ptr<CPlotVar> CPlotLook::NewVariable(bool independent) const {
    auto v = std::make_unique<CPlotVar>(independent);
    if (runPlotActive || phasePlotActive)
        v->MakeRing(std::uint32_t(std::max(host.BufferSize(), 1)));
    else
        v->Resize(std::uint32_t(std::max(host.NPoints(), 0)));
    return v;
}

void CPlotLook::ApplyFirstVariableDefaults(CPlotVar& v, int i) const {
    v.color = i % 6 + 1;
    v.lineType = 4;
    v.marker = barMode ? kBarMarkers[i % 6] : i % 10 + 1;
    v.axisNo = 1;
    v.legendNo = i + 1;
}

// ---------------------------------------------------------------------------------------------
// Modes

void CPlotLook::MakeRings() {
    const auto n = std::uint32_t(std::max(host.BufferSize(), 1));
    for (auto& v : xVariables)
        v->MakeRing(n);
    for (auto& v : yVariables)
        v->MakeRing(n);
}

void CPlotLook::SetRunPlot(bool on) {
    SwitchRunMode(on);
    if (on && phasePlotActive) SetPhasePlot(false);
}

void CPlotLook::SwitchRunMode(bool on) {
    CContextMenu& menu = ContextMenu();
    if (on) {
        runPlotActive = 1;
        displayType = 0;
        host.SetDisplayTypeValue(0);
        markerInterval = 10;
        host.SetMarkerIntervalValue(10);
        xAxisRegion->axis->timeAxis = 1;
        MakeRings();
        host.SetTimeScrollUnitValue(host.TimeWindow() * 0.2f);
        if (!menu.Contains(ID_ZOOM_IN_TIME)) menu.InsertAt(4, RunTimeMenuItem(ID_ZOOM_IN_TIME));
        if (!menu.Contains(ID_ZOOM_OUT_TIME)) menu.InsertAt(5, RunTimeMenuItem(ID_ZOOM_OUT_TIME));
        menu.Remove(ID_SHOW_LEGEND);
        if (!menu.Contains(ID_SHOW_AS_HISTORY))
            menu.InsertAt(menu.size() >= 2 ? menu.size() - 2 : 0,
                          RunTimeMenuItem(ID_SHOW_AS_HISTORY));
        // A time plot starts by showing one time window.
        ApplyTimeWindow();
    } else {
        runPlotActive = 0;
        markerInterval = 1;
        host.SetMarkerIntervalValue(1);
        menu.Remove(ID_ZOOM_IN_TIME);
        menu.Remove(ID_ZOOM_OUT_TIME);
    }
}

void CPlotLook::SetPhasePlot(bool on) {
    SwitchPhaseMode(on);
    if (on && runPlotActive) {
        host.SetRunPlotValue(false);
        SetRunPlot(false);
    } else if (!on && !host.RunPlot()) {
        host.SetRunPlotValue(true);
        SetRunPlot(true);
    }
}

void CPlotLook::SwitchPhaseMode(bool on) {
    CContextMenu& menu = ContextMenu();
    static constexpr int kPhaseItems[] = {ID_TIME_RANGE, ID_TIME_ON_X, ID_ZOOM_IN_X, ID_ZOOM_OUT_X};
    if (on) {
        phasePlotActive = 1;
        displayType = 0;
        host.SetDisplayTypeValue(0);
        xAxisRegion->axis->timeAxis = 0;
        MakeRings();
        for (size_t k = 0; k < 4; ++k)
            if (!menu.Contains(kPhaseItems[k]))
                menu.InsertAt(4 + k, RunTimeMenuItem(kPhaseItems[k]));
        if (!menu.Contains(ID_SHOW_AS_HISTORY))
            menu.InsertAt(menu.size() >= 2 ? menu.size() - 2 : 0,
                          RunTimeMenuItem(ID_SHOW_AS_HISTORY));
    } else {
        phasePlotActive = 0;
        for (int id : kPhaseItems)
            menu.Remove(id);
    }
}

void CPlotLook::ApplyTimeWindow() {
    CPlotAxis& axis = *xAxisRegion->axis;
    const double window = host.TimeWindow();
    double start = axis.plotMin;
    if (start != 0) start = axis.plotMax - window;
    if (start < 0) start = 0;
    const double end = start + window;
    axis.fullMin = axis.reqMin = axis.viewMin = axis.plotMin = start;
    axis.fullMax = axis.reqMax = axis.viewMax = axis.plotMax = end;
    double lo = 0, hi = 0;
    if (!xVariables.empty() && xVariables[0]->Range(lo, hi)) {
        axis.dataMin = lo;
        axis.dataMax = hi;
    } else {
        axis.dataMin = axis.dataMax = 0;
    }
    axis.scaleDirty = 1;
}

void CPlotLook::SetBufferSize() {
    if (runPlotActive || phasePlotActive) MakeRings();
}

void CPlotLook::SetNPoints(int n) {
    if (runPlotActive || phasePlotActive) return;
    if (xVariables.empty()) xVariables.push_back(NewVariable(true));
    const auto size = std::uint32_t(std::max(n, 0));
    for (auto& v : xVariables)
        v->Resize(size);
    for (auto& v : yVariables)
        v->Resize(size);
}

bool CPlotLook::SetNVariables(int n) {
    if (n <= 0) n = 1;
    const int count = NYVars();
    if (n == count) return false;
    if (n < count) {
        legendDirty = 1;
        RemoveYVariablesFrom(n);
    } else {
        for (int i = count; i < n; ++i) {
            auto v = NewVariable(false);
            ApplyFirstVariableDefaults(*v, i);
            yVariables.push_back(std::move(v));
            if (int(yLabelRegions.size()) < i + 1) SetLabel(i + 1, "Var. " + std::to_string(i + 1));
        }
        AssignXVariables(host.NXVariables());
    }
    if (showLegend) legendRegion->sized = 0;
    layoutDirty = 1;
    return true;
}

void CPlotLook::AssignXVariables(int bound) {
    if (bound < 1) bound = 1;
    int j = 0;
    for (auto& v : yVariables) {
        if (v->xVarNo == 0) {
            v->xVarNo = j + 1;
            if (j < bound - 1) ++j;
        } else if (v->xVarNo < bound) {
            j = v->xVarNo;
        }
    }
}

// Removes the variables from position n on. An axis that only removed variables used goes
// with them and the axes above it move down; the same result as removing the variable at n
// again and again, in one pass.
void CPlotLook::RemoveYVariablesFrom(int n) {
    std::set<int> removedAxes, keptAxes;
    for (int i = 0; i < NYVars(); ++i)
        (i < n ? keptAxes : removedAxes).insert(yVariables[size_t(i)]->axisNo);
    yVariables.resize(size_t(n));
    if (triMode) return; // the two sides of a triangle stay
    std::vector<int> gone;
    for (auto a = removedAxes.rbegin(); a != removedAxes.rend(); ++a) {
        if (*a < 1 || *a > NYAxes() || keptAxes.count(*a) || NYAxes() <= 1) continue;
        DeleteYAxisRegion(*a - 1);
        gone.push_back(*a);
    }
    if (gone.empty()) return;
    std::sort(gone.begin(), gone.end());
    auto lowered = [&gone](int a) {
        return a - int(std::lower_bound(gone.begin(), gone.end(), a) - gone.begin());
    };
    for (auto& v : yVariables)
        v->axisNo = lowered(v->axisNo);
    for (auto& r : yAxisRegions)
        if (r) r->axisNo = lowered(r->axisNo);
}

void CPlotLook::SetNXVariables(int n) {
    if (n <= 0) n = 1;
    if (n < NXVars()) {
        xVariables.resize(size_t(n));
    } else {
        while (NXVars() < n)
            xVariables.push_back(NewVariable(true));
        AssignXVariables(n);
    }
}

void CPlotLook::SetFlipped(bool on) {
    flipped = on;
    for (auto& v : yVariables)
        v->axisNo = 1, v->hidden = 0;
    CompactAxes();
    layoutDirty = dataDirty = 1;
}

bool CPlotLook::SetSquarePlot(bool on) {
    if (!on && diagonalLine) on = true;
    squarePlot = on;
    layoutDirty = 1;
    return on;
}

void CPlotLook::SetDiagonalLine(bool on) {
    const bool wasOn = diagonalLine;
    diagonalLine = on;
    if (on) {
        squarePlot = 1;
        host.SetSquarePlotValue(true);
    }
    for (auto& v : yVariables)
        v->axisNo = 1, v->hidden = 0;
    CompactAxes();
    dataDirty = layoutDirty = 1;
    if (wasOn && !on) rangeDirty = 1;
}

void CPlotLook::SetParametric(bool on, bool showLegendAssigned) {
    parametric = on;
    if (on && !showLegendAssigned) {
        host.SetShowLegendValue(true);
        SetShowLegend(true);
    }
}

void CPlotLook::SetShowLegend(bool on) {
    showLegend = on;
    legendRegion->shown = on;
    legendRegion->sized = 0;
    legendDirty = layoutDirty = 1;
}

void CPlotLook::SetReverseXAxis(bool on) {
    xAxisRegion->axis->reversed = on;
}

void CPlotLook::Rotate(int direction) {
    layoutDirty = 1;
    // A triangle turns its objects' fractions round a corner (the plot's own variables may
    // share an X variable, which no per-curve turn could keep consistent).
    if (triMode) {
        if (overlay) overlay->Rotate(direction);
        dataDirty = rangeDirty = 1;
        return;
    }
    // Quarter turns: an odd number of them puts the X axis upright.
    flipped = (flipped + (direction & 1)) & 1;
}

// ---------------------------------------------------------------------------------------------
// Variables and axes

CPlotVar* CPlotLook::YVar(int i) {
    return i >= 0 && i < NYVars() ? yVariables[size_t(i)].get() : nullptr;
}

CPlotVar* CPlotLook::XVar(int i) {
    return i >= 0 && i < NXVars() ? xVariables[size_t(i)].get() : nullptr;
}

CPlotAxisRgn* CPlotLook::AxisRegion(int axisNo) {
    if (axisNo == 0) return xAxisRegion.get();
    if (axisNo < 0 || axisNo > NYAxes()) return nullptr;
    return yAxisRegions[size_t(axisNo - 1)].get();
}

CPlotAxis* CPlotLook::Axis(int axisNo) {
    CPlotAxisRgn* r = AxisRegion(axisNo);
    return r ? r->axis.get() : nullptr;
}

CPlotAxisRgn* CPlotLook::AxisByRole(int role) {
    if (triMode && role >= 1) return AxisRegion(role);
    if (role == 0) return flipped ? AxisRegion(1) : xAxisRegion.get();
    if (role == 1) return flipped ? xAxisRegion.get() : AxisRegion(1);
    return AxisRegion(NYAxes());
}

CPlotAxisRgn* CPlotLook::CreateYAxisRegion(int axisNo) {
    if (int(yAxisRegions.size()) < axisNo) yAxisRegions.resize(size_t(axisNo));
    auto region = std::make_unique<CPlotAxisRgn>(axisNo, triMode);
    region->hidden = axesHidden;
    region->font = &fonts[AxisFont];
    CPlotAxisRgn* raw = region.get();
    yAxisRegions[size_t(axisNo - 1)] = std::move(region);
    auto at = std::find_if(regionList.begin(), regionList.end(),
                           [](const CPlotRegion* r) { return r->kind < 6; });
    regionList.insert(at, raw);
    return raw;
}

void CPlotLook::UnlistRegion(const CPlotRegion* region) {
    std::erase(regionList, region);
    if (selectedRegion == region) selectedRegion = nullptr;
}

void CPlotLook::DropYLabelRegions() {
    // A plot of thousands of variables has as many labels: unlisting them one by one would
    // take time growing with the square of their number.
    std::set<const CPlotRegion*> labels;
    for (const auto& r : yLabelRegions)
        labels.insert(r.get());
    std::erase_if(regionList, [&](const CPlotRegion* r) { return labels.contains(r); });
    if (labels.contains(selectedRegion)) selectedRegion = nullptr;
    yLabelRegions.clear();
}

void CPlotLook::DeleteYAxisRegion(int position) {
    UnlistRegion(yAxisRegions[size_t(position)].get());
    yAxisRegions.erase(yAxisRegions.begin() + position);
}

void CPlotLook::SetAxisMap(int varNo0, int axisNo) {
    if (flipped || axisNo < 0) return;
    CPlotVar* v = YVar(varNo0);
    if (!v) return;
    v->axisNo = axisNo;
    v->hidden = axisNo == 0;
    if (v->legendNo >= 1 && v->legendNo <= int(yLabelRegions.size())) {
        CPlotLabelRgn& label = *yLabelRegions[size_t(v->legendNo - 1)];
        label.hidden = v->hidden || labelsHidden;
        label.axisNo = axisNo;
    }
    if (axisNo >= 1 && !triMode && !AxisRegion(axisNo)) CreateYAxisRegion(axisNo);
    axisMapDirty = 1;
}

void CPlotLook::ApplyAxisMap() {
    if (flipped) return;
    CompactAxes();
    dataDirty = layoutDirty = 1;
    if (showLegend) legendRegion->sized = 0;
}

int CPlotLook::GetAxisMap(int varNo0) const {
    return varNo0 >= 0 && varNo0 < NYVars() ? yVariables[size_t(varNo0)]->axisNo : 0;
}

void CPlotLook::CompactAxes() {
    if (triMode) return;
    axisMapDirty = 0;
    int m = 0;
    for (auto& v : yVariables)
        m = std::max(m, v->axisNo);
    int unused = 0;
    for (int k = 1; k <= m; ++k) {
        bool seen = false;
        for (auto& v : yVariables)
            if (v->axisNo == k) {
                seen = true;
                v->axisNo = k - unused;
            }
        if (!seen) ++unused;
    }
    // Hidden variables keep axis 0: with no variable on any axis, one empty axis remains.
    m = (m == 0 || unused == m) ? 1 : m - unused;
    while (NYAxes() > m)
        DeleteYAxisRegion(NYAxes() - 1);
    for (int k = 1; k <= m; ++k)
        if (!AxisRegion(k)) CreateYAxisRegion(k);
    for (int k = 1; k <= m; ++k)
        yAxisRegions[size_t(k - 1)]->axisNo = k;
    MarkEmptyAxes();
}

void CPlotLook::MarkEmptyAxes() {
    bool any = false;
    for (auto& r : yAxisRegions) {
        if (!r) continue;
        r->empty = true;
        for (auto& v : yVariables) {
            double lo, hi;
            if (v->axisNo == r->axisNo && !v->hidden && v->Range(lo, hi)) {
                r->empty = false;
                any = true;
                break;
            }
        }
    }
    if (!any && !yAxisRegions.empty() && yAxisRegions[0]) yAxisRegions[0]->empty = false;
}

void CPlotLook::SetXVariable(int yVarNo, int xVarNo) {
    if (CPlotVar* v = YVar(yVarNo - 1)) v->xVarNo = xVarNo;
}

int CPlotLook::GetXVariable(int yVarNo) const {
    if (yVarNo < 1 || yVarNo > NYVars()) return 0;
    const int x = yVariables[size_t(yVarNo - 1)]->xVarNo;
    return x == 0 ? 1 : x;
}

// ---------------------------------------------------------------------------------------------
// Labels and legends

void CPlotLook::SetTitle(const std::string& text) {
    titleRegion->label.text = text;
    layoutDirty = 1;
}

void CPlotLook::SetAxisLabelText(int axisNo, const std::string& text) {
    if (CPlotAxisRgn* axis = AxisRegion(axisNo)) axis->label.text = text;
    if (axisNo == 0) xLabelRegion->label.text = text;
    if (axisNo >= 1 && axisNo <= int(yLabelRegions.size()))
        yLabelRegions[size_t(axisNo - 1)]->label.text = text;
    layoutDirty = 1;
}

void CPlotLook::SetLabel(int axisNo, const std::string& text) {
    if (axisNo == 0) {
        const std::string shown = text.empty() ? std::string(6, ' ') : text;
        xAxisRegion->label.text = shown;
        xLabelRegion->label.text = shown;
    } else if (axisNo > 0) {
        if (LabelsBelongToVariables()) {
            if (CPlotVar* v = YVar(axisNo - 1)) v->SetLegend(text);
        } else if (CPlotAxisRgn* axis = AxisRegion(axisNo)) {
            axis->label.text = text;
            if (axisNo <= int(yLabelRegions.size()))
                yLabelRegions[size_t(axisNo - 1)]->label.text = text;
        }
    } else if (axisNo >= -3) {
        auto& corner = cornerLabelRegions[size_t(-axisNo - 1)];
        if (text.empty()) {
            if (corner) UnlistRegion(corner.get());
            corner.reset();
        } else {
            if (!corner) {
                corner = std::make_unique<CPlotCornerRgn>();
                corner->font = &fonts[LabelFont];
                corner->secondFont = &fonts[LabelSubFont];
                corner->hidden = labelsHidden || triMode == 1;
                auto at = std::find(regionList.begin(), regionList.end(), legendRegion.get());
                regionList.insert(at, corner.get());
            }
            corner->label.text = text;
        }
    } else {
        return;
    }
    legendDirty = layoutDirty = 1;
}

std::string CPlotLook::GetLabel(int axisNo) const {
    auto& self = const_cast<CPlotLook&>(*this);
    if (axisNo == 0) return xAxisRegion->label.text;
    if (axisNo > 0) {
        if (profileMode) {
            const CPlotVar* v = self.YVar(axisNo - 1);
            return v ? v->Legend() : std::string();
        }
        const CPlotAxisRgn* axis = self.AxisRegion(axisNo);
        return axis ? axis->label.text : std::string();
    }
    if (axisNo >= -3 && cornerLabelRegions[size_t(-axisNo - 1)])
        return cornerLabelRegions[size_t(-axisNo - 1)]->label.text;
    return {};
}

void CPlotLook::SetLegend(int varNo, const std::string& text) {
    CPlotVar* v = YVar(varNo - 1);
    if (!v) return;
    std::string legend = text;
    if (legend.size() > 3) {
        const size_t dot = legend.find('.');
        if (dot != std::string::npos && dot > 0 && dot + 1 < legend.size() &&
            std::isdigit(static_cast<unsigned char>(legend[dot - 1])) &&
            std::isdigit(static_cast<unsigned char>(legend[dot + 1])))
            legend[dot] = host.DecimalSeparator();
    }
    v->SetLegend(legend);
    legendRegion->sized = 0;
    if (showLegend) layoutDirty = 1;
}

std::string CPlotLook::GetLegend(int varNo) const {
    const CPlotVar* v = const_cast<CPlotLook&>(*this).YVar(varNo - 1);
    return v ? v->Legend() : std::string();
}

void CPlotLook::ResetVariableLabel() {
    if (runPlotActive) {
        if (CPlotVar* v = YVar(0)) v->SetLegend("");
    } else {
        SetLabel(1, "");
    }
}

void CPlotLook::FillDefaultLabels() {
    for (auto& v : yVariables)
        if (v->Legend().empty()) v->SetLegend(v->name);
    legendRegion->sized = 0;
    dataDirty = rangeDirty = 1;
}

// ---------------------------------------------------------------------------------------------
// Ranges, scales, fonts and attributes

bool CPlotLook::SetRange(int axisNo, double lo, double hi) {
    if (lo == hi || !(lo == lo) || !(hi == hi)) return false;
    if (lo > hi) std::swap(lo, hi);
    if (axisNo < 0 || axisNo > NYAxes()) return false;
    if (axisNo == 0) {
        xAxisRegion->axis->SetDataRange(lo, hi, false);
        if (triMode)
            for (int k = 1; k <= 2; ++k)
                if (CPlotAxis* a = Axis(k)) a->SetDataRange(lo, hi, false);
        return true;
    }
    CPlotAxis* a = Axis(axisNo);
    if (!a) return false;
    a->SetDataRange(lo, hi, false);
    a->rangeSet = 1;
    return true;
}

bool CPlotLook::SetAxisRange(int axisNo, double lo, double hi) {
    if (lo == hi || !(lo == lo) || !(hi == hi)) return false;
    if (lo > hi) std::swap(lo, hi);
    CPlotAxis* a = Axis(axisNo);
    if (!a) return false;
    a->SetViewRange(lo, hi);
    if (squarePlot && diagonalLine && (axisNo == 0 || axisNo == 1))
        if (CPlotAxis* partner = Axis(axisNo == 0 ? 1 : 0)) partner->SetViewRange(lo, hi);
    axisRangeDirty = 1;
    return true;
}

bool CPlotLook::GetRange(int axisNo, double& lo, double& hi) {
    CPlotAxis* a = Axis(axisNo);
    if (!a) return false;
    lo = a->dataMin;
    hi = a->dataMax;
    return true;
}

bool CPlotLook::GetAxisRange(int axisNo, double& lo, double& hi) {
    CPlotAxisRgn* r = AxisRegion(axisNo);
    if (!r) return false;
    // The drawn scale as it stands: it is recomputed when the axis is next laid out or drawn.
    lo = r->axis->plotMin;
    hi = r->axis->plotMax;
    return true;
}

void CPlotLook::SetScale(int axisNo, int scale) {
    if (scale < 0 || scale > 3) return; // no such transform
    if (CPlotAxis* a = Axis(axisNo)) {
        a->scaleType = scale;
        a->scaleDirty = 1;
    }
}

int CPlotLook::GetScale(int axisNo) {
    CPlotAxis* a = Axis(axisNo);
    return a ? a->scaleType : 0;
}

void CPlotLook::SetInteger(int axisNo) {
    if (CPlotAxis* a = Axis(axisNo)) {
        a->integerAxis = 1;
        a->scaleDirty = 1;
    }
}

void CPlotLook::SetAxisMode(int axisNo, int index, int mode) {
    if (CPlotAxis* a = Axis(axisNo))
        if (index == 0) a->resetRange = mode;
}

int CPlotLook::GetAxisMode(int axisNo, int index) {
    CPlotAxis* a = Axis(axisNo);
    return a && index == 0 ? a->resetRange : 0;
}

bool CPlotLook::SetFont(int fontId, const std::string& face, int size, int style) {
    switch (fontId) {
    case 0:
        fonts[TitleFont].Set(face, size, style);
        break;
    case 1:
        fonts[LabelFont].Set(face, size, style);
        fonts[LabelSubFont].Set(face, size * 3 / 4, style);
        break;
    case 2:
        fonts[AxisFont].Set(face, size, style);
        break;
    case 3:
        fonts[LegendFont].Set(face, size, style);
        fonts[LegendSubFont].Set(face, size * 3 / 4, style);
        legendRegion->sized = 0;
        break;
    case 4:
        fonts[DrawingFont].Set(face, size, style);
        break;
    default:
        return false;
    }
    layoutDirty = 1;
    return true;
}

bool CPlotLook::GetFont(int fontId, std::string& face, int& size, int& style) const {
    static constexpr FontSlot kSlots[] = {TitleFont, LabelFont, AxisFont, LegendFont, DrawingFont};
    if (fontId < 0 || fontId > 4) return false;
    const CPlotFont& f = fonts[kSlots[fontId]];
    face = f.face;
    size = f.size;
    style = f.style;
    return true;
}

void CPlotLook::SetAttribute(int lineNo, int type, int marker, int color) {
    CPlotVar* v = YVar(lineNo);
    if (!v) return; // host objects bound to variables answer here once they exist
    v->color = color;
    (v->polygon ? v->barPattern : v->marker) = marker;
    (barMode ? v->barPattern : v->lineType) = type;
    legendRegion->sized = 0;
}

bool CPlotLook::GetAttribute(int lineNo, int& type, int& marker, int& color) const {
    const CPlotVar* v = const_cast<CPlotLook&>(*this).YVar(lineNo);
    if (!v) return false;
    color = v->color;
    marker = v->marker;
    type = barMode ? v->barPattern : v->lineType;
    return true;
}

void CPlotLook::DeleteVariable(int varNo0) {
    if (CPlotVar* v = YVar(varNo0)) v->Reset();
}

void CPlotLook::MoveVariable(int source0, int target0) {
    CPlotVar* source = YVar(source0);
    CPlotVar* target = YVar(target0);
    if (!source || !target || source == target) return;
    std::swap(source->axisNo, target->axisNo);
    std::swap(yVariables[size_t(source0)], yVariables[size_t(target0)]);
    yVariables[size_t(source0)]->Reset();
}

void CPlotLook::SwapYVariables(int a0, int b0) {
    if (YVar(a0) && YVar(b0)) std::swap(yVariables[size_t(a0)], yVariables[size_t(b0)]);
}

// ---------------------------------------------------------------------------------------------
// Symbols, substitution values, multipliers and the legend box

void CPlotLook::SetSymbol(const std::string& name, const std::string& value) {
    for (CPlotSymbol& s : symbolList) {
        if (Lower(s.name) == Lower(name)) {
            s.value = value;
            return;
        }
    }
    symbolList.push_back({name, value});
}

const CPlotSymbol* CPlotLook::FindSymbol(const std::string& name) const {
    for (const CPlotSymbol& s : symbolList)
        if (Lower(s.name) == Lower(name)) return &s;
    return nullptr;
}

void CPlotLook::SetSubstitutionValue(int varNo, const std::string& text) {
    if (varNo == 0) {
        xAxisRegion->label.substitution = text;
    } else if (CPlotVar* v = YVar(varNo - 1)) {
        v->label.substitution = text;
        if (CPlotAxisRgn* axis = v->axisNo >= 1 ? AxisRegion(v->axisNo) : nullptr)
            axis->label.substitution = text;
    } else {
        return;
    }
    legendDirty = layoutDirty = 1;
}

bool CPlotLook::SetMultiplier(int axisNo, int value) {
    CPlotAxis* a = Axis(axisNo);
    if (!a || a->multiplier == value) return false;
    a->multiplier = value;
    if (showLegend) legendRegion->sized = 0, layoutDirty = 1;
    return true;
}

bool CPlotLook::SetMultiplierType(int axisNo, int value) {
    CPlotAxis* a = Axis(axisNo);
    if (!a || a->multiplierType == value) return false;
    a->multiplierType = value;
    if (showLegend) legendRegion->sized = 0, layoutDirty = 1;
    return true;
}

void CPlotLook::SetLegendBox(int location, int width, float itemHeight, int margin) {
    legendRegion->SetBox(width, itemHeight, margin);
    if (location == 1) legendPlacementRequest = 1;
}

CContextMenu* CPlotLook::Menu(int resource) {
    for (CContextMenu& m : menus)
        if (m.resource == resource) return &m;
    return nullptr;
}
