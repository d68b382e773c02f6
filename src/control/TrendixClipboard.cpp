// Copy and Paste: the plot goes to the clipboard as its binary image, the descriptor of an
// embeddable object and a picture, and comes back from the binary image.
#include "control/TrendixCtrl.h"
#include "control/TrendixModule.h"
#include "platform/com/ByteStream.h"

namespace {

// The descriptor of the plot as an embeddable object: its full user type name, then its
// size in pixels.
std::vector<std::uint8_t> ObjectDescriptor(int width, int height) {
    CByteWriter out;
    out.String(CTrendixModule::kUserTypeName);
    out.I32(width);
    out.I32(height);
    return out.Take();
}

} // namespace

void CTrendixCtrl::Copy() {
    ui::ClipboardContent content;
    // The picture: the copy size while copy-with-size is active, else the layout size.
    const int w = copyWithSize_ ? copyWidth_ : extentWidth_;
    const int h = copyWithSize_ ? copyHeight_ : extentHeight_;
    if (w > 0 && h > 0) {
        content.pictureWidth = w;
        content.pictureHeight = h;
        content.draw = [this, w, h](gdi::IDeviceContext& dc) {
            const gdi::Rect all{0, 0, w, h};
            containerImage_ = true;
            OnDraw(dc, all, all);
        };
    }
    // Copy mode 1 copies the picture only.
    if (copyMode_ != 1) {
        content.formats.push_back({CTrendixModule::kControlFormat, SaveImage()});
        content.formats.push_back(
            {CTrendixModule::kObjectDescriptorFormat, ObjectDescriptor(w, h)});
    }
    site_.SetClipboard(content);
}

void CTrendixCtrl::CopyWithSize(std::int16_t width, std::int16_t height) {
    if (width < 1 || height < 1 || width > gdi::kMaxSurfaceSide || height > gdi::kMaxSurfaceSide)
        throw com::DispatchError::InvalidArg(std::string("The copy size must be at least 1 x 1; ") +
                                             gdi::kMaxSurfaceSideText);
    copyWidth_ = width;
    copyHeight_ = height;
    // Cleared again whatever way the copy ends.
    struct CopySizeScope {
        bool& flag;
        ~CopySizeScope() { flag = false; }
    } scope{copyWithSize_};
    copyWithSize_ = true;
    Copy();
}

// Without the control's format on the clipboard nothing happens; a malformed image is refused
// with the plot left as it was.
void CTrendixCtrl::Paste() {
    if (!site_.ClipboardHas(CTrendixModule::kControlFormat)) return;
    LoadImage(site_.ClipboardData(CTrendixModule::kControlFormat));
}

void CTrendixCtrl::PasteFromInput() {
    try {
        Paste();
    } catch (const com::DispatchError&) {
        // The refused image left the plot as it was; the menu and the key say nothing.
    }
}
