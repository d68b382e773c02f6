#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

// What the plot model needs of the control that owns it: the property values it reads and the
// ones a mode change writes back, the edit log, the window's scroll bars and pop-up text, and
// the control's commands. The model knows the control only through this interface.
class IPlotHost {
public:
    virtual ~IPlotHost() = default;

    // Property values the model reads.
    virtual const std::string& Title() const = 0;
    virtual float TimeWindow() const = 0;
    virtual float TimeScrollUnit() const = 0;
    virtual int BufferSize() const = 0;
    virtual int NPoints() const = 0;
    virtual int NVariables() const = 0;
    virtual int NXVariables() const = 0;
    virtual bool AlwaysShowFull() const = 0;
    virtual bool RunPlot() const = 0;
    virtual int PlotType() const = 0;
    virtual char DecimalSeparator() const = 0;
    // The most samples the plot may hold over all its variables; a request beyond it is
    // refused before anything is allocated.
    virtual std::int64_t SampleBudget() const = 0;

    // Property values a mode change forces. The model is then their source: it sets its own
    // field and writes the property back here in the same call (docs/design.md).
    virtual void SetDisplayTypeValue(int value) = 0;
    virtual void SetMarkerIntervalValue(int value) = 0;
    virtual void SetTimeWindowValue(float value) = 0;
    virtual void SetTimeScrollUnitValue(float value) = 0;
    virtual void SetSquarePlotValue(bool value) = 0;
    virtual void SetShowLegendValue(bool value) = 0;
    virtual void SetRunPlotValue(bool value) = 0;

    // A line for the edit log, when one is open.
    virtual void WriteLog(const std::string& line) = 0;
    // The scroll bars show the visible part of the axes again.
    virtual void RefreshScrollBars() = 0;
    // The pop-up text window shows text with its top-left corner at the client point x, y.
    virtual void ShowPopupText(const std::string& /*text*/, int /*x*/, int /*y*/) {}
    // A diagnostic line of the drawing code (it ends in a newline); it never belongs in the
    // host's answers, so by default it goes to standard error.
    virtual void ReportDiagnostic(const std::string& line) { std::fputs(line.c_str(), stderr); }
    // A command of the control's context menus runs (a key the model handles asks for one).
    virtual void RunCommand(int /*command*/) {}
    // A host plot object became the selected one (selected true) or stopped being it, or was
    // deleted (selected false).
    virtual void ObjectSelected(int /*objectId*/, bool /*selected*/) {}
};
