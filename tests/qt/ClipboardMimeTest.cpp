// The clipboard of the Qt site: the control's formats as MIME types, the picture as SVG and
// PNG of the control's own drawing, and a plot copied and pasted through the application's
// clipboard between two controls.
#include "control/TrendixCtrl.h"
#include "control/TrendixModule.h"
#include "platform/ui/HeadlessSite.h"
#include "qt/QtClipboard.h"
#include "qt/QtDeviceContext.h"

#include "QtTestApp.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A headless site whose clipboard is the application's, as the Qt window site's is.
class QtClipboardSite : public ui::HeadlessSite {
public:
    bool SetClipboard(const ui::ClipboardContent& content) override {
        return QtClipboard::Set(content);
    }
    bool ClipboardHas(const std::string& format) const override {
        return QtClipboard::ClipboardHas(format);
    }
    std::vector<std::uint8_t> ClipboardData(const std::string& format) const override {
        return QtClipboard::ClipboardData(format);
    }
};

void Wave(CTrendixCtrl& c) {
    c.OnSize(400, 300);
    c.SetTitle("Wave");
    c.Setnpoints(50);
    for (short i = 0; i < 50; ++i) {
        c.SetXData(1, i, i);
        c.SetData(1, i, std::sin(i * 0.2));
    }
}

} // namespace

TEST(QtClipboard, FormatsAreOfferedUnderTheirMimeTypesWithThePictureAsSvgAndPng) {
    EnsureQtApp();
    QtClipboardSite site;
    CTrendixCtrl c(site);
    Wave(c);
    const std::vector<std::uint8_t> saved = c.SaveImage();
    c.Copy();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasFormat("application/x-trendix-control"));
    EXPECT_TRUE(data->hasFormat("application/x-trendix-object-descriptor"));
    const QByteArray image = data->data("application/x-trendix-control");
    EXPECT_EQ(std::vector<std::uint8_t>(image.begin(), image.end()), saved);

    // The PNG is the control's own drawing at its size.
    const QImage png = QImage::fromData(data->data("image/png"), "PNG");
    ASSERT_EQ(png.size(), QSize(400, 300));
    QtDeviceContext dc(400, 300, gdi::DeviceKind::Memory);
    c.OnDraw(dc, {0, 0, 400, 300}, {0, 0, 400, 300});
    dc.End();
    EXPECT_EQ(DifferingPixels(png.convertToFormat(QImage::Format_RGB32),
                              dc.Image()->convertToFormat(QImage::Format_RGB32)),
              0);
    const QByteArray svg = data->data("image/svg+xml");
    EXPECT_TRUE(svg.contains("<svg"));
    EXPECT_TRUE(svg.contains("Wave"));

    // Copy mode 1: the picture only.
    c.SetCopyMode(1);
    c.Copy();
    data = QGuiApplication::clipboard()->mimeData();
    EXPECT_FALSE(data->hasFormat("application/x-trendix-control"));
    EXPECT_TRUE(data->hasFormat("image/png"));
    EXPECT_FALSE(QtClipboard::ClipboardHas(CTrendixModule::kControlFormat));
}

TEST(QtClipboard, APlotCopiedInOneControlIsPastedInAnother) {
    EnsureQtApp();
    QtClipboardSite fromSite, toSite;
    CTrendixCtrl from(fromSite), to(toSite);
    Wave(from);
    to.OnSize(400, 300);
    from.Copy();
    to.Paste();
    // Both as their next paint leaves them: the copy's picture was drawn in the first.
    QtDeviceContext dc(400, 300, gdi::DeviceKind::Memory);
    for (CTrendixCtrl* c : {&from, &to})
        c->OnDraw(dc, {0, 0, 400, 300}, {0, 0, 400, 300});
    dc.End();
    EXPECT_EQ(to.GetSettings(), from.GetSettings());
    // Data of another application under the control's MIME type is refused.
    auto foreign = std::make_unique<QMimeData>();
    foreign->setData("application/x-trendix-control", "not a plot");
    QGuiApplication::clipboard()->setMimeData(foreign.release());
    const std::vector<std::uint8_t> before = to.SaveImage();
    EXPECT_THROW(to.Paste(), com::DispatchError);
    EXPECT_EQ(to.SaveImage(), before);
}
