#pragma once
#include "platform/gdi/GdiTypes.h"
#include "render/PlotFont.h"

#include <deque>
#include <string>
#include <vector>

// A pen made for one colour and line type, and whether it was made for scaled output.
struct CDrawPen {
    gdi::Pen pen;
    gdi::ColorRef color = 0;
    int lineType = 1;
    bool scaled = false;
    float scale = 1;
};

// A brush made for one colour and hatch pattern (0 = solid).
struct CDrawBrush {
    gdi::Brush brush;
    gdi::ColorRef color = 0;
    int hatch = 0;
    bool scaled = false;
    int patternScale = 1;
};

// The drawing resources the whole process shares: the colour table, the last pen and brush
// made, the fonts made so far and the scaled-output state. There is one instance; it is the
// only mutable state shared between plots.
class CDrawTool {
public:
    static CDrawTool& Instance();

    CDrawTool();
    CDrawTool(const CDrawTool&) = delete;
    CDrawTool& operator=(const CDrawTool&) = delete;

    // Colour table. ColorAt raises the invalid-argument error for an index outside it.
    int ColorCount() const { return static_cast<int>(colors_.size()); }
    gdi::ColorRef ColorAt(int index) const;
    // Index of an RGB colour by its low 24 bits; appended when absent.
    int IndexOfColor(gdi::ColorRef rgb);

    // The cached pen for a colour index and line type (below 1 taken as 1), made anew when
    // the request differs from the last one in colour, type or scaling.
    const CDrawPen& Pen(int colorIndex, int lineType);
    // The cached brush for a colour index and hatch (0 solid, 1..10 patterns). Hatches are
    // stretched in scaled output above 1 unless the target is a metafile.
    const CDrawBrush& Brush(int colorIndex, int hatch, bool metafileTarget);
    int PenCreations() const { return penCreations_; }
    int BrushCreations() const { return brushCreations_; }

    // Font list: entries are made on request and never removed, so references stay valid.
    const CPlotFont& FindFont(const std::string& face, int size, int angle, int style);
    // size + sizeDelta (at least 1), angle + angleDelta normalised to 0..359.
    const CPlotFont& DeriveFont(const CPlotFont& font, int sizeDelta, int angleDelta);
    const CPlotFont& DefaultFont() const { return fonts_.front(); }
    std::size_t FontCount() const { return fonts_.size(); }
    // The device font of a font record: pixel height from points at 96 logical DPI.
    static gdi::Font DeviceFont(const CPlotFont& font);

    // The drawing toolbar's choices for new shapes: the tool command picked (0 none), the
    // colour (0: the shape's own default), the line type (1..7), the marker kind and the face
    // and size of text shapes.
    int CurrentTool() const { return currentTool_; }
    void SetCurrentTool(int command) { currentTool_ = command; }
    gdi::ColorRef CurrentColor() const { return currentColor_; }
    void SetCurrentColor(gdi::ColorRef rgb) { currentColor_ = rgb & 0xFFFFFF; }
    int CurrentLineType() const { return currentLineType_; }
    void SetCurrentLineType(int lineType);
    int CurrentMarker() const { return currentMarker_; }
    void SetCurrentMarker(int marker) { currentMarker_ = marker; }
    const std::string& CurrentFace() const { return currentFace_; }
    int CurrentFontSize() const { return currentFontSize_; }
    void SetCurrentFont(std::string face, int size);

    void SetScaledOutput(bool on, float scale);
    bool ScaledOutput() const { return scaled_; }
    float OutputScale() const { return scale_; }

private:
    static gdi::Pen MakePen(gdi::ColorRef color, int lineType, bool scaled, float scale);

    std::vector<gdi::ColorRef> colors_;
    // The one cached pen and brush, replaced in place so that a miss costs no allocation.
    CDrawPen pen_;
    CDrawBrush brush_;
    bool havePen_ = false, haveBrush_ = false;
    std::deque<CPlotFont> fonts_;
    bool scaled_ = false;
    float scale_ = 1;
    int penCreations_ = 0;
    int brushCreations_ = 0;
    int currentTool_ = 0;
    gdi::ColorRef currentColor_ = 0;
    int currentLineType_ = 1;
    int currentMarker_ = 1;
    std::string currentFace_ = "Arial";
    int currentFontSize_ = 10;
};
