// The typed front: checks what comes in, then calls the control's members and the model's
// operations, the same code the automation interface runs.
#include "front/PlotImpl.h"

#include "render/MissingValue.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <string>

namespace trendix {

namespace {

constexpr int kMaxCount = 32767; // variables and axes count in 16 bits
constexpr int kStartWidth = 400; // the size of a new control
constexpr int kStartHeight = 310;
constexpr int kMaxMultiplier = 30;                               // the labels' power of ten
constexpr double kMaxWindow = std::numeric_limits<float>::max(); // time spans are singles

[[noreturn]] void Refuse(const std::string& message) {
    throw Error(Error::kInvalidArgument, message);
}

[[noreturn]] void WrongMode(const std::string& message) {
    throw Error(Error::kWrongMode, message);
}

// Runs a call of the control or the model, turning their refusals into trendix::Error.
template <class Call>
auto Guarded(Call&& call) -> decltype(call()) {
    try {
        return call();
    } catch (const com::DispatchError& e) {
        throw Error(e.hr(), e.what());
    } catch (const std::bad_alloc&) {
        throw Error(Error::kOutOfMemory, "not enough memory for the plot's data");
    }
}

void CheckIndex(const char* what, int index, int low, int high) {
    if (index < low || index > high)
        Refuse(std::string(what) + " " + std::to_string(index) + " is out of range " +
               std::to_string(low) + ".." + std::to_string(high));
}

void CheckFinite(const char* what, double value) {
    if (!std::isfinite(value)) Refuse(std::string(what) + " must be a finite number");
}

void CheckSeries(const char* what, std::span<const double> values) {
    if (values.empty()) Refuse(std::string(what) + " is empty");
}

// Missing samples leave the front as NaN.
double Readable(double v) {
    return IsMissing(v) ? std::numeric_limits<double>::quiet_NaN() : v;
}

// The variable whose slots order the samples of v: in a live plot the time variable.
const CPlotVar* ClockOf(CPlotLook& m, const CPlotVar& v) {
    return (m.runPlotActive || m.phasePlotActive) && v.ringMode ? m.XVar(0) : nullptr;
}

std::size_t LengthOf(CPlotLook& m, const CPlotVar& v) {
    const CPlotVar* clock = ClockOf(m, v);
    return clock && clock->capacity == v.capacity ? clock->ReadableCount() : v.ReadableCount();
}

std::size_t CopyReadable(CPlotLook& m, const CPlotVar& v, std::span<double> out) {
    const std::size_t n = LengthOf(m, v);
    if (out.size() < n)
        Refuse("the buffer holds " + std::to_string(out.size()) + " values, the variable " +
               std::to_string(n));
    v.CopyInOrder(out.first(n), ClockOf(m, v));
    std::transform(out.begin(), out.begin() + std::ptrdiff_t(n), out.begin(), Readable);
    return n;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Behind the front

Plot::Impl::Impl(int width, int height)
    : site_(std::make_unique<ui::HeadlessSite>()), owned_(std::make_unique<CTrendixCtrl>(*site_)),
      control_(owned_.get()) {
    control_->OnSize(width, height);
}

Plot::Impl::Impl(CTrendixCtrl& borrowed) : control_(&borrowed) {}

Plot::Plot() : impl_(std::make_unique<Impl>(kStartWidth, kStartHeight)) {}
Plot::Plot(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Plot::~Plot() = default;
Plot::Plot(Plot&&) noexcept = default;
Plot& Plot::operator=(Plot&&) noexcept = default;

// The checks every member makes on the numbers it is given.
namespace {

void CheckVariable(CPlotLook& m, int variable) {
    CheckIndex("Y variable", variable, 1, m.NYVars());
}

void CheckXVariable(CPlotLook& m, int xVariable) {
    CheckIndex("X variable", xVariable, 1, m.NXVars());
}

void CheckAxis(CPlotLook& m, int axis) {
    CheckIndex("axis", axis, 0, m.NYAxes());
}

void CheckLive(CPlotLook& m) {
    if (!m.runPlotActive) WrongMode("samples need a live plot: call setLive(true) first");
}

void CheckNotLive(CPlotLook& m) {
    if (m.runPlotActive || m.phasePlotActive)
        WrongMode("series need a plot that is not live: call setLive(false) first");
}

// The variables firstVariable.. take count samples per time step.
void CheckColumns(CPlotLook& m, int firstVariable, std::size_t count) {
    CheckVariable(m, firstVariable);
    const std::size_t last = std::size_t(firstVariable) - 1 + count;
    if (last > std::size_t(m.NYVars()))
        Refuse(std::to_string(count) + " values per time step from variable " +
               std::to_string(firstVariable) + " reach past the plot's " +
               std::to_string(m.NYVars()) + " variables");
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Plot kind and modes

void Plot::setKind(PlotKind kind) {
    CheckIndex("plot kind", int(kind), int(PlotKind::XY), int(PlotKind::TriangularRight));
    Guarded([&] { impl_->control().SetPlotType(std::int16_t(kind)); });
}

PlotKind Plot::kind() const {
    return PlotKind(impl_->control().GetPlotType());
}

void Plot::setLive(bool live) {
    Guarded([&] { impl_->control().SetRunPlot(live); });
}

bool Plot::live() const {
    return impl_->control().GetRunPlot();
}

void Plot::setTimeWindow(double span) {
    if (!(span > 0) || !(span <= kMaxWindow)) Refuse("the time window must be positive");
    Guarded([&] { impl_->control().SetTimeWindow(float(span)); });
}

double Plot::timeWindow() const {
    return impl_->control().GetTimeWindow();
}

void Plot::setTimeScrollUnit(double step) {
    if (!(step > 0) || !(step <= kMaxWindow)) Refuse("the scroll unit must be positive");
    Guarded([&] { impl_->control().SetTimeScrollUnit(float(step)); });
}

double Plot::timeScrollUnit() const {
    return impl_->control().GetTimeScrollUnit();
}

void Plot::setBufferSize(int samples) {
    CheckIndex("buffer size", samples, 1, CTrendixCtrl::kMaxBufferSize);
    Guarded([&] { impl_->control().SetBufferSize(samples); });
}

int Plot::bufferSize() const {
    return impl_->control().GetBufferSize();
}

void Plot::setVariableCount(int count) {
    CheckIndex("variable count", count, 1, kMaxCount);
    Guarded([&] { impl_->control().Setnvariables(std::int16_t(count)); });
}

int Plot::variableCount() const {
    return impl_->model().NYVars();
}

void Plot::setXVariableCount(int count) {
    CheckIndex("X variable count", count, 1, kMaxCount);
    Guarded([&] { impl_->control().Setnxvariables(std::int16_t(count)); });
}

int Plot::xVariableCount() const {
    return impl_->model().NXVars();
}

void Plot::setXVariableOf(int variable, int xVariable) {
    CheckVariable(impl_->model(), variable);
    CheckXVariable(impl_->model(), xVariable);
    Guarded(
        [&] { impl_->control().SetXVariable(std::int16_t(variable), std::int16_t(xVariable)); });
}

int Plot::xVariableOf(int variable) const {
    CheckVariable(impl_->model(), variable);
    return impl_->model().GetXVariable(variable);
}

void Plot::setDisplay(DisplayKind display) {
    CheckIndex("display kind", int(display), int(DisplayKind::Lines),
               int(DisplayKind::LinesAndMarkers));
    Guarded([&] { impl_->control().SetDisplayType(std::int16_t(display)); });
}

DisplayKind Plot::display() const {
    return DisplayKind(impl_->control().GetDisplayType());
}

void Plot::setShowLegend(bool show) {
    Guarded([&] { impl_->control().SetShowLegend(show); });
}

bool Plot::showLegend() const {
    return impl_->control().GetShowLegend();
}

// ---------------------------------------------------------------------------------------------
// Texts

void Plot::setTitle(const std::string& text) {
    Guarded([&] { impl_->control().SetTitle(text); });
}

std::string Plot::title() const {
    return impl_->control().GetTitle();
}

void Plot::setXLabel(const std::string& text) {
    Guarded([&] { impl_->control().Setxlabel(text); });
}

std::string Plot::xLabel() const {
    return impl_->control().Getxlabel();
}

void Plot::setYLabel(const std::string& text) {
    Guarded([&] { impl_->control().Setylabel(text); });
}

std::string Plot::yLabel() const {
    return impl_->control().Getylabel();
}

void Plot::setAxisLabel(int axis, const std::string& text) {
    CheckAxis(impl_->model(), axis);
    Guarded([&] { impl_->control().SetLabel(std::int16_t(axis), text); });
}

std::string Plot::axisLabel(int axis) const {
    CheckAxis(impl_->model(), axis);
    return Guarded([&] { return impl_->control().GetLabel(std::int16_t(axis)); });
}

// ---------------------------------------------------------------------------------------------
// Variables

void Plot::setVariableName(int variable, const std::string& name) {
    CheckVariable(impl_->model(), variable);
    Guarded([&] { impl_->control().SetVariable(std::int16_t(variable - 1), name); });
}

std::string Plot::variableName(int variable) const {
    CheckVariable(impl_->model(), variable);
    return Guarded([&] { return impl_->control().GetVariable(std::int16_t(variable - 1)); });
}

void Plot::setLegend(int variable, const std::string& text) {
    CheckVariable(impl_->model(), variable);
    Guarded([&] { impl_->control().SetLegend(std::int16_t(variable), text); });
}

std::string Plot::legend(int variable) const {
    CheckVariable(impl_->model(), variable);
    return Guarded([&] { return impl_->control().GetLegend(std::int16_t(variable)); });
}

void Plot::setCurveStyle(int variable, const CurveStyle& style) {
    CheckVariable(impl_->model(), variable);
    CheckIndex("colour", style.color, 0, kMaxCount);
    CheckIndex("line type", style.lineType, 0, kMaxCount);
    CheckIndex("marker", style.marker, 0, kMaxCount);
    Guarded([&] {
        impl_->control().SetAttribute(std::int16_t(variable - 1), std::int16_t(style.lineType),
                                      std::int16_t(style.marker), std::int16_t(style.color));
    });
}

CurveStyle Plot::curveStyle(int variable) const {
    CheckVariable(impl_->model(), variable);
    std::int16_t type = 0, marker = 0, color = 0;
    impl_->control().GetAttribute(std::int16_t(variable - 1), type, marker, color);
    return {color, type, marker};
}

void Plot::setAxisOf(int variable, int axis) {
    CPlotLook& m = impl_->model();
    CheckVariable(m, variable);
    CheckIndex("axis", axis, 0, m.NYVars());
    if (impl_->control().GetFlipped()) WrongMode("a flipped plot keeps its axis map");
    Guarded([&] {
        CTrendixCtrl& c = impl_->control();
        c.SetAxisMap(std::int16_t(variable - 1), std::int16_t(axis));
        c.SetAxisMap(-1, 0); // the new map takes effect at once
    });
}

int Plot::axisOf(int variable) const {
    CheckVariable(impl_->model(), variable);
    return impl_->model().GetAxisMap(variable - 1);
}

// ---------------------------------------------------------------------------------------------
// Axes

int Plot::yAxisCount() const {
    return impl_->model().NYAxes();
}

void Plot::setRange(int axis, Range range) {
    CheckAxis(impl_->model(), axis);
    CheckFinite("the low bound", range.low);
    CheckFinite("the high bound", range.high);
    Guarded([&] { impl_->control().SetRange(std::int16_t(axis), range.low, range.high); });
}

Range Plot::range(int axis) const {
    CheckAxis(impl_->model(), axis);
    Range r;
    impl_->control().GetRange(std::int16_t(axis), r.low, r.high);
    return r;
}

Range Plot::shownRange(int axis) const {
    CheckAxis(impl_->model(), axis);
    // The range the next drawing shows: the scales are brought up to date first, where the
    // automation member answers the range as last drawn.
    impl_->model().UpdateAxisScales();
    Range r;
    impl_->control().GetAxisRange(std::int16_t(axis), r.low, r.high);
    return r;
}

void Plot::setScale(int axis, ScaleKind scale) {
    CheckAxis(impl_->model(), axis);
    CheckIndex("scale kind", int(scale), int(ScaleKind::Linear), int(ScaleKind::Probability));
    Guarded([&] {
        impl_->control().SetScale(std::int16_t(axis), std::int16_t(scale));
        impl_->control().RequestRepaint();
    });
}

ScaleKind Plot::scale(int axis) const {
    CheckAxis(impl_->model(), axis);
    return ScaleKind(impl_->control().GetScale(std::int16_t(axis)));
}

void Plot::setMultiplier(int axis, int multiplier) {
    CheckAxis(impl_->model(), axis);
    CheckIndex("multiplier", multiplier, -kMaxMultiplier, kMaxMultiplier);
    Guarded([&] { impl_->control().SetMultiplier(std::int16_t(axis), std::int16_t(multiplier)); });
}

int Plot::multiplier(int axis) const {
    CheckAxis(impl_->model(), axis);
    return impl_->control().GetMultiplier(std::int16_t(axis));
}

// ---------------------------------------------------------------------------------------------
// Series of any length

void Plot::setSeries(int variable, std::span<const double> xs, std::span<const double> ys) {
    CPlotLook& m = impl_->model();
    CheckVariable(m, variable);
    CheckNotLive(m);
    CheckSeries("the X series", xs);
    CheckSeries("the Y series", ys);
    if (xs.size() != ys.size())
        Refuse("the X series has " + std::to_string(xs.size()) + " values, the Y series " +
               std::to_string(ys.size()));
    if (!Guarded([&] { return m.SetSeries(variable, xs, ys); }))
        Refuse("the series is too long for one variable");
    impl_->control().RequestRepaint();
}

void Plot::setXValues(int xVariable, std::span<const double> xs) {
    CPlotLook& m = impl_->model();
    CheckXVariable(m, xVariable);
    CheckNotLive(m);
    CheckSeries("the X series", xs);
    if (!Guarded([&] { return m.SetXSeries(xVariable, xs); }))
        Refuse("the series is too long for one variable");
    impl_->control().RequestRepaint();
}

void Plot::setYValues(int variable, std::span<const double> ys) {
    CPlotLook& m = impl_->model();
    CheckVariable(m, variable);
    CheckNotLive(m);
    CheckSeries("the Y series", ys);
    if (!Guarded([&] { return m.SetYSeries(variable, ys); }))
        Refuse("the series is too long for one variable");
    impl_->control().RequestRepaint();
}

std::size_t Plot::xLength(int xVariable) const {
    CheckXVariable(impl_->model(), xVariable);
    return LengthOf(impl_->model(), *impl_->model().XVar(xVariable - 1));
}

std::size_t Plot::yLength(int variable) const {
    CheckVariable(impl_->model(), variable);
    return LengthOf(impl_->model(), *impl_->model().YVar(variable - 1));
}

std::size_t Plot::copyXValues(int xVariable, std::span<double> out) const {
    CheckXVariable(impl_->model(), xVariable);
    return CopyReadable(impl_->model(), *impl_->model().XVar(xVariable - 1), out);
}

std::size_t Plot::copyYValues(int variable, std::span<double> out) const {
    CheckVariable(impl_->model(), variable);
    return CopyReadable(impl_->model(), *impl_->model().YVar(variable - 1), out);
}

std::vector<double> Plot::xValues(int xVariable) const {
    std::vector<double> values(xLength(xVariable));
    copyXValues(xVariable, values);
    return values;
}

std::vector<double> Plot::yValues(int variable) const {
    std::vector<double> values(yLength(variable));
    copyYValues(variable, values);
    return values;
}

// ---------------------------------------------------------------------------------------------
// Live data

void Plot::addSample(int variable, double time, double value) {
    CPlotLook& m = impl_->model();
    CheckVariable(m, variable);
    CheckLive(m);
    CheckFinite("the time", time);
    Guarded([&] { impl_->control().AddTimeData(std::int16_t(variable), time, value); });
}

void Plot::addSamples(double time, std::span<const double> values, int firstVariable) {
    appendBlock(std::span<const double>(&time, 1), values, firstVariable);
}

void Plot::appendBlock(std::span<const double> times, std::span<const double> values,
                       int firstVariable) {
    CPlotLook& m = impl_->model();
    CheckSeries("the block's times", times);
    CheckSeries("the block's values", values);
    if (values.size() % times.size() != 0)
        Refuse(std::to_string(values.size()) + " values do not make whole rows for " +
               std::to_string(times.size()) + " times");
    CheckColumns(m, firstVariable, values.size() / times.size());
    CheckLive(m);
    if (!std::all_of(times.begin(), times.end(), [](double t) { return std::isfinite(t); }))
        Refuse("every time of the block must be a finite number");
    Guarded([&] { impl_->control().AddTimeBlock(times, values, firstVariable); });
}

void Plot::rewind(double startTime) {
    CheckFinite("the start time", startTime);
    Guarded([&] { impl_->control().RewindTimeData(startTime); });
}

// ---------------------------------------------------------------------------------------------
// View

void Plot::zoomIn() {
    Guarded([&] { impl_->control().Zoom(1); });
}

void Plot::zoomOut() {
    Guarded([&] { impl_->control().Zoom(2); });
}

void Plot::zoomFull() {
    Guarded([&] { impl_->control().Zoom(3); });
}

void Plot::redraw() {
    Guarded([&] { impl_->control().Redraw(); });
}

void Plot::setSize(int width, int height) {
    if (!impl_->OwnsWindow()) WrongMode("a widget's plot takes the size of the widget");
    CheckIndex("width", width, 1, kMaxCount);
    CheckIndex("height", height, 1, kMaxCount);
    Guarded([&] { impl_->control().OnSize(width, height); });
}

int Plot::width() const {
    return impl_->control().PlotWidth();
}

int Plot::height() const {
    return impl_->control().PlotHeight();
}

// ---------------------------------------------------------------------------------------------
// Settings text and reset

std::string Plot::settings() const {
    return Guarded([&] { return impl_->control().GetSettings(); });
}

void Plot::setSettings(const std::string& text) {
    Guarded([&] { impl_->control().SetSettings(text); });
}

void Plot::clear() {
    Guarded([&] { impl_->control().Clear(); });
}

} // namespace trendix
