// Legend samples drawn by the control must show the pen of their curve: for every line type, the
// pixels of the legend's sample line equal those of the same length of the curve, measured from
// where each begins.
#include "control/TrendixCtrl.h"
#include "model/PlotLook.h"
#include "platform/ui/HeadlessSite.h"
#include "qt/QtDeviceContext.h"
#include "qt/QtRenderer.h"
#include "render/DrawTables.h"
#include "render/PlotLegendRgn.h"
#include "render/PlotVar.h"

#include "QtTestApp.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using com::Variant;

constexpr int kWidth = 400;
constexpr int kHeight = 310;
// Rows either side of a line that the widest pen (8 units) stays within.
constexpr int kBand = 6;

struct Drawn {
    QImage image;
    gdi::Point curveStart;  // first device point of the curve
    gdi::Point sampleStart; // left end of the legend's sample line
    int sampleLength = 0;
};

void Call(CTrendixCtrl& c, const char* name, std::vector<Variant> args) {
    c.Invoke(c.GetIDOfName(name), com::InvokeKind::Method, args);
}

void Put(CTrendixCtrl& c, const char* name, Variant value) {
    Variant args[] = {std::move(value)};
    c.Invoke(c.GetIDOfName(name), com::InvokeKind::PropertyPut, args);
}

// One variable with the given stored line type drawn as a level line from x = 1 to x = 9 on
// axes fixed at 0..10, with its legend shown and lines only.
Drawn DrawLevelLine(short storedLineType) {
    EnsureQtApp();
    ui::HeadlessSite site;
    site.surfaceFactory = QtRenderer::MakeSurface;
    CTrendixCtrl c(site);
    c.OnSize(kWidth, kHeight);
    site.ResizeSurface(kWidth, kHeight);
    Put(c, "npoints", Variant::I2(2));
    Put(c, "ShowLegend", Variant::Bool(true));
    Put(c, "DisplayType", Variant::I2(0));
    Call(c, "SetLegend", {Variant::I2(1), Variant::Str("Flow")});
    Call(c, "SetAttribute",
         {Variant::I2(0), Variant::I2(storedLineType), Variant::I2(0), Variant::I2(1)});
    for (short axis = 0; axis <= 1; ++axis) {
        Call(c, "SetAxisMode", {Variant::I2(axis), Variant::I2(0), Variant::I2(0)});
        Call(c, "SetRange", {Variant::I2(axis), Variant::R8(0), Variant::R8(10)});
    }
    for (short k = 0; k < 2; ++k) {
        Call(c, "SetXData", {Variant::I2(1), Variant::I2(k), Variant::R8(k ? 9 : 1)});
        Call(c, "SetData", {Variant::I2(1), Variant::I2(k), Variant::R8(5)});
    }
    QtDeviceContext dc(kWidth, kHeight, gdi::DeviceKind::Memory);
    const gdi::Rect bounds{0, 0, kWidth, kHeight};
    c.OnDraw(dc, bounds, bounds);
    dc.End();

    Drawn d;
    d.image = dc.Image()->copy();
    const CPlotVar& y = *c.Model()->YVar(0);
    EXPECT_GE(y.devicePointCount, 2u);
    if (y.devicePointCount > 0) d.curveStart = {y.devicePoints[0].first, y.devicePoints[0].second};
    // The sample's ends and height as the legend places them for its only entry.
    const CPlotLegendRgn& legend = *c.Model()->legendRegion;
    const int h = legend.height - 2 * legend.margin;
    d.sampleStart = {legend.rect.left + legend.margin, legend.rect.top + legend.margin + h / 2};
    d.sampleLength = legend.lineSampleLength;
    return d;
}

// The band of kBand rows either side of a horizontal line, from one column before its start
// over length columns (the far end, with its cap, is left out).
QImage Band(const QImage& image, gdi::Point start, int length) {
    return image.copy(start.x - 1, start.y - kBand, length + 1, 2 * kBand + 1);
}

int InkedPixels(const QImage& band, QRgb background) {
    int n = 0;
    for (int y = 0; y < band.height(); ++y)
        for (int x = 0; x < band.width(); ++x)
            n += band.pixel(x, y) != background;
    return n;
}

} // namespace

TEST(LegendPixels, EverySampleLineShowsThePenOfItsCurve) {
    for (short stored = 0; stored < DrawTables::kLineTypeCount; ++stored) {
        SCOPED_TRACE("stored line type " + std::to_string(stored));
        const Drawn d = DrawLevelLine(stored);
        ASSERT_GT(d.sampleLength, 20);
        ASSERT_GT(d.curveStart.x, 0);
        const int length = d.sampleLength - 8;
        const QImage sample = Band(d.image, d.sampleStart, length);
        const QImage curve = Band(d.image, d.curveStart, length);
        const QRgb background = d.image.pixel(d.sampleStart.x, d.sampleStart.y - kBand);
        EXPECT_GT(InkedPixels(curve, background), length / 3); // the curve is there
        EXPECT_EQ(sample, curve);
        if (sample != curve) {
            const QString name = QString("legend-line-%1").arg(stored);
            sample.save(OutputPath(name + "-sample.png"));
            curve.save(OutputPath(name + "-curve.png"));
        }
    }
}
