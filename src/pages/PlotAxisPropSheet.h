#pragma once
#include "pages/PlotFontPage.h"
#include "pages/PlotPropSheet.h"

#include <string>
#include <vector>

// One axis as the "Coordinate" page edits it. The range and interval are in data units; the
// page shows them times the multiplier's factor.
struct AxisScaleSetting {
    int axisNo = 0;        // 0 the X axis, 1..n the Y axes
    int scaleType = 0;     // 0 linear, 1 log, 2 inverse, 3 probability
    bool lockGrid = false; // the grid interval is used as given
    bool resetRange = false;
    bool descends = false;
    int multiplier = 0;
    double low = 0, high = 1;
    double interval = 0;              // the grid interval; 0 for automatic
    double dataLow = 0, dataHigh = 0; // "Value Range", shown only
    bool rangeTaken = true;           // after apply: low and high make a range to set
    bool operator==(const AxisScaleSetting&) const = default;
};

// The time axis of a run plot as the "Time Axis" page edits it.
struct TimeAxisSetting {
    bool lockGrid = false;
    int multiplier = 0;
    int multiplierType = 0; // 0 exponential (base 10), 1 literal
    double low = 0, high = 1;
    double interval = 0;
    double dataLow = 0, dataHigh = 0;
    double timeWindow = 1;    // the control's TimeWindow; after apply the window to set
    double scrollUnit = 0;    // the control's TimeScrollUnit; after apply the unit to set
    bool windowTaken = false; // after apply: the window changed
    bool rangeTaken = false;  // after apply: low and high make a range to set
    bool operator==(const TimeAxisSetting&) const = default;
};

// What the axis sheet edits: the time axis of a run plot, or one or several other axes, and
// the axis scale font.
struct AxisSheetSetting {
    bool timeAxis = false;
    TimeAxisSetting time;
    std::vector<AxisScaleSetting> axes; // several when opened for the whole Y axis set
    FontSetting font;
};

// The grid interval rule of the axis pages: the interval the user typed against the range
// low..high, both already divided by the multiplier's factor. An interval wider than the
// range is cut to it; one that differs from the axis's current interval locks the grid; one
// that gives more than 50 intervals is not taken.
struct GridInterval {
    double interval = 0; // the interval to keep
    bool cut = false;    // cut to the range: the page shows it again
    bool lock = false;   // the grid becomes locked
    static GridInterval Apply(double typed, double low, double high, double current, bool locked);
};

// The "Plot Axis Scale Setting" sheet: "Time Axis" for the time axis of a run plot, else
// "Coordinate", then the font page.
class CPlotAxisPropSheet : public CPlotPropSheet {
public:
    static constexpr char kCaption[] = "Plot Axis Scale Setting";

    CPlotAxisPropSheet(const AxisSheetSetting& setting, ui::IWindowSite& site);
    const AxisSheetSetting& Setting() const { return setting_; }

private:
    AxisSheetSetting setting_;
};
