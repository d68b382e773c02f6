#pragma once
#include "platform/gdi/DeviceContext.h"
#include "render/PlotEnv.h"

class CPlotAxis;

// What the regions need to draw themselves during one paint: the device, the drawing
// environment and the plot-wide values that are not theirs. The plot model fills it in at the
// start of each paint and passes it down.
struct CPlotPaintContext {
    CPlotPaintContext(gdi::IDeviceContext& dc, CPlotEnv& env) : dc(dc), env(env) {}

    gdi::IDeviceContext& dc;
    CPlotEnv& env;
    gdi::ColorRef foreColor = 0;        // the control's ForeColor
    gdi::ColorRef backColor = 0xFFFFFF; // the control's BackColor
    int highlightMode = 0;              // the control's highlight period (SetHighlightMode)
    bool containerImage = false;        // drawing for the container's cached picture
    bool axesOnly = false;              // live update: only the axes and the curves
    int keyFlags = 0;                   // the modifier keys (ui::Modifier) of a key handled

    // Plot-wide values the regions read.
    int triKind = 0;
    float triGridInterval = 0.1f;
    const CPlotAxis* horizontal = nullptr; // the axis along the bottom
    const CPlotAxis* vertical = nullptr;   // the first Y axis (the X axis when flipped)
    const CPlotAxis* secondY = nullptr;    // the second Y axis, when there is one

    // The plot's flags the drawing region reads, set by the model before curves are drawn.
    int runPlot = 0, phasePlot = 0, flipped = 0;
    int gridType = 0, zeroLine = 0, diagonalLine = 0;
    int markerSize = 4, markerInterval = 1;
    double displayStart = 0; // run plots: the time at the start of the time window

    bool IsPrinter() const { return dc.Kind() == gdi::DeviceKind::Printer; }
    bool IsMetafile() const { return dc.Kind() == gdi::DeviceKind::Metafile; }
    bool IsScreen() const { return !IsPrinter() && !IsMetafile(); }
};
