// PNG files of pictures: every pixel comes back as it was, whatever the picture's size, format or
// content (noise that does not compress included), and a picture passed as a copy is left alone.
#include "qt/QtPngWriter.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <random>

namespace {

enum class Content { Plot, Noise, Solid };

QImage Picture(int width, int height, Content content, QImage::Format format) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(content == Content::Solid ? qRgb(12, 200, 7) : qRgb(255, 255, 255));
    if (content == Content::Plot) {
        QPainter painter(&image);
        painter.setPen(QColor(0, 0, 255));
        painter.drawLine(0, height - 1, width - 1, 0);
        painter.setPen(QColor(128, 0, 0));
        painter.drawLine(0, height / 2, width - 1, height / 2);
    } else if (content == Content::Noise) {
        std::mt19937 random(unsigned(width * 7919 + height));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                image.setPixel(x, y,
                               qRgb(int(random() & 255), int(random() & 255), int(random() & 255)));
    }
    return image.convertToFormat(format);
}

QImage Decoded(const QByteArray& file) {
    return QImage::fromData(file, "PNG");
}

TEST(QtPngWriterTest, EveryPixelComesBack) {
    const struct {
        int width, height;
    } sizes[] = {{1, 1}, {3, 2}, {17, 5}, {640, 7}, {5, 300}, {1600, 1000}};
    for (const auto& size : sizes)
        for (const Content content : {Content::Plot, Content::Noise, Content::Solid})
            for (const QImage::Format format :
                 {QImage::Format_RGB32, QImage::Format_RGB888, QImage::Format_ARGB32}) {
                SCOPED_TRACE(testing::Message() << size.width << "x" << size.height << " content "
                                                << int(content) << " format " << int(format));
                const QImage picture = Picture(size.width, size.height, content, format);
                const QImage kept = picture.copy();
                const QImage back = Decoded(QtPngWriter::Encode(picture));
                ASSERT_EQ(back.size(), picture.size());
                EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32),
                          picture.convertToFormat(QImage::Format_RGB32));
                EXPECT_EQ(picture, kept); // the caller's picture is untouched
            }
}

TEST(QtPngWriterTest, TransparencyDensityAndEmptyPictures) {
    QImage translucent(9, 4, QImage::Format_ARGB32);
    translucent.fill(qRgba(10, 20, 30, 0));
    translucent.setPixel(3, 2, qRgba(200, 100, 50, 128));
    const QImage back = Decoded(QtPngWriter::Encode(translucent));
    EXPECT_TRUE(back.hasAlphaChannel());
    EXPECT_EQ(back.convertToFormat(QImage::Format_ARGB32), translucent);

    QImage dense = Picture(8, 8, Content::Plot, QImage::Format_RGB32);
    dense.setDotsPerMeterX(11811); // 300 DPI
    dense.setDotsPerMeterY(5906);
    const QImage read = Decoded(QtPngWriter::Encode(dense));
    EXPECT_EQ(read.dotsPerMeterX(), 11811);
    EXPECT_EQ(read.dotsPerMeterY(), 5906);

    EXPECT_TRUE(QtPngWriter::Encode(QImage()).isEmpty());
}

TEST(QtPngWriterTest, RefusedDestinationsFail) {
    const QImage picture = Picture(4, 4, Content::Plot, QImage::Format_RGB32);
    EXPECT_FALSE(QtPngWriter::Save(picture, "/nonexistent-folder/picture.png"));
    QByteArray bytes;
    QBuffer readOnly(&bytes);
    readOnly.open(QIODevice::ReadOnly);
    EXPECT_FALSE(QtPngWriter::Write(picture, readOnly));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(QtPngWriter::Write(picture, buffer));
    EXPECT_EQ(Decoded(bytes).convertToFormat(QImage::Format_RGB32), picture);
}

} // namespace
