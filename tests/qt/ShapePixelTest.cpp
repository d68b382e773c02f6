// Every drawn shape kind and a turned path in one scene: on an image against its reference in
// tests/data (set TRENDIX_UPDATE_REFERENCES=1 to write it anew, and look at it before
// committing), each shape found in its own colour inside its bounds, and the same scene as a
// PDF page and an SVG picture, rasterised, within a stated share of the image's pixels.
#include "annot/PlotDisplay.h"
#include "annot/PlotPath.h"
#include "qt/QtDeviceContext.h"
#include "render/DrawTables.h"
#include "render/PlotEnv.h"

#include "QtTestApp.h"

#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QSvgGenerator>
#include <QSvgRenderer>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 310;
// Vector pictures rasterised again differ from the image in smoothed edges and glyphs only.
constexpr int kVectorChannelTolerance = 96;
constexpr double kVectorShare = 0.03;

// One shape of the scene: how it is made (in world units, one a pixel, y up) and its colour.
struct SceneShape {
    const char* name;
    int colorIndex;
    std::function<std::unique_ptr<CPlotDisplay>()> make;
    int minimumInk; // pixels of its colour inside its bounds, at least
};

template <class Shape, class... Args>
std::unique_ptr<CPlotDisplay> Make(float x1, float y1, float x2, float y2, Args... args) {
    auto s = std::make_unique<Shape>(args...);
    s->SetWorld(x1, y1, x2, y2);
    return s;
}

std::unique_ptr<CPlotDisplay> Ellipse(char kind, float cx, float cy, float rx, float ry,
                                      bool filled) {
    auto e = Make<CPlotEllipse>(cx, cy, cx + rx, cy + ry, kind, cx, cy);
    e->SetFilled(filled ? 1 : 0);
    return e;
}

std::unique_ptr<CPlotDisplay> Polygon(std::vector<CPlotVertex> v, bool closed, bool filled) {
    auto p = std::make_unique<CPlotPolygon>(v[0].x, v[0].y, closed);
    p->SetVertices(std::move(v));
    if (closed) p->SetFilled(filled ? 1 : 0);
    return p;
}

// A box, a line and an upper half ellipse grouped, turned left and mirrored in x.
std::unique_ptr<CPlotDisplay> TurnedPath(const CPlotEnv& env) {
    auto path = std::make_unique<CPlotPath>();
    Make<CPlotBox>(150, 20, 210, 50, CPlotDisplay::kBox, 0.0f, 0.0f)->AppendToPath(*path);
    Make<CPlotLine>(150, 20, 210, 50, 0.0f, 0.0f)->AppendToPath(*path);
    Ellipse('u', 180, 50, 30, 15, true)->AppendToPath(*path);
    path->SetPivotToCentre();
    path->KeyDown('l', false, env);
    path->KeyDown('x', false, env);
    return path;
}

std::vector<SceneShape> Scene(const CPlotEnv& env) {
    return {
        {"line", 1, [] { return Make<CPlotLine>(20, 300, 80, 250, 0.0f, 0.0f); }, 40},
        {"box", 2,
         [] { return Make<CPlotBox>(100, 300, 160, 250, CPlotDisplay::kBox, 0.0f, 0.0f); }, 150},
        {"filled box", 3,
         [] { return Make<CPlotBox>(180, 300, 240, 250, CPlotDisplay::kFilledBox, 0.0f, 0.0f); },
         2500},
        {"ellipse", 4, [] { return Ellipse('c', 290, 275, 30, 22, false); }, 100},
        {"filled ellipse", 9, [] { return Ellipse('c', 360, 275, 30, 22, true); }, 1500},
        {"upper half", 11, [] { return Ellipse('u', 50, 190, 30, 30, false); }, 50},
        {"right half", 12, [] { return Ellipse('>', 110, 200, 25, 30, false); }, 50},
        // A filled part is its chord figure: (pi / 4 - 1 / 2) r^2, some 457 pixels here.
        {"lower left quarter filled", 13, [] { return Ellipse('3', 200, 230, 40, 40, true); }, 400},
        {"quarter arc", 14, [] { return Make<CPlotArc>(250, 230, 300, 180, 0.0f, 0.0f); }, 40},
        {"marker", 17, [] { return Make<CPlotPoint>(350, 200, 350, 200, 0.0f, 0.0f, 3, 6); }, 20},
        {"polygon", 5,
         [] {
             return Polygon({{20, 150, 1}, {80, 140, 1}, {60, 90, 1}, {25, 100, 1}}, true, false);
         },
         100},
        {"polyline with a pen-up", 6,
         [] {
             return Polygon({{100, 150, 1}, {140, 100, 1}, {160, 150, 0}, {190, 100, 1}}, false,
                            false);
         },
         60},
        {"filled polygon", 10,
         [] {
             return Polygon({{210, 150, 1}, {270, 140, 1}, {240, 90, 1}}, true, true);
         },
         800},
        {"text", 0,
         [&env] {
             return std::make_unique<CPlotText>(290, 150, "Shapes\r\ndrawn", "Liberation Sans",
                                                CPlotText::WorldSize(14, env));
         },
         60},
        {"turned path", 3, [&env] { return TurnedPath(env); }, 150},
    };
}

// The scene on a white device; each shape's device bounds after its drawing.
std::vector<gdi::Rect> DrawScene(gdi::IDeviceContext& dc) {
    CDrawTool tool;
    CPlotEnv env(tool);
    env.SetMapping({0, 0, kWidth, kHeight}, 0, kWidth, kHeight, 0);
    gdi::StateScope state(dc);
    dc.FillSolidRect(gdi::Rect{0, 0, kWidth, kHeight}, gdi::Rgb(0xFF, 0xFF, 0xFF));
    std::vector<gdi::Rect> bounds;
    for (const SceneShape& s : Scene(env)) {
        std::unique_ptr<CPlotDisplay> shape = s.make();
        shape->SetColor(tool.ColorAt(s.colorIndex), s.colorIndex);
        shape->SetLineType(1);
        shape->Draw(dc, env);
        bounds.push_back(shape->Bounds());
    }
    return bounds;
}

QImage DrawImage(std::vector<gdi::Rect>* bounds = nullptr) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QtDeviceContext dc(image, gdi::DeviceKind::Screen);
    std::vector<gdi::Rect> drawn = DrawScene(dc);
    dc.End();
    if (bounds) *bounds = std::move(drawn);
    return image;
}

int InkOf(const QImage& image, gdi::ColorRef color, const gdi::Rect& r) {
    const QRgb rgb =
        qRgb(int(gdi::RedOf(color)), int(gdi::GreenOf(color)), int(gdi::BlueOf(color)));
    int n = 0;
    for (int y = std::max(0, r.top); y < std::min(kHeight, r.bottom); ++y)
        for (int x = std::max(0, r.left); x < std::min(kWidth, r.right); ++x)
            if (image.pixel(x, y) == rgb) ++n;
    return n;
}

QImage Rasterised(const QString& svgPath) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QSvgRenderer renderer(svgPath);
    if (!renderer.isValid()) return {};
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

} // namespace

TEST(ShapePixels, EveryKindDrawsInItsColourAndTheSceneMatchesTheReference) {
    EnsureQtApp();
    std::vector<gdi::Rect> bounds;
    const QImage image = DrawImage(&bounds);
    CDrawTool tool;
    CPlotEnv env(tool);
    const std::vector<SceneShape> scene = Scene(env);
    ASSERT_EQ(bounds.size(), scene.size());
    for (std::size_t i = 0; i < scene.size(); ++i)
        EXPECT_GE(InkOf(image, DrawTables::kPalette[std::size_t(scene[i].colorIndex)], bounds[i]),
                  scene[i].minimumInk)
            << scene[i].name;

    // Glyph rasterising may vary a little between FreeType builds; the figures may not.
    ExpectLikeReference(image, "shapes-every-kind.png", 64, 0.002);
}

TEST(ShapePixels, PdfAndSvgCarryTheScene) {
    EnsureQtApp();
    const QImage image = DrawImage();
    const QString svgPath = OutputPath("shapes-every-kind.svg");
    {
        auto svg = QtDeviceContext::MakeSvgGenerator(svgPath, kWidth, kHeight);
        QtDeviceContext dc(*svg, gdi::DeviceKind::Metafile);
        DrawScene(dc);
    }
    const QImage fromSvg = Rasterised(svgPath);
    ASSERT_FALSE(fromSvg.isNull());
    fromSvg.save(OutputPath("shapes-every-kind-svg.png"));
    EXPECT_LE(DifferingShare(fromSvg, image, kVectorChannelTolerance), kVectorShare);

    const QString pdfPath = OutputPath("shapes-every-kind.pdf");
    {
        auto writer = QtDeviceContext::MakePdfWriter(pdfPath, kWidth, kHeight);
        QtDeviceContext dc(*writer, gdi::DeviceKind::Printer);
        DrawScene(dc);
    }
    QFile pdf(pdfPath);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.readAll().startsWith("%PDF"));
    // The page rasterised at 96 dots an inch, to the image's size (the page's height in
    // points is a fraction that the rasteriser rounds up).
    const QString pdftoppm = QStandardPaths::findExecutable("pdftoppm");
    if (pdftoppm.isEmpty()) GTEST_SKIP() << "pdftoppm is missing: the PDF is not rasterised";
    const QString stem = OutputPath("shapes-every-kind-pdf");
    QProcess process;
    process.start(pdftoppm, {"-r", "96", "-scale-to-x", QString::number(kWidth), "-scale-to-y",
                             QString::number(kHeight), "-png", "-singlefile", pdfPath, stem});
    ASSERT_TRUE(process.waitForFinished(30000));
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    const QImage fromPdf = QImage(stem + ".png").convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(fromPdf.size(), image.size());
    fromPdf.save(OutputPath("shapes-every-kind-pdf-rgb.png"));
    EXPECT_LE(DifferingShare(fromPdf, image, kVectorChannelTolerance), kVectorShare);
    std::printf("differing share: svg %.4f, pdf %.4f\n",
                DifferingShare(fromSvg, image, kVectorChannelTolerance),
                DifferingShare(fromPdf, image, kVectorChannelTolerance));
}
