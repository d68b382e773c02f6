#include "render/DrawTool.h"

#include "platform/com/DispatchError.h"
#include "render/DrawTables.h"

#include <algorithm>

namespace {

constexpr gdi::ColorRef kRgbMask = 0xFFFFFF;

int ClampLineType(int lineType) {
    return lineType < 1 || lineType > DrawTables::kLineTypeCount ? 1 : lineType;
}

// Widths and dashes grow with the scale and are truncated to whole device units.
int Scaled(int n, float scale) {
    return std::max(1, static_cast<int>(static_cast<float>(n) * scale));
}

} // namespace

CDrawTool& CDrawTool::Instance() {
    static CDrawTool tool;
    return tool;
}

CDrawTool::CDrawTool() : colors_(DrawTables::kPalette.begin(), DrawTables::kPalette.end()) {
    fonts_.emplace_back("Times New Roman", 10, 0);
}

gdi::ColorRef CDrawTool::ColorAt(int index) const {
    if (index < 0 || index >= ColorCount())
        throw com::DispatchError::InvalidArg("Colour index " + std::to_string(index) +
                                             " is outside the colour table");
    return colors_[static_cast<std::size_t>(index)];
}

int CDrawTool::IndexOfColor(gdi::ColorRef rgb) {
    rgb &= kRgbMask;
    auto found = std::find(colors_.begin(), colors_.end(), rgb);
    if (found != colors_.end()) return static_cast<int>(found - colors_.begin());
    colors_.push_back(rgb);
    return ColorCount() - 1;
}

gdi::Pen CDrawTool::MakePen(gdi::ColorRef color, int lineType, bool scaled, float scale) {
    const DrawTables::LineType& type = DrawTables::kLineTypes[lineType - 1];
    gdi::Pen pen;
    pen.color = color;
    const bool styled = type.dashCount > 0;
    if (type.neverScaled || (scaled && styled)) {
        const float factor = type.neverScaled ? 1.0f : scale;
        pen.style = gdi::PenStyle::UserDash;
        pen.geometric = true;
        pen.width = type.neverScaled ? type.width : static_cast<int>(type.width * scale);
        pen.dashCount = type.dashCount;
        for (int i = 0; i < type.dashCount; ++i)
            pen.dashes[i] = Scaled(type.dashes[i], factor);
        return pen;
    }
    pen.style = type.screenStyle;
    pen.width = scaled ? static_cast<int>(type.width * scale) : type.width;
    return pen;
}

const CDrawPen& CDrawTool::Pen(int colorIndex, int lineType) {
    const gdi::ColorRef color = ColorAt(colorIndex);
    lineType = ClampLineType(lineType);
    const float scale = scaled_ ? scale_ : 1.0f;
    if (havePen_ && pen_.color == color && pen_.lineType == lineType && pen_.scaled == scaled_ &&
        pen_.scale == scale)
        return pen_;
    pen_ = CDrawPen{MakePen(color, lineType, scaled_, scale), color, lineType, scaled_, scale};
    havePen_ = true;
    ++penCreations_;
    return pen_;
}

const CDrawBrush& CDrawTool::Brush(int colorIndex, int hatch, bool metafileTarget) {
    const gdi::ColorRef color = ColorAt(colorIndex);
    if (hatch < 0 || hatch > DrawTables::kHatchCount) hatch = 0;
    // On paper a hatch keeps its size: each pattern bit covers (int)s device units.
    const int patternScale =
        hatch != 0 && scaled_ && scale_ > 1 && !metafileTarget ? static_cast<int>(scale_) : 1;
    if (haveBrush_ && brush_.color == color && brush_.hatch == hatch && brush_.scaled == scaled_ &&
        brush_.patternScale == patternScale)
        return brush_;
    gdi::Brush brush;
    brush.color = color;
    if (hatch != 0) {
        brush.style = gdi::BrushStyle::Pattern;
        brush.pattern = DrawTables::kHatches[static_cast<std::size_t>(hatch - 1)];
        brush.patternScale = patternScale;
    }
    brush_ = CDrawBrush{brush, color, hatch, scaled_, patternScale};
    haveBrush_ = true;
    ++brushCreations_;
    return brush_;
}

const CPlotFont& CDrawTool::FindFont(const std::string& face, int size, int angle, int style) {
    for (const CPlotFont& f : fonts_)
        if (f.size == size && f.angle == angle && f.style == style && f.face == face) return f;
    CPlotFont& made = fonts_.emplace_back(face, size, style);
    made.angle = angle;
    return made;
}

const CPlotFont& CDrawTool::DeriveFont(const CPlotFont& font, int sizeDelta, int angleDelta) {
    const int size = std::max(1, font.size + sizeDelta);
    const int angle = ((font.angle + angleDelta) % 360 + 360) % 360;
    return FindFont(font.face, size, angle, font.style);
}

gdi::Font CDrawTool::DeviceFont(const CPlotFont& font) {
    return gdi::Font{font.face, gdi::PixelHeightFromPoints(font.size), font.angle, font.style};
}

void CDrawTool::SetScaledOutput(bool on, float scale) {
    scaled_ = on;
    scale_ = on ? scale : 1.0f;
}

void CDrawTool::SetCurrentLineType(int lineType) {
    // The toolbar offers the line types 1 to 7.
    currentLineType_ = std::clamp(lineType, 1, 7);
}

void CDrawTool::SetCurrentFont(std::string face, int size) {
    constexpr int kLargestSize = 30;
    currentFace_ = std::move(face);
    currentFontSize_ = std::clamp(size, 1, kLargestSize);
}
