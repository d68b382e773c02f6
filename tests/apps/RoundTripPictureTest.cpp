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

void CopySamples(const std::vector<std::unique_ptr<CPlotVar>>& from,
                 std::vector<std::unique_ptr<CPlotVar>>& to) {
    for (size_t i = 0; i < from.size() && i < to.size(); ++i) {
        const CPlotVar& a = *from[i];
        CPlotVar& b = *to[i];
        b.values = a.values;
        b.capacity = a.capacity;
        b.ringCapacity = a.ringCapacity;
        b.ringMode = a.ringMode;
        b.writePos = a.writePos;
        b.wrapped = a.wrapped;
        b.highestIndex = a.highestIndex;
    }
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
        second.c.Setnvariables(p.nvariables);
        second.c.Setnxvariables(p.nxvariables);
        second.c.SetSettings(written);
        CopySamples(first.c.Model()->xVariables, second.c.Model()->xVariables);
        CopySamples(first.c.Model()->yVariables, second.c.Model()->yVariables);
        second.c.Model()->dataDirty = second.c.Model()->rangeDirty = 1;

        const QImage a = shown, b = Draw(second.c);
        EXPECT_LE(DifferingPixels(a, b), kWidth * kHeight / 200) << entry.path().filename();
        ++compared;
    }
    EXPECT_GE(compared, 6);
}

#endif
