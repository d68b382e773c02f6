#include "control/PlotSettings.h"

#include "control/TrendixCtrl.h"
#include "model/NumberText.h"
#include "pages/PickTables.h"
#include "render/DrawTool.h"
#include "render/PlotAxis.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <utility>

namespace {

using Scan = CNumberText::Scanner;

std::string D(int v) {
    return std::to_string(v);
}
std::string G(double v) {
    return CNumberText::FormatG(v);
}
std::string F(double v) {
    return CNumberText::FormatF(v);
}

int Int(std::string_view v) {
    return CNumberText::ToInt(v);
}
bool Flag(std::string_view v) {
    return CNumberText::ToInt(v) != 0;
}

// Member numbers that pass to a 16-bit parameter unchanged; others are no such member.
bool Fits16(int n) {
    return n >= -32768 && n <= 32767;
}

// "+++" and "---" stand for the largest float either way: a tag point on an axis.
std::string AnnoPos(double v) {
    if (v >= CPlotSettings::kLargestFloat) return "+++";
    if (v <= -CPlotSettings::kLargestFloat) return "---";
    return F(v);
}

double ReadAnnoPos(std::string_view v) {
    if (v.substr(0, 3) == "+++") return CPlotSettings::kLargestFloat;
    if (v.substr(0, 3) == "---") return -CPlotSettings::kLargestFloat;
    return CNumberText::ToDouble(v);
}

// "size angle style:face": the numbers before the second colon of the line, the face after it.
bool SplitFont(std::string_view v, std::string_view& numbers, std::string& face) {
    const size_t colon = v.find(':');
    if (colon == std::string_view::npos) return false;
    numbers = v.substr(0, colon);
    face = std::string(v.substr(colon + 1));
    return true;
}

// The scale range an axis is saved with: the drawn range while it is current. When a range has
// been asked for since the axis was last scaled (no paint in between), the drawn range is no
// longer the one the plot shows next, and saving it would lose the request: the requested range
// is saved instead, in the same plot coordinates, so that applying the text and painting draws
// what painting here would have drawn.
std::pair<double, double> SavedScaleRange(const CPlotAxis& x) {
    if (!x.scaleDirty) return {x.plotMin, x.plotMax};
    const double a = x.ToPlot(x.reqMin), b = x.ToPlot(x.reqMax);
    return {std::min(a, b), std::max(a, b)};
}

// The settings text is cut at line feeds: an annotation's line breaks are written as a
// backslash and an n, and read back as CR LF, so that a text of several lines keeps them.
std::string Replaced(std::string text, std::string_view from, std::string_view to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}
std::string EscapeLineBreaks(const std::string& text) {
    return Replaced(text, "\r\n", "\\n");
}
std::string UnescapeLineBreaks(const std::string& text) {
    return Replaced(text, "\\n", "\r\n");
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Writing

std::string CPlotSettings::Write() {
    out_.clear();
    WriteHeader();
    WriteVariables();
    WriteAxes();
    WriteAttributes();
    WriteLook();
    WriteAnnotations();
    WriteSymbols();
    return std::move(out_);
}

void CPlotSettings::Line(std::string_view key, std::string_view value) {
    out_ += key;
    out_ += ':';
    out_ += value;
    out_ += '\n';
}

void CPlotSettings::WriteHeader() {
    const TrendixProperties& p = ctrl_.Properties();
    CPlotLook& m = ctrl_.PlotModel();
    Line("Type", D(p.PlotType));
    Line("Title", p.Title);
    Line("Xlab", p.xlabel);
    Line("Ylab", p.ylabel);
    Line("Nvars", D(p.nvariables));
    Line("MultiY", D(p.MultiYaxis));
    Line("Subst", m.substitutionString);
    Line("NYaxes", D(m.NYAxes()));
    Line("RunPlot", D(p.RunPlot));
    Line("PhasePlot", D(ctrl_.GetPhasePlot()));
    Line("SizeToData", D(p.SizeToData));
    Line("CommunicationIntervals", D(p.CommunicationIntervals));
    Line("UseVar", D(p.UseVariable));
    Line("IgnoreLegend", D(p.IgnoreSetLegend));
    Line("TimeWin", G(p.TimeWindow));
    Line("TimeScroll", G(p.TimeScrollUnit));
    Line("AlwaysShow", D(ctrl_.GetAlwaysShowFull()));
    Line("PhaseX", ctrl_.GetPhaseXVariable());
}

void CPlotSettings::WriteVariables() {
    CPlotLook& m = ctrl_.PlotModel();
    const int n = ctrl_.Properties().nvariables;
    for (int v = 0; v <= n; ++v) {
        Line("Var", D(v));
        Line("AxisMap", D(v == 0 ? 0 : m.GetAxisMap(v - 1)));
        const std::string label = m.GetLabel(v);
        Line("Label", label);
        const std::string legend = m.GetLegend(v);
        if (!legend.empty()) Line("Legend", legend);
        if (v == 0 && !label.empty()) Line("SubstValue", m.xAxisRegion->label.substitution);
        if (v > 0 && !legend.empty()) Line("SubstValue", m.YVar(v - 1)->label.substitution);
    }
}

void CPlotSettings::WriteAxes() {
    CPlotLook& m = ctrl_.PlotModel();
    for (int a = 0; a <= m.NYAxes(); ++a) {
        Line("Axis", D(a));
        // An axis slot the axis map has not filled yet has nothing to write.
        if (const CPlotAxis* axis = m.Axis(a)) WriteAxis(*axis);
    }
}

void CPlotSettings::WriteAxis(const CPlotAxis& x) {
    if (!ctrl_.Properties().RunPlot) {
        Line("Range", G(x.dataMin) + ' ' + G(x.dataMax));
        Line("AxisInterval", G(x.interval) + ' ' + D(x.fixedInterval));
        if (x.scaleType == 1) {
            Line("AxisRange", G(x.viewMin) + ' ' + G(x.viewMax));
        } else {
            const auto [lo, hi] = SavedScaleRange(x);
            Line("AxisRange", G(lo) + ' ' + G(hi));
        }
    } else {
        Line("ARange", G(x.dataMin) + ' ' + G(x.dataMax) + ' ' + G(x.fullMin) + ' ' + G(x.fullMax) +
                           ' ' + G(x.reqMin) + ' ' + G(x.reqMax));
        Line("ARange3", G(x.viewMin) + ' ' + G(x.viewMax) + ' ' + G(x.plotMin) + ' ' +
                            G(x.plotMax) + ' ' + G(x.interval) + ' ' + G(x.intervalCopy) + ' ' +
                            D(x.fixedInterval));
    }
    Line("AxisResetRange", D(x.resetRange));
    Line("AxisScale", D(x.scaleType) + ' ' + D(x.reversed));
    Line("Multiplier", D(x.multiplier));
    Line("MultiplierType", D(x.multiplierType));
    Line("AxisFlag", D(x.integerAxis));
}

void CPlotSettings::WriteAttributes() {
    CPlotLook& m = ctrl_.PlotModel();
    const int n = ctrl_.Properties().nvariables;
    for (int i = 0; i < n; ++i) {
        int type = 0, marker = 0, color = 0;
        m.GetAttribute(i, type, marker, color);
        Line("Attrib", D(i) + ' ' + D(type) + ' ' + D(marker) + ' ' + D(color));
        const CPlotVar* v = m.YVar(i);
        Line("Attrib2", D(i) + ' ' + D(v ? v->area : 0) + ' ' + D(v ? v->arrowMode : 0) + ' ' +
                            D(v ? v->ownMarkerSize : 0) + ' ' + D(v ? v->ownMarkerInterval : 0));
    }
}

void CPlotSettings::WriteLook() {
    CPlotLook& m = ctrl_.PlotModel();
    for (int id = 0; id <= 3; ++id) {
        std::string face;
        int size = 0, style = 0;
        m.GetFont(id, face, size, style);
        Line("Font", D(id) + ' ' + D(size) + ' ' + D(style) + ':' + face);
    }
    Line("Grid", D(m.gridType));
    Line("Line", D(m.displayType));
    Line("Square",
         D(m.squarePlot) + ' ' + D(m.diagonalLine) + ' ' + D(m.zeroLine) + ' ' + D(m.flipped));
    Line("Marker", D(m.markerSize) + ' ' + D(m.markerInterval));
    Line("LegendBox", D(m.showLegend) + ' ' + F(m.legendFx) + ' ' + F(m.legendFy));
    if (const CPlotLegendRgn* legend = m.legendRegion.get())
        Line("LegendBox2", D(legend->lineSampleLength) + ' ' + F(legend->itemHeightFactor) + ' ' +
                               D(legend->margin));
}

void CPlotSettings::WriteSymbols() {
    for (const CPlotSymbol& s : ctrl_.PlotModel().symbolList) {
        if (s.name == "DATE" || s.name == "TIME") continue;
        Line("SymbolName", s.name);
        Line("SymbolValue", s.value);
    }
}

std::string CPlotSettings::FormatAnnotation(const Annotation& a) {
    std::string s = "Annotation:" + a.text + '\n';
    s += "AnnoPosX:" + AnnoPos(a.x) + '\n';
    s += "AnnoPosY:" + AnnoPos(a.y) + '\n';
    s += "AnnoPos2:" + F(a.dx) + ' ' + F(a.dy) + ' ' + D(a.tagVariable) + '\n';
    s += "AnnoAttrib2:" + D(a.attachMode) + ' ' + D(a.color) + ' ' + D(a.angle) + ' ' +
         D(a.arrowSize) + ' ' + D(a.alignment) + ' ' + D(a.transparentText) + '\n';
    s += "AnnoFont:" + D(a.fontSize) + ' ' + D(a.fontAngle) + ' ' + D(a.fontStyle) + ':' +
         a.fontFace + '\n';
    return s;
}

CPlotSettings::Annotation CPlotSettings::RecordOf(const CPlotAnnotation& annotation) {
    Annotation r;
    r.text = EscapeLineBreaks(annotation.Text());
    const CPlotAnnotation::Position& p = annotation.GetPosition();
    r.x = p.x;
    r.y = p.y;
    r.dx = p.dx;
    r.dy = p.dy;
    r.tagVariable = p.tagVariable;
    const CPlotAnnotation::Attributes& a = annotation.GetAttributes();
    r.attachMode = a.attachMode;
    r.color = a.color;
    r.angle = a.angle;
    r.arrowSize = a.arrowSize;
    r.alignment = a.alignment;
    r.transparentText = a.transparentText;
    const CPlotFont font = annotation.Font() ? *annotation.Font() : CPlotFont();
    r.fontFace = font.face;
    r.fontSize = font.size;
    r.fontAngle = font.angle;
    r.fontStyle = font.style;
    r.placed = true;
    return r;
}

std::unique_ptr<CPlotAnnotation> CPlotSettings::MakeAnnotation(const Annotation& r) {
    CPlotAnnotation::Attributes a;
    a.attachMode = std::clamp(r.attachMode, 0, 3);
    a.color = r.color >= 0 && r.color < CDrawTool::Instance().ColorCount() ? r.color : 0;
    a.angle = (r.angle % 360 + 360) % 360;
    a.arrowSize = r.arrowSize;
    a.alignment = std::clamp(r.alignment, 0, 2);
    a.transparentText = r.transparentText;
    // A size the font sheet would not take is brought within its range.
    const int size = r.fontSize > 0 ? std::min(r.fontSize, PickTables::kMaxFontSize) : 10;
    const CPlotFont& font =
        CDrawTool::Instance().FindFont(r.fontFace, size, r.fontAngle, r.fontStyle);
    auto made = std::make_unique<CPlotAnnotation>(UnescapeLineBreaks(r.text), &font, a);
    made->SetPosition({r.x, r.y, r.dx, r.dy, r.tagVariable});
    made->SetUnplaced(false);
    return made;
}

// Every annotation of the plot that is not hidden, in the order of the list.
void CPlotSettings::WriteAnnotations() {
    if (!ctrl_.PlotModel().overlay) return;
    CPlotOverlay& overlay = ctrl_.PlotObjects();
    for (int i = 0; i < overlay.AnnotationCount(); ++i)
        if (const CPlotAnnotation* a = overlay.Annotation(i); a && !a->hidden)
            out_ += FormatAnnotation(RecordOf(*a));
}

// The placed blocks become the plot's annotations, each with the text object its attribute
// line asked for.
void CPlotSettings::PlaceAnnotations() {
    const std::vector<Annotation> placed = Annotations();
    if (placed.empty()) return;
    CPlotOverlay& overlay = ctrl_.PlotObjects();
    for (const Annotation& r : placed) {
        const int index = overlay.AddAnnotation(MakeAnnotation(r));
        if (r.textObjectIndex >= 0) overlay.CreateTextObject(index, true);
    }
}

std::vector<CPlotSettings::Annotation> CPlotSettings::Annotations() const {
    std::vector<Annotation> placed;
    for (const Annotation& a : annotations_)
        if (a.placed) placed.push_back(a);
    return placed;
}

// ---------------------------------------------------------------------------------------------
// Reading

void CPlotSettings::Read(std::string_view text) {
    Prepare();
    // Only text followed by a line feed counts: a last line without one is ignored.
    size_t pos = 0;
    for (size_t lf = text.find('\n'); lf != std::string_view::npos; lf = text.find('\n', pos)) {
        ReadLine(text.substr(pos, lf - pos));
        pos = lf + 1;
    }
    Finish();
}

void CPlotSettings::Prepare() {
    ctrl_.PlotModel().PrepareForSettings();
    // The text annotations and their text objects go; the text replaces them.
    if (ctrl_.PlotModel().overlay) ctrl_.PlotObjects().ClearAnnotations();
    ctrl_.HideScrollBars();
    annotations_.clear();
    placedCount_ = 0;
    var_ = 0;
    axis_ = annotation_ = -1;
    symbolName_.clear();
}

// A value a handler refuses changes nothing; the text reports no error.
void CPlotSettings::ReadLine(std::string_view line) {
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos) return;
    const Handler handler = Find(line.substr(0, colon));
    if (!handler) return;
    try {
        (this->*handler)(line.substr(colon + 1));
    } catch (const com::DispatchError&) {
    }
}

void CPlotSettings::Finish() {
    PlaceAnnotations();
    ctrl_.CopySettingsFromModel();
    CPlotLook& m = ctrl_.PlotModel();
    m.bufferWidth = ctrl_.PlotWidth();
    m.bufferHeight = ctrl_.PlotHeight();
    m.layoutDirty = 1;
    if (m.runPlotActive || m.phasePlotActive) m.RewindTimeData(0);
    ctrl_.RequestRepaint();
}

CPlotSettings::Handler CPlotSettings::Find(std::string_view key) {
    static const std::unordered_map<std::string_view, Handler> kKeys = {
        {"Title", &CPlotSettings::Title},
        {"Xlab", &CPlotSettings::Xlab},
        {"Ylab", &CPlotSettings::Ylab},
        {"Nvars", &CPlotSettings::Nvars},
        {"Type", &CPlotSettings::Type},
        {"MultiY", &CPlotSettings::MultiY},
        {"NYaxes", &CPlotSettings::NYaxes},
        {"RunPlot", &CPlotSettings::RunPlot},
        {"PhasePlot", &CPlotSettings::PhasePlot},
        {"PhaseX", &CPlotSettings::PhaseX},
        {"UseVar", &CPlotSettings::UseVar},
        {"IgnoreLegend", &CPlotSettings::IgnoreLegend},
        {"SizeToData", &CPlotSettings::SizeToData},
        {"CommunicationIntervals", &CPlotSettings::CommunicationIntervals},
        {"AlwaysShow", &CPlotSettings::AlwaysShow},
        {"TimeWin", &CPlotSettings::TimeWin},
        {"TimeScroll", &CPlotSettings::TimeScroll},
        {"Subst", &CPlotSettings::Subst},
        {"Var", &CPlotSettings::Var},
        {"AxisMap", &CPlotSettings::AxisMap},
        {"Label", &CPlotSettings::Label},
        {"Legend", &CPlotSettings::Legend},
        {"SubstValue", &CPlotSettings::SubstValue},
        {"Axis", &CPlotSettings::Axis},
        {"Range", &CPlotSettings::Range},
        {"AxisRange", &CPlotSettings::AxisRange},
        {"AxisInterval", &CPlotSettings::AxisInterval},
        {"ARange", &CPlotSettings::ARange},
        {"ARange2", &CPlotSettings::ARange2},
        {"ARange3", &CPlotSettings::ARange3},
        {"AxisResetRange", &CPlotSettings::AxisResetRange},
        {"AxisScale", &CPlotSettings::AxisScale},
        {"Multiplier", &CPlotSettings::Multiplier},
        {"MultiplierType", &CPlotSettings::MultiplierType},
        {"AxisFlag", &CPlotSettings::AxisFlag},
        {"Attrib", &CPlotSettings::Attrib},
        {"Attrib2", &CPlotSettings::Attrib2},
        {"Font", &CPlotSettings::Font},
        {"Grid", &CPlotSettings::Grid},
        {"Line", &CPlotSettings::LineType},
        {"Square", &CPlotSettings::Square},
        {"Marker", &CPlotSettings::Marker},
        {"LegendBox", &CPlotSettings::LegendBox},
        {"LegendBox2", &CPlotSettings::LegendBox2},
        {"Annotation", &CPlotSettings::AnnotationKey},
        {"AnnoPosX", &CPlotSettings::AnnoPosX},
        {"AnnoPosY", &CPlotSettings::AnnoPosY},
        {"AnnoPos2", &CPlotSettings::AnnoPos2},
        {"AnnoPosition", &CPlotSettings::AnnoPosition},
        {"AnnoAttrib2", &CPlotSettings::AnnoAttrib2},
        {"AnnoAttrib", &CPlotSettings::AnnoAttrib},
        {"AnnoFont", &CPlotSettings::AnnoFont},
        {"SymbolName", &CPlotSettings::SymbolName},
        {"SymbolValue", &CPlotSettings::SymbolValue},
    };
    const auto it = kKeys.find(key);
    return it == kKeys.end() ? nullptr : it->second;
}

CPlotAxis* CPlotSettings::CurrentAxis() {
    return axis_ < 0 ? nullptr : ctrl_.PlotModel().Axis(axis_);
}

CPlotSettings::Annotation* CPlotSettings::CurrentAnnotation() {
    return annotation_ < 0 ? nullptr : &annotations_[size_t(annotation_)];
}

// --- plot kind, titles and modes ---

void CPlotSettings::Title(std::string_view v) {
    ctrl_.SetTitle(std::string(v));
}
void CPlotSettings::Xlab(std::string_view v) {
    ctrl_.Setxlabel(std::string(v));
}
void CPlotSettings::Ylab(std::string_view v) {
    ctrl_.Setylabel(std::string(v));
}
void CPlotSettings::Nvars(std::string_view v) {
    ctrl_.Setnvariables(std::int16_t(Int(v)));
}
void CPlotSettings::Type(std::string_view v) {
    ctrl_.SetPlotType(std::int16_t(Int(v)));
}
void CPlotSettings::MultiY(std::string_view v) {
    ctrl_.SetMultiYaxis(Flag(v));
}
void CPlotSettings::NYaxes(std::string_view v) {
    ctrl_.PlotModel().TruncateYAxes(Int(v));
}

void CPlotSettings::RunPlot(std::string_view v) {
    ctrl_.StoredProperties().RunPlot = Flag(v);
    ctrl_.PlotModel().SwitchRunMode(Flag(v));
}

void CPlotSettings::PhasePlot(std::string_view v) {
    ctrl_.StorePhasePlotFlag(Flag(v));
    ctrl_.PlotModel().SwitchPhaseMode(Flag(v));
}

void CPlotSettings::PhaseX(std::string_view v) {
    ctrl_.SetPhaseXVariable(std::string(v));
}
void CPlotSettings::UseVar(std::string_view v) {
    ctrl_.StoredProperties().UseVariable = Flag(v);
}

void CPlotSettings::IgnoreLegend(std::string_view v) {
    ctrl_.StoredProperties().IgnoreSetLegend = Flag(v);
}

void CPlotSettings::SizeToData(std::string_view v) {
    ctrl_.StoredProperties().SizeToData = Flag(v);
}

void CPlotSettings::CommunicationIntervals(std::string_view v) {
    ctrl_.StoredProperties().CommunicationIntervals = std::int16_t(Int(v));
}

void CPlotSettings::AlwaysShow(std::string_view v) {
    ctrl_.SetAlwaysShowFull(Flag(v));
}
void CPlotSettings::TimeWin(std::string_view v) {
    ctrl_.SetTimeWindow(CNumberText::ToFloat(v));
}

void CPlotSettings::TimeScroll(std::string_view v) {
    ctrl_.StoredProperties().TimeScrollUnit = CNumberText::ToFloat(v);
}

void CPlotSettings::Subst(std::string_view v) {
    ctrl_.SetSubstitutionString(std::string(v));
}

// --- variables ---

void CPlotSettings::Var(std::string_view v) {
    var_ = Int(v);
}

void CPlotSettings::AxisMap(std::string_view v) {
    if (var_ < 1 || var_ > 32768) return;
    const int axisNo = Int(v);
    if (Fits16(axisNo)) ctrl_.SetAxisMap(std::int16_t(var_ - 1), std::int16_t(axisNo));
}

void CPlotSettings::Label(std::string_view v) {
    if (Fits16(var_)) ctrl_.SetLabel(std::int16_t(var_), std::string(v));
}

void CPlotSettings::Legend(std::string_view v) {
    ctrl_.PlotModel().SetLegend(var_, std::string(v));
}

void CPlotSettings::SubstValue(std::string_view v) {
    ctrl_.PlotModel().SetSubstitutionValue(var_, std::string(v));
}

// --- axes ---

void CPlotSettings::Axis(std::string_view v) {
    const int a = Int(v);
    if (a == 0 || ctrl_.PlotModel().Axis(a)) axis_ = a;
}

void CPlotSettings::Range(std::string_view v) {
    const CPlotAxis* x = CurrentAxis();
    if (!x) return;
    double lo = x->dataMin, hi = x->dataMax;
    Scan(v).Double(lo).Double(hi);
    ctrl_.SetRange(std::int16_t(axis_), lo, hi);
}

void CPlotSettings::AxisRange(std::string_view v) {
    const CPlotAxis* x = CurrentAxis();
    if (!x) return;
    double lo = x->plotMin, hi = x->plotMax;
    Scan(v).Double(lo).Double(hi);
    ctrl_.SetAxisRange(std::int16_t(axis_), lo, hi);
    if (CPlotAxis* after = CurrentAxis()) after->rangeSet = 0;
}

void CPlotSettings::AxisInterval(std::string_view v) {
    CPlotAxis* x = CurrentAxis();
    if (!x) return;
    double interval = x->interval;
    int fixed = x->fixedInterval;
    Scan(v).Double(interval).Int(fixed);
    CPlotLook& m = ctrl_.PlotModel();
    for (int a : {axis_, 1, 2}) {
        if (a != axis_ && !(axis_ == 0 && m.triMode)) continue;
        if (CPlotAxis* target = m.Axis(a)) {
            target->interval = interval;
            target->fixedInterval = fixed;
        }
    }
}

void CPlotSettings::ARange(std::string_view v) {
    if (CPlotAxis* x = CurrentAxis())
        Scan(v)
            .Double(x->dataMin)
            .Double(x->dataMax)
            .Double(x->fullMin)
            .Double(x->fullMax)
            .Double(x->reqMin)
            .Double(x->reqMax);
}

// The working and plot ranges and the intervals; "ARange3" adds the fixed-interval flag.
static Scan ScanWorkingRange(std::string_view v, CPlotAxis& x) {
    Scan scan(v);
    scan.Double(x.viewMin)
        .Double(x.viewMax)
        .Double(x.plotMin)
        .Double(x.plotMax)
        .Double(x.interval)
        .Double(x.intervalCopy);
    return scan;
}

void CPlotSettings::ARange2(std::string_view v) {
    if (CPlotAxis* x = CurrentAxis()) ScanWorkingRange(v, *x);
}

void CPlotSettings::ARange3(std::string_view v) {
    if (CPlotAxis* x = CurrentAxis()) ScanWorkingRange(v, *x).Int(x->fixedInterval);
}

void CPlotSettings::AxisResetRange(std::string_view v) {
    if (CPlotAxis* x = CurrentAxis()) x->resetRange = Int(v);
}

void CPlotSettings::AxisScale(std::string_view v) {
    if (CPlotAxis* x = CurrentAxis()) Scan(v).Int(x->scaleType).Int(x->reversed);
}

void CPlotSettings::Multiplier(std::string_view v) {
    if (CPlotAxis* x = CurrentAxis()) x->multiplier = Int(v);
}

void CPlotSettings::MultiplierType(std::string_view v) {
    if (CPlotAxis* x = CurrentAxis()) x->multiplierType = Int(v);
}

void CPlotSettings::AxisFlag(std::string_view v) {
    if (CPlotAxis* x = CurrentAxis()) x->integerAxis = Int(v);
}

// --- attributes, fonts and the look ---

void CPlotSettings::Attrib(std::string_view v) {
    int i = 0;
    Scan scan(v);
    if (!scan.Int(i).ok() || !Fits16(i)) return;
    int type = 0, marker = 0, color = 0;
    ctrl_.PlotModel().GetAttribute(i, type, marker, color);
    scan.Int(type).Int(marker).Int(color);
    ctrl_.SetAttribute(std::int16_t(i), std::int16_t(type), std::int16_t(marker),
                       std::int16_t(color));
}

// An index that is not a Y variable names a host object; host objects are not built yet.
void CPlotSettings::Attrib2(std::string_view v) {
    int i = 0;
    Scan scan(v);
    if (!scan.Int(i).ok()) return;
    CPlotVar* var = ctrl_.PlotModel().YVar(i);
    if (!var) return;
    scan.Int(var->area).Int(var->arrowMode).Int(var->ownMarkerSize).Int(var->ownMarkerInterval);
    // A marker size is a short like the plot's own; a negative one means the plot's.
    var->ownMarkerSize = std::clamp(var->ownMarkerSize, 0, 32767);
}

void CPlotSettings::Font(std::string_view v) {
    std::string_view numbers;
    std::string face;
    if (!SplitFont(v, numbers, face)) return;
    int id = 0;
    Scan scan(numbers);
    if (!scan.Int(id).ok() || !Fits16(id)) return;
    std::string oldFace;
    int size = 0, style = 0;
    ctrl_.PlotModel().GetFont(id, oldFace, size, style);
    scan.Int(size).Int(style);
    ctrl_.SetFont(std::int16_t(id), face, std::int16_t(size), std::int16_t(style));
}

// The display keys store into the model; Finish copies them into the property set.
void CPlotSettings::Grid(std::string_view v) {
    ctrl_.PlotModel().gridType = Int(v);
}

void CPlotSettings::LineType(std::string_view v) {
    ctrl_.PlotModel().displayType = Int(v);
}

void CPlotSettings::Square(std::string_view v) {
    CPlotLook& m = ctrl_.PlotModel();
    Scan(v).Int(m.squarePlot).Int(m.diagonalLine).Int(m.zeroLine).Int(m.flipped);
}

void CPlotSettings::Marker(std::string_view v) {
    CPlotLook& m = ctrl_.PlotModel();
    Scan(v).Int(m.markerSize).Int(m.markerInterval);
}

// The legend's placement is a fraction of the drawing region; one that is not a number or lies
// farther off than kLegendPlacementLimit leaves that placement as it was.
void CPlotSettings::LegendBox(std::string_view v) {
    CPlotLook& m = ctrl_.PlotModel();
    int show = m.showLegend;
    float fx = m.legendFx, fy = m.legendFy;
    Scan(v).Int(show).Float(fx).Float(fy);
    for (auto [from, to] : {std::pair{fx, &m.legendFx}, std::pair{fy, &m.legendFy}})
        if (std::isfinite(from) && std::abs(from) <= kLegendPlacementLimit) *to = from;
    ctrl_.StoredProperties().ShowLegend = show != 0;
    if ((show != 0) != (m.showLegend != 0)) m.SetShowLegend(show != 0);
}

// The legend box keeps its limits: a value outside them leaves that setting as it was.
void CPlotSettings::LegendBox2(std::string_view v) {
    CPlotLegendRgn* legend = ctrl_.PlotModel().legendRegion.get();
    if (!legend) return;
    int width = legend->lineSampleLength, margin = legend->margin;
    float height = legend->itemHeightFactor;
    Scan(v).Int(width).Float(height).Int(margin);
    legend->SetBox(width, height, margin);
}

// --- annotations ---

void CPlotSettings::AnnotationKey(std::string_view v) {
    Annotation a;
    a.text = std::string(v);
    annotations_.push_back(std::move(a));
    annotation_ = int(annotations_.size()) - 1;
}

void CPlotSettings::AnnoPosX(std::string_view v) {
    if (CurrentAnnotation()) annoX_ = ReadAnnoPos(v);
}

void CPlotSettings::AnnoPosY(std::string_view v) {
    if (CurrentAnnotation()) annoY_ = ReadAnnoPos(v);
}

void CPlotSettings::AnnoPos2(std::string_view v) {
    Annotation* a = CurrentAnnotation();
    if (!a) return;
    a->x = annoX_;
    a->y = annoY_;
    Scan(v).Double(a->dx).Double(a->dy).Int(a->tagVariable);
}

void CPlotSettings::AnnoPosition(std::string_view v) {
    if (Annotation* a = CurrentAnnotation())
        Scan(v).Double(a->x).Double(a->y).Double(a->dx).Double(a->dy).Int(a->tagVariable);
}

void CPlotSettings::AnnoAttrib2(std::string_view v) {
    Annotation* a = CurrentAnnotation();
    if (!a) return;
    Scan(v)
        .Int(a->attachMode)
        .Int(a->color)
        .Int(a->angle)
        .Int(a->arrowSize)
        .Int(a->alignment)
        .Int(a->transparentText);
    BindTextObject(*a);
}

void CPlotSettings::AnnoAttrib(std::string_view v) {
    Annotation* a = CurrentAnnotation();
    if (!a) return;
    Scan(v).Int(a->attachMode).Int(a->color).Int(a->angle).Int(a->arrowSize).Int(a->alignment);
    a->transparentText = 0;
    BindTextObject(*a);
}

// The text object is bound to the index the annotation will have once placed; one object per
// annotation, however often its attributes are given.
void CPlotSettings::BindTextObject(Annotation& a) {
    if (a.textObjectIndex < 0) a.textObjectIndex = placedCount_;
}

// Placing appends the annotation once; it stays current, so later keys still change it.
void CPlotSettings::AnnoFont(std::string_view v) {
    Annotation* a = CurrentAnnotation();
    if (!a) return;
    std::string_view numbers;
    std::string face;
    if (!SplitFont(v, numbers, face)) return;
    Scan(numbers).Int(a->fontSize).Int(a->fontAngle).Int(a->fontStyle);
    a->fontFace = std::move(face);
    if (!a->placed) ++placedCount_;
    a->placed = true;
}

// --- symbols ---

void CPlotSettings::SymbolName(std::string_view v) {
    symbolName_ = std::string(v);
}

void CPlotSettings::SymbolValue(std::string_view v) {
    ctrl_.PlotModel().SetSymbol(symbolName_, std::string(v));
}
