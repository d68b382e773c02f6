// The texts the regions show: symbols expanded, substitution values put in, multiplier notes
// added. Regions cannot reach the model, so the model prepares their texts before the layout.
#include "model/PlotLook.h"
#include "model/PlotSymbols.h"

namespace {

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') continue;
        // A real line break, or a backslash and n as scripts write one.
        if (text[i] == '\n' || (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n')) {
            if (text[i] == '\\') ++i;
            lines.emplace_back();
            continue;
        }
        lines.back() += text[i];
    }
    while (lines.size() > 1 && lines.back().empty())
        lines.pop_back();
    if (lines.size() == 1 && lines[0].find_first_not_of(' ') == std::string::npos) lines.clear();
    return lines;
}

} // namespace

const locale::Locale& CPlotLook::TextLocale() const {
    static const locale::Locale fallback = locale::Locale::Classic();
    return environment ? environment->locale : fallback;
}

std::string CPlotLook::ExpandSymbols(const std::string& text, bool* usesDateTime) {
    CPlotSymbols::Expanded e = CPlotSymbols::Expand(symbolList, text, TextLocale());
    if (usesDateTime) *usesDateTime = e.usesDateTime;
    return e.text;
}

std::string CPlotLook::LabelTextOf(const CPlotLabel& label) {
    return CPlotSymbols::LabelText(symbolList, label.text, substitutionString, label.substitution,
                                   TextLocale());
}

void CPlotLook::ResetDateTime() {
    CPlotSymbols::ResetDateTime(symbolList);
}

CShownText CPlotLook::ShownText(const std::string& text, int axisNo) {
    CShownText shown;
    shown.text = text;
    const CPlotAxis* a = axisNo >= 0 ? Axis(axisNo) : nullptr;
    if (a && a->multiplierType == 0 && a->multiplier != 0) {
        shown.note = true;
        if (a->multiplier != 1) shown.exponent = std::to_string(a->multiplier);
    }
    return shown;
}

void CPlotLook::PrepareTexts() {
    // 1. Title and corner labels: one entry per line.
    titleRegion->lines = SplitLines(ExpandSymbols(titleRegion->label.text));
    for (auto& corner : cornerLabelRegions)
        if (corner) corner->lines = SplitLines(ExpandSymbols(corner->label.text));
    // 2. Axis and variable labels.
    PrepareLabel(*xLabelRegion);
    for (auto& r : yLabelRegions)
        PrepareLabel(*r);
    // 3. Legend entries.
    PrepareLegend();
}

void CPlotLook::PrepareLabel(CPlotLabelRgn& r) {
    const bool live = runPlotActive || phasePlotActive;
    const CPlotVar* v = r.varNo > 0 ? YVar(r.varNo - 1) : nullptr;
    if (v) {
        r.shown = ShownText(LabelTextOf(v->label), v->axisNo);
    } else {
        const CPlotAxisRgn* axis = r.axisNo >= 0 ? AxisRegion(r.axisNo) : nullptr;
        const CPlotLabel& label = axis ? axis->label : r.label;
        r.shown = ShownText(LabelTextOf(label), std::max(r.axisNo, 0));
    }
    if (r.shown.text.find_first_not_of(' ') == std::string::npos && !v) r.shown.text.clear();
    // Upright beside a Y axis (beside the X axis of a flipped plot).
    r.upright = r.kind != CPlotRegion::Title && r.kind != CPlotRegion::Corner &&
                (flipped ? r.axisNo == 0 : r.axisNo >= 1);
    r.colorIndex = (!v || (r.plain && !live)) ? -1 : v->color;
    r.lineSample = v && r.upright && (live || (!flipped && !showLegend && !r.plain));
    r.samplePenLineType = v ? v->PenLineType() : 1;
    r.sampleMarker = v && !barMode ? v->marker : -1;
}

void CPlotLook::PrepareLegend() {
    CPlotLegendRgn& legend = *legendRegion;
    std::vector<CLegendEntry> entries;
    for (auto& v : yVariables) {
        if (v->hidden || v->axisNo == 0) continue;
        const std::string text = LabelTextOf(v->label);
        if (text.empty()) continue;
        CLegendEntry e;
        e.shown = ShownText(text, v->axisNo);
        e.color = v->color;
        e.penLineType = v->PenLineType();
        e.marker = v->marker;
        e.barPattern = v->barPattern;
        e.barOutline = v->marker;
        e.area = v->area != 0;
        entries.push_back(std::move(e));
    }
    const bool changed = entries.size() != legend.entries.size() ||
                         !std::equal(entries.begin(), entries.end(), legend.entries.begin(),
                                     [](const CLegendEntry& a, const CLegendEntry& b) {
                                         return a.shown.text == b.shown.text &&
                                                a.shown.exponent == b.shown.exponent &&
                                                a.shown.note == b.shown.note;
                                     });
    if (changed) legend.sized = 0;
    legend.entries = std::move(entries);
    legend.shown = showLegend;
    legend.displayType = displayType;
    legend.barMode = barMode != 0;
    legend.selected = selectedRegion == &legend;
}
