#pragma once
/// @file
/// The typed C++ front of one plot: no Qt types, no internal headers.

#include <trendix/Error.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

/// The typed C++ front of the Trendix plotting control.
namespace trendix {

/// What the plot draws its Y variables as.
enum class PlotKind {
    XY = 0,              ///< curves of points, or time plots when live
    Bar = 1,             ///< bar series
    Triangular = 2,      ///< triangular composition plot, equilateral
    TriangularRight = 3, ///< triangular composition plot, right-angled
};

/// How an axis maps values to positions.
enum class ScaleKind {
    Linear = 0,
    Logarithmic = 1,
    Reciprocal = 2,
    Probability = 3,
};

/// Whether curves are drawn as lines, markers or both.
enum class DisplayKind {
    Lines = 0,
    Markers = 1,
    LinesAndMarkers = 2,
};

/// The drawing attributes of one curve, as indices into the control's colour, line-style and
/// marker tables.
struct CurveStyle {
    int color = 0;
    int lineType = 0;
    int marker = 0;
    bool operator==(const CurveStyle&) const = default;
};

/// A pair of axis bounds.
struct Range {
    double low = 0;
    double high = 0;
    bool operator==(const Range&) const = default;
};

/// One plot: the control and its plot model, driven through typed members.
///
/// Numbering is the same in every member: Y variables count from 1, X variables count from 1,
/// and axis 0 is the X axis while axes 1, 2, ... are the Y axes. An index out of range, spans
/// of different lengths and an empty series raise trendix::Error and leave the plot as it
/// was. NaN and infinite sample values are stored as missing: they are not drawn, and they
/// read back as NaN.
///
/// A plot made with the default constructor has no window: it is drawn into files
/// (trendix/Image.h) and has the size setSize() gives it (400 x 310 at first). A
/// TrendixWidget owns a plot of its own, shown in the widget (TrendixWidget::plot()).
class Plot {
public:
    /// A plot without a window, 400 x 310 pixels.
    Plot();
    ~Plot();
    Plot(const Plot&) = delete;
    Plot& operator=(const Plot&) = delete;
    Plot(Plot&&) noexcept;
    Plot& operator=(Plot&&) noexcept;

    /// @name Plot kind and modes
    /// @{
    void setKind(PlotKind kind);
    PlotKind kind() const;
    /// A live plot is a time plot fed with samples (addSample(), appendBlock()); its
    /// variables are rings of bufferSize() samples, and switching discards the samples.
    void setLive(bool live);
    bool live() const;
    /// The time span a live plot shows, and the step by which it scrolls.
    void setTimeWindow(double span);
    double timeWindow() const;
    void setTimeScrollUnit(double step);
    double timeScrollUnit() const;
    /// The samples a live plot keeps per variable: 1 to 16,777,216.
    void setBufferSize(int samples);
    int bufferSize() const;
    /// The number of Y variables, 1 to 32,767.
    void setVariableCount(int count);
    int variableCount() const;
    /// The number of X variables, 1 to 32,767.
    void setXVariableCount(int count);
    int xVariableCount() const;
    /// Which X variable Y variable `variable` is drawn against.
    void setXVariableOf(int variable, int xVariable);
    int xVariableOf(int variable) const;
    void setDisplay(DisplayKind display);
    DisplayKind display() const;
    void setShowLegend(bool show);
    bool showLegend() const;
    /// @}

    /// @name Texts
    /// @{
    void setTitle(const std::string& text);
    std::string title() const;
    void setXLabel(const std::string& text);
    std::string xLabel() const;
    void setYLabel(const std::string& text);
    std::string yLabel() const;
    /// The label of an axis: 0 the X axis, 1.. the Y axes.
    void setAxisLabel(int axis, const std::string& text);
    std::string axisLabel(int axis) const;
    /// @}

    /// @name Variables
    /// @{
    /// The host's name for a Y variable ("Var. n" at first); it is the legend while the legend
    /// is empty.
    void setVariableName(int variable, const std::string& name);
    std::string variableName(int variable) const;
    void setLegend(int variable, const std::string& text);
    std::string legend(int variable) const;
    void setCurveStyle(int variable, const CurveStyle& style);
    CurveStyle curveStyle(int variable) const;
    /// The Y axis a variable is drawn against; 0 hides it. Axes are made as needed.
    void setAxisOf(int variable, int axis);
    int axisOf(int variable) const;
    /// @}

    /// @name Axes
    /// @{
    int yAxisCount() const;
    /// Fixes the range of an axis (the bounds are ordered; equal bounds change nothing).
    void setRange(int axis, Range range);
    /// The range of an axis: the one fixed, or else that of its data as the last drawing (or
    /// live sample) found it.
    Range range(int axis) const;
    /// The range the axis is drawn with at the next paint: after zooming and scrolling, and
    /// rounded to its ticks.
    Range shownRange(int axis) const;
    void setScale(int axis, ScaleKind scale);
    ScaleKind scale(int axis) const;
    /// The axis labels show values divided by 10^multiplier.
    void setMultiplier(int axis, int multiplier);
    int multiplier(int axis) const;
    /// @}

    /// @name Series of any length (plots that are not live)
    /// Series are copied: the spans may go away after the call.
    /// @{
    /// Y variable `variable` and its X variable (see setXVariableOf()) take exactly xs and ys.
    /// The X variable is shared by every Y variable drawn against it.
    void setSeries(int variable, std::span<const double> xs, std::span<const double> ys);
    /// X variable `xVariable` takes exactly xs.
    void setXValues(int xVariable, std::span<const double> xs);
    /// Y variable `variable` takes exactly ys.
    void setYValues(int variable, std::span<const double> ys);
    /// The samples of an X or Y variable. In a live plot: the times and, for each of them, the
    /// variable's value, oldest first (every Y variable has the length of the times).
    /// Missing samples read as NaN.
    std::vector<double> xValues(int xVariable) const;
    std::vector<double> yValues(int variable) const;
    /// The same into a buffer of at least the length given by xLength() or yLength(); answers
    /// the number written.
    std::size_t copyXValues(int xVariable, std::span<double> out) const;
    std::size_t copyYValues(int variable, std::span<double> out) const;
    std::size_t xLength(int xVariable) const;
    std::size_t yLength(int variable) const;
    /// @}

    /// @name Live data (live plots)
    /// These calls allocate nothing.
    /// @{
    /// One sample of one variable at a time; samples of one time step share its time.
    void addSample(int variable, double time, double value);
    /// One time step: values[i] is the sample of variable firstVariable + i.
    void addSamples(double time, std::span<const double> values, int firstVariable = 1);
    /// A block of time steps: row r of values (row-major, values.size() / times.size()
    /// columns) holds the samples of variables firstVariable, firstVariable + 1, ... at
    /// times[r]. The time axis follows the block once, at its end.
    void appendBlock(std::span<const double> times, std::span<const double> values,
                     int firstVariable = 1);
    /// Forgets the samples from startTime on (all of them when the time is not found).
    void rewind(double startTime);
    /// @}

    /// @name View
    /// @{
    void zoomIn();
    void zoomOut();
    /// Every axis shows all its data again.
    void zoomFull();
    /// Draws the whole plot again at the next paint.
    void redraw();
    /// The size the plot is laid out for, in pixels (a widget's plot follows the widget).
    void setSize(int width, int height);
    int width() const;
    int height() const;
    /// @}

    /// @name Settings text and reset
    /// @{
    /// The whole plot as the settings text; setSettings() reads it back.
    std::string settings() const;
    void setSettings(const std::string& text);
    /// Back to one variable and no data, as the automation's Clear: the plot kind, the live
    /// mode and the other properties stay.
    void clear();
    /// @}

    /// The parts behind the front; not for hosts.
    struct Impl;
    explicit Plot(std::unique_ptr<Impl> impl);
    Impl& impl() { return *impl_; }
    const Impl& impl() const { return *impl_; }

private:
    std::unique_ptr<Impl> impl_;
};

} // namespace trendix
