#pragma once
#include <QByteArray>
#include <QImage>

class QIODevice;

// Writes opaque pictures as PNG quickly: 8-bit RGB rows, each filtered against the row above
// (a plot's rows differ from their neighbours in a few pixels, so the filtered rows are mostly
// zero), compressed in one pass. Pictures with transparency go through Qt's own writer.
//
// The rows are filtered in the picture's own memory: a picture moved in is used up, one passed
// as a copy is copied first (QImage shares its pixels until they are written).
class QtPngWriter {
public:
    // The PNG file of image. Empty for a null image.
    static QByteArray Encode(QImage image);
    // Writes image to device; false when the device refuses the bytes.
    static bool Write(QImage image, QIODevice& device);
    // Writes image to the file at path; false when it cannot be written.
    static bool Save(QImage image, const QString& path);
};
