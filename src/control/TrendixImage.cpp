// The binary image of the whole plot: captured from the control and applied back to it.
#include "annot/PlotOverlay.h"
#include "annot/ShapeRecord.h"
#include "control/TrendixCtrl.h"
#include "platform/com/ByteStream.h"
#include "platform/com/PropExchange.h"
#include "platform/ui/HeadlessSite.h"
#include "render/PlotAxis.h"

namespace {

[[noreturn]] void Refuse(const std::string& why) {
    throw com::DispatchError(com::STG_E_READFAULT, "The plot image cannot be read: " + why);
}

// DATE and TIME are the plot's own symbols, made anew by every plot.
bool OwnSymbol(const std::string& name) {
    return name == "DATE" || name == "TIME";
}

// The loading flag, set while an image is applied whatever way the application ends.
class LoadingScope {
public:
    explicit LoadingScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~LoadingScope() { flag_ = false; }
    LoadingScope(const LoadingScope&) = delete;
    LoadingScope& operator=(const LoadingScope&) = delete;

private:
    bool& flag_;
};

// Every label of the plot, in a fixed walk: the X axis and its title, the Y axes, a
// triangular plot's side titles, then the Y and the X variables. The Y titles of other plots
// are made from these at the next paint; a triangular plot keeps its side titles as they are.
std::vector<CPlotLabel*> LabelsOf(CPlotLook& m) {
    std::vector<CPlotLabel*> labels = {&m.xAxisRegion->label, &m.xLabelRegion->label};
    for (auto& r : m.yAxisRegions)
        if (r) labels.push_back(&r->label);
    if (m.triMode)
        for (auto& r : m.yLabelRegions)
            labels.push_back(&r->label);
    for (auto& v : m.yVariables)
        labels.push_back(&v->label);
    for (auto& v : m.xVariables)
        labels.push_back(&v->label);
    return labels;
}

CPlotImage::Axis AxisOf(const CPlotAxis& x) {
    return {{x.dataMin, x.dataMax, x.fullMin, x.fullMax, x.reqMin, x.reqMax, x.viewMin, x.viewMax,
             x.plotMin, x.plotMax, x.interval, x.intervalCopy},
            x.scaleDirty != 0,
            x.tickList};
}

void Restore(CPlotAxis& x, const CPlotImage::Axis& from) {
    const CPlotImage::AxisRanges& r = from.ranges;
    double* fields[] = {&x.dataMin, &x.dataMax, &x.fullMin,  &x.fullMax,
                        &x.reqMin,  &x.reqMax,  &x.viewMin,  &x.viewMax,
                        &x.plotMin, &x.plotMax, &x.interval, &x.intervalCopy};
    for (std::size_t i = 0; i < r.size(); ++i)
        *fields[i] = r[i];
    x.scaleDirty = from.scaleDirty ? 1 : 0;
    x.tickList = from.ticks;
    // The tick walks expect their slots, ended by a 0.
    if (x.tickList.size() < CPlotImage::kTickSlots) x.tickList.resize(CPlotImage::kTickSlots, 0.0);
}

std::array<int*, std::tuple_size_v<CPlotImage::ModelState>> StateOf(CPlotLook& m) {
    return {&m.profileMode, &m.axesHidden, &m.labelsHidden, &m.axisMapDirty, &m.legendDirty,
            &m.scrollDirty, &m.dataDirty,  &m.rangeDirty,   &m.timeScrolled, &m.axisRangeDirty};
}

// The host objects and every annotation they may refer to.
void CaptureHostObjects(CPlotOverlay& overlay, CPlotImage::HostObjects& h) {
    for (int i = 0; i < overlay.AnnotationCount(); ++i) {
        const CPlotAnnotation& a = *overlay.Annotation(i);
        h.annotations.push_back({CPlotSettings::RecordOf(a), a.hidden != 0, a.TimeStamp()});
    }
    CPlotLook& m = overlay.Model();
    for (const auto& o : overlay.Objects()) {
        const CPlotVar* y = m.YVar(o->YVariable());
        h.objects.push_back({o->GetRecord(), y ? y->barPattern : 0});
    }
}

// The host objects and where their numbering stands.
CPlotImage::HostObjects HostObjectsOf(CPlotOverlay* overlay, const CObjectIds& ids) {
    CPlotImage::HostObjects h;
    h.nextNumber = ids.NextNumber();
    h.numbersWrapped = ids.Wrapped();
    if (overlay) CaptureHostObjects(*overlay, h);
    return h;
}

// The objects must name the plot's variables and annotations as their kind does, no variable
// or annotation twice, and the numbering must not hand out an ID in use.
void CheckHostObjects(CPlotLook& m, const CPlotImage::HostObjects& h) {
    std::vector<bool> xTaken(std::size_t(m.NXVars()), false),
        yTaken(std::size_t(m.NYVars()), false);
    std::vector<bool> annotationTaken(h.annotations.size(), false);
    const auto take = [](std::vector<bool>& taken, int index) {
        if (index < 0 || std::size_t(index) >= taken.size() || taken[std::size_t(index)])
            Refuse("its host objects do not fit its variables and annotations");
        taken[std::size_t(index)] = true;
    };
    for (const CPlotImage::HostObject& o : h.objects) {
        const CPlotObj::Record& r = o.record;
        const bool xy = r.kind == CPlotObj::LineKind || r.kind == CPlotObj::PolygonKind;
        if (xy) {
            take(xTaken, r.xVariable);
            take(yTaken, r.yVariable);
        } else if (r.xVariable != -1 || r.yVariable != -1) {
            Refuse("a host object that draws no curve names variables");
        }
        if (r.kind == CPlotObj::TextKind && r.annotation != -1)
            take(annotationTaken, r.annotation);
        else if (r.kind != CPlotObj::TextKind && r.annotation != -1)
            Refuse("a host object that is no text names an annotation");
        if (r.userText && r.kind != CPlotObj::TextKind)
            Refuse("a host object that is no text is a user text");
        // Before the numbering wraps, every ID it handed out lies below where it stands.
        const int number = r.id - CObjectIds::kFirstId;
        if (!h.numbersWrapped && number >= h.nextNumber && number < CObjectIds::kIdCount)
            Refuse("its object numbering would hand out an ID in use");
    }
}

// The annotations and objects as they were; a line's or polygon's variables are its own again.
void RestoreHostObjects(CPlotOverlay& overlay, const CPlotImage::HostObjects& h) {
    CPlotLook& m = overlay.Model();
    std::vector<std::unique_ptr<CPlotAnnotation>> annotations;
    for (const CPlotImage::Annotation& a : h.annotations) {
        annotations.push_back(CPlotSettings::MakeAnnotation(a.record));
        annotations.back()->hidden = a.hidden ? 1 : 0;
        annotations.back()->SetTimeStamp(a.timeStamp);
    }
    std::vector<std::unique_ptr<CPlotObj>> objects;
    for (const CPlotImage::HostObject& o : h.objects) {
        objects.push_back(CPlotObj::FromRecord(o.record));
        CPlotVar* x = m.XVar(o.record.xVariable);
        CPlotVar* y = m.YVar(o.record.yVariable);
        if (!x || !y) continue;
        x->hostObject = y->hostObject = 1;
        y->polygon = o.record.kind == CPlotObj::PolygonKind ? 1 : 0;
        y->barPattern = o.fill;
    }
    overlay.Restore(std::move(annotations), std::move(objects));
}

} // namespace

std::vector<std::uint8_t> CTrendixCtrl::SaveImage() {
    CPlotLook& m = EnsureModel();
    // A pending axis map is applied first, as the next paint (the copy's own picture) would:
    // the reader rebuilds the axes from the map, which knows nothing of axes left unused.
    if (m.axisMapDirty) m.CompactAxes();
    CPlotImage::Content c;
    c.propertySet = SaveBinary();
    c.phasePlot = phasePlot_;
    c.width = extentWidth_;
    c.height = extentHeight_;
    c.substitution = m.substitutionString;
    c.settings = GetSettings();
    for (const CPlotLabel* l : LabelsOf(m))
        c.labels.push_back({l->text, l->substitution});
    const auto state = StateOf(m);
    for (std::size_t i = 0; i < state.size(); ++i)
        c.modelState[i] = *state[i];
    for (const auto& v : m.yVariables)
        c.variables.push_back({v->name, v->axisNo, v->xVarNo, std::int32_t(v->hidden)});
    c.hostObjects =
        HostObjectsOf(m.overlay ? &static_cast<CPlotOverlay&>(*m.overlay) : nullptr, objectIds_);
    for (const CPlotSymbol& s : m.symbolList)
        if (!OwnSymbol(s.name)) c.symbols.push_back({s.name, s.value});
    if (m.overlay)
        static_cast<const CPlotOverlay&>(*m.overlay).Shapes().WriteRecord(c.shapes);
    else
        WriteShapes({}, c.shapes);
    c.scrolled = scrolled_;
    for (int a = 0; a <= m.NYAxes(); ++a) {
        const CPlotAxis* axis = m.Axis(a);
        c.axes.push_back(axis ? AxisOf(*axis) : AxisOf(CPlotAxis()));
    }
    for (int i = 0; i < m.NXVars(); ++i)
        c.xVariables.push_back(m.XVar(i)->SaveBuffer());
    for (int i = 0; i < m.NYVars(); ++i)
        c.yVariables.push_back(m.YVar(i)->SaveBuffer());
    return CPlotImage::Encode(c);
}

// Reads the whole image before anything changes, then applies it to a scratch control: only
// an image that applies there whole is applied here, so that a refused image leaves no trace.
void CTrendixCtrl::LoadImage(std::span<const std::uint8_t> image) {
    CPlotImage::Content content;
    try {
        content = CPlotImage::Decode(image);
    } catch (const CByteReader::Malformed& e) {
        Refuse(e.what());
    }
    CheckImage(content);
    try {
        ui::HeadlessSite scratchSite;
        CTrendixCtrl trial(scratchSite);
        trial.sampleBudget_ = sampleBudget_;
        CPlotImage::Content copy = content;
        trial.ApplyImage(std::move(copy));
    } catch (const com::DispatchError&) {
        throw;
    } catch (const std::exception& e) {
        Refuse(e.what());
    }
    ApplyImage(std::move(content));
}

// What can be known of an image without applying it: its property set would load and its
// samples fit the budget.
void CTrendixCtrl::CheckImage(const CPlotImage::Content& c) const {
    CheckPropertySet(c.propertySet);
    std::int64_t samples = 0;
    for (const auto* list : {&c.xVariables, &c.yVariables})
        for (const CPlotVar::Buffer& b : *list)
            samples += std::int64_t(b.values.size());
    if (samples > sampleBudget_) Refuse("its samples are more than the budget allows");
}

// The settings text carries the flip itself (its "Square" line, which leaves the axis map as
// it is) and an axis map that a flipped control ignores. A flipped property set would drop that
// map and leave fewer axes than the image's variables and texts name, so the text is read as by
// a control that is not flipped, and the property then takes its stored value again (a turned
// plot's property and flip may differ).
void CTrendixCtrl::ReadImageSettings(CPlotLook& m, const std::string& settings) {
    const bool flippedProperty = props_.Flipped;
    props_.Flipped = false;
    m.flipped = 0;
    SetSettings(settings);
    props_.Flipped = flippedProperty;
}

void CTrendixCtrl::ApplyImage(CPlotImage::Content&& c) {
    LoadingScope loading(loading_);
    // The model is built anew for the persisted plot type, then for the phase-plot mode.
    model_.reset();
    LoadBinary(c.propertySet);
    CPlotLook& m = EnsureModel();
    phasePlot_ = c.phasePlot;
    m.SwitchPhaseMode(c.phasePlot);
    // A stored size becomes the extent only of a control that has none.
    if (extentWidth_ == 0 && extentHeight_ == 0) {
        extentWidth_ = m.bufferWidth = std::min(c.width, gdi::kMaxSurfaceSide);
        extentHeight_ = m.bufferHeight = std::min(c.height, gdi::kMaxSurfaceSide);
    }
    SetSubstitutionString(c.substitution);
    // Labels read from the settings go to the variables in profile mode.
    m.profileMode = c.modelState[0];
    ReadImageSettings(m, c.settings);
    for (const CPlotImage::Symbol& s : c.symbols)
        m.SetSymbol(s.name, s.value);
    std::size_t shapesRead = 0;
    if (!Overlay().Shapes().ReadRecord(c.shapes, shapesRead, env_))
        Refuse("its shapes cannot be read");

    // The settings made the Y variables and axes, but not the X variables of host lines and
    // polygons (within the sample budget).
    if (c.xVariables.size() > std::size_t(m.NXVars()))
        Setnxvariables(
            std::int16_t(std::min<std::size_t>(c.xVariables.size(), CPlotImage::kMaxItems)));
    // The texts, samples and ranges must fit the variables and axes.
    const std::vector<CPlotLabel*> labels = LabelsOf(m);
    if (c.labels.size() != labels.size() || c.variables.size() != std::size_t(m.NYVars()))
        Refuse("its texts do not fit its variables and axes");
    if (c.xVariables.size() != std::size_t(m.NXVars()) ||
        c.yVariables.size() != std::size_t(m.NYVars()))
        Refuse("its samples do not fit its variables");
    if (c.axes.size() != std::size_t(m.NYAxes()) + 1) Refuse("its ranges do not fit its axes");
    for (std::size_t i = 0; i < labels.size(); ++i) {
        labels[i]->text = std::move(c.labels[i].text);
        labels[i]->substitution = std::move(c.labels[i].substitution);
    }
    // A variable is drawn on one of the plot's axes, or hidden with axis 0.
    for (const CPlotImage::Variable& from : c.variables)
        if (from.axisNo < 0 || from.axisNo > m.NYAxes()) Refuse("a variable names no axis");
    // Variables on other axes than the settings' map put them on are laid out again.
    bool remapped = false;
    for (int i = 0; i < m.NYVars(); ++i) {
        CPlotVar& v = *m.YVar(i);
        const CPlotImage::Variable& from = c.variables[std::size_t(i)];
        remapped = remapped || v.axisNo != from.axisNo;
        v.name = from.name;
        v.axisNo = from.axisNo;
        v.xVarNo = from.xVarNo;
        v.hidden = std::uint32_t(from.hidden);
    }
    for (int i = 0; i < m.NXVars(); ++i)
        m.XVar(i)->RestoreBuffer(std::move(c.xVariables[std::size_t(i)]));
    for (int i = 0; i < m.NYVars(); ++i)
        m.YVar(i)->RestoreBuffer(std::move(c.yVariables[std::size_t(i)]));
    for (int a = 0; a <= m.NYAxes(); ++a) {
        if (CPlotAxis* axis = m.Axis(a)) Restore(*axis, c.axes[std::size_t(a)]);
    }
    CheckHostObjects(m, c.hostObjects);
    if (m.overlay || !c.hostObjects.annotations.empty() || !c.hostObjects.objects.empty())
        RestoreHostObjects(Overlay(), c.hostObjects);
    objectIds_.Continue(c.hostObjects.nextNumber, c.hostObjects.numbersWrapped);
    const auto state = StateOf(m);
    for (std::size_t i = 0; i < state.size(); ++i)
        *state[i] = c.modelState[i];
    if (remapped) m.axisMapDirty = 1;
    // The Y titles are made anew from the restored texts.
    m.legendDirty = 1;
    scrolled_ = c.scrolled;
    plotDefined_ = true;
    m.layoutDirty = 1;
    MarkModified();
    Repaint();
}
