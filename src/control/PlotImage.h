#pragma once
#include "annot/PlotObj.h"
#include "control/PlotSettings.h"
#include "render/PlotVar.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The binary image of a plot: the whole plot as one archive, written by Copy and by the
// embedded object and read back by Paste. Encode and Decode handle the bytes only; the
// control captures its state into Content and applies a decoded Content (TrendixImage.cpp).
//
// The archive holds, in this order: a signature and format number, the persisted property
// set, the phase-plot flag, the control's width and height, the substitution string, the plot
// settings (axes, attributes, fonts, legend and text annotations, as the settings text writes
// them), the per-variable texts and numbers (every label with its substitution value, and each
// Y variable's name, axis, X variable and hidden flag), the host plot objects (the numbering of
// their IDs, every text annotation, hidden ones included, and the objects), the symbols, the
// annotation shapes, the scrolled flag, the data and axis range of each axis, and the sample buffer
// of each X and Y variable.
//
// Decode treats the bytes as untrusted: every count and length is checked against what
// remains, and anything that does not fit throws CByteReader::Malformed before the plot is
// touched.
class CPlotImage {
public:
    struct Symbol {
        std::string name, value;
    };
    // An axis's ranges and intervals, in the order of CPlotAxis: data, full, requested,
    // working and drawn range, the interval and the last interval chosen.
    using AxisRanges = std::array<double, 12>;
    // An axis as its scale was last computed: the ranges, whether the scale must be computed
    // again, and the tick list of that computation.
    struct Axis {
        AxisRanges ranges{};
        bool scaleDirty = true;
        std::vector<double> ticks;
    };
    // The texts of a label, legend or axis title.
    struct Label {
        std::string text, substitution;
    };
    // What a Y variable keeps beside its samples and attributes.
    struct Variable {
        std::string name;
        std::int32_t axisNo = 0, xVarNo = 0, hidden = 0;
    };
    // The model's modes that no property or setting carries, and what it must still recompute:
    // profile mode, hidden axes and labels, then the axis map, legend, scroll, data, range,
    // time scroll and axis range dirty flags.
    using ModelState = std::array<std::int32_t, 10>;
    // A text annotation as the settings text keeps it, and what that text leaves out.
    struct Annotation {
        CPlotSettings::Annotation record;
        bool hidden = false, timeStamp = false;
    };
    // A host object, and the fill of the curve a line or polygon is drawn as.
    struct HostObject {
        CPlotObj::Record record;
        std::int32_t fill = 0;
    };
    // Where the numbering of object IDs stands, the annotations the texts refer to by index,
    // and the objects in creation order.
    struct HostObjects {
        std::int32_t nextNumber = 0;
        bool numbersWrapped = false;
        std::vector<Annotation> annotations;
        std::vector<HostObject> objects;
    };
    struct Content {
        std::vector<std::uint8_t> propertySet;
        bool phasePlot = false;
        std::int32_t width = 0, height = 0;
        std::string substitution;
        std::string settings;
        // Every label of the plot in the order the control walks them, and the Y variables.
        std::vector<Label> labels;
        std::vector<Variable> variables;
        ModelState modelState{};
        HostObjects hostObjects;
        std::vector<Symbol> symbols;
        // The annotation shapes and paths as their own record (annot/ShapeRecord.h); Decode
        // reads it through once, so a record it lets in makes its shapes.
        std::vector<std::uint8_t> shapes;
        bool scrolled = false;
        std::vector<Axis> axes;
        std::vector<CPlotVar::Buffer> xVariables, yVariables;
    };

    // The signature an image starts with, and its format number.
    static constexpr std::uint32_t kSignature = 0x49585254; // "TRXI"
    static constexpr std::uint32_t kFormat = 2;
    // The most variables and axes an image may name: the 16-bit numbering of the interface.
    static constexpr std::uint32_t kMaxItems = 32767;
    // Host object IDs up to this one name built-in parts of the plot.
    static constexpr std::int32_t kLastBuiltInId = 9;
    // The slots of an axis's tick list: the longest list and its closing 0.
    static constexpr std::size_t kTickSlots = 18;

    static std::vector<std::uint8_t> Encode(const Content& content);
    static Content Decode(std::span<const std::uint8_t> image);
};
