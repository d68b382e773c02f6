#include "QtTestApp.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdlib>

void EnsureQtApp() {
    // Never destroyed: Qt's own globals may be gone by the time static objects are.
    static QGuiApplication* app = nullptr;
    if (app) return;
    // Fonts must be pinned before the font database is first read.
    setenv("FONTCONFIG_FILE", TRENDIX_FONTS_CONF, 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1); // whatever the caller exported
    static int argc = 1;
    static char name[] = "test_qt";
    static char* argv[] = {name, nullptr};
    app = new QGuiApplication(argc, argv);
}

QString OutputPath(const QString& fileName) {
    QDir().mkpath(TRENDIX_TEST_OUTPUT);
    return QString(TRENDIX_TEST_OUTPUT) + "/" + fileName;
}

QString DataPath(const QString& fileName) {
    return QString(TRENDIX_TEST_DATA) + "/" + fileName;
}

double DifferingShare(const QImage& a, const QImage& b, int channelTolerance) {
    if (a.size() != b.size()) return 1;
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    long long differing = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
        const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) {
            if (std::abs(qRed(p[col]) - qRed(q[col])) > channelTolerance ||
                std::abs(qGreen(p[col]) - qGreen(q[col])) > channelTolerance ||
                std::abs(qBlue(p[col]) - qBlue(q[col])) > channelTolerance)
                ++differing;
        }
    }
    return static_cast<double>(differing) / (static_cast<double>(x.width()) * x.height());
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
