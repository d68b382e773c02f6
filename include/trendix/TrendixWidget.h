#pragma once
/// @file
/// TrendixWidget: one plot in a Qt window (Trendix::Widget).

#include <trendix/Plot.h>

#include <QImage>
#include <QVariant>
#include <QVariantList>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <span>

class CTrendixCtrl;
class QScrollBar;
class QtDeviceContext;
class QtWindowSite;
namespace com {
class IDispatch;
class Variant;
} // namespace com
namespace ui {
class IWindowSite;
class SiteRelay;
} // namespace ui

/// A QWidget hosting one plotting control.
///
/// C++ hosts drive it through plot(), the typed front (trendix::Plot). It forwards mouse,
/// key, wheel and resize events to the control, shows the control's window surface,
/// implements its window services and re-emits the control's events as Qt signals.
///
/// Drawings the control makes at once (live time plots, rubber bands, blinking) land on the
/// surface; the widget shows them after every input event, timer, live update and invoke().
///
/// The properties below are the ones Qt Designer shows; each one reads and writes the plot.
class TrendixWidget : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString title READ title WRITE setTitle)
    Q_PROPERTY(QString xLabel READ xLabel WRITE setXLabel)
    Q_PROPERTY(QString yLabel READ yLabel WRITE setYLabel)
    Q_PROPERTY(int plotKind READ plotKind WRITE setPlotKind)
    Q_PROPERTY(int variableCount READ variableCount WRITE setVariableCount)
    Q_PROPERTY(bool live READ live WRITE setLive)
    Q_PROPERTY(double timeWindow READ timeWindow WRITE setTimeWindow)
    Q_PROPERTY(bool showLegend READ showLegend WRITE setShowLegend)
public:
    explicit TrendixWidget(QWidget* parent = nullptr);
    /// Shows a control made elsewhere (with the internal headers), whose window services go
    /// through relay: the widget routes them to its own while it lives, and back to where they
    /// went before when it goes. The control must outlive the widget.
    TrendixWidget(CTrendixCtrl& control, ui::SiteRelay& relay, QWidget* parent = nullptr);
    ~TrendixWidget() override;

    /// The typed front of the widget's plot. Its refusals are trendix::Error.
    trendix::Plot& plot() { return *plot_; }

    /// @name Designer properties (see trendix::Plot for their meaning)
    /// A value the plot refuses is ignored here, as a form cannot report it.
    /// @{
    QString title() const;
    void setTitle(const QString& text);
    QString xLabel() const;
    void setXLabel(const QString& text);
    QString yLabel() const;
    void setYLabel(const QString& text);
    int plotKind() const;
    void setPlotKind(int kind);
    int variableCount() const;
    void setVariableCount(int count);
    bool live() const;
    void setLive(bool live);
    double timeWindow() const;
    void setTimeWindow(double span);
    bool showLegend() const;
    void setShowLegend(bool show);
    /// @}

    /// The automation adapter underneath, for hosts built with the internal headers.
    CTrendixCtrl& control() { return *control_; }
    com::IDispatch& dispatch();
    QtWindowSite& site() { return *site_; }

    // Calls a member of the automation interface by name: a property is read with no arguments
    // and assigned with one; a method takes its in and in/out parameters in order, and its
    // out and in/out values come back in outputs. Throws com::DispatchError as the control
    // does.
    QVariant invoke(const QString& name, const QVariantList& args = {},
                    QVariantList* outputs = nullptr);

    // The control's client area: the widget less the scroll bars shown.
    QSize clientSize() const;
    // A copy of the window surface as the control last drew it (null before the first size).
    QImage surfaceImage() const;
    QScrollBar* horizontalBar() const { return bars_[0]; }
    QScrollBar* verticalBar() const { return bars_[1]; }
    // The size the widget asks its layout for; the control starts at 400 x 310.
    QSize sizeHint() const override { return preferred_; }
    void setPreferredSize(const QSize& size) {
        preferred_ = size;
        updateGeometry();
    }

    // The event's name as the control's event interface declares it.
    static QString eventName(int dispid);

signals:
    // The control's persistent state changed (the container should save it).
    void persistentStateChanged();
    // Every event of the control, with its arguments as Qt values.
    void eventFired(int dispid, const QVariantList& args);
    // One signal per event, named after it.
    void selected(int objectId);
    void zoomed(bool onOff);
    void applyVariableChanges();
    void variableChanged(int varNo, const QString& variableName, int status);
    void onDropText(const QString& text, int objectId);
    void reloadNow();
    void onEditProfileVariables();
    void onOnShowasHistory();
    void onEditProfileTable();
    void onResetFormDefinition();
    void setMessageText(const QString& text);
    void communicationIntervalsSet(int intervals);
    void pointerLocation(const QString& coordinate, int ix, int iy);
    void onClick(double x, double y, int ix, int iy, int objectId, int modifier);
    void onDoubleClick(double x, double y, int ix, int iy, int objectId, int modifier);
    void cursorSet();
    void onRBClick(double x, double y, int ix, int iy, int objectId, int modifier);
    void regionDefined();
    void keyPress(int keyAscii);
    void keyDown(int keyCode, int shift);
    void keyUp(int keyCode, int shift);
    void scrolled(bool horizontal);
    void pointerExit();
    void phaseVariableSet(const QString& variablePath);
    void phaseVariableDropped(const QString& varName);
    void zoomTimeRange();
    void revertToTimePlot();
    void onLivePlot(bool set);
    void setCaption(const QString& text);
    void modified();
    // A window handler (paint, resize, input, timer) failed; the widget keeps running. Without
    // a receiver the message goes to standard error.
    void handlerFailed(const QString& handler, const QString& message);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    // Variable paths and plain text dropped on the plot (the control decides).
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    friend class QtWindowSite;
    class EventRelay;

    QScrollBar* Bar(bool horizontal) const { return bars_[horizontal ? 0 : 1]; }
    void ShowBar(bool horizontal, bool show);
    // Places the scroll bars and gives the control the client area left over.
    void Relayout();
    void ScrollAction(bool horizontal, int sliderAction);
    void ThumbReleased(bool horizontal);
    void TimerFired(int id);
    void Relay(int dispid, std::span<const com::Variant> args);
    // Runs the control's part of one window handler: no exception leaves it into Qt.
    template <typename Work>
    void Guarded(const char* handler, Work&& work) noexcept;
    void ReportFailure(const char* handler, const char* message) noexcept;
    // Sets up the widget around control: scroll bars, the typed front, the event relay.
    void Host(CTrendixCtrl& control);
    void EmitTyped(int dispid, const QVariantList& a);

    std::unique_ptr<QtWindowSite> site_;
    std::unique_ptr<QtDeviceContext> surface_;
    std::unique_ptr<CTrendixCtrl> owned_; // null when the control was made elsewhere
    CTrendixCtrl* control_ = nullptr;
    ui::SiteRelay* siteRelay_ = nullptr;    // the relay of a control made elsewhere
    ui::IWindowSite* siteBefore_ = nullptr; // where its services went before the widget
    std::unique_ptr<trendix::Plot> plot_;
    std::unique_ptr<EventRelay> relay_;
    std::uint32_t cookie_ = 0;
    QScrollBar* bars_[2] = {nullptr, nullptr}; // horizontal, vertical; children of the widget
    bool surfaceDirty_ = true;
    bool painting_ = false;
    bool layoutPending_ = false;
    QPoint wheelRest_; // wheel movement not yet a whole step
    QSize preferred_{400, 310};
};
