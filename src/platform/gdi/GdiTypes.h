#pragma once
#include <array>
#include <cstdint>
#include <string>

// Values that cross the device-context interface: points, rectangles, colours and the
// descriptions of pens, brushes and fonts. All coordinates are device units (logical pixels).
namespace gdi {

// A colour as 0x00BBGGRR, the layout hosts pass through the automation interface.
using ColorRef = std::uint32_t;

constexpr ColorRef Rgb(unsigned r, unsigned g, unsigned b) {
    return (r & 0xFFu) | ((g & 0xFFu) << 8) | ((b & 0xFFu) << 16);
}
constexpr unsigned RedOf(ColorRef c) {
    return c & 0xFFu;
}
constexpr unsigned GreenOf(ColorRef c) {
    return (c >> 8) & 0xFFu;
}
constexpr unsigned BlueOf(ColorRef c) {
    return (c >> 16) & 0xFFu;
}

struct Point {
    int x = 0, y = 0;
    bool operator==(const Point&) const = default;
};

struct Size {
    int cx = 0, cy = 0;
    bool operator==(const Size&) const = default;
};

// Right and bottom edges are outside the rectangle.
struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(Point p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    bool operator==(const Rect&) const = default;
};

Rect Intersect(const Rect& a, const Rect& b);
bool Overlaps(const Rect& a, const Rect& b);

enum class PenStyle : std::uint8_t {
    Solid,
    Dot,     // cosmetic: 3 on, 3 off
    Dash,    // cosmetic: 18 on, 6 off
    DashDot, // cosmetic: 9 on, 6 off, 3 on, 6 off
    Null,
    UserDash, // geometric, dashes given in device units, round caps and joins
};

// A pen. Width 0 draws one device unit wide.
struct Pen {
    PenStyle style = PenStyle::Solid;
    int width = 1;
    ColorRef color = 0;
    bool geometric = false;      // round caps and joins
    std::array<int, 4> dashes{}; // on, off, on, off ... for UserDash
    int dashCount = 0;
    bool operator==(const Pen&) const = default;
};

enum class BrushStyle : std::uint8_t { Solid, Pattern, Null };

// A brush. A pattern brush is an 8 x 8 monochrome bitmap, rows from the top, the most
// significant bit leftmost: 0 bits take the text colour and 1 bits the background colour.
struct Brush {
    BrushStyle style = BrushStyle::Solid;
    ColorRef color = 0xFFFFFF;
    std::array<std::uint8_t, 8> pattern{};
    int patternScale = 1; // device units per pattern bit, each way
    bool operator==(const Brush&) const = default;
};

enum FontStyle : int { FontItalic = 1, FontBold = 2, FontUnderline = 4 };

// A font: face, character (em) height in device units, angle in degrees counter-clockwise
// and FontStyle bits.
struct Font {
    std::string face = "Times New Roman";
    int pixelHeight = 13;
    int angle = 0;
    int style = 0;
    bool operator==(const Font&) const = default;
};

// Logical pixels per inch of the drawing code's units.
inline constexpr int kLogicalDpi = 96;
// Em height in device units of a font of the given point size at kLogicalDpi.
int PixelHeightFromPoints(int points);

struct TextMetrics {
    int height = 0, ascent = 0, descent = 0;
};

// Text alignment flags: one horizontal, one vertical, optionally UpdateCP.
enum TextAlign : unsigned {
    AlignLeft = 0,
    AlignUpdateCP = 1,
    AlignRight = 2,
    AlignCenter = 6,
    AlignTop = 0,
    AlignBottom = 8,
    AlignBaseline = 24,
};
inline constexpr unsigned kHorizontalAlignMask = 6;
inline constexpr unsigned kVerticalAlignMask = 24;

enum class RasterOp : std::uint8_t { CopyPen, NotXorPen, MaskPen };
enum class BackgroundMode : std::uint8_t { Transparent, Opaque };
enum class DeviceKind : std::uint8_t { Screen, Memory, Printer, Metafile };

// The largest side of any window surface or picture, in device pixels: a surface of
// 8192 x 8192 holds 256 MiB. Larger sizes are refused where they come in.
inline constexpr int kMaxSurfaceSide = 8192;
inline constexpr char kMaxSurfaceSideText[] = "the largest window or picture side is 8192 pixels";

} // namespace gdi
