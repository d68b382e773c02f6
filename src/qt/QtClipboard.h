#pragma once
#include "platform/ui/Clipboard.h"

#include <QString>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

class QMimeData;

// The control's clipboard formats on the system clipboard: each format name maps to a MIME
// type, and the picture is offered as SVG and PNG.
class QtClipboard {
public:
    // The MIME type of a format name; empty for a name without one.
    static QString MimeTypeOf(const std::string& format);
    // The data of a copy, the picture drawn at its size.
    static std::unique_ptr<QMimeData> MimeDataOf(const ui::ClipboardContent& content);
    // One format of the data on the clipboard; empty when it is not offered.
    static bool Has(const QMimeData* data, const std::string& format);
    static std::vector<std::uint8_t> Data(const QMimeData* data, const std::string& format);
    // Which of the format names the data offers, and their data (a drag's offer).
    static std::vector<std::string> Offered(const QMimeData* data,
                                            std::initializer_list<const char*> formats);
    static ui::Clipboard Offer(const QMimeData* data, std::initializer_list<const char*> formats);
    // Puts content on the application's clipboard and reads it back by format name.
    static bool Set(const ui::ClipboardContent& content);
    static bool ClipboardHas(const std::string& format);
    static std::vector<std::uint8_t> ClipboardData(const std::string& format);

    static constexpr char kSvgMimeType[] = "image/svg+xml";
    static constexpr char kPngMimeType[] = "image/png";
};
