// Pictures of a typed plot: the control's own drawing entry onto Qt devices.
#include "front/PlotImpl.h"
#include "qt/QtDeviceContext.h"
#include "qt/QtRenderer.h"

#include <trendix/Image.h>

#include <stdexcept>

namespace trendix {

void saveImage(Plot& plot, const std::string& path) {
    saveImage(plot, path, plot.width(), plot.height());
}

void saveImage(Plot& plot, const std::string& path, int width, int height) {
    if (width < 1 || height < 1) throw Error(Error::kInvalidArgument, "the picture is empty");
    try {
        QtRenderer::Render(plot.impl().control(), path, width, height);
    } catch (const std::runtime_error& e) {
        throw Error(Error::kFailed, e.what());
    }
}

void render(Plot& plot, QImage& image) {
    if (image.isNull()) throw Error(Error::kInvalidArgument, "the image is empty");
    QtRenderer::EnsureApplication();
    QtDeviceContext dc(image, gdi::DeviceKind::Memory);
    const gdi::Rect bounds{0, 0, image.width(), image.height()};
    plot.impl().control().OnDraw(dc, bounds, bounds);
    dc.End();
}

QImage toImage(Plot& plot) {
    QImage image(plot.width(), plot.height(), QImage::Format_RGB32);
    render(plot, image);
    return image;
}

} // namespace trendix
