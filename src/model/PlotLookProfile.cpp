// Loading a profile record into the plot (input files and PlotVals).
#include "model/PlotLook.h"

#include <algorithm>
#include <cmath>
#include <span>

void CPlotLook::LoadProfile(const CProfileRecord& r) {
    profileMode = 1;
    ClearContents();
    ResetFonts();
    if (runPlotActive) {
        displayType = 0;
        host.SetDisplayTypeValue(0);
        markerInterval = 10;
        host.SetMarkerIntervalValue(10);
        // A window that is not a positive length would stall the time axis: the old one stays.
        const double window = r.indephigh - r.indeplow;
        if (window > 0 && window <= 3.4e38) {
            host.SetTimeWindowValue(float(window));
            host.SetTimeScrollUnitValue(float(window) * 0.2f);
        }
    }
    CreateRegions();
    AttachFonts();
    NumberProfileRegions(r);
    titleRegion->label.text = r.title;
    SetAxisLabelText(0, r.indeplab);
    LoadProfileVariables(r);
    LoadProfileRanges(r);
    layoutDirty = 1;
}

void CPlotLook::NumberProfileRegions(const CProfileRecord& r) {
    const bool multi = r.multiy != 0;
    xAxisRegion->axis->timeAxis = runPlotActive;
    for (size_t k = 0; k < yLabelRegions.size(); ++k) {
        CPlotLabelRgn& label = *yLabelRegions[k];
        label.axisNo = multi || triMode ? int(k) + 1 : 1;
        label.varNo = multi ? int(k) + 1 : 1;
        if (k < CProfileRecord::kMaxDep) label.label.text = r.deplab[k];
    }
    for (size_t k = 0; k < yAxisRegions.size(); ++k) {
        yAxisRegions[k]->axisNo = int(k) + 1;
        if (!multi || k >= CProfileRecord::kMaxDep) continue;
        SetScale(int(k) + 1, r.depscale[k]);
        if (r.depint[k]) SetInteger(int(k) + 1);
    }
}

namespace {

// Every plot keeps at least one X and one Y variable, so a record without X or Y variables
// still gives one of each, empty; beyond kMaxDep Y variables are not made.
int ProfileXVariables(const CProfileRecord& r) {
    return std::max(r.numindep, 1);
}
int ProfileYVariables(const CProfileRecord& r) {
    return std::clamp(r.numdep, 1, CProfileRecord::kMaxDep);
}

} // namespace

std::int64_t CPlotLook::ProfileSamples(const CProfileRecord& r, bool ring) const {
    const std::int64_t perVariable =
        ring ? std::max(host.BufferSize(), 1) : std::max(r.numpoints, 0);
    return (std::int64_t(ProfileXVariables(r)) + ProfileYVariables(r)) * perVariable;
}

void CPlotLook::LoadProfileVariables(const CProfileRecord& r) {
    const bool ring = runPlotActive || phasePlotActive;
    const bool takeValues = !ring && r.hasValues;
    const auto points = std::uint32_t(std::max(r.numpoints, 0));
    auto make = [&](bool independent, std::int64_t first) {
        auto v = std::make_unique<CPlotVar>(independent);
        if (ring)
            v->MakeRing(std::uint32_t(std::max(host.BufferSize(), 1)));
        else
            v->Resize(points);
        if (takeValues && first >= 0) {
            // The stored values from first on, read as 0 past their end.
            const auto stored = std::int64_t(r.values.size());
            const std::int64_t from = std::min(first, stored);
            const std::int64_t count = std::min<std::int64_t>(points, stored - from);
            v->SetFirst(std::span<const double>(r.values.data() + from, std::size_t(count)),
                        points);
        }
        return v;
    };
    const int nIndep = ProfileXVariables(r);
    for (int j = 0; j < nIndep; ++j)
        xVariables.push_back(make(true, j < r.numindep ? std::int64_t(j) * points : -1));
    const int nDep = ProfileYVariables(r);
    for (int k = 0; k < nDep; ++k) {
        const bool real = k < r.numdep;
        auto v = make(false, real ? (std::int64_t(r.numindep) + k) * points : -1);
        ApplyFirstVariableDefaults(*v, k);
        v->SetLegend(real ? r.deplab[size_t(k)] : std::string());
        v->legendNo = r.multiy ? k + 1 : 1;
        v->axisNo = 1;
        yVariables.push_back(std::move(v));
    }
    AssignXVariables(nIndep);
}

void CPlotLook::LoadProfileRanges(const CProfileRecord& r) {
    if (r.indepint) SetInteger(0);
    SetScale(0, r.indepscale);
    SetRange(0, r.indeplow, r.indephigh);
    if (runPlotActive) ApplyTimeWindow(); // the time axis shows one window, from indeplow
    if (triMode) {
        SetRange(1, r.deplow[0], r.dephigh[0]);
        SetRange(2, r.deplow[0], r.dephigh[0]);
        return;
    }
    for (int k = 0; k < NYAxes() && k < CProfileRecord::kMaxDep; ++k)
        SetRange(k + 1, r.deplow[size_t(k)], r.dephigh[size_t(k)]);
    if (squarePlot && diagonalLine) CompactAxes();
}
