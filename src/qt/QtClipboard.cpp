#include "qt/QtClipboard.h"

#include "control/PlotDropTarget.h"
#include "control/TrendixModule.h"
#include "qt/QtDeviceContext.h"
#include "qt/QtPngWriter.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QSvgGenerator>

namespace {

struct FormatMimeType {
    const char* format;
    const char* mimeType;
};

// The MIME types of the control's own formats and of the formats a drop takes.
constexpr FormatMimeType kMimeTypes[] = {
    {CTrendixModule::kControlFormat, "application/x-trendix-control"},
    {CTrendixModule::kObjectDescriptorFormat, "application/x-trendix-object-descriptor"},
    {CPlotDropTarget::kVariablePathFormat, "application/x-orbis-variable-path"},
    {CPlotDropTarget::kTextFormat, "text/plain"},
};

QByteArray PngOf(const ui::ClipboardContent& content) {
    QtDeviceContext dc(content.pictureWidth, content.pictureHeight, gdi::DeviceKind::Memory);
    content.draw(dc);
    return QtPngWriter::Encode(dc.TakeImage());
}

QByteArray SvgOf(const ui::ClipboardContent& content) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    auto svg =
        QtDeviceContext::MakeSvgGenerator(QString(), content.pictureWidth, content.pictureHeight);
    svg->setOutputDevice(&buffer);
    {
        QtDeviceContext dc(*svg, gdi::DeviceKind::Metafile);
        content.draw(dc);
        dc.End();
    }
    return bytes;
}

} // namespace

QString QtClipboard::MimeTypeOf(const std::string& format) {
    for (const FormatMimeType& m : kMimeTypes)
        if (format == m.format) return QString::fromLatin1(m.mimeType);
    if (format == ui::kPictureFormat) return QString::fromLatin1(kPngMimeType);
    return {};
}

std::unique_ptr<QMimeData> QtClipboard::MimeDataOf(const ui::ClipboardContent& content) {
    auto data = std::make_unique<QMimeData>();
    for (const ui::ClipboardContent::Format& f : content.formats) {
        const QString type = MimeTypeOf(f.name);
        if (type.isEmpty()) continue;
        data->setData(type, QByteArray(reinterpret_cast<const char*>(f.data.data()),
                                       qsizetype(f.data.size())));
    }
    if (content.draw && content.pictureWidth > 0 && content.pictureHeight > 0) {
        data->setData(QString::fromLatin1(kSvgMimeType), SvgOf(content));
        data->setData(QString::fromLatin1(kPngMimeType), PngOf(content));
    }
    return data;
}

bool QtClipboard::Has(const QMimeData* data, const std::string& format) {
    const QString type = MimeTypeOf(format);
    return data && !type.isEmpty() && data->hasFormat(type);
}

std::vector<std::uint8_t> QtClipboard::Data(const QMimeData* data, const std::string& format) {
    if (!Has(data, format)) return {};
    const QByteArray bytes = data->data(MimeTypeOf(format));
    return {bytes.begin(), bytes.end()};
}

std::vector<std::string> QtClipboard::Offered(const QMimeData* data,
                                              std::initializer_list<const char*> formats) {
    std::vector<std::string> offered;
    for (const char* format : formats)
        if (Has(data, format)) offered.emplace_back(format);
    return offered;
}

ui::Clipboard QtClipboard::Offer(const QMimeData* data,
                                 std::initializer_list<const char*> formats) {
    std::vector<ui::ClipboardContent::Format> taken;
    for (const std::string& format : Offered(data, formats))
        taken.push_back({format, Data(data, format)});
    ui::Clipboard offer;
    offer.Set(std::move(taken));
    return offer;
}

bool QtClipboard::Set(const ui::ClipboardContent& content) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) return false;
    clipboard->setMimeData(MimeDataOf(content).release());
    return true;
}

bool QtClipboard::ClipboardHas(const std::string& format) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard && Has(clipboard->mimeData(), format);
}

std::vector<std::uint8_t> QtClipboard::ClipboardData(const std::string& format) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard ? Data(clipboard->mimeData(), format) : std::vector<std::uint8_t>();
}
