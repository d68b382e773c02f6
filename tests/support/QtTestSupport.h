#pragma once
// What the Qt test executables share: their one application object and image comparison.
#include <QCoreApplication>
#include <QImage>

#include <cstdlib>
#include <string>

// Makes the process's one application object of kind App (QGuiApplication for pictures,
// QApplication for widgets) on the offscreen platform, whatever the caller exported. Made
// once and never destroyed: Qt's own globals may be gone by the time static objects are.
template <class App>
void EnsureTestApp(const char* name) {
    if (QCoreApplication::instance()) return;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static std::string stored = name;
    static char* argv[] = {stored.data(), nullptr};
    new App(argc, argv);
}

// Share of pixels whose colour channels differ by more than channelTolerance; 1 when the
// sizes differ or an image is empty.
double DifferingShare(const QImage& a, const QImage& b, int channelTolerance = 0);
