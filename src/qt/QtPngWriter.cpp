#include "qt/QtPngWriter.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageWriter>

#include <libdeflate.h>

#include <algorithm>
#include <cstddef>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {

constexpr unsigned char kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
constexpr unsigned char kBitDepth = 8;
constexpr unsigned char kRgbColourType = 2;
constexpr unsigned char kUpFilter = 2;
constexpr unsigned char kPerMetre = 1;
constexpr int kCompressionLevel = 6;
// Compressed data goes out in chunks of this size, as other writers do.
constexpr std::size_t kDataChunk = std::size_t(1) << 20;
// Larger pictures go through Qt's writer, which needs no copy of the whole picture.
constexpr std::size_t kLargestOnePass = std::size_t(256) << 20;

void PutU32(QByteArray& out, quint32 value) {
    const char bytes[] = {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
    out.append(bytes, sizeof bytes);
}

void AppendChunk(QByteArray& out, const char (&type)[5], const void* data, std::size_t size) {
    PutU32(out, quint32(size));
    const qsizetype start = out.size();
    out.append(type, 4);
    out.append(static_cast<const char*>(data), qsizetype(size));
    PutU32(out, libdeflate_crc32(0, out.constData() + start, std::size_t(out.size() - start)));
}

void AppendHeader(QByteArray& out, const QImage& image) {
    QByteArray header;
    PutU32(header, quint32(image.width()));
    PutU32(header, quint32(image.height()));
    const char rest[] = {char(kBitDepth), char(kRgbColourType), 0, 0, 0};
    header.append(rest, sizeof rest);
    AppendChunk(out, "IHDR", header.constData(), std::size_t(header.size()));
    if (image.dotsPerMeterX() > 0 && image.dotsPerMeterY() > 0) {
        QByteArray density;
        PutU32(density, quint32(image.dotsPerMeterX()));
        PutU32(density, quint32(image.dotsPerMeterY()));
        density.append(char(kPerMetre));
        AppendChunk(out, "pHYs", density.constData(), std::size_t(density.size()));
    }
}

// Turns image's pixels into the rows as the file stores them, in place: a filter byte, then each
// pixel's red, green and blue less those of the pixel above (nothing above the first row). A
// stored row is shorter than a pixel row, so row y's bytes never reach rows not yet read.
const unsigned char* FilterInPlace(QImage& image) {
    const int width = image.width();
    const auto count = static_cast<std::size_t>(width);
    std::vector<QRgb> above(count, 0);
    std::vector<QRgb> pixels(count);
    uchar* const bits = image.bits();
    unsigned char* out = bits;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line =
            reinterpret_cast<const QRgb*>(bits + qsizetype(y) * image.bytesPerLine());
        std::copy(line, line + width, pixels.begin());
        *out++ = kUpFilter;
        for (int x = 0; x < width; ++x, out += 3) {
            const QRgb pixel = pixels[std::size_t(x)];
            const QRgb up = above[std::size_t(x)];
            if (pixel == up) {
                out[0] = out[1] = out[2] = 0;
                continue;
            }
            out[0] = static_cast<unsigned char>(qRed(pixel) - qRed(up));
            out[1] = static_cast<unsigned char>(qGreen(pixel) - qGreen(up));
            out[2] = static_cast<unsigned char>(qBlue(pixel) - qBlue(up));
        }
        above.swap(pixels);
    }
    return bits;
}

void AppendData(QByteArray& out, const unsigned char* rows, std::size_t size) {
    std::unique_ptr<libdeflate_compressor, decltype(&libdeflate_free_compressor)> compressor(
        libdeflate_alloc_compressor(kCompressionLevel), &libdeflate_free_compressor);
    if (!compressor) throw std::bad_alloc();
    // A bound-sized buffer: only the pages the compressed picture fills are ever touched.
    const std::size_t bound = libdeflate_zlib_compress_bound(compressor.get(), size);
    std::unique_ptr<unsigned char[]> packed(new unsigned char[bound]);
    const std::size_t packedSize =
        libdeflate_zlib_compress(compressor.get(), rows, size, packed.get(), bound);
    if (packedSize == 0) throw std::runtime_error("cannot compress the picture");
    out.reserve(out.size() + qsizetype(packedSize + packedSize / kDataChunk * 12 + 64));
    for (std::size_t at = 0; at < packedSize; at += kDataChunk)
        AppendChunk(out, "IDAT", packed.get() + at, std::min(kDataChunk, packedSize - at));
}

QByteArray QtWriterEncode(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "PNG");
    return writer.write(image) ? bytes : QByteArray();
}

} // namespace

QByteArray QtPngWriter::Encode(QImage image) {
    if (image.isNull()) return {};
    const std::size_t size = std::size_t(image.height()) * (1 + 3 * std::size_t(image.width()));
    if (image.hasAlphaChannel() || size > kLargestOnePass) return QtWriterEncode(image);
    if (image.format() != QImage::Format_RGB32) image = image.convertToFormat(QImage::Format_RGB32);
    QByteArray out(reinterpret_cast<const char*>(kSignature), sizeof kSignature);
    AppendHeader(out, image);
    AppendData(out, FilterInPlace(image), size);
    AppendChunk(out, "IEND", nullptr, 0);
    return out;
}

bool QtPngWriter::Write(QImage image, QIODevice& device) {
    const QByteArray bytes = Encode(std::move(image));
    return !bytes.isEmpty() && device.write(bytes) == bytes.size();
}

bool QtPngWriter::Save(QImage image, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    return Write(std::move(image), file) && file.flush();
}
