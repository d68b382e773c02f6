#pragma once
#include "platform/gdi/DeviceContext.h"

#include <QBrush>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class QPdfWriter;
class QSvgGenerator;

// The device context over a QPainter: QImage surfaces (window surface, back buffer, PNG
// output), QPdfWriter and QPrinter pages, and QSvgGenerator pictures. Geometry is drawn
// without anti-aliasing so that inverting drawings undo themselves. Raster operations act on
// images only; on vector devices hatches are filled as geometry instead of texture brushes.
class QtDeviceContext : public gdi::IDeviceContext {
public:
    // Paints on device until End or destruction; kind tells the drawing code what it is.
    QtDeviceContext(QPaintDevice& device, gdi::DeviceKind kind);
    // How an owned image starts: white, or black as zeroed memory comes, for a surface that is
    // painted over before it is read. A black image's pages cost nothing until painted.
    enum class Start { White, Black };
    // A memory surface that owns its image (32-bit RGB).
    QtDeviceContext(int width, int height, gdi::DeviceKind kind = gdi::DeviceKind::Memory,
                    Start start = Start::White);
    ~QtDeviceContext() override;
    QtDeviceContext(const QtDeviceContext&) = delete;
    QtDeviceContext& operator=(const QtDeviceContext&) = delete;

    // Finishes painting: a PDF or SVG file is complete after this.
    void End();
    QPainter& Painter() { return painter_; }
    // The image painted on, or null on other devices.
    QImage* Image() { return image_; }
    // Finishes painting and hands the painted image over (null on other devices); the device
    // draws nothing more.
    QImage TakeImage();

    // A PDF writer whose page is width x height logical pixels at 96 DPI, without margins.
    static std::unique_ptr<QPdfWriter> MakePdfWriter(const QString& path, int width, int height);
    // An SVG generator of width x height logical pixels.
    static std::unique_ptr<QSvgGenerator> MakeSvgGenerator(const QString& path, int width,
                                                           int height);

    gdi::DeviceKind Kind() const override { return kind_; }
    gdi::Size SurfaceSize() const override { return size_; }
    gdi::Pen SelectPen(const gdi::Pen& pen) override;
    gdi::Brush SelectBrush(const gdi::Brush& brush) override;
    gdi::Font SelectFont(const gdi::Font& font) override;
    const gdi::Pen& CurrentPen() const override { return state_.pen; }
    const gdi::Brush& CurrentBrush() const override { return state_.brush; }
    const gdi::Font& CurrentFont() const override { return state_.font; }
    gdi::ColorRef SetTextColor(gdi::ColorRef color) override;
    gdi::ColorRef SetBkColor(gdi::ColorRef color) override;
    gdi::BackgroundMode SetBkMode(gdi::BackgroundMode mode) override;
    gdi::RasterOp SetRop2(gdi::RasterOp op) override;
    gdi::RasterOp Rop2() const override { return state_.rop; }
    unsigned SetTextAlign(unsigned flags) override;
    void TextOut(int x, int y, std::string_view text) override;
    gdi::Size GetTextExtent(std::string_view text) override;
    gdi::TextMetrics GetTextMetrics() override;
    gdi::Point MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Polyline(std::span<const gdi::Point> points) override;
    void Polygon(std::span<const gdi::Point> points) override;
    void Rectangle(const gdi::Rect& r) override;
    void Ellipse(const gdi::Rect& r) override;
    void Arc(const gdi::Rect& r, gdi::Point start, gdi::Point end) override;
    void Chord(const gdi::Rect& r, gdi::Point start, gdi::Point end) override;
    // On images many copies of an opaque figure are drawn once into a stamp and copied.
    void DrawCopies(std::span<const gdi::Point> at, const gdi::Rect& extent,
                    const Figure& figure) override;
    void FillSolidRect(const gdi::Rect& r, gdi::ColorRef color) override;
    void IntersectClipRect(const gdi::Rect& r) override;
    void SelectClipRect(const gdi::Rect& r) override;
    void SelectClipPolygon(std::span<const gdi::Point> points) override;
    void ResetClip() override;
    gdi::Rect GetClipBox() const override { return state_.clip; }
    int SaveDC() override;
    void RestoreDC(int level) override;
    void BitBlt(int x, int y, int width, int height, gdi::IDeviceContext& source, int srcX,
                int srcY) override;
    std::unique_ptr<gdi::IDeviceContext> CreateCompatible(int width, int height) override;

private:
    struct State {
        gdi::Pen pen;
        gdi::Brush brush;
        gdi::Font font;
        gdi::ColorRef textColor = 0;
        gdi::ColorRef bkColor = 0xFFFFFF;
        gdi::BackgroundMode bkMode = gdi::BackgroundMode::Opaque;
        gdi::RasterOp rop = gdi::RasterOp::CopyPen;
        unsigned align = gdi::AlignLeft | gdi::AlignTop;
        gdi::Point position;
        gdi::Rect clip;
        bool clipIsRect = true; // clip is the painter's whole clip, else its bounding box
    };
    // The last pens converted, so that selecting a pen and its predecessor back and forth
    // makes no new QPen.
    struct PenEntry {
        gdi::Pen pen;
        QPen qpen;
        bool used = false;
    };

    struct BrushEntry {
        gdi::Brush brush;
        gdi::ColorRef ink = 0, paper = 0; // pattern colours at the time it was made
        QBrush qbrush;
        bool used = false;
    };

    void Begin();
    bool IsRaster() const { return image_ != nullptr; }
    void ApplyPen();
    void ApplyCompositionMode();
    const QFont& CurrentQFont();
    // The width of text in the current font. Tick numbers and labels are measured and drawn
    // again on every paint with the same few fonts: their widths are kept per font and text,
    // under key = TextKey(text).
    qreal TextAdvance(std::string_view text, const std::string& key);
    // Text laid out once in the current font and kept, like the widths: its glyph runs, placed
    // from the top of the line, and the line's ascent.
    struct ShapedText {
        QList<QGlyphRun> runs;
        qreal ascent = 0;
    };
    const ShapedText& Shaped(std::string_view text, const std::string& key);
    // The ascent and descent of the current font, kept per font like the widths.
    struct Heights {
        qreal ascent = 0, descent = 0;
    };
    Heights FontHeights();
    // What the widths, heights and shaped texts are kept under: the font and the text.
    std::string TextKey(std::string_view text) const;
    void DrawWidePolyline();
    // Solid pens on images: segments drawn pixel by pixel with the start pixel in and the end
    // pixel out, independent of the segments around them; a pen w units wide covers the
    // one-unit line's pixels widened by a w x w square. A polyline's pixels are then the
    // union of its segments' pixels, whatever the width.
    bool SolidOnRaster() const;
    // How the runs of a solid line are filled: through the painter, or with pixels set
    // straight in the image when pixels is not null.
    struct Ink {
        QColor color;
        QRgb pixel = 0;
        uchar* pixels = nullptr;
        qsizetype stride = 0;
        int left = 0, top = 0, right = -1, bottom = -1; // the clip, edges included
    };
    Ink SolidInk();
    void SolidSegment(gdi::Point a, gdi::Point b, const Ink& ink);
    // Fills the pixels from (x0, y0) to (x1, y1), both corners included.
    void FillRun(int x0, int y0, int x1, int y1, const Ink& ink);
    // Hands the one-unit segment's pixels to run(x0, y0, x1, y1) as runs along its major
    // axis, both corners included; steps more than margin off the device are left out.
    template <class Run>
    void ThinRuns(gdi::Point a, gdi::Point b, int margin, Run run) const;
    // A run of one colour in a stamp, relative to the figure's origin.
    struct StampRun {
        int y, x0, x1;
        QRgb color;
    };
    // Whether a figure's pixels are the same wherever it is drawn: copy mode, a pen of one
    // unit, and no pattern, whose cells stay where they are on the device.
    bool CanStamp() const;
    // Draws figure at the origin into stamp_ as runs; false when it left the extent.
    bool MakeStamp(const gdi::Rect& extent, const Figure& figure);
    void StampAt(gdi::Point p, const Ink& ink);
    void DrawCopiesAsImage(std::span<const gdi::Point> at, const gdi::Rect& extent,
                           const Figure& figure);
    void ApplyBrush();
    QBrush MakeBrush() const;
    bool PatternAsGeometry() const;
    // Sets pen, brush and raster operation for a filled shape; on vector devices a pattern
    // is painted first as geometry cut to the shape and the brush left empty.
    template <class MakePath>
    void PrepareFilled(MakePath makePath);
    void FillPatternGeometry(const QPainterPath& shape);
    void ReapplyState();

    std::unique_ptr<QImage> ownedImage_;
    QPaintDevice* device_;
    QImage* image_ = nullptr;
    gdi::DeviceKind kind_;
    gdi::Size size_;
    QPainter painter_;
    State state_;
    std::vector<State> saved_;
    PenEntry penCache_[2];
    int penSlot_ = 0;
    bool penDirty_ = true;
    BrushEntry brushCache_[2];
    int brushSlot_ = 0;
    QFont qfont_;
    bool fontDirty_ = true;
    std::unordered_map<std::string, qreal> advances_;
    std::unordered_map<std::string, ShapedText> shaped_;
    std::unordered_map<std::string, Heights> heights_;
    std::vector<QPoint> points_; // reused for polylines and polygons
    std::vector<StampRun> stamp_;
};
