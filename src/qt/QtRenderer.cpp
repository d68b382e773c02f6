#include "qt/QtRenderer.h"

#include "control/TrendixCtrl.h"
#include "qt/QtDeviceContext.h"
#include "qt/QtPngWriter.h"

#include <QGuiApplication>

#include <QImage>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

namespace {

std::string Lower(std::string s) {
    for (char& c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && Lower(s.substr(s.size() - tail.size())) == tail;
}

void Draw(CTrendixCtrl& control, gdi::IDeviceContext& dc, int width, int height) {
    const gdi::Rect bounds{0, 0, width, height};
    control.OnDraw(dc, bounds, bounds);
}

} // namespace

void QtRenderer::PrepareEnvironment() {
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (!std::getenv("XDG_RUNTIME_DIR")) {
        // What Qt would pick itself, set beforehand so that it does not warn on every run.
        const std::string dir = "/tmp/runtime-" + std::to_string(getuid());
        mkdir(dir.c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", dir.c_str(), 0);
    }
}

void QtRenderer::EnsureApplication() {
    if (QGuiApplication::instance()) return;
    // Never destroyed: Qt's globals may already be gone when static objects are.
    PrepareEnvironment();
    static int argc = 1;
    static char name[] = "trendix";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
}

std::unique_ptr<gdi::IDeviceContext> QtRenderer::MakeSurface(int width, int height) {
    EnsureApplication();
    return std::make_unique<QtDeviceContext>(width, height, gdi::DeviceKind::Screen);
}

std::unique_ptr<gdi::IDeviceContext> QtRenderer::MakeUnshownSurface(int width, int height) {
    EnsureApplication();
    return std::make_unique<QtDeviceContext>(width, height, gdi::DeviceKind::Screen,
                                             QtDeviceContext::Start::Black);
}

void QtRenderer::Render(CTrendixCtrl& control, const std::string& path, int width, int height) {
    if (width < 1 || height < 1 || width > gdi::kMaxSurfaceSide || height > gdi::kMaxSurfaceSide)
        throw std::runtime_error("cannot draw " + path + " at " + std::to_string(width) + " x " +
                                 std::to_string(height) + ": " + gdi::kMaxSurfaceSideText);
    EnsureApplication();
    const QString file = QString::fromStdString(path);
    if (EndsWith(path, ".png")) {
        QtDeviceContext dc(width, height, gdi::DeviceKind::Memory);
        Draw(control, dc, width, height);
        if (!QtPngWriter::Save(dc.TakeImage(), file))
            throw std::runtime_error("cannot write " + path);
    } else if (EndsWith(path, ".pdf")) {
        auto writer = QtDeviceContext::MakePdfWriter(file, width, height);
        QtDeviceContext dc(*writer, gdi::DeviceKind::Printer);
        Draw(control, dc, width, height);
        dc.End();
    } else if (EndsWith(path, ".svg")) {
        auto generator = QtDeviceContext::MakeSvgGenerator(file, width, height);
        QtDeviceContext dc(*generator, gdi::DeviceKind::Metafile);
        Draw(control, dc, width, height);
        dc.End();
    } else {
        throw std::runtime_error("unknown picture kind: " + path + " (.png, .pdf or .svg)");
    }
}
