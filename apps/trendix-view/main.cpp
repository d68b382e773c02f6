// trendix-view: an interactive host of the plotting control.
//   trendix-view [FILE] [--demo] [--demo-vars N] [--demo-rate STEPS_PER_S] [--event-log FILE]
//                [--quit-after MS] [--size WxH] [--stats] [--shell]
#include "PlotFileCommands.h"
#include "ViewOptions.h"
#include "ViewWindow.h"
#include "qt/QtRenderer.h"

#include <QApplication>
#include <QTimer>

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::string error;
    const ViewOptions options =
        ViewOptions::Parse(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!error.empty()) {
        std::cerr << "trendix-view: " << error << '\n' << ViewOptions::Usage();
        return 2;
    }
    QtRenderer::PrepareEnvironment();
    QApplication app(argc, argv);
    ViewWindow window(options);
    if (!options.eventLog.empty() && !window.OpenEventLog(options.eventLog)) {
        std::cerr << "trendix-view: cannot write " << options.eventLog << '\n';
        return 1;
    }
    window.ResizeClient(options.width, options.height);
    window.show();
    if (!options.file.empty()) {
        const int failed = PlotFileCommands::ReportingFailures(
            options.file, [&] { window.Load(QString::fromStdString(options.file)); });
        if (failed) return failed;
    }
    if (options.demo) window.StartDemo(options.demoVariables, options.demoRate);
    if (options.shell) window.StartShell();
    if (options.quitAfterMs > 0) QTimer::singleShot(options.quitAfterMs, &app, &QApplication::quit);
    const int code = app.exec();
    if (options.stats) std::cout << window.Stats();
    return code;
}
