#include <trendix/TrendixWidget.h>

#include "control/PlotDropTarget.h"
#include "control/TrendixCtrl.h"
#include "control/TrendixEvents.h"
#include "front/PlotImpl.h"
#include "platform/com/CallFrame.h"
#include "platform/com/ConnectionPoint.h"
#include "platform/ui/SiteRelay.h"
#include "platform/ui/VirtualKeys.h"
#include "qt/QtClipboard.h"
#include "qt/QtDeviceContext.h"
#include "qt/QtInputMap.h"
#include "qt/QtVariant.h"
#include "qt/QtWindowSite.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <vector>

namespace {

constexpr int kWheelStep = 120; // one notch of a wheel

} // namespace

class TrendixWidget::EventRelay : public com::IEventSink {
public:
    explicit EventRelay(TrendixWidget& widget) : widget_(widget) {}
    void Invoke(com::DISPID id, std::span<const com::Variant> args) override {
        widget_.Relay(id, args);
    }

private:
    TrendixWidget& widget_;
};

template <typename Work>
void TrendixWidget::Guarded(const char* handler, Work&& work) noexcept {
    try {
        work();
    } catch (const std::exception& e) {
        ReportFailure(handler, e.what());
    } catch (...) {
        ReportFailure(handler, "unknown exception");
    }
}

void TrendixWidget::ReportFailure(const char* handler, const char* message) noexcept {
    try {
        if (isSignalConnected(QMetaMethod::fromSignal(&TrendixWidget::handlerFailed)))
            emit handlerFailed(QString::fromUtf8(handler), QString::fromUtf8(message));
        else
            std::fprintf(stderr, "trendix: %s failed: %s\n", handler, message);
    } catch (...) {
        std::fprintf(stderr, "trendix: %s failed: %s\n", handler, message);
    }
}

TrendixWidget::TrendixWidget(QWidget* parent)
    : QWidget(parent), site_(std::make_unique<QtWindowSite>(*this)) {
    owned_ = std::make_unique<CTrendixCtrl>(*site_);
    Host(*owned_);
    // As a native window: created, then sized.
    control_->OnCreate();
    Relayout();
}

TrendixWidget::TrendixWidget(CTrendixCtrl& control, ui::SiteRelay& relay, QWidget* parent)
    : QWidget(parent), site_(std::make_unique<QtWindowSite>(*this)), siteRelay_(&relay),
      siteBefore_(&relay.Retarget(*site_)) {
    Host(control);
    // A control that lived before its window keeps the colours its host gave it.
    const std::uint32_t back = control.GetBackColor(), fore = control.GetForeColor();
    control_->OnCreate();
    control_->SetBackColor(back);
    control_->SetForeColor(fore);
    Relayout();
}

void TrendixWidget::Host(CTrendixCtrl& control) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::WheelFocus);
    // Right presses reach the control, which chooses its own menus.
    setContextMenuPolicy(Qt::PreventContextMenu);
    for (const bool horizontal : {true, false}) {
        auto* bar = new QScrollBar(horizontal ? Qt::Horizontal : Qt::Vertical, this);
        bar->hide();
        bar->setFocusPolicy(Qt::NoFocus);
        connect(bar, &QScrollBar::actionTriggered, this,
                [this, horizontal](int action) { ScrollAction(horizontal, action); });
        connect(bar, &QScrollBar::sliderReleased, this,
                [this, horizontal] { ThumbReleased(horizontal); });
        bars_[horizontal ? 0 : 1] = bar;
    }
    control_ = &control;
    plot_ = std::make_unique<trendix::Plot>(std::make_unique<trendix::Plot::Impl>(*control_));
    relay_ = std::make_unique<EventRelay>(*this);
    cookie_ = control_->GetConnectionPoint()->Advise(relay_.get());
}

TrendixWidget::~TrendixWidget() {
    control_->OnDestroy();
    site_->StopTimers();
    site_->HidePopupText();
    control_->GetConnectionPoint()->Unadvise(cookie_);
    plot_.reset();
    // A control made elsewhere goes back to the site it had before the window.
    if (siteRelay_) siteRelay_->Retarget(*siteBefore_);
    owned_.reset();
    site_.reset();
}

com::IDispatch& TrendixWidget::dispatch() {
    return *control_;
}

QString TrendixWidget::eventName(int dispid) {
    const com::MemberInfo* m = TrendixEventTypeInfo().Find(dispid);
    return m ? QString::fromStdString(m->name) : QString::number(dispid);
}

// ---------------------------------------------------------------------------------------------
// Designer properties

namespace {

// A form cannot report a refused value: the property keeps the value it had.
template <class Set>
void TrySet(TrendixWidget& widget, Set&& set) {
    try {
        set();
    } catch (const trendix::Error&) {
    }
    widget.update();
}

} // namespace

QString TrendixWidget::title() const {
    return QString::fromStdString(plot_->title());
}

void TrendixWidget::setTitle(const QString& text) {
    TrySet(*this, [&] { plot_->setTitle(text.toStdString()); });
}

QString TrendixWidget::xLabel() const {
    return QString::fromStdString(plot_->xLabel());
}

void TrendixWidget::setXLabel(const QString& text) {
    TrySet(*this, [&] { plot_->setXLabel(text.toStdString()); });
}

QString TrendixWidget::yLabel() const {
    return QString::fromStdString(plot_->yLabel());
}

void TrendixWidget::setYLabel(const QString& text) {
    TrySet(*this, [&] { plot_->setYLabel(text.toStdString()); });
}

int TrendixWidget::plotKind() const {
    return int(plot_->kind());
}

void TrendixWidget::setPlotKind(int kind) {
    TrySet(*this, [&] { plot_->setKind(trendix::PlotKind(kind)); });
}

int TrendixWidget::variableCount() const {
    return plot_->variableCount();
}

void TrendixWidget::setVariableCount(int count) {
    TrySet(*this, [&] { plot_->setVariableCount(count); });
}

bool TrendixWidget::live() const {
    return plot_->live();
}

void TrendixWidget::setLive(bool live) {
    TrySet(*this, [&] { plot_->setLive(live); });
}

double TrendixWidget::timeWindow() const {
    return plot_->timeWindow();
}

void TrendixWidget::setTimeWindow(double span) {
    TrySet(*this, [&] { plot_->setTimeWindow(span); });
}

bool TrendixWidget::showLegend() const {
    return plot_->showLegend();
}

void TrendixWidget::setShowLegend(bool show) {
    TrySet(*this, [&] { plot_->setShowLegend(show); });
}

// ---------------------------------------------------------------------------------------------
// Automation by name

QVariant TrendixWidget::invoke(const QString& name, const QVariantList& args,
                               QVariantList* outputs) {
    com::IDispatch& d = dispatch();
    const com::DISPID id = d.GetIDOfName(name.toStdString());
    const com::MemberInfo& member = *d.GetTypeInfo().Find(id);
    std::vector<com::Variant> written;
    for (const QVariant& a : args)
        written.push_back(QtVariant::FromQt(a));

    com::CallFrame frame(&member);
    com::InvokeKind kind = com::InvokeKind::Method;
    if (member.isProperty) {
        kind = written.empty() ? com::InvokeKind::PropertyGet : com::InvokeKind::PropertyPut;
        frame.Assign(std::move(written));
    } else {
        frame.Bind(std::move(written));
    }
    const com::Variant result = d.Invoke(id, kind, frame.args());
    if (outputs)
        for (const com::Variant& v : frame.Outputs())
            outputs->append(QtVariant::ToQt(v));
    update();
    return QtVariant::ToQt(result);
}

// ---------------------------------------------------------------------------------------------
// Window surface and layout

QSize TrendixWidget::clientSize() const {
    const int barWidth = Bar(false)->isHidden() ? 0 : Bar(false)->sizeHint().width();
    const int barHeight = Bar(true)->isHidden() ? 0 : Bar(true)->sizeHint().height();
    return QSize(std::max(0, width() - barWidth), std::max(0, height() - barHeight));
}

QImage TrendixWidget::surfaceImage() const {
    return surface_ && surface_->Image() ? surface_->Image()->copy() : QImage();
}

void TrendixWidget::ShowBar(bool horizontal, bool show) {
    Bar(horizontal)->setVisible(show);
    // The surface must not change under a paint; the client area follows right after it.
    if (painting_)
        layoutPending_ = true;
    else
        Relayout();
}

void TrendixWidget::Relayout() {
    const QSize client = clientSize();
    Bar(false)->setGeometry(client.width(), 0, width() - client.width(), client.height());
    Bar(true)->setGeometry(0, client.height(), client.width(), height() - client.height());
    // A window larger than any surface may be shows the part of the plot that fits.
    const int w = std::min(client.width(), gdi::kMaxSurfaceSide);
    const int h = std::min(client.height(), gdi::kMaxSurfaceSide);
    const QSize current =
        surface_ ? QSize(surface_->SurfaceSize().cx, surface_->SurfaceSize().cy) : QSize(0, 0);
    if (QSize(w, h) == current && surface_) return;
    surface_.reset();
    surfaceDirty_ = true;
    update();
    Guarded("resize", [&] {
        if (w > 0 && h > 0)
            surface_ = std::make_unique<QtDeviceContext>(w, h, gdi::DeviceKind::Screen);
        control_->OnSize(w, h);
    });
}

void TrendixWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (surfaceDirty_ && surface_) {
        surfaceDirty_ = false;
        painting_ = true;
        Guarded("paint", [&] { control_->PaintWindowSurface(); });
        painting_ = false;
    }
    if (surface_ && surface_->Image())
        p.drawImage(0, 0, *surface_->Image());
    else
        p.fillRect(rect(), Qt::white);
    if (layoutPending_) {
        layoutPending_ = false;
        Relayout();
    }
}

void TrendixWidget::resizeEvent(QResizeEvent*) {
    Relayout();
}

// ---------------------------------------------------------------------------------------------
// Input

bool TrendixWidget::event(QEvent* e) {
    // Tab is a key of the control, not a move to the next widget.
    if (e->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(e);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    return QWidget::event(e);
}

void TrendixWidget::mousePressEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    const int mods = QtInputMap::Modifiers(e->modifiers());
    Guarded("mouse press", [&] {
        if (e->button() == Qt::LeftButton)
            control_->OnLButtonDown(p.x(), p.y(), mods);
        else if (e->button() == Qt::RightButton)
            control_->OnRButtonDown(p.x(), p.y(), mods);
    });
    update();
}

void TrendixWidget::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    const QPoint p = e->position().toPoint();
    Guarded("mouse release",
            [&] { control_->OnLButtonUp(p.x(), p.y(), QtInputMap::Modifiers(e->modifiers())); });
    update();
}

// A second right press in quick succession is a right double click, which the control
// ignores, as it does in its native window.
void TrendixWidget::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    const QPoint p = e->position().toPoint();
    Guarded("double click", [&] {
        control_->OnLButtonDblClk(p.x(), p.y(), QtInputMap::Modifiers(e->modifiers()));
    });
    update();
}

void TrendixWidget::mouseMoveEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    Guarded("mouse move",
            [&] { control_->OnMouseMove(p.x(), p.y(), QtInputMap::Modifiers(e->modifiers())); });
    update();
}

void TrendixWidget::keyPressEvent(QKeyEvent* e) {
    const int key = QtInputMap::VirtualKey(e->key(), e->modifiers());
    const int mods = QtInputMap::Modifiers(e->modifiers());
    const bool alt = (mods & ui::ModAlt) != 0 || e->key() == Qt::Key_Alt;
    Guarded("key press", [&] {
        if (key != 0) {
            if (alt)
                control_->OnSysKeyDown(key, mods);
            else
                control_->OnKeyDown(key, mods, std::max(e->count(), 1));
        }
        // Characters follow their key; Alt combinations and Delete give none.
        if (!alt && e->key() != Qt::Key_Delete) {
            for (const QChar c : e->text())
                control_->OnChar(c.unicode());
        }
    });
    e->accept();
    update();
}

void TrendixWidget::keyReleaseEvent(QKeyEvent* e) {
    // A held key repeats its press only; Alt combinations end as system keys.
    if (e->isAutoRepeat()) return;
    const int key = QtInputMap::VirtualKey(e->key(), e->modifiers());
    const int mods = QtInputMap::Modifiers(e->modifiers());
    if (key == 0 || (mods & ui::ModAlt) != 0 || e->key() == Qt::Key_Alt) return;
    Guarded("key release", [&] { control_->OnKeyUp(key, mods); });
    update();
}

// ---------------------------------------------------------------------------------------------
// Drag and drop: the control decides on the format names the data offers.

namespace {

constexpr std::initializer_list<const char*> kDropFormats = {CPlotDropTarget::kVariablePathFormat,
                                                             CPlotDropTarget::kTextFormat};

void Answer(QDropEvent* e, int effect) {
    if (effect == CPlotDropTarget::EffectCopy) {
        e->setDropAction(Qt::CopyAction);
        e->accept();
    } else {
        e->ignore();
    }
}

} // namespace

void TrendixWidget::dragEnterEvent(QDragEnterEvent* e) {
    dragMoveEvent(e);
}

void TrendixWidget::dragMoveEvent(QDragMoveEvent* e) {
    const QPoint p = e->position().toPoint();
    int effect = CPlotDropTarget::EffectNone;
    Guarded("drag", [&] {
        effect =
            control_->OnDragOver(QtClipboard::Offered(e->mimeData(), kDropFormats), p.x(), p.y());
    });
    Answer(e, effect);
}

void TrendixWidget::dropEvent(QDropEvent* e) {
    const QPoint p = e->position().toPoint();
    int effect = CPlotDropTarget::EffectNone;
    Guarded("drop", [&] {
        effect = control_->OnDrop(QtClipboard::Offer(e->mimeData(), kDropFormats), p.x(), p.y());
    });
    Answer(e, effect);
    update();
}

// Each notch is a line step of the vertical bar, or of the horizontal one with Shift or a
// sideways wheel, followed by the end of the scroll.
void TrendixWidget::wheelEvent(QWheelEvent* e) {
    QPoint delta = e->angleDelta();
    const bool horizontal = delta.x() != 0 || (e->modifiers() & Qt::ShiftModifier);
    if (e->modifiers() & Qt::ShiftModifier && delta.x() == 0) delta = QPoint(delta.y(), 0);
    int& rest = horizontal ? wheelRest_.rx() : wheelRest_.ry();
    rest += horizontal ? delta.x() : delta.y();
    const int steps = rest / kWheelStep;
    rest -= steps * kWheelStep;
    if (steps == 0) return;
    const int code = steps > 0 ? QtInputMap::LineUp : QtInputMap::LineDown;
    Guarded("wheel", [&] {
        for (int i = 0; i < std::abs(steps); ++i)
            control_->OnScrollBar(horizontal, code, Bar(horizontal)->value());
        control_->OnScrollBar(horizontal, QtInputMap::EndScroll, Bar(horizontal)->value());
    });
    e->accept();
    update();
}

void TrendixWidget::ScrollAction(bool horizontal, int sliderAction) {
    const int code = QtInputMap::ScrollCode(sliderAction);
    if (code == QtInputMap::NoScroll) return;
    QScrollBar* bar = Bar(horizontal);
    Guarded("scroll", [&] {
        control_->OnScrollBar(horizontal, code, bar->sliderPosition());
        if (QtInputMap::EndsAtOnce(sliderAction))
            control_->OnScrollBar(horizontal, QtInputMap::EndScroll, bar->value());
    });
    update();
}

void TrendixWidget::ThumbReleased(bool horizontal) {
    QScrollBar* bar = Bar(horizontal);
    Guarded("scroll", [&] {
        control_->OnScrollBar(horizontal, QtInputMap::ThumbPosition, bar->sliderPosition());
        control_->OnScrollBar(horizontal, QtInputMap::EndScroll, bar->value());
    });
    update();
}

void TrendixWidget::TimerFired(int id) {
    Guarded("timer", [&] { control_->OnTimer(id); });
    update();
}

// ---------------------------------------------------------------------------------------------
// Events

void TrendixWidget::Relay(int dispid, std::span<const com::Variant> args) {
    QVariantList values;
    for (const com::Variant& v : args)
        values.append(QtVariant::ToQt(v));
    emit eventFired(dispid, values);
    EmitTyped(dispid, values);
}

void TrendixWidget::EmitTyped(int dispid, const QVariantList& a) {
    const auto i = [&a](int n) { return n < a.size() ? a[n].toInt() : 0; };
    const auto d = [&a](int n) { return n < a.size() ? a[n].toDouble() : 0.0; };
    const auto b = [&a](int n) { return n < a.size() && a[n].toBool(); };
    const auto s = [&a](int n) { return n < a.size() ? a[n].toString() : QString(); };
    switch (dispid) {
    case EV_Selected:
        emit selected(i(0));
        break;
    case EV_Zoomed:
        emit zoomed(b(0));
        break;
    case EV_ApplyVariableChanges:
        emit applyVariableChanges();
        break;
    case EV_VariableChanged:
        emit variableChanged(i(0), s(1), i(2));
        break;
    case EV_OnDropText:
        emit onDropText(s(0), i(1));
        break;
    case EV_ReloadNow:
        emit reloadNow();
        break;
    case EV_OnEditProfileVariables:
        emit onEditProfileVariables();
        break;
    case EV_OnOnShowasHistory:
        emit onOnShowasHistory();
        break;
    case EV_OnEditProfileTable:
        emit onEditProfileTable();
        break;
    case EV_OnResetFormDefinition:
        emit onResetFormDefinition();
        break;
    case EV_SetMessageText:
        emit setMessageText(s(0));
        break;
    case EV_CommunicationIntervalsSet:
        emit communicationIntervalsSet(i(0));
        break;
    case EV_PointerLocation:
        emit pointerLocation(s(0), i(1), i(2));
        break;
    case EV_OnClick:
        emit onClick(d(0), d(1), i(2), i(3), i(4), i(5));
        break;
    case EV_OnDoubleClick:
        emit onDoubleClick(d(0), d(1), i(2), i(3), i(4), i(5));
        break;
    case EV_CursorSet:
        emit cursorSet();
        break;
    case EV_OnRBClick:
        emit onRBClick(d(0), d(1), i(2), i(3), i(4), i(5));
        break;
    case EV_RegionDefined:
        emit regionDefined();
        break;
    case EV_KeyPress:
        emit keyPress(i(0));
        break;
    case EV_KeyDown:
        emit keyDown(i(0), i(1));
        break;
    case EV_KeyUp:
        emit keyUp(i(0), i(1));
        break;
    case EV_Scrolled:
        emit scrolled(b(0));
        break;
    case EV_PointerExit:
        emit pointerExit();
        break;
    case EV_PhaseVariableSet:
        emit phaseVariableSet(s(0));
        break;
    case EV_PhaseVariableDropped:
        emit phaseVariableDropped(s(0));
        break;
    case EV_ZoomTimeRange:
        emit zoomTimeRange();
        break;
    case EV_RevertToTimePlot:
        emit revertToTimePlot();
        break;
    case EV_OnLivePlot:
        emit onLivePlot(b(0));
        break;
    case EV_SetCaption:
        emit setCaption(s(0));
        break;
    case EV_Modified:
        emit modified();
        break;
    default:
        break;
    }
}
