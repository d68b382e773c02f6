#include "WidgetTestApp.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdlib>

void EnsureWidgetApp() {
    EnsureTestApp<QApplication>("test_widgets");
}

void ProcessEvents(int ms) {
    QElapsedTimer clock;
    clock.start();
    do {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        QApplication::sendPostedEvents();
    } while (clock.elapsed() < ms);
}
