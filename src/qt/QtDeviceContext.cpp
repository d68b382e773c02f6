#include "qt/QtDeviceContext.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <QTextLayout>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <numbers>
#include <sys/mman.h>

namespace {

QColor ToQColor(gdi::ColorRef c) {
    return QColor(static_cast<int>(gdi::RedOf(c)), static_cast<int>(gdi::GreenOf(c)),
                  static_cast<int>(gdi::BlueOf(c)));
}

// The value kept under key, made and kept first if there is none; a map that has grown to
// limit entries starts again empty.
template <class Map, class Make>
const typename Map::mapped_type& Kept(Map& map, const std::string& key, std::size_t limit,
                                      Make make) {
    if (const auto it = map.find(key); it != map.end()) return it->second;
    if (map.size() >= limit) map.clear();
    return map.emplace(key, make()).first->second;
}

QRect FillRect(const gdi::Rect& r) {
    return QRect(r.left, r.top, r.Width(), r.Height());
}

// The outline of a shape in rectangle r: its right and bottom edges lie outside.
QRectF OutlineRect(const gdi::Rect& r) {
    return QRectF(r.left, r.top, r.Width() - 1, r.Height() - 1);
}

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Dash lengths of the cosmetic pen styles, in device units.
QList<qreal> CosmeticDashes(gdi::PenStyle style) {
    switch (style) {
    case gdi::PenStyle::Dot:
        return {3, 3};
    case gdi::PenStyle::Dash:
        return {18, 6};
    case gdi::PenStyle::DashDot:
        return {9, 6, 3, 6};
    default:
        return {};
    }
}

QPen ToQPen(const gdi::Pen& pen) {
    if (pen.style == gdi::PenStyle::Null) return QPen(Qt::NoPen);
    const int width = std::max(1, pen.width);
    QPen q(ToQColor(pen.color), width);
    // Wide and geometric pens end and join round; one-unit pens leave the end point out.
    const bool round = pen.geometric || width > 1;
    q.setCapStyle(round ? Qt::RoundCap : Qt::FlatCap);
    q.setJoinStyle(round ? Qt::RoundJoin : Qt::MiterJoin);
    QList<qreal> dashes;
    if (pen.style == gdi::PenStyle::UserDash) {
        for (int i = 0; i < pen.dashCount; ++i)
            dashes.push_back(static_cast<qreal>(std::max(1, pen.dashes[i])) / width);
    } else {
        dashes = CosmeticDashes(pen.style);
    }
    if (!dashes.isEmpty()) q.setDashPattern(dashes);
    return q;
}

// Angle in degrees, counter-clockwise, of the ellipse parameter where the radial from the
// centre of r through p meets the ellipse.
qreal ParametricAngle(const gdi::Rect& r, gdi::Point p) {
    const qreal a = std::max(0.5, r.Width() / 2.0);
    const qreal b = std::max(0.5, r.Height() / 2.0);
    const qreal dx = p.x - (r.left + r.right) / 2.0;
    const qreal dy = (r.top + r.bottom) / 2.0 - p.y;
    return std::atan2(dy / b, dx / a) * 180 / std::numbers::pi;
}

// Some of Qt's raster routines (its solid fills among them) use 256-bit vector instructions and
// return without clearing the upper halves of the vector registers. Until something clears
// them, the SSE instructions of code built for the baseline instruction set wait on those
// halves: the floating-point loops of the drawing code (mapping a curve's samples, for one) ran
// three times slower after the first fill. Every drawing entry clears them on its way out.
class CleanVectorState {
public:
    CleanVectorState() = default;
    ~CleanVectorState() { Clear(); }
    CleanVectorState(const CleanVectorState&) = delete;
    CleanVectorState& operator=(const CleanVectorState&) = delete;

private:
    static void Clear() {
#if defined(__x86_64__) && !defined(__AVX__) && (defined(__GNUC__) || defined(__clang__))
        // Built without AVX, the compiler keeps nothing in the upper halves, so clearing them
        // disturbs no value; code built with AVX has no SSE instructions to slow down.
        static const bool present = __builtin_cpu_supports("avx");
        if (present) asm volatile("vzeroupper");
#endif
    }
};

// Sweep from start to end counter-clockwise, in (0, 360].
qreal Sweep(qreal start, qreal end) {
    qreal sweep = std::fmod(end - start, 360.0);
    if (sweep <= 0) sweep += 360;
    return sweep;
}

} // namespace

QtDeviceContext::QtDeviceContext(QPaintDevice& device, gdi::DeviceKind kind)
    : device_(&device), kind_(kind) {
    if (device.devType() == QInternal::Image) image_ = static_cast<QImage*>(&device);
    Begin();
}

namespace {

// Pixels of large images are mapped on their own, aligned to the system's large pages and
// marked for them: a full-screen image is then backed by a few large pages instead of thousands
// of small ones, each of which costs a fault at its first touch. Small ones come from the heap.
class PixelBlock {
public:
    static constexpr std::size_t kLargePage = std::size_t(2) << 20;

    explicit PixelBlock(std::size_t size) {
        if (size < kLargePage) {
            base_ = std::calloc(size, 1);
            if (!base_) throw std::bad_alloc();
            pixels_ = static_cast<uchar*>(base_);
            return;
        }
        length_ = size + kLargePage;
        base_ = mmap(nullptr, length_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (base_ == MAP_FAILED) throw std::bad_alloc();
        const auto aligned = (reinterpret_cast<std::uintptr_t>(base_) + kLargePage - 1) &
                             ~std::uintptr_t(kLargePage - 1);
        pixels_ = reinterpret_cast<uchar*>(aligned);
#ifdef MADV_HUGEPAGE
        madvise(pixels_, size, MADV_HUGEPAGE); // only a hint: small pages work as well
#endif
    }
    ~PixelBlock() {
        if (length_)
            munmap(base_, length_);
        else
            std::free(base_);
    }
    PixelBlock(const PixelBlock&) = delete;
    PixelBlock& operator=(const PixelBlock&) = delete;

    uchar* Pixels() const {
        return pixels_;
    }

private:
    void* base_ = nullptr;
    std::size_t length_ = 0; // of the mapping; 0 for heap memory
    uchar* pixels_ = nullptr;
};

// A black image (memory comes zeroed) whose pixels are not touched here, so that a surface
// painted over once is written once and pages never painted cost nothing.
std::unique_ptr<QImage> NewImage(int width, int height) {
    width = std::max(1, width);
    height = std::max(1, height);
    const qsizetype stride = qsizetype(width) * 4;
    auto block = std::make_unique<PixelBlock>(std::size_t(stride) * std::size_t(height));
    auto release = [](void* info) { delete static_cast<PixelBlock*>(info); };
    auto image = std::make_unique<QImage>(block->Pixels(), width, height, stride,
                                          QImage::Format_RGB32, release, block.get());
    block.release(); // the image frees it
    return image;
}

} // namespace

QtDeviceContext::QtDeviceContext(int width, int height, gdi::DeviceKind kind, Start start)
    : ownedImage_(NewImage(width, height)), device_(ownedImage_.get()), image_(ownedImage_.get()),
      kind_(kind) {
    const CleanVectorState clean;
    if (start == Start::White) ownedImage_->fill(Qt::white);
    Begin();
}

QtDeviceContext::~QtDeviceContext() {
    End();
}

void QtDeviceContext::Begin() {
    size_ = gdi::Size{device_->width(), device_->height()};
    state_.clip = gdi::Rect{0, 0, size_.cx, size_.cy};
    painter_.begin(device_);
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    painter_.setBrush(Qt::white);
    brushSlot_ = -1;
}

void QtDeviceContext::End() {
    const CleanVectorState clean;
    if (painter_.isActive()) painter_.end();
}

QImage QtDeviceContext::TakeImage() {
    End();
    return image_ ? std::move(*image_) : QImage();
}

std::unique_ptr<QPdfWriter> QtDeviceContext::MakePdfWriter(const QString& path, int width,
                                                           int height) {
    auto writer = std::make_unique<QPdfWriter>(path);
    writer->setResolution(96);
    // A page given in points at 96 DPI would shrink the drawing to 75 %: give it in pixels.
    writer->setPageSize(QPageSize(QSizeF(width * 0.75, height * 0.75), QPageSize::Point, QString(),
                                  QPageSize::ExactMatch));
    writer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    return writer;
}

std::unique_ptr<QSvgGenerator> QtDeviceContext::MakeSvgGenerator(const QString& path, int width,
                                                                 int height) {
    auto svg = std::make_unique<QSvgGenerator>();
    // A generator that owns a file forgets (and leaks) it when given another device: name a file
    // only when there is one, and leave the device to the caller otherwise.
    if (!path.isEmpty()) svg->setFileName(path);
    svg->setResolution(96);
    svg->setSize(QSize(width, height));
    svg->setViewBox(QRect(0, 0, width, height));
    return svg;
}

gdi::Pen QtDeviceContext::SelectPen(const gdi::Pen& pen) {
    if (!(pen == state_.pen)) penDirty_ = true;
    return std::exchange(state_.pen, pen);
}

gdi::Brush QtDeviceContext::SelectBrush(const gdi::Brush& brush) {
    return std::exchange(state_.brush, brush);
}

gdi::Font QtDeviceContext::SelectFont(const gdi::Font& font) {
    if (!(font == state_.font)) fontDirty_ = true;
    return std::exchange(state_.font, font);
}

gdi::ColorRef QtDeviceContext::SetTextColor(gdi::ColorRef color) {
    return std::exchange(state_.textColor, color);
}

gdi::ColorRef QtDeviceContext::SetBkColor(gdi::ColorRef color) {
    return std::exchange(state_.bkColor, color);
}

gdi::BackgroundMode QtDeviceContext::SetBkMode(gdi::BackgroundMode mode) {
    return std::exchange(state_.bkMode, mode);
}

gdi::RasterOp QtDeviceContext::SetRop2(gdi::RasterOp op) {
    return std::exchange(state_.rop, op);
}

unsigned QtDeviceContext::SetTextAlign(unsigned flags) {
    return std::exchange(state_.align, flags);
}

void QtDeviceContext::ApplyPen() {
    if (!penDirty_) return;
    penDirty_ = false;
    for (PenEntry& entry : penCache_) {
        if (entry.used && entry.pen == state_.pen) {
            painter_.setPen(entry.qpen);
            return;
        }
    }
    penSlot_ = 1 - penSlot_;
    penCache_[penSlot_] = PenEntry{state_.pen, ToQPen(state_.pen), true};
    painter_.setPen(penCache_[penSlot_].qpen);
}

void QtDeviceContext::ApplyCompositionMode() {
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    if (IsRaster()) {
        if (state_.rop == gdi::RasterOp::NotXorPen)
            mode = QPainter::RasterOp_NotSourceXorDestination;
        else if (state_.rop == gdi::RasterOp::MaskPen)
            mode = QPainter::RasterOp_SourceAndDestination;
    }
    if (painter_.compositionMode() != mode) painter_.setCompositionMode(mode);
}

const QFont& QtDeviceContext::CurrentQFont() {
    if (fontDirty_) {
        fontDirty_ = false;
        qfont_ = QFont(QString::fromStdString(state_.font.face));
        qfont_.setPixelSize(std::max(1, state_.font.pixelHeight));
        qfont_.setItalic(state_.font.style & gdi::FontItalic);
        qfont_.setBold(state_.font.style & gdi::FontBold);
        qfont_.setUnderline(state_.font.style & gdi::FontUnderline);
    }
    return qfont_;
}

QBrush QtDeviceContext::MakeBrush() const {
    const gdi::Brush& brush = state_.brush;
    if (brush.style == gdi::BrushStyle::Null) return QBrush(Qt::NoBrush);
    if (brush.style == gdi::BrushStyle::Solid) return QBrush(ToQColor(brush.color));
    const int k = std::max(1, brush.patternScale);
    QImage tile(8 * k, 8 * k, QImage::Format_RGB32);
    const QRgb ink = ToQColor(state_.textColor).rgb();
    const QRgb paper = ToQColor(state_.bkColor).rgb();
    for (int y = 0; y < tile.height(); ++y) {
        const std::uint8_t row = brush.pattern[static_cast<std::size_t>(y / k)];
        auto* line = reinterpret_cast<QRgb*>(tile.scanLine(y));
        for (int x = 0; x < tile.width(); ++x)
            line[x] = (row & (0x80 >> (x / k))) ? paper : ink;
    }
    return QBrush(tile);
}

void QtDeviceContext::ApplyBrush() {
    // A pattern takes the text and background colours current when it is drawn.
    const bool pattern = state_.brush.style == gdi::BrushStyle::Pattern;
    const gdi::ColorRef ink = pattern ? state_.textColor : 0;
    const gdi::ColorRef paper = pattern ? state_.bkColor : 0;
    for (int i = 0; i < 2; ++i) {
        const BrushEntry& e = brushCache_[i];
        if (e.used && e.brush == state_.brush && e.ink == ink && e.paper == paper) {
            if (brushSlot_ != i) painter_.setBrush(e.qbrush);
            brushSlot_ = i;
            return;
        }
    }
    brushSlot_ = brushSlot_ == 0 ? 1 : 0;
    brushCache_[brushSlot_] = BrushEntry{state_.brush, ink, paper, MakeBrush(), true};
    painter_.setBrush(brushCache_[brushSlot_].qbrush);
}

bool QtDeviceContext::PatternAsGeometry() const {
    return !IsRaster() && state_.brush.style == gdi::BrushStyle::Pattern;
}

template <class MakePath>
void QtDeviceContext::PrepareFilled(MakePath makePath) {
    ApplyPen();
    ApplyCompositionMode();
    if (PatternAsGeometry()) {
        FillPatternGeometry(makePath());
        painter_.setBrush(Qt::NoBrush);
        brushSlot_ = -1; // the painter's brush matches no cache entry now
        return;
    }
    ApplyBrush();
}

void QtDeviceContext::FillPatternGeometry(const QPainterPath& shape) {
    // Vector devices lose texture brushes: paint the pattern's cells as rectangles cut to the
    // shape, the 1 bits in the background colour and the 0 bits in the text colour.
    const int k = std::max(1, state_.brush.patternScale);
    const QRect box = shape.boundingRect().toAlignedRect();
    const int tile = 8 * k;
    QPainterPath cells;
    const int x0 = box.left() - ((box.left() % tile) + tile) % tile;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        const std::uint8_t row =
            state_.brush.pattern[static_cast<std::size_t>((((y % tile) + tile) % tile) / k)];
        int runStart = -1;
        for (int x = x0; x <= box.right() + k; x += k) {
            const int bit = ((x - x0) / k) % 8;
            const bool ink = x <= box.right() && !(row & (0x80 >> bit));
            if (ink && runStart < 0) runStart = x;
            if (!ink && runStart >= 0) {
                cells.addRect(runStart, y, x - runStart, 1);
                runStart = -1;
            }
        }
    }
    painter_.fillPath(shape, ToQColor(state_.bkColor));
    painter_.fillPath(shape.intersected(cells), ToQColor(state_.textColor));
}

void QtDeviceContext::TextOut(int x, int y, std::string_view text) {
    const CleanVectorState clean;
    if (state_.align & gdi::AlignUpdateCP) {
        x = state_.position.x;
        y = state_.position.y;
    }
    const Heights fm = FontHeights();
    const std::string key = TextKey(text); // for the width and the shaped text
    const qreal w = TextAdvance(text, key);
    const unsigned h = state_.align & gdi::kHorizontalAlignMask;
    const unsigned v = state_.align & gdi::kVerticalAlignMask;
    const qreal dx = h == gdi::AlignCenter ? -w / 2 : h == gdi::AlignRight ? -w : 0;
    const qreal dy = v == gdi::AlignBaseline ? 0 : v == gdi::AlignBottom ? -fm.descent : fm.ascent;
    painter_.save();
    painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_.translate(x, y);
    painter_.rotate(-state_.font.angle);
    if (state_.bkMode == gdi::BackgroundMode::Opaque && !text.empty())
        painter_.fillRect(QRectF(dx, dy - fm.ascent, w, fm.ascent + fm.descent),
                          ToQColor(state_.bkColor));
    painter_.setPen(ToQColor(state_.textColor));
    // Control characters and underlines are left to the painter, which draws them its own way.
    const bool plain =
        !(state_.font.style & gdi::FontUnderline) &&
        std::none_of(text.begin(), text.end(), [](char c) { return c >= 0 && c < ' '; });
    if (IsRaster() && plain) {
        // Glyph runs carry their own font.
        const ShapedText& shaped = Shaped(text, key);
        for (const QGlyphRun& run : shaped.runs)
            painter_.drawGlyphRun(QPointF(dx, dy - shaped.ascent), run);
    } else {
        painter_.setFont(CurrentQFont());
        // Vector pictures keep their text as text.
        painter_.drawText(QPointF(dx, dy), ToQString(text));
    }
    painter_.restore();
    if (state_.align & gdi::AlignUpdateCP) {
        const qreal advance = h == gdi::AlignRight ? -w : h == gdi::AlignCenter ? 0 : w;
        const qreal a = state_.font.angle * std::numbers::pi / 180;
        state_.position.x = x + static_cast<int>(std::lround(advance * std::cos(a)));
        state_.position.y = y - static_cast<int>(std::lround(advance * std::sin(a)));
    }
}

gdi::Size QtDeviceContext::GetTextExtent(std::string_view text) {
    const Heights fm = FontHeights();
    return gdi::Size{static_cast<int>(std::ceil(TextAdvance(text, TextKey(text)))),
                     static_cast<int>(std::ceil(fm.ascent + fm.descent))};
}

std::string QtDeviceContext::TextKey(std::string_view text) const {
    const gdi::Font& f = state_.font;
    std::string key = f.face;
    key += '\0';
    key += std::to_string(f.pixelHeight);
    key += ',';
    key += std::to_string(f.style);
    key += '\0';
    key.append(text);
    return key;
}

const QtDeviceContext::ShapedText& QtDeviceContext::Shaped(std::string_view text,
                                                           const std::string& key) {
    // Axes draw the same few labels at every paint: shaping them is most of their cost.
    return Kept(shaped_, key, 1024, [&] {
        QTextLayout layout(ToQString(text), CurrentQFont(), device_);
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap); // one line, however long
        layout.setTextOption(option);
        layout.beginLayout();
        const QTextLine line = layout.createLine();
        layout.endLayout();
        return ShapedText{layout.glyphRuns(), line.isValid() ? line.ascent() : 0};
    });
}

QtDeviceContext::Heights QtDeviceContext::FontHeights() {
    return Kept(heights_, TextKey({}), 256, [&] {
        const QFontMetricsF fm(CurrentQFont(), device_);
        return Heights{fm.ascent(), fm.descent()};
    });
}

qreal QtDeviceContext::TextAdvance(std::string_view text, const std::string& key) {
    return Kept(advances_, key, 4096, [&] {
        return QFontMetricsF(CurrentQFont(), device_).horizontalAdvance(ToQString(text));
    });
}

gdi::TextMetrics QtDeviceContext::GetTextMetrics() {
    const QFontMetrics fm(CurrentQFont(), device_);
    return gdi::TextMetrics{fm.ascent() + fm.descent(), fm.ascent(), fm.descent()};
}

gdi::Point QtDeviceContext::MoveTo(int x, int y) {
    return std::exchange(state_.position, gdi::Point{x, y});
}

void QtDeviceContext::LineTo(int x, int y) {
    const CleanVectorState clean;
    ApplyPen();
    ApplyCompositionMode();
    if (SolidOnRaster()) {
        SolidSegment(state_.position, gdi::Point{x, y}, SolidInk());
    } else {
        painter_.drawLine(state_.position.x, state_.position.y, x, y);
    }
    state_.position = gdi::Point{x, y};
}

bool QtDeviceContext::SolidOnRaster() const {
    if (!IsRaster() || state_.pen.style != gdi::PenStyle::Solid || state_.pen.geometric)
        return false;
    // Stamps of neighbouring pixels overlap, which an inverting pen would undo.
    return state_.pen.width <= 1 || state_.rop != gdi::RasterOp::NotXorPen;
}

QtDeviceContext::Ink QtDeviceContext::SolidInk() {
    Ink ink;
    ink.color = ToQColor(state_.pen.color);
    // Opaque runs inside a rectangular clip go straight into a 32-bit image that shares its
    // pixels with no other image; anything else goes through the painter.
    const QImage::Format format = image_->format();
    const bool direct = state_.rop == gdi::RasterOp::CopyPen && state_.clipIsRect &&
                        (format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
                         format == QImage::Format_ARGB32_Premultiplied) &&
                        image_->isDetached();
    if (!direct) return ink;
    ink.pixel = ink.color.rgb();
    ink.pixels = image_->bits();
    ink.stride = image_->bytesPerLine();
    const QRect clip = FillRect(state_.clip).intersected(image_->rect());
    ink.left = clip.left();
    ink.top = clip.top();
    ink.right = clip.right();
    ink.bottom = clip.bottom();
    return ink;
}

namespace {

// The last step from i on whose minor coordinate, (minor0 + step * inc) >> 16, is still
// across, where step i has it. Steep lines have long runs, found by dividing; short runs are
// stepped through.
std::int64_t LastStepAt(std::int64_t across, std::int64_t i, std::int64_t minor0,
                        std::int64_t inc) {
    constexpr std::int64_t kOne = 65536;
    if (inc == 0) return std::numeric_limits<std::int64_t>::max();
    if (std::llabs(inc) > kOne / 4) {
        std::int64_t end = i;
        while (((minor0 + (end + 1) * inc) >> 16) == across)
            ++end;
        return end;
    }
    // The first step reaching across + 1 (or across - 1), less one.
    if (inc > 0) return ((across + 1) * kOne - minor0 + inc - 1) / inc - 1;
    return (minor0 - across * kOne) / -inc;
}

} // namespace

template <class Run>
void QtDeviceContext::ThinRuns(gdi::Point a, gdi::Point b, int margin, Run run) const {
    // Every segment covers its start and leaves out its end, whichever way it runs, so that
    // a polyline's pixels are the union of its segments' pixels. Lines running down or to the
    // right step like the painter's own aliased lines; the others step the same way from
    // their end and then trade the end pixel for the start pixel.
    const std::int64_t dx = std::int64_t(b.x) - a.x, dy = std::int64_t(b.y) - a.y;
    if (dx == 0 && dy == 0) return;
    const bool vertical = std::llabs(dx) < std::llabs(dy);
    const std::int64_t major = vertical ? dy : dx;
    const gdi::Point p = major > 0 ? a : b; // where the stepping starts
    const std::int64_t n = std::llabs(major);
    const std::int64_t minorDelta = vertical ? (major > 0 ? dx : -dx) : (major > 0 ? dy : -dy);
    const std::int64_t inc = minorDelta * 65536 / n; // 16.16, truncated like the painter's
    const std::int64_t minor0 =
        std::int64_t(vertical ? p.x : p.y) * 65536 + (inc > 0 ? inc / 2 : 0);
    const std::int64_t majorStart = vertical ? p.y : p.x;
    // Steps 0 .. n-1 from p; a backward segment drops step 0 and ends with its start pixel.
    std::int64_t first = major > 0 ? 0 : 1;
    std::int64_t last = n - 1;
    // Only the steps whose stamps reach the device need visiting.
    const std::int64_t extent = vertical ? size_.cy : size_.cx;
    first = std::max(first, -majorStart - margin);
    last = std::min(last, extent - 1 - majorStart + margin);
    // A run: the pixels from .. to along the major axis at one place across it.
    const auto runAt = [&](int from, int to, int at) {
        if (vertical)
            run(at, from, at, to);
        else
            run(from, at, to, at);
    };
    const std::int64_t acrossAtLast = (minor0 + last * inc) >> 16;
    for (std::int64_t i = first; i <= last;) {
        const std::int64_t across = (minor0 + i * inc) >> 16;
        // The last run needs no search for its end: most segments are one or two runs.
        const std::int64_t end =
            across == acrossAtLast ? last : std::min(last, LastStepAt(across, i, minor0, inc));
        runAt(int(majorStart + i), int(majorStart + end), int(across));
        i = end + 1;
    }
    if (major < 0) runAt(vertical ? a.y : a.x, vertical ? a.y : a.x, vertical ? a.x : a.y);
}

void QtDeviceContext::FillRun(int x0, int y0, int x1, int y1, const Ink& ink) {
    if (!ink.pixels) {
        painter_.fillRect(QRect(QPoint(x0, y0), QPoint(x1, y1)), ink.color);
        return;
    }
    x0 = std::max(x0, ink.left);
    x1 = std::min(x1, ink.right);
    y0 = std::max(y0, ink.top);
    y1 = std::min(y1, ink.bottom);
    if (x0 > x1 || y0 > y1) return;
    uchar* row = ink.pixels + y0 * ink.stride + x0 * qsizetype(sizeof(QRgb));
    if (x0 == x1) { // a steep line's run: one pixel a row
        for (int y = y0; y <= y1; ++y, row += ink.stride)
            *reinterpret_cast<QRgb*>(row) = ink.pixel;
        return;
    }
    for (int y = y0; y <= y1; ++y, row += ink.stride) {
        auto* line = reinterpret_cast<QRgb*>(row);
        std::fill(line, line + (x1 - x0 + 1), ink.pixel);
    }
}

void QtDeviceContext::SolidSegment(gdi::Point a, gdi::Point b, const Ink& ink) {
    // The stamp of a w-unit pen: w x w pixels, the extra ones above and left of the line
    // first, as the painter places even widths.
    const int width = std::max(1, state_.pen.width);
    const int before = width / 2, after = width - 1 - before;
    ThinRuns(a, b, width, [&](int x0, int y0, int x1, int y1) {
        FillRun(x0 - before, y0 - before, x1 + after, y1 + after, ink);
    });
}

void QtDeviceContext::Polyline(std::span<const gdi::Point> points) {
    const CleanVectorState clean;
    if (points.size() < 2) return;
    ApplyPen();
    ApplyCompositionMode();
    if (SolidOnRaster()) {
        const Ink ink = SolidInk();
        for (std::size_t i = 1; i < points.size(); ++i)
            SolidSegment(points[i - 1], points[i], ink);
        return;
    }
    points_.resize(points.size());
    std::transform(points.begin(), points.end(), points_.begin(),
                   [](gdi::Point p) { return QPoint(p.x, p.y); });
    if (std::max(1, state_.pen.width) == 1 && !state_.pen.geometric) {
        painter_.drawPolyline(points_.data(), static_cast<int>(points_.size()));
        return;
    }
    DrawWidePolyline();
}

void QtDeviceContext::DrawWidePolyline() {
    // Wide pens are stroked as paths, whose filling slows down with the edges it must cross
    // on every scan line: pieces of a few hundred points keep that bounded. Each piece starts
    // where the dash pattern of the one before left off.
    constexpr std::size_t kPiece = 256;
    QPen pen = painter_.pen();
    const qreal width = std::max(1.0, pen.widthF());
    qreal offset = pen.dashOffset();
    for (std::size_t first = 0; first + 1 < points_.size(); first += kPiece) {
        const std::size_t count = std::min(kPiece + 1, points_.size() - first);
        painter_.drawPolyline(points_.data() + first, static_cast<int>(count));
        if (pen.style() != Qt::CustomDashLine) continue;
        for (std::size_t i = first + 1; i < first + count; ++i)
            offset += std::hypot(points_[i].x() - points_[i - 1].x(),
                                 points_[i].y() - points_[i - 1].y()) /
                      width;
        pen.setDashOffset(offset);
        painter_.setPen(pen);
    }
    penDirty_ = true; // the painter's pen has moved on from the cached one
}

void QtDeviceContext::Polygon(std::span<const gdi::Point> points) {
    const CleanVectorState clean;
    if (points.size() < 2) return;
    points_.resize(points.size());
    std::transform(points.begin(), points.end(), points_.begin(),
                   [](gdi::Point p) { return QPoint(p.x, p.y); });
    PrepareFilled([&] {
        QPainterPath path;
        path.setFillRule(Qt::OddEvenFill);
        path.addPolygon(QPolygonF(QPolygon(QList<QPoint>(points_.begin(), points_.end()))));
        path.closeSubpath();
        return path;
    });
    painter_.drawPolygon(points_.data(), static_cast<int>(points_.size()), Qt::OddEvenFill);
}

void QtDeviceContext::Rectangle(const gdi::Rect& r) {
    const CleanVectorState clean;
    if (r.IsEmpty()) return;
    PrepareFilled([&] {
        QPainterPath path;
        path.addRect(QRectF(FillRect(r)));
        return path;
    });
    if (state_.pen.style == gdi::PenStyle::Null)
        painter_.drawRect(FillRect(r)); // without an outline the fill reaches the edges
    else
        painter_.drawRect(OutlineRect(r));
}

void QtDeviceContext::Ellipse(const gdi::Rect& r) {
    const CleanVectorState clean;
    if (r.IsEmpty()) return;
    PrepareFilled([&] {
        QPainterPath path;
        path.addEllipse(OutlineRect(r));
        return path;
    });
    painter_.drawEllipse(OutlineRect(r));
}

void QtDeviceContext::Arc(const gdi::Rect& r, gdi::Point start, gdi::Point end) {
    const CleanVectorState clean;
    if (r.IsEmpty()) return;
    ApplyPen();
    ApplyCompositionMode();
    const qreal a0 = ParametricAngle(r, start);
    const qreal sweep = Sweep(a0, ParametricAngle(r, end));
    painter_.drawArc(OutlineRect(r), qRound(a0 * 16), qRound(sweep * 16));
}

void QtDeviceContext::Chord(const gdi::Rect& r, gdi::Point start, gdi::Point end) {
    const CleanVectorState clean;
    if (r.IsEmpty()) return;
    const qreal a0 = ParametricAngle(r, start);
    const qreal sweep = Sweep(a0, ParametricAngle(r, end));
    PrepareFilled([&] {
        QPainterPath path;
        path.arcMoveTo(OutlineRect(r), a0);
        path.arcTo(OutlineRect(r), a0, sweep);
        path.closeSubpath();
        return path;
    });
    painter_.drawChord(OutlineRect(r), qRound(a0 * 16), qRound(sweep * 16));
}

bool QtDeviceContext::CanStamp() const {
    // Wide pens are stroked as outlines whose curves round differently at different places.
    const bool thinPen =
        state_.pen.style == gdi::PenStyle::Null || (state_.pen.width <= 1 && !state_.pen.geometric);
    return IsRaster() && thinPen && state_.rop == gdi::RasterOp::CopyPen &&
           state_.brush.style != gdi::BrushStyle::Pattern;
}

void QtDeviceContext::DrawCopies(std::span<const gdi::Point> at, const gdi::Rect& extent,
                                 const Figure& figure) {
    const CleanVectorState clean;
    // Below a few copies the stamp costs more than it saves.
    constexpr std::size_t kFewCopies = 16;
    // Vector pictures of thousands of copies would grow with each: they get one image of the
    // copies at the picture's own resolution instead.
    constexpr std::size_t kManyCopies = 2000;
    if (at.size() >= kFewCopies && CanStamp() && MakeStamp(extent, figure)) {
        ApplyCompositionMode();
        const Ink ink = SolidInk();
        for (const gdi::Point& p : at)
            StampAt(p, ink);
        return;
    }
    if (!IsRaster() && at.size() >= kManyCopies && state_.brush.style != gdi::BrushStyle::Pattern) {
        DrawCopiesAsImage(at, extent, figure);
        return;
    }
    gdi::IDeviceContext::DrawCopies(at, extent, figure);
}

void QtDeviceContext::DrawCopiesAsImage(std::span<const gdi::Point> at, const gdi::Rect& extent,
                                        const Figure& figure) {
    // The copies are drawn on a transparent image over the part of the clip box they reach,
    // one device unit a pixel, which the picture then holds in their place. Vector devices
    // keep no clip of their own, so the image stops at the clip box.
    const int margin = std::max(1, state_.pen.width) + 2;
    gdi::Rect reach{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (const gdi::Point& p : at) {
        reach.left = std::min(reach.left, p.x + extent.left - margin);
        reach.top = std::min(reach.top, p.y + extent.top - margin);
        reach.right = std::max(reach.right, p.x + extent.right + margin);
        reach.bottom = std::max(reach.bottom, p.y + extent.bottom + margin);
    }
    const gdi::Rect box = gdi::Intersect(reach, state_.clip);
    if (box.IsEmpty()) return;
    QImage image(box.Width(), box.Height(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QtDeviceContext raster(image, gdi::DeviceKind::Memory);
        raster.SelectPen(state_.pen);
        raster.SelectBrush(state_.brush);
        raster.SetTextColor(state_.textColor);
        raster.SetBkColor(state_.bkColor);
        raster.SetBkMode(state_.bkMode);
        std::vector<gdi::Point> moved(at.begin(), at.end());
        for (gdi::Point& p : moved)
            p = {p.x - box.left, p.y - box.top};
        raster.DrawCopies(moved, extent, figure);
    }
    painter_.drawImage(QPoint(box.left, box.top), image);
}

bool QtDeviceContext::MakeStamp(const gdi::Rect& extent, const Figure& figure) {
    // The figure is drawn with the current pen and brush on a transparent image with room
    // for the pen around the extent; its opaque pixels become the stamp. Pixels on the
    // image's border mean it reached further than it said: then it is drawn copy by copy.
    constexpr int kMaxSide = 1024;
    const int margin = std::max(1, state_.pen.width) + 2;
    const QRect box(extent.left - margin, extent.top - margin, extent.Width() + 2 * margin,
                    extent.Height() + 2 * margin);
    if (box.width() > kMaxSide || box.height() > kMaxSide || box.isEmpty()) return false;
    QImage image(box.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QtDeviceContext stamp(image, kind_);
        stamp.SelectPen(state_.pen);
        stamp.SelectBrush(state_.brush);
        stamp.SetTextColor(state_.textColor);
        stamp.SetBkColor(state_.bkColor);
        stamp.SetBkMode(state_.bkMode);
        figure(stamp, -box.left(), -box.top());
    }
    stamp_.clear();
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width();) {
            if (qAlpha(line[x]) == 0) {
                ++x;
                continue;
            }
            if (y == 0 || y == image.height() - 1 || x == 0) return false;
            int end = x;
            while (end + 1 < image.width() && line[end + 1] == line[x])
                ++end;
            if (end == image.width() - 1) return false;
            stamp_.push_back(StampRun{y + box.top(), x + box.left(), end + box.left(), line[x]});
            x = end + 1;
        }
    }
    return true;
}

void QtDeviceContext::StampAt(gdi::Point p, const Ink& ink) {
    if (!ink.pixels) {
        for (const StampRun& r : stamp_)
            painter_.fillRect(QRect(QPoint(p.x + r.x0, p.y + r.y), QPoint(p.x + r.x1, p.y + r.y)),
                              QColor::fromRgb(r.color));
        return;
    }
    for (const StampRun& r : stamp_) {
        const int y = p.y + r.y;
        if (y < ink.top || y > ink.bottom) continue;
        const int x0 = std::max(p.x + r.x0, ink.left);
        const int x1 = std::min(p.x + r.x1, ink.right);
        if (x0 > x1) continue;
        auto* line = reinterpret_cast<QRgb*>(ink.pixels + y * ink.stride);
        std::fill(line + x0, line + x1 + 1, r.color);
    }
}

void QtDeviceContext::FillSolidRect(const gdi::Rect& r, gdi::ColorRef color) {
    const CleanVectorState clean;
    if (r.IsEmpty()) return;
    const QPainter::CompositionMode old = painter_.compositionMode();
    painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_.fillRect(FillRect(r), ToQColor(color));
    painter_.setCompositionMode(old);
}

void QtDeviceContext::IntersectClipRect(const gdi::Rect& r) {
    state_.clip = gdi::Intersect(state_.clip, r);
    state_.clipIsRect = true;
    painter_.setClipRect(FillRect(state_.clip), Qt::ReplaceClip);
}

void QtDeviceContext::SelectClipRect(const gdi::Rect& r) {
    state_.clip = gdi::Intersect(gdi::Rect{0, 0, size_.cx, size_.cy}, r);
    state_.clipIsRect = true;
    painter_.setClipRect(FillRect(state_.clip), Qt::ReplaceClip);
}

void QtDeviceContext::SelectClipPolygon(std::span<const gdi::Point> points) {
    QPolygon polygon;
    for (const gdi::Point& p : points)
        polygon << QPoint(p.x, p.y);
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    path.addPolygon(QPolygonF(polygon));
    path.closeSubpath();
    const QRect box = polygon.boundingRect();
    state_.clip =
        gdi::Intersect(gdi::Rect{0, 0, size_.cx, size_.cy},
                       gdi::Rect{box.left(), box.top(), box.right() + 1, box.bottom() + 1});
    state_.clipIsRect = false;
    painter_.setClipPath(path, Qt::ReplaceClip);
}

void QtDeviceContext::ResetClip() {
    state_.clip = gdi::Rect{0, 0, size_.cx, size_.cy};
    state_.clipIsRect = true;
    painter_.setClipping(false);
}

int QtDeviceContext::SaveDC() {
    saved_.push_back(state_);
    painter_.save();
    return static_cast<int>(saved_.size());
}

void QtDeviceContext::RestoreDC(int level) {
    const int target = level < 0 ? static_cast<int>(saved_.size()) + level + 1 : level;
    if (target < 1 || target > static_cast<int>(saved_.size())) return;
    while (static_cast<int>(saved_.size()) >= target) {
        state_ = saved_.back();
        saved_.pop_back();
        painter_.restore();
    }
    ReapplyState();
}

void QtDeviceContext::ReapplyState() {
    // QPainter::restore brought back the pen and brush it had; ours may differ.
    penDirty_ = true;
    fontDirty_ = true;
    brushSlot_ = -1;
}

void QtDeviceContext::BitBlt(int x, int y, int width, int height, gdi::IDeviceContext& source,
                             int srcX, int srcY) {
    const CleanVectorState clean;
    auto* from = dynamic_cast<QtDeviceContext*>(&source);
    if (!from || !from->image_ || width <= 0 || height <= 0) return;
    const QPainter::CompositionMode old = painter_.compositionMode();
    painter_.setCompositionMode(QPainter::CompositionMode_Source);
    painter_.drawImage(QPoint(x, y), *from->image_, QRect(srcX, srcY, width, height));
    painter_.setCompositionMode(old);
}

std::unique_ptr<gdi::IDeviceContext> QtDeviceContext::CreateCompatible(int width, int height) {
    // Black, as a new compatible surface is: its users paint all of it before copying it out.
    return std::make_unique<QtDeviceContext>(width, height, gdi::DeviceKind::Memory, Start::Black);
}
