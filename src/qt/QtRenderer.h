#pragma once
#include <memory>
#include <string>

class CTrendixCtrl;
namespace gdi {
class IDeviceContext;
}

// Draws a control into a PNG, PDF or SVG file through the control's own drawing entry. The
// Qt application the devices need is made once per process (offscreen without a display).
class QtRenderer {
public:
    // Makes the application if there is none; call before any Qt device is used.
    static void EnsureApplication();
    // Before any Qt application exists: offscreen when there is no display, and a runtime
    // directory so that Qt does not warn.
    static void PrepareEnvironment();
    // A memory image surface of width x height, for window surfaces of headless sites.
    static std::unique_ptr<gdi::IDeviceContext> MakeSurface(int width, int height);
    // The same for a control drawn only into files: its window surface is never shown or
    // read, so its pixels are not painted white first.
    static std::unique_ptr<gdi::IDeviceContext> MakeUnshownSurface(int width, int height);
    // Draws control at width x height into path; the kind comes from the name's ending
    // (.png, .pdf, .svg). Throws std::runtime_error when the file cannot be written or the
    // ending is unknown.
    static void Render(CTrendixCtrl& control, const std::string& path, int width, int height);
};
