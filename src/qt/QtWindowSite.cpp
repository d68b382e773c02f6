#include "qt/QtWindowSite.h"

#include "qt/QtClipboard.h"
#include "qt/QtCursors.h"
#include "qt/QtDeviceContext.h"
#include "qt/QtPopupMenu.h"
#include "qt/QtPopupWnd.h"
#include "qt/QtPrinter.h"
#include "qt/QtPropertySheet.h"
#include <trendix/TrendixWidget.h>

#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QScrollBar>
#include <QStringList>
#include <QTimer>
#include <QToolTip>

#include <algorithm>

QtWindowSite::QtWindowSite(TrendixWidget& widget) : widget_(widget) {}

QtWindowSite::~QtWindowSite() {
    StopTimers();
    if (captured_) widget_.releaseMouse();
}

void QtWindowSite::Invalidate(bool /*erase*/) {
    // The whole surface is painted again, background included, so erase changes nothing.
    widget_.surfaceDirty_ = true;
    widget_.update();
}

void QtWindowSite::SetModified() {
    emit widget_.persistentStateChanged();
}

void QtWindowSite::ShowScrollBar(bool horizontal, bool show) {
    widget_.ShowBar(horizontal, show);
}

// The control's bar runs over 0..max with a page; a Qt bar's value is the start of the page.
void QtWindowSite::SetScrollInfo(bool horizontal, int max, int pos, int page) {
    QScrollBar* bar = widget_.Bar(horizontal);
    page = std::max(page, 0);
    const QSignalBlocker quiet(bar);
    bar->setRange(0, std::max(0, max - std::max(page, 1) + 1));
    bar->setPageStep(std::max(page, 1));
    bar->setValue(pos);
}

void QtWindowSite::SetTimer(int id, int milliseconds) {
    std::unique_ptr<QTimer>& timer = timers_[id];
    if (!timer) {
        timer = std::make_unique<QTimer>();
        QObject::connect(timer.get(), &QTimer::timeout, &widget_,
                         [this, id] { widget_.TimerFired(id); });
    }
    timer->start(std::max(milliseconds, 0));
}

void QtWindowSite::KillTimer(int id) {
    // Stopped, not deleted: the control may kill a timer from inside its own timeout.
    const auto it = timers_.find(id);
    if (it != timers_.end()) it->second->stop();
}

void QtWindowSite::StopTimers() {
    for (auto& [id, timer] : timers_)
        timer->stop();
}

bool QtWindowSite::TimerActive(int id) const {
    const auto it = timers_.find(id);
    return it != timers_.end() && it->second->isActive();
}

int QtWindowSite::TimerInterval(int id) const {
    return TimerActive(id) ? timers_.at(id)->interval() : -1;
}

void QtWindowSite::SetCursor(int cursorId) {
    cursorId_ = cursorId;
    widget_.setCursor(QtCursors::ForId(cursorId));
}

QString QtWindowSite::FileFilter(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        const QString patterns = parts[i + 1].trimmed().replace(';', ' ');
        if (description.isEmpty() && patterns.isEmpty()) continue;
        filters << (description.contains('(') ? description : description + " (" + patterns + ")");
    }
    return filters.join(";;");
}

std::string QtWindowSite::OpenFileDialog(const std::string& filter) {
    const QString file =
        QFileDialog::getOpenFileName(&widget_, QString(), QString(), FileFilter(filter));
    return file.toStdString();
}

std::string QtWindowSite::SaveFileDialog(const std::string& filter) {
    const QString file =
        QFileDialog::getSaveFileName(&widget_, QString(), QString(), FileFilter(filter));
    return file.toStdString();
}

ui::IPrinter* QtWindowSite::Printer() {
    if (!printer_) printer_ = std::make_unique<QtPrinter>(&widget_);
    return printer_.get();
}

gdi::IDeviceContext* QtWindowSite::WindowSurface() {
    return widget_.surface_.get();
}

void QtWindowSite::CaptureMouse(bool capture) {
    if (capture == captured_) return;
    // A hidden widget cannot hold the mouse; the press's own implicit grab still applies.
    if (capture && !widget_.isVisible()) return;
    captured_ = capture;
    if (capture)
        widget_.grabMouse();
    else
        widget_.releaseMouse();
}

int QtWindowSite::TrackPopupMenu(const ui::MenuItem& popup, int x, int y,
                                 const std::function<void(int)>& onHighlight) {
    return QtPopupMenu::Track(popup, widget_.mapToGlobal(QPoint(x, y)), onHighlight, &widget_);
}

int QtWindowSite::MessageBox(const std::string& text, const std::string& caption, int buttons) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(caption),
                    QString::fromStdString(text), QMessageBox::NoButton, &widget_);
    switch (buttons) {
    case ui::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case ui::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    default:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok:
        return ui::IdOk;
    case QMessageBox::Yes:
        return ui::IdYes;
    case QMessageBox::No:
        return ui::IdNo;
    default:
        return buttons == ui::OkOnly ? ui::IdOk : ui::IdCancel;
    }
}

QtPopupWnd& QtWindowSite::Popup() {
    if (!popup_) popup_ = std::make_unique<QtPopupWnd>();
    return *popup_;
}

void QtWindowSite::ShowPopupText(const std::string& text, int x, int y) {
    Popup().ShowText(QString::fromStdString(text), widget_.mapToGlobal(QPoint(x, y)));
}

void QtWindowSite::ShowPopup(const ui::PopupText& popup) {
    Popup().ShowLayout(popup, widget_.mapToGlobal(QPoint(popup.x, popup.y)));
}

const QLabel* QtWindowSite::PopupText() const {
    return popup_.get();
}

void QtWindowSite::HidePopupText() {
    if (popup_) popup_->hide();
}

void QtWindowSite::ShowTooltip(const std::string& text, int x, int y) {
    QToolTip::showText(widget_.mapToGlobal(QPoint(x, y)), QString::fromStdString(text), &widget_);
}

void QtWindowSite::HideTooltip() {
    QToolTip::hideText();
}

void QtWindowSite::RegisterDropTarget() {
    widget_.setAcceptDrops(true);
}

void QtWindowSite::Flush() {
    widget_.update();
}

bool QtWindowSite::ShowPropertySheet(const std::string& caption,
                                     const std::vector<ui::IPropertyPage*>& pages) {
    QtPropertySheet sheet(QString::fromStdString(caption), pages, &widget_);
    const bool ok = sheet.exec() == QDialog::Accepted;
    for (ui::IPropertyPage* page : pages)
        page->Closed();
    widget_.update();
    return ok;
}

void QtWindowSite::Post(std::function<void()> task) {
    QTimer::singleShot(0, &widget_, std::move(task));
}

bool QtWindowSite::SetClipboard(const ui::ClipboardContent& content) {
    return QtClipboard::Set(content);
}

bool QtWindowSite::ClipboardHas(const std::string& format) const {
    return QtClipboard::ClipboardHas(format);
}

std::vector<std::uint8_t> QtWindowSite::ClipboardData(const std::string& format) const {
    return QtClipboard::ClipboardData(format);
}
