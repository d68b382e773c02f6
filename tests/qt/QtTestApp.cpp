#include "QtTestApp.h"

#include <QDir>
#include <QGuiApplication>

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
