#include "PyView.h"

#include "PyControl.h"
#include "qt/QtRenderer.h"

#include <trendix/TrendixWidget.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

namespace {

// How often a running window loop looks at Python's signals, so that Ctrl+C stops it.
constexpr int kSignalCheckMs = 50;

void CheckSignals() {
    if (PyErr_CheckSignals() != 0) throw py::error_already_set();
}

// Lets Qt handle events, or wait for them, without holding Python's lock: other Python
// threads run meanwhile, and event handlers take the lock when they are called.
void HandleEvents(QEventLoop::ProcessEventsFlags flags) {
    py::gil_scoped_release unlocked;
    QCoreApplication::processEvents(flags);
}

// A Python object released, with Python's lock taken, whenever its keeper goes.
struct PythonKeeper {
    py::object object;
    ~PythonKeeper() {
        py::gil_scoped_acquire locked;
        object = py::object();
    }
};

} // namespace

void PyView::EnsureApplication(bool windows) {
    if (QCoreApplication* app = QCoreApplication::instance()) {
        if (windows && !qobject_cast<QApplication*>(app))
            throw trendix::Error(trendix::Error::kFailed,
                                 "a Qt application without widgets is running: windows need "
                                 "a QApplication");
        return;
    }
    QtRenderer::PrepareEnvironment();
    // Never destroyed, as Qt's globals may be gone when static objects are.
    static int argc = 1;
    static char name[] = "trendix";
    static char* argv[] = {name, nullptr};
    auto* app = new QApplication(argc, argv);
    // The script decides when it is done, not the last window closed.
    app->setQuitOnLastWindowClosed(false);
}

PyView::PyView(py::object control, int width, int height, const std::string& title)
    : owner_(std::move(control)) {
    PyControl& c = owner_.cast<PyControl&>();
    // A window a handler let go is deleted once Qt has left it; outside handlers that is now.
    if (c.InWindow() && !c.events().Delivering() && QCoreApplication::instance())
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (c.InWindow())
        throw trendix::Error(trendix::Error::kFailed, "the control is already in a window");
    if (width < 1 || height < 1 || width > 20000 || height > 20000)
        throw py::value_error("View(): the size must be 1 to 20000 pixels a side");
    EnsureApplication(true);
    widget_ = std::make_unique<TrendixWidget>(c.control(), c.relay());
    widget_->setWindowTitle(QString::fromStdString(title));
    widget_->resize(width, height);
    widget_->show();
}

PyView::~PyView() {
    PyControl& c = owner_.cast<PyControl&>();
    if (!widget_ || !c.events().Delivering()) {
        widget_.reset();
        return;
    }
    // A handler let the view go while the window may still be handling the input that fired
    // the event: the window goes once Qt has left it, and keeps its control until then.
    TrendixWidget* widget = widget_.release();
    widget->hide();
    auto keeper = std::make_shared<PythonKeeper>(PythonKeeper{std::move(owner_)});
    QObject::connect(widget, &QObject::destroyed, [keeper] {});
    widget->deleteLater();
}

TrendixWidget& PyView::Widget() const {
    return *widget_;
}

void PyView::Show() {
    Widget().show();
    Widget().raise();
}

void PyView::Close() {
    Widget().close();
}

bool PyView::IsOpen() const {
    return Widget().isVisible();
}

int PyView::Width() const {
    return Widget().width();
}

int PyView::Height() const {
    return Widget().height();
}

void PyView::ProcessEvents(int milliseconds) {
    Widget().update();
    QCoreApplication::sendPostedEvents();
    HandleEvents(QEventLoop::AllEvents);
    CheckSignals();
    if (milliseconds <= 0) return;
    // Waits for events until the time is up, waking now and then for Python's signals.
    QElapsedTimer clock;
    clock.start();
    QTimer wake;
    wake.start(std::min(milliseconds, kSignalCheckMs));
    while (clock.elapsed() < milliseconds) {
        HandleEvents(QEventLoop::WaitForMoreEvents);
        CheckSignals();
    }
}

void PyView::Exec() {
    QTimer wake;
    wake.start(kSignalCheckMs);
    Widget().update();
    while (IsOpen()) {
        HandleEvents(QEventLoop::WaitForMoreEvents);
        CheckSignals();
    }
}
