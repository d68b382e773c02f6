#pragma once
#include <QGuiApplication>

#include <cstdlib>
#include <memory>

// Text drawing needs the Qt font database: one application object for the whole run,
// offscreen when there is no display.
inline void EnsureGuiApplication() {
    static std::unique_ptr<QGuiApplication> app;
    if (app || QGuiApplication::instance()) return;
    if (!std::getenv("DISPLAY")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "trendix_bench";
    static char* argv[] = {name, nullptr};
    app = std::make_unique<QGuiApplication>(argc, argv);
}
