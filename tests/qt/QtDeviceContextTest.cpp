// The Qt device on images, PDF and SVG: exact pixels of the aliased shapes, inverting
// drawings that undo themselves, patterns, clipping, copies and text.
#include "qt/QtDeviceContext.h"

#include "QtTestApp.h"

#include <QFile>
#include <QFontDatabase>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <gtest/gtest.h>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <cpuid.h>
#endif

using namespace gdi;

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kBlack = 0xFF000000;

class QtDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApp();
        image = QImage(64, 48, QImage::Format_RGB32);
        image.fill(Qt::white);
    }
    QRgb At(int x, int y) const { return image.pixel(x, y); }
    int CountNonWhite() const {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += image.pixel(x, y) != kWhite;
        return n;
    }

    QImage image;
};

// A picture with something in every pixel, so that inverting drawings have work to do.
QImage Gradient() {
    QImage img(64, 48, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y, qRgb(x * 4, y * 5, (x ^ y) * 3));
    return img;
}

} // namespace

TEST_F(QtDeviceTest, LinesLeaveOutTheirEndPoint) {
    {
        QtDeviceContext dc(image, DeviceKind::Screen);
        dc.MoveTo(10, 10);
        dc.LineTo(20, 10);
    }
    EXPECT_EQ(At(10, 10), kBlack);
    EXPECT_EQ(At(19, 10), kBlack);
    EXPECT_EQ(At(20, 10), kWhite);
    EXPECT_EQ(CountNonWhite(), 10);
}

TEST_F(QtDeviceTest, RectanglesKeepRightAndBottomEdgesOutside) {
    {
        QtDeviceContext dc(image, DeviceKind::Screen);
        dc.SelectBrush(Brush{BrushStyle::Solid, Rgb(255, 0, 0)});
        dc.Rectangle(Rect{10, 10, 20, 15});
    }
    EXPECT_EQ(At(10, 10), kBlack);
    EXPECT_EQ(At(19, 14), kBlack);
    EXPECT_EQ(At(20, 14), kWhite);
    EXPECT_EQ(At(19, 15), kWhite);
    EXPECT_EQ(At(15, 12), qRgb(255, 0, 0));
    EXPECT_EQ(CountNonWhite(), 50);
}

TEST_F(QtDeviceTest, NullPenRectanglesFillToTheEdges) {
    {
        QtDeviceContext dc(image, DeviceKind::Screen);
        dc.SelectPen(Pen{PenStyle::Null});
        dc.SelectBrush(Brush{BrushStyle::Solid, Rgb(0, 0, 255)});
        dc.Rectangle(Rect{10, 10, 20, 15});
    }
    EXPECT_EQ(At(10, 10), qRgb(0, 0, 255));
    EXPECT_EQ(CountNonWhite(), 50);
}

TEST_F(QtDeviceTest, ArcsRunCounterClockwiseFromStartToEnd) {
    {
        QtDeviceContext dc(image, DeviceKind::Screen);
        // From the radial towards the right to the one towards the top: the upper-right quarter.
        dc.Arc(Rect{10, 4, 51, 45}, Point{60, 24}, Point{30, 0});
    }
    int upperRight = 0, elsewhere = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (At(x, y) != kWhite) (x >= 29 && y <= 25 ? upperRight : elsewhere)++;
    EXPECT_GT(upperRight, 25);
    EXPECT_EQ(elsewhere, 0);
}

TEST_F(QtDeviceTest, ChordsCloseTheArcWithAStraightEdge) {
    {
        QtDeviceContext dc(image, DeviceKind::Screen);
        dc.SelectPen(Pen{PenStyle::Null});
        dc.SelectBrush(Brush{BrushStyle::Solid, Rgb(255, 0, 0)});
        // From the top round the left to the bottom: the left half.
        dc.Chord(Rect{10, 4, 51, 45}, Point{30, 0}, Point{30, 48});
    }
    EXPECT_EQ(At(15, 24), qRgb(255, 0, 0));
    EXPECT_EQ(At(45, 24), kWhite);
}

TEST_F(QtDeviceTest, EmptyAndNegativeShapesDrawNothing) {
    {
        QtDeviceContext dc(image, DeviceKind::Screen);
        dc.Rectangle(Rect{10, 10, 10, 20});
        dc.Ellipse(Rect{20, 20, 10, 10});
        dc.FillSolidRect(Rect{5, 5, 0, 0}, 0);
        dc.Chord(Rect{1, 1, 1, 1}, Point{}, Point{});
        dc.Polyline({});
        dc.Polygon({});
    }
    EXPECT_EQ(CountNonWhite(), 0);
}

TEST_F(QtDeviceTest, NotXorDrawingTwiceRestoresEveryPixel) {
    image = Gradient();
    const QImage before = image;
    const Point zigzag[] = {{2, 40}, {20, 3}, {33, 44}, {60, 5}, {61, 30}};
    auto draw = [&](QtDeviceContext& dc) {
        dc.SetRop2(RasterOp::NotXorPen);
        dc.SelectPen(Pen{PenStyle::Dot, 1, 0});
        dc.SelectBrush(Brush{BrushStyle::Null});
        dc.Rectangle(Rect{5, 5, 50, 40});
        dc.SelectPen(Pen{PenStyle::UserDash, 2, Rgb(200, 10, 10), true, {5, 5}, 2});
        dc.Polyline(zigzag);
        dc.Ellipse(Rect{8, 8, 40, 30});
        dc.MoveTo(0, 47);
        dc.LineTo(63, 0);
    };
    {
        QtDeviceContext dc(image, DeviceKind::Screen);
        draw(dc);
    }
    EXPECT_NE(image, before);
    {
        QtDeviceContext dc(image, DeviceKind::Screen);
        draw(dc);
    }
    EXPECT_EQ(image, before);
}

TEST_F(QtDeviceTest, MaskPenKeepsOnlyCommonBits) {
    image.fill(qRgb(0xF0, 0x0F, 0xFF));
    {
        QtDeviceContext dc(image, DeviceKind::Screen);
        dc.SetRop2(RasterOp::MaskPen);
        dc.SelectPen(Pen{PenStyle::Solid, 1, Rgb(0x3C, 0x3C, 0x00)});
        dc.MoveTo(0, 0);
        dc.LineTo(10, 0);
    }
    EXPECT_EQ(At(5, 0), qRgb(0x30, 0x0C, 0x00));
}

TEST_F(QtDeviceTest, PatternBrushesPaintZeroBitsInTheTextColour) {
    {
        QtDeviceContext dc(image, DeviceKind::Screen);
        dc.SelectPen(Pen{PenStyle::Null});
        dc.SetTextColor(Rgb(0, 128, 0));
        dc.SetBkColor(Rgb(255, 255, 0));
        dc.SelectBrush(
            Brush{BrushStyle::Pattern, 0, {0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0xFF}});
        dc.Rectangle(Rect{0, 0, 16, 16});
    }
    EXPECT_EQ(At(3, 0), qRgb(255, 255, 0));
    EXPECT_EQ(At(3, 1), qRgb(0, 128, 0));
    EXPECT_EQ(At(3, 2), qRgb(0, 128, 0));
    EXPECT_EQ(At(3, 3), qRgb(255, 255, 0));
    EXPECT_EQ(At(12, 9), qRgb(0, 128, 0)); // the pattern repeats from the device origin
    EXPECT_EQ(At(16, 1), kWhite);
}

TEST_F(QtDeviceTest, StretchedPatternsCoverKUnitsPerBit) {
    {
        QtDeviceContext dc(image, DeviceKind::Screen);
        dc.SelectPen(Pen{PenStyle::Null});
        Brush stripes{BrushStyle::Pattern, 0, {0x99, 0x99, 0x99, 0x99, 0x99, 0x99, 0x99, 0x99}};
        stripes.patternScale = 2;
        dc.SelectBrush(stripes);
        dc.Rectangle(Rect{0, 0, 32, 8});
    }
    // 1001 1001 at two units a bit: paper 0-1, ink 2-5, paper 6-9.
    EXPECT_EQ(At(1, 0), kWhite);
    EXPECT_EQ(At(2, 0), kBlack);
    EXPECT_EQ(At(5, 0), kBlack);
    EXPECT_EQ(At(6, 0), kWhite);
}

TEST_F(QtDeviceTest, ClippingAndRestoringTheState) {
    {
        QtDeviceContext dc(image, DeviceKind::Screen);
        const int level = dc.SaveDC();
        dc.IntersectClipRect(Rect{10, 10, 20, 20});
        EXPECT_EQ(dc.GetClipBox(), (Rect{10, 10, 20, 20}));
        EXPECT_FALSE(dc.RectVisible(Rect{20, 0, 30, 30}));
        dc.FillSolidRect(Rect{0, 0, 64, 48}, Rgb(255, 0, 0));
        dc.RestoreDC(level);
        EXPECT_EQ(dc.GetClipBox(), (Rect{0, 0, 64, 48}));
        dc.FillSolidRect(Rect{30, 30, 31, 31}, Rgb(0, 0, 255));
    }
    EXPECT_EQ(CountNonWhite(), 101);
    EXPECT_EQ(At(10, 10), qRgb(255, 0, 0));
    EXPECT_EQ(At(20, 20), kWhite);
    EXPECT_EQ(At(30, 30), qRgb(0, 0, 255));
}

TEST_F(QtDeviceTest, PolygonClipUsesTheAlternateRule) {
    {
        QtDeviceContext dc(image, DeviceKind::Screen);
        const Point square[] = {{0, 0}, {20, 0}, {20, 20}, {0, 20}};
        dc.SelectClipPolygon(square);
        dc.FillSolidRect(Rect{0, 0, 64, 48}, 0);
    }
    EXPECT_EQ(At(5, 5), kBlack);
    EXPECT_EQ(At(25, 5), kWhite);
}

TEST_F(QtDeviceTest, BlockCopyFromAMemorySurface) {
    QtDeviceContext memory(16, 16);
    memory.FillSolidRect(Rect{4, 4, 8, 8}, Rgb(255, 0, 0));
    {
        QtDeviceContext dc(image, DeviceKind::Screen);
        dc.BitBlt(20, 20, 8, 8, memory, 2, 2);
        auto other = dc.CreateCompatible(10, 10);
        EXPECT_EQ(other->Kind(), DeviceKind::Memory);
        EXPECT_EQ(other->SurfaceSize(), (Size{10, 10}));
        // A new compatible surface is black until painted.
        dc.BitBlt(40, 30, 10, 10, *other, 0, 0);
    }
    EXPECT_EQ(At(22, 22), qRgb(255, 0, 0));
    EXPECT_EQ(At(21, 21), kWhite);
    EXPECT_EQ(At(49, 39), kBlack);
    EXPECT_EQ(CountNonWhite(), 16 + 100);
}

TEST_F(QtDeviceTest, TimesNewRomanResolvesToLiberationSerif) {
    const QFontInfo info(QFont("Times New Roman"));
    EXPECT_EQ(info.family(), "Liberation Serif");
}

TEST_F(QtDeviceTest, TextExtentsFollowThePixelHeight) {
    QtDeviceContext dc(image, DeviceKind::Screen);
    dc.SelectFont(Font{"Times New Roman", 13, 0, 0});
    const Size small = dc.GetTextExtent("12345");
    dc.SelectFont(Font{"Times New Roman", 26, 0, 0});
    const Size large = dc.GetTextExtent("12345");
    EXPECT_GT(small.cx, 20);
    EXPECT_NEAR(large.cx, 2 * small.cx, small.cx / 5); // hinted advances round per glyph
    EXPECT_NEAR(large.cy, 2 * small.cy, 2);
    // Widths kept from earlier measurements belong to their font and style alone.
    dc.SelectFont(Font{"Times New Roman", 13, 0, 0});
    EXPECT_EQ(dc.GetTextExtent("12345").cx, small.cx);
    const int regular = dc.GetTextExtent("WWWWW").cx;
    dc.SelectFont(Font{"Times New Roman", 13, 0, FontBold});
    const int bold = dc.GetTextExtent("WWWWW").cx;
    QImage other(100, 50, QImage::Format_RGB32);
    QtDeviceContext fresh(other, DeviceKind::Screen);
    fresh.SelectFont(Font{"Times New Roman", 13, 0, FontBold});
    EXPECT_EQ(bold, fresh.GetTextExtent("WWWWW").cx);
    EXPECT_NE(bold, regular);
    EXPECT_EQ(dc.GetTextExtent("").cx, 0);
    const std::string longText(200000, 'w');
    EXPECT_GT(dc.GetTextExtent(longText).cx, 200000);
    dc.TextOut(0, 20, longText); // draws without fault
    dc.TextOut(0, 20, "");
}

TEST_F(QtDeviceTest, AlignmentPlacesTheReferencePoint) {
    auto inkBox = [](const QImage& img) {
        QRect box;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (img.pixel(x, y) != kWhite) box |= QRect(x, y, 1, 1);
        return box;
    };
    {
        QtDeviceContext dc(image, DeviceKind::Screen);
        dc.SelectFont(Font{"Times New Roman", 20, 0, 0});
        dc.SetTextAlign(AlignBottom | AlignRight);
        dc.TextOut(40, 30, "H");
    }
    const QRect box = inkBox(image);
    EXPECT_LE(box.right(), 40);
    EXPECT_GE(box.right(), 36);
    EXPECT_LE(box.bottom(), 30);
    EXPECT_GE(box.bottom(), 24); // above the descent
}

TEST_F(QtDeviceTest, UpdateCPAdvancesAlongTheText) {
    QtDeviceContext dc(image, DeviceKind::Screen);
    dc.SelectFont(Font{"Times New Roman", 13, 0, 0});
    dc.MoveTo(5, 20);
    dc.SetTextAlign(AlignUpdateCP | AlignBaseline);
    const int width = dc.GetTextExtent("abc").cx;
    dc.TextOut(0, 0, "abc");
    EXPECT_NEAR(dc.MoveTo(0, 0).x, 5 + width, 1);
}

// Texts on images are shaped once and kept; drawn again, in any font and at any angle, they
// give exactly the pixels the painter's own text drawing gives.
TEST_F(QtDeviceTest, KeptTextDrawsAsThePainterDrawsText) {
    struct Case {
        Font font;
        const char* text;
    };
    const Case cases[] = {
        {Font{"Times New Roman", 13, 0, 0}, "0.25"},
        {Font{"Arial", 20, 90, FontBold}, "Temperature [\xC2\xB0"
                                          "C]"},
        {Font{"Arial", 11, -90, FontItalic | FontUnderline}, "Flow, m3/h"},
        {Font{"Courier New", 16, 30, 0}, "\xC3\x84\xC3\x96 x\xC2\xB2 -1e-05"},
        {Font{"Times New Roman", 9, 0, FontBold | FontItalic}, "a fairly long label of many words"},
        {Font{"Arial", 12, 0, 0}, "two\tcolumns"},
    };
    for (const Case& c : cases) {
        QImage drawn(200, 200, QImage::Format_RGB32), expected = drawn;
        drawn.fill(Qt::white);
        expected.fill(Qt::white);
        {
            QtDeviceContext dc(drawn, DeviceKind::Screen);
            dc.SelectFont(c.font);
            dc.SetTextAlign(AlignBaseline | AlignLeft);
            dc.SetBkMode(BackgroundMode::Transparent); // the second text overlaps the first
            for (int pass = 0; pass < 2; ++pass)       // the second pass draws the kept text
                dc.TextOut(60 + pass * 50, 100 + pass * 3, c.text);
        }
        QFont font(QString::fromStdString(c.font.face));
        font.setPixelSize(c.font.pixelHeight);
        font.setBold(c.font.style & FontBold);
        font.setItalic(c.font.style & FontItalic);
        font.setUnderline(c.font.style & FontUnderline);
        QPainter painter(&expected);
        painter.setFont(font);
        painter.setPen(Qt::black);
        for (int pass = 0; pass < 2; ++pass) {
            painter.save();
            painter.translate(60 + pass * 50, 100 + pass * 3);
            painter.rotate(-c.font.angle);
            painter.drawText(QPointF(0, 0), QString::fromUtf8(c.text));
            painter.restore();
        }
        painter.end();
        EXPECT_EQ(drawn, expected) << c.text;
        QImage blank(200, 200, QImage::Format_RGB32);
        blank.fill(Qt::white);
        EXPECT_NE(drawn, blank) << c.text;
    }
}

TEST(QtVectorDevices, PdfPageIsTheRequestedPixelSize) {
    EnsureQtApp();
    const QString path = OutputPath("page-size.pdf");
    auto writer = QtDeviceContext::MakePdfWriter(path, 400, 300);
    {
        QtDeviceContext dc(*writer, DeviceKind::Printer);
        EXPECT_EQ(dc.SurfaceSize(), (Size{400, 300}));
        EXPECT_EQ(dc.Kind(), DeviceKind::Printer);
        dc.FillSolidRect(Rect{0, 0, 400, 300}, Rgb(255, 0, 0));
    }
    const QSizeF points = writer->pageLayout().fullRect(QPageLayout::Point).size();
    EXPECT_NEAR(points.width(), 300, 0.5);
    EXPECT_NEAR(points.height(), 225, 0.5);
    EXPECT_GT(QFile(path).size(), 0);
}

TEST(QtVectorDevices, SvgHatchesAreGeometryNotImages) {
    EnsureQtApp();
    const QString path = OutputPath("hatch.svg");
    {
        auto svg = QtDeviceContext::MakeSvgGenerator(path, 100, 100);
        QtDeviceContext dc(*svg, DeviceKind::Metafile);
        dc.SetTextColor(Rgb(0, 0, 255));
        dc.SelectBrush(
            Brush{BrushStyle::Pattern, 0, {0xEE, 0xDD, 0xBB, 0x77, 0xEE, 0xDD, 0xBB, 0x77}});
        dc.Ellipse(Rect{10, 10, 60, 60});
        dc.SetRop2(RasterOp::NotXorPen); // ignored on vector devices
        dc.Rectangle(Rect{70, 70, 90, 90});
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_FALSE(text.contains("<image"));
    EXPECT_TRUE(text.contains("#0000ff"));
}

TEST(QtWidePolylines, PiecesContinueTheDashPattern) {
    EnsureQtApp();
    // 1000 points: drawn in pieces by the device, in one path by QPainter itself.
    std::vector<Point> points;
    for (int i = 0; i < 1000; ++i)
        points.push_back(Point{10 + i * 3 % 580, 20 + (i * 37) % 160});
    const Pen dashed{PenStyle::UserDash, 2, Rgb(0, 0, 255), true, {5, 5}, 2};
    QImage pieces(600, 200, QImage::Format_RGB32);
    pieces.fill(Qt::white);
    {
        QtDeviceContext dc(pieces, DeviceKind::Screen);
        dc.SelectPen(dashed);
        dc.Polyline(points);
    }
    QImage whole(600, 200, QImage::Format_RGB32);
    whole.fill(Qt::white);
    {
        QPainter painter(&whole);
        QPen pen(QColor(0, 0, 255), 2, Qt::CustomDashLine, Qt::RoundCap, Qt::RoundJoin);
        pen.setDashPattern({2.5, 2.5});
        painter.setPen(pen);
        QPolygon polygon;
        for (const Point& p : points)
            polygon << QPoint(p.x, p.y);
        painter.drawPolyline(polygon);
    }
    EXPECT_NE(pieces, QImage(600, 200, QImage::Format_RGB32));
    EXPECT_LE(DifferingShare(pieces, whole, 0), 0.002);
}

// Whether the upper halves of the vector registers are in use (the processor's XINUSE bit for
// them); known is false where the processor cannot tell.
static bool UpperVectorHalvesInUse(bool& known) {
    known = false;
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__builtin_cpu_supports("avx") || !__get_cpuid_count(0xD, 1, &a, &b, &c, &d) || !(a & 4))
        return false;
    unsigned low = 0, high = 0;
    asm volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(1));
    known = true;
    return (low & 4) != 0;
#else
    return false;
#endif
}

TEST(QtDeviceVectorState, DrawingLeavesTheUpperVectorHalvesClear) {
    EnsureQtApp();
    QImage picture(640, 480, QImage::Format_RGB32);
    bool known = false;
    // Qt's own fill, as the control of this test: it must leave them in use here.
    QPainter(&picture).fillRect(QRect(0, 0, 640, 480), QColor(10, 20, 30));
    const bool qtLeavesThem = UpperVectorHalvesInUse(known);
    if (!known || !qtLeavesThem) GTEST_SKIP() << "Qt's fills leave no upper vector state here";
    QtDeviceContext dc(picture, DeviceKind::Memory);
    dc.FillSolidRect(Rect{0, 0, 640, 480}, Rgb(200, 100, 50));
    EXPECT_FALSE(UpperVectorHalvesInUse(known));
    dc.TextOut(10, 10, "123.5");
    EXPECT_FALSE(UpperVectorHalvesInUse(known));
    const Point line[] = {{0, 0}, {600, 400}, {20, 300}};
    dc.Polyline(line);
    EXPECT_FALSE(UpperVectorHalvesInUse(known));
    dc.End();
    EXPECT_EQ(picture.pixel(5, 200), qRgb(200, 100, 50));
}
