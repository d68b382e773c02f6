// A first picture: two axes over the same data, the twelve markers, the nine line types and
// the ten hatches, drawn on an image, a PDF page and an SVG picture and compared with the
// references in tests/data (set TRENDIX_UPDATE_REFERENCES=1 to write them anew).
#include "qt/QtDeviceContext.h"

#include "QtTestApp.h"
#include "render/DrawTables.h"
#include "render/PlotAxisRgn.h"
#include "render/PlotEnv.h"

#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <QSvgRenderer>

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 310;
const gdi::Rect kPlot{70, 12, 385, 140};

struct Picture {
    CDrawTool tool;
    CPlotEnv env{tool};
    CPlotFont font{"Times New Roman", 10, 0};
    CPlotFont vertical{"Times New Roman", 10, 0};
    CPlotFont small{"Times New Roman", 7, 0};
    bool withText = true;

    Picture() {
        env.locale.decimalSeparator = '.';
        vertical.angle = 90;
    }

    // One axis over the data range [-3.2, 7.9], scaled for an axis of the given length.
    CPlotAxis Axis(int length) {
        CPlotAxis axis;
        axis.reqMin = -3.2;
        axis.reqMax = 7.9;
        axis.UpdateScale(AxisScale::TargetIntervals(length, font.size, env.scale));
        return axis;
    }

    void DrawAxes(gdi::IDeviceContext& dc) {
        const CPlotAxis x = Axis(kPlot.Width());
        const CPlotAxis y = Axis(kPlot.Height());
        env.SetMapping(kPlot, static_cast<float>(x.plotMin), static_cast<float>(x.plotMax),
                       static_cast<float>(y.plotMax), static_cast<float>(y.plotMin));
        env.SelectPen(dc, 0, 1);
        dc.MoveTo(kPlot.left, kPlot.bottom);
        dc.LineTo(kPlot.right, kPlot.bottom);
        dc.MoveTo(kPlot.left - 1, kPlot.top);
        dc.LineTo(kPlot.left - 1, kPlot.bottom);
        // The data diagonal y = x in blue, to show both mappings agree.
        env.SelectPen(dc, 1, 1);
        const gdi::Point diagonal[] = {{env.MapX(-3.2f), env.MapY(-3.2f)},
                                       {env.MapX(7.9f), env.MapY(7.9f)}};
        dc.Polyline(diagonal);
        if (!withText) return;
        const int labelPos = kPlot.bottom + 4 + env.MeasureText(&font, dc, "0").cy;
        CPlotAxisRgn::DrawTicks(dc, env, x, env.XMap(), &font,
                                {labelPos, kPlot.bottom, false, false});
        CPlotAxisRgn::DrawTicks(dc, env, y, env.YMap(), &vertical, {0, kPlot.left - 1, true, true});
    }

    void Caption(gdi::IDeviceContext& dc, int x, int y, const std::string& text) {
        if (!withText) return;
        env.SelectFont(dc, &small);
        dc.SetTextAlign(gdi::AlignTop | gdi::AlignCenter);
        dc.TextOut(x, y, text);
    }

    void DrawMarkers(gdi::IDeviceContext& dc) {
        for (int kind = 0; kind < DrawTables::kMarkerCount; ++kind) {
            const int x = 24 + 32 * kind;
            env.DrawMarker(dc, kind, x, 170, kind == 0 ? 0 : kind % 6 + 1, 5);
            Caption(dc, x, 179, std::to_string(kind));
        }
    }

    void DrawLineTypes(gdi::IDeviceContext& dc) {
        for (int type = 1; type <= DrawTables::kLineTypeCount; ++type) {
            const int y = 204 + 11 * (type - 1);
            env.SelectPen(dc, type == 9 ? 3 : 0, type);
            dc.MoveTo(40, y);
            dc.LineTo(190, y);
            Caption(dc, 28, y - 5, std::to_string(type));
        }
        env.SelectPen(dc, 0, 1);
    }

    void DrawHatches(gdi::IDeviceContext& dc) {
        dc.SetBkColor(gdi::Rgb(0xFF, 0xFF, 0xFF));
        for (int hatch = 1; hatch <= DrawTables::kHatchCount; ++hatch) {
            const int col = (hatch - 1) % 5, row = (hatch - 1) / 5;
            const gdi::Rect swatch{215 + 36 * col, 198 + 52 * row, 245 + 36 * col, 228 + 52 * row};
            const int color = hatch % 2 ? 9 : 2;
            dc.SetTextColor(DrawTables::kPalette[color]);
            env.SelectPen(dc, 0, 1);
            env.SelectBrush(dc, color, hatch);
            dc.Rectangle(swatch);
            dc.SetTextColor(0);
            Caption(dc, (swatch.left + swatch.right) / 2, swatch.bottom + 1, std::to_string(hatch));
        }
    }

    void Draw(gdi::IDeviceContext& dc) {
        gdi::StateScope state(dc);
        dc.FillSolidRect(gdi::Rect{0, 0, kWidth, kHeight}, gdi::Rgb(0xFF, 0xFF, 0xFF));
        dc.SetBkMode(gdi::BackgroundMode::Transparent);
        DrawAxes(dc);
        DrawMarkers(dc);
        DrawLineTypes(dc);
        DrawHatches(dc);
    }
};

QImage DrawImage(bool withText) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QtDeviceContext dc(image, gdi::DeviceKind::Screen);
    Picture picture;
    picture.withText = withText;
    picture.Draw(dc);
    dc.End();
    return image;
}

} // namespace

TEST(Picture, ShapesMatchTheReferenceExactly) {
    EnsureQtApp();
    ExpectLikeReference(DrawImage(false), "picture-shapes.png", 0, 0);
}

TEST(Picture, AxesAndTablesMatchTheReference) {
    EnsureQtApp();
    // Glyph rasterising may vary a little between FreeType builds.
    ExpectLikeReference(DrawImage(true), "picture.png", 64, 0.003);
}

TEST(Picture, PdfAndSvgCarryTheSamePicture) {
    EnsureQtApp();
    const QString pdfPath = OutputPath("picture.pdf");
    {
        auto writer = QtDeviceContext::MakePdfWriter(pdfPath, kWidth, kHeight);
        QtDeviceContext dc(*writer, gdi::DeviceKind::Printer);
        Picture().Draw(dc);
    }
    const QString svgPath = OutputPath("picture.svg");
    {
        auto svg = QtDeviceContext::MakeSvgGenerator(svgPath, kWidth, kHeight);
        QtDeviceContext dc(*svg, gdi::DeviceKind::Metafile);
        Picture().Draw(dc);
    }
    QFile pdf(pdfPath);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.readAll().startsWith("%PDF"));
    QFile svg(svgPath);
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    const QByteArray text = svg.readAll();
    EXPECT_TRUE(text.contains("<svg"));
    EXPECT_TRUE(text.contains("10.0")); // the tick labels are text
    EXPECT_FALSE(text.contains("<image"));

    // Read back, the SVG shows the image's picture but for smoothed edges.
    QImage fromSvg(kWidth, kHeight, QImage::Format_RGB32);
    fromSvg.fill(Qt::white);
    QSvgRenderer renderer(svgPath);
    ASSERT_TRUE(renderer.isValid());
    QPainter painter(&fromSvg);
    renderer.render(&painter);
    painter.end();
    fromSvg.save(OutputPath("picture-svg.png"));
    EXPECT_LE(DifferingShare(fromSvg, DrawImage(true), 96), 0.05);
}
