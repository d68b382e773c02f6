// The pop-up text window on Qt.
#include "qt/QtPopupWnd.h"

#include <algorithm>

QtPopupWnd::QtPopupWnd() : QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint) {
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setStyleSheet("QLabel { background: #ffffe1; color: black; border: 1px solid black; }");
}

void QtPopupWnd::ShowLayout(const ui::PopupText& popup, QPoint at) {
    QFont font(QString::fromStdString(popup.face));
    font.setPixelSize(std::max(1, popup.pixelHeight));
    setFont(font);
    // The lines start half a line in and a quarter line down, as the layout measured them.
    setMargin(0);
    setContentsMargins(popup.lineHeight / 2, popup.lineHeight / 4, 0, 0);
    setText(QString::fromStdString(popup.Joined()));
    setFixedSize(std::max(1, popup.width), std::max(1, popup.height));
    move(at);
    show();
}

void QtPopupWnd::ShowText(const QString& text, QPoint at) {
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setContentsMargins(0, 0, 0, 0);
    setMargin(2);
    setText(text);
    adjustSize();
    move(at);
    show();
}
