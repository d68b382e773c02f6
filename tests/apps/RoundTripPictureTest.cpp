// A plot written as settings text and read back into a fresh control draws the same picture,
// once the sample data (which the text does not carry) is copied across.
#include "PlotFileCommands.h"
#include "control/TrendixCtrl.h"
#include "platform/ui/HeadlessSite.h"
#include "qt/QtDeviceContext.h"
#include "qt/QtRenderer.h"

#include <QImage>
#include <gtest/gtest.h>

#include <filesystem>

#ifdef TRENDIX_EXAMPLES

namespace {

constexpr int kWidth = 400, kHeight = 310;

struct Sited {
    Sited() { c.OnSize(kWidth, kHeight); }
    ui::HeadlessSite site;
    CTrendixCtrl c{site};
};

// Copies every sample through the automation members, as a host would.
void CopySamples(CTrendixCtrl& from, CTrendixCtrl& to) {
    const std::int16_t points = from.Getnpoints();
    for (std::int16_t v = 1; v <= from.Getnxvariables(); ++v)
        for (std::int16_t k = 0; k < points; ++k)
            if (double value = 0; from.GetXData(v, k, value)) to.SetXData(v, k, value);
    for (std::int16_t v = 1; v <= from.Getnvariables(); ++v)
        for (std::int16_t k = 0; k < points; ++k)
            if (double value = 0; from.GetData(v, k, value)) to.SetData(v, k, value);
}

QImage Draw(CTrendixCtrl& control) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QtDeviceContext dc(image, gdi::DeviceKind::Screen);
        const gdi::Rect bounds{0, 0, kWidth, kHeight};
        control.OnDraw(dc, bounds, bounds);
    }
    return image;
}

int DifferingPixels(const QImage& a, const QImage& b) {
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) ++differing;
    return differing;
}

} // namespace

TEST(SettingsRoundTripPicture, EveryExampleDrawsTheSameAfterReadingItsSettingsBack) {
    QtRenderer::EnsureApplication();
    int compared = 0;
    for (const auto& entry : std::filesystem::directory_iterator(TRENDIX_EXAMPLES)) {
        const std::string ext = entry.path().extension().string();
        // Input files load profiles, whose variable labels the settings text puts on the axes.
        if (ext != ".tsh" && ext != ".ply" && ext != ".tset") continue;
        // Lines and polygons a host creates are objects of the host, not of the settings text.
        if (entry.path().filename() == "annotations.tsh") continue;
        Sited first;
        PlotFileCommands::Load(first.c, entry.path().string());
        // A host saves a plot it has shown: the written ranges are the drawn ones.
        const QImage shown = Draw(first.c);
        const std::string written = first.c.GetSettings();
        if (first.c.GetRunPlot()) continue; // reading settings rewinds a run plot's time axis
        const auto& corners = first.c.Model()->cornerLabelRegions;
        if (corners[0] || corners[1] || corners[2]) continue; // the text carries no corner labels

        Sited second;
        const TrendixProperties& p = first.c.Properties();
        second.c.SetPlotType(p.PlotType);
        second.c.SetRunPlot(p.RunPlot);
        // X variables first, so that each Y variable is paired with the same one.
        second.c.Setnxvariables(p.nxvariables);
        second.c.Setnvariables(p.nvariables);
        second.c.SetSettings(written);
        second.c.Setnpoints(first.c.Getnpoints());
        CopySamples(first.c, second.c);

        const QImage a = shown, b = Draw(second.c);
        EXPECT_LE(DifferingPixels(a, b), kWidth * kHeight / 200) << entry.path().filename();
        ++compared;
    }
    EXPECT_GE(compared, 6);
}

#endif
