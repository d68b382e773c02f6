// A text tied to a curve point draws its leader line and notched arrowhead in its own colour:
// the picture is compared with its reference in tests/data (set TRENDIX_UPDATE_REFERENCES=1 to
// write it anew, and look at it before committing), and the arrowhead and the leader are
// found where the layout put them.
#include "annot/PlotOverlay.h"
#include "control/TrendixCtrl.h"
#include "platform/ui/HeadlessSite.h"
#include "qt/QtDeviceContext.h"
#include "qt/QtRenderer.h"

#include "QtTestApp.h"

#include <gtest/gtest.h>

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 310;
constexpr int kTextColor = 4; // magenta in the palette
const QRgb kMagenta = qRgb(255, 0, 255);

int Count(const QImage& image, QRgb colour, QPoint centre, int radius) {
    int n = 0;
    for (int y = centre.y() - radius; y <= centre.y() + radius; ++y)
        for (int x = centre.x() - radius; x <= centre.x() + radius; ++x)
            if (image.rect().contains(x, y) && image.pixel(x, y) == colour) ++n;
    return n;
}

} // namespace

TEST(AnnotationPixels, ALeaderWithItsArrowheadMatchesTheReference) {
    EnsureQtApp();
    ui::HeadlessSite site;
    site.surfaceFactory = QtRenderer::MakeSurface;
    CTrendixCtrl c(site);
    c.OnSize(kWidth, kHeight);
    site.ResizeSurface(kWidth, kHeight);
    // A rising curve over fixed axes, and a text above it tied to its nearest point.
    c.Setnpoints(3);
    for (short k = 0; k < 3; ++k) {
        c.SetXData(1, k, k * 10);
        c.SetData(1, k, k * k * 20);
    }
    c.SetAxisRange(0, 0, 20);
    c.SetAxisRange(1, 0, 100);
    const std::int16_t id = c.NewText("knee", 6, 60, CPlotAnnotation::OnCurve);
    c.SetTextAttribute(id, kTextColor, 0, 0, "Arial", 12, 0);

    QtDeviceContext dc(kWidth, kHeight, gdi::DeviceKind::Memory);
    const gdi::Rect bounds{0, 0, kWidth, kHeight};
    c.OnDraw(dc, bounds, bounds);
    dc.End();
    const QImage image = dc.Image()->copy();

    // The arrowhead: a filled head 14 units long (arrow size 2) at the tag point on the curve.
    const CPlotAnnotation& a = *c.PlotObjects().Annotation(0);
    ASSERT_EQ(a.GetAttributes().attachMode, CPlotAnnotation::OnCurve);
    const QPoint tag(a.TagPoint().x, a.TagPoint().y);
    // The leader ends where the text's box faces the tag point (here its right bottom corner).
    const CPlotRegion::Rect& box = a.TextRect();
    ASSERT_TRUE(tag.x() > box.right && tag.y() >= box.bottom) << "the text stands up left";
    const QPoint end(box.right, a.Anchor().y);
    ASSERT_GT((tag - end).manhattanLength(), 40) << "the text must stand off the curve";
    EXPECT_GE(Count(image, kMagenta, tag, 14), 40);
    // The leader: magenta halfway between the tag point and the text.
    EXPECT_GE(Count(image, kMagenta, (tag + end) / 2, 2), 1);
    // Nothing of the text's colour far from the text, the leader and the head.
    EXPECT_EQ(Count(image, kMagenta, QPoint(kWidth - 30, kHeight - 30), 20), 0);

    ExpectLikeReference(image, "annotation-leader.png", 64, 0.003);
}
