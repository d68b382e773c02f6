// The container's picture at another size: a copy at a given size keeps the layout's
// proportions and is centred in the picture.
#include "control/TrendixCtrl.h"
#include "platform/ui/HeadlessSite.h"
#include "qt/QtClipboard.h"

#include "QtTestApp.h"

#include <QImage>
#include <QMimeData>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

constexpr int kWidth = 400, kHeight = 300;
// The plot's background, told apart from the white of a fresh picture.
constexpr std::uint32_t kBackColor = 0xE0F0FF;

// A headless site that keeps the PNG picture the Qt clipboard would offer.
class PictureSite : public ui::HeadlessSite {
public:
    bool SetClipboard(const ui::ClipboardContent& content) override {
        const std::unique_ptr<QMimeData> data = QtClipboard::MimeDataOf(content);
        picture = QImage::fromData(data->data("image/png"), "PNG");
        return true;
    }
    QImage picture;
};

struct Plot {
    Plot() {
        c.OnSize(kWidth, kHeight);
        c.SetBackColor(kBackColor);
        c.SetTitle("Proportions");
        c.Setnpoints(40);
        for (short i = 0; i < 40; ++i) {
            c.SetXData(1, i, i);
            c.SetData(1, i, std::sin(i * 0.25) * 5);
        }
    }
    // The PNG picture a copy at w x h puts on the clipboard.
    QImage CopyAt(int w, int h) {
        c.CopyWithSize(std::int16_t(w), std::int16_t(h));
        return site.picture.convertToFormat(QImage::Format_RGB32);
    }
    PictureSite site;
    CTrendixCtrl c{site};
};

// The background as a Qt colour (the control's colours are 0x00BBGGRR).
const QRgb kBack = qRgb(kBackColor & 0xFF, (kBackColor >> 8) & 0xFF, kBackColor >> 16);

// What the plot draws on its background: the bounds of the pixels of neither colour.
QRect InkArea(const QImage& image) {
    const QRgb paper = qRgb(255, 255, 255);
    QRect area;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != paper && image.pixel(x, y) != kBack) area |= QRect(x, y, 1, 1);
    return area;
}

// Whether every pixel of r is the plot's background.
bool AllBackground(const QImage& image, const QRect& r) {
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (image.pixel(x, y) != kBack) return false;
    return true;
}

} // namespace

TEST(ContainerPicture, ACopyAtAnySizeKeepsTheLayoutsProportionsCentred) {
    EnsureQtApp();
    Plot plot;
    const QImage screen = plot.CopyAt(kWidth, kHeight);
    const QRect ink = InkArea(screen);
    ASSERT_GT(ink.width(), kWidth / 2);
    ASSERT_GT(ink.height(), kHeight / 2);
    // The smaller factor wins; the plot is centred along the other side, whose spare space
    // shows the plot's background.
    struct Case {
        int w, h;
        QRect layout;
    };
    const Case cases[] = {
        {800, 600, {0, 0, 800, 600}},   // twice the size
        {800, 300, {200, 0, 400, 300}}, // wider: the height decides
        {400, 700, {0, 200, 400, 300}}, // taller: the width decides
        {300, 300, {0, 37, 300, 225}},  // smaller and squarer
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << k.w << "x" << k.h);
        const QImage picture = plot.CopyAt(k.w, k.h);
        ASSERT_EQ(picture.size(), QSize(k.w, k.h));
        const double s = double(k.layout.width()) / kWidth;
        // The plot's ink where the screen's lies, scaled into the layout's rectangle; text at
        // another size may end a few pixels off.
        const QRect at = InkArea(picture);
        const int slack = std::max(3, int(k.layout.width() * 0.015));
        EXPECT_NEAR(at.left(), k.layout.left() + ink.left() * s, slack);
        EXPECT_NEAR(at.right(), k.layout.left() + ink.right() * s, slack);
        EXPECT_NEAR(at.top(), k.layout.top() + ink.top() * s, slack);
        EXPECT_NEAR(at.bottom(), k.layout.top() + ink.bottom() * s, slack);
        const QRect before(0, 0, k.layout.left(), k.h), above(0, 0, k.w, k.layout.top());
        EXPECT_TRUE(before.isEmpty() || AllBackground(picture, before));
        EXPECT_TRUE(above.isEmpty() || AllBackground(picture, above));
    }
    // At the layout's own size but off to one side the plot is the screen's exactly.
    const QImage wide = plot.CopyAt(800, 300);
    EXPECT_EQ(DifferingPixels(wide.copy(200, 0, kWidth, kHeight), screen), 0);
}
