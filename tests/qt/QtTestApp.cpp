#include "QtTestApp.h"

#include <QDir>
#include <QGuiApplication>

#include <gtest/gtest.h>

#include <cstdlib>

void EnsureQtApp() {
    // Fonts must be pinned before the font database is first read.
    if (!QCoreApplication::instance()) setenv("FONTCONFIG_FILE", TRENDIX_FONTS_CONF, 1);
    EnsureTestApp<QGuiApplication>("test_qt");
}

QString OutputPath(const QString& fileName) {
    QDir().mkpath(TRENDIX_TEST_OUTPUT);
    return QString(TRENDIX_TEST_OUTPUT) + "/" + fileName;
}

QString DataPath(const QString& fileName) {
    return QString(TRENDIX_TEST_DATA) + "/" + fileName;
}

int DifferingPixels(const QImage& a, const QImage& b) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += a.pixel(x, y) != b.pixel(x, y);
    return count;
}

int InkedPixels(const QImage& a) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += a.pixel(x, y) != qRgb(255, 255, 255);
    return count;
}

void ExpectLikeReference(const QImage& image, const QString& name, int channelTolerance,
                         double share) {
    const QString reference = DataPath(name);
    image.save(OutputPath(name));
    if (std::getenv("TRENDIX_UPDATE_REFERENCES")) image.save(reference);
    const QImage expected(reference);
    ASSERT_FALSE(expected.isNull()) << "no reference " << reference.toStdString();
    EXPECT_LE(DifferingShare(image, expected, channelTolerance), share)
        << "see " << OutputPath(name).toStdString();
}
