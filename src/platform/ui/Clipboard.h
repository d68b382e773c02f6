#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace gdi {
class IDeviceContext;
}

namespace ui {

// The name under which the plot's picture is offered. The Qt site renders it as SVG and PNG;
// the headless site keeps the drawing calls of the picture, one per line.
inline constexpr char kPictureFormat[] = "Picture";

// What one copy puts on the clipboard: data under format names and, when draw is set, the
// picture of width x height that draw paints into a device from 0, 0.
struct ClipboardContent {
    struct Format {
        std::string name;
        std::vector<std::uint8_t> data;
    };
    std::vector<Format> formats;
    int pictureWidth = 0, pictureHeight = 0;
    std::function<void(gdi::IDeviceContext&)> draw;
};

// A clipboard inside the process: formats by name, replaced as a whole by each copy.
class Clipboard {
public:
    void Set(std::vector<ClipboardContent::Format> formats) { formats_ = std::move(formats); }
    bool Has(const std::string& name) const { return Find(name) != nullptr; }
    // The data of a format; empty when the clipboard does not offer it.
    std::vector<std::uint8_t> Data(const std::string& name) const;
    // The formats offered, in the order they were put.
    std::vector<std::string> Names() const;

private:
    const ClipboardContent::Format* Find(const std::string& name) const;
    std::vector<ClipboardContent::Format> formats_;
};

} // namespace ui
