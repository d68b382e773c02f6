// Pictures of a typed plot: files of the three kinds, images of the plot's size and scaled
// ones, the same pixels as the control's own drawing entry gives, and a million points drawn
// as the plain per-point polyline would draw them.
#include "front/PlotImpl.h"
#include "qt/QtDeviceContext.h"
#include "qt/QtRenderer.h"

#include "QtTestApp.h"

#include <trendix/Image.h>

#include <QFileInfo>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

trendix::Plot WavePlot(std::size_t points) {
    trendix::Plot plot;
    plot.setSize(640, 400);
    plot.setTitle("Wave");
    plot.setDisplay(trendix::DisplayKind::Lines);
    std::vector<double> xs(points), ys(points);
    for (std::size_t i = 0; i < points; ++i) {
        xs[i] = double(i) / double(points) * 20;
        ys[i] = std::sin(xs[i]) + 0.3 * std::sin(double(i) * 0.37);
    }
    plot.setSeries(1, xs, ys);
    return plot;
}

QImage ByControl(trendix::Plot& plot, int width, int height) {
    QtDeviceContext dc(width, height, gdi::DeviceKind::Memory);
    const gdi::Rect bounds{0, 0, width, height};
    plot.impl().control().OnDraw(dc, bounds, bounds);
    dc.End();
    return dc.Image()->copy();
}

TEST(PlotImage, ImagesAreTheControlsOwnDrawingAtItsSizeAndScaled) {
    EnsureQtApp();
    trendix::Plot plot = WavePlot(5000);
    const QImage own = trendix::toImage(plot);
    EXPECT_EQ(own.size(), QSize(640, 400));
    EXPECT_EQ(DifferingShare(own, ByControl(plot, 640, 400), 0), 0.0);
    QImage scaled(320, 200, QImage::Format_RGB32);
    trendix::render(plot, scaled);
    EXPECT_EQ(DifferingShare(scaled, ByControl(plot, 320, 200), 0), 0.0);
    // The plot keeps its own size after a scaled drawing.
    EXPECT_EQ(DifferingShare(trendix::toImage(plot), own, 0), 0.0);
}

TEST(PlotImage, FilesOfEachKindAndRefusals) {
    EnsureQtApp();
    trendix::Plot plot = WavePlot(2000);
    for (const char* name : {"front-wave.png", "front-wave.svg", "front-wave.pdf"}) {
        const QString path = OutputPath(name);
        trendix::saveImage(plot, path.toStdString());
        EXPECT_GT(QFileInfo(path).size(), 500) << name;
    }
    QImage png(OutputPath("front-wave.png"));
    EXPECT_EQ(png.size(), QSize(640, 400));
    trendix::saveImage(plot, OutputPath("front-wave-small.png").toStdString(), 200, 125);
    EXPECT_EQ(QImage(OutputPath("front-wave-small.png")).size(), QSize(200, 125));
    auto status = [&](auto call) -> std::uint32_t {
        try {
            call();
        } catch (const trendix::Error& e) {
            return e.hresult();
        }
        return 0;
    };
    EXPECT_EQ(status([&] { trendix::saveImage(plot, OutputPath("x.bmp").toStdString()); }),
              trendix::Error::kFailed);
    EXPECT_EQ(status([&] { trendix::saveImage(plot, "/nonexistent/dir/x.png"); }),
              trendix::Error::kFailed);
    EXPECT_EQ(status([&] { trendix::saveImage(plot, OutputPath("y.png").toStdString(), 0, 5); }),
              trendix::Error::kInvalidArgument);
    QImage none;
    EXPECT_EQ(status([&] { trendix::render(plot, none); }), trendix::Error::kInvalidArgument);
}

TEST(PlotImage, AMillionPointSeriesDrawsAsItsPointsBySetData) {
    EnsureQtApp();
    // The same curve through the automation members would need 16-bit point numbers; the
    // model's per-point store stands in for them here, point by point.
    constexpr std::size_t kPoints = 1'000'000;
    trendix::Plot bulk = WavePlot(kPoints);
    trendix::Plot pointwise;
    pointwise.setSize(640, 400);
    pointwise.setTitle("Wave");
    pointwise.setDisplay(trendix::DisplayKind::Lines);
    CPlotLook& m = pointwise.impl().model();
    const std::vector<double> xs = bulk.xValues(1), ys = bulk.yValues(1);
    for (std::size_t i = 0; i < kPoints; ++i) {
        m.XVar(0)->SetAt(std::uint32_t(i), xs[i]);
        m.YVar(0)->SetAt(std::uint32_t(i), ys[i]);
    }
    m.XVar(0)->Resize(kPoints); // SetAt grows by ten slots at a time
    m.YVar(0)->Resize(kPoints);
    m.rangeDirty = m.dataDirty = 1;
    EXPECT_EQ(DifferingShare(trendix::toImage(bulk), trendix::toImage(pointwise), 0), 0.0);
}

} // namespace
