#pragma once
#include "platform/gdi/GdiTypes.h"

#include <array>
#include <cstdint>

// The attribute numbers stored everywhere else (colour index, line type, hatch pattern,
// marker kind) and what they draw. Each table lives here and only here.
namespace DrawTables {

using gdi::Rgb;

// The colours every process starts with; indexes 18 and up are added while it runs.
inline constexpr std::array<gdi::ColorRef, 18> kPalette = {
    Rgb(0x00, 0x00, 0x00), // 0 black
    Rgb(0x00, 0x00, 0xFF), // 1 blue
    Rgb(0x00, 0x80, 0x00), // 2 green
    Rgb(0xFF, 0x00, 0x00), // 3 red
    Rgb(0xFF, 0x00, 0xFF), // 4 magenta
    Rgb(0x80, 0x80, 0x80), // 5 grey
    Rgb(0x00, 0xFF, 0xFF), // 6 cyan
    Rgb(0xC0, 0xC0, 0xC0), // 7 silver
    Rgb(0xFF, 0xFF, 0x00), // 8 yellow
    Rgb(0x00, 0x00, 0x80), // 9 navy
    Rgb(0x00, 0xFF, 0x00), // 10 lime
    Rgb(0x00, 0x80, 0x80), // 11 teal
    Rgb(0x80, 0x00, 0x00), // 12 maroon
    Rgb(0x80, 0x00, 0x80), // 13 purple
    Rgb(0x80, 0x80, 0x00), // 14 olive
    Rgb(0xFF, 0xFF, 0xFF), // 15 white
    Rgb(0xEB, 0xEB, 0xEB), // 16 light grey
    Rgb(0xFF, 0x80, 0x00), // 17 orange
};

// A line type: the pen on screen and in scaled output. Dashes are in device units and grow
// with the scale in scaled output unless the type is never scaled.
struct LineType {
    gdi::PenStyle screenStyle;
    int width;
    std::array<int, 4> dashes;
    int dashCount;
    bool neverScaled; // the same geometric pen on screen and in scaled output
};

inline constexpr int kLineTypeCount = 9;
inline constexpr std::array<LineType, kLineTypeCount> kLineTypes = {{
    {gdi::PenStyle::Solid, 1, {}, 0, false},             // 1
    {gdi::PenStyle::Dot, 1, {3, 3}, 2, false},           // 2 dotted
    {gdi::PenStyle::Dash, 1, {10, 5}, 2, false},         // 3 dashed
    {gdi::PenStyle::DashDot, 1, {6, 4, 2, 4}, 4, false}, // 4 dash-dot
    {gdi::PenStyle::Solid, 2, {}, 0, false},             // 5
    {gdi::PenStyle::Solid, 3, {}, 0, false},             // 6
    {gdi::PenStyle::Solid, 4, {}, 0, false},             // 7
    {gdi::PenStyle::Solid, 8, {}, 0, false},             // 8
    {gdi::PenStyle::UserDash, 2, {5, 5}, 2, true},       // 9
}};

// Hatch patterns 1..10: 8 x 8 rows from the top, most significant bit leftmost; 0 bits are
// drawn in the fill colour.
inline constexpr int kHatchCount = 10;
using Pattern = std::array<std::uint8_t, 8>;
inline constexpr std::array<Pattern, kHatchCount> kHatches = {{
    {0xEE, 0xDD, 0xBB, 0x77, 0xEE, 0xDD, 0xBB, 0x77}, // 1
    {0xEE, 0xEE, 0xEE, 0x00, 0xEE, 0xEE, 0xEE, 0x00}, // 2
    {0x77, 0xAA, 0xDD, 0xAA, 0x77, 0xAA, 0xDD, 0xAA}, // 3
    {0x77, 0xBB, 0xDD, 0xEE, 0x77, 0xBB, 0xDD, 0xEE}, // 4
    {0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0xFF}, // 5
    {0x99, 0x99, 0x99, 0x99, 0x99, 0x99, 0x99, 0x99}, // 6
    {0xFF, 0xEE, 0xFF, 0xFF, 0xFF, 0xEE, 0xFF, 0xFF}, // 7
    {0xBB, 0xEE, 0xBB, 0xEE, 0xBB, 0xEE, 0xBB, 0xEE}, // 8
    {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55}, // 9
    {0x00, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00}, // 10
}};

enum class MarkerShape : std::uint8_t {
    None,
    Circle,
    Square,
    Diamond,
    TriangleUp,
    TriangleDown,
    Plus
};

struct Marker {
    MarkerShape shape;
    bool filled;
};

// Marker kinds 0..11; other kinds draw nothing.
inline constexpr int kMarkerCount = 12;
inline constexpr std::array<Marker, kMarkerCount> kMarkers = {{
    {MarkerShape::None, false},
    {MarkerShape::Circle, false},
    {MarkerShape::Square, false},
    {MarkerShape::Diamond, false},
    {MarkerShape::TriangleUp, false},
    {MarkerShape::TriangleDown, false},
    {MarkerShape::Circle, true},
    {MarkerShape::Square, true},
    {MarkerShape::Diamond, true},
    {MarkerShape::TriangleUp, true},
    {MarkerShape::TriangleDown, true},
    {MarkerShape::Plus, false},
}};

} // namespace DrawTables
